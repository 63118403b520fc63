#include <gtest/gtest.h>

#include "settings/TestProfile.h"
#include "settings/Value.h"
#include "ui/ViewItemInfoList.h"

namespace {

class ColumnListTest : public ProfileTest {
protected:
    CViewItemInfoList Loaded(const std::string& visible, const std::string& widths, const std::string& order) {
        CValue value;
        value.SetViewInfoVisible(visible);
        value.SetViewInfoWidth(widths);
        value.SetViewInfoOrder(order);
        CViewItemInfoList list;
        list.Load();
        return list;
    }
};

std::vector<int> Order(const CViewItemInfoList& list) {
    std::vector<int> order;
    for (const auto& item : list.Items())
        order.push_back(item.column);
    return order;
}

const std::string kDefaultWidths = "98,96,104,111,84,71,110,109,47,73,78";
const std::string kDefaultOrder = "0,1,2,3,4,5,6,7,8,9,10";

}  // namespace

TEST_F(ColumnListTest, EmptyStoreGivesElevenVisibleColumnsAndSavesThemAsTheDefaults) {
    CViewItemInfoList list;
    list.Load();
    EXPECT_EQ(list, CViewItemInfoList());
    EXPECT_EQ(list.VisibleColumns(), Order(list));
    EXPECT_EQ(list.ByColumn(6)->width, 110);
    EXPECT_EQ(list.Save(), 0);
    CValue value;
    EXPECT_EQ(value.GetViewInfoVisible(), "11111111111");
    EXPECT_EQ(value.GetViewInfoWidth(), kDefaultWidths);
    EXPECT_EQ(value.GetViewInfoOrder(), kDefaultOrder);
}

TEST_F(ColumnListTest, StoredLayoutRoundTripsInListOrder) {
    CViewItemInfoList list = Loaded("11101111110", "50,60,70,80,90,100,110,120,130,140,150", "10,9,8,7,6,5,4,3,2,1,0");
    EXPECT_EQ(Order(list), (std::vector<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_FALSE(list.ByColumn(7)->visible);
    EXPECT_EQ(list.ByColumn(10)->width, 50);
    // The name column stands last and is hidden in the store, but is shown.
    EXPECT_TRUE(list.ByColumn(0)->visible);
    EXPECT_EQ(list.VisibleColumns().size(), 10u);
    list.Save();
    CValue value;
    EXPECT_EQ(value.GetViewInfoVisible(), "11101111111");
    EXPECT_EQ(value.GetViewInfoOrder(), "10,9,8,7,6,5,4,3,2,1,0");
}

TEST_F(ColumnListTest, BadColumnNumbersAndRepeatsAreSkippedAndMissingColumnsAppendedHidden) {
    // Position 1 repeats column 0, position 2 is out of range, position 3 is
    // not a number; their widths must not shift onto the later columns.
    CViewItemInfoList list = Loaded("111111", "10,20,30,40,50,60", "0,0,11,x,4,-1");
    EXPECT_EQ(Order(list), (std::vector<int>{0, 4, 1, 2, 3, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(list.ByColumn(4)->width, 50);
    EXPECT_EQ(list.VisibleColumns(), (std::vector<int>{0, 4}));
    EXPECT_EQ(list.ByColumn(3)->width, 80);
    EXPECT_FALSE(list.ByColumn(3)->visible);
}

TEST_F(ColumnListTest, MissingAndUnusableWidthsBecomeEighty) {
    CViewItemInfoList list = Loaded("1111", "100,-5,99999999", "0,1,2,3");
    EXPECT_EQ(list.ByColumn(0)->width, 100);
    EXPECT_EQ(list.ByColumn(1)->width, 80);
    EXPECT_EQ(list.ByColumn(2)->width, 80);
    EXPECT_EQ(list.ByColumn(3)->width, 80);
}

TEST_F(ColumnListTest, NothingValidFallsBackToTheDefaults) {
    EXPECT_EQ(Loaded("111", "1,2,3", "12,-3,abc"), CViewItemInfoList());
    EXPECT_EQ(Loaded("111", "1,2,3", ""), CViewItemInfoList());
}

TEST_F(ColumnListTest, EmptyVisibilityLeavesTheListAsItIs) {
    CViewItemInfoList list;
    list.SetVisible(5, false, false);
    CValue().SetViewInfoVisible("");
    CViewItemInfoList before;
    before.CopyFrom(list);
    list.Load();
    EXPECT_EQ(list, before);
}

TEST(ColumnVisibility, HidingMovesBehindTheVisibleAndShowingPutsBackAtItsNumber) {
    CViewItemInfoList list;
    EXPECT_EQ(list.SetVisible(3, false, false), 1);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 3}));
    EXPECT_EQ(list.SetVisible(3, false, false), 0);
    EXPECT_EQ(list.ToggleVisible(3), 1);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(list.SetVisible(11, true, false), -1);
    EXPECT_EQ(list.ToggleVisible(-1), -1);
    // Showing the last of two hidden columns puts it after the visible ones.
    list.SetVisible(9, false, false);
    list.SetVisible(10, false, false);
    list.SetVisible(10, true, false);
    EXPECT_EQ(list.VisibleColumns(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10}));
}

TEST(ColumnOrder, ReorderPutsTheGivenColumnsFirstAndKeepsTheRestInOrder) {
    CViewItemInfoList list;
    list.SetVisible(5, false, false);
    list.Reorder({3, 0, 3, 42, 1});
    EXPECT_EQ(Order(list), (std::vector<int>{3, 0, 1, 2, 4, 6, 7, 8, 9, 10, 5}));
    EXPECT_FALSE(list.ByColumn(5)->visible);
}
