#include "mail/MailObject.h"

#include <gtest/gtest.h>

#include "CharsetTestSupport.h"
#include "mail/MIME.h"
#include "mail/MailAttachCsv.h"
#include "mail/MailDefs.h"
#include "platform/ResourceText.h"

namespace {

void Fill(CMailObject& mail) {
    mail.Clear();
    mail.timeStamp = CDateTime::FromParts(2008, 12, 8, 13, 45, 1);
    mail.server = "mail.example";
    mail.senderName = "管理者";
    mail.senderAddress = "ops@example";
    mail.senderInfo = "3F 会議室\nline two";
    mail.recipients = {"a@example"};
}

}  // namespace

TEST(MailObjectBuild, BodyJoinsTheTextsWithCrlfAndIsIso2022Jp) {
    CMailObject mail;
    Fill(mail);
    mail.kind = MAIL_KIND_ERROR;
    ASSERT_EQ(mail.BuildText("EXTRA\n"), 0);

    std::string expected = CMIME::ToCrlf(ResourceText(TEXT_MAIL_OPENING) + "EXTRA\n" +
                                         ResourceText(TEXT_MAIL_ORIGINATOR) + "発信者名: 管理者\n" +
                                         "メールアドレス: ops@example\n" + "3F 会議室\nline two\n");
    EXPECT_EQ(IconvTo("UTF-8", mail.body, "ISO-2022-JP"), expected);
    for (size_t i = 0; i < mail.body.size(); ++i) {
        EXPECT_GE(static_cast<unsigned char>(mail.body[i]), 1u);
        EXPECT_LT(static_cast<unsigned char>(mail.body[i]), 0x80u);
        if (mail.body[i] == '\n') {
            EXPECT_TRUE(i > 0 && mail.body[i - 1] == '\r');
        }
    }
    ASSERT_GE(mail.body.size(), 2u);
    EXPECT_EQ(mail.body.substr(mail.body.size() - 2), "\r\n");
    EXPECT_EQ(mail.subject.rfind("=?ISO-2022-JP?B?", 0), 0u);
}

TEST(MailObjectBuild, SubjectFollowsTheKind) {
    CMailObject error;
    Fill(error);
    error.BuildText();
    CMailObject report;
    Fill(report);
    report.kind = MAIL_KIND_REPORT;
    report.BuildText();
    CMIME mime;
    EXPECT_EQ(error.subject, mime.EncodeText(ResourceText(TEXT_SUBJECT_ERROR), true));
    EXPECT_EQ(report.subject, mime.EncodeText(ResourceText(TEXT_SUBJECT_REPORT), true));
}

TEST(MailObjectBuild, CsvIsNamedAfterTheTimeStampAndStartsWithTheKindsHeading) {
    CMailObject mail;
    Fill(mail);
    mail.kind = MAIL_KIND_REPORT;
    ASSERT_EQ(mail.BuildCsv("r1\nr2\n"), 0);
    ASSERT_EQ(mail.BuildCsv("row\n"), 0);  // replaces, never adds
    ASSERT_EQ(mail.attachments.Count(), 1);
    const CMailAttachObject& csv = mail.attachments.At(0);
    EXPECT_EQ(csv.Kind(), ATTACH_KIND_CSV);
    EXPECT_EQ(csv.FileName(), "2008Dec08_1345.CSV");
    EXPECT_EQ(IconvTo("UTF-8", csv.Content(), "CP932"), ResourceText(TEXT_CSV_HEADING_REPORT) + "\nrow\n");
}

TEST(MailObjectBuild, CsvIsInTheJapaneseCodePageOnlyWithAJapaneseBundle) {
    // What a Japanese spreadsheet assumes of a CSV without a byte-order mark.
    ASSERT_EQ(ResourceText(TEXT_LANGUAGE_MARKER), "J");
    const std::string rows = "2026/Jan/07,08:00:00,-,LAN,第2会議室,プロジェクター,SN1,ﾗﾝﾌﾟ\n";
    CMailObject mail;
    Fill(mail);
    ASSERT_EQ(mail.BuildCsv(rows), 0);
    EXPECT_EQ(IconvTo("UTF-8", mail.attachments.At(0).Content(), "CP932"),
              ResourceText(TEXT_CSV_HEADING_ERROR) + "\n" + rows);

    // Without the bundle there is no language marker: the rows stay UTF-8.
    struct BundleBack {
        ~BundleBack() { LoadResourceBundle(); }
    } bundleBack;
    ASSERT_FALSE(LoadResourceBundle("/nonexistent/lumivex.rcc"));
    ASSERT_EQ(mail.BuildCsv(rows), 0);
    EXPECT_EQ(mail.attachments.At(0).Content(), "\n" + rows);
}

TEST(MailObjectCopy, CopyIsDeepAndClearKeepsTheTimeStamp) {
    CMailObject mail;
    Fill(mail);
    mail.kind = MAIL_KIND_REPORT;
    mail.BuildText();
    mail.BuildCsv("x\n");
    CMailObject copy;
    copy.CopyFrom(mail);
    mail.Clear();
    EXPECT_EQ(mail.kind, MAIL_KIND_ERROR);
    EXPECT_TRUE(mail.recipients.empty());
    EXPECT_EQ(mail.attachments.Count(), 0);
    EXPECT_EQ(mail.timeStamp, CDateTime::FromParts(2008, 12, 8, 13, 45, 1));

    EXPECT_EQ(copy.kind, MAIL_KIND_REPORT);
    EXPECT_EQ(copy.recipients, std::vector<std::string>{"a@example"});
    ASSERT_EQ(copy.attachments.Count(), 1);
    EXPECT_NE(dynamic_cast<const CMailAttachCsv*>(&copy.attachments.At(0)), nullptr);
    EXPECT_EQ(copy.senderInfo, "3F 会議室\nline two");
    EXPECT_TRUE(copy.IsValid());
}

TEST(MailObjectCopy, ValidNeedsServerSenderAndARecipient) {
    CMailObject mail;
    Fill(mail);
    EXPECT_TRUE(mail.IsValid());
    mail.recipients.clear();
    EXPECT_FALSE(mail.IsValid());
    Fill(mail);
    mail.server.clear();
    EXPECT_FALSE(mail.IsValid());
    Fill(mail);
    mail.senderAddress.clear();
    EXPECT_FALSE(mail.IsValid());
}
