#include "CommonFiles/DataFormat.h"

#include "Platform/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

char displaySeparator = '.';

// The text of Format with '.' as decimal point.
std::string FormatMachine(double x, int digits, bool dropPoint)
{
    x = DataFormat::RoundToSignificantDigits(x, digits);
    if (std::isnan(x))
        return "NaN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    std::string text = Platform::DoubleToText(x, 'f', 10);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        if (dropPoint)
            text.pop_back();
        else
            text += '0';
    }
    // A negative value too small for ten decimals shows as zero, without a sign.
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1);
    return text;
}

std::string WithDisplaySeparator(std::string text)
{
    if (displaySeparator != '.') {
        const std::size_t point = text.find('.');
        if (point != std::string::npos)
            text[point] = displaySeparator;
    }
    return text;
}

}  // namespace

// RQD:DFMT0001
DataFormat::DataFormat() : m_decimals(0) {}

// RQD:DFMT0002
DataFormat::~DataFormat() = default;

// RQD:DFMT0003
int DataFormat::GetDecimals() const
{
    return m_decimals;
}

// RQD:DFMT0004
int DataFormat::TrackDecimals(double x, int digits, bool reset, bool dropPoint)
{
    const std::string text = FormatMachine(x, digits, dropPoint);
    int decimals = 0;
    for (auto c = text.rbegin(); c != text.rend() && *c >= '0' && *c <= '9'; ++c)
        ++decimals;
    if (decimals == static_cast<int>(text.size()))
        decimals = 0;
    if (reset || decimals > m_decimals)
        m_decimals = decimals;
    return decimals;
}

// RQD:DFMT0005
std::string DataFormat::Format(double x, int digits, bool dropPoint)
{
    return WithDisplaySeparator(FormatMachine(x, digits, dropPoint));
}

// RQD:DFMT0006
double DataFormat::RoundToSignificantDigits(double x, int digits)
{
    if (digits <= 0 || x == 0.0 || !std::isfinite(x))
        return x;
    const double original = x;
    double sign = 1.0;
    if (x < 0) {
        sign = -1.0;
        x = -x;
    }
    double p = 1.0;
    for (int i = 1; i < digits; ++i)
        p *= 10.0;
    int n = 0;
    while (x < p) {
        x *= 10.0;
        ++n;
    }
    while (p * 10.0 < x) {
        x /= 10.0;
        --n;
    }
    x = std::floor(x + 0.5000000000001);
    double f = 1.0;
    for (; n < 0; ++n)
        f *= 10.0;
    for (; n > 0; --n)
        f /= 10.0;
    const double rounded = x * f * sign;
    // Rounding up next to the largest double would give infinity.
    return std::isfinite(rounded) ? rounded : original;
}

// RQD:DFMT0007
std::string DataFormat::FormatWithDecimals(double x) const
{
    return FormatFixed(x, m_decimals);
}

std::string DataFormat::FormatFixed(double x, int decimals)
{
    return WithDisplaySeparator(Platform::DoubleToText(x, 'f', decimals));
}

// RQD:DFMT0008
std::string DataFormat::FormatSql(double x, int digits, bool dropPoint)
{
    return FormatMachine(x, digits, dropPoint);
}

void DataFormat::SetDisplayDecimalSeparator(char separator)
{
    displaySeparator = separator;
}

char DataFormat::GetDisplayDecimalSeparator()
{
    return displaySeparator;
}

double DataFormat::Parse(const std::string& text)
{
    std::string number = text;
    std::replace(number.begin(), number.end(), ',', '.');
    return Platform::AtoF(number.c_str());
}
