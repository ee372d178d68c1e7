#include "Harbinax/UiLanguage.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

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
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(variable);
            m_saved.push_back({variable, value ? value : "", value != nullptr});
            unsetenv(variable);
        }
    }
    void TearDown() override
    {
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

}  // namespace
