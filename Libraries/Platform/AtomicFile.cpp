#include "Platform/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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

bool Fail(std::string* error, int* errorNumber, const std::string& path, const std::string& what, int err)
{
    if (errorNumber)
        *errorNumber = err;
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

// Whether the name is one TemporaryName gives for the target ("." name "." pid "-" counter "-"
// hex ".tmp"); pid receives the process id in it.
bool IsTemporaryNameOf(const std::string& entry, const std::string& name, long& pid)
{
    const std::string prefix = "." + name + ".";
    const std::string suffix = ".tmp";
    if (entry.size() <= prefix.size() + suffix.size() || entry.compare(0, prefix.size(), prefix) != 0 ||
        entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string middle = entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size());
    const size_t first = middle.find('-');
    const size_t second = first == std::string::npos ? first : middle.find('-', first + 1);
    if (second == std::string::npos || first == 0 || second == first + 1 || second + 1 == middle.size())
        return false;
    auto all = [&](size_t from, size_t to, const char* digits) {
        return middle.find_first_not_of(digits, from) >= to;
    };
    if (!all(0, first, "0123456789") || !all(first + 1, second, "0123456789") ||
        middle.find_first_not_of("0123456789abcdef", second + 1) != std::string::npos || first > 9)
        return false;
    pid = std::strtol(middle.c_str(), nullptr, 10);
    return true;
}

// Removes the temporary files that saves of the target killed half way left behind: those
// whose process is gone and that no writer holds locked (every writer locks its own).
void RemoveStaleTemporaryFiles(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = readdir(dir)) {
        long pid = 0;
        if (!IsTemporaryNameOf(entry->d_name, name, pid) || (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH))
            continue;
        const int fd = openat(dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirfd(dir), entry->d_name, 0);
        close(fd);
    }
    closedir(dir);
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

// True when the file can be read and its bytes are these.
bool HoldsExactly(const std::string& path, std::string_view bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::vector<char> buffer(std::min(CAtomicFile::kChunkSize, bytes.size() + 1));
    size_t done = 0;
    bool same = true;
    while (same) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            same = got == 0 && done == bytes.size();
            break;
        }
        const size_t size = static_cast<size_t>(got);
        same = done + size <= bytes.size() && std::memcmp(buffer.data(), bytes.data() + done, size) == 0;
        done += size;
    }
    close(fd);
    return same;
}

}  // namespace

void CAtomicFile::SetHookForTesting(std::function<int(Step)> hook)
{
    Hook() = std::move(hook);
}

namespace {

// One write of path: the bytes come from produce, unless the file holds unchanged already.
bool WriteTarget(const std::string& path, const std::string_view* unchanged,
                 const std::function<bool(const CAtomicFile::Sink&)>& produce, std::string* error, mode_t newFileMode,
                 int* errorNumber)
{
    if (errorNumber)
        *errorNumber = 0;
    if (path.empty())
        return Fail(error, errorNumber, path, "no file name was given", ENOENT);

    std::string target;
    int err = 0;
    if (!ResolveTarget(path, target, err))
        return Fail(error, errorNumber, path, "the link cannot be followed", err);

    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return Fail(error, errorNumber, path, "it is not a regular file", S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(error, errorNumber, path, "it may not be written to", errno);
    }

    RemoveStaleTemporaryFiles(target);
    // Nothing to replace when the file holds these bytes already (a setting saved unchanged).
    if (unchanged && exists && static_cast<size_t>(old.st_size) == unchanged->size() &&
        HoldsExactly(target, *unchanged))
        return true;
    CTemporaryFile temp;
    if ((err = RunHook(CAtomicFile::Step::Create)) != 0)
        return Fail(error, errorNumber, path, "cannot create a temporary file in its folder", err);
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        const std::string name = TemporaryName(target);
        // open() takes the umask off.
        temp.fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
        if (temp.fd >= 0) {
            temp.name = name;
            // Tells a cleaner that this file is being written.
            flock(temp.fd, LOCK_EX | LOCK_NB);
        }
        else if (errno != EEXIST || attempt == 100)
            return Fail(error, errorNumber, path, "cannot create a temporary file in its folder", errno);
    }

    if (exists) {
        if ((old.st_uid != geteuid() || old.st_gid != getegid()) && fchown(temp.fd, old.st_uid, old.st_gid) != 0) {
            // Only a privileged process may give a file away; the file is then ours.
        }
        if (fchmod(temp.fd, old.st_mode & 07777) != 0)
            return Fail(error, errorNumber, path, "cannot keep its permissions", errno);
    }

    // The sink's failure, if any: its step's error number.
    int writeError = 0;
    const CAtomicFile::Sink sink = [&](const char* data, size_t size) {
        size_t done = 0;
        while (done < size) {
            if ((writeError = RunHook(CAtomicFile::Step::Write)) != 0)
                return false;
            const size_t chunk = std::min(CAtomicFile::kChunkSize, size - done);
            const ssize_t written = ::write(temp.fd, data + done, chunk);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                writeError = errno;
                return false;
            }
            done += static_cast<size_t>(written);
        }
        return true;
    };
    if (!produce(sink))
        return writeError != 0 ? Fail(error, errorNumber, path, "cannot write the data", writeError) : false;
    if (writeError != 0)
        return Fail(error, errorNumber, path, "cannot write the data", writeError);

    if ((err = RunHook(CAtomicFile::Step::Sync)) != 0)
        return Fail(error, errorNumber, path, "cannot flush the data to the disk", err);
    if (fsync(temp.fd) != 0)
        return Fail(error, errorNumber, path, "cannot flush the data to the disk", errno);
    const int fd = std::exchange(temp.fd, -1);
    if (close(fd) != 0)
        return Fail(error, errorNumber, path, "cannot flush the data to the disk", errno);

    if ((err = RunHook(CAtomicFile::Step::Rename)) != 0)
        return Fail(error, errorNumber, path, "cannot replace it", err);
    if (rename(temp.name.c_str(), target.c_str()) != 0)
        return Fail(error, errorNumber, path, "cannot replace it", errno);
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

}  // namespace

bool CAtomicFile::Write(const std::string& path, std::string_view bytes, std::string* error, mode_t newFileMode,
                        int* errorNumber)
{
    return WriteTarget(path, &bytes, [bytes](const Sink& sink) { return sink(bytes.data(), bytes.size()); }, error,
                       newFileMode, errorNumber);
}

bool CAtomicFile::WriteFrom(const std::string& path, const std::function<bool(const Sink&)>& produce,
                            std::string* error, mode_t newFileMode)
{
    return WriteTarget(path, nullptr, produce, error, newFileMode, nullptr);
}
