#include "settings/Binary.h"

#include <gtest/gtest.h>

#include "TestProfile.h"

TEST(BinaryRead, EmptyBufferFailsAndStaysFailed) {
    CBinary empty;
    int position = 0;
    EXPECT_EQ(empty.ReadText(position), "");
    EXPECT_EQ(position, -1);
    CBinary full(Counted("abc"));
    EXPECT_EQ(full.ReadText(position), "");
    EXPECT_EQ(position, -1);
}

TEST(BinaryRead, CountedFieldsFollowOneAnother) {
    CBinary bytes(Counted("name") + Counted("") + Counted(std::string("\0\x01\xFF", 3)) + LeInt(-2));
    int position = 0;
    EXPECT_EQ(bytes.ReadText(position), "name");
    EXPECT_EQ(position, 8);
    EXPECT_EQ(bytes.ReadText(position), "");  // a zero count advances by 4
    EXPECT_EQ(position, 12);
    EXPECT_EQ(bytes.ReadBlock(position).ToString(), std::string("\0\x01\xFF", 3));
    EXPECT_EQ(bytes.ReadInt(position), -2);
    EXPECT_EQ(position, int(bytes.Size()));
    EXPECT_EQ(bytes.ReadInt(position), 0);  // nothing left
    EXPECT_EQ(position, -1);
}

TEST(BinaryRead, CountBeyondTheEndFailsThisAndLaterReads) {
    CBinary bytes(LeInt(14) + "abcd" + Counted("x"));  // 13 bytes follow the count
    int position = 0;
    EXPECT_TRUE(bytes.ReadBlock(position).IsEmpty());
    EXPECT_EQ(position, -1);
    EXPECT_EQ(bytes.ReadText(position), "");
    EXPECT_EQ(position, -1);
}

TEST(BinaryRead, NegativeCountOrShortCountFails) {
    int position = 0;
    CBinary negative(LeInt(-1) + "abc");
    EXPECT_EQ(negative.ReadText(position), "");
    EXPECT_EQ(position, -1);
    position = 0;
    CBinary shortCount(std::string("\x01\x00\x00", 3));
    EXPECT_EQ(shortCount.ReadText(position), "");
    EXPECT_EQ(position, -1);
    position = 99;  // beyond the end
    EXPECT_EQ(CBinary(Counted("a")).ReadText(position), "");
    EXPECT_EQ(position, -1);
}

TEST(BinaryWrite, AppendsAndCopies) {
    CBinary bytes;
    EXPECT_TRUE(bytes.Append("", 0));
    EXPECT_TRUE(bytes.IsEmpty());
    bytes.AppendInt(0x01020304);
    bytes.AppendText("hi");
    EXPECT_EQ(bytes.ToString(), std::string("\x04\x03\x02\x01", 4) + Counted("hi"));
    CBinary copy(bytes);
    copy.Append("!", 1);
    EXPECT_EQ(bytes.Size(), 10u);  // deep copy
    EXPECT_EQ(copy.Size(), 11u);
    bytes.Clear();
    EXPECT_TRUE(bytes.IsEmpty());
}
