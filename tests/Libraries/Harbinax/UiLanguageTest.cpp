#include "Harbinax/UiLanguage.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>
#include <libintl.h>
#include <locale.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(UiLanguage, FindsRowsByCodeOrNameTrimmedAndInAnyCase)
{
    const struct {
        const char* text;
        const char* code;
        const char* name;
        char separator;
    } cases[] = {
        {" German ", "de", "german", ','},
        {"DE", "de", "german", ','},
        {"chinese", "cn", "chinese", '.'},
        {"CN", "cn", "chinese", '.'},
        {"zh", "en", "english", '.'},  // ISO code, not ours
        {"xx", "en", "english", '.'},
        {"", "en", "english", '.'},
        {"\tSwedish\n", "se", "swedish", ','},
        {"jp", "jp", "japanese", '.'},
        {"english", "en", "english", '.'},
    };
    for (const auto& c : cases) {
        const SUiLanguage& language = FindUiLanguage(c.text);
        EXPECT_STREQ(c.code, language.code) << '"' << c.text << '"';
        EXPECT_STREQ(c.name, language.name) << '"' << c.text << '"';
        EXPECT_EQ(c.separator, language.decimalSeparator) << '"' << c.text << '"';
    }
}

// Under a Turkish locale the C library's tolower('I') stays 'I'; the ASCII rule still holds.
TEST(UiLanguage, FindsRowsWhateverTheProcessLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    const struct {
        const char* text;
        const char* code;
    } cases[] = {{"ITALIAN", "it"}, {"IT", "it"}, {" TURKISH ", "tr"}, {"Icelandic", "is"}, {"IS", "is"}};
    for (const auto& c : cases)
        EXPECT_STREQ(c.code, FindUiLanguage(c.text).code) << '"' << c.text << '"';
}

class SystemLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
            const char* value = std::getenv(variable);
            m_saved.push_back({variable, value ? value : "", value != nullptr});
            unsetenv(variable);
        }
    }
    void TearDown() override
    {
        std::setlocale(LC_MESSAGES, "C");
        std::setlocale(LC_CTYPE, "C");
        for (const auto& saved : m_saved) {
            if (saved.set)
                setenv(saved.name, saved.value.c_str(), 1);
            else
                unsetenv(saved.name);
        }
    }

private:
    struct SSaved {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<SSaved> m_saved;
};

TEST_F(SystemLanguage, MapsTheLocaleOfTheEnvironmentToOurNames)
{
    const struct {
        const char* lang;
        const char* name;
    } cases[] = {
        {"de_DE.UTF-8", "german"}, {"zh_CN.UTF-8", "chinese"}, {"sv_SE", "swedish"},
        {"nb_NO.UTF-8", "norwegian"}, {"C", ""}, {"POSIX", ""},
        {"se_NO.UTF-8", ""},  // Northern Sami, whose ISO code is our code of Swedish
        {"fr_FR@euro", "french"},
    };
    for (const auto& c : cases) {
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(c.name, SystemLanguageName()) << c.lang;
    }
}

TEST_F(SystemLanguage, TakesTheVariablesInTheOrderTheCLibraryDoes)
{
    EXPECT_EQ("", SystemLanguageName());
    setenv("LANG", "de_DE.UTF-8", 1);
    setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    EXPECT_EQ("french", SystemLanguageName());
    setenv("LC_ALL", "it_IT.UTF-8", 1);
    EXPECT_EQ("italian", SystemLanguageName());
}

// GTK's dialogs take their texts from gettext (its catalog "gtk30"): they follow the program's
// language where the system has a locale for it, whatever the desktop says, else the
// desktop's; English is the texts' own. Translated texts are converted to UTF-8, never to the
// "C" locale's ASCII; the character type category is not the language's own, so that toupper
// keeps the ASCII rule even for Turkish. Numbers stay the C library's.
TEST_F(SystemLanguage, ToolkitTextsFollowTheLanguageWhereTheSystemHasALocale)
{
    locale_t french = newlocale(LC_MESSAGES_MASK, "fr_FR.UTF-8", static_cast<locale_t>(nullptr));
    const bool noFrench = french == static_cast<locale_t>(nullptr);
    if (!noFrench)
        freelocale(french);
    const struct {
        const char* desktop;  // LC_ALL, null for none
        const char* desktopLanguage;  // LANGUAGE, null for none
        const char* program;
        const char* locale;
        const char* cancel;
    } cases[] = {
        {"de_DE.UTF-8", "de", "german", "de_DE.UTF-8", "_Abbrechen"},
        {"de_DE.UTF-8", "de", "english", "C", "_Cancel"},
        {nullptr, nullptr, "german", "de_DE.UTF-8", "_Abbrechen"},
        {"de_DE.UTF-8", "fr", "german", "de_DE.UTF-8", "_Abbrechen"},
        {"tr_TR.UTF-8", nullptr, "german", "de_DE.UTF-8", "_Abbrechen"},
        {"de_DE.UTF-8", nullptr, "french", "de_DE.UTF-8", "_Abbrechen"},  // no French locale here
        {"de_DE.UTF-8", "de", "turkish", "tr_TR.UTF-8", "_İptal Et"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop ? c.desktop : "-") + " " + c.program);
        if (std::string(c.program) == "french" && !noFrench)
            continue;
        c.desktop ? setenv("LC_ALL", c.desktop, 1) : unsetenv("LC_ALL");
        c.desktopLanguage ? setenv("LANGUAGE", c.desktopLanguage, 1) : unsetenv("LANGUAGE");
        EXPECT_EQ(UseMessagesLocaleOf(FindUiLanguage(c.program)), c.locale);
        EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), c.locale);
        EXPECT_STREQ(dgettext("gtk30", "_Cancel"), c.cancel);
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
        EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), std::string(c.locale) == "C" ? "C" : "C.UTF-8");
        EXPECT_EQ(std::toupper('i'), 'I');
        EXPECT_EQ(std::tolower('I'), 'i');
    }
}

}  // namespace
