#include "ProductionDbCommandsFixture.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Harbinax/MessageDialog.h"
#include "Oddments/DataLinkSettings.h"
#include "Platform/FileSystemType.h"
#include "PolyglottaWx/WindowIds.h"
#include "ProductionDb/MachineNames.h"
#include "TAMBEL/DbConnectionDlg.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/ProjectFileDialog.h"
#include "TAMBEL/Resource.h"
#include "TAMBEL/StartupEnvironment.h"
#include "TAMBEL/TAMBELDlg.h"
#include "support/ChildProcess.h"
#include "support/EnvironmentScope.h"
#include "support/SilentListener.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gmock/gmock.h>
#include <wx/defs.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>

#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

CProductionDbCommands& Commands()
{
    return App().GetProductionDbCommands();
}

const std::string kAlreadyInUse = "The record is already in use and cannot be opened a second time.";
const std::string kTablesMissing =
    "The tables of the production database are missing; \"Create tables in DB\" makes them.";
const std::string kReopen =
    "Once the database can be reached, \"Database functions > Configure DB connection\" opens it again.";
const std::string kGermanReopen =
    "Sobald die Datenbank erreichbar ist, öffnet „Datenbank Funktionen > Verbindung konfigurieren“ sie wieder.";

}  // namespace

using ProductionDbCommands = ProductionDbCommandsFixture;

TEST_F(ProductionDbCommands, WithoutDataLinkTheDatabaseIsNotUsableAndOnlyAskedWarnings)
{
    EXPECT_FALSE(App().OpenProductionDb(false));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_FALSE(App().IsProductionDbUsable());
    EXPECT_FALSE(App().OpenProductionDb(true));
    EXPECT_THAT(Texts(), ElementsAre("Could not open the production database.\nCannot read the data-link file " +
                                     TestProgramFolder() + "PDB.udl\n" + kReopen));
    EXPECT_THAT(Captions(), ElementsAre("TAMBEL: Warning"));
}

// A database file that cannot be opened: below the warning SQLite's words and what the path
// finds, then the way back once that is mended.
TEST_F(ProductionDbCommands, FailedOpenSaysWhyAndWhatOpensItAgain)
{
    CTemporaryFolder folder;
    ASSERT_EQ(mkdir(folder.Path("folder.db").c_str(), 0755), 0);
    const struct {
        std::string file;
        std::string sqlite;
        std::string english;
        std::string german;
    } cases[] = {
        {folder.Path("missing/pdb.db"), "unable to open database file", "The folder of the database file does not exist.",
         "Der Ordner der Datenbankdatei existiert nicht."},
        {folder.Path("gone.db"), "unable to open database file", "The database file does not exist.",
         "Die Datenbankdatei existiert nicht."},
        {folder.Path("folder.db"), "disk I/O error", "The database file named is a folder.",
         "Die angegebene Datenbankdatei ist ein Ordner."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        m_initString = "Provider=SQLite;Data Source=" + c.file;
        WriteWholeFile(TestProgramFolder() + "PDB.udl", "[oledb]\n" + m_initString + "\n");
        m_boxes.clear();
        EXPECT_FALSE(App().OpenProductionDb(true));
        UseTranslatedLanguage("de");
        EXPECT_FALSE(App().OpenProductionDb(true));
        App().EnableTranslator(false);
        ASSERT_EQ(m_boxes.size(), 2u);
        const std::string sqlite = c.file + ": " + c.sqlite + "\n";
        EXPECT_EQ(m_boxes[0].text, "Could not open the production database.\n" + sqlite + c.english + "\n" + kReopen);
        EXPECT_EQ(m_boxes[1].text, "Die Produktionsdatenbank konnte nicht geöffnet werden.\n" + sqlite + c.german +
                                       "\n" + kGermanReopen);
        if (c.file == folder.Path("folder.db")) {
            SaveBoxScreenshot(m_boxes[0], "db-open-folder-en");
            SaveBoxScreenshot(m_boxes[1], "db-open-folder-de");
        }
    }
}

// The warning names the next step: the database opened, only its tables are missing.
TEST_F(ProductionDbCommands, DatabaseWithoutTablesIsNotUsable)
{
    WriteDataLink();
    EXPECT_FALSE(App().OpenProductionDb(false));
    EXPECT_FALSE(App().OpenProductionDb(true));
    UseTranslatedLanguage("de");
    EXPECT_FALSE(App().OpenProductionDb(true));
    App().EnableTranslator(false);
    EXPECT_THAT(Texts(), ElementsAre("Could not open the production database.\n" + kTablesMissing,
                                     "Die Produktionsdatenbank konnte nicht geöffnet werden.\n"
                                     "Die Tabellen der Produktionsdatenbank fehlen; „Tabellen in DB erstellen“ legt "
                                     "sie an."));
    ASSERT_TRUE(m_other.CreateTables());
    EXPECT_TRUE(App().OpenProductionDb(false));
}

// Below the usual message a failed save says why, when that is known: the disk is full, another
// program holds the database for longer than the save waits, or the tables are gone. Nothing of
// the save is stored.
TEST_F(ProductionDbCommands, FailedSaveNamesItsCause)
{
    OpenWithTables();
    CProductionDb& mine = *App().GetEnvironment().ProductionDb().Database();
    const struct {
        const char* name;
        std::function<void()> make;
        std::function<void()> undo;
        std::string english;
        std::string german;
    } cases[] = {
        // The file may grow no further than it is: the features of the project need new pages.
        {"disk full", [&] { ASSERT_EQ(mine.GetSession().Execute("PRAGMA max_page_count=1"), S_OK); },
         [&] { ASSERT_EQ(mine.GetSession().Execute("PRAGMA max_page_count=1000000"), S_OK); },
         "The disk that holds the database is full.", "Der Datenträger der Datenbank ist voll."},
        {"busy", [&] { ASSERT_TRUE(m_other.ExecuteSql("BEGIN IMMEDIATE")); },
         [&] { ASSERT_TRUE(m_other.ExecuteSql("ROLLBACK")); },
         "Another program kept the database busy for longer than the save could wait.",
         "Ein anderes Programm hielt die Datenbank länger belegt, als das Speichern warten konnte."},
        {"tables missing", [&] { ASSERT_TRUE(m_other.ExecuteSql("DROP TABLE IF EXISTS fwr_result_data_tables")); }, [] {},
         kTablesMissing,
         "Die Tabellen der Produktionsdatenbank fehlen; „Tabellen in DB erstellen“ legt sie an."},
    };
    const CProductionDbKey key(4242, 1, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* language : {"en", "de"}) {
            SetProjectInMemory(key.pa, key.vk, key.pos, "A");
            for (int feature = 0; feature < 2000; ++feature)
                CProjectData::GetInstance()->features.SetAt(feature, feature);
            c.make();
            if (std::string(language) == "de")
                UseTranslatedLanguage("de");
            m_boxes.clear();
            Commands().SaveToDb();
            App().EnableTranslator(false);
            c.undo();
            EXPECT_THAT(Texts(), ElementsAre(std::string(language) == "de"
                                                 ? "Fehler in der SQL-Anweisung.\nDie Daten konnten nicht "
                                                   "gespeichert werden.\n" + c.german
                                                 : "Error in SQL statement.\nUnable to save data.\n" + c.english))
                << language;
            EXPECT_EQ(StoredCustomer(key), "");
            EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
        }
    }
}

// The check whether the key is stored already cannot be made: another program on the shared
// folder holds the file for itself for longer than the check waits. The save stops before it
// writes anything and says why.
TEST_F(ProductionDbCommands, SaveStopsWhenTheCheckForAStoredRecordFails)
{
    // On a network folder the journal lies beside the file, and a program that holds the file
    // exclusively keeps every reader out.
    struct SNetworkFolder {
        SNetworkFolder() { Platform::SetFileSystemTypeForTesting([](const std::string&) { return 0x6969ul; }); }
        ~SNetworkFolder() { Platform::SetFileSystemTypeForTesting(nullptr); }
    } networkFolder;
    OpenWithTables();
    const CProductionDbKey key(4545, 1, 1);
    ASSERT_NO_FATAL_FAILURE(OtherProgramSaves(key, "Customer stored", CPhysicalData()));
    ASSERT_TRUE(m_other.ExecuteSql("CREATE TABLE other_program (x INTEGER)"));
    const std::string path = m_initString.substr(m_initString.find('=', m_initString.find("Data Source")) + 1);
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        sqlite3* holder = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path.c_str(), &holder, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(holder, "INSERT INTO other_program VALUES (1)", nullptr, nullptr, nullptr), SQLITE_OK);
        // Each of the two checks waits 5 s, the second in vain (SQLite counts the waits it asked
        // for, not the time they took); the file comes free only after the save.
        const bool german = std::string(language) == "de";
        SetProjectInMemory(key.pa, key.vk, key.pos, "new");
        if (german)
            UseTranslatedLanguage("de");
        m_boxes.clear();
        Commands().SaveToDb();
        App().EnableTranslator(false);
        sqlite3_close(holder);
        EXPECT_THAT(Texts(), ElementsAre(german
                                             ? "Die Daten konnten nicht gespeichert werden.\nEin anderes Programm "
                                               "hielt die Datenbank länger belegt, als das Speichern warten konnte."
                                             : "Unable to save data.\nAnother program kept the database busy for "
                                               "longer than the save could wait."));
        EXPECT_EQ(StoredCustomer(key), "Customer stored");
        EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
    }
}

// A user who may not write the database, its folder or the files beside it that another user's
// program made is told so. As root the permission bits stop nothing: the program runs as nobody.
TEST_F(ProductionDbCommands, SaveTheUserMayNotWriteSaysSo)
{
    const CProductionDbKey key(4343, 1, 1);
    const struct {
        const char* name;
        mode_t fileMode;
        bool fileOwnedByUser;
        mode_t folderMode;
        bool othersSideFiles;
    } cases[] = {
        {"read-only file", 0644, false, 0755, false},
        {"read-only folder", 0644, true, 0555, false},
        {"side files of another user", 0666, false, 0755, true},
    };
    // The program folder with the data link is the test's own otherwise.
    ASSERT_EQ(chmod(TestProgramFolder().c_str(), 0755), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTemporaryFolder folder;
        const std::string path = folder.Path("pdb.db");
        WriteWholeFile(path, "");
        m_initString = "Provider=SQLite;Data Source=" + path;
        OpenWithTables();
        App().GetEnvironment().ProductionDb().Close();
        ASSERT_TRUE(GiveToUnprivileged(folder.Path("")));
        if (c.fileOwnedByUser) {
            ASSERT_TRUE(GiveToUnprivileged(path));
        }
        ASSERT_EQ(chmod(path.c_str(), c.fileMode), 0);
        if (c.othersSideFiles) {
            // Another user's program holds the file: its log and index are that user's.
            ASSERT_TRUE(m_other.ExecuteSql("SELECT 1"));
            ASSERT_EQ(chmod((path + "-wal").c_str(), 0644), 0);
            ASSERT_EQ(chmod((path + "-shm").c_str(), 0644), 0);
        } else {
            m_other.Close();
        }
        ASSERT_EQ(chmod(folder.Path("").c_str(), c.folderMode), 0);
        const int result = RunInChild([&] {
            if (!LeaveRoot())
                return 90;
            int failures = 0;
            for (const char* language : {"en", "de"}) {
                if (!App().OpenProductionDb(false))
                    return 91;
                SetProjectInMemory(key.pa, key.vk, key.pos, "A");
                if (std::string(language) == "de")
                    UseTranslatedLanguage("de");
                m_boxes.clear();
                Commands().SaveToDb();
                App().EnableTranslator(false);
                const std::string expected =
                    std::string(language) == "de"
                        ? "Fehler in der SQL-Anweisung.\nDie Daten konnten nicht gespeichert werden.\nDie Datenbank "
                          "oder ihr Ordner kann nicht beschrieben werden."
                        : "Error in SQL statement.\nUnable to save data.\nThe database or its folder cannot be written.";
                if (Texts() != std::vector<std::string>{expected}) {
                    for (const std::string& text : Texts())
                        std::fprintf(stderr, "%s: shown \"%s\"\n", language, text.c_str());
                    ++failures;
                }
            }
            return failures;
        });
        chmod(folder.Path("").c_str(), 0755);
        ASSERT_NE(result, 90) << "could not become an ordinary user";
        ASSERT_NE(result, 91) << "the database did not open for reading";
        EXPECT_EQ(result, 0);
        m_other.Close();
    }
    chmod(TestProgramFolder().c_str(), 0700);
}

TEST_F(ProductionDbCommands, MainWindowMenuFollowsTheDatabase)
{
    // The main window's pages read the units database of the build.
    ASSERT_NO_FATAL_FAILURE(PlaceShippedDatabase());
    ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
    CTAMBELDlg dialog;
    ASSERT_TRUE(dialog.Create());
    App().SetMainDialog(&dialog);
    const wxMenuBar* bar = dialog.GetFrame()->GetMenuBar();
    App().OpenProductionDb(false);
    for (int item : {ID_FILE_OPEN_DB, ID_FILE_SAVE_DB, ID_FILE_DELETE_DB})
        EXPECT_FALSE(bar->IsEnabled(CWindowIds::FromResourceId(item))) << item;
    EXPECT_TRUE(bar->IsEnabled(CWindowIds::FromResourceId(ID_FILE_CREATE_DB)));
    WriteDataLink();
    Commands().CreateTables();
    for (int item : {ID_FILE_OPEN_DB, ID_FILE_SAVE_DB, ID_FILE_DELETE_DB})
        EXPECT_TRUE(bar->IsEnabled(CWindowIds::FromResourceId(item))) << item;
    App().SetMainDialog(nullptr);
    CUnitDb::GetInstance()->Close();
    std::remove((TestProgramFolder() + "Zephrin.db").c_str());
}

TEST_F(ProductionDbCommands, SaveWithoutKeyTakesNoLock)
{
    OpenWithTables();
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("There is no PA / VK-No specified.\nUnable to save data."));
    EXPECT_THAT(Captions(), ElementsAre("TAMBEL: Error"));
    EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
}

TEST_F(ProductionDbCommands, SaveOfANewKeyAsksNothingAndLocksIt)
{
    OpenWithTables();
    const CProductionDbKey key(12345, 1, 1);
    SetProjectInMemory(key.pa, key.vk, key.pos, "A");
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer A");
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());
    EXPECT_EQ(Commands().GetCurrentRecordKey(), key);

    // The own lock does not stand in the way, the stored project asks first.
    SetProjectInMemory(key.pa, key.vk, key.pos, "B");
    m_answers = {wxID_NO};
    m_boxes.clear();
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("A record with the same keys exists already.\nOverwrite existing record?"));
    EXPECT_EQ(StoredCustomer(key), "Customer A");

    m_boxes.clear();
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("A record with the same keys exists already.\nOverwrite existing record?",
                                     "Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer B");
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());
}

TEST_F(ProductionDbCommands, SaveLeavesTheLockRowOfTheSavedKeyInPlaceOfTheOldOne)
{
    OpenWithTables();
    SetProjectInMemory(1, 2, 3, "A");
    Commands().SaveToDb();
    SetProjectInMemory(4, 5, 6, "B");
    Commands().SaveToDb();
    EXPECT_EQ(LockOwner(CProductionDbKey(1, 2, 3)), "");
    EXPECT_EQ(LockOwner(CProductionDbKey(4, 5, 6)), App().GetLockOwner());
    Commands().UnlockCurrentRecord();
    EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
    EXPECT_EQ(LockOwner(CProductionDbKey(4, 5, 6)), "");
}

TEST_F(ProductionDbCommands, SaveNeverOverwritesAProjectLockedByAnother)
{
    OpenWithTables();
    // The program holds a lock of its own; the key typed is another owner's.
    SetProjectInMemory(1, 1, 1, "mine");
    Commands().SaveToDb();
    const CProductionDbKey theirs(777, 1, 1);
    OtherProgramSavesAndLocks(theirs);
    SetProjectInMemory(theirs.pa, theirs.vk, theirs.pos, "mine");
    m_boxes.clear();
    Commands().SaveToDb();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0].text, HasSubstr(kAlreadyInUse));
    EXPECT_THAT(m_boxes[0].text, HasSubstr(std::string("User: ") + kOtherOwner + " machine: "));
    EXPECT_EQ(StoredCustomer(theirs), "Customer other");
    EXPECT_EQ(LockOwner(theirs), kOtherOwner);
    EXPECT_EQ(Commands().GetCurrentRecordKey(), CProductionDbKey(1, 1, 1));
}

// A lock table that cannot be read keeps the project from being overwritten, and the message
// says so instead of naming the user as the holder of their own record.
TEST_F(ProductionDbCommands, UnreadableLockTableIsNamedAsTheCause)
{
    OpenWithTables();
    const CProductionDbKey key(4711, 1, 1);
    OtherProgramSavesAndLocks(key);
    ASSERT_TRUE(m_other.ExecuteSql("DROP TABLE fwr_record_locks"));
    SetProjectInMemory(key.pa, key.vk, key.pos, "mine");
    m_boxes.clear();
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("The lock of the record could not be read.\nThe record is left as it is."));
    EXPECT_EQ(StoredCustomer(key), "Customer other");

    UseTranslatedLanguage("de");
    m_boxes.clear();
    Commands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("Die Sperre des Datensatzes konnte nicht gelesen werden.\nDer Datensatz bleibt, "
                                     "wie er ist."));
    App().EnableTranslator(false);
}

// A question may stay open for a while: a lock another user takes meanwhile still keeps the
// project from being overwritten or deleted.
TEST_F(ProductionDbCommands, LockTakenWhileAQuestionIsOpenStillProtects)
{
    OpenWithTables();
    const CProductionDbKey key(778, 1, 1);
    OtherProgramSavesAndLocks(key);
    ASSERT_TRUE(m_other.UnlockRecord(key, kOtherOwner));
    m_whileAsked = [&] { EXPECT_TRUE(m_other.LockRecord(key, kOtherOwner)); };
    SetProjectInMemory(key.pa, key.vk, key.pos, "mine");
    Commands().SaveToDb();
    m_whileAsked = nullptr;
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].text, "A record with the same keys exists already.\nOverwrite existing record?");
    EXPECT_THAT(m_boxes[1].text, HasSubstr(std::string("User: ") + kOtherOwner + " machine: "));
    EXPECT_EQ(StoredCustomer(key), "Customer other");
    EXPECT_EQ(LockOwner(key), kOtherOwner);
    EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());

    // Likewise while the delete question is open.
    ASSERT_TRUE(m_other.UnlockRecord(key, kOtherOwner));
    m_whileAsked = [&] { EXPECT_TRUE(m_other.LockRecord(key, kOtherOwner)); };
    m_pick = key;
    m_boxes.clear();
    Commands().DeleteRecord();
    m_whileAsked = nullptr;
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].text, "Do you really want to delete the record?");
    EXPECT_THAT(m_boxes[1].text, HasSubstr(std::string("User: ") + kOtherOwner + " machine: "));
    EXPECT_EQ(StoredCustomer(key), "Customer other");
    EXPECT_EQ(LockOwner(key), kOtherOwner);
}

TEST_F(ProductionDbCommands, MessagesInGerman)
{
    OpenWithTables();
    const CProductionDbKey theirs(777, 1, 1);
    OtherProgramSavesAndLocks(theirs);
    UseTranslatedLanguage("de");
    SetProjectInMemory(theirs.pa, theirs.vk, theirs.pos, "mine");
    Commands().SaveToDb();
    SetProjectInMemory(0, 0, 0, "mine");
    Commands().SaveToDb();
    App().EnableTranslator(false);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].caption, "Zephrin: Fehler");
    EXPECT_THAT(m_boxes[0].text, HasSubstr(std::string("nicht ein zweites Mal geöffnet werden.\nBenutzer: ") +
                                           kOtherOwner + " Rechner: " + GetComputerNameString() + " (seit "));
    EXPECT_EQ(m_boxes[1].text, "Es ist keine PA / VK-Nr. angegeben.\nDie Daten konnten nicht gespeichert werden.");
}

TEST_F(ProductionDbCommands, LoadOfAProjectLockedByAnotherShowsItAndHoldsNoKey)
{
    OpenWithTables();
    SetProjectInMemory(1, 1, 1, "mine");
    Commands().SaveToDb();
    const CProductionDbKey theirs(4711, 12, 1);
    OtherProgramSavesAndLocks(theirs);
    m_pick = theirs;
    m_boxes.clear();
    Commands().LoadFromDb();
    EXPECT_THAT(m_pickTexts, ElementsAre("Load", "&Load"));
    EXPECT_EQ(CProjectData::GetInstance()->customer.customer, "Customer other");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0].text, HasSubstr(kAlreadyInUse));
    EXPECT_THAT(m_boxes[0].text, HasSubstr(std::string("User: ") + kOtherOwner + " machine: " +
                                           GetComputerNameString() + " (since "));
    EXPECT_EQ(m_boxes[0].text.find("(since )"), std::string::npos) << "the locking time is shown";
    // The own lock of before is released, the other's stays the other's.
    EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
    EXPECT_EQ(LockOwner(CProductionDbKey(1, 1, 1)), "");
    EXPECT_EQ(LockOwner(theirs), kOtherOwner);
}

TEST_F(ProductionDbCommands, LoadTakesTheLockOfAFreeProject)
{
    OpenWithTables();
    const CProductionDbKey key(4711, 12, 1);
    OtherProgramSavesAndLocks(key);
    ASSERT_TRUE(m_other.UnlockRecord(key, kOtherOwner));
    m_pick = key;
    Commands().LoadFromDb();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(Commands().GetCurrentRecordKey(), key);
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());

    m_pick = CProductionDbKey(9, 9, 9);
    Commands().LoadFromDb();
    EXPECT_THAT(Texts(), ElementsAre("Unable to read data."));
    EXPECT_EQ(Commands().GetCurrentRecordKey(), key);

    m_picks = false;
    m_boxes.clear();
    Commands().LoadFromDb();
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ProductionDbCommands, DeleteAsksAndReportsAndSparesOtherOwnersLocks)
{
    OpenWithTables();
    const CProductionDbKey mine(5, 5, 5);
    SetProjectInMemory(mine.pa, mine.vk, mine.pos, "mine");
    Commands().SaveToDb();
    m_boxes.clear();

    // The own lock is no reason to refuse.
    m_pick = mine;
    m_answers = {wxID_NO};
    Commands().DeleteRecord();
    EXPECT_THAT(m_pickTexts, ElementsAre("Delete record", "&Delete"));
    EXPECT_THAT(Texts(), ElementsAre("Do you really want to delete the record?"));
    EXPECT_EQ(StoredCustomer(mine), "Customer mine");
    Commands().DeleteRecord();
    EXPECT_EQ(StoredCustomer(mine), "");
    EXPECT_EQ(CProjectData::GetInstance()->customer.customer, "Customer mine") << "memory stays";

    const CProductionDbKey theirs(6, 6, 6);
    OtherProgramSavesAndLocks(theirs);
    m_pick = theirs;
    m_boxes.clear();
    Commands().DeleteRecord();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0].text, HasSubstr(kAlreadyInUse));
    EXPECT_EQ(StoredCustomer(theirs), "Customer other");

    ASSERT_TRUE(m_other.UnlockRecord(theirs, kOtherOwner));
    ASSERT_TRUE(m_other.ExecuteSql("DROP TABLE IF EXISTS fwr_result_data_tables"));
    m_boxes.clear();
    Commands().DeleteRecord();
    EXPECT_THAT(Texts(), ElementsAre("Do you really want to delete the record?", "The record could not be deleted."));
    EXPECT_EQ(StoredCustomer(theirs), "Customer other");

    m_pick = CProductionDbKey();
    m_boxes.clear();
    Commands().DeleteRecord();
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(ProductionDbCommands, CreateTablesOnEveryKindOfDatabase)
{
    Commands().CreateTables();
    EXPECT_THAT(Texts(), ElementsAre("Could not open the production database. Please configure a DB connection first."));

    WriteDataLink();
    m_boxes.clear();
    Commands().CreateTables();
    EXPECT_THAT(Texts(), ElementsAre("Successfully created PDB data tables."));
    EXPECT_EQ(m_boxes[0].owner, nullptr);
    EXPECT_TRUE(App().IsProductionDbUsable());

    m_boxes.clear();
    Commands().CreateTables();
    EXPECT_THAT(Texts(), ElementsAre("The production database structure is already up to date."));

    // Complete tables that the program does not use yet.
    App().GetEnvironment().ProductionDb().Close();
    m_boxes.clear();
    Commands().CreateTables();
    EXPECT_THAT(Texts(), ElementsAre("The database already includes the PDB data tables.\nThe database changes will "
                                     "not be processed."));
    EXPECT_TRUE(App().IsProductionDbUsable());
}

TEST_F(ProductionDbCommands, ConfigureWritesTheDataLinkAndReopens)
{
    const std::string file = TestProgramFolder() + "configured.db";
    WriteWholeFile(file, "");
    std::string edited;
    Commands().SetConnectionEditor([&](const std::string& path) {
        edited = path;
        CDataLinkSettings settings;
        settings.file = file;
        return settings.Write(path, nullptr);
    });
    Commands().ConfigureConnection();
    EXPECT_EQ(edited, TestProgramFolder() + "PDB.udl");
    // A new file has no tables yet.
    EXPECT_THAT(Texts(), ElementsAre("Could not open the production database.\n" + kTablesMissing));
    m_boxes.clear();
    Commands().CreateTables();
    EXPECT_TRUE(App().IsProductionDbUsable());
    std::remove(file.c_str());
}

TEST_F(ProductionDbCommands, ChangingTheConnectionReleasesTheLockInTheDatabaseLeft)
{
    OpenWithTables();
    const CProductionDbKey key(33, 0, 0);
    SetProjectInMemory(key.pa, key.vk, key.pos, "A");
    Commands().SaveToDb();
    ASSERT_EQ(LockOwner(key), App().GetLockOwner());

    // The same database written again: the lock stays.
    Commands().SetConnectionEditor([&](const std::string& path) {
        CDataLinkSettings settings;
        return settings.Read(path) && settings.Write(path, nullptr);
    });
    Commands().ConfigureConnection();
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());
    EXPECT_EQ(Commands().GetCurrentRecordKey(), key);

    const std::string file = TestProgramFolder() + "elsewhere.db";
    WriteWholeFile(file, "");
    Commands().SetConnectionEditor([&](const std::string& path) {
        CDataLinkSettings settings;
        settings.file = file;
        return settings.Write(path, nullptr);
    });
    Commands().ConfigureConnection();
    EXPECT_EQ(LockOwner(key), "");
    EXPECT_TRUE(Commands().GetCurrentRecordKey().IsEmpty());
    std::remove(file.c_str());
}

TEST_F(ProductionDbCommands, ConnectionDialogTestsAndWritesTheLink)
{
    const std::string link = TestProgramFolder() + "PDB.udl";
    CDbConnectionDlg dialog(nullptr, link);
    ASSERT_TRUE(dialog.Create());
    const std::string file = TestProgramFolder() + "dialog.db";
    WriteWholeFile(file, "");
    CDataLinkSettings settings;
    settings.file = file;
    dialog.SetSettings(settings);
    dialog.Show();
    SaveScreenshot(Snapshot(&dialog), "db-connection");
    EXPECT_FALSE(dialog.GetItem(CDbConnectionDlg::IDC_HOST)->IsEnabled());
    EXPECT_TRUE(dialog.TestConnection());
    settings.provider = CDataLinkSettings::Provider::PostgreSQL;
    settings.host = TestProgramFolder() + "no-server";
    dialog.SetSettings(settings);
    EXPECT_TRUE(dialog.GetItem(CDbConnectionDlg::IDC_HOST)->IsEnabled());
    EXPECT_FALSE(dialog.TestConnection());
    EXPECT_THAT(Texts(), ElementsAre("The connection to the database was established.",
                                     HasSubstr("Could not connect to the database.\n")));
    ASSERT_TRUE(dialog.Save());
    CDataLinkSettings read;
    ASSERT_TRUE(read.Read(link));
    EXPECT_EQ(read.ToInitializationString(), settings.ToInitializationString());
    dialog.Destroy();
    std::remove(file.c_str());
}

// The connection test names the server it waited for and how long, in the user's language. The
// listener never accepts: the kernel takes the connection and nobody answers it.
TEST_F(ProductionDbCommands, ConnectionTestNamesTheServerThatDidNotAnswer)
{
    const CSilentListener listener;
    const std::string port = listener.Port();
    ASSERT_FALSE(port.empty());
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    CDbConnectionDlg dialog(nullptr, TestProgramFolder() + "PDB.udl");
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings;
    settings.provider = CDataLinkSettings::Provider::PostgreSQL;
    settings.host = "127.0.0.1";
    settings.port = port;
    settings.database = "x";
    settings.user = "x";
    dialog.SetSettings(settings);
    ConnectEngineToApplication();
    struct EngineReset {
        ~EngineReset() { DisconnectEngineFromApplication(); }
    } engineReset;
    const std::string where = " (host \"127.0.0.1\" port " + port + ")";
    const struct {
        const char* language;
        std::string text;
    } languages[] = {
        {"en", "Could not connect to the database.\nThe server did not answer; waited 5 s" + where},
        {"de", "Die Verbindung zur Datenbank konnte nicht hergestellt werden.\nDer Server hat nicht geantwortet; "
               "gewartet: 5 s" + where},
    };
    // The message box as the user sees it.
    SetMessageBoxSinkForTesting(nullptr);
    for (const auto& language : languages) {
        SCOPED_TRACE(language.language);
        UseTranslatedLanguage(language.language);
        wxString text;
        auto closeWhenShown = [&](wxShowEvent& event) {
            event.Skip();
            auto* box = dynamic_cast<CMessageDialog*>(event.GetEventObject());
            if (!box || !event.IsShown())
                return;
            box->CallAfter([&, box] {
                PumpFor(300);
                text = box->GetMessage();
                SaveScreenshot(WholeWindow(box), std::string("connection-test-no-answer-") + language.language);
                box->EndModal(wxID_OK);
            });
        };
        App().Bind(wxEVT_SHOW, closeWhenShown);
        EXPECT_FALSE(dialog.TestConnection());
        App().Unbind(wxEVT_SHOW, closeWhenShown);
        EXPECT_EQ(text, wxString::FromUTF8(language.text));
    }
    App().EnableTranslator(false);
    dialog.Destroy();
}

// For an SQLite link the test says what it found before it opens anything: a file that is not
// there yet is no fault, OK makes it.
TEST_F(ProductionDbCommands, ConnectionTestNamesWhatItFindsForAFile)
{
    CTemporaryFolder folder;
    const struct {
        std::string file;
        bool usable;
        long icon;
        std::string english;
        std::string german;
    } cases[] = {
        {"", false, wxICON_ERROR, "Could not connect to the database.\nNo database file is named.",
         "Die Verbindung zur Datenbank konnte nicht hergestellt werden.\nEs ist keine Datenbankdatei angegeben."},
        {folder.Path("missing/new.db"), false, wxICON_ERROR,
         "Could not connect to the database.\nThe folder of the database file does not exist.",
         "Die Verbindung zur Datenbank konnte nicht hergestellt werden.\nDer Ordner der Datenbankdatei existiert "
         "nicht."},
        {folder.Path("new.db"), true, wxICON_INFORMATION, "The database file does not exist yet; OK will create it.",
         "Die Datenbankdatei existiert noch nicht; OK legt sie an."},
        {folder.Path("folder.db"), false, wxICON_ERROR, "Could not connect to the database.\nThe database file named is a folder.",
         "Die Verbindung zur Datenbank konnte nicht hergestellt werden.\nDie angegebene Datenbankdatei ist ein Ordner."},
    };
    ASSERT_EQ(mkdir(folder.Path("folder.db").c_str(), 0755), 0);
    CDbConnectionDlg dialog(nullptr, TestProgramFolder() + "PDB.udl");
    ASSERT_TRUE(dialog.Create());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CDataLinkSettings settings;
        settings.file = c.file;
        dialog.SetSettings(settings);
        m_boxes.clear();
        EXPECT_EQ(dialog.TestConnection(), c.usable);
        UseTranslatedLanguage("de");
        EXPECT_EQ(dialog.TestConnection(), c.usable);
        App().EnableTranslator(false);
        EXPECT_THAT(Texts(), ElementsAre(c.english, c.german));
        for (const SMessageBox& box : m_boxes)
            EXPECT_EQ(box.style, wxOK | c.icon);
        if (c.file == folder.Path("folder.db") && m_boxes.size() == 2) {
            SaveBoxScreenshot(m_boxes[0], "db-test-folder-en");
            SaveBoxScreenshot(m_boxes[1], "db-test-folder-de");
        }
    }
    dialog.Destroy();
    // The test made nothing.
    EXPECT_NE(access(folder.Path("new.db").c_str(), F_OK), 0);
}

// Under the German program libpq and the C library speak German, and their texts keep their
// letters: no "L?uft", no ">>127.0.0.1<<". A '?' may only end a question.
TEST_F(ProductionDbCommands, GermanSystemAndDatabaseTextsKeepTheirLetters)
{
    const auto questionMarksInWords = [](const std::string& text) {
        return std::regex_search(text, std::regex("\\?\\S"));
    };
    UseTranslatedLanguage("de");
    CDbConnectionDlg dialog(nullptr, TestProgramFolder() + "PDB.udl");
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings;
    settings.provider = CDataLinkSettings::Provider::PostgreSQL;
    settings.host = "127.0.0.1";
    settings.port = "1";  // nobody listens there
    settings.database = "zephrin";
    settings.user = "zephrin";
    dialog.SetSettings(settings);
    EXPECT_FALSE(dialog.TestConnection());
    dialog.Destroy();
    ASSERT_EQ(m_boxes.size(), 1u);
    const std::string& shown = m_boxes[0].text;
    EXPECT_THAT(shown, HasSubstr("Die Verbindung zur Datenbank konnte nicht hergestellt werden.\n"));
    EXPECT_THAT(shown, HasSubstr("»127.0.0.1«"));
    EXPECT_THAT(shown, HasSubstr("Läuft der Server"));
    EXPECT_FALSE(questionMarksInWords(shown)) << shown;

    const struct {
        int error;
        std::vector<std::string> words;
    } cases[] = {
        {ENOSPC, {"Gerät", "verfügbar"}},
        {ETIMEDOUT, {"für"}},
    };
    for (const auto& c : cases) {
        const std::string text = std::strerror(c.error);
        for (const std::string& word : c.words)
            EXPECT_THAT(text, HasSubstr(word));
        EXPECT_EQ(text.find('?'), std::string::npos) << text;
    }
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    UseTranslatedLanguage("en");
    App().EnableTranslator(false);
}

// The dialog shows host, port, database and user; a password or deadline set by hand stays with
// the server it was set for, and the file that holds it is the program's users' only.
TEST_F(ProductionDbCommands, ConnectionDialogKeepsWhatItDoesNotShow)
{
    const std::string link = TestProgramFolder() + "PDB.udl";
    WriteWholeFile(link, "[oledb]\nProvider=PostgreSQL;host=old dbname=pdb password=secret;Command Timeout=5\n");
    ASSERT_EQ(chmod(link.c_str(), 0644), 0);
    {
        CDbConnectionDlg dialog(nullptr, link);
        ASSERT_TRUE(dialog.Create());
        CDataLinkSettings settings = dialog.GetSettings();
        EXPECT_EQ(settings.host, "old");
        settings.user = "sizer";
        dialog.SetSettings(settings);
        ASSERT_TRUE(dialog.Save());
        dialog.Destroy();
    }
    EXPECT_EQ(ReadWholeFile(link),
              "[oledb]\nProvider=PostgreSQL;host=old;dbname=pdb;user=sizer;Command Timeout=5;password=secret\n");
    struct stat st {};
    ASSERT_EQ(stat(link.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    CDbConnectionDlg dialog(nullptr, link);
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings = dialog.GetSettings();
    settings.host = "new";
    dialog.SetSettings(settings);
    ASSERT_TRUE(dialog.Save());
    EXPECT_EQ(ReadWholeFile(link), "[oledb]\nProvider=PostgreSQL;host=new;dbname=pdb;user=sizer;Command Timeout=5\n");
    dialog.Destroy();
}

// A line break would split the data-link file's one line: the dialog refuses it and says why.
TEST_F(ProductionDbCommands, ConnectionDialogRefusesALineBreak)
{
    const std::string link = TestProgramFolder() + "PDB.udl";
    const std::string before = ReadWholeFile(link);
    CDbConnectionDlg dialog(nullptr, link);
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings;
    settings.provider = CDataLinkSettings::Provider::PostgreSQL;
    settings.host = "db";
    settings.database = "pdb\nuser=postgres";
    dialog.SetSettings(settings);
    EXPECT_FALSE(dialog.Save());
    UseTranslatedLanguage("de");
    EXPECT_FALSE(dialog.Save());
    App().EnableTranslator(false);
    dialog.Destroy();
    EXPECT_THAT(Texts(), ElementsAre("The connection could not be saved.\nA field holds a line break.",
                                     "Die Verbindung konnte nicht gespeichert werden.\nEin Feld enthält einen "
                                     "Zeilenumbruch."));
    EXPECT_EQ(ReadWholeFile(link), before);
}

// A folder is no database file: OK refuses it as it refuses a file that cannot be made.
TEST_F(ProductionDbCommands, ConnectionDialogRefusesAFolder)
{
    const std::string link = TestProgramFolder() + "PDB.udl";
    WriteWholeFile(link, "[oledb]\nProvider=SQLite;Data Source=" + TestProgramFolder() + "kept.db\n");
    CTemporaryFolder folder;
    CDbConnectionDlg dialog(nullptr, link);
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings;
    settings.file = folder.Path("pdb");
    ASSERT_EQ(mkdir(settings.file.c_str(), 0755), 0);
    dialog.SetSettings(settings);
    EXPECT_FALSE(dialog.Save());
    UseTranslatedLanguage("de");
    EXPECT_FALSE(dialog.Save());
    App().EnableTranslator(false);
    if (m_boxes.size() == 2) {
        SaveBoxScreenshot(m_boxes[0], "db-connection-folder-en");
        SaveBoxScreenshot(m_boxes[1], "db-connection-folder-de");
    }
    dialog.Destroy();
    const std::string isFolder = settings.file + ": " + std::strerror(EISDIR);
    EXPECT_THAT(Texts(), ElementsAre("The connection could not be saved.\n" + isFolder,
                                     "Die Verbindung konnte nicht gespeichert werden.\n" + isFolder));
    EXPECT_EQ(ReadWholeFile(link), "[oledb]\nProvider=SQLite;Data Source=" + TestProgramFolder() + "kept.db\n");
}

TEST_F(ProductionDbCommands, NewSqliteFileFromTheConnectionDialogTakesTheTables)
{
    const std::string file = TestProgramFolder() + "new.db";
    std::remove(file.c_str());
    Commands().SetConnectionEditor([&](const std::string& path) {
        CDbConnectionDlg dialog(nullptr, path);
        EXPECT_TRUE(dialog.Create());
        CDataLinkSettings settings;
        settings.file = file;
        dialog.SetSettings(settings);
        const bool saved = dialog.Save();
        dialog.Destroy();
        return saved;
    });
    Commands().ConfigureConnection();
    Commands().CreateTables();
    EXPECT_THAT(Texts(), ElementsAre("Could not open the production database.\n" + kTablesMissing,
                                     "Successfully created PDB data tables."));
    EXPECT_TRUE(App().IsProductionDbUsable());

    // A file that cannot be made is reported and the link stays as it was.
    CDbConnectionDlg dialog(nullptr, TestProgramFolder() + "PDB.udl");
    ASSERT_TRUE(dialog.Create());
    CDataLinkSettings settings;
    settings.file = TestProgramFolder() + "no-such-folder/new.db";
    dialog.SetSettings(settings);
    m_boxes.clear();
    EXPECT_FALSE(dialog.Save());
    EXPECT_THAT(Texts(), ElementsAre(HasSubstr("The connection could not be saved.\n")));
    dialog.Destroy();
    CDataLinkSettings kept;
    ASSERT_TRUE(kept.Read(TestProgramFolder() + "PDB.udl"));
    EXPECT_EQ(kept.file, file);
    App().GetEnvironment().ProductionDb().Close();
    std::remove(file.c_str());
}

TEST_F(ProductionDbCommands, ExitReleasesTheLock)
{
    OpenWithTables();
    const CProductionDbKey key(31, 0, 0);
    SetProjectInMemory(key.pa, key.vk, key.pos, "A");
    Commands().SaveToDb();
    ASSERT_EQ(LockOwner(key), App().GetLockOwner());
    App().ExitInstance();
    EXPECT_EQ(LockOwner(key), "");
    EXPECT_FALSE(App().IsProductionDbUsable());
}

// The record stays locked while the project still lives only in the database: a file that
// cannot be opened or the e-mail's copy keeps it; a saved or an opened file frees it.
TEST_F(ProductionDbCommands, ProjectFilesFreeTheLockOnlyOnceTheProjectLivesInAFile)
{
    OpenWithTables();
    const CProductionDbKey key(32, 0, 0);
    SetProjectInMemory(key.pa, key.vk, key.pos, "A");
    Commands().SaveToDb();
    ASSERT_EQ(LockOwner(key), App().GetLockOwner());

    CTemporaryFolder files;
    const std::string broken = files.Path("broken.xml");
    WriteWholeFile(broken, "<OTHER/>");
    EXPECT_FALSE(App().OpenProjectFile(broken));
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());

    // The copy an e-mail carries is no save of the user's: the record stays the user's.
    EXPECT_TRUE(App().SaveProjectFile(files.Path("mail.xml"), false));
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());

    const std::string saved = files.Path("saved.xml");
    EXPECT_TRUE(App().SaveProjectFile(saved));
    EXPECT_EQ(LockOwner(key), "");

    Commands().SaveToDb();
    ASSERT_EQ(LockOwner(key), App().GetLockOwner());
    EXPECT_TRUE(App().OpenProjectFile(saved));
    EXPECT_EQ(LockOwner(key), "");
}

// A project the database holds is saved back to it when the user answers Yes before it is lost,
// as Save to database saves it; a save the user refuses keeps the project.
TEST_F(ProductionDbCommands, ChangedProjectFromTheDatabaseIsSavedBackBeforeItIsLost)
{
    const std::string question = "The project has been changed.\nDo you want to save the changes?";
    OpenWithTables();
    const CProductionDbKey key(33, 1, 2);
    OtherProgramSavesAndLocks(key);
    ASSERT_TRUE(m_other.UnlockRecord(key, kOtherOwner));
    // Without its window no page holds any of the project.
    CTAMBELDlg mainDialog;
    App().SetMainDialog(&mainDialog);
    // Should a file be asked for, the dialog is cancelled.
    SetFileDialogSinkForTesting([](const SFileDialogRequest&) { return std::string(); });
    App().KeepProjectSnapshot(false);
    m_pick = key;
    wxCommandEvent load(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_OPEN_DB));
    App().ProcessEvent(load);
    CProjectData* project = CProjectData::GetInstance();
    ASSERT_EQ(project->customer.customer, "Customer other");
    EXPECT_TRUE(App().MayDropProject());
    EXPECT_TRUE(m_boxes.empty());

    project->customer.customer = "Customer changed";
    m_answers = {wxID_YES, wxID_YES};
    EXPECT_TRUE(App().MayDropProject());
    EXPECT_THAT(Texts(), ElementsAre(question, "A record with the same keys exists already.\nOverwrite existing record?",
                                     "Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer changed");
    m_boxes.clear();
    EXPECT_TRUE(App().MayDropProject());
    EXPECT_TRUE(m_boxes.empty());

    // The overwrite refused: the program stays with the changed project.
    project->customer.customer = "Customer changed again";
    m_answers = {wxID_YES, wxID_NO};
    EXPECT_FALSE(App().MayDropProject());
    EXPECT_EQ(StoredCustomer(key), "Customer changed");
    EXPECT_EQ(project->customer.customer, "Customer changed again");
    // A load over it asks first; Cancel keeps it and picks nothing.
    m_boxes.clear();
    m_pickTexts.clear();
    m_answers = {wxID_CANCEL};
    App().ProcessEvent(load);
    EXPECT_THAT(Texts(), ElementsAre(question));
    EXPECT_TRUE(m_pickTexts.empty());
    EXPECT_EQ(project->customer.customer, "Customer changed again");
    SetFileDialogSinkForTesting(nullptr);
    App().SetMainDialog(nullptr);
}

// A project whose numbers carry more digits than the fluid page shows, loaded while the page is
// shown: the store after the load keeps them, so the project counts as unchanged and nothing is
// asked before it is dropped.
TEST_F(ProductionDbCommands, ProjectLoadedOnTheFluidPageKeepsEveryDigit)
{
    ASSERT_NO_FATAL_FAILURE(OpenShippedDatabase());
    ASSERT_NO_FATAL_FAILURE(OpenWithTables());
    const CProductionDbKey key(35, 1, 2);
    CPhysicalData physical;
    physical.Fluid = CreateFluid(FLUID_TYPE_LIQUID);
    physical.Fluid->Type = FLUID_TYPE_LIQUID;
    physical.Fluid->DbIndex = FLUID_INDEX_CUSTOM;
    const CUnitManager* units = CUnitManager::GetInstance();
    ASSERT_TRUE(units->GetUnit(physical.Temperature, 1));  // degC
    physical.Temperature.Value = 20.123456789;
    ASSERT_TRUE(units->ConvertToBase(physical.Temperature.BaseValue, physical.Temperature.Value, 1, 0));
    ASSERT_TRUE(units->GetUnit(physical.Density, 21));  // kg/m3
    physical.Density.Value = 998.123456789;
    ASSERT_TRUE(units->ConvertToBase(physical.Density.BaseValue, physical.Density.Value, 21, FLUID_TYPE_LIQUID));
    ASSERT_NO_FATAL_FAILURE(OtherProgramSaves(key, "Customer digits", physical));

    CTAMBELDlg mainDialog;
    ASSERT_TRUE(mainDialog.Create());
    App().SetMainDialog(&mainDialog);
    m_pick = key;
    wxCommandEvent load(wxEVT_MENU, CWindowIds::FromResourceId(ID_FILE_OPEN_DB));
    App().ProcessEvent(load);
    const CProjectData* project = CProjectData::GetInstance();
    EXPECT_EQ(project->customer.customer, "Customer digits");
    EXPECT_EQ(project->physical.Temperature.Value, 20.123456789);
    EXPECT_EQ(project->physical.Density.Value, 998.123456789);
    EXPECT_TRUE(App().MayDropProject());
    EXPECT_TRUE(m_boxes.empty()) << testing::PrintToString(Texts());
    App().SetMainDialog(nullptr);
    CloseShippedDatabase();
}
