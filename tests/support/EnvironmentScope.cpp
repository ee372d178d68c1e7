#include "support/EnvironmentScope.h"

#include <cstdlib>

CEnvironmentScope::CEnvironmentScope(const char* name, const char* value) : m_name(name)
{
    const char* previous = std::getenv(name);
    m_had = previous != nullptr;
    m_previous = previous ? previous : "";
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

CEnvironmentScope::~CEnvironmentScope()
{
    if (m_had)
        setenv(m_name.c_str(), m_previous.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}
