#include "Platform/WholeFile.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace Platform {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    const int error = errno;
    close(fd);
    if (!ok) {
        bytes.clear();
        errno = error;
    }
    return ok;
}

bool WriteAll(int descriptor, const char* bytes, size_t size)
{
    while (size > 0) {
        const ssize_t count = write(descriptor, bytes, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

}  // namespace Platform
