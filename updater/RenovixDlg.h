// The updater's window: the file being fetched with its progress, and the commands for a manual
// update, the update settings and the about box. The hand-over from the program runs in it too
// (UpdateRun), with the commands hidden.
#pragma once

#include "Harbinax/DynamicDialog.h"
#include "Quillet/Logger.h"
#include "Renovix/RenovixWx/RenovixProgressEvents.h"

#include <string>

class CRenovix;

class CRenovixDlg : public CDynamicDialog {
public:
    explicit CRenovixDlg(wxWindow* parent);
    ~CRenovixDlg() override;

    // Creates the window from its template and prepares it. False when the template is missing
    // or broken.
    bool Create(bool modal);
    // Create, then modal until closed; wxID_CANCEL when it could not be created.
    int DoModal();

    // The hand-over: brings the files the program left in "SharedFiles.tmp" up to date and, when
    // everything went well, starts program again; otherwise the user hears why. True when the
    // update succeeded and the program started.
    bool UpdateRun(const std::string& program);
    // The same for every entry of the update list, without starting anything; the result bits,
    // -1 when the update could not start.
    int ManualRun();
    // Tells the user how the update went.
    void ReportResult(int result, const std::string& lockedFiles);
    // The report's text, its title (string id) and its icon style.
    static std::string ResultText(int result, const std::string& lockedFiles, int* titleId, long* style);
    // Edits the settings in "Renovix.xml" beside the program.
    void OnSettings();
    void OnAbout();

    std::string GetCurrentFileText() const { return m_currentFile; }

    // How long the hand-over waits for the program to let go of its files.
    static constexpr int kWaitForFilesMs = 30000;

private:
    void OnInitDialog();
    // Settings, update list, shared files, update: true with the result bits once the update
    // ran; false after telling the user why it could not.
    bool Run(CRenovix& client, int& result);
    void ShowCurrentFile(const std::string& text);
    void OnDownloadFile(wxCommandEvent& event);
    void OnSetFileSize(wxCommandEvent& event);
    void OnDownloaded1KB(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    static std::string SettingsPath();

    CLogger m_log;
    CRenovixProgressEvents m_progress;
    std::string m_currentFile;
    std::string m_fileName;
    int m_kbCount = 0;
    int m_total = 0;
};
