// BMP files as the skin tests need them, written byte by byte so each test controls every
// header field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct STestBmp {
    int width = 0;
    int height = 0;  // rows of pixels
    int bits = 24;   // 8 or 24
    bool bottomUp = true;
    // 0xRRGGBB per pixel, the top row first (24 bits), or colour indices (8 bits).
    std::vector<std::uint32_t> pixels;
    // 0xRRGGBB per entry (8 bits).
    std::vector<std::uint32_t> palette;
};

inline void PutLe(std::string& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The whole file: 14-byte file header, 40-byte info header, colour table, padded rows.
inline std::string BmpFile(const STestBmp& bmp)
{
    const int stride = (bmp.width * bmp.bits + 31) / 32 * 4;
    const std::size_t table = bmp.bits == 8 ? 4 * bmp.palette.size() : 0;
    const std::size_t offset = 14 + 40 + table;
    std::string bytes(offset + static_cast<std::size_t>(stride) * bmp.height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    PutLe(bytes, 10, static_cast<std::uint32_t>(offset), 4);
    PutLe(bytes, 14, 40, 4);
    PutLe(bytes, 18, static_cast<std::uint32_t>(bmp.width), 4);
    PutLe(bytes, 22, static_cast<std::uint32_t>(bmp.bottomUp ? bmp.height : -bmp.height), 4);
    PutLe(bytes, 26, 1, 2);
    PutLe(bytes, 28, static_cast<std::uint32_t>(bmp.bits), 2);
    PutLe(bytes, 46, bmp.bits == 8 ? static_cast<std::uint32_t>(bmp.palette.size()) : 0, 4);
    for (std::size_t i = 0; i < (bmp.bits == 8 ? bmp.palette.size() : 0); ++i)
        PutLe(bytes, 54 + 4 * i, bmp.palette[i], 4);  // blue, green, red, 0
    for (int y = 0; y < bmp.height; ++y) {
        const int stored = bmp.bottomUp ? bmp.height - 1 - y : y;
        const std::size_t row = offset + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < bmp.width; ++x) {
            const std::uint32_t pixel = bmp.pixels[static_cast<std::size_t>(y) * bmp.width + x];
            if (bmp.bits == 8)
                bytes[row + x] = static_cast<char>(pixel);
            else
                PutLe(bytes, row + 3 * x, pixel, 3);
        }
    }
    return bytes;
}

// A 24-bit picture of one colour.
inline STestBmp PlainBmp(int width, int height, std::uint32_t rgb, bool bottomUp = true)
{
    STestBmp bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bottomUp = bottomUp;
    bmp.pixels.assign(static_cast<std::size_t>(width) * height, rgb);
    return bmp;
}
