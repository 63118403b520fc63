// The SMTP reply reader on its own: replies cut into receives anywhere, and
// servers whose reply never ends.
#include "mail/SmtpReplyReader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mail/MailDefs.h"

namespace {

using Step = CSmtpReplyReader::Step;

// Feeds the pieces in turn until the reader comes to a result.
Step Feed(CSmtpReplyReader& reader, const std::vector<std::string>& pieces) {
    Step step = Step::More;
    for (const std::string& piece : pieces) {
        step = reader.Take(piece.data(), piece.size());
        if (step == Step::Done || step == Step::Failed)
            break;
    }
    return step;
}

}  // namespace

TEST(SmtpReplyReader, MultiLineReplyGivesTheCodeOfItsFinalLineInAnyPieces) {
    const std::string reply = "250-capture.test\r\n250-SIZE 1000\r\n251 HELP\r\n";
    for (std::size_t cut = 1; cut < reply.size(); ++cut) {
        CSmtpReplyReader reader;
        EXPECT_EQ(Feed(reader, {reply.substr(0, cut), reply.substr(cut)}), Step::Done) << cut;
        EXPECT_EQ(reader.Code(), 251) << cut;
    }
}

TEST(SmtpReplyReader, OnlyContinuationLinesAwaitAFreshReply) {
    CSmtpReplyReader reader;
    EXPECT_EQ(reader.Take("220-first\r\n", 11), Step::NewReply);
    EXPECT_EQ(reader.Take("220 ready\r\n", 11), Step::Done);
    EXPECT_EQ(reader.Code(), 220);
}

TEST(SmtpReplyReader, ZeroByteEndsWhatAReceiveHolds) {
    CSmtpReplyReader reader;
    EXPECT_EQ(reader.Take("25\0junk", 7), Step::More);
    EXPECT_EQ(reader.Take("0 ok\r\n", 6), Step::Done);
    EXPECT_EQ(reader.Code(), 250);
}

// A server that sends continuation lines for ever, or one line without its
// end, is given up once the reply passes the bound, not followed without end.
TEST(SmtpReplyReader, ReplyThatNeverEndsFailsAtTheBound) {
    CSmtpReplyReader continuing;
    const std::string line = "250-more\r\n";
    std::size_t taken = 0;
    Step step = Step::NewReply;
    while (step == Step::NewReply && taken <= CSmtpReplyReader::kMaxReplyBytes) {
        step = continuing.Take(line.data(), line.size());
        taken += line.size();
    }
    EXPECT_EQ(step, Step::Failed);
    EXPECT_EQ(continuing.Status(), SMTP_UNEXPECTED_REPLY);

    CSmtpReplyReader endless;
    const std::string piece(SMTP_RECEIVE_BUFFER - 1, 'x');
    std::vector<std::string> pieces(CSmtpReplyReader::kMaxReplyBytes / piece.size() + 1, piece);
    EXPECT_EQ(Feed(endless, pieces), Step::Failed);
    EXPECT_EQ(endless.Status(), SMTP_UNEXPECTED_REPLY);
}
