#include "Platform/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<int(CAtomicFile::Step)>& Hook()
{
    static std::function<int(CAtomicFile::Step)> hook;
    return hook;
}

int RunHook(CAtomicFile::Step step)
{
    const auto& hook = Hook();
    return hook ? hook(step) : 0;
}

std::string ErrnoText(int err)
{
    char buffer[256];
    return strerror_r(err, buffer, sizeof buffer);  // GNU form: returns the text
}

bool Fail(std::string* error, const std::string& path, const std::string& what, int err)
{
    if (error)
        *error = "The file '" + path + "' could not be saved: " + what + " (" + ErrnoText(err) + ").";
    return false;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name no other writer picks: process id, a counter and the clock.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%d-%u-%llx.tmp", static_cast<int>(getpid()), counter++,
                  static_cast<unsigned long long>(ticks) & 0xffffffULL);
    const std::string folder = FolderOf(target);
    return (folder == "/" ? "" : folder) + "/." + NameOf(target) + suffix;
}

// The file that is really replaced: the end of a symbolic link, so the link survives.
bool ResolveTarget(const std::string& path, std::string& target, int& err)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) {
        err = errno;
        return false;
    }
    target = resolved;
    std::free(resolved);
    return true;
}

// Closes and removes the temporary file of a write that failed.
class CTemporaryFile
{
public:
    CTemporaryFile() = default;
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;
    ~CTemporaryFile()
    {
        if (fd >= 0)
            close(fd);
        if (!name.empty())
            unlink(name.c_str());
    }
    int fd = -1;
    std::string name;  // cleared once renamed
};

}  // namespace

void CAtomicFile::SetHookForTesting(std::function<int(Step)> hook)
{
    Hook() = std::move(hook);
}

bool CAtomicFile::Write(const std::string& path, std::string_view bytes, std::string* error)
{
    if (path.empty())
        return Fail(error, path, "no file name was given", ENOENT);

    std::string target;
    int err = 0;
    if (!ResolveTarget(path, target, err))
        return Fail(error, path, "the link cannot be followed", err);

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return Fail(error, path, "it is not a regular file", S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(error, path, "it may not be written to", errno);
    }

    CTemporaryFile temp;
    if ((err = RunHook(Step::Create)) != 0)
        return Fail(error, path, "cannot create a temporary file in its folder", err);
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        const std::string name = TemporaryName(target);
        // 0644 for a new file; open() takes the umask off.
        temp.fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (temp.fd >= 0)
            temp.name = name;
        else if (errno != EEXIST || attempt == 100)
            return Fail(error, path, "cannot create a temporary file in its folder", errno);
    }

    if (exists) {
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) && fchown(temp.fd, old.st_uid, old.st_gid) != 0) {
            // Only a privileged process may give a file away; the file is then ours.
        }
        if (fchmod(temp.fd, old.st_mode & 07777) != 0)
            return Fail(error, path, "cannot keep its permissions", errno);
    }

    size_t done = 0;
    while (done < bytes.size()) {
        if ((err = RunHook(Step::Write)) != 0)
            return Fail(error, path, "cannot write the data", err);
        const size_t chunk = std::min(kChunkSize, bytes.size() - done);
        const ssize_t written = ::write(temp.fd, bytes.data() + done, chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(error, path, "cannot write the data", errno);
        }
        done += static_cast<size_t>(written);
    }

    if ((err = RunHook(Step::Sync)) != 0)
        return Fail(error, path, "cannot flush the data to the disk", err);
    if (fsync(temp.fd) != 0)
        return Fail(error, path, "cannot flush the data to the disk", errno);
    const int fd = std::exchange(temp.fd, -1);
    if (close(fd) != 0)
        return Fail(error, path, "cannot flush the data to the disk", errno);

    if ((err = RunHook(Step::Rename)) != 0)
        return Fail(error, path, "cannot replace it", err);
    if (rename(temp.name.c_str(), target.c_str()) != 0)
        return Fail(error, path, "cannot replace it", errno);
    temp.name.clear();

    // Makes the rename itself durable. The new file is in place already, so a folder that
    // cannot be synced (some file systems refuse) is no failure of the write.
    const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}
