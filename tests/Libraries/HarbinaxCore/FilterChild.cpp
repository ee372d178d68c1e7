#include "FilterChild.h"

#include "HarbinaxCore/CrashReport.h"
#include "Platform/ProgramFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

__attribute__((noinline, no_sanitize("undefined"))) void WriteToNull()
{
    volatile int* volatile target = nullptr;
    *target = 1;
}

std::string ExecutablePath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

int RunFilteredChild(const std::string& programPath, const std::string& stderrPath, const std::function<void()>& body,
                     const std::function<void()>& beforeInstall)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, STDERR_FILENO);
        if (beforeInstall)
            beforeInstall();
        Platform::SetProgramPathForTesting(programPath);
        if (!InstallUnhandledExceptionFilter())
            _exit(90);
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}
