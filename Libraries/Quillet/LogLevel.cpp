#include "Quillet/LogLevel.h"

#include <cstring>

namespace {

struct LevelName {
    int level;
    const char* name;
};

const LevelName levelNames[] = {
    {LOGLEVEL_TRACE, "trace"}, {LOGLEVEL_DEBUG, "debug"},       {LOGLEVEL_INFO, "info"},
    {LOGLEVEL_WARN, "warn"},   {LOGLEVEL_ERROR, "error"},       {LOGLEVEL_CRITICAL, "critical"},
    {LOGLEVEL_NONE, "none"},   {LOGLEVEL_PARENT, "parent"},
};

}  // namespace

const char* LogLevelName(int level)
{
    for (const LevelName& entry : levelNames)
        if (entry.level == level)
            return entry.name;
    return "none";
}

int ParseLogLevel(const char* text)
{
    if (text == nullptr)
        return LOGLEVEL_NONE;
    for (const LevelName& entry : levelNames)
        if (std::strcmp(entry.name, text) == 0)
            return entry.level;
    return LOGLEVEL_NONE;
}
