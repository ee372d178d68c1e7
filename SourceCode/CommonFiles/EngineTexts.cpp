#include "CommonFiles/EngineTexts.h"

#include <utility>

CEngineTexts::StringSource& CEngineTexts::Source()
{
    static StringSource source;
    return source;
}

void CEngineTexts::SetStringSource(StringSource source)
{
    Source() = std::move(source);
}

std::string CEngineTexts::GetString(int id, const std::string& language, const char* english)
{
    const StringSource& source = Source();
    if (source) {
        std::string text = source(id, language);
        if (!text.empty())
            return text;
    }
    return english;
}
