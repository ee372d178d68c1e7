// The measures of one font that the PDF writer describes and measures strings with, in 1/1000 em:
// widths of the Windows-1252 codes, descriptor flags, box, stems, angles and heights.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CFontMetrics {
public:
    enum { kType0 = 0, kType1 = 1, kMMType1 = 2, kType3 = 3, kTrueType = 4, kCIDFontType0 = 5, kCIDFontType2 = 6 };
    enum { kWinAnsiEncoding = 0 };
    enum : int {
        kFlagFixedPitch = 1,
        kFlagSymbolic = 4,
        kFlagNonSymbolic = 32,
        kFlagItalic = 0x40,
        kFlagSmallCap = 0x20000,
        kFlagForceBold = 0x40000,
    };

    virtual ~CFontMetrics() = default;
    virtual void Clear();

    // Points of the Windows-1252 bytes at the size in points.
    double GetStringWidth(std::string_view text, double size) const;
    // Points of a sum of widths (1/1000 em) at the size: a string's width is that of the sum of
    // its codes' widths.
    static double WidthAtSize(long long units, double size);
    // The width of one code in 1/1000 em.
    int GetWidth(unsigned char code) const;

    // "" for values outside the tables.
    static const char* GetSubtypeName(int subtype);
    static const char* GetEncodingName(int encoding);

    int subtype = kTrueType;
    std::string resourceName;
    std::string fontName;
    int firstChar = 32;
    int lastChar = 255;
    std::vector<int> widths;  // firstChar..lastChar
    int encoding = kWinAnsiEncoding;
    int flags = kFlagNonSymbolic;
    int bboxLeft = 0;
    int bboxTop = 0;
    int bboxRight = 0;
    int bboxBottom = 0;
    int stemV = 80;
    int italicAngle = 0;
    int capHeight = 0;
    int ascent = 0;
    int descent = 0;
    int missingWidth = 0;
};
