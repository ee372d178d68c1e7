#include "TAMBEL/ResultFilterDlg.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/DataFormat.h"
#include "Harbinax/FilterEdit.h"
#include "Harbinax/Harbinax.h"
#include "TAMBEL/NumberInput.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/TAMBELApp.h"

#include <wx/checkbox.h>

#include <algorithm>

namespace {

// Either separator, whatever the language or locale; what does not parse reads as 0.
double ReadNumber(const CFilterEdit* edit)
{
    return ReadDecimalInput(edit ? edit->GetValue().utf8_string() : std::string());
}

}  // namespace

CResultFilterDlg::CResultFilterDlg(wxWindow* parent, CApplicationConfiguration* configuration)
    : CDynamicDialog(parent)
    , m_configuration(configuration ? configuration : CApplicationConfiguration::GetInstance())
{
    const auto numericEdit = [](CFilterEdit*& member) {
        return [&member](wxWindow* parent, int windowId, const SDialogItem&, const wxPoint& position,
                         const wxSize& size) -> wxWindow* {
            member = new CFilterEdit(parent, windowId, wxString(), position, size);
            member->SetNumeric(true, true);
            return member;
        };
    };
    SetControlFactory(IDC_MIN_TURNDOWN, numericEdit(m_minTurndown));
    SetControlFactory(IDC_MAX_FLOW_PERCENT, numericEdit(m_maxFlowPercent));
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
}

int CResultFilterDlg::Run(CResultFilter* filter)
{
    if (!filter)
        return wxID_CANCEL;
    if (GetHandle()) {
        m_filter = *filter;
        OnInitDialog();
    } else if (!Create(*filter)) {
        return wxID_CANCEL;
    }
    const int result = ShowModal();
    if (result == wxID_OK)
        *filter = m_filter;
    return result;
}

bool CResultFilterDlg::Create(const CResultFilter& filter)
{
    m_filter = filter;
    if (!CreateFromResource(IDD_FILTER_OPTIONS, true))
        return false;
    OnInitDialog();
    return true;
}

void CResultFilterDlg::OnInitDialog()
{
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_FILTER_OPTIONS, this);
    SetCheck(IDC_HIDE_ERRORS, m_filter.HideErrors);
    SetCheck(IDC_HIDE_LARGE_FLOWRANGE, m_filter.HideLargeFlowRange);
    SetCheck(IDC_HIDE_SMALL_TURNDOWN, m_filter.HideSmallTurndown);
    if (m_minTurndown)
        m_minTurndown->SetText(wxString::FromUTF8(DataFormat::Format(m_filter.MinTurndown, -1, false)));
    SetCheck(IDC_HIDE_SMALL_FLOWRANGE, m_filter.HideSmallFlowRange);
    if (m_configuration)
        m_filter.MaxFlowPercent = m_configuration->minflowrangepercent;
    if (m_maxFlowPercent)
        m_maxFlowPercent->SetText(wxString::FromUTF8(DataFormat::Format(m_filter.MaxFlowPercent, -1, false)));
    SetCheck(IDC_HIDE_SPECIAL_DEVICES, m_filter.HideSpecialDevices);
    Centre();
}

void CResultFilterDlg::OnOK()
{
    m_filter.HideErrors = GetCheck(IDC_HIDE_ERRORS);
    m_filter.HideLargeFlowRange = GetCheck(IDC_HIDE_LARGE_FLOWRANGE);
    m_filter.HideSmallTurndown = GetCheck(IDC_HIDE_SMALL_TURNDOWN);
    m_filter.MinTurndown = ReadNumber(m_minTurndown);
    m_filter.HideSmallFlowRange = GetCheck(IDC_HIDE_SMALL_FLOWRANGE);
    m_filter.MaxFlowPercent = std::max(0.0, std::min(100.0, ReadNumber(m_maxFlowPercent)));
    m_filter.HideSpecialDevices = GetCheck(IDC_HIDE_SPECIAL_DEVICES);
    if (m_configuration) {
        m_configuration->minflowrangepercent = m_filter.MaxFlowPercent;
        if (CTAMBELApp* app = CTAMBELApp::GetApp())
            app->SaveConfiguration(*m_configuration);
        else
            m_configuration->Save();
    }
    EndModal(wxID_OK);
}

void CResultFilterDlg::SetCheck(int itemId, int on)
{
    if (auto* box = dynamic_cast<wxCheckBox*>(GetItem(itemId)))
        box->SetValue(on != 0);
}

int CResultFilterDlg::GetCheck(int itemId) const
{
    const auto* box = dynamic_cast<wxCheckBox*>(GetItem(itemId));
    return box && box->GetValue() ? 1 : 0;
}
