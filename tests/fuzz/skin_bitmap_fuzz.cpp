// libFuzzer target over the skin bitmap reader. A crash or a sanitizer report is a finding, and
// so is a picture whose pixels do not match the size it claims.
#include "HarbinaxCore/SkinBitmap.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSkinBitmap bitmap;
    std::string error;
    if (!bitmap.Read(std::string_view(reinterpret_cast<const char*>(data), size), error))
        return 0;
    const std::size_t expected = static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() * 3;
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || bitmap.Rgb().size() != expected) {
        std::fprintf(stderr, "%d x %d picture with %zu bytes of pixels\n", bitmap.Width(), bitmap.Height(),
                     bitmap.Rgb().size());
        std::abort();
    }
    return 0;
}
