// The translation files under data/translations, as the sizing program loads them (RCDATA 103,
// then 104 merged), and a check that no translation can break a printf-style format.
#include "Polyglotta/Translator.h"

#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// The arguments a printf format consumes, one token per argument: "*" for a star width or
// precision, else the length modifier and conversion ("d", "ld", "s", "f"). "%%" takes none.
std::vector<std::string> Conversions(const std::string& text)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < text.size() && std::strchr("-+ #0'", text[j]))
            ++j;
        auto number = [&] {
            if (j < text.size() && text[j] == '*') {
                result.emplace_back("*");
                ++j;
            }
            while (j < text.size() && text[j] >= '0' && text[j] <= '9')
                ++j;
        };
        number();
        if (j < text.size() && text[j] == '.') {
            ++j;
            number();
        }
        const std::size_t lengthStart = j;
        while (j < text.size() && std::strchr("hlLqjzt", text[j]))
            ++j;
        result.push_back(j < text.size() ? text.substr(lengthStart, j - lengthStart + 1) : "<cut>");
        i = j;
    }
    return result;
}

TEST(PrintfConversions, ExtractsOneTokenPerArgument)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Conversions("plain"), V{});
    EXPECT_EQ(Conversions("100%% sure"), V{});
    EXPECT_EQ(Conversions("%s - %s %s\n"), (V{"s", "s", "s"}));
    EXPECT_EQ(Conversions("%-10.3ld|%*d|%.*f|%02X|%lld|%zu"), (V{"ld", "*", "d", "*", "f", "X", "lld", "zu"}));
    EXPECT_EQ(Conversions("50 % Sensor"), V{"S"});  // a lone percent sign is a conversion too
    EXPECT_EQ(Conversions("ends with %"), V{"<cut>"});
    EXPECT_NE(Conversions("%d of %s"), Conversions("%s von %d"));
}

// Every translatable thing of all files: its texts by language and, for entries keyed by
// text, that key.
struct SItem {
    std::string key;
    std::map<std::string, std::string> texts;
};

void CollectTexts(const TiXmlElement& holder, SItem& item)
{
    for (const TiXmlElement* language = holder.FirstChildElement(); language; language = language->NextSiblingElement()) {
        const char* text = language->GetText();
        if (text && *text)
            item.texts[language->Value()] = CTranslator::Unescape(text);
    }
}

void CollectItems(const TiXmlElement& element, const std::string& path, std::map<std::string, SItem>& items)
{
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string name = child->Value();
        const char* id = child->Attribute("id");
        const std::string childPath = path + "/" + name + (id ? "#" + std::string(id) : "");
        if (name == "dialog" || name == "menu" || name == "submenu" || name == "stringtable") {
            CollectItems(*child, childPath, items);
        } else if (name == "string" && child->Attribute("strid") && *child->Attribute("strid")) {
            const std::string key = CTranslator::Unescape(child->Attribute("strid"));
            SItem& item = items["strid " + key];
            item.key = key;
            CollectTexts(*child, item);
        } else if (name == "caption" || name == "control" || name == "item" || name == "string") {
            CollectTexts(*child, items[childPath]);
        }
    }
}

std::vector<std::filesystem::path> TranslationFiles()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZEPHRIN_TRANSLATIONS_DIR)) {
        if (entry.path().extension() == ".xml")
            files.push_back(entry.path());
    }
    return files;
}

TEST(ShippedTranslations, EveryTextHasTheConversionsOfItsKey)
{
    std::map<std::string, SItem> items;
    const auto files = TranslationFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        TiXmlDocument document;
        std::string error;
        ASSERT_TRUE(CXmlFile::Load(document, file.string(), &error)) << error;
        ASSERT_NE(document.RootElement(), nullptr);
        CollectItems(*document.RootElement(), "", items);
    }

    int checked = 0;
    for (const auto& [path, item] : items) {
        // Entries keyed by text are compared with the key, the others with their English text.
        const auto english = item.texts.find("en");
        if (item.key.empty() && english == item.texts.end()) {
            ADD_FAILURE() << path << " has no English text";
            continue;
        }
        const std::string& reference = item.key.empty() ? english->second : item.key;
        for (const auto& [language, text] : item.texts) {
            EXPECT_EQ(Conversions(text), Conversions(reference))
                << path << " [" << language << "] \"" << text << "\" against \"" << reference << "\"";
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

TEST(ShippedTranslations, SizingProgramTablesMergeEnglishAndGerman)
{
    CTranslator translator;
    std::string error;
    ASSERT_TRUE(translator.LoadFromResource(103, false, &error)) << error;
    ASSERT_TRUE(translator.LoadFromResource(104, true, &error)) << error;
    translator.SetDefaultLanguage("en");

    for (const char* language : {"en", "de"})
        EXPECT_EQ(translator.Translate("TAMBEL", language), "Zephrin") << language;

    const struct {
        int id;
        const char* en;
        const char* de;
    } strings[] = {
        {102, "abs.", "abs."},   {103, "gauge", "rel."},       {104, "volume", "Volumen"},
        {105, "mass", "Masse"}, {106, "operational", "Betrieb"}, {107, "norm.", "Norm"},
    };
    for (const auto& s : strings) {
        EXPECT_EQ(translator.GetString(s.id, "en"), s.en) << s.id;
        EXPECT_EQ(translator.GetString(s.id, "de"), s.de) << s.id;
    }

    const struct {
        const char* en;
        const char* de;
    } messages[] = {
        {"Database error", "Datenbankfehler"},
        {"Custom fluid in density calculation", "Benutzerdefinierter Messstoff in der Dichteberechnung"},
        {"The application configuration file could not be loaded.\nAssuming default values.",
         "Die Konfigurationsdatei der Anwendung konnte nicht geladen werden.\nEs werden Standardwerte verwendet."},
        {"Custom", "Benutzerdefiniert"},
        {"Calculate meters", "Geräte berechnen"},
    };
    for (const auto& m : messages) {
        EXPECT_EQ(translator.Translate(m.en, "en"), m.en);
        EXPECT_EQ(translator.Translate(m.en, "de"), m.de);
    }

    const CTranslator::CDialogEntry* main = translator.FindDialog(102);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(translator.GetText(&main->caption, "de"), "QMR Vortex Sizing");
    const CTranslator::CDialogEntry* about = translator.FindDialog(100);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(translator.GetText(&about->caption, "en"), "About QMR Vortex Sizing");
    EXPECT_EQ(translator.GetText(&about->caption, "de"), "Über QMR Vortex Sizing");
    EXPECT_EQ(translator.GetText(&about->controls.at(1075), "de"), "Datenbank");
    EXPECT_EQ(translator.GetText(&about->controls.at(1083), "de"), "QMR Vortex Sizing");
}

}  // namespace
