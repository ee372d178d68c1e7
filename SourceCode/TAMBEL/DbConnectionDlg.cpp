#include "TAMBEL/DbConnectionDlg.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "Oddments/DataSource.h"
#include "Oddments/SqliteFileCheck.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kPostgresFields[] = {CDbConnectionDlg::IDC_HOST, CDbConnectionDlg::IDC_PORT,
                                   CDbConnectionDlg::IDC_DATABASE, CDbConnectionDlg::IDC_USER};

}  // namespace

CDbConnectionDlg::CDbConnectionDlg(wxWindow* parent, std::string dataLinkPath)
    : CDynamicDialog(parent), m_dataLinkPath(std::move(dataLinkPath))
{
}

CDbConnectionDlg::~CDbConnectionDlg() = default;

bool CDbConnectionDlg::Create()
{
    if (GetHandle() || !CreateFromResource(IDD_DB_CONNECTION, true))
        return false;
    OnInitDialog();
    return true;
}

int CDbConnectionDlg::DoModal()
{
    if (!GetHandle() && !Create())
        return wxID_CANCEL;
    return ShowModal();
}

void CDbConnectionDlg::OnInitDialog()
{
    if (CHarbinax* app = CHarbinax::GetApp())
        app->TranslateDialog(IDD_DB_CONNECTION, this);
    CDataLinkSettings settings;
    if (!settings.Read(m_dataLinkPath))
        settings = CDataLinkSettings();
    SetSettings(settings);
    Bind(wxEVT_RADIOBUTTON, &CDbConnectionDlg::OnProvider, this, CDialogControls::WindowId(IDC_USE_SQLITE));
    Bind(wxEVT_RADIOBUTTON, &CDbConnectionDlg::OnProvider, this, CDialogControls::WindowId(IDC_USE_POSTGRESQL));
    Bind(wxEVT_BUTTON, &CDbConnectionDlg::OnBrowse, this, CDialogControls::WindowId(IDC_BROWSE));
    Bind(wxEVT_BUTTON, &CDbConnectionDlg::OnTest, this, CDialogControls::WindowId(IDC_TEST));
    Bind(wxEVT_BUTTON, &CDbConnectionDlg::OnOk, this, wxID_OK);
    CentreOnParent();
}

std::string CDbConnectionDlg::Field(int id) const
{
    const auto* edit = dynamic_cast<const wxTextCtrl*>(GetItem(id));
    return edit ? edit->GetValue().ToStdString(wxConvUTF8) : std::string();
}

void CDbConnectionDlg::SetField(int id, const std::string& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetItem(id)))
        edit->ChangeValue(wxString::FromUTF8(text));
}

CDataLinkSettings CDbConnectionDlg::GetSettings() const
{
    // What the fields do not show stays as it was set.
    CDataLinkSettings settings = m_settings;
    const auto* postgres = dynamic_cast<const wxRadioButton*>(GetItem(IDC_USE_POSTGRESQL));
    settings.provider = postgres && postgres->GetValue() ? CDataLinkSettings::Provider::PostgreSQL
                                                         : CDataLinkSettings::Provider::SQLite;
    settings.file = Field(IDC_SQLITE_FILE);
    settings.host = Field(IDC_HOST);
    settings.port = Field(IDC_PORT);
    settings.database = Field(IDC_DATABASE);
    settings.user = Field(IDC_USER);
    return settings;
}

void CDbConnectionDlg::SetSettings(const CDataLinkSettings& settings)
{
    m_settings = settings;
    const bool postgres = settings.provider == CDataLinkSettings::Provider::PostgreSQL;
    if (auto* radio = dynamic_cast<wxRadioButton*>(GetItem(postgres ? IDC_USE_POSTGRESQL : IDC_USE_SQLITE)))
        radio->SetValue(true);
    SetField(IDC_SQLITE_FILE, settings.file);
    SetField(IDC_HOST, settings.host);
    SetField(IDC_PORT, settings.port);
    SetField(IDC_DATABASE, settings.database);
    SetField(IDC_USER, settings.user);
    EnableFields();
}

void CDbConnectionDlg::EnableFields()
{
    const bool postgres = GetSettings().provider == CDataLinkSettings::Provider::PostgreSQL;
    for (int id : {IDC_SQLITE_FILE, IDC_BROWSE}) {
        if (wxWindow* window = GetItem(id))
            window->Enable(!postgres);
    }
    for (int id : kPostgresFields) {
        if (wxWindow* window = GetItem(id))
            window->Enable(postgres);
    }
}

bool CDbConnectionDlg::TestConnection()
{
    wxBusyCursor wait;
    const CDataLinkSettings settings = GetSettings();
    std::string reason;
    if (settings.provider == CDataLinkSettings::Provider::SQLite) {
        const CSqliteFileCheck::Finding finding = CSqliteFileCheck::Check(settings.file);
        if (finding == CSqliteFileCheck::NewFile) {
            // Nothing is wrong: OK makes the file, an empty database.
            ShowMessageBox(this, "The database file does not exist yet; OK will create it.", "Information",
                           wxOK | wxICON_INFORMATION);
            return true;
        }
        if (finding != CSqliteFileCheck::Existing)
            reason = TranslateText(CSqliteFileCheck::Describe(finding));
    }
    CDataSource source;
    if (reason.empty()) {
        if (source.OpenFromInitializationString(settings.ToInitializationString().c_str()) == S_OK) {
            ShowMessageBox(this, "The connection to the database was established.", "Information",
                           wxOK | wxICON_INFORMATION);
            return true;
        }
        reason = source.GetErrorText();
    }
    ShowMessageBox(this, TranslateText("Could not connect to the database.") + "\n" + reason, "Error",
                   wxOK | wxICON_ERROR);
    return false;
}

bool CDbConnectionDlg::Save()
{
    std::string error;
    const CDataLinkSettings settings = GetSettings();
    if (settings.HoldsLineBreak()) {
        ShowMessageBox(this, TranslateText("The connection could not be saved.") + "\n" +
                                 TranslateText("A field holds a line break."), "Error", wxOK | wxICON_ERROR);
        return false;
    }
    // A file name that is not there yet names a new database: an empty file is an empty
    // database, whose tables "Create tables in DB" then makes.
    if (settings.provider == CDataLinkSettings::Provider::SQLite && !settings.file.empty()) {
        const int file = ::open(settings.file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file >= 0) {
            ::close(file);
        } else if (errno != EEXIST) {
            error = settings.file + ": " + std::strerror(errno);
        } else if (CSqliteFileCheck::Check(settings.file) == CSqliteFileCheck::Folder) {
            error = settings.file + ": " + std::strerror(EISDIR);
        }
    }
    if (error.empty() && settings.Write(m_dataLinkPath, &error))
        return true;
    ShowMessageBox(this, TranslateText("The connection could not be saved.") + "\n" + error, "Error",
                   wxOK | wxICON_ERROR);
    return false;
}

void CDbConnectionDlg::OnProvider(wxCommandEvent&)
{
    EnableFields();
}

void CDbConnectionDlg::OnBrowse(wxCommandEvent&)
{
    wxFileDialog dialog(this, wxString::FromUTF8(TranslateText("Production database file")), wxString(),
                        wxString::FromUTF8(Field(IDC_SQLITE_FILE)), "*.db;*.sqlite|*.db;*.sqlite|*|*", wxFD_SAVE);
    if (dialog.ShowModal() == wxID_OK)
        SetField(IDC_SQLITE_FILE, dialog.GetPath().ToStdString(wxConvUTF8));
}

void CDbConnectionDlg::OnTest(wxCommandEvent&)
{
    TestConnection();
}

void CDbConnectionDlg::OnOk(wxCommandEvent&)
{
    if (Save())
        EndModal(wxID_OK);
}
