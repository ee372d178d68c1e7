#include "HarbinaxCore/ReportWriter.h"

#include <cerrno>
#include <unistd.h>

void CReportWriter::SetTarget(int fd)
{
    m_fd = fd;
    m_failed = false;
    m_fill = 0;
}

void CReportWriter::Write(const char* text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        Put(text[i]);
}

bool CReportWriter::Flush()
{
    std::size_t done = 0;
    while (done < m_fill && m_fd >= 0) {
        const ssize_t written = write(m_fd, m_buffer + done, m_fill - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_failed = true;
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    m_fill = 0;
    return !m_failed;
}

void CReportWriter::Put(char c)
{
    if (m_fill == BufferSize)
        Flush();
    m_buffer[m_fill++] = c;
}

void CReportWriter::PutPadded(const char* text, std::size_t length, int width, bool left, char pad)
{
    int missing = width - static_cast<int>(length);
    if (!left) {
        // Zero padding goes between the sign and the digits.
        if (pad == '0' && length > 0 && text[0] == '-') {
            Put('-');
            ++text;
            --length;
        }
        for (; missing > 0; --missing)
            Put(pad);
    }
    Write(text, length);
    for (; missing > 0; --missing)
        Put(' ');
}

void CReportWriter::Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    VPrintf(format, args);
    va_end(args);
}

void CReportWriter::VPrintf(const char* format, va_list args)
{
    static const char lowerDigits[] = "0123456789abcdef";
    static const char upperDigits[] = "0123456789ABCDEF";
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            Put(*p++);
            continue;
        }
        const char* start = p++;
        bool left = false;
        char pad = ' ';
        for (; *p == '-' || *p == '0'; ++p) {
            if (*p == '-')
                left = true;
            else
                pad = '0';
        }
        int width = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            width = width * 10 + (*p - '0');
        int longs = 0;
        bool size = false;
        for (; *p == 'l' || *p == 'h' || *p == 'z'; ++p) {
            if (*p == 'l')
                ++longs;
            else if (*p == 'z')
                size = true;
        }
        if (left)
            pad = ' ';

        char digits[24];
        char* end = digits + sizeof(digits);
        char* text = end;
        const char conversion = *p;
        switch (conversion) {
        case 'd':
        case 'i': {
            long long value = size ? static_cast<long long>(va_arg(args, ssize_t))
                            : longs >= 2 ? va_arg(args, long long)
                            : longs == 1 ? va_arg(args, long)
                                         : va_arg(args, int);
            // Through unsigned so the most negative value has a magnitude too.
            unsigned long long magnitude =
                value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
            do {
                *--text = lowerDigits[magnitude % 10];
                magnitude /= 10;
            } while (magnitude != 0);
            if (value < 0)
                *--text = '-';
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            unsigned long long value = size ? va_arg(args, std::size_t)
                                     : longs >= 2 ? va_arg(args, unsigned long long)
                                     : longs == 1 ? va_arg(args, unsigned long)
                                                  : va_arg(args, unsigned int);
            const unsigned base = conversion == 'u' ? 10 : 16;
            const char* set = conversion == 'X' ? upperDigits : lowerDigits;
            do {
                *--text = set[value % base];
                value /= base;
            } while (value != 0);
            break;
        }
        case 'c':
            *--text = static_cast<char>(va_arg(args, int));
            break;
        case 's': {
            const char* s = va_arg(args, const char*);
            if (s == nullptr)
                s = "(null)";
            std::size_t length = 0;
            while (s[length] != '\0')
                ++length;
            PutPadded(s, length, width, left, ' ');
            ++p;
            continue;
        }
        case '%':
            Put('%');
            ++p;
            continue;
        default:
            // Not ours to interpret: copy the directive as it stands.
            Write(start, static_cast<std::size_t>(p - start));
            continue;
        }
        PutPadded(text, static_cast<std::size_t>(end - text), width, left, pad);
        ++p;
    }
}
