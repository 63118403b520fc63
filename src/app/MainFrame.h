#pragma once
// CMainFrame: the console's main window: the menus with one action per
// command, the three accelerators, the title, and the stored placement
// ("WindowPos") applied when it opens and saved when it closes. Its client
// area is the main view, which it owns. Closing it (the Exit command, the
// window's close box, a termination signal, the end of the desktop session)
// is the console's orderly shutdown. Owned by the application.
#include <map>

#include <QMainWindow>

class CLumivexView;
class QAction;
class QMenu;

class CMainFrame : public QMainWindow {
public:
    // Takes view as its client area.
    explicit CMainFrame(CLumivexView* view);

    // Opens at the stored placement (maximised when it was), else at the
    // default size.
    void ShowAsStored();
    void SavePlacement();

    QAction* Action(int id) const;
    // Runs command id if its enable rule allows it now.
    void FireCommand(int id);
    bool IsCommandEnabled(int id) const;
    CLumivexView* View() const { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QMenu* AddMenu(QMenu* parent, int titleId, std::initializer_list<int> ids);
    QAction* MakeAction(int id);
    void AddAccelerator(int key, int id);
    void UpdateActions(QMenu* menu);
    void ShowAbout();

    CLumivexView* m_view;
    std::map<int, QAction*> m_actions;
    bool m_closed = false;
};
