#include "mail/MailAttachList.h"

#include <gtest/gtest.h>

#include "mail/MIME.h"
#include "mail/MailAttachCsv.h"

namespace {

class CStrangeAttach : public CMailAttachObject {
public:
    CStrangeAttach() { m_kind = 7; }
};

std::unique_ptr<CMailAttachObject> Csv(const std::string& name, const std::string& bytes) {
    auto csv = std::make_unique<CMailAttachCsv>();
    csv->SetFileName(name);
    csv->SetContent(bytes);
    return csv;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(MailAttach, CsvContentIsBase64OfItsBytes) {
    auto csv = Csv("a.CSV", std::string(58, 'x'));
    EXPECT_EQ(csv->Kind(), ATTACH_KIND_CSV);
    EXPECT_EQ(csv->GetContent(), CMIME::Base64(std::string(58, 'x')));
    CMailAttachObject text;
    text.SetContent("plain\r\n");
    EXPECT_EQ(text.GetContent(), "plain\r\n");
}

TEST(MailAttach, SetContentAndAppendHandleEmptyInput) {
    CMailAttachObject a;
    a.SetContent("abc", 0);
    EXPECT_EQ(a.Content(), "");
    a.SetContent("abc", 2);
    CMailAttachObject b;
    a.Append(b);
    EXPECT_EQ(a.Content(), "ab");
    b.SetContent("cd");
    a.Append(b);
    EXPECT_EQ(a.Content(), "abcd");
}

TEST(MailAttach, CopiesFollowTheSourceKindAndSkipUnknownKinds) {
    CMailAttachList source;
    source.Add(Csv("r.CSV", "1,2\n"));
    source.Add(std::make_unique<CStrangeAttach>());
    auto text = std::make_unique<CMailAttachObject>();
    text->SetContent("t");
    source.Add(std::move(text));

    CMailAttachList copy;
    copy.CopyFrom(source);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.At(0).Kind(), ATTACH_KIND_CSV);
    EXPECT_NE(dynamic_cast<const CMailAttachCsv*>(&copy.At(0)), nullptr);
    EXPECT_EQ(copy.At(0).FileName(), "r.CSV");
    EXPECT_EQ(copy.At(1).Kind(), ATTACH_KIND_TEXT);
    EXPECT_EQ(copy.At(1).Content(), "t");
}

TEST(RenderParts, CsvPartCarriesNameAndBase64AndOneClosingDelimiter) {
    CMailAttachList list;
    list.Add(Csv("2008Dec08_1345.CSV", "a,b\n"));
    list.Add(Csv("second.CSV", std::string(100, 'z')));
    std::string parts = list.RenderParts("B1", 1);
    EXPECT_EQ(parts.rfind("--B1\r\n", 0), 0u);
    EXPECT_NE(parts.find("Content-Type: application/octet-stream; name=\"2008Dec08_1345.CSV\"\r\n"
                         "Content-Disposition: attachment; filename=\"2008Dec08_1345.CSV\"\r\n"
                         "Content-Transfer-Encoding: base64\r\n\r\nYSxiCg==\r\n--B1\r\n"),
              std::string::npos);
    EXPECT_EQ(Count(parts, "--B1--"), 1u);
    EXPECT_TRUE(parts.size() > 8 && parts.substr(parts.size() - 8) == "--B1--\r\n");
    EXPECT_NE(parts.find(CMIME::Base64(std::string(100, 'z')) + "\r\n--B1--\r\n"), std::string::npos);
}

TEST(RenderParts, TextPartIsConvertedOnlyForJapanese) {
    CMailAttachList list;
    auto text = std::make_unique<CMailAttachObject>();
    text->SetContent("漢字\r\n");
    list.Add(std::move(text));
    std::string japanese = list.RenderParts("X", 1);
    EXPECT_NE(japanese.find("charset=\"iso-2022-jp\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n\x1b$B"),
              std::string::npos);
    std::string ascii = list.RenderParts("X", 0);
    EXPECT_NE(ascii.find("charset=\"us-ascii\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n漢字\r\n--X--\r\n"),
              std::string::npos);
}

TEST(RenderParts, FileNameCannotBreakTheHeaderLine) {
    CMailAttachList list;
    list.Add(Csv("a\r\nX-Evil: 1", "x"));
    std::string parts = list.RenderParts("B", 1);
    EXPECT_EQ(parts.find("\r\nX-Evil"), std::string::npos);
}
