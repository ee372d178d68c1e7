// The bitmap of a skin, read by ourselves from a Windows BMP file: 8 bits a pixel with a colour
// table or 24 bits a pixel, uncompressed, rows stored bottom-up or top-down. Skins come from
// wherever a user puts them, so every header field is checked against the bytes that are there
// before a pixel is read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CSkinBitmap {
public:
    // Larger pictures are refused: a skin bitmap holds a few dozen small pieces.
    static constexpr int kMaxSide = 8192;

    // The whole file, its 14-byte file header included. False with the reason in error for a
    // file that is short, lies about its sizes, or has a kind of bitmap we do not read; the
    // object is then empty.
    bool Read(std::string_view file, std::string& error);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Whether the file stored its last row first (a positive height in its header).
    bool IsBottomUp() const { return m_bottomUp; }
    // Red, green, blue per pixel, the top row first, rows without padding.
    const std::vector<unsigned char>& Rgb() const { return m_rgb; }

private:
    int m_width = 0;
    int m_height = 0;
    bool m_bottomUp = false;
    std::vector<unsigned char> m_rgb;
};
