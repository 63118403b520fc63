// Sessions on a real (if tiny) network: the veth pair of TestNetwork between
// this test's namespace and a namespace of boards. An address of that subnet
// that nobody holds gets no ARP answer, as a switched-off or unplugged
// projector does. Skips itself outside a private network namespace.
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "TestNetwork.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "comm/DirectSession.h"
#include "comm/StreamSocket.h"
#include "platform/AutoResetEvent.h"
#include "platform/TickCount.h"
#include "settings/GroupItem.h"

namespace {

// Addresses of the test subnet that no board holds.
constexpr const char* kSwitchedOff = "10.77.0.77";
constexpr const char* kUnplugged = "10.77.0.78";
// The profile's default client data port range.
constexpr int kDefaultPortStart = 1025;
constexpr int kDefaultPortEnd = 65535;
// A little more than one board time-out: every step must be over by then.
constexpr int kStepBoundMs = BOARD_TIMEOUT_MS + 10000;

class UnreachableBoard : public ::testing::Test {
protected:
    void SetUp() override {
        std::string whyNot;
        if (!network.Build(whyNot))
            GTEST_SKIP() << whyNot;
        ASSERT_TRUE(TestNetwork::OnlyOurLinks());
    }

    TestNetwork network;
};

// Stops a session whose step outlives ms, so a step that never ends shows as
// a failure (RC_STOPPED) instead of a hung test.
class Watchdog {
public:
    Watchdog(CValueProjectorInfo& session, int ms)
        : m_thread([this, &session, ms] {
              std::unique_lock lock(m_lock);
              if (!m_changed.wait_until(lock, TimedWaitDeadline(ms), [this] { return m_done; }))
                  session.SetStopFlag(1);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_lock);
            m_done = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_done = false;
    std::thread m_thread;
};

}  // namespace

TEST_F(UnreachableBoard, ConnectEndsAsATimeOutWithoutWalkingThePortRange) {
    CProjectorInfo record;
    record.ipAddress = kSwitchedOff;
    CDirectSession direct(record, kDefaultPortStart, kDefaultPortEnd);
    CValueProjectorInfo& session = direct.Session();
    session.AdvanceLocalPort();
    const int firstPort = session.LocalPort();
    CStreamSocket socket;
    const auto start = TickCount();
    int r;
    {
        Watchdog watchdog(session, kStepBoundMs);
        r = session.ConnectFromRange(&socket, BOARD_INFO_PORT, BOARD_TIMEOUT_MS);
    }
    EXPECT_STREQ(ResultCodeName(r), ResultCodeName(RC_TIMEOUT));
    EXPECT_LT(TickCount() - start, BOARD_TIMEOUT_MS);
    EXPECT_EQ(session.LocalPort(), firstPort);  // no other local port was tried
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(UnreachableBoard, WalkingThePortRangeEndsAtTheStepsTimeOut) {
    // A blackhole route fails every connect at once, so each local port of
    // the range is tried in turn; only the step's time-out can end the walk
    // before the whole range is through.
    ASSERT_EQ(std::system("ip route add blackhole 10.78.0.0/24"), 0);
    CProjectorInfo record;
    record.ipAddress = "10.78.0.1";
    CDirectSession direct(record, kDefaultPortStart, kDefaultPortEnd);
    CValueProjectorInfo& session = direct.Session();
    session.AdvanceLocalPort();
    CStreamSocket socket;
    constexpr int kTimeoutMs = 100;
    EXPECT_STREQ(ResultCodeName(session.ConnectFromRange(&socket, BOARD_INFO_PORT, kTimeoutMs)),
              ResultCodeName(RC_TIMEOUT));
    EXPECT_NE(session.LocalPort(), kDefaultPortStart);  // it did walk
    EXPECT_FALSE(socket.IsOpen());
}

TEST_F(UnreachableBoard, SessionReportsACommunicationErrorWithOrWithoutARange) {
    CGroupItem all;  // outlives the view, which takes the engines and their sessions with it
    RecordingView view;
    auto* ranged = new CCommWnd(&view);
    ranged->SetPortRange(kDefaultPortStart, kDefaultPortEnd);
    auto* unranged = new CCommWnd(&view);
    CProjectorInfo seed;
    CProjectorInfo* off = nullptr;
    CProjectorInfo* unplugged = nullptr;
    seed.ipAddress = kSwitchedOff;
    ASSERT_EQ(all.AddCopy(seed, &off), 0);
    seed.ipAddress = kUnplugged;
    ASSERT_EQ(all.AddCopy(seed, &unplugged), 0);
    ASSERT_EQ(ranged->AddProjector(off), 0);
    ASSERT_EQ(unranged->AddProjector(unplugged), 0);
    ranged->RequestUpdateAll(1);
    unranged->RequestUpdateAll(1);

    // Each tracked cycle ends with its board's result, and both results are
    // communication errors announced once.
    ASSERT_TRUE(ProcessUntil([&] { return view.Count(WM_VIEW_UPDATE_DONE) == 2; }, kStepBoundMs));
    for (CProjectorInfo* record : {off, unplugged}) {
        EXPECT_EQ(record->status, STATUS_COMM_ERROR) << record->ipAddress;
        EXPECT_EQ(record->busy, 0) << record->ipAddress;
        EXPECT_EQ(view.Count(WM_VIEW_STATUS_ERROR, record), 1) << record->ipAddress;
    }
}
