#include "TAMBEL/Pages/PageConfiguration.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/DataComboBox.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/ProgramFolder.h"
#include "PolyglottaWx/WindowIds.h"
#include "ProductionDb/ProductionDb.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELApp.h"
#include "TAMBEL/TAMBELDlg.h"
#include "grid/GridCellCombo.h"
#include "grid/window/GridWindow.h"

#include <wx/checkbox.h>

#include <algorithm>
#include <string>

namespace {

using Page = CPageConfiguration;

// The drop-down lists, whose items carry their unit index, code or id.
constexpr int kDataLists[] = {Page::IDC_LANGUAGE,         Page::IDC_TEMPERATURE_UNIT,   Page::IDC_PRESSURE_UNIT,
                              Page::IDC_PRESSURE_REFERENCE, Page::IDC_DENSITY_UNIT,      Page::IDC_VISCOSITY_UNIT,
                              Page::IDC_FLOW_TYPE,        Page::IDC_FLOW_UNIT,          Page::IDC_FLOW_REFERENCE,
                              Page::IDC_VELOCITY_UNIT,    Page::IDC_NORM_SYSTEM,        Page::IDC_NORM_TEMPERATURE_UNIT,
                              Page::IDC_NORM_PRESSURE_UNIT, Page::IDC_NORM_PRESSURE_REFERENCE};

const char* const kQuantityNames[] = {"Volume flow", "Mass flow", "Temperature", "Pressure", "Density", "Viscosity"};

// Controls that move with the page's bottom edge: the user-unit buttons and the norm group.
constexpr int kBottomControls[] = {Page::IDC_ADD_UNIT,          Page::IDC_DELETE_UNIT,
                                   Page::IDC_LBL_DEFAULT_NORM_CONDITIONS, 1104,
                                   Page::IDC_NORM_SYSTEM,       1101,
                                   Page::IDC_NORM_TEMPERATURE,  Page::IDC_NORM_TEMPERATURE_UNIT,
                                   1102,                        Page::IDC_NORM_PRESSURE,
                                   Page::IDC_NORM_PRESSURE_UNIT, Page::IDC_NORM_PRESSURE_REFERENCE};

// Grid column widths in pixels, as the user units show best.
constexpr int kColumnWidths[] = {110, 110, 65, 65};
constexpr const char* kColumnHeadings[] = {"Unit name", "Type", "Factor", "Offset"};
// What the name of a user unit starts with.
constexpr const char* kUserMark = "* ";
// A unit grid cell's header alignment: centred on one line.
constexpr std::uint32_t kHeaderFormat = 37;
// What a closed list is high: a field of the usual templates.
constexpr int kFieldHeight = 14;

constexpr int kCustomCondition = -1;
constexpr int kDefaultTemperatureUnit = 1;  // degC
constexpr int kDefaultPressureUnit = 7;     // bar
constexpr int kNormReference = 4;

enum EQuantity { kVolumeFlow = 1, kMassFlow = 2, kTemperature = 3, kPressure = 4, kDensity = 5, kViscosity = 6,
                 kVelocity = 7 };

std::string WithoutUserMark(const std::string& name)
{
    const std::size_t start = name.find_first_not_of(kUserMark);
    return start == std::string::npos ? std::string() : name.substr(start);
}

}  // namespace

CPageConfiguration::CPageConfiguration()
    : CTemplatePage("CPageConfiguration")
{
}

CPageConfiguration::~CPageConfiguration() = default;

std::vector<std::string> CPageConfiguration::QuantityNames()
{
    std::vector<std::string> names;
    for (const char* name : kQuantityNames)
        names.push_back(TranslateText(name));
    return names;
}

std::string CPageConfiguration::SettingsPath()
{
    return Platform::GetProgramFolder() + "Renovix.xml";
}

bool CPageConfiguration::Create(wxWindow* parent)
{
    DialogControlFactories factories;
    for (int id : kDataLists) {
        factories[id] = [](wxWindow* page, int windowId, const SDialogItem&, const wxPoint& position,
                           const wxSize& size) {
            // The template's height includes the dropped-down list.
            const int height = std::min(size.y, page->ConvertDialogToPixels(wxSize(0, kFieldHeight)).y);
            return new CDataComboBox(page, windowId, position, wxSize(size.x, height));
        };
    }
    for (int id : {IDC_NORM_TEMPERATURE, IDC_NORM_PRESSURE}) {
        factories[id] = [](wxWindow* page, int windowId, const SDialogItem&, const wxPoint& position,
                           const wxSize& size) {
            auto* edit = new CFilterEdit(page, windowId, wxString(), position, size);
            edit->SetNumeric(true, true);
            return edit;
        };
    }
    if (GetWindow() || !CreateFromResource(parent, IDD_PAGE_CONFIGURATION, factories))
        return false;
    OnInitDialog();
    return true;
}

CDataComboBox* CPageConfiguration::GetList(int id) const
{
    return dynamic_cast<CDataComboBox*>(CDialogControls::FindItem(GetWindow(), id));
}

void CPageConfiguration::OnInitDialog()
{
    wxWindow* window = GetWindow();
    CHarbinax* app = CHarbinax::GetApp();
    if (app)
        app->TranslateDialog(IDD_PAGE_CONFIGURATION, window);

    if (!m_settingsDialog) {
        m_settingsDialog = CRenovixSettingsDlg::Create(GetAppLanguage(), window, true, false, false);
        if (m_settingsDialog)
            m_settingsDialog->EnableFtp(false);
    }

    wxWindow* placeholder = CDialogControls::FindItem(window, IDC_UNIT_LIST);
    if (placeholder) {
        const wxRect rect = placeholder->GetRect();
        placeholder->Destroy();
        m_grid = new CGridWindow(window, CDialogControls::WindowId(IDC_UNIT_LIST), rect.GetPosition(), rect.GetSize());
        m_grid->SetWindowStyleFlag(m_grid->GetWindowStyleFlag() | wxBORDER_SIMPLE | wxTAB_TRAVERSAL);
        AddAnchor(m_grid, kAnchorTopLeft, kAnchorBottomLeft);
    }
    if (wxWindow* group = CDialogControls::FindItem(window, IDC_LBL_USER_UNITS))
        AddAnchor(group, kAnchorTopLeft, kAnchorBottomLeft);
    for (int id : kBottomControls) {
        if (wxWindow* control = CDialogControls::FindItem(window, id))
            AddAnchor(control, kAnchorBottomLeft);
    }

    if (m_settingsDialog && m_settingsDialog->GetWindow()) {
        if (wxWindow* group = CDialogControls::FindItem(window, IDC_LBL_UPDATE_SETTINGS)) {
            wxRect area = group->GetRect();
            area.x += 5;
            area.width -= 10;
            area.y += 17;
            area.height -= 22;
            m_settingsDialog->GetWindow()->SetSize(area);
        }
    }

    FillLanguages();
    FillUnitLists();
    const std::string language = GetAppLanguage();
    auto fill = [this](int id, const CComboItems& items) {
        if (CDataComboBox* list = GetList(id))
            FillItemContainer(*list, items);
    };
    CComboItems items;
    for (int id : {IDC_PRESSURE_REFERENCE, IDC_NORM_PRESSURE_REFERENCE}) {
        CUnitManager::FillPressureReferenceCombo(items);
        fill(id, items);
    }
    CUnitManager::FillFlowReferenceCombo(items);
    fill(IDC_FLOW_REFERENCE, items);
    CUnitManager::FillFlowTypeCombo(items);
    fill(IDC_FLOW_TYPE, items);
    FillFlowUnits();

    items.clear();
    if (const CNormConditionManager* conditions = CNormConditionManager::GetInstance())
        conditions->FillComboBox(items, language);
    fill(IDC_NORM_SYSTEM, items);
    for (int id : {IDC_NORM_TEMPERATURE_UNIT, IDC_NORM_PRESSURE_UNIT, IDC_NORM_PRESSURE_REFERENCE, IDC_NORM_SYSTEM}) {
        if (CDataComboBox* list = GetList(id); list && list->GetCount() > 0)
            list->SetSelection(0);
    }
    OnNormSystemChanged();

    window->Bind(wxEVT_COMBOBOX, &CPageConfiguration::OnListChanged, this);
    window->Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddUnit(); }, CDialogControls::WindowId(IDC_ADD_UNIT));
    window->Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteUnit(); }, CDialogControls::WindowId(IDC_DELETE_UNIT));
}

void CPageConfiguration::OnDestroy()
{
    m_settingsDialog.reset();
    m_grid = nullptr;
    CTemplatePage::OnDestroy();
}

void CPageConfiguration::OnListChanged(wxCommandEvent& event)
{
    event.Skip();
    const int id = CWindowIds::ToResourceId(event.GetId());
    if (id == IDC_FLOW_TYPE || id == IDC_FLOW_REFERENCE)
        FillFlowUnits();
    else if (id == IDC_NORM_SYSTEM)
        OnNormSystemChanged();
}

void CPageConfiguration::FillUnitLists()
{
    const CUnitManager* units = CUnitManager::GetInstance();
    const std::string language = GetAppLanguage();
    const std::pair<int, int> unitLists[] = {{IDC_TEMPERATURE_UNIT, kTemperature}, {IDC_PRESSURE_UNIT, kPressure},
                                             {IDC_DENSITY_UNIT, kDensity},         {IDC_VISCOSITY_UNIT, kViscosity},
                                             {IDC_VELOCITY_UNIT, kVelocity},       {IDC_NORM_TEMPERATURE_UNIT, kTemperature},
                                             {IDC_NORM_PRESSURE_UNIT, kPressure}};
    for (const auto& [id, type] : unitLists) {
        CComboItems items;
        if (units)
            units->FillUnitCombo(items, type, 0, FALSE, language, FALSE);
        if (CDataComboBox* list = GetList(id))
            FillItemContainer(*list, items);
    }
}

// --- Language ------------------------------------------------------------------------------------

void CPageConfiguration::FillLanguages()
{
    CDataComboBox* list = GetList(IDC_LANGUAGE);
    if (!list)
        return;
    CComboItems items;
    const char* const sql = "SELECT Id, LanguageName FROM Languages ORDER BY Id";
    CUnitDb* database = CUnitDb::GetInstance();
    CDynamicRecordSetOleDb rs;
    if (database && rs.Open(database->GetSession(), sql)) {
        while (rs.MoveNext()) {
            std::string name;
            rs.GetStringAt(name, 2);
            items.push_back({name, rs.GetLongAt(1)});
        }
        // Part of the list would offer fewer languages as if they were all there are.
        if (!rs.ReadAllRows()) {
            QUILLET_POS(m_log);
            m_log.Error("The languages could not be read completely: %s", sql);
            items.clear();
        }
    } else {
        QUILLET_POS(m_log);
        m_log.Error("Open failed: %s", sql);
    }
    rs.Close();
    FillItemContainer(*list, items);
}

void CPageConfiguration::SelectLanguage()
{
    CDataComboBox* list = GetList(IDC_LANGUAGE);
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    if (!list || !configuration)
        return;
    list->SetSelection(wxNOT_FOUND);
    // The code comes from a file the user may edit: bound, never pasted into the statement.
    const char* const sql = "SELECT Id FROM Languages WHERE LanguageCode = ?";
    CUnitDb* database = CUnitDb::GetInstance();
    CDynamicRecordSetOleDb rs;
    if (database && rs.Open(database->GetSession(), sql, {configuration->language})) {
        if (rs.MoveNext()) {
            list->SelectItemData(rs.GetLongAt(1));
        } else {
            QUILLET_POS(m_log);
            m_log.Error("no record found: %s (%s)", sql, configuration->language.c_str());
        }
    } else {
        QUILLET_POS(m_log);
        m_log.Error("Open failed: %s", sql);
    }
    rs.Close();
}

void CPageConfiguration::StoreLanguage()
{
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    const int id = SelectedData(IDC_LANGUAGE);
    if (!configuration || id == -1)
        return;
    const char* const sql = "SELECT LanguageCode FROM Languages WHERE Id = ?";
    CUnitDb* database = CUnitDb::GetInstance();
    CDynamicRecordSetOleDb rs;
    std::string code;
    if (database && rs.Open(database->GetSession(), sql, {id})) {
        if (rs.MoveNext()) {
            rs.GetStringAt(code, 1);
        } else {
            QUILLET_POS(m_log);
            m_log.Error("no record found: %s (%d)", sql, id);
        }
    } else {
        QUILLET_POS(m_log);
        m_log.Error("Open failed: %s", sql);
    }
    rs.Close();
    if (code.empty() || code == configuration->language)
        return;
    configuration->language = code;
    ShowMessageBox(GetWindow(), TranslateText("The new language will get activated upon next program start."),
                   "Notice", wxOK | wxICON_INFORMATION);
}

// --- Lists and fields ----------------------------------------------------------------------------

int CPageConfiguration::SelectedData(int listId) const
{
    const CDataComboBox* list = GetList(listId);
    return list ? list->GetSelectedItemData() : -1;
}

void CPageConfiguration::Select(int listId, int data)
{
    if (CDataComboBox* list = GetList(listId))
        list->SelectItemData(data);
}

bool CPageConfiguration::SelectedUnit(int listId, CUnit& unit) const
{
    const CUnitManager* units = CUnitManager::GetInstance();
    const CDataComboBox* list = GetList(listId);
    return units && list && list->GetSelection() != wxNOT_FOUND &&
           units->GetUnit(unit, list->GetSelectedItemData());
}

std::string CPageConfiguration::FieldText(int id) const
{
    const auto* edit = dynamic_cast<const wxTextCtrl*>(CDialogControls::FindItem(GetWindow(), id));
    return edit ? edit->GetValue().utf8_string() : std::string();
}

double CPageConfiguration::FieldNumber(int id) const
{
    const std::string text = FieldText(id);
    return m_shownNumbers.Stored(id, text, DataFormat::Parse(text));
}

void CPageConfiguration::SetFieldText(int id, const std::string& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(GetWindow(), id)))
        edit->ChangeValue(wxString::FromUTF8(text));
}

void CPageConfiguration::FillFlowUnits()
{
    CDataComboBox* list = GetList(IDC_FLOW_UNIT);
    const CUnitManager* units = CUnitManager::GetInstance();
    if (!list || !units)
        return;
    const int previous = list->GetSelection() == wxNOT_FOUND ? 0 : list->GetSelectedItemData();
    const int type = SelectedData(IDC_FLOW_TYPE) == kVolumeFlow ? kVolumeFlow : kMassFlow;
    const int system = SelectedData(IDC_FLOW_REFERENCE) == kNormReference ? kNormReference : 0;
    CComboItems items;
    units->FillUnitCombo(items, type, system, FALSE, GetAppLanguage(), FALSE);
    FillItemContainer(*list, items);
    // A default flow unit of -1 would leave the fluid page without one.
    if (!list->SelectItemData(previous) && list->GetCount() > 0)
        list->SetSelection(0);
}

// --- Page protocol -------------------------------------------------------------------------------

bool CPageConfiguration::OnEnterPage()
{
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    if (!GetWindow() || !configuration)
        return CTemplatePage::OnEnterPage();
    SelectLanguage();
    // The user units may have changed since the lists were filled.
    FillUnitLists();
    if (auto* check = dynamic_cast<wxCheckBox*>(CDialogControls::FindItem(GetWindow(), IDC_AUTORECALC)))
        check->SetValue(configuration->autorecalcmeters);
    if (m_settingsDialog) {
        CRenovix client;
        m_settingsDialog->SetSettings(client.LoadSettingsFromFile(SettingsPath()));
        if (wxWindow* settings = m_settingsDialog->GetWindow())
            settings->Show();
    }

    const std::pair<int, int> selections[] = {{IDC_TEMPERATURE_UNIT, configuration->temperature},
                                              {IDC_PRESSURE_UNIT, configuration->pressure},
                                              {IDC_PRESSURE_REFERENCE, configuration->pressure_reference},
                                              {IDC_DENSITY_UNIT, configuration->density},
                                              {IDC_VISCOSITY_UNIT, configuration->viscosity},
                                              {IDC_VELOCITY_UNIT, configuration->velocity},
                                              {IDC_FLOW_TYPE, configuration->flow_type},
                                              {IDC_FLOW_REFERENCE, configuration->flow_reference}};
    for (const auto& [id, data] : selections)
        Select(id, data);
    // The configured unit replaces whatever the refill kept.
    if (CDataComboBox* flow = GetList(IDC_FLOW_UNIT))
        flow->SetSelection(wxNOT_FOUND);
    FillFlowUnits();
    Select(IDC_FLOW_UNIT, configuration->flow);
    BuildUnitGrid();

    const CNormFlowCondition& condition = configuration->default_norm_condition;
    CDataComboBox* system = GetList(IDC_NORM_SYSTEM);
    if (system && !system->SelectItemData(condition.Id))
        system->SelectItemData(kCustomCondition);
    OnNormSystemChanged();
    return CTemplatePage::OnEnterPage();
}

bool CPageConfiguration::CanLeavePage(int* reason)
{
    if (reason)
        *reason = 0;
    // Leaving would store the settings without the schedule the user typed.
    return !GetWindow() || !m_settingsDialog || m_settingsDialog->CheckInput();
}

bool CPageConfiguration::OnLeavePage()
{
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    if (!GetWindow() || !configuration)
        return true;
    if (!CanLeavePage(nullptr))
        return false;
    StoreLanguage();
    if (const auto* check = dynamic_cast<const wxCheckBox*>(CDialogControls::FindItem(GetWindow(), IDC_AUTORECALC)))
        configuration->autorecalcmeters = check->GetValue();
    // The settings panel goes with the page's window: commands that store the page without
    // leaving it (saving a project, printing) keep it shown.
    if (m_settingsDialog) {
        CRenovix client;
        if (!client.SaveSettingsToFile(m_settingsDialog->GetSettings(), SettingsPath(), false)) {
            QUILLET_POS(m_log);
            m_log.Error("Update settings not written to %s", SettingsPath().c_str());
        }
    }

    const std::pair<int, int*> selections[] = {{IDC_TEMPERATURE_UNIT, &configuration->temperature},
                                               {IDC_PRESSURE_UNIT, &configuration->pressure},
                                               {IDC_PRESSURE_REFERENCE, &configuration->pressure_reference},
                                               {IDC_DENSITY_UNIT, &configuration->density},
                                               {IDC_VISCOSITY_UNIT, &configuration->viscosity},
                                               {IDC_VELOCITY_UNIT, &configuration->velocity},
                                               {IDC_FLOW_TYPE, &configuration->flow_type},
                                               {IDC_FLOW_REFERENCE, &configuration->flow_reference},
                                               {IDC_FLOW_UNIT, &configuration->flow}};
    for (const auto& [id, field] : selections)
        *field = SelectedData(id);
    StoreNormCondition();
    // After the settings above: the units they name are kept under their indexes.
    StoreUserUnits();
    // The fluid page offers the user units as they are now.
    if (CTAMBELApp* app = CTAMBELApp::GetApp()) {
        if (CTAMBELDlg* mainDialog = app->GetMainDialog())
            mainDialog->GetFluidPage().FillCombos(false, true, false);
    }
    if (CTAMBELApp* app = CTAMBELApp::GetApp())
        app->SaveConfiguration(*configuration);
    else if (!configuration->Save()) {
        QUILLET_POS(m_log);
        m_log.Error("Configuration not written");
    }
    return true;
}

// --- User units ----------------------------------------------------------------------------------

void CPageConfiguration::RedrawGrid()
{
    if (m_grid) {
        m_grid->RedrawAll();
        m_grid->Refresh();
    }
}

void CPageConfiguration::PrepareUnitRow(int row)
{
    // The name with its mark fits the production database's unit columns, where a project
    // stores the units of its values.
    static const int maxName = CProductionDb::ColumnLength("physical_values", "unit_name") -
                               static_cast<int>(std::char_traits<char>::length(kUserMark));
    if (CGridCell* name = dynamic_cast<CGridCell*>(m_grid->GetCell(row, COLUMN_NAME)))
        name->SetMaxTextLength(maxName);
    m_grid->SetCellType(row, COLUMN_TYPE, [] { return std::make_unique<CGridCellCombo>(); });
    if (auto* type = dynamic_cast<CGridCellCombo*>(m_grid->GetCell(row, COLUMN_TYPE))) {
        type->SetOptions(QuantityNames());
        type->SetStyle(CBS_DROPDOWNLIST);
    }
    for (int column : {COLUMN_FACTOR, COLUMN_OFFSET}) {
        if (CGridCell* cell = dynamic_cast<CGridCell*>(m_grid->GetCell(row, column)))
            cell->SetDecimalInput(true);
    }
}

void CPageConfiguration::BuildUnitGrid()
{
    if (!m_grid)
        return;
    m_grid->SetRedraw(false);
    m_grid->DeleteAllItems();
    m_grid->SetListMode(true);
    m_grid->SetSingleRowSelection(true);
    for (int column = COLUMN_NAME; column <= COLUMN_OFFSET; ++column) {
        m_grid->InsertColumn(TranslateText(kColumnHeadings[column]), kHeaderFormat);
        m_grid->SetColumnWidth(column, kColumnWidths[column]);
    }
    m_grid->SetFixedRowCount(1);

    CUnitArray units;
    if (const CUnitManager* manager = CUnitManager::GetInstance())
        manager->GetUnits(units, 0, 0, FALSE, GetAppLanguage(), FALSE);
    const std::vector<std::string> names = QuantityNames();
    for (const CUnit& unit : units) {
        if (unit.DbIndex >= 0)
            continue;
        const int row = m_grid->InsertRow(" ");
        PrepareUnitRow(row);
        m_grid->SetItemText(row, COLUMN_NAME, WithoutUserMark(unit.Name));
        // The row keeps the index of its unit, so that what names the unit finds it again.
        m_grid->SetItemData(row, COLUMN_NAME, unit.DbIndex);
        if (unit.Type >= 1 && unit.Type <= static_cast<int>(names.size()))
            m_grid->SetItemText(row, COLUMN_TYPE, names[unit.Type - 1]);
        m_grid->SetItemText(row, COLUMN_FACTOR, DataFormat::Format(unit.ConversionFactor, 0, false));
        m_grid->SetItemText(row, COLUMN_OFFSET, DataFormat::Format(unit.ConversionOffset, 0, false));
    }
    m_grid->SetRedraw(true, true);
    RedrawGrid();
}

void CPageConfiguration::OnAddUnit()
{
    if (!m_grid)
        return;
    const int row = m_grid->InsertRow(" ");
    PrepareUnitRow(row);
    m_grid->SetItemData(row, COLUMN_NAME, 0);
    RedrawGrid();
}

void CPageConfiguration::OnDeleteUnit()
{
    if (!m_grid)
        return;
    const int row = m_grid->GetSelectedCellRange().GetMinRow();
    if (row > 0 && row < m_grid->GetRowCount() &&
        ShowMessageBox(GetWindow(), TranslateText("Do you really want to delete the selected unit?"), "Confirmation",
                       wxYES_NO | wxICON_QUESTION) == wxID_YES)
        m_grid->DeleteRow(row);
    RedrawGrid();
}

void CPageConfiguration::StoreUserUnits()
{
    CUnitManager* manager = CUnitManager::GetInstance();
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    if (!manager || !m_grid)
        return;

    // Every user unit something still names: the project's values carry their unit whole, the
    // settings only its index.
    std::vector<CUnit> referenced;
    const CPhysicalData& physical = CProjectData::GetInstance()->physical;
    for (const CUnitValue* value : {&physical.Temperature, &physical.Pressure, &physical.Density,
                                    &physical.Viscosity, &physical.Flow})
        referenced.push_back(*value);
    if (configuration) {
        for (int index : {configuration->temperature, configuration->pressure, configuration->density,
                          configuration->viscosity, configuration->flow, configuration->velocity}) {
            CUnit unit;
            if (manager->GetUnit(unit, index))
                referenced.push_back(unit);
        }
        referenced.push_back(configuration->default_norm_condition.Temperature);
        referenced.push_back(configuration->default_norm_condition.Pressure);
    }

    manager->RemoveUserUnits();
    const std::vector<std::string> names = QuantityNames();
    for (int row = 1; row < m_grid->GetRowCount(); ++row) {
        const auto type = std::find(names.begin(), names.end(), m_grid->GetItemText(row, COLUMN_TYPE));
        if (type == names.end())
            continue;
        CUnit unit;
        unit.System = 0;
        unit.ConversionFlags = 0;
        unit.Name = kUserMark + m_grid->GetItemText(row, COLUMN_NAME);
        unit.Type = static_cast<int>(type - names.begin()) + 1;
        unit.ConversionFactor = DataFormat::Parse(m_grid->GetItemText(row, COLUMN_FACTOR));
        unit.ConversionOffset = DataFormat::Parse(m_grid->GetItemText(row, COLUMN_OFFSET));
        unit.DbIndex = static_cast<int>(m_grid->GetItemData(row, COLUMN_NAME));
        // A row keeps its unit's index; a new row, or one whose index another row took, gets
        // the index of an equal unit or a new one.
        if (!manager->RestoreUserUnit(unit))
            manager->AddUserUnit(unit);
        m_grid->SetItemData(row, COLUMN_NAME, unit.DbIndex);
    }
    for (const CUnit& unit : referenced) {
        CUnit known;
        if (unit.DbIndex < 0 && !manager->GetUnit(known, unit.DbIndex))
            manager->RestoreUserUnit(unit);
    }
    if (!manager->SaveUserUnits()) {
        QUILLET_POS(m_log);
        m_log.Error("User units not written");
    }
}

// --- Default norm condition ----------------------------------------------------------------------

void CPageConfiguration::OnNormSystemChanged()
{
    const CNormConditionManager* conditions = CNormConditionManager::GetInstance();
    const CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    const int id = SelectedData(IDC_NORM_SYSTEM);
    CNormFlowCondition condition;
    const bool known = conditions && conditions->GetCondition(id, condition);
    if (configuration &&
        (!known || (id == kCustomCondition && configuration->default_norm_condition.Id == kCustomCondition)))
        condition = configuration->default_norm_condition;
    EnableNormControls(id);
    FillNormControls(condition);
}

void CPageConfiguration::EnableNormControls(int id)
{
    const bool custom = id == kCustomCondition;
    for (int edit : {IDC_NORM_TEMPERATURE, IDC_NORM_PRESSURE}) {
        if (auto* field = dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(GetWindow(), edit)))
            field->SetEditable(custom);
    }
    for (int list : {IDC_NORM_TEMPERATURE_UNIT, IDC_NORM_PRESSURE_UNIT, IDC_NORM_PRESSURE_REFERENCE}) {
        if (wxWindow* control = CDialogControls::FindItem(GetWindow(), list))
            control->Enable(custom);
    }
}

void CPageConfiguration::FillNormControls(const CNormFlowCondition& condition)
{
    const bool custom = condition.Id == kCustomCondition;
    // A custom condition without a unit gets the usual ones; user units have negative indexes,
    // so "without" means none the units manager knows.
    const CUnitManager* units = CUnitManager::GetInstance();
    auto unitOrDefault = [custom, units](int index, int fallback) {
        CUnit unit;
        return custom && !(units && units->GetUnit(unit, index)) ? fallback : index;
    };
    Select(IDC_NORM_TEMPERATURE_UNIT, unitOrDefault(condition.Temperature.DbIndex, kDefaultTemperatureUnit));
    SetFieldText(IDC_NORM_TEMPERATURE, m_shownNumbers.Show(IDC_NORM_TEMPERATURE, condition.Temperature.Value, 4));
    Select(IDC_NORM_PRESSURE_UNIT, unitOrDefault(condition.Pressure.DbIndex, kDefaultPressureUnit));
    SetFieldText(IDC_NORM_PRESSURE, m_shownNumbers.Show(IDC_NORM_PRESSURE, condition.Pressure.Value, 6));
    Select(IDC_NORM_PRESSURE_REFERENCE,
           custom && condition.Pressure.Reference == 0 ? 1 : condition.Pressure.Reference);
}

void CPageConfiguration::StoreNormCondition()
{
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    const CNormConditionManager* conditions = CNormConditionManager::GetInstance();
    const int id = SelectedData(IDC_NORM_SYSTEM);
    if (!configuration || !GetList(IDC_NORM_SYSTEM))
        return;
    CNormFlowCondition& condition = configuration->default_norm_condition;
    // A listed condition is taken from the list: the fields show it rounded.
    CNormFlowCondition listed;
    if (id != kCustomCondition && conditions && conditions->GetCondition(id, listed)) {
        const CUnitValue density = condition.Density;
        condition = listed;
        condition.Density = density;
        return;
    }
    condition.Id = kCustomCondition;
    if (const CDataComboBox* system = GetList(IDC_NORM_SYSTEM))
        condition.Name = system->GetValue().utf8_string();
    CUnit unit;
    if (SelectedUnit(IDC_NORM_TEMPERATURE_UNIT, unit)) {
        static_cast<CUnit&>(condition.Temperature) = unit;
        condition.Temperature.Value = FieldNumber(IDC_NORM_TEMPERATURE);
        ConvertToBaseUnit(condition.Temperature.BaseValue, condition.Temperature.Value, unit, 0);
    }
    if (SelectedUnit(IDC_NORM_PRESSURE_UNIT, unit)) {
        static_cast<CUnit&>(condition.Pressure) = unit;
        condition.Pressure.Value = FieldNumber(IDC_NORM_PRESSURE);
        condition.Pressure.Reference = SelectedData(IDC_NORM_PRESSURE_REFERENCE);
        ConvertToBaseUnit(condition.Pressure.BaseValue, condition.Pressure.Value, unit, condition.Pressure.Reference);
    }
}
