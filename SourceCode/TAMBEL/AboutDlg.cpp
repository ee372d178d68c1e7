#include "TAMBEL/AboutDlg.h"

#include "CommonFiles/UnitDb.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/HyperLinkStatic.h"
#include "TAMBEL/Resource.h"

CAboutDlg::CAboutDlg(wxWindow* parent)
    : CDynamicDialog(parent)
{
    // The link statics are made by the template, as its children.
    const auto linkFactory = [this](CHyperLinkStatic*& member) {
        return [&member](wxWindow* parent, int windowId, const SDialogItem& item, const wxPoint& position,
                         const wxSize& size) -> wxWindow* {
            member = new CHyperLinkStatic(parent, windowId, wxString::FromUTF8(item.title), position, size);
            return member;
        };
    };
    SetControlFactory(IDC_TORVEL, linkFactory(m_customerLink));
    SetControlFactory(IDC_MAKER_LINK, linkFactory(m_makerLink));
}

CAboutDlg::~CAboutDlg() = default;

bool CAboutDlg::Create()
{
    if (!CreateFromResource(IDD_ABOUTBOX, true))
        return false;
    OnInitDialog();
    return true;
}

int CAboutDlg::DoModal()
{
    if (!GetHandle() && !Create())
        return wxID_CANCEL;
    return ShowModal();
}

void CAboutDlg::OnInitDialog()
{
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_ABOUTBOX, this);
    if (wxWindow* version = GetItem(IDC_PROGRAM_VERSION))
        version->SetLabel(CHarbinax::GetVersionString());
    if (wxWindow* version = GetItem(IDC_DB_VERSION))
        version->SetLabel(CUnitDb::GetVersionText());
    if (m_customerLink)
        m_customerLink->SetLink(kCustomerLink);
    if (m_makerLink)
        m_makerLink->SetLink(kMakerLink);
    Centre();
}
