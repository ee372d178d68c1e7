// Runs part of a test in another time zone; the previous one comes back when the object goes.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class CTimeZoneScope {
public:
    explicit CTimeZoneScope(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~CTimeZoneScope()
    {
        if (m_previous)
            setenv("TZ", m_previous->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    CTimeZoneScope(const CTimeZoneScope&) = delete;
    CTimeZoneScope& operator=(const CTimeZoneScope&) = delete;

private:
    std::optional<std::string> m_previous;
};
