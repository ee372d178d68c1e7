#include "updater/RenovixDlg.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/ProgressEvents.h"
#include "Harbinax/ResourceImage.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixWx/RenovixSettingsDlg.h"
#include "updater/AboutDlg.h"
#include "updater/RenovixApp.h"
#include "updater/Resource.h"

#include <wx/bmpbuttn.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <cstring>

namespace {

// The progress line: the file name, then the count and the total for the "%d"s, in order.
std::string FormatProgress(const std::string& format, const std::string& file, int count, int total)
{
    std::string text = format;
    const size_t name = text.find("%s");
    if (name != std::string::npos)
        text.replace(name, 2, file);
    for (int number : {count, total}) {
        const size_t at = text.find("%d", name == std::string::npos ? 0 : name + file.size());
        if (at != std::string::npos)
            text.replace(at, 2, std::to_string(number));
    }
    return text;
}

}  // namespace

CRenovixDlg::CRenovixDlg(wxWindow* parent)
    : CDynamicDialog(parent),
      m_log(CLogManager::GetInstance()->GetLogger("CRenovixDlg", LOGLEVEL_PARENT)),
      m_progress(this)
{
    // The three commands are buttons showing only their icon (a stock id would add its text).
    const struct {
        int button;
        int icon;
    } icons[] = {{IDC_MANUAL_UPDATE, IDI_UPDATE}, {IDC_SETTINGS, IDI_SETTINGS}, {1, IDI_EXIT}};
    for (const auto& icon : icons) {
        const int iconId = icon.icon;
        SetControlFactory(icon.button, [iconId](wxWindow* parent, int windowId, const SDialogItem&,
                                                const wxPoint& position, const wxSize& size) -> wxWindow* {
            return new wxBitmapButton(parent, windowId, wxBitmap(LoadResourceImage("ICON", iconId)), position, size);
        });
    }
    Bind(RENOVIX_DOWNLOAD_FILE, &CRenovixDlg::OnDownloadFile, this);
    Bind(RENOVIX_SET_FILESIZE, &CRenovixDlg::OnSetFileSize, this);
    Bind(RENOVIX_DOWNLOADED_1KB, &CRenovixDlg::OnDownloaded1KB, this);
}

CRenovixDlg::~CRenovixDlg() = default;

bool CRenovixDlg::Create(bool modal)
{
    if (!CreateFromResource(IDD_RENOVIX_DIALOG, modal))
        return false;
    OnInitDialog();
    return true;
}

int CRenovixDlg::DoModal()
{
    if (!GetHandle() && !Create(true))
        return wxID_CANCEL;
    return ShowModal();
}

void CRenovixDlg::OnInitDialog()
{
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(LoadResourceImage("ICON", IDR_MAINFRAME)));
    SetIcon(icon);
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_RENOVIX_DIALOG, this);
    // No system menu to carry "About..." here: a small button does.
    if (wxWindow* about = GetItem(IDC_ABOUT)) {
        wxString tip = wxString::FromUTF8(RenovixText(IDS_ABOUTBOX));
        tip.Replace("&", "");
        about->SetToolTip(tip);
        about->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAbout(); });
    }
    if (wxWindow* manual = GetItem(IDC_MANUAL_UPDATE))
        manual->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ManualRun(); });
    if (wxWindow* settings = GetItem(IDC_SETTINGS))
        settings->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSettings(); });
    Bind(wxEVT_CHAR_HOOK, &CRenovixDlg::OnCharHook, this);
    Centre();
}

std::string CRenovixDlg::SettingsPath()
{
    return CHarbinax::GetProgramFolder() + "Renovix.xml";
}

void CRenovixDlg::ShowCurrentFile(const std::string& text)
{
    m_currentFile = text;
    if (wxWindow* label = GetItem(IDC_CURRENT_FILE_TEXT)) {
        label->SetLabel(wxString::FromUTF8(text));
        label->Update();
    }
    YieldForUi();
}

bool CRenovixDlg::Run(CRenovix& client, int& result)
{
    ShowCurrentFile(RenovixText(IDS_STARTING_UPDATE));
    const CRenovixSettings settings = client.LoadSettingsFromFile(SettingsPath());
    client.SetLogger(m_log);
    client.SetProgressObserver(&m_progress);
    if (!client.Init(settings)) {
        CRenovixApp::ShowBox(this, RenovixText(IDS_ERROR_NO_SETTINGS), IDS_ERROR, wxOK | wxICON_ERROR);
        return false;
    }
    if (!client.LoadUpdateList()) {
        CRenovixApp::ShowBox(this, RenovixText(IDS_ERROR_LOAD_UPDATELIST), IDS_ERROR, wxOK | wxICON_ERROR);
        return false;
    }
    client.LoadSharedFiles();
    CRenovix::DeleteSharedFileList();
    // The program may still be ending: a file it holds would count as in use.
    client.WaitForTargetsFree(kWaitForFilesMs);
    result = client.UpdateFiles();
    return true;
}

bool CRenovixDlg::UpdateRun(const std::string& program)
{
    QUILLET_POS(m_log);
    m_log.Info("SharedUpdate");
    for (int id : {IDC_TEXT_UPDATE, IDC_TEXT_SETTINGS, IDC_TEXT_CLOSE, IDC_MANUAL_UPDATE, IDC_SETTINGS, IDC_ABOUT, 1}) {
        if (wxWindow* window = GetItem(id))
            window->Hide();
    }
    // Only the file and its progress remain.
    if (const wxWindow* first = GetItem(IDC_TEXT_UPDATE))
        SetClientSize(GetClientSize().x, first->GetPosition().y);
    Refresh();

    CRenovix client;
    int result = 0;
    if (!Run(client, result))
        return false;
    if (!(result & CRenovix::UPDATE_RESULT_OK)) {
        ReportResult(result, client.GetLockedFiles("\n"));
        return false;
    }
    client.SaveSettingsToFile(client.GetSettings(), SettingsPath(), false);
    QUILLET_POS(m_log);
    m_log.Info("Running <%s>", program.c_str());
    const int error = CRenovix::StartDetached({program});
    if (error != 0) {
        const char* text = std::strerror(error);
        CRenovixApp::ShowBox(this, text, IDS_ERROR, wxOK | wxICON_ERROR);
        QUILLET_POS(m_log);
        m_log.Error("Fehler '%s' beim starten von '%s'", text, program.c_str());
        return false;
    }
    return true;
}

int CRenovixDlg::ManualRun()
{
    CRenovix client;
    int result = 0;
    if (!Run(client, result))
        return -1;
    if (result & CRenovix::UPDATE_RESULT_OK) {
        client.SaveSettingsToFile(client.GetSettings(), SettingsPath(), false);
        if (auto* gauge = dynamic_cast<wxGauge*>(GetItem(IDC_PROGRESS)))
            gauge->SetValue(std::min(m_total, gauge->GetRange()));
        ShowCurrentFile(RenovixText(IDS_UPDATE_OK));
    }
    ReportResult(result, client.GetLockedFiles("\n"));
    return result;
}

std::string CRenovixDlg::ResultText(int result, const std::string& lockedFiles, int* titleId, long* style)
{
    if (result & CRenovix::UPDATE_RESULT_FAILED) {
        static const struct {
            int bit;
            int text;
        } details[] = {
            {CRenovix::UPDATE_RESULT_HAD_SHARED_CE, IDS_ERROR_UPDATE_RESULT_HAD_SHARED_CE},
            {CRenovix::UPDATE_RESULT_DOWNLOAD_FAILED, IDS_ERROR_UPDATE_RESULT_DOWNLOAD_FAILED},
            {CRenovix::UPDATE_RESULT_DOWNLOAD_BROKEN, IDS_ERROR_UPDATE_RESULT_DOWNLOAD_BROKEN},
            {CRenovix::UPDATE_RESULT_UNZIP_FAILED, IDS_ERROR_UPDATE_RESULT_UNZIP_FAILED},
            {CRenovix::UPDATE_RESULT_NO_RAPI, IDS_ERROR_UPDATE_RESULT_NO_RAPI},
            {CRenovix::UPDATE_RESULT_FAILED_CREATE_CE, IDS_ERROR_UPDATE_RESULT_FAILED_CREATE_CE},
        };
        std::string text = RenovixText(IDS_ERROR_UPDATE_FAILED) + "\n";
        for (const auto& detail : details) {
            if (result & detail.bit)
                text += "\n" + RenovixText(detail.text);
        }
        *titleId = IDS_ERROR;
        *style = wxOK | wxICON_ERROR;
        return text;
    }
    if (result & CRenovix::UPDATE_RESULT_HAD_SHARED) {
        *titleId = IDS_WARNING;
        *style = wxOK | wxICON_WARNING;
        return RenovixText(IDS_ERROR_UPDATE_HAD_SHARED) + "\n\n" + lockedFiles;
    }
    *titleId = IDS_INFO;
    *style = wxOK | wxICON_INFORMATION;
    return RenovixText((result & CRenovix::UPDATE_RESULT_NEW_FILE) ? IDS_UPDATE_SUCCESSFUL
                                                                   : IDS_UPDATE_SUCCESSFUL_NO_UPDATES);
}

void CRenovixDlg::ReportResult(int result, const std::string& lockedFiles)
{
    int titleId = 0;
    long style = 0;
    const std::string text = ResultText(result, lockedFiles, &titleId, &style);
    CRenovixApp::ShowBox(this, text, titleId, style);
}

void CRenovixDlg::OnSettings()
{
    CRenovix client;
    const CHarbinax* app = CHarbinax::GetApp();
    std::unique_ptr<CRenovixSettingsDlg> dialog =
        CRenovixSettingsDlg::Create(app ? app->GetLanguage() : "en", this, false, true, true);
    if (!dialog)
        return;
    dialog->SetSettings(client.LoadSettingsFromFile(SettingsPath()));
    if (dialog->DoModal() == wxID_OK)
        client.SaveSettingsToFile(dialog->GetSettings(), SettingsPath(), false);
}

void CRenovixDlg::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}

void CRenovixDlg::OnDownloadFile(wxCommandEvent& event)
{
    m_fileName = event.GetString().utf8_string();
    m_kbCount = 0;
    ShowCurrentFile(m_fileName);
}

void CRenovixDlg::OnSetFileSize(wxCommandEvent& event)
{
    m_total = static_cast<int>(event.GetExtraLong());
    if (auto* gauge = dynamic_cast<wxGauge*>(GetItem(IDC_PROGRESS))) {
        gauge->SetRange(std::max(m_total, 1));
        gauge->SetValue(0);
    }
}

void CRenovixDlg::OnDownloaded1KB(wxCommandEvent&)
{
    ++m_kbCount;
    if (auto* gauge = dynamic_cast<wxGauge*>(GetItem(IDC_PROGRESS)))
        gauge->SetValue(std::min(m_kbCount, gauge->GetRange()));
    ShowCurrentFile(FormatProgress(RenovixText(IDS_DOWNLOADED_1KB), m_fileName, m_kbCount, m_total));
}

void CRenovixDlg::OnCharHook(wxKeyEvent& event)
{
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        if (wxWindow* focus = wxWindow::FindFocus())
            focus->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
        return;
    case WXK_ESCAPE:
        return;  // only the exit button ends the program
    default:
        event.Skip();
    }
}
