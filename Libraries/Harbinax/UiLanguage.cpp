#include "Harbinax/UiLanguage.h"

#include "Platform/AsciiText.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
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

// What the desktop set $LANGUAGE to before the first call changed it; empty for nothing, which
// gettext takes as no setting.
const std::string& DesktopLanguageVariable()
{
    static const std::string desktop = [] {
        const char* value = std::getenv("LANGUAGE");
        return std::string(value ? value : "");
    }();
    return desktop;
}

// Gives $LANGUAGE a new value only when that changes it. It exists from the start
// (KeepLanguageVariable) and is never removed: a variable added or removed may move the
// environment under a getenv of another thread.
void SetLanguageVariable(const std::string& value)
{
    const char* current = std::getenv("LANGUAGE");
    if (current == nullptr || value != current)
        setenv("LANGUAGE", value.c_str(), 1);
}

// The messages category and, with it, the character type category: gettext converts a
// translation to the character set of LC_CTYPE, so under "C" the German texts of libpq and the
// C library would lose their letters. Never the language's own locale for LC_CTYPE: under a
// Turkish one toupper('i') is not 'I'.
std::string SetMessagesLocale(const char* name)
{
    const char* chosen = std::setlocale(LC_MESSAGES, name);
    const std::string messages = chosen ? chosen : std::setlocale(LC_MESSAGES, "C");
    std::setlocale(LC_CTYPE, messages == "C" || messages == "POSIX" ? "C" : "C.UTF-8");
    return messages;
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

void KeepLanguageVariable()
{
    SetLanguageVariable(DesktopLanguageVariable());
}

std::string UseMessagesLocaleOf(const SUiLanguage& language)
{
    const SIsoName* iso = nullptr;
    for (const auto& entry : isoNames) {
        if (std::strcmp(entry.name, language.name) == 0) {
            iso = &entry;
            break;
        }
    }
    // The toolkit's texts are English as written: the "C" locale shows them as they are.
    if (iso == nullptr || std::strcmp(iso->iso, "en") == 0) {
        SetLanguageVariable(DesktopLanguageVariable());
        return SetMessagesLocale("C");
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
        return SetMessagesLocale(name.c_str());
    }
    // No locale of the language on this system: the desktop's language.
    SetLanguageVariable(DesktopLanguageVariable());
    return SetMessagesLocale("");
}
