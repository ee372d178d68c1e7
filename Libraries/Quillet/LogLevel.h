#pragma once

// Log levels: a line passes when its level is at or above the logger's effective level.
enum : int {
    LOGLEVEL_TRACE = 0,
    LOGLEVEL_DEBUG = 10,
    LOGLEVEL_INFO = 20,
    LOGLEVEL_WARN = 30,
    LOGLEVEL_ERROR = 40,
    LOGLEVEL_CRITICAL = 50,
    LOGLEVEL_NONE = 9999998,   // nothing passes
    LOGLEVEL_PARENT = 9999999, // take the manager's default level
};

// The configuration name of a level; any number not in the table gives "none".
const char* LogLevelName(int level);
// Exact, case-sensitive match of the seven names "trace" to "parent"; anything else gives none.
int ParseLogLevel(const char* text);
