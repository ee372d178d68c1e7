// Runs part of a test under another process locale, such as a Turkish one, under which the C
// library's toupper('i') stays 'i', or a German one, whose decimal separator is ','. The locale
// that was in force comes back when the object goes.
#pragma once

#include <string>

class CLocaleScope {
public:
    // A failed test when the locale is not installed (scripts/install-deps.sh generates the
    // ones the tests use).
    explicit CLocaleScope(const char* name);
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

    // Whether the locale is in force.
    bool IsSet() const { return m_set; }

private:
    std::string m_previous;
    bool m_set = false;
};
