#pragma once
// CMailPeriodicalInfo: when the periodic report goes out (on ticked weekdays,
// weekly or monthly, at a time of day) and the next moment that gives. Part of
// CMailSetInfo; the view's schedule and the periodic page ask NextTime().
#include <array>
#include <string>

#include "platform/DateTime.h"

constexpr int PERIODICAL_KIND_WEEKDAYS = 0;
constexpr int PERIODICAL_KIND_WEEKLY = 1;
constexpr int PERIODICAL_KIND_MONTHLY = 2;

class CMailPeriodicalInfo {
public:
    virtual ~CMailPeriodicalInfo() = default;

    // The stored values; missing ones keep the defaults. Both return 0.
    int Load();
    int Save();

    // Reads a stored time of day, hour and minute joined by ":", into hour
    // and minute; a missing field leaves its value as it is. The numbers are
    // read as they stand, so a time out of range makes NextTime() never.
    static void ParseTime(const std::string& text, int& hour, int& minute);

    // The earliest matching moment strictly after now; CDateTime::Never()
    // when nothing can match (no weekday ticked, an unknown kind, or a time,
    // weekday or month day out of range).
    CDateTime NextTime(const CDateTime& now) const;
    CDateTime NextTime() const;

    // A next report time as the periodic page and the command line show it:
    // the format of text 259, or "----" for never.
    static std::string NextTimeText(const CDateTime& when);

    int kind = PERIODICAL_KIND_WEEKDAYS;
    int hour = 0;
    int minute = 0;
    std::array<int, 7> weekdays{};  // Monday first
    int weeklyDay = 0;              // Monday = 0
    int monthlyDay = 1;             // 1..31

private:
    CDateTime NextOnWeekdays(const CDateTime& now, const std::array<int, 7>& ticked) const;
    CDateTime NextMonthly(const CDateTime& now) const;
    CDateTime AtTime(int year, int month, int day) const;
};
