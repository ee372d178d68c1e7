#include "ProductionDbCases.h"

#include "Oddments/DataSource.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/Session.h"
#include "SampleProject.h"
#include "support/PgCluster.h"
#include "support/StoppedProcesses.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"

#include <chrono>
#include <functional>
#include <future>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/types.h>
#include <vector>

namespace {

CPgCluster& cluster = TestProgramPgCluster();

class CPgDatabases : public CPdbDatabases {
public:
    const char* Name() const override { return "PostgreSQL"; }

    // A new database of the cluster, created through our own layer.
    std::string CreateDatabase(const CTemporaryFolder&) override
    {
        const std::string name = "pdb" + std::to_string(++m_count);
        CDataSource source;
        CSession session;
        if (source.OpenFromInitializationString(("Provider=PostgreSQL;" + cluster.ConnectionInfo("postgres")).c_str()) !=
                S_OK ||
            session.Open(source) != S_OK || session.Execute(("CREATE DATABASE " + name).c_str()) != S_OK) {
            ADD_FAILURE() << "cannot create database " << name << ": " << source.GetErrorText()
                          << session.GetErrorText();
        }
        return "Provider=PostgreSQL;" + cluster.ConnectionInfo(name);
    }

    std::vector<std::string> FailingPointTrigger() const override
    {
        return {"CREATE FUNCTION fail_point() RETURNS trigger AS $$ BEGIN "
                "IF NEW.item_id = 1 AND NEW.point_id = 3 THEN RAISE EXCEPTION 'injected failure'; END IF; "
                "RETURN NEW; END $$ LANGUAGE plpgsql",
                "CREATE TRIGGER fail_point BEFORE INSERT ON fwr_result_data_tables "
                "FOR EACH ROW EXECUTE FUNCTION fail_point()"};
    }

private:
    int m_count = 0;
};

CPgDatabases pgDatabases;

}  // namespace

INSTANTIATE_TEST_SUITE_P(Pg, ProductionDbCases, testing::Values(&pgDatabases), ProviderName);

// What only a server on the other end of a connection can do: stop answering.
class PgProductionDb : public ProductionDbCases {
protected:
    int BackendPid()
    {
        CDynamicRecordSetOleDb rs;
        if (!rs.Open(m_db.GetSession(), "SELECT pg_backend_pid()") || !rs.MoveNext())
            return -1;
        return rs.GetLongAt(1);
    }
    // The backend of m_db's connection, once the statements ran on it.
    pid_t BackendAfter(const std::vector<std::string>& setup)
    {
        for (const std::string& sql : setup)
            Execute(sql);
        return BackendPid();
    }
    // The project stored under 1/2/3 is the expected one, whole.
    void ExpectStored(const CProjectData& expected)
    {
        CProjectData loaded;
        ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features,
                                     &loaded.physical, &loaded.results))
            << LogText();
        ExpectSameProject(expected, loaded);
    }
};

// A save whose statement gets no answer fails at the deadline the data-link text sets, with a
// log line, and leaves the project stored before whole: with the server stopped outright (its
// main process too, which then never answers the cancel request), with it hanging inside the save's transaction after deleting the stored rows, and
// with it hanging in the save's COMMIT, when the log and the result say that nobody knows
// whether the save was stored.
TEST_P(PgProductionDb, SaveFailsAtTheDeadlineWhenTheServerStopsAnswering)
{
    CreateTables();
    CProjectData stored;
    FillSampleProject(stored, 1, 2, 3, 2, 3, "stored");
    ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results), PDB_SAVE_OK);
    const std::string link = ReadWholeFile(m_dataLink);
    WriteWholeFile(m_dataLink, link.substr(0, link.find('\n')) + ";Command Timeout=2\n");

    const std::string hangs = "CREATE FUNCTION hang_point() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(3600); "
                              "RETURN NEW; END $$ LANGUAGE plpgsql";
    const struct {
        const char* name;
        bool stopServer;
        std::vector<std::string> setup;
        std::vector<std::string> cleanup;
        int result;
        const char* logLine;
    } cases[] = {
        {"server stopped", true, {}, {}, PDB_SAVE_SQL_FAILED, "nothing of it was stored"},
        {"statement hangs",
         false,
         {hangs, "CREATE TRIGGER hang_point BEFORE INSERT ON fwr_result_data_tables "
                 "FOR EACH ROW EXECUTE FUNCTION hang_point()"},
         {"DROP TRIGGER hang_point ON fwr_result_data_tables", "DROP FUNCTION hang_point()"},
         PDB_SAVE_SQL_FAILED,
         "nothing of it was stored"},
        // A deferred constraint trigger runs in the COMMIT.
        {"COMMIT hangs",
         false,
         {hangs, "CREATE CONSTRAINT TRIGGER hang_point AFTER INSERT ON fwr_customer_data "
                 "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION hang_point()"},
         {"DROP TRIGGER hang_point ON fwr_customer_data", "DROP FUNCTION hang_point()"},
         PDB_SAVE_OUTCOME_UNKNOWN,
         "the connection was lost during COMMIT; the project may have been stored or not"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        const pid_t backend = BackendAfter(c.setup);
        ASSERT_GT(backend, 0);
        CProjectData other;
        FillSampleProject(other, 1, 2, 3, 1, 4, "other");
        const size_t logBefore = LogText().size();
        const auto start = std::chrono::steady_clock::now();
        int saved = PDB_SAVE_OK;
        {
            CStoppedProcesses stopped(c.stopServer ? std::vector<pid_t>{cluster.ServerPid(), backend} : std::vector<pid_t>{},
                                      30);
            saved = m_db.SaveProject(&other.customer, &other.features, &other.physical, &other.results);
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(saved, c.result);
        // At the 2 s, far below the 30 s a statement gets when the data-link text says nothing.
        EXPECT_GE(took, 1.9);
        EXPECT_LT(took, 20);
        EXPECT_NE(LogText().find("The server did not answer within 2 s", logBefore), std::string::npos)
            << LogText().substr(logBefore);
        EXPECT_NE(LogText().find(c.logLine, logBefore), std::string::npos) << LogText().substr(logBefore);
        EXPECT_TRUE(m_db.IsLost());

        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        EXPECT_FALSE(m_db.IsLost());
        for (const std::string& sql : c.cleanup)
            Execute(sql);
        ExpectStored(stored);
    }
}

// However the server ends the connection, at most the save it hits is lost: that save fails with
// the server's reason in the log (one that meets the end in its COMMIT may have been stored or
// not), and the connection counts as lost. Ended while idle, it counts as lost before a save is
// tried. Opened again, as the next command does, the database holds the project stored before
// whole, and the next save stores its project whole.
TEST_P(PgProductionDb, ServerEndingTheConnectionLosesAtMostTheSaveItHits)
{
    CreateTables();
    const std::string link = ReadWholeFile(m_dataLink);
    const std::string initString = link.substr(0, link.find('\n'));
    const char* const administrator = "terminating connection due to administrator command";
    const std::vector<std::string> sleepsInCommit = {
        "CREATE FUNCTION sleep_point() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(3600); RETURN NEW; END $$ "
        "LANGUAGE plpgsql",
        "CREATE CONSTRAINT TRIGGER sleep_point AFTER INSERT ON fwr_customer_data DEFERRABLE INITIALLY DEFERRED "
        "FOR EACH ROW EXECUTE FUNCTION sleep_point()"};
    const struct {
        const char* name;
        std::string items;
        std::vector<std::string> setup;
        std::vector<std::string> cleanup;
        bool idle;        // ended while no statement runs
        bool heldTable;   // another session holds a table the save writes
        std::function<bool(pid_t)> end;
        int result;
        const char* logLine;
        const char* reason;
    } cases[] = {
        {"terminated while idle", "", {}, {}, true, false,
         [](pid_t backend) { return cluster.TerminateBackend(backend); }, PDB_SAVE_SQL_FAILED,
         "nothing of it was stored", administrator},
        {"fast restart", "", {}, {}, true, false, [](pid_t) { return cluster.Restart(); }, PDB_SAVE_SQL_FAILED,
         "nothing of it was stored", administrator},
        {"idle session timeout", " options='-c idle_session_timeout=1500'", {}, {}, true, false,
         [](pid_t) { return true; }, PDB_SAVE_SQL_FAILED, "nothing of it was stored", "idle-session timeout"},
        {"terminated waiting for a lock", "", {}, {}, false, true,
         [](pid_t backend) { return cluster.TerminateBackend(backend, "wait_event_type = 'Lock'"); },
         PDB_SAVE_SQL_FAILED, "nothing of it was stored", administrator},
        {"terminated in COMMIT", "", sleepsInCommit,
         {"DROP TRIGGER sleep_point ON fwr_customer_data", "DROP FUNCTION sleep_point()"}, false, false,
         [](pid_t backend) { return cluster.TerminateBackend(backend, "wait_event = 'PgSleep'"); },
         PDB_SAVE_OUTCOME_UNKNOWN, "the connection was lost during COMMIT; the project may have been stored or not",
         administrator},
    };
    CProjectData other;
    FillSampleProject(other, 1, 2, 3, 1, 4, "other");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(m_dataLink, initString + "\n");
        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        CProjectData stored;
        FillSampleProject(stored, 1, 2, 3, 2, 3, "stored");
        ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results),
                  PDB_SAVE_OK);
        if (!c.items.empty()) {
            WriteWholeFile(m_dataLink, initString + c.items + "\n");
            ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        }
        const pid_t backend = BackendAfter(c.setup);
        ASSERT_GT(backend, 0);
        const size_t logBefore = LogText().size();
        if (c.idle) {
            ASSERT_TRUE(c.end(backend));
            EXPECT_TRUE(WaitUntil(std::chrono::seconds(30), [this] { return m_db.IsLost(); }));
            // A save on it anyway (the commands open the database again first) fails at once with
            // the server's reason.
            EXPECT_EQ(m_db.SaveProject(&other.customer, &other.features, &other.physical, &other.results), c.result);
            EXPECT_NE(LogText().find(c.logLine, logBefore), std::string::npos) << LogText().substr(logBefore);
            EXPECT_NE(LogText().find(c.reason, logBefore), std::string::npos) << LogText().substr(logBefore);
        } else {
            CDataSource holderSource;
            CSession holder;
            ASSERT_EQ(holderSource.OpenFromInitializationString(initString.c_str()), S_OK);
            ASSERT_EQ(holder.Open(holderSource), S_OK);
            if (c.heldTable) {
                ASSERT_EQ(holder.Execute("BEGIN"), S_OK);
                ASSERT_EQ(holder.Execute("LOCK TABLE fwr_result_data_tables"), S_OK);
            }
            auto ended = std::async(std::launch::async, c.end, backend);
            EXPECT_EQ(m_db.SaveProject(&other.customer, &other.features, &other.physical, &other.results), c.result);
            EXPECT_TRUE(ended.get());
            EXPECT_NE(LogText().find(c.logLine, logBefore), std::string::npos) << LogText().substr(logBefore);
            EXPECT_NE(LogText().find(c.reason, logBefore), std::string::npos) << LogText().substr(logBefore);
            EXPECT_TRUE(m_db.IsLost());
        }

        WriteWholeFile(m_dataLink, initString + "\n");
        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        for (const std::string& sql : c.cleanup)
            Execute(sql);
        ExpectStored(stored);
        ASSERT_EQ(m_db.SaveProject(&other.customer, &other.features, &other.physical, &other.results), PDB_SAVE_OK)
            << LogText();
        ExpectStored(other);
    }
}

// A server whose disk is full refuses the save: nothing of it is stored, and the cause is
// known. The points table lies on a tablespace of its own on a tiny memory file system.
TEST_P(PgProductionDb, SaveOnAFullDiskNamesTheCause)
{
    CTemporaryFolder disk;
    const std::string path = disk.Path("");
    if (mount("tmpfs", path.c_str(), "tmpfs", 0, "size=256k,mode=0700") != 0)
        GTEST_SKIP() << "no memory file system can be mounted here";
    const passwd* postgres = getpwnam("postgres");
    ASSERT_TRUE(postgres == nullptr || chown(path.c_str(), postgres->pw_uid, postgres->pw_gid) == 0);
    CreateTables();
    Execute("CREATE TABLESPACE tiny LOCATION '" + path + "'");
    Execute("ALTER TABLE fwr_result_data_tables SET TABLESPACE tiny");

    CProjectData project;
    FillSampleProject(project, 1, 2, 3, 10, 1000);
    EXPECT_EQ(m_db.SaveProject(&project.customer, &project.features, &project.physical, &project.results),
              PDB_SAVE_SQL_FAILED);
    EXPECT_EQ(m_db.GetFailureCause(), CDbFailureCause::DiskFull) << LogText();
    CDbColumnMap row;
    EXPECT_FALSE(m_db.ReadRow("SELECT pa FROM fwr_customer_data", {}, row));

    Execute("DROP TABLE fwr_result_data_tables");
    Execute("DROP TABLESPACE tiny");
    EXPECT_EQ(umount2(path.c_str(), MNT_DETACH), 0);
}

INSTANTIATE_TEST_SUITE_P(Pg, PgProductionDb, testing::Values(&pgDatabases), ProviderName);
