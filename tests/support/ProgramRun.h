// Our programs run for real by the tests: started with extra environment variables, waited for
// with a time limit, and their log files read.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Starts argv[0] with the arguments, the variables ("NAME=value") before the test's own
// environment, and its standard error into errorFile when one is named; -1 when it cannot be
// started.
pid_t StartProgram(const std::vector<std::string>& argv, const std::vector<std::string>& variables,
                   const std::string& errorFile = std::string());
// The exit status, or -1 when the program ended on a signal or had to be killed after a minute.
int WaitForProgram(pid_t pid);
// Every "*.log" file of the folder, one after the other.
std::string ReadLogFiles(const std::string& folder);
