#include "TAMBEL/PressureLossUtilityDlg.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogManager.h"

#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

using Calc = CPressureLossCalculator;
using Dlg = CPressureLossUtilityDlg;

constexpr int kEdits[] = {Dlg::IDC_FRICTION_FACTOR, Dlg::IDC_DENSITY, Dlg::IDC_FLOW,  Dlg::IDC_LARGER_DIAMETER,
                          Dlg::IDC_SMALLER_DIAMETER, Dlg::IDC_LENGTH, Dlg::IDC_ANGLE};
constexpr int kLists[] = {Dlg::IDC_MATERIAL,       Dlg::IDC_DENSITY_UNIT,         Dlg::IDC_FLOW_UNIT,
                          Dlg::IDC_LARGER_DIAMETER_UNIT, Dlg::IDC_SMALLER_DIAMETER_UNIT, Dlg::IDC_LENGTH_UNIT,
                          Dlg::IDC_ANGLE_UNIT,     Dlg::IDC_RESULT_UNIT};

constexpr int kDefaultMaterial = 11;
constexpr int kMetreUnit = 98;
// What a closed list is high: a field of the usual templates.
constexpr int kFieldHeight = 14;

enum EQuantity { kVolumeFlow = 1, kPressure = 4, kDensity = 5, kLength = 8, kAngle = 9 };

// Why there is no result, naming the input (an empty field reads as 0).
constexpr std::pair<Calc::EError, const char*> kErrorNotes[] = {
    {Calc::EError::LargerDiameter, "No result: the larger diameter must be above 0."},
    {Calc::EError::SmallerDiameter, "No result: the smaller diameter must be above 0 and below the larger diameter."},
    {Calc::EError::Length, "No result: the length must be above 0."},
    {Calc::EError::Angle, "No result: the angle must lie between 0 and 90 degrees."},
    {Calc::EError::Density, "No result: the density must be above 0."},
    {Calc::EError::Flow, "No result: the volume flow must be above 0."},
};

std::string ErrorNote(Calc::EError error)
{
    for (const auto& [code, note] : kErrorNotes) {
        if (code == error)
            return TranslateText(note);
    }
    return std::string();
}

}  // namespace

CPressureLossUtilityDlg::CPressureLossUtilityDlg(wxWindow* parent)
    : CDynamicDialog(parent),
      m_log(CLogManager::GetInstance()->GetLogger("CPressureLossUtilityDlg", LOGLEVEL_PARENT))
{
}

CPressureLossUtilityDlg::~CPressureLossUtilityDlg() = default;

bool CPressureLossUtilityDlg::Create()
{
    std::string error;
    if (GetHandle() || !CDialogControls::LoadResource(IDD_PRESSURE_LOSS_UTILITY, *this, &error) || !BuildTemplate())
        return false;
    for (int id : kEdits) {
        SetControlFactory(id, [](wxWindow* parent, int windowId, const SDialogItem&, const wxPoint& position,
                                 const wxSize& size) {
            auto* edit = new CFilterEdit(parent, windowId, wxString(), position, size);
            edit->SetNumeric(true, true);
            return edit;
        });
    }
    for (int id : kLists) {
        SetControlFactory(id, [](wxWindow* parent, int windowId, const SDialogItem&, const wxPoint& position,
                                 const wxSize& size) {
            // The template's height includes the dropped-down list.
            const int height = std::min(size.y, parent->ConvertDialogToPixels(wxSize(0, kFieldHeight)).y);
            return new CDataComboBox(parent, windowId, position, wxSize(size.x, height));
        });
    }
    if (!CreateFromTemplate(true))
        return false;
    OnInitDialog();
    return true;
}

int CPressureLossUtilityDlg::DoModal()
{
    if (!GetHandle() && !Create())
        return wxID_CANCEL;
    return ShowModal();
}

CFilterEdit* CPressureLossUtilityDlg::GetEdit(int id) const
{
    return dynamic_cast<CFilterEdit*>(GetItem(id));
}

CDataComboBox* CPressureLossUtilityDlg::GetList(int id) const
{
    return dynamic_cast<CDataComboBox*>(GetItem(id));
}

void CPressureLossUtilityDlg::OnInitDialog()
{
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_PRESSURE_LOSS_UTILITY, this);
    LoadMaterials();
    if (CDataComboBox* materials = GetList(IDC_MATERIAL))
        materials->SelectItemData(kDefaultMaterial);
    OnMaterialChanged();
    FillUnitLists();
    SetText(IDC_DENSITY, DataFormat::Format(1.0, 0, false));
    SetText(IDC_FLOW, DataFormat::Format(1000.0, 0, false));
    SetText(IDC_LARGER_DIAMETER, DataFormat::Format(50.0, 0, false));
    SetText(IDC_LENGTH, DataFormat::Format(1.0, 0, false));
    if (CDataComboBox* lengthUnit = GetList(IDC_LENGTH_UNIT))
        lengthUnit->SelectItemData(kMetreUnit);
    for (int id : {IDC_STRAIGHT, IDC_LENGTH_FLAG}) {
        if (auto* radio = dynamic_cast<wxRadioButton*>(GetItem(id)))
            radio->SetValue(true);
    }
    UpdateControls();

    for (int id : {IDC_STRAIGHT, IDC_EXPANDER, IDC_REDUCER, IDC_LENGTH_FLAG, IDC_ANGLE_FLAG})
        Bind(wxEVT_RADIOBUTTON, &CPressureLossUtilityDlg::OnControlUpdate, this, CDialogControls::WindowId(id));
    Bind(
        wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnMaterialChanged(); }, CDialogControls::WindowId(IDC_MATERIAL));
    Bind(
        wxEVT_COMBOBOX, [this](wxCommandEvent&) { ShowResult(); }, CDialogControls::WindowId(IDC_RESULT_UNIT));
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Calculate(); }, CDialogControls::WindowId(IDC_CALCULATE));
    CentreOnParent();
}

void CPressureLossUtilityDlg::LoadMaterials()
{
    CDataComboBox* materials = GetList(IDC_MATERIAL);
    m_roughness.clear();
    if (!materials)
        return;
    CComboItems items;
    CUnitDb* database = CUnitDb::GetInstance();
    if (database) {
        const std::string language = GetAppLanguage();
        CDynamicRecordSetOleDb rs;
        if (rs.Open(database->GetSession(), "SELECT Id, Epsilon FROM Materials")) {
            while (rs.MoveNext()) {
                const int id = rs.GetLongAt(1);
                m_roughness[id] = rs.GetDoubleAt(2);
                items.push_back({database->GetTranslatedText(id, language, "Materials", "MaterialName", "Id"), id});
            }
            // Part of the list would offer fewer materials as if they were all there are.
            if (!rs.ReadAllRows()) {
                QUILLET_POS(m_log);
                m_log.Error("The materials could not be read completely from the units database");
                items.clear();
                m_roughness.clear();
            }
        }
        rs.Close();
    }
    FillItemContainer(*materials, items);
}

void CPressureLossUtilityDlg::FillUnitLists()
{
    const CUnitManager* units = CUnitManager::GetInstance();
    if (!units)
        return;
    const std::string language = GetAppLanguage();
    auto fill = [this](int id, const CComboItems& items) {
        if (CDataComboBox* list = GetList(id)) {
            FillItemContainer(*list, items);
            if (!items.empty())
                list->SetSelection(0);
        }
    };
    CComboItems items;
    // Density: the units of system 0, then those of systems 2 and 1.
    for (int system : {0, 2, 1})
        units->FillUnitCombo(items, kDensity, system, TRUE, language, TRUE);
    fill(IDC_DENSITY_UNIT, items);
    const std::pair<int, int> lists[] = {{IDC_FLOW_UNIT, kVolumeFlow},
                                         {IDC_LARGER_DIAMETER_UNIT, kLength},
                                         {IDC_SMALLER_DIAMETER_UNIT, kLength},
                                         {IDC_LENGTH_UNIT, kLength},
                                         {IDC_ANGLE_UNIT, kAngle},
                                         {IDC_RESULT_UNIT, kPressure}};
    for (const auto& [id, type] : lists) {
        units->FillUnitCombo(items, type, 0, FALSE, language, FALSE);
        fill(id, items);
    }
}

bool CPressureLossUtilityDlg::IsChecked(int id) const
{
    const auto* radio = dynamic_cast<const wxRadioButton*>(GetItem(id));
    return radio && radio->GetValue();
}

void CPressureLossUtilityDlg::SetText(int id, const std::string& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(id)))
        edit->ChangeValue(wxString::FromUTF8(text));
    else if (auto* label = dynamic_cast<wxStaticText*>(GetItem(id)))
        label->SetLabel(wxString::FromUTF8(text));
}

double CPressureLossUtilityDlg::Roughness() const
{
    const CDataComboBox* materials = GetList(IDC_MATERIAL);
    if (!materials)
        return 0.0;
    const auto found = m_roughness.find(materials->GetSelectedItemData());
    return found == m_roughness.end() ? 0.0 : found->second;
}

void CPressureLossUtilityDlg::UpdateControls()
{
    const bool straight = IsChecked(IDC_STRAIGHT);
    const bool angleMode = IsChecked(IDC_ANGLE_FLAG);
    auto enable = [this](std::initializer_list<int> ids, bool on) {
        for (int id : ids) {
            if (wxWindow* window = GetItem(id))
                window->Enable(on);
        }
    };
    enable({IDC_LENGTH_FLAG, IDC_ANGLE_FLAG, IDC_SMALLER_DIAMETER, IDC_SMALLER_DIAMETER_UNIT}, !straight);
    enable({IDC_LENGTH, IDC_LENGTH_UNIT}, straight || !angleMode);
    enable({IDC_ANGLE, IDC_ANGLE_UNIT}, !straight && angleMode);
    if (CFilterEdit* friction = GetEdit(IDC_FRICTION_FACTOR))
        friction->SetEditable(Roughness() <= 0.0);
    SetText(IDC_RESULT, std::string());
    SetText(IDC_RESULT_NOTE, std::string());
}

void CPressureLossUtilityDlg::OnMaterialChanged()
{
    UpdateControls();
    if (Roughness() > 0.0)
        SetText(IDC_FRICTION_FACTOR, std::string());
}

bool CPressureLossUtilityDlg::ReadInput(int editId, int unitId, double& base) const
{
    const CUnitManager* units = CUnitManager::GetInstance();
    const CDataComboBox* list = GetList(unitId);
    const CFilterEdit* edit = GetEdit(editId);
    CUnit unit;
    if (!units || !list || !edit || !units->GetUnit(unit, list->GetSelectedItemData()))
        return false;
    return ConvertToBaseUnit(base, DataFormat::Parse(edit->GetValue().utf8_string()), unit, 0) != FALSE;
}

void CPressureLossUtilityDlg::Calculate()
{
    Calc::SInput input;
    input.type = IsChecked(IDC_STRAIGHT)   ? Calc::EPipeType::Straight
                 : IsChecked(IDC_EXPANDER) ? Calc::EPipeType::Expander
                                           : Calc::EPipeType::Reducer;
    input.angleMode = IsChecked(IDC_ANGLE_FLAG);
    input.roughness = Roughness();
    if (const CFilterEdit* friction = GetEdit(IDC_FRICTION_FACTOR))
        input.frictionFactor = DataFormat::Parse(friction->GetValue().utf8_string());

    const bool read = ReadInput(IDC_DENSITY, IDC_DENSITY_UNIT, input.density) &&
                      ReadInput(IDC_FLOW, IDC_FLOW_UNIT, input.flow) &&
                      ReadInput(IDC_LARGER_DIAMETER, IDC_LARGER_DIAMETER_UNIT, input.largerDiameter) &&
                      ReadInput(IDC_LENGTH, IDC_LENGTH_UNIT, input.length) &&
                      (input.type == Calc::EPipeType::Straight ||
                       (ReadInput(IDC_SMALLER_DIAMETER, IDC_SMALLER_DIAMETER_UNIT, input.smallerDiameter) &&
                        (!input.angleMode || ReadInput(IDC_ANGLE, IDC_ANGLE_UNIT, input.angle))));
    std::string note;
    double frictionFactor = 0.0;
    if (!read) {
        m_hasResult = false;
        note = TranslateText("No result: a unit of the input is not known.");
    } else {
        const Calc::SResult result = Calc::Calculate(input);
        m_hasResult = result.error == Calc::EError::None;
        m_result = result.pressureLoss;
        frictionFactor = result.frictionFactor;
        if (!m_hasResult)
            note = ErrorNote(result.error);
    }
    // A factor the material gives belongs to the result it was computed for; a typed one stays.
    if (input.roughness > 0.0)
        SetText(IDC_FRICTION_FACTOR,
                m_hasResult ? DataFormat::Format(frictionFactor, 0, false) : std::string());
    SetText(IDC_RESULT_NOTE, note);
    ShowResult();
}

void CPressureLossUtilityDlg::ShowResult()
{
    const CUnitManager* units = CUnitManager::GetInstance();
    const CDataComboBox* list = GetList(IDC_RESULT_UNIT);
    CUnit unit;
    double value = 0.0;
    if (!m_hasResult || !units || !list || !units->GetUnit(unit, list->GetSelectedItemData()) ||
        !ConvertFromBaseUnit(value, m_result, unit, 1)) {
        SetText(IDC_RESULT, std::string());
        return;
    }
    SetText(IDC_RESULT, DataFormat::Format(value, 6, false));
}

void CPressureLossUtilityDlg::OnControlUpdate(wxCommandEvent&)
{
    UpdateControls();
}
