#include "Pagewright/FontMetrics.h"

void CFontMetrics::Clear()
{
    widths.clear();
}

int CFontMetrics::GetWidth(unsigned char code) const
{
    const int index = code - firstChar;
    if (code < firstChar || code > lastChar || index >= static_cast<int>(widths.size()))
        return missingWidth;
    return widths[index];
}

double CFontMetrics::GetStringWidth(std::string_view text, double size) const
{
    long long sum = 0;
    for (char c : text)
        sum += GetWidth(static_cast<unsigned char>(c));
    return WidthAtSize(sum, size);
}

double CFontMetrics::WidthAtSize(long long units, double size)
{
    return static_cast<double>(units) / 1000.0 * size;
}

const char* CFontMetrics::GetSubtypeName(int subtype)
{
    static const char* const kNames[] = {"Type0", "Type1", "MMType1", "Type3", "TrueType", "CIDFontType0", "CIDFontType2"};
    return subtype >= 0 && subtype < 7 ? kNames[subtype] : "";
}

const char* CFontMetrics::GetEncodingName(int encoding)
{
    return encoding == kWinAnsiEncoding ? "WinAnsiEncoding" : "";
}
