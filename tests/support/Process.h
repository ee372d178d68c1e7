// Programs the tests run for real: tools run to their end for what they print, and programs
// started to run beside the test (ours, servers, a window manager) until they end or are ended.
// Every one ends with the test program, also when that crashes.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// What a tool run to its end left: its exit status (-1 when it could not be started or ended on
// a signal), its standard output and its standard error.
struct SToolRun {
    int status = -1;
    std::string output;
    std::string errors;
};

// Runs argv[0] (looked up in PATH) with the arguments and waits for it.
SToolRun RunTool(const std::vector<std::string>& argv);

class CProcess {
public:
    CProcess() = default;
    // Ends a process still running and waits for it.
    ~CProcess();
    CProcess(CProcess&& other) noexcept;
    CProcess& operator=(CProcess&& other) noexcept;
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    // Starts argv[0] (looked up in PATH) with the arguments, the variables ("NAME=value") before
    // the test's own environment. Its standard output and error are appended to the files when
    // they are named, thrown away for "-", and shared with the test's otherwise. It runs in the
    // working folder when one is named, else in the test's. False when it cannot be started.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& variables = {},
               const std::string& outputFile = std::string(), const std::string& errorFile = std::string(),
               const std::string& workingFolder = std::string());
    // True while the started process runs.
    bool Running();
    // Waits for the process to end by itself: its exit status, or -1 when it ended on a signal or
    // was killed after the limit.
    int Wait(std::chrono::seconds limit = std::chrono::seconds(60));
    // Asks the process to end (SIGTERM) and waits for it; killed when it does not end within the
    // limit. Its exit status as Wait gives it.
    int Stop(std::chrono::seconds limit = std::chrono::seconds(20));
    // The exit status once it has ended.
    int Status() const { return m_status; }
    bool Started() const { return m_pid > 0; }

private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = -1;
};
