#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "ui/ListColumns.h"

namespace {

// Sorts copies of the records by key and gives their names in the new order.
std::vector<std::string> SortedNames(std::vector<CProjectorInfo> records, int key, bool descending) {
    std::vector<CProjectorInfo*> rows;
    for (auto& record : records)
        rows.push_back(&record);
    SortRecords(rows, key, descending);
    return Names(rows);
}

CProjectorInfo WithHours(const std::string& name, int hours, int minutes = -1) {
    CProjectorInfo record = Record(name);
    record.lampHours = hours;
    record.lampMinutes = minutes;
    return record;
}

using NameList = std::vector<std::string>;

}  // namespace

TEST(ColumnTable, CaptionsAndDefaultWidthsByNumber) {
    EXPECT_EQ(ColumnCaption(0), "プロジェクター名");
    EXPECT_EQ(ColumnCaption(1), "IPアドレス");
    EXPECT_EQ(ColumnCaption(10), "製造番号");
    EXPECT_EQ(ColumnCaption(11), "");
    EXPECT_EQ(DefaultColumnWidth(0), 98);
    EXPECT_EQ(DefaultColumnWidth(8), 47);
}

TEST(ColumnTable, FreshRecordShowsNoValues) {
    CProjectorInfo record;
    EXPECT_EQ(CellText(3, record), "");
    EXPECT_EQ(CellText(5, record), "");
    EXPECT_EQ(CellText(6, record), "----");
    EXPECT_EQ(CellText(7, record), "----");
    EXPECT_EQ(CellText(8, record), "----");
    EXPECT_EQ(CellText(-1, record), "");
}

TEST(ColumnTable, CellTextsOfAPolledRecord) {
    CProjectorInfo r = WithHours("PJ1", 1234, 45);
    r.ipAddress = "192.168.0.9";
    r.macAddress = "00:11:22:33:44:55";
    r.status = STATUS_FAN;
    r.model = "MODEL-X";
    r.lampState = 2;
    r.lampLife = 87;
    r.input = INPUT_VIDEO_BASE + 4;
    r.inputSignal = "1024 x 768";
    r.serialNumber = "SN42";
    const NameList expected = {"PJ1", "192.168.0.9", "00:11:22:33:44:55", ResourceText(5002), "MODEL-X",
                               ResourceText(5200), "1234 h 45 min", "87%", ResourceText(1109), "1024 x 768", "SN42"};
    for (int column = 0; column < 11; ++column)
        EXPECT_EQ(CellText(column, r), expected[std::size_t(column)]) << "column " << column;
}

TEST(RowSort, EqualKeysKeepGroupOrderInBothDirections) {
    std::vector<CProjectorInfo> records = {Record("B", "1"), Record("A", "2"), Record("B", "3"), Record("A", "4")};
    for (auto& r : records)
        r.name += "/" + r.ipAddress;  // tell the twins apart after the sort
    records[0].model = records[1].model = records[2].model = records[3].model = "M";
    EXPECT_EQ(SortedNames(records, 4, false), (NameList{"B/1", "A/2", "B/3", "A/4"}));
    EXPECT_EQ(SortedNames(records, 4, true), (NameList{"B/1", "A/2", "B/3", "A/4"}));
    records[1].model = records[3].model = "L";
    EXPECT_EQ(SortedNames(records, 4, false), (NameList{"A/2", "A/4", "B/1", "B/3"}));
    EXPECT_EQ(SortedNames(records, 4, true), (NameList{"B/1", "B/3", "A/2", "A/4"}));
}

TEST(RowSort, UnknownLampHoursComeFirstAscendingAndLastDescending) {
    const std::vector<CProjectorInfo> records = {WithHours("h100", 100), WithHours("unknown", -1), WithHours("h0", 0),
                                                 WithHours("h100+45", 100, 45), WithHours("h100+15", 100, 15)};
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_HOURS, false),
              (NameList{"unknown", "h0", "h100", "h100+15", "h100+45"}));
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_HOURS, true),
              (NameList{"h100+45", "h100+15", "h100", "h0", "unknown"}));
}

TEST(RowSort, LampLifeComparesAsANumber) {
    std::vector<CProjectorInfo> records = {Record("nine"), Record("eighty"), Record("unknown")};
    records[0].lampLife = 9;
    records[1].lampLife = 80;
    EXPECT_EQ(SortedNames(records, COLUMN_LAMP_LIFE, false), (NameList{"unknown", "nine", "eighty"}));
    EXPECT_LT(CompareRows(COLUMN_LAMP_LIFE, records[0], records[1]), 0);
    EXPECT_EQ(CompareRows(COLUMN_LAMP_LIFE, records[2], records[2]), 0);
}

TEST(RowSort, AddressesCompareAsText) {
    const std::vector<CProjectorInfo> records = {Record(".9", "192.168.0.9"), Record(".10", "192.168.0.10"),
                                                 Record(".100", "192.168.0.100")};
    EXPECT_EQ(SortedNames(records, 1, false), (NameList{".10", ".100", ".9"}));
}

TEST(RowSort, NamesCompareByteForByteAndEqualNamesAreEqual) {
    EXPECT_EQ(CompareRows(0, Record("PJ"), Record("PJ", "other")), 0);
    EXPECT_LT(CompareRows(0, Record("PJ-Z"), Record("PJ-a")), 0);
    EXPECT_GT(CompareRows(0, Record("プロ"), Record("PJ")), 0);  // multi-byte after ASCII
}

TEST(RowSort, StatusSortsByItsShownText) {
    std::vector<CProjectorInfo> records = {Record("fan"), Record("normal"), Record("none")};
    records[0].status = STATUS_FAN;
    records[1].status = STATUS_NORMAL;
    const auto byText = ResourceText(5002) < ResourceText(5000) ? NameList{"none", "fan", "normal"}
                                                                : NameList{"none", "normal", "fan"};
    EXPECT_EQ(SortedNames(records, 3, false), byText);
}

TEST(RowSort, UnknownKeyLeavesTheOrder) {
    const std::vector<CProjectorInfo> records = {Record("b"), Record("a")};
    EXPECT_EQ(SortedNames(records, 11, false), (NameList{"b", "a"}));
    EXPECT_EQ(SortedNames(records, -1, true), (NameList{"b", "a"}));
    EXPECT_EQ(CompareRows(42, records[0], records[1]), 0);
}
