// Runs part of a test with an environment variable set (or removed) as the user's desktop might
// have it; the value that was there comes back when the object goes.
#pragma once

#include <string>

class CEnvironmentScope {
public:
    // A null value removes the variable.
    CEnvironmentScope(const char* name, const char* value);
    ~CEnvironmentScope();
    CEnvironmentScope(const CEnvironmentScope&) = delete;
    CEnvironmentScope& operator=(const CEnvironmentScope&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_had = false;
};
