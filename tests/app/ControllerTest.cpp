// The controller as the operator uses it: each button's command at the
// selected board only, a group's commands without a selected row (power-on
// one after another), the caption following the target, the web page, and
// the window coming back where and as it was.
#include <fstream>
#include <set>
#include <sstream>

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTest>

#include "ConsoleTestSupport.h"
#include "OperatorSupport.h"
#include "app/AppDefs.h"
#include "app/FramePlacement.h"
#include "comm/CommWnd.h"
#include "platform/Clock.h"
#include "platform/ResourceText.h"
#include "support/LoopbackFleet.h"
#include "support/TestAddress.h"
#include "ui/ControllerWnd.h"
#include "ui/ItemListArea.h"
#include "ui/MyButton.h"
#include "ui/MyTabCtrl.h"
#include "ui/ProjectorListModel.h"

namespace {

// What the board receives for each of the buttons 0..21, as the board
// protocol names the functions.
const std::vector<std::vector<std::string>> kWire = {
    {"POWR   1"}, {"POWR   0"}, {"IRGB   1"}, {"IRGB   2"}, {"IRGB   3"}, {"IRGB   4"},
    {"IRGB   5"}, {"IRGB   6"}, {"IVED   1"}, {"IVED   2"}, {"IVED   3"}, {"IVED   4"},
    {"IVED   5"}, {"IVED   6"}, {"IMBK   1"}, {"IMBK   0"}, {"MUTE   1"}, {"MUTE   0"},
    {"IMBK   1", "MUTE   1"}, {"IMBK   0", "MUTE   0"}, {"LNST   1"}, {"LNST   0"},
};

bool IsControlCommand(const std::string& command) {
    for (const auto& commands : kWire)
        for (const std::string& c : commands)
            if (c == command)
                return true;
    return false;
}

// The control commands a board received, each as often as it came.
std::multiset<std::string> ControlCommands(LoopbackFleet& fleet, const std::string& address) {
    std::multiset<std::string> received;
    const QJsonObject commands = fleet.Stats(address)["commands"].toObject();
    for (auto it = commands.begin(); it != commands.end(); ++it)
        if (IsControlCommand(it.key().toStdString()))
            for (int n = 0; n < it.value().toInt(); ++n)
                received.insert(it.key().toStdString());
    return received;
}

// The button's message, handled before the selection changes again.
void Press(CLumivexView* view, int button) {
    view->PostMessage(WM_CTRL_BUTTON_FIRST + unsigned(button));
    QCoreApplication::sendPostedEvents(view);
}

std::string Caption(const CLumivexView* view) { return view->Controller()->windowTitle().toStdString(); }

std::string CaptionOf(const std::string& target) { return ResourceText(IDS_CONTROLLER) + " : " + target; }

}  // namespace

using ControllerTest = ConsoleTest;

TEST_F(ControllerTest, EachButtonSendsItsWireCommandsToTheSelectedBoardOnly) {
    LoopbackFleet fleet;
    std::vector<std::string> boards;
    for (int i = 0; i <= 22; ++i)  // one board per button, and one never selected
        boards.push_back(fleet.AddBoard());
    fleet.Start();
    StoreFleet(boards);
    CLumivexView* view = OpenConsole();
    for (int button = 0; button < 22; ++button) {
        Select(view, boards[std::size_t(button)]);
        Press(view, button);
    }
    for (int button = 0; button < 22; ++button) {
        const std::string& board = boards[std::size_t(button)];
        const auto& wire = kWire[std::size_t(button)];
        ASSERT_TRUE(WaitFor([&] { return ControlCommands(fleet, board).size() == wire.size(); })) << button;
        EXPECT_EQ(ControlCommands(fleet, board), std::multiset<std::string>(wire.begin(), wire.end())) << button;
    }
    EXPECT_TRUE(ControlCommands(fleet, boards[22]).empty());
}

TEST_F(ControllerTest, WithoutASelectedRowTheTabsGroupGetsTheCommandPowerOnSpaced) {
    LoopbackFleet fleet;
    const std::vector<std::string> boards = {fleet.AddBoard(), fleet.AddBoard(), fleet.AddBoard(), fleet.AddBoard()};
    fleet.Start();
    StoreFleet(boards, {{"Hall", {2, 0}}, {"Foyer", {1, 3}}});
    CValue().SetSelectGroup(1);
    CFakeClock clock(CDateTime::FromParts(2026, 3, 2, 9, 0, 0));
    CLumivexView* view = OpenConsole(&clock);  // spacing: the default 3 s
    Press(view, 0);
    // The group's first member at the engine's next tick, the second only
    // once the spacing has passed on the engine's clock.
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(boards[2], "POWR   1") == 1; }));
    EXPECT_TRUE(view->Engine()->PowerOnActive());
    EXPECT_EQ(fleet.Sent(boards[0], "POWR   1"), 0);
    clock.AdvanceMs(3000);
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(boards[0], "POWR   1") == 1; }));

    view->Tabs()->setCurrentIndex(2);
    Press(view, 1);  // standby goes to every member at once
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(boards[1], "POWR   0") == 1 && fleet.Sent(boards[3], "POWR   0") == 1; }));
    for (const std::string& board : {boards[1], boards[3]})
        EXPECT_EQ(fleet.Sent(board, "POWR   1"), 0);
    for (const std::string& board : {boards[0], boards[2]})
        EXPECT_EQ(fleet.Sent(board, "POWR   0"), 0);
}

TEST_F(ControllerTest, CaptionFollowsTheTargetAndItsCommandsReachThatTarget) {
    LoopbackFleet fleet;
    const std::string a = fleet.AddBoard({"projectorName Aula"});
    const std::string b = fleet.AddBoard({"projectorName Foyer"});
    fleet.Start();
    StoreFleet({a, b}, {{"Hall", {1}}});
    CValue().SetSelectGroup(-1);  // no tab: the All group's, for caption and commands alike
    CLumivexView* view = OpenConsole();
    EXPECT_FALSE(view->ControllerExists());
    ASSERT_TRUE(WaitFor([&] { return RecordOf(view, a)->name == "Aula"; }));
    m_frame->FireCommand(ID_WINDOW_CONTROLLER);
    ASSERT_TRUE(view->ControllerVisible());
    EXPECT_EQ(Caption(view), CaptionOf(ResourceText(IDS_ALL_GROUP)));
    EXPECT_FALSE(view->Controller()->Button(CTRL_BUTTON_WEB_PAGE)->isEnabled());

    Select(view, a);
    Settle();
    EXPECT_EQ(Caption(view), CaptionOf("Aula(" + a + ")"));
    EXPECT_TRUE(view->Controller()->Button(CTRL_BUTTON_WEB_PAGE)->isEnabled());
    // A tab double-click drops the selection: the tab's group is the target.
    view->PostMessage(WM_TAB_DBLCLK);
    Settle();
    EXPECT_EQ(view->ListArea()->SelectedRecord(), nullptr);
    EXPECT_EQ(Caption(view), CaptionOf(ResourceText(IDS_ALL_GROUP)));
    Press(view, 15);
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(a, "IMBK   0") == 1 && fleet.Sent(b, "IMBK   0") == 1; }));
    view->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Caption(view), CaptionOf("Hall"));

    // Hidden through the menu, Enter on a selected row brings it back.
    m_frame->FireCommand(ID_WINDOW_CONTROLLER);
    EXPECT_FALSE(view->ControllerVisible());
    EXPECT_TRUE(view->ControllerExists());
    Select(view, b);
    QTest::keyClick(view->ListArea()->ListView(), Qt::Key_Return);
    EXPECT_TRUE(view->ControllerVisible());
    EXPECT_EQ(Caption(view), CaptionOf("Foyer(" + b + ")"));
}

TEST_F(ControllerTest, ComesBackWhereAndAsItWasAndItsCloseBoxForgetsIt) {
    CValue().SetControllerVisible(1);
    CValue().SetPlacement(PLACEMENT_CONTROLLER, CFramePlacement::FromFrame(QPoint(-40, 120), QSize(620, 167), false));
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(view->ControllerVisible());
    EXPECT_EQ(view->Controller()->pos(), QPoint(0, 120));
    view->Controller()->move(30, 150);
    m_frame->FireCommand(ID_WINDOW_CONTROLLER);  // hidden still counts as there
    m_frame->close();
    EXPECT_EQ(CValue().GetControllerVisible(), 1);
    m_frame.reset();
    Settle();

    view = OpenConsole();
    ASSERT_TRUE(view->ControllerVisible());
    EXPECT_EQ(view->Controller()->pos(), QPoint(30, 150));
    view->Controller()->move(60, 90);
    view->Controller()->close();
    EXPECT_FALSE(view->ControllerExists());
    CWindowPlacement stored;
    ASSERT_EQ(CValue().GetPlacement(PLACEMENT_CONTROLLER, stored), 0);
    EXPECT_EQ(QPoint(stored.left, stored.top), QPoint(60, 90));
    m_frame->close();
    EXPECT_EQ(CValue().GetControllerVisible(), 0);
}

TEST_F(ControllerTest, WebPageButtonRunsTheBrowserWithTheAddressAsItsOneArgument) {
    EXPECT_EQ(CLumivexView::WebPageUrl("192.168.0.5"), "http://192.168.0.5/");
    for (const char* unsafe : {"", "192.168.0.5/", "10.0.0.1 --new-window", "$(reboot)", "256.1.1.1", "1.2.3", "01.2.3.4"})
        EXPECT_EQ(CLumivexView::WebPageUrl(unsafe), "") << unsafe;

    // A browser in a folder whose name a shell would split and unquote.
    const std::string folder = m_dir.path().toStdString() + "/web \"browser\" $HOME";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    const std::string browser = folder + "/browser";
    const std::string seen = m_dir.path().toStdString() + "/seen";
    std::ofstream(browser) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" << seen << ".part\" && mv \"" << seen
                           << ".part\" \"" << seen << "\"\n";
    ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(browser), QFile::ReadOwner | QFile::ExeOwner));
    CValue().SetBrowserPath(browser);
    const std::string address = TestLoopbackAddress(1);
    StoreFleet({address});
    CLumivexView* view = OpenConsole();
    Select(view, address);
    Press(view, CTRL_BUTTON_WEB_PAGE);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(QString::fromStdString(seen)); }));
    std::stringstream text;
    text << std::ifstream(seen).rdbuf();
    EXPECT_EQ(text.str(), "1\nhttp://" + address + "/\n");
}
