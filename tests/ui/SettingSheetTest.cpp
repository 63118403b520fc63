// The settings sheet: the communication page's port checks, the general
// page's update minimum and browser check, the sliders' ranges and labels,
// and how OK, Apply and Cancel hand the values on.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "settings/TestProfile.h"
#include "settings/Value.h"
#include "support/ModalDriver.h"
#include "ui/IntervalFrame.h"
#include "ui/LabeledSlider.h"
#include "ui/PropPageSettingComm.h"
#include "ui/PropPageSettingGeneral.h"
#include "ui/PropSheetSetting.h"
#include "ui/UiDefs.h"

namespace {

bool Accepted(const QString& search, const QString& from, const QString& to) {
    return CPropPageSettingComm::ReadPorts(search, from, to).has_value();
}

class SettingSheetTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        m_browser = m_dir.path().toStdString() + "/browser";
        QFile file(QString::fromStdString(m_browser));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        m_general.browserPath = m_browser;
        m_general.autoUpdateInterval = 90;
        m_general.nextPowerOnTime = 4;
        m_comm.autoSearchInterval = 5;
        m_comm.projectorSearchPort = 6006;
        m_comm.clientDataPortStart = 2000;
        m_comm.clientDataPortEnd = 3000;
    }
    QPushButton* Button(CPropSheetSetting& sheet, QDialogButtonBox::StandardButton which) {
        return sheet.Buttons()->button(which);
    }

    std::string m_browser;
    CCommSetInfo m_comm;
    CGeneralSetInfo m_general;
};

}  // namespace

TEST(CommPagePorts, DataPortsGoTogetherInRangeInEitherOrder) {
    EXPECT_TRUE(Accepted("", "", ""));
    EXPECT_TRUE(Accepted("1025", "1025", "65535"));
    EXPECT_TRUE(Accepted("", "2000", "1500"));  // the order is not checked
    EXPECT_FALSE(Accepted("", "1024", "2000"));
    EXPECT_FALSE(Accepted("", "2000", "65536"));
    EXPECT_FALSE(Accepted("", "", "2000"));
    EXPECT_FALSE(Accepted("", "2000", ""));
    EXPECT_FALSE(Accepted("1024", "", ""));
    EXPECT_FALSE(Accepted("0", "", ""));
    EXPECT_FALSE(Accepted("65536", "", ""));
    EXPECT_FALSE(Accepted("5006x", "", ""));
    EXPECT_FALSE(Accepted("", "-2000", "3000"));
    EXPECT_FALSE(Accepted("99999999999999999999", "", ""));
    const auto ports = CPropPageSettingComm::ReadPorts(" 5006 ", "", "");
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->search, 5006);
    EXPECT_EQ(ports->dataFrom, 0);
    EXPECT_EQ(ports->dataTo, 0);
}

TEST_F(SettingSheetTest, PagesShowTheRecordsWithTheirRangesAndEnabling) {
    m_comm.autoSearchFlag = 0;
    m_comm.clientDataPortStart = 0;
    m_comm.clientDataPortEnd = 0;
    m_general.powerOnMoving = 0;
    CPropSheetSetting sheet(m_comm, m_general);
    EXPECT_EQ(sheet.windowTitle().toStdString(), ResourceText(IDS_SETTINGS_SHEET));
    ASSERT_EQ(sheet.PageCount(), 2);
    EXPECT_EQ(sheet.Page(0), sheet.CommPage());
    CPropPageSettingComm& comm = *sheet.CommPage();
    EXPECT_EQ(comm.SearchInterval()->Slider()->minimum(), 1);
    EXPECT_EQ(comm.SearchInterval()->Slider()->maximum(), 60);
    EXPECT_EQ(comm.SearchInterval()->Slider()->tickInterval(), 1);
    EXPECT_EQ(comm.SearchInterval()->ValueText()->text(), "5");
    EXPECT_FALSE(comm.SearchInterval()->Slider()->isEnabled());
    EXPECT_EQ(comm.SearchPortField()->text(), "6006");
    EXPECT_EQ(comm.DataPortFromField()->text(), "");
    comm.SearchInterval()->TickBox()->click();
    EXPECT_TRUE(comm.SearchInterval()->Slider()->isEnabled());
    comm.SearchInterval()->Slider()->setValue(12);
    EXPECT_EQ(comm.SearchInterval()->ValueText()->text(), "12");

    CPropPageSettingGeneral& general = *sheet.GeneralPage();
    EXPECT_EQ(general.UpdateInterval()->Slider()->minimum(), 60);  // "AutoUpdateSecondMinimum" unset: 60
    EXPECT_EQ(general.UpdateInterval()->Slider()->maximum(), 180);
    EXPECT_EQ(general.UpdateInterval()->Slider()->tickInterval(), 3);
    EXPECT_EQ(general.UpdateInterval()->ValueText()->text(), "90");
    EXPECT_TRUE(general.AllAtOnceButton()->isChecked());
    EXPECT_FALSE(general.SpacingList()->isEnabled());
    EXPECT_EQ(general.SpacingList()->count(), 10);
    EXPECT_EQ(general.SpacingList()->currentText(), "4");
    general.OneByOneButton()->click();
    EXPECT_TRUE(general.SpacingList()->isEnabled());

    // The range labels sit under the ends of the track, below the ticks.
    sheet.show();
    CLabeledSlider* slider = general.UpdateInterval()->Slider();
    EXPECT_LT(slider->MinimumLabelRect().center().x(), slider->width() / 4);
    EXPECT_GT(slider->MaximumLabelRect().center().x(), slider->width() * 3 / 4);
    EXPECT_GE(slider->MinimumLabelRect().bottom(), slider->height() - slider->MinimumLabelRect().height());
    EXPECT_LE(slider->MinimumLabelRect().bottom(), slider->height());
}

TEST_F(SettingSheetTest, StoredUpdateMinimumOfZeroStartsTheSliderAtOneAndIsStoredAsOne) {
    CValue().SetAutoUpdateSecondMinimum(0);
    m_general.autoUpdateInterval = 2;
    CPropSheetSetting sheet(m_comm, m_general);
    EXPECT_EQ(sheet.GeneralPage()->UpdateInterval()->Slider()->minimum(), 1);
    EXPECT_EQ(sheet.GeneralPage()->UpdateInterval()->ValueText()->text(), "2");
    std::int32_t stored = -99;
    ASSERT_TRUE(Reopen().ReadInt("Settings", "AutoUpdateSecondMinimum", stored));
    EXPECT_EQ(stored, 1);
}

TEST_F(SettingSheetTest, OkHandsOnBothPagesAndAllAtOnceKeepsTheSpacing) {
    CPropSheetSetting sheet(m_comm, m_general);
    QSignalSpy applied(&sheet, &CPropSheet::Applied);
    CPropPageSettingComm& comm = *sheet.CommPage();
    comm.SearchInterval()->TickBox()->click();  // off
    comm.SearchPortField()->setText("1024");
    comm.DataPortFromField()->clear();
    comm.DataPortToField()->clear();
    CPropPageSettingGeneral& general = *sheet.GeneralPage();
    general.AllAtOnceButton()->click();
    general.UpdateInterval()->Slider()->setValue(120);
    EXPECT_TRUE(Button(sheet, QDialogButtonBox::Apply)->isEnabled());

    sheet.Tabs()->setCurrentWidget(&general);
    {
        CModalDriver driver;
        driver.ThenMessageBox();
        Button(sheet, QDialogButtonBox::Ok)->click();
        EXPECT_EQ(driver.Boxes().at(0).text, ResourceText(IDS_INVALID_INPUT));
    }
    EXPECT_EQ(applied.count(), 0);
    EXPECT_EQ(sheet.Tabs()->currentWidget(), &comm);  // the page that refused
    EXPECT_EQ(comm.SearchPortField()->text(), "1024");  // as typed
    EXPECT_EQ(sheet.Comm().projectorSearchPort, 6006);

    comm.SearchPortField()->clear();
    Button(sheet, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Comm().autoSearchFlag, 0);
    EXPECT_EQ(sheet.Comm().autoSearchInterval, 5);
    EXPECT_EQ(sheet.Comm().projectorSearchPort, 0);
    EXPECT_EQ(sheet.Comm().clientDataPortStart, 0);
    EXPECT_EQ(sheet.Comm().clientDataPortEnd, 0);
    EXPECT_EQ(sheet.General().autoUpdateInterval, 120);
    EXPECT_EQ(sheet.General().powerOnMoving, 0);
    EXPECT_EQ(sheet.General().nextPowerOnTime, 4);
    EXPECT_EQ(sheet.General().browserPath, m_browser);
}

TEST_F(SettingSheetTest, ApplyHandsOnAndStaysOpenAMissingBrowserIsRefused) {
    CPropSheetSetting sheet(m_comm, m_general);
    QSignalSpy applied(&sheet, &CPropSheet::Applied);
    sheet.show();
    EXPECT_FALSE(Button(sheet, QDialogButtonBox::Apply)->isEnabled());
    CPropPageSettingGeneral& general = *sheet.GeneralPage();
    for (const QString& path : {QString(), QString::fromStdString(m_browser + ".gone")}) {
        general.PathField()->setText(path);
        CModalDriver driver;
        driver.ThenMessageBox();
        Button(sheet, QDialogButtonBox::Apply)->click();
        EXPECT_EQ(applied.count(), 0);
        EXPECT_EQ(sheet.Tabs()->currentWidget(), &general);
    }
    general.PathField()->setText(m_dir.path());  // a folder will do
    general.SpacingList()->setCurrentIndex(9);
    Button(sheet, QDialogButtonBox::Apply)->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_FALSE(Button(sheet, QDialogButtonBox::Apply)->isEnabled());
    EXPECT_EQ(sheet.General().nextPowerOnTime, 10);
    EXPECT_EQ(sheet.General().browserPath, m_dir.path().toStdString());
    Button(sheet, QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(applied.count(), 1);
}
