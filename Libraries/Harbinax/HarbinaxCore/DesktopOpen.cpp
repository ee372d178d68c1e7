#include "HarbinaxCore/DesktopOpen.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace {

// The handler runs detached from us: the shell puts it in the background and ends at once, so
// the program has no child left to reap and is not held up by a slow handler. The target is the
// shell's first positional argument, never part of the script.
const char kScript[] =
    "command -v xdg-open >/dev/null 2>&1 || exit 127\n"
    "xdg-open \"$1\" </dev/null >/dev/null 2>&1 &\n";

}  // namespace

bool OpenWithDesktop(const std::string& target)
{
    if (target.empty())
        return false;
    // posix_spawn takes non-constant strings.
    std::string shell = "/bin/sh", option = "-c", script = kScript, name = "sh", argument = target;
    char* const argv[] = {&shell[0], &option[0], &script[0], &name[0], &argument[0], nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, shell.c_str(), nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
