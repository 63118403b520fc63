#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "ui/ListColumns.h"

namespace {

using NameList = std::vector<std::string>;

// Sorts copies of the records by key and gives their names in the new order.
NameList SortedNames(std::vector<CProjectorInfo> records, int key, bool descending) {
    std::vector<CProjectorInfo*> rows;
    for (auto& record : records)
        rows.push_back(&record);
    SortRecords(rows, key, descending);
    return Names(rows);
}

CProjectorInfo WithLamp(const std::string& name, int hours, int minutes = -1, int life = -1) {
    CProjectorInfo record = Record(name);
    record.lampHours = hours;
    record.lampMinutes = minutes;
    record.lampLife = life;
    return record;
}

}  // namespace

TEST(ColumnTable, EachColumnShowsItsOwnField) {
    CProjectorInfo r = WithLamp("PJ1", 1234, 45, 87);
    r.ipAddress = "192.168.0.9";
    r.macAddress = "00:11:22:33:44:55";
    r.status = STATUS_FAN;
    r.model = "MODEL-X";
    r.lampState = 2;
    r.input = INPUT_VIDEO_BASE + 4;
    r.inputSignal = "1024 x 768";
    r.serialNumber = "SN42";
    const NameList expected = {"PJ1", "192.168.0.9", "00:11:22:33:44:55", ResourceText(5002), "MODEL-X",
                               ResourceText(5200), "1234 h 45 min", "87%", ResourceText(1109), "1024 x 768", "SN42"};
    for (int column = 0; column < 11; ++column)
        EXPECT_EQ(CellText(column, r), expected[std::size_t(column)]) << "column " << column;
    EXPECT_EQ(CellText(11, r), "");
    EXPECT_EQ(ColumnCaption(1), "IPアドレス");
}

TEST(RowSort, EqualKeysKeepGroupOrderInBothDirections) {
    std::vector<CProjectorInfo> records = {Record("B1"), Record("A2"), Record("B3"), Record("A4")};
    for (auto& r : records)
        r.model = r.name.substr(0, 1);
    EXPECT_EQ(SortedNames(records, 4, false), (NameList{"A2", "A4", "B1", "B3"}));
    EXPECT_EQ(SortedNames(records, 4, true), (NameList{"B1", "B3", "A2", "A4"}));
    for (auto& r : records)
        r.model = "same";
    EXPECT_EQ(SortedNames(records, 4, true), (NameList{"B1", "A2", "B3", "A4"}));
    EXPECT_EQ(CompareRows(COLUMN_NAME, Record("PJ"), Record("PJ", "10.9.9.9")), 0);
}

TEST(RowSort, LampFiguresCompareAsNumbersWithUnknownFirstAscending) {
    const std::vector<CProjectorInfo> records = {WithLamp("h100", 100, -1, 9), WithLamp("unknown", -1),
                                                 WithLamp("h0", 0, -1, 80), WithLamp("h100+45", 100, 45, 100),
                                                 WithLamp("h100+15", 100, 15, 10)};
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_HOURS, false),
              (NameList{"unknown", "h0", "h100", "h100+15", "h100+45"}));
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_HOURS, true),
              (NameList{"h100+45", "h100+15", "h100", "h0", "unknown"}));
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_LIFE, false),
              (NameList{"unknown", "h100", "h100+15", "h0", "h100+45"}));
}

TEST(RowSort, TextsCompareByteForByteSoAddressesSortAsText) {
    const std::vector<CProjectorInfo> records = {Record(".9", "192.168.0.9"), Record(".10", "192.168.0.10"),
                                                 Record(".100", "192.168.0.100")};
    EXPECT_EQ(SortedNames(records, 1, false), (NameList{".10", ".100", ".9"}));
    EXPECT_LT(CompareRows(COLUMN_NAME, Record("PJ-Z"), Record("PJ-a")), 0);
    EXPECT_GT(CompareRows(COLUMN_NAME, Record("プロ"), Record("PJ")), 0);
}

TEST(RowSort, UnknownKeyLeavesTheOrder) {
    const std::vector<CProjectorInfo> records = {Record("b"), Record("a")};
    EXPECT_EQ(SortedNames(records, 11, false), (NameList{"b", "a"}));
    EXPECT_EQ(SortedNames(records, -1, true), (NameList{"b", "a"}));
}
