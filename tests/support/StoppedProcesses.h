// Processes a test holds still with SIGSTOP, as a paused machine would hold them. They go on
// when the object goes, and after a time limit at the latest: a test of code that would wait
// on them for ever then fails on its time bound instead of hanging the test program.
#pragma once

#include <condition_variable>
#include <mutex>
#include <sys/types.h>
#include <thread>
#include <vector>

class CStoppedProcesses {
public:
    // Stops every process now. When one of them cannot be stopped, the others go on again at
    // once and AllStopped says so.
    CStoppedProcesses(std::vector<pid_t> processes, int limitSeconds);
    ~CStoppedProcesses();
    CStoppedProcesses(const CStoppedProcesses&) = delete;
    CStoppedProcesses& operator=(const CStoppedProcesses&) = delete;

    bool AllStopped() const { return m_allStopped; }
    // Lets them go on now.
    void Resume();

private:
    std::vector<pid_t> m_processes;
    bool m_allStopped = true;
    std::mutex m_mutex;
    std::condition_variable m_resumed;
    bool m_done = false;
    std::thread m_limit;
};
