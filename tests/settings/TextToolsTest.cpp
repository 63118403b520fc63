#include "settings/TextTools.h"

#include <gtest/gtest.h>

TEST(NextToken, SkipsEmptyFieldsAndTrims) {
    std::string text = " 1 ,, 0 ,";
    int position = 0;
    EXPECT_EQ(NextToken(text, ",", position), "1");
    EXPECT_EQ(NextToken(text, ",", position), "0");
    int before = position;
    EXPECT_EQ(NextToken(text, ",", position), "");  // only delimiters left
    EXPECT_EQ(position, before);
}

TEST(NextToken, MultiByteCharactersAreWholeCharacters) {
    // "、" (E3 80 81) as delimiter must not match inside "あ" (E3 81 82).
    std::string text = "あ、い:う";
    int position = 0;
    EXPECT_EQ(NextToken(text, "、:", position), "あ");
    EXPECT_EQ(NextToken(text, "、:", position), "い");
    EXPECT_EQ(NextToken(text, "、:", position), "う");
}

TEST(NextToken, EmptyDelimitersTakeTheRestAndBadPositionsGiveNothing) {
    int position = 2;
    EXPECT_EQ(NextToken("ab cd ", "", position), "cd");
    position = -3;
    EXPECT_EQ(NextToken("abc", ",", position), "");
    EXPECT_EQ(position, -3);
}

TEST(ListParsing, FieldsKeepDefaultsAndNonNumbersReadZero) {
    std::vector<int> flags(6, 1);
    ParseFlagList("0,1", flags);
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 1, 1, 1, 1}));
    flags.assign(6, 1);
    ParseFlagList("1,,0", flags);
    EXPECT_EQ(flags, (std::vector<int>{1, 0, 1, 1, 1, 1}));
    flags.assign(6, 1);
    ParseFlagList(" 0 ,\t1 ", flags);
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 1, 1, 1, 1}));
    std::vector<int> widths{80, 80, 80};
    ParseIntList("12px,x,-7,99,100", widths);  // surplus ignored
    EXPECT_EQ(widths, (std::vector<int>{12, 0, -7}));
    EXPECT_EQ(JoinIntList({1, 0, 98}), "1,0,98");
}

TEST(TextHelpers, AppendPathAndDigits) {
    EXPECT_EQ(AppendPath("/home/u/Documents", "Error.Log"), "/home/u/Documents/Error.Log");
    EXPECT_EQ(AppendPath("/home/u/", "Error.Log"), "/home/u/Error.Log");
    EXPECT_EQ(IsAllDigits("0123"), 1);
    EXPECT_EQ(IsAllDigits(""), 0);
    EXPECT_EQ(IsAllDigits("12a"), 0);
    EXPECT_EQ(IsAllDigits("-1"), 0);
    EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
}
