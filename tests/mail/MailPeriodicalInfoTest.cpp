#include "mail/MailPeriodicalInfo.h"

#include <gtest/gtest.h>

namespace {

CDateTime At(int y, int mo, int d, int h, int mi, int s = 0) { return CDateTime::FromParts(y, mo, d, h, mi, s); }

CMailPeriodicalInfo Weekdays(std::initializer_list<int> days, int hour, int minute) {
    CMailPeriodicalInfo info;
    info.kind = PERIODICAL_KIND_WEEKDAYS;
    for (int d : days)
        info.weekdays[static_cast<size_t>(d)] = 1;
    info.hour = hour;
    info.minute = minute;
    return info;
}

CMailPeriodicalInfo Monthly(int day, int hour, int minute) {
    CMailPeriodicalInfo info;
    info.kind = PERIODICAL_KIND_MONTHLY;
    info.monthlyDay = day;
    info.hour = hour;
    info.minute = minute;
    return info;
}

}  // namespace

// 2026-01-07 is a Wednesday.
TEST(NextTimeWeekdays, MondayAndWednesdayAtNine) {
    CMailPeriodicalInfo info = Weekdays({0, 2}, 9, 0);
    EXPECT_EQ(info.NextTime(At(2026, 1, 7, 10, 0)), At(2026, 1, 12, 9, 0));
    EXPECT_EQ(info.NextTime(At(2026, 1, 7, 8, 59)), At(2026, 1, 7, 9, 0));
}

TEST(NextTimeWeekdays, FiringExactlyAtTheTimeMovesToTheNextOccurrence) {
    CMailPeriodicalInfo info = Weekdays({2}, 9, 0);
    EXPECT_EQ(info.NextTime(At(2026, 1, 7, 9, 0, 0)), At(2026, 1, 14, 9, 0));
    EXPECT_EQ(info.NextTime(At(2026, 1, 7, 8, 59, 59)), At(2026, 1, 7, 9, 0));
}

TEST(NextTimeWeekdays, SundayWrapsToMondayAndNoTickMeansNever) {
    CMailPeriodicalInfo info = Weekdays({0}, 7, 30);
    EXPECT_EQ(info.NextTime(At(2026, 1, 11, 23, 0)), At(2026, 1, 12, 7, 30));  // Sunday night
    EXPECT_EQ(Weekdays({}, 9, 0).NextTime(At(2026, 1, 7, 8, 0)), CDateTime::Never());
    EXPECT_EQ(CDateTime::Never(), At(9999, 12, 31, 0, 0));
}

TEST(NextTimeWeekly, FridayAtHalfPastSix) {
    CMailPeriodicalInfo info;
    info.kind = PERIODICAL_KIND_WEEKLY;
    info.weeklyDay = 4;
    info.hour = 18;
    info.minute = 30;
    EXPECT_EQ(info.NextTime(At(2026, 1, 9, 18, 31)), At(2026, 1, 16, 18, 30));
    EXPECT_EQ(info.NextTime(At(2026, 1, 9, 18, 29)), At(2026, 1, 9, 18, 30));
    EXPECT_EQ(info.NextTime(At(2026, 1, 10, 0, 0)), At(2026, 1, 16, 18, 30));
}

TEST(NextTimeMonthly, DayThirtyOneFollowsShortMonths) {
    CMailPeriodicalInfo info = Monthly(31, 12, 0);
    EXPECT_EQ(info.NextTime(At(2026, 4, 15, 8, 0)), At(2026, 4, 30, 12, 0));
    EXPECT_EQ(info.NextTime(At(2026, 4, 30, 12, 1)), At(2026, 5, 31, 12, 0));
    EXPECT_EQ(info.NextTime(At(2026, 12, 31, 13, 0)), At(2027, 1, 31, 12, 0));
}

TEST(NextTimeMonthly, DayThirtyInFebruaryOfCommonAndLeapYears) {
    CMailPeriodicalInfo info = Monthly(30, 6, 0);
    EXPECT_EQ(info.NextTime(At(2026, 1, 31, 7, 0)), At(2026, 2, 28, 6, 0));
    EXPECT_EQ(info.NextTime(At(2028, 1, 31, 7, 0)), At(2028, 2, 29, 6, 0));
    EXPECT_EQ(Monthly(29, 6, 0).NextTime(At(2100, 1, 30, 7, 0)), At(2100, 2, 28, 6, 0));
}

TEST(NextTimeMonthly, DayFifteenBeforeAndAfterTheTime) {
    CMailPeriodicalInfo info = Monthly(15, 9, 0);
    EXPECT_EQ(info.NextTime(At(2026, 1, 15, 8, 0)), At(2026, 1, 15, 9, 0));
    EXPECT_EQ(info.NextTime(At(2026, 1, 15, 9, 0)), At(2026, 2, 15, 9, 0));
}

TEST(NextTimeOther, UnknownKindOrValuesOutOfRangeMeanNever) {
    CMailPeriodicalInfo info = Monthly(15, 9, 0);
    info.kind = 3;
    EXPECT_EQ(info.NextTime(At(2026, 1, 1, 0, 0)), CDateTime::Never());
    EXPECT_EQ(Monthly(0, 9, 0).NextTime(At(2026, 1, 1, 0, 0)), CDateTime::Never());
    EXPECT_EQ(Monthly(15, 24, 0).NextTime(At(2026, 1, 1, 0, 0)), CDateTime::Never());
    EXPECT_EQ(Weekdays({1}, 9, 60).NextTime(At(2026, 1, 1, 0, 0)), CDateTime::Never());
    EXPECT_EQ(CMailPeriodicalInfo::NextTimeText(CDateTime::Never()), "----");
}
