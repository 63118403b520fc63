#include "SimBoard.h"

#include <gtest/gtest.h>

namespace {

CSimBoard MakeBoard(std::initializer_list<std::pair<const char*, const char*>> fields) {
    CSimBoard board("127.9.0.1");
    std::string error;
    for (const auto& [name, value] : fields)
        EXPECT_TRUE(board.SetField(name, value, error)) << name << ": " << error;
    return board;
}

CBoardFault Fault(const std::string& target, const std::string& kind,
                  std::initializer_list<std::pair<const char*, const char*>> params = {}) {
    CBoardFault fault;
    std::string error;
    EXPECT_TRUE(fault.Init(target, kind, error)) << error;
    for (const auto& [name, value] : params)
        EXPECT_TRUE(fault.Set(name, value, error)) << error;
    return fault;
}

}  // namespace

TEST(SimBoardAnswer, StatusQueriesReportTheBoardState) {
    CSimBoard board = MakeBoard({{"projectorName", "Hall"}, {"model", "LX-1"}, {"errorBits", "65"},
                                 {"lamps", "2"}, {"lamp1.state", "3"}, {"lamp1.hours", "1234"},
                                 {"lamp2.minutes", "20"}, {"lamp2.life", "---"}, {"signal", "1024 x 768"},
                                 {"serial", "SN1"}, {"ttav", " T "}});
    EXPECT_EQ(board.Answer("POWR????"), "1");
    EXPECT_EQ(board.Answer("PJN0   1"), "Hall");
    EXPECT_EQ(board.Answer("MNRD   1"), "LX-1");
    EXPECT_EQ(board.Answer("TABN   1"), "65");
    EXPECT_EQ(board.Answer("TLPS   1"), "3");
    EXPECT_EQ(board.Answer("TLTT   1"), "1234");
    EXPECT_EQ(board.Answer("TLTM   2"), "20");
    EXPECT_EQ(board.Answer("TLTL   2"), "---");
    EXPECT_EQ(board.Answer("IMOD????"), "1");
    EXPECT_EQ(board.Answer("IRGB????"), "1");
    EXPECT_EQ(board.Answer("TDSP   1"), "1024 x 768");
    EXPECT_EQ(board.Answer("SNRD   1"), "SN1");
    EXPECT_EQ(board.Answer("TTAV   1"), " T ");
}

TEST(SimBoardAnswer, ErrForUnknownMissingOrMalformed) {
    CSimBoard board = MakeBoard({{"lamps", "1"}});
    EXPECT_EQ(board.Answer("PJN0   1"), "ERR");  // no projector name configured
    for (const char* lamp2 : {"TLPS   2", "TLTT   2", "TLTM   2", "TLTL   2"})
        EXPECT_EQ(board.Answer(lamp2), "ERR") << lamp2;
    EXPECT_EQ(board.Answer("TLPS   1"), "1");
    EXPECT_EQ(board.Answer("ABCD????"), "ERR");
    EXPECT_EQ(board.Answer("POWR???"), "ERR");
    EXPECT_EQ(board.Answer("MNRD   2"), "ERR");
    EXPECT_EQ(board.Answer("IRGB   7"), "ERR");
    EXPECT_EQ(board.Answer("POWR   5"), "ERR");
}

TEST(SimBoardAnswer, ControlCommandsChangeState) {
    CSimBoard board("127.9.0.1");
    EXPECT_NE(board.Answer("POWR   0"), "ERR");
    EXPECT_EQ(board.Answer("POWR????"), "0");
    EXPECT_NE(board.Answer("IVED   3"), "ERR");
    EXPECT_EQ(board.Answer("IMOD????"), "2");
    EXPECT_EQ(board.Answer("IVED????"), "3");
    EXPECT_NE(board.Answer("IRGB   4"), "ERR");
    EXPECT_EQ(board.Answer("IMOD????"), "1");
    EXPECT_EQ(board.Answer("IRGB????"), "4");
    for (const char* name : {"IMBK", "MUTE", "LNST"}) {
        EXPECT_NE(board.Answer(std::string(name) + "   1"), "ERR");
        EXPECT_EQ(board.Answer(std::string(name) + "????"), "1");
    }
    EXPECT_TRUE(board.Settings().imbk && board.Settings().mute && board.Settings().lnst);
}

TEST(SimBoardInfo, ReplyListsKeysInOrderWithChosenLineEnds) {
    CSimBoard board = MakeBoard({{"hostName", "PJ-1"}, {"login", "1"}, {"commandPort", "10007"},
                                 {"model", "LX-9"}, {"serial", "SN9"}});
    EXPECT_EQ(board.InfoReply({}), "PJ-1\nPASSWD:YES\nCOMRPT:10007\nMDLNAM:LX-9\nRDPORT:FREE\n"
                                   "ANADDR:127.9.0.1\nSERIAL:SN9\n");
    std::string error;
    ASSERT_TRUE(board.SetField("lineEnd", "crlf", error));
    FaultPlan plan;
    plan.busy = true;
    plan.noComRpt = true;
    EXPECT_EQ(board.InfoReply(plan), "PJ-1\r\nPASSWD:YES\r\nMDLNAM:LX-9\r\nRDPORT:BUSY\r\n"
                                     "ANADDR:127.9.0.1\r\nSERIAL:SN9\r\n");
    FaultPlan wrapped;
    wrapped.comRpt = "70000";
    EXPECT_NE(board.InfoReply(wrapped).find("\r\nCOMRPT:70000\r\n"), std::string::npos);
}

TEST(SimBoardFields, RejectsBadValuesAndKeepsState) {
    CSimBoard board("127.9.0.1");
    std::string error;
    EXPECT_FALSE(board.SetField("power", "maybe", error));
    EXPECT_FALSE(board.SetField("computerInput", "7", error));
    EXPECT_FALSE(board.SetField("lamp2.hours", "5", error));  // only one lamp
    EXPECT_NE(error.find("lamps 2"), std::string::npos);
    EXPECT_FALSE(board.SetField("lamps", "3", error));
    EXPECT_FALSE(board.SetField("commandPort", "70000", error));
    EXPECT_FALSE(board.SetField("hostname", "x", error));
    EXPECT_NE(error.find("unknown field"), std::string::npos);
    EXPECT_TRUE(board.Settings().powerOn);
    EXPECT_EQ(board.Settings().lamps.size(), 1u);
}

TEST(SimBoardFaults, CountedRulesExpireAndSpecificComesFirst) {
    CSimBoard board("127.9.0.1");
    board.AddFault(Fault("*", "err", {{"times", "1"}}));
    board.AddFault(Fault("POWR????", "reply", {{"text", "7"}, {"times", "2"}}));
    board.AddFault(Fault("POWR????", "delay", {{"ms", "30"}}));

    FaultPlan first = board.TakeFaults("POWR????");
    ASSERT_TRUE(first.content);
    EXPECT_EQ(first.content->Kind(), FaultKind::Reply);
    EXPECT_EQ(first.delayMs, 30);

    // The "*" rule was not used by the command that had its own content rule.
    FaultPlan other = board.TakeFaults("MNRD   1");
    ASSERT_TRUE(other.content);
    EXPECT_EQ(other.content->Kind(), FaultKind::Err);
    EXPECT_FALSE(board.TakeFaults("MNRD   1").content);

    EXPECT_TRUE(board.TakeFaults("POWR????").content);
    EXPECT_FALSE(board.TakeFaults("POWR????").content);
    EXPECT_EQ(board.Faults().size(), 1u);  // the unlimited delay stays
}

TEST(SimBoardFaults, PhaseRulesOnlyFitTheirPhase) {
    CBoardFault fault;
    std::string error;
    EXPECT_FALSE(fault.Init("info", "err", error));
    EXPECT_FALSE(fault.Init("POWR????", "refuse", error));
    EXPECT_FALSE(fault.Init("POWR", "err", error));
    EXPECT_FALSE(fault.Init("*", "explode", error));
    ASSERT_TRUE(fault.Init("connect", "refuse", error));
    EXPECT_FALSE(fault.Set("times", "2", error));

    CSimBoard board("127.9.0.1");
    board.AddFault(Fault("connect", "refuse"));
    board.AddFault(Fault("connect", "idleclose", {{"ms", "250"}}));
    board.AddFault(Fault("info", "busy", {{"times", "1"}}));
    EXPECT_TRUE(board.RefusesConnections());
    EXPECT_EQ(board.IdleCloseMs(), 250);
    EXPECT_FALSE(board.TakeFaults("POWR????").busy);
    EXPECT_TRUE(board.TakeFaults("info").busy);
    EXPECT_FALSE(board.TakeFaults("info").busy);
    EXPECT_EQ(board.ClearFaults("connect"), 2);
    EXPECT_FALSE(board.RefusesConnections());
}
