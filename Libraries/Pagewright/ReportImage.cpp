#include "Pagewright/ReportImage.h"

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

bool ReadPixelSize(const std::string& b, long long& width, long long& height)
{
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0 && b.compare(12, 4, "IHDR") == 0) {
        width = BigEndian32(b, 16);
        height = BigEndian32(b, 20);
        return true;
    }
    if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        width = LittleEndian16(b, 6);
        height = LittleEndian16(b, 8);
        return true;
    }
    if (b.size() >= 26 && b.compare(0, 2, "BM") == 0) {
        if (LittleEndian32(b, 14) == 12) {  // the old OS/2 header
            width = LittleEndian16(b, 18);
            height = LittleEndian16(b, 20);
        } else {
            width = static_cast<std::int32_t>(LittleEndian32(b, 18));
            height = std::llabs(static_cast<std::int32_t>(LittleEndian32(b, 22)));  // negative: top-down
        }
        return true;
    }
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8)
        return ReadJpegSize(b, width, height);
    return false;
}

}  // namespace

std::shared_ptr<const CReportImage> CReportImage::FromBytes(std::string bytes)
{
    long long width = 0;
    long long height = 0;
    const long long kLimit = 1 << 20;
    if (!ReadPixelSize(bytes, width, height) || width <= 0 || height <= 0 || width > kLimit || height > kLimit)
        return nullptr;
    auto image = std::make_shared<CReportImage>();
    image->m_bytes = std::move(bytes);
    image->m_width = static_cast<int>(width);
    image->m_height = static_cast<int>(height);
    return image;
}
