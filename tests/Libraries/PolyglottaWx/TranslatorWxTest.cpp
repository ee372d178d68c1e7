#include "PolyglottaWx/TranslatorWx.h"

#include "PolyglottaWx/WindowIds.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <memory>

namespace {

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"PolyglottaWxTests"}));

std::string Text(const wxString& text)
{
    return text.utf8_string();
}

const char* const kDialogs = R"(<translator>
  <dialog id="100">
    <caption><en>About QMR</en><de>Über QMR</de></caption>
    <control id="1075"><en>Database</en><de>Datenbank</de></control>
    <control id="1078"><en>Software:</en><de>Hersteller:</de></control>
    <control id="1"><en>Close</en><de>Schließen</de></control>
    <control id="2"><en>Cancel</en><de>Abbrechen</de></control>
    <control id="1080"><en>Empty German</en><de></de></control>
  </dialog>
  <dialog id="101"><control id="1075"><de>Nur Steuerelement</de></control></dialog>
</translator>)";

class TranslatorWxDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(translator.LoadFromText(kDialogs, "dialogs.xml", false));
        translator.SetDefaultLanguage("en");
        translator.SetLanguage("de");

        dialog.reset(new wxDialog(nullptr, wxID_ANY, "About TAMBEL"));
        database = new wxStaticText(dialog.get(), 1075, "DB");
        version = new wxStaticText(dialog.get(), 1066, "1.2.3.4");
        empty = new wxStaticText(dialog.get(), 1080, "?");
        ok = new wxButton(dialog.get(), wxID_OK, "OK");
        cancel = new wxButton(dialog.get(), wxID_CANCEL, "Cancel");
        // A control on a panel is not a control of the dialog itself.
        wxPanel* panel = new wxPanel(dialog.get(), 1077);
        nested = new wxStaticText(panel, 1078, "nested");
        dialog->Show();
    }

    CTranslator translator;
    UniqueWindow<wxDialog> dialog;
    wxStaticText* database = nullptr;
    wxStaticText* version = nullptr;
    wxStaticText* empty = nullptr;
    wxButton* ok = nullptr;
    wxButton* cancel = nullptr;
    wxStaticText* nested = nullptr;
};

TEST_F(TranslatorWxDialogTest, SetsCaptionAndDirectChildrenByControlId)
{
    CTranslatorWx::TranslateDialog(translator, 100, dialog.get());

    EXPECT_EQ(Text(dialog->GetTitle()), "Über QMR");
    EXPECT_EQ(Text(database->GetLabel()), "Datenbank");
    EXPECT_EQ(Text(ok->GetLabel()), "Schließen");
    EXPECT_EQ(Text(cancel->GetLabel()), "Abbrechen");
    EXPECT_EQ(Text(empty->GetLabel()), "Empty German");
    EXPECT_EQ(Text(version->GetLabel()), "1.2.3.4");
    EXPECT_EQ(Text(nested->GetLabel()), "nested");

    translator.SetLanguage("en");
    CTranslatorWx::TranslateDialog(translator, 100, dialog.get());
    EXPECT_EQ(Text(dialog->GetTitle()), "About QMR");
    EXPECT_EQ(Text(database->GetLabel()), "Database");
}

TEST_F(TranslatorWxDialogTest, TranslatesOneControl)
{
    CTranslatorWx::TranslateControl(translator, 100, nested);
    EXPECT_EQ(Text(nested->GetLabel()), "Hersteller:");
    EXPECT_EQ(Text(dialog->GetTitle()), "About TAMBEL");
    EXPECT_EQ(Text(database->GetLabel()), "DB");
}

TEST_F(TranslatorWxDialogTest, UnknownIdsAndNullWindowsChangeNothing)
{
    CTranslatorWx::TranslateDialog(translator, 999, dialog.get());
    CTranslatorWx::TranslateDialog(translator, 100, nullptr);
    CTranslatorWx::TranslateControl(translator, 999, database);
    CTranslatorWx::TranslateControl(translator, 100, nullptr);
    CTranslatorWx::TranslateControl(translator, 100, version);
    EXPECT_EQ(Text(dialog->GetTitle()), "About TAMBEL");
    EXPECT_EQ(Text(database->GetLabel()), "DB");
    EXPECT_EQ(Text(version->GetLabel()), "1.2.3.4");
}

TEST_F(TranslatorWxDialogTest, EntryWithoutCaptionClearsTheCaption)
{
    CTranslatorWx::TranslateDialog(translator, 101, dialog.get());
    EXPECT_EQ(Text(dialog->GetTitle()), "");
    EXPECT_EQ(Text(database->GetLabel()), "Nur Steuerelement");
}

// The main menu of the sizing program, built with placeholder texts and the program's ids.
wxMenuBar* BuildMainMenu()
{
    auto append = [](wxMenu* menu, int resourceId, const char* text) {
        menu->Append(CWindowIds::FromResourceId(resourceId), text);
    };
    auto* database = new wxMenu;
    append(database, 32780, "?");
    append(database, 32782, "?");
    append(database, 32784, "?");

    auto* file = new wxMenu;
    append(file, 57601, "?");
    append(file, 57603, "?");
    file->AppendSeparator();
    append(file, 32779, "?");
    append(file, 32778, "?");
    file->AppendSubMenu(database, "?");
    file->AppendSeparator();
    append(file, 32774, "?");
    append(file, 57606, "?");
    file->AppendSeparator();
    append(file, 32776, "?");
    append(file, 32777, "?");
    file->AppendSeparator();
    append(file, 57665, "?");
    append(file, 30000, "Not in the table");

    auto* utilities = new wxMenu;
    append(utilities, 32773, "?");
    auto* help = new wxMenu;
    append(help, 32772, "?");

    auto* bar = new wxMenuBar;
    bar->Append(file, "?");
    bar->Append(utilities, "?");
    bar->Append(help, "?");
    return bar;
}

std::string ItemLabel(wxMenuBar& bar, int id)
{
    wxMenuItem* item = bar.FindItem(CWindowIds::FromResourceId(id));
    return item ? Text(item->GetItemLabel()) : "<missing>";
}

TEST(TranslatorWxMenu, TranslatesTheMainMenuFromTheProgramsResources)
{
    CTranslator translator;
    ASSERT_TRUE(translator.LoadFromResource(103, false));
    ASSERT_TRUE(translator.LoadFromResource(104, true));
    translator.SetDefaultLanguage("en");
    translator.SetLanguage("de");

    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "TAMBEL"));
    wxMenuBar* bar = BuildMainMenu();
    frame->SetMenuBar(bar);
    frame->Show();

    CTranslatorWx::TranslateMenu(translator, 129, bar);

    EXPECT_EQ(Text(bar->GetMenuLabel(0)), "&Datei");
    EXPECT_EQ(Text(bar->GetMenuLabel(1)), "&Utilities");
    EXPECT_EQ(Text(bar->GetMenuLabel(2)), "&Hilfe");
    const struct {
        int id;
        const char* label;
    } items[] = {
        {57601, "&Open"},
        {57603, "&Speichern"},
        {32779, "In Daten&bank speichern"},
        {32780, "Delete &record"},
        {32782, "&Verbindung konfigurieren"},
        {32784, "&Tabellen in DB erstellen"},
        {32777, "Exportieren als &PDF"},
        {57665, "&Beenden"},
        {30000, "Not in the table"},
        {32773, "&Druckverlust Rechner"},
        {32772, "&About..."},
    };
    for (const auto& item : items)
        EXPECT_EQ(ItemLabel(*bar, item.id), item.label) << item.id;

    wxMenuItem* databaseFunctions = bar->GetMenu(0)->FindItemByPosition(5);
    ASSERT_TRUE(databaseFunctions->IsSubMenu());
    EXPECT_EQ(Text(databaseFunctions->GetItemLabel()), "Datenbank &Funktionen");
    EXPECT_TRUE(bar->GetMenu(0)->FindItemByPosition(2)->IsSeparator());
}

TEST(TranslatorWxMenu, PopupsAreFoundByPositionOnly)
{
    CTranslator translator;
    ASSERT_TRUE(translator.LoadFromText(R"(<translator>
      <menu id="7">
        <item id="100"><en>First</en></item>
        <submenu id="1"><caption><en>Second</en></caption><item id="300"><en>Inner</en></item></submenu>
        <submenu id="4"><caption><en>Nowhere</en></caption></submenu>
      </menu></translator>)",
                                        "popup.xml", false));

    wxMenu menu;
    menu.Append(100, "a");
    auto* atOne = new wxMenu;
    atOne->Append(300, "b");
    menu.AppendSubMenu(atOne, "c");
    auto* atTwo = new wxMenu;
    atTwo->Append(301, "d");
    menu.AppendSubMenu(atTwo, "e");

    CTranslatorWx::TranslateMenu(translator, 7, &menu);
    EXPECT_EQ(Text(menu.FindItemByPosition(0)->GetItemLabel()), "First");
    EXPECT_EQ(Text(menu.FindItemByPosition(1)->GetItemLabel()), "Second");
    EXPECT_EQ(Text(atOne->FindItemByPosition(0)->GetItemLabel()), "Inner");
    EXPECT_EQ(Text(menu.FindItemByPosition(2)->GetItemLabel()), "e");

    CTranslatorWx::TranslateMenu(translator, 8, &menu);
    wxMenu* none = nullptr;
    CTranslatorWx::TranslateMenu(translator, 7, none);
    EXPECT_EQ(Text(menu.FindItemByPosition(2)->GetItemLabel()), "e");
}

TEST(WindowIds, CommandsMoveIntoTheRangeOfWxMenuIdsAndControlsOutOfWxsOwn)
{
    const struct {
        int resourceId;
        int windowId;
    } ids[] = {
        {1, wxID_OK},
        {2, wxID_CANCEL},
        {57601, wxID_OPEN},
        {57603, wxID_SAVE},
        {57606, wxID_PRINT_SETUP},
        {57642, wxID_SELECTALL},
        {57665, wxID_EXIT},
        {57670, wxID_HELP},
        {32768, 24576},  // the program's commands
        {32772, 24580},
        {40958, 32766},
        {40959, 40959},  // beyond what wx menus take
        {4999, 23575},   // controls in the ids wx keeps for itself
        {5100, 23676},
        {5999, 24575},
        {6000, 6000},
        {1075, 1075},    // controls
        {10013, 10013},
        {0, 0},
        {-1, -1},
    };
    for (const auto& id : ids) {
        EXPECT_EQ(CWindowIds::FromResourceId(id.resourceId), id.windowId) << id.resourceId;
        EXPECT_EQ(CWindowIds::ToResourceId(id.windowId), id.resourceId) << id.windowId;
    }
}

}  // namespace
