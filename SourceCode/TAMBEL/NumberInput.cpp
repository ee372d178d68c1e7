#include "TAMBEL/NumberInput.h"

#include "Platform/NumberText.h"

#include <algorithm>
#include <climits>

double ReadDecimalInput(const std::string& text)
{
    std::string normalised = text;
    std::replace(normalised.begin(), normalised.end(), ',', '.');
    return Platform::AtoF(normalised.c_str());
}

bool ReadIntInput(const std::string& text, int& out)
{
    // Read like atol, so a sign without digits yet is 0; only a number that does not fit is
    // refused, since cutting it to int would give another, valid-looking number.
    const long value = Platform::AtoL(text.c_str());
    if (value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}
