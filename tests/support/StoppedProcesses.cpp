#include "support/StoppedProcesses.h"

#include <chrono>
#include <csignal>
#include <utility>

CStoppedProcesses::CStoppedProcesses(std::vector<pid_t> processes, int limitSeconds)
    : m_processes(std::move(processes))
{
    for (const pid_t process : m_processes)
        m_allStopped = ::kill(process, SIGSTOP) == 0 && m_allStopped;
    if (!m_allStopped) {
        Resume();
        return;
    }
    m_limit = std::thread([this, limitSeconds] {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_resumed.wait_for(lock, std::chrono::seconds(limitSeconds), [this] { return m_done; });
        lock.unlock();
        Resume();
    });
}

CStoppedProcesses::~CStoppedProcesses()
{
    Resume();
    if (m_limit.joinable())
        m_limit.join();
}

void CStoppedProcesses::Resume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_done)
        return;
    m_done = true;
    for (const pid_t process : m_processes)
        ::kill(process, SIGCONT);
    m_resumed.notify_all();
}
