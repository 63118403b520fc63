#include "app/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QShortcut>

#include "app/AboutDlg.h"
#include "app/AppDefs.h"
#include "app/FramePlacement.h"
#include "app/LumivexView.h"
#include "platform/ResourceText.h"
#include "settings/Value.h"
#include "ui/UiText.h"

namespace {

QString Text(int id) { return UiText(id); }

// The accessible name of a menu entry.
QString PlainText(QString text) { return PlainLabel(std::move(text)); }

constexpr int kDefaultWidth = 1100;
constexpr int kDefaultHeight = 600;

}  // namespace

CMainFrame::CMainFrame(CLumivexView* view) : m_view(view) {
    setWindowTitle(Text(IDS_APP_TITLE));
    setCentralWidget(view);
    BuildMenus();
    AddAccelerator(Qt::Key_Delete, ID_PROJECTOR_DELETE);
    AddAccelerator(Qt::Key_F5, ID_VIEW_REFRESH);
    AddAccelerator(Qt::Key_F6, ID_VIEW_SEARCH);
    m_view->SetRowMenuActions({Action(ID_PROJECTOR_PROPERTIES), Action(ID_PROJECTOR_PASSWORD), nullptr,
                               Action(ID_PROJECTOR_DELETE)});
}

void CMainFrame::BuildMenus() {
    AddMenu(nullptr, IDS_MENU_PROJECTOR,
            {ID_PROJECTOR_PROPERTIES, ID_PROJECTOR_ADD, ID_PROJECTOR_DELETE, ID_PROJECTOR_PASSWORD, 0, ID_APP_EXIT});
    AddMenu(nullptr, IDS_MENU_VIEW, {ID_VIEW_COLUMNS, ID_VIEW_SORT, 0, ID_VIEW_REFRESH, ID_VIEW_SEARCH});
    QMenu* options = AddMenu(nullptr, IDS_MENU_OPTIONS, {});
    AddMenu(options, IDS_MENU_GROUP, {ID_GROUP_NEW, ID_GROUP_EDIT, ID_GROUP_DELETE});
    options->addSeparator();
    for (int id : {ID_OPTION_MAIL, ID_OPTION_ALERT, ID_OPTION_SETTINGS})
        options->addAction(MakeAction(id));
    AddMenu(nullptr, IDS_MENU_WINDOW, {ID_WINDOW_CONTROLLER});
    AddMenu(nullptr, IDS_MENU_HELP, {ID_APP_ABOUT});
    Action(ID_WINDOW_CONTROLLER)->setCheckable(true);
}

// ids: the items in order; 0 is a separator.
QMenu* CMainFrame::AddMenu(QMenu* parent, int titleId, std::initializer_list<int> ids) {
    QMenu* menu = parent ? parent->addMenu(Text(titleId)) : menuBar()->addMenu(Text(titleId));
    menu->setAccessibleName(PlainText(Text(titleId)));
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(MakeAction(id));
    }
    // The enable rules are looked at each time a menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateActions(menu); });
    return menu;
}

QAction* CMainFrame::MakeAction(int id) {
    // A menu text holds its accelerator after a tab ("...\tF5"): the action
    // shows it as its shortcut, so assistive technology reads the command's
    // name and its key apart.
    const QString text = Text(id);
    auto* action = new QAction(text.section(QLatin1Char('\t'), 0, 0), this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    if (const QString key = text.section(QLatin1Char('\t'), 1); !key.isEmpty()) {
        // Only while its menu is open; otherwise the frame's accelerators
        // fire, whatever the action last showed, so every command checks its
        // rule again when it runs.
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    action->setEnabled(IsCommandEnabled(id));
    connect(action, &QAction::triggered, this, [this, id] { FireCommand(id); });
    m_actions[id] = action;
    return action;
}

void CMainFrame::AddAccelerator(int key, int id) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this, id] { FireCommand(id); });
}

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::UpdateActions(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->data().isValid())
            action->setEnabled(IsCommandEnabled(action->data().toInt()));
    if (QAction* controller = Action(ID_WINDOW_CONTROLLER))
        controller->setChecked(m_view->ControllerVisible());
}

bool CMainFrame::IsCommandEnabled(int id) const {
    if (id == ID_APP_EXIT || id == ID_APP_ABOUT)
        return true;
    return m_view->IsCommandEnabled(id);
}

void CMainFrame::FireCommand(int id) {
    if (!IsCommandEnabled(id))
        return;
    if (id == ID_APP_EXIT)
        close();
    else if (id == ID_APP_ABOUT)
        ShowAbout();
    else
        m_view->OnCommand(id);
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::ShowAsStored() {
    CWindowPlacement placement;
    if (CValue().GetPlacement(PLACEMENT_WINDOW, placement) != 0) {
        resize(kDefaultWidth, kDefaultHeight);
        show();
        return;
    }
    const QRect rect = CFramePlacement::OpeningRect(placement, CFramePlacement::Screens());
    move(rect.topLeft());
    resize(rect.size());
    if (CFramePlacement::OpensMaximised(placement))
        showMaximized();
    else
        show();
}

void CMainFrame::SavePlacement() {
    const bool maximised = isMaximized();
    // Maximised, the frame's own geometry is the screen's; the normal one is
    // what opens again, with the decorations' offset the frame has now.
    const QRect client = maximised ? normalGeometry() : geometry();
    const QPoint decoration = geometry().topLeft() - frameGeometry().topLeft();
    const QPoint framePos = maximised ? client.topLeft() - decoration : frameGeometry().topLeft();
    CValue().SetPlacement(PLACEMENT_WINDOW, CFramePlacement::FromFrame(framePos, client.size(), maximised));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A view that could not read the store writes nothing to it.
    if (!m_closed && m_view->IsCreated()) {
        m_closed = true;
        SavePlacement();
        CValue().SetControllerVisible(m_view->ControllerExists() ? 1 : 0);
        m_view->Shutdown();
    }
    event->accept();
}
