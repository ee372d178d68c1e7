// Every page and dialog of the sizing program as a user meets it, in English and in German: no
// two controls lie over each other and no text is cut; a screenshot of each to look at.
#include "FakeStartupEnvironment.h"
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/Fluid.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/ResultFilter.h"
#include "CommonFiles/SelectDbRecordsDlg/SelectDbRecordsDlg.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/Unit.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/DialogControls.h"
#include "PagewrightWx/ReportPreviewWnd.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "TAMBEL/AboutDlg.h"
#include "TAMBEL/DbConnectionDlg.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/PressureLossUtilityDlg.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/ResultFilterDlg.h"
#include "TAMBEL/TAMBELDlg.h"
#include "grid/window/GridWindow.h"
#include "support/LayoutCheck.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The window on screen has a sound layout; its picture is kept under the name.
void Look(wxWindow* topLevel, const std::string& name, const SharedRectangles& shared = {},
          const Overlays& overlays = {})
{
    ShowAndFocus(topLevel);
    const wxBitmap shot = WholeWindow(topLevel);
    SaveScreenshot(shot, name);
    const std::vector<std::string> faults = LayoutFaults(*topLevel, shared, overlays);
    EXPECT_TRUE(faults.empty()) << name << ":" << FaultList(faults);
}

class LayoutWalkTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage(GetParam());
        // The engine's texts (tab captions, details, unit references) follow the language as
        // they do in the program, so every text is measured in the language walked.
        ConnectEngineToApplication();
        ASSERT_NO_FATAL_FAILURE(PlaceShippedDatabase());
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
        // The fluid types and gases the fluid page and the gas-mix dialog offer.
        ASSERT_TRUE(CFluidManager::GetInstance()->LoadFluidList());
        ASSERT_TRUE(CNormConditionManager::GetInstance()->LoadDbList());
        App().SetEnvironment(std::make_unique<CFakeStartupEnvironment>(SStartupScript(), calls));
        CApplicationConfiguration::GetInstance()->Reset();
        CDeviceConfiguration::GetInstance()->RemoveAll();
        CDeviceConfiguration::GetInstance()->SetAt(1, 104);
        MakeWaterOperatingPoint(*CPhysicalData::GetInstance());
        CResultData::GetInstance()->RemoveAll();
    }

    void TearDown() override
    {
        App().SetMainDialog(nullptr);
        App().SetEnvironment(std::make_unique<CStartupEnvironment>());
        DisconnectEngineFromApplication();
        CDeviceConfiguration::GetInstance()->RemoveAll();
        CResultData::GetInstance()->RemoveAll();
        CPhysicalData::GetInstance()->Reset();
        CUnitDb::GetInstance()->Close();
        for (const char* name : {"Zephrin.db", "Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
            std::remove((TestProgramFolder() + name).c_str());
    }

    std::string Name(const std::string& what) const { return "layout-" + std::string(GetParam()) + "-" + what; }

    static wxTextCtrl* Edit(const CPageFluid& page, int id)
    {
        return dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(page.GetWindow(), id));
    }
    static CDataComboBox* Combo(const CPageFluid& page, int id)
    {
        return dynamic_cast<CDataComboBox*>(CDialogControls::FindItem(page.GetWindow(), id));
    }
    // Types the text into the field and leaves it, as a user does; the page takes the value in.
    static void Type(const CPageFluid& page, int id, const char* text)
    {
        wxTextCtrl* edit = Edit(page, id);
        ASSERT_NE(edit, nullptr) << id;
        edit->ChangeValue(text);
        wxFocusEvent left(wxEVT_KILL_FOCUS, edit->GetId());
        left.SetEventObject(edit);
        edit->GetEventHandler()->ProcessEvent(left);
        Pump();
    }
    // Picks the item as a user does, with the notification the page acts on.
    static void Choose(const CPageFluid& page, int id, int data)
    {
        CDataComboBox* combo = Combo(page, id);
        ASSERT_TRUE(combo && combo->SelectItemData(data)) << "list " << id << " has no " << data;
        wxCommandEvent event(wxEVT_COMBOBOX, id);
        event.SetEventObject(combo);
        event.SetInt(combo->GetSelection());
        combo->GetEventHandler()->ProcessEvent(event);
    }

    CallList calls;
};

TEST_P(LayoutWalkTest, EveryPageOfTheMainWindow)
{
    auto dialog = std::make_unique<CTAMBELDlg>();
    ASSERT_TRUE(dialog->Create());
    App().SetMainDialog(dialog.get());
    wxFrame* frame = dialog->GetFrame();
    // The size grip lies in the window's corner over the page.
    const Overlays grip = {dialog->GetGripSupport().GetGrip()};
    // Each fluid type shows rows of its own: humidity, saturation mode, the gas-mix button,
    // compressibility, norm and flow-reference rows.
    CPageFluid& fluid = dialog->GetFluidPage();
    for (int type : {FLUID_TYPE_GAS, FLUID_TYPE_WET_GAS, FLUID_TYPE_GAS_MIX, FLUID_TYPE_SATURATED_STEAM,
                     FLUID_TYPE_SUPERHEATED_STEAM, FLUID_TYPE_LIQUID}) {
        Choose(fluid, IDC_STATE, type);
        Look(frame, Name("fluid-" + std::to_string(type)), {}, grip);
    }
    // Texts the page sets as values change: a converted flow without a density or a norm
    // density says so.
    Edit(fluid, IDC_DENSITY)->ChangeValue(wxString());
    Choose(fluid, IDC_DENSITY_UNIT, Combo(fluid, IDC_DENSITY_UNIT)->GetSelectedItemData());
    Look(frame, Name("fluid-no-density"), {}, grip);
    Choose(fluid, IDC_STATE, FLUID_TYPE_GAS);
    Edit(fluid, IDC_NORM_DENSITY)->ChangeValue(wxString());
    Choose(fluid, IDC_FLOW_CALC_REFERENCE, REFERENCE_NORM);
    Look(frame, Name("fluid-no-norm-density"), {}, grip);
    Choose(fluid, IDC_STATE, FLUID_TYPE_LIQUID);

    ASSERT_TRUE(dialog->ShowPage(&dialog->GetDevicePage()));
    Look(frame, Name("device"), {}, grip);

    CPageResults& results = dialog->GetResultsPage();
    ASSERT_TRUE(dialog->ShowPage(&results));
    results.OnRecalculate();
    ASSERT_NE(results.GetDeviceList(), nullptr);
    ASSERT_GT(results.GetDeviceList()->GetItemCount(), 0);
    results.GetDeviceList()->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    // The preview of the graph and the grid of the data take the same place, one at a time.
    const SharedRectangles views = {{results.GetPreview(), results.GetGrid()}};
    Look(frame, Name("results-graph"), views, grip);
    auto* data = dynamic_cast<wxRadioButton*>(CDialogControls::FindItem(results.GetWindow(), IDC_DATA));
    ASSERT_NE(data, nullptr);
    data->SetValue(true);
    results.ShowSelectedDevice();
    Look(frame, Name("results-data"), views, grip);
    // Sized without a flow, the list stays empty and says why.
    CPhysicalData::GetInstance()->Flow.Value = 0.0;
    CPhysicalData::GetInstance()->Flow.BaseValue = 0.0;
    results.OnRecalculate();
    ASSERT_EQ(results.GetDeviceList()->GetItemCount(), 0);
    Look(frame, Name("results-empty"), views, grip);

    ASSERT_TRUE(dialog->ShowPage(&dialog->GetConfigurationPage()));
    Look(frame, Name("configuration"), {}, grip);
    // The update schedules with rows of their own: the days of the week, the day of the month,
    // the interval.
    CRenovixSettingsDlg* settings = dialog->GetConfigurationPage().GetSettingsDialog();
    ASSERT_NE(settings, nullptr);
    auto* schedule = dynamic_cast<wxComboBox*>(settings->GetItem(CRenovixSettingsDlg::IDC_SCHEDULE));
    ASSERT_NE(schedule, nullptr);
    dynamic_cast<wxTextCtrl*>(settings->GetItem(CRenovixSettingsDlg::IDC_TIME))->ChangeValue("08:00");
    dynamic_cast<wxTextCtrl*>(settings->GetItem(CRenovixSettingsDlg::IDC_NUMBER))->ChangeValue("14");
    const std::pair<int, const char*> schedules[] = {{CRenovixSettingsDlg::SCHEDULE_WEEKLY, "weekly"},
                                                     {CRenovixSettingsDlg::SCHEDULE_MONTHLY, "monthly"},
                                                     {CRenovixSettingsDlg::SCHEDULE_INTERVAL, "every-x-days"}};
    for (const auto& [kind, name] : schedules) {
        schedule->SetSelection(kind - CRenovixSettingsDlg::SCHEDULE_MANUALLY);
        wxCommandEvent picked(wxEVT_COMBOBOX, schedule->GetId());
        picked.SetEventObject(schedule);
        schedule->GetEventHandler()->ProcessEvent(picked);
        Look(frame, Name(std::string("configuration-") + name), {}, grip);
    }
    ASSERT_TRUE(dialog->ShowPage(&dialog->GetFluidPage()));
}

// A number of 45 digits in any field of the fluid page leaves every control inside the window:
// a converted value too wide for its field is shortened, its whole text in its tip, and the unit
// lists beside it stay where they are.
TEST_P(LayoutWalkTest, FluidPageStaysWholeWithALongNumberInAnyField)
{
    CMessageBoxRecorder boxes;
    auto dialog = std::make_unique<CTAMBELDlg>();
    ASSERT_TRUE(dialog->Create());
    App().SetMainDialog(dialog.get());
    wxFrame* frame = dialog->GetFrame();
    ShowAndFocus(frame);
    const Overlays grip = {dialog->GetGripSupport().GetGrip()};
    CPageFluid& fluid = dialog->GetFluidPage();
    const wxString digits(wxT('9'), 45);
    const auto type = [](wxTextCtrl* edit, const wxString& text) {
        edit->ChangeValue(text);
        wxFocusEvent left(wxEVT_KILL_FOCUS, edit->GetId());
        left.SetEventObject(edit);
        edit->GetEventHandler()->ProcessEvent(left);
        Pump();
    };
    for (int state : {FLUID_TYPE_WET_GAS, FLUID_TYPE_LIQUID}) {
        Choose(fluid, IDC_STATE, state);
        const wxRect flowUnits = Combo(fluid, IDC_FLOW_CALC_UNIT)->GetRect();
        for (wxWindow* child : fluid.GetWindow()->GetChildren()) {
            auto* edit = dynamic_cast<wxTextCtrl*>(child);
            if (!edit || edit->IsMultiLine() || !edit->IsShown() || !edit->IsEnabled())
                continue;
            SCOPED_TRACE(testing::Message() << "state " << state << ", field " << edit->GetId());
            const wxString before = edit->GetValue();
            type(edit, digits);
            const std::vector<std::string> faults = LayoutFaults(*frame, {}, grip);
            EXPECT_TRUE(faults.empty()) << FaultList(faults);
            EXPECT_EQ(Combo(fluid, IDC_FLOW_CALC_UNIT)->GetRect(), flowUnits);
            if (edit == Edit(fluid, IDC_QMAX) && state == FLUID_TYPE_LIQUID) {
                Look(frame, Name("fluid-long-flow"), {}, grip);
                wxWindow* converted = CDialogControls::FindItem(fluid.GetWindow(), IDC_QMAX_CALC);
                ASSERT_NE(converted, nullptr);
                EXPECT_GT(converted->GetLabel().length(), 45u);
                EXPECT_EQ(converted->GetToolTipText(), converted->GetLabel());
            }
            type(edit, before);
        }
    }
}

// The device list shows every designation, size, class and flow range whole, scrolling sideways
// where the page is too narrow for them, and sizing again and again keeps its columns as they
// were: for water, and for saturated steam, which lists the special versions with long names.
TEST_P(LayoutWalkTest, DeviceListKeepsItsTextsWholeThroughTenRecalculations)
{
    // Every size, not only the one the device page picks.
    CDeviceConfiguration::GetInstance()->RemoveAll();
    auto dialog = std::make_unique<CTAMBELDlg>();
    ASSERT_TRUE(dialog->Create());
    App().SetMainDialog(dialog.get());
    wxFrame* frame = dialog->GetFrame();
    ShowAndFocus(frame);
    const Overlays grip = {dialog->GetGripSupport().GetGrip()};
    CPageFluid& fluid = dialog->GetFluidPage();
    CPageResults& results = dialog->GetResultsPage();
    for (const bool steam : {false, true}) {
        SCOPED_TRACE(steam ? "saturated steam" : "water");
        ASSERT_TRUE(dialog->ShowPage(&fluid));
        if (steam) {
            // The special versions too, as a user lists them through the result filter.
            results.GetFilter().HideSpecialDevices = 0;
            Choose(fluid, IDC_STATE, FLUID_TYPE_SATURATED_STEAM);
            ASSERT_NO_FATAL_FAILURE(Type(fluid, IDC_PRESSURE, "10"));
            ASSERT_NO_FATAL_FAILURE(Type(fluid, IDC_QMAX, "1000"));
        }
        ASSERT_TRUE(dialog->ShowPage(&results));
        wxListCtrl* list = results.GetDeviceList();
        ASSERT_NE(list, nullptr);
        std::vector<int> first;
        for (int run = 1; run <= 10; ++run) {
            results.OnRecalculate();
            ASSERT_GT(list->GetItemCount(), 0) << results.GetDetails()->GetLabel().utf8_string();
            std::vector<int> widths;
            for (int column = 0; column < list->GetColumnCount(); ++column)
                widths.push_back(list->GetColumnWidth(column));
            if (first.empty())
                first = widths;
            EXPECT_EQ(widths, first) << "calculation " << run;
        }
        Look(frame, Name(std::string("results-ten-recalculations-") + (steam ? "steam" : "water")),
             {{results.GetPreview(), results.GetGrid()}}, grip);
        if (steam) {
            // The special versions are what the widest size column is for.
            bool special = false;
            for (long item = 0; item < list->GetItemCount(); ++item)
                special = special || list->GetItemText(item, 1).length() > 12;
            EXPECT_TRUE(special) << "no special version listed";
        }
    }
    // Another flow unit names another flow-range heading, which the column shows whole.
    const auto flowRangeHeading = [&results] {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        results.GetDeviceList()->GetColumn(results.GetDeviceList()->GetColumnCount() - 1, item);
        return item.GetText().utf8_string();
    };
    const std::string heading = flowRangeHeading();
    ASSERT_TRUE(dialog->ShowPage(&fluid));
    CDataComboBox* flowUnits = Combo(fluid, IDC_QMAX_UNIT);
    ASSERT_TRUE(flowUnits && flowUnits->GetCount() > 1);
    Choose(fluid, IDC_QMAX_UNIT, flowUnits->GetItemData(flowUnits->GetCount() - 1));
    ASSERT_TRUE(dialog->ShowPage(&results));
    results.OnRecalculate();
    EXPECT_NE(flowRangeHeading(), heading);
    Look(frame, Name("results-other-flow-unit"), {{results.GetPreview(), results.GetGrid()}}, grip);
}

TEST_P(LayoutWalkTest, EveryDialog)
{
    {
        CResultFilterDlg filter(nullptr, CApplicationConfiguration::GetInstance());
        ASSERT_TRUE(filter.Create(CResultFilter()));
        Look(&filter, Name("filter"));
    }
    {
        // A row per gas of the database, a mixture of some of them filled in.
        CGasMixDataDlg gasMix(nullptr);
        ASSERT_TRUE(gasMix.CreateTemplate());
        ASSERT_GT(gasMix.GetChildren().size(), 10u);
        gasMix.SetGasMixElements({{2, 79.0}, {3, 21.0}});
        gasMix.FillFields();
        Look(&gasMix, Name("gas-mix"));
    }
    {
        CPressureLossUtilityDlg pressureLoss(nullptr);
        ASSERT_TRUE(pressureLoss.Create());
        Look(&pressureLoss, Name("pressure-loss"));
    }
    {
        CAboutDlg about(nullptr);
        ASSERT_TRUE(about.Create());
        Look(&about, Name("about"));
    }
    {
        CDbConnectionDlg connection(nullptr, TestProgramFolder() + "PDB.udl");
        ASSERT_TRUE(connection.Create());
        Look(&connection, Name("db-connection"));
    }
    // The command's words go into the texts as the program passes them, translated.
    const std::pair<const char*, const char*> actions[] = {{"Load", "&Load"}, {"Delete record", "&Delete"}};
    for (int mode : {0, 1}) {
        for (const auto& [action, button] : actions) {
            CSelectDbRecordsDlg records(nullptr, nullptr);
            ASSERT_TRUE(records.Create(mode, App().TranslateText(action), App().TranslateText(button)));
            Look(&records, Name("record-selection-" + std::to_string(mode) + "-" + action));
        }
    }
    std::unique_ptr<CRenovixSettingsDlg> settings = CRenovixSettingsDlg::Create(GetParam(), nullptr, false, true, true);
    ASSERT_TRUE(settings && settings->GetWindow());
    Look(settings->GetWindow(), Name("update-settings"));
}

INSTANTIATE_TEST_SUITE_P(Languages, LayoutWalkTest, ::testing::Values("en", "de"));

}  // namespace
