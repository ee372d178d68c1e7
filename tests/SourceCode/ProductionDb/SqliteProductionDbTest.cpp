#include "ProductionDbCases.h"

#include "Oddments/SqliteConnection.h"
#include "SampleProject.h"
#include "support/ChildProcess.h"
#include "support/TestFiles.h"

#include <sqlite3.h>

#include <csignal>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Data links beside the database in each mode a link may ask for: the last promises that nobody
// writes the file.
std::vector<std::string> LinksOfEveryMode(const CTemporaryFolder& folder)
{
    std::vector<std::string> links;
    for (const char* mode : {"Read|Share Deny Write", "Read", "ReadWrite"}) {
        links.push_back(folder.Path(std::string("PDB-") + std::to_string(links.size()) + ".udl"));
        WriteWholeFile(links.back(),
                       "Provider=SQLite;Data Source=" + folder.Path("production.db") + ";Mode=" + mode + "\n");
    }
    return links;
}

// Another program saved and was killed before its write-ahead log went into the file: a load
// through any link gives that save. The readers that cannot write come first, so that none of
// them finds the log already moved into the file.
TEST_P(SqliteProductionDb, LoadGivesTheSaveOfAKilledProgramThroughEveryLink)
{
    CreateTables();
    CProjectData project;
    FillSampleProject(project, 1, 2, 3, 2, 3, "first");
    ASSERT_EQ(m_db.SaveProject(&project.customer, &project.features, &project.physical, &project.results), PDB_SAVE_OK);
    m_db.Close();
    FillSampleProject(project, 1, 2, 3, 1, 2, "last");
    const int ended = RunInChild([&] {
        CProductionDb writer;
        if (FAILED(writer.Open(m_dataLink.c_str())) ||
            writer.SaveProject(&project.customer, &project.features, &project.physical, &project.results) !=
                PDB_SAVE_OK)
            return 1;
        raise(SIGKILL);
        return 2;
    });
    ASSERT_EQ(ended, 128 + SIGKILL);
    ASSERT_EQ(access(m_folder.Path("production.db-wal").c_str(), F_OK), 0) << "the save is not in a log";
    for (const std::string& link : LinksOfEveryMode(m_folder)) {
        SCOPED_TRACE(ReadWholeFile(link));
        CProductionDb reader;
        ASSERT_EQ(reader.Open(link.c_str()), S_OK) << LogText();
        CProjectData loaded;
        EXPECT_TRUE(reader.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features,
                                       &loaded.physical, &loaded.results))
            << LogText();
        ExpectSameProject(project, loaded);
    }
}

// A shared install or a read-only share, with the file as a program that kept a write-ahead log
// in it left it: a user who may only read opens, checks and loads it through any link. As root
// the permission bits stop nothing, so the reader runs as nobody.
TEST_P(SqliteProductionDb, ReadOnlyFolderOpensAndLoadsThroughEveryLink)
{
    CreateTables();
    CProjectData saved;
    FillSampleProject(saved, 1, 2, 3, 2, 3, "saved");
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK);
    m_db.Close();
    const std::string file = m_folder.Path("production.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    const std::vector<std::string> links = LinksOfEveryMode(m_folder);
    for (const std::string& path : {m_folder.Path(""), file})
        ASSERT_TRUE(GiveToUnprivileged(path));
    const int failures = RunInChild([&] {
        if (!LeaveRoot() || chmod(m_folder.Path("").c_str(), 0555) != 0)
            return 90;
        int failed = 0;
        for (const std::string& link : links) {
            CProductionDb reader;
            CProjectData loaded;
            if (FAILED(reader.Open(link.c_str())) || !reader.CheckTables() ||
                !reader.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                                    &loaded.results) ||
                loaded.customer.customer != saved.customer.customer)
                ++failed;
        }
        // Makes sure the folder really was read-only for this process.
        if (open(m_folder.Path("probe").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644) >= 0)
            return 91;
        chmod(m_folder.Path("").c_str(), 0755);
        return failed;
    });
    chmod(m_folder.Path("").c_str(), 0755);
    ASSERT_NE(failures, 90) << "could not become an ordinary user";
    ASSERT_NE(failures, 91) << "the folder did not turn read-only";
    EXPECT_EQ(failures, 0) << LogText();
}

INSTANTIATE_TEST_SUITE_P(Sqlite, SqliteProductionDb, testing::Values(&sqliteDatabases), ProviderName);
