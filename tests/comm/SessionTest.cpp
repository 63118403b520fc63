// The board dialogue and the session thread against simulated boards served
// in-process on loopback addresses (port 7 needs the private namespace the
// test runner provides).
#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include <arpa/inet.h>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "SearchTestSupport.h"
#include "support/LoopbackFleet.h"
#include "comm/CommDefs.h"
#include "comm/DirectSession.h"
#include "platform/TickCount.h"
#include "settings/GroupItem.h"

namespace {

// A small fleet of simulated boards on loopback addresses of its own.
class SimFleetFixture : public ::testing::Test {
protected:
    std::string AddBoard(std::vector<std::string> settings = {}) { return fleet.AddBoard(std::move(settings)); }
    void StartFleet() { fleet.Start(); }
    void Control(const std::string& line) { fleet.Control(line); }
    QJsonObject Stats(const std::string& address) { return fleet.Stats(address); }
    int Sent(const std::string& address, const char* command) { return fleet.Sent(address, command); }
    void TearDown() override { fleet.Stop(); }

    LoopbackFleet fleet;
};

// One session driven step by step on the test's thread.
std::unique_ptr<CDirectSession> Direct(const std::string& address, const std::string& user = {},
                                       const std::string& password = {}) {
    CProjectorInfo record;
    record.ipAddress = address;
    record.userName = user;
    record.password = password;
    return std::make_unique<CDirectSession>(record);
}

using BoardDialogue = SimFleetFixture;

// True while a TCP socket of this network namespace is connected to address
// (connections in TIME_WAIT belong to nobody and do not count).
bool HoldsConnectionTo(const std::string& address) {
    in_addr wanted{};
    inet_pton(AF_INET, address.c_str(), &wanted);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", wanted.s_addr);  // the table's byte order
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (remote.compare(0, 8, hex) == 0 && state != "06")
            return true;
    }
    return false;
}

}  // namespace

TEST_F(BoardDialogue, FullPollReadsTheBoardsState) {
    std::string a = AddBoard({"projectorName Hall", "model LX-9", "serial S-1", "lamps 2", "lamp1.hours 100",
                              "lamp2.hours 250", "lamp2.minutes 15", "input video", "videoInput 3", "power standby"});
    StartFleet();
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    ASSERT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_OK);
    CProjectorInfo r = s->Session().WorkingSnapshot();
    EXPECT_EQ(r.name, "Hall");
    EXPECT_EQ(r.model, "LX-9");
    EXPECT_EQ(r.serialNumber, "S-1");
    EXPECT_EQ(r.power, POWER_STANDBY);
    EXPECT_EQ(r.lampHours, 250);
    EXPECT_EQ(r.lampMinutes, 15);
    EXPECT_EQ(r.input, INPUT_VIDEO_BASE + 3);
    EXPECT_EQ(r.status, STATUS_NORMAL);
    EXPECT_FALSE(s->Session().HostName().empty());
}

TEST_F(BoardDialogue, LoginAcceptedRejectedOrUnexpected) {
    std::string login = AddBoard({"login on", "user admin", "password secret"});
    std::string open = AddBoard();
    StartFleet();
    EXPECT_EQ(Direct(login, "admin", "secret")->Contact(0), RC_OK);
    EXPECT_EQ(Direct(login, "admin", "wrong")->Contact(0), RC_LOGIN_REFUSED);
    EXPECT_EQ(Direct(open, "admin", "secret")->Contact(0), RC_LOGIN_REFUSED);
    auto nobody = Direct(login);
    EXPECT_EQ(nobody->Contact(0), RC_LOGIN_REFUSED);
    EXPECT_EQ(nobody->FailedStep(), ContactStep::Password);  // a login nobody gave is not tried
    EXPECT_EQ(nobody->Session().LoginRequired(), 1);
    EXPECT_EQ(Stats(login)["loginFailures"].toInt(), 1);
}

TEST_F(BoardDialogue, RefusalsOfEveryKind) {
    std::string yourIpInfo = AddBoard();
    std::string busy = AddBoard();
    std::string noPort = AddBoard();
    std::string badPrompt = AddBoard({"login on", "user u", "password p"});
    std::string refuses = AddBoard();
    std::string yourIpPoll = AddBoard();
    StartFleet();
    Control("fault " + yourIpInfo + " info yourip");
    Control("fault " + busy + " info busy");
    Control("fault " + noPort + " info nocomrpt");
    Control("fault " + badPrompt + " login badprompt");
    Control("fault " + refuses + " connect refuse");
    Control("fault " + yourIpPoll + " \"TABN   1\" yourip");
    EXPECT_EQ(Direct(yourIpInfo)->Contact(0), RC_REFUSED);
    EXPECT_EQ(Direct(busy)->Contact(0), RC_REFUSED);
    EXPECT_EQ(Direct(noPort)->Contact(0), RC_INVALID);
    EXPECT_EQ(Direct(badPrompt, "u", "p")->Contact(0), RC_REFUSED);
    EXPECT_EQ(Direct(refuses)->Contact(0), RC_REFUSED);
    auto polled = Direct(yourIpPoll);
    ASSERT_EQ(polled->Contact(0), RC_OK);
    EXPECT_EQ(polled->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_REFUSED);
    EXPECT_EQ(polled->Session().WorkingSnapshot().power, POWER_ON);  // rows before the refusal stay written
}

TEST_F(BoardDialogue, RefusedInformationExchangeStoresNothingNew) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " info yourip");
    CProjectorInfo record;
    record.ipAddress = a;
    record.macAddress = "02:4C:56:00:00:99";  // known from an earlier contact
    CDirectSession direct(record);
    EXPECT_EQ(direct.Contact(0), RC_REFUSED);
    EXPECT_EQ(direct.Session().WorkingSnapshot().macAddress, "02:4C:56:00:00:99");
    EXPECT_EQ(direct.Session().CommandPort(), 0);
}

TEST_F(BoardDialogue, CommandPortOutsideThePortRangeIsRefused) {
    // 70000 and -1 cut to 16 bits are 4464 and 65535; 2^32 + 10000 read into
    // an int without a bound is 10000, the board's own command port.
    const std::vector<std::string> ports = {"70000", "-1", "0", "4294977296"};
    std::vector<std::string> boards;
    for (size_t i = 0; i < ports.size(); ++i)
        boards.push_back(AddBoard());
    StartFleet();
    for (size_t i = 0; i < ports.size(); ++i) {
        Control("fault " + boards[i] + " info comrpt text=" + ports[i]);
        auto s = Direct(boards[i]);
        EXPECT_EQ(s->Contact(0), RC_INVALID) << ports[i];
        EXPECT_EQ(s->FailedStep(), ContactStep::BoardInfo) << ports[i];
        EXPECT_EQ(Stats(boards[i])["commandConnections"].toInt(), 0) << ports[i];
    }
}

TEST_F(BoardDialogue, ErrIsRetriedTwiceThenTaken) {
    std::string a = AddBoard({"projectorName Hall"});
    StartFleet();
    Control("fault " + a + " \"MNRD   1\" err 2");
    Control("fault " + a + " \"SNRD   1\" err");
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    ASSERT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_OK);
    CProjectorInfo r = s->Session().WorkingSnapshot();
    EXPECT_NE(r.model, "----");
    EXPECT_EQ(r.serialNumber, "----");
    EXPECT_EQ(Sent(a, "MNRD   1"), 3);
    EXPECT_EQ(Sent(a, "SNRD   1"), 3);
    EXPECT_EQ(s->Session().SendControl(CONTROL_IMBK_MUTE_ON, BOARD_TIMEOUT_MS), RC_OK);
    EXPECT_EQ(Sent(a, "IMBK   1"), 1);
    EXPECT_EQ(Sent(a, "MUTE   1"), 1);
}

TEST_F(BoardDialogue, ThreeEmptyRepliesCountAsErr) {
    std::string a = AddBoard({"projectorName Hall", "power standby"});
    StartFleet();
    Control("fault " + a + " \"POWR????\" reply text=");
    Control("fault " + a + " \"MNRD   1\" reply times=2 text=");
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    ASSERT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_OK);
    CProjectorInfo r = s->Session().WorkingSnapshot();
    // An empty reply is no "0": the power query failed, so the poll is a
    // communication error, not "normal, standby".
    EXPECT_EQ(r.power, POWER_UNKNOWN);
    EXPECT_EQ(r.status, STATUS_COMM_ERROR);
    EXPECT_EQ(Sent(a, "POWR????"), 3);
    EXPECT_EQ(r.model, "LX-3000");  // answered at the third attempt
    EXPECT_EQ(Sent(a, "MNRD   1"), 3);
}

TEST_F(BoardDialogue, SplitRepliesAndCrlfInformationLines) {
    std::string a = AddBoard({"lineEnd crlf", "projectorName Split"});
    StartFleet();
    Control("fault " + a + " * split pieces=3 gap=30");
    Control("fault " + a + " info split pieces=2 gap=30");
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    ASSERT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_OK);
    EXPECT_EQ(s->Session().WorkingSnapshot().name, "Split");
}

TEST_F(BoardDialogue, FloodWithoutTerminatorEndsTheReceive) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " \"TDSP   1\" flood bytes=5000");
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    EXPECT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_TIMEOUT);
}

TEST_F(BoardDialogue, StopEndsASilentBoardsWaitQuickly) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " \"PJN0   1\" silent");
    auto s = Direct(a);
    ASSERT_EQ(s->Contact(0), RC_OK);
    // Stop once the board holds the query it will never answer.
    std::atomic<std::int64_t> stoppedAt{0};
    std::thread stopper([&] {
        searchtest::WaitUntil([&] { return Sent(a, "PJN0   1") > 0; });
        stoppedAt = TickCount();
        s->Session().SetStopFlag(1);
    });
    EXPECT_EQ(s->Session().PollStatus(BOARD_TIMEOUT_MS, false), RC_STOPPED);
    const auto elapsed = TickCount() - stoppedAt;
    stopper.join();
    EXPECT_GT(stoppedAt.load(), 0);
    EXPECT_LT(elapsed, 250);
}

using LoneSession = SimFleetFixture;

TEST_F(LoneSession, LateReplyAfterATimeOutNeverPairsWithALaterCommand) {
    std::string a = AddBoard({"projectorName Hall", "model LX-9", "power standby"});
    StartFleet();
    constexpr int kTimeoutMs = 800;
    Control("fault " + a + " \"MNRD   1\" delay ms=" + std::to_string(kTimeoutMs * 3) + " times=1");
    CProjectorInfo seed;
    seed.ipAddress = a;
    CDirectSession direct(seed);
    CValueProjectorInfo& session = direct.Session();
    session.SetBoardTimeout(kTimeoutMs);
    session.SetPollRequest(1);
    ASSERT_EQ(session.StartThread(), 0);
    ASSERT_TRUE(direct.WaitPosted(WM_COMM_RESULT, 1, 10000));
    EXPECT_EQ(session.WorkingSnapshot().status, STATUS_COMM_ERROR);

    // The board answers again (the late model reply included): the next poll
    // must not take that reply for the answer to its first command.
    session.SetPollRequest(1);
    ASSERT_TRUE(direct.WaitPosted(WM_COMM_RESULT, 2, 10000));
    CProjectorInfo r = session.WorkingSnapshot();
    EXPECT_EQ(r.power, POWER_STANDBY);
    EXPECT_EQ(r.name, "Hall");
    EXPECT_EQ(r.model, "LX-9");
    EXPECT_EQ(r.status, STATUS_NORMAL);
    EXPECT_EQ(Stats(a)["commandConnections"].toInt(), 2);
}

namespace {

// Sessions with their own worker threads, under a real engine.
class SessionThread : public SimFleetFixture {
protected:
    void SetUp() override { engine = new CCommWnd(&view); }
    void TearDown() override {
        delete engine;
        SimFleetFixture::TearDown();
    }
    CProjectorInfo* Add(const std::string& address, const std::string& user = {}, const std::string& pw = {}) {
        CProjectorInfo seed;
        seed.ipAddress = address;
        seed.userName = user;
        seed.password = pw;
        CProjectorInfo* record = nullptr;
        all.AddCopy(seed, &record);
        EXPECT_EQ(engine->AddProjector(record), 0);
        return record;
    }
    bool WaitMessage(unsigned msg, const void* record, int count = 1, int ms = 10000) {
        return ProcessUntil([&] { return view.Count(msg, record) >= count; }, ms);
    }

    RecordingView view;
    CGroupItem all;  // declared before the engine goes, so records outlive sessions
    CCommWnd* engine = nullptr;
};

}  // namespace

TEST_F(SessionThread, NewProjectorIsContactedAtOnce) {
    std::string a = AddBoard({"projectorName First"});
    StartFleet();
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_CHANGED, record));
    EXPECT_EQ(record->name, "First");
    EXPECT_EQ(record->status, STATUS_NORMAL);
    EXPECT_EQ(record->busy, 0);
    QJsonObject stats = Stats(a);
    EXPECT_EQ(stats["infoConnections"].toInt(), 1);
    EXPECT_EQ(stats["commandConnections"].toInt(), 1);
}

TEST_F(SessionThread, WrongCommandPortIsAConnectionError) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " info comrpt text=4294977296");  // 2^32 + the board's own port
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_STATUS_ERROR, record));
    EXPECT_EQ(record->status, STATUS_CONNECTION_ERROR);
}

TEST_F(SessionThread, CommandIsFollowedByAPowerOnlyPoll) {
    std::string a = AddBoard({"power standby"});
    StartFleet();
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_CHANGED, record));
    EXPECT_EQ(record->power, POWER_STANDBY);
    const int names = Sent(a, "PJN0   1");
    ASSERT_EQ(engine->SendCommand(nullptr, record, CONTROL_POWER_ON), 0);
    EXPECT_EQ(engine->SendCommand(nullptr, record, CONTROL_STANDBY), -1);  // one pending at a time
    ASSERT_TRUE(ProcessUntil([&] { return record->power == POWER_ON; }, 10000));
    EXPECT_EQ(Sent(a, "POWR   1"), 1);
    EXPECT_EQ(Sent(a, "POWR????"), 2);
    EXPECT_EQ(Sent(a, "PJN0   1"), names);
    EXPECT_EQ(Stats(a)["infoConnections"].toInt(), 1);  // the connection was kept
}

TEST_F(SessionThread, CancelledPasswordIsAConnectionErrorAndAskedAgain) {
    std::string a = AddBoard({"login on", "user admin", "password secret"});
    StartFleet();
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_PASSWORD, record));
    CValueProjectorInfo* session = engine->FindSession(record);
    engine->PostMessage(WM_COMM_PASSWORD_ANSWER, reinterpret_cast<WPARAM>(session), 0);
    ASSERT_TRUE(ProcessUntil([&] { return record->status == STATUS_CONNECTION_ERROR; }));
    engine->RequestUpdateAll(0);
    ASSERT_TRUE(WaitMessage(WM_VIEW_PASSWORD, record, 2));
    engine->SetCredentials(record, "admin", "secret", 1);
    engine->PostMessage(WM_COMM_PASSWORD_ANSWER, reinterpret_cast<WPARAM>(session), 1);
    ASSERT_TRUE(ProcessUntil([&] { return record->status == STATUS_NORMAL; }));
    EXPECT_EQ(record->userName, "admin");
}

TEST_F(SessionThread, BoardClosingTheIdleConnectionMeansFirstContactAgain) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " connect idleclose ms=200");
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_CHANGED, record));
    // The board closes the connection after 200 ms of quiet. The session must
    // notice while idle and close its end, so the next request starts with
    // the information exchange instead of failing on the dead connection.
    ASSERT_TRUE(ProcessUntil([&] { return fleet.State(a)["openConnections"].toInt() == 0; }));
    ASSERT_TRUE(ProcessUntil([&] { return !HoldsConnectionTo(a); }));
    engine->RequestUpdateAll(1);
    ASSERT_TRUE(ProcessUntil([&] { return view.Count(WM_VIEW_UPDATE_DONE) == 1; }));
    EXPECT_EQ(Stats(a)["infoConnections"].toInt(), 2);
    EXPECT_EQ(record->status, STATUS_NORMAL);
    EXPECT_EQ(view.Count(WM_VIEW_STATUS_ERROR), 0);
    EXPECT_EQ(Stats(a)["commandConnections"].toInt(), 2);
}

TEST_F(SessionThread, RecordChangeLogsInAgainWithoutInformationExchange) {
    std::string a = AddBoard({"projectorName Before"});
    StartFleet();
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(WaitMessage(WM_VIEW_CHANGED, record));
    const int polls = Sent(a, "PJN0   1");
    Control("set " + a + " projectorName After");
    engine->EditRecord(record, [](CProjectorInfo& r) { r.rememberCredentials = 0; });
    ASSERT_TRUE(ProcessUntil([&] { return record->name == "After"; }));
    QJsonObject stats = Stats(a);
    EXPECT_EQ(stats["infoConnections"].toInt(), 1);
    EXPECT_EQ(stats["commandConnections"].toInt(), 2);
    EXPECT_EQ(Sent(a, "PJN0   1"), polls + 1);
}

TEST_F(SessionThread, FailingBoardsCostOnlyTheirOwnSessions) {
    std::string silent = AddBoard();
    std::string closing = AddBoard();
    std::string garbage = AddBoard();
    std::string healthy = AddBoard({"projectorName Fine"});
    StartFleet();
    Control("fault " + silent + " \"MNRD   1\" silent");
    Control("fault " + closing + " \"TABN   1\" close");
    Control("fault " + garbage + " * garbage");
    Add(silent);
    CProjectorInfo* closed = Add(closing);
    Add(garbage);
    CProjectorInfo* fine = Add(healthy);
    ASSERT_TRUE(ProcessUntil([&] { return closed->status == STATUS_COMM_ERROR && fine->name == "Fine"; }));
    // Two more cycles of the healthy board while the silent one still waits.
    for (int cycle = 0; cycle < 2; ++cycle) {
        int before = view.Count(WM_VIEW_UPDATE, fine) + view.Count(WM_VIEW_CHANGED, fine);
        engine->RequestUpdateAll(0);
        ASSERT_TRUE(ProcessUntil(
            [&] { return view.Count(WM_VIEW_UPDATE, fine) + view.Count(WM_VIEW_CHANGED, fine) >= before + 2; }));
    }
    EXPECT_EQ(fine->status, STATUS_NORMAL);
}

TEST_F(SessionThread, RemovingABlockedProjectorReturnsPromptly) {
    std::string a = AddBoard();
    StartFleet();
    Control("fault " + a + " \"PJN0   1\" silent");
    CProjectorInfo* record = Add(a);
    ASSERT_TRUE(ProcessUntil([&] { return Sent(a, "PJN0   1") > 0; }));
    auto start = TickCount();
    EXPECT_EQ(engine->RemoveProjector(record), 1);
    EXPECT_LT(TickCount() - start, 500);
    EXPECT_EQ(engine->SessionCount(), 0);
}

TEST_F(SessionThread, DestroyingTheEngineEndsEverySessionQuickly) {
    std::vector<std::string> addresses;
    for (int i = 0; i < 40; ++i)
        addresses.push_back(AddBoard());
    StartFleet();
    Control("fault * \"TLTT   1\" silent");
    for (const std::string& a : addresses)
        Add(a);
    ASSERT_TRUE(ProcessUntil([&] {
        for (const std::string& a : addresses)
            if (Sent(a, "TLTT   1") == 0)
                return false;
        return true;
    }));
    auto start = TickCount();
    delete engine;
    engine = nullptr;
    EXPECT_LT(TickCount() - start, 1000);
}
