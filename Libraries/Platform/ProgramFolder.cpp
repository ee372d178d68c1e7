#include "Platform/ProgramFolder.h"

#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

std::mutex overrideMutex;
std::string overridePath;

std::string ReadExecutableLink()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            break;
        }
        path.resize(path.size() * 2);
    }
    // The kernel marks an executable whose file was unlinked or replaced by appending
    // " (deleted)"; the folder and name the program was started as are what callers need.
    static const std::string deleted = " (deleted)";
    struct stat info;
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0 &&
        stat(path.c_str(), &info) != 0)
        path.resize(path.size() - deleted.size());
    return path;
}

}  // namespace

std::string GetProgramPath()
{
    {
        const std::lock_guard<std::mutex> lock(overrideMutex);
        if (!overridePath.empty())
            return overridePath;
    }
    return ReadExecutableLink();
}

std::string GetProgramFolder()
{
    const std::string path = GetProgramPath();
    return path.substr(0, path.rfind('/') + 1);
}

std::string GetProgramName()
{
    const std::string path = GetProgramPath();
    return path.substr(path.rfind('/') + 1);
}

void SetProgramPathForTesting(const std::string& path)
{
    const std::lock_guard<std::mutex> lock(overrideMutex);
    overridePath = path;
}

}  // namespace Platform
