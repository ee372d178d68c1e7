// The fluid data page on the program's real units, fluid and norm-condition database: loading
// and storing the project, the controls of each fluid Type, the converted values, the derived
// values and the checks on leaving; typed into under a display, with screenshots.
#include "TAMBELTestApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/TAMBELCalculator/SteamSaturation.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/DialogControls.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/GasMixDataDlg.h"
#include "TAMBEL/NumberInput.h"
#include "TAMBEL/Pages/PageFluid.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/TextFormat.h"
#include "TAMBEL/ValueRangeCheck.h"
#include "support/LocaleScope.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Units of the database.
constexpr int DEG_C = 1;
constexpr int KELVIN = 2;
constexpr int BAR = 7;
constexpr int KG_M3 = 21;
constexpr int MPAS = 97;
constexpr int M3_H = 38;
constexpr int NM3_H = 50;

CPhysicalData& Physical()
{
    return CProjectData::GetInstance()->physical;
}

CCustomerData& Customer()
{
    return CProjectData::GetInstance()->customer;
}

void SetValue(CUnitValue& target, int unit, double value, int reference = 0)
{
    ASSERT_TRUE(CUnitManager::GetInstance()->GetUnit(target, unit));
    target.Value = value;
    target.Reference = reference;
    ASSERT_TRUE(CUnitManager::GetInstance()->ConvertToBase(target.BaseValue, value, unit, reference));
}

// A project fluid of the Type, from the database where the Type has database fluids.
std::unique_ptr<CFluid> MakeFluid(int type, int dbIndex)
{
    std::unique_ptr<CFluid> fluid = CreateFluid(type);
    fluid->Type = type;
    fluid->DbIndex = dbIndex;
    if (dbIndex != FLUID_INDEX_CUSTOM)
        CFluidManager::GetInstance()->GetFluidById(fluid.get(), dbIndex);
    return fluid;
}

class PageFluidTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OpenShippedDatabase();
    }

    static void TearDownTestSuite()
    {
        CloseShippedDatabase();
    }

    void SetUp() override
    {
        // English numbers and texts, whatever tests before left.
        App().SetUiLanguage("en");
        App().EnableTranslator(false);
        CApplicationConfiguration::GetInstance()->Reset();
        Physical().Reset();
        Customer().Reset();
    }

    void TearDown() override
    {
        page.reset();
        frame.reset();
    }

    // The page in a frame of its own, shown.
    void Open()
    {
        frame.reset(new wxFrame(nullptr, wxID_ANY, "Fluid data"));
        page = std::make_unique<CPageFluid>();
        ASSERT_TRUE(page->Create(frame.get()));
        frame->SetClientSize(page->GetWindow()->GetSize());
        page->GetWindow()->Show();
        ShowAndFocus(frame.get());
    }

    wxWindow* Item(int id) const { return CDialogControls::FindItem(page->GetWindow(), id); }
    wxTextCtrl* Edit(int id) const { return dynamic_cast<wxTextCtrl*>(Item(id)); }
    CDataComboBox* Combo(int id) const { return dynamic_cast<CDataComboBox*>(Item(id)); }
    std::string Text(int id) const
    {
        if (const wxTextCtrl* edit = Edit(id))
            return edit->GetValue().utf8_string();
        return Item(id)->GetLabel().utf8_string();
    }
    int Data(int id) const { return Combo(id)->GetSelectedItemData(); }
    bool Shown(int id) const { return Item(id)->IsShown(); }
    bool Enabled(int id) const { return Item(id)->IsEnabled(); }

    // The user picks the item of that data in the list.
    void Choose(int id, int data)
    {
        ASSERT_TRUE(Combo(id)->SelectItemData(data)) << "list " << id << " has no " << data;
        Notify(id);
    }

    // The list tells the page of its selection, whatever it is.
    void Notify(int id)
    {
        CDataComboBox* combo = Combo(id);
        wxCommandEvent event(wxEVT_COMBOBOX, id);
        event.SetEventObject(combo);
        event.SetInt(combo->GetSelection());
        combo->GetEventHandler()->ProcessEvent(event);
    }

    void Type(int id, const std::string& text) { Edit(id)->ChangeValue(wxString::FromUTF8(text)); }

    void Press(int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(Item(id));
        Item(id)->GetEventHandler()->ProcessEvent(click);
    }

    bool ListHas(int id, int data) const
    {
        const CDataComboBox* combo = Combo(id);
        for (unsigned i = 0; i < combo->GetCount(); ++i) {
            if (combo->GetItemData(i) == data)
                return true;
        }
        return false;
    }

    std::unique_ptr<wxFrame, SDeleteWindow> frame;
    std::unique_ptr<CPageFluid> page;
};

// --- Load and store ------------------------------------------------------------------------

struct SRoundTrip {
    int type;
    int dbIndex;
    int flowReference;
};

class PageFluidRoundTrip : public PageFluidTest, public ::testing::WithParamInterface<SRoundTrip> {};

// The gas-mix dialog's window is made only when the button first asks for it; until then and
// after it the shares are the project's.
TEST_F(PageFluidTest, GasMixWindowIsMadeWhenFirstAskedFor)
{
    Open();
    auto mix = MakeFluid(FLUID_TYPE_GAS_MIX, FLUID_INDEX_CUSTOM);
    dynamic_cast<CFluidGasMix&>(*mix).Elements = {{2, 79.0}, {3, 21.0}};
    Physical().Fluid = std::move(mix);
    ASSERT_TRUE(page->OnEnterPage());
    CGasMixDataDlg* dialog = page->GetGasMixDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetHandle(), nullptr);

    std::string shown;
    for (int round = 0; round < 2; ++round) {
        page->GetWindow()->CallAfter([&] {
            ASSERT_TRUE(dialog->IsModal());
            const wxWindow* field = dialog->GetItem(3 + CGasMixDataDlg::kFieldOffset);
            ASSERT_NE(field, nullptr);
            shown = dynamic_cast<const wxTextCtrl*>(field)->GetValue().utf8_string();
            dialog->EndModal(wxID_CANCEL);
        });
        Press(IDC_GAS_MIX);
        EXPECT_EQ(shown, "21.00") << "round " << round;
    }
    ASSERT_TRUE(page->OnLeavePage());
    const auto& stored = dynamic_cast<const CFluidGasMix&>(*Physical().Fluid);
    ASSERT_EQ(stored.Elements.size(), 2u);
    EXPECT_DOUBLE_EQ(stored.Elements[0].Percentage, 79.0);
}

TEST_P(PageFluidRoundTrip, StoresWhatItLoaded)
{
    const SRoundTrip& c = GetParam();
    Open();
    CPhysicalData& physical = Physical();
    physical.Fluid = MakeFluid(c.type, c.dbIndex);
    if (c.dbIndex == FLUID_INDEX_CUSTOM)
        physical.Fluid->Name = "My fluid";
    if (auto* humid = dynamic_cast<CFluidWetGas*>(physical.Fluid.get()))
        humid->RelativeHumidity = 42.5;
    if (auto* mix = dynamic_cast<CFluidGasMix*>(physical.Fluid.get()))
        mix->Elements = {{2, 79.0}, {3, 21.0}};
    if (auto* steam = dynamic_cast<CFluidSaturatedSteam*>(physical.Fluid.get()))
        steam->SaturationType = SATURATION_TEMPERATURE_GIVEN;
    SetValue(physical.Temperature, DEG_C, 180.5);
    physical.TemperatureRange = {-10.0, 250.0};
    SetValue(physical.Pressure, BAR, 12.25, 1);
    physical.PressureRange = {1.0, 16.0};
    SetValue(physical.Density, KG_M3, 7.125);
    SetValue(physical.Viscosity, MPAS, 0.0185);
    physical.CompressibilityFactor = 0.9875;
    SetValue(physical.Flow, c.flowReference == 4 ? NM3_H : M3_H, 1250.0, c.flowReference);
    physical.NormFlowConditions.Id = NORM_CONDITION_CUSTOM;
    SetValue(physical.NormFlowConditions.Temperature, DEG_C, 15.0);
    SetValue(physical.NormFlowConditions.Pressure, BAR, 1.01325, 1);
    SetValue(physical.NormFlowConditions.Density, KG_M3, 1.25);
    Customer().customer = "Acme\nPlant 2";
    Customer().tag_no = "FT-101";
    Customer().reference = "Q-7";
    Customer().pa = 123456;
    Customer().vk = -42;
    Customer().pos = 7;

    ASSERT_TRUE(page->OnEnterPage());
    const bool nameShown = Shown(IDC_FLUID_NAME);
    ASSERT_TRUE(page->OnLeavePage());

    const CPhysicalData& stored = Physical();
    ASSERT_TRUE(stored.Fluid);
    EXPECT_EQ(stored.Fluid->Type, c.type);
    if (c.type <= FLUID_TYPE_WET_GAS) {
        EXPECT_EQ(stored.Fluid->DbIndex, c.dbIndex);
    }
    // Only a custom fluid shows its name; a name the user cannot see is not stored, not even the
    // database's (the report prints a database fluid's name in its own language).
    const bool custom = c.dbIndex == FLUID_INDEX_CUSTOM && c.type != FLUID_TYPE_SUPERHEATED_STEAM;
    EXPECT_EQ(nameShown, custom);
    EXPECT_EQ(stored.Fluid->Name, custom ? "My fluid" : "");
    if (const auto* humid = dynamic_cast<const CFluidWetGas*>(stored.Fluid.get())) {
        EXPECT_DOUBLE_EQ(humid->RelativeHumidity, 42.5);
    }
    if (const auto* mix = dynamic_cast<const CFluidGasMix*>(stored.Fluid.get())) {
        ASSERT_EQ(mix->Elements.size(), 2u);
        EXPECT_EQ(mix->Elements[1].GasId, 3);
        EXPECT_DOUBLE_EQ(mix->Elements[1].Percentage, 21.0);
    }
    if (const auto* steam = dynamic_cast<const CFluidSaturatedSteam*>(stored.Fluid.get())) {
        EXPECT_EQ(steam->SaturationType, SATURATION_TEMPERATURE_GIVEN);
    }
    EXPECT_EQ(stored.Temperature.DbIndex, DEG_C);
    EXPECT_DOUBLE_EQ(stored.Temperature.Value, 180.5);
    EXPECT_DOUBLE_EQ(stored.Temperature.BaseValue, 453.65);
    EXPECT_DOUBLE_EQ(stored.TemperatureRange.MinRange, -10.0);
    EXPECT_DOUBLE_EQ(stored.TemperatureRange.MaxRange, 250.0);
    EXPECT_DOUBLE_EQ(stored.Pressure.Value, 12.25);
    EXPECT_EQ(stored.Pressure.Reference, 1);
    EXPECT_DOUBLE_EQ(stored.PressureRange.MaxRange, 16.0);
    EXPECT_DOUBLE_EQ(stored.Density.Value, 7.125);
    EXPECT_DOUBLE_EQ(stored.Viscosity.Value, 0.0185);
    EXPECT_DOUBLE_EQ(stored.CompressibilityFactor, 0.9875);
    EXPECT_EQ(stored.Flow.Reference, c.flowReference);
    EXPECT_EQ(stored.Flow.DbIndex, c.flowReference == 4 ? NM3_H : M3_H);
    EXPECT_DOUBLE_EQ(stored.Flow.Value, 1250.0);
    EXPECT_EQ(stored.NormFlowConditions.Id, NORM_CONDITION_CUSTOM);
    EXPECT_DOUBLE_EQ(stored.NormFlowConditions.Temperature.Value, 15.0);
    EXPECT_DOUBLE_EQ(stored.NormFlowConditions.Pressure.Value, 1.01325);
    EXPECT_EQ(Customer().customer, "Acme\nPlant 2");
    EXPECT_EQ(Customer().tag_no, "FT-101");
    EXPECT_EQ(Customer().reference, "Q-7");
    EXPECT_EQ(Customer().pa, 123456);
    EXPECT_EQ(Customer().vk, -42);
    EXPECT_EQ(Customer().pos, 7);
}

INSTANTIATE_TEST_SUITE_P(EveryType, PageFluidRoundTrip,
                         ::testing::Values(SRoundTrip{FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 0},
                                           SRoundTrip{FLUID_TYPE_GAS, 2, 4},
                                           SRoundTrip{FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM, 4},
                                           SRoundTrip{FLUID_TYPE_WET_GAS, 11, 4},
                                           SRoundTrip{FLUID_TYPE_GAS_MIX, FLUID_INDEX_CUSTOM, 4},
                                           SRoundTrip{FLUID_TYPE_SATURATED_STEAM, FLUID_INDEX_NONE, 0},
                                           SRoundTrip{FLUID_TYPE_SUPERHEATED_STEAM, FLUID_INDEX_WATER_VAPOUR, 0}));

TEST_F(PageFluidTest, NumbersShowWithFourOrSixSignificantDigitsAndOrderNumbersOfZeroAsEmpty)
{
    Open();
    CPhysicalData& physical = Physical();
    physical.Fluid = MakeFluid(FLUID_TYPE_GAS, 2);
    SetValue(physical.Temperature, DEG_C, 123.456);
    SetValue(physical.Pressure, BAR, 1.23456789, 1);
    SetValue(physical.Density, KG_M3, 12.0);
    physical.CompressibilityFactor = 0.987654;
    Customer().pa = 0;
    Customer().vk = 0;
    Customer().pos = 0;
    ASSERT_TRUE(page->OnEnterPage());
    EXPECT_EQ(Text(IDC_TEMPERATURE), "123.5");
    EXPECT_EQ(Text(IDC_PRESSURE), "1.23457");
    EXPECT_EQ(Text(IDC_DENSITY), "12.0");
    EXPECT_EQ(Text(IDC_COMPRESSIBILITY), "0.9877");
    EXPECT_EQ(Text(IDC_PA_NO), "");
    EXPECT_EQ(Text(IDC_VK_NO), "");
    EXPECT_EQ(Text(IDC_POS), "");
    // The converted value repeats what the field shows, in the first temperature unit (degC).
    EXPECT_EQ(Text(IDC_TEMPERATURE_CALC), "123.5");

    Customer().pa = 5;
    ASSERT_TRUE(page->OnLeavePage());
    EXPECT_EQ(Customer().pa, 0);
}

TEST_F(PageFluidTest, CommaAndPointAreBothDecimalSeparatorsWhateverTheLocale)
{
    CLocaleScope german("de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(ReadDecimalInput("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(ReadDecimalInput("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(ReadDecimalInput(""), 0.0);
    EXPECT_DOUBLE_EQ(ReadDecimalInput("-2,25e1"), -22.5);
    int number = 7;
    EXPECT_TRUE(ReadIntInput("", number));
    EXPECT_EQ(number, 0);
    EXPECT_TRUE(ReadIntInput("-2147483648", number));
    EXPECT_EQ(number, -2147483647 - 1);
    EXPECT_FALSE(ReadIntInput("9999999999", number));
    EXPECT_FALSE(ReadIntInput("2147483648", number));
    EXPECT_EQ(number, -2147483647 - 1);
    // What the order-number fields let through reads as its leading number.
    EXPECT_TRUE(ReadIntInput("-", number));
    EXPECT_EQ(number, 0);
    EXPECT_TRUE(ReadIntInput("+12", number));
    EXPECT_EQ(number, 12);
}

TEST_F(PageFluidTest, FilledMarkersTakeTheirTextsInTurn)
{
    EXPECT_EQ(FillText("a %s b %s%%", {"1", "2"}), "a 1 b 2%");
    EXPECT_EQ(FillText("Total sum: %.02f %%", {"99,50"}), "Total sum: 99,50 %");
    EXPECT_EQ(FillText("%s %s", {"x"}), "x ");
    EXPECT_EQ(FillText("100%", {}), "100%");
}

TEST_F(PageFluidTest, OrderNumbersBeyondIntAreRefusedAndLeaveTheProjectAsItWas)
{
    Open();
    CPhysicalData& physical = Physical();
    physical.Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
    SetValue(physical.Temperature, DEG_C, 20.0);
    Customer().pa = 17;
    ASSERT_TRUE(page->OnEnterPage());
    Type(IDC_TEMPERATURE, "55");
    // Ten digits that would wrap around into another valid-looking key.
    Type(IDC_PA_NO, "4294967313");

    CMessageBoxRecorder boxes;
    int reason = -1;
    EXPECT_FALSE(page->CanLeavePage(&reason));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Invalid input");
    EXPECT_NE(boxes.Boxes()[0].text.find("'PA no'"), std::string::npos) << boxes.Boxes()[0].text;
    // Saving the project leaves the page without asking first: it is told all the same.
    EXPECT_FALSE(page->OnLeavePage());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].caption, "TAMBEL: Invalid input");
    EXPECT_EQ(Customer().pa, 17);
    EXPECT_DOUBLE_EQ(Physical().Temperature.Value, 20.0);
    ASSERT_TRUE(Physical().Fluid);
    EXPECT_EQ(Physical().Fluid->DbIndex, FLUID_INDEX_WATER);
}

TEST_F(PageFluidTest, ALoneSignInAnOrderNumberIsNoNumberAndDoesNotHoldThePage)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
    SetValue(Physical().Temperature, DEG_C, 20.0);
    Customer().pa = 17;
    Customer().pos = 3;
    ASSERT_TRUE(page->OnEnterPage());
    // The fields take a sign as the first character; the number after it may never come.
    Type(IDC_PA_NO, "-");
    Type(IDC_POS, "+");
    Type(IDC_TEMPERATURE, "55");

    CMessageBoxRecorder boxes;
    int reason = -1;
    EXPECT_TRUE(page->CanLeavePage(&reason));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(Customer().pa, 0);
    EXPECT_EQ(Customer().pos, 0);
    EXPECT_DOUBLE_EQ(Physical().Temperature.Value, 55.0);
}

TEST_F(PageFluidTest, AFluidTypeNotOfferedLoadsNothing)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, 2);
    Physical().Fluid->Type = 9;
    EXPECT_FALSE(page->OnEnterPage());
    EXPECT_EQ(Text(IDC_TEMPERATURE), "");
}

TEST_F(PageFluidTest, AFluidNoLongerListedShowsAsCustomUnlessHidden)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM);
    Physical().Fluid->DbIndex = 77;
    Physical().Fluid->Name = "Old gas";
    ASSERT_TRUE(page->OnEnterPage());
    EXPECT_EQ(Data(IDC_MEDIUM), FLUID_INDEX_CUSTOM);
    EXPECT_EQ(Text(IDC_FLUID_NAME), "Old gas");

    Physical().Fluid->HideInGui = true;
    ASSERT_TRUE(page->OnEnterPage());
    EXPECT_EQ(Combo(IDC_MEDIUM)->GetSelection(), wxNOT_FOUND);
}

// --- Controls by Type ------------------------------------------------------------------------

struct SStateRow {
    int type;
    bool custom;
    bool name, medium, humidity, saturation, gasMix, compressibility, densityEditable, references,
        referencesEnabled;
};

class PageFluidStateControls : public PageFluidTest, public ::testing::WithParamInterface<SStateRow> {};

TEST_P(PageFluidStateControls, ShowTheControlsOfTheType)
{
    const SStateRow& row = GetParam();
    Open();
    Choose(IDC_STATE, row.type);
    if (row.custom)
        Choose(IDC_MEDIUM, FLUID_INDEX_CUSTOM);
    EXPECT_EQ(Shown(IDC_FLUID_NAME), row.name);
    EXPECT_EQ(Shown(IDC_FLUID_NAME_LBL), row.name);
    EXPECT_EQ(Shown(IDC_MEDIUM), row.medium);
    EXPECT_EQ(Shown(IDC_MEDIUM_LBL), row.medium);
    EXPECT_EQ(Shown(IDC_HUMIDITY), row.humidity);
    EXPECT_EQ(Shown(IDC_SATURATION_MODE), row.saturation);
    EXPECT_EQ(Shown(IDC_SATURATION_MODE_LBL), row.saturation);
    EXPECT_EQ(Shown(IDC_GAS_MIX), row.gasMix);
    EXPECT_EQ(Shown(IDC_COMPRESSIBILITY), row.compressibility);
    EXPECT_EQ(Shown(IDC_CONVERT_TO_NORM), row.compressibility);
    EXPECT_EQ(Shown(IDC_CONVERT_TO_OPERATIONAL), row.compressibility);
    EXPECT_EQ(Edit(IDC_DENSITY)->IsEditable(), row.densityEditable);
    EXPECT_EQ(Enabled(IDC_DENSITY_UNIT), row.densityEditable);
    for (int id : {IDC_FLOW_REFERENCE, IDC_FLOW_CALC_REFERENCE}) {
        EXPECT_EQ(Shown(id), row.references);
        if (row.references) {
            EXPECT_EQ(Enabled(id), row.referencesEnabled);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageFluidStateControls,
    ::testing::Values(SStateRow{FLUID_TYPE_LIQUID, false, false, true, false, false, false, false, false, false, true},
                      SStateRow{FLUID_TYPE_LIQUID, true, true, true, false, false, false, false, true, false, true},
                      SStateRow{FLUID_TYPE_GAS, false, false, true, false, false, false, false, false, true, true},
                      SStateRow{FLUID_TYPE_GAS, true, true, true, false, false, false, true, true, true, true},
                      SStateRow{FLUID_TYPE_WET_GAS, false, false, true, true, false, false, false, false, true, true},
                      SStateRow{FLUID_TYPE_GAS_MIX, true, true, true, false, false, true, false, false, true, true},
                      SStateRow{FLUID_TYPE_SATURATED_STEAM, false, false, false, false, true, false, false, false,
                                true, false},
                      SStateRow{FLUID_TYPE_SUPERHEATED_STEAM, false, false, false, false, false, false, false, false,
                                true, false}));

TEST_F(PageFluidTest, ChoosingTheTypeShownDoesNothing)
{
    Open();
    Choose(IDC_STATE, FLUID_TYPE_GAS);
    Choose(IDC_MEDIUM, FLUID_INDEX_CUSTOM);
    Type(IDC_FLUID_NAME, "Biogas");
    Choose(IDC_STATE, FLUID_TYPE_GAS);
    EXPECT_EQ(Data(IDC_MEDIUM), FLUID_INDEX_CUSTOM);
    EXPECT_TRUE(Shown(IDC_FLUID_NAME));
    EXPECT_EQ(Text(IDC_FLUID_NAME), "Biogas");
}

TEST_F(PageFluidTest, LiquidWithNormReferenceSetsBothReferencesBackAndListsEveryFlowUnit)
{
    Open();
    Choose(IDC_STATE, FLUID_TYPE_GAS);
    Choose(IDC_FLOW_REFERENCE, 4);
    Choose(IDC_FLOW_CALC_REFERENCE, 4);
    EXPECT_TRUE(Enabled(IDC_NORM_SYSTEM));
    EXPECT_FALSE(ListHas(IDC_QMAX_UNIT, M3_H));
    EXPECT_TRUE(ListHas(IDC_QMAX_UNIT, NM3_H));

    Choose(IDC_STATE, FLUID_TYPE_LIQUID);
    EXPECT_EQ(Data(IDC_FLOW_REFERENCE), 0);
    EXPECT_EQ(Data(IDC_FLOW_CALC_REFERENCE), 0);
    EXPECT_TRUE(ListHas(IDC_FLOW_CALC_UNIT, M3_H));
    EXPECT_TRUE(ListHas(IDC_FLOW_CALC_UNIT, NM3_H));
    EXPECT_EQ(Combo(IDC_FLOW_CALC_UNIT)->GetSelection(), 0);
    // The operating list follows the reloaded page: operational units.
    EXPECT_TRUE(ListHas(IDC_QMAX_UNIT, M3_H));
}

TEST_F(PageFluidTest, GasToSaturatedSteamHidesNameAndMediumAndTakesTheTemperatureFromThePressure)
{
    Open();
    Choose(IDC_STATE, FLUID_TYPE_GAS);
    Type(IDC_TEMPERATURE, "120");
    Choose(IDC_STATE, FLUID_TYPE_SATURATED_STEAM);
    EXPECT_FALSE(Shown(IDC_FLUID_NAME));
    EXPECT_FALSE(Shown(IDC_MEDIUM));
    EXPECT_FALSE(Shown(IDC_MEDIUM_LBL));
    EXPECT_TRUE(Shown(IDC_SATURATION_MODE));
    EXPECT_EQ(Data(IDC_SATURATION_MODE), SATURATION_PRESSURE_GIVEN);
    EXPECT_EQ(Combo(IDC_SATURATION_MODE)->GetValue(), "Pressure");
    EXPECT_FALSE(Enabled(IDC_TEMPERATURE));
    EXPECT_FALSE(Enabled(IDC_TEMPERATURE_UNIT));
    EXPECT_TRUE(Enabled(IDC_PRESSURE));

    Choose(IDC_SATURATION_MODE, SATURATION_TEMPERATURE_GIVEN);
    EXPECT_TRUE(Enabled(IDC_TEMPERATURE));
    EXPECT_FALSE(Enabled(IDC_PRESSURE));
    EXPECT_FALSE(Enabled(IDC_PRESSURE_REFERENCE));
}

// --- Converted flow ------------------------------------------------------------------------

TEST_F(PageFluidTest, ConvertedFlowSaysWhyItCannotBeGiven)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM);
    SetValue(Physical().Flow, M3_H, 100.0, 0);
    ASSERT_TRUE(page->OnEnterPage());
    Choose(IDC_FLOW_CALC_UNIT, M3_H);

    Type(IDC_DENSITY, "0");
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "no density");

    Type(IDC_DENSITY, "2");
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "100.0");

    Combo(IDC_FLOW_CALC_UNIT)->SetSelection(wxNOT_FOUND);
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "n.a.");

    Choose(IDC_FLOW_CALC_REFERENCE, 4);
    Choose(IDC_FLOW_CALC_UNIT, NM3_H);
    Type(IDC_NORM_DENSITY, "");
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "no norm. dens.");

    Combo(IDC_NORM_DENSITY_UNIT)->SelectItemData(KG_M3);
    Type(IDC_NORM_DENSITY, "1");
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "200.0");

    Combo(IDC_FLOW_REFERENCE)->SetSelection(wxNOT_FOUND);
    Choose(IDC_QMAX_UNIT, M3_H);
    EXPECT_EQ(Text(IDC_QMAX_CALC), "error");
}

// --- Derived values ------------------------------------------------------------------------

struct SViscosityCase {
    const char* name;
    int type;
    int dbIndex;
    double temperature;  // degC
    double pressure;     // bar abs
    int state;
};

class PageFluidViscosity : public PageFluidTest, public ::testing::WithParamInterface<SViscosityCase> {};

TEST_P(PageFluidViscosity, ColourSaysWhereTheValueCameFrom)
{
    const SViscosityCase& c = GetParam();
    Open();
    Physical().Fluid = MakeFluid(c.type, c.dbIndex);
    SetValue(Physical().Temperature, DEG_C, c.temperature);
    SetValue(Physical().Pressure, BAR, c.pressure, 1);
    SetValue(Physical().Viscosity, MPAS, 3.5);
    ASSERT_TRUE(page->OnEnterPage());
    // Changing the temperature unit recalculates the viscosity.
    Choose(IDC_TEMPERATURE_UNIT, DEG_C);
    EXPECT_EQ(page->GetViscosityState(), c.state);
    EXPECT_EQ(Edit(IDC_VISCOSITY)->GetForegroundColour(), CPageFluid::ViscosityColour(c.state));
    if (c.state == CPageFluid::VISCOSITY_TYPED) {
        EXPECT_EQ(Text(IDC_VISCOSITY), "3.5");
    }
    else
        EXPECT_NE(Text(IDC_VISCOSITY), "3.5");
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PageFluidViscosity,
    ::testing::Values(
        SViscosityCase{"TypedForACustomFluid", FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM, 20.0, 1.0, CPageFluid::VISCOSITY_TYPED},
        SViscosityCase{"WaterFromTheTable", FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 20.0, 1.0,
                       CPageFluid::VISCOSITY_COMPUTED},
        SViscosityCase{"SteamBeyondTheTablesPressure", FLUID_TYPE_SUPERHEATED_STEAM, FLUID_INDEX_WATER_VAPOUR, 500.0,
                       300.0, CPageFluid::VISCOSITY_TABLE_EDGE}),
    [](const ::testing::TestParamInfo<SViscosityCase>& info) { return std::string(info.param.name); });

TEST_F(PageFluidTest, ColoursOfTheViscosity)
{
    EXPECT_EQ(CPageFluid::ViscosityColour(CPageFluid::VISCOSITY_TYPED), wxColour(255, 0, 0));
    EXPECT_EQ(CPageFluid::ViscosityColour(CPageFluid::VISCOSITY_TABLE_EDGE), wxColour(217, 220, 0));
}

TEST_F(PageFluidTest, DensityReloadsThePageOnlyWhenItMoved)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
    SetValue(Physical().Temperature, DEG_C, 20.0);
    SetValue(Physical().Pressure, BAR, 2.0, 1);
    ASSERT_TRUE(page->OnEnterPage());

    // A reload writes every number anew, so a minimum typed as "5.000" shows as "5.0".
    Type(IDC_TEMPERATURE_MIN, "5.000");
    Choose(IDC_PRESSURE_UNIT, BAR);
    EXPECT_GT(Physical().Density.Value, 990.0);
    EXPECT_EQ(Text(IDC_TEMPERATURE_MIN), "5.0");

    Type(IDC_TEMPERATURE_MIN, "5.000");
    Choose(IDC_PRESSURE_UNIT, BAR);
    EXPECT_EQ(Text(IDC_TEMPERATURE_MIN), "5.000");
}

TEST_F(PageFluidTest, LeavingWithNormFlowNeedsANormDensity)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM);
    SetValue(Physical().Flow, NM3_H, 100.0, 4);
    ASSERT_TRUE(page->OnEnterPage());
    Type(IDC_NORM_DENSITY, "");
    CMessageBoxRecorder boxes;
    int reason = -1;
    EXPECT_FALSE(page->CanLeavePage(&reason));
    EXPECT_EQ(reason, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Data incomplete");

    Type(IDC_NORM_DENSITY, "1,25");
    EXPECT_TRUE(page->CanLeavePage(&reason));
    EXPECT_DOUBLE_EQ(Physical().NormFlowConditions.Density.Value, 1.25);
}

// A page that is not shown may always be left, and what its fields hold is stored first.
TEST_F(PageFluidTest, LeavingAHiddenPageStoresItWithoutChecks)
{
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM);
    SetValue(Physical().Flow, NM3_H, 100.0, 4);
    ASSERT_TRUE(page->OnEnterPage());
    Type(IDC_NORM_DENSITY, "");
    Type(IDC_TEMPERATURE, "77");
    page->GetWindow()->Hide();
    CMessageBoxRecorder boxes;
    int reason = -1;
    EXPECT_TRUE(page->CanLeavePage(&reason));
    EXPECT_EQ(reason, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_DOUBLE_EQ(Physical().Temperature.Value, 77.0);
}

TEST_F(PageFluidTest, DensityButtonsConvertThroughTheNormConditionShown)
{
    Open();
    Choose(IDC_STATE, FLUID_TYPE_GAS);
    Choose(IDC_MEDIUM, FLUID_INDEX_CUSTOM);
    Choose(IDC_FLOW_REFERENCE, 4);
    ASSERT_TRUE(Shown(IDC_CONVERT_TO_NORM));
    Choose(IDC_TEMPERATURE_UNIT, DEG_C);
    Choose(IDC_PRESSURE_UNIT, BAR);
    Choose(IDC_PRESSURE_REFERENCE, 1);
    Choose(IDC_DENSITY_UNIT, KG_M3);
    Type(IDC_TEMPERATURE, "15");
    Type(IDC_PRESSURE, "1.01325");
    Type(IDC_DENSITY, "1.2");
    Type(IDC_COMPRESSIBILITY, "1");
    // At the norm state of the condition itself the density stays as it is.
    Choose(IDC_NORM_SYSTEM, 2);  // 15 degC, 1.01325 bar
    Press(IDC_CONVERT_TO_NORM);
    EXPECT_NEAR(Physical().NormFlowConditions.Density.BaseValue, Physical().Density.BaseValue, 1e-9);
    Choose(IDC_NORM_SYSTEM, 1);  // 0 degC
    Press(IDC_CONVERT_TO_NORM);
    const double normDensity = Physical().NormFlowConditions.Density.BaseValue;
    EXPECT_NEAR(normDensity, Physical().Density.BaseValue * 288.15 / 273.15, 1e-9);

    Type(IDC_DENSITY, "7");
    Press(IDC_CONVERT_TO_OPERATIONAL);
    EXPECT_NEAR(Physical().Density.Value, 1.2, 1e-5);  // through the six digits shown
    EXPECT_EQ(Text(IDC_DENSITY), "1.2");
}

// --- Steam check ---------------------------------------------------------------------------

class PageFluidSteam : public PageFluidTest {
protected:
    // Superheated steam at 10 bar absolute with the temperature in kelvin.
    double Saturation()
    {
        Physical().Fluid = MakeFluid(FLUID_TYPE_SUPERHEATED_STEAM, FLUID_INDEX_WATER_VAPOUR);
        SetValue(Physical().Pressure, BAR, 10.0, 1);
        return CalculateSaturationTemperature(Physical().Pressure.BaseValue * 100.0);
    }
};

TEST_F(PageFluidSteam, AtTheSaturationTemperatureItPasses)
{
    const double saturation = Saturation();
    SetValue(Physical().Temperature, KELVIN, saturation);
    CMessageBoxRecorder boxes;
    EXPECT_TRUE(CPageFluid().CheckSteam());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PageFluidSteam, BelowItIsNotSteam)
{
    const double saturation = Saturation();
    SetValue(Physical().Temperature, KELVIN, 400.0);
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(CPageFluid().CheckSteam());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Fluid is not steam");
    EXPECT_EQ(boxes.Boxes()[0].text, "For given operating pressure of 10.0 bar abs\nsaturation temperature is " +
                                         DataFormat::Format(saturation, 4, false) +
                                         " K\noperating temperature is given as 400.0 K.");
}

TEST_F(PageFluidSteam, JustBelowItShowsEveryDigitOfTheSaturationTemperature)
{
    const double saturation = Saturation();
    SetValue(Physical().Temperature, KELVIN, saturation - 1e-3);
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(CPageFluid().CheckSteam());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(DataFormat::Format(saturation, 0, false)), std::string::npos)
        << boxes.Boxes()[0].text;
}

TEST_F(PageFluidSteam, OffTheSaturationLineItIsRefused)
{
    // Pressures in bar absolute for which the line has no temperature, however hot the steam.
    for (double bar : {1e-11, 1e9}) {
        Saturation();
        SetValue(Physical().Pressure, BAR, bar, 1);
        SetValue(Physical().Temperature, KELVIN, 1000.0);
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(CPageFluid().CheckSteam()) << bar;
        ASSERT_EQ(boxes.Boxes().size(), 1u) << bar;
        EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Fluid is not steam");
        EXPECT_NE(boxes.Boxes()[0].text.find("\nsaturation temperature is - K\n"), std::string::npos)
            << boxes.Boxes()[0].text;
    }
}

TEST_F(PageFluidSteam, LeavingThePageChecksIt)
{
    Open();
    Saturation();
    SetValue(Physical().Temperature, DEG_C, 150.0);
    ASSERT_TRUE(page->OnEnterPage());
    // Leaving while the temperature is being edited warns once, not once more for the field.
    Edit(IDC_TEMPERATURE)->SetFocus();
    WaitFor([this] { return wxWindow::FindFocus() == Edit(IDC_TEMPERATURE); });
    CMessageBoxRecorder boxes;
    int reason = 0;
    EXPECT_FALSE(page->CanLeavePage(&reason));
    PumpFor(100);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    Type(IDC_TEMPERATURE, "250");
    EXPECT_TRUE(page->CanLeavePage(&reason));
}

TEST_F(PageFluidSteam, LeavingTheTemperatureFieldWarnsOnce)
{
    Open();
    Saturation();
    SetValue(Physical().Temperature, DEG_C, 150.0);
    ASSERT_TRUE(page->OnEnterPage());
    CMessageBoxRecorder boxes;
    Edit(IDC_TEMPERATURE)->SetFocus();
    WaitFor([this] { return wxWindow::FindFocus() == Edit(IDC_TEMPERATURE); });
    Edit(IDC_PRESSURE)->SetFocus();
    EXPECT_TRUE(WaitFor([&boxes] { return !boxes.Boxes().empty(); }));
    PumpFor(100);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Fluid is not steam");
}

// --- Value range ---------------------------------------------------------------------------

TEST_F(PageFluidTest, ValueRangeRoundsToItsDigitsBeforeComparing)
{
    CMessageBoxRecorder boxes;
    EXPECT_TRUE(CheckValueRange("Share", 100.00004, 0.0, 100.0, 4, nullptr));
    EXPECT_TRUE(CheckValueRange("Share", 0.0, 0.0, 100.0, 4, nullptr));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(CheckValueRange("Share", 100.2, 0.0, 100.0, 4, nullptr));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Invalid input");
    EXPECT_EQ(boxes.Boxes()[0].text, "Please enter a value between 0.0 and 100.0 for 'Share'");
    EXPECT_FALSE(CheckEditValueRange("Share", nullptr, 0.0, 100.0, 4));
}

// --- Typed under a display -------------------------------------------------------------------

wxBitmap ScreenShotOf(wxWindow* window)
{
    window->Move(0, 0);
    WaitFor([window] { return window->IsShownOnScreen(); });
    PumpFor(100);
    // From the window itself: a bare X server may still show other windows' pixels there.
    return Snapshot(window);
}

TEST_F(PageFluidTest, TypedTemperatureIsConvertedWhenTheFieldIsLeft)
{
    UseTranslatedLanguage("en");
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
    SetValue(Physical().Temperature, DEG_C, 20.0);
    SetValue(Physical().Pressure, BAR, 2.0, 1);
    SetValue(Physical().Flow, M3_H, 12.5, 0);
    Customer().customer = "Acme Water";
    Customer().pa = 4711;
    ASSERT_TRUE(page->OnEnterPage());
    Choose(IDC_TEMPERATURE_CALC_UNIT, KELVIN);

    wxTextCtrl* temperature = Edit(IDC_TEMPERATURE);
    temperature->SetFocus();
    temperature->SelectAll();
    WaitFor([temperature] { return wxWindow::FindFocus() == temperature; });
    wxUIActionSimulator keyboard;
    // A comma is taken as the decimal separator of the language.
    keyboard.Text("80,5");
    PumpFor(50);
    EXPECT_EQ(Text(IDC_TEMPERATURE), "80.5");
    Edit(IDC_PRESSURE)->SetFocus();
    EXPECT_TRUE(WaitFor([this] { return Text(IDC_TEMPERATURE_CALC) == "353.65"; })) << Text(IDC_TEMPERATURE_CALC);
    // Letters are not taken by a number field.
    Edit(IDC_PRESSURE)->SelectAll();
    keyboard.Text("x3");
    PumpFor(50);
    EXPECT_EQ(Text(IDC_PRESSURE), "3");
}

// Pixels from the field's left edge to its text's first dark pixel, as the screen shows it; -1
// when the field shows no text.
int TextMargin(const wxImage& page, const wxRect& field)
{
    // The frame is grey; the text's strokes are dark.
    const auto dark = [&page](int x, int y) {
        return page.GetRed(x, y) < 100 && page.GetGreen(x, y) < 100 && page.GetBlue(x, y) < 100;
    };
    for (int x = field.x + 1; x < field.GetRight(); ++x) {
        for (int y = field.y + 1; y < field.GetBottom(); ++y) {
            if (dark(x, y))
                return x - field.x;
        }
    }
    return -1;
}

// The customer's box of several lines keeps its text off its frame as the one-line fields do.
TEST_F(PageFluidTest, TheCustomerKeepsTheMarginOfTheOneLineFields)
{
    UseTranslatedLanguage("en");
    Open();
    for (int id : {IDC_CUSTOMER, IDC_TAG_NO, IDC_REFERENCE})
        Edit(id)->ChangeValue(wxString::FromUTF8("Müller"));
    Edit(IDC_PA_NO)->SetFocus();
    ScreenShotOf(frame.get());
    const wxImage pixels = ClientPixels(page->GetWindow()).ConvertToImage();
    SaveScreenshot(ClientPixels(page->GetWindow()), "page-fluid-customer-margin");
    const int oneLine = TextMargin(pixels, Item(IDC_TAG_NO)->GetRect());
    ASSERT_GT(oneLine, 2);
    EXPECT_EQ(TextMargin(pixels, Item(IDC_REFERENCE)->GetRect()), oneLine);
    EXPECT_NEAR(TextMargin(pixels, Item(IDC_CUSTOMER)->GetRect()), oneLine, 1);
}

TEST_F(PageFluidTest, TypingIntoACustomerFieldStopsWhereTheDatabaseColumnEnds)
{
    Open();
    const struct {
        int id;
        size_t length;
    } fields[] = {{IDC_CUSTOMER, 250}, {IDC_TAG_NO, 50}, {IDC_REFERENCE, 100}};
    wxUIActionSimulator keyboard;
    const auto typeAtEnd = [&keyboard](wxTextCtrl* edit, const wxString& start, const std::function<void()>& type) {
        edit->ChangeValue(start);
        edit->SetFocus();
        WaitFor([edit] { return wxWindow::FindFocus() == edit; });
        PumpFor(50);  // after a field's select-all on focus
        edit->SetInsertionPointEnd();
        type();
        PumpFor(50);
    };
    for (const auto& field : fields) {
        SCOPED_TRACE(field.id);
        // Two characters short of full, in letters of two bytes each: characters count, not bytes.
        const wxString start(wxString::FromUTF8("\xC3\xB6")[0], field.length - 2);
        typeAtEnd(Edit(field.id), start, [&keyboard] { keyboard.Text("abcd"); });
        EXPECT_EQ(Edit(field.id)->GetValue(), start + "ab");
    }
    // A line break of the customer takes a character too: none goes into a full text.
    wxTextCtrl* customer = Edit(IDC_CUSTOMER);
    const wxString full = customer->GetValue();
    typeAtEnd(customer, full, [&keyboard] { keyboard.Char(WXK_RETURN); });
    EXPECT_EQ(customer->GetValue(), full);
    typeAtEnd(customer, "Acme", [&keyboard] {
        keyboard.Char(WXK_RETURN);
        keyboard.Text("Works");
    });
    EXPECT_EQ(customer->GetValue(), "Acme\nWorks");
}

struct SLanguageCase {
    const char* code;
    const char* fluidHeading;
    const char* gasMixButton;
    const char* normReference;
    const char* pressure;
    const char* temperatureMin;
};

class PageFluidLanguage : public PageFluidTest, public ::testing::WithParamInterface<SLanguageCase> {};

TEST_P(PageFluidLanguage, Screenshot)
{
    const SLanguageCase& c = GetParam();
    UseTranslatedLanguage(c.code);
    // The engine's list texts (references, flow types) come from the program's tables too.
    ConnectEngineToApplication();
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS, 2);
    SetValue(Physical().Temperature, DEG_C, 40.0);
    Physical().TemperatureRange = {-20.0, 80.0};
    SetValue(Physical().Pressure, BAR, 6.5, 2);
    Physical().PressureRange = {1.0, 10.0};
    SetValue(Physical().Flow, NM3_H, 850.0, 4);
    Customer().customer = "Acme Gas Works";
    Customer().tag_no = "FT-2042";
    Customer().pa = 4711;
    Customer().vk = 12;
    Customer().pos = 3;
    ASSERT_TRUE(page->OnEnterPage());
    Choose(IDC_DENSITY_UNIT, KG_M3);
    EXPECT_EQ(Item(IDC_FLUID_LBL)->GetLabel(), wxString::FromUTF8(c.fluidHeading));
    EXPECT_EQ(Item(IDC_GAS_MIX)->GetLabel(), wxString::FromUTF8(c.gasMixButton));
    EXPECT_NE(Text(IDC_DENSITY), "0.0");
    EXPECT_EQ(Combo(IDC_FLOW_REFERENCE)->GetValue(), wxString::FromUTF8(c.normReference));
    // Numbers take the language's decimal separator.
    EXPECT_EQ(Text(IDC_PRESSURE), c.pressure);
    EXPECT_EQ(Text(IDC_TEMPERATURE_MIN), c.temperatureMin);
    SaveScreenshot(ScreenShotOf(frame.get()), std::string("page-fluid-") + c.code);
    DisconnectEngineFromApplication();
}

INSTANTIATE_TEST_SUITE_P(Languages, PageFluidLanguage,
                         ::testing::Values(SLanguageCase{"en", "Physical data of fluid", "Enter gas mix data", "norm.",
                                                         "6.5", "-20.0"},
                                           SLanguageCase{"de", "Physikalische Daten des Messstoffs",
                                                         "Gasgemisch eingeben", "Norm", "6,5", "-20,0"}),
                         [](const ::testing::TestParamInfo<SLanguageCase>& info) {
                             return std::string(info.param.code);
                         });

// --- States the engine refuses --------------------------------------------------------------

TEST_F(PageFluidTest, AStateTheEngineRefusesSaysWhyAndKeepsNoOldDensity)
{
    const struct {
        const char* code;
        const char* caption;
        const char* pressure;
        const char* result;
        const char* noDensity;
    } languages[] = {
        {"en", "Zephrin: Fluid is not liquid", "For given operating pressure of 5.0 bar abs",
         "Invalid data for density calculation", "no density"},
        {"de", "Zephrin: Messstoff ist nicht flüssig", "Für den angegebenen Betriebsdruck von 5,0 bar abs.",
         "Ungültige Daten für die Dichteberechnung", "keine Dichte"},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.code);
        UseTranslatedLanguage(language.code);
        ConnectEngineToApplication();
        Physical().Reset();
        Open();
        Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
        SetValue(Physical().Temperature, DEG_C, 20.0);
        SetValue(Physical().Pressure, BAR, 5.0, 1);
        ASSERT_TRUE(page->OnEnterPage());
        Choose(IDC_PRESSURE_UNIT, BAR);
        ASSERT_GT(Physical().Density.Value, 990.0);

        // Water at 300 degC boils at 5 bar absolute.
        CMessageBoxRecorder boxes;
        Edit(IDC_TEMPERATURE)->SetFocus();
        WaitFor([this] { return wxWindow::FindFocus() == Edit(IDC_TEMPERATURE); });
        Type(IDC_TEMPERATURE, "300");
        Edit(IDC_PRESSURE)->SetFocus();
        EXPECT_TRUE(WaitFor([&boxes] { return !boxes.Boxes().empty(); }));
        PumpFor(100);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        const SMessageBox& box = boxes.Boxes()[0];
        EXPECT_EQ(box.caption, language.caption);
        EXPECT_EQ(box.text.rfind(language.pressure, 0), 0u) << box.text;
        EXPECT_NE(box.text.find(std::string("\n\n") + language.result), std::string::npos) << box.text;
        EXPECT_EQ(Text(IDC_DENSITY), "");
        EXPECT_EQ(Text(IDC_DENSITY_CALC), "");
        EXPECT_EQ(Physical().Density.Value, 0.0);
        EXPECT_EQ(Item(IDC_DENSITY)->GetToolTipText().utf8_string(), language.result);
        EXPECT_EQ(Text(IDC_QMAX_CALC), language.noDensity);
        SaveScreenshot(ScreenShotOf(frame.get()), std::string("page-fluid-refused-") + language.code);

        // Liquid again: the density is back, without a word.
        Type(IDC_TEMPERATURE, "100");
        Edit(IDC_TEMPERATURE)->SetFocus();
        WaitFor([this] { return wxWindow::FindFocus() == Edit(IDC_TEMPERATURE); });
        Edit(IDC_PRESSURE)->SetFocus();
        PumpFor(200);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_NEAR(Physical().Density.Value, 958.0, 2.0);
        EXPECT_NE(Text(IDC_DENSITY), "");
        EXPECT_TRUE(Item(IDC_DENSITY)->GetToolTipText().empty());
        page.reset();
        frame.reset();
        DisconnectEngineFromApplication();
    }
    UseTranslatedLanguage("en");
}

TEST_F(PageFluidTest, APressureBelowZeroAbsoluteIsRefusedOnLeaving)
{
    const struct {
        int reference;
        const char* typed;
        const char* message;  // empty: leaving is allowed
    } cases[] = {
        {1, "-2", "Please enter a value between 0.0 and INF for 'Pressure'"},
        {2, "-2", "Please enter a value between -1.013 and INF for 'Pressure'"},
        {2, "-0.5", ""},
        {1, "0", "Please enter a value between 0.0 and INF for 'Pressure'"},
        {1, "0.001", ""},
    };
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
    SetValue(Physical().Temperature, DEG_C, 20.0);
    SetValue(Physical().Pressure, BAR, 5.0, 1);
    ASSERT_TRUE(page->OnEnterPage());
    Choose(IDC_PRESSURE_UNIT, BAR);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Choose(IDC_PRESSURE_REFERENCE, c.reference);
        Type(IDC_PRESSURE, c.typed);
        CMessageBoxRecorder boxes;
        int reason = -1;
        const bool left = page->CanLeavePage(&reason);
        EXPECT_EQ(left, std::string(c.message).empty());
        if (left) {
            EXPECT_TRUE(boxes.Boxes().empty());
            continue;
        }
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "TAMBEL: Invalid input");
        EXPECT_EQ(boxes.Boxes()[0].text, c.message);
    }
}

// --- Refusals that name their cause ----------------------------------------------------------

struct SRefusalLanguage {
    const char* code;
    const char* invalidCaption;
    const char* belowZeroAbsolute;
    const char* belowZeroGauge;
    const char* noComposition;
    const char* flowTooLarge;
    const char* temperatureTooLarge;
};

const SRefusalLanguage kRefusalLanguages[] = {
    {"en", "Zephrin: Invalid input", "Please enter a value between 0.0 and INF for 'Pressure'",
     "Please enter a value between -1.013 and INF for 'Pressure'", "The composition of the gas mix has not been entered yet.",
     "The value of 'max. flowrate' is too large to be converted.",
     "The value of 'Temperature' is too large to be converted."},
    {"de", "Zephrin: Ungültige Eingabe", "Bitte einen Wert zwischen 0,0 und INF für 'Druck' eingeben",
     "Bitte einen Wert zwischen -1,013 und INF für 'Druck' eingeben", "Die Zusammensetzung des Gasgemischs ist noch nicht eingegeben.",
     "Der Wert für 'max. Durchfluss' ist zu groß, um umgerechnet zu werden.",
     "Der Wert für 'Temperatur' ist zu groß, um umgerechnet zu werden."},
};

class PageFluidRefusal : public PageFluidTest, public ::testing::WithParamInterface<SRefusalLanguage> {
protected:
    void SetUp() override
    {
        PageFluidTest::SetUp();
        UseTranslatedLanguage(GetParam().code);
        ConnectEngineToApplication();
    }
    void TearDown() override
    {
        PageFluidTest::TearDown();
        DisconnectEngineFromApplication();
        UseTranslatedLanguage("en");
    }

    // Where the user clicks next; what leaving the last field does has happened after it.
    void Focus(int id)
    {
        Edit(id)->SetFocus();
        WaitFor([this, id] { return wxWindow::FindFocus() == Edit(id); });
        PumpFor(50);
    }

    // Water at 20 degC and 5 bar absolute, in bar.
    void OpenWithWater()
    {
        Open();
        Physical().Fluid = MakeFluid(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER);
        SetValue(Physical().Temperature, DEG_C, 20.0);
        SetValue(Physical().Pressure, BAR, 5.0, 1);
        SetValue(Physical().Flow, M3_H, 30.0);
        ASSERT_TRUE(page->OnEnterPage());
        Choose(IDC_PRESSURE_UNIT, BAR);
    }
};

// Leaving the pressure field with no pressure (at or below 0 absolute) says so, not that the
// water boils at it.
TEST_P(PageFluidRefusal, ANegativePressureIsNamedBeforeTheBoilingItCauses)
{
    const SRefusalLanguage& language = GetParam();
    OpenWithWater();
    const struct {
        int reference;
        const char* typed;
        const char* message;
    } cases[] = {
        {1, "-2", language.belowZeroAbsolute},
        {2, "-3", language.belowZeroGauge},
        {1, "0", language.belowZeroAbsolute},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Choose(IDC_PRESSURE_REFERENCE, c.reference);
        Focus(IDC_PRESSURE);
        Type(IDC_PRESSURE, c.typed);
        CMessageBoxRecorder boxes;
        Focus(IDC_TEMPERATURE);
        EXPECT_TRUE(WaitFor([&boxes] { return !boxes.Boxes().empty(); }));
        PumpFor(100);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, language.invalidCaption);
        EXPECT_EQ(boxes.Boxes()[0].text, c.message);
        // A pressure again, and the field left without a word.
        Type(IDC_PRESSURE, "5");
        Focus(IDC_PRESSURE);
        Focus(IDC_TEMPERATURE);
        PumpFor(100);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
}

// A new gas mix is typed in without a box: until its shares are entered, the density stays
// empty and says why in its tip, what is typed next lands in the next field, and the page may
// be left (Calculate, which refuses to size it, is the main window's test).
TEST_P(PageFluidRefusal, ANewGasMixWaitsForItsCompositionWithoutABox)
{
    const SRefusalLanguage& language = GetParam();
    Open();
    Physical().Fluid = MakeFluid(FLUID_TYPE_GAS_MIX, FLUID_INDEX_CUSTOM);
    SetValue(Physical().Temperature, DEG_C, 20.0);
    SetValue(Physical().Pressure, BAR, 5.0, 1);
    ASSERT_TRUE(page->OnEnterPage());
    ASSERT_TRUE(Shown(IDC_GAS_MIX));

    CMessageBoxRecorder boxes;
    wxUIActionSimulator keyboard;
    // Focus waits for the fields' select-all on focus, which the typing replaces.
    Focus(IDC_TEMPERATURE);
    keyboard.Text("25");
    PumpFor(100);
    Focus(IDC_PRESSURE);
    keyboard.Text("7");
    PumpFor(100);
    Focus(IDC_TEMPERATURE);
    PumpFor(100);
    EXPECT_EQ(boxes.Boxes().size(), 0u) << boxes.Boxes().front().text;
    // Every key went into its field.
    EXPECT_EQ(Physical().Temperature.Value, 25.0) << Text(IDC_TEMPERATURE);
    EXPECT_EQ(Physical().Pressure.Value, 7.0) << Text(IDC_PRESSURE);
    EXPECT_EQ(Text(IDC_DENSITY), "");
    EXPECT_EQ(Item(IDC_DENSITY)->GetToolTipText().utf8_string(), language.noComposition);

    int reason = -1;
    EXPECT_TRUE(page->CanLeavePage(&reason));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(CPageFluid::MissingFluidData(), language.noComposition);

    // The shares entered: a density, no tip, and the page may be left.
    CGasMixDataDlg* dialog = page->GetGasMixDialog();
    dialog->SetGasMixElements({{2, 79.0}, {3, 21.0}});
    page->GetWindow()->CallAfter([dialog] { dialog->EndModal(wxID_OK); });
    Press(IDC_GAS_MIX);
    EXPECT_NE(Text(IDC_DENSITY), "");
    EXPECT_TRUE(Item(IDC_DENSITY)->GetToolTipText().empty());
    EXPECT_TRUE(page->CanLeavePage(&reason));
    EXPECT_EQ(CPageFluid::MissingFluidData(), "");
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A number too large to convert (the converted flow shows "n.a.") is not sized: leaving the
// page says which field holds it and goes there.
TEST_P(PageFluidRefusal, ANumberTooLargeToConvertIsRefusedNamingItsField)
{
    const SRefusalLanguage& language = GetParam();
    OpenWithWater();
    const std::string nines(330, '9');
    const struct {
        int id;
        std::string typed;
        const char* message;
        size_t boxesOnLeavingTheField;  // the operating state's fields say so at once
    } cases[] = {
        {IDC_QMAX, nines, language.flowTooLarge, 0},
        // Read, but too large for the base unit of flows.
        {IDC_QMAX, "1e307", language.flowTooLarge, 0},
        {IDC_TEMPERATURE, nines, language.temperatureTooLarge, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 10));
        Choose(IDC_FLOW_CALC_TYPE, 1);
        Choose(IDC_FLOW_CALC_UNIT, 41);  // l/h
        CMessageBoxRecorder boxes;
        Focus(c.id);
        Type(c.id, c.typed);
        Focus(IDC_VISCOSITY);
        PumpFor(100);
        if (c.id == IDC_QMAX) {
            EXPECT_EQ(Text(IDC_QMAX_CALC), TranslateText("n.a."));
        }
        ASSERT_EQ(boxes.Boxes().size(), c.boxesOnLeavingTheField);
        int reason = -1;
        EXPECT_FALSE(page->CanLeavePage(&reason));
        PumpFor(100);
        ASSERT_EQ(boxes.Boxes().size(), c.boxesOnLeavingTheField + 1);
        for (const SMessageBox& box : boxes.Boxes()) {
            EXPECT_EQ(box.caption, language.invalidCaption);
            EXPECT_EQ(box.text, c.message);
        }
        EXPECT_EQ(wxWindow::FindFocus(), Edit(c.id));
        Type(c.id, c.id == IDC_QMAX ? "30" : "20");
        EXPECT_TRUE(page->CanLeavePage(&reason));
        PumpFor(100);
        EXPECT_EQ(boxes.Boxes().size(), c.boxesOnLeavingTheField + 1);
    }
}

// A number too large to convert has no converted value in any row: "n.a." as for the flow,
// not the figure of the number before. A unit not known keeps what is shown.
TEST_P(PageFluidRefusal, ARowThatDoesNotConvertShowsNotAvailable)
{
    const std::string notAvailable = std::string(GetParam().code) == "de" ? "n.v." : "n.a.";
    OpenWithWater();
    const std::string nines(330, '9');
    const struct {
        int source;
        int targetUnit;
        int target;
        int output;
    } rows[] = {
        {IDC_TEMPERATURE, IDC_TEMPERATURE_CALC_UNIT, KELVIN, IDC_TEMPERATURE_CALC},
        {IDC_PRESSURE, IDC_PRESSURE_CALC_UNIT, BAR, IDC_PRESSURE_CALC},
        {IDC_DENSITY, IDC_DENSITY_CALC_UNIT, KG_M3, IDC_DENSITY_CALC},
        {IDC_VISCOSITY, IDC_VISCOSITY_CALC_UNIT, MPAS, IDC_VISCOSITY_CALC},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        Type(row.source, "2");
        Choose(row.targetUnit, row.target);
        const std::string figure = Text(row.output);
        EXPECT_NE(figure, "");
        EXPECT_NE(figure, notAvailable);

        for (const std::string& typed : {nines, std::string("-") + nines}) {
            Type(row.source, typed);
            Choose(row.targetUnit, row.target);
            EXPECT_EQ(Text(row.output), notAvailable);
        }
        Type(row.source, "2");
        Choose(row.targetUnit, row.target);
        EXPECT_EQ(Text(row.output), figure);

        Type(row.source, "3");
        Combo(row.targetUnit)->SetSelection(wxNOT_FOUND);
        Notify(row.targetUnit);
        EXPECT_EQ(Text(row.output), figure);
        // Shown with the number that does not convert.
        Type(row.source, nines);
        Choose(row.targetUnit, row.target);
    }
    SaveScreenshot(ScreenShotOf(frame.get()), std::string("page-fluid-not-converted-") + GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Languages, PageFluidRefusal, ::testing::ValuesIn(kRefusalLanguages),
                         [](const ::testing::TestParamInfo<SRefusalLanguage>& info) {
                             return std::string(info.param.code);
                         });

}  // namespace
