#include "ProductionDbCases.h"

#include "Oddments/SqliteConnection.h"
#include "SampleProject.h"
#include "support/TestFiles.h"

#include <memory>

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

// Declared types that only the embedded database lets a table choose freely.
class SqliteProductionDb : public ProductionDbCases {};

TEST_P(SqliteProductionDb, CheckAcceptsStreamsWideTextsAndOtherDateTypes)
{
    struct Case {
        const char* table;
        const char* definition;
        bool passes;
    };
    const Case cases[] = {
        {"physical_data", "fluid_data BLOB", true},     // a stream
        {"physical_data", "fluid_data NVARCHAR", true}, // wide text
        {"physical_data", "fluid_data INT", false},
        {"record_locks", "locking_time DATE", true},
        {"record_locks", "locking_time DATETIME", true},
        {"record_locks", "locking_time TIME", false},
        {"record_locks", "locking_time TEXT", false},
    };
    CreateTables();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        // The table as created, one column declared otherwise.
        std::string columns;
        const CDbTableDef* original = nullptr;
        for (const CDbTableDef& table : m_db.GetTables()) {
            if (table.name != std::string("fwr_") + c.table)
                continue;
            original = &table;
            const std::string replaced = std::string(c.definition).substr(0, std::string(c.definition).find(' '));
            for (const CDbFieldDef& field : table.fields) {
                columns += (columns.empty() ? "" : ", ") +
                           (field.name == replaced ? std::string(c.definition) : field.ColumnDefinition());
            }
        }
        Execute(std::string("DROP TABLE fwr_") + c.table);
        Execute(std::string("CREATE TABLE fwr_") + c.table + " (" + columns + ")");
        EXPECT_EQ(m_db.CheckTables(), c.passes ? TRUE : FALSE) << LogText();
        ASSERT_NE(original, nullptr);
        Execute(std::string("DROP TABLE fwr_") + c.table);
        Execute(m_db.BuildCreateTable(*original));
    }
}

// Another process in the middle of a save holds the file exclusively: a load still gives the
// version saved last, whole, and does not wait for the save.
TEST_P(SqliteProductionDb, LoadReadsTheSavedVersionWhileAWriterHoldsTheFile)
{
    CreateTables();
    CProjectData saved;
    FillSampleProject(saved, 1, 2, 3, 2, 3, "saved");
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK);

    std::unique_ptr<CSqliteConnection> writer;
    std::string error;
    ASSERT_EQ(CSqliteConnection::Open(m_folder.Path("production.db"), CSqliteConnection::ReadWrite, writer, error),
              S_OK)
        << error;
    ASSERT_EQ(writer->Execute("BEGIN EXCLUSIVE", {}, nullptr), S_OK);
    ASSERT_EQ(writer->Execute("DELETE FROM fwr_result_data_tables", {}, nullptr), S_OK);

    CProjectData loaded;
    EXPECT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results))
        << LogText();
    ExpectSameProject(saved, loaded);
    EXPECT_EQ(writer->Execute("ROLLBACK", {}, nullptr), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, SqliteProductionDb, testing::Values(&sqliteDatabases), ProviderName);
