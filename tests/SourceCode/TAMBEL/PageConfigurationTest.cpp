// The configuration page on the shipped database in a frame: the language notice, the default
// flow units, the user-units grid and what leaving makes of it in the units manager and its
// file, the default norm condition, the three files every leave writes, a damaged languages
// table, and screenshots.
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DataComboBox.h"
#include "HarbinaxCore/ComboItemMarker.h"
#include "Quillet/LogLevel.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "TAMBEL/Pages/PageConfiguration.h"
#include "grid/window/GridWindow.h"
#include "support/DamagedDatabase.h"
#include "support/LogCapture.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Page = CPageConfiguration;

bool Exists(const std::string& path)
{
    return std::ifstream(path).good();
}

class PageConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        PlaceShippedDatabase();
        if (HasFatalFailure())
            return;
        for (const std::string& file : Files())
            std::remove(file.c_str());
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
        ASSERT_TRUE(CNormConditionManager::GetInstance()->LoadDbList());
        Config().Reset();
        Config().language = "en";
        CProjectData::GetInstance()->physical.Reset();
        SetMessageBoxSinkForTesting([this](const SMessageBox& box) {
            m_boxes.push_back(box);
            return m_answer;
        });
        m_frame.reset(new wxFrame(nullptr, wxID_ANY, "Configuration"));
    }

    void TearDown() override
    {
        m_frame.reset();
        SetMessageBoxSinkForTesting(nullptr);
        CUnitManager::GetInstance()->RemoveUserUnits();
        CProjectData::GetInstance()->physical.Reset();
        CUnitDb::GetInstance()->Close();
        for (const std::string& file : Files())
            std::remove(file.c_str());
        std::remove(m_database.c_str());
    }

    static std::vector<std::string> Files()
    {
        const std::string folder = TestProgramFolder();
        return {folder + "Zephrin.cfg", folder + "UserUnits.xml", folder + "Renovix.xml"};
    }
    static CApplicationConfiguration& Config() { return *CApplicationConfiguration::GetInstance(); }

    void CreateShown() { CreatePageShown(m_page, m_frame.get()); }

    CDataComboBox* List(int id) const { return m_page.GetList(id); }
    // As when the user picks the item.
    void Pick(int id, int data)
    {
        CDataComboBox* list = List(id);
        ASSERT_TRUE(list->SelectItemData(data)) << id << " " << data;
        wxCommandEvent event(wxEVT_COMBOBOX, list->GetId());
        event.SetEventObject(list);
        event.SetInt(list->GetSelection());
        list->GetEventHandler()->ProcessEvent(event);
    }
    std::vector<std::string> Texts(int id) const
    {
        std::vector<std::string> texts;
        for (unsigned int n = 0; n < List(id)->GetCount(); ++n)
            texts.push_back(List(id)->GetString(n).utf8_string());
        return texts;
    }
    wxTextCtrl* Edit(int id) const
    {
        return dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(m_page.GetWindow(), id));
    }
    // A new row filled as the user would.
    int AddRow(const std::string& name, const std::string& type, const std::string& factor, const std::string& offset)
    {
        CGridWindow* grid = m_page.GetUnitGrid();
        m_page.OnAddUnit();
        const int row = grid->GetRowCount() - 1;
        grid->SetItemText(row, Page::COLUMN_NAME, name);
        grid->SetItemText(row, Page::COLUMN_TYPE, type);
        grid->SetItemText(row, Page::COLUMN_FACTOR, factor);
        grid->SetItemText(row, Page::COLUMN_OFFSET, offset);
        return row;
    }
    // User units of the manager as "name type factor offset".
    static std::vector<std::string> UserUnits()
    {
        std::vector<std::string> units;
        for (const CUnit& unit : CUnitManager::GetInstance()->GetUnitList()) {
            if (unit.DbIndex < 0)
                units.push_back(unit.Name + " " + std::to_string(unit.Type) + " " +
                                DataFormat::Format(unit.ConversionFactor, 0, true) + " " +
                                DataFormat::Format(unit.ConversionOffset, 0, true));
        }
        return units;
    }
    int FindUserUnit(const std::string& name) const
    {
        for (const CUnit& unit : CUnitManager::GetInstance()->GetUnitList()) {
            if (unit.Name == name)
                return unit.DbIndex;
        }
        return 0;
    }

    const std::string m_database = ShippedDatabasePath();
    UniqueWindow<wxFrame> m_frame;
    CPageConfiguration m_page;
    std::vector<SMessageBox> m_boxes;
    int m_answer = wxID_OK;
};

TEST_F(PageConfigurationTest, LanguageNoticeOnlyOnARealChange)
{
    CreateShown();
    EXPECT_EQ(Texts(Page::IDC_LANGUAGE), (std::vector<std::string>{"English", "Deutsch"}));
    EXPECT_EQ(List(Page::IDC_LANGUAGE)->GetSelectedItemData(), 1);
    m_page.OnLeavePage();
    EXPECT_TRUE(m_boxes.empty());

    Pick(Page::IDC_LANGUAGE, 2);
    m_page.OnLeavePage();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "The new language will get activated upon next program start.");
    EXPECT_EQ(m_boxes[0].caption, "Zephrin: Notice");
    EXPECT_EQ(Config().language, "de");
    m_page.OnEnterPage();
    m_page.OnLeavePage();
    EXPECT_EQ(m_boxes.size(), 1u);
}

TEST_F(PageConfigurationTest, LanguageCodeIsBoundNotPastedIntoTheQuery)
{
    Config().language = "xx' OR '1'='1";
    CreateShown();
    EXPECT_EQ(List(Page::IDC_LANGUAGE)->GetSelection(), wxNOT_FOUND);
    m_page.OnLeavePage();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Config().language, "xx' OR '1'='1");
}

TEST_F(PageConfigurationTest, LanguagesReadPartWayOfferNoneAndLogWhy)
{
    CUnitDb::GetInstance()->Close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_database.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                           "INSERT INTO Languages SELECT i, printf('x%d', i), printf('language %040d', i) FROM n;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    {
        UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Whole"));
        CPageConfiguration whole;
        ASSERT_TRUE(whole.Create(frame.get()));
        EXPECT_EQ(whole.GetList(Page::IDC_LANGUAGE)->GetCount(), 3000u) << "the whole table loads";
    }
    CUnitDb::GetInstance()->Close();

    std::string error;
    ASSERT_TRUE(DamageMiddleLeafPage(m_database, "Languages", error)) << error;
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    const std::string log = LogWrittenWhile(TestProgramFolder() + "damaged.log", LOGLEVEL_ERROR,
                                            [this] { EXPECT_TRUE(m_page.Create(m_frame.get())); });
    EXPECT_EQ(List(Page::IDC_LANGUAGE)->GetCount(), 0u);
    EXPECT_NE(log.find("\nerror|The languages could not be read completely"), std::string::npos) << log;
}

TEST_F(PageConfigurationTest, AutomaticRecalculationAndDefaultUnitsAreStored)
{
    Config().autorecalcmeters = false;
    CreateShown();
    auto* check = dynamic_cast<wxCheckBox*>(CDialogControls::FindItem(m_page.GetWindow(), Page::IDC_AUTORECALC));
    ASSERT_NE(check, nullptr);
    EXPECT_FALSE(check->GetValue());
    check->SetValue(true);
    Pick(Page::IDC_PRESSURE_UNIT, 10);
    Pick(Page::IDC_PRESSURE_REFERENCE, 2);
    m_page.OnLeavePage();
    EXPECT_TRUE(Config().autorecalcmeters);
    EXPECT_EQ(Config().pressure, 10);
    EXPECT_EQ(Config().pressure_reference, 2);
    CApplicationConfiguration read;
    ASSERT_TRUE(read.Load());
    EXPECT_TRUE(read.autorecalcmeters);
    EXPECT_EQ(read.pressure, 10);
}

TEST_F(PageConfigurationTest, NormReferenceListsOnlyNormUnitsAndTheFlowUnitIsNeverLost)
{
    Config().flow_type = 1;
    Config().flow_reference = 0;
    Config().flow = 38;
    CreateShown();
    EXPECT_EQ(List(Page::IDC_FLOW_UNIT)->GetSelectedItemData(), 38);

    Pick(Page::IDC_FLOW_REFERENCE, 4);
    CUnit unit;
    for (unsigned int n = 0; n < List(Page::IDC_FLOW_UNIT)->GetCount(); ++n) {
        ASSERT_TRUE(CUnitManager::GetInstance()->GetUnit(unit, List(Page::IDC_FLOW_UNIT)->GetItemData(n)));
        EXPECT_EQ(unit.System, 4) << unit.Name;
    }
    // m3/h is no norm unit: the first norm unit instead of none.
    EXPECT_EQ(List(Page::IDC_FLOW_UNIT)->GetSelection(), 0);
    Pick(Page::IDC_FLOW_UNIT, 52);
    Pick(Page::IDC_FLOW_REFERENCE, 0);
    // Nl/h is offered among every system's units and stays chosen.
    EXPECT_EQ(List(Page::IDC_FLOW_UNIT)->GetSelectedItemData(), 52);
    EXPECT_GT(List(Page::IDC_FLOW_UNIT)->GetCount(), 12u);
    Pick(Page::IDC_FLOW_TYPE, 2);
    m_page.OnLeavePage();
    EXPECT_EQ(Config().flow_type, 2);
    ASSERT_TRUE(CUnitManager::GetInstance()->GetUnit(unit, Config().flow));
    EXPECT_EQ(unit.Type, 2);
}

TEST_F(PageConfigurationTest, NewRowBecomesAMarkedUserUnitAndIncompleteRowsDisappear)
{
    CreateShown();
    CGridWindow* grid = m_page.GetUnitGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetRowCount(), 1);
    EXPECT_EQ(grid->GetItemText(0, 1), "Type");
    AddRow("barrel/h", "Volume flow", "2.5", "0");
    AddRow("no type", "", "3", "0");
    AddRow("no factor", "Mass flow", "", "0");
    AddRow("zero", "Mass flow", "0", "1");
    m_page.OnLeavePage();
    EXPECT_EQ(UserUnits(), (std::vector<std::string>{"* barrel/h 1 2.5 0"}));
    std::ifstream file(TestProgramFolder() + "UserUnits.xml");
    const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(written.find("unit_name=\"barrel/h\""), std::string::npos) << written;

    // Offered in the volume flow lists, marked as a user unit.
    CComboItems items;
    CUnitManager::GetInstance()->FillUnitCombo(items, 1, 0, FALSE, "en", FALSE);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().text, "* barrel/h");
    const SMarkedComboItem marked = ClassifyComboItem(wxString::FromUTF8(items.back().text).ToStdWstring());
    EXPECT_EQ(marked.marker, EComboItemMarker::UserUnit);
    EXPECT_EQ(MarkerColour(marked.marker).red, 255);
    m_page.OnEnterPage();
    EXPECT_EQ(Texts(Page::IDC_FLOW_UNIT).back(), "* barrel/h");
    ASSERT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(grid->GetItemText(1, 0), "barrel/h");
    EXPECT_EQ(grid->GetItemText(1, 2), "2.5");
}

TEST_F(PageConfigurationTest, TypedUnitNameWithItsMarkFitsTheDatabaseColumn)
{
    CreateShown();
    CGridWindow* grid = m_page.GetUnitGrid();
    ASSERT_NE(grid, nullptr);
    m_page.OnAddUnit();
    const int row = grid->GetRowCount() - 1;
    grid->SetFocus();
    WaitFor([grid] { return wxWindow::FindFocus() == grid; });
    grid->SetFocusCell(row, Page::COLUMN_NAME);
    wxUIActionSimulator keyboard;
    keyboard.Text("abcdefghijklmnopq");
    keyboard.Char(WXK_RETURN);
    PumpFor(50);
    // 14 characters and the mark "* " make the 16 of the production database's unit columns.
    EXPECT_EQ(grid->GetItemText(row, Page::COLUMN_NAME), "abcdefghijklmn");
    grid->SetItemText(row, Page::COLUMN_TYPE, "Volume flow");
    grid->SetItemText(row, Page::COLUMN_FACTOR, "2.5");
    grid->SetItemText(row, Page::COLUMN_OFFSET, "0");
    m_page.OnLeavePage();
    EXPECT_EQ(UserUnits(), (std::vector<std::string>{"* abcdefghijklmn 1 2.5 0"}));
}

TEST_F(PageConfigurationTest, HeaderRowIsNeverDeletedAndADeletedRowGoesUnlessSomethingNamesIt)
{
    CreateShown();
    CGridWindow* grid = m_page.GetUnitGrid();
    AddRow("gone", "Volume flow", "2", "0");
    AddRow("kept", "Volume flow", "3", "0");
    m_page.OnLeavePage();
    const int kept = FindUserUnit("* kept");
    ASSERT_LT(kept, 0);
    m_page.OnEnterPage();
    // The project uses "kept"; nothing uses "gone".
    CProjectData::GetInstance()->physical.Flow.DbIndex = kept;
    CUnitManager::GetInstance()->GetUnit(CProjectData::GetInstance()->physical.Flow, kept);

    m_answer = wxID_YES;
    // The header row never becomes the selection; with nothing selected nothing goes.
    grid->SetSelectedRange(0, 0, 0, 3);
    EXPECT_GE(grid->GetSelectedCellRange().GetMinRow(), 1);
    grid->ClearSelection();
    m_page.OnDeleteUnit();
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_TRUE(m_boxes.empty());

    m_answer = wxID_NO;
    grid->SetSelectedRange(1, 0, 1, 3);
    m_page.OnDeleteUnit();
    EXPECT_EQ(grid->GetRowCount(), 3);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "Do you really want to delete the selected unit?");
    EXPECT_EQ(m_boxes[0].caption, "Zephrin: Confirmation");
    m_answer = wxID_YES;
    for (int row : {2, 1}) {
        grid->SetSelectedRange(row, 0, row, 3);
        m_page.OnDeleteUnit();
    }
    EXPECT_EQ(grid->GetRowCount(), 1);
    m_page.OnLeavePage();
    EXPECT_EQ(UserUnits(), (std::vector<std::string>{"* kept 1 3 0"}));
    EXPECT_EQ(FindUserUnit("* kept"), kept);
}

TEST_F(PageConfigurationTest, UnitsOfTheDefaultsKeepTheirIndexWhenTheirRowsChangeOrGo)
{
    CreateShown();
    AddRow("mine", "Volume flow", "2", "0");
    AddRow("hot", "Temperature", "1", "300");
    m_page.OnLeavePage();
    const int mine = FindUserUnit("* mine");
    const int hot = FindUserUnit("* hot");
    m_page.OnEnterPage();
    Pick(Page::IDC_FLOW_UNIT, mine);
    Pick(Page::IDC_NORM_SYSTEM, -1);
    Pick(Page::IDC_NORM_TEMPERATURE_UNIT, hot);
    m_page.OnLeavePage();
    EXPECT_EQ(Config().flow, mine);
    EXPECT_EQ(Config().default_norm_condition.Temperature.DbIndex, hot);

    m_page.OnEnterPage();
    CGridWindow* grid = m_page.GetUnitGrid();
    ASSERT_EQ(grid->GetRowCount(), 3);
    // "mine" edited in place keeps its index; "hot" deleted stays for the norm condition.
    grid->SetItemText(1, Page::COLUMN_FACTOR, "4");
    m_answer = wxID_YES;
    grid->SetSelectedRange(2, 0, 2, 3);
    m_page.OnDeleteUnit();
    m_page.OnLeavePage();
    CUnit unit;
    ASSERT_TRUE(CUnitManager::GetInstance()->GetUnit(unit, Config().flow));
    EXPECT_EQ(unit.Name, "* mine");
    EXPECT_EQ(unit.ConversionFactor, 4.0);
    ASSERT_TRUE(CUnitManager::GetInstance()->GetUnit(unit, Config().default_norm_condition.Temperature.DbIndex));
    EXPECT_EQ(unit.Name, "* hot");
}

TEST_F(PageConfigurationTest, PredefinedNormConditionIsReadOnlyAndCustomKeepsItsValues)
{
    Config().default_norm_condition.Reset();
    Config().default_norm_condition.Temperature.DbIndex = 1;
    Config().default_norm_condition.Temperature.Value = 12.5;
    Config().default_norm_condition.Pressure.DbIndex = 7;
    Config().default_norm_condition.Pressure.Value = 1.1;
    Config().default_norm_condition.Pressure.Reference = 1;
    CreateShown();
    EXPECT_EQ(List(Page::IDC_NORM_SYSTEM)->GetSelectedItemData(), -1);
    EXPECT_EQ(Edit(Page::IDC_NORM_TEMPERATURE)->GetValue(), "12.5");
    EXPECT_TRUE(Edit(Page::IDC_NORM_TEMPERATURE)->IsEditable());

    Pick(Page::IDC_NORM_SYSTEM, 4);
    EXPECT_FALSE(Edit(Page::IDC_NORM_TEMPERATURE)->IsEditable());
    EXPECT_FALSE(Edit(Page::IDC_NORM_PRESSURE)->IsEditable());
    EXPECT_FALSE(List(Page::IDC_NORM_PRESSURE_UNIT)->IsEnabled());
    EXPECT_EQ(Edit(Page::IDC_NORM_TEMPERATURE)->GetValue(), "60.0");
    EXPECT_EQ(List(Page::IDC_NORM_PRESSURE_UNIT)->GetSelectedItemData(), 10);

    Pick(Page::IDC_NORM_SYSTEM, -1);
    EXPECT_TRUE(Edit(Page::IDC_NORM_PRESSURE)->IsEditable());
    EXPECT_EQ(Edit(Page::IDC_NORM_TEMPERATURE)->GetValue(), "12.5");
    Edit(Page::IDC_NORM_PRESSURE)->ChangeValue("1,2");
    m_page.OnLeavePage();
    EXPECT_EQ(Config().default_norm_condition.Id, -1);
    EXPECT_DOUBLE_EQ(Config().default_norm_condition.Pressure.Value, 1.2);
    EXPECT_DOUBLE_EQ(Config().default_norm_condition.Temperature.BaseValue, 285.65);

    m_page.OnEnterPage();
    Pick(Page::IDC_NORM_SYSTEM, 2);
    m_page.OnLeavePage();
    EXPECT_EQ(Config().default_norm_condition.Id, 2);
    EXPECT_DOUBLE_EQ(Config().default_norm_condition.Temperature.Value, 15.0);
}

// A custom condition with more digits than the fields show keeps them when the page is only
// looked at; what is typed is taken as typed.
TEST_F(PageConfigurationTest, CustomNormConditionLookedAtKeepsEveryDigit)
{
    CNormFlowCondition& condition = Config().default_norm_condition;
    condition.Reset();
    condition.Temperature.DbIndex = 1;
    condition.Temperature.Value = 15.123456789;
    condition.Temperature.BaseValue = 288.273456789;
    condition.Pressure.DbIndex = 7;
    condition.Pressure.Value = 1.01323456789;
    condition.Pressure.BaseValue = 1.01323456789;
    condition.Pressure.Reference = 1;
    CreateShown();
    EXPECT_EQ(Edit(Page::IDC_NORM_TEMPERATURE)->GetValue(), "15.12");
    EXPECT_EQ(Edit(Page::IDC_NORM_PRESSURE)->GetValue(), "1.01323");
    m_page.OnLeavePage();
    m_page.OnEnterPage();
    m_page.OnLeavePage();
    EXPECT_EQ(condition.Temperature.Value, 15.123456789);
    EXPECT_DOUBLE_EQ(condition.Temperature.BaseValue, 288.273456789);
    EXPECT_EQ(condition.Pressure.Value, 1.01323456789);
    EXPECT_DOUBLE_EQ(condition.Pressure.BaseValue, 1.01323456789);

    m_page.OnEnterPage();
    Edit(Page::IDC_NORM_TEMPERATURE)->ChangeValue("15.13");
    m_page.OnLeavePage();
    EXPECT_EQ(condition.Temperature.Value, 15.13);
    EXPECT_DOUBLE_EQ(condition.Temperature.BaseValue, 288.28);
    EXPECT_EQ(condition.Pressure.Value, 1.01323456789);
    EXPECT_DOUBLE_EQ(condition.Pressure.BaseValue, 1.01323456789);
}

TEST_F(PageConfigurationTest, EveryLeaveWritesTheThreeFilesAndTheUpdatePanelSitsInItsGroup)
{
    CreateShown();
    CRenovixSettingsDlg* settings = m_page.GetSettingsDialog();
    ASSERT_NE(settings, nullptr);
    ASSERT_NE(settings->GetWindow(), nullptr);
    EXPECT_TRUE(settings->GetWindow()->IsShown());
    const wxRect group =
        CDialogControls::FindItem(m_page.GetWindow(), Page::IDC_LBL_UPDATE_SETTINGS)->GetRect();
    EXPECT_TRUE(group.Contains(settings->GetWindow()->GetRect()));
    EXPECT_EQ(settings->GetItem(CRenovixSettingsDlg::IDC_PROTOCOL), nullptr);
    for (const std::string& file : Files())
        EXPECT_FALSE(Exists(file)) << file;
    m_page.OnLeavePage();
    for (const std::string& file : Files())
        EXPECT_TRUE(Exists(file)) << file;
    // Storing leaves the panel to the page's window, which hides it with itself.
    EXPECT_TRUE(settings->GetWindow()->IsShown());
}

// Typed update settings that do not fit keep the page with the settings panel's own message, as
// the updater's modal settings dialog does; nothing is stored until they fit.
TEST_F(PageConfigurationTest, TypedUpdateScheduleThatDoesNotFitKeepsThePage)
{
    CreateShown();
    CRenovixSettingsDlg* settings = m_page.GetSettingsDialog();
    ASSERT_NE(settings, nullptr);
    const auto type = [settings](int id, const char* text) {
        dynamic_cast<wxTextCtrl*>(settings->GetItem(id))->ChangeValue(text);
    };
    const struct {
        int kind;
        const char* time;
        const char* number;
        const char* message;
        const char* corrected;  // the number, or else the time, that fits
        const char* stored;
    } cases[] = {
        {CRenovixSettingsDlg::SCHEDULE_DAILY, "7.15", "", "Please enter the time as HH:MM, for example 08:00.", "7:15",
         "DAILY|07:15"},
        {CRenovixSettingsDlg::SCHEDULE_MONTHLY, "08:00", "40", "Please enter a day of the month from 1 to 31.", "31",
         "MONTHLY|31|08:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::remove(Files()[2].c_str());
        auto* schedule = dynamic_cast<wxComboBox*>(settings->GetItem(CRenovixSettingsDlg::IDC_SCHEDULE));
        schedule->SetSelection(c.kind - CRenovixSettingsDlg::SCHEDULE_MANUALLY);
        type(CRenovixSettingsDlg::IDC_TIME, c.time);
        type(CRenovixSettingsDlg::IDC_NUMBER, c.number);
        m_boxes.clear();
        int reason = -1;
        EXPECT_FALSE(m_page.CanLeavePage(&reason));
        EXPECT_FALSE(m_page.OnLeavePage());
        ASSERT_EQ(m_boxes.size(), 2u);
        EXPECT_EQ(m_boxes[0].text, c.message);
        EXPECT_EQ(m_boxes[0].style & wxICON_ERROR, wxICON_ERROR);
        EXPECT_FALSE(Exists(Files()[2]));
        EXPECT_TRUE(settings->GetWindow()->IsShown());

        type(*c.number ? CRenovixSettingsDlg::IDC_NUMBER : CRenovixSettingsDlg::IDC_TIME, c.corrected);
        m_boxes.clear();
        EXPECT_TRUE(m_page.CanLeavePage(&reason));
        EXPECT_TRUE(m_page.OnLeavePage());
        EXPECT_TRUE(m_boxes.empty());
        EXPECT_NE(ReadWholeFile(Files()[2]).find(std::string("schedule=\"") + c.stored + "\""), std::string::npos)
            << ReadWholeFile(Files()[2]);
        m_page.OnEnterPage();
    }
}

TEST_F(PageConfigurationTest, Screenshot)
{
    CreateShown();
    AddRow("barrel/h", "Volume flow", "2.5", "0");
    m_page.OnLeavePage();
    m_page.OnEnterPage();
    AddRow("", "", "", "");
    SaveScreenshot(Snapshot(m_frame.get()), "page-configuration-en");
}

TEST_F(PageConfigurationTest, GermanTextsAndScreenshot)
{
    UseTranslatedLanguage("de");
    CreateShown();
    EXPECT_EQ(CDialogControls::FindItem(m_page.GetWindow(), Page::IDC_LBL_USER_UNITS)->GetLabel(),
              wxString::FromUTF8("Benutzerdefinierte Einheiten"));
    EXPECT_EQ(m_page.GetUnitGrid()->GetItemText(0, 0), "Einheitenname");
    AddRow("Fass/h", "Volumendurchfluss", "2,5", "0");
    m_page.OnLeavePage();
    // Typed and shown with the German decimal comma.
    EXPECT_EQ(UserUnits(), (std::vector<std::string>{"* Fass/h 1 2,5 0"}));
    m_page.OnEnterPage();
    SaveScreenshot(Snapshot(m_frame.get()), "page-configuration-de");
}

}  // namespace
