#pragma once
// A local calendar date-time with one-second resolution, counted from
// 30 December 1899 00:00:00 (so Days() is the classic day-count value), with a
// validity flag. Years 100..9999 are valid; "never" is 9999-12-31 00:00:00.
#include <cstdint>
#include <ctime>
#include <string>

class CDateTime {
public:
    CDateTime() = default;  // invalid

    static CDateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static CDateTime FromTm(const std::tm& tm);
    static CDateTime FromTimeT(std::time_t t);  // in the system's local time zone
    static CDateTime CurrentLocal();
    static CDateTime Never();

    bool IsValid() const { return m_valid; }
    std::int64_t Seconds() const { return m_seconds; }  // since 1899-12-30 00:00:00
    double Days() const { return static_cast<double>(m_seconds) / 86400.0; }

    int Year() const;
    int Month() const;      // 1..12
    int Day() const;        // 1..31
    int Hour() const;
    int Minute() const;
    int Second() const;
    int DayOfWeek() const;  // 1 = Sunday .. 7 = Saturday
    std::tm ToTm() const;   // tm_isdst = -1
    std::time_t ToTimeT() const;  // through the local time zone

    CDateTime AddSeconds(std::int64_t seconds) const;
    CDateTime AddDays(int days) const { return AddSeconds(std::int64_t(days) * 86400); }

    // strftime in the C locale: English month and day abbreviations whatever
    // the user's locale. "%z" gives the local zone offset of this moment.
    std::string Format(const char* format) const;

    friend bool operator==(const CDateTime& a, const CDateTime& b) {
        return a.m_valid == b.m_valid && a.m_seconds == b.m_seconds;
    }
    friend bool operator<(const CDateTime& a, const CDateTime& b) { return a.m_seconds < b.m_seconds; }
    friend bool operator<=(const CDateTime& a, const CDateTime& b) { return a.m_seconds <= b.m_seconds; }
    friend bool operator>(const CDateTime& a, const CDateTime& b) { return b < a; }
    friend bool operator>=(const CDateTime& a, const CDateTime& b) { return b <= a; }

    static bool IsLeapYear(int year);
    static int DaysInMonth(int year, int month);

private:
    CDateTime(std::int64_t seconds, bool valid) : m_seconds(seconds), m_valid(valid) {}
    void Civil(int& year, int& month, int& day) const;

    std::int64_t m_seconds = 0;
    bool m_valid = false;
};
