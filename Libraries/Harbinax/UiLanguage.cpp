#include "Harbinax/UiLanguage.h"

#include "Platform/AsciiText.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include <locale.h>

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

// ISO 639-1 codes of the environment's locale names to our English names, with the territory
// of the language's usual locale (the first entry of a name is the one a locale is made from).
const struct SIsoName {
    const char* iso;
    const char* name;
    const char* territory;
} isoNames[] = {
    {"en", "english", "US"},   {"zh", "chinese", "CN"},   {"cs", "czech", "CZ"},     {"da", "danish", "DK"},
    {"nl", "dutch", "NL"},     {"fi", "finnish", "FI"},   {"fr", "french", "FR"},    {"de", "german", "DE"},
    {"el", "greek", "GR"},     {"hu", "hungarian", "HU"}, {"is", "icelandic", "IS"}, {"it", "italian", "IT"},
    {"ja", "japanese", "JP"},  {"ko", "korean", "KR"},    {"nb", "norwegian", "NO"}, {"nn", "norwegian", "NO"},
    {"no", "norwegian", "NO"}, {"pl", "polish", "PL"},    {"pt", "portuguese", "PT"}, {"ru", "russian", "RU"},
    {"sk", "slovak", "SK"},    {"es", "spanish", "ES"},   {"sv", "swedish", "SE"},   {"tr", "turkish", "TR"},
};

// The locale name the desktop gives the messages category, as setlocale would read it.
std::string DesktopMessagesLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(variable);
        if (locale && *locale)
            return locale;
    }
    return std::string();
}

// "de_DE.UTF-8@euro" -> "de"
std::string LanguageOfLocale(const std::string& locale)
{
    return locale.substr(0, locale.find_first_of("_.@"));
}

// Sets $LANGUAGE, or removes it for none, only when that changes it: other threads of the
// toolkit may read the environment.
void SetLanguageVariable(const char* value)
{
    const char* current = std::getenv("LANGUAGE");
    if (value == nullptr && current != nullptr)
        unsetenv("LANGUAGE");
    else if (value != nullptr && (current == nullptr || std::strcmp(current, value) != 0))
        setenv("LANGUAGE", value, 1);
}

bool LocaleExists(const std::string& name)
{
    locale_t probe = newlocale(LC_MESSAGES_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (probe == static_cast<locale_t>(nullptr))
        return false;
    freelocale(probe);
    return true;
}

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
    const std::string locale = DesktopMessagesLocale();
    if (locale.empty())
        return std::string();
    const std::string language = LanguageOfLocale(locale);
    for (const auto& entry : isoNames) {
        if (language == entry.iso)
            return entry.name;
    }
    return std::string();
}

std::string UseMessagesLocaleOf(const SUiLanguage& language)
{
    // What the desktop asked for, before the first call here changed it.
    static const std::optional<std::string> desktopLanguage = [] {
        const char* value = std::getenv("LANGUAGE");
        return value ? std::optional<std::string>(value) : std::nullopt;
    }();
    const SIsoName* iso = nullptr;
    for (const auto& entry : isoNames) {
        if (std::strcmp(entry.name, language.name) == 0) {
            iso = &entry;
            break;
        }
    }
    // The toolkit's texts are English as written: the "C" locale shows them as they are.
    if (iso == nullptr || std::strcmp(iso->iso, "en") == 0) {
        SetLanguageVariable(desktopLanguage ? desktopLanguage->c_str() : nullptr);
        std::setlocale(LC_MESSAGES, "C");
        return "C";
    }
    const std::string desktop = DesktopMessagesLocale();
    std::vector<std::string> candidates;
    if (LanguageOfLocale(desktop) == iso->iso)
        candidates.push_back(desktop);
    candidates.push_back(std::string(iso->iso) + "_" + iso->territory + ".UTF-8");
    for (const std::string& name : candidates) {
        if (!LocaleExists(name))
            continue;
        // $LANGUAGE goes before the locale is set: setting it makes gettext forget the texts
        // it looked up before.
        SetLanguageVariable(iso->iso);
        std::setlocale(LC_MESSAGES, name.c_str());
        return name;
    }
    // No locale of the language on this system: the desktop's language.
    SetLanguageVariable(desktopLanguage ? desktopLanguage->c_str() : nullptr);
    const char* chosen = std::setlocale(LC_MESSAGES, "");
    return chosen ? chosen : std::setlocale(LC_MESSAGES, "C");
}
