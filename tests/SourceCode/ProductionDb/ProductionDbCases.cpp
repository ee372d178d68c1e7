#include "ProductionDbCases.h"

#include "SampleProject.h"

#include "CommonFiles/Fluids/FluidGasMix.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/DateTime.h"
#include "ProductionDb/MachineNames.h"
#include "Quillet/LogManager.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"

#include <tinyxml.h>

#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <new>
#include <optional>

namespace {

const char* const kTables[] = {"customer_data",     "device_configuration_data", "physical_data",
                               "physical_values",   "result_data",               "result_data_errors",
                               "result_data_value", "result_data_tables",        "record_locks"};

size_t FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<size_t>(info.st_size) : 0;
}

const CTemporaryFolder& LogFolder()
{
    static CTemporaryFolder folder;
    return folder;
}

bool TableExists(CProductionDb& db, const std::string& table)
{
    CDynamicRecordSetOleDb rs;
    return rs.Open(db.GetSession(), ("SELECT * FROM fwr_" + table + " WHERE 1=0").c_str()) != FALSE;
}

}  // namespace

std::string LogFileName()
{
    return LogFolder().Path("pdb.log");
}

std::string ProviderName(const testing::TestParamInfo<CPdbDatabases*>& info)
{
    return info.param->Name();
}

void ProductionDbCases::SetUp()
{
    // Numbers in statements and stored texts must not follow the process locale.
    m_locale = std::make_unique<CLocaleScope>("de_DE.UTF-8");
    ASSERT_TRUE(m_locale->IsSet());
    CLogManager* log = CLogManager::GetInstance();
    if (!log->IsOpen()) {
        ASSERT_TRUE(log->Open(LogFileName().c_str(), LOGLEVEL_TRACE));
    }
    m_logStart = FileSize(LogFileName());

    m_dataLink = m_folder.Path("PDB.udl");
    WriteWholeFile(m_dataLink, GetParam()->CreateDatabase(m_folder) + "\n");
    ASSERT_EQ(m_db.Open(m_dataLink.c_str()), S_OK);
}

void ProductionDbCases::CreateTables()
{
    ASSERT_TRUE(m_db.CreateTables()) << LogText();
}

void ProductionDbCases::Execute(const std::string& sql)
{
    ASSERT_EQ(m_db.GetSession().Execute(sql.c_str()), S_OK) << sql << ": " << m_db.GetSession().GetErrorText();
}

int ProductionDbCases::CountRows(const std::string& table)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(m_db.GetSession(), ("SELECT COUNT(*) FROM fwr_" + table).c_str()) || !rs.MoveNext())
        return -1;
    return rs.GetLongAt(1);
}

std::string ProductionDbCases::LogText() const
{
    const std::string text = ReadWholeFile(LogFileName());
    return m_logStart < text.size() ? text.substr(m_logStart) : std::string();
}

void ProductionDbCases::ExpectLoadRefused(const CProductionDbKey& key, const std::string& logLine)
{
    CProjectData current;
    FillSampleProject(current, 1, 1, 1, 1, 4, "current");
    CProjectData before;
    FillSampleProject(before, 1, 1, 1, 1, 4, "current");
    m_logStart = FileSize(LogFileName());
    EXPECT_FALSE(m_db.LoadProject(key, &current.customer, &current.features, &current.physical, &current.results));
    EXPECT_NE(LogText().find(logLine), std::string::npos) << LogText();
    ExpectSameProject(before, current);
}

TEST_P(ProductionDbCases, CreatedTablesPassTheCheckAndAreNotCreatedTwice)
{
    CreateTables();
    EXPECT_TRUE(m_db.CheckTables()) << LogText();
    for (const char* table : kTables)
        EXPECT_EQ(CountRows(table), 0) << table;
    EXPECT_FALSE(m_db.CreateTables());
    EXPECT_NE(LogText().find("Open FAILED 0x"), std::string::npos);
}

TEST_P(ProductionDbCases, CheckAllowsExtraColumns)
{
    CreateTables();
    for (const char* table : kTables)
        Execute(std::string("ALTER TABLE fwr_") + table + " ADD COLUMN extra INT");
    EXPECT_TRUE(m_db.CheckTables()) << LogText();
}

TEST_P(ProductionDbCases, CheckNamesTheFirstProblem)
{
    struct Case {
        const char* table;
        const char* definition;  // replaces the table
        const char* logLine;
    };
    const Case cases[] = {
        {"physical_values", "(pa INT, vk INT, pos SMALLINT, value_id INT, user_value INT)",
         "Wrong Type Field:user_value Table:fwr_physical_values Type:3 Expected:5"},
        {"customer_data", "(pa INT, vk INT, pos SMALLINT, customer INT, tag_no CHAR(50), reference CHAR(100))",
         "Wrong Type Field:customer Table:fwr_customer_data Type:3 Expected:129"},
        {"record_locks", "(pa INT, vk INT, pos SMALLINT, user_name CHAR(64), computer_name CHAR(64))",
         "Field[6] 'locking_time' not found"},
        {"record_locks", "(pa INT, vk INT, pos SMALLINT, USER_NAME_X CHAR(64))", "Field[4] 'user_name' not found"},
        {"result_data_tables", nullptr, "Open FAILED 0x"},
    };
    CreateTables();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logLine);
        Execute(std::string("DROP TABLE fwr_") + c.table);
        if (c.definition != nullptr)
            Execute(std::string("CREATE TABLE fwr_") + c.table + " " + c.definition);
        m_logStart = FileSize(LogFileName());
        EXPECT_FALSE(m_db.CheckTables());
        EXPECT_NE(LogText().find(c.logLine), std::string::npos) << LogText();
        // Back to the right table for the next case.
        Execute(std::string("DROP TABLE IF EXISTS fwr_") + c.table);
        for (const CDbTableDef& table : m_db.GetTables()) {
            if (table.name == std::string("fwr_") + c.table)
                Execute(m_db.BuildCreateTable(table));
        }
        ASSERT_TRUE(m_db.CheckTables()) << LogText();
    }
}

TEST_P(ProductionDbCases, ClashOnTheFifthTableLeavesTheFourBefore)
{
    Execute("CREATE TABLE fwr_result_data (x INT)");
    EXPECT_FALSE(m_db.CreateTables());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(TableExists(m_db, kTables[i]), i <= 4) << kTables[i];
}

TEST_P(ProductionDbCases, RecordLocksStatementHasTheProvidersTypes)
{
    ASSERT_EQ(m_db.GetTables().size(), 9u);
    const std::string expected =
        m_db.IsPostgreSql()
            ? "CREATE TABLE fwr_record_locks (pa INT NOT NULL, vk INT NOT NULL, pos SMALLINT NOT NULL, "
              "user_name CHAR(64) NOT NULL, computer_name CHAR(64), locking_time TIMESTAMP, PRIMARY KEY (pa, vk, pos))"
            : "CREATE TABLE fwr_record_locks (pa INT NOT NULL, vk INT NOT NULL, pos SMALLINT NOT NULL, "
              "user_name CHAR(64) NOT NULL, computer_name CHAR(64), locking_time DATETIME, PRIMARY KEY (pa, vk, pos))";
    EXPECT_EQ(m_db.BuildCreateTable(m_db.GetTables()[8]), expected);
    EXPECT_EQ(m_db.IsPostgreSql(), std::string(GetParam()->Name()) == "PostgreSQL");
    if (m_db.IsPostgreSql()) {
        EXPECT_EQ(m_db.BuildCreateTable(m_db.GetTables()[2]).find("DOUBLE,"), std::string::npos);
        EXPECT_NE(m_db.BuildCreateTable(m_db.GetTables()[2]).find("compressibility_factor DOUBLE PRECISION,"),
                  std::string::npos);
    }
}

TEST_P(ProductionDbCases, TypeNamesMapToTheServersWhateverTheirCase)
{
    TiXmlDocument document;
    document.Parse("<dbstructure><table name='t' keydefinitions=''>"
                   "<field name='a' definition='double' type='DBTYPE_R8'/>"
                   "<field name='b' definition='Double Precision NOT NULL' type='DBTYPE_R8'/>"
                   "<field name='c' definition='DateTime' type='DBTYPE_DBTIMESTAMP'/>"
                   "<field name='d' definition='doubles' type='DBTYPE_R8'/>"
                   "</table></dbstructure>");
    ASSERT_TRUE(m_db.ReadStructure(document.RootElement()));
    ASSERT_EQ(m_db.GetTables().size(), 1u);
    EXPECT_EQ(m_db.BuildCreateTable(m_db.GetTables()[0]),
              m_db.IsPostgreSql()
                  ? "CREATE TABLE fwr_t (a DOUBLE PRECISION, b Double Precision NOT NULL, c TIMESTAMP, d doubles)"
                  : "CREATE TABLE fwr_t (a double, b Double Precision NOT NULL, c DateTime, d doubles)");
}

TEST_P(ProductionDbCases, ProjectRoundTripsWhole)
{
    CreateTables();
    CProjectData saved;
    FillSampleProject(saved, 4711, 12, 1, 3, 20);
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK)
        << LogText();
    EXPECT_NE(LogText().find("Executing SQL: INSERT INTO fwr_customer_data ( pa, vk, pos, "), std::string::npos);
    EXPECT_EQ(CountRows("result_data_errors"), 9);  // (3, 0), (5, 0), (0, 8) per row
    EXPECT_EQ(CountRows("physical_values"), 8);
    EXPECT_EQ(CountRows("result_data_tables"), 60);

    CProjectData loaded;
    FillSampleProject(loaded, 1, 1, 1, 5, 2, "other");
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(4711, 12, 1), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results))
        << LogText();
    ExpectSameProject(saved, loaded);
    EXPECT_EQ(loaded.results.GetAt(0).Errors, (std::vector<int>{3, 5}));
    EXPECT_EQ(loaded.results.GetAt(0).Warnings, std::vector<int>{8});
}

TEST_P(ProductionDbCases, ProjectWithoutFluidOrResultsRoundTrips)
{
    CreateTables();
    CProjectData saved;
    FillSampleProject(saved, 7, 0, 0, 0, 0);
    saved.physical.Fluid.reset();
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK)
        << LogText();
    EXPECT_EQ(CountRows("result_data"), 0);
    CProjectData loaded;
    FillSampleProject(loaded, 1, 1, 1, 2, 2, "other");
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(7, 0, 0), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results));
    ExpectSameProject(saved, loaded);
}

TEST_P(ProductionDbCases, SavingTwiceKeepsOnlyTheSecond)
{
    CreateTables();
    CProjectData first;
    FillSampleProject(first, 10, 20, 30, 4, 5, "first");
    first.features.SetAt(9, 99);
    ASSERT_EQ(m_db.SaveProject(&first.customer, &first.features, &first.physical, &first.results), PDB_SAVE_OK);
    ASSERT_TRUE(m_db.LockRecord(CProductionDbKey(10, 20, 30), "user1 - PC1"));
    CProjectData second;
    FillSampleProject(second, 10, 20, 30, 1, 2, "second");
    ASSERT_EQ(m_db.SaveProject(&second.customer, &second.features, &second.physical, &second.results), PDB_SAVE_OK);

    EXPECT_EQ(CountRows("customer_data"), 1);
    EXPECT_EQ(CountRows("device_configuration_data"), 2);
    EXPECT_EQ(CountRows("result_data"), 1);
    EXPECT_EQ(CountRows("result_data_value"), 3);
    EXPECT_EQ(CountRows("result_data_tables"), 2);
    EXPECT_EQ(CountRows("record_locks"), 0);  // the save drops the lock; the caller takes it again
    CProjectData loaded;
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(10, 20, 30), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results));
    ExpectSameProject(second, loaded);
}

TEST_P(ProductionDbCases, HostileTextsRoundTripIntact)
{
    CreateTables();
    const std::string hostile[] = {"O'Brien's \"plant\"; --", "'; DROP TABLE fwr_customer_data; --",
                                   "a;b;c'); DELETE FROM fwr_physical_data; --", "Grüße \\' \\\" ?"};
    for (const std::string& text : hostile) {
        SCOPED_TRACE(text);
        CProjectData saved;
        FillSampleProject(saved, 5, 6, 7, 1, 1);
        saved.customer.customer = text;
        saved.customer.tag_no = text;
        saved.customer.reference = text;
        saved.physical.NormFlowConditions.Name = text;
        saved.physical.Fluid->Name = text;
        // Unit names hold 16 characters.
        saved.physical.Temperature.Name = "'; DROP TABLE t;";
        saved.results.GetAt(0).FlowUnit.Name = "O'Brien;\"--";
        ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK)
            << LogText();
        CProjectData loaded;
        ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(5, 6, 7), &loaded.customer, &loaded.features,
                                     &loaded.physical, &loaded.results));
        ExpectSameProject(saved, loaded);
    }
    EXPECT_TRUE(m_db.CheckTables());
}

TEST_P(ProductionDbCases, RealsRoundTripExactly)
{
    CreateTables();
    const double tiny = 1.2345678901234e-7;
    CProjectData saved;
    FillSampleProject(saved, 1, 2, 3, 1, 1);
    saved.physical.CompressibilityFactor = tiny;  // read back through the row of texts
    saved.physical.Viscosity.BaseValue = tiny;
    saved.physical.TemperatureRange.MinRange = -tiny;
    saved.results.GetAt(0).Points[0][RESULT_COLUMN_PRESSURE_LOSS] = tiny;
    saved.results.GetAt(0).PressureLossRange.MinRange = std::numeric_limits<double>::denorm_min();
    saved.results.GetAt(0).ApplicationTurndown = std::numeric_limits<double>::max();
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK)
        << LogText();
    CProjectData loaded;
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results));
    ExpectSameProject(saved, loaded);
}

// NaN would be stored as NULL by one provider and read back as 0; an infinity was stored and
// loaded back as it stood. Neither is a value: the save is refused wherever one stands.
TEST_P(ProductionDbCases, RealsThatAreNotFiniteAreRefusedAndTheOldProjectStays)
{
    CreateTables();
    CProjectData old;
    FillSampleProject(old, 1, 2, 3, 2, 3, "old");
    ASSERT_EQ(m_db.SaveProject(&old.customer, &old.features, &old.physical, &old.results), PDB_SAVE_OK);
    const struct {
        const char* column;
        double& (*real)(CProjectData&);
    } places[] = {
        {"fwr_result_data_tables.error", [](CProjectData& p) -> double& { return p.results.GetAt(1).Points[2][RESULT_COLUMN_ERROR]; }},
        {"fwr_result_data.vortex_frequency_max", [](CProjectData& p) -> double& { return p.results.GetAt(0).VortexFrequencyMax; }},
        {"fwr_result_data_value.min_value", [](CProjectData& p) -> double& { return p.results.GetAt(1).FlowRange.MinRange; }},
        {"fwr_physical_values.base_value", [](CProjectData& p) -> double& { return p.physical.Flow.BaseValue; }},
        {"fwr_physical_values.conversion_factor", [](CProjectData& p) -> double& { return p.physical.Pressure.ConversionFactor; }},
        {"fwr_physical_data.compressibility_factor", [](CProjectData& p) -> double& { return p.physical.CompressibilityFactor; }},
    };
    const double notFinite[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
    for (const auto& place : places) {
        for (const double value : notFinite) {
            SCOPED_TRACE(std::string(place.column) + " = " + std::to_string(value));
            CProjectData bad;
            FillSampleProject(bad, 1, 2, 3, 2, 3, "bad");
            place.real(bad) = value;
            m_logStart = FileSize(LogFileName());
            EXPECT_EQ(m_db.SaveProject(&bad.customer, &bad.features, &bad.physical, &bad.results), PDB_SAVE_NO_DATA);
            EXPECT_NE(LogText().find(std::string(place.column) + " is not a finite number"), std::string::npos)
                << LogText();
            CProjectData loaded;
            ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features,
                                         &loaded.physical, &loaded.results));
            ExpectSameProject(old, loaded);
        }
    }
}

// A sizing made before a flow was entered has an infinite turndown and current; such a project is
// stored and loaded back as it was, as its file is. Not a number is still refused there.
TEST_P(ProductionDbCases, ASizingWithoutAFlowIsSavedAndLoadsAsItWas)
{
    CreateTables();
    CProjectData saved;
    FillSampleProject(saved, 1, 2, 3, 2, 1);
    saved.results.GetAt(0).CurrentMin = std::numeric_limits<double>::infinity();
    saved.results.GetAt(1).ApplicationTurndown = -std::numeric_limits<double>::infinity();
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK)
        << LogText();
    CProjectData loaded;
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results))
        << LogText();
    ExpectSameProject(saved, loaded);

    saved.results.GetAt(0).CurrentMin = std::nan("");
    EXPECT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_NO_DATA);
    EXPECT_NE(LogText().find("fwr_result_data.current_min is not a finite number"), std::string::npos) << LogText();
}

// A row another program wrote with an infinity in it is no project to calculate with.
TEST_P(ProductionDbCases, StoredRealsThatAreNotFiniteFailTheLoad)
{
    CreateTables();
    CProjectData stored;
    FillSampleProject(stored, 3, 4, 5, 2, 2, "stored");
    ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results), PDB_SAVE_OK);
    const std::string infinity = m_db.IsPostgreSql() ? "'Infinity'" : "9e999";
    const std::string minusInfinity = m_db.IsPostgreSql() ? "'-Infinity'" : "-9e999";
    const struct {
        const char* table;
        const char* column;
        const char* where;
    } places[] = {{"result_data", "reynolds_min", "item_id = 1"},
                  {"result_data_tables", "flow", "item_id = 0 AND point_id = 1"},
                  {"result_data_tables", "velocity", "item_id = 1 AND point_id = 0"},
                  {"result_data_value", "max_value", "item_id = 0 AND value_id = 2"},
                  {"result_data_value", "conversion_offset", "item_id = 1 AND value_id = 3"},
                  {"physical_values", "user_value", "value_id = 4"},
                  {"physical_data", "pressure_max", "1 = 1"}};
    for (const auto& place : places) {
        for (const std::string& value : {infinity, minusInfinity}) {
            SCOPED_TRACE(std::string(place.table) + "." + place.column + " = " + value);
            const std::string column = std::string("fwr_") + place.table + " SET " + place.column;
            Execute("UPDATE " + column + " = " + value + " WHERE " + place.where);
            ExpectLoadRefused(CProductionDbKey(3, 4, 5),
                              std::string("fwr_") + place.table + "." + place.column + " is not a finite number");
            Execute("UPDATE " + column + " = 0.5 WHERE " + place.where);
        }
    }
    CProjectData loaded;
    EXPECT_TRUE(m_db.LoadProject(CProductionDbKey(3, 4, 5), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results))
        << LogText();
}

// A whole number beyond 32 bits in a stored row (SQLite keeps 64 bits in an INT column; a
// server column widened by hand does too) is not read as its low 32 bits: the load fails.
TEST_P(ProductionDbCases, StoredNumberBeyond32BitsFailsTheLoad)
{
    CreateTables();
    CProjectData stored;
    FillSampleProject(stored, 3, 4, 5, 2, 2, "stored");
    ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results), PDB_SAVE_OK);
    const struct {
        const char* table;
        const char* column;
        const char* where;
    } places[] = {{"result_data", "size_id", "item_id = 1"},
                  {"device_configuration_data", "feature_value", "feature_id = (SELECT MIN(feature_id) FROM "
                                                                 "fwr_device_configuration_data)"},
                  {"result_data_errors", "error_id", "error_id = 5"},
                  {"physical_values", "db_index", "value_id = 2"}};
    for (const auto& place : places) {
        SCOPED_TRACE(std::string(place.table) + "." + place.column);
        const std::string table = std::string("fwr_") + place.table;
        if (m_db.IsPostgreSql())
            Execute("ALTER TABLE " + table + " ALTER COLUMN " + place.column + " TYPE BIGINT");
        // 4294967299 would be read as 3.
        Execute("UPDATE " + table + " SET " + place.column + " = 4294967299 WHERE " + place.where);
        ExpectLoadRefused(CProductionDbKey(3, 4, 5), std::string("Column ") + place.column + " holds a value beyond the range");
        ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results),
                  PDB_SAVE_OK);
    }
}

// A position beyond the 16-bit column was cut to fit: 65539 was stored as position 3 over the
// project stored there.
TEST_P(ProductionDbCases, PositionBeyondItsColumnIsRefusedAndTheProjectItWouldHitStays)
{
    CreateTables();
    const struct {
        int position;
        int hit;  // what the position would be cut to
    } positions[] = {{65539, 3}, {32768, -32768}, {-32769, 32767}, {INT_MAX, -1}};
    for (const auto& position : positions) {
        SCOPED_TRACE(position.position);
        CProjectData there;
        FillSampleProject(there, 7, 8, position.hit, 1, 2, "there");
        ASSERT_EQ(m_db.SaveProject(&there.customer, &there.features, &there.physical, &there.results), PDB_SAVE_OK);
        CProjectData beyond;
        FillSampleProject(beyond, 7, 8, 0, 1, 2, "beyond");
        beyond.customer.pos = position.position;
        m_logStart = FileSize(LogFileName());
        EXPECT_EQ(m_db.SaveProject(&beyond.customer, &beyond.features, &beyond.physical, &beyond.results),
                  PDB_SAVE_INVALID_KEY);
        EXPECT_NE(LogText().find("position " + std::to_string(position.position) +
                                 " of PA=7 VK=8 is beyond the key column"),
                  std::string::npos)
            << LogText();
        CProjectData loaded;
        ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(7, 8, static_cast<std::int16_t>(position.hit)),
                                     &loaded.customer, &loaded.features, &loaded.physical, &loaded.results));
        ExpectSameProject(there, loaded);
    }
    EXPECT_EQ(CountRows("customer_data"), 4);
}

TEST_P(ProductionDbCases, TextsLongerThanTheirColumnAreRefusedAlikeAndTheOldProjectStays)
{
    CreateTables();
    const struct {
        const char* column;
        size_t length;
        std::string& (*text)(CProjectData&);
    } cases[] = {
        {"fwr_customer_data.customer", 250, [](CProjectData& p) -> std::string& { return p.customer.customer; }},
        {"fwr_customer_data.tag_no", 50, [](CProjectData& p) -> std::string& { return p.customer.tag_no; }},
        {"fwr_customer_data.reference", 100, [](CProjectData& p) -> std::string& { return p.customer.reference; }},
        {"fwr_physical_data.normflow_name", 50,
         [](CProjectData& p) -> std::string& { return p.physical.NormFlowConditions.Name; }},
        {"fwr_physical_values.unit_name", 16, [](CProjectData& p) -> std::string& { return p.physical.Density.Name; }},
        {"fwr_result_data_value.unit_name", 16,
         [](CProjectData& p) -> std::string& { return p.results.GetAt(0).PressureUnit.Name; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        // Full to the last character; "ö" takes two bytes, so a count of bytes would refuse it.
        CProjectData full;
        FillSampleProject(full, 1, 2, 3, 1, 2, "full");
        c.text(full).clear();
        for (size_t i = 0; i < c.length; ++i)
            c.text(full) += i % 2 == 0 ? "\xC3\xB6" : "x";
        ASSERT_EQ(m_db.SaveProject(&full.customer, &full.features, &full.physical, &full.results), PDB_SAVE_OK)
            << LogText();

        CProjectData longer;
        FillSampleProject(longer, 1, 2, 3, 1, 2, "longer");
        c.text(longer) = c.text(full) + "x";
        EXPECT_EQ(m_db.SaveProject(&longer.customer, &longer.features, &longer.physical, &longer.results),
                  PDB_SAVE_NO_DATA);
        EXPECT_NE(LogText().find(std::string(c.column) + " is longer than " + std::to_string(c.length) + " characters"),
                  std::string::npos)
            << LogText();
        CProjectData loaded;
        ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                                     &loaded.results));
        ExpectSameProject(full, loaded);
    }
}

TEST_P(ProductionDbCases, FailureHalfWayThroughASaveKeepsTheOldProject)
{
    CreateTables();
    CProjectData old;
    FillSampleProject(old, 8, 9, 10, 3, 6, "old");
    ASSERT_EQ(m_db.SaveProject(&old.customer, &old.features, &old.physical, &old.results), PDB_SAVE_OK);
    ASSERT_TRUE(m_db.LockRecord(CProductionDbKey(8, 9, 10), "user1 - PC1"));
    for (const std::string& sql : GetParam()->FailingPointTrigger())
        Execute(sql);

    CProjectData next;
    FillSampleProject(next, 8, 9, 10, 3, 6, "next");
    EXPECT_EQ(m_db.SaveProject(&next.customer, &next.features, &next.physical, &next.results), PDB_SAVE_SQL_FAILED);
    EXPECT_NE(LogText().find("ROLLBACK"), std::string::npos);

    CProjectData loaded;
    ASSERT_TRUE(m_db.LoadProject(CProductionDbKey(8, 9, 10), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results))
        << LogText();
    ExpectSameProject(old, loaded);
    EXPECT_EQ(CountRows("record_locks"), 1);
    // The session is usable again.
    EXPECT_TRUE(m_db.DeleteProject(CProductionDbKey(8, 9, 10)));
    EXPECT_EQ(CountRows("customer_data"), 0);
}

// Another process saves two versions of a project in turn while this one loads it: every load
// gives one version whole, never the customer of one with the rows of the other.
TEST_P(ProductionDbCases, LoadWhileAnotherProcessSavesGivesOneVersionWhole)
{
    CreateTables();
    constexpr int kLoads = 100;
    auto* saves = static_cast<std::atomic<int>*>(
        mmap(nullptr, 2 * sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(static_cast<void*>(saves), MAP_FAILED);
    std::atomic<int>* stop = saves + 1;
    new (saves) std::atomic<int>(0);
    new (stop) std::atomic<int>(0);
    const pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        CLogManager::GetInstance()->SetLoggerLevel(LOGLEVEL_ERROR, "CProductionDb");
        CLogManager::GetInstance()->SetLoggerLevel(LOGLEVEL_ERROR, "CDynamicRecordSetOleDb");
        CProductionDb db;
        CProjectData versions[2];
        FillSampleProject(versions[0], 1, 2, 3, 3, 4, "A");
        FillSampleProject(versions[1], 1, 2, 3, 1, 2, "B");
        int failed = db.Open(m_dataLink.c_str()) == S_OK ? 0 : 1;
        for (int i = 0; failed == 0 && *stop == 0; ++i) {
            CProjectData& version = versions[i % 2];
            if (db.SaveProject(&version.customer, &version.features, &version.physical, &version.results) !=
                PDB_SAVE_OK)
                failed = 1;
            ++*saves;
        }
        _exit(failed != 0 ? 2 : 0);
    }
    EXPECT_TRUE(WaitUntil(std::chrono::seconds(60),
                          [&] { return *saves != 0 || waitpid(saver, nullptr, WNOHANG) != 0; }))
        << "the saver neither saved nor ended";

    int torn = 0;
    int failed = 0;
    const int savesBefore = *saves;
    for (int i = 0; i < kLoads; ++i) {
        CProjectData loaded;
        if (!m_db.LoadProject(CProductionDbKey(1, 2, 3), &loaded.customer, &loaded.features, &loaded.physical,
                              &loaded.results)) {
            ++failed;
            continue;
        }
        const bool a = loaded.customer.customer == "Customer A";
        const std::string variant = a ? "A" : "B";
        const size_t points = a ? 4 : 2;
        bool whole = loaded.physical.NormFlowConditions.Name == "Norm " + variant &&
                     loaded.physical.Temperature.Name == "u0" + variant &&
                     loaded.results.GetCount() == (a ? 3 : 1);
        for (int row = 0; whole && row < loaded.results.GetCount(); ++row)
            whole = loaded.results.GetAt(row).Points.size() == points &&
                    loaded.results.GetAt(row).FlowUnit.Name == "m3/h" + variant;
        torn += !whole;
    }
    const int savesDuring = *saves - savesBefore;
    *stop = 1;
    int status = 0;
    ASSERT_EQ(waitpid(saver, &status, 0), saver);
    munmap(saves, 2 * sizeof(std::atomic<int>));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(savesDuring, 0) << "the saves ran alongside the loads";
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(torn, 0);
}

TEST_P(ProductionDbCases, FailedLoadLeavesTheProjectAsItWas)
{
    CreateTables();
    CProjectData stored;
    FillSampleProject(stored, 3, 4, 5, 2, 2, "stored");
    ASSERT_EQ(m_db.SaveProject(&stored.customer, &stored.features, &stored.physical, &stored.results), PDB_SAVE_OK);
    Execute("DELETE FROM fwr_physical_values WHERE value_id=6");
    ExpectLoadRefused(CProductionDbKey(3, 4, 5), "no data for");
}

TEST_P(ProductionDbCases, KeysThatAreNotValidAreRefused)
{
    CreateTables();
    CProjectData project;
    FillSampleProject(project, 0, 5, 0, 1, 1);
    EXPECT_EQ(m_db.SaveProject(&project.customer, &project.features, &project.physical, &project.results),
              PDB_SAVE_INVALID_KEY);
    EXPECT_FALSE(m_db.LoadProject(CProductionDbKey(0, 5, 0), &project.customer, &project.features,
                                  &project.physical, &project.results));
    EXPECT_FALSE(m_db.DeleteProject(CProductionDbKey(0, 5, 0)));
    EXPECT_NE(LogText().find("not enough primary keys PA=0 VK=5 POS=000"), std::string::npos);
    EXPECT_EQ(CountRows("customer_data"), 0);
    EXPECT_EQ(m_db.SaveProject(nullptr, &project.features, &project.physical, &project.results), PDB_SAVE_NO_DATA);

    FillSampleProject(project, 7, 0, 0, 1, 1);
    EXPECT_EQ(m_db.SaveProject(&project.customer, &project.features, &project.physical, &project.results),
              PDB_SAVE_OK);
}

TEST_P(ProductionDbCases, DeleteRemovesEveryRowOfTheKeyOnly)
{
    CreateTables();
    CProjectData a;
    FillSampleProject(a, 1, 1, 1, 2, 2);
    CProjectData b;
    FillSampleProject(b, 1, 1, 2, 2, 2);
    ASSERT_EQ(m_db.SaveProject(&a.customer, &a.features, &a.physical, &a.results), PDB_SAVE_OK);
    ASSERT_EQ(m_db.SaveProject(&b.customer, &b.features, &b.physical, &b.results), PDB_SAVE_OK);
    ASSERT_TRUE(m_db.LockRecord(CProductionDbKey(1, 1, 1), "someone else"));
    EXPECT_TRUE(m_db.DeleteProject(CProductionDbKey(1, 1, 1)));
    EXPECT_EQ(CountRows("customer_data"), 1);
    EXPECT_EQ(CountRows("result_data_tables"), 4);
    EXPECT_EQ(CountRows("record_locks"), 0);
    CProjectData loaded;
    EXPECT_FALSE(m_db.LoadProject(CProductionDbKey(1, 1, 1), &loaded.customer, &loaded.features, &loaded.physical,
                                  &loaded.results));
    EXPECT_TRUE(m_db.LoadProject(CProductionDbKey(1, 1, 2), &loaded.customer, &loaded.features, &loaded.physical,
                                 &loaded.results));
}

// The order table is the production system's: a database without it has no orders.
TEST_P(ProductionDbCases, OrderExistsReadsTheOrderTable)
{
    m_logStart = FileSize(LogFileName());
    EXPECT_EQ(m_db.OrderExists(CProductionDbKey(4711, 12, 1)), std::optional<bool>(false));
    EXPECT_EQ(m_db.GetFailureCause(), CDbFailureCause::Unknown);
    const std::string log = LogText();
    EXPECT_NE(log.find("Open FAILED 0x80040E37"), std::string::npos) << log;
    EXPECT_EQ(log.find("Open FAILED", log.find("Open FAILED") + 1), std::string::npos) << log;

    Execute("CREATE TABLE fwr_orders (BARC INT, KOMN INT, POSI SMALLINT)");
    Execute("INSERT INTO fwr_orders VALUES (4711, 12, 1)");
    EXPECT_EQ(m_db.OrderExists(CProductionDbKey(4711, 12, 1)), std::optional<bool>(true));
    EXPECT_EQ(m_db.OrderExists(CProductionDbKey(4711, 12, 2)), std::optional<bool>(false));

    // A table that is there but cannot be read answers nothing.
    Execute("DROP TABLE fwr_orders");
    Execute("CREATE TABLE fwr_orders (BARC INT, KOMN INT)");
    EXPECT_EQ(m_db.OrderExists(CProductionDbKey(4711, 12, 1)), std::nullopt);
}

TEST_P(ProductionDbCases, ProjectExistsOnlyOnceStored)
{
    // Without the tables nobody can say.
    EXPECT_EQ(m_db.ProjectExists(CProductionDbKey(4711, 12, 1)), std::nullopt);
    EXPECT_EQ(m_db.GetFailureCause(), CDbFailureCause::TablesMissing);
    CreateTables();
    EXPECT_EQ(m_db.ProjectExists(CProductionDbKey(4711, 12, 1)), std::optional<bool>(false));
    EXPECT_EQ(m_db.GetFailureCause(), CDbFailureCause::Unknown);
    CProjectData saved;
    FillSampleProject(saved, 4711, 12, 1, 1, 2);
    ASSERT_EQ(m_db.SaveProject(&saved.customer, &saved.features, &saved.physical, &saved.results), PDB_SAVE_OK);
    EXPECT_EQ(m_db.ProjectExists(CProductionDbKey(4711, 12, 1)), std::optional<bool>(true));
    EXPECT_EQ(m_db.ProjectExists(CProductionDbKey(4711, 12, 2)), std::optional<bool>(false));
}

TEST_P(ProductionDbCases, LockIsTakenRenewedAndReleasedByItsOwner)
{
    CreateTables();
    const CProductionDbKey key(1, 2, 3);
    const CDateTime before = CDateTime::GetCurrentTime();
    ASSERT_TRUE(m_db.LockRecord(key, "user1 - PC1"));
    std::string owner = "user1 - PC1";
    std::string computer;
    CDateTime time;
    EXPECT_FALSE(m_db.IsLockedByOther(key, owner, computer, time));
    EXPECT_EQ(owner, "user1 - PC1");
    EXPECT_EQ(computer, CProductionDb::LockName(GetComputerNameString()));
    EXPECT_EQ(time.GetStatus(), CDateTime::valid);
    EXPECT_GE(time.GetOleDate(), before.GetOleDate() - 1.0 / 86400);

    // Renewing only moves the time.
    Execute("UPDATE fwr_record_locks SET locking_time='2001-02-03 04:05:06'");
    ASSERT_TRUE(m_db.LockRecord(key, "user1 - PC1"));
    EXPECT_EQ(CountRows("record_locks"), 1);
    EXPECT_TRUE(m_db.IsLockedByOther(key, owner = "user2 - PC2", computer, time));
    EXPECT_EQ(owner, "user1 - PC1");
    EXPECT_GE(time.GetYear(), 2026);

    EXPECT_FALSE(m_db.UnlockRecord(key, "user2 - PC2"));
    EXPECT_EQ(CountRows("record_locks"), 1);
    EXPECT_TRUE(m_db.UnlockRecord(key, "user1 - PC1"));
    EXPECT_EQ(CountRows("record_locks"), 0);
    EXPECT_FALSE(m_db.IsLockedByOther(key, owner = "user2 - PC2", computer, time));
    EXPECT_EQ(owner, "");
    EXPECT_EQ(computer, "");
    EXPECT_EQ(time.GetStatus(), CDateTime::null);
}

TEST_P(ProductionDbCases, LockOfAnotherOwnerIsKept)
{
    CreateTables();
    const CProductionDbKey key(1, 2, 3);
    ASSERT_TRUE(m_db.LockRecord(key, "user1 - PC1"));
    m_logStart = FileSize(LogFileName());
    EXPECT_FALSE(m_db.LockRecord(key, "user2 - PC2"));
    EXPECT_NE(LogText().find("Record PA=1 VK=2 POS=003 locked already by user user1 - PC1"), std::string::npos)
        << LogText();
    EXPECT_TRUE(m_db.UnlockRecord(CProductionDbKey(1, 2, 4), "user2 - PC2"));
    EXPECT_NE(LogText().find("Record PA=1 VK=2 POS=004 was not locked"), std::string::npos);
}

TEST_P(ProductionDbCases, OwnersCompareWithoutPaddingAndCutToTheColumn)
{
    CreateTables();
    Execute("INSERT INTO fwr_record_locks (pa, vk, pos, user_name, computer_name, locking_time) "
            "VALUES (1, 2, 3, '  user1 - PC1   ', 'PC1   ', '2026-03-05 14:07:09')");
    std::string owner = "user1 - PC1";
    std::string computer;
    CDateTime time;
    EXPECT_FALSE(m_db.IsLockedByOther(CProductionDbKey(1, 2, 3), owner, computer, time));
    EXPECT_EQ(computer, "PC1");
    EXPECT_EQ(time.Format("%Y-%m-%d %H:%M:%S"), "2026-03-05 14:07:09");
    EXPECT_TRUE(m_db.LockRecord(CProductionDbKey(1, 2, 3), "user1 - PC1"));

    // An owner longer than the column still takes, renews, recognises and releases its lock.
    const std::string longOwner = std::string(50, 'u') + "ä - " + std::string(40, 'h');
    const CProductionDbKey key(9, 9, 9);
    ASSERT_TRUE(m_db.LockRecord(key, longOwner)) << LogText();
    EXPECT_TRUE(m_db.LockRecord(key, longOwner));
    EXPECT_FALSE(m_db.IsLockedByOther(key, owner = longOwner, computer, time));
    EXPECT_TRUE(m_db.IsLockedByOther(key, owner = "user2 - PC2", computer, time));
    EXPECT_EQ(owner, CProductionDb::LockName(longOwner));
    EXPECT_TRUE(m_db.UnlockRecord(key, longOwner));
    EXPECT_EQ(CountRows("record_locks"), 1);

    const std::string hostile = "O'Brien; DROP TABLE fwr_record_locks; --";
    ASSERT_TRUE(m_db.LockRecord(key, hostile));
    EXPECT_TRUE(m_db.IsLockedByOther(key, owner = "user2 - PC2", computer, time));
    EXPECT_EQ(owner, hostile);
    EXPECT_TRUE(m_db.UnlockRecord(key, hostile));
}

TEST_P(ProductionDbCases, UnreadableLockTableNeverCountsAsSuccess)
{
    CreateTables();
    Execute("DROP TABLE fwr_record_locks");
    std::string owner = "user1 - PC1";
    std::string computer = "kept";
    CDateTime time;
    EXPECT_FALSE(m_db.LockRecord(CProductionDbKey(1, 2, 3), owner));
    EXPECT_FALSE(m_db.UnlockRecord(CProductionDbKey(1, 2, 3), owner));
    EXPECT_TRUE(m_db.IsLockedByOther(CProductionDbKey(1, 2, 3), owner, computer, time));
    EXPECT_EQ(owner, "user1 - PC1");
    EXPECT_EQ(computer, "kept");
}

// Two processes lock the same free key at the same moment, round after round: each key has
// exactly one winner. Both wait for each other before every round, so that neither runs ahead
// and finds the other's lock already there.
TEST_P(ProductionDbCases, TwoProcessesRacingForAKeyGiveOneWinner)
{
    CreateTables();
    constexpr int kRounds = 1000;
    void* shared = mmap(nullptr, sizeof(pthread_barrier_t), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* barrier = static_cast<pthread_barrier_t*>(shared);
    pthread_barrierattr_t attributes;
    pthread_barrierattr_init(&attributes);
    pthread_barrierattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
    ASSERT_EQ(pthread_barrier_init(barrier, &attributes, 2), 0);
    pthread_barrierattr_destroy(&attributes);
    pid_t racers[2];
    for (int racer = 0; racer < 2; ++racer) {
        racers[racer] = fork();
        ASSERT_GE(racers[racer], 0);
        if (racers[racer] == 0) {
            CLogManager::GetInstance()->SetLoggerLevel(LOGLEVEL_ERROR, "CProductionDb");
            CLogManager::GetInstance()->SetLoggerLevel(LOGLEVEL_ERROR, "CDynamicRecordSetOleDb");
            CProductionDb db;
            // A racer without a connection still keeps the rounds, or the other would wait for
            // it for ever.
            const bool open = db.Open(m_dataLink.c_str()) == S_OK;
            std::string wins(kRounds, '0');
            const std::string owner = "racer" + std::to_string(racer) + " - host";
            for (int round = 0; round < kRounds; ++round) {
                pthread_barrier_wait(barrier);
                if (open && db.LockRecord(CProductionDbKey(round + 1, 1, 1), owner))
                    wins[static_cast<size_t>(round)] = '1';
            }
            WriteWholeFile(m_folder.Path("racer" + std::to_string(racer)), wins);
            _exit(open ? 0 : 2);
        }
    }
    for (pid_t racer : racers) {
        int status = 0;
        ASSERT_EQ(waitpid(racer, &status, 0), racer);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (WIFEXITED(status) ? "exit code " : "signal ") << (WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
    }
    pthread_barrier_destroy(barrier);
    munmap(shared, sizeof(pthread_barrier_t));
    const std::string wins0 = ReadWholeFile(m_folder.Path("racer0"));
    const std::string wins1 = ReadWholeFile(m_folder.Path("racer1"));
    ASSERT_EQ(wins0.size(), static_cast<size_t>(kRounds));
    ASSERT_EQ(wins1.size(), static_cast<size_t>(kRounds));
    int twice = 0;
    int never = 0;
    for (int round = 0; round < kRounds; ++round) {
        twice += wins0[round] == '1' && wins1[round] == '1';
        never += wins0[round] == '0' && wins1[round] == '0';
    }
    EXPECT_EQ(twice, 0);
    EXPECT_EQ(never, 0);
    EXPECT_EQ(CountRows("record_locks"), kRounds);
    // The row names the winner.
    for (int round : {0, kRounds / 2, kRounds - 1}) {
        std::string owner = "nobody";
        std::string computer;
        CDateTime time;
        EXPECT_TRUE(m_db.IsLockedByOther(CProductionDbKey(round + 1, 1, 1), owner, computer, time));
        EXPECT_EQ(owner, wins0[round] == '1' ? "racer0 - host" : "racer1 - host");
    }
}
