#include "Harbinax/UiLanguage.h"

#include <cctype>
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

std::string TrimmedLower(const std::string& text)
{
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    std::string result = text.substr(begin, end - begin);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

const SUiLanguage& FindUiLanguage(const std::string& text)
{
    const std::string key = TrimmedLower(text);
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
