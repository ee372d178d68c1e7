// A calendar date and time of day to the second, kept as an automation date: days since
// 1899-12-30 00:00 as a double, the time of day as the fraction. Dates before 1899-12-30 are
// negative with a positive fraction (-1.25 is 1899-12-29 06:00). Years 100 to 9999.
#pragma once

#include <ctime>
#include <string>

class CDateTime {
public:
    enum DateTimeStatus {
        valid = 0,
        invalid = 1, // out of range or built from impossible components
        null = 2,    // no value (a database NULL, a missing column)
    };

    // 1899-12-30 00:00:00, valid.
    CDateTime();
    // From an automation date; outside the supported range the status is invalid.
    explicit CDateTime(double oleDate);
    // From calendar components; an impossible date or time gives status invalid.
    CDateTime(int year, int month, int day, int hour, int minute, int second);

    // The local date and time now.
    static CDateTime GetCurrentTime();

    // Both return 0 on success, 1 when the components or the value are out of range (the
    // status then is invalid).
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetOleDate(double oleDate);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    double GetOleDate() const { return m_date; }

    // The components of the kept value, whatever the status; -1 when it is out of range.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const;
    // 1 = 1 January.
    int GetDayOfYear() const;

    // strftime conversions ("%Y-%m-%d %H:%M:%S"); an empty text unless the status is valid.
    std::string Format(const char* format) const;

    // Valid values compare in time order; among the others valid < invalid < null, and two
    // values that are not valid but share a status are equal.
    bool operator==(const CDateTime& other) const;
    bool operator!=(const CDateTime& other) const { return !(*this == other); }
    bool operator<(const CDateTime& other) const;
    bool operator>(const CDateTime& other) const { return other < *this; }
    bool operator<=(const CDateTime& other) const { return !(other < *this); }
    bool operator>=(const CDateTime& other) const { return !(*this < other); }

private:
    struct Parts {
        int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    };
    bool Split(Parts& parts) const;

    double m_date = 0.0;
    DateTimeStatus m_status = valid;
};

namespace Platform {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil), and the
// date of such a day number: calendar arithmetic without going through seconds, which a
// daylight-saving change would shift by an hour.
long long DaysFromCivil(long long year, unsigned month, unsigned day);
void CivilFromDays(long long days, int& year, int& month, int& day);

// The time as the user's locale writes it with the strftime format ("%x" a date, "%X" a time of
// day): under the locale the environment names for LC_TIME, whatever the process locale is.
std::string UserTimeText(const char* format, const std::tm& time);

}  // namespace Platform
