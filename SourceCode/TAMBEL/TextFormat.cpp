#include "TAMBEL/TextFormat.h"

#include <cctype>
#include <cstring>

std::string FillText(const std::string& format, std::initializer_list<std::string> texts)
{
    std::string out;
    auto next = texts.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // Flags, width and precision, then the conversion letter.
        std::size_t end = i + 1;
        while (end < format.size() && std::strchr("-+ #0123456789.l", format[end]))
            ++end;
        if (end == format.size() || !std::isalpha(static_cast<unsigned char>(format[end]))) {
            out += format[i];
            continue;
        }
        if (next != texts.end())
            out += *next++;
        i = end;
    }
    return out;
}
