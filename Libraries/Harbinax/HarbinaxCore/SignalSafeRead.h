#pragma once

// Reading the own memory and /proc files without allocation or stdio, for code that runs inside
// a signal handler.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// Copies up to length bytes of our own memory; stops at the first page that cannot be read
// instead of faulting. The count of bytes copied.
std::size_t SafeRead(void* target, std::uintptr_t source, std::size_t length);

// The decimal or lower-case hexadecimal number at text, after blanks; end (when given) is set to
// the first character after it.
unsigned long long ParseNumber(const char* text, int base, const char** end = nullptr);

// Calls visit(line) for each line of a file until it returns false, reading through buffer
// (lines longer than the buffer are cut).
template <std::size_t N, typename Visit>
void ForEachLine(const char* path, char (&buffer)[N], Visit visit)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    std::size_t fill = 0;
    bool more = true;
    bool go = true;
    while (go && (more || fill > 0)) {
        if (more && fill < N - 1) {
            const ssize_t got = read(fd, buffer + fill, N - 1 - fill);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                more = false;
            else
                fill += static_cast<std::size_t>(got);
        }
        char* end = static_cast<char*>(std::memchr(buffer, '\n', fill));
        if (end == nullptr && more && fill < N - 1)
            continue;
        const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - buffer) : fill;
        buffer[length] = '\0';
        go = visit(static_cast<const char*>(buffer));
        const std::size_t used = end != nullptr ? length + 1 : fill;
        std::memmove(buffer, buffer + used, fill - used);
        fill -= used;
    }
    close(fd);
}
