#include "ProductionDbCases.h"

#include "Oddments/DataSource.h"
#include "Oddments/Session.h"
#include "support/PgCluster.h"

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
