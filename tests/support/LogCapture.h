// The program's log as a test reads it: what a piece of code wrote, one "level|message" a line.
#pragma once

#include <functional>
#include <string>

// Runs the action with the log written afresh to the file at the level given (a LOGLEVEL_
// value) and returns the lines it wrote, each after a line break, so "\nerror|Text" finds a
// line that starts so. The log is closed again afterwards, in its usual format, and the file
// removed.
std::string LogWrittenWhile(const std::string& file, int level, const std::function<void()>& action);
