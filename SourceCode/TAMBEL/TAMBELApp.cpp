#include "TAMBEL/TAMBELApp.h"

#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "Harbinax/LibraryVersions.h"
#include "Harbinax/MessageBox.h"
#include "Platform/ProgramFolder.h"
#include "PolyglottaWx/WindowIds.h"
#include "ProductionDb/MachineNames.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/AboutDlg.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/FileFailureReason.h"
#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/PressureLossUtilityDlg.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/StartupEnvironment.h"
#include "TAMBEL/TAMBELDlg.h"
#include "TAMBEL/TextFormat.h"
#include "TAMBEL/UpdateClient.h"

#include <wx/defs.h>
#include <wx/frame.h>
#include <wx/version.h>

#include <utility>

namespace {

void ShowError(const char* title, const char* text)
{
    ShowMessageBox(nullptr, text, title, wxOK | wxICON_ERROR);
}

}  // namespace

CTAMBELApp::CTAMBELApp()
    : m_log(CLogManager::GetInstance()->GetLogger("CTAMBELApp", LOGLEVEL_PARENT)),
      m_environment(std::make_unique<CStartupEnvironment>()),
      m_productionDbCommands(GetUserNameString() + " - " + GetComputerNameString())
{
    m_productionDbCommands.SetLink(&m_environment->ProductionDb());
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileOpen, this, CWindowIds::FromResourceId(ID_FILE_OPEN));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileSave, this, CWindowIds::FromResourceId(ID_FILE_SAVE));
    Bind(wxEVT_MENU, &CTAMBELApp::OnHelpAbout, this, CWindowIds::FromResourceId(ID_HELP_ABOUT));
    Bind(wxEVT_MENU, &CTAMBELApp::OnPressureLossUtility, this,
         CWindowIds::FromResourceId(ID_UTILITIES_PRESSURELOSSCALCULATOR));
    Bind(wxEVT_MENU, &CTAMBELApp::OnAppExit, this, CWindowIds::FromResourceId(ID_APP_EXIT));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileSaveDb, this, CWindowIds::FromResourceId(ID_FILE_SAVE_DB));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileOpenDb, this, CWindowIds::FromResourceId(ID_FILE_OPEN_DB));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileDeleteDb, this, CWindowIds::FromResourceId(ID_FILE_DELETE_DB));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileConfigDb, this, CWindowIds::FromResourceId(ID_FILE_CONFIG_DB));
    Bind(wxEVT_MENU, &CTAMBELApp::OnFileCreateDb, this, CWindowIds::FromResourceId(ID_FILE_CREATE_DB));
    const std::pair<int, void (CReportCommands::*)()> reportCommands[] = {
        {ID_FILE_PRINT_MENU, &CReportCommands::OnFilePrint},
        {ID_FILE_PRINT_DIRECT, &CReportCommands::OnFilePrintDirect},
        {ID_FILE_PRINT_SETUP, &CReportCommands::OnFilePrintSetup},
        {ID_FILE_PDF, &CReportCommands::OnFilePdf},
        {ID_FILE_EMAIL, &CReportCommands::OnFileEmail}};
    for (const auto& [id, command] : reportCommands)
        Bind(wxEVT_MENU, [this, command = command](wxCommandEvent&) { (m_reportCommands.*command)(); },
             CWindowIds::FromResourceId(id));
}

CTAMBELApp::~CTAMBELApp() = default;

CTAMBELApp* CTAMBELApp::GetApp()
{
    return dynamic_cast<CTAMBELApp*>(wxApp::GetInstance());
}

bool CTAMBELApp::OnInit()
{
    return true;
}

int CTAMBELApp::OnRun()
{
    InitInstance();
    return m_exitCode;
}

int CTAMBELApp::OnExit()
{
    ExitInstance();
    return CHarbinax::OnExit();
}

void CTAMBELApp::SetEnvironment(std::unique_ptr<CStartupEnvironment> environment)
{
    m_environment = std::move(environment);
    m_productionDbCommands.SetLink(&m_environment->ProductionDb());
}

void CTAMBELApp::SetMainDialog(CTAMBELDlg* dialog)
{
    m_mainDialog = dialog;
    m_productionDbCommands.SetMainDialog(dialog);
}

void CTAMBELApp::ResetRunState()
{
    m_saveConfiguration = false;
    m_toldConfigurationNotSaved = false;
    m_unitsDbOpened = false;
    m_productionDbOpened = false;
    m_reachedMainWindow = false;
    m_exitCode = 0;
}

void CTAMBELApp::Status(const char* text)
{
    SetSplashStatusText(TranslateText(text), 0);
}

bool CTAMBELApp::InitInstance()
{
    ResetRunState();
    if (!m_environment->InitializePlatform()) {
        ShowError("Fatal error", "The COM subsystem could not be initialized.\nTerminating application.");
        m_exitCode = 1;
        return false;
    }
    Initialize();
    // A second start only brings the running one forward: it must not update the files that one
    // uses or open the databases again.
    if (m_environment->IsOtherInstanceRunning(*this)) {
        QUILLET_POS(m_log);
        m_log.Info("Zephrin runs already; brought it to the front");
        return false;
    }

    cvLogLibraryVersions("CTAMBELApp", LOGLEVEL_DEBUG);
    QUILLET_POS(m_log);
    m_log.Debug("__GNUC__\t0x%X", __GNUC__ * 0x100 + __GNUC_MINOR__);
    QUILLET_POS(m_log);
    m_log.Debug("wxVERSION\t0x%X", wxMAJOR_VERSION * 0x100 + wxMINOR_VERSION);
    QUILLET_POS(m_log);
    m_log.Debug("__cplusplus\t%ld", static_cast<long>(__cplusplus));

    SetSplashBitmap(IDB_SPLASH);
    SetSplashVersionTextPosition(140, 360);
    SetSplashVersionTextColor(0xFF4040);
    SetSplashStatusTextPosition(20, 425);
    SetSplashStatusTextColor(0x802020);
    Status("Starting application...");
    ShowSplashScreen();

    const bool configurationLoaded = m_environment->LoadConfiguration();
    // A file that is there but could not be read stays as the user left it: never replaced by
    // the defaults the program ran with.
    m_saveConfiguration = configurationLoaded || !m_environment->ConfigurationFileExists();
    if (!configurationLoaded) {
        ShowMessageBoxNamed(nullptr, "Zephrin",
                            "The application configuration file could not be loaded.\nAssuming default values.",
                            "Notice", wxOK | wxICON_WARNING);
    }

    EnableTranslator(true);
    LoadTranslationResource(IDR_TRANSLATION_EN, false);
    LoadTranslationResource(IDR_TRANSLATION_DE, true);
    SetDefaultLanguage("en");
    CApplicationConfiguration* configuration = CApplicationConfiguration::GetInstance();
    SetUiLanguage(configuration ? configuration->language : std::string());
    ConnectEngineToApplication();

    if (!RunUpdate())
        return false;

    QUILLET_POS(m_log);
    m_log.Info("Opening units database...");
    Status("Opening units database...");
    if (!m_environment->OpenUnitsDatabase()) {
        QUILLET_POS(m_log);
        m_log.Error("CUnitDb::GetInstance()->Open FAILED");
        ShowError("Database error", "Could not open the units database. Sizing cannot run without the database.");
        m_exitCode = 1;
        return false;
    }
    m_unitsDbOpened = true;

    QUILLET_POS(m_log);
    m_log.Info("Loading units...");
    Status("Loading units...");
    if (!m_environment->LoadUnits()) {
        QUILLET_POS(m_log);
        m_log.Error("unitManager LoadUnitList FAILED");
        ShowError("Database error", "Could not load units from the database. Sizing cannot run without units.");
        m_exitCode = 1;
        return false;
    }

    QUILLET_POS(m_log);
    m_log.Info("Loading fluids...");
    Status("Loading fluids...");
    if (!m_environment->LoadFluids()) {
        QUILLET_POS(m_log);
        m_log.Error("fluidManager LoadFluidList FAILED");
        ShowError("Database error",
                  "Could not load fluids from the database. Sizing functionality is limited without fluid database.");
    }

    QUILLET_POS(m_log);
    m_log.Info("Loading norm. flow conditions...");
    Status("Loading norm. flow conditions...");
    if (!m_environment->LoadNormConditions()) {
        QUILLET_POS(m_log);
        m_log.Error("CNormConditionManager LoadDbList FAILED");
        ShowError("Database error",
                  "Could not load norm. flow conditions from the database. Sizing functionality is limited "
                  "without norm. flow conditions.");
    }

    if (!configurationLoaded)
        m_environment->UseFirstNormConditionAsDefault();
    QUILLET_POS(m_log);
    m_log.Info("Reloading AppConfig...");
    // Now that units and conditions exist; a file that was missing is missing still.
    if (m_environment->LoadConfiguration())
        m_saveConfiguration = true;

    OpenProductionDb(false);

    QUILLET_POS(m_log);
    m_log.Info("Starting main window...");
    m_reachedMainWindow = true;
    if (!m_environment->RunMainDialog(*this))
        m_exitCode = 1;  // the dialog has logged why
    return false;
}

bool CTAMBELApp::RunUpdate()
{
    std::unique_ptr<CUpdateClient> client = m_environment->CreateUpdateClient();
    client->SetLogger(m_log);
    client->SetProgressWindow(GetSplashScreen());
    const std::string settingsPath = GetProgramFolder() + "Renovix.xml";
    client->LoadSettingsFromFile(settingsPath);
    if (client->GetProtocol() == 0) {
        QUILLET_POS(m_log);
        m_log.Trace("Update not scheduled, protocol=NONE");
        return true;
    }
    if (!client->IsUpdateDue()) {
        QUILLET_POS(m_log);
        m_log.Trace("Update not scheduled nextRenovix=%s", client->GetNextRunText().c_str());
        return true;
    }
    Status("Running Renovix...");
    if (!client->Init()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::Init FAILED");
        ShowError("Update error", "Could not initialize Renovix");
        return true;
    }
    if (!client->LoadUpdateList()) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadUpdateList FAILED");
        ShowError("Update error", "Could not retrieve the update list from server!");
        return true;
    }
    const std::uint32_t result = client->UpdateFiles();
    if (result & UPDATE_RESULT_OK) {
        client->SaveSettingsToFile(settingsPath, false);
        Status("Renovix was successful");
        QUILLET_POS(m_log);
        m_log.Trace("CRenovix::UpdateFiles OK");
    } else if (result & UPDATE_RESULT_FAILED) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::UpdateFiles FAILED");
        ShowError("Error", "Renovix failed to update all files!");
    } else if (result & UPDATE_RESULT_HAD_SHARED) {
        QUILLET_POS(m_log);
        m_log.Info("CRenovix::UpdateFiles HAD_SHARED");
        Status("Restarting application for update...");
        const std::string folder = GetProgramFolder();
        if (client->RestartAndUpdate(folder + "Renovix", folder + Platform::GetProgramName(), 2000))
            return false;
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::RestartAndUpdate FAILED");
        ShowError("Update error", "Could not restart application for update!");
    }
    return true;
}

int CTAMBELApp::ExitInstance()
{
    HideSplashScreen();
    int errorNumber = 0;
    if (m_saveConfiguration && !m_environment->SaveConfiguration(&errorNumber))
        ConfigurationNotSaved(errorNumber);
    m_saveConfiguration = false;
    if (m_productionDbOpened) {
        m_productionDbCommands.UnlockCurrentRecord();
        m_environment->ProductionDb().Close();
        m_productionDbOpened = false;
    }
    if (m_unitsDbOpened)
        m_environment->CloseUnitsDatabase();
    m_unitsDbOpened = false;
    DisconnectEngineFromApplication();
    return 0;
}

bool CTAMBELApp::OpenProductionDb(bool warn)
{
    m_productionDbOpened = true;
    return m_productionDbCommands.Open(warn);
}

bool CTAMBELApp::IsProductionDbUsable() const
{
    return m_environment && m_environment->ProductionDb().IsUsable();
}

void CTAMBELApp::SetUiLanguage(const std::string& code)
{
    SetLanguage(code.c_str());
    ApplyUiLanguageToEngine();
}

wxWindow* CTAMBELApp::MessageOwner() const
{
    return m_mainDialog ? m_mainDialog->GetFrame() : nullptr;
}

bool CTAMBELApp::SaveConfiguration(CApplicationConfiguration& configuration)
{
    int errorNumber = 0;
    if (configuration.Save(std::string(), &errorNumber))
        return true;
    ConfigurationNotSaved(errorNumber);
    return false;
}

void CTAMBELApp::ConfigurationNotSaved(int errorNumber)
{
    const std::string path = CApplicationConfiguration::FilePath(std::string());
    QUILLET_POS(m_log);
    m_log.Error("Configuration not written to %s (error %d)", path.c_str(), errorNumber);
    // Only a file the system refused to write loses settings the user would miss; a file kept
    // because it could not be loaded was announced at the start.
    if (errorNumber == 0 || m_toldConfigurationNotSaved)
        return;
    m_toldConfigurationNotSaved = true;
    ShowMessageBox(MessageOwner(),
                   WithFileFailureReason(FillText(TranslateText("The settings could not be saved to %s."), {path}),
                                         errorNumber),
                   "Warning", wxOK | wxICON_WARNING);
}

bool CTAMBELApp::SaveProjectFile(const std::string& givenPath, bool userSave)
{
    const std::string path = givenPath.empty() ? AskProjectFilePath(MessageOwner(), true) : givenPath;
    if (path.empty())
        return false;
    // A page that cannot store its fields has told the user why; its old values are not saved.
    if (m_mainDialog && !m_mainDialog->OnLeavePage())
        return false;
    CProjectData* project = CProjectData::GetInstance();
    std::string detail;
    int errorNumber = 0;
    const char* message =
        project ? CProjectFile::Save(*project, path, &detail, &errorNumber) : "Could not save data to file!";
    if (message) {
        QUILLET_POS(m_log);
        m_log.Error("Project not saved to %s: %s %s", path.c_str(), message, detail.c_str());
        ShowMessageBox(MessageOwner(), WithFileFailureReason(message, errorNumber), "Error", wxOK | wxICON_ERROR);
        return false;
    }
    QUILLET_POS(m_log);
    m_log.Info("Project saved to %s", path.c_str());
    // The e-mail's copy is no save of the user's: the project is as unsaved as before.
    if (userSave) {
        UnlockCurrentRecord();
        KeepProjectSnapshot(false);
    }
    return true;
}

bool CTAMBELApp::OpenProjectFile(const std::string& givenPath)
{
    const std::string path = givenPath.empty() ? AskProjectFilePath(MessageOwner(), false) : givenPath;
    if (path.empty())
        return false;
    CProjectData* project = CProjectData::GetInstance();
    if (!project)
        return false;
    std::string detail;
    const CProjectFile::SReadResult result = CProjectFile::Open(path, *project, &detail);
    if (result.error) {
        QUILLET_POS(m_log);
        m_log.Error("Project not opened from %s: %s %s", path.c_str(), result.error, detail.c_str());
        ShowMessageBox(MessageOwner(), result.error, "Error", wxOK | wxICON_ERROR);
        return false;
    }
    QUILLET_POS(m_log);
    m_log.Info("Project opened from %s", path.c_str());
    // Only now that the file's project is in place is the database record no longer needed.
    UnlockCurrentRecord();
    for (const char* warning : result.warnings)
        ShowMessageBox(MessageOwner(), warning, "Warning", wxOK | wxICON_WARNING);
    if (m_mainDialog) {
        // The file may name user units and norm conditions the lists do not show yet.
        m_mainDialog->GetFluidPage().FillCombos(false, true, false);
        m_mainDialog->OnEnterPage();
        // What the page shows of the file is what a later look compares with.
        m_mainDialog->StoreProject();
    }
    KeepProjectSnapshot(false);
    return true;
}

bool CTAMBELApp::SaveProjectToDb()
{
    if (!m_productionDbCommands.SaveToDb())
        return false;
    KeepProjectSnapshot(true);
    return true;
}

void CTAMBELApp::KeepProjectSnapshot(bool inDatabase)
{
    if (const CProjectData* project = CProjectData::GetInstance())
        m_projectSnapshot.Take(*project);
    m_projectInDatabase = inDatabase;
}

bool CTAMBELApp::MayDropProject()
{
    const CProjectData* project = CProjectData::GetInstance();
    if (!m_mainDialog || !project)
        return true;
    if (cvBaseDialog* page = m_mainDialog->GetCurrentPage()) {
        int reason = 0;
        if (!page->CanLeavePage(&reason)) {
            m_mainDialog->ShowPageRefusal(reason);
            return false;
        }
    }
    if (!m_mainDialog->StoreProject())
        return false;
    if (!m_projectSnapshot.Differs(*project))
        return true;
    QUILLET_POS(m_log);
    m_log.Info("The project has changed since it was last opened, loaded or saved");
    const int answer = ShowMessageBox(MessageOwner(), "The project has been changed.\nDo you want to save the changes?",
                                      "Confirmation", wxYES_NO | wxCANCEL | wxICON_QUESTION);
    if (answer == wxID_NO)
        return true;
    if (answer != wxID_YES)
        return false;
    // Where the project came from, unless that database can no longer be reached.
    if (m_projectInDatabase && IsProductionDbUsable())
        return SaveProjectToDb();
    return SaveProjectFile(std::string());
}

void CTAMBELApp::OnFileOpen(wxCommandEvent&)
{
    if (MayDropProject())
        OpenProjectFile(std::string());
}

void CTAMBELApp::OnFileSave(wxCommandEvent&)
{
    SaveProjectFile(std::string());
}

void CTAMBELApp::OnHelpAbout(wxCommandEvent&)
{
    CAboutDlg about(nullptr);
    about.DoModal();
}

void CTAMBELApp::OnPressureLossUtility(wxCommandEvent&)
{
    CPressureLossUtilityDlg utility(GetTopWindow());
    utility.DoModal();
}

void CTAMBELApp::OnFileSaveDb(wxCommandEvent&)
{
    SaveProjectToDb();
}

void CTAMBELApp::OnFileOpenDb(wxCommandEvent&)
{
    if (!MayDropProject() || !m_productionDbCommands.LoadFromDb())
        return;
    if (m_mainDialog)
        m_mainDialog->StoreProject();
    KeepProjectSnapshot(true);
}

void CTAMBELApp::OnFileDeleteDb(wxCommandEvent&)
{
    m_productionDbCommands.DeleteRecord();
}

void CTAMBELApp::OnFileConfigDb(wxCommandEvent&)
{
    m_productionDbCommands.ConfigureConnection();
}

void CTAMBELApp::OnFileCreateDb(wxCommandEvent&)
{
    m_productionDbCommands.CreateTables();
}

void CTAMBELApp::OnAppExit(wxCommandEvent&)
{
    if (m_mainDialog && m_mainDialog->GetFrame())
        m_mainDialog->GetFrame()->Close();
}
