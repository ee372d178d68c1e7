#include "Platform/UiTexts.h"

#include <utility>

CUiTexts::Source& CUiTexts::Current()
{
    static Source source;
    return source;
}

void CUiTexts::SetSource(Source source)
{
    Current() = std::move(source);
}

std::string CUiTexts::Translate(const char* english, const std::string& language)
{
    const Source& source = Current();
    const std::string text = source ? source(english, language) : std::string();
    return text.empty() ? std::string(english) : text;
}
