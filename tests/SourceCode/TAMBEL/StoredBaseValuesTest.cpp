// Every unit value the program stores carries a base value that is its value converted: each
// kind of fluid entered on the real main window as a user does, sized, then saved to a project
// file and to the production database.
#include "ProductionDbCommandsFixture.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "CommonFiles/Unit.h"
#include "CommonFiles/UnitConversion.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/DialogControls.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/Pages/PageResults.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gmock/gmock.h>
#include <wx/frame.h>
#include <wx/textctrl.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

using testing::ElementsAre;

namespace {

constexpr int DEG_C = 1;

struct SFluidCase {
    const char* name;
    int type;
    int medium;  // -1: the type has no list of media
    // Typed into the fluid page (id -> text) after the type and medium are chosen.
    std::map<int, std::string> typed;
    std::vector<GasMixElement> mixture;
};

const SFluidCase kFluids[] = {
    {"Water", FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, {{IDC_TEMPERATURE, "20"}, {IDC_PRESSURE, "5"}}, {}},
    {"GasOfTheDatabase", FLUID_TYPE_GAS, 2, {{IDC_TEMPERATURE, "20"}, {IDC_PRESSURE, "5"}}, {}},
    {"GasOfTheUser",
     FLUID_TYPE_GAS,
     FLUID_INDEX_CUSTOM,
     {{IDC_TEMPERATURE, "20"}, {IDC_PRESSURE, "5"}, {IDC_DENSITY, "6.5"}, {IDC_VISCOSITY, "0.018"}},
     {}},
    {"HumidGas", FLUID_TYPE_WET_GAS, 11, {{IDC_TEMPERATURE, "20"}, {IDC_PRESSURE, "5"}, {IDC_HUMIDITY, "50"}}, {}},
    {"GasMixture",
     FLUID_TYPE_GAS_MIX,
     -1,
     {{IDC_TEMPERATURE, "20"}, {IDC_PRESSURE, "5"}, {IDC_VISCOSITY, "0.018"}},
     {{2, 78.0841234}, {3, 21.9158766}}},
    {"SaturatedSteam", FLUID_TYPE_SATURATED_STEAM, -1, {{IDC_PRESSURE, "10"}}, {}},
    {"SuperheatedSteam", FLUID_TYPE_SUPERHEATED_STEAM, -1, {{IDC_TEMPERATURE, "250"}, {IDC_PRESSURE, "10"}}, {}},
};

// The base value the unit value's own unit and qualifier give its value: the reference for a
// pressure, the fluid's type for a density (it picks the factor of a specific gravity).
::testing::AssertionResult BaseAgrees(const char* name, const CUnitValue& value, int fluidType)
{
    const int qualifier = value.Type == UNIT_TYPE_DENSITY ? fluidType : value.Reference;
    double expected = 0.0;
    if (!ConvertToBaseUnit(expected, value.Value, value, qualifier))
        return ::testing::AssertionFailure() << name << ": unit " << value.DbIndex << " does not convert";
    const double tolerance = expected == 0.0 ? 1e-12 : std::fabs(expected) * 1e-12;
    if (std::fabs(value.BaseValue - expected) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": value " << value.Value << " " << value.Name << " gives base "
                                         << expected << ", stored " << value.BaseValue;
}

void ExpectBasesAgree(const CPhysicalData& physical)
{
    ASSERT_TRUE(physical.Fluid);
    const int type = physical.Fluid->Type;
    const CNormFlowCondition& norm = physical.NormFlowConditions;
    EXPECT_TRUE(BaseAgrees("temperature", physical.Temperature, type));
    EXPECT_TRUE(BaseAgrees("pressure", physical.Pressure, type));
    EXPECT_TRUE(BaseAgrees("density", physical.Density, type));
    EXPECT_TRUE(BaseAgrees("viscosity", physical.Viscosity, type));
    EXPECT_TRUE(BaseAgrees("flow", physical.Flow, type));
    EXPECT_TRUE(BaseAgrees("norm temperature", norm.Temperature, type));
    EXPECT_TRUE(BaseAgrees("norm pressure", norm.Pressure, type));
    EXPECT_TRUE(BaseAgrees("norm density", norm.Density, type));
}

class StoredBaseValues : public ProductionDbCommandsFixture {
protected:
    void SetUp() override
    {
        ProductionDbCommandsFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenShippedDatabase());
        ASSERT_NO_FATAL_FAILURE(OpenWithTables());
    }

    void TearDown() override
    {
        App().SetMainDialog(nullptr);
        m_dialog.reset();
        CloseShippedDatabase();
        ProductionDbCommandsFixture::TearDown();
    }

    wxWindow* Item(int id) const { return CDialogControls::FindItem(m_dialog->GetFluidPage().GetWindow(), id); }

    // The user picks the item of that data in the list.
    void Choose(int id, int data)
    {
        auto* combo = dynamic_cast<CDataComboBox*>(Item(id));
        ASSERT_NE(combo, nullptr) << id;
        ASSERT_TRUE(combo->SelectItemData(data)) << "list " << id << " has no " << data;
        wxCommandEvent event(wxEVT_COMBOBOX, id);
        event.SetEventObject(combo);
        event.SetInt(combo->GetSelection());
        combo->GetEventHandler()->ProcessEvent(event);
    }

    void Type(int id, const std::string& text)
    {
        auto* edit = dynamic_cast<wxTextCtrl*>(Item(id));
        ASSERT_NE(edit, nullptr) << id;
        edit->ChangeValue(wxString::FromUTF8(text));
    }

    // A program started anew, its fluid page shown.
    void NewMainWindow()
    {
        App().SetMainDialog(nullptr);
        CProjectData::GetInstance()->Reset();
        m_dialog = std::make_unique<CTAMBELDlg>();
        ASSERT_TRUE(m_dialog->Create());
        App().SetMainDialog(m_dialog.get());
        ShowAndFocus(m_dialog->GetFrame());
    }

    std::unique_ptr<CTAMBELDlg> m_dialog;
    CTemporaryFolder m_folder;
};

TEST_F(StoredBaseValues, EveryStoredBaseValueIsItsValueConverted)
{
    int pa = 500;
    for (const SFluidCase& fluid : kFluids) {
        SCOPED_TRACE(fluid.name);
        ASSERT_NO_FATAL_FAILURE(NewMainWindow());
        m_boxes.clear();
        // As a user enters it: the kind of fluid, its medium, the numbers, the order's key.
        ASSERT_NO_FATAL_FAILURE(Choose(IDC_STATE, fluid.type));
        if (fluid.medium >= 0)
            ASSERT_NO_FATAL_FAILURE(Choose(IDC_MEDIUM, fluid.medium));
        if (!fluid.mixture.empty())
            m_dialog->GetFluidPage().GetGasMixDialog()->SetGasMixElements(fluid.mixture);
        for (const auto& [id, text] : fluid.typed)
            ASSERT_NO_FATAL_FAILURE(Type(id, text));
        ASSERT_NO_FATAL_FAILURE(Type(IDC_QMAX, "100"));
        ASSERT_NO_FATAL_FAILURE(Type(IDC_PA_NO, std::to_string(++pa)));
        ASSERT_NO_FATAL_FAILURE(Type(IDC_VK_NO, "1"));
        ASSERT_NO_FATAL_FAILURE(Type(IDC_POS, "1"));
        // The temperature's unit chosen again computes the density and the viscosity anew.
        ASSERT_NO_FATAL_FAILURE(Choose(IDC_TEMPERATURE_UNIT, DEG_C));
        ASSERT_TRUE(m_dialog->ShowPage(&m_dialog->GetResultsPage())) << testing::PrintToString(Texts());
        m_dialog->GetResultsPage().OnRecalculate();
        ASSERT_GT(CProjectData::GetInstance()->results.GetCount(), 0);

        const std::string path = m_folder.Path(std::string(fluid.name) + ".xml");
        ASSERT_TRUE(App().SaveProjectFile(path, true));
        App().GetProductionDbCommands().SaveToDb();
        EXPECT_THAT(Texts(), ElementsAre("Data successfully saved."));

        // The file: every unit value it holds is one of the physical data's eight.
        const std::string text = ReadWholeFile(path);
        std::size_t bases = 0;
        for (std::size_t at = text.find("BaseValue="); at != std::string::npos; at = text.find("BaseValue=", at + 1))
            ++bases;
        EXPECT_EQ(bases, 8u);
        CProjectData fromFile;
        std::string detail;
        ASSERT_TRUE(CProjectFile::Open(path, fromFile, &detail).error == nullptr) << detail;
        {
            SCOPED_TRACE("file");
            ExpectBasesAgree(fromFile.physical);
        }
        CProjectData fromDb;
        ASSERT_TRUE(m_other.LoadProject(CProductionDbKey(pa, 1, 1), &fromDb.customer, &fromDb.features,
                                        &fromDb.physical, &fromDb.results));
        {
            SCOPED_TRACE("database");
            ExpectBasesAgree(fromDb.physical);
        }
    }
}

// A file whose base values do not agree with their values, as older programs wrote them, opens
// as before: the page shows the values, and nothing is changed by looking.
TEST_F(StoredBaseValues, AStaleBaseValueIsReadAsBefore)
{
    ASSERT_NO_FATAL_FAILURE(NewMainWindow());
    ASSERT_NO_FATAL_FAILURE(Choose(IDC_STATE, FLUID_TYPE_SUPERHEATED_STEAM));
    ASSERT_NO_FATAL_FAILURE(Type(IDC_TEMPERATURE, "250"));
    ASSERT_NO_FATAL_FAILURE(Type(IDC_PRESSURE, "10"));
    ASSERT_NO_FATAL_FAILURE(Choose(IDC_TEMPERATURE_UNIT, DEG_C));
    const std::string written = m_folder.Path("written.xml");
    ASSERT_TRUE(App().SaveProjectFile(written, true));
    CProjectData stale;
    std::string detail;
    ASSERT_TRUE(CProjectFile::Open(written, stale, &detail).error == nullptr) << detail;
    const double viscosity = stale.physical.Viscosity.Value;
    ASSERT_GT(viscosity, 0.0);
    stale.physical.Viscosity.BaseValue = 0.011;
    const std::string path = m_folder.Path("stale.xml");
    ASSERT_EQ(CProjectFile::Save(stale, path, &detail), nullptr) << detail;

    ASSERT_NO_FATAL_FAILURE(NewMainWindow());
    ASSERT_TRUE(App().OpenProjectFile(path));
    EXPECT_EQ(CProjectData::GetInstance()->physical.Viscosity.Value, viscosity);
    auto* shown = dynamic_cast<wxTextCtrl*>(Item(IDC_VISCOSITY));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetValue().utf8_string(), DataFormat::Format(viscosity, 6, false));
    const std::string saved = m_folder.Path("saved.xml");
    ASSERT_TRUE(App().SaveProjectFile(saved, true));
    EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(path));
}

}  // namespace
