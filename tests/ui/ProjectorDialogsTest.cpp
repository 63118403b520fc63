// The property and password dialogs: the values they show from the record,
// and what the password dialog hands back.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "comm/ProjectorCodes.h"
#include "platform/ResourceText.h"
#include "ui/PasswordDialog.h"
#include "ui/PropertyDialog.h"

TEST(PropertyDialog, ShowsTheValuesOfTheRecordAsItWasWhenOpened) {
    CProjectorInfo record = Record("Lobby", "192.168.0.5");
    record.macAddress = "00:11:22:33:44:55";
    record.lampHours = 1234;
    record.lampMinutes = 30;
    record.lampLife = 62;
    record.power = POWER_UNKNOWN;
    CPropertyDialog dialog(record);
    record.name = "changed after opening";
    EXPECT_EQ(dialog.Value(0)->text().toStdString(), "Lobby");
    EXPECT_EQ(dialog.Value(2)->text().toStdString(), "----");
    EXPECT_EQ(dialog.Value(4)->text().toStdString(), "1234 h 30 min");
    EXPECT_EQ(dialog.Value(5)->text().toStdString(), "62%");
    EXPECT_EQ(dialog.Value(9)->text().toStdString(), "192.168.0.5");
    EXPECT_EQ(dialog.Value(10)->text().toStdString(), "00:11:22:33:44:55");
    for (int i = 0; i < CPropertyDialog::kValueCount; ++i) {
        EXPECT_TRUE(dialog.Value(i)->isReadOnly()) << i;
        EXPECT_FALSE(dialog.Value(i)->accessibleName().isEmpty()) << i;
    }
    record.lampMinutes = -1;
    EXPECT_EQ(CPropertyDialog(record).Value(4)->text().toStdString(), "1234 h");
}

TEST(PasswordDialog, BoardsHostNameComesFirstAndTheTickObeysItsCaller) {
    CProjectorInfo record = Record("Lobby", "192.168.0.5");
    record.macAddress = "00:11:22:33:44:55";
    record.userName = "admin";
    record.password = "old";
    CPasswordDialog asked(&record, "PJ-HALL", true);
    EXPECT_EQ(asked.ProjectorText()->text().toStdString(), "PJ-HALL (192.168.0.5 : 00:11:22:33:44:55)");
    EXPECT_EQ(asked.UserField()->text().toStdString(), "admin");
    EXPECT_EQ(asked.PasswordField()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(asked.SaveTick()->isChecked());
    EXPECT_TRUE(asked.SaveTick()->isEnabled());
    asked.PasswordField()->setText("secret");
    asked.SaveTick()->setChecked(false);
    asked.accept();
    EXPECT_EQ(asked.UserName(), "admin");
    EXPECT_EQ(asked.Password(), "secret");
    EXPECT_EQ(asked.Remember(), 0);

    CPasswordDialog menu(&record, "", false);
    EXPECT_EQ(menu.ProjectorText()->text().toStdString(), "Lobby (192.168.0.5 : 00:11:22:33:44:55)");
    EXPECT_TRUE(menu.SaveTick()->isChecked());
    EXPECT_FALSE(menu.SaveTick()->isEnabled());
    menu.accept();
    EXPECT_EQ(menu.Remember(), 1);
    EXPECT_EQ(CPasswordDialog(nullptr, "PJ", true).ProjectorText()->text().toStdString(), "");
}
