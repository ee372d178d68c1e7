#include "TAMBEL/Pages/PageDevice.h"

#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/Wx/ComboItemsWx.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/ToolTipComboBox.h"
#include "HarbinaxCore/StyleNames.h"
#include "Oddments/DynamicRecordSetOleDb.h"

#include <wx/statline.h>
#include <wx/textctrl.h>

#include <algorithm>

using namespace DialogStyle;

namespace {

// A feature's list has the control id 1000 + feature id.
constexpr int kFeatureListBase = 1000;
constexpr int IDC_VNUMBER = 100;
// Feature 4, the device version, is chosen through the size and never gets a list.
constexpr int kVersionFeature = 4;

// Template layout in dialog units.
constexpr int kListsPerColumn = 8;
constexpr int kColumnPitch = 248;
constexpr int kRowPitch = 17;
// The caption, line and page width grow by this per column after the first.
constexpr int kWidthPerColumn = 246;
// What a closed list is high: a field of the usual templates.
constexpr int kFieldHeight = 14;

CComboItems FeatureItems(CUnitDb& database, int featureId, const std::string& language)
{
    CComboItems items = {{TranslateText("all"), 0}};
    CDynamicRecordSetOleDb rs;
    if (rs.Open(database.GetSession(), "SELECT Id FROM DeviceFeatureItems WHERE FeatureId = ? ORDER BY SortOrder",
                {featureId})) {
        while (rs.MoveNext()) {
            const int id = rs.GetLongAt(1);
            items.push_back({database.GetTranslatedText(id, language, "DeviceFeatureItems", "ItemName", "Id"), id});
        }
        // Part of a list would offer items as if they were all there are.
        if (!rs.ReadAllRows())
            items.resize(1);
    }
    rs.Close();
    return items;
}

}  // namespace

CPageDevice::CPageDevice()
    : CTemplatePage("CPageDevice", true)
{
}

void CPageDevice::AddTemplateItems(CDialogTemplate& dialogTemplate, const std::vector<SFeature>& features)
{
    SDialogHeader& header = dialogTemplate.Header();
    header.style = WS_CHILD | DS_SETFONT;
    header.exStyle = 0;
    header.pointSize = 8;
    header.weight = 400;
    header.italic = 0;
    header.charset = 1;
    header.typeface = "MS Shell Dlg";

    int row = 0;
    int column = 0;
    int right = 0;
    for (const SFeature& feature : features) {
        if (row != 0 && row % kListsPerColumn == 0) {
            row = 0;
            ++column;
        }
        const int x = kColumnPitch * column;
        const int y = kRowPitch * row;
        dialogTemplate.AddStatic({5 + x, 22 + y, 95 + x, 36 + y}, -1, feature.name + ":", SS_CENTERIMAGE);
        dialogTemplate.AddComboBox({99 + x, 22 + y, 229 + x, 162 + y}, kFeatureListBase + feature.id, std::string(),
                                   CBS_DROPDOWNLIST);
        right = 229 + x;
        ++row;
    }
    const int widthGrowth = kWidthPerColumn * column;
    dialogTemplate.AddStatic({5, 5, 231 + widthGrowth, 13}, -1, TranslateText("Configuration of device:"));
    // No id: 1033 would be the list of a feature 33.
    dialogTemplate.AddStatic({5, 14, 231 + widthGrowth, 15}, -1, std::string(), SS_ETCHEDHORZ);
    dialogTemplate.AddStatic({5, 175, 95, 189}, -1, TranslateText("V-Number:"), SS_CENTERIMAGE);
    dialogTemplate.AddEdit({99, 175, 229, 189}, IDC_VNUMBER, std::string(), ES_READONLY);
    // Columns lie further apart than the width grows per column: from the fourth extra column
    // on the last one would be cut off.
    header.width = static_cast<std::int16_t>(std::max(236 + widthGrowth, right + 5));
    header.height = 192;
}

bool CPageDevice::ReadFeatures(std::vector<SFeature>& features)
{
    CUnitDb* database = CUnitDb::GetInstance();
    if (!database)
        return false;
    const std::string language = GetAppLanguage();
    CDynamicRecordSetOleDb rs;
    bool complete = false;
    if (rs.Open(database->GetSession(), "SELECT Id FROM DeviceFeatures ORDER BY SortOrder")) {
        while (rs.MoveNext()) {
            const int id = rs.GetLongAt(1);
            if (id < 1 || id == kVersionFeature)
                continue;
            features.push_back({id, database->GetTranslatedText(id, language, "DeviceFeatures", "FeatureName", "Id")});
        }
        complete = rs.ReadAllRows();
    }
    rs.Close();
    return complete;
}

bool CPageDevice::Create(wxWindow* parent)
{
    if (GetWindow())
        return false;
    std::vector<SFeature> features;
    if (!ReadFeatures(features)) {
        QUILLET_POS(m_log);
        m_log.Error("Device page not created: the device features cannot be read");
        return false;
    }
    m_template.FreeTemplate();
    m_template.ResetTemplate();
    AddTemplateItems(m_template, features);
    const SDialogTemplate* built = m_template.BuildTemplate();

    DialogControlFactories factories;
    for (const SFeature& feature : features) {
        factories[kFeatureListBase + feature.id] = [this, feature](wxWindow* page, int windowId, const SDialogItem&,
                                                                   const wxPoint& position, const wxSize& size) {
            // The template's height includes the dropped-down list.
            const int height = std::min(size.y, page->ConvertDialogToPixels(wxSize(0, kFieldHeight)).y);
            auto* list = new CToolTipComboBox(page, windowId, position, wxSize(size.x, height), wxCB_READONLY);
            m_lists.push_back({feature.id, list});
            return list;
        };
    }
    m_lists.clear();
    if (!built || !CreateFromTemplate(parent, *built, factories)) {
        m_lists.clear();
        return false;
    }
    OnInitDialog();
    return true;
}

void CPageDevice::OnInitDialog()
{
    wxWindow* window = GetWindow();
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(0, window);
    m_vNumber = dynamic_cast<wxTextCtrl*>(CDialogControls::FindItem(window, IDC_VNUMBER));
    for (wxWindow* child : window->GetChildren()) {
        if (dynamic_cast<wxStaticLine*>(child))
            AddAnchor(child, kAnchorTopLeft, kAnchorTopRight);
    }
    window->Bind(wxEVT_COMBOBOX, &CPageDevice::OnSelection, this);
    FillFeatureLists();
}

void CPageDevice::FillFeatureLists()
{
    CUnitDb* database = CUnitDb::GetInstance();
    const std::string language = GetAppLanguage();
    for (const SList& entry : m_lists) {
        FillItemContainer(*entry.list, database ? FeatureItems(*database, entry.featureId, language)
                                                : CComboItems{{TranslateText("all"), 0}});
        entry.list->SetSelection(0);
    }
}

void CPageDevice::ClearControls()
{
    for (const SList& entry : m_lists)
        entry.list->SetSelection(0);
    if (m_vNumber)
        m_vNumber->ChangeValue(wxString());
}

CToolTipComboBox* CPageDevice::GetFeatureList(int featureId) const
{
    for (const SList& entry : m_lists) {
        if (entry.featureId == featureId)
            return entry.list;
    }
    return nullptr;
}

void CPageDevice::OnSelection(wxCommandEvent& event)
{
    event.Skip();
    OnFeatureChanged();
}

void CPageDevice::OnFeatureChanged()
{
    const CUnitDb* database = CUnitDb::GetInstance();
    std::string vNumber;
    for (const SList& entry : m_lists) {
        const int selected = entry.list->GetSelection();
        if (selected != wxNOT_FOUND && database)
            database->GetOrderNumberPrefix(GetItemData(*entry.list, static_cast<unsigned int>(selected)), vNumber);
    }
    if (m_vNumber)
        m_vNumber->ChangeValue(wxString::FromUTF8(vNumber));
}

bool CPageDevice::OnEnterPage()
{
    const CProjectData* project = CProjectData::GetInstance();
    if (!GetWindow() || !project)
        return true;
    const CDeviceConfiguration* configuration = &project->features;
    ClearControls();
    for (const SList& entry : m_lists) {
        int itemId = 0;
        if (!configuration->Lookup(entry.featureId, itemId))
            continue;
        for (unsigned int n = 0; n < entry.list->GetCount(); ++n) {
            if (GetItemData(*entry.list, n) == itemId) {
                entry.list->SetSelection(static_cast<int>(n));
                OnFeatureChanged();
                break;
            }
        }
    }
    return true;
}

bool CPageDevice::OnLeavePage()
{
    CProjectData* project = CProjectData::GetInstance();
    // Without its lists the page has nothing to say about the project's features.
    if (!GetWindow() || !project)
        return true;
    CDeviceConfiguration* configuration = &project->features;
    configuration->RemoveAll();
    for (const SList& entry : m_lists) {
        const int selected = entry.list->GetSelection();
        if (entry.featureId < 1 || selected == wxNOT_FOUND)
            continue;
        const int itemId = GetItemData(*entry.list, static_cast<unsigned int>(selected));
        if (itemId > 0)
            configuration->SetAt(entry.featureId, itemId);
    }
    return true;
}

void CPageDevice::OnDestroy()
{
    m_lists.clear();
    m_vNumber = nullptr;
    CTemplatePage::OnDestroy();
}
