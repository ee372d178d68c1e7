#include "ProductionDbCases.h"

#include "support/TestFiles.h"

namespace {

class CSqliteDatabases : public CPdbDatabases {
public:
    const char* Name() const override { return "SQLite"; }

    // An empty file is an empty database.
    std::string CreateDatabase(const CTemporaryFolder& folder) override
    {
        const std::string path = folder.Path("production.db");
        WriteWholeFile(path, "");
        return "Provider=SQLite;Data Source=" + path;
    }

    std::vector<std::string> FailingPointTrigger() const override
    {
        return {"CREATE TRIGGER fail_point BEFORE INSERT ON fwr_result_data_tables "
                "WHEN NEW.item_id = 1 AND NEW.point_id = 3 BEGIN SELECT RAISE(ABORT, 'injected failure'); END"};
    }
};

CSqliteDatabases sqliteDatabases;

}  // namespace

INSTANTIATE_TEST_SUITE_P(Sqlite, ProductionDbCases, testing::Values(&sqliteDatabases), ProviderName);
