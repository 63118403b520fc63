// The simulated fleet over real loopback sockets. Boards listen on port 7, so
// these tests run inside a private network namespace (scripts/test does it).
#include "BoardSim.h"

#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/TestAddress.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "BoardClient.h"
#include "platform/TickCount.h"

namespace {

std::string Address(int host) { return TestLoopbackAddress(host); }

// {"address": ..., members}
std::string Board(int host, const std::string& members = {}) {
    return "{\"address\": \"" + Address(host) + "\", \"commandPort\": 0" + (members.empty() ? "" : ", ") +
           members + "}";
}

QJsonObject JsonLine(const std::string& line) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

class BoardSimNet : public ::testing::Test {
protected:
    void StartFleet(const std::vector<std::string>& boards) {
        std::string json = "{\"searchPort\": 0, \"boards\": [";
        for (std::size_t i = 0; i < boards.size(); ++i)
            json += (i ? "," : "") + boards[i];
        SimFleet fleet;
        std::string error;
        ASSERT_TRUE(CFleetFile::Parse(json + "]}", fleet, error)) << error;
        m_sim = std::make_unique<CBoardSim>(std::move(fleet));
        ASSERT_TRUE(m_sim->Start(error)) << error << " (run the tests in a private network namespace)";
    }

    std::string Apply(const std::string& line) { return m_sim->Apply(line); }

    int CommandPort(int host) {
        return JsonLine(Apply("state " + Address(host))).value("boundCommandPort").toInt();
    }

    QJsonObject Stats(int host) { return JsonLine(Apply("stats " + Address(host))); }

    // A logged-in (or login-free) command connection.
    void OpenCommand(CBoardClient& client, int host, const std::string& user = {}, const std::string& password = {}) {
        ASSERT_TRUE(client.Connect(Address(host), CommandPort(host)));
        if (user.empty())
            return;
        ASSERT_EQ(client.ReadUntil(':'), "Login:");
        client.Send(user + "\n");
        ASSERT_EQ(client.ReadUntil(':'), "\r\nPassword:");
        client.Send(password + "\n");
    }

    // A loopback listener for the boards' connect-backs.
    static int OpenSearchListener() {
        const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
        EXPECT_EQ(listen(listener, 16), 0);
        return listener;
    }

    // The search datagram naming the listener's port, sent to the fleet.
    void SendSearch(int listener) {
        sockaddr_in sa{};
        socklen_t length = sizeof sa;
        getsockname(listener, reinterpret_cast<sockaddr*>(&sa), &length);
        const std::string payload = std::to_string(ntohs(sa.sin_port));
        const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(static_cast<std::uint16_t>(m_sim->SearchPort()));
        EXPECT_EQ(sendto(udp, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
                  static_cast<ssize_t>(payload.size()));
        close(udp);
    }

    // The next connect-back within 5 s with its source address, or -1.
    static int AcceptConnectBack(int listener, std::string& peer) {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, 5000) != 1)
            return -1;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const int fd = accept(listener, reinterpret_cast<sockaddr*>(&from), &length);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
        peer = text;
        return fd;
    }

    std::unique_ptr<CBoardSim> m_sim;
};

}  // namespace

TEST_F(BoardSimNet, InfoReplyNamesCommandPortAndLogin) {
    StartFleet({Board(1, R"("hostName": "PJ-ONE", "model": "LX-2", "serial": "SN2")"),
                Board(2, R"("login": true, "lineEnd": "crlf")")});
    const std::string reply = CBoardClient::QueryInfo(Address(1));
    EXPECT_EQ(reply, "PJ-ONE\nPASSWD:NO\nCOMRPT:" + std::to_string(CommandPort(1)) +
                         "\nMDLNAM:LX-2\nRDPORT:FREE\nANADDR:" + Address(1) + "\nSERIAL:SN2\n");
    const std::string crlf = CBoardClient::QueryInfo(Address(2));
    EXPECT_EQ(InfoValue(crlf, "PASSWD"), "YES");
    EXPECT_NE(crlf.find("\r\nCOMRPT:"), std::string::npos);
    EXPECT_EQ(Stats(1).value("infoConnections").toInt(), 1);
}

TEST_F(BoardSimNet, LoginAcceptsGoodCredentialsAndRejectsBadOnes) {
    StartFleet({Board(1, R"("login": true, "user": "admin", "password": "secret", "projectorName": "Hall")")});
    {
        CBoardClient client;
        OpenCommand(client, 1, "admin", "secret");
        EXPECT_EQ(client.ReadUntil('\n'), "\r\n");
        EXPECT_EQ(client.Transact("PJN0   1"), "Hall\r");
    }
    CBoardClient client;
    OpenCommand(client, 1, "admin", "wrong");
    bool closed = false;
    EXPECT_EQ(client.ReadToClose(closed), "\r\nLogin incorrect\r\n");
    EXPECT_TRUE(closed);
    const QJsonObject stats = Stats(1);
    EXPECT_EQ(stats.value("logins").toInt(), 1);
    EXPECT_EQ(stats.value("loginFailures").toInt(), 1);
    EXPECT_EQ(stats.value("commandConnections").toInt(), 2);
}

TEST_F(BoardSimNet, QueriesAndControlsChangeStateSeenThroughControlLines) {
    StartFleet({Board(1, R"("lamps": [{"hours": 1200}], "signal": "1024 x 768")")});
    CBoardClient client;
    OpenCommand(client, 1);
    EXPECT_EQ(client.Transact("TLTT   1"), "1200\r");
    EXPECT_EQ(client.Transact("TLTT   2"), "ERR\r");
    EXPECT_EQ(client.Transact("TDSP   1"), "1024 x 768\r");
    EXPECT_NE(client.Transact("POWR   0"), "ERR\r");
    EXPECT_NE(client.Transact("IVED   2"), "ERR\r");
    const QJsonObject state = JsonLine(Apply("state " + Address(1)));
    EXPECT_EQ(state.value("power").toString(), "standby");
    EXPECT_EQ(state.value("input").toString(), "video");
    EXPECT_EQ(state.value("videoInput").toInt(), 2);
    EXPECT_EQ(state.value("openConnections").toInt(), 1);

    EXPECT_EQ(Apply("set " + Address(1) + " signal 800 x 600").rfind("OK", 0), 0u);
    EXPECT_EQ(client.Transact("TDSP   1"), "800 x 600\r");
    EXPECT_EQ(Stats(1).value("commands").toObject().value("TDSP   1").toInt(), 2);
}

TEST_F(BoardSimNet, SplitReplyHoldsBackItsTerminator) {
    StartFleet({Board(1, R"("projectorName": "Conference room")")});
    ASSERT_EQ(Apply("fault " + Address(1) + " PJN0___1 split pieces=3 gap=150").rfind("OK", 0), 0u);
    ASSERT_EQ(Apply("fault " + Address(1) + " info split pieces=4 gap=100").rfind("OK", 0), 0u);
    CBoardClient client;
    OpenCommand(client, 1);
    client.Send("PJN0   1\r");
    const std::string first = client.ReadSome();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first.back(), '\r');
    EXPECT_EQ(first + client.ReadUntil('\r'), "Conference room\r");

    CBoardClient info;
    ASSERT_TRUE(info.Connect(Address(1), 7));
    info.Send("hostname\n");
    const std::string piece = info.ReadSome();
    ASSERT_FALSE(piece.empty());
    EXPECT_NE(piece.back(), '\n');
}

TEST_F(BoardSimNet, ErrAnswersStopAfterTheirCount) {
    StartFleet({Board(1, R"("model": "LX-5")")});
    ASSERT_EQ(Apply("fault " + Address(1) + " * err 2").rfind("OK", 0), 0u);
    CBoardClient client;
    OpenCommand(client, 1);
    EXPECT_EQ(client.Transact("MNRD   1"), "ERR\r");
    EXPECT_EQ(client.Transact("MNRD   1"), "ERR\r");
    EXPECT_EQ(client.Transact("MNRD   1"), "LX-5\r");
}

TEST_F(BoardSimNet, YourIpRefusalOnEveryPhase) {
    StartFleet({Board(1, R"("login": true)"), Board(2), Board(3)});
    Apply("fault " + Address(1) + " login yourip");
    Apply("fault " + Address(2) + " info yourip");
    Apply("fault " + Address(3) + " TABN___1 yourip text=Your IP is not welcome\\r\\n");
    bool closed = false;
    CBoardClient login;
    ASSERT_TRUE(login.Connect(Address(1), CommandPort(1)));
    EXPECT_EQ(login.ReadToClose(closed).rfind("Your IP", 0), 0u);
    EXPECT_TRUE(closed);

    EXPECT_EQ(CBoardClient::QueryInfo(Address(2)).rfind("Your IP", 0), 0u);

    CBoardClient command;
    OpenCommand(command, 3);
    command.Send("TABN   1\r");
    EXPECT_EQ(command.ReadToClose(closed), "Your IP is not welcome\r\n");
    EXPECT_TRUE(closed);
}

TEST_F(BoardSimNet, ConnectionFaultsCloseRefuseAndDropIdle) {
    StartFleet({Board(1), Board(2)});
    const int port = CommandPort(1);
    Apply("fault " + Address(1) + " POWR???? close times=1");
    bool closed = false;
    {
        CBoardClient client;
        OpenCommand(client, 1);
        client.Send("POWR????\r");
        EXPECT_EQ(client.ReadToClose(closed), "");
        EXPECT_TRUE(closed);
    }

    ASSERT_EQ(Apply("fault " + Address(1) + " connect refuse").rfind("OK", 0), 0u);
    CBoardClient refused;
    EXPECT_FALSE(refused.Connect(Address(1), port));
    EXPECT_EQ(refused.Errno(), ECONNREFUSED);
    Apply("clear " + Address(1));
    CBoardClient again;
    EXPECT_TRUE(again.Connect(Address(1), CommandPort(1)));

    Apply("fault " + Address(2) + " connect idleclose ms=100");
    CBoardClient idle;
    OpenCommand(idle, 2);
    EXPECT_EQ(idle.Transact("POWR????"), "1\r");
    idle.ReadToClose(closed);
    EXPECT_TRUE(closed);

    CBoardClient kept;
    OpenCommand(kept, 1);
    EXPECT_EQ(Apply("close " + Address(1)), "OK closed 2 connections");
    kept.ReadToClose(closed);
    EXPECT_TRUE(closed);
}

TEST_F(BoardSimNet, InfoFaultsBusyAndMissingCommandPort) {
    StartFleet({Board(1)});
    Apply("fault " + Address(1) + " info busy times=1");
    Apply("fault " + Address(1) + " info nocomrpt times=1");
    const std::string faulty = CBoardClient::QueryInfo(Address(1));
    EXPECT_EQ(InfoValue(faulty, "RDPORT"), "BUSY");
    EXPECT_EQ(faulty.find("COMRPT:"), std::string::npos);
    const std::string healthy = CBoardClient::QueryInfo(Address(1));
    EXPECT_EQ(InfoValue(healthy, "RDPORT"), "FREE");
    EXPECT_EQ(InfoValue(healthy, "COMRPT"), std::to_string(CommandPort(1)));
}

TEST_F(BoardSimNet, DelayHoldsTheReplyBack) {
    StartFleet({Board(1)});
    Apply("fault " + Address(1) + " POWR???? delay 300");
    CBoardClient client;
    OpenCommand(client, 1);
    const std::int64_t start = TickCount();
    EXPECT_EQ(client.Transact("POWR????"), "1\r");
    EXPECT_GE(TickCount() - start, 290);
}

TEST_F(BoardSimNet, SearchDatagramMakesAnsweringBoardsConnectBack) {
    StartFleet({Board(1), Board(2, R"("searchTwice": true)"), Board(3, R"("search": false)")});
    const int listener = OpenSearchListener();
    SendSearch(listener);
    std::multiset<std::string> peers;
    std::string peer;
    while (peers.size() < 3) {
        const int fd = AcceptConnectBack(listener, peer);
        if (fd < 0)
            break;
        peers.insert(peer);
        close(fd);
    }
    close(listener);
    EXPECT_EQ(peers, (std::multiset<std::string>{Address(1), Address(2), Address(2)}));
    EXPECT_EQ(Stats(3).value("searchAnswers").toInt(), 0);
    EXPECT_EQ(Stats(2).value("searchAnswers").toInt(), 1);
}

TEST_F(BoardSimNet, HoldingBoardKeepsItsConnectBackOpenAfterTheConsoleClosesItsSide) {
    StartFleet({Board(1, R"("searchHoldMs": 60000)"), Board(2, R"("searchHoldMs": 200)")});
    const int listener = OpenSearchListener();
    SendSearch(listener);
    int held = -1;
    int brief = -1;
    std::string peer;
    for (int n = 0; n < 2; ++n) {
        const int fd = AcceptConnectBack(listener, peer);
        ASSERT_GE(fd, 0);
        (peer == Address(1) ? held : brief) = fd;
        shutdown(fd, SHUT_WR);
    }
    close(listener);
    ASSERT_GE(held, 0);
    ASSERT_GE(brief, 0);
    // Two control round trips: the second runs on a loop round that began
    // after the console's close had arrived, so the board has seen it.
    Apply("list");
    Apply("list");
    pollfd stillOpen{held, POLLIN, 0};
    EXPECT_EQ(poll(&stillOpen, 1, 0), 0) << "the holding board closed when the console did";
    // The other board's hold time runs out.
    pollfd ends{brief, POLLIN, 0};
    ASSERT_EQ(poll(&ends, 1, 5000), 1);
    char byte = 0;
    EXPECT_EQ(recv(brief, &byte, 1, 0), 0);
    close(held);
    close(brief);
}

TEST_F(BoardSimNet, ControlLinesReportErrorsAndStopEndsTheFleet) {
    StartFleet({Board(1)});
    EXPECT_EQ(Apply("set 127.0.0.254 power on").rfind("ERROR no board", 0), 0u);
    EXPECT_EQ(Apply("set " + Address(1) + " power sideways").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Apply("fault " + Address(1) + " info err").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Apply("fault " + Address(1) + " POWR???? delay soon").rfind("ERROR", 0), 0u);
    EXPECT_EQ(Apply("dance").rfind("ERROR unknown command", 0), 0u);
    EXPECT_EQ(Apply("set * mute 1"), "OK set * mute");
    EXPECT_TRUE(JsonLine(Apply("state " + Address(1))).value("mute").toBool());
    EXPECT_EQ(Apply("quit"), "OK quit");
    m_sim->Stop();
    EXPECT_FALSE(m_sim->IsRunning());
    EXPECT_EQ(Apply("list").rfind("ERROR", 0), 0u);
}

TEST_F(BoardSimNet, OpenFailsClearlyWhenAnAddressIsTaken) {
    StartFleet({Board(1)});
    SimFleet fleet;
    std::string error;
    ASSERT_TRUE(CFleetFile::Parse("{\"searchPort\": 0, \"boards\": [" + Board(1) + "]}", fleet, error));
    CBoardSim second(std::move(fleet));
    EXPECT_FALSE(second.Start(error));
    EXPECT_NE(error.find("cannot listen on " + Address(1) + ":7"), std::string::npos) << error;
}
