// The group commands of the main view: a new group made in the dialog, an
// edited and a deleted group, the tab chosen after a delete, the automatic
// numbers, saving at once, a group deleted during its spaced power-on, and
// the header menu's choices that must not reach the group commands.
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "ConsoleTestSupport.h"
#include "app/AppDefs.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/Clock.h"
#include "platform/ResourceText.h"
#include "support/LoopbackFleet.h"
#include "support/ModalDriver.h"
#include "support/TestAddress.h"
#include "ui/GroupNames.h"
#include "ui/GroupSetting.h"
#include "ui/ItemListArea.h"
#include "ui/ListColumns.h"
#include "ui/MyTabCtrl.h"
#include "ui/ProjectorListModel.h"

namespace {

class GroupCommandsTest : public ConsoleTest {
protected:
    // Named groups as another process would read them from the file now.
    std::vector<std::pair<std::string, std::vector<std::string>>> StoredGroups() const {
        CProfileStore store(m_profilePath);
        CValue value(store);
        std::vector<std::pair<std::string, std::vector<std::string>>> groups;
        for (int n = 0; n < value.GetGroupCount(); ++n) {
            std::vector<std::string> members;
            // Value m holds the entries of members 0..m: the last one is m's.
            const int count = value.GetProjectorCount(n);
            if (count > 0) {
                CBinary bytes = value.GetProjector(n, count - 1);
                int position = 0;
                for (int m = 0; m < count; ++m) {
                    bytes.ReadText(position);
                    CBinary form = bytes.ReadBlock(position);
                    CProjectorInfo record;
                    if (LoadFrom(record, form) == 0)
                        members.push_back(record.ipAddress);
                }
            }
            groups.push_back({value.GetGroupName(n), members});
        }
        return groups;
    }
    std::vector<std::string> TabTexts(CLumivexView* view) const {
        std::vector<std::string> texts;
        for (int i = 0; i < view->Tabs()->count(); ++i)
            texts.push_back(view->Tabs()->tabText(i).toStdString());
        return texts;
    }
    static std::vector<std::string> Listed(CLumivexView* view) {
        std::vector<std::string> addresses;
        CProjectorListModel* model = view->ListArea()->ListModel();
        for (int row = 0; row < model->rowCount(); ++row)
            addresses.push_back(model->RecordAt(row)->ipAddress);
        std::sort(addresses.begin(), addresses.end());
        return addresses;
    }
    // The dialog's handler: rows of the left list to add, a name, then OK.
    static CModalDriver::Handler Pick(std::vector<int> rows, QString name = {}) {
        return [rows, name](QWidget* window) {
            auto* dialog = qobject_cast<CGroupSetting*>(window);
            ASSERT_NE(dialog, nullptr);
            for (int row : rows)
                dialog->AllList()->selectionModel()->select(dialog->AllList()->model()->index(row, 0),
                                                            QItemSelectionModel::Select);
            dialog->AddSelected();
            if (!name.isNull())
                dialog->NameField()->setText(name);
            dialog->OkButton()->click();
        };
    }

    const std::string P = ResourceText(IDS_GROUP_PREFIX);
    const std::string A = TestLoopbackAddress(1), B = TestLoopbackAddress(2), C = TestLoopbackAddress(3);
};

using Groups = std::vector<std::pair<std::string, std::vector<std::string>>>;
using Texts = std::vector<std::string>;

}  // namespace

TEST_F(GroupCommandsTest, NewGroupFromTheDialogIsTheSelectedTabAndStoredAtOnce) {
    StoreFleet({A, B, C}, {{"Hall", {0}}});
    CLumivexView* view = OpenConsole();
    ASSERT_TRUE(view->IsCommandEnabled(ID_GROUP_NEW));
    EXPECT_FALSE(view->IsCommandEnabled(ID_GROUP_EDIT));  // the All tab
    EXPECT_FALSE(view->IsCommandEnabled(ID_GROUP_DELETE));
    {
        CModalDriver driver;
        driver.Then(Pick({2, 0}));  // picked in any order, listed in list order
        view->OnCommand(ID_GROUP_NEW);
    }
    EXPECT_EQ(TabTexts(view), (Texts{ResourceText(IDS_ALL_GROUP), "Hall", P + "001"}));
    EXPECT_EQ(view->Tabs()->currentIndex(), 2);
    EXPECT_EQ(view->ListArea()->Group(), view->Groups()[2].get());
    EXPECT_EQ(Listed(view), (Texts{A, C}));
    // On disk before anything closes: a kill now keeps the group.
    EXPECT_EQ(StoredGroups(), (Groups{{"Hall", {A}}, {P + "001", {A, C}}}));
    std::int32_t selected = -1;
    CProfileStore store(m_profilePath);
    ASSERT_TRUE(store.ReadInt("Settings", "SelectGroup", selected));
    EXPECT_EQ(selected, 2);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(GroupCommandsTest, NumbersComeFromTheNamedTabsAndNoneFreeMeansNoDialog) {
    StoreFleet({A}, {{P + "001", {}}, {P + "002", {}}, {P + "010", {}}});
    CLumivexView* view = OpenConsole();
    EXPECT_EQ(view->NextGroupNumber(), 11);
    EXPECT_EQ(view->LowestFreeGroupNumber(), 3);
    EXPECT_EQ(view->UniqueGroupName(P + "002"), P + "003");
    EXPECT_EQ(view->UniqueGroupName(ResourceText(IDS_ALL_GROUP)), ResourceText(IDS_ALL_GROUP));  // tab 0 aside
    m_frame.reset();
    Settle();

    std::vector<std::pair<std::string, std::vector<int>>> every;
    for (int n = 1; n <= GROUP_NUMBER_MAX; ++n)
        every.push_back({AutomaticGroupName(P, n), {}});
    StoreFleet({A}, every);
    view = OpenConsole();
    EXPECT_EQ(view->NextGroupNumber(), -1);
    CModalDriver driver;
    driver.ThenMessageBox();
    view->OnCommand(ID_GROUP_NEW);
    ASSERT_EQ(driver.Boxes().size(), 1u);
    EXPECT_EQ(driver.Boxes()[0].text, ResourceText(IDS_GROUP_NAME_ERROR));
    EXPECT_EQ(driver.Boxes()[0].caption, ResourceText(IDS_APP_TITLE));
    EXPECT_EQ(driver.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(view->Tabs()->count(), 1 + GROUP_NUMBER_MAX);
}

TEST_F(GroupCommandsTest, EditRenamesTheTabRefillsTheListAndIsStored) {
    StoreFleet({A, B, C}, {{"Hall", {0, 1}}, {"Studio", {2}}});
    CLumivexView* view = OpenConsole();
    view->Tabs()->setCurrentIndex(1);
    ASSERT_TRUE(view->IsCommandEnabled(ID_GROUP_EDIT));
    {
        CModalDriver driver;
        driver.Then([](QWidget* window) {
            auto* dialog = qobject_cast<CGroupSetting*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->NameField()->text(), "Hall");
            dialog->MemberList()->selectionModel()->select(dialog->MemberList()->model()->index(0, 0),
                                                           QItemSelectionModel::Select);
            dialog->RemoveSelected();
            dialog->NameField()->setText("R&D Saal");
            dialog->OkButton()->click();
        });
        view->OnCommand(ID_GROUP_EDIT);
    }
    EXPECT_EQ(view->Groups()[1]->Name(), "R&D Saal");
    EXPECT_EQ(view->Tabs()->tabText(1).toStdString(), "R&&D Saal");  // shown as it is, no mnemonic
    EXPECT_EQ(Listed(view), (Texts{B}));
    EXPECT_EQ(StoredGroups(), (Groups{{"R&D Saal", {B}}, {"Studio", {C}}}));

    // Renaming to another group's name, or the All group's, is refused in the dialog.
    {
        CModalDriver driver;
        driver.Then([&driver](QWidget* window) {
            auto* dialog = qobject_cast<CGroupSetting*>(window);
            ASSERT_NE(dialog, nullptr);
            for (const std::string& taken : {std::string("Studio"), ResourceText(IDS_ALL_GROUP)}) {
                dialog->NameField()->setText(QString::fromStdString(taken));
                driver.ThenMessageBox();
                dialog->OkButton()->click();
            }
            dialog->reject();
        });
        view->OnCommand(ID_GROUP_EDIT);
        EXPECT_EQ(driver.Boxes().size(), 2u);
    }
    EXPECT_EQ(view->Groups()[1]->Name(), "R&D Saal");
}

TEST_F(GroupCommandsTest, DeleteAsksFirstThenSelectsTheFollowingTabOrTheOneBeforeTheLast) {
    StoreFleet({A, B}, {{"A", {0}}, {"B", {1}}, {"C", {0, 1}}, {"D", {}}});
    CLumivexView* view = OpenConsole();
    m_frame->resize(700, 400);
    m_frame->show();
    CMyTabCtrl* tabs = view->Tabs();
    tabs->setCurrentIndex(2);
    {
        CModalDriver driver;
        driver.ThenMessageBox(QMessageBox::No);
        view->OnCommand(ID_GROUP_DELETE);
        ASSERT_EQ(driver.Boxes().size(), 1u);
        EXPECT_EQ(driver.Boxes()[0].text, ResourceText(IDS_DELETE_GROUP));
        EXPECT_EQ(driver.Boxes()[0].caption, ResourceText(IDS_DELETE_CAPTION));
        EXPECT_EQ(driver.Boxes()[0].icon, QMessageBox::Question);
        EXPECT_EQ(driver.Boxes()[0].defaultButton, QMessageBox::No);
    }
    EXPECT_EQ(tabs->count(), 5);

    auto deleteSelected = [&] {
        CModalDriver driver;
        driver.ThenMessageBox(QMessageBox::Yes);
        view->OnCommand(ID_GROUP_DELETE);
    };
    deleteSelected();  // B, in the middle: C follows and takes its index
    EXPECT_EQ(TabTexts(view), (Texts{ResourceText(IDS_ALL_GROUP), "A", "C", "D"}));
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(view->ListArea()->Group(), view->Groups()[2].get());
    EXPECT_EQ(Listed(view), (Texts{A, B}));
    EXPECT_EQ(CValue().GetSelectGroup(), 2);

    tabs->setCurrentIndex(3);
    deleteSelected();  // D, the last: the one before it
    EXPECT_EQ(TabTexts(view), (Texts{ResourceText(IDS_ALL_GROUP), "A", "C"}));
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(2)));

    tabs->setCurrentIndex(1);
    deleteSelected();  // A, the first named tab
    EXPECT_EQ(TabTexts(view), (Texts{ResourceText(IDS_ALL_GROUP), "C"}));
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(view->Groups()[0]->GetCount(), 2);  // the projectors stay
    EXPECT_EQ(StoredGroups(), (Groups{{"C", {A, B}}}));
    EXPECT_EQ(StoredAddresses(), (Texts{A, B}));
}

TEST_F(GroupCommandsTest, LastOfManyTabsDeletedBringsTheNewSelectionIntoView) {
    std::vector<std::pair<std::string, std::vector<int>>> named;
    for (int i = 0; i < 30; ++i)
        named.push_back({"Group with a long name " + std::to_string(i), {}});
    StoreFleet({A}, named);
    CValue().SetSelectGroup(30);
    CLumivexView* view = OpenConsole();
    m_frame->resize(600, 400);
    m_frame->show();
    CMyTabCtrl* tabs = view->Tabs();
    ASSERT_TRUE(WaitFor([&] { return tabs->rect().contains(tabs->tabRect(30)); }, 5000));
    CModalDriver driver;
    driver.ThenMessageBox(QMessageBox::Yes);
    view->OnCommand(ID_GROUP_DELETE);
    EXPECT_EQ(tabs->currentIndex(), 29);
    EXPECT_TRUE(WaitFor([&] { return tabs->rect().contains(tabs->tabRect(29)); }, 5000));
    EXPECT_TRUE(tabs->hasFocus() || !m_frame->isActiveWindow());
}

TEST_F(GroupCommandsTest, GroupDeletedDuringItsSpacedPowerOnEndsTheSequence) {
    LoopbackFleet fleet;
    const std::string a = fleet.AddBoard(), b = fleet.AddBoard(), c = fleet.AddBoard();
    fleet.Start();
    StoreFleet({a, b, c}, {{"Hall", {0, 1, 2}}});
    CFakeClock clock(CDateTime::FromParts(2026, 5, 4, 9, 0, 0));
    CLumivexView* view = OpenConsole(&clock);
    ASSERT_TRUE(WaitFor([&] {
        return fleet.Sent(a, "POWR????") > 0 && fleet.Sent(b, "POWR????") > 0 && fleet.Sent(c, "POWR????") > 0;
    }));
    CCommWnd* engine = view->Engine();
    ASSERT_EQ(engine->PowerOnSpacing(), 3);  // one after another, 3 s apart, by default
    view->Tabs()->setCurrentIndex(1);
    ASSERT_EQ(engine->SendCommand(view->GroupAt(1), nullptr, CONTROL_POWER_ON), 0);
    auto tick = [&](int ms) {
        clock.AdvanceMs(ms);
        engine->Tick();
    };
    tick(500);
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(a, "POWR   1") == 1; }));
    tick(1000);  // one second into the sequence
    ASSERT_TRUE(engine->PowerOnActive());
    {
        CModalDriver driver;
        driver.ThenMessageBox(QMessageBox::Yes);
        view->OnCommand(ID_GROUP_DELETE);
    }
    ASSERT_EQ(view->Groups().size(), 1u);
    EXPECT_FALSE(engine->PowerOnActive());
    for (int step = 0; step < 24; ++step)
        tick(500);
    for (const std::string& address : {b, c})
        EXPECT_EQ(engine->FindSession(view->Groups()[0]->FindByAddress(address))->PendingCommand(), -1) << address;
    // A whole pass of every session later, the boards have still seen one power-on.
    const int polledB = fleet.Sent(b, "POWR????"), polledC = fleet.Sent(c, "POWR????");
    engine->RequestUpdateAll(0);
    ASSERT_TRUE(WaitFor([&] { return fleet.Sent(b, "POWR????") > polledB && fleet.Sent(c, "POWR????") > polledC; }));
    EXPECT_EQ(fleet.Sent(a, "POWR   1"), 1);
    EXPECT_EQ(fleet.Sent(b, "POWR   1"), 0);
    EXPECT_EQ(fleet.Sent(c, "POWR   1"), 0);
}

TEST_F(GroupCommandsTest, HeaderMenuChoicesNeverReachTheGroupOrProjectorCommands) {
    StoreFleet({A, B}, {{"Hall", {0, 1}}});
    CLumivexView* view = OpenConsole();
    m_frame->resize(900, 400);
    m_frame->show();
    view->Tabs()->setCurrentIndex(1);
    view->ListArea()->ListView()->selectRow(0);
    QHeaderView* header = view->ListArea()->ListView()->horizontalHeader();
    // Column 10 shares its item's position with Delete group, column 2 with
    // Delete projector: the menu hides the columns and asks nothing.
    for (int column : {10, 2}) {
        CModalDriver driver;  // fails on any question box
        driver.Then([column](QWidget* window) {
            auto* menu = qobject_cast<QMenu*>(window);
            ASSERT_NE(menu, nullptr);
            QAction* item = menu->actions().at(column);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        });
        const QPoint at(5, header->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, header->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(header->viewport(), &event);
    }
    Settle();
    EXPECT_EQ(view->Groups().size(), 2u);
    EXPECT_EQ(view->Groups()[0]->GetCount(), 2);
    EXPECT_EQ(view->ListArea()->ListModel()->IndexOfColumn(10), -1);
    EXPECT_EQ(view->ListArea()->ListModel()->IndexOfColumn(2), -1);
    EXPECT_TRUE(m_messages.empty());
}
