#include "Platform/DateTime.h"

#include <cmath>
#include <ctime>
#include <locale.h>
#include <vector>

namespace {

constexpr long long kSecondsPerDay = 86400;
// Automation date of 0100-01-01 and the first automation date after 9999-12-31.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDateExclusive = 2958466.0;
// Days from 1970-01-01 back to the automation epoch 1899-12-30.
constexpr long long kEpochOffset = 25569;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// The automation date as one increasing number of seconds (the day count and the fraction
// have the same sign only for dates on or after the epoch).
long long LinearSeconds(double date)
{
    const double day = std::trunc(date);
    const long long seconds = std::llround(std::fabs(date - day) * kSecondsPerDay);
    return static_cast<long long>(day) * kSecondsPerDay + seconds;
}

}  // namespace

long long Platform::DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void Platform::CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

CDateTime::CDateTime() = default;

CDateTime::CDateTime(double oleDate)
{
    SetOleDate(oleDate);
}

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

CDateTime CDateTime::GetCurrentTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        CDateTime result;
        result.m_status = invalid;
        return result;
    }
    return CDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec);
}

int CDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        m_date = 0.0;
        m_status = invalid;
        return 1;
    }
    const long long days =
        Platform::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochOffset;
    const double time = static_cast<double>(hour * 3600 + minute * 60 + second) / kSecondsPerDay;
    m_date = days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
    m_status = valid;
    return 0;
}

int CDateTime::SetOleDate(double oleDate)
{
    m_date = oleDate;
    m_status = valid;
    Parts parts;
    if (!Split(parts)) {
        m_status = invalid;
        return 1;
    }
    return 0;
}

bool CDateTime::Split(Parts& parts) const
{
    if (!(m_date >= kMinDate && m_date < kMaxDateExclusive))
        return false;
    const long long linear = LinearSeconds(m_date);
    long long days = linear / kSecondsPerDay;
    long long seconds = linear % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        --days;
    }
    const long long unixDays = days - kEpochOffset;
    Platform::CivilFromDays(unixDays, parts.year, parts.month, parts.day);
    if (parts.year > 9999)
        return false;
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    parts.dayOfWeek = static_cast<int>(((unixDays + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    parts.dayOfYear =
        static_cast<int>(unixDays - Platform::DaysFromCivil(parts.year, 1, 1)) + 1;
    return true;
}

int CDateTime::GetYear() const
{
    Parts p;
    return Split(p) ? p.year : -1;
}

int CDateTime::GetMonth() const
{
    Parts p;
    return Split(p) ? p.month : -1;
}

int CDateTime::GetDay() const
{
    Parts p;
    return Split(p) ? p.day : -1;
}

int CDateTime::GetHour() const
{
    Parts p;
    return Split(p) ? p.hour : -1;
}

int CDateTime::GetMinute() const
{
    Parts p;
    return Split(p) ? p.minute : -1;
}

int CDateTime::GetSecond() const
{
    Parts p;
    return Split(p) ? p.second : -1;
}

int CDateTime::GetDayOfWeek() const
{
    Parts p;
    return Split(p) ? p.dayOfWeek + 1 : -1;
}

int CDateTime::GetDayOfYear() const
{
    Parts p;
    return Split(p) ? p.dayOfYear : -1;
}

std::string CDateTime::Format(const char* format) const
{
    Parts p;
    if (m_status != valid || format == nullptr || *format == '\0' || !Split(p))
        return std::string();
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_wday = p.dayOfWeek;
    tm.tm_yday = p.dayOfYear - 1;
    tm.tm_isdst = -1;
    // strftime reports 0 both for a full buffer and for an empty result: grow a few times,
    // then take the result as empty.
    std::vector<char> buffer(256);
    for (int attempt = 0; attempt < 6; ++attempt) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"  // the caller's pattern, by design
        const size_t length = std::strftime(buffer.data(), buffer.size(), format, &tm);
#pragma GCC diagnostic pop
        if (length > 0)
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
    return std::string();
}

bool CDateTime::operator==(const CDateTime& other) const
{
    if (m_status != other.m_status)
        return false;
    return m_status != valid || LinearSeconds(m_date) == LinearSeconds(other.m_date);
}

bool CDateTime::operator<(const CDateTime& other) const
{
    if (m_status != other.m_status)
        return m_status < other.m_status;
    return m_status == valid && LinearSeconds(m_date) < LinearSeconds(other.m_date);
}

std::string Platform::UserTimeText(const char* format, const std::tm& time)
{
    char text[256];
    std::size_t length = 0;
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    if (user != static_cast<locale_t>(nullptr)) {
        length = strftime_l(text, sizeof(text), format, &time, user);
        freelocale(user);
    } else {
        length = std::strftime(text, sizeof(text), format, &time);
    }
#pragma GCC diagnostic pop
    return std::string(text, length);
}
