#include "app/LumivexView.h"

#include <cstdio>

#include <QMessageBox>

#include "alert/ErrorLog.h"
#include "app/AppDefs.h"
#include "comm/CommWnd.h"
#include "mail/MailDefs.h"
#include "mail/MailSetInfo.h"
#include "mail/MailText.h"
#include "mail/MailWnd.h"
#include "platform/Clock.h"
#include "platform/ResourceText.h"
#include "settings/AlertSetInfo.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"
#include "settings/ViewSortInfo.h"
#include "ui/ItemListArea.h"
#include "ui/MyTabCtrl.h"
#include "ui/ViewItemInfoList.h"

CLumivexView::CLumivexView(QWidget* parent, IClock* clock)
    : TMsgWnd<QWidget>(parent), m_clock(clock ? clock : &SystemClock()), m_notifier(*m_clock) {}

CLumivexView::~CLumivexView() { Shutdown(); }

int CLumivexView::Create() {
    LoadSettings();  // a missing or unreadable value is its default
    if (CreateTabs() != 0)
        return -1;
    m_engine = new CCommWnd(this, m_clock);
    m_mailWnd = new CMailWnd(this, ResourceText(IDS_LANGUAGE) == "J" ? 1 : 0);
    CreateAlerts();
    ApplyEngineSettings();
    if (LoadGroupList() != 0)
        return -1;
    FillGroupTabs();
    if (CValue().GetControllerVisible() != 0)
        ShowController(true);
    m_notifier.SetSettings(m_mail.get());
    m_notifier.SetQueue(m_mailWnd);
    m_notifier.SetHost(this);
    m_notifier.RestartSchedule();
    SetTimer(VIEW_REPORT_TIMER_ID, VIEW_REPORT_TIMER_MS);
    return 0;
}

void CLumivexView::LoadSettings() {
    m_columns = std::make_unique<CViewItemInfoList>();
    m_columns->Load();
    m_sort = std::make_unique<CViewSortInfo>();
    m_sort->Load();
    m_general = std::make_unique<CGeneralSetInfo>();
    m_general->Load();
    m_comm = std::make_unique<CCommSetInfo>();
    m_comm->Load();
    m_alert = std::make_unique<CAlertSetInfo>();
    m_alert->Load();
    m_mail = std::make_unique<CMailSetInfo>();
    m_mail->Load();
}

int CLumivexView::LoadGroupList() {
    std::string error;
    if (LoadGroups(m_groups, ResourceText(IDS_ALL_GROUP), &error) != 0) {
        // The file stays as it is: the operator mends it, nothing here
        // overwrites what could not be read.
        m_createError = FormatResourceText(IDS_PROFILE_UNREADABLE, {CurrentProfile().Path(), error});
        m_groups.clear();
        return -1;
    }
    m_groupsLoaded = true;
    CGroupItem& all = *m_groups.front();
    for (int n = 0; CProjectorInfo* record = all.GetAt(n); ++n) {
        m_liveRecords.insert(record);
        m_engine->AddProjector(record);
    }
    return 0;
}

void CLumivexView::ApplyEngineSettings() {
    if (!m_engine || !m_comm || !m_general)
        return;
    m_engine->SetPortRange(m_comm->clientDataPortStart, m_comm->clientDataPortEnd);
    m_engine->SetSearchPort(m_comm->projectorSearchPort);
    m_engine->SetSearchSeconds(CValue().GetProjectorSearchSecond());
    m_engine->SetSearchInterval(m_comm->autoSearchFlag ? m_comm->autoSearchInterval * 60 : 0);
    m_engine->ScheduleSearch();
    m_engine->SetUpdateInterval(m_general->autoUpdateFlag ? m_general->autoUpdateInterval : 0);
    m_engine->ScheduleUpdate();
    m_engine->SetPowerOnSpacing(m_general->powerOnMoving ? m_general->nextPowerOnTime : 0);
}

void CLumivexView::Shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    KillTimer(VIEW_REPORT_TIMER_ID);
    CloseOperatorWindows();
    // The list window harvests the operator's column layout as it goes and
    // must not paint a record after this.
    delete m_list;
    m_list = nullptr;
    // Sessions write into the records: every session ends before a record
    // can go. The mail logic reads the records and the engine: detach it
    // before the mail window (which waits for its sending thread) goes.
    if (m_engine)
        for (const auto& group : m_groups)
            m_engine->ForgetGroup(group.get());
    delete m_engine;
    m_engine = nullptr;
    DestroyAlerts();
    m_notifier.SetHost(nullptr);
    m_notifier.SetQueue(nullptr);
    m_notifier.SetSettings(nullptr);
    delete m_mailWnd;
    m_mailWnd = nullptr;
    if (m_groupsLoaded) {
        SaveSettings();
        // Shutting down is no time for a message box (the desktop session
        // may be ending): a failure goes to the error stream.
        if (SaveGroups(m_groups) != 0)
            std::fprintf(stderr, "lumivex: the projector list could not be saved to %s\n",
                         CurrentProfile().Path().c_str());
    }
    m_liveRecords.clear();
    m_groups.clear();
}

void CLumivexView::SaveSettings() {
    if (!m_groupsLoaded)
        return;
    if (m_list)
        m_list->HarvestLayout();
    CProfileBatch batch(CurrentProfile());
    m_columns->Save();
    m_sort->Save();
    m_general->Save();
    m_comm->Save();
    m_alert->Save();
    m_mail->Save();
    if (!batch.Commit())
        std::fprintf(stderr, "lumivex: the settings could not be saved to %s\n", CurrentProfile().Path().c_str());
}

int CLumivexView::SaveGroupList() {
    if (!m_groupsLoaded || m_shutDown)
        return -1;
    if (SaveGroups(m_groups) == 0) {
        m_saveFailureShown = false;
        return 0;
    }
    if (!m_saveFailureShown) {
        m_saveFailureShown = true;
        TellOperator(FormatResourceText(IDS_SAVE_FAILED, {CurrentProfile().Path()}));
    }
    return -1;
}

void CLumivexView::TellOperator(const std::string& text) {
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    // Not modal: the engine's messages keep flowing while the box is open.
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromStdString(ResourceText(IDS_APP_TITLE)),
                                QString::fromStdString(text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool CLumivexView::IsLiveRecord(const CProjectorInfo* record) const {
    return record && m_liveRecords.count(record) != 0;
}

int CLumivexView::AddProjectorByAddress(const std::string& ipText) {
    if (!m_engine || m_groups.empty())
        return -1;
    CGroupItem& all = *m_groups.front();
    if (all.FindByAddress(ipText))
        return 0;
    CProjectorInfo fresh;
    fresh.ipAddress = ipText;
    CProjectorInfo* record = nullptr;
    if (int rc = all.AddCopy(fresh, &record); rc != 0)
        return rc;
    m_liveRecords.insert(record);
    SaveGroupList();
    if (int rc = m_engine->AddProjector(record); rc != 0)
        return rc;
    if (m_list)
        m_list->AddRow(ipText);
    return 0;
}

// --- messages ---------------------------------------------------------------

LRESULT CLumivexView::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (IsControllerMessage(msg))
        return OnControllerMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_VIEW_UPDATE:
    case WM_VIEW_CHANGED:
        OnRecordUpdated(wParam);
        break;
    case WM_VIEW_SEARCH_FOUND: {
        std::unique_ptr<std::string> address(reinterpret_cast<std::string*>(wParam));
        if (address)
            AddProjectorByAddress(*address);
        break;
    }
    case WM_VIEW_SEARCH_DONE:
        OnSearchDone();
        break;
    case WM_VIEW_SEARCH_DUE:
        if (!m_searchRunning)
            StartSearch(false);
        break;
    case WM_VIEW_UPDATE_DONE:
        m_notifier.OnRefreshDone();
        break;
    case WM_VIEW_PASSWORD:
        OnPasswordRequest(wParam, lParam);
        break;
    case WM_VIEW_STATUS_ERROR:
        OnProjectorError(reinterpret_cast<const CProjectorInfo*>(wParam), static_cast<int>(lParam));
        break;
    case WM_MAIL_SEND_NOW:
        m_notifier.OnSendReportNow(reinterpret_cast<const CMailObject*>(wParam));
        break;
    case WM_GROUP_NAME_FREE:
        return OnGroupNameFree(wParam, lParam);
    default:
        break;
    }
    return 0;
}

void CLumivexView::OnRecordUpdated(WPARAM wParam) {
    // A record deleted after the engine posted is no longer live: its
    // address may even belong to a new record by now, which a redraw
    // would only repaint.
    const auto* record = reinterpret_cast<const CProjectorInfo*>(wParam);
    if (m_list && IsLiveRecord(record))
        m_list->RedrawRecord(record);
}

void CLumivexView::OnTimer(int id) {
    if (id == VIEW_REPORT_TIMER_ID)
        m_notifier.OnTimer();
}

// --- commands ---------------------------------------------------------------

bool CLumivexView::IsCommandEnabled(int id) const {
    switch (id) {
    case ID_VIEW_REFRESH:
        return m_engine && !m_groups.empty() && m_groups.front()->GetCount() > 0;
    case ID_VIEW_SEARCH:
        return m_engine && !m_searchRunning;
    case ID_OPTION_MAIL:
        return m_mail != nullptr;
    case ID_OPTION_ALERT:
        return m_alert != nullptr;
    case ID_PROJECTOR_PROPERTIES:
    case ID_PROJECTOR_ADD:
    case ID_PROJECTOR_DELETE:
    case ID_PROJECTOR_PASSWORD:
        return IsProjectorCommandEnabled(id);
    case ID_WINDOW_CONTROLLER:
        return !m_shutDown;
    case ID_GROUP_NEW:
        return m_tabs && !m_groups.empty();
    case ID_GROUP_EDIT:
    case ID_GROUP_DELETE:
        return m_tabs && m_tabs->currentIndex() > 0;
    case ID_OPTION_SETTINGS:
        return m_comm && m_general;
    case ID_VIEW_COLUMNS:
        return m_columns != nullptr;
    case ID_VIEW_SORT:
        return m_sort != nullptr;
    default:
        return false;
    }
}

void CLumivexView::OnCommand(int id) {
    if (!IsCommandEnabled(id))
        return;
    switch (id) {
    case ID_VIEW_REFRESH:
        m_engine->RequestUpdateAll(0);
        break;
    case ID_VIEW_SEARCH:
        StartSearch(true);
        break;
    case ID_OPTION_MAIL:
        OnMailSettings();
        break;
    case ID_OPTION_ALERT:
        OnAlertSettings();
        break;
    case ID_PROJECTOR_PROPERTIES:
    case ID_PROJECTOR_ADD:
    case ID_PROJECTOR_DELETE:
    case ID_PROJECTOR_PASSWORD:
        OnProjectorCommand(id);
        break;
    case ID_WINDOW_CONTROLLER:
        ShowController(!ControllerVisible());
        break;
    case ID_GROUP_NEW:
        NewGroup();
        break;
    case ID_GROUP_EDIT:
        EditGroup();
        break;
    case ID_GROUP_DELETE:
        DeleteGroup();
        break;
    case ID_OPTION_SETTINGS:
        RunSettingsSheet();
        break;
    case ID_VIEW_COLUMNS:
        RunColumnDialog();
        break;
    case ID_VIEW_SORT:
        RunSortDialog();
        break;
    default:
        break;
    }
}

void CLumivexView::StartSearch(bool manual) {
    if (!m_engine)
        return;
    setCursor(Qt::BusyCursor);
    if (m_engine->StartSearch() == 0) {
        m_searchRunning = 1;
        return;
    }
    unsetCursor();
    // An automatic search that cannot start stays quiet; it is tried again
    // at its next period.
    if (manual)
        TellOperator(SearchFailureText(m_engine->LastSearchFailure()));
}

void CLumivexView::OnSearchDone() {
    m_searchRunning = 0;
    unsetCursor();
}

std::string CLumivexView::SearchFailureText(const SearchFailure& failure) const {
    const std::string port = std::to_string(m_engine ? m_engine->SearchPort() : 0);
    const std::string error = std::to_string(failure.socketError);
    std::string reason;
    switch (failure.reason) {
    case SEARCH_FAIL_RUNNING: reason = ResourceText(IDS_SEARCH_FAIL_RUNNING); break;
    case SEARCH_FAIL_PORT: reason = FormatResourceText(IDS_SEARCH_FAIL_PORT, {port}); break;
    case SEARCH_FAIL_LISTEN: reason = FormatResourceText(IDS_SEARCH_FAIL_LISTEN, {port, error}); break;
    case SEARCH_FAIL_BROADCAST:
        reason = FormatResourceText(IDS_SEARCH_FAIL_BROADCAST, {failure.interfaceAddress, error});
        break;
    default: reason = ResourceText(IDS_SEARCH_FAIL_THREAD); break;
    }
    return FormatResourceText(IDS_SEARCH_FAILED, {reason});
}

void CLumivexView::SetRowMenuActions(const std::vector<QAction*>& actions) {
    m_rowActions = actions;
    if (m_list)
        m_list->SetRowMenuActions(actions);
}

// --- the mail logic's view of the fleet ----------------------------------------

std::vector<const CProjectorInfo*> CLumivexView::AllProjectors() const {
    std::vector<const CProjectorInfo*> records;
    if (!m_groups.empty())
        for (int n = 0; const CProjectorInfo* record = m_groups.front()->GetAt(n); ++n)
            records.push_back(record);
    return records;
}

int CLumivexView::GroupCount() const { return m_groups.empty() ? 0 : int(m_groups.size()) - 1; }

std::string CLumivexView::GroupName(int index) const {
    return index >= 0 && index < GroupCount() ? m_groups[std::size_t(index) + 1]->Name() : std::string();
}

bool CLumivexView::GroupContains(int index, const CProjectorInfo* record) const {
    return index >= 0 && index < GroupCount() && m_groups[std::size_t(index) + 1]->Contains(record);
}

void CLumivexView::RequestUpdateAll(bool track) {
    if (m_engine)
        m_engine->RequestUpdateAll(track ? 1 : 0);
}
