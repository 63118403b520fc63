// The mail settings records against a profile file of their own.
#include "mail/MailSetInfo.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "settings/ProfileStore.h"
#include "settings/Value.h"

namespace {

class MailSetInfoTest : public ::testing::Test {
protected:
    void SetUp() override { OpenProfile(m_dir.filePath("Lumivex.conf").toStdString()); }
    void TearDown() override { CloseProfile(); }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(MailSetInfoTest, EmptyStoreMeansNoMailAndNoReportEver) {
    CMailSetInfo settings;
    EXPECT_EQ(settings.Load(), 0);
    for (int flag : settings.error.flags)
        EXPECT_EQ(flag, 0);
    for (const CMailRecipient& r : settings.recipients.entries) {
        EXPECT_EQ(r.address, "");
        EXPECT_EQ(r.errorMail, 0);
        EXPECT_EQ(r.periodicReport, 0);
    }
    EXPECT_EQ(settings.originator.server, "");
    EXPECT_EQ(settings.periodical.kind, PERIODICAL_KIND_WEEKDAYS);
    EXPECT_EQ(settings.periodical.monthlyDay, 1);
    EXPECT_EQ(settings.periodical.NextTime(CDateTime::FromParts(2026, 5, 1, 12, 0)), CDateTime::Never());
}

TEST_F(MailSetInfoTest, OneTokenStatusAndTimeWithoutLeadingZerosLoadAndSaveBack) {
    CValue value;
    value.SetMailToStatus(2, "1");
    value.SetMailPeriodicalTime("7:5");
    value.SetMailErrorStatus("0,1,,x,1");
    value.SetMailPeriodicalDayStatus("1, 0 ,1");
    CMailSetInfo settings;
    settings.Load();
    EXPECT_EQ(settings.recipients.entries[2].errorMail, 1);
    EXPECT_EQ(settings.recipients.entries[2].periodicReport, 0);
    EXPECT_EQ(settings.periodical.hour, 7);
    EXPECT_EQ(settings.periodical.minute, 5);
    // Empty fields do not count: 0,1,x,1 fill the first four kinds.
    EXPECT_EQ(settings.error.flags, (std::array<int, 6>{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(settings.periodical.weekdays, (std::array<int, 7>{1, 0, 1, 0, 0, 0, 0}));

    settings.Save();
    EXPECT_EQ(value.GetMailPeriodicalTime(), "7:5");
    EXPECT_EQ(value.GetMailToStatus(2), "1,0");
    EXPECT_EQ(value.GetMailToStatus(0), "0,0");
    EXPECT_EQ(value.GetMailErrorStatus(), "0,1,0,1,0,0");
    EXPECT_EQ(value.GetMailPeriodicalDayStatus(), "1,0,1,0,0,0,0");
}

TEST_F(MailSetInfoTest, EmptyOrPartialTimeKeepsTheDefaults) {
    CValue value;
    value.SetMailPeriodicalTime("");
    CMailPeriodicalInfo empty;
    empty.Load();
    EXPECT_EQ(empty.hour, 0);
    EXPECT_EQ(empty.minute, 0);
    value.SetMailPeriodicalTime("18");
    CMailPeriodicalInfo hourOnly;
    hourOnly.Load();
    EXPECT_EQ(hourOnly.hour, 18);
    EXPECT_EQ(hourOnly.minute, 0);
}

TEST_F(MailSetInfoTest, EverythingSurvivesSaveAndLoad) {
    CMailSetInfo saved;
    saved.originator.server = "mail.example";
    saved.originator.senderAddress = "ops@example";
    saved.originator.senderName = "運用";
    saved.originator.senderInfo = "line 1\nline 2";
    saved.error.flags = {1, 0, 1, 0, 1, 1};
    saved.recipients.entries[4].address = "last@example";
    saved.recipients.entries[4].periodicReport = 1;
    saved.periodical.kind = PERIODICAL_KIND_MONTHLY;
    saved.periodical.hour = 23;
    saved.periodical.minute = 59;
    saved.periodical.weekdays = {0, 0, 0, 0, 0, 1, 1};
    saved.periodical.weeklyDay = 6;
    saved.periodical.monthlyDay = 31;
    EXPECT_EQ(saved.Save(), 0);

    CloseProfile();
    OpenProfile(m_dir.filePath("Lumivex.conf").toStdString());
    CMailSetInfo loaded;
    loaded.Load();
    EXPECT_EQ(loaded.originator.senderName, "運用");
    EXPECT_EQ(loaded.originator.senderInfo, "line 1\nline 2");
    EXPECT_EQ(loaded.error.flags, saved.error.flags);
    EXPECT_EQ(loaded.recipients.entries[4].address, "last@example");
    EXPECT_EQ(loaded.recipients.entries[4].periodicReport, 1);
    EXPECT_EQ(loaded.recipients.entries[4].errorMail, 0);
    EXPECT_EQ(loaded.periodical.kind, PERIODICAL_KIND_MONTHLY);
    EXPECT_EQ(loaded.periodical.hour, 23);
    EXPECT_EQ(loaded.periodical.minute, 59);
    EXPECT_EQ(loaded.periodical.weekdays, saved.periodical.weekdays);
    EXPECT_EQ(loaded.periodical.weeklyDay, 6);
    EXPECT_EQ(loaded.periodical.monthlyDay, 31);
}
