// The settings sheet, column and sort commands of the main view: what the
// operator confirms is saved at once and in force at once (the engine's
// periods and ports, the list's columns and order); Cancel changes nothing.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QComboBox>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>

#include "ConsoleTestSupport.h"
#include "app/AppDefs.h"
#include "comm/CommWnd.h"
#include "platform/Clock.h"
#include "support/ModalDriver.h"
#include "support/TestAddress.h"
#include "ui/ColumnDialog.h"
#include "ui/IntervalFrame.h"
#include "ui/ItemListArea.h"
#include "ui/LabeledSlider.h"
#include "ui/ListColumns.h"
#include "ui/PropPageSettingComm.h"
#include "ui/PropPageSettingGeneral.h"
#include "ui/PropSheetSetting.h"
#include "ui/ProjectorListModel.h"
#include "ui/SortDialog.h"

namespace {

class OptionsCommandsTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        // The general page accepts only a browser that exists.
        m_browser = m_dir.path().toStdString() + "/browser";
        QFile file(QString::fromStdString(m_browser));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        CValue().SetBrowserPath(m_browser);
    }
    // A settings value as another process would read it from the file now.
    int StoredInt(const char* name) const {
        CProfileStore store(m_profilePath);
        std::int32_t value = -12345;
        store.ReadInt("Settings", name, value);
        return value;
    }
    static CModalDriver::Handler OnSheet(std::function<void(CPropSheetSetting&)> edit,
                                         QDialogButtonBox::StandardButton end) {
        return [edit, end](QWidget* window) {
            auto* sheet = qobject_cast<CPropSheetSetting*>(window);
            ASSERT_NE(sheet, nullptr);
            edit(*sheet);
            sheet->Buttons()->button(end)->click();
            if (end == QDialogButtonBox::Apply)
                sheet->Buttons()->button(QDialogButtonBox::Cancel)->click();
        };
    }

    std::string m_browser;
};

}  // namespace

TEST_F(OptionsCommandsTest, SettingsConfirmedAreSavedAndTheEngineTakesThemAtOnce) {
    CFakeClock clock(CDateTime::FromParts(2026, 6, 1, 12, 0, 0));
    CLumivexView* view = OpenConsole(&clock);
    CCommWnd* engine = view->Engine();
    ASSERT_EQ(engine->UpdateInterval(), 60);
    ASSERT_EQ(engine->SearchInterval(), 180);
    ASSERT_TRUE(view->IsCommandEnabled(ID_OPTION_SETTINGS));
    CValue().SetAutoUpdateSecondMinimum(5);
    clock.AdvanceMs(1000);
    CModalDriver driver;
    driver.Then(OnSheet(
        [](CPropSheetSetting& sheet) {
            CPropPageSettingComm& comm = *sheet.CommPage();
            comm.SearchInterval()->TickBox()->click();  // automatic search off
            comm.SearchPortField()->setText("7006");
            comm.DataPortFromField()->setText("40000");
            comm.DataPortToField()->setText("40010");
            CPropPageSettingGeneral& general = *sheet.GeneralPage();
            general.UpdateInterval()->Slider()->setValue(5);
            general.AllAtOnceButton()->click();
        },
        QDialogButtonBox::Ok));
    view->OnCommand(ID_OPTION_SETTINGS);
    EXPECT_EQ(engine->SearchInterval(), 0);
    EXPECT_EQ(engine->UpdateInterval(), 5);
    EXPECT_EQ(engine->PowerOnSpacing(), 0);
    EXPECT_EQ(engine->SearchPort(), 7006);
    EXPECT_EQ(engine->NextLocalPort(40010), 40000);  // the new range for the next connections
    EXPECT_EQ(engine->NextUpdateTime(), clock.Now().AddSeconds(5));
    EXPECT_EQ(StoredInt("AutoSearchFlag"), 0);
    EXPECT_EQ(StoredInt("ProjectorSearchPort"), 7006);
    EXPECT_EQ(StoredInt("ClientDataPortStart"), 40000);
    EXPECT_EQ(StoredInt("ClientDataPortEnd"), 40010);
    EXPECT_EQ(StoredInt("AutoUpdateInterval"), 5);
    EXPECT_EQ(StoredInt("PowerOnMoving"), 0);
    EXPECT_EQ(StoredInt("NextPowerOnTime"), 3);
}

TEST_F(OptionsCommandsTest, AutomaticSearchSwitchedOffStopsTheSearches) {
    CValue().SetAutoSearchInterval(1);
    CFakeClock clock(CDateTime::FromParts(2026, 6, 1, 12, 0, 0));
    CLumivexView* view = OpenConsole(&clock);
    CCommWnd* engine = view->Engine();
    // On, a minute later the search runs by itself.
    clock.AdvanceMs(61000);
    engine->Tick();
    ASSERT_TRUE(WaitFor([&] { return view->SearchRunning(); }));
    // The search listens for its seconds on the same clock.
    ASSERT_TRUE(WaitFor([&] {
        clock.AdvanceMs(100);
        return !view->SearchRunning();
    }));
    {
        CModalDriver driver;
        driver.Then(OnSheet([](CPropSheetSetting& sheet) { sheet.CommPage()->SearchInterval()->TickBox()->click(); },
                            QDialogButtonBox::Ok));
        view->OnCommand(ID_OPTION_SETTINGS);
    }
    for (int minute = 0; minute < 5; ++minute) {
        clock.AdvanceMs(60000);
        engine->Tick();
        Settle();
        EXPECT_FALSE(view->SearchRunning()) << minute;
        EXPECT_FALSE(engine->IsSearching()) << minute;
    }
}

TEST_F(OptionsCommandsTest, ApplyIsInForceAtOnceAndCancelKeepsEverythingElse) {
    CLumivexView* view = OpenConsole();
    CCommWnd* engine = view->Engine();
    {
        CModalDriver driver;
        driver.Then(OnSheet([](CPropSheetSetting& sheet) { sheet.GeneralPage()->SpacingList()->setCurrentIndex(6); },
                            QDialogButtonBox::Apply));
        view->OnCommand(ID_OPTION_SETTINGS);
    }
    EXPECT_EQ(engine->PowerOnSpacing(), 7);
    EXPECT_EQ(StoredInt("NextPowerOnTime"), 7);
    {
        CModalDriver driver;
        driver.Then(OnSheet([](CPropSheetSetting& sheet) { sheet.GeneralPage()->SpacingList()->setCurrentIndex(1); },
                            QDialogButtonBox::Cancel));
        view->OnCommand(ID_OPTION_SETTINGS);
    }
    EXPECT_EQ(engine->PowerOnSpacing(), 7);
    EXPECT_EQ(StoredInt("NextPowerOnTime"), 7);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(OptionsCommandsTest, ColumnDialogAdoptsAndSavesOnlyAChange) {
    StoreFleet({TestLoopbackAddress(1)});
    CLumivexView* view = OpenConsole();
    view->ListArea()->ListView()->horizontalHeader()->resizeSection(1, 140);  // the header's latest width
    Settle();
    const std::string before = FileText();
    {
        CModalDriver driver;
        driver.Then([](QWidget* window) {
            auto* dialog = qobject_cast<CColumnDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->List()->setCurrentRow(1);
            EXPECT_EQ(dialog->WidthField()->text(), "140");
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        view->OnCommand(ID_VIEW_COLUMNS);
    }
    Settle();
    EXPECT_EQ(FileText(), before);  // nothing changed, nothing written
    {
        CModalDriver driver;
        driver.Then([](QWidget* window) {
            auto* dialog = qobject_cast<CColumnDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            dialog->List()->setCurrentRow(3);
            dialog->HideSelected();
            dialog->List()->setCurrentRow(5);
            dialog->MoveUp();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        view->OnCommand(ID_VIEW_COLUMNS);
    }
    const std::vector<int> shown = {0, 1, 2, 5, 4, 6, 7, 8, 9, 10};
    EXPECT_EQ(view->ListArea()->ListModel()->Columns(), shown);
    CProfileStore store(m_profilePath);
    std::string visible, order;
    ASSERT_TRUE(store.ReadText("Settings", "ViewInfoVisible", visible));
    ASSERT_TRUE(store.ReadText("Settings", "ViewInfoOrder", order));
    EXPECT_EQ(visible, "11111111110");
    EXPECT_EQ(order, "0,1,2,5,4,6,7,8,9,10,3");
}

TEST_F(OptionsCommandsTest, SortDialogSavesAndSortsAtOnce) {
    StoreFleet({TestLoopbackAddress(2), TestLoopbackAddress(1)});
    CLumivexView* view = OpenConsole();
    CModalDriver driver;
    driver.Then([](QWidget* window) {
        auto* dialog = qobject_cast<CSortDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        dialog->KeyList()->setCurrentIndex(dialog->KeyList()->findData(1));
        dialog->DescendingButton()->click();
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    view->OnCommand(ID_VIEW_SORT);
    EXPECT_EQ(StoredInt("ListSort"), 1);
    EXPECT_EQ(StoredInt("ListSortOrder"), 1);
    CProjectorListModel* model = view->ListArea()->ListModel();
    EXPECT_EQ(model->RecordAt(0)->ipAddress, TestLoopbackAddress(2));
    EXPECT_EQ(model->RecordAt(1)->ipAddress, TestLoopbackAddress(1));
}
