// The mail window and its sending thread against aiosmtpd and a scripted peer.
#include "mail/MailWnd.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonArray>

#include <gtest/gtest.h>

#include "CharsetTestSupport.h"
#include "SmtpTestSupport.h"
#include "comm/CommDefs.h"
#include "comm/ProjectorInfo.h"
#include "mail/MIME.h"
#include "mail/MailDefs.h"
#include "mail/MailNotifier.h"
#include "mail/MailObject.h"
#include "mail/MailSetInfo.h"
#include "platform/ResourceText.h"

namespace {

class MailWndTest : public Port25Test {
protected:
    void SetUp() override {
        Port25Test::SetUp();
        if (IsSkipped())
            return;
        window = std::make_unique<CMailWnd>(nullptr, 1);
        window->SetDoneHandler([this](int result) { results.push_back(result); });
    }

    void TearDown() override {
        window.reset();
        EXPECT_TRUE(PumpUntil([] { return CMailWnd::LiveThreads() == 0; }, 15000));
    }

    void Fill(CMailObject& mail, const std::string& subject, std::vector<std::string> recipients) {
        mail.timeStamp = CDateTime::FromParts(2026, 3, 4, 5, 6, 7);
        mail.server = address;
        mail.senderName = "Lumivex 管理";
        mail.senderAddress = "lumivex@example";
        mail.subject = subject;
        mail.body = "body of " + subject + "\r\n";
        mail.recipients = std::move(recipients);
    }

    std::unique_ptr<CMailWnd> window;
    std::vector<int> results;
};

}  // namespace

TEST_F(MailWndTest, ErrorMailWithCsvDecodesWithAStandardParser) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));

    CMailSetInfo settings;
    settings.originator.server = address;
    settings.originator.senderAddress = "lumivex@example";
    settings.originator.senderName = "管理者";
    settings.originator.senderInfo = "総務部\n内線 1234";
    settings.error.flags[ERROR_KIND_LAMP] = 1;
    settings.recipients.entries[1].address = "ops@example";
    settings.recipients.entries[1].errorMail = 1;
    CProjectorInfo record;
    record.name = "会議室A, \"前\"";
    record.ipAddress = "10.1.2.3";
    record.serialNumber = "S123";
    record.status = STATUS_LAMP_BIT3;
    CFakeClock clock(CDateTime::FromParts(2026, 3, 4, 5, 6, 7));
    CMailNotifier notifier(clock);
    notifier.SetSettings(&settings);
    notifier.SetQueue(window.get());
    notifier.OnProjectorError(&record, record.status);
    ASSERT_EQ(window->QueueLength(), 1);

    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }, 15000));
    EXPECT_EQ(results[0], MAIL_RESULT_SENT);
    ASSERT_TRUE(server.WaitForMessages(1, 5000));
    QJsonObject message = server.Message(1);
    EXPECT_EQ(message["mail_from"].toString(), "lumivex@example");
    EXPECT_EQ(message["subject"].toString().toStdString(), ResourceText(TEXT_SUBJECT_ERROR));
    EXPECT_EQ(message["to"].toString(), "ops@example");
    EXPECT_EQ(message["content_type"].toString(), "multipart/mixed");
    EXPECT_TRUE(message["defects"].toArray().isEmpty());
    std::string from = message["from"].toString().toStdString();
    EXPECT_NE(from.find("管理者"), std::string::npos) << from;
    EXPECT_NE(from.find("<lumivex@example>"), std::string::npos);

    QJsonArray parts = message["parts"].toArray();
    ASSERT_EQ(parts.size(), 2);
    QJsonObject text = parts[0].toObject();
    EXPECT_EQ(text["charset"].toString(), "iso-2022-jp");
    std::string body = WithoutCr(text["text"].toString().toStdString());
    EXPECT_NE(body.find(record.StatusText()), std::string::npos);
    EXPECT_NE(body.find("会議室A, \"前\""), std::string::npos);
    // The line end before a delimiter belongs to the delimiter.
    EXPECT_NE(body.find("総務部\n内線 1234"), std::string::npos) << body;

    QJsonObject csv = parts[1].toObject();
    EXPECT_EQ(csv["filename"].toString(), "2026Mar04_0506.CSV");
    std::string bytes = QByteArray::fromBase64(csv["data_b64"].toString().toLatin1()).toStdString();
    EXPECT_EQ(IconvTo("UTF-8", bytes, "CP932"), ResourceText(TEXT_CSV_HEADING_ERROR) + "\n2026/Mar/04,05:06:07,-,LAN,,\"会議室A, \"\"前\"\"\",S123," +
                         record.StatusText() + ",10.1.2.3\n");

    std::string raw = server.RawMessage(1);
    EXPECT_NE(raw.find("\r\nMessage-Id: <2026"), std::string::npos);
    EXPECT_NE(raw.find("\r\nDate: "), std::string::npos);
    EXPECT_NE(raw.find("\r\nMIME-Version: 1.0\r\n"), std::string::npos);
    EXPECT_FALSE(window->IsSending());
}

TEST_F(MailWndTest, ThreeQueuedMailsGoOutInOrderOneSecondApart) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    for (const char* subject : {"first", "second", "third"}) {
        CMailObject mail;
        Fill(mail, subject, {"a@example"});
        ASSERT_EQ(window->Enqueue(mail), 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return results.size() == 3; }, 20000));
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0}));
    ASSERT_TRUE(server.WaitForMessages(3, 5000));
    EXPECT_EQ(server.Message(1)["subject"].toString(), "first");
    EXPECT_EQ(server.Message(2)["subject"].toString(), "second");
    EXPECT_EQ(server.Message(3)["subject"].toString(), "third");
    std::vector<double> helloTimes;
    for (const auto& [time, event] : server.TimedEvents())
        if (event.rfind("HELO", 0) == 0)
            helloTimes.push_back(time);
    ASSERT_EQ(helloTimes.size(), 3u);
    EXPECT_GE(helloTimes[1] - helloTimes[0], 0.9);
    EXPECT_GE(helloTimes[2] - helloTimes[1], 0.9);
}

TEST_F(MailWndTest, RejectedSecondRecipientDropsTheMailWithoutData) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address, {"bad@example"}));
    CMailObject mail;
    Fill(mail, "rejected", {"a@example", "bad@example", "c@example"});
    window->Enqueue(mail);
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }, 15000));
    EXPECT_EQ(results[0], MAIL_RESULT_RCPT_TO_FAILED);
    EXPECT_EQ(server.Events(), (std::vector<std::string>{"HELO " + address, "MAIL lumivex@example",
                                                          "RCPT a@example", "RCPT bad@example"}));
    EXPECT_EQ(server.MessageCount(), 0);
    EXPECT_FALSE(window->IsSending());
    EXPECT_EQ(window->QueueLength(), 0);
}

TEST_F(MailWndTest, MailWithoutRecipientsIsDroppedWithoutAConnection) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    CMailObject mail;
    Fill(mail, "nobody", {});
    window->Enqueue(mail);
    Fill(mail, "after", {"a@example"});
    window->Enqueue(mail);
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }, 15000));
    ASSERT_TRUE(server.WaitForMessages(1, 5000));
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(server.Message(1)["subject"].toString(), "after");
    std::vector<std::string> events = server.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const std::string& e) { return e.rfind("HELO", 0) == 0; }),
              1);
}

TEST_F(MailWndTest, StopDuringSendMailLetsItFinishAndSkipsQuit) {
    std::atomic<bool> dataDone{false};
    CScriptedSmtpPeer peer(address, [&](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("250 hello\r\n");
        p.ReadLine();
        p.Send("250 sender ok\r\n");
        p.ReadLine();
        p.Send("250 rcpt ok\r\n");
        p.ReadLine();
        p.Send("354 go on\r\n");
        p.ReadData();
        dataDone = true;
        while (!p.release)
            p.Pause(10);
        p.Send("250 queued\r\n");
        p.WaitForClose(5000);
    });
    CMailObject mail;
    Fill(mail, "stopped", {"a@example"});
    window->Enqueue(mail);
    ASSERT_TRUE(PumpUntil([&] { return dataDone.load(); }, 15000));
    window->RequestStop();
    peer.release = true;
    ASSERT_TRUE(PumpUntil([&] { return !results.empty(); }, 15000));
    EXPECT_EQ(results[0], MAIL_RESULT_STOPPED);
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }, 10000));
    for (const std::string& line : peer.Received())
        EXPECT_NE(line, "QUIT\r\n");
}

TEST_F(MailWndTest, DestroyingTheWindowAbandonsAThreadThatOutlivesTheLimit) {
    std::atomic<bool> heloSeen{false};
    CScriptedSmtpPeer peer(address, [&](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        heloSeen = true;  // and never answer until the test lets go
        while (!p.release)
            p.Pause(10);
    });
    CMailObject mail;
    Fill(mail, "stalled", {"a@example"});
    window->Enqueue(mail);
    ASSERT_TRUE(PumpUntil([&] { return heloSeen.load(); }, 15000));
    window->SetStopLimitMs(300);
    QElapsedTimer timer;
    timer.start();
    window.reset();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(CMailWnd::LiveThreads(), 1);
    peer.release = true;  // the peer closes; the thread ends on its own, posting nothing
    ASSERT_TRUE(PumpUntil([] { return CMailWnd::LiveThreads() == 0; }, 10000));
    EXPECT_TRUE(results.empty());
}
