// The SMTP client against a scripted peer (replies no real server gives) and
// against aiosmtpd (what a real server makes of what we send).
#include "mail/MailSMTP.h"

#include <atomic>
#include <climits>

#include <gtest/gtest.h>

#include "SmtpTestSupport.h"
#include "mail/MailDefs.h"
#include "mail/MimeSMTP.h"
#include "mail/SmtpReplyReader.h"
#include "platform/WinsockError.h"

namespace {

class SmtpClientTest : public Port25Test {
protected:
    // Greets, answers HELO with reply, then waits for the client to close.
    static CScriptedSmtpPeer::Script GreetThenAnswerHelo(const std::string& reply) {
        return [reply](CScriptedSmtpPeer& peer) {
            peer.Send("220 ready\r\n");
            peer.ReadLine();
            peer.Send(reply);
            peer.WaitForClose(5000);
        };
    }

    // 8 MB of short lines.
    static std::string LargeBody() {
        std::string line = std::string(98, 'x') + "\r\n";
        std::string body;
        body.reserve(line.size() * 80000);
        for (int i = 0; i < 80000; ++i)
            body += line;
        return body;
    }
};

}  // namespace

TEST_F(SmtpClientTest, GreetingOf554ClosesTheConnection) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("554 no service\r\n");
        EXPECT_TRUE(p.WaitForClose(5000));
    });
    CMailSMTP client;
    EXPECT_EQ(client.Connect(address), 0);
    EXPECT_EQ(client.LastError(), SMTP_REFUSED);
    EXPECT_FALSE(client.IsConnected());
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }, 5000));
}

TEST_F(SmtpClientTest, ConnectWhileConnectedLeavesTheConnectionAlone) {
    CScriptedSmtpPeer peer(address, GreetThenAnswerHelo("250 hello\r\n"));
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Connect(address), 0);
    EXPECT_EQ(client.LastError(), SMTP_ALREADY_CONNECTED);
    EXPECT_EQ(client.Hello("x"), SMTP_OK);
    EXPECT_EQ(client.LastReplyCode(), 250);
}

TEST_F(SmtpClientTest, NoServerMeansRefusedAndNoNameMeansInvalid) {
    CMailSMTP client;
    EXPECT_EQ(client.Connect(), 0);
    EXPECT_EQ(client.LastError(), SMTP_INVALID_ADDRESS);
    EXPECT_EQ(client.Connect(address), 0);  // nobody listens there
    EXPECT_EQ(client.LastError(), SMTP_REFUSED);
    EXPECT_EQ(client.Connect(address), 0);  // and the client can try again
    EXPECT_EQ(client.LastError(), SMTP_REFUSED);
}

TEST_F(SmtpClientTest, MultiLineReplyInOnePieceOrThreeGivesTheLastLinesCode) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220-first\r\n220 ready\r\n");
        p.ReadLine();
        p.Send("250-capture.test\r\n250-SIZE 1000\r\n250 HELP\r\n");
        p.ReadLine();
        p.Send("250-one\r\n");
        p.Pause(50);
        p.Send("250-two\r\n");
        p.Pause(50);
        p.Send("251 three\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Hello("h"), SMTP_OK);
    EXPECT_EQ(client.LastReplyCode(), 250);
    EXPECT_EQ(client.RcptTo("a@example"), SMTP_OK);
    EXPECT_EQ(client.LastReplyCode(), 251);
}

TEST_F(SmtpClientTest, CodeOnlyReplyIsAcceptedAndABareLineEndIsNot) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("250\r\n");
        p.ReadLine();
        p.Send("\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Hello("h"), SMTP_OK);
    EXPECT_EQ(client.MailFrom("<a@b>"), SMTP_UNEXPECTED_REPLY);
    EXPECT_EQ(client.LastReplyCode(), 0);
    EXPECT_EQ(client.LastError(), SMTP_UNEXPECTED_REPLY);
}

TEST_F(SmtpClientTest, ReplyCodeStartsAtTheFirstCharacterAndIsReadClamped) {
    // A leading dash belongs to the code, so the line is a final line and not
    // a continuation to wait for; a code too large for an int must not wrap
    // round to one the step accepts (4294967546 is 250 modulo 2^32).
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("-250 odd\r\n");
        p.ReadLine();
        p.Send("-\r\n");
        p.ReadLine();
        p.Send("4294967546 wrapped\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Hello("h"), SMTP_UNEXPECTED_REPLY);
    EXPECT_EQ(client.LastReplyCode(), -250);
    EXPECT_EQ(client.MailFrom("<a@b>"), SMTP_UNEXPECTED_REPLY);
    EXPECT_EQ(client.LastReplyCode(), 0);
    EXPECT_EQ(client.RcptTo("c@d"), SMTP_UNEXPECTED_REPLY);
    EXPECT_EQ(client.LastReplyCode(), INT_MAX);
}

TEST_F(SmtpClientTest, SplitReplyCompletedAfterTheTimeOutFailsUnlessItsLastPieceEndsTheLine) {
    // The reply time-out is shortened; the pause is twice as long.
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("25");
        p.Pause(800);
        p.Send("0 complete\r\n");
        p.ReadLine();
        p.Send("25");
        p.Pause(800);
        p.Send("0 no line end");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    client.SetReplyTimeout(400);
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Hello("h"), SMTP_OK);
    EXPECT_EQ(client.LastReplyCode(), 250);
    EXPECT_EQ(client.MailFrom("<a@b>"), SMTP_TIMEOUT);
    EXPECT_EQ(client.LastError(), SMTP_TIMEOUT);
}

TEST_F(SmtpClientTest, ServerClosingWhileAReplyIsAwaitedIsRefused) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.Hello("h"), SMTP_REFUSED);
}

TEST_F(SmtpClientTest, GreetingThatNeverEndsIsGivenUp) {
    // Continuation lines, each a complete piece, three times the bound on a
    // reply: followed without end, they would hold the sending thread.
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        const std::string line = "220-still greeting\r\n";
        for (std::size_t sent = 0; sent < 3 * CSmtpReplyReader::kMaxReplyBytes; sent += line.size())
            p.Send(line);
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    client.SetWaitLimits(2000, 2000);
    EXPECT_EQ(client.Connect(address), 0);
    EXPECT_EQ(client.LastError(), SMTP_UNEXPECTED_REPLY);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SmtpClientTest, SilentServerRunsIntoTheStallLimit) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) { p.WaitForClose(5000); });
    CMailSMTP client;
    client.SetWaitLimits(2000, 300);
    EXPECT_EQ(client.Connect(address), 0);
    EXPECT_EQ(client.LastError(), SMTP_TIMEOUT);
}

TEST_F(SmtpClientTest, ServerThatStopsReadingMidDataIsWaitedFor) {
    // More than the loopback socket buffers of both sides hold, so the
    // client's sends block while the server reads nothing.
    const std::string body = LargeBody();
    std::atomic<size_t> received{0};
    CScriptedSmtpPeer peer(address, [&](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("354 go on\r\n");
        p.Pause(1500);  // the server is busy: well past the connect limit below
        received = p.ReadBulkData().size();
        p.Send("250 queued\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    client.SetWaitLimits(300, 30000);
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.SendMail("large", body), SMTP_OK);
    EXPECT_EQ(client.LastError(), SMTP_OK);
    EXPECT_GT(received.load(), body.size());
}

TEST_F(SmtpClientTest, SendWithoutProgressForTheStallLimitIsATimeOut) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("354 go on\r\n");
        while (!p.release)  // and never read again
            p.Pause(10);
    });
    CMailSMTP client;
    client.SetWaitLimits(2000, 300);
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.SendMail("large", LargeBody()), SMTP_TIMEOUT);
    EXPECT_EQ(client.LastError(), SMTP_TIMEOUT);
}

TEST_F(SmtpClientTest, RefusedRecipientStillStandsInTheToList) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        p.ReadLine();
        p.Send("251 forwarded\r\n");
        p.ReadLine();
        p.Send("550 no such user\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.RcptTo("a@example"), SMTP_OK);
    EXPECT_EQ(client.RcptTo("b@example"), SMTP_UNEXPECTED_REPLY);
    EXPECT_EQ(client.RcptTo(""), SMTP_NOTHING_TO_SEND);
    EXPECT_EQ(client.Recipients(), "a@example, b@example");
}

TEST_F(SmtpClientTest, EmptyBodySendsNothingAndEmptySubjectReadsNoTitle) {
    CScriptedSmtpPeer peer(address, [](CScriptedSmtpPeer& p) {
        p.Send("220 ready\r\n");
        EXPECT_EQ(p.ReadLine(), "DATA\r\n");
        p.Send("354 go on\r\n");
        p.ReadData();
        p.Send("250 queued\r\n");
        p.WaitForClose(5000);
    });
    CMailSMTP client;
    ASSERT_EQ(client.Connect(address), 1);
    EXPECT_EQ(client.SendMail("subject", ""), SMTP_NOTHING_TO_SEND);
    EXPECT_EQ(client.SendMail("", "body\r\n"), SMTP_OK);
    client.Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return peer.Finished(); }, 5000));
    std::vector<std::string> lines = peer.Received();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Subject: No Title\r\n"), lines.end());
}

TEST(SmtpStatus, CommandsWithoutAConnectionFail) {
    CMailSMTP client;
    EXPECT_EQ(client.SendText("NOOP\r\n"), SMTP_OTHER_FAILURE);
    EXPECT_EQ(client.Hello("h"), SMTP_OTHER_FAILURE);
    EXPECT_EQ(client.LastError(), SMTP_OTHER_FAILURE);
}

TEST(SmtpStatus, SocketErrorsMapAsTheTableSays) {
    CMailSMTP client;
    EXPECT_EQ(client.MapSocketError(WSAECONNREFUSED), SMTP_REFUSED);
    EXPECT_EQ(client.MapSocketError(WSAETIMEDOUT), SMTP_TIMEOUT);
    EXPECT_EQ(client.MapSocketError(WSAEHOSTUNREACH), SMTP_TIMEOUT);
    EXPECT_EQ(client.MapSocketError(WSAEHOSTDOWN), SMTP_TIMEOUT);
    EXPECT_EQ(client.MapSocketError(WSAEADDRNOTAVAIL), SMTP_INVALID_ADDRESS);
    EXPECT_EQ(client.MapSocketError(WSAENOBUFS), SMTP_SYSTEM_FAILURE);
    EXPECT_EQ(client.MapSocketError(10093), SMTP_SYSTEM_FAILURE);
    EXPECT_EQ(client.MapSocketError(WSAEISCONN), SMTP_ALREADY_CONNECTED);
    EXPECT_EQ(client.MapSocketError(WSAECONNRESET), SMTP_OTHER_FAILURE);
    EXPECT_EQ(client.LastError(), SMTP_OTHER_FAILURE);
    EXPECT_EQ(client.MapSocketError(0), SMTP_OK);
}

TEST_F(SmtpClientTest, RealServerGetsEveryLineIntactWithoutInjection) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    CMimeSMTP client(1);
    ASSERT_EQ(client.Connect(address), 1);
    ASSERT_EQ(client.Hello(address), SMTP_OK);
    client.SetSender("\"Ops\r\nBcc: evil@example\" <ops@example>");
    ASSERT_EQ(client.MailFrom("<ops@example>"), SMTP_OK);
    ASSERT_EQ(client.RcptTo("to@example"), SMTP_OK);
    // A board name that tries to end the message and start another one,
    // bare CR and LF line ends, and a line longer than the limit.
    std::string body = "Projector: evil\n.\nMAIL FROM:<x@y>\r\n.hidden\rlast\n" + std::string(2500, 'L') + "\n";
    ASSERT_EQ(client.SendMail("Report\r\nX-Injected: yes", body), SMTP_OK);
    EXPECT_EQ(client.Quit(), SMTP_OK);
    client.Disconnect();

    ASSERT_TRUE(server.WaitForMessages(1, 10000));
    QJsonObject message = server.Message(1);
    EXPECT_EQ(message["subject"].toString().toStdString(), "Report  X-Injected: yes");
    for (const auto& header : message["raw_headers"].toArray()) {
        std::string name = header.toArray()[0].toString().toStdString();
        EXPECT_NE(name, "X-Injected");
        EXPECT_NE(name, "Bcc");
    }
    std::string text = WithoutCr(message["parts"].toArray()[0].toObject()["text"].toString().toStdString());
    std::string expected = "Projector: evil\n.\nMAIL FROM:<x@y>\n.hidden\nlast\n" + std::string(994, 'L') + "\n" +
                           std::string(996, 'L') + "\n" + std::string(510, 'L') + "\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_EQ(message["rcpt_tos"].toArray().size(), 1);
    EXPECT_EQ(server.MessageCount(), 1);
    std::vector<std::string> events = server.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "DATA"), 1);
    EXPECT_EQ(events.back(), "QUIT");
}

TEST_F(SmtpClientTest, MailWithoutAttachmentsIsPlainIso2022JpEvenWhenNotJapanese) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    CMimeSMTP client(0);
    ASSERT_EQ(client.Connect(address), 1);
    ASSERT_EQ(client.Hello(address), SMTP_OK);
    ASSERT_EQ(client.MailFrom("<ops@example>"), SMTP_OK);
    ASSERT_EQ(client.RcptTo("to@example"), SMTP_OK);
    ASSERT_EQ(client.SendMail("plain", "hello\r\n"), SMTP_OK);
    client.Quit();
    ASSERT_TRUE(server.WaitForMessages(1, 10000));
    std::string raw = server.RawMessage(1);
    EXPECT_NE(raw.find("Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n"), std::string::npos);
    EXPECT_EQ(raw.find("boundary"), std::string::npos);
    std::string text = server.Message(1)["parts"].toArray()[0].toObject()["text"].toString().toStdString();
    EXPECT_EQ(WithoutCr(text).rfind("hello\n", 0), 0u);
}

TEST_F(SmtpClientTest, SendDataAndSendFileCarryWholeMessages) {
    CCaptureServer server;
    ASSERT_TRUE(server.Start(address));
    CMailSMTP client;
    ASSERT_EQ(client.SendData(), SMTP_NOTHING_TO_SEND);
    ASSERT_EQ(client.Connect(address), 1);
    ASSERT_EQ(client.Hello("h"), SMTP_OK);
    ASSERT_EQ(client.MailFrom("<a@example>"), SMTP_OK);
    ASSERT_EQ(client.RcptTo("b@example"), SMTP_OK);
    std::string lines;
    for (int i = 0; i < 25; ++i)
        lines += std::string(98, 'x') + "\r\n";
    client.SetDataText("Subject: whole\r\n\r\n" + lines);
    ASSERT_EQ(client.SendData(), SMTP_OK);
    EXPECT_EQ(client.SendFile("/nonexistent/file"), SMTP_OTHER_FAILURE);
    EXPECT_EQ(client.SendFile("/dev/null"), SMTP_FILE_EMPTY);
    ASSERT_TRUE(server.WaitForMessages(1, 10000));
    EXPECT_EQ(server.Message(1)["subject"].toString(), "whole");
    EXPECT_NE(server.RawMessage(1).find(lines), std::string::npos);
}
