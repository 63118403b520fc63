// The IP address control and the add dialog: how an address is typed field
// by field, when it is complete, and that only a complete one is taken.
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/IPAddressCtrlEx.h"
#include "ui/IPEdit.h"
#include "ui/ProjectorAddDialog.h"

namespace {

std::vector<std::string> Fields(const CIPAddressCtrlEx& control) {
    std::vector<std::string> texts;
    for (int i = 0; i < CIPAddressCtrlEx::kFieldCount; ++i)
        texts.push_back(control.Field(i)->text().toStdString());
    return texts;
}

// Typed into the focused field, as the keyboard would.
void Type(const QString& keys) {
    for (QChar key : keys)
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

}  // namespace

TEST(IPAddressCtrlEx, AnAddressIsTypedInOneGoAcrossTheFields) {
    CProjectorAddDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CIPAddressCtrlEx& control = *dialog.AddressCtrl();
    EXPECT_TRUE(control.Field(0)->hasFocus());
    // A third digit moves on by itself; "." moves on after one or two digits.
    Type("192168.0.10");
    EXPECT_EQ(Fields(control), (std::vector<std::string>{"192", "168", "0", "10"}));
    EXPECT_EQ(control.AddressText(), "192.168.0.10");
    // Backspace at the start of a field goes back into the one before.
    QTest::keyClick(control.Field(3), Qt::Key_Home);
    QTest::keyClick(control.Field(3), Qt::Key_Backspace);
    EXPECT_TRUE(control.Field(2)->hasFocus());
}

TEST(IPAddressCtrlEx, FieldsHoldAtMost255AndAnEmptyFieldIsNotSkipped) {
    CIPAddressCtrlEx control("IP");
    control.show();
    control.Field(0)->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&control));
    Type("999");
    EXPECT_EQ(control.Field(0)->text().toStdString(), "255");
    Type("..7");  // the second "." finds the field empty and stays
    EXPECT_EQ(Fields(control), (std::vector<std::string>{"255", "7", "", ""}));
    Type("a-");   // not a digit: nothing
    EXPECT_EQ(control.Field(1)->text().toStdString(), "7");
    control.Field(2)->setText("010");
    control.Field(3)->setText("1");
    EXPECT_EQ(control.AddressText(), "255.7.10.1");
}

TEST(IPAddressCtrlEx, CompleteOnlyWhileEveryFieldHoldsAValue) {
    CIPAddressCtrlEx control("IP");
    QSignalSpy complete(&control, &CIPAddressCtrlEx::IpComplete);
    const char* values[] = {"10", "0", "0", "1"};
    for (int i = 0; i < 4; ++i)
        control.Field(i)->setText(values[i]);
    ASSERT_EQ(complete.count(), 4);
    EXPECT_EQ(complete.takeLast().at(0).toBool(), true);
    EXPECT_EQ(complete.takeLast().at(0).toBool(), false);
    control.Field(2)->clear();
    EXPECT_EQ(complete.takeLast().at(0).toBool(), false);
    EXPECT_EQ(control.AddressText(), "");
    EXPECT_FALSE(control.IsBlank());
    std::array<int, 4> fields{};
    EXPECT_EQ(control.GetAddress(fields), 3);
}

TEST(ProjectorAddDialog, OkIsUsableOnlyForACompleteAddress) {
    CProjectorAddDialog dialog;
    CIPAddressCtrlEx& control = *dialog.AddressCtrl();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    for (int i = 0; i < 4; ++i)
        control.Field(i)->setText("10");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    control.Field(1)->clear();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.accept();  // the Enter key with OK disabled: the dialog stays
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Address(), "");
    control.Field(1)->setText("20");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Address(), "10.20.10.10");
}
