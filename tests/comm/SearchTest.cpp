// The engine's projector search over loopback: every interface the tests
// give the engine is a 127.x subnet, so no datagram can leave the host. The
// search time runs on a fake clock that the tests move on.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "SearchTestSupport.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/NetBoardInfoList.h"
#include "comm/ServerSocket.h"
#include "platform/Clock.h"
#include "platform/InterfaceList.h"
#include "platform/WinsockError.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"

using searchtest::ConnectBack;
using searchtest::Datagram;
using searchtest::DatagramProbe;
using searchtest::SearchPort;
using searchtest::TcpPortFree;

namespace {

constexpr int kBroadcastFlag = 0x2;

std::vector<std::string> Destinations(const std::vector<Datagram>& datagrams) {
    std::vector<std::string> out;
    for (const Datagram& d : datagrams)
        out.push_back(d.destination);
    return out;
}

class SearchTest : public ::testing::Test {
protected:
    SearchTest() : engine(new CCommWnd(&view, &clock)) {
        // Loopback subnets only, whatever network this machine is on. The
        // first is flagged loopback; the other two stand in for real subnets.
        engine->Interfaces().RemoveAll();
        AddInterface(IFF_LOOPBACK_FLAG, "127.0.0.1", "255.0.0.0");
        AddInterface(kBroadcastFlag, "127.1.2.3", "255.255.0.0");
        AddInterface(kBroadcastFlag, "127.2.0.9", "255.255.255.0");
        engine->SetSearchPort(port.Port());
    }

    void SetUp() override { ASSERT_TRUE(port.Ok()); }

    void AddInterface(int flags, const std::string& address, const std::string& mask) {
        engine->Interfaces().Add(std::make_unique<CNetBoardInfo>(flags, address, mask, ""));
    }
    int Port() const { return port.Port(); }
    // Moves the fake clock past the search time.
    void PassDeadline() { clock.AdvanceMs(std::int64_t(engine->SearchSeconds()) * 1000 + 1); }
    bool WaitDone(int count = 1) {
        return ProcessUntil([&] { return view.Count(WM_VIEW_SEARCH_DONE) >= count; });
    }

    CFakeClock clock;
    RecordingView view;
    CCommWnd* engine;  // a child of view
    SearchPort port;
    DatagramProbe& probe = port.Probe();
};

}  // namespace

TEST(NetBoardInfoList, RefreshKeepsThePlatformOrderAndAFailedQueryKeepsTheOldList) {
    CNetBoardInfoList list;
    auto two = [](std::vector<InterfaceEntry>& out) {
        out = {{IFF_LOOPBACK_FLAG, "127.0.0.1", "255.0.0.0", "0.0.0.0"},
               {kBroadcastFlag, "192.168.1.20", "255.255.255.0", "192.168.1.255"}};
        return 0;
    };
    ASSERT_EQ(list.Refresh(two), 0);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(list.GetAt(0)->IsLoopback());
    EXPECT_EQ(list.GetAt(1)->address, "192.168.1.20");
    EXPECT_EQ(list.GetAt(1)->mask, "255.255.255.0");
    EXPECT_EQ(list.GetAt(1)->broadcast, "192.168.1.255");
    EXPECT_FALSE(list.GetAt(1)->IsLoopback());
    EXPECT_EQ(list.GetAt(2), nullptr);

    EXPECT_EQ(list.Refresh([](std::vector<InterfaceEntry>&) { return -1; }), -1);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Refresh([](std::vector<InterfaceEntry>& out) { out.clear(); return 0; }), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(NetBoardInfoList, PlatformListFlagsLoopback) {
    CNetBoardInfoList list;
    ASSERT_EQ(list.Refresh(), 0);
    bool sawLoopback = false;
    for (int n = 0; const CNetBoardInfo* info = list.GetAt(n); ++n)
        if (info->address == "127.0.0.1")
            sawLoopback = info->IsLoopback();
    EXPECT_TRUE(sawLoopback);
}

TEST(SearchPortChoice, NumberAnEarlierConnectionHoldsIsNeverChosen) {
    // A connection an earlier test left behind: its local number is free
    // on the UDP side, yet the engine cannot listen there.
    SearchPort other;
    CServerSocket peer;
    ASSERT_EQ(peer.Bind(nullptr, other.Port(), SOCKET_KIND_STREAM), 0);
    const int client = searchtest::OpenConnectBack("127.0.0.2", "127.0.0.1", other.Port());
    ASSERT_GE(client, 0);
    const int held = searchtest::LocalPort(client);

    EXPECT_TRUE(DatagramProbe(held).Ok());
    CFakeClock clock;
    CCommWnd engine(nullptr, &clock);
    engine.Interfaces().RemoveAll();
    engine.SetSearchPort(held);
    EXPECT_EQ(engine.StartSearch(), -1);
    EXPECT_EQ(engine.LastSearchFailure().socketError, WSAEADDRINUSE);
    EXPECT_FALSE(SearchPort(held).Ok());
    ::close(client);
}

TEST_F(SearchTest, PortTextGoesToEachSubnetsBroadcastAddressNeverToLoopback) {
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_TRUE(engine->IsSearching());
    std::vector<Datagram> sent = probe.Drain();
    EXPECT_EQ(Destinations(sent), (std::vector<std::string>{"127.1.255.255", "127.2.0.255"}));
    for (const Datagram& d : sent) {
        EXPECT_EQ(d.payload, std::to_string(Port()));  // the digits alone, no terminator
        EXPECT_NE(d.sourcePort, Port());               // sent from an unbound socket
    }
}

TEST_F(SearchTest, OnlyBroadcastBoardIPPicksThatInterfaceAndNeverLoopback) {
    engine->SetOnlyBroadcastBoardIP("127.2.0.9");
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_EQ(Destinations(probe.Drain()), std::vector<std::string>{"127.2.0.255"});
    ASSERT_EQ(engine->StopSearch(0), 0);

    engine->SetOnlyBroadcastBoardIP("127.0.0.1");  // the loopback interface
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_TRUE(probe.Drain().empty());
}

TEST_F(SearchTest, OnlyBroadcastBoardIPOfNoInterfaceSendsNothingButListensItsTime) {
    engine->SetOnlyBroadcastBoardIP("192.0.2.1");
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_TRUE(probe.Drain().empty());
    ASSERT_TRUE(ConnectBack("127.0.0.7", "127.0.0.1", Port()));
    ASSERT_TRUE(ProcessUntil([&] { return view.found.size() == 1; }));
    EXPECT_EQ(view.found[0], "127.0.0.7");
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);
    PassDeadline();
    EXPECT_TRUE(WaitDone());
}

TEST_F(SearchTest, EachConnectionIsFoundThenOneDoneAtTheDeadline) {
    ASSERT_EQ(engine->StartSearch(), 0);
    ASSERT_TRUE(ConnectBack("127.0.0.2", "127.0.0.1", Port()));
    ASSERT_TRUE(ConnectBack("127.0.0.3", "127.0.0.1", Port()));
    ASSERT_TRUE(ConnectBack("127.0.0.2", "127.0.0.1", Port()));  // a board answering twice
    ASSERT_TRUE(ProcessUntil([&] { return view.found.size() == 3; }));
    EXPECT_EQ(std::multiset<std::string>(view.found.begin(), view.found.end()),
              (std::multiset<std::string>{"127.0.0.2", "127.0.0.2", "127.0.0.3"}));

    clock.AdvanceMs(std::int64_t(engine->SearchSeconds()) * 1000);  // at the deadline, not past it
    ASSERT_TRUE(ConnectBack("127.0.0.4", "127.0.0.1", Port()));
    ASSERT_TRUE(ProcessUntil([&] { return view.found.size() == 4; }));
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);

    clock.AdvanceMs(1);
    ASSERT_TRUE(WaitDone());
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 1);
    EXPECT_EQ(view.messages.back().msg, WM_VIEW_SEARCH_DONE);
    EXPECT_EQ(view.messages.back().wParam, 0u);
    EXPECT_EQ(view.messages.back().lParam, 0);
    EXPECT_FALSE(engine->IsSearching());
    EXPECT_TRUE(TcpPortFree(Port()));
}

TEST_F(SearchTest, BoardsHoldingTheirConnectionAreAllFoundBeforeTheDone) {
    // Each board's connection is complete before the deadline passes, even
    // if the listener has not taken it yet; none may be lost.
    constexpr int kBoards = 48;
    ASSERT_EQ(engine->StartSearch(), 0);
    searchtest::HeldConnections boards;
    std::set<std::string> expected;
    for (int n = 1; n <= kBoards; ++n) {
        const std::string address = "127.0.1." + std::to_string(n);
        ASSERT_TRUE(boards.Open(address, "127.0.0.1", Port())) << address;
        expected.insert(address);
    }
    PassDeadline();
    ASSERT_TRUE(WaitDone());
    DrainEvents();
    EXPECT_EQ(std::set<std::string>(view.found.begin(), view.found.end()), expected);
    EXPECT_EQ(view.found.size(), expected.size());
    EXPECT_EQ(view.messages.back().msg, WM_VIEW_SEARCH_DONE);
}

TEST_F(SearchTest, SecondStartDuringASearchFailsAndSendsNothing) {
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_EQ(probe.Drain().size(), 2u);
    EXPECT_EQ(engine->StartSearch(), -1);
    EXPECT_EQ(engine->LastSearchFailure().reason, SEARCH_FAIL_RUNNING);
    EXPECT_TRUE(probe.Drain().empty());
    EXPECT_TRUE(engine->IsSearching());
}

TEST_F(SearchTest, NewSearchStartsAsSoonAsTheLastIsDone) {
    for (int round = 1; round <= 3; ++round) {
        ASSERT_EQ(engine->StartSearch(), 0) << "round " << round;
        EXPECT_EQ(probe.Drain().size(), 2u);
        PassDeadline();
        ASSERT_TRUE(WaitDone(round));
    }
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 3);
}

TEST_F(SearchTest, PortInUseFailsWithoutASearch) {
    // Another program listening there; it shares the number with the test's
    // hold on it as the engine would.
    int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(holder, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local = searchtest::SocketAddress("0.0.0.0", Port());
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(::listen(holder, 1), 0);

    EXPECT_EQ(engine->StartSearch(), -1);
    EXPECT_EQ(engine->LastSearchFailure().reason, SEARCH_FAIL_LISTEN);
    EXPECT_EQ(engine->LastSearchFailure().socketError, WSAEADDRINUSE);
    EXPECT_FALSE(engine->IsSearching());
    EXPECT_TRUE(probe.Drain().empty());
    PassDeadline();
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);

    ::close(holder);
    EXPECT_EQ(engine->StartSearch(), 0);  // nothing was left half open
}

TEST_F(SearchTest, PortOutsideTheValidRangeIsRefused) {
    for (int port : {0, -1, 65536}) {
        engine->SetSearchPort(port);
        EXPECT_EQ(engine->StartSearch(), -1) << port;
        EXPECT_EQ(engine->LastSearchFailure().reason, SEARCH_FAIL_PORT);
        EXPECT_FALSE(engine->IsSearching());
    }
}

TEST_F(SearchTest, StopEndsTheListenerLongBeforeItsDeadlineWithoutAReport) {
    EXPECT_EQ(engine->StopSearch(0), 0);  // nothing to stop
    ASSERT_EQ(engine->StartSearch(), 0);
    // The fake clock never reaches the deadline, so only the stop ends it.
    EXPECT_EQ(engine->StopSearch(5000), 0);
    EXPECT_FALSE(engine->IsSearching());
    EXPECT_TRUE(TcpPortFree(Port()));
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);
    EXPECT_EQ(engine->StartSearch(), 0);
}

TEST_F(SearchTest, LateReportOfAStoppedSearchDoesNotEndTheNextOne) {
    ASSERT_EQ(engine->StartSearch(), 0);
    PassDeadline();
    // The listener closes its socket right after its report: once the port
    // is free the report waits in the queue, unhandled.
    ASSERT_TRUE(searchtest::WaitUntil([&] { return TcpPortFree(Port()); }));
    view.messages.clear();
    ASSERT_EQ(engine->StopSearch(0), 0);
    ASSERT_EQ(engine->StartSearch(), 0);
    DrainEvents();
    EXPECT_EQ(view.Count(WM_VIEW_SEARCH_DONE), 0);
    EXPECT_TRUE(engine->IsSearching());
    PassDeadline();
    EXPECT_TRUE(WaitDone());
}

TEST(SearchOwnership, FoundTextsInFlightAreFreedWhenTheViewGoes) {
    CFakeClock clock;
    SearchPort port;  // only for its TCP side
    auto* view = new RecordingView;
    auto* engine = new CCommWnd(view, &clock);
    engine->Interfaces().RemoveAll();
    engine->SetSearchPort(port.Port());
    ASSERT_EQ(engine->StartSearch(), 0);
    ASSERT_TRUE(ConnectBack("127.0.0.2", "127.0.0.1", port.Port(), true));
    ASSERT_TRUE(ConnectBack("127.0.0.3", "127.0.0.1", port.Port(), true));
    // Relay one to the view's queue, leave the other in the engine's.
    QCoreApplication::sendPostedEvents(engine, CWndMessageEvent::EventType());
    delete view;  // takes the engine, which stops its listener; the leak checker does the rest

    auto* orphan = new CCommWnd(nullptr, &clock);  // an engine with no view at all
    orphan->Interfaces().RemoveAll();
    orphan->SetSearchPort(port.Port());
    ASSERT_EQ(orphan->StartSearch(), 0);
    ASSERT_TRUE(ConnectBack("127.0.0.4", "127.0.0.1", port.Port(), true));
    clock.AdvanceMs(std::int64_t(orphan->SearchSeconds()) * 1000 + 1);
    ASSERT_TRUE(ProcessUntil([&] { return !orphan->IsSearching(); }));
    delete orphan;
}

TEST_F(SearchTest, EachSearchReadsOnlyBroadcastBoardIPFromTheProfile) {
    CurrentProfile().WriteText("Settings", "OnlyBroadcastBoardIP", "127.1.2.3");
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_EQ(Destinations(probe.Drain()), std::vector<std::string>{"127.1.255.255"});
    ASSERT_EQ(engine->StopSearch(0), 0);

    CurrentProfile().WriteText("Settings", "OnlyBroadcastBoardIP", "");
    ASSERT_EQ(engine->StartSearch(), 0);
    EXPECT_EQ(probe.Drain().size(), 2u);
    ASSERT_EQ(engine->StopSearch(0), 0);
    CurrentProfile().RemoveSection("Settings");
}

TEST(SearchSettings, SearchTimeIsWhatTheEnginesMakerCopiesIn) {
    CFakeClock clock;
    CurrentProfile().WriteInt("Settings", "ProjectorSearchSecond", 4);
    CCommWnd engine(nullptr, &clock);
    EXPECT_EQ(engine.SearchSeconds(), DEFAULT_SEARCH_SECONDS);  // making an engine reads no profile
    engine.SetSearchSeconds(CValue().GetProjectorSearchSecond());
    EXPECT_EQ(engine.SearchSeconds(), 4);
    CurrentProfile().RemoveSection("Settings");
}
