#include "ProductionDbCases.h"

#include "Oddments/DataSource.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/Session.h"
#include "SampleProject.h"
#include "support/PgCluster.h"
#include "support/TestFiles.h"

#include <chrono>
#include <csignal>
#include <sys/types.h>

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
};

// A save whose statement gets no answer fails at the deadline the data-link text sets, with a
// log line, and leaves the project stored before whole: once with the server's backend stopped
// outright, once with it hanging inside the save's transaction after deleting the stored rows.
TEST_P(PgProductionDb, SaveFailsAtTheDeadlineWhenTheServerStopsAnswering)
{
    CreateTables();
    CProjectData stored;
    FillSampleProject(stored, 1, 2, 3, 2, 3, "stored");
    ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results), PDB_SAVE_OK);
    const std::string link = ReadWholeFile(m_dataLink);
    WriteWholeFile(m_dataLink, link.substr(0, link.find('\n')) + ";Command Timeout=2\n");

    for (const bool stopped : {true, false}) {
        SCOPED_TRACE(stopped ? "backend stopped" : "statement hangs");
        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        const pid_t backend = BackendPid();
        ASSERT_GT(backend, 0);
        if (stopped) {
            ASSERT_EQ(::kill(backend, SIGSTOP), 0);
        } else {
            Execute("CREATE FUNCTION hang_point() RETURNS trigger AS $$ BEGIN PERFORM pg_sleep(3600); "
                    "RETURN NEW; END $$ LANGUAGE plpgsql");
            Execute("CREATE TRIGGER hang_point BEFORE INSERT ON fwr_result_data_tables "
                    "FOR EACH ROW EXECUTE FUNCTION hang_point()");
        }
        CProjectData other;
        FillSampleProject(other, 1, 2, 3, 1, 4, "other");
        const size_t logBefore = LogText().size();
        const auto start = std::chrono::steady_clock::now();
        const int saved = m_db.SaveProject(&other.customer, &other.features, &other.physical, &other.results);
        const auto took = std::chrono::steady_clock::now() - start;
        if (stopped)
            ::kill(backend, SIGCONT);
        EXPECT_NE(saved, PDB_SAVE_OK);
        // Far below the 30 s a statement gets when the data-link text says nothing.
        EXPECT_LT(took, std::chrono::seconds(20));
        EXPECT_NE(LogText().find("The server did not answer within 2 s", logBefore), std::string::npos)
            << LogText().substr(logBefore);

        ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK) << LogText();
        CProjectData loaded;
        ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features,
                                     &loaded.physical, &loaded.results))
            << LogText();
        ExpectSameProject(stored, loaded);
    }
}

INSTANTIATE_TEST_SUITE_P(Pg, PgProductionDb, testing::Values(&pgDatabases), ProviderName);
