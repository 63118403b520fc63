#include "FleetFile.h"

#include <gtest/gtest.h>

namespace {

std::string ParseError(const std::string& json) {
    SimFleet fleet;
    std::string error;
    EXPECT_FALSE(CFleetFile::Parse(json, fleet, error)) << json;
    return error;
}

}  // namespace

TEST(FleetFileParse, ReadsEveryKindOfMember) {
    const std::string json = R"({"searchPort": 0, "boards": [
        {"address": "127.9.1.1", "hostName": "PJ-A", "projectorName": "A", "login": true,
         "user": "admin", "password": "secret", "power": "standby", "errorBits": 8,
         "lamps": [{"state": 3, "hours": 10, "minutes": 45, "life": "---"}, {"hours": 20}],
         "input": "video", "videoInput": 4, "lineEnd": "crlf", "commandPort": 0, "search": false,
         "faults": [{"on": "POWR????", "kind": "err", "times": 2},
                    {"on": "info", "kind": "split", "pieces": 4, "gap": 10},
                    {"on": "login", "kind": "yourip", "text": "Your IP is banned\r\n"}]},
        {"address": "127.9.1.2"}]})";
    SimFleet fleet;
    std::string error;
    ASSERT_TRUE(CFleetFile::Parse(json, fleet, error)) << error;
    EXPECT_EQ(fleet.searchPort, 0);
    ASSERT_EQ(fleet.boards.size(), 2u);
    const SimBoardSettings& a = fleet.boards[0]->Settings();
    EXPECT_EQ(a.hostName, "PJ-A");
    EXPECT_TRUE(a.loginRequired);
    EXPECT_FALSE(a.powerOn);
    ASSERT_EQ(a.lamps.size(), 2u);
    EXPECT_EQ(a.lamps[0].life, -1);
    EXPECT_EQ(a.lamps[1].hours, 20);
    EXPECT_EQ(a.input, SimInput::Video);
    EXPECT_EQ(a.videoInput, 4);
    EXPECT_TRUE(a.crlf);
    EXPECT_FALSE(a.searchAnswer);
    ASSERT_EQ(fleet.boards[0]->Faults().size(), 3u);
    EXPECT_EQ(fleet.boards[0]->Faults()[0].Times(), 2);
    EXPECT_EQ(fleet.boards[0]->Faults()[2].Text(), "Your IP is banned\r\n");
    EXPECT_EQ(fleet.boards[1]->Settings().hostName, "NB-127-9-1-2");
}

TEST(FleetFileParse, WrittenFleetReadsBackTheSame) {
    SimFleet demo = CFleetFile::Demo();
    std::string error;
    ASSERT_TRUE(demo.boards[0]->SetField("ttav", "tab\there", error));
    CBoardFault fault;
    ASSERT_TRUE(fault.Init("TLPS   2", "garbage", error));
    demo.boards[2]->AddFault(fault);
    const std::string written = CFleetFile::Write(demo);
    SimFleet again;
    ASSERT_TRUE(CFleetFile::Parse(written, again, error)) << error;
    EXPECT_EQ(CFleetFile::Write(again), written);
}

TEST(FleetFileParse, ErrorsNameTheBoardAndTheProblem) {
    EXPECT_NE(ParseError("{\"boards\": [\n{\"address\": \"127.9.1.1\",,}]}").find("line 2"), std::string::npos);
    EXPECT_NE(ParseError("[]").find("JSON object"), std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": []})").find("non-empty"), std::string::npos);
    EXPECT_NE(ParseError(R"({"board": []})").find("unknown member \"board\""), std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"hostName": "x"}]})").find("board 1 needs an \"address\""),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.300"}]})").find("dotted"), std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.1"}, {"address": "127.9.1.1"}]})").find("used twice"),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.1", "colour": "red"}]})")
                  .find("board 1 (127.9.1.1): unknown field \"colour\""),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.1", "errorBits": 1.5}]})").find("errorBits"),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.1", "lamps": [{}, {}, {}]}]})").find("one or two"),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"boards": [{"address": "127.9.1.1", "faults": [{"on": "info", "kind": "err"}]}]})")
                  .find("faults[0]: fault kind err does not apply to info"),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"searchPort": 70000, "boards": [{"address": "127.9.1.1"}]})").find("searchPort"),
              std::string::npos);
}

TEST(FleetFileGenerate, ConsecutiveAddressesAndVariety) {
    SimFleet fleet;
    std::string error;
    ASSERT_TRUE(CFleetFile::Generate(300, "127.1.0.250", fleet, error)) << error;
    ASSERT_EQ(fleet.boards.size(), 300u);
    EXPECT_EQ(fleet.boards[0]->Address(), "127.1.0.250");
    EXPECT_EQ(fleet.boards[6]->Address(), "127.1.1.0");
    EXPECT_EQ(fleet.boards[299]->Address(), "127.1.2.37");
    int singleLamp = 0, standby = 0, video = 0, errors = 0;
    for (const auto& board : fleet.boards) {
        singleLamp += board->Settings().lamps.size() == 1;
        standby += !board->Settings().powerOn;
        video += board->Settings().input == SimInput::Video;
        errors += board->Settings().errorBits != 0;
    }
    EXPECT_GT(singleLamp, 0);
    EXPECT_GT(standby, 0);
    EXPECT_GT(video, 0);
    EXPECT_GT(errors, 0);
    EXPECT_FALSE(CFleetFile::Generate(2, "255.255.255.254", fleet, error));
    EXPECT_FALSE(CFleetFile::Generate(5, "127.1", fleet, error));
}

TEST(FleetFileDemo, SixBoardsWithTheAdvertisedVariety) {
    const SimFleet demo = CFleetFile::Demo();
    ASSERT_EQ(demo.boards.size(), 6u);
    EXPECT_EQ(demo.boards[0]->Address(), "127.0.10.1");
    EXPECT_EQ(demo.boards[5]->Address(), "127.0.10.6");
    const SimBoardSettings& hall = demo.boards[1]->Settings();
    EXPECT_TRUE(hall.loginRequired);
    EXPECT_EQ(hall.user, "admin");
    EXPECT_EQ(hall.password, "secret");
    EXPECT_EQ(demo.boards[2]->Settings().lamps.size(), 1u);
    EXPECT_NE(demo.boards[3]->Settings().errorBits, 0);
    EXPECT_FALSE(demo.boards[4]->Settings().powerOn);
    EXPECT_EQ(demo.boards[5]->Settings().input, SimInput::Video);
}
