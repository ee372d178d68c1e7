#include "HarbinaxCore/SignalSafeRead.h"

#include <algorithm>
#include <sys/uio.h>

std::size_t SafeRead(void* target, std::uintptr_t source, std::size_t length)
{
    const std::uintptr_t pageSize = 4096;
    std::size_t done = 0;
    while (done < length) {
        const std::uintptr_t from = source + done;
        const std::size_t chunk =
            std::min<std::size_t>(length - done, pageSize - static_cast<std::size_t>(from % pageSize));
        iovec local = {static_cast<char*>(target) + done, chunk};
        iovec remote = {reinterpret_cast<void*>(from), chunk};
        if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(chunk))
            break;
        done += chunk;
    }
    return done;
}

unsigned long long ParseNumber(const char* text, int base, const char** end)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    unsigned long long value = 0;
    for (;; ++text) {
        int digit;
        if (*text >= '0' && *text <= '9')
            digit = *text - '0';
        else if (base == 16 && *text >= 'a' && *text <= 'f')
            digit = *text - 'a' + 10;
        else
            break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    if (end != nullptr)
        *end = text;
    return value;
}
