#include "mail/MailPeriodicalInfo.h"

#include <algorithm>
#include <vector>

#include "mail/MailDefs.h"
#include "platform/Clock.h"
#include "platform/ResourceText.h"
#include "settings/ProfileStore.h"
#include "settings/TextTools.h"
#include "settings/Value.h"

namespace {

// The date-time type counts Sunday = 1 .. Saturday = 7; the schedule counts Monday = 0.
int MondayBasedWeekday(const CDateTime& when) { return (when.DayOfWeek() + 5) % 7; }

}  // namespace

CDateTime CMailPeriodicalInfo::NextTime() const { return NextTime(SystemClock().Now()); }

CDateTime CMailPeriodicalInfo::NextTime(const CDateTime& now) const {
    if (!now.IsValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return CDateTime::Never();
    switch (kind) {
    case PERIODICAL_KIND_WEEKDAYS:
        return NextOnWeekdays(now, weekdays);
    case PERIODICAL_KIND_WEEKLY: {
        if (weeklyDay < 0 || weeklyDay > 6)
            return CDateTime::Never();
        std::array<int, 7> only{};
        only[static_cast<size_t>(weeklyDay)] = 1;
        return NextOnWeekdays(now, only);
    }
    case PERIODICAL_KIND_MONTHLY:
        return NextMonthly(now);
    default:
        return CDateTime::Never();
    }
}

CDateTime CMailPeriodicalInfo::AtTime(int year, int month, int day) const {
    return CDateTime::FromParts(year, month, day, hour, minute, 0);
}

CDateTime CMailPeriodicalInfo::NextOnWeekdays(const CDateTime& now, const std::array<int, 7>& ticked) const {
    // Today counts only while its time is still ahead; a week later covers
    // the case where today is the only ticked day.
    for (int ahead = 0; ahead <= 7; ++ahead) {
        CDateTime day = now.AddDays(ahead);
        if (!ticked[static_cast<size_t>(MondayBasedWeekday(day))])
            continue;
        CDateTime candidate = AtTime(day.Year(), day.Month(), day.Day());
        if (candidate.IsValid() && candidate > now)
            return candidate;
    }
    return CDateTime::Never();
}

CDateTime CMailPeriodicalInfo::NextMonthly(const CDateTime& now) const {
    if (monthlyDay < 1 || monthlyDay > 31)
        return CDateTime::Never();
    int year = now.Year();
    int month = now.Month();
    CDateTime candidate = AtTime(year, month, std::min(monthlyDay, CDateTime::DaysInMonth(year, month)));
    if (candidate.IsValid() && candidate > now)
        return candidate;
    if (++month > 12) {
        month = 1;
        ++year;
    }
    candidate = AtTime(year, month, std::min(monthlyDay, CDateTime::DaysInMonth(year, month)));
    return candidate.IsValid() ? candidate : CDateTime::Never();
}

std::string CMailPeriodicalInfo::NextTimeText(const CDateTime& when) {
    if (!when.IsValid() || when == CDateTime::Never())
        return "----";
    return when.Format(ResourceText(TEXT_NEXT_TIME_FORMAT).c_str());
}

void CMailPeriodicalInfo::ParseTime(const std::string& text, int& hour, int& minute) {
    int position = 0;
    std::string hourText = NextToken(text, ":", position);
    std::string minuteText = NextToken(text, ":", position);
    if (!hourText.empty())
        hour = LeadingInt(hourText);
    if (!minuteText.empty())
        minute = LeadingInt(minuteText);
}

int CMailPeriodicalInfo::Load() {
    CValue value;
    kind = value.GetMailPeriodicalKind();
    ParseTime(value.GetMailPeriodicalTime(), hour, minute);
    std::vector<int> days(weekdays.begin(), weekdays.end());
    ParseFlagList(value.GetMailPeriodicalDayStatus(), days);
    std::copy(days.begin(), days.end(), weekdays.begin());
    weeklyDay = value.GetMailPeriodicalByWeek();
    monthlyDay = value.GetMailPeriodicalByMonth();
    return 0;
}

int CMailPeriodicalInfo::Save() {
    CValue value;
    CProfileBatch batch(value.Store());
    value.SetMailPeriodicalKind(kind);
    value.SetMailPeriodicalTime(std::to_string(hour) + ":" + std::to_string(minute));
    std::vector<int> days;
    for (int day : weekdays)
        days.push_back(day ? 1 : 0);
    value.SetMailPeriodicalDayStatus(JoinIntList(days));
    value.SetMailPeriodicalByWeek(weeklyDay);
    value.SetMailPeriodicalByMonth(monthlyDay);
    return 0;
}
