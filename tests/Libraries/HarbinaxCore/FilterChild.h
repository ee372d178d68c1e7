// Children of the test program that install the exception filter and then crash, for the tests
// of what the filter leaves behind.
#pragma once

#include <functional>
#include <string>

// Writes to address zero, out of the compiler's and the sanitizers' sight.
void WriteToNull();

// The running test program's file.
std::string ExecutablePath();

// Runs body in a child that installed the filter as the program at programPath, its stderr
// going to the file stderrPath (truncated); beforeInstall, when given, runs just before the
// install. The child's wait status; it exits with 90 when the filter could not be installed
// and with 0 when body returns.
int RunFilteredChild(const std::string& programPath, const std::string& stderrPath, const std::function<void()>& body,
                     const std::function<void()>& beforeInstall = {});
