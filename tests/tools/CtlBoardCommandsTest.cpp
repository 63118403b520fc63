// lumivexctl's board commands run as a program against simulated boards.
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "platform/EventWait.h"
#include "support/CtlProgram.h"
#include "support/LoopbackFleet.h"
#include "support/TestAddress.h"

namespace {

// A board's information port that takes each connection only to note the
// local port the console bound it to, and closes it again.
class ClientPortProbe {
public:
    explicit ClientPortProbe(const std::string& address) {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int on = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(7);
        ::inet_pton(AF_INET, address.c_str(), &local.sin_addr);
        m_ok = ::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 && ::listen(m_fd, 16) == 0;
    }
    ~ClientPortProbe() { ::close(m_fd); }
    bool Ok() const { return m_ok; }
    // The client port of the next connection; -1 when none came within ms.
    int NextClientPort(int ms) {
        pollfd waiting{m_fd, POLLIN, 0};
        if (::poll(&waiting, 1, ms) != 1)
            return -1;
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int connection = ::accept(m_fd, reinterpret_cast<sockaddr*>(&peer), &length);
        if (connection < 0)
            return -1;
        ::close(connection);
        return ntohs(peer.sin_port);
    }

private:
    int m_fd = -1;
    bool m_ok = false;
};

class CtlBoardCommands : public ::testing::Test {
protected:
    std::string AddBoard(std::vector<std::string> settings = {}) { return fleet.AddBoard(std::move(settings)); }
    void StartFleet() { fleet.Start(); }
    void TearDown() override { fleet.Stop(); }
    CtlRun Ctl(const QStringList& args) { return ctl.Run(args); }
    QString WriteFile(const QString& name, const QString& text) { return ctl.WriteFile(name, text); }

    LoopbackFleet fleet;
    CtlProgram ctl;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TEST_F(CtlBoardCommands, PollPrintsEveryFieldButThePassword) {
    std::string a = AddBoard({"projectorName Hall", "login on", "user admin", "password secret"});
    StartFleet();
    QString pw = WriteFile("pw", "secret\n");
    CtlRun text = Ctl({"poll", Q(a), "--user", "admin", "--password-file", pw});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.startsWith("name: Hall\nipAddress: " + Q(a) + "\n"));
    EXPECT_TRUE(text.out.contains("\nlampHours: "));
    EXPECT_TRUE(text.out.contains("\nuserName: admin\nlampMinutes: "));
    EXPECT_FALSE(text.out.contains("secret"));
    CtlRun json = Ctl({"poll", Q(a), "--user", "admin", "--password-file", pw, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object["name"].toString(), "Hall");
    EXPECT_EQ(object["status"].toInt(), 1);
    EXPECT_TRUE(object.contains("statusText"));
    EXPECT_FALSE(object.contains("password"));
}

TEST_F(CtlBoardCommands, FailuresNameTheirResultCode) {
    std::string login = AddBoard({"login on", "user admin", "password secret"});
    std::string refusing = AddBoard();
    StartFleet();
    fleet.Control("fault " + refusing + " info yourip");
    CtlRun refused = Ctl({"poll", Q(refusing)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith("RC_REFUSED")) << refused.err.toStdString();
    CtlRun wrong = Ctl({"poll", Q(login), "--user", "admin", "--password-file", WriteFile("bad", "nope")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.startsWith("RC_LOGIN_REFUSED"));
    EXPECT_EQ(Ctl({"poll", "300.1.1.1"}).exitCode, 2);
    EXPECT_EQ(Ctl({"poll", Q(login), "--password", "x"}).exitCode, 2);  // never on the command line
    EXPECT_EQ(Ctl({"send", Q(login), "warp-drive"}).exitCode, 2);
    EXPECT_EQ(Ctl({"poll", Q(login), "--ports", "9-x"}).exitCode, 2);
}

TEST_F(CtlBoardCommands, SendChangesTheBoardAndReadsPowerBack) {
    std::string a = AddBoard({"power standby"});
    StartFleet();
    CtlRun run = Ctl({"send", Q(a), "power-on", "--poll-delay", "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("result: RC_OK"));
    EXPECT_TRUE(run.out.contains("power: 1"));
    CtlRun byIndex = Ctl({"send", Q(a), "1", "--poll-delay", "0"});
    EXPECT_TRUE(byIndex.out.contains("power: 2"));
}

TEST_F(CtlBoardCommands, RefreshPrintsReportRowsInTheOrderGiven) {
    std::string first = AddBoard({"projectorName One", "serial S1"});
    std::string second = AddBoard({"projectorName Two,Comma", "serial S2"});
    StartFleet();
    QString list = WriteFile("boards", Q("# fleet\n" + second + "\n\n" + first + "  # trailing\n"));
    CtlRun run = Ctl({"refresh", "--from", list, "--csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList rows = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].contains(",LAN,,\"Two,Comma\",S2,"));
    EXPECT_TRUE(rows[0].endsWith(Q("," + second)));
    EXPECT_TRUE(rows[1].endsWith(Q("," + first)));
    EXPECT_TRUE(run.err.contains("refreshed 2 projectors in"));
    CtlRun bad = Ctl({"refresh", "--from", WriteFile("bad", "10.0.0.1\nnot-an-address\n")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("line 2"));
}

TEST_F(CtlBoardCommands, GroupSendReachesEveryBoard) {
    std::string a = AddBoard({"power on"});
    std::string b = AddBoard({"power on"});
    StartFleet();
    CtlRun run = Ctl({"send", "--group", WriteFile("group", Q(a + "\n" + b + "\n")), "standby"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(Q(a + " power: 2")));
    EXPECT_TRUE(run.out.contains(Q(b + " power: 2")));
}

TEST_F(CtlBoardCommands, FleetCommandsBindTheProfilesClientPortsUnlessToldOtherwise) {
    const std::string board = TestLoopbackAddress(200);
    // Stored high to low, as the console's settings page may leave them.
    const QString profile = WriteFile("profile.conf", "[Settings]\nClientDataPortStart=20009\nClientDataPortEnd=20000\n");
    const QString boards = WriteFile("boards", Q(board + "\n"));
    ASSERT_EQ(Ctl({"--profile", profile, "import", boards}).exitCode, 0);
    auto clientPort = [&](const QStringList& command) {
        ClientPortProbe probe(board);
        EXPECT_TRUE(probe.Ok());
        ctl.Start(QStringList{"--profile", profile} + command);
        const int port = probe.NextClientPort(30000);
        ctl.Terminate();
        ctl.Finish();
        return port;
    };
    const QStringList commands[] = {
        {"refresh", Q(board)}, {"watch", Q(board)}, {"report"}, {"send", "--group", boards, "standby"}};
    for (const QStringList& command : commands) {
        const int port = clientPort(command);
        EXPECT_TRUE(port >= 20000 && port <= 20009) << command.join(' ').toStdString() << " bound " << port;
    }
    const int overridden = clientPort({"refresh", Q(board), "--ports", "20020-20029"});
    EXPECT_TRUE(overridden >= 20020 && overridden <= 20029) << overridden;
}

TEST_F(CtlBoardCommands, GroupPowerOnIsSpacedAsTheDefaultProfileSays) {
    std::string a = AddBoard({"power standby"});
    std::string b = AddBoard({"power standby"});
    StartFleet();
    ctl.WriteDefaultProfile("[Settings]\nPowerOnMoving=1\nNextPowerOnTime=9\n");
    const QString group = WriteFile("group", Q(a + "\n" + b + "\n"));
    // The first board's session polls its power 4.5 s after the command: has
    // the second board had its power-on by then?
    auto secondBeforeFirstsPowerPoll = [&](const QStringList& options) {
        const int commandsBefore = fleet.Sent(a, "POWR   1");
        const int secondBefore = fleet.Sent(b, "POWR   1");
        ctl.Start(QStringList{"send", "--group", group, "power-on"} + options);
        int polls = 0;
        EXPECT_TRUE(RunEventsUntil(
            [&] {
                polls = fleet.Sent(a, "POWR????");
                return fleet.Sent(a, "POWR   1") > commandsBefore;
            },
            60000));
        EXPECT_TRUE(RunEventsUntil([&] { return fleet.Sent(a, "POWR????") > polls; }, 30000));
        const bool second = fleet.Sent(b, "POWR   1") > secondBefore;
        ctl.Terminate();
        ctl.Finish();
        return second;
    };
    EXPECT_FALSE(secondBeforeFirstsPowerPoll({}));  // 9 s after the first
    EXPECT_TRUE(secondBeforeFirstsPowerPoll({"--spacing", "0"}));
}
