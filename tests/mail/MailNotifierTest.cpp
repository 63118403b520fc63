#include "mail/MailNotifier.h"

#include <memory>

#include <gtest/gtest.h>

#include "CharsetTestSupport.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "mail/MailDefs.h"
#include "mail/MailObject.h"
#include "mail/MailSetInfo.h"
#include "platform/ResourceText.h"

namespace {

class CCapturingQueue : public IMailQueue {
public:
    int Enqueue(const CMailObject& mail) override {
        auto copy = std::make_unique<CMailObject>();
        copy->CopyFrom(mail);
        mails.push_back(std::move(copy));
        return 0;
    }
    std::vector<std::unique_ptr<CMailObject>> mails;
};

class CFakeHost : public IMailHost {
public:
    std::vector<const CProjectorInfo*> AllProjectors() const override { return projectors; }
    int GroupCount() const override { return static_cast<int>(groups.size()); }
    std::string GroupName(int i) const override { return groups[static_cast<size_t>(i)].first; }
    bool GroupContains(int i, const CProjectorInfo* record) const override {
        for (const CProjectorInfo* p : groups[static_cast<size_t>(i)].second)
            if (p == record)
                return true;
        return false;
    }
    bool HasCommWindow() const override { return commWindow; }
    void RequestUpdateAll(bool track) override {
        ++refreshes;
        EXPECT_TRUE(track);
    }

    std::vector<const CProjectorInfo*> projectors;
    std::vector<std::pair<std::string, std::vector<const CProjectorInfo*>>> groups;
    bool commWindow = true;
    int refreshes = 0;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

class MailNotifierTest : public ::testing::Test {
protected:
    MailNotifierTest() : clock(CDateTime::FromParts(2026, 1, 7, 8, 0)) {  // a Wednesday
        settings.originator.server = "127.0.0.1";
        settings.originator.senderAddress = "lumivex@example";
        settings.originator.senderName = "Lumivex";
        settings.recipients.entries[0] = MakeRecipient("err@example", 1, 0);
        settings.recipients.entries[2] = MakeRecipient("both@example", 1, 1);
        settings.recipients.entries[3] = MakeRecipient("", 1, 1);
        settings.recipients.entries[4] = MakeRecipient("report@example", 0, 1);
        for (int i = 0; i < 3; ++i) {
            records[i].name = "PJ" + std::to_string(i + 1);
            records[i].ipAddress = "10.0.0." + std::to_string(i + 1);
            records[i].serialNumber = "SN" + std::to_string(i + 1);
            records[i].status = STATUS_NORMAL;
            host.projectors.push_back(&records[i]);
        }
        notifier.SetSettings(&settings);
        notifier.SetQueue(&queue);
        notifier.SetHost(&host);
    }

    static CMailRecipient MakeRecipient(const std::string& address, int error, int report) {
        CMailRecipient r;
        r.address = address;
        r.errorMail = error;
        r.periodicReport = report;
        return r;
    }

    CFakeClock clock;
    CMailSetInfo settings;
    CCapturingQueue queue;
    CFakeHost host;
    CProjectorInfo records[3];
    CMailNotifier notifier{clock};
};

}  // namespace

TEST_F(MailNotifierTest, FanErrorNeedsTheFanTick) {
    records[0].status = STATUS_FAN;
    settings.error.flags[ERROR_KIND_TEMPERATURE] = 1;
    notifier.OnProjectorError(&records[0], records[0].status);
    EXPECT_TRUE(queue.mails.empty());

    settings.error.flags[ERROR_KIND_FAN] = 1;
    notifier.OnProjectorError(&records[0], records[0].status);
    ASSERT_EQ(queue.mails.size(), 1u);
    const CMailObject& mail = *queue.mails[0];
    EXPECT_EQ(mail.kind, MAIL_KIND_ERROR);
    EXPECT_EQ(mail.recipients, (std::vector<std::string>{"err@example", "both@example"}));
    EXPECT_EQ(mail.timeStamp, clock.Now());
    ASSERT_EQ(mail.attachments.Count(), 1);
    std::vector<std::string> lines = Split(IconvTo("UTF-8", mail.attachments.At(0).Content(), "CP932"), '\n');
    ASSERT_EQ(lines.size(), 3u);  // heading, the row, and the empty rest after the last line feed
    EXPECT_EQ(lines[0], ResourceText(TEXT_CSV_HEADING_ERROR));
    std::vector<std::string> fields = Split(lines[1], ',');
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[0], "2026/Jan/07");
    EXPECT_EQ(fields[1], "08:00:00");
    EXPECT_EQ(fields[2], "-");
    EXPECT_EQ(fields[3], "LAN");
    EXPECT_EQ(fields[5], "PJ1");
    EXPECT_EQ(fields[7], records[0].StatusText());
    EXPECT_EQ(fields[8], "10.0.0.1");
}

TEST_F(MailNotifierTest, ErrorMailTellsTheAnnouncedStatusAfterTheRecordMovedOn) {
    settings.error.flags[ERROR_KIND_LAMP] = 1;
    host.groups = {{"Hall", {&records[0]}}};
    CProjectorInfo announced(records[0]);
    announced.status = STATUS_LAMP_BIT5;
    records[0].status = STATUS_NORMAL;  // a recovery reached the record first
    notifier.OnProjectorError(&records[0], STATUS_LAMP_BIT5);
    ASSERT_EQ(queue.mails.size(), 1u);
    const CMailObject& mail = *queue.mails[0];
    std::vector<std::string> lines = Split(IconvTo("UTF-8", mail.attachments.At(0).Content(), "CP932"), '\n');
    ASSERT_GE(lines.size(), 2u);
    std::vector<std::string> fields = Split(lines[1], ',');
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[4], "Hall");
    EXPECT_EQ(fields[7], announced.StatusText());
    EXPECT_NE(announced.StatusText(), records[0].StatusText());
    // A fan error the operator did not tick sends nothing, whatever the record holds now.
    records[0].status = STATUS_LAMP_BIT5;
    notifier.OnProjectorError(&records[0], STATUS_FAN);
    EXPECT_EQ(queue.mails.size(), 1u);
}

TEST_F(MailNotifierTest, NoMailWithoutSettingsQueueOrErrorStatus) {
    settings.error.flags.fill(1);
    records[0].status = STATUS_NORMAL;
    notifier.OnProjectorError(&records[0], records[0].status);
    notifier.SetSettings(nullptr);
    records[0].status = STATUS_LAMP_BIT4;
    notifier.OnProjectorError(&records[0], records[0].status);
    notifier.SetSettings(&settings);
    notifier.SetQueue(nullptr);
    notifier.OnProjectorError(&records[0], records[0].status);
    EXPECT_TRUE(queue.mails.empty());
    EXPECT_EQ(notifier.FillMailSettings(nullptr), -1);
}

TEST_F(MailNotifierTest, ReportRowsNameTheFirstGroupHoldingTheProjector) {
    host.groups = {{"Hall", {&records[2]}}, {"Floor 3", {&records[0], &records[1]}}, {"Also", {&records[0]}}};
    records[1].lamp1Time = "1200";
    std::vector<std::string> rows = Split(notifier.MakeCsvRows(MAIL_KIND_REPORT), '\n');
    ASSERT_EQ(rows.size(), 4u);
    std::vector<std::string> second = Split(rows[1], ',');
    ASSERT_EQ(second.size(), 12u);
    EXPECT_EQ(second[4], "Floor 3");
    EXPECT_EQ(second[8], "1200");
    EXPECT_EQ(second[11], "10.0.0.2");
    EXPECT_EQ(Split(rows[0], ',')[4], "Floor 3");
    EXPECT_EQ(Split(rows[2], ',')[4], "Hall");
    host.groups.clear();
    EXPECT_EQ(notifier.GroupNameOf(&records[0]), "");
    host.projectors.clear();
    EXPECT_EQ(notifier.MakeCsvRows(MAIL_KIND_REPORT), "");
}

TEST_F(MailNotifierTest, BoardTextsCannotBreakTheCsvRows) {
    records[0].name = "Hall, \"A\"\nB";
    records[0].serialNumber = "plain";
    std::string row = notifier.MakeCsvRows(MAIL_KIND_ERROR, &records[0]);
    EXPECT_NE(row.find(",\"Hall, \"\"A\"\"\nB\",plain,"), std::string::npos);
    EXPECT_EQ(row.back(), '\n');
}

TEST_F(MailNotifierTest, FieldWhoseOnlySpecialCharacterIsALineBreakIsQuoted) {
    records[0].name = "Hall\nB";
    records[0].serialNumber = "SN\r7";
    std::string row = notifier.MakeCsvRows(MAIL_KIND_ERROR, &records[0]);
    EXPECT_NE(row.find(",\"Hall\nB\",\"SN\r7\","), std::string::npos) << row;
}

TEST_F(MailNotifierTest, ScheduleFiresAtTheExactTimeAndMovesAWeek) {
    settings.periodical.kind = PERIODICAL_KIND_WEEKDAYS;
    settings.periodical.weekdays[2] = 1;  // Wednesday
    settings.periodical.hour = 9;
    notifier.RestartSchedule();
    EXPECT_EQ(notifier.NextReportTime(), CDateTime::FromParts(2026, 1, 7, 9, 0));

    clock.Set(CDateTime::FromParts(2026, 1, 7, 8, 59, 59));
    notifier.OnTimer();
    EXPECT_EQ(host.refreshes, 0);
    clock.Set(CDateTime::FromParts(2026, 1, 7, 9, 0, 0));
    notifier.OnTimer();
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_TRUE(notifier.ReportPending());
    EXPECT_EQ(notifier.NextReportTime(), CDateTime::FromParts(2026, 1, 14, 9, 0));

    notifier.OnRefreshDone();
    EXPECT_FALSE(notifier.ReportPending());
    ASSERT_EQ(queue.mails.size(), 1u);
    const CMailObject& report = *queue.mails[0];
    EXPECT_EQ(report.kind, MAIL_KIND_REPORT);
    EXPECT_EQ(report.recipients, (std::vector<std::string>{"both@example", "report@example"}));
    ASSERT_EQ(report.attachments.Count(), 1);
    EXPECT_EQ(report.attachments.At(0).FileName(), "2026Jan07_0900.CSV");
    EXPECT_EQ(Split(report.attachments.At(0).Content(), '\n').size(), 5u);
}

TEST_F(MailNotifierTest, NoTickedWeekdayNeverAsksForAReport) {
    notifier.RestartSchedule();
    EXPECT_EQ(notifier.NextReportTime(), CDateTime::Never());
    clock.Set(CDateTime::FromParts(2030, 6, 1, 12, 0));
    notifier.OnTimer();
    EXPECT_EQ(host.refreshes, 0);
    notifier.OnRefreshDone();  // a refresh nobody asked a report for
    EXPECT_TRUE(queue.mails.empty());
}

TEST_F(MailNotifierTest, SendNowGoesToItsOwnRecipientAfterTheRefresh) {
    CMailObject request;
    request.timeStamp = clock.Now();
    request.kind = MAIL_KIND_REPORT;
    request.recipients = {"now@example"};
    request.server = "sheet-server";
    request.senderAddress = "sheet@example";
    notifier.OnSendReportNow(&request);
    EXPECT_TRUE(notifier.ReportPending());
    EXPECT_TRUE(notifier.HasPreparedReport());
    EXPECT_EQ(host.refreshes, 1);

    CMailObject second;
    second.recipients = {"other@example"};
    notifier.OnSendReportNow(&second);  // ignored while a report is pending
    EXPECT_EQ(host.refreshes, 1);

    notifier.OnRefreshDone();
    ASSERT_EQ(queue.mails.size(), 1u);
    EXPECT_EQ(queue.mails[0]->recipients, std::vector<std::string>{"now@example"});
    EXPECT_EQ(queue.mails[0]->server, "sheet-server");
    EXPECT_EQ(queue.mails[0]->attachments.Count(), 1);
    EXPECT_FALSE(notifier.ReportPending());
    EXPECT_FALSE(notifier.HasPreparedReport());
}

TEST_F(MailNotifierTest, SendNowNeedsTheCommunicationWindow) {
    host.commWindow = false;
    CMailObject request;
    notifier.OnSendReportNow(&request);
    EXPECT_FALSE(notifier.ReportPending());
    EXPECT_EQ(host.refreshes, 0);
}
