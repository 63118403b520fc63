// The status poll's reply parsing and row order, driven without sockets: a
// fake board answers each query from a table, the way PollStatus walks it.
#include <climits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "comm/CommDefs.h"
#include "comm/ClientPortRange.h"
#include "comm/ProjectorInfo.h"
#include "comm/ValueProjectorInfo.h"

namespace {

struct PollRun {
    CProjectorInfo record;
    std::vector<std::string> sent;
};

// Answers every query from replies ("ERR" when absent), following the rows.
PollRun Poll(const std::map<std::string, std::string>& replies, bool powerOnly = false,
             const std::string& hostName = "host-1", CProjectorInfo start = {}) {
    PollRun run;
    run.record = start;
    PollState state;
    for (int row = 0; row >= 0 && row < STATUS_ROW_COUNT;) {
        const std::string command = kStatusCommands[row];
        run.sent.push_back(command);
        auto it = replies.find(command);
        row = CValueProjectorInfo::ApplyStatusReply(row, it == replies.end() ? "ERR" : it->second, powerOnly,
                                                    hostName, state, run.record);
    }
    return run;
}

std::map<std::string, std::string> HealthyTwoLampBoard() {
    return {{"POWR????", "1"},        {"PJN0   1", "Hall A"},  {"MNRD   1", "LX-500"}, {"TABN   1", "0"},
            {"TLPS   1", "1"},        {"TLPS   2", "0"},       {"TLTT   1", "1200"},   {"TLTT   2", "900"},
            {"TLTM   1", "30"},       {"TLTM   2", "45"},      {"TLTL   1", "60"},     {"TLTL   2", "75"},
            {"IMOD????", "1"},        {"IRGB????", "2"},       {"IVED????", "4"},     {"TDSP   1", "1024 x 768"},
            {"SNRD   1", "SN-0001"}, {"TTAV   1", "  12 34 "}};
}

bool Sent(const PollRun& run, const std::string& command) {
    return std::find(run.sent.begin(), run.sent.end(), command) != run.sent.end();
}

}  // namespace

TEST(StatusPoll, HealthyBoardFillsEveryField) {
    PollRun run = Poll(HealthyTwoLampBoard());
    const CProjectorInfo& r = run.record;
    EXPECT_EQ(r.power, POWER_ON);
    EXPECT_EQ(r.name, "Hall A");
    EXPECT_EQ(r.model, "LX-500");
    EXPECT_EQ(r.status, STATUS_NORMAL);
    EXPECT_EQ(r.lampState, 2);  // codes 1 and 0 combine to 1
    EXPECT_EQ(r.lampHours, 1200);
    EXPECT_EQ(r.lampMinutes, 30);
    EXPECT_EQ(r.lamp1Time, "1200");
    EXPECT_EQ(r.lamp2Time, "900");
    EXPECT_EQ(r.lampLife, 60);
    EXPECT_EQ(r.input, 2);
    EXPECT_EQ(r.inputSignal, "1024 x 768");
    EXPECT_EQ(r.serialNumber, "SN-0001");
    EXPECT_EQ(r.ttavText, "12 34");
    EXPECT_EQ(run.sent.size(), 17u);  // one of the two input queries only
    EXPECT_FALSE(Sent(run, "IVED????"));
}

TEST(StatusPoll, PowerOnlyPollAsksPowerAlone) {
    CProjectorInfo start;
    start.name = "kept";
    PollRun run = Poll({{"POWR????", "0"}}, true, "h", start);
    EXPECT_EQ(run.sent, std::vector<std::string>{"POWR????"});
    EXPECT_EQ(run.record.power, POWER_STANDBY);
    EXPECT_EQ(run.record.name, "kept");
}

TEST(StatusPoll, ErrOnPowerQueryMakesCommError) {
    auto replies = HealthyTwoLampBoard();
    replies["POWR????"] = "ERR";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.power, POWER_UNKNOWN);
    EXPECT_EQ(run.record.status, STATUS_COMM_ERROR);
    replies["POWR????"] = "7";
    EXPECT_EQ(Poll(replies).record.power, POWER_UNKNOWN);
    EXPECT_EQ(Poll(replies).record.status, STATUS_NORMAL);
}

TEST(StatusPoll, ErrorBitsPickTheFirstInBoardOrder) {
    auto replies = HealthyTwoLampBoard();
    const std::pair<const char*, int> cases[] = {
        {"65", STATUS_TEMP_BIT6}, {"128", STATUS_UNKNOWN}, {"0", STATUS_NORMAL},  {"1", STATUS_TEMP_BIT0},
        {"2", STATUS_FAN},        {"6", STATUS_FILTER_COVER}, {"8", STATUS_LAMP_BIT3}, {"24", STATUS_LAMP_BIT4},
        {"48", STATUS_LAMP_BIT5}, {"-3", STATUS_UNKNOWN}, {"ERR", STATUS_UNKNOWN}, {" 4x", STATUS_FILTER_COVER},
    };
    for (const auto& [reply, status] : cases) {
        replies["TABN   1"] = reply;
        EXPECT_EQ(Poll(replies).record.status, status) << reply;
    }
}

TEST(StatusPoll, SingleLampBoardUsesLampOneOnly) {
    auto replies = HealthyTwoLampBoard();
    for (const char* c : {"TLPS   2", "TLTT   2", "TLTM   2", "TLTL   2"})
        replies[c] = "ERR";
    replies["TLPS   1"] = "2";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.lampState, 3);
    EXPECT_EQ(run.record.lampHours, 1200);
    EXPECT_EQ(run.record.lampMinutes, 30);
    EXPECT_EQ(run.record.lampLife, 60);
    EXPECT_EQ(run.record.lamp2Time, "");
}

TEST(StatusPoll, LampCodesCombine) {
    auto replies = HealthyTwoLampBoard();
    const struct { const char* one; const char* two; int state; } cases[] = {
        {"3", "0", 4}, {"2", "1", 2}, {"0", "0", 1}, {"3", "2", 3}, {"3", "3", 4}, {"0", "9", 1},
    };
    for (const auto& c : cases) {
        replies["TLPS   1"] = c.one;
        replies["TLPS   2"] = c.two;
        EXPECT_EQ(Poll(replies).record.lampState, c.state) << c.one << "+" << c.two;
    }
    replies["TLPS   1"] = "4";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.lampState, 0);
    EXPECT_FALSE(Sent(run, "TLPS   2"));
}

TEST(StatusPoll, LampHoursTakeTheLampWithMostHoursAndQuarterMinutes) {
    auto replies = HealthyTwoLampBoard();
    replies["TLTT   2"] = "1500";
    replies["TLTM   2"] = "15";
    EXPECT_EQ(Poll(replies).record.lampHours, 1500);
    EXPECT_EQ(Poll(replies).record.lampMinutes, 30);  // lamp 1's 30 was taken first and is larger
    replies["TLTM   1"] = "20";
    replies["TLTM   2"] = "20";
    EXPECT_EQ(Poll(replies).record.lampMinutes, -1);
    replies["TLTT   1"] = "12a";
    replies["TLTT   2"] = "ERR";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.lamp1Time, "");
    EXPECT_EQ(run.record.lampHours, -1);
    EXPECT_EQ(run.record.HoursText(), "----");
}

TEST(StatusPoll, LampLifeIsTheSmallerAndDashesStopTheSecondQuery) {
    auto replies = HealthyTwoLampBoard();
    replies["TLTL   1"] = "---";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.lampLife, -1);
    EXPECT_FALSE(Sent(run, "TLTL   2"));
    replies["TLTL   1"] = "80";
    replies["TLTL   2"] = "10000";
    EXPECT_EQ(Poll(replies).record.lampLife, -1);
    replies["TLTL   2"] = "ERR";
    EXPECT_EQ(Poll(replies).record.lampLife, 80);
}

TEST(StatusPoll, LampLifeBoundsAndNumbersBeyondAnInt) {
    auto replies = HealthyTwoLampBoard();
    replies["TLTL   1"] = "9999";
    replies["TLTL   2"] = "ERR";
    EXPECT_EQ(Poll(replies).record.lampLife, 9999);
    replies["TLTL   2"] = "9999";
    EXPECT_EQ(Poll(replies).record.lampLife, 9999);
    replies["TLTL   1"] = "10000";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.lampLife, -1);
    EXPECT_FALSE(Sent(run, "TLTL   2"));
    // 2^32 + 50 is no 50: a number too large for an int stays too large.
    replies["TLTL   1"] = "4294967346";
    EXPECT_EQ(Poll(replies).record.lampLife, -1);
}

TEST(StatusPoll, InputFamilySelectsTheInputQuery) {
    auto replies = HealthyTwoLampBoard();
    replies["IMOD????"] = "2";
    replies["IVED????"] = "3";
    PollRun run = Poll(replies);
    EXPECT_EQ(run.record.input, INPUT_VIDEO_BASE + 3);
    EXPECT_FALSE(Sent(run, "IRGB????"));
    replies["IMOD????"] = "3";
    run = Poll(replies);
    EXPECT_EQ(run.record.input, 0);
    EXPECT_FALSE(Sent(run, "IRGB????"));
    EXPECT_FALSE(Sent(run, "IVED????"));
    replies["IMOD????"] = "1";
    replies["IRGB????"] = "7";
    EXPECT_EQ(Poll(replies).record.input, 0);
}

TEST(StatusPoll, ErrAnswersGiveTheirPlaceholders) {
    PollRun run = Poll({{"POWR????", "1"}, {"TABN   1", "0"}}, false, "");
    EXPECT_EQ(run.record.name, "----");
    EXPECT_EQ(run.record.model, "----");
    EXPECT_EQ(run.record.inputSignal, "----");
    EXPECT_EQ(run.record.serialNumber, "----");
    EXPECT_EQ(run.record.ttavText, "");
    EXPECT_EQ(Poll({}, false, "board-host").record.name, "board-host");
}

TEST(BoardInfo, LineParsingByKey) {
    std::string value;
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("PASSWD:YES", value), 0);
    EXPECT_EQ(value, "YES");
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("COMRPT:10001", value), 1);
    EXPECT_EQ(value, "10001");
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("SERIAL:", value), 5);
    EXPECT_EQ(value, "");
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("pj-host", value), -1);
    EXPECT_EQ(value, "pj-host");
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("OTHER:1", value), -1);
    EXPECT_EQ(value, "");
    EXPECT_EQ(CValueProjectorInfo::ParseBoardLine("passwd:YES", value), -1);  // keys are case-sensitive
}

TEST(ControlCommands, TableAndBounds) {
    EXPECT_STREQ(CValueProjectorInfo::ControlCommand(CONTROL_POWER_ON), "POWR   1");
    EXPECT_STREQ(CValueProjectorInfo::ControlCommand(CONTROL_RGB1 + 5), "IRGB   6");
    EXPECT_STREQ(CValueProjectorInfo::ControlCommand(CONTROL_VIDEO1), "IVED   1");
    EXPECT_STREQ(CValueProjectorInfo::ControlCommand(CONTROL_LNST_OFF), "LNST   0");
    EXPECT_EQ(CValueProjectorInfo::ControlCommand(-1), nullptr);
    EXPECT_EQ(CValueProjectorInfo::ControlCommand(22), nullptr);
    CValueProjectorInfo session(nullptr, nullptr);
    EXPECT_EQ(session.SendControl(22, 1000), RC_BAD_COMMAND);
    EXPECT_EQ(session.SendControl(-1, 1000), RC_BAD_COMMAND);
}

TEST(LocalPort, WalksTheRangeAndWraps) {
    CClientPortRange range;
    EXPECT_EQ(range.Next(0), 0);
    range.Set(5000, 4998);
    int port = 0;
    std::vector<int> walked;
    for (int i = 0; i < 4; ++i)
        walked.push_back(port = range.Next(port));
    EXPECT_EQ(walked, (std::vector<int>{4998, 4999, 5000, 4998}));
    EXPECT_EQ(range.Next(7000), 4998);
    // A hand-edited profile may hold any whole number: the top of the int
    // range wraps to the low end instead of overflowing.
    range.Set(INT_MAX - 1, INT_MAX);
    EXPECT_EQ(range.Next(INT_MAX - 1), INT_MAX);
    EXPECT_EQ(range.Next(INT_MAX), INT_MAX - 1);
    range.Set(INT_MIN, INT_MIN + 1);
    EXPECT_EQ(range.Next(INT_MIN + 1), INT_MIN);
}

TEST(ResultCodes, NamesForTheCommandLine) {
    EXPECT_STREQ(ResultCodeName(RC_REFUSED), "RC_REFUSED");
    EXPECT_STREQ(ResultCodeName(RC_OK), "RC_OK");
    EXPECT_STREQ(ResultCodeName(RC_LOGIN_REFUSED), "RC_LOGIN_REFUSED");
    EXPECT_STREQ(ResultCodeName(42), "RC_UNKNOWN");
}
