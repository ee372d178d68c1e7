// Every page and dialog of the sizing program as a user meets it, in English and in German: no
// two controls lie over each other and no text is cut; a screenshot of each to look at.
#include "FakeStartupEnvironment.h"
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/ResultFilter.h"
#include "CommonFiles/SelectDbRecordsDlg/SelectDbRecordsDlg.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/DialogControls.h"
#include "PagewrightWx/ReportPreviewWnd.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "TAMBEL/AboutDlg.h"
#include "TAMBEL/DbConnectionDlg.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "TAMBEL/PressureLossUtilityDlg.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/ResultFilterDlg.h"
#include "TAMBEL/TAMBELDlg.h"
#include "grid/window/GridWindow.h"
#include "support/LayoutCheck.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include <cstdio>
#include <memory>
#include <string>

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
        ASSERT_NO_FATAL_FAILURE(PlaceShippedDatabase());
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        ASSERT_TRUE(CUnitManager::GetInstance()->LoadUnitList());
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
        CDeviceConfiguration::GetInstance()->RemoveAll();
        CResultData::GetInstance()->RemoveAll();
        CPhysicalData::GetInstance()->Reset();
        CUnitDb::GetInstance()->Close();
        for (const char* name : {"Zephrin.db", "Zephrin.cfg", "UserUnits.xml", "Renovix.xml"})
            std::remove((TestProgramFolder() + name).c_str());
    }

    std::string Name(const std::string& what) const { return "layout-" + std::string(GetParam()) + "-" + what; }

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
    Look(frame, Name("fluid"), {}, grip);

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

    ASSERT_TRUE(dialog->ShowPage(&dialog->GetConfigurationPage()));
    Look(frame, Name("configuration"), {}, grip);
    ASSERT_TRUE(dialog->ShowPage(&dialog->GetFluidPage()));
}

TEST_P(LayoutWalkTest, EveryDialog)
{
    {
        CResultFilterDlg filter(nullptr, CApplicationConfiguration::GetInstance());
        ASSERT_TRUE(filter.Create(CResultFilter()));
        Look(&filter, Name("filter"));
    }
    {
        CGasMixDataDlg gasMix(nullptr);
        ASSERT_TRUE(gasMix.CreateTemplate());
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
    for (int mode : {0, 1}) {
        CSelectDbRecordsDlg records(nullptr, nullptr);
        ASSERT_TRUE(records.Create(mode, "&Load", "&Load"));
        Look(&records, Name("record-selection-" + std::to_string(mode)));
    }
    std::unique_ptr<CRenovixSettingsDlg> settings = CRenovixSettingsDlg::Create(GetParam(), nullptr, false, true, true);
    ASSERT_TRUE(settings && settings->GetWindow());
    Look(settings->GetWindow(), Name("update-settings"));
}

INSTANTIATE_TEST_SUITE_P(Languages, LayoutWalkTest, ::testing::Values("en", "de"));

}  // namespace
