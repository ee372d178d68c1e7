#include "Quillet/LogLevel.h"

#include <gtest/gtest.h>

TEST(LogLevel, NamesOfTheLevelsAndNoneForOtherNumbers)
{
    const struct {
        int level;
        const char* name;
    } cases[] = {
        {LOGLEVEL_TRACE, "trace"},  {LOGLEVEL_DEBUG, "debug"}, {LOGLEVEL_INFO, "info"},
        {LOGLEVEL_WARN, "warn"},    {LOGLEVEL_ERROR, "error"}, {LOGLEVEL_CRITICAL, "critical"},
        {LOGLEVEL_NONE, "none"},    {LOGLEVEL_PARENT, "parent"}, {25, "none"},
        {-1, "none"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(LogLevelName(c.level), c.name) << c.level;
}

TEST(LogLevel, ParsingIsExactAndCaseSensitive)
{
    const struct {
        const char* text;
        int level;
    } cases[] = {
        {"trace", LOGLEVEL_TRACE}, {"debug", LOGLEVEL_DEBUG},   {"info", LOGLEVEL_INFO},
        {"warn", LOGLEVEL_WARN},   {"error", LOGLEVEL_ERROR},   {"critical", LOGLEVEL_CRITICAL},
        {"none", LOGLEVEL_NONE},   {"parent", LOGLEVEL_PARENT}, {"Trace", LOGLEVEL_NONE},
        {"warning", LOGLEVEL_NONE}, {" warn", LOGLEVEL_NONE},   {"", LOGLEVEL_NONE},
        {nullptr, LOGLEVEL_NONE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLogLevel(c.text), c.level) << (c.text ? c.text : "(null)");
}
