#include "support/LocaleScope.h"

#include <gtest/gtest.h>

#include <clocale>

CLocaleScope::CLocaleScope(const char* name)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_previous = previous ? previous : "C";
    m_set = std::setlocale(LC_ALL, name) != nullptr;
    EXPECT_TRUE(m_set) << "locale " << name << " is not installed (scripts/install-deps.sh generates it)";
}

CLocaleScope::~CLocaleScope()
{
    std::setlocale(LC_ALL, m_previous.c_str());
}
