// The mail settings sheet and its pages: they show the settings they were
// given, mark themselves modified only on a real change, take the pages'
// values back on OK, follow the schedule's kind with the enabling and the
// next report time, and pass a recipient's send-now to the view with the
// originator as applied.
#include "ui/PropSheetMail.h"

#include <memory>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "comm/ProjectorCodes.h"
#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "platform/ResourceText.h"
#include "ui/PropPageMailError.h"
#include "ui/PropPageMailOriginator.h"
#include "ui/PropPageMailPeriodical.h"
#include "ui/PropPageMailRecipient.h"
#include "ui/UiDefs.h"

namespace {

// The view's side: what the sheet sends on.
class CSendNowRecorder : public TMsgWnd<QWidget> {
public:
    std::vector<std::unique_ptr<CMailObject>> mails;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM) override {
        if (msg == WM_MAIL_SEND_NOW) {
            mails.push_back(std::make_unique<CMailObject>());
            mails.back()->CopyFrom(*reinterpret_cast<const CMailObject*>(wParam));
        }
        return 0;
    }
};

class PropSheetMailTest : public ::testing::Test {
protected:
    PropSheetMailTest() : clock(CDateTime::FromParts(2026, 4, 15, 10, 0, 0)) {  // a Wednesday
        settings.originator.server = "mail.example";
        settings.originator.senderAddress = "console@example";
        settings.originator.senderName = "Hall";
        settings.originator.senderInfo = "line 1\nline 2";
        settings.error.flags[ERROR_KIND_FAN] = 1;
        settings.recipients.entries[1].address = "ops@example";
        settings.recipients.entries[1].errorMail = 1;
        settings.periodical.kind = PERIODICAL_KIND_WEEKLY;
        settings.periodical.weeklyDay = 4;  // Friday
        settings.periodical.monthlyDay = 31;
        settings.periodical.hour = 9;
        settings.periodical.minute = 30;
    }
    std::unique_ptr<CPropSheetMail> Open() {
        auto sheet = std::make_unique<CPropSheetMail>(&view, clock);
        sheet->Settings() = settings;
        sheet->BuildPages();
        return sheet;
    }

    CFakeClock clock;
    CMailSetInfo settings;
    CSendNowRecorder view;
};

}  // namespace

TEST_F(PropSheetMailTest, PagesInOrderShowTheSettingsAndOkTakesThemBack) {
    auto sheet = Open();
    ASSERT_EQ(sheet->PageCount(), 4);
    const int titles[] = {IDS_MAIL_PAGE_ORIGINATOR, IDS_MAIL_PAGE_RECIPIENT, IDS_MAIL_PAGE_ERROR,
                          IDS_MAIL_PAGE_PERIODICAL};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(sheet->Page(i)->Title().toStdString(), ResourceText(titles[i]));
    EXPECT_EQ(sheet->windowTitle().toStdString(), ResourceText(IDS_MAIL_SHEET));
    EXPECT_EQ(sheet->OriginatorPage()->ServerEdit()->text(), "mail.example");
    EXPECT_EQ(sheet->OriginatorPage()->InfoEdit()->toPlainText(), "line 1\nline 2");
    EXPECT_EQ(sheet->RecipientPage()->AddressEdit(1)->text(), "ops@example");
    EXPECT_TRUE(sheet->RecipientPage()->ErrorBox(1)->isChecked());
    EXPECT_FALSE(sheet->RecipientPage()->ReportBox(1)->isChecked());
    EXPECT_TRUE(sheet->ErrorPage()->KindBox(ERROR_KIND_FAN)->isChecked());
    EXPECT_FALSE(sheet->ErrorPage()->KindBox(ERROR_KIND_LAMP)->isChecked());
    EXPECT_TRUE(sheet->PeriodicalPage()->KindButton(PERIODICAL_KIND_WEEKLY)->isChecked());
    EXPECT_EQ(sheet->PeriodicalPage()->Minute()->currentText(), "30");
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());

    sheet->OriginatorPage()->ServerEdit()->setText("smtp.example");
    sheet->OriginatorPage()->ServerEdit()->textEdited("smtp.example");
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    sheet->RecipientPage()->ReportBox(3)->click();
    sheet->RecipientPage()->AddressEdit(3)->setText("boss@example");
    sheet->ErrorPage()->KindBox(ERROR_KIND_LAMP)->click();
    sheet->PeriodicalPage()->Hour()->setCurrentIndex(18);
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    sheet->TakePages();
    const CMailSetInfo& taken = sheet->Settings();
    EXPECT_EQ(taken.originator.server, "smtp.example");
    EXPECT_EQ(taken.originator.senderInfo, "line 1\nline 2");
    EXPECT_EQ(taken.recipients.entries[3].address, "boss@example");
    EXPECT_EQ(taken.recipients.entries[3].periodicReport, 1);
    EXPECT_EQ(taken.recipients.entries[3].errorMail, 0);
    EXPECT_EQ(taken.error.flags, (std::array<int, 6>{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(taken.periodical.kind, PERIODICAL_KIND_WEEKLY);
    EXPECT_EQ(taken.periodical.weeklyDay, 4);
    EXPECT_EQ(taken.periodical.hour, 18);
    EXPECT_EQ(taken.periodical.minute, 30);
}

TEST_F(PropSheetMailTest, ATickMarksModifiedOnlyWhenItDiffersFromThePagesCopy) {
    auto sheet = Open();
    CPropPageMailError* page = sheet->ErrorPage();
    page->KindBox(ERROR_KIND_FAN)->click();  // off: differs
    EXPECT_TRUE(page->IsModified());
    page->SetModified(false);
    page->KindBox(ERROR_KIND_FAN)->click();  // back on: as the copy holds
    EXPECT_FALSE(page->IsModified());
    sheet->ApplyButton()->setEnabled(false);
    sheet->RecipientPage()->ErrorBox(1)->click();
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    // Apply takes the pages' controls into their copies and disables itself.
    sheet->ApplyButton()->click();
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_EQ(sheet->RecipientPage()->Record().entries[1].errorMail, 0);
}

TEST_F(PropSheetMailTest, SendNowFollowsTheAddressAndGoesOutWithTheAppliedOriginator) {
    auto sheet = Open();
    CPropPageMailRecipient* page = sheet->RecipientPage();
    EXPECT_FALSE(page->SendNowButton(0)->isEnabled());
    EXPECT_TRUE(page->SendNowButton(1)->isEnabled());
    page->AddressEdit(1)->clear();
    EXPECT_FALSE(page->SendNowButton(1)->isEnabled());
    page->AddressEdit(0)->setText("now@example");
    EXPECT_TRUE(page->SendNowButton(0)->isEnabled());
    // Typed on the originator page but not applied: the mail keeps the old server.
    sheet->OriginatorPage()->ServerEdit()->setText("typed.example");
    page->SendNowButton(0)->click();
    ASSERT_EQ(view.mails.size(), 1u);
    const CMailObject& mail = *view.mails[0];
    EXPECT_EQ(mail.kind, MAIL_KIND_REPORT);
    EXPECT_EQ(mail.recipients, std::vector<std::string>{"now@example"});
    EXPECT_EQ(mail.server, "mail.example");
    EXPECT_EQ(mail.senderAddress, "console@example");
    EXPECT_EQ(mail.senderInfo, "line 1\nline 2");
    EXPECT_EQ(mail.timeStamp, clock.Now());
    // Sending changed nothing that OK would take.
    EXPECT_EQ(page->Record().entries[0].address, "");
}

TEST_F(PropSheetMailTest, ScheduleKindSetsTheEnablingAndTheNextTimeAtOnce) {
    auto sheet = Open();
    CPropPageMailPeriodical* page = sheet->PeriodicalPage();
    // Weekly on Friday at 09:30, now Wednesday 10:00.
    EXPECT_EQ(page->NextTimeLabel()->text().toStdString(),
              CDateTime::FromParts(2026, 4, 17, 9, 30).Format(ResourceText(IDS_NEXT_REPORT_FORMAT).c_str()));
    EXPECT_TRUE(page->WeeklyDay()->isEnabled());
    EXPECT_FALSE(page->MonthlyDay()->isEnabled());
    EXPECT_FALSE(page->WeekdayBox(0)->isEnabled());
    // Monthly on the 31st: the last day of April.
    page->KindButton(PERIODICAL_KIND_MONTHLY)->click();
    EXPECT_TRUE(page->IsModified());
    EXPECT_TRUE(page->MonthlyDay()->isEnabled());
    EXPECT_FALSE(page->WeeklyDay()->isEnabled());
    EXPECT_EQ(page->NextTimeLabel()->text().toStdString(),
              CDateTime::FromParts(2026, 4, 30, 9, 30).Format(ResourceText(IDS_NEXT_REPORT_FORMAT).c_str()));
    // On weekdays with none ticked there is no next time.
    page->KindButton(PERIODICAL_KIND_WEEKDAYS)->click();
    EXPECT_TRUE(page->WeekdayBox(6)->isEnabled());
    EXPECT_EQ(page->NextTimeLabel()->text(), "----");
    page->WeekdayBox(2)->click();  // Wednesday, 09:30 has passed: next week
    EXPECT_EQ(page->NextTimeLabel()->text().toStdString(),
              CDateTime::FromParts(2026, 4, 22, 9, 30).Format(ResourceText(IDS_NEXT_REPORT_FORMAT).c_str()));
    EXPECT_EQ(page->FromControls().weekdays, (std::array<int, 7>{0, 0, 1, 0, 0, 0, 0}));
}

TEST_F(PropSheetMailTest, StoredValuesOutOfRangeShowTheFirstEntryAndEveryControlHasAName) {
    settings.periodical.kind = 7;
    settings.periodical.hour = 25;
    settings.periodical.monthlyDay = 0;
    auto sheet = Open();
    CPropPageMailPeriodical* page = sheet->PeriodicalPage();
    EXPECT_TRUE(page->KindButton(PERIODICAL_KIND_WEEKDAYS)->isChecked());
    EXPECT_EQ(page->FromControls().hour, 0);
    EXPECT_EQ(page->FromControls().monthlyDay, 1);
    for (QWidget* control : sheet->findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
            qobject_cast<QComboBox*>(control) || qobject_cast<QPlainTextEdit*>(control)) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        }
    }
}
