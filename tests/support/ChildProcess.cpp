#include "support/ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool LeaveRoot()
{
    return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0);
}

bool GiveToUnprivileged(const std::string& path)
{
    return geteuid() != 0 || chown(path.c_str(), kNobody, kNobody) == 0;
}
