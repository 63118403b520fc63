#include "mail/MimeSMTP.h"

#include <gtest/gtest.h>

namespace {

// A function, not a static: the date-time arithmetic is itself set up during
// static initialisation.
CDateTime Moment() { return CDateTime::FromParts(2008, 12, 8, 13, 45, 1); }

}  // namespace

TEST(MimeDate, ZoneIsTheStandardOffsetWithItsSign) {
    EXPECT_EQ(CMimeSMTP::FormatDate(Moment(), -540), "Mon, 08 Dec 2008 13:45:01 +0900");
    EXPECT_EQ(CMimeSMTP::FormatDate(Moment(), 300), "Mon, 08 Dec 2008 13:45:01 -0500");
    EXPECT_EQ(CMimeSMTP::FormatDate(Moment(), 0), "Mon, 08 Dec 2008 13:45:01 +0000");
    EXPECT_EQ(CMimeSMTP::FormatDate(Moment(), -330), "Mon, 08 Dec 2008 13:45:01 +0530");
}

TEST(MimeBoundary, DateDigitsAndAtMostFourRandomDigits) {
    EXPECT_EQ(CMimeSMTP::FormatBoundary(Moment(), 12345), "12082008134501" "1234");
    EXPECT_EQ(CMimeSMTP::FormatBoundary(Moment(), 42), "12082008134501" "0042");
    EXPECT_EQ(CMimeSMTP::FormatBoundary(Moment(), 32767), "12082008134501" "3276");
    CFakeClock clock(Moment());
    CMimeSMTP client(1, clock);
    client.MakeBoundary();
    ASSERT_EQ(client.Boundary().size(), 18u);
    EXPECT_EQ(client.Boundary().substr(0, 14), "12082008134501");
}

TEST(MimeMessageId, TimeRandomAndServer) {
    EXPECT_EQ(CMimeSMTP::FormatMessageId(Moment(), 12345, "mail.example"), "20081208134501.012345@mail.example");
    CFakeClock clock(Moment());
    CMimeSMTP client(1, clock);
    std::string id = client.MakeMessageId();
    ASSERT_EQ(id.size(), std::string("20081208134501.012345@").size());
    EXPECT_EQ(id.substr(0, 15), "20081208134501.");
    EXPECT_LE(std::stoi(id.substr(15, 6)), 32767);
}

TEST(MimeLineBreak, LongLinesBreakAt996AndAfterALineEndAt994) {
    std::string text(2000, 'a');
    std::string broken = CMimeSMTP::BreakLongLines(text);
    EXPECT_EQ(broken, std::string(996, 'a') + "\r\n" + std::string(996, 'a') + "\r\n" + std::string(8, 'a'));

    std::string afterEnd = "x\r\n" + std::string(1000, 'b');
    std::string brokenAfter = CMimeSMTP::BreakLongLines(afterEnd);
    EXPECT_EQ(brokenAfter, "x\r\n" + std::string(994, 'b') + "\r\n" + std::string(6, 'b'));

    std::string exact = std::string(996, 'c') + "\r\nd";
    EXPECT_EQ(CMimeSMTP::BreakLongLines(exact), exact);
    EXPECT_EQ(CMimeSMTP::BreakLongLines(std::string(997, 'e')), std::string(997, 'e'));
    EXPECT_EQ(CMimeSMTP::BreakLongLines(""), "");
}

TEST(MimeOriginator, HeaderAndCommandForms) {
    EXPECT_EQ(CMimeSMTP::OriginatorForm("Ops", "ops@example", true), "\"Ops\" <ops@example>");
    EXPECT_EQ(CMimeSMTP::OriginatorForm("Ops", "ops@example", false), "<ops@example>");
    EXPECT_EQ(CMimeSMTP::OriginatorForm("", "ops@example", true), "<ops@example>");
    EXPECT_EQ(CMimeSMTP::OriginatorForm("Ops", "", true), "");
    EXPECT_EQ(CMimeSMTP::OriginatorForm("A \"B\" \\", "a@b", true), "\"A \\\"B\\\" \\\\\" <a@b>");
    std::string japanese = CMimeSMTP::OriginatorForm("管理者", "a@b", true);
    EXPECT_EQ(japanese.rfind("\"=?ISO-2022-JP?B?", 0), 0u);
    EXPECT_EQ(japanese.substr(japanese.size() - 9), "?=\" <a@b>");
}
