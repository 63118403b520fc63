#include "platform/DateTime.h"

#include <clocale>
#include <cstdio>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// A constant, so date-times built during static initialisation are right too.
constexpr std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

bool CDateTime::IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int CDateTime::DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

CDateTime CDateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return CDateTime();
    std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDays;
    return CDateTime(days * 86400 + hour * 3600 + minute * 60 + second, true);
}

CDateTime CDateTime::FromTm(const std::tm& tm) {
    return FromParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                     tm.tm_sec > 59 ? 59 : tm.tm_sec);
}

CDateTime CDateTime::FromTimeT(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return CDateTime();
    return FromTm(tm);
}

CDateTime CDateTime::CurrentLocal() { return FromTimeT(std::time(nullptr)); }

CDateTime CDateTime::Never() { return FromParts(9999, 12, 31); }

void CDateTime::Civil(int& year, int& month, int& day) const {
    CivilFromDays(FloorDiv(m_seconds, 86400) + kEpochDays, year, month, day);
}

int CDateTime::Year() const { int y, m, d; Civil(y, m, d); return y; }
int CDateTime::Month() const { int y, m, d; Civil(y, m, d); return m; }
int CDateTime::Day() const { int y, m, d; Civil(y, m, d); return d; }
int CDateTime::Hour() const { return static_cast<int>((m_seconds - FloorDiv(m_seconds, 86400) * 86400) / 3600); }
int CDateTime::Minute() const { return static_cast<int>((m_seconds - FloorDiv(m_seconds, 3600) * 3600) / 60); }
int CDateTime::Second() const { return static_cast<int>(m_seconds - FloorDiv(m_seconds, 60) * 60); }

int CDateTime::DayOfWeek() const {
    // 1899-12-30 was a Saturday (7).
    std::int64_t days = FloorDiv(m_seconds, 86400);
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

std::tm CDateTime::ToTm() const {
    std::tm tm{};
    int y, m, d;
    Civil(y, m, d);
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = Hour();
    tm.tm_min = Minute();
    tm.tm_sec = Second();
    tm.tm_wday = DayOfWeek() - 1;
    tm.tm_yday = static_cast<int>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) -
                                  DaysFromCivil(y, 1, 1));
    tm.tm_isdst = -1;
    return tm;
}

std::time_t CDateTime::ToTimeT() const {
    std::tm tm = ToTm();
    return std::mktime(&tm);
}

CDateTime CDateTime::AddSeconds(std::int64_t seconds) const {
    CDateTime result(m_seconds + seconds, m_valid);
    if (result.m_valid) {
        int y = result.Year();
        result.m_valid = y >= 100 && y <= 9999;
    }
    return result;
}

std::string CDateTime::Format(const char* format) const {
    if (!format)
        return {};
    std::tm tm = ToTm();
    // Let the C library fill the zone fields of this local moment for %z/%Z.
    std::tm probe = tm;
    if (std::mktime(&probe) != static_cast<std::time_t>(-1)) {
        tm.tm_isdst = probe.tm_isdst;
        tm.tm_gmtoff = probe.tm_gmtoff;
        tm.tm_zone = probe.tm_zone;
    }
    // The C locale's names, whatever the program's LC_TIME.
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    char buffer[512];
    size_t n = strftime_l(buffer, sizeof buffer, format, &tm, cLocale);
    return std::string(buffer, n);
}
