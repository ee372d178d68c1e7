#include "RecordSetCases.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogManager.h"
#include "support/DamagedDatabase.h"
#include "support/TestFiles.h"

#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <clocale>
#include <filesystem>
#include <thread>

namespace {

// A new, empty database file.
std::string NewDatabaseFile(const std::string& name)
{
    const std::string path = TestFolder().Path(name);
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

class CSqliteDatabases : public CTestDatabases {
public:
    const char* Name() const override { return "SQLite"; }

    std::string CreateDatabase() override
    {
        return "Provider=SQLite;Data Source=" + NewDatabaseFile("case" + std::to_string(++m_count) + ".db");
    }

    std::vector<std::string> KindsSchema() const override
    {
        return {"CREATE TABLE kinds (id INTEGER PRIMARY KEY, i2 SMALLINT, i8 BIGINT, ui1 TINYINT, "
                "r4 SINGLE, r8 DOUBLE, cy CURRENCY, num NUMERIC(10,2), flag BOOLEAN, txt VARCHAR(40), "
                "wtxt NVARCHAR(40), d DATE, t TIME, ts DATETIME, data BLOB)"};
    }

    const char* WholeNumberType() const override { return "INTEGER"; }

private:
    int m_count = 0;
};

CSqliteDatabases sqliteDatabases;

// A database file with one small table t (id INTEGER, name TEXT) holding two rows.
std::string SmallDatabase(const std::string& name)
{
    const std::string path = NewDatabaseFile(name);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "CREATE TABLE t (id INTEGER, name TEXT); INSERT INTO t VALUES (1, 'one'), (2, 'two')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// Opens a database file for writing.
void OpenFile(CDataSource& source, CSession& session, const std::string& path)
{
    ASSERT_EQ(source.OpenFromInitializationString(("Provider=SQLite;Data Source=" + path).c_str()), S_OK)
        << source.GetErrorText();
    ASSERT_EQ(session.Open(source), S_OK);
}

std::string Utf16WithBom(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Sqlite, RecordSetCases, testing::Values(&sqliteDatabases), ProviderName);

TEST(SqliteDataSource, OpensFromDataLinkFilesInUtf16AndUtf8)
{
    const std::string db = SmallDatabase("link.db");
    const std::string body = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                             "Provider=SQLite;Data Source=" + db + ";Mode=Read;Persist Security Info=False\r\n";
    const std::string wideLink = TestFolder().Path("units.udl");
    const std::string narrowLink = TestFolder().Path("PDB.udl");
    WriteWholeFile(wideLink, Utf16WithBom(body));
    WriteWholeFile(narrowLink, "\xEF\xBB\xBF" + body);
    for (const std::string& link : {wideLink, narrowLink}) {
        SCOPED_TRACE(link);
        CDataSource source;
        ASSERT_EQ(source.OpenFromFileName(link.c_str()), S_OK) << source.GetErrorText();
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(CountRows(session, "t"), 2);
        EXPECT_EQ(session.Execute("DELETE FROM t"), DB_SEC_E_PERMISSIONDENIED) << "Mode=Read";
    }
}

TEST(SqliteDataSource, PropertyNamesIgnoreCaseUnderAnyLocale)
{
    const std::string db = SmallDatabase("case.db");
    // Under a Turkish locale tolower('I') stays 'I'; the ASCII rule still holds.
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr) << "(scripts/install-deps.sh generates it)";
    CDataSource source;
    const HRESULT opened =
        source.OpenFromInitializationString(("PROVIDER=SQLITE;DATA SOURCE=" + db + ";MODE=READ").c_str());
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(opened, S_OK) << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(session.Execute("DELETE FROM t"), DB_SEC_E_PERMISSIONDENIED) << "MODE=READ";
}

TEST(SqliteDataSource, OpenFailuresNameTheirCause)
{
    const std::string missing = TestFolder().Path("missing.db");
    const std::string notADatabase = TestFolder().Path("notes.txt");
    WriteWholeFile(notADatabase, "This is not a database, just a text file of some length..........");
    struct Case {
        std::string initString;
        HRESULT result;
    };
    const Case cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Zephrin.mdb;Mode=Read", REGDB_E_CLASSNOTREG},
        {"Data Source=" + missing, REGDB_E_CLASSNOTREG},
        {"Provider=SQLite;Mode=Read", E_INVALIDARG},
        {"Provider=SQLite;Data Source=" + missing, E_FAIL},
        {"Provider=SQLite;Data Source=" + missing + ";Mode=Read", E_FAIL},
        {"Provider=SQLite;Data Source=" + notADatabase + ";Mode=Read", E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initString);
        CDataSource source;
        EXPECT_EQ(source.OpenFromInitializationString(c.initString.c_str()), c.result);
        EXPECT_FALSE(source.IsOpen());
        EXPECT_FALSE(source.GetErrorText().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(missing)) << "a missing database is not created";

    CDataSource source;
    EXPECT_EQ(source.OpenFromFileName(TestFolder().Path("nowhere.udl").c_str()), STG_E_FILENOTFOUND);
    EXPECT_EQ(source.OpenFromFileName(TestFolder().Path("").c_str()), STG_E_FILENOTFOUND) << "a folder";
}

TEST(SqliteDataSource, ShareDenyWriteReadsWithoutLocking)
{
    // Characters that mean something in a file URI must still name the file.
    const std::string db = SmallDatabase("a b#c?d%e.db");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.c_str(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // A lock that would keep every ordinary reader out, as a medium that refuses locks would.
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    CDataSource source;
    const std::string init = "Provider=SQLite;Data Source=" + db + ";Mode=Read|Share Deny Read|Share Deny Write";
    ASSERT_EQ(source.OpenFromInitializationString(init.c_str()), S_OK) << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(CountRows(session, "t"), 2);
    EXPECT_EQ(session.Execute("DELETE FROM t"), DB_SEC_E_PERMISSIONDENIED);
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

TEST(SqliteDataSource, OpenWaitsForAWriterToFinish)
{
    const std::string db = SmallDatabase("busy.db");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.c_str(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    // Another program in the middle of a short write: the open waits instead of failing.
    std::thread finish([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    });
    CDataSource source;
    const HRESULT opened =
        source.OpenFromInitializationString(("Provider=SQLite;Data Source=" + db + ";Mode=Read").c_str());
    finish.join();
    sqlite3_close(writer);
    ASSERT_EQ(opened, S_OK) << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(CountRows(session, "t"), 2);
}

TEST(SqliteRecordSet, ExpressionColumnsTakeTheTypeOfTheirFirstValue)
{
    CDataSource source;
    CSession session;
    OpenFile(source, session, SmallDatabase("expr.db"));
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(session, "SELECT COUNT(*) AS n, 1.5 AS r, 'x' AS s, x'00ff' AS b, NULL AS z, "
                                 "MAX(id) AS m FROM t; -- a trailing comment is no second statement"));
    EXPECT_EQ(ColumnTypes(rs),
              (std::vector<DBTYPE>{DBTYPE_I8, DBTYPE_R8, DBTYPE_STR, DBTYPE_IUNKNOWN, DBTYPE_STR, DBTYPE_I8}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("n", FALSE), 2);
    EXPECT_EQ(rs.GetLong("m", FALSE), 2);
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(rs.GetBlob(bytes, "b"));
    EXPECT_EQ(bytes, (std::vector<unsigned char>{0x00, 0xFF}));
    rs.Close();
}

TEST(SqliteRecordSet, StoredBooleansOfAnyFormReadAsTheirTruth)
{
    CDataSource source;
    CSession session;
    OpenFile(source, session, NewDatabaseFile("bool.db"));
    ASSERT_EQ(session.Execute("CREATE TABLE b (k INTEGER, v BIT)"), S_OK);
    // What other writers put into a boolean column: 1, -1, any number, words.
    const std::pair<CDbValue, BOOL> cases[] = {
        {1, TRUE},    {-1, TRUE},   {7, TRUE},      {0.5, TRUE}, {"true", TRUE},
        {"yes", TRUE}, {0, FALSE},  {"false", FALSE}, {"0", FALSE}, {CDbValue(), FALSE},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        ASSERT_EQ(session.Execute("INSERT INTO b VALUES (?, ?)", {static_cast<int>(i), cases[i].first}), S_OK);
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(session, "SELECT v FROM b ORDER BY k"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(rs.MoveNext());
        EXPECT_EQ(rs.GetBoolAt(1, FALSE), cases[i].second);
    }
    rs.Close();
}

TEST(SqliteRecordSet, NumericWithoutDeclaredScaleKeepsEachValuesScale)
{
    CDataSource source;
    CSession session;
    OpenFile(source, session, NewDatabaseFile("num.db"));
    ASSERT_EQ(session.Execute("CREATE TABLE n (k INTEGER, v DECIMAL, w NUMERIC(12,1))"), S_OK);
    const double values[] = {1.5, -0.001, 12345678.25, 42, 0};
    for (size_t i = 0; i < std::size(values); ++i)
        ASSERT_EQ(session.Execute("INSERT INTO n VALUES (?, ?, ?)", {static_cast<int>(i), values[i], values[i]}), S_OK);
    // The declared scale rounds half away from zero.
    const double rounded[] = {1.5, -0.0, 12345678.3, 42, 0};
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(session, "SELECT v, w FROM n ORDER BY k"));
    for (size_t i = 0; i < std::size(values); ++i) {
        ASSERT_TRUE(rs.MoveNext());
        EXPECT_DOUBLE_EQ(rs.GetDouble("v"), values[i]);
        EXPECT_DOUBLE_EQ(rs.GetDouble("w"), rounded[i]);
    }
    rs.Close();
}

TEST(SqliteRecordSet, ReadErrorPartWayIsNoEndOfRows)
{
    const std::string path = NewDatabaseFile("damaged.db");
    {
        CDataSource source;
        CSession session;
        OpenFile(source, session, path);
        ASSERT_EQ(session.Execute("CREATE TABLE rows (id INTEGER, name TEXT)"), S_OK);
        ASSERT_EQ(session.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                                  "INSERT INTO rows SELECT i, printf('row %040d', i) FROM n"),
                  S_OK);
    }
    std::string error;
    ASSERT_TRUE(DamageMiddleLeafPage(path, "rows", error)) << error;

    CDataSource source;
    CSession session;
    OpenFile(source, session, path);
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(session, "SELECT * FROM rows"));
    int count = 0;
    while (rs.MoveNext())
        ++count;
    EXPECT_GT(count, 0);
    EXPECT_LT(count, 1500);
    EXPECT_FALSE(rs.ReadAllRows());
    EXPECT_TRUE(FAILED(rs.GetLastResult()));
    rs.Close();

    // A complete read says so.
    ASSERT_TRUE(rs.Open(session, "SELECT 1"));
    EXPECT_TRUE(rs.MoveNext());
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_TRUE(rs.ReadAllRows());
}

TEST(SqliteRecordSet, NotANumberIsRefusedNotStoredAsNull)
{
    CDataSource source;
    CSession session;
    OpenFile(source, session, NewDatabaseFile("nan.db"));
    ASSERT_EQ(session.Execute("CREATE TABLE r (v DOUBLE)"), S_OK);
    EXPECT_EQ(session.Execute("INSERT INTO r VALUES (?)", {std::nan("")}), DB_E_CANTCONVERTVALUE);
    EXPECT_EQ(CountRows(session, "r"), 0);
    EXPECT_EQ(session.Execute("INSERT INTO r VALUES (?)", {1.5}), S_OK);
}

TEST(DoubleCharacter, DoublesEveryOccurrence)
{
    EXPECT_EQ(CDynamicRecordSetOleDb::DoubleCharacter("O'Brien's", '\''), "O''Brien''s");
    EXPECT_EQ(CDynamicRecordSetOleDb::DoubleCharacter("''", '\''), "''''");
    EXPECT_EQ(CDynamicRecordSetOleDb::DoubleCharacter("", '\''), "");
    EXPECT_EQ(CDynamicRecordSetOleDb::DoubleCharacter("a\"b", '"'), "a\"\"b");
}
