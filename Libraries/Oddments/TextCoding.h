// UTF-8 (our text everywhere) to and from UTF-16 (wide text columns, wide streams).
#pragma once

#include <string>
#include <string_view>

namespace Oddments {

// Malformed sequences become U+FFFD, so nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace Oddments
