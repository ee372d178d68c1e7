// Two programs on one PostgreSQL database: the application's commands and a second set of
// commands with a connection and a lock owner of its own, as another user's program would have.
#include "ProductionDbCommandsFixture.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/ProjectData.h"
#include "Harbinax/Harbinax.h"
#include "Oddments/DataSource.h"
#include "Oddments/Session.h"
#include "TAMBEL/DbConnectionDlg.h"
#include "TAMBEL/ProductionDbCommands.h"
#include "TAMBEL/ProductionDbConnection.h"
#include "TAMBEL/StartupEnvironment.h"
#include "support/PgCluster.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "Oddments/DynamicRecordSetOleDb.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

CPgCluster& cluster = TestProgramPgCluster();

CProductionDbCommands& Commands()
{
    return App().GetProductionDbCommands();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

}  // namespace

class PgProductionDbCommands : public ProductionDbCommandsFixture {
protected:
    std::string CreateDatabase() override
    {
        static int count = 0;
        const std::string name = "commands" + std::to_string(++count);
        CDataSource source;
        CSession session;
        EXPECT_EQ(source.OpenFromInitializationString(("Provider=PostgreSQL;" + cluster.ConnectionInfo("postgres")).c_str()),
                  S_OK);
        EXPECT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(session.Execute(("CREATE DATABASE " + name).c_str()), S_OK) << session.GetErrorText();
        return "Provider=PostgreSQL;" + cluster.ConnectionInfo(name);
    }
};

TEST_F(PgProductionDbCommands, SecondProgramCannotOverwriteTheFirstOnesLockedProject)
{
    OpenWithTables();
    CTemporaryFolder firstFolder;
    const std::string firstLink = firstFolder.Path("PDB.udl");
    WriteWholeFile(firstLink, m_initString + "\n");
    CProductionDbConnection firstConnection(firstLink);
    CProductionDbCommands first("user1 - PC1");
    first.SetLink(&firstConnection);
    ASSERT_TRUE(first.Open(false));

    const CProductionDbKey key(4711, 12, 1);
    SetProjectInMemory(key.pa, key.vk, key.pos, "first");
    first.SaveToDb();
    ASSERT_THAT(Texts(), ElementsAre("Data successfully saved."));
    ASSERT_EQ(LockOwner(key), "user1 - PC1");

    // The second program types the same key.
    SetProjectInMemory(key.pa, key.vk, key.pos, "second");
    m_boxes.clear();
    App().GetProductionDbCommands().SaveToDb();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_THAT(m_boxes[0].text, HasSubstr("User: user1 - PC1 machine: "));
    EXPECT_EQ(StoredCustomer(key), "Customer first");

    // It may look at the project, but holds no lock of it.
    m_pick = key;
    m_boxes.clear();
    App().GetProductionDbCommands().LoadFromDb();
    EXPECT_EQ(CProjectData::GetInstance()->customer.customer, "Customer first");
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_TRUE(App().GetProductionDbCommands().GetCurrentRecordKey().IsEmpty());
    EXPECT_EQ(LockOwner(key), "user1 - PC1");

    // Once the first program ends, the project is the second's to overwrite.
    first.UnlockCurrentRecord();
    firstConnection.Close();
    SetProjectInMemory(key.pa, key.vk, key.pos, "second");
    m_boxes.clear();
    App().GetProductionDbCommands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("A record with the same keys exists already.\nOverwrite existing record?",
                                     "Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer second");
    EXPECT_EQ(LockOwner(key), App().GetLockOwner());
}

// A save whose statement passes its deadline fails soon after it and tells the user whether the
// project may have been stored. The connection it lost is not used again: the next command
// opens the database anew, so the record lock is released and the project saved as usual.
TEST_F(PgProductionDbCommands, NextCommandAfterALostConnectionOpensTheDatabaseAgain)
{
    m_initString += ";Command Timeout=2";
    OpenWithTables();
    const std::string hangs = "CREATE FUNCTION hang_point() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(3600); "
                              "RETURN NEW; END $$ LANGUAGE plpgsql";
    const struct {
        const char* name;
        const char* trigger;
        const char* message;
    } cases[] = {
        {"statement hangs",
         "CREATE TRIGGER hang_point BEFORE INSERT ON fwr_customer_data FOR EACH ROW EXECUTE FUNCTION hang_point()",
         "Error in SQL statement.\nUnable to save data.\nThe connection to the database was lost; nothing was saved."},
        // A deferred constraint trigger runs in the COMMIT.
        {"COMMIT hangs",
         "CREATE CONSTRAINT TRIGGER hang_point AFTER INSERT ON fwr_customer_data DEFERRABLE INITIALLY DEFERRED "
         "FOR EACH ROW EXECUTE FUNCTION hang_point()",
         "The connection to the database was lost while the data were being saved.\n"
         "They may have been saved or not; load the record to see which."},
    };
    const CProductionDbKey key(4711, 12, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetProjectInMemory(key.pa, key.vk, key.pos, "first");
        m_boxes.clear();
        App().GetProductionDbCommands().SaveToDb();
        ASSERT_EQ(StoredCustomer(key), "Customer first");
        ASSERT_EQ(LockOwner(key), App().GetLockOwner());

        ASSERT_TRUE(m_other.ExecuteSql(hangs));
        ASSERT_TRUE(m_other.ExecuteSql(c.trigger));
        SetProjectInMemory(key.pa, key.vk, key.pos, "second");
        m_boxes.clear();
        const auto start = std::chrono::steady_clock::now();
        App().GetProductionDbCommands().SaveToDb();
        // At the 2 s, far below the 30 s a statement gets when the data-link text says nothing.
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(took, 1.9);
        EXPECT_LT(took, 20);
        ASSERT_FALSE(m_boxes.empty());
        EXPECT_EQ(m_boxes.back().text, c.message);
        EXPECT_TRUE(App().IsProductionDbUsable());
        ASSERT_TRUE(m_other.ExecuteSql("DROP TRIGGER hang_point ON fwr_customer_data"));
        ASSERT_TRUE(m_other.ExecuteSql("DROP FUNCTION hang_point()"));
        EXPECT_EQ(StoredCustomer(key), "Customer first");

        App().UnlockCurrentRecord();
        EXPECT_TRUE(App().GetProductionDbCommands().GetCurrentRecordKey().IsEmpty());
        EXPECT_EQ(LockOwner(key), "");
        m_boxes.clear();
        App().GetProductionDbCommands().SaveToDb();
        EXPECT_THAT(Texts(), ElementsAre("A record with the same keys exists already.\nOverwrite existing record?",
                                         "Data successfully saved."));
        EXPECT_EQ(StoredCustomer(key), "Customer second");
        EXPECT_EQ(LockOwner(key), App().GetLockOwner());
    }
    UseTranslatedLanguage("de");
    EXPECT_EQ(TranslateText("The connection to the database was lost while the data were being saved."),
              "Die Verbindung zur Datenbank ging verloren, während die Daten gespeichert wurden.");
    EXPECT_EQ(TranslateText("They may have been saved or not; load the record to see which."),
              "Sie wurden vielleicht gespeichert, vielleicht auch nicht; laden Sie den Datensatz, um es zu prüfen.");
    EXPECT_EQ(TranslateText("The connection to the database was lost; nothing was saved."),
              "Die Verbindung zur Datenbank ging verloren; es wurde nichts gespeichert.");
}

// A save held up by another session's lock past the Command Timeout ends on the server a second
// before it: the user reads that the database was busy, not that the connection was lost, and
// the connection goes on to save once the lock is gone.
TEST_F(PgProductionDbCommands, SaveHeldUpByAnotherSessionsLockSaysBusy)
{
    m_initString += ";Command Timeout=3";
    OpenWithTables();
    CDataSource holderSource;
    CSession holder;
    ASSERT_EQ(holderSource.OpenFromInitializationString(m_initString.c_str()), S_OK) << holderSource.GetErrorText();
    ASSERT_EQ(holder.Open(holderSource), S_OK);
    ASSERT_EQ(holder.Execute("BEGIN"), S_OK);
    ASSERT_EQ(holder.Execute("LOCK TABLE fwr_customer_data"), S_OK) << holder.GetErrorText();
    const CProductionDbKey key(4711, 12, 1);
    SetProjectInMemory(key.pa, key.vk, key.pos, "held up");
    m_boxes.clear();
    const auto start = std::chrono::steady_clock::now();
    App().GetProductionDbCommands().SaveToDb();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 15);
    ASSERT_FALSE(m_boxes.empty());
    EXPECT_THAT(m_boxes.back().text,
                testing::EndsWith("\nAnother program kept the database busy for longer than the save could wait."));
    EXPECT_TRUE(App().IsProductionDbUsable());
    ASSERT_EQ(holder.Execute("ROLLBACK"), S_OK);
    EXPECT_EQ(StoredCustomer(key), "");

    m_boxes.clear();
    App().GetProductionDbCommands().SaveToDb();
    EXPECT_THAT(Texts(), ElementsAre("Data successfully saved."));
    EXPECT_EQ(StoredCustomer(key), "Customer held up");
}

// However the server ends the application's connection, the command it hits is all that is lost,
// and the next one opens the database again from the data link. Ended while idle (terminated, a
// fast restart, an idle timeout), the next save itself stores the project; a save that meets the
// end fails as one on a lost connection does, and the save after it stores the project. Over
// TCP, where the server's end comes as a reset when a statement is sent.
TEST_F(PgProductionDbCommands, ConnectionTheServerEndsIsOpenedAgainByTheNextCommand)
{
    const std::string database = m_initString.substr(m_initString.find("dbname=") + std::strlen("dbname="));
    m_initString = "Provider=PostgreSQL;" + cluster.TcpConnectionInfo(database);
    OpenWithTables();
    const std::string base = m_initString;
    const std::string dataLink = App().GetEnvironment().ProductionDb().DataLinkPath();
    const char* const failedSave = "Error in SQL statement.\nUnable to save data.";
    const char* const unknownSave = "The connection to the database was lost while the data were being saved.";
    const struct {
        const char* name;
        std::string items;
        std::vector<std::string> setup;  // by the other program
        std::vector<std::string> cleanup;
        std::function<bool(pid_t)> end;
        const char* failure;  // the message of the save that meets the end; none when it ended while idle
    } cases[] = {
        {"terminated while idle", "", {}, {}, [](pid_t backend) { return cluster.TerminateBackend(backend); }, nullptr},
        {"fast restart", "", {}, {}, [](pid_t) { return cluster.Restart(); }, nullptr},
        {"terminated waiting for a lock", "", {"BEGIN", "LOCK TABLE fwr_result_data_tables"}, {"ROLLBACK"},
         [](pid_t backend) { return cluster.TerminateBackend(backend, "wait_event_type = 'Lock'"); }, failedSave},
        {"terminated in COMMIT", "",
         {"CREATE FUNCTION sleep_point() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(3600); RETURN NEW; END $$ "
          "LANGUAGE plpgsql",
          "CREATE CONSTRAINT TRIGGER sleep_point AFTER INSERT ON fwr_customer_data DEFERRABLE INITIALLY DEFERRED "
          "FOR EACH ROW EXECUTE FUNCTION sleep_point()"},
         {"DROP TRIGGER sleep_point ON fwr_customer_data", "DROP FUNCTION sleep_point()"},
         [](pid_t backend) { return cluster.TerminateBackend(backend, "wait_event = 'PgSleep'"); }, unknownSave},
        {"idle session timeout", " options='-c idle_session_timeout=1500'", {}, {}, [](pid_t) { return true; },
         nullptr},
    };
    const CProductionDbKey key(4711, 12, 1);
    const std::vector<std::string> overwritten = {
        "A record with the same keys exists already.\nOverwrite existing record?", "Data successfully saved."};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(dataLink, "[oledb]\n" + base + c.items + "\n");
        ASSERT_TRUE(App().OpenProductionDb(false));
        SetProjectInMemory(key.pa, key.vk, key.pos, "first");
        App().GetProductionDbCommands().SaveToDb();
        ASSERT_EQ(StoredCustomer(key), "Customer first");
        pid_t backend = -1;
        {
            CDynamicRecordSetOleDb rs;
            ASSERT_TRUE(
                rs.Open(App().GetEnvironment().ProductionDb().Database()->GetSession(), "SELECT pg_backend_pid()"));
            ASSERT_TRUE(rs.MoveNext());
            backend = rs.GetLongAt(1);
        }
        for (const std::string& sql : c.setup)
            ASSERT_TRUE(m_other.ExecuteSql(sql)) << sql;
        SetProjectInMemory(key.pa, key.vk, key.pos, "second");
        m_boxes.clear();
        if (c.failure == nullptr) {
            ASSERT_TRUE(c.end(backend));
            EXPECT_TRUE(WaitUntil(std::chrono::seconds(30),
                                  [] { return App().GetEnvironment().ProductionDb().Database()->IsLost(); }));
            WriteDataLink();  // the other program's connection opened again after a restart
        } else {
            auto ended = std::async(std::launch::async, c.end, backend);
            App().GetProductionDbCommands().SaveToDb();
            EXPECT_TRUE(ended.get());
            ASSERT_FALSE(m_boxes.empty());
            EXPECT_THAT(m_boxes.back().text, StartsWith(c.failure));
            for (const std::string& sql : c.cleanup)
                ASSERT_TRUE(m_other.ExecuteSql(sql)) << sql;
            EXPECT_EQ(StoredCustomer(key), "Customer first");
            m_boxes.clear();
        }
        App().GetProductionDbCommands().SaveToDb();
        EXPECT_EQ(Texts(), overwritten);
        EXPECT_EQ(StoredCustomer(key), "Customer second");
        EXPECT_EQ(LockOwner(key), App().GetLockOwner());

        SetProjectInMemory(0, 0, 0, "empty");
        m_pick = key;
        m_boxes.clear();
        App().GetProductionDbCommands().LoadFromDb();
        EXPECT_EQ(CProjectData::GetInstance()->customer.customer, "Customer second");
        EXPECT_TRUE(m_boxes.empty()) << m_boxes[0].text;
    }
}

// A role that waits 1 s for a lock at most: the check whether the key is stored gives up while
// another session holds the project table. The save stops there, before it writes anything,
// instead of taking the failed check for a missing record.
TEST_F(PgProductionDbCommands, SaveStopsWhenTheCheckForAStoredRecordWaitsInVain)
{
    OpenWithTables();
    ASSERT_TRUE(m_other.ExecuteSql("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'impatient') "
                                   "THEN CREATE ROLE impatient LOGIN SUPERUSER; END IF; END $$"));
    ASSERT_TRUE(m_other.ExecuteSql("ALTER ROLE impatient SET lock_timeout = '1s'"));
    std::string impatient = m_initString;
    impatient.replace(impatient.find("user=postgres"), std::strlen("user=postgres"), "user=impatient");
    WriteWholeFile(App().GetEnvironment().ProductionDb().DataLinkPath(), "[oledb]\n" + impatient + "\n");
    ASSERT_TRUE(App().OpenProductionDb(false));
    const CProductionDbKey key(4545, 1, 1);
    ASSERT_NO_FATAL_FAILURE(OtherProgramSaves(key, "Customer stored", CPhysicalData()));
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(m_other.ExecuteSql("BEGIN"));
        ASSERT_TRUE(m_other.ExecuteSql("LOCK TABLE fwr_customer_data"));
        auto released = std::async(std::launch::async, [this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            return m_other.ExecuteSql("ROLLBACK") != FALSE;
        });
        SetProjectInMemory(key.pa, key.vk, key.pos, "new");
        if (std::string(language) == "de")
            UseTranslatedLanguage("de");
        m_boxes.clear();
        App().GetProductionDbCommands().SaveToDb();
        App().EnableTranslator(false);
        EXPECT_TRUE(released.get());
        EXPECT_THAT(Texts(), ElementsAre(std::string(language) == "de"
                                             ? "Die Daten konnten nicht gespeichert werden.\nEin anderes Programm "
                                               "hielt die Datenbank länger belegt, als das Speichern warten konnte."
                                             : "Unable to save data.\nAnother program kept the database busy for "
                                               "longer than the save could wait."));
        EXPECT_EQ(StoredCustomer(key), "Customer stored");
        EXPECT_TRUE(App().IsProductionDbUsable());
    }
}

// The server stopped: the save finds the connection gone and cannot open the database again; the
// warning gives libpq's reason and the way back. With the server started again, Configure DB
// connection and its OK open the database, and the save stores the project.
TEST_F(PgProductionDbCommands, ReopenAfterTheServerWasStoppedSaysWhyAndTheWayBack)
{
    OpenWithTables();
    m_other.Close();
    Commands().SetConnectionEditor([](const std::string& path) {
        CDbConnectionDlg dialog(nullptr, path);
        EXPECT_TRUE(dialog.Create());
        const bool saved = dialog.Save();
        dialog.Destroy();
        return saved;
    });
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        const CProductionDbKey key(4646, 1, std::string(language) == "de" ? 2 : 1);
        ASSERT_TRUE(cluster.StopServer());
        EXPECT_TRUE(WaitUntil(std::chrono::seconds(10),
                              [] { return App().GetEnvironment().ProductionDb().Database()->IsLost(); }));
        SetProjectInMemory(key.pa, key.vk, key.pos, language);
        if (std::string(language) == "de")
            UseTranslatedLanguage("de");
        m_boxes.clear();
        Commands().SaveToDb();
        App().EnableTranslator(false);
        ASSERT_EQ(m_boxes.size(), 1u);
        // libpq's reason, in whichever language the system speaks, names where it looked; its
        // hint may follow on a line of its own.
        const std::vector<std::string> lines = Lines(m_boxes[0].text);
        ASSERT_GE(lines.size(), 3u) << m_boxes[0].text;
        ASSERT_LE(lines.size(), 4u) << m_boxes[0].text;
        EXPECT_THAT(lines[1], HasSubstr(cluster.SocketFolder()));
        EXPECT_EQ(m_boxes[0].text.find('\t'), std::string::npos) << m_boxes[0].text;
        if (std::string(language) == "de") {
            // libpq's German reason keeps its letters: no '?' stands for one it could not show.
            EXPECT_THAT(lines[1], HasSubstr("»" + cluster.SocketFolder()));
            for (const std::string& line : lines)
                EXPECT_EQ(line.find('?'), line.empty() || line.back() != '?' ? std::string::npos : line.size() - 1)
                    << line;
            EXPECT_EQ(lines.front(), "Die Produktionsdatenbank konnte nicht geöffnet werden.");
            EXPECT_EQ(lines.back(), "Sobald die Datenbank erreichbar ist, öffnet „Datenbank Funktionen > Verbindung "
                                    "konfigurieren“ sie wieder.");
        } else {
            EXPECT_EQ(lines.front(), "Could not open the production database.");
            EXPECT_EQ(lines.back(),
                      "Once the database can be reached, \"Database functions > Configure DB connection\" opens it "
                      "again.");
        }
        EXPECT_FALSE(App().IsProductionDbUsable());
        SaveBoxScreenshot(m_boxes[0], std::string("db-reopen-") + language);

        ASSERT_TRUE(cluster.StartServer());
        m_boxes.clear();
        Commands().ConfigureConnection();
        EXPECT_TRUE(m_boxes.empty()) << m_boxes[0].text;
        EXPECT_TRUE(App().IsProductionDbUsable());
        Commands().SaveToDb();
        EXPECT_THAT(Texts(), ElementsAre("Data successfully saved."));
        App().UnlockCurrentRecord();
        CProductionDb stored;
        const std::string link = App().GetEnvironment().ProductionDb().DataLinkPath();
        ASSERT_GE(stored.Open(link.c_str()), 0);
        CDbColumnMap row;
        ASSERT_TRUE(stored.ReadRow("SELECT customer FROM fwr_customer_data WHERE pa=? AND vk=? AND pos=?",
                                   {key.pa, key.vk, key.pos}, row));
        EXPECT_EQ(row["customer"], std::string("Customer ") + language);
    }
}
