#pragma once

#include <cstdarg>
#include <cstddef>

// Formats text into a fixed buffer and hands it to a file descriptor with write(2) only:
// no allocation, no locks, no locale, so it may run inside a signal handler.
// Printf understands the flags '-' and '0', a field width, the lengths hh, h, l, ll and z,
// and the conversions d, i, u, x, X, c, s and %; anything else is copied as it stands.
class CReportWriter {
public:
    static constexpr std::size_t BufferSize = 8192;

    // Pending text goes to this descriptor; -1 drops it.
    void SetTarget(int fd);

    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void VPrintf(const char* format, va_list args) __attribute__((format(printf, 2, 0)));
    // Writes out what is pending; false when the descriptor refused some of it.
    bool Flush();

private:
    void Put(char c);
    void Write(const char* text, std::size_t length);
    void PutPadded(const char* text, std::size_t length, int width, bool left, char pad);

    int m_fd = -1;
    bool m_failed = false;
    std::size_t m_fill = 0;
    char m_buffer[BufferSize] = {};
};
