// The console's own board dialogue (information exchange, login, status poll)
// against simulated boards: the simulator must be a board the console can
// read, faults included. Binds port 7, so it runs in a private network namespace.
#include <memory>

#include <gtest/gtest.h>

#include "support/TestAddress.h"

#include <unistd.h>

#include "BoardSim.h"
#include "comm/CommDefs.h"
#include "comm/DirectSession.h"

namespace {

constexpr int TIMEOUT_MS = 5000;

std::string Address(int host) { return TestLoopbackAddress(host); }

class ConsoleDialogue : public ::testing::Test {
protected:
    void StartBoard(const std::string& members) {
        SimFleet fleet;
        std::string error;
        const std::string json = "{\"searchPort\": -1, \"boards\": [{\"address\": \"" + Address(1) +
                                 "\", \"commandPort\": 0, " + members + "}]}";
        ASSERT_TRUE(CFleetFile::Parse(json, fleet, error)) << error;
        m_sim = std::make_unique<CBoardSim>(std::move(fleet));
        ASSERT_TRUE(m_sim->Start(error)) << error;
    }

    // A fresh session for the board, driven step by step by the test.
    CValueProjectorInfo& Session(const std::string& user = {}, const std::string& password = {}) {
        CProjectorInfo record;
        record.ipAddress = Address(1);
        record.userName = user;
        record.password = password;
        m_direct = std::make_unique<CDirectSession>(record);
        return m_direct->Session();
    }

    void Fault(const std::string& rest) { ASSERT_EQ(m_sim->Apply("fault " + Address(1) + " " + rest).rfind("OK", 0), 0u); }

    std::unique_ptr<CBoardSim> m_sim;
    std::unique_ptr<CDirectSession> m_direct;
};

const char* FULL_BOARD = R"("hostName": "PJ-HALL", "projectorName": "Hall", "model": "LX-7800",
    "serial": "SN-7", "errorBits": 0, "lamps": [{"state": 1, "hours": 1234, "minutes": 30, "life": 62},
    {"state": 0, "hours": 1100, "minutes": 15, "life": 70}], "input": "video", "videoInput": 3,
    "signal": "NTSC", "ttav": "T1")";

}  // namespace

TEST_F(ConsoleDialogue, FullPollReadsEveryValue) {
    StartBoard(FULL_BOARD);
    CValueProjectorInfo& session = Session();
    ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
    EXPECT_EQ(session.HostName(), "PJ-HALL");
    ASSERT_EQ(session.Login(TIMEOUT_MS), RC_OK);
    ASSERT_EQ(session.PollStatus(TIMEOUT_MS, false), RC_OK);
    const CProjectorInfo polled = session.WorkingSnapshot();
    EXPECT_EQ(polled.name, "Hall");
    EXPECT_EQ(polled.power, POWER_ON);
    EXPECT_EQ(polled.status, STATUS_NORMAL);
    EXPECT_EQ(polled.model, "LX-7800");
    EXPECT_EQ(polled.lampState, 2);  // codes 1 and 0 combine to 1
    EXPECT_EQ(polled.lampHours, 1234);
    EXPECT_EQ(polled.lampMinutes, 30);
    EXPECT_EQ(polled.lampLife, 62);
    EXPECT_EQ(polled.input, INPUT_VIDEO_BASE + 3);
    EXPECT_EQ(polled.inputSignal, "NTSC");
    EXPECT_EQ(polled.serialNumber, "SN-7");
    EXPECT_EQ(polled.ttavText, "T1");
}

TEST_F(ConsoleDialogue, SplitAndDelayedRepliesStillReadWhole) {
    StartBoard(std::string(FULL_BOARD) + R"(, "login": true, "user": "admin", "password": "secret")");
    Fault("info split pieces=5 gap=30");
    Fault("login split pieces=2 gap=30");
    Fault("* split pieces=3 gap=20");
    Fault("MNRD___1 delay 150");
    CValueProjectorInfo& session = Session("admin", "secret");
    ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
    ASSERT_EQ(session.Login(TIMEOUT_MS), RC_OK);
    ASSERT_EQ(session.PollStatus(TIMEOUT_MS, false), RC_OK);
    const CProjectorInfo polled = session.WorkingSnapshot();
    EXPECT_EQ(polled.name, "Hall");
    EXPECT_EQ(polled.model, "LX-7800");
    EXPECT_EQ(polled.inputSignal, "NTSC");
}

TEST_F(ConsoleDialogue, LoginOutcomes) {
    StartBoard(R"("login": true, "user": "admin", "password": "secret")");
    {
        CValueProjectorInfo& session = Session("admin", "nope");
        ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
        EXPECT_EQ(session.LoginRequired(), 1);
        EXPECT_EQ(session.Login(TIMEOUT_MS), RC_LOGIN_REFUSED);
    }
    Fault("login badprompt");
    CValueProjectorInfo& session = Session("admin", "secret");
    ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
    EXPECT_EQ(session.Login(TIMEOUT_MS), RC_REFUSED);
}

TEST_F(ConsoleDialogue, RefusalsAndMissingCommandPort) {
    StartBoard(R"("projectorName": "P")");
    CValueProjectorInfo& session = Session();
    Fault("info yourip times=1");
    EXPECT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_REFUSED);
    Fault("info busy times=1");
    EXPECT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_REFUSED);
    ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
    ASSERT_EQ(session.Login(TIMEOUT_MS), RC_OK);
    Fault("POWR???? err times=2");  // the console retries an ERR twice
    ASSERT_EQ(session.PollStatus(TIMEOUT_MS, true), RC_OK);
    EXPECT_EQ(session.WorkingSnapshot().power, POWER_ON);
    Fault("TABN___1 yourip");
    EXPECT_EQ(session.PollStatus(TIMEOUT_MS, false), RC_REFUSED);
}

TEST_F(ConsoleDialogue, NoCommandPortLineLeavesLoginWithoutAPort) {
    StartBoard(R"("projectorName": "P")");
    Fault("info nocomrpt");
    CValueProjectorInfo& session = Session();
    ASSERT_EQ(session.QueryBoardInfo(TIMEOUT_MS), RC_OK);
    EXPECT_EQ(session.Login(TIMEOUT_MS), RC_INVALID);
}
