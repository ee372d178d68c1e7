// The connection of the production database, edited in the program itself: an SQLite database
// file (an existing one or a new one) or a PostgreSQL server (host, port, database, user). Test
// tries the connection as entered; OK writes the data-link file as a whole.
#pragma once

#include "Harbinax/DynamicDialog.h"
#include "Oddments/DataLinkSettings.h"

#include <string>

class wxCommandEvent;

class CDbConnectionDlg : public CDynamicDialog {
public:
    static constexpr int IDD_DB_CONNECTION = 150;
    static constexpr int IDC_USE_SQLITE = 1300;
    static constexpr int IDC_USE_POSTGRESQL = 1301;
    static constexpr int IDC_SQLITE_FILE = 1302;
    static constexpr int IDC_BROWSE = 1303;
    static constexpr int IDC_HOST = 1304;
    static constexpr int IDC_PORT = 1305;
    static constexpr int IDC_DATABASE = 1306;
    static constexpr int IDC_USER = 1307;
    static constexpr int IDC_TEST = 1308;

    // The fields start from what the data-link file says.
    CDbConnectionDlg(wxWindow* parent, std::string dataLinkPath);
    ~CDbConnectionDlg() override;

    bool Create();
    // wxID_OK once the file was written.
    int DoModal();

    // The settings as the fields show them.
    CDataLinkSettings GetSettings() const;
    void SetSettings(const CDataLinkSettings& settings);
    // True when a connection could be opened with the fields' settings, or when they name an
    // SQLite file that OK will make; the user is told which, or what is wrong.
    bool TestConnection();
    // Writes the data-link file, and makes an SQLite file that is not there yet; false (and the
    // user told) when either cannot be written.
    bool Save();

private:
    void OnInitDialog();
    void EnableFields();
    std::string Field(int id) const;
    void SetField(int id, const std::string& text);

    void OnProvider(wxCommandEvent& event);
    void OnBrowse(wxCommandEvent& event);
    void OnTest(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);

    std::string m_dataLinkPath;
    // As last set: its items beyond the fields are written back with them.
    CDataLinkSettings m_settings;
};
