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
    if (text.find_first_not_of(" \t") == std::string::npos) {
        out = 0;
        return true;
    }
    long value = 0;
    if (!Platform::TextToLong(text, value) || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}
