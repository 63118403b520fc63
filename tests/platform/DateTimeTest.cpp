#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/DateTime.h"

TEST(DateTime, CountsDaysFromTheEpochOfTheDayCount) {
    EXPECT_DOUBLE_EQ(CDateTime::FromParts(1899, 12, 30).Days(), 0.0);
    EXPECT_DOUBLE_EQ(CDateTime::FromParts(1900, 1, 1).Days(), 2.0);
    EXPECT_DOUBLE_EQ(CDateTime::FromParts(2000, 1, 1, 12).Days(), 36526.5);
    CDateTime t = CDateTime::FromParts(2024, 2, 29, 23, 59, 58);
    EXPECT_EQ(t.Year(), 2024);
    EXPECT_EQ(t.Month(), 2);
    EXPECT_EQ(t.Day(), 29);
    EXPECT_EQ(t.Second(), 58);
    CDateTime next = t.AddSeconds(2);
    EXPECT_EQ(next.Month(), 3);
    EXPECT_EQ(next.Day(), 1);
    EXPECT_EQ(next.Hour(), 0);
}

TEST(DateTime, ValidityAndNever) {
    EXPECT_FALSE(CDateTime().IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2023, 2, 29).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2024, 13, 1).IsValid());
    EXPECT_FALSE(CDateTime::FromParts(2024, 1, 1, 24).IsValid());
    CDateTime never = CDateTime::Never();
    EXPECT_TRUE(never.IsValid());
    EXPECT_EQ(never.Year(), 9999);
    EXPECT_FALSE(never.AddDays(1).IsValid());
    EXPECT_LT(CDateTime::FromParts(2026, 12, 8), never);
}

TEST(DateTime, WeekdaysAndCLocaleNames) {
    CDateTime t = CDateTime::FromParts(2026, 12, 8, 9, 5, 0);  // a Tuesday
    EXPECT_EQ(t.DayOfWeek(), 3);
    EXPECT_EQ(CDateTime::FromParts(1899, 12, 30).DayOfWeek(), 7);
    EXPECT_EQ(t.Format("%Y%b%d_%H%M"), "2026Dec08_0905");
    EXPECT_EQ(t.Format("%a"), "Tue");
}

TEST(FakeClock, MovesOnlyWhenTold) {
    CFakeClock clock(CDateTime::FromParts(2026, 1, 31, 23, 59, 59));
    auto before = clock.TickMs();
    clock.AdvanceMs(1500);
    EXPECT_EQ(clock.TickMs() - before, 1500);
    EXPECT_EQ(clock.Now().Month(), 2);
    EXPECT_EQ(clock.Now().Second(), 0);
}
