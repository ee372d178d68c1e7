// The production-database side of the application: the usable flag behind the File menu's
// database items, the five commands (save to and load from the database, delete a record,
// configure the connection, create the tables), and the record lock this program holds.
//
// A project is locked under its key after it was loaded or saved, so that other users see it
// in use; the lock goes when the user turns to another project (a file opened or saved, another
// record loaded or saved), when the connection is changed to another database, and at exit.
// Before anything is written or deleted the key concerned is tested for another owner's lock,
// once more after any question the user was asked.
//
// A connection lost on the way (a statement given up at its deadline, a server restarted) is
// not used again: the next command opens and checks the database anew before its own
// statements, and never repeats the one that was lost.
#pragma once

#include "ProductionDb/ProductionDbKey.h"
#include "Quillet/Logger.h"

#include <functional>
#include <string>

class CProductionDbLink;
class CTAMBELDlg;
class wxWindow;

class CProductionDbCommands {
public:
    // Runs the record selection: fills the key and returns true when the user picked one.
    using RecordPicker =
        std::function<bool(CProductionDbKey& key, const std::string& action, const std::string& button)>;
    // Lets the user edit the data-link file at that path; true when it was written.
    using ConnectionEditor = std::function<bool(const std::string& dataLinkPath)>;

    // owner: the lock owner text, "user - computer".
    explicit CProductionDbCommands(std::string owner);

    void SetLink(CProductionDbLink* link) { m_link = link; }
    // The main window, whose pages store and reload the project and whose menu follows the flag.
    void SetMainDialog(CTAMBELDlg* dialog) { m_mainDialog = dialog; }
    // Tests: in place of the record selection and connection dialogs; empty functions bring
    // the dialogs back.
    void SetRecordPicker(RecordPicker picker) { m_picker = std::move(picker); }
    void SetConnectionEditor(ConnectionEditor editor) { m_editor = std::move(editor); }

    // Opens and checks the database; with warn a failure is reported. The main window's
    // database items follow. True when usable.
    bool Open(bool warn);
    bool IsUsable() const;

    // True when the project was saved; false when refused, cancelled or failed (the user has
    // been told why, unless he cancelled).
    bool SaveToDb();
    // True when a picked record was loaded.
    bool LoadFromDb();
    void DeleteRecord();
    void ConfigureConnection();
    void CreateTables();

    // Releases the lock of the current record; the key is cleared unless that failed.
    void UnlockCurrentRecord();
    // The key of the project in memory (its customer record).
    static CProductionDbKey GetCurrentProjectKey();
    // The key this program holds locked; empty for none.
    const CProductionDbKey& GetCurrentRecordKey() const { return m_currentKey; }
    const std::string& GetLockOwner() const { return m_owner; }

private:
    wxWindow* Owner() const;
    void LeavePage();
    void EnterPage();
    // Another owner's lock of the key, told to the user; true when there is one (or when the
    // lock table cannot be read).
    bool ReportForeignLock(const CProductionDbKey& key);
    // Locks the project in memory as the current record.
    void LockCurrentProject();
    bool PickRecord(CProductionDbKey& key, const char* action, const char* button);
    // Opens the database again when its connection was lost; with warn a failure is reported.
    // False when it was lost and cannot be opened again.
    bool Reconnect(bool warn);
    void EditConnection();
    int Message(const std::string& text, const std::string& title, long style, bool withOwner = true);

    CLogger m_log;
    std::string m_owner;
    CProductionDbLink* m_link = nullptr;
    CTAMBELDlg* m_mainDialog = nullptr;
    CProductionDbKey m_currentKey;
    RecordPicker m_picker;
    ConnectionEditor m_editor;
};
