#include "CommonFiles/EngineTexts.h"

#include <utility>

namespace {

std::string OrEnglish(std::string text, const char* english)
{
    return text.empty() ? std::string(english) : text;
}

}  // namespace

CEngineTexts::StringSource& CEngineTexts::Source()
{
    static StringSource source;
    return source;
}

void CEngineTexts::SetStringSource(StringSource source)
{
    Source() = std::move(source);
}

void CEngineTexts::SetTextSource(TextSource source)
{
    CUiTexts::SetSource(std::move(source));
}

std::string CEngineTexts::GetString(int id, const std::string& language, const char* english)
{
    const StringSource& source = Source();
    return OrEnglish(source ? source(id, language) : std::string(), english);
}

std::string CEngineTexts::Translate(const char* english, const std::string& language)
{
    return CUiTexts::Translate(english, language);
}
