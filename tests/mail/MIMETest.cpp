#include "mail/MIME.h"

#include <gtest/gtest.h>

#include "CharsetTestSupport.h"
#include "mail/MailText.h"

TEST(ToJis, TextWithoutDoubleByteCharactersIsCopiedAndNotConverted) {
    CMIME mime;
    EXPECT_EQ(mime.ToJis("Lamp error 12:00 ~\\"), "Lamp error 12:00 ~\\");
    EXPECT_EQ(mime.Converted(), 0);
    EXPECT_EQ(mime.ToJis(""), "");
    EXPECT_EQ(mime.Converted(), 0);
}

TEST(ToJis, DoubleByteRunIsEnclosedInEscapesAndEndsInAscii) {
    CMIME mime;
    // "あ漢" then "A": 82A0 8ABF -> 2422 3441.
    EXPECT_EQ(mime.ToJis("\x82\xa0\x8a\xbf" "A"), "\x1b$B\x24\x22\x34\x41\x1b(BA");
    EXPECT_EQ(mime.Converted(), 1);
    EXPECT_EQ(mime.ToJis("A\x82\xa0"), "A\x1b$B\x24\x22\x1b(B");
}

TEST(ToJis, HalfWidthKatakanaStaysASingleByte) {
    CMIME mime;
    EXPECT_EQ(mime.ToJis("\xb1\x82\xa0"), "\xb1\x1b$B\x24\x22\x1b(B");
}

TEST(ToJis, CharacterOutsideTheSetAndDanglingLeadByteBecomeGetaMarks) {
    CMIME mime;
    // F040 is a user-defined character; a lead byte before the end has no trail byte.
    EXPECT_EQ(mime.ToJis("\xf0\x40" "A"), "\x1b$B\x22\x2e\x1b(BA");
    EXPECT_EQ(mime.ToJis("A\x82"), "A\x1b$B\x22\x2e\x1b(B");
    EXPECT_EQ(mime.ToJis("\x82\x0a"), "\x1b$B\x22\x2e\x1b(B\n");
}

TEST(ToJis, StopsAtAZeroByte) {
    CMIME mime;
    EXPECT_EQ(mime.ToJis(std::string("AB\0CD", 5)), "AB");
}

TEST(EncodeText, BodyMatchesTheSystemIso2022JpEncoder) {
    const std::string text = "プロジェクター「会議室1」でランプエラー (Lamp) が発生しました。\r\n次の行";
    CMIME mime;
    EXPECT_EQ(mime.EncodeText(text, false), IconvTo("ISO-2022-JP", text));
    EXPECT_EQ(mime.Converted(), 1);
}

TEST(EncodeText, HeaderIsOneEncodedWordOnlyWhenItHoldsKanji) {
    CMIME ascii;
    ascii.EncodeText("Projector report", true);
    EXPECT_EQ(ascii.Converted(), 0);

    CMIME kanji;
    std::string word = kanji.EncodeText("定期 report", true);
    EXPECT_EQ(kanji.Converted(), 1);
    EXPECT_EQ(word, "=?ISO-2022-JP?B?" + CMIME::Base64Run(IconvTo("ISO-2022-JP", "定期 report")) + "?=");
    EXPECT_EQ(word.find("\r\n"), std::string::npos);
}

TEST(EncodeText, EmptyTextGivesEmptyResult) {
    CMIME mime;
    EXPECT_EQ(mime.EncodeText("", true), "");
    EXPECT_EQ(mime.Converted(), 0);
}

TEST(ToCodePage, UnknownCharactersAndBrokenUtf8BecomeQuestionMarks) {
    EXPECT_EQ(CMIME::ToCodePage("caf\xc3\xa9"), "caf?");
    EXPECT_EQ(CMIME::ToCodePage("a\xff" "b"), "a?b");
    EXPECT_EQ(CMIME::ToCodePage("\xe3\x81"), "?");
    EXPECT_EQ(CMIME::ToCodePage("〜"), "\x81\x60");
}

TEST(Base64, FullLinesHoldSeventySixCharactersWithoutATrailingBreak) {
    std::string b57(57, '\xfb');
    std::string out = CMIME::Base64(b57);
    EXPECT_EQ(out.size(), 76u);
    EXPECT_EQ(out.find('\r'), std::string::npos);

    std::string out58 = CMIME::Base64(b57 + "\x01");
    ASSERT_EQ(out58.size(), 76u + 2 + 4);
    EXPECT_EQ(out58.substr(76, 2), "\r\n");
    EXPECT_EQ(out58.substr(78), "AQ==");
}

TEST(Base64, EncodesUnsignedBytesWithPadding) {
    EXPECT_EQ(CMIME::Base64(""), "");
    EXPECT_EQ(CMIME::Base64("f"), "Zg==");
    EXPECT_EQ(CMIME::Base64("fo"), "Zm8=");
    EXPECT_EQ(CMIME::Base64("foo"), "Zm9v");
    EXPECT_EQ(CMIME::Base64("\xff\xfe\xfd"), "//79");
    EXPECT_EQ(CMIME::Base64Char(0), 'A');
    EXPECT_EQ(CMIME::Base64Char(62), '+');
    EXPECT_EQ(CMIME::Base64Char(63), '/');
}

TEST(LineEnds, EveryLineEndBecomesCrlf) {
    EXPECT_EQ(CMIME::ToCrlf("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(CMIME::OneLine("Subject\r\nBcc: x"), "Subject  Bcc: x");
}

TEST(FormatText, OnlyPercentSIsFilledAndOtherDirectivesStayLiteral) {
    EXPECT_EQ(FormatText("%s at %s", {"Lamp", "10.0.0.1"}), "Lamp at 10.0.0.1");
    EXPECT_EQ(FormatText("%d%n %% %s", {"x"}), "%d%n % x");
    EXPECT_EQ(FormatText("[%s][%s]", {"only"}), "[only][]");
    EXPECT_EQ(FormatText("%s", {"%s%n"}), "%s%n");
    EXPECT_EQ(FormatText("100%", {}), "100%");
}
