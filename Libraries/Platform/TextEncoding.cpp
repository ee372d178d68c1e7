#include "Platform/TextEncoding.h"

namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Reads one well-formed UTF-8 sequence at text[pos]; on success advances pos past it.
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& codePoint)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        codePoint = lead;
        ++pos;
        return true;
    }
    size_t length;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - pos < length)
        return false;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return false;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    pos += length;
    return true;
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool CodePointToWindows1252(char32_t codePoint, char& out)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        out = static_cast<char>(codePoint);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

bool CTextEncoding::IsValidUtf8(std::string_view text)
{
    char32_t codePoint;
    for (size_t pos = 0; pos < text.size();) {
        if (!DecodeUtf8(text, pos, codePoint))
            return false;
    }
    return true;
}

char32_t CTextEncoding::Windows1252ToCodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::string CTextEncoding::Windows1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text)
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string CTextEncoding::FileTextToUtf8(std::string_view bytes)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::string_view mark = bytes.substr(0, bytes.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0);
    const std::string_view body = bytes.substr(mark.size());
    return std::string(mark) + (IsValidUtf8(body) ? std::string(body) : Windows1252ToUtf8(body));
}

std::string CTextEncoding::Utf8ToWindows1252(std::string_view text, char replacement)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t codePoint;
        char c;
        if (!DecodeUtf8(text, pos, codePoint)) {
            ++pos;
            c = replacement;
        } else if (!CodePointToWindows1252(codePoint, c)) {
            c = replacement;
        }
        out += c;
    }
    return out;
}

std::u16string CTextEncoding::Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t codePoint;
        if (!DecodeUtf8(text, pos, codePoint)) {
            ++pos;
            codePoint = kReplacementCharacter;
        }
        if (codePoint >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(codePoint);
        }
    }
    return out;
}

std::string CTextEncoding::Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

namespace {

bool StartsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

}  // namespace

size_t CTextEncoding::Utf8Length(std::string_view text)
{
    size_t characters = 0;
    for (const char c : text)
        characters += StartsCharacter(c) ? 1 : 0;
    return characters;
}

std::string_view CTextEncoding::Utf8Prefix(std::string_view text, size_t characters)
{
    size_t started = 0;
    for (size_t end = 0; end < text.size(); ++end) {
        if (StartsCharacter(text[end]) && started++ == characters)
            return text.substr(0, end);
    }
    return text;
}
