// The search on a real (if tiny) network: a veth pair between this test's
// private namespace and a namespace of boards on 10.77.0.0/24. Each test
// checks that only lo and its own link exist before anything is sent.
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "SearchTestSupport.h"
#include "TestNetwork.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/ValueProjectorInfo.h"
#include "platform/Clock.h"
#include "platform/EventWait.h"
#include "platform/WinsockError.h"

using searchtest::Datagram;
using searchtest::DatagramProbe;
using searchtest::WaitUntil;

namespace {

constexpr int kSearchPort = DEFAULT_SEARCH_PORT;

class SearchNetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        if (!network.Build(whyNot))
            GTEST_SKIP() << whyNot;
        ASSERT_TRUE(TestNetwork::OnlyOurLinks());
    }

    // Boards at both board addresses, listening for the search.
    void StartBoards() {
        for (const char* address : TestNetwork::kBoardAddresses) {
            boards.push_back(std::make_unique<TestBoard>(network.BoardNamespace(), address, kSearchPort));
            ASSERT_TRUE(boards.back()->Ready());
        }
    }

    // The simulated fleet of a fleet file, in the boards' namespace, once
    // it says it is ready.
    void StartSimulatedBoards(QProcess& sim, const QString& fleet, int count) {
        sim.start(QStringLiteral("nsenter"), {QString::fromStdString(network.BoardNamespacePath()),
                                              QStringLiteral(LUMIVEX_BOARDSIM_PATH), fleet});
        ASSERT_TRUE(RunEventsUntil([&] { return sim.canReadLine() || sim.state() == QProcess::NotRunning; }, 10000));
        ASSERT_EQ(sim.readLine().trimmed().toStdString(), "READY " + std::to_string(count))
            << sim.readAllStandardError().toStdString();
    }

    TestNetwork network;
    std::vector<std::unique_ptr<TestBoard>> boards;
    RecordingView view;
};

void WriteText(const QString& path, const std::string& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CtlRun RunLumivexctl(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(LUMIVEXCTL_PATH), args);
    CtlRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

}  // namespace

TEST_F(SearchNetworkTest, BoardsOnTheSubnetAnswerThenTheSearchEndsOnTime) {
    StartBoards();
    DatagramProbe consoleSide(kSearchPort, true);  // sees whatever this side sends, loopback included
    ASSERT_TRUE(consoleSide.Ok());
    auto* engine = new CCommWnd(&view);
    bool sawLoopback = false;
    bool sawSubnet = false;
    for (int n = 0; const CNetBoardInfo* info = engine->Interfaces().GetAt(n); ++n) {
        sawLoopback = sawLoopback || (info->address == "127.0.0.1" && info->IsLoopback());
        sawSubnet = sawSubnet || (info->address == TestNetwork::kConsoleAddress && !info->IsLoopback());
    }
    ASSERT_TRUE(sawLoopback && sawSubnet);
    constexpr int kSeconds = 2;
    engine->SetSearchSeconds(kSeconds);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(engine->StartSearch(), 0);
    ASSERT_TRUE(ProcessUntil([&] { return view.found.size() == 2; }));
    EXPECT_EQ(std::set<std::string>(view.found.begin(), view.found.end()),
              (std::set<std::string>{TestNetwork::kBoardAddresses[0], TestNetwork::kBoardAddresses[1]}));
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);
    ASSERT_TRUE(ProcessUntil([&] { return view.Count(WM_VIEW_SEARCH_DONE) == 1; }, 15000));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(elapsed.count(), kSeconds * 1000);
    EXPECT_LT(elapsed.count(), kSeconds * 1000 + 5000);  // about the search time, sanitizers included
    EXPECT_EQ(view.messages.back().msg, WM_VIEW_SEARCH_DONE);
    EXPECT_EQ(view.found.size(), 2u);

    for (const auto& board : boards) {
        std::vector<Datagram> heard = board->Heard();
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].payload, "5006");  // four bytes, no terminator
        EXPECT_EQ(heard[0].destination, TestNetwork::kSubnetBroadcast);
        EXPECT_EQ(heard[0].source, TestNetwork::kConsoleAddress);
        EXPECT_EQ(board->Answers(), 1);
    }
    for (const Datagram& d : consoleSide.Drain())
        EXPECT_NE(d.destination.rfind("127.", 0), 0u) << "search datagram sent to " << d.destination;
}

TEST_F(SearchNetworkTest, FailedBroadcastFindsNothingMoreAndStillEndsAtTheDeadline) {
    StartBoards();
    CFakeClock clock;
    auto* engine = new CCommWnd(&view, &clock);
    // A subnet this namespace has no route to comes first: its send fails,
    // and the real subnet after it gets nothing.
    auto unroutable = std::make_unique<CNetBoardInfo>(0x2, "10.78.0.1", "255.255.255.0", "");
    CNetBoardInfoList& interfaces = engine->Interfaces();
    std::vector<std::unique_ptr<CNetBoardInfo>> keep;
    for (int n = 0; const CNetBoardInfo* info = interfaces.GetAt(n); ++n)
        keep.push_back(std::make_unique<CNetBoardInfo>(*info));
    interfaces.RemoveAll();
    interfaces.Add(std::move(unroutable));
    for (auto& info : keep)
        interfaces.Add(std::move(info));

    EXPECT_EQ(engine->StartSearch(), -1);
    EXPECT_EQ(engine->LastSearchFailure().reason, SEARCH_FAIL_BROADCAST);
    EXPECT_EQ(engine->LastSearchFailure().interfaceAddress, "10.78.0.1");
    EXPECT_EQ(engine->LastSearchFailure().socketError, WSAENETUNREACH);
    EXPECT_TRUE(engine->IsSearching());
    ASSERT_TRUE(WaitUntil([] { return searchtest::TcpPortFree(kSearchPort); }));  // the listener let go
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);
    clock.AdvanceMs(std::int64_t(engine->SearchSeconds()) * 1000 + 1);
    ASSERT_TRUE(ProcessUntil([&] { return view.Count(WM_VIEW_SEARCH_DONE) == 1; }));
    EXPECT_TRUE(view.found.empty());
    for (const auto& board : boards)
        EXPECT_TRUE(board->Heard().empty());
}

TEST_F(SearchNetworkTest, MacLookUpReadsTheArpEntryOfABoard) {
    StartBoards();
    const std::string board = TestNetwork::kBoardAddresses[1];
    EXPECT_EQ(CValueProjectorInfo::LookUpMacAddress(board), "");
    // Any packet to the board makes this side resolve its hardware address.
    DatagramProbe sender;
    sockaddr_in target = searchtest::SocketAddress(board, kSearchPort);
    ASSERT_GT(::sendto(sender.Fd(), "x", 1, 0, reinterpret_cast<sockaddr*>(&target), sizeof target), 0);
    ASSERT_TRUE(WaitUntil([&] { return !CValueProjectorInfo::LookUpMacAddress(board).empty(); }));
    EXPECT_EQ(CValueProjectorInfo::LookUpMacAddress(board), TestNetwork::kBoardMac);
    EXPECT_EQ(CValueProjectorInfo::LookUpMacAddress("10.77.0.77"), "");  // never contacted
    EXPECT_EQ(CValueProjectorInfo::LookUpMacAddress("10.77.0"), "");
}

TEST_F(SearchNetworkTest, DiscoverCommandPrintsEachBoardAndTheCount) {
    StartBoards();
    QTemporaryDir dir;
    const QString none = dir.filePath(QStringLiteral("none.conf"));  // no profile: the defaults
    CtlRun run = RunLumivexctl({"--profile", none, "discover", "--seconds", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(std::string(TestNetwork::kBoardAddresses[0]) + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(std::string(TestNetwork::kBoardAddresses[1]) + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2 board(s) found"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("searching on 10.77.0.1/255.255.255.0 port 5006 for 1 s"), std::string::npos) << run.err;

    // The search time and the interface choice come from the profile.
    const QString profile = dir.filePath(QStringLiteral("Lumivex.conf"));
    WriteText(profile, "[Settings]\nProjectorSearchSecond=1\nOnlyBroadcastBoardIP=10.77.0.9\n");
    run = RunLumivexctl({"--profile", profile, "discover"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("0 board(s) found"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("no interface to broadcast on with address 10.77.0.9; listening on port 5006 for 1 s"),
              std::string::npos)
        << run.err;
}

TEST_F(SearchNetworkTest, DiscoverCommandFindsSimulatedBoardsOnce) {
    // One board answers twice, the other late; each is listed once.
    QTemporaryDir dir;
    const QString fleet = dir.filePath(QStringLiteral("fleet.json"));
    WriteText(fleet, std::string("{\"boards\": [{\"address\": \"") + TestNetwork::kBoardAddresses[0] +
                         "\", \"searchTwice\": true}, {\"address\": \"" + TestNetwork::kBoardAddresses[1] +
                         "\", \"searchDelayMs\": 300}]}");
    QProcess sim;
    StartSimulatedBoards(sim, fleet, 2);

    CtlRun run = RunLumivexctl({"--profile", dir.filePath(QStringLiteral("none.conf")), "discover", "--seconds", "2"});
    sim.kill();
    sim.waitForFinished();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, std::string(TestNetwork::kBoardAddresses[0]) + "\n" + TestNetwork::kBoardAddresses[1] +
                           "\n2 board(s) found\n");
}

TEST_F(SearchNetworkTest, DiscoverCommandFindsEveryBoardThatHoldsItsConnection) {
    // Boards that keep their answer open, even after the console has
    // closed its side, are found as surely as those that close at once.
    constexpr int kBoards = 40;
    std::vector<std::string> addresses;
    std::string json = "{\"boards\": [";
    for (int n = 0; n < kBoards; ++n) {
        addresses.push_back("10.77.0." + std::to_string(10 + n));
        json += std::string(n ? "," : "") + "{\"address\": \"" + addresses.back() + "\", \"searchHoldMs\": 30000}";
    }
    std::string whyNot;
    ASSERT_TRUE(network.AddBoardAddresses(addresses, whyNot)) << whyNot;
    QTemporaryDir dir;
    const QString fleet = dir.filePath(QStringLiteral("fleet.json"));
    WriteText(fleet, json + "]}");
    QProcess sim;
    StartSimulatedBoards(sim, fleet, kBoards);

    CtlRun run = RunLumivexctl({"--profile", dir.filePath(QStringLiteral("none.conf")), "discover", "--seconds", "2"});
    sim.kill();
    sim.waitForFinished();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& address : addresses)
        EXPECT_NE(run.out.find(address + "\n"), std::string::npos) << address << " missing from\n" << run.out;
    EXPECT_NE(run.out.find(std::to_string(kBoards) + " board(s) found"), std::string::npos) << run.out;
}

TEST_F(SearchNetworkTest, DiscoverCommandFailsClearlyWhenThePortIsTaken) {
    int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local = searchtest::SocketAddress("0.0.0.0", 0);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    socklen_t len = sizeof local;
    ::getsockname(holder, reinterpret_cast<sockaddr*>(&local), &len);
    const int port = ntohs(local.sin_port);

    CtlRun run = RunLumivexctl({"discover", "--seconds", "1", "--port", QString::number(port)});
    ::close(holder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot listen on TCP port " + std::to_string(port) + ": the port is in use"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
}
