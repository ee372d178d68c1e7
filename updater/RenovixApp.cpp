#include "updater/RenovixApp.h"

#include "Harbinax/LibraryVersions.h"
#include "Harbinax/MessageBox.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "updater/RenovixDlg.h"
#include "updater/Resource.h"

#include <wx/msgdlg.h>

#include <unistd.h>

CRenovixApp::CRenovixApp()
    : m_log(CLogManager::GetInstance()->GetLogger("CRenovixApp", LOGLEVEL_PARENT))
{
}

CRenovixApp* CRenovixApp::GetApp()
{
    return dynamic_cast<CRenovixApp*>(CHarbinax::GetApp());
}

int CRenovixApp::OnRun()
{
    InitInstance();
    return m_exitStatus;
}

void CRenovixApp::LoadTexts()
{
    const std::string language = GetLanguage();
    EnableTranslator(true);
    LoadTranslationResource(IDR_TRANSLATION, false);
    SetDefaultLanguage("en");
    SetLanguage(language.c_str());
}

int CRenovixApp::ShowBox(wxWindow* owner, const std::string& text, int titleId, long style)
{
    return ShowMessageBoxNamed(owner, RenovixText(IDS_APPNAME), text, RenovixText(titleId), style);
}

std::string CRenovixApp::StripArgument(const std::string& argument)
{
    const size_t first = argument.find_first_not_of(" \"");
    if (first == std::string::npos)
        return std::string();
    return argument.substr(first, argument.find_last_not_of(" \"") - first + 1);
}

bool CRenovixApp::InitInstance()
{
    m_exitStatus = kFailed;
    SetDefaultLanguage("en");
    Initialize();
    cvLogLibraryVersions("CRenovixApp", LOGLEVEL_INFO);
    LoadTexts();
    // With logging switched off a missing log file is what was asked for.
    CLogManager* log = CLogManager::GetInstance();
    if (!log->IsOpen() && log->GetLoggerLevel(nullptr) != LOGLEVEL_NONE) {
        ShowBox(nullptr, RenovixText(IDS_ERROR_CREATING_LOGFILE), IDS_ERROR, wxOK | wxICON_ERROR);
        return false;
    }
    if (::chdir(GetProgramFolder().c_str()) != 0) {
        QUILLET_POS(m_log);
        m_log.Warn("could not change to the program folder %s", GetProgramFolder().c_str());
    }

    if (GetArgumentList().size() < 2) {
        // A list left from an earlier hand-over must not narrow a manual update.
        CRenovix::DeleteSharedFileList();
        CRenovixDlg dialog(nullptr);
        dialog.DoModal();
        m_exitStatus = 0;
        return false;
    }
    const std::string program = StripArgument(GetCommandLineText());
    if (program.empty()) {
        ShowBox(nullptr, RenovixText(IDS_ERROR_IN_COMMANDLINE), IDS_ERROR, wxOK | wxICON_ERROR);
        return false;
    }
    auto* dialog = new CRenovixDlg(nullptr);
    if (dialog->Create(false)) {
        dialog->Show();
        if (dialog->UpdateRun(program))
            m_exitStatus = 0;
    }
    dialog->Destroy();
    return false;
}

std::string RenovixText(int id)
{
    const CRenovixApp* app = CRenovixApp::GetApp();
    return app ? app->GetString(id) : "?";
}
