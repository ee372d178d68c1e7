#include "Pagewright/AfmFontMetrics.h"

#include "Pagewright/GlyphNames.h"
#include "Platform/AsciiText.h"
#include "Platform/TextEncoding.h"
#include "Platform/WholeFile.h"

#include <cstdlib>
#include <sstream>

namespace {

std::string_view Trim(std::string_view text, const char* blanks = " \t\r")
{
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::string_view();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Keyword and value of "Keyword value"; a line without a blank is all keyword.
void SplitAtBlank(std::string_view line, std::string_view& keyword, std::string_view& value)
{
    const std::size_t blank = line.find(' ');
    keyword = line.substr(0, blank);
    value = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

int ToInt(std::string_view text)
{
    // strtol on a bounded copy: the value need not end the buffer.
    const std::string copy(Trim(text));
    const double value = std::strtod(copy.c_str(), nullptr);
    if (!(value > -1e9 && value < 1e9))
        return 0;
    return static_cast<int>(value);
}

void ReadInts(std::string_view text, int* values, int count)
{
    std::istringstream in{std::string(text)};
    for (int i = 0; i < count; ++i) {
        std::string word;
        if (!(in >> word))
            return;
        values[i] = ToInt(word);
    }
}

bool EndsWith(const std::string& text, const char* end)
{
    const std::size_t n = std::char_traits<char>::length(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

}  // namespace

void CAfmFontMetrics::Clear()
{
    CFontMetrics::Clear();
    m_byCode.clear();
    m_byName.clear();
    m_weight.clear();
    m_encodingScheme.clear();
    m_fixedPitch = false;
    m_symbolic = false;
}

bool CAfmFontMetrics::LoadAfm(const std::string& path)
{
    std::string text;
    return Platform::ReadWholeFile(path, text) && LoadAfmText(text);
}

void CAfmFontMetrics::ReadGlyphLine(std::string_view line)
{
    SGlyph glyph;
    while (!line.empty()) {
        const std::size_t semicolon = line.find(';');
        const std::string_view item = Trim(line.substr(0, semicolon), " ");
        line = semicolon == std::string_view::npos ? std::string_view() : line.substr(semicolon + 1);
        std::string_view key;
        std::string_view value;
        SplitAtBlank(item, key, value);
        if (key == "C")
            glyph.code = ToInt(value);
        else if (key == "WX")
            glyph.width = ToInt(value);
        else if (key == "N")
            glyph.name = std::string(Trim(value, " "));
        else if (key == "B")
            ReadInts(value, glyph.box, 4);
    }
    if (glyph.code >= 0)
        m_byCode[glyph.code] = glyph;
    m_byName[glyph.name] = glyph;
}

bool CAfmFontMetrics::LoadAfmText(std::string_view text)
{
    Clear();
    italicAngle = 0;
    bboxLeft = -50;
    bboxBottom = -200;
    bboxRight = 1000;
    bboxTop = 900;
    m_encodingScheme = "FontSpecific";
    capHeight = 700;
    ascent = 800;
    descent = -200;
    stemV = 80;
    firstChar = 32;
    lastChar = 255;
    subtype = kType1;
    // Set by no AFM line; a code outside the widths measures nothing.
    missingWidth = 0;

    bool inGlyphs = false;
    bool glyphsEnded = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end), "\r");
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::string_view keyword;
        std::string_view value;
        SplitAtBlank(line, keyword, value);
        if (keyword.empty())
            continue;
        if (inGlyphs) {
            if (keyword == "EndCharMetrics") {
                inGlyphs = false;
                glyphsEnded = true;
            } else {
                ReadGlyphLine(line);
            }
            continue;
        }
        if (keyword == "FontName") {
            fontName = std::string(value);
        } else if (keyword == "Weight") {
            m_weight = std::string(value);
        } else if (keyword == "ItalicAngle") {
            italicAngle = ToInt(value);
        } else if (keyword == "IsFixedPitch") {
            m_fixedPitch = Platform::EqualsNoCase(Trim(value), "true");
        } else if (keyword == "FontBBox") {
            int box[4] = {bboxLeft, bboxBottom, bboxRight, bboxTop};
            ReadInts(value, box, 4);
            bboxLeft = box[0];
            bboxBottom = box[1];
            bboxRight = box[2];
            bboxTop = box[3];
        } else if (keyword == "EncodingScheme") {
            m_encodingScheme = std::string(Trim(value));
        } else if (keyword == "CapHeight") {
            capHeight = ToInt(value);
        } else if (keyword == "Ascender") {
            ascent = ToInt(value);
        } else if (keyword == "Descender") {
            descent = ToInt(value);
        } else if (keyword == "StdVW") {
            stemV = ToInt(value);
        } else if (keyword == "StartCharMetrics") {
            inGlyphs = !glyphsEnded;
        }
    }
    if (inGlyphs)
        return false;

    m_symbolic = m_encodingScheme != "AdobeStandardEncoding" && m_encodingScheme != "StandardEncoding";
    flags = (m_fixedPitch ? kFlagFixedPitch : 0) | (m_symbolic ? kFlagSymbolic : kFlagNonSymbolic);
    if (fontName.find("Caps") != std::string::npos || EndsWith(fontName, "SC"))
        flags |= kFlagSmallCap;
    if (m_weight == "Bold")
        flags |= kFlagForceBold;
    widths.assign(lastChar - firstChar + 1, 0);
    for (int code = firstChar; code <= lastChar; ++code) {
        const std::string name = Pagewright::StandardGlyphName(static_cast<unsigned char>(code));
        const SGlyph* glyph = nullptr;
        if (!name.empty()) {
            const auto it = m_byName.find(name);
            if (it != m_byName.end())
                glyph = &it->second;
        }
        if (glyph == nullptr) {
            const auto it = m_byCode.find(static_cast<int>(CTextEncoding::Windows1252ToCodePoint(static_cast<unsigned char>(code))));
            if (it != m_byCode.end())
                glyph = &it->second;
        }
        if (glyph != nullptr && glyph->name == ".notdef")
            glyph = nullptr;
        widths[code - firstChar] = glyph != nullptr ? glyph->width : 0;
    }
    encoding = kWinAnsiEncoding;
    return true;
}
