#include "updater/AboutDlg.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/HyperLinkStatic.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "updater/Resource.h"

CAboutDlg::CAboutDlg(wxWindow* parent)
    : CDynamicDialog(parent)
{
    SetControlFactory(IDC_MAKER_LINK, [this](wxWindow* parent, int windowId, const SDialogItem& item,
                                             const wxPoint& position, const wxSize& size) -> wxWindow* {
        m_makerLink = new CHyperLinkStatic(parent, windowId, wxString::FromUTF8(item.title), position, size);
        return m_makerLink;
    });
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
        version->SetLabel("Version " + CHarbinax::GetVersionString());
    if (wxWindow* version = GetItem(IDC_LIBRARY_VERSION))
        version->SetLabel(wxString("Version ") + CRenovix::kLibraryVersion);
    if (m_makerLink)
        m_makerLink->SetLink(kMakerLink);
    Centre();
}
