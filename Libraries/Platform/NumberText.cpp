#include "Platform/NumberText.h"

#include "Platform/AsciiText.h"

#include <charconv>
#include <cstdlib>
#include <locale.h>
#include <system_error>

namespace Platform {

namespace {

// The "C" locale as an object, for the prefix parsers: strtod_l/strtol_l with it are atof/atol
// in the C locale exactly (hexadecimal floats, "inf", saturation on overflow included), which
// from_chars alone does not reproduce.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// from_chars takes a '-' but no '+'; allow one '+' that is not followed by another sign.
bool StripPlus(std::string_view& text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-' || text.front() == '+')
            return false;
    }
    return true;
}

// The whole text, less surrounding blanks, as one number; out untouched on failure.
template <typename T>
bool ParseWhole(std::string_view text, T& out)
{
    text = TrimAsciiBlanks(text);
    if (!StripPlus(text) || text.empty())
        return false;
    T value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    out = value;
    return true;
}

}  // namespace

std::string DoubleToText(double v)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

std::string DoubleToText(double v, char conversion, int precision)
{
    const bool upper = conversion == 'F' || conversion == 'E' || conversion == 'G';
    std::chars_format format = std::chars_format::general;
    if (conversion == 'f' || conversion == 'F')
        format = std::chars_format::fixed;
    else if (conversion == 'e' || conversion == 'E')
        format = std::chars_format::scientific;
    if (precision < 0)
        precision = 6;

    // Room for the 309 integer digits of DBL_MAX in fixed form, sign, point and exponent.
    std::string text(static_cast<std::size_t>(precision) + 330, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), v, format, precision);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    if (upper) {
        for (char& c : text)
            c = AsciiUpper(c);
    }
    return text;
}

std::string LongToText(long v)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

bool TextToDouble(std::string_view text, double& out)
{
    return ParseWhole(text, out);
}

bool TextToLong(std::string_view text, long& out)
{
    return ParseWhole(text, out);
}

double AtoF(const char* text)
{
    return text ? strtod_l(text, nullptr, CLocale()) : 0.0;
}

long AtoL(const char* text)
{
    return text ? strtol_l(text, nullptr, 10, CLocale()) : 0L;
}

}  // namespace Platform
