#include "Renovix/RenovixLib/TextScrambler.h"

#include <cstring>
#include <utility>

namespace {

// Stored texts were scrambled with exactly this order; changing it makes them unreadable.
constexpr char kAlphabet[] = "QwErTyUiOpAsDfGhJkLzXcVbNmWqReYtIuPoSaFdHgKjZlCxBvMn7391502846/+";
constexpr int kAlphabetSize = 64;
static_assert(sizeof(kAlphabet) == kAlphabetSize + 1, "the alphabet has 64 characters");

}  // namespace

char CTextScrambler::Shift(char c, int k)
{
    const char* found = c == '\0' ? nullptr : std::strchr(kAlphabet, c);
    if (found == nullptr)
        return c;
    int q = static_cast<int>(found - kAlphabet) + k;
    q %= kAlphabetSize;
    if (q < 0)
        q += kAlphabetSize;
    return kAlphabet[q];
}

void CTextScrambler::HalfSwap(std::string& text)
{
    const size_t half = text.size() / 2;
    for (size_t i = 0; i < half; i += 2)
        std::swap(text[i], text[half + i]);
}

std::string CTextScrambler::Encode(const std::string& text)
{
    std::string swapped = text;
    HalfSwap(swapped);

    std::string result;
    result.reserve(swapped.size());
    for (size_t i = 0; i < swapped.size(); ++i)
        if (i % 3 != 0)
            result += swapped[i];
    for (size_t i = 0; i < swapped.size(); i += 3)
        result += swapped[i];

    for (size_t i = 0; i < result.size(); ++i)
        result[i] = Shift(result[i], static_cast<int>(i % kAlphabetSize) + 1);
    return result;
}

std::string CTextScrambler::Decode(const std::string& text)
{
    const size_t n = text.size();
    std::string shifted = text;
    for (size_t i = 0; i < n; ++i)
        shifted[i] = Shift(shifted[i], -(static_cast<int>(i % kAlphabetSize) + 1));

    // The positions i % 3 != 0 came first, those with i % 3 == 0 after them.
    const size_t firstGroup = n == 0 ? 0 : n - (n - 1) / 3 - 1;
    std::string result(n, '\0');
    size_t first = 0;
    size_t second = firstGroup;
    for (size_t i = 0; i < n; ++i)
        result[i] = i % 3 != 0 ? shifted[first++] : shifted[second++];

    HalfSwap(result);
    return result;
}
