// The main window and the about box as the user meets them: toolbar, pages, menu and its
// enabling, the German texts, Escape and closing; screenshots of both in both languages.
#include "FakeStartupEnvironment.h"
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/DialogControls.h"
#include "HarbinaxCore/ComboItemMarker.h"
#include "Harbinax/HyperLinkStatic.h"
#include "PolyglottaWx/WindowIds.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "TAMBEL/AboutDlg.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/Pages/PageResults.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELDlg.h"
#include "grid/window/GridWindow.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

int Id(int resourceId)
{
    return CWindowIds::FromResourceId(resourceId);
}

// Zephrin.db of the build in the test's program folder, its revision rows removed when asked.
void PlaceDatabase(bool withRevisions)
{
    PlaceShippedDatabase();
    if (withRevisions || ::testing::Test::HasFatalFailure())
        return;
    const std::string target = TestProgramFolder() + "Zephrin.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(target.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DELETE FROM Revisions", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // English lists and texts, whatever language the tests before left.
        App().SetUiLanguage("en");
        App().EnableTranslator(false);
        // The device page is built from the database's device features.
        PlaceDatabase(true);
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        auto environment = std::make_unique<CFakeStartupEnvironment>(SStartupScript(), calls);
        fake = environment.get();
        App().SetEnvironment(std::move(environment));
    }

    void TearDown() override
    {
        App().SetMainDialog(nullptr);
        App().SetEnvironment(std::make_unique<CStartupEnvironment>());
        CUnitDb::GetInstance()->Close();
        std::remove((TestProgramFolder() + "Zephrin.db").c_str());
    }

    // A created and shown main window, known to the application as its main dialog.
    std::unique_ptr<CTAMBELDlg> CreateShown()
    {
        auto dialog = std::make_unique<CTAMBELDlg>();
        EXPECT_TRUE(dialog->Create());
        App().SetMainDialog(dialog.get());
        if (dialog->GetFrame())
            ShowAndFocus(dialog->GetFrame());
        return dialog;
    }

    CallList calls;
    CFakeStartupEnvironment* fake = nullptr;
};

TEST_F(MainDialogTest, ToolbarHoldsTheEightButtonsInOrderWithPageButtonsAsOneGroup)
{
    auto dialog = CreateShown();
    wxToolBar* toolBar = dialog->GetToolBar();
    ASSERT_NE(toolBar, nullptr);
    const int kSeparator = -1;
    // Grouped as the toolbar shows them.
    const int expected[] = {wxID_OPEN, wxID_SAVE,
                            kSeparator, Id(ID_FILE_PRINT_DIRECT), Id(ID_FILE_EMAIL), Id(ID_FILE_PDF),
                            kSeparator, ID_PAGE_FLUID, ID_PAGE_RESULTS,
                            kSeparator, ID_PAGE_CONFIGURATION};
    ASSERT_EQ(toolBar->GetToolsCount(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const wxToolBarToolBase* tool = toolBar->GetToolByPos(static_cast<int>(i));
        if (expected[i] == kSeparator) {
            EXPECT_TRUE(tool->IsSeparator()) << i;
            continue;
        }
        EXPECT_EQ(tool->GetId(), expected[i]) << i;
        EXPECT_EQ(tool->GetKind(), expected[i] < 200 ? wxITEM_CHECK : wxITEM_NORMAL) << i;
        EXPECT_TRUE(tool->GetNormalBitmap().IsOk() && tool->GetNormalBitmap().GetWidth() == 32) << i;
    }
    EXPECT_EQ(toolBar->FindById(wxID_OPEN)->GetLabel(), "Open");
    EXPECT_EQ(toolBar->FindById(ID_PAGE_RESULTS)->GetLabel(), "Calculate meters");

    // The fluid page shows first; pressing another page button moves the check with the page.
    EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetFluidPage());
    EXPECT_TRUE(toolBar->GetToolState(ID_PAGE_FLUID));
    wxCommandEvent press(wxEVT_TOOL, ID_PAGE_RESULTS);
    press.SetEventObject(toolBar);
    toolBar->ProcessWindowEvent(press);
    EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetResultsPage());
    EXPECT_TRUE(dialog->GetResultsPage().GetWindow()->IsShown());
    EXPECT_FALSE(dialog->GetFluidPage().GetWindow()->IsShown());
    EXPECT_FALSE(toolBar->GetToolState(ID_PAGE_FLUID));
    EXPECT_TRUE(toolBar->GetToolState(ID_PAGE_RESULTS));
    EXPECT_FALSE(toolBar->GetToolState(ID_PAGE_CONFIGURATION));
    // The device page has no button: nothing shows it, so it is not made.
    EXPECT_EQ(dialog->GetDevicePage().GetWindow(), nullptr);
}

// As when the user presses the toolbar button of the page.
void PressPageButton(CTAMBELDlg& dialog, int id)
{
    wxCommandEvent press(wxEVT_TOOL, id);
    press.SetEventObject(dialog.GetToolBar());
    dialog.GetToolBar()->ProcessWindowEvent(press);
}

TEST_F(MainDialogTest, PagesAreMadeWhenFirstShownInTheWindowLaidOutForThemAtStart)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    CApplicationConfiguration::GetInstance()->Reset();
    CApplicationConfiguration::GetInstance()->autorecalcmeters = false;
    CDeviceConfiguration::GetInstance()->RemoveAll();
    CDeviceConfiguration::GetInstance()->SetAt(1, 104);
    MakeWaterOperatingPoint(*CPhysicalData::GetInstance());
    CResultData::GetInstance()->RemoveAll();
    auto dialog = CreateShown();
    wxFrame* frame = dialog->GetFrame();
    wxWindow* fluid = dialog->GetFluidPage().GetWindow();
    ASSERT_NE(fluid, nullptr);
    CPageResults& results = dialog->GetResultsPage();
    CPageConfiguration& configuration = dialog->GetConfigurationPage();
    EXPECT_EQ(results.GetWindow(), nullptr);
    EXPECT_EQ(configuration.GetWindow(), nullptr);
    EXPECT_EQ(dialog->GetDevicePage().GetWindow(), nullptr);
    const wxSize startSize = frame->GetSize();
    const wxSize startMinimum = frame->GetMinSize();
    // What the window was laid out for: the pages' sizes from their templates.
    const wxSize resultsSize = results.m_contentSize;
    const wxSize configurationSize = configuration.m_contentSize;
    EXPECT_GT(resultsSize.x, fluid->GetSize().x / 2);
    EXPECT_GT(configurationSize.y, fluid->GetSize().y / 2);
    SaveScreenshot(WholeWindow(frame), "main-start");

    // Made by their buttons where the fluid page is, and working; the device page when shown.
    PressPageButton(*dialog, ID_PAGE_RESULTS);
    ASSERT_EQ(dialog->GetCurrentPage(), &results);
    ASSERT_NE(results.GetWindow(), nullptr);
    EXPECT_TRUE(results.GetWindow()->IsShown());
    EXPECT_EQ(results.GetWindow()->GetRect(), fluid->GetRect());
    EXPECT_TRUE(dialog->GetToolBar()->GetToolState(ID_PAGE_RESULTS));
    results.OnRecalculate();
    ASSERT_NE(results.GetDeviceList(), nullptr);
    EXPECT_GT(results.GetDeviceList()->GetItemCount(), 0) << results.GetDetails()->GetLabel().utf8_string();
    // Sized for the stored device configuration, which no device page was there to change.
    const CDeviceConfiguration& features = *CDeviceConfiguration::GetInstance();
    const std::map<int, int> stored(features.begin(), features.end());
    EXPECT_EQ(stored, (std::map<int, int>{{1, 104}}));
    for (int row = 0; row < CResultData::GetInstance()->GetCount(); ++row)
        EXPECT_EQ(CResultData::GetInstance()->GetAt(row).SizeId, 104) << row;
    SaveScreenshot(WholeWindow(frame), "main-results");

    PressPageButton(*dialog, ID_PAGE_CONFIGURATION);
    ASSERT_EQ(dialog->GetCurrentPage(), &configuration);
    ASSERT_NE(configuration.GetWindow(), nullptr);
    EXPECT_FALSE(results.GetWindow()->IsShown());
    EXPECT_EQ(configuration.GetWindow()->GetRect(), fluid->GetRect());
    EXPECT_NE(configuration.GetUnitGrid(), nullptr);
    SaveScreenshot(WholeWindow(frame), "main-configuration");

    ASSERT_TRUE(dialog->ShowPage(&dialog->GetDevicePage()));
    ASSERT_NE(dialog->GetDevicePage().GetWindow(), nullptr);
    EXPECT_NE(dialog->GetDevicePage().GetFeatureList(1), nullptr);
    SaveScreenshot(WholeWindow(frame), "main-device");

    PressPageButton(*dialog, ID_PAGE_FLUID);
    EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetFluidPage());
    EXPECT_TRUE(fluid->IsShown());
    SaveScreenshot(WholeWindow(frame), "main-fluid");

    // The made pages come to their template sizes at least (more where their texts needed more
    // room), and fit the page area the window was laid out for, which stays as at start.
    for (const auto& [made, designed] : {std::pair(results.m_contentSize, resultsSize),
                                         std::pair(configuration.m_contentSize, configurationSize)}) {
        EXPECT_GE(made.x, designed.x);
        EXPECT_GE(made.y, designed.y);
        EXPECT_LE(made.x, fluid->GetSize().x);
        EXPECT_LE(made.y, fluid->GetSize().y);
    }
    EXPECT_EQ(frame->GetSize(), startSize);
    EXPECT_EQ(frame->GetMinSize(), startMinimum);

    CDeviceConfiguration::GetInstance()->RemoveAll();
    CResultData::GetInstance()->RemoveAll();
    CPhysicalData::GetInstance()->Reset();
    for (const char* name : {"Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
        std::remove((TestProgramFolder() + name).c_str());
}

// Calculate meters sizes nothing the fluid page cannot give: a gas mix whose shares are still to
// come, and a flow too large to convert, keep the fluid page shown with the reason in a box.
TEST_F(MainDialogTest, CalculateRefusesWhatTheFluidPageCannotGive)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    ASSERT_TRUE(CFluidManager::GetInstance()->LoadFluidList());
    CApplicationConfiguration::GetInstance()->Reset();
    CApplicationConfiguration::GetInstance()->autorecalcmeters = false;
    const struct {
        const char* code;
        const char* incompleteCaption;
        const char* noComposition;
        const char* invalidCaption;
        const char* flowTooLarge;
    } languages[] = {
        {"en", "Zephrin: Data incomplete", "The composition of the gas mix has not been entered yet.",
         "Zephrin: Invalid input", "The value of 'max. flowrate' is too large to be converted."},
        {"de", "Zephrin: Daten unvollständig", "Die Zusammensetzung des Gasgemischs ist noch nicht eingegeben.",
         "Zephrin: Ungültige Eingabe", "Der Wert für 'max. Durchfluss' ist zu groß, um umgerechnet zu werden."},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.code);
        UseTranslatedLanguage(language.code);
        for (const bool gasMix : {true, false}) {
            CResultData::GetInstance()->RemoveAll();
            CPhysicalData& physical = *CPhysicalData::GetInstance();
            MakeWaterOperatingPoint(physical);
            if (gasMix) {
                physical.Fluid = CreateFluid(FLUID_TYPE_GAS_MIX);
                physical.Fluid->Type = FLUID_TYPE_GAS_MIX;
                physical.Fluid->DbIndex = FLUID_INDEX_CUSTOM;
            }
            // Also what closing the window says goes to the recorder.
            CMessageBoxRecorder boxes;
            auto dialog = CreateShown();
            CPageFluid& fluid = dialog->GetFluidPage();
            if (!gasMix) {
                auto* flow = dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(fluid.GetWindow(), IDC_QMAX));
                ASSERT_NE(flow, nullptr);
                flow->ChangeValue(std::string(330, '9'));
            }
            PressPageButton(*dialog, ID_PAGE_RESULTS);
            PumpFor(100);
            EXPECT_EQ(dialog->GetCurrentPage(), &fluid);
            EXPECT_TRUE(fluid.GetWindow()->IsShown());
            EXPECT_TRUE(dialog->GetToolBar()->GetToolState(ID_PAGE_FLUID));
            EXPECT_EQ(CResultData::GetInstance()->GetCount(), 0);
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].caption, gasMix ? language.incompleteCaption : language.invalidCaption);
            EXPECT_EQ(boxes.Boxes()[0].text, gasMix ? language.noComposition : language.flowTooLarge);
            if (gasMix) {
                // The device page may be filled in meanwhile; Calculate from there refuses too.
                ASSERT_TRUE(dialog->ShowPage(&dialog->GetDevicePage()));
                PressPageButton(*dialog, ID_PAGE_RESULTS);
                EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetDevicePage());
                ASSERT_EQ(boxes.Boxes().size(), 2u);
                EXPECT_EQ(boxes.Boxes()[1].text, language.noComposition);
            }
            App().SetMainDialog(nullptr);
        }
    }
    UseTranslatedLanguage("en");
    CPhysicalData::GetInstance()->Reset();
    for (const char* name : {"Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
        std::remove((TestProgramFolder() + name).c_str());
}

// A maximum flow typed as 0 or below is named as the one given, an emptied field as none given,
// in the details of the empty device list.
TEST_F(MainDialogTest, CalculationNamesAFlowThatIsNotAboveZero)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    ASSERT_TRUE(CFluidManager::GetInstance()->LoadFluidList());
    CApplicationConfiguration::GetInstance()->Reset();
    const struct {
        const char* code;
        const char* none;
        const char* notAboveZero;
    } languages[] = {
        {"en", "No maximum flow is given.", "The maximum flow must be above 0."},
        {"de", "Es ist kein maximaler Durchfluss angegeben.", "Der maximale Durchfluss muss größer als 0 sein."},
    };
    for (const auto& language : languages) {
        UseTranslatedLanguage(language.code);
        for (const char* typed : {"", "0", "0.0", "-10", "-0.001"}) {
            SCOPED_TRACE(std::string(language.code) + " '" + typed + "'");
            CResultData::GetInstance()->RemoveAll();
            MakeWaterOperatingPoint(*CPhysicalData::GetInstance());
            CMessageBoxRecorder boxes;
            auto dialog = CreateShown();
            CPageFluid& fluid = dialog->GetFluidPage();
            auto* flow = dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(fluid.GetWindow(), IDC_QMAX));
            ASSERT_NE(flow, nullptr);
            flow->ChangeValue(typed);
            PressPageButton(*dialog, ID_PAGE_RESULTS);
            CPageResults& results = dialog->GetResultsPage();
            ASSERT_EQ(dialog->GetCurrentPage(), &results) << boxes.Boxes().size();
            results.OnRecalculate();
            PumpFor(100);
            EXPECT_EQ(results.GetDeviceList()->GetItemCount(), 0);
            const std::string details = results.GetDetails()->GetLabel().utf8_string();
            const std::string expected = *typed ? language.notAboveZero : language.none;
            EXPECT_EQ(details.substr(0, details.find('\n')), expected) << details;
            if (std::string(typed) == "-10")
                SaveScreenshot(Snapshot(dialog->GetFrame()), std::string("results-negative-flow-") + language.code);
            App().SetMainDialog(nullptr);
        }
    }
    UseTranslatedLanguage("en");
    CPhysicalData::GetInstance()->Reset();
    CResultData::GetInstance()->RemoveAll();
    for (const char* name : {"Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
        std::remove((TestProgramFolder() + name).c_str());
}

TEST_F(MainDialogTest, UserUnitMadeOnTheConfigurationPageIsOfferedMarkedOnTheFluidPage)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    CApplicationConfiguration::GetInstance()->Reset();
    auto dialog = CreateShown();
    wxWindow* fluid = dialog->GetFluidPage().GetWindow();
    auto* flowUnits = dynamic_cast<CDataComboBox*>(CDialogControls::FindItem(fluid, IDC_QMAX_UNIT));
    auto* convertedUnits = dynamic_cast<CDataComboBox*>(CDialogControls::FindItem(fluid, IDC_FLOW_CALC_UNIT));
    ASSERT_TRUE(flowUnits && convertedUnits);
    ASSERT_GT(convertedUnits->GetCount(), 1u);
    convertedUnits->SetSelection(1);
    const wxString converted = convertedUnits->GetString(convertedUnits->GetSelection());

    PressPageButton(*dialog, ID_PAGE_CONFIGURATION);
    CPageConfiguration& configuration = dialog->GetConfigurationPage();
    ASSERT_EQ(dialog->GetCurrentPage(), &configuration);
    CGridWindow* grid = configuration.GetUnitGrid();
    ASSERT_NE(grid, nullptr);
    configuration.OnAddUnit();
    const int row = grid->GetRowCount() - 1;
    grid->SetItemText(row, CPageConfiguration::COLUMN_NAME, "barrel/h");
    grid->SetItemText(row, CPageConfiguration::COLUMN_TYPE, "Volume flow");
    grid->SetItemText(row, CPageConfiguration::COLUMN_FACTOR, "2.5");
    grid->SetItemText(row, CPageConfiguration::COLUMN_OFFSET, "0");
    PressPageButton(*dialog, ID_PAGE_FLUID);
    ASSERT_EQ(dialog->GetCurrentPage(), &dialog->GetFluidPage());

    // Both flow unit lists offer it last, drawn in the colour of its marker; the unit picked for
    // the converted flow stays picked.
    for (const CDataComboBox* list : {flowUnits, convertedUnits}) {
        ASSERT_GT(list->GetCount(), 0u);
        const wxString last = list->GetString(list->GetCount() - 1);
        EXPECT_EQ(last.utf8_string(), "* barrel/h") << list->GetId();
        EXPECT_EQ(ClassifyComboItem(last.ToStdWstring()).marker, EComboItemMarker::UserUnit);
    }
    EXPECT_EQ(convertedUnits->GetString(convertedUnits->GetSelection()), converted);

    CUnitManager::GetInstance()->RemoveUserUnits();
    for (const char* name : {"Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
        std::remove((TestProgramFolder() + name).c_str());
}

// Saving stores the page the user looks at; its update settings stay in view as he left them.
TEST_F(MainDialogTest, SavingOnTheConfigurationPageKeepsItsUpdateSettingsShown)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
    CApplicationConfiguration::GetInstance()->Reset();
    auto dialog = CreateShown();
    PressPageButton(*dialog, ID_PAGE_CONFIGURATION);
    CRenovixSettingsDlg* settings = dialog->GetConfigurationPage().GetSettingsDialog();
    ASSERT_NE(settings, nullptr);
    auto* schedule = dynamic_cast<wxComboBox*>(settings->GetItem(CRenovixSettingsDlg::IDC_SCHEDULE));
    auto* time = dynamic_cast<wxTextCtrl*>(settings->GetItem(CRenovixSettingsDlg::IDC_TIME));
    auto* monday = dynamic_cast<wxCheckBox*>(settings->GetItem(CRenovixSettingsDlg::IDC_MONDAY));
    ASSERT_TRUE(schedule && time && monday);
    schedule->SetSelection(CRenovixSettingsDlg::SCHEDULE_WEEKLY - CRenovixSettingsDlg::SCHEDULE_MANUALLY);
    wxCommandEvent picked(wxEVT_COMBOBOX, schedule->GetId());
    picked.SetEventObject(schedule);
    schedule->GetEventHandler()->ProcessEvent(picked);
    time->ChangeValue("07:15");
    monday->SetValue(true);

    CTemporaryFolder folder;
    ASSERT_TRUE(App().SaveProjectFile(folder.Path("project.xml")));
    Pump();
    EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetConfigurationPage());
    EXPECT_TRUE(settings->GetWindow()->IsShownOnScreen());
    EXPECT_EQ(schedule->GetSelection(), CRenovixSettingsDlg::SCHEDULE_WEEKLY - CRenovixSettingsDlg::SCHEDULE_MANUALLY);
    EXPECT_TRUE(time->IsShownOnScreen());
    EXPECT_EQ(time->GetValue(), "07:15");
    EXPECT_TRUE(monday->IsShownOnScreen());
    EXPECT_TRUE(monday->GetValue());
    EXPECT_NE(ReadWholeFile(TestProgramFolder() + "Renovix.xml").find("WEEKLY|0100000|07:15"), std::string::npos);

    for (const char* name : {"Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
        std::remove((TestProgramFolder() + name).c_str());
}

TEST_F(MainDialogTest, DatabaseItemsFollowTheProductionDatabase)
{
    auto dialog = CreateShown();
    wxMenuBar* bar = dialog->GetFrame()->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    const int databaseItems[] = {ID_FILE_OPEN_DB, ID_FILE_SAVE_DB, ID_FILE_DELETE_DB};
    for (int item : databaseItems)
        EXPECT_FALSE(bar->IsEnabled(Id(item))) << item;
    EXPECT_TRUE(bar->IsEnabled(Id(ID_FILE_CONFIG_DB)));
    EXPECT_TRUE(bar->IsEnabled(Id(ID_FILE_CREATE_DB)));

    fake->Script().productionDb = true;
    EXPECT_TRUE(App().OpenProductionDb(false));
    for (int item : databaseItems)
        EXPECT_TRUE(bar->IsEnabled(Id(item))) << item;

    fake->Script().productionDb = false;
    CMessageBoxRecorder messages;
    EXPECT_FALSE(App().OpenProductionDb(true));
    for (int item : databaseItems)
        EXPECT_FALSE(bar->IsEnabled(Id(item))) << item;
    ASSERT_EQ(messages.Boxes().size(), 1u);
    EXPECT_EQ(messages.Boxes()[0].text, "Could not open the production database.\nOnce the database can be reached, "
                                        "\"Database functions > Configure DB connection\" opens it again.");
}

TEST_F(MainDialogTest, EscapeLeavesItOpenAndClosingLeavesThePage)
{
    auto dialog = CreateShown();
    wxFrame* frame = dialog->GetFrame();
    wxUIActionSimulator keyboard;
    keyboard.Char(WXK_ESCAPE);
    PumpFor(100);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(dialog->GetCurrentPage(), &dialog->GetFluidPage());

    frame->Close();
    Pump();
    EXPECT_FALSE(frame->IsShown());
    EXPECT_EQ(dialog->GetCurrentPage(), nullptr);
    EXPECT_FALSE(dialog->GetFluidPage().GetWindow()->IsShown());
}

TEST_F(MainDialogTest, ExitCommandClosesTheMainWindow)
{
    auto dialog = CreateShown();
    wxCommandEvent exit(wxEVT_MENU, Id(ID_APP_EXIT));
    dialog->GetFrame()->ProcessWindowEvent(exit);
    Pump();
    EXPECT_FALSE(dialog->GetFrame()->IsShown());
}

TEST_F(MainDialogTest, GermanTextsComeFromTheTranslationTables)
{
    UseTranslatedLanguage("de");
    auto dialog = CreateShown();
    wxFrame* frame = dialog->GetFrame();
    wxMenuBar* bar = frame->GetMenuBar();
    EXPECT_EQ(frame->GetTitle(), "QMR Vortex Sizing");
    EXPECT_EQ(bar->GetMenuLabel(0), "&Datei");
    EXPECT_EQ(bar->GetMenuLabel(1), "&Utilities");
    EXPECT_EQ(bar->GetMenuLabel(2), "&Hilfe");
    EXPECT_EQ(bar->GetLabel(Id(ID_FILE_OPEN)), "&Open");
    EXPECT_EQ(bar->GetLabel(Id(ID_FILE_SAVE_DB)), "In Daten&bank speichern");
    EXPECT_EQ(bar->GetLabel(Id(ID_FILE_CREATE_DB)), "&Tabellen in DB erstellen");
    EXPECT_EQ(bar->GetLabel(Id(ID_APP_EXIT)), "&Beenden");
    EXPECT_EQ(bar->GetLabel(Id(ID_UTILITIES_PRESSURELOSSCALCULATOR)), "&Druckverlust Rechner");
    wxMenuItem* databaseFunctions = bar->GetMenu(0)->FindItemByPosition(5);
    EXPECT_EQ(databaseFunctions->GetItemLabel(), "Datenbank &Funktionen");
    wxToolBar* toolBar = dialog->GetToolBar();
    EXPECT_EQ(toolBar->FindById(wxID_OPEN)->GetLabel(), wxString::FromUTF8("Öffnen"));
    EXPECT_EQ(toolBar->FindById(ID_PAGE_RESULTS)->GetLabel(), wxString::FromUTF8("Geräte berechnen"));
    EXPECT_EQ(toolBar->FindById(Id(ID_FILE_EMAIL))->GetLabel(), "Email");
    SaveScreenshot(WholeWindow(frame), "main-de");
}

TEST_F(MainDialogTest, EnglishScreenshot)
{
    UseTranslatedLanguage("en");
    auto dialog = CreateShown();
    wxMenuBar* bar = dialog->GetFrame()->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetLabel(Id(ID_FILE_SAVE_DB)), "Save to data&base");
    EXPECT_EQ(dialog->GetToolBar()->FindById(ID_PAGE_CONFIGURATION)->GetLabel(), "Configuration");
    SaveScreenshot(WholeWindow(dialog->GetFrame()), "main-en");
}

// --- About box -------------------------------------------------------------------------------

class AboutTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CUnitDb::GetInstance()->Close();
        std::remove((TestProgramFolder() + "Zephrin.db").c_str());
    }

    std::string Text(CAboutDlg& about, int id) { return about.GetItem(id)->GetLabel().utf8_string(); }
};

TEST_F(AboutTest, ShowsProgramAndDatabaseVersionsAndLinks)
{
    PlaceDatabase(true);
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    const CUnitDb& database = *CUnitDb::GetInstance();
    ASSERT_GT(database.Major + database.Medium + database.Minor + database.Build, 0);
    UseTranslatedLanguage("en");

    CAboutDlg about(nullptr);
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(Text(about, IDC_PROGRAM_VERSION), "1.2.3.4");
    EXPECT_EQ(Text(about, IDC_DB_VERSION), std::to_string(database.Major) + "." + std::to_string(database.Medium) +
                                               "." + std::to_string(database.Minor) + "." +
                                               std::to_string(database.Build));
    EXPECT_EQ(about.GetTitle(), "About QMR Vortex Sizing");
    EXPECT_EQ(Text(about, IDC_TAMBEL_LBL), "QMR Vortex Sizing");
    ASSERT_NE(about.GetCustomerLink(), nullptr);
    ASSERT_NE(about.GetMakerLink(), nullptr);
    EXPECT_EQ(about.GetCustomerLink()->GetLink(), CAboutDlg::kCustomerLink);
    EXPECT_EQ(about.GetMakerLink()->GetLink(), CAboutDlg::kMakerLink);
    ShowAndFocus(&about);
    SaveScreenshot(WholeWindow(&about), "about-en");
}

TEST_F(AboutTest, DatabaseWithoutRevisionShowsZerosInGerman)
{
    PlaceDatabase(false);
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    UseTranslatedLanguage("de");

    CAboutDlg about(nullptr);
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(Text(about, IDC_DB_VERSION), "0.0.0.0");
    EXPECT_EQ(about.GetTitle(), wxString::FromUTF8("Über QMR Vortex Sizing"));
    EXPECT_EQ(Text(about, IDC_DB_LBL), "Datenbank");
    ShowAndFocus(&about);
    SaveScreenshot(WholeWindow(&about), "about-de");
}

TEST_F(AboutTest, HelpAboutCommandOpensItModally)
{
    // The modal box ends itself as soon as it shows.
    bool shown = false;
    auto closeFirstDialog = [&shown](wxShowEvent& event) {
        event.Skip();
        auto* dialog = dynamic_cast<CAboutDlg*>(event.GetEventObject());
        if (!dialog || !event.IsShown() || shown)
            return;
        shown = true;
        dialog->CallAfter([dialog] { dialog->EndModal(wxID_OK); });
    };
    App().Bind(wxEVT_SHOW, closeFirstDialog);
    wxCommandEvent command(wxEVT_MENU, Id(ID_HELP_ABOUT));
    App().ProcessEvent(command);
    App().Unbind(wxEVT_SHOW, closeFirstDialog);
    EXPECT_TRUE(shown);
}

}  // namespace
