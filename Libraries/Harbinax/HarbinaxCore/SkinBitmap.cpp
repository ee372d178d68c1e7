#include "HarbinaxCore/SkinBitmap.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // the smallest header that has all we read
constexpr std::uint32_t kUncompressed = 0;

std::uint32_t U16(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t U32(std::string_view bytes, std::size_t at)
{
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

bool Fail(std::string& error, const char* reason)
{
    error = reason;
    return false;
}

}  // namespace

bool CSkinBitmap::Read(std::string_view file, std::string& error)
{
    *this = CSkinBitmap();
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file.substr(0, 2) != "BM")
        return Fail(error, "not a BMP file");
    const std::uint64_t pixelOffset = U32(file, 10);
    const std::uint32_t headerSize = U32(file, 14);
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + headerSize > file.size())
        return Fail(error, "bitmap header size does not fit the file");
    const std::int32_t width = static_cast<std::int32_t>(U32(file, 18));
    const std::int32_t height = static_cast<std::int32_t>(U32(file, 22));
    const std::uint32_t planes = U16(file, 26);
    const std::uint32_t bits = U16(file, 28);
    const std::uint32_t compression = U32(file, 30);
    std::uint64_t colours = U32(file, 46);
    if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
        return Fail(error, "bitmap size out of range");
    if (planes != 1 || (bits != 8 && bits != 24))
        return Fail(error, "only 8- and 24-bit bitmaps are read");
    if (compression != kUncompressed)
        return Fail(error, "compressed bitmaps are not read");
    if (bits == 8 && colours == 0)
        colours = 256;
    if (colours > 256)
        return Fail(error, "colour table too large");

    const std::uint64_t tableOffset = kFileHeaderSize + headerSize;
    const std::uint64_t tableEnd = tableOffset + 4 * colours;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const int rows = std::abs(height);
    if (tableEnd > file.size())
        return Fail(error, "colour table runs past the end of the file");
    if (pixelOffset < tableEnd || pixelOffset + stride * rows > file.size())
        return Fail(error, "pixel data runs past the end of the file or overlaps the headers");

    m_rgb.resize(static_cast<std::size_t>(width) * rows * 3);
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y;
        const unsigned char* in =
            reinterpret_cast<const unsigned char*>(file.data()) + pixelOffset + stride * stored;
        unsigned char* out = m_rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, out += 3) {
            const unsigned char* bgr = in + 3 * x;
            if (bits == 8) {
                if (in[x] >= colours) {
                    *this = CSkinBitmap();
                    return Fail(error, "pixel names a colour the table does not have");
                }
                bgr = reinterpret_cast<const unsigned char*>(file.data()) + tableOffset + 4 * in[x];
            }
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
    }
    m_width = width;
    m_height = rows;
    m_bottomUp = height > 0;
    return true;
}
