#include "Pagewright/ReportImage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t Byte(const std::string& b, std::size_t at)
{
    return static_cast<unsigned char>(b[at]);
}

std::uint32_t BigEndian16(const std::string& b, std::size_t at)
{
    return Byte(b, at) << 8 | Byte(b, at + 1);
}

std::uint32_t BigEndian32(const std::string& b, std::size_t at)
{
    return BigEndian16(b, at) << 16 | BigEndian16(b, at + 2);
}

std::uint32_t LittleEndian16(const std::string& b, std::size_t at)
{
    return Byte(b, at) | Byte(b, at + 1) << 8;
}

std::uint32_t LittleEndian32(const std::string& b, std::size_t at)
{
    return LittleEndian16(b, at) | LittleEndian16(b, at + 2) << 16;
}

bool ReadJpegSize(const std::string& b, long long& width, long long& height)
{
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (Byte(b, at) != 0xFF)
            return false;
        const std::uint32_t marker = Byte(b, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length follows
            at += 2;
            continue;
        }
        const std::uint32_t length = BigEndian16(b, at + 2);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size())
                return false;
            height = BigEndian16(b, at + 5);
            width = BigEndian16(b, at + 7);
            return true;
        }
        if (length < 2)
            return false;
        at += 2 + length;
    }
    return false;
}

// The pixels of every frame of a GIF, walked as the decoder walks it, for it decodes every frame
// it finds: a graphic control extension is taken as its usual six bytes whatever its size byte
// says, other extensions by their sub-blocks, and any other byte than an extension, an image or
// the trailer is passed over by itself, not taken for the end. The walk ends at the trailer or
// the end of the bytes.
long long GifFramePixels(const std::string& b)
{
    const auto tableSize = [](std::uint32_t flags) -> std::size_t {
        return (flags & 0x80) != 0 ? 3u << ((flags & 0x07) + 1) : 0;
    };
    const auto skipSubBlocks = [&b](std::size_t at) {
        while (at < b.size() && Byte(b, at) != 0)
            at += 1 + Byte(b, at);
        return at + 1;
    };
    long long pixels = 0;
    if (b.size() < 13)
        return pixels;
    std::size_t at = 13 + tableSize(Byte(b, 10));
    while (at < b.size()) {
        const std::uint32_t block = Byte(b, at);
        if (block == 0x3B)  // trailer
            break;
        if (block == 0x21) {  // extension: label, then sub-blocks
            if (at + 1 < b.size() && Byte(b, at + 1) == 0xF9)
                at += 2 + 6;  // size, four bytes of control, terminator
            else
                at = skipSubBlocks(at + 2);
        } else if (block == 0x2C) {  // image descriptor, colour table, code size, data
            if (at + 10 > b.size())
                break;
            pixels += static_cast<long long>(LittleEndian16(b, at + 5)) * LittleEndian16(b, at + 7);
            at = skipSubBlocks(at + 10 + tableSize(Byte(b, at + 9)) + 1);
        } else {
            ++at;
        }
    }
    return pixels;
}

bool ReadPixelSize(const std::string& b, CReportImage::EKind& kind, long long& width, long long& height,
                   long long& pixels)
{
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0 && b.compare(12, 4, "IHDR") == 0) {
        kind = CReportImage::kPng;
        width = BigEndian32(b, 16);
        height = BigEndian32(b, 20);
    } else if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        kind = CReportImage::kGif;
        width = LittleEndian16(b, 6);
        height = LittleEndian16(b, 8);
        pixels = GifFramePixels(b);
    } else if (b.size() >= 26 && b.compare(0, 2, "BM") == 0) {
        kind = CReportImage::kBmp;
        if (LittleEndian32(b, 14) == 12) {  // the old OS/2 header
            width = LittleEndian16(b, 18);
            height = LittleEndian16(b, 20);
        } else {
            width = static_cast<std::int32_t>(LittleEndian32(b, 18));
            height = std::llabs(static_cast<std::int32_t>(LittleEndian32(b, 22)));  // negative: top-down
        }
    } else if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) {
        kind = CReportImage::kJpeg;
        if (!ReadJpegSize(b, width, height))
            return false;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::shared_ptr<const CReportImage> CReportImage::FromBytes(std::string bytes)
{
    EKind kind = kPng;
    long long width = 0;
    long long height = 0;
    long long pixels = 0;
    const long long kLimit = 1 << 20;
    if (!ReadPixelSize(bytes, kind, width, height, pixels) || width <= 0 || height <= 0 || width > kLimit ||
        height > kLimit || std::max(pixels, width * height) > kMaxPixels)
        return nullptr;
    auto image = std::make_shared<CReportImage>();
    image->m_bytes = std::move(bytes);
    image->m_kind = kind;
    image->m_width = static_cast<int>(width);
    image->m_height = static_cast<int>(height);
    return image;
}
