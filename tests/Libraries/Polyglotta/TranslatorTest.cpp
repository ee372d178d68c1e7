#include "Polyglotta/Translator.h"

#include "Platform/ResourceRegistry.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A document with one of everything, English and German.
const char* const kBase = R"(<?xml version="1.0" encoding="UTF-8"?>
<translator>
  <dialog id="100" textid="IDD_ABOUT">
    <caption><en>About</en><de>Über</de></caption>
    <control id="1075"><en>Database</en><de></de></control>
    <control id="1078"><en>Software:</en><de>Hersteller:</de></control>
  </dialog>
  <dialog id="102"><caption><en>Main</en></caption></dialog>
  <stringtable defaultlanguage="en">
    <string id="102"><en>abs.</en><de>abs.</de></string>
    <string id="103"><en>gauge</en><de>rel.</de></string>
    <string strid="Error"><de>Fehler</de></string>
    <string strid="Could not load.\nAssuming defaults."><de>Nicht geladen.\nStandardwerte.</de></string>
    <string strid="TAMBEL"><en>Zephrin</en><de>Zephrin</de></string>
  </stringtable>
  <menu id="129">
    <caption><en>Menu</en></caption>
    <submenu id="0">
      <caption><en>&amp;File</en><de>&amp;Datei</de></caption>
      <item id="57601"><en>&amp;Open</en></item>
      <submenu id="2"><caption><en>More</en><de>Mehr</de></caption>
        <item id="32780"><en>Delete</en><de>Löschen</de></item>
      </submenu>
    </submenu>
  </menu>
</translator>)";

class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(translator.LoadFromText(kBase, "base.xml", false, &error)) << error;
        translator.SetDefaultLanguage("en");
        translator.SetLanguage("de");
    }

    std::string Caption(int dialogId, const std::string& language = std::string()) const
    {
        const CTranslator::CDialogEntry* dialog = translator.FindDialog(dialogId);
        return dialog ? translator.GetText(&dialog->caption, language) : "<none>";
    }

    std::string Control(int dialogId, int controlId) const
    {
        const CTranslator::CDialogEntry* dialog = translator.FindDialog(dialogId);
        if (!dialog || !dialog->controls.count(controlId))
            return "<none>";
        return translator.GetText(&dialog->controls.at(controlId));
    }

    CTranslator translator;
};

TEST_F(TranslatorTest, TextKeyWithOnlyATranslationTakesTheKeyAsDefaultText)
{
    EXPECT_EQ(translator.Translate("Error"), "Fehler");
    EXPECT_EQ(translator.Translate("Error", "en"), "Error");
    EXPECT_EQ(translator.Translate("Error", "fr"), "Error");
}

TEST_F(TranslatorTest, LooksUpByIdAndByText)
{
    EXPECT_EQ(translator.GetString(103), "rel.");
    EXPECT_EQ(translator.GetString(103, "en"), "gauge");
    EXPECT_EQ(translator.GetString(999), "");
    EXPECT_EQ(translator.Translate("TAMBEL", "en"), "Zephrin");
    EXPECT_EQ(translator.Translate("No such text"), "No such text");
    EXPECT_EQ(translator.Translate(""), "");
}

TEST_F(TranslatorTest, EmptyLanguageElementFallsBackToDefaultLanguage)
{
    EXPECT_EQ(Control(100, 1075), "Database");
    EXPECT_EQ(Control(100, 1078), "Hersteller:");
    EXPECT_EQ(Caption(102), "Main");
}

TEST_F(TranslatorTest, EscapedLineFeedInKeyMatchesProgramText)
{
    EXPECT_EQ(translator.Translate("Could not load.\nAssuming defaults."), "Nicht geladen.\nStandardwerte.");
    EXPECT_EQ(translator.Translate("Could not load.\nAssuming defaults.", "en"), "Could not load.\nAssuming defaults.");
    // The key is not the escaped spelling.
    EXPECT_EQ(translator.Translate("Could not load.\\nAssuming defaults."), "Could not load.\\nAssuming defaults.");
}

TEST_F(TranslatorTest, UnknownLanguageFallsBackToDefaultThenFirstText)
{
    translator.SetLanguage("fr");
    EXPECT_EQ(Caption(100), "About");
    translator.SetDefaultLanguage("it");
    EXPECT_EQ(Caption(100), "About");  // first in document order
    EXPECT_EQ(Caption(100, "de"), "Über");
    const CTranslator::CTextSet* none = nullptr;
    EXPECT_EQ(translator.GetText(none), "");
}

TEST_F(TranslatorTest, MergeOverridesOnlyTheLanguagesTheSecondDocumentHas)
{
    const char* second = R"(<translator>
      <dialog id="100"><caption><de>Info</de></caption><control id="1075"><de>Datenbank</de></control></dialog>
      <dialog id="200"><caption><en>New</en></caption></dialog>
      <stringtable defaultlanguage="en"><string strid="Warning"><de>Warnung</de></string></stringtable>
    </translator>)";
    ASSERT_TRUE(translator.LoadFromText(second, "second.xml", true));

    EXPECT_EQ(Caption(100), "Info");
    EXPECT_EQ(Caption(100, "en"), "About");
    EXPECT_EQ(Control(100, 1075), "Datenbank");
    EXPECT_EQ(Control(100, 1078), "Hersteller:");
    EXPECT_EQ(Caption(102), "Main");
    EXPECT_EQ(Caption(200), "New");
    EXPECT_EQ(translator.Translate("Error"), "Fehler");
    EXPECT_EQ(translator.Translate("Warning"), "Warnung");
    // A merge keeps the language codes.
    EXPECT_EQ(translator.GetLanguage(), "de");
    EXPECT_EQ(translator.GetDefaultLanguage(), "en");
}

TEST_F(TranslatorTest, LoadWithoutMergeReplacesTablesAndLanguages)
{
    ASSERT_TRUE(translator.LoadFromText("<translator><dialog id=\"7\"/></translator>", "small.xml", false));
    EXPECT_EQ(translator.FindDialog(100), nullptr);
    EXPECT_NE(translator.FindDialog(7), nullptr);
    EXPECT_EQ(translator.GetString(103), "");
    EXPECT_EQ(translator.GetLanguage(), "");
    EXPECT_EQ(translator.GetDefaultLanguage(), "");
    // A dialog entry without caption texts gives an empty caption.
    EXPECT_EQ(Caption(7), "");
}

TEST_F(TranslatorTest, FailedLoadKeepsTablesAndLanguages)
{
    const CTemporaryFolder folder;
    const std::string missingFile = folder.Path("no-such-translation.xml");
    const struct {
        const char* what;
        std::function<bool(std::string*)> load;
        const char* errorMentions;
    } cases[] = {
        {"malformed XML",
         [&](std::string* e) { return translator.LoadFromText("<translator><dialog id=\"1\"></translator>", "bad.xml", false, e); },
         "bad.xml"},
        {"wrong root",
         [&](std::string* e) { return translator.LoadFromText("<report><dialog id=\"100\"/></report>", "report.xml", false, e); },
         "translator"},
        {"wrong root, merged",
         [&](std::string* e) { return translator.LoadFromText("<report/>", "report.xml", true, e); }, "translator"},
        {"no root", [&](std::string* e) { return translator.LoadFromText("", "empty.xml", false, e); }, "empty.xml"},
        {"missing file", [&](std::string* e) { return translator.LoadFromFile(missingFile, false, e); }, "no-such-translation"},
        {"missing resource", [&](std::string* e) { return translator.LoadFromResource(31999, false, e); }, "31999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(c.load(&error));
        EXPECT_NE(error.find(c.errorMentions), std::string::npos) << error;
        EXPECT_EQ(Caption(100), "Über");
        EXPECT_EQ(translator.GetString(103), "rel.");
        EXPECT_EQ(translator.Translate("Error"), "Fehler");
        EXPECT_EQ(translator.GetLanguage(), "de");
        EXPECT_EQ(translator.GetDefaultLanguage(), "en");
    }
}

TEST_F(TranslatorTest, MenuEntriesKeyItemsByCommandIdAndPopupsByPosition)
{
    const CTranslator::CMenuEntry* menu = translator.FindMenu(129);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(translator.GetText(&menu->caption), "Menu");
    const CTranslator::CMenuEntry* file = menu->FindChild(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(translator.GetText(&file->caption), "&Datei");
    ASSERT_NE(file->FindChild(57601), nullptr);
    EXPECT_EQ(translator.GetText(&file->FindChild(57601)->caption), "&Open");
    const CTranslator::CMenuEntry* more = file->FindChild(2);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(translator.GetText(&more->caption), "Mehr");
    ASSERT_NE(more->FindChild(32780), nullptr);
    EXPECT_EQ(translator.GetText(&more->FindChild(32780)->caption), "Löschen");
    EXPECT_EQ(translator.FindMenu(130), nullptr);
}

TEST_F(TranslatorTest, OnlyTheFirstStringTableIsRead)
{
    const char* text = R"(<translator>
      <stringtable defaultlanguage="en"><string strid="Save"><de>Speichern</de></string></stringtable>
      <stringtable defaultlanguage="de"><string strid="Open"><de>Öffnen</de></string></stringtable>
    </translator>)";
    ASSERT_TRUE(translator.LoadFromText(text, "tables.xml", false));
    translator.SetLanguage("de");
    EXPECT_EQ(translator.Translate("Save"), "Speichern");
    EXPECT_EQ(translator.Translate("Open"), "Open");
}

TEST(TranslatorUnescape, ReplacesEscapesInOnePassFromTheLeft)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {R"(a\nb)", "a\nb"},
        {R"(\t\r\b\f\v)", "\t\r\b\f\v"},
        {R"(\'\"\?)", "'\"?"},
        {R"(C:\\new)", "C:\\new"},   // an escaped backslash before 'n' is no line feed
        {R"(\\\n)", "\\\n"},
        {R"(50\%)", "50\\%"},        // unknown escapes stay as written
        {R"(end\)", "end\\"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CTranslator::Unescape(c.in), c.out) << c.in;
}

TEST(TranslatorResources, LoadsFromTheRegistryAndFromFiles)
{
    static const char kText[] = "<translator><stringtable defaultlanguage=\"en\">"
                                "<string id=\"5\"><en>Five</en><de>F\xC3\xBCnf</de></string></stringtable></translator>";
    CResourceRegistry::Register("RCDATA", 31001, nullptr, reinterpret_cast<const unsigned char*>(kText),
                                sizeof kText - 1);
    CTranslator translator;
    std::string error;
    ASSERT_TRUE(translator.LoadFromResource(31001, false, &error)) << error;
    EXPECT_EQ(translator.GetString(5, "de"), "F\xC3\xBCnf");

    const CTemporaryFolder folder;
    const std::string path = folder.Path("translator-test.xml");
    WriteWholeFile(path, "<translator><dialog id=\"9\"><caption><en>Nine</en></caption></dialog></translator>");
    ASSERT_TRUE(translator.LoadFromFile(path, true, &error)) << error;
    EXPECT_EQ(translator.GetString(5, "en"), "Five");
    ASSERT_NE(translator.FindDialog(9), nullptr);
    EXPECT_EQ(translator.GetText(&translator.FindDialog(9)->caption), "Nine");
}

}  // namespace
