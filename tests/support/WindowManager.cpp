#include "support/WindowManager.h"

#include "support/WxTestSupport.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

CWindowManager::~CWindowManager()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
}

bool CWindowManager::Start()
{
    if (m_pid > 0)
        return true;
    // No session manager and no autostart programs: only the manager itself.
    char program[] = "openbox";
    char noSession[] = "--sm-disable";
    char* argv[] = {program, noSession, nullptr};
    if (posix_spawnp(&m_pid, program, nullptr, nullptr, argv, environ) != 0) {
        m_pid = -1;
        return false;
    }
    // It takes the display over in its first moments; one that failed has ended by then.
    PumpFor(500);
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) != 0) {
        m_pid = -1;
        return false;
    }
    return true;
}
