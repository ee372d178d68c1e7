#include "TAMBEL/Pages/PageFluid.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/TAMBELCalculator/FlowFormulas.h"
#include "CommonFiles/TAMBELCalculator/FluidDensity.h"
#include "CommonFiles/TAMBELCalculator/FluidViscosity.h"
#include "CommonFiles/TAMBELCalculator/SteamSaturation.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitManager.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/DialogControls.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "HarbinaxCore/StyleNames.h"
#include "ProductionDb/ProductionDb.h"
#include "TAMBEL/NumberInput.h"
#include "TAMBEL/Pages/PageFluidIds.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TextFormat.h"
#include "TAMBEL/ValueRangeCheck.h"

#include <wx/settings.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// A field as messages name it: its label's text without the closing ':'.
std::string FieldName(const wxWindow* label)
{
    std::string name = label ? label->GetLabel().utf8_string() : std::string();
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    return name;
}

// Quantity types and unit systems of the units database.
constexpr int UNIT_TEMPERATURE = 3;
constexpr int UNIT_VISCOSITY = 6;
constexpr int SYSTEM_OPERATIONAL = 0;
constexpr int SYSTEM_NORM = 4;
// Units of the fluid tables and of a custom norm condition without units.
constexpr int UNIT_DEGREES_CELSIUS = 1;
constexpr int UNIT_BAR = 7;
constexpr int UNIT_KG_PER_M3 = 21;

constexpr int FLOW_TYPE_VOLUME = 1;

// Significant digits of the numbers shown.
constexpr int TEMPERATURE_DIGITS = 4;
constexpr int VALUE_DIGITS = 6;

// A derived value counts as changed beyond this (base units).
constexpr double RECALC_THRESHOLD = 1e-7;

// The fields whose leaving has consequences.
constexpr int kFocusHandled[] = {IDC_HUMIDITY, IDC_TEMPERATURE, IDC_PRESSURE, IDC_DENSITY, IDC_VISCOSITY,
                                 IDC_QMAX, IDC_NORM_TEMPERATURE, IDC_NORM_PRESSURE, IDC_NORM_DENSITY};

// The edits of decimal numbers and the labels that name them in messages.
constexpr std::pair<int, int> kNumberLabels[] = {
    {IDC_TEMPERATURE_MIN, IDC_TEMPERATURE_LBL},     {IDC_TEMPERATURE_MAX, IDC_TEMPERATURE_LBL},
    {IDC_TEMPERATURE, IDC_TEMPERATURE_LBL},         {IDC_PRESSURE_MIN, IDC_PRESSURE_LBL},
    {IDC_PRESSURE_MAX, IDC_PRESSURE_LBL},           {IDC_PRESSURE, IDC_PRESSURE_LBL},
    {IDC_DENSITY, IDC_DENSITY_LBL},                 {IDC_VISCOSITY, IDC_VISCOSITY_LBL},
    {IDC_COMPRESSIBILITY, IDC_COMPRESSIBILITY_LBL}, {IDC_QMAX, IDC_QMAX_LBL},
    {IDC_HUMIDITY, IDC_HUMIDITY_LBL},               {IDC_NORM_TEMPERATURE, IDC_NORM_TEMPERATURE_LBL},
    {IDC_NORM_PRESSURE, IDC_NORM_PRESSURE_LBL},     {IDC_NORM_DENSITY, IDC_NORM_DENSITY_LBL},
};

std::string Language()
{
    return GetAppLanguage();
}

const CUnitManager* Units()
{
    return CUnitManager::GetInstance();
}

CPhysicalData& Physical()
{
    return CProjectData::GetInstance()->physical;
}

// The norm state the density buttons convert to and from: that of the condition shown, unless
// it has no temperature or pressure yet (a new custom condition).
void NormState(const CNormFlowCondition& norm, double& temperature, double& pressure)
{
    if (norm.Temperature.BaseValue > 0.0 && norm.Pressure.BaseValue > 0.0) {
        temperature = norm.Temperature.BaseValue;
        pressure = norm.Pressure.BaseValue;
    }
}

bool KnownUnit(int dbIndex, CUnit& unit)
{
    const CUnitManager* units = Units();
    return units && units->GetUnit(unit, dbIndex);
}

// What the engine makes of the stored state's density, leaving the project as it is.
CalcResult DensityResult()
{
    CPhysicalData scratch;
    if (!Physical().CopyTo(scratch))
        return CALC_NOT_ENOUGH_DATA;
    return CalculateDensity(scratch);
}

// A gas mix whose shares have not been entered yet: its density waits for them, which is no fault.
bool IsGasMixWithoutComposition(const CPhysicalData& physical)
{
    const auto* mix = dynamic_cast<const CFluidGasMix*>(physical.Fluid.get());
    return mix && mix->Elements.empty();
}

constexpr const char* kNoComposition = "The composition of the gas mix has not been entered yet.";

std::string DensityResultText(CalcResult code)
{
    std::string text = GetCalculationErrorText(code, "\n");
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// The operating pressure, the saturation temperature it gives (in the operating temperature's
// unit) and the operating temperature. When both temperatures round alike at the digits
// shown, the saturation temperature shows all its digits, so that the two differ on screen.
std::string SaturationText(const CPhysicalData& physical, double saturation)
{
    const double operating = physical.Temperature.Value;
    std::string saturationText =
        std::isnan(saturation) ? "-" : DataFormat::Format(saturation, TEMPERATURE_DIGITS, false);
    const std::string operatingText = DataFormat::Format(operating, TEMPERATURE_DIGITS, false);
    if (DataFormat::RoundToSignificantDigits(operating, TEMPERATURE_DIGITS) ==
        DataFormat::RoundToSignificantDigits(saturation, TEMPERATURE_DIGITS))
        saturationText = DataFormat::Format(saturation, 0, false);
    const std::string reference =
        TranslateText(physical.Pressure.Reference == REFERENCE_ABSOLUTE ? "abs" : "gauge");
    return TranslateText("For given operating pressure of") + " " +
           DataFormat::Format(physical.Pressure.Value, VALUE_DIGITS, false) + " " + physical.Pressure.Name + " " +
           reference + "\n" + TranslateText("saturation temperature is") + " " + saturationText + " " +
           physical.Temperature.Name + "\n" + TranslateText("operating temperature is given as") + " " +
           operatingText + " " + physical.Temperature.Name + ".";
}

// The saturation temperature of the operating pressure in the operating temperature's unit; NaN
// for a pressure off the saturation line.
double SaturationTemperature(const CPhysicalData& physical)
{
    const double base = CalculateSaturationTemperature(physical.Pressure.BaseValue * 100.0);
    double saturation = 0.0;
    if (std::isnan(base) || !ConvertFromBaseUnit(saturation, base, physical.Temperature, 0))
        return std::nan("");
    return saturation;
}

}  // namespace

CPageFluid::CPageFluid()
    : CTemplatePage("CPageFluid")
{
}

CPageFluid::~CPageFluid()
{
    delete m_gasMixDialog.get();
}

bool CPageFluid::Create(wxWindow* parent)
{
    CDialogTemplate dialogTemplate;
    const SDialogTemplate* built = LoadTemplate(IDD_PAGE_FLUID, dialogTemplate);
    if (!built)
        return false;
    // Edits filter what is typed, lists carry item data.
    DialogControlFactories factories;
    for (const SDialogItem& item : built->items) {
        if (item.windowClass == "EDIT") {
            factories[item.id] = [](wxWindow* window, int id, const SDialogItem& edit, const wxPoint& position,
                                    const wxSize& size) -> wxWindow* {
                return new CFilterEdit(window, id, wxString(), position, size,
                                       (edit.style & DialogStyle::ES_MULTILINE) ? wxTE_MULTILINE : 0);
            };
        } else if (item.windowClass == "COMBOBOX") {
            factories[item.id] = [](wxWindow* window, int id, const SDialogItem&, const wxPoint& position,
                                    const wxSize& size) -> wxWindow* {
                return new CDataComboBox(window, id, position, wxSize(size.x, -1));
            };
        }
    }
    return CreateFromTemplate(parent, *built, factories) && OnInitDialog();
}

bool CPageFluid::OnInitDialog()
{
    wxWindow* window = GetWindow();
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_PAGE_FLUID, window);
    for (int line : {IDC_HLINE1, IDC_HLINE2, IDC_HLINE3, IDC_HLINE4})
        AddDlgItemAnchor(line, kAnchorTopLeft, kAnchorTopRight);

    // Holds the shares of a gas mix from now on; its window is made when first shown.
    m_gasMixDialog = new CGasMixDataDlg(wxGetTopLevelParent(window));

    window->Bind(wxEVT_COMBOBOX, &CPageFluid::OnComboChanged, this);
    window->Bind(wxEVT_BUTTON, &CPageFluid::OnButton, this);
    for (int id : kFocusHandled) {
        if (wxWindow* edit = Item(id))
            edit->Bind(wxEVT_KILL_FOCUS, &CPageFluid::OnEditKillFocus, this);
    }

    // The controls of no Type until the state list picks one (it stays empty without fluids).
    ShowStateControls(FLUID_TYPE_NONE, true);
    FillCombos(true, false, true);
    if (const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance())
        Physical().NormFlowConditions = configuration->default_norm_condition;
    OnEnterPage();
    RecalcDensity();
    RecalcNormDensity();

    for (const auto& number : kNumberLabels) {
        if (auto* edit = dynamic_cast<CFilterEdit*>(Item(number.first)))
            edit->SetNumeric(true, true);
    }
    for (int id : {IDC_PA_NO, IDC_VK_NO, IDC_POS}) {
        if (auto* edit = dynamic_cast<CFilterEdit*>(Item(id))) {
            edit->SetInteger(true);
            edit->SetMaxLength(id == IDC_POS ? 3 : 10);
        }
    }
    // No more than the production database's columns hold.
    const std::pair<int, const char*> customerFields[] = {
        {IDC_CUSTOMER, "customer"}, {IDC_TAG_NO, "tag_no"}, {IDC_REFERENCE, "reference"}};
    for (const auto& [id, column] : customerFields) {
        if (auto* edit = dynamic_cast<CFilterEdit*>(Item(id)))
            edit->SetMaxLength(static_cast<unsigned long>(CProductionDb::ColumnLength("customer_data", column)));
    }
    // A click into the lines of the customer places the caret, as in any text of several lines.
    if (auto* customer = dynamic_cast<CFilterEdit*>(Item(IDC_CUSTOMER)))
        customer->SetSelectAllOnFocus(false);
    return true;
}

// --- Control access ------------------------------------------------------------------------

wxWindow* CPageFluid::Item(int id) const
{
    return CDialogControls::FindItem(GetWindow(), id);
}

wxTextCtrl* CPageFluid::Edit(int id) const
{
    return dynamic_cast<wxTextCtrl*>(Item(id));
}

CDataComboBox* CPageFluid::Combo(int id) const
{
    return dynamic_cast<CDataComboBox*>(Item(id));
}

std::string CPageFluid::Text(int id) const
{
    const wxTextCtrl* edit = Edit(id);
    return edit ? edit->GetValue().utf8_string() : std::string();
}

double CPageFluid::Number(int id) const
{
    return ReadDecimalInput(Text(id));
}

double CPageFluid::StoredNumber(int id) const
{
    const std::string text = Text(id);
    return m_shownNumbers.Stored(id, text, ReadDecimalInput(text));
}

void CPageFluid::SetText(int id, const std::string& text)
{
    const wxString shown = wxString::FromUTF8(text);
    m_shownNumbers.Forget(id);
    if (wxTextCtrl* edit = Edit(id)) {
        edit->ChangeValue(shown);
    } else if (wxWindow* item = Item(id); item && item->GetLabel() != shown) {
        item->SetLabel(shown);
        // A label set now gets the room a text of the template gets.
        FitControls();
    }
}

void CPageFluid::SetNumber(int id, double value, int digits)
{
    SetText(id, DataFormat::Format(value, digits, false));
    if (Edit(id))
        m_shownNumbers.Show(id, value, digits);
}

int CPageFluid::Data(int id) const
{
    const CDataComboBox* combo = Combo(id);
    return combo ? combo->GetSelectedItemData() : -1;
}

bool CPageFluid::Select(int id, int data)
{
    CDataComboBox* combo = Combo(id);
    return combo && combo->SelectItemData(data);
}

void CPageFluid::SelectFirst(int id)
{
    CDataComboBox* combo = Combo(id);
    if (combo && combo->GetCount() > 0)
        combo->SetSelection(0);
}

void CPageFluid::ShowItem(int id, bool show)
{
    if (wxWindow* item = Item(id))
        item->Show(show);
}

void CPageFluid::EnableItem(int id, bool enable)
{
    if (wxWindow* item = Item(id))
        item->Enable(enable);
}

bool CPageFluid::IsCustomFluid() const
{
    return Data(IDC_MEDIUM) == FLUID_INDEX_CUSTOM;
}

// --- Lists ---------------------------------------------------------------------------------

void CPageFluid::FillList(int id, const CComboItems& items, bool selectDefaults, bool keepSelection,
                          int defaultData)
{
    CDataComboBox* combo = Combo(id);
    if (!combo)
        return;
    const int previous = combo->GetSelectedItemData();
    FillItemContainer(*combo, items);
    if (keepSelection && Select(id, previous))
        return;
    if (selectDefaults && !Select(id, defaultData))
        SelectFirst(id);
}

void CPageFluid::FillUnitList(int id, int type, int system, bool exact, bool selectDefaults, bool keepSelection,
                              int defaultData)
{
    CComboItems items;
    if (const CUnitManager* units = Units())
        units->FillUnitCombo(items, type, system, FALSE, Language(), exact);
    FillList(id, items, selectDefaults, keepSelection, defaultData);
}

void CPageFluid::FillCombos(bool selectDefaults, bool keepSelection, bool notify)
{
    static const CApplicationConfiguration defaults;
    const CApplicationConfiguration* configured = CApplicationConfiguration::GetInstance();
    const CApplicationConfiguration& config = configured ? *configured : defaults;
    const std::string language = Language();
    constexpr int kFirst = INT_MIN;  // no default: the first item
    m_fillingCombos = true;

    FillUnitList(IDC_TEMPERATURE_UNIT, UNIT_TEMPERATURE, 0, false, selectDefaults, keepSelection, config.temperature);
    FillUnitList(IDC_TEMPERATURE_CALC_UNIT, UNIT_TEMPERATURE, 0, false, selectDefaults, keepSelection, kFirst);
    CComboItems references;
    CUnitManager::FillPressureReferenceCombo(references, language);
    FillUnitList(IDC_PRESSURE_UNIT, UNIT_TYPE_PRESSURE, 0, false, selectDefaults, keepSelection, config.pressure);
    FillList(IDC_PRESSURE_REFERENCE, references, selectDefaults, keepSelection, config.pressure_reference);
    FillUnitList(IDC_PRESSURE_CALC_UNIT, UNIT_TYPE_PRESSURE, 0, false, selectDefaults, keepSelection, kFirst);
    FillList(IDC_PRESSURE_CALC_REFERENCE, references, selectDefaults, keepSelection, kFirst);

    // Density units of the three real systems only; the pseudo units are not offered here.
    CComboItems densities;
    if (const CUnitManager* units = Units()) {
        for (int system : {0, 1, 2})
            units->FillUnitCombo(densities, UNIT_TYPE_DENSITY, system, TRUE, language, TRUE);
    }
    FillList(IDC_DENSITY_UNIT, densities, selectDefaults, keepSelection, config.density);
    FillList(IDC_DENSITY_CALC_UNIT, densities, selectDefaults, keepSelection, kFirst);
    FillUnitList(IDC_VISCOSITY_UNIT, UNIT_VISCOSITY, 0, false, selectDefaults, keepSelection, config.viscosity);
    FillUnitList(IDC_VISCOSITY_CALC_UNIT, UNIT_VISCOSITY, 0, false, selectDefaults, keepSelection, kFirst);

    CComboItems flowReferences;
    CComboItems flowTypes;
    CUnitManager::FillFlowReferenceCombo(flowReferences, language);
    CUnitManager::FillFlowTypeCombo(flowTypes, language);
    FillList(IDC_FLOW_REFERENCE, flowReferences, selectDefaults, keepSelection, config.flow_reference);
    FillList(IDC_FLOW_TYPE, flowTypes, selectDefaults, keepSelection, config.flow_type);
    // A refill keeping the selections takes in user units added or removed since.
    if (notify || keepSelection)
        FillFlowUnits(false, keepSelection);
    FillList(IDC_FLOW_CALC_REFERENCE, flowReferences, selectDefaults, keepSelection, kFirst);
    FillList(IDC_FLOW_CALC_TYPE, flowTypes, selectDefaults, keepSelection, kFirst);
    if (notify || keepSelection)
        FillFlowUnits(true, keepSelection);

    FillUnitList(IDC_NORM_TEMPERATURE_UNIT, UNIT_TEMPERATURE, 0, false, selectDefaults, keepSelection, kFirst);
    FillUnitList(IDC_NORM_PRESSURE_UNIT, UNIT_TYPE_PRESSURE, 0, false, selectDefaults, keepSelection, kFirst);
    FillList(IDC_NORM_PRESSURE_REFERENCE, references, selectDefaults, keepSelection, kFirst);
    FillUnitList(IDC_NORM_DENSITY_UNIT, UNIT_TYPE_DENSITY, 0, false, selectDefaults, keepSelection, kFirst);

    CComboItems conditions;
    if (const CNormConditionManager* manager = CNormConditionManager::GetInstance())
        manager->FillComboBox(conditions, language);
    FillList(IDC_NORM_SYSTEM, conditions, selectDefaults, keepSelection, kFirst);
    if (notify)
        OnNormSystemChanged();

    const CComboItems modes = {{TranslateText("Pressure"), SATURATION_PRESSURE_GIVEN},
                               {TranslateText("Temperature"), SATURATION_TEMPERATURE_GIVEN}};
    FillList(IDC_SATURATION_MODE, modes, false, keepSelection, kFirst);

    CComboItems states;
    if (const CFluidManager* fluids = CFluidManager::GetInstance())
        fluids->FillStateCombo(states, language);
    FillList(IDC_STATE, states, selectDefaults, keepSelection, kFirst);
    if (notify)
        OnStateChanged(Data(IDC_STATE));
    m_fillingCombos = false;
}

// --- Load and store ------------------------------------------------------------------------

void CPageFluid::ClearEdits()
{
    m_shownNumbers.Clear();
    for (wxWindow* child : GetWindow()->GetChildren()) {
        if (auto* edit = dynamic_cast<wxTextCtrl*>(child))
            edit->ChangeValue(wxString());
    }
}

bool CPageFluid::OnEnterPage()
{
    if (!GetWindow())
        return false;
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    static const CApplicationConfiguration defaults;
    const CApplicationConfiguration& config = configuration ? *configuration : defaults;
    CPhysicalData& physical = Physical();

    ClearEdits();
    m_fillingCombos = true;
    m_loadingData = true;
    if (const CFluid* fluid = physical.Fluid.get()) {
        if (!Select(IDC_STATE, fluid->Type)) {
            m_fillingCombos = m_loadingData = false;
            return false;
        }
        OnStateChanged(fluid->Type);
        if (!Select(IDC_MEDIUM, fluid->DbIndex) && !fluid->HideInGui)
            Select(IDC_MEDIUM, FLUID_INDEX_CUSTOM);
        OnMediumChanged();
        SetText(IDC_FLUID_NAME, fluid->Name);
        if (const auto* humid = dynamic_cast<const CFluidWetGas*>(fluid))
            SetNumber(IDC_HUMIDITY, humid->RelativeHumidity, TEMPERATURE_DIGITS);
        if (const auto* mix = dynamic_cast<const CFluidGasMix*>(fluid)) {
            if (m_gasMixDialog)
                m_gasMixDialog->SetGasMixElements(mix->Elements);
        }
        if (const auto* steam = dynamic_cast<const CFluidSaturatedSteam*>(fluid)) {
            Select(IDC_SATURATION_MODE, steam->SaturationType);
            UpdateSaturationMode();
        }
    }

    if (Select(IDC_TEMPERATURE_UNIT, physical.Temperature.DbIndex) ||
        Select(IDC_TEMPERATURE_UNIT, config.temperature)) {
        SetNumber(IDC_TEMPERATURE_MIN, physical.TemperatureRange.MinRange, TEMPERATURE_DIGITS);
        SetNumber(IDC_TEMPERATURE_MAX, physical.TemperatureRange.MaxRange, TEMPERATURE_DIGITS);
        SetNumber(IDC_TEMPERATURE, physical.Temperature.Value, TEMPERATURE_DIGITS);
        UpdateConvertedValue(CONVERTED_TEMPERATURE);
    }
    if (Select(IDC_PRESSURE_UNIT, physical.Pressure.DbIndex) || Select(IDC_PRESSURE_UNIT, config.pressure)) {
        SetNumber(IDC_PRESSURE_MIN, physical.PressureRange.MinRange, VALUE_DIGITS);
        SetNumber(IDC_PRESSURE_MAX, physical.PressureRange.MaxRange, VALUE_DIGITS);
        SetNumber(IDC_PRESSURE, physical.Pressure.Value, VALUE_DIGITS);
    }
    if (!Select(IDC_PRESSURE_REFERENCE, physical.Pressure.Reference))
        Select(IDC_PRESSURE_REFERENCE, config.pressure_reference);
    UpdateConvertedValue(CONVERTED_PRESSURE);
    if (Select(IDC_DENSITY_UNIT, physical.Density.DbIndex) || Select(IDC_DENSITY_UNIT, config.density)) {
        SetNumber(IDC_DENSITY, physical.Density.Value, VALUE_DIGITS);
        UpdateConvertedValue(CONVERTED_DENSITY);
    }
    if (Select(IDC_VISCOSITY_UNIT, physical.Viscosity.DbIndex) || Select(IDC_VISCOSITY_UNIT, config.viscosity)) {
        SetNumber(IDC_VISCOSITY, physical.Viscosity.Value, VALUE_DIGITS);
        UpdateConvertedValue(CONVERTED_VISCOSITY);
    }
    SetNumber(IDC_COMPRESSIBILITY, physical.CompressibilityFactor, TEMPERATURE_DIGITS);

    if (Select(IDC_FLOW_REFERENCE, physical.Flow.Reference) || Select(IDC_FLOW_REFERENCE, config.flow_reference))
        OnFlowReferenceChanged();
    if (Select(IDC_FLOW_TYPE, physical.Flow.Type) || Select(IDC_FLOW_TYPE, config.flow_type))
        FillFlowUnits(false);
    if (Select(IDC_QMAX_UNIT, physical.Flow.DbIndex) || Select(IDC_QMAX_UNIT, config.flow)) {
        SetNumber(IDC_QMAX, physical.Flow.Value, VALUE_DIGITS);
        UpdateConvertedFlow();
    }

    const CNormFlowCondition& norm = physical.NormFlowConditions;
    if (Select(IDC_NORM_TEMPERATURE_UNIT, norm.Temperature.DbIndex))
        SetNumber(IDC_NORM_TEMPERATURE, norm.Temperature.Value, TEMPERATURE_DIGITS);
    else
        SelectFirst(IDC_NORM_TEMPERATURE_UNIT);
    if (Select(IDC_NORM_PRESSURE_UNIT, norm.Pressure.DbIndex)) {
        SetNumber(IDC_NORM_PRESSURE, norm.Pressure.Value, VALUE_DIGITS);
        Select(IDC_NORM_PRESSURE_REFERENCE, norm.Pressure.Reference);
    } else {
        SelectFirst(IDC_NORM_PRESSURE_UNIT);
    }
    if (Select(IDC_NORM_DENSITY_UNIT, norm.Density.DbIndex))
        SetNumber(IDC_NORM_DENSITY, norm.Density.Value, VALUE_DIGITS);
    else
        SelectFirst(IDC_NORM_DENSITY_UNIT);
    if (!Select(IDC_NORM_SYSTEM, norm.Id))
        Select(IDC_NORM_SYSTEM, NORM_CONDITION_CUSTOM);
    OnNormSystemChanged();
    UpdateConvertedFlow();
    m_fillingCombos = m_loadingData = false;

    const CCustomerData& customer = CProjectData::GetInstance()->customer;
    SetText(IDC_CUSTOMER, customer.customer);
    SetText(IDC_TAG_NO, customer.tag_no);
    SetText(IDC_REFERENCE, customer.reference);
    // An order number of 0 is no number.
    const auto key = [](int number) { return number == 0 ? std::string() : std::to_string(number); };
    SetText(IDC_PA_NO, key(customer.pa));
    SetText(IDC_VK_NO, key(customer.vk));
    SetText(IDC_POS, key(customer.pos));
    MarkRefusedDensity();
    ApplyViscosityColour();
    return true;
}

void CPageFluid::StoreUnitValue(int unitId, int valueId, int reference, const CUnitValue& current,
                                CUnitValue& target) const
{
    CUnit unit;
    const int dbIndex = Data(unitId);
    if (!KnownUnit(dbIndex, unit)) {
        target.DbIndex = dbIndex;
        return;
    }
    static_cast<CUnit&>(target) = unit;
    target.Value = StoredNumber(valueId);
    ConvertToBaseUnit(target.BaseValue, target.Value, unit, reference);
    // The project's value as it stands, in the same unit and reference, is kept as it is: its
    // base and unit record too, whatever a conversion of today would make of them.
    if (target.Value == current.Value && target.DbIndex == current.DbIndex && target.Reference == current.Reference)
        target = current;
}

bool CPageFluid::StoreInto(CPhysicalData& physical, CCustomerData& customer)
{
    const int type = Data(IDC_STATE);
    physical.Fluid = CreateFluid(type);
    if (CFluid* fluid = physical.Fluid.get()) {
        fluid->Type = type;
        const CFluidManager* fluids = CFluidManager::GetInstance();
        if (type == FLUID_TYPE_LIQUID || type == FLUID_TYPE_GAS || type == FLUID_TYPE_WET_GAS) {
            fluid->DbIndex = Data(IDC_MEDIUM);
            if (fluid->DbIndex != FLUID_INDEX_CUSTOM && !(fluids && fluids->GetFluidById(fluid, fluid->DbIndex))) {
                QUILLET_POS(m_log);
                m_log.Error("Fluid %d not in the fluid list", fluid->DbIndex);
                return false;
            }
        } else if (type == FLUID_TYPE_SUPERHEATED_STEAM && fluids) {
            fluids->GetFluidById(fluid, FLUID_INDEX_WATER_VAPOUR);
        }
        // Only a name the user could type is stored; a database fluid is named by its index,
        // in the language of whoever reads the project.
        const wxWindow* name = Item(IDC_FLUID_NAME);
        if (name && name->IsShown())
            fluid->Name = Text(IDC_FLUID_NAME);
        else
            fluid->Name.clear();
        if (auto* humid = dynamic_cast<CFluidWetGas*>(fluid))
            humid->RelativeHumidity = StoredNumber(IDC_HUMIDITY);
        if (auto* mix = dynamic_cast<CFluidGasMix*>(fluid)) {
            if (m_gasMixDialog)
                m_gasMixDialog->GetGasMixElements(mix->Elements);
        }
        if (auto* steam = dynamic_cast<CFluidSaturatedSteam*>(fluid))
            steam->SaturationType = Data(IDC_SATURATION_MODE);
    }

    CUnit unit;
    if (KnownUnit(Data(IDC_TEMPERATURE_UNIT), unit)) {
        physical.TemperatureRange.MinRange = StoredNumber(IDC_TEMPERATURE_MIN);
        physical.TemperatureRange.MaxRange = StoredNumber(IDC_TEMPERATURE_MAX);
    }
    const CPhysicalData& current = Physical();
    StoreUnitValue(IDC_TEMPERATURE_UNIT, IDC_TEMPERATURE, 0, current.Temperature, physical.Temperature);
    if (KnownUnit(Data(IDC_PRESSURE_UNIT), unit)) {
        physical.PressureRange.MinRange = StoredNumber(IDC_PRESSURE_MIN);
        physical.PressureRange.MaxRange = StoredNumber(IDC_PRESSURE_MAX);
        physical.Pressure.Reference = Data(IDC_PRESSURE_REFERENCE);
    }
    StoreUnitValue(IDC_PRESSURE_UNIT, IDC_PRESSURE, Data(IDC_PRESSURE_REFERENCE), current.Pressure, physical.Pressure);
    StoreUnitValue(IDC_DENSITY_UNIT, IDC_DENSITY, 0, current.Density, physical.Density);
    StoreUnitValue(IDC_VISCOSITY_UNIT, IDC_VISCOSITY, 0, current.Viscosity, physical.Viscosity);
    physical.CompressibilityFactor = StoredNumber(IDC_COMPRESSIBILITY);
    if (KnownUnit(Data(IDC_QMAX_UNIT), unit))
        physical.Flow.Reference = Data(IDC_FLOW_REFERENCE);
    StoreUnitValue(IDC_QMAX_UNIT, IDC_QMAX, 0, current.Flow, physical.Flow);

    CNormFlowCondition& norm = physical.NormFlowConditions;
    norm.Id = Data(IDC_NORM_SYSTEM);
    const CDataComboBox* system = Combo(IDC_NORM_SYSTEM);
    norm.Name = system ? system->GetValue().utf8_string() : std::string();
    const CNormFlowCondition& currentNorm = current.NormFlowConditions;
    StoreUnitValue(IDC_NORM_TEMPERATURE_UNIT, IDC_NORM_TEMPERATURE, 0, currentNorm.Temperature, norm.Temperature);
    norm.Pressure.Reference = Data(IDC_NORM_PRESSURE_REFERENCE);
    StoreUnitValue(IDC_NORM_PRESSURE_UNIT, IDC_NORM_PRESSURE, norm.Pressure.Reference, currentNorm.Pressure,
                   norm.Pressure);
    StoreUnitValue(IDC_NORM_DENSITY_UNIT, IDC_NORM_DENSITY, 0, currentNorm.Density, norm.Density);

    customer.customer = Text(IDC_CUSTOMER);
    customer.tag_no = Text(IDC_TAG_NO);
    customer.reference = Text(IDC_REFERENCE);
    int position = 0;
    if (!ReadIntInput(Text(IDC_PA_NO), customer.pa) || !ReadIntInput(Text(IDC_VK_NO), customer.vk) ||
        !ReadIntInput(Text(IDC_POS), position)) {
        QUILLET_POS(m_log);
        m_log.Warn("Order number out of range; the page is not stored");
        return false;
    }
    customer.pos = static_cast<std::int16_t>(position);
    return true;
}

bool CPageFluid::OnLeavePage()
{
    // Whoever leaves the page (another page, saving the project) learns why an order number
    // stops it; the recalculations on the page store without asking.
    return CheckOrderNumbers() && Store();
}

bool CPageFluid::Store()
{
    if (!GetWindow())
        return false;
    // Built aside and taken over only when complete, so a failure leaves the project as it was.
    CPhysicalData physical;
    CCustomerData customer;
    if (!StoreInto(physical, customer) || !physical.CopyTo(Physical()))
        return false;
    CProjectData::GetInstance()->customer = customer;
    return true;
}

bool CPageFluid::CheckOrderNumbers()
{
    for (int id : {IDC_PA_NO, IDC_VK_NO}) {
        int number = 0;
        if (ReadIntInput(Text(id), number))
            continue;
        return CheckValueRange(FieldName(Item(id == IDC_PA_NO ? IDC_PA_NO_LBL : IDC_VK_NO_LBL)),
                               ReadDecimalInput(Text(id)), INT_MIN, INT_MAX, 0, Item(id));
    }
    return true;
}

bool CPageFluid::CanLeavePage(int* reason)
{
    if (reason)
        *reason = 0;
    wxWindow* window = GetWindow();
    if (!window)
        return true;
    // A hidden page may always be left, with what its fields hold stored.
    if (!window->IsShown()) {
        Store();
        return true;
    }
    // What leaving the field being edited would do happens now, before the page is stored;
    // its steam check is the one below. Taking the focus away instead would run it again later.
    const wxWindow* focus = wxWindow::FindFocus();
    for (int id : kFocusHandled) {
        if (focus && focus == Item(id))
            OnFieldLeft(id, false);
    }
    if (!OnLeavePage())
        return false;
    if (!CheckNumbersConvert() || !CheckPressure(true))
        return false;
    const CPhysicalData& physical = Physical();
    if (physical.Fluid && physical.Fluid->Type == FLUID_TYPE_SUPERHEATED_STEAM)
        return CheckSteam();
    if (physical.Flow.Reference == REFERENCE_NORM && physical.NormFlowConditions.Density.BaseValue <= 0.0) {
        ShowMessageBox(window, "Please specify a value for norm density!", "Data incomplete",
                       wxOK | wxICON_WARNING);
        return false;
    }
    return true;
}

// --- Fluid Type ----------------------------------------------------------------------------

void CPageFluid::ShowStateControls(int type, bool show)
{
    struct SRow {
        bool name, medium, humidity, saturation, gasMix, compressibility, densityEditable, references,
            referencesEnabled;
    };
    const bool custom = IsCustomFluid();
    SRow row{false, false, false, false, false, false, custom, true, true};
    switch (type) {
    case FLUID_TYPE_LIQUID:
        row = {custom, true, false, false, false, false, custom, false, true};
        break;
    case FLUID_TYPE_GAS:
        row = {custom, true, false, false, false, custom, custom, true, true};
        break;
    case FLUID_TYPE_WET_GAS:
        row = {custom, true, true, false, false, false, custom, true, true};
        break;
    case FLUID_TYPE_GAS_MIX:
        row = {custom, true, false, false, custom, false, false, true, true};
        break;
    case FLUID_TYPE_SATURATED_STEAM:
        row = {false, false, false, true, false, false, false, true, false};
        break;
    case FLUID_TYPE_SUPERHEATED_STEAM:
        row = {false, false, false, false, false, false, false, true, false};
        break;
    }
    if (!show)
        row = {false, false, false, false, false, false, false, false, true};
    ShowItem(IDC_FLUID_NAME, row.name);
    ShowItem(IDC_FLUID_NAME_LBL, row.name);
    ShowItem(IDC_MEDIUM, row.medium);
    ShowItem(IDC_MEDIUM_LBL, row.medium);
    ShowItem(IDC_HUMIDITY, row.humidity);
    ShowItem(IDC_HUMIDITY_LBL, row.humidity);
    ShowItem(IDC_SATURATION_MODE, row.saturation);
    ShowItem(IDC_SATURATION_MODE_LBL, row.saturation);
    ShowItem(IDC_GAS_MIX, row.gasMix);
    for (int id : {IDC_COMPRESSIBILITY, IDC_COMPRESSIBILITY_LBL, IDC_CONVERT_TO_NORM, IDC_CONVERT_TO_OPERATIONAL})
        ShowItem(id, row.compressibility);
    if (wxTextCtrl* density = Edit(IDC_DENSITY))
        density->SetEditable(row.densityEditable);
    EnableItem(IDC_DENSITY_UNIT, row.densityEditable);
    for (int id : {IDC_FLOW_REFERENCE, IDC_FLOW_CALC_REFERENCE}) {
        ShowItem(id, row.references);
        EnableItem(id, row.referencesEnabled);
    }
}

void CPageFluid::OnStateChanged(int type)
{
    if (type == m_typeShown)
        return;
    const int previous = m_typeShown;
    m_typeShown = type;
    FillMediumList(type);
    ShowStateControls(previous, false);
    ShowStateControls(type, true);
    RecalcDensity();
    RecalcNormDensity();
    CalculateViscosity();
}

void CPageFluid::ResetFlowReference(int referenceId, int typeId, int unitId)
{
    Select(referenceId, REFERENCE_OPERATIONAL);
    FillUnitList(unitId, Data(typeId) == FLOW_TYPE_VOLUME ? UNIT_TYPE_VOLUME_FLOW : UNIT_TYPE_MASS_FLOW, 0, false, false,
                 false, INT_MIN);
    SelectFirst(unitId);
}

void CPageFluid::FillMediumList(int type)
{
    CComboItems items;
    CFluidManager* fluids = CFluidManager::GetInstance();
    const std::string language = Language();
    const auto fill = [&](int fluidType, bool append, bool custom) {
        if (fluids)
            fluids->FillFluidCombo(items, fluidType, append, language, custom);
    };
    bool resetReferences = false;
    switch (type) {
    case FLUID_TYPE_LIQUID:
        fill(FLUID_TYPE_LIQUID, false, true);
        if (Data(IDC_FLOW_REFERENCE) == REFERENCE_NORM)
            ResetFlowReference(IDC_FLOW_REFERENCE, IDC_FLOW_TYPE, IDC_QMAX_UNIT);
        if (Data(IDC_FLOW_CALC_REFERENCE) == REFERENCE_NORM)
            ResetFlowReference(IDC_FLOW_CALC_REFERENCE, IDC_FLOW_CALC_TYPE, IDC_FLOW_CALC_UNIT);
        break;
    case FLUID_TYPE_GAS:
    case FLUID_TYPE_GAS_MIX:
        fill(type, false, true);
        break;
    case FLUID_TYPE_WET_GAS:
        fill(FLUID_TYPE_WET_GAS, false, false);
        fill(FLUID_TYPE_GAS, true, true);
        break;
    case FLUID_TYPE_SATURATED_STEAM:
        SelectFirst(IDC_SATURATION_MODE);
        resetReferences = true;
        break;
    case FLUID_TYPE_SUPERHEATED_STEAM:
        fill(FLUID_TYPE_GAS, false, true);
        resetReferences = true;
        break;
    }
    if (CDataComboBox* medium = Combo(IDC_MEDIUM))
        FillItemContainer(*medium, items);
    if (resetReferences) {
        ResetFlowReference(IDC_FLOW_REFERENCE, IDC_FLOW_TYPE, IDC_QMAX_UNIT);
        ResetFlowReference(IDC_FLOW_CALC_REFERENCE, IDC_FLOW_CALC_TYPE, IDC_FLOW_CALC_UNIT);
    }
    SelectFirst(IDC_MEDIUM);
    UpdateSaturationMode();
}

void CPageFluid::UpdateSaturationMode()
{
    const int mode = m_typeShown == FLUID_TYPE_SATURATED_STEAM ? Data(IDC_SATURATION_MODE) : SATURATION_NONE;
    const bool temperatureGiven = mode != SATURATION_PRESSURE_GIVEN;
    const bool pressureGiven = mode != SATURATION_TEMPERATURE_GIVEN;
    // The other value follows from the saturation line.
    if (!temperatureGiven)
        SetText(IDC_TEMPERATURE, std::string());
    if (!pressureGiven)
        SetText(IDC_PRESSURE, std::string());
    for (int id : {IDC_TEMPERATURE, IDC_TEMPERATURE_UNIT})
        EnableItem(id, temperatureGiven);
    for (int id : {IDC_PRESSURE, IDC_PRESSURE_UNIT, IDC_PRESSURE_REFERENCE})
        EnableItem(id, pressureGiven);
    if (m_typeShown == FLUID_TYPE_SATURATED_STEAM) {
        RecalcDensity();
        RecalcNormDensity();
    }
}

void CPageFluid::OnMediumChanged()
{
    SetText(IDC_NORM_DENSITY, std::string());
    ShowStateControls(m_typeShown, true);
    UpdateNormEnable(m_normIdShown);
    RecalcDensity();
    RecalcNormDensity();
    CalculateViscosity();
}

// --- Converted values ----------------------------------------------------------------------

void CPageFluid::UpdateConvertedValue(EConverted row)
{
    struct SRow {
        int sourceUnit, sourceQualifier, source, targetUnit, targetQualifier, output;
    };
    // A qualifier id of 0 means none; IDC_STATE stands for the fluid Type.
    static const SRow rows[] = {
        {IDC_TEMPERATURE_UNIT, 0, IDC_TEMPERATURE, IDC_TEMPERATURE_CALC_UNIT, 0, IDC_TEMPERATURE_CALC},
        {IDC_PRESSURE_UNIT, IDC_PRESSURE_REFERENCE, IDC_PRESSURE, IDC_PRESSURE_CALC_UNIT,
         IDC_PRESSURE_CALC_REFERENCE, IDC_PRESSURE_CALC},
        {IDC_DENSITY_UNIT, IDC_STATE, IDC_DENSITY, IDC_DENSITY_CALC_UNIT, IDC_STATE, IDC_DENSITY_CALC},
        {IDC_VISCOSITY_UNIT, 0, IDC_VISCOSITY, IDC_VISCOSITY_CALC_UNIT, 0, IDC_VISCOSITY_CALC},
    };
    const SRow& r = rows[row];
    CUnit source;
    CUnit target;
    // A unit not known yet is one of lists being filled: the text shown stays until they are.
    if (!KnownUnit(Data(r.sourceUnit), source) || !KnownUnit(Data(r.targetUnit), target))
        return;
    double base = 0.0;
    double value = 0.0;
    // A number that does not convert has no converted value; an old figure would pass for one.
    if (!ConvertToBaseUnit(base, Number(r.source), source, r.sourceQualifier ? Data(r.sourceQualifier) : 0) ||
        !ConvertFromBaseUnit(value, base, target, r.targetQualifier ? Data(r.targetQualifier) : 0)) {
        SetText(r.output, TranslateText("n.a."));
        return;
    }
    SetNumber(r.output, value, VALUE_DIGITS);
}

void CPageFluid::UpdateConvertedFlow()
{
    bool converts = true;
    SetText(IDC_QMAX_CALC, ConvertedFlowText(converts));
}

std::string CPageFluid::ConvertedFlowText(bool& converts) const
{
    converts = true;
    const CUnitManager* units = Units();
    const int type = Data(IDC_STATE);
    double density = 0.0;
    if (!units || !units->ConvertToBase(density, Number(IDC_DENSITY), Data(IDC_DENSITY_UNIT), type) ||
        density == 0.0)
        return TranslateText("no density");
    double flow = 0.0;
    if (!units->ConvertUnit(Number(IDC_QMAX), flow, Data(IDC_QMAX_UNIT), Data(IDC_FLOW_CALC_UNIT), density)) {
        converts = false;
        return TranslateText("n.a.");
    }
    const int from = Data(IDC_FLOW_REFERENCE);
    const int to = Data(IDC_FLOW_CALC_REFERENCE);
    if (from == to)
        return DataFormat::Format(flow, VALUE_DIGITS, false);
    double normDensity = 0.0;
    if (!units->ConvertToBase(normDensity, Number(IDC_NORM_DENSITY), Data(IDC_NORM_DENSITY_UNIT), type) ||
        normDensity == 0.0)
        return TranslateText("no norm. dens.");
    double converted = 0.0;
    if (!ConvertFlowReference(flow, converted, from, to, density, normDensity))
        return TranslateText("error");
    return DataFormat::Format(converted, VALUE_DIGITS, false);
}

void CPageFluid::FillFlowUnits(bool converted, bool keepSelection)
{
    const int typeId = converted ? IDC_FLOW_CALC_TYPE : IDC_FLOW_TYPE;
    const int referenceId = converted ? IDC_FLOW_CALC_REFERENCE : IDC_FLOW_REFERENCE;
    const int listId = converted ? IDC_FLOW_CALC_UNIT : IDC_QMAX_UNIT;
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    FillUnitList(listId, Data(typeId) == FLOW_TYPE_VOLUME ? UNIT_TYPE_VOLUME_FLOW : UNIT_TYPE_MASS_FLOW,
                 Data(referenceId) == REFERENCE_NORM ? SYSTEM_NORM : SYSTEM_OPERATIONAL, true, true, keepSelection,
                 configuration ? configuration->flow : INT_MIN);
    UpdateConvertedFlow();
}

void CPageFluid::OnFlowReferenceChanged()
{
    const bool norm = Data(IDC_FLOW_REFERENCE) == REFERENCE_NORM;
    EnableItem(IDC_NORM_SYSTEM, norm);
    EnableNormControls(norm && Data(IDC_NORM_SYSTEM) == NORM_CONDITION_CUSTOM, norm && IsCustomFluid());
    FillFlowUnits(false);
}

// --- Norm condition ------------------------------------------------------------------------

void CPageFluid::OnNormSystemChanged()
{
    const int id = Data(IDC_NORM_SYSTEM);
    const CNormFlowCondition& own = Physical().NormFlowConditions;
    CNormFlowCondition condition;
    const CNormConditionManager* manager = CNormConditionManager::GetInstance();
    // Custom values of the project survive choosing "Custom" again.
    if (!manager || !manager->GetCondition(id, condition) ||
        (id == NORM_CONDITION_CUSTOM && own.Id == NORM_CONDITION_CUSTOM))
        condition = own;
    ShowNormCondition(condition);
}

void CPageFluid::ShowNormCondition(const CNormFlowCondition& condition)
{
    if (condition.Id == m_normIdShown && condition.Id != NORM_CONDITION_CUSTOM)
        return;
    m_normIdShown = condition.Id;
    UpdateNormEnable(condition.Id);
    FillNormControls(condition);
}

void CPageFluid::FillNormControls(const CNormFlowCondition& condition)
{
    const bool custom = condition.Id == NORM_CONDITION_CUSTOM;
    const auto unitOr = [custom](int dbIndex, int fallback) { return custom && dbIndex == -1 ? fallback : dbIndex; };
    // A condition without a unit (the listed ones have no density) keeps the unit shown, so
    // the value typed next is stored with it.
    const auto selectUnit = [this](int id, int dbIndex) {
        CDataComboBox* combo = Combo(id);
        for (unsigned i = 0; combo && i < combo->GetCount(); ++i) {
            if (combo->GetItemData(i) == dbIndex) {
                combo->SetSelection(static_cast<int>(i));
                return;
            }
        }
    };
    selectUnit(IDC_NORM_TEMPERATURE_UNIT, unitOr(condition.Temperature.DbIndex, UNIT_DEGREES_CELSIUS));
    SetNumber(IDC_NORM_TEMPERATURE, condition.Temperature.Value, TEMPERATURE_DIGITS);
    selectUnit(IDC_NORM_PRESSURE_UNIT, unitOr(condition.Pressure.DbIndex, UNIT_BAR));
    SetNumber(IDC_NORM_PRESSURE, condition.Pressure.Value, VALUE_DIGITS);
    Select(IDC_NORM_PRESSURE_REFERENCE,
           custom && condition.Pressure.Reference == 0 ? REFERENCE_ABSOLUTE : condition.Pressure.Reference);
    if (IsCustomFluid()) {
        selectUnit(IDC_NORM_DENSITY_UNIT, unitOr(condition.Density.DbIndex, UNIT_KG_PER_M3));
        SetNumber(IDC_NORM_DENSITY, condition.Density.Value, VALUE_DIGITS);
        UpdateConvertedFlow();
    } else {
        RecalcNormDensity();
    }
}

void CPageFluid::UpdateNormEnable(int conditionId)
{
    EnableNormControls(conditionId == NORM_CONDITION_CUSTOM, IsCustomFluid());
}

void CPageFluid::EnableNormControls(bool conditionValues, bool density)
{
    for (int id : {IDC_NORM_TEMPERATURE, IDC_NORM_TEMPERATURE_UNIT, IDC_NORM_PRESSURE, IDC_NORM_PRESSURE_UNIT,
                   IDC_NORM_PRESSURE_REFERENCE})
        EnableItem(id, conditionValues);
    EnableItem(IDC_NORM_DENSITY, density);
    EnableItem(IDC_NORM_DENSITY_UNIT, density);
}

// --- Derived values ------------------------------------------------------------------------

void CPageFluid::RecalcDensity()
{
    if (Loading() || !Store())
        return;
    CPhysicalData& physical = Physical();
    const double before = physical.Density.BaseValue;
    // A refused state has no density: the one of the state before must not be sized with.
    if (!IsCalculationOk(CalculateDensity(physical)))
        physical.Density.Value = 0.0;
    const int type = physical.Fluid ? physical.Fluid->Type : 0;
    ConvertToBaseUnit(physical.Density.BaseValue, physical.Density.Value, physical.Density, type);
    if (std::fabs(physical.Density.BaseValue - before) > RECALC_THRESHOLD) {
        OnEnterPage();
        UpdateConvertedValue(CONVERTED_DENSITY);
        UpdateConvertedFlow();
    }
    MarkRefusedDensity();
}

void CPageFluid::RecalcNormDensity()
{
    if (Loading() || !Store())
        return;
    CPhysicalData& physical = Physical();
    CNormFlowCondition& norm = physical.NormFlowConditions;
    const double before = norm.Density.BaseValue;
    CPhysicalData scratch;
    physical.CopyTo(scratch);
    scratch.Temperature = norm.Temperature;
    scratch.Pressure = norm.Pressure;
    scratch.Density = norm.Density;
    CalculateDensity(scratch);
    norm.Density = scratch.Density;
    ConvertToBaseUnit(norm.Density.BaseValue, norm.Density.Value, norm.Density, 0);
    if (std::fabs(norm.Density.BaseValue - before) > RECALC_THRESHOLD) {
        OnEnterPage();
        UpdateConvertedFlow();
    }
}

void CPageFluid::CalculateViscosity()
{
    if (Loading())
        return;
    m_viscosityState = VISCOSITY_TYPED;
    const CUnitManager* units = Units();
    double temperatureBase = 0.0;
    double temperature = 0.0;
    double pressure = 0.0;
    if (units && units->ConvertToBase(temperatureBase, Number(IDC_TEMPERATURE), Data(IDC_TEMPERATURE_UNIT), 0) &&
        units->ConvertFromBase(temperature, temperatureBase, UNIT_DEGREES_CELSIUS, 0) &&
        units->ConvertToBase(pressure, Number(IDC_PRESSURE), Data(IDC_PRESSURE_UNIT), Data(IDC_PRESSURE_REFERENCE))) {
        int edge = 0;
        const double viscosity =
            CalculateFluidViscosity(Data(IDC_STATE), Data(IDC_MEDIUM), pressure, temperature, edge);
        double value = 0.0;
        CUnit unit;
        if (viscosity >= 0.0 && KnownUnit(Data(IDC_VISCOSITY_UNIT), unit) &&
            ConvertFromBaseUnit(value, viscosity, unit, 0)) {
            // Unit, value and base together: a store that keeps the unchanged value keeps them all.
            CUnitValue& stored = Physical().Viscosity;
            static_cast<CUnit&>(stored) = unit;
            stored.Value = value;
            ConvertToBaseUnit(stored.BaseValue, value, unit, 0);
            SetNumber(IDC_VISCOSITY, value, VALUE_DIGITS);
            m_viscosityState = edge ? VISCOSITY_TABLE_EDGE : VISCOSITY_COMPUTED;
            UpdateConvertedValue(CONVERTED_VISCOSITY);
        }
    }
    ApplyViscosityColour();
}

wxColour CPageFluid::ViscosityColour(int state)
{
    switch (state) {
    case VISCOSITY_COMPUTED:
        return wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    case VISCOSITY_TABLE_EDGE:
        return wxColour(217, 220, 0);
    default:
        return wxColour(255, 0, 0);
    }
}

void CPageFluid::ApplyViscosityColour()
{
    if (wxWindow* edit = Item(IDC_VISCOSITY)) {
        edit->SetForegroundColour(ViscosityColour(m_viscosityState));
        edit->Refresh();
    }
}

bool CPageFluid::CheckSteam()
{
    const CPhysicalData& physical = Physical();
    if (!physical.Fluid || physical.Fluid->Type != FLUID_TYPE_SUPERHEATED_STEAM)
        return true;
    const double saturation = SaturationTemperature(physical);
    // Steam exactly at the saturation temperature still counts as steam. A pressure off the
    // saturation line has no saturation temperature, so no steam state there is accepted.
    if (!std::isnan(saturation) && saturation <= physical.Temperature.Value)
        return true;
    ShowMessageBox(GetWindow(), SaturationText(physical, saturation), "Fluid is not steam", wxOK | wxICON_WARNING);
    return false;
}

bool CPageFluid::CheckDensity()
{
    const CalcResult code = DensityResult();
    if (IsCalculationOk(code))
        return true;
    const CPhysicalData& physical = Physical();
    // The density's tip says so; a box would interrupt the entry of the mix.
    if (IsGasMixWithoutComposition(physical))
        return false;
    const CFluid* fluid = physical.Fluid.get();
    if (fluid && fluid->Type == FLUID_TYPE_LIQUID && fluid->DbIndex == FLUID_INDEX_WATER &&
        IsLiquidWaterBoiling(physical.Temperature.BaseValue, physical.Pressure.BaseValue)) {
        ShowMessageBox(GetWindow(),
                       SaturationText(physical, SaturationTemperature(physical)) + "\n\n" + DensityResultText(code),
                       "Fluid is not liquid", wxOK | wxICON_WARNING);
    } else {
        ShowMessageBox(GetWindow(), DensityResultText(code), "Density not calculated", wxOK | wxICON_WARNING);
    }
    return false;
}

void CPageFluid::MarkRefusedDensity()
{
    wxWindow* density = Item(IDC_DENSITY);
    if (!density)
        return;
    const CalcResult code = DensityResult();
    if (IsCalculationOk(code)) {
        density->UnsetToolTip();
        return;
    }
    density->SetToolTip(wxString::FromUTF8(IsGasMixWithoutComposition(Physical()) ? TranslateText(kNoComposition)
                                                                                : DensityResultText(code)));
    // A refused recalculation left no density: none is shown rather than a 0 that looks
    // computed. A project loaded as stored keeps its number, marked by the tip, until the state
    // changes.
    if (Physical().Density.Value == 0.0) {
        SetText(IDC_DENSITY, std::string());
        SetText(IDC_DENSITY_CALC, std::string());
        UpdateConvertedFlow();
    }
}

bool CPageFluid::CheckPressure(bool focusField)
{
    const CUnitValue& pressure = Physical().Pressure;
    CUnit unit;
    double lowest = 0.0;
    // A pressure the saturation line gives is not the user's. 0 absolute is no pressure either:
    // nothing flows in a vacuum.
    const wxWindow* edit = Item(IDC_PRESSURE);
    if (!(pressure.BaseValue <= 0.0) || (edit && !edit->IsEnabled()) || !KnownUnit(pressure.DbIndex, unit) ||
        !ConvertFromBaseUnit(lowest, 0.0, unit, pressure.Reference))
        return true;
    ShowValueRangeMessage(FieldName(Item(IDC_PRESSURE_LBL)), lowest, HUGE_VAL, VALUE_DIGITS,
                          focusField ? Item(IDC_PRESSURE) : nullptr);
    return false;
}

void CPageFluid::ExplainRefusedState(int id)
{
    // The first message names the first cause: a number that is none, a pressure that is none,
    // then steam below its saturation line (which is refused a density too), then the density.
    if (Store() && CheckNumberConverts(id, false) && CheckPressure(false) && CheckSteam())
        CheckDensity();
}

bool CPageFluid::CheckNumberConverts(int id, bool focusField)
{
    const auto field = std::find_if(std::begin(kNumberLabels), std::end(kNumberLabels),
                                    [id](const std::pair<int, int>& entry) { return entry.first == id; });
    wxWindow* edit = Item(id);
    if (field == std::end(kNumberLabels) || !edit || !edit->IsShown())
        return true;
    // A flow the converted column shows as "n.a." cannot be converted either.
    bool converts = true;
    if (id == IDC_QMAX)
        ConvertedFlowText(converts);
    if (std::isfinite(Number(id)) && converts)
        return true;
    ShowMessageBox(GetWindow(),
                   FillText(TranslateText("The value of '%s' is too large to be converted."),
                            {FieldName(Item(field->second))}),
                   "Invalid input", wxOK | wxICON_WARNING);
    if (focusField)
        edit->SetFocus();
    return false;
}

bool CPageFluid::CheckNumbersConvert()
{
    for (const auto& [id, label] : kNumberLabels) {
        if (!CheckNumberConverts(id, true))
            return false;
    }
    return true;
}

std::string CPageFluid::MissingFluidData()
{
    return IsGasMixWithoutComposition(Physical()) ? TranslateText(kNoComposition) : std::string();
}

bool CPageFluid::ShowsFlow() const
{
    return !Text(IDC_QMAX).empty();
}

// --- Buttons -------------------------------------------------------------------------------

void CPageFluid::OnConvertToNorm()
{
    if (!Store())
        return;
    CPhysicalData& physical = Physical();
    CNormFlowCondition& norm = physical.NormFlowConditions;
    double normTemperature = DEFAULT_NORM_TEMPERATURE;
    double normPressure = DEFAULT_NORM_PRESSURE;
    NormState(norm, normTemperature, normPressure);
    const double base = ConvertDensityOperatingToNorm(physical.Density.BaseValue, physical.Pressure.BaseValue,
                                                      physical.Temperature.BaseValue,
                                                      physical.CompressibilityFactor, normTemperature, normPressure);
    norm.Density.BaseValue = base;
    ConvertFromBaseUnit(norm.Density.Value, base, norm.Density, physical.Fluid ? physical.Fluid->State : 0);
    OnEnterPage();
}

void CPageFluid::OnConvertToOperational()
{
    if (!Store())
        return;
    CPhysicalData& physical = Physical();
    const CNormFlowCondition& norm = physical.NormFlowConditions;
    double normTemperature = DEFAULT_NORM_TEMPERATURE;
    double normPressure = DEFAULT_NORM_PRESSURE;
    NormState(norm, normTemperature, normPressure);
    const double base = ConvertDensityNormToOperating(norm.Density.BaseValue, physical.Pressure.BaseValue,
                                                      physical.Temperature.BaseValue,
                                                      physical.CompressibilityFactor, normTemperature, normPressure);
    physical.Density.BaseValue = base;
    ConvertFromBaseUnit(physical.Density.Value, base, physical.Density, physical.Fluid ? physical.Fluid->State : 0);
    OnEnterPage();
}

void CPageFluid::OnGasMix()
{
    if (!m_gasMixDialog)
        return;
    if (!m_gasMixWindowTried) {
        m_gasMixWindowTried = true;
        if (!m_gasMixDialog->CreateTemplate()) {
            QUILLET_POS(m_log);
            m_log.Error("Gas-mix dialog not created");
        }
    }
    if (m_gasMixDialog->DoModal() != wxID_OK)
        return;
    // The project's mixture as it stands leaves its densities as they are, whoever computed them.
    std::vector<GasMixElement> mixture;
    m_gasMixDialog->GetGasMixElements(mixture);
    const auto* stored = dynamic_cast<const CFluidGasMix*>(Physical().Fluid.get());
    if (stored && stored->Elements == mixture)
        return;
    RecalcDensity();
    RecalcNormDensity();
}

// --- Events --------------------------------------------------------------------------------

void CPageFluid::OnComboChanged(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case IDC_STATE:
        OnStateChanged(Data(IDC_STATE));
        break;
    case IDC_MEDIUM:
        OnMediumChanged();
        break;
    case IDC_SATURATION_MODE:
        UpdateSaturationMode();
        break;
    case IDC_TEMPERATURE_UNIT:
        UpdateConvertedValue(CONVERTED_TEMPERATURE);
        RecalcDensity();
        CalculateViscosity();
        break;
    case IDC_TEMPERATURE_CALC_UNIT:
        UpdateConvertedValue(CONVERTED_TEMPERATURE);
        break;
    case IDC_PRESSURE_UNIT:
    case IDC_PRESSURE_REFERENCE:
        UpdateConvertedValue(CONVERTED_PRESSURE);
        RecalcDensity();
        CalculateViscosity();
        break;
    case IDC_PRESSURE_CALC_UNIT:
    case IDC_PRESSURE_CALC_REFERENCE:
        UpdateConvertedValue(CONVERTED_PRESSURE);
        break;
    case IDC_DENSITY_UNIT:
        UpdateConvertedValue(CONVERTED_DENSITY);
        UpdateConvertedFlow();
        break;
    case IDC_DENSITY_CALC_UNIT:
        UpdateConvertedValue(CONVERTED_DENSITY);
        break;
    case IDC_VISCOSITY_UNIT:
    case IDC_VISCOSITY_CALC_UNIT:
        UpdateConvertedValue(CONVERTED_VISCOSITY);
        break;
    case IDC_FLOW_TYPE:
        FillFlowUnits(false);
        break;
    case IDC_FLOW_CALC_TYPE:
    case IDC_FLOW_CALC_REFERENCE:
        FillFlowUnits(true);
        break;
    case IDC_FLOW_REFERENCE:
        OnFlowReferenceChanged();
        break;
    case IDC_QMAX_UNIT:
    case IDC_FLOW_CALC_UNIT:
        UpdateConvertedFlow();
        break;
    case IDC_NORM_SYSTEM:
        OnNormSystemChanged();
        break;
    case IDC_NORM_TEMPERATURE_UNIT:
    case IDC_NORM_PRESSURE_UNIT:
    case IDC_NORM_PRESSURE_REFERENCE:
    case IDC_NORM_DENSITY_UNIT:
        RecalcNormDensity();
        break;
    }
}

void CPageFluid::OnButton(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case IDC_GAS_MIX:
        OnGasMix();
        break;
    case IDC_CONVERT_TO_NORM:
        OnConvertToNorm();
        break;
    case IDC_CONVERT_TO_OPERATIONAL:
        OnConvertToOperational();
        break;
    default:
        event.Skip();
        break;
    }
}

void CPageFluid::OnEditKillFocus(wxFocusEvent& event)
{
    event.Skip();
    const int id = event.GetId();
    wxWindow* window = GetWindow();
    if (window)
        window->CallAfter([this, id] { OnFieldLeft(id, true); });
}

void CPageFluid::OnFieldLeft(int id, bool checkState)
{
    // A message box of the handler takes the focus, which must not start it again; a page left
    // meanwhile has been stored and checked already.
    if (m_inFieldLeft || !GetWindow() || !GetWindow()->IsShown())
        return;
    m_inFieldLeft = true;
    switch (id) {
    case IDC_HUMIDITY:
        RecalcDensity();
        RecalcNormDensity();
        if (checkState)
            ExplainRefusedState(id);
        break;
    case IDC_TEMPERATURE:
    case IDC_PRESSURE:
        UpdateConvertedValue(id == IDC_TEMPERATURE ? CONVERTED_TEMPERATURE : CONVERTED_PRESSURE);
        RecalcDensity();
        CalculateViscosity();
        if (checkState)
            ExplainRefusedState(id);
        break;
    case IDC_DENSITY:
        UpdateConvertedValue(CONVERTED_DENSITY);
        UpdateConvertedFlow();
        break;
    case IDC_VISCOSITY:
        UpdateConvertedValue(CONVERTED_VISCOSITY);
        break;
    case IDC_QMAX:
        UpdateConvertedFlow();
        break;
    case IDC_NORM_TEMPERATURE:
    case IDC_NORM_PRESSURE:
    case IDC_NORM_DENSITY:
        RecalcNormDensity();
        break;
    }
    m_inFieldLeft = false;
}
