#pragma once
// CLumivexView: the console's hub, the main frame's client area. It owns the
// settings records, the column list and sort settings, the group list (the
// All group owns every projector record), the group tabs, the list window of
// the selected tab, the communication engine and the mail window (children),
// and the mail logic. It turns the engine's posted messages, its one-second
// report timer and the menu commands into calls on those parts. It saves the
// projector list and groups after each change to them, and stops the engine
// before any record goes. The main frame owns it; UI thread only.
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <QFont>
#include <QPointer>
#include <QWidget>

#include "mail/MailNotifier.h"
#include "platform/MsgWnd.h"
#include "settings/Groups.h"

class CAlertManagerWnd;
class CAlertSetInfo;
class CCommSetInfo;
class CCommWnd;
class CErrorLog;
class CControllerWnd;
class CGeneralSetInfo;
class CItemListArea;
class CMailSetInfo;
class CMailWnd;
class CMyTabCtrl;
class CViewItemInfoList;
class CViewSortInfo;
class IClock;
class QAction;
struct SearchFailure;

class CLumivexView : public TMsgWnd<QWidget>, public IMailHost {
public:
    // clock: "now" of the engine and the report schedule (null: the system's).
    explicit CLumivexView(QWidget* parent = nullptr, IClock* clock = nullptr);
    ~CLumivexView() override;

    // Makes every part in order; -1 when one cannot be made or the stored
    // projector list cannot be read (CreateError() says what, and nothing is
    // written to the store from then on).
    int Create();
    const std::string& CreateError() const { return m_createError; }
    // True once the stored projector list was read whole: only then is
    // anything written back.
    bool IsCreated() const { return m_groupsLoaded; }
    // Stops the engine and its sessions, detaches the mail logic and stops
    // the mail window, then saves the layout, the settings and the groups and
    // lets the records go. Runs once; the destructor runs it if nobody did.
    void Shutdown();

    // The menu commands: the enable rule, and the command itself, which
    // checks the rule again (an accelerator opens no menu).
    bool IsCommandEnabled(int id) const;
    void OnCommand(int id);
    // The frame's actions, for the list's row menu.
    void SetRowMenuActions(const std::vector<QAction*>& actions);
    // Where messages for the operator go; by default a message box.
    void SetMessageSink(std::function<void(const std::string&)> sink) { m_messageSink = std::move(sink); }
    // The controller exists from its first showing until its close box,
    // also while hidden.
    bool ControllerExists() const;
    bool ControllerVisible() const;
    // Shows the controller (made on first show, at its stored place, with
    // the current target) or hides it.
    void ShowController(bool show);
    CControllerWnd* Controller() const;
    // Takes a projector out of the engine (its session stopped first) and
    // out of every group, and saves the list: 0, or -1 for an unknown one.
    int DeleteProjector(CProjectorInfo* record);
    // The control command of controller button i, -1 for none: buttons
    // 0..17 send their own index, 18/19 send 20/21 and 20/21 send 18/19.
    static int ControlIndexOfButton(int button);
    // "http://<ip>/", or "" unless ipText is a dotted IPv4 address.
    static std::string WebPageUrl(const std::string& ipText);

    // Adds a projector by its dotted address once: 0 (also when it is known
    // already), else negative.
    int AddProjectorByAddress(const std::string& ipText);
    void ApplyEngineSettings();
    void FillGroupTabs();
    void SelectGroupTab();
    void RebuildListArea(int index);
    CGroupItem* GroupAt(int index) const;
    // Automatic group names, from the named groups' tab captions.
    int NextGroupNumber() const;
    int LowestFreeGroupNumber() const;
    std::string UniqueGroupName(const std::string& name) const;
    // Saves the column layout, the sort and the settings records (at
    // shutdown, and when the desktop session asks for everything to be saved).
    void SaveSettings();
    // Saves the projector list and groups after a change; a failure tells the
    // operator once until a save succeeds again.
    int SaveGroupList();

    CCommWnd* Engine() const { return m_engine; }
    CMailWnd* MailWindow() const { return m_mailWnd; }
    CMailNotifier& Notifier() { return m_notifier; }
    CMyTabCtrl* Tabs() const { return m_tabs; }
    CItemListArea* ListArea() const { return m_list; }
    const GroupList& Groups() const { return m_groups; }
    bool SearchRunning() const { return m_searchRunning != 0; }

    // The engine announced that record's status became the error status:
    // the error mail, the caution box and the log line, each by its switches.
    void OnProjectorError(const CProjectorInfo* record, int status);
    CAlertManagerWnd* AlertManager() const { return m_alertManager; }
    const CErrorLog* ErrorLog() const { return m_errorLog.get(); }
    CAlertSetInfo* AlertSettings() const { return m_alert.get(); }
    CMailSetInfo* MailSettings() const { return m_mail.get(); }

    // IMailHost
    std::vector<const CProjectorInfo*> AllProjectors() const override;
    int GroupCount() const override;
    std::string GroupName(int index) const override;
    bool GroupContains(int index, const CProjectorInfo* record) const override;
    bool HasCommWindow() const override { return m_engine != nullptr; }
    void RequestUpdateAll(bool track) override;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadSettings();
    int CreateTabs();
    int LoadGroupList();
    void StartSearch(bool manual);
    void OnSearchDone();
    void OnRecordUpdated(WPARAM record);
    void TellOperator(const std::string& text);
    std::string SearchFailureText(const SearchFailure& failure) const;
    bool IsLiveRecord(const CProjectorInfo* record) const;
    QRect ListAreaRect() const;
    void ScrollSelectedTabIntoView();
    void CreateAlerts();
    void DestroyAlerts();
    void OnAlertSettings();
    void OnMailSettings();

    // The projector commands, their dialogs and the sessions' password
    // requests (LumivexViewProjector.cpp).
    bool IsProjectorCommandEnabled(int id) const;
    void OnProjectorCommand(int id);
    void ShowProperties();
    void AddProjectorFromDialog();
    void DeleteSelectedProjector();
    void ChangePassword();
    void OnPasswordRequest(WPARAM record, LPARAM request);
    bool IsPendingPasswordRequest(const CProjectorInfo* record, LPARAM request) const;
    bool ConfirmDeletion(int questionId);
    CProjectorInfo* SelectedRecord() const;
    // The selected tab; tab 0 when none is.
    int SelectedTabIndex() const;

    // The controller, its buttons, and the list's and tabs' messages about
    // the target (LumivexViewController.cpp).
    static bool IsControllerMessage(unsigned msg);
    LRESULT OnControllerMessage(unsigned msg, WPARAM wParam, LPARAM lParam);
    void CurrentTarget(CProjectorInfo*& record, CGroupItem*& group) const;
    void UpdateControllerTarget();
    void OnControlButton(int button);
    void OpenWebPage();
    void OnControllerClosing();
    void SaveControllerPlacement();
    // Ends every dialog and destroys the controller (at shutdown).
    void CloseOperatorWindows();

    // Group commands (LumivexViewGroups.cpp).
    std::vector<std::string> NamedGroupCaptions() const;
    void NewGroup();
    void EditGroup();
    void DeleteGroup();
    LRESULT OnGroupNameFree(WPARAM name, LPARAM answer) const;
    // Options and layout dialogs (LumivexViewOptions.cpp).
    void RunSettingsSheet();
    void TakeSettings(const CCommSetInfo& comm, const CGeneralSetInfo& general);
    void RunColumnDialog();
    void RunSortDialog();
    // Writes what write() stores as one change of the file; a failure is
    // told to the operator.
    void SaveOptions(const std::function<void()>& write);

    IClock* m_clock;
    std::unique_ptr<CViewItemInfoList> m_columns;
    std::unique_ptr<CViewSortInfo> m_sort;
    std::unique_ptr<CGeneralSetInfo> m_general;
    std::unique_ptr<CCommSetInfo> m_comm;
    std::unique_ptr<CAlertSetInfo> m_alert;
    std::unique_ptr<CMailSetInfo> m_mail;
    GroupList m_groups;
    // Every record the All group owns, to check the pointers messages carry.
    std::unordered_set<const CProjectorInfo*> m_liveRecords;
    QFont m_tabFont;
    CMyTabCtrl* m_tabs = nullptr;
    CItemListArea* m_list = nullptr;
    CCommWnd* m_engine = nullptr;
    CMailWnd* m_mailWnd = nullptr;
    CMailNotifier m_notifier;
    CAlertManagerWnd* m_alertManager = nullptr;
    std::unique_ptr<CErrorLog> m_errorLog;
    std::vector<QAction*> m_rowActions;
    QPointer<CControllerWnd> m_controller;
    std::function<void(const std::string&)> m_messageSink;
    std::string m_createError;
    int m_searchRunning = 0;
    bool m_firstLayout = true;
    bool m_groupsLoaded = false;  // only a list that was read whole is ever saved
    bool m_saveFailureShown = false;
    bool m_shutDown = false;
};
