// lumivexctl's mail commands, run as the program, against aiosmtpd.
#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CharsetTestSupport.h"
#include "SmtpTestSupport.h"
#include "mail/MailDefs.h"
#include "mail/MailSetInfo.h"
#include "platform/ResourceText.h"
#include "settings/ProfileStore.h"

namespace {

class LumivexctlMailTest : public Port25Test {
protected:
    void SetUp() override {
        Port25Test::SetUp();
        if (IsSkipped())
            return;
        m_profile = m_dir.filePath("Lumivex.conf").toStdString();
        settings.originator.server = address;
        settings.originator.senderAddress = "lumivex@example";
        settings.originator.senderName = "監視端末";
        settings.originator.senderInfo = "設備管理課";
        settings.recipients.entries[0].address = "errors@example";
        settings.recipients.entries[0].errorMail = 1;
        settings.recipients.entries[3].address = "reports@example";
        settings.recipients.entries[3].periodicReport = 1;
        settings.periodical.kind = PERIODICAL_KIND_WEEKLY;
        settings.periodical.weeklyDay = 2;
        settings.periodical.hour = 9;
    }

    void Store() {
        OpenProfile(m_profile);
        settings.Save();
        CloseProfile();
    }

    // Runs lumivexctl with the test's profile; its standard output.
    std::string Run(const QStringList& args, int& exitCode) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(LUMIVEXCTL_PROGRAM, QStringList{"--profile", QString::fromStdString(m_profile)} + args);
        EXPECT_TRUE(process.waitForFinished(60000));
        exitCode = process.exitCode();
        return process.readAllStandardOutput().toStdString();
    }

    CMailSetInfo settings;
    QTemporaryDir m_dir;
    std::string m_profile;
};

std::string CsvOf(const QJsonObject& message) {
    QJsonArray parts = message["parts"].toArray();
    for (const auto& part : parts)
        if (!part.toObject()["filename"].toString().isEmpty())
            return QByteArray::fromBase64(part.toObject()["data_b64"].toString().toLatin1()).toStdString();
    return {};
}

}  // namespace

TEST_F(LumivexctlMailTest, ScheduledReportGoesToTheTickedRecipientsAndDecodes) {
    Store();
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    int code = -1;
    std::string out = Run({"report"}, code);
    EXPECT_EQ(code, 0) << out;
    EXPECT_EQ(out, std::string("0 ") + MailResultText(MAIL_RESULT_SENT) + "\n");
    ASSERT_TRUE(server.WaitForMessages(1, 5000));
    QJsonObject message = server.Message(1);
    EXPECT_EQ(message["subject"].toString().toStdString(), ResourceText(TEXT_SUBJECT_REPORT));
    EXPECT_EQ(message["rcpt_tos"].toArray(), QJsonArray{"reports@example"});
    std::string body = WithoutCr(message["parts"].toArray()[0].toObject()["text"].toString().toStdString());
    EXPECT_NE(body.find("監視端末"), std::string::npos) << body;
    EXPECT_NE(body.find("設備管理課"), std::string::npos) << body;
    // An empty fleet: the heading alone, in the Japanese code page.
    EXPECT_EQ(IconvTo("UTF-8", CsvOf(message), "CP932"), ResourceText(TEXT_CSV_HEADING_REPORT) + "\n");
}

TEST_F(LumivexctlMailTest, ReportToOneAddressGoesOnlyThere) {
    Store();
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    int code = -1;
    Run({"report", "--to", "someone@example"}, code);
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(server.WaitForMessages(1, 5000));
    EXPECT_EQ(server.Message(1)["rcpt_tos"].toArray(), QJsonArray{"someone@example"});
}

TEST_F(LumivexctlMailTest, RefusedRecipientIsReportedWithItsResult) {
    Store();
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address, {"reports@example"}));
    int code = -1;
    std::string out = Run({"report"}, code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(out, std::string("-4 ") + MailResultText(MAIL_RESULT_RCPT_TO_FAILED) + "\n");
}

TEST_F(LumivexctlMailTest, ReportWithoutRecipientsSaysTheMailWasDropped) {
    settings.recipients.entries[3].periodicReport = 0;
    Store();
    int code = -1;
    std::string out = Run({"report"}, code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(out, "");
}

TEST_F(LumivexctlMailTest, MailSettingsShowTheStoredValuesAndTheNextReport) {
    Store();
    int code = -1;
    std::string json = Run({"mail-settings", "--json"}, code);
    EXPECT_EQ(code, 0);
    QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(root["originator"].toObject()["senderName"].toString().toStdString(), "監視端末");
    EXPECT_EQ(root["recipients"].toArray()[3].toObject()["address"].toString(), "reports@example");
    EXPECT_TRUE(root["recipients"].toArray()[3].toObject()["periodicReport"].toBool());
    EXPECT_EQ(root["schedule"].toObject()["kind"].toString(), "weekly");
    EXPECT_EQ(root["schedule"].toObject()["weeklyDay"].toString(), "Wednesday");
    std::string next = root["nextReport"].toString().toStdString();
    ASSERT_EQ(next.size(), 19u);
    EXPECT_EQ(next.substr(10), "T09:00:00");
    EXPECT_EQ(CDateTime::FromParts(std::stoi(next.substr(0, 4)), std::stoi(next.substr(5, 2)),
                                   std::stoi(next.substr(8, 2)))
                  .DayOfWeek(),
              4);  // a Wednesday

    std::string text = Run({"mail-settings"}, code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(text.find("schedule: weekly Wednesday at 09:00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("recipient 4: reports@example error=0 report=1\n"), std::string::npos) << text;
}
