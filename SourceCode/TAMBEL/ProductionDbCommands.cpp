#include "TAMBEL/ProductionDbCommands.h"

#include "CommonFiles/ProjectData.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "Oddments/DataLinkSettings.h"
#include "Oddments/SqliteFileCheck.h"
#include "Platform/DateTime.h"
#include "ProductionDb/DbRecordCondition.h"
#include "ProductionDb/ProductionDb.h"
#include "Quillet/LogManager.h"
#include "SelectDbRecordsDlg/SelectDbRecordsDlg.h"
#include "TAMBEL/DbConnectionDlg.h"
#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/TAMBELDlg.h"
#include "TAMBEL/TextFormat.h"

#include <wx/defs.h>
#include <wx/frame.h>

#include <optional>
#include <utility>

namespace {

constexpr long kError = wxOK | wxICON_ERROR;
constexpr long kWarning = wxOK | wxICON_WARNING;
constexpr long kInformation = wxOK | wxICON_INFORMATION;
constexpr long kQuestion = wxYES_NO | wxICON_QUESTION;

std::string Translated(const std::string& text)
{
    return TranslateText(text);
}

// The database a data-link file names; empty when it names none.
std::string LinkTarget(const std::string& dataLinkPath)
{
    CDataLinkSettings settings;
    return settings.Read(dataLinkPath) ? settings.ToInitializationString() : std::string();
}

// Each part translated by itself, joined by line breaks.
std::string TwoParts(const char* first, const char* second)
{
    return Translated(first) + "\n" + Translated(second);
}

const char kTablesMissing[] = "The tables of the production database are missing; \"Create tables in DB\" makes them.";

// The line that names why a save failed; empty when the cause is not known.
std::string SaveFailureLine(CDbFailureCause::Cause cause)
{
    switch (cause) {
    case CDbFailureCause::ConnectionLost:
        return Translated("The connection to the database was lost; nothing was saved.");
    case CDbFailureCause::NotWritable:
        return Translated("The database or its folder cannot be written.");
    case CDbFailureCause::DiskFull:
        return Translated("The disk that holds the database is full.");
    case CDbFailureCause::Busy:
        return Translated("Another program kept the database busy for longer than the save could wait.");
    case CDbFailureCause::TablesMissing:
        return Translated(kTablesMissing);
    case CDbFailureCause::Unknown:
        break;
    }
    return std::string();
}

// Whether the order table or the stored projects have the key; nothing when a check could not
// be made.
std::optional<bool> RecordExists(CProductionDb& db, const CProductionDbKey& key)
{
    const std::optional<bool> order = db.OrderExists(key);
    if (!order || *order)
        return order;
    return db.ProjectExists(key);
}

// The text, and below it the line that says why, when there is one.
std::string WithReason(std::string text, const std::string& reason)
{
    return reason.empty() ? text : text + "\n" + reason;
}

const char kReopen[] =
    "Once the database can be reached, \"Database functions > Configure DB connection\" opens it again.";

// Why the database the data link names did not open: the provider's words (libpq indents the
// hint below its line, which a message box would show as a gap), and for a database file what
// its path finds.
std::string OpenFailureReason(const CProductionDb& db, const std::string& dataLinkPath)
{
    std::string reason;
    const std::string& text = db.GetFailureText();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\t' || (i > 0 && text[i - 1] != '\n'))
            reason += text[i];
    }
    CDataLinkSettings settings;
    if (settings.Read(dataLinkPath) && settings.provider == CDataLinkSettings::Provider::SQLite) {
        const std::string finding = CSqliteFileCheck::Describe(CSqliteFileCheck::Check(settings.file));
        if (!finding.empty())
            reason = reason.empty() ? Translated(finding) : WithReason(reason, Translated(finding));
    }
    return reason;
}

}  // namespace

CProductionDbCommands::CProductionDbCommands(std::string owner)
    : m_log(CLogManager::GetInstance()->GetLogger("CProductionDbCommands", LOGLEVEL_PARENT)),
      m_owner(std::move(owner))
{
}

wxWindow* CProductionDbCommands::Owner() const
{
    return m_mainDialog ? m_mainDialog->GetFrame() : nullptr;
}

int CProductionDbCommands::Message(const std::string& text, const std::string& title, long style, bool withOwner)
{
    return ShowMessageBox(withOwner ? Owner() : nullptr, text, title, style);
}

void CProductionDbCommands::LeavePage()
{
    if (m_mainDialog)
        m_mainDialog->OnLeavePage();
}

void CProductionDbCommands::EnterPage()
{
    if (m_mainDialog)
        m_mainDialog->OnEnterPage();
}

bool CProductionDbCommands::PickRecord(CProductionDbKey& key, const char* action, const char* button)
{
    if (m_picker)
        return m_picker(key, Translated(action), Translated(button));
    CSelectDbRecordsDlg dialog(Owner(), m_link ? m_link->Database() : nullptr);
    return dialog.SelectRecord(key, Translated(action), Translated(button)) != 0;
}

void CProductionDbCommands::EditConnection()
{
    if (m_editor) {
        m_editor(m_link->DataLinkPath());
        return;
    }
    CDbConnectionDlg dialog(Owner(), m_link->DataLinkPath());
    dialog.DoModal();
}

bool CProductionDbCommands::Open(bool warn)
{
    const bool usable = m_link && m_link->OpenAndCheck();
    QUILLET_POS(m_log);
    m_log.Info("Production database %s", usable ? "usable" : "not usable");
    if (!usable && warn) {
        // A database that opened but lacks the tables needs one more step, which the user is shown.
        // Otherwise the user is told why, and how to open it once that is mended.
        const CProductionDb* db = m_link ? m_link->Database() : nullptr;
        const std::string failed = Translated("Could not open the production database.");
        if (db && db->GetFailureCause() == CDbFailureCause::TablesMissing)
            Message(WithReason(failed, Translated(kTablesMissing)), "Warning", kWarning);
        else
            Message(WithReason(WithReason(failed, db ? OpenFailureReason(*db, m_link->DataLinkPath()) : std::string()),
                               Translated(kReopen)),
                    "Warning", kWarning);
    }
    if (m_mainDialog)
        m_mainDialog->OnPageChanged();
    return usable;
}

bool CProductionDbCommands::Reconnect(bool warn)
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    if (!db || !db->IsLost())
        return true;
    QUILLET_POS(m_log);
    m_log.Warn("The connection to the production database was lost; opening it again");
    return Open(warn);
}

bool CProductionDbCommands::IsUsable() const
{
    return m_link && m_link->IsUsable();
}

CProductionDbKey CProductionDbCommands::GetCurrentProjectKey()
{
    const CProjectData* project = CProjectData::GetInstance();
    if (!project)
        return CProductionDbKey();
    const CCustomerData& customer = project->customer;
    return CProductionDbKey(customer.pa, customer.vk, static_cast<std::int16_t>(customer.pos));
}

void CProductionDbCommands::UnlockCurrentRecord()
{
    if (m_currentKey.IsEmpty())
        return;
    if (m_link && Reconnect(false) && m_link->Unlock(m_currentKey, m_owner)) {
        m_currentKey.Clear();
        return;
    }
    QUILLET_POS(m_log);
    m_log.Error("could not unlock record %s", m_currentKey.Format().c_str());
}

void CProductionDbCommands::LockCurrentProject()
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    m_currentKey = GetCurrentProjectKey();
    if (db && db->LockRecord(m_currentKey, m_owner))
        return;
    QUILLET_POS(m_log);
    m_log.Error("could not lock record %s", m_currentKey.Format().c_str());
    m_currentKey.Clear();
}

bool CProductionDbCommands::ReportForeignLock(const CProductionDbKey& key)
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    std::string owner = m_owner;
    std::string computer;
    CDateTime since;
    if (!db || !db->IsLockedByOther(key, owner, computer, since))
        return false;
    // A holder's name replaces the owner; one that comes back as it went in means the lock table
    // could not be read, which must not show the user as the holder of their own record.
    if (owner == m_owner) {
        Message(TwoParts("The lock of the record could not be read.", "The record is left as it is."), "Error",
                kError);
        return true;
    }
    const std::string format =
        Translated("The record is already in use and cannot be opened a second time.\nUser: %s machine: %s (since %s)");
    Message(FillText(format, {owner, computer, since.Format("%c")}), "Error", kError);
    return true;
}

bool CProductionDbCommands::SaveToDb()
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    CProjectData* project = CProjectData::GetInstance();
    if (!db || !project || !Reconnect(true))
        return false;
    LeavePage();
    const CProductionDbKey key = GetCurrentProjectKey();
    // The key being saved is what counts: another owner's project must not be overwritten by
    // typing its key, and an existing one only after the user agreed.
    if (key.IsValid()) {
        // Whether the save would overwrite a record is found out first: when nobody can say,
        // nothing is written.
        const std::optional<bool> exists = RecordExists(*db, key);
        if (!exists) {
            EnterPage();
            Message(WithReason(Translated("Unable to save data."), SaveFailureLine(db->GetFailureCause())), "Error",
                    kError);
            return false;
        }
        if (ReportForeignLock(key)) {
            EnterPage();
            return false;
        }
        if (*exists) {
            // Another user may take the project while the question is open: tested again
            // after it.
            if (Message(TwoParts("A record with the same keys exists already.", "Overwrite existing record?"),
                        "Confirm", kQuestion) != wxID_YES ||
                ReportForeignLock(key)) {
                EnterPage();
                return false;
            }
        }
    }
    QUILLET_POS(m_log);
    m_log.Debug("Saving to DB...");
    const int result = db->SaveProject(&project->customer, &project->features, &project->physical, &project->results);
    QUILLET_POS(m_log);
    m_log.Debug("Save result=%d", result);
    EnterPage();
    QUILLET_POS(m_log);
    m_log.Debug("ActiveDialog refreshed");
    switch (result) {
    case PDB_SAVE_OK:
        Message("Data successfully saved.", "Information", kInformation);
        break;
    case PDB_SAVE_INVALID_KEY:
        Message(TwoParts("There is no PA / VK-No specified.", "Unable to save data."), "Error", kError);
        break;
    case PDB_SAVE_SQL_FAILED:
        Message(WithReason(TwoParts("Error in SQL statement.", "Unable to save data."),
                           SaveFailureLine(db->GetFailureCause())),
                "Error", kError);
        break;
    case PDB_SAVE_OUTCOME_UNKNOWN:
        Message(TwoParts("The connection to the database was lost while the data were being saved.",
                         "They may have been saved or not; load the record to see which."),
                "Error", kError);
        break;
    default:
        Message("Unable to save data.", "Error", kError);
        break;
    }
    QUILLET_POS(m_log);
    m_log.Debug("MessageBox displayed");
    if (result != PDB_SAVE_OK)
        return false;
    UnlockCurrentRecord();
    LockCurrentProject();
    return true;
}

bool CProductionDbCommands::LoadFromDb()
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    CProjectData* project = CProjectData::GetInstance();
    CProductionDbKey key;
    if (!db || !project || !Reconnect(true) || !PickRecord(key, "Load", "&Load"))
        return false;
    LeavePage();
    if (!db->LoadProject(key, &project->customer, &project->features, &project->physical, &project->results)) {
        EnterPage();
        Message("Unable to read data.", "Error", kError);
        return false;
    }
    EnterPage();
    UnlockCurrentRecord();
    // Someone else's project is shown but not held: this program must not release or renew
    // that lock later.
    if (!ReportForeignLock(GetCurrentProjectKey()))
        LockCurrentProject();
    return true;
}

void CProductionDbCommands::DeleteRecord()
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    CProductionDbKey key;
    if (!db || !Reconnect(true) || !PickRecord(key, "Delete record", "&Delete"))
        return;
    if (CDbRecordCondition::ForKey(key, false).empty()) {
        QUILLET_POS(m_log);
        m_log.Error("no WHERE-sql for %s", key.Format().c_str());
        return;
    }
    if (ReportForeignLock(key))
        return;
    // As for a save, a lock taken while the question is open counts too.
    if (Message("Do you really want to delete the record?", "Confirm", kQuestion) != wxID_YES ||
        ReportForeignLock(key))
        return;
    if (!db->DeleteProject(key))
        Message("The record could not be deleted.", "Error", kError);
}

void CProductionDbCommands::ConfigureConnection()
{
    if (!m_link)
        return;
    const std::string before = LinkTarget(m_link->DataLinkPath());
    EditConnection();
    // A lock left in a database the program no longer uses would never be released: free it
    // while that database is still open.
    if (LinkTarget(m_link->DataLinkPath()) != before)
        UnlockCurrentRecord();
    Open(true);
}

void CProductionDbCommands::CreateTables()
{
    CProductionDb* db = m_link ? m_link->Database() : nullptr;
    if (!db)
        return;
    if (IsUsable()) {
        Message("The production database structure is already up to date.", "Information", kInformation);
        return;
    }
    if (db->Open(m_link->DataLinkPath().c_str()) < 0) {
        Message("Could not open the production database. Please configure a DB connection first.", "Warning",
                kWarning);
        return;
    }
    if (db->CheckTables()) {
        Message(TwoParts("The database already includes the PDB data tables.",
                         "The database changes will not be processed."),
                "Warning", kWarning, false);
    } else if (db->CreateTables()) {
        Message("Successfully created PDB data tables.", "Information", kInformation, false);
    } else {
        Message(TwoParts("An error occurred while creating the PDB data tables.", "The tables were not created."),
                "Error", kError, false);
    }
    Open(true);
}
