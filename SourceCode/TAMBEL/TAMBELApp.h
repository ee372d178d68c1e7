// The sizing program's application object. Its start-up (InitInstance) runs every step in a
// fixed order, showing each on the splash screen: configuration, translation tables and
// language, the scheduled self-update, the units database and units (without them the program
// ends), fluids and norm flow conditions (without them it goes on with less), the production
// database; then the main window runs until it is closed. ExitInstance undoes what the start-up
// did. The menu and toolbar commands that the main window does not handle itself end here.
#pragma once

#include "CommonFiles/ProjectSnapshot.h"
#include "Harbinax/Harbinax.h"
#include "Quillet/Logger.h"
#include "TAMBEL/ProductionDbCommands.h"
#include "TAMBEL/ReportCommands.h"

#include <memory>
#include <string>

class CApplicationConfiguration;
class CStartupEnvironment;
class CTAMBELDlg;
class wxCommandEvent;
class wxWindow;

class CTAMBELApp : public CHarbinax {
public:
    CTAMBELApp();
    ~CTAMBELApp() override;

    // The running application object; null when there is none or it is not ours.
    static CTAMBELApp* GetApp();

    // wx's start: OnInit only prepares, OnRun runs the start-up and the main window, OnExit
    // the shutdown (so it runs however the start-up ended).
    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    // Always false: the main window has been closed, or the start-up ended early.
    bool InitInstance();
    int ExitInstance();

    // The real environment until a test hands in its own.
    void SetEnvironment(std::unique_ptr<CStartupEnvironment> environment);
    CStartupEnvironment& GetEnvironment() { return *m_environment; }

    // True once the start-up reached the main window; ExitCode is 1 when it ended on a failure.
    bool ReachedMainWindow() const { return m_reachedMainWindow; }
    int GetExitCode() const { return m_exitCode; }

    CTAMBELDlg* GetMainDialog() const { return m_mainDialog; }
    void SetMainDialog(CTAMBELDlg* dialog);

    // Opens and checks the production database; with warn the user hears of a failure. The main
    // window's database commands follow the result. True when usable.
    bool OpenProductionDb(bool warn);
    bool IsProductionDbUsable() const;
    // "user - computer": who holds a record lock.
    const std::string& GetLockOwner() const { return m_productionDbCommands.GetLockOwner(); }
    // Frees the production-database record this program holds, once the user turns to a project
    // file or ends the program.
    void UnlockCurrentRecord() { m_productionDbCommands.UnlockCurrentRecord(); }
    CProductionDbCommands& GetProductionDbCommands() { return m_productionDbCommands; }
    CReportCommands& GetReportCommands() { return m_reportCommands; }

    // Sets the user-interface language with everything that follows it: the translator's
    // language and the decimal separator of displayed numbers.
    void SetUiLanguage(const std::string& code);

    // Writes the configuration file beside the program. When the system refuses (a read-only
    // program folder, a full disk) the user is told, with the file and the reason, at the first
    // such failure of the run only: the settings would otherwise be gone without a word at the
    // next start. False when not written.
    bool SaveConfiguration(CApplicationConfiguration& configuration);

    // The project file commands. An empty path asks the user for one; false when cancelled
    // or failed (the user has been told why). Saving writes the project as the current page
    // shows it and frees the database record, which the project no longer needs. Opening
    // replaces the project only when the whole file could be read, then frees the database
    // record and shows the new project. A save that is not the user's own (the e-mail's copy)
    // keeps the record locked: the user still works on it.
    bool SaveProjectFile(const std::string& path, bool userSave = true);
    bool OpenProjectFile(const std::string& path);
    // Save to database; true when saved.
    bool SaveProjectToDb();

    // The project as it is now becomes the one that counts as unchanged: after the start once
    // the pages have stored their defaults, and after an open, load or save. inDatabase: the
    // production database holds it, so saving it before it is lost goes there.
    void KeepProjectSnapshot(bool inDatabase);
    // Before the project is replaced or the program ends: true when that may go on. The shown
    // page stores its fields first; a page that refuses to be left keeps the program as it is
    // (false, the page has said why). Unchanged since the snapshot: true without a question.
    // Else the user is asked whether to save the changes: Yes saves as File > Save does (to
    // the database for a project it holds) and goes on only when that worked, No goes on,
    // Cancel stays.
    bool MayDropProject();

private:
    void Status(const char* text);
    // The main window when there is one: messages of the commands belong to it.
    wxWindow* MessageOwner() const;
    // False when the update hands over to the updater and the program must end now.
    bool RunUpdate();
    void ResetRunState();
    // The configuration file could not be written (the system's error number, 0 for none).
    void ConfigurationNotSaved(int errorNumber);

    void OnFileOpen(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnHelpAbout(wxCommandEvent& event);
    void OnPressureLossUtility(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);
    void OnFileSaveDb(wxCommandEvent& event);
    void OnFileOpenDb(wxCommandEvent& event);
    void OnFileDeleteDb(wxCommandEvent& event);
    void OnFileConfigDb(wxCommandEvent& event);
    void OnFileCreateDb(wxCommandEvent& event);

    CLogger m_log;
    std::unique_ptr<CStartupEnvironment> m_environment;
    CTAMBELDlg* m_mainDialog = nullptr;
    CProductionDbCommands m_productionDbCommands;
    CReportCommands m_reportCommands;
    CProjectSnapshot m_projectSnapshot;
    bool m_projectInDatabase = false;

    // What the start-up reached, so that the shutdown undoes just that.
    bool m_saveConfiguration = false;
    bool m_toldConfigurationNotSaved = false;
    bool m_unitsDbOpened = false;
    bool m_productionDbOpened = false;
    bool m_reachedMainWindow = false;
    int m_exitCode = 0;
};
