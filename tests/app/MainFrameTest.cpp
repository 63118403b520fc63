// The main frame: its stored placement applied and saved, the menus with
// every command, and the enable rules checked again when a command fires
// (an accelerator or an action the menu showed enabled earlier).
#include <QMenuBar>
#include <QShortcut>

#include "ConsoleTestSupport.h"
#include "app/AppDefs.h"
#include "app/FramePlacement.h"
#include "platform/ResourceText.h"
#include "support/TestAddress.h"

namespace {

CWindowPlacement StoredPlacement() {
    CWindowPlacement p;
    EXPECT_EQ(CValue().GetPlacement(PLACEMENT_WINDOW, p), 0);
    return p;
}

void FireShortcut(CMainFrame* frame, Qt::Key key) {
    for (QShortcut* shortcut : frame->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(key))
            emit shortcut->activated();
}

}  // namespace

using MainFrameTest = ConsoleTest;

TEST_F(MainFrameTest, FirstStartOpensNormalAtTheDefaultSizeAndStoresWhereItWas) {
    OpenConsole();
    m_frame->ShowAsStored();
    EXPECT_FALSE(m_frame->isMaximized());
    EXPECT_EQ(m_frame->windowTitle().toStdString(), ResourceText(IDS_APP_TITLE));
    m_frame->move(40, 30);
    m_frame->resize(700, 450);
    m_frame->close();
    const CWindowPlacement p = StoredPlacement();
    EXPECT_EQ(p.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(QRect(p.left, p.top, p.right - p.left, p.bottom - p.top),
              QRect(m_frame->frameGeometry().topLeft(), m_frame->size()));
}

TEST_F(MainFrameTest, StoredRectangleIsRaisedToTheMinimumAndMaximisedStaysMaximised) {
    CValue().SetPlacement(PLACEMENT_WINDOW, CFramePlacement::FromFrame(QPoint(-50, -20), QSize(150, 120), false));
    OpenConsole();
    m_frame->ShowAsStored();
    EXPECT_EQ(m_frame->frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(m_frame->size(), QSize(FRAME_MIN_WIDTH, FRAME_MIN_HEIGHT));
    m_frame.reset();
    Settle();

    CValue().SetPlacement(PLACEMENT_WINDOW, CFramePlacement::FromFrame(QPoint(60, 70), QSize(640, 480), true));
    OpenConsole();
    m_frame->ShowAsStored();
    ASSERT_TRUE(WaitFor([&] { return m_frame->isMaximized(); }, 5000));
    m_frame->close();
    const CWindowPlacement p = StoredPlacement();
    EXPECT_EQ(p.showCmd, SW_SHOWMAXIMIZED);
    // The normal rectangle is what opens when the operator restores it.
    EXPECT_EQ(QSize(p.right - p.left, p.bottom - p.top), QSize(640, 480));
}

TEST_F(MainFrameTest, EveryMenuCommandIsPresentAndOnlyThisConsolesOnesAreEnabled) {
    StoreFleet({TestLoopbackAddress(1)});
    OpenConsole();
    // Without a selected row the projector's own commands are greyed; Edit
    // and Delete group are greyed on the All tab.
    const int later[] = {ID_PROJECTOR_PROPERTIES, ID_PROJECTOR_DELETE, ID_PROJECTOR_PASSWORD, ID_GROUP_EDIT,
                         ID_GROUP_DELETE};
    for (int id : later) {
        ASSERT_NE(m_frame->Action(id), nullptr) << id;
        EXPECT_FALSE(m_frame->IsCommandEnabled(id)) << id;
        EXPECT_FALSE(m_frame->Action(id)->text().isEmpty()) << id;
    }
    for (int id : {ID_PROJECTOR_ADD, ID_WINDOW_CONTROLLER, ID_VIEW_REFRESH, ID_VIEW_SEARCH, ID_OPTION_MAIL,
                   ID_OPTION_ALERT, ID_APP_EXIT, ID_APP_ABOUT, ID_VIEW_COLUMNS, ID_VIEW_SORT, ID_GROUP_NEW,
                   ID_OPTION_SETTINGS}) {
        ASSERT_NE(m_frame->Action(id), nullptr) << id;
        EXPECT_TRUE(m_frame->IsCommandEnabled(id)) << id;
    }
    EXPECT_EQ(m_frame->menuBar()->actions().size(), 5);
    // The menu shows each accelerator beside its command, apart from its name.
    EXPECT_EQ(m_frame->Action(ID_VIEW_REFRESH)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(m_frame->Action(ID_VIEW_SEARCH)->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(m_frame->Action(ID_PROJECTOR_DELETE)->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(m_frame->Action(ID_VIEW_REFRESH)->text().contains(QLatin1Char('\t')));
}

TEST_F(MainFrameTest, RulesAreCheckedAgainWhenACommandFires) {
    CLumivexView* view = OpenConsole();
    // Refresh needs a projector: with none, F5 does nothing.
    EXPECT_FALSE(m_frame->IsCommandEnabled(ID_VIEW_REFRESH));
    FireShortcut(m_frame.get(), Qt::Key_F5);
    // F6 starts a search; while it runs neither F6 nor the action a menu
    // showed enabled before starts another (which would fail and say so).
    QAction* search = m_frame->Action(ID_VIEW_SEARCH);
    search->setEnabled(true);
    FireShortcut(m_frame.get(), Qt::Key_F6);
    ASSERT_TRUE(view->SearchRunning()) << (m_messages.empty() ? "" : m_messages[0]);
    FireShortcut(m_frame.get(), Qt::Key_F6);
    search->trigger();
    FireShortcut(m_frame.get(), Qt::Key_Delete);
    EXPECT_TRUE(m_messages.empty()) << m_messages[0];
    // Opening the menu shows the rule's state.
    for (QMenu* menu : m_frame->findChildren<QMenu*>())
        if (menu->actions().contains(search))
            emit menu->aboutToShow();
    EXPECT_FALSE(search->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !view->SearchRunning(); }));
}
