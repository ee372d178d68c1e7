#include "Harbinax/UiLanguage.h"

#include "Platform/AsciiText.h"

#include <cstdlib>
#include <cstring>

namespace {

const SUiLanguage english = {"en", "english", '.'};

// Searched in this order; the first row whose code or name matches wins.
const SUiLanguage languages[] = {
    {"cn", "chinese", '.'},    {"cz", "czech", ','},     {"dk", "danish", ','},
    {"nl", "dutch", ','},      {"fi", "finnish", ','},   {"fr", "french", ','},
    {"de", "german", ','},     {"gr", "greek", ','},     {"hu", "hungarian", ','},
    {"is", "icelandic", ','},  {"it", "italian", ','},   {"jp", "japanese", '.'},
    {"kr", "korean", '.'},     {"no", "norwegian", ','}, {"pl", "polish", ','},
    {"pt", "portuguese", ','}, {"ru", "russian", ','},   {"sk", "slovak", ','},
    {"es", "spanish", ','},    {"se", "swedish", ','},   {"tr", "turkish", ','},
};

// ISO 639-1 codes of the environment's locale names to our English names.
const struct {
    const char* iso;
    const char* name;
} isoNames[] = {
    {"en", "english"},   {"zh", "chinese"},  {"cs", "czech"},     {"da", "danish"},
    {"nl", "dutch"},     {"fi", "finnish"},  {"fr", "french"},    {"de", "german"},
    {"el", "greek"},     {"hu", "hungarian"}, {"is", "icelandic"}, {"it", "italian"},
    {"ja", "japanese"},  {"ko", "korean"},   {"nb", "norwegian"}, {"nn", "norwegian"},
    {"no", "norwegian"}, {"pl", "polish"},   {"pt", "portuguese"}, {"ru", "russian"},
    {"sk", "slovak"},    {"es", "spanish"},  {"sv", "swedish"},   {"tr", "turkish"},
};

}  // namespace

const SUiLanguage& FindUiLanguage(const std::string& text)
{
    const std::string key = Platform::AsciiLowerText(Platform::TrimAsciiBlanks(text));
    for (const SUiLanguage& language : languages) {
        if (key == language.code || key == language.name)
            return language;
    }
    return english;
}

std::string SystemLanguageName()
{
    const char* locale = nullptr;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = std::getenv(variable);
        if (locale && *locale)
            break;
    }
    if (!locale)
        return std::string();
    // "de_DE.UTF-8@euro" -> "de"
    const std::string language(locale, std::strcspn(locale, "_.@"));
    for (const auto& entry : isoNames) {
        if (language == entry.iso)
            return entry.name;
    }
    return std::string();
}
