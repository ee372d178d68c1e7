#include "SelectDbRecordsDlg/SelectDbRecordsDlg.h"

#include "Harbinax/DialogControls.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "Harbinax/ResourceImage.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "ProductionDb/DbRecordCondition.h"
#include "ProductionDb/ProductionDb.h"
#include "Quillet/LogManager.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <utility>
#include <cstdio>

namespace {

std::string Replaced(std::string text, const std::string& placeholder, const std::string& value)
{
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string WithoutMnemonics(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

std::string Text(const wxWindow* window)
{
    return window ? window->GetLabel().ToStdString(wxConvUTF8) : std::string();
}

std::string PositionText(int position)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", position);
    return text;
}

}  // namespace

// RQD:SLDB0001
CSelectDbRecordsDlg::CSelectDbRecordsDlg(wxWindow* parent, CProductionDb* db)
    : CDynamicDialog(parent),
      m_log(CLogManager::GetInstance()->GetLogger("CSelectDbRecordsDlg", LOGLEVEL_PARENT)),
      m_db(db)
{
}

// RQD:SLDB0002
CSelectDbRecordsDlg::~CSelectDbRecordsDlg() = default;

// RQD:SLDB0003
std::string CSelectDbRecordsDlg::GetKeyCondition(const CProductionDbKey& key, bool includeZero)
{
    return CDbRecordCondition::ForKey(key, includeZero);
}

// RQD:SLDB0004
wxTextCtrl* CSelectDbRecordsDlg::PaEdit() const
{
    return dynamic_cast<wxTextCtrl*>(GetItem(IDC_PA));
}

// RQD:SLDB0005
wxTextCtrl* CSelectDbRecordsDlg::VkEdit() const
{
    return dynamic_cast<wxTextCtrl*>(GetItem(IDC_VK));
}

// RQD:SLDB0006
wxTextCtrl* CSelectDbRecordsDlg::PositionEdit() const
{
    return dynamic_cast<wxTextCtrl*>(GetItem(IDC_POSITION));
}

// RQD:SLDB0007
int CSelectDbRecordsDlg::SelectRecord(CProductionDbKey& key, const std::string& action, const std::string& button)
{
    if (Run(0, action, button) != wxID_OK)
        return 0;
    if (m_chosen.size() != 1) {
        QUILLET_POS(m_log);
        m_log.Error("selectedIds has %d items, not 1", static_cast<int>(m_chosen.size()));
        return 0;
    }
    key = m_chosen.front();
    return 1;
}

// RQD:SLDB0008
int CSelectDbRecordsDlg::SelectRecords(std::vector<CProductionDbKey>& keys, const std::string& action,
                                       const std::string& button)
{
    if (Run(1, action, button) != wxID_OK || m_chosen.empty()) {
        QUILLET_POS(m_log);
        m_log.Info("selectedIds has %d items", static_cast<int>(m_chosen.size()));
        return 0;
    }
    keys = m_chosen;
    return 1;
}

// RQD:SLDB0009
int CSelectDbRecordsDlg::GetSelectionCondition(std::string& condition, const std::string& action,
                                               const std::string& button, bool several, const std::string& table)
{
    std::vector<CProductionDbKey> keys(1);
    if (several ? !SelectRecords(keys, action, button) : !SelectRecord(keys.front(), action, button))
        return 0;
    std::string joined;
    for (const CProductionDbKey& key : keys)
        joined += (joined.empty() ? "(" : " OR ") + GetKeyCondition(key, false);
    condition = CDbRecordCondition::ReplaceTable(joined + ")", table);
    return 1;
}

// RQD:SLDB0010
int CSelectDbRecordsDlg::Run(int mode, const std::string& action, const std::string& button)
{
    if (!Create(mode, action, button))
        return wxID_CANCEL;
    return ShowModal();
}

// RQD:SLDB0011
bool CSelectDbRecordsDlg::Create(int mode, const std::string& action, const std::string& button)
{
    m_mode = mode;
    m_chosen.clear();
    if (GetHandle() || !CreateFromResource(IDD_MULTI_RECORD_DLG, true)) {
        QUILLET_POS(m_log);
        m_log.Error("dialog not created");
        return false;
    }
    OnInitDialog(action, button);
    return true;
}

// RQD:SLDB0012
void CSelectDbRecordsDlg::OnInitDialog(const std::string& actionText, const std::string& buttonText)
{
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_MULTI_RECORD_DLG, this);
    const std::string button = buttonText.empty() ? actionText : buttonText;
    const std::string action = WithoutMnemonics(actionText);
    if (wxWindow* actionButton = GetItem(IDC_ACTION))
        actionButton->SetLabel(wxString::FromUTF8(Replaced(Text(actionButton), "$ACTION", button)));
    SetTitle(wxString::FromUTF8(Replaced(GetTitle().ToStdString(wxConvUTF8), "$ACTION", action)));
    if (wxWindow* description = GetItem(IDC_ACTION_TEXT))
        description->SetLabel(wxString::FromUTF8(Replaced(Text(description), "$ACTION", action)));
    // The action's words get the room the template's texts get.
    CDialogControls::FitControls(this);

    m_matching = dynamic_cast<wxListCtrl*>(GetItem(IDC_MATCHING_RECORDS));
    m_selected = dynamic_cast<wxListCtrl*>(GetItem(IDC_SELECTED_RECORDS));
    AddColumns(m_matching);
    AddColumns(m_selected);

    const int lengths[][2] = {{IDC_PA, 10}, {IDC_VK, 10}, {IDC_POSITION, 3}};
    for (const auto& field : lengths) {
        if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(field[0]))) {
            edit->SetMaxLength(field[1]);
            edit->Bind(wxEVT_TEXT, &CSelectDbRecordsDlg::OnText, this);
        }
    }
    // The arrows replace the buttons' texts; a program without them keeps the texts.
    for (const auto& arrow : {std::make_pair(IDC_ADD, IDI_ADD), std::make_pair(IDC_REMOVE, IDI_REMOVE)}) {
        auto* arrowButton = dynamic_cast<wxButton*>(GetItem(arrow.first));
        const wxImage icon = LoadResourceImage("ICON", arrow.second);
        if (arrowButton && icon.IsOk()) {
            arrowButton->SetBitmap(wxBitmap(icon));
            arrowButton->SetLabel(wxString());
        }
    }
    Bind(wxEVT_BUTTON, &CSelectDbRecordsDlg::OnAction, this, CDialogControls::WindowId(IDC_ACTION));
    Bind(wxEVT_BUTTON, &CSelectDbRecordsDlg::OnAdd, this, CDialogControls::WindowId(IDC_ADD));
    Bind(wxEVT_BUTTON, &CSelectDbRecordsDlg::OnRemove, this, CDialogControls::WindowId(IDC_REMOVE));
    if (m_matching)
        m_matching->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CSelectDbRecordsDlg::OnMatchingActivated, this);
    if (m_selected)
        m_selected->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CSelectDbRecordsDlg::OnSelectedActivated, this);

    // One record needs neither the chosen list nor the buttons that fill it: the window ends
    // left of them.
    const wxWindow* add = GetItem(IDC_ADD);
    const wxSize client = GetClientSize();
    wxListCtrl* widest = m_selected;
    if (m_mode == 0 && add) {
        for (wxWindowList::compatibility_iterator node = GetChildren().GetFirst(); node; node = node->GetNext()) {
            if (node->GetData()->GetPosition().x >= add->GetPosition().x)
                node->GetData()->Hide();
        }
        SetClientSize(add->GetPosition().x, client.y);
        widest = m_matching;
    } else if (m_selected) {
        SetClientSize(m_selected->GetRect().GetRight() + 16, client.y);
    }
    // The title shows whole: the rightmost list takes the width it needs.
    const int missing = CDialogControls::MissingTitleWidth(*this);
    if (missing > 0 && widest) {
        SetClientSize(GetClientSize().x + missing, client.y);
        widest->SetSize(widest->GetSize().x + missing, -1);
        if (wxWindow* description = m_mode == 0 ? GetItem(IDC_ACTION_TEXT) : nullptr)
            description->SetSize(description->GetSize().x + missing, -1);
    }
    CentreOnParent();
    if (wxWindow* pa = GetItem(IDC_PA))
        pa->SetFocus();
}

// RQD:SLDB0013
void CSelectDbRecordsDlg::AddColumns(wxListCtrl* list)
{
    if (!list)
        return;
    for (const char* heading : {"PA no", "VK no", "Pos"})
        list->AppendColumn(wxString::FromUTF8(TranslateText(heading)), wxLIST_FORMAT_RIGHT);
    CDialogControls::FitColumns(*list, {90, 90, 70});
}

// RQD:SLDB0014
void CSelectDbRecordsDlg::OnText(wxCommandEvent&)
{
    RefreshMatching();
}

// RQD:SLDB0015
void CSelectDbRecordsDlg::RefreshMatching()
{
    if (!m_matching)
        return;
    wxBusyCursor wait;
    m_matching->DeleteAllItems();
    const auto text = [](const wxTextCtrl* edit) {
        return edit ? edit->GetValue().ToStdString(wxConvUTF8) : std::string();
    };
    const long long pa = CDbRecordCondition::ParseNumber(text(PaEdit()));
    const long long vk = CDbRecordCondition::ParseNumber(text(VkEdit()));
    const long long pos = CDbRecordCondition::ParsePosition(text(PositionEdit()));
    if (!CDbRecordCondition::IsWorthSearching(pa, vk) || !m_db || !m_db->IsOpen())
        return;
    const std::string sql =
        CDbRecordCondition::ListStatement(pa, vk, pos, CProductionDb::GetTablePrefix() + "customer_data");
    QUILLET_POS(m_log);
    m_log.Trace("%s", sql.c_str());
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_db->GetSession(), sql.c_str())) {
        QUILLET_POS(m_log);
        m_log.Error("open failed: %s", sql.c_str());
        return;
    }
    while (rs.MoveNext())
        AddRow(m_matching, CProductionDbKey(rs.GetLongAt(1), rs.GetLongAt(2), static_cast<std::int16_t>(rs.GetLongAt(3))));
    // Part of the keys would pass for all that match, hiding the record looked for.
    if (!rs.ReadAllRows()) {
        QUILLET_POS(m_log);
        m_log.Error("reading the records failed: %s", sql.c_str());
        m_matching->DeleteAllItems();
        ShowMessageBox(this, "Unable to read data.", "Error", wxOK | wxICON_ERROR);
        return;
    }
    if (m_matching->GetItemCount() > 0)
        m_matching->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

// RQD:SLDB0016
void CSelectDbRecordsDlg::AddRow(wxListCtrl* list, const CProductionDbKey& key)
{
    const long row = list->InsertItem(list->GetItemCount(), std::to_string(key.pa));
    list->SetItem(row, 1, std::to_string(key.vk));
    list->SetItem(row, 2, PositionText(key.pos));
}

// RQD:SLDB0017
CProductionDbKey CSelectDbRecordsDlg::KeyOfRow(const wxListCtrl* list, long index)
{
    const auto number = [&](int column) {
        return static_cast<int>(CDbRecordCondition::ParseNumber(list->GetItemText(index, column).ToStdString()));
    };
    return CProductionDbKey(number(0), number(1), static_cast<std::int16_t>(number(2)));
}

// RQD:SLDB0018
bool CSelectDbRecordsDlg::TakeRecord(long index)
{
    if (!m_matching || index < 0 || index >= m_matching->GetItemCount())
        return false;
    const CProductionDbKey key = KeyOfRow(m_matching, index);
    if (m_mode == 0) {
        m_chosen.assign(1, key);
        Finish();
        return true;
    }
    for (long row = 0; row < m_selected->GetItemCount(); ++row) {
        if (KeyOfRow(m_selected, row) == key)
            return true;
    }
    AddRow(m_selected, key);
    return true;
}

// RQD:SLDB0019
void CSelectDbRecordsDlg::Finish()
{
    if (IsModal()) {
        EndModal(wxID_OK);
    } else {
        SetReturnCode(wxID_OK);
        Hide();
    }
}

// RQD:SLDB0020
void CSelectDbRecordsDlg::OnAction(wxCommandEvent&)
{
    bool taken = false;
    if (m_mode == 0) {
        taken = m_matching && TakeRecord(m_matching->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED));
    } else if (m_selected && m_selected->GetItemCount() > 0) {
        m_chosen.clear();
        for (long row = 0; row < m_selected->GetItemCount(); ++row)
            m_chosen.push_back(KeyOfRow(m_selected, row));
        Finish();
        taken = true;
    }
    if (!taken)
        ShowMessageBox(this, "Please select a record first.", "Information", wxOK | wxICON_INFORMATION);
}

// RQD:SLDB0021
void CSelectDbRecordsDlg::OnAdd(wxCommandEvent&)
{
    for (long row = m_matching->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = m_matching->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        TakeRecord(row);
}

// RQD:SLDB0022
void CSelectDbRecordsDlg::OnRemove(wxCommandEvent&)
{
    // From the end, so that the indexes of the rows still to go stay put.
    for (long row = m_selected->GetItemCount() - 1; row >= 0; --row) {
        if (m_selected->GetItemState(row, wxLIST_STATE_SELECTED))
            m_selected->DeleteItem(row);
    }
}

// RQD:SLDB0023
void CSelectDbRecordsDlg::OnMatchingActivated(wxListEvent& event)
{
    TakeRecord(event.GetIndex());
}

// RQD:SLDB0024
void CSelectDbRecordsDlg::OnSelectedActivated(wxListEvent& event)
{
    if (m_mode == 1)
        m_selected->DeleteItem(event.GetIndex());
}
