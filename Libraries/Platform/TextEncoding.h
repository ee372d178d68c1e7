// Conversions between UTF-8, the encoding of all text inside the system, and Windows-1252, the
// ANSI code page of files written by the Windows programs and of PDF text strings, or UTF-16,
// the form of wide database text and of data-link files.
#pragma once

#include <string>
#include <string_view>

class CTextEncoding
{
public:
    // True when the text is well-formed UTF-8: no stray or missing continuation bytes, no
    // overlong forms, no surrogates, nothing above U+10FFFF.
    static bool IsValidUtf8(std::string_view text);

    // The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
    // undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value.
    static char32_t Windows1252ToCodePoint(unsigned char byte);

    // Every byte is taken as a Windows-1252 character; the result is valid UTF-8.
    static std::string Windows1252ToUtf8(std::string_view text);

    // Text of a file written either by this system (UTF-8, with or without byte order mark) or
    // by the Windows programs (Windows-1252), as UTF-8: text that is valid UTF-8 after a
    // possible byte order mark stays as it is (the mark too), anything else is converted.
    static std::string FileTextToUtf8(std::string_view bytes);

    // Characters that Windows-1252 cannot hold, and bytes that are not valid UTF-8, become the
    // replacement character.
    static std::string Utf8ToWindows1252(std::string_view text, char replacement = '?');

    // Bytes that are not valid UTF-8 become U+FFFD each, so nothing is dropped silently.
    static std::u16string Utf8ToUtf16(std::string_view text);
    // Unpaired surrogates become U+FFFD.
    static std::string Utf16ToUtf8(std::u16string_view text);

    // Characters of UTF-8 text, as a database column of n characters counts them: every byte
    // that does not continue a character starts one.
    static size_t Utf8Length(std::string_view text);
    // The text's first characters, never cutting a character in two.
    static std::string_view Utf8Prefix(std::string_view text, size_t characters);
};
