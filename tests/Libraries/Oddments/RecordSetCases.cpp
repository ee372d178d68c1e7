#include "RecordSetCases.h"

#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogManager.h"
#include "support/TestFiles.h"

#include <clocale>
#include <cstring>

namespace {

const char kInsertKinds[] =
    "INSERT INTO kinds (id, i2, i8, ui1, r4, r8, cy, num, flag, txt, wtxt, d, t, ts, data) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::string LogFileName()
{
    return TestFolder().Path("records.log");
}

std::string LogText()
{
    return ReadWholeFile(LogFileName());
}

// Opens the record set on one row of "kinds" and moves to it.
void OpenRow(CDynamicRecordSetOleDb& rs, CSession& session, int id)
{
    ASSERT_TRUE(rs.Open(session, "SELECT * FROM kinds WHERE id = ?", {id}));
    ASSERT_TRUE(rs.MoveNext());
}

struct Expected {
    const char* column;
    DBTYPE type;
    int longValue[2];  // with the convert flag, without
    BOOL boolValue[2];
    double doubleValue[2];
    const char* text[2];
};

// Row 1 through every getter. A getter reads its own types always and the other ones only
// with the convert flag; what it cannot read gives 0, FALSE, 0.0 or "".
const Expected kRowOne[] = {
    {"id", DBTYPE_I4, {1, 1}, {TRUE, FALSE}, {1, 0}, {"1", ""}},
    {"i2", DBTYPE_I2, {-12, -12}, {TRUE, FALSE}, {-12, 0}, {"-12", ""}},
    // Beyond 32 bits the integer getter gives 0 (and fails the step); the others all of it.
    {"i8", DBTYPE_I8, {0, 0}, {TRUE, FALSE}, {5e9, 0}, {"5000000000", ""}},
    {"ui1", DBTYPE_UI1, {200, 200}, {TRUE, FALSE}, {200, 0}, {"200", ""}},
    {"r4", DBTYPE_R4, {2, 0}, {TRUE, FALSE}, {2.5, 2.5}, {"2.500000", ""}},
    {"r8", DBTYPE_R8, {-7, 0}, {TRUE, FALSE}, {-7.75, -7.75}, {"-7.750000", ""}},
    {"cy", DBTYPE_CY, {12, 0}, {TRUE, FALSE}, {12.3456, 12.3456}, {"12.345600", ""}},
    {"num", DBTYPE_NUMERIC, {-123, -123}, {TRUE, FALSE}, {-123.45, -123.45}, {"-123.450000", ""}},
    {"flag", DBTYPE_BOOL, {0, 0}, {TRUE, TRUE}, {0, 0}, {"", ""}},
    {"txt", DBTYPE_STR, {-17, 0}, {TRUE, FALSE}, {-17.9, 0}, {"-17.9", "-17.9"}},
    {"wtxt", DBTYPE_WSTR, {3, 0}, {TRUE, FALSE}, {350, 0}, {"3.5e2 Grüße", "3.5e2 Grüße"}},
    {"d", DBTYPE_DBDATE, {0, 0}, {FALSE, FALSE}, {0, 0}, {"", ""}},
    {"t", DBTYPE_DBTIME, {0, 0}, {FALSE, FALSE}, {0, 0}, {"", ""}},
    {"ts", DBTYPE_DBTIMESTAMP, {0, 0}, {FALSE, FALSE}, {0, 0}, {"", ""}},
    {"data", DBTYPE_IUNKNOWN, {0, 0}, {FALSE, FALSE}, {0, 0}, {"abc", ""}},
};

}  // namespace

const CTemporaryFolder& TestFolder()
{
    static const CTemporaryFolder folder;
    return folder;
}

int CountRows(CSession& session, const char* table)
{
    CDynamicRecordSetOleDb rs;
    const std::string sql = std::string("SELECT COUNT(*) AS n FROM ") + table;
    const int count = rs.Open(session, sql.c_str()) && rs.MoveNext() ? rs.GetLong("n") : -1;
    rs.Close();
    return count;
}

std::vector<DBTYPE> ColumnTypes(const CDynamicRecordSetOleDb& rs)
{
    std::vector<DBTYPE> types(rs.GetColumnCount());
    for (size_t i = 0; i < types.size(); ++i)
        rs.GetColumnType(i + 1, &types[i]);
    return types;
}

std::string ProviderName(const testing::TestParamInfo<CTestDatabases*>& info)
{
    return info.param->Name();
}

void RecordSetCases::SetUp()
{
    // Number text must not follow the process locale: run every case under a decimal comma.
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 missing";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    CLogManager* log = CLogManager::GetInstance();
    if (!log->IsOpen()) {
        ASSERT_TRUE(log->Open(LogFileName().c_str(), LOGLEVEL_TRACE));
    }

    m_initString = GetParam()->CreateDatabase();
    ASSERT_EQ(m_source.OpenFromInitializationString(m_initString.c_str()), S_OK) << m_source.GetErrorText();
    ASSERT_EQ(m_session.Open(m_source), S_OK);
    for (const std::string& statement : GetParam()->KindsSchema())
        ASSERT_EQ(m_session.Execute(statement.c_str()), S_OK) << statement << ": " << m_session.GetErrorText();

    const CDbValues full = {1,
                            -12,
                            5000000000LL,
                            200,
                            2.5,
                            -7.75,
                            12.3456,
                            -123.45,
                            true,
                            "-17.9",
                            "3.5e2 Grüße",
                            CDateTime(2024, 2, 29, 0, 0, 0),
                            "13:45:30",
                            CDateTime(2024, 2, 29, 13, 45, 30),
                            Bytes("abc")};
    CDbValues empty(15);  // NULL but the key
    empty[0] = 2;
    const CDbValues zeros = {3,   0,     0LL, 0,  0.0,     0.0,    0.0, 0.0,
                             false, "0", "0",   CDateTime(1899, 12, 30, 0, 0, 0), "00:00:00",
                             CDateTime(1899, 12, 30, 0, 0, 0), Bytes("")};
    for (const CDbValues& row : {full, empty, zeros})
        ASSERT_EQ(m_session.Execute(kInsertKinds, row), S_OK) << m_session.GetErrorText();
}

void RecordSetCases::TearDown()
{
    m_session.Close();
    m_source.Close();
    std::setlocale(LC_ALL, "C");
}

TEST_P(RecordSetCases, ColumnsAreNumberedFromOneWithNamesAndDeclaredTypes)
{
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT * FROM kinds"));
    ASSERT_EQ(rs.GetColumnCount(), std::size(kRowOne));
    for (size_t i = 0; i < std::size(kRowOne); ++i) {
        SCOPED_TRACE(kRowOne[i].column);
        EXPECT_STREQ(rs.GetColumnName(i + 1), kRowOne[i].column);
        DBTYPE type = 0;
        EXPECT_TRUE(rs.GetColumnType(i + 1, &type));
        EXPECT_EQ(type, kRowOne[i].type);
        DBORDINAL ordinal = 0;
        EXPECT_TRUE(rs.GetOrdinal(kRowOne[i].column, &ordinal));
        EXPECT_EQ(ordinal, i + 1);
    }
    DBTYPE type = 0;
    EXPECT_EQ(rs.GetColumnName(0), nullptr);
    EXPECT_EQ(rs.GetColumnName(rs.GetColumnCount() + 1), nullptr);
    EXPECT_FALSE(rs.GetColumnType(rs.GetColumnCount() + 1, &type));
    DBORDINAL ordinal = 0;
    EXPECT_FALSE(rs.GetOrdinal("ID", &ordinal)) << "names match case-sensitively";
    rs.Close();
    EXPECT_EQ(rs.GetColumnCount(), 0u);
}

TEST_P(RecordSetCases, EveryGetterByNumberAndByNameWithAndWithoutConversion)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    for (size_t i = 0; i < std::size(kRowOne); ++i) {
        const Expected& e = kRowOne[i];
        const DBORDINAL number = i + 1;
        for (int k = 0; k < 2; ++k) {
            const BOOL convert = k == 0 ? TRUE : FALSE;
            SCOPED_TRACE(std::string(e.column) + (convert ? " with conversion" : " without conversion"));
            EXPECT_EQ(rs.GetLongAt(number, convert), e.longValue[k]);
            EXPECT_EQ(rs.GetLong(e.column, convert), e.longValue[k]);
            EXPECT_EQ(rs.GetBoolAt(number, convert), e.boolValue[k]);
            EXPECT_EQ(rs.GetBool(e.column, convert), e.boolValue[k]);
            EXPECT_DOUBLE_EQ(rs.GetDoubleAt(number, convert), e.doubleValue[k]);
            EXPECT_DOUBLE_EQ(rs.GetDouble(e.column, convert), e.doubleValue[k]);
            std::string text = "stale";
            rs.GetStringAt(text, number, convert);
            EXPECT_EQ(text, e.text[k]);
            text = "stale";
            rs.GetString(text, e.column, convert);
            EXPECT_EQ(text, e.text[k]);
        }
    }
    rs.Close();
}

TEST_P(RecordSetCases, ConvertFlagDefaultsToTrue)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    EXPECT_EQ(rs.GetLong("txt"), -17);
    EXPECT_DOUBLE_EQ(rs.GetDouble("i2"), -12.0);
    EXPECT_EQ(rs.GetBool("i2"), TRUE);
    std::string text;
    rs.GetString(text, "r8");
    EXPECT_EQ(text, "-7.750000");
    rs.Close();
}

TEST_P(RecordSetCases, CurrencyReadsAsDoubleIntegerAndText)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    EXPECT_DOUBLE_EQ(rs.GetDouble("cy"), 12.3456);
    EXPECT_EQ(rs.GetLong("cy", TRUE), 12);
    std::string text;
    rs.GetString(text, "cy", TRUE);
    EXPECT_EQ(text, "12.345600");
    rs.Close();
}

TEST_P(RecordSetCases, NegativeNumericReadsTheSameEveryTime)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    EXPECT_DOUBLE_EQ(rs.GetDouble("num"), -123.45);
    EXPECT_DOUBLE_EQ(rs.GetDouble("num"), -123.45);
    EXPECT_EQ(rs.GetLong("num"), -123);
    EXPECT_DOUBLE_EQ(rs.GetDoubleAt(8), -123.45);
    rs.Close();
}

TEST_P(RecordSetCases, BooleanColumnIsTrueForAnyNonZeroValue)
{
    // Row 1 was written with true as the database stores it natively (1, not -1).
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT id, flag FROM kinds ORDER BY id"));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetBool("flag", FALSE), TRUE);
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetBool("flag"), FALSE) << "NULL";
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetBool("flag"), FALSE);
    EXPECT_FALSE(rs.MoveNext());
    rs.Close();
}

TEST_P(RecordSetCases, NamesAreFoundByTheirTextOnEveryCall)
{
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT id AS a, i2 AS a, i2, txt FROM kinds WHERE id = ?", {1}));
    ASSERT_TRUE(rs.MoveNext());
    DBORDINAL ordinal = 0;
    EXPECT_TRUE(rs.GetOrdinal("a", &ordinal));
    EXPECT_EQ(ordinal, 1u) << "the first column of a name wins";
    EXPECT_EQ(rs.GetLong("a"), 1);

    // One buffer holding another name on each call, as a caller's name variable does.
    char name[8];
    const std::pair<const char*, int> calls[] = {{"i2", -12}, {"a", 1}, {"txt", -17}, {"a", 1}, {"i2", -12}};
    for (const auto& call : calls) {
        std::strcpy(name, call.first);
        EXPECT_EQ(rs.GetLong(name), call.second) << call.first;
    }
    rs.Close();

    // The same name on a record set opened again with fewer columns.
    const char* const last = "txt";
    ASSERT_TRUE(rs.Open(m_session, "SELECT txt FROM kinds WHERE id = ?", {1}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong(last), -17);
    rs.Close();
    ASSERT_TRUE(rs.Open(m_session, "SELECT id, i2, txt FROM kinds WHERE id = ?", {1}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong(last), -17);
    rs.Close();
    ASSERT_TRUE(rs.Open(m_session, "SELECT id FROM kinds WHERE id = ?", {1}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong(last), 0) << "no such column now";
    rs.Close();
}

TEST_P(RecordSetCases, DatesAndTimes)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    CDateTime date;
    rs.GetDate(date, "d");
    EXPECT_EQ(date, CDateTime(2024, 2, 29, 0, 0, 0));
    rs.GetDate(date, "t", FALSE);
    EXPECT_EQ(date, CDateTime(1900, 1, 1, 13, 45, 30));
    rs.GetDateAt(date, 14);
    EXPECT_EQ(date, CDateTime(2024, 2, 29, 13, 45, 30));
    EXPECT_EQ(date.GetStatus(), CDateTime::valid);

    // A missing column and a column of another type give a null date on 1900-01-01.
    for (const char* name : {"no such column", "txt"}) {
        SCOPED_TRACE(name);
        date = CDateTime(2000, 1, 1, 0, 0, 0);
        rs.GetDate(date, name);
        EXPECT_EQ(date.GetStatus(), CDateTime::null);
        EXPECT_DOUBLE_EQ(date.GetOleDate(), CDateTime(1900, 1, 1, 0, 0, 0).GetOleDate());
    }
    rs.Close();

    OpenRow(rs, m_session, 2);
    rs.GetDate(date, "ts");
    EXPECT_EQ(date.GetStatus(), CDateTime::null) << "a NULL value is no date";
    rs.Close();
}

TEST_P(RecordSetCases, LargeBlobIsReadInFull)
{
    std::vector<unsigned char> blob(70000);
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<unsigned char>(i * 7 + i / 256);
    ASSERT_EQ(m_session.Execute("UPDATE kinds SET data = ? WHERE id = ?", {blob, 1}), S_OK)
        << m_session.GetErrorText();

    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 1);
    std::vector<unsigned char> read = {1, 2, 3};
    EXPECT_EQ(rs.GetBlob(read, "data"), TRUE);
    EXPECT_EQ(read.size(), 70000u);
    EXPECT_EQ(read, blob);
    read = {1};
    EXPECT_EQ(rs.GetBlobAt(read, 15), TRUE);
    EXPECT_EQ(read, blob);

    // Only byte columns give bytes.
    EXPECT_EQ(rs.GetBlob(read, "txt"), FALSE);
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(rs.GetBlob(read, "missing"), FALSE);
    EXPECT_EQ(rs.GetBlobAt(read, 99), FALSE);
    rs.Close();

    OpenRow(rs, m_session, 2);
    read = {1};
    EXPECT_EQ(rs.GetBlob(read, "data"), TRUE) << "NULL is an empty stream";
    EXPECT_TRUE(read.empty());
    rs.Close();
}

TEST_P(RecordSetCases, ByteStreamReadsAsWideOrNarrowText)
{
    const std::string wide("a\0b\0c\0", 6);
    ASSERT_EQ(m_session.Execute("UPDATE kinds SET data = ? WHERE id = ?", {Bytes(wide), 1}), S_OK);
    ASSERT_EQ(m_session.Execute("UPDATE kinds SET data = ? WHERE id = ?", {Bytes("abc"), 3}), S_OK);
    // Wide text ends at its first zero unit; a trailing odd byte is dropped.
    ASSERT_EQ(m_session.Execute("UPDATE kinds SET data = ? WHERE id = ?",
                                {Bytes(std::string("x\0y\0\0\0z\0w", 9)), 2}),
              S_OK);

    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT data FROM kinds ORDER BY id"));
    const char* expected[] = {"abc", "xy", "abc"};
    for (const char* text : expected) {
        ASSERT_TRUE(rs.MoveNext());
        std::string read;
        rs.GetString(read, "data", TRUE);
        EXPECT_EQ(read, text);
        rs.GetString(read, "data", FALSE);
        EXPECT_EQ(read, "");
    }
    rs.Close();
}

TEST_P(RecordSetCases, NullValuesReadAsZeroAndEmpty)
{
    CDynamicRecordSetOleDb rs;
    OpenRow(rs, m_session, 2);
    for (size_t i = 1; i < std::size(kRowOne); ++i) {
        const Expected& e = kRowOne[i];
        SCOPED_TRACE(e.column);
        EXPECT_EQ(rs.GetLongAt(i + 1), 0);
        EXPECT_EQ(rs.GetBoolAt(i + 1), FALSE);
        EXPECT_EQ(rs.GetDoubleAt(i + 1), 0.0);
        // A number column prints its zero.
        const bool integer = e.type == DBTYPE_I2 || e.type == DBTYPE_I8 || e.type == DBTYPE_UI1;
        const bool real = e.type == DBTYPE_R4 || e.type == DBTYPE_R8 || e.type == DBTYPE_CY || e.type == DBTYPE_NUMERIC;
        std::string text = "stale";
        rs.GetStringAt(text, i + 1);
        EXPECT_EQ(text, integer ? "0" : real ? "0.000000" : "");
    }
    rs.Close();
}

TEST_P(RecordSetCases, EmptyResultAndReadingPastTheLastRow)
{
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT * FROM kinds WHERE id < ?", {0}));
    EXPECT_EQ(rs.GetColumnCount(), std::size(kRowOne)) << "columns are known without rows";
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_EQ(rs.GetLastResult(), DB_S_ENDOFROWSET);
    EXPECT_EQ(rs.GetLong("id"), 0);
    std::string text = "stale";
    rs.GetString(text, "txt");
    EXPECT_EQ(text, "");
    EXPECT_FALSE(rs.MoveNext());
    rs.Close();

    // After the last row the buffers are empty, and further moves do not start over.
    ASSERT_TRUE(rs.Open(m_session, "SELECT id, txt FROM kinds WHERE id = ?", {1}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("id"), 1);
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("id"), 0);
    rs.GetString(text, "txt");
    EXPECT_EQ(text, "");
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_FALSE(rs.MoveNext());
    rs.Close();
    EXPECT_EQ(rs.GetLastResult(), S_OK);
}

TEST_P(RecordSetCases, FailedOpenReturnsFalseAndLogsTheResult)
{
    CDynamicRecordSetOleDb rs;
    EXPECT_FALSE(rs.Open(m_session, "SELECT * FROM no_such_table"));
    EXPECT_EQ(rs.GetLastResult(), DB_E_NOTABLE);
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_EQ(rs.GetColumnCount(), 0u);
    const std::string log = LogText();
    EXPECT_NE(log.find("Executing SQL: SELECT * FROM no_such_table"), std::string::npos) << log;
    EXPECT_NE(log.find("Executing SQL result: 0x80040E37"), std::string::npos) << log;
    rs.Close();
    EXPECT_EQ(rs.GetLastResult(), S_OK);

    EXPECT_FALSE(rs.Open(m_session, "SELEKT 1"));
    EXPECT_EQ(rs.GetLastResult(), DB_E_ERRORSINCOMMAND);
    rs.Close();

    // The record set can be opened again after a failure.
    ASSERT_TRUE(rs.Open(m_session, "SELECT id FROM kinds WHERE id = ?", {3}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("id"), 3);
    rs.Close();
}

TEST_P(RecordSetCases, ValuesAreBoundNeverPasted)
{
    const std::string hostile = "O'Brien; DROP TABLE kinds; -- ? \"x\" $1 \\";
    ASSERT_EQ(m_session.Execute("UPDATE kinds SET txt = ? WHERE id = ?", {hostile, 1}), S_OK)
        << m_session.GetErrorText();

    CDynamicRecordSetOleDb rs;
    // A '?' inside a literal or a quoted name is no placeholder.
    ASSERT_TRUE(rs.Open(m_session, "SELECT id, '?' AS \"q?\" FROM kinds WHERE txt = ?", {hostile}))
        << m_session.GetErrorText();
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("id"), 1);
    std::string text;
    rs.GetString(text, "q?");
    EXPECT_EQ(text, "?");
    EXPECT_FALSE(rs.MoveNext());
    rs.Close();

    // The wrong count of values runs nothing.
    EXPECT_EQ(m_session.Execute("DELETE FROM kinds WHERE id = ? OR id = ?", {1}), DB_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(m_session.Execute("DELETE FROM kinds WHERE id = ?", {1, 2}), DB_E_PARAMNOTOPTIONAL);
    EXPECT_FALSE(rs.Open(m_session, "SELECT * FROM kinds WHERE id = ?"));
    EXPECT_EQ(rs.GetLastResult(), DB_E_PARAMNOTOPTIONAL);
    rs.Close();
    EXPECT_EQ(CountRows(m_session, "kinds"), 3);
}

// A number cut to 32 bits would be read as another one (4294967296 as 0, 8589934593 as 1): the
// 32-bit getter gives 0 and fails the step, so a caller that reads to the end refuses the rows.
TEST_P(RecordSetCases, WholeNumbersBeyond32BitsFailTheStepOnEveryProvider)
{
    ASSERT_EQ(m_session.Execute((std::string("CREATE TABLE big (id INTEGER, v ") + GetParam()->WholeNumberType() +
                                 ")").c_str()),
              S_OK);
    const struct {
        long long value;
        bool fits;
    } values[] = {{4294967296LL, false}, {8589934593LL, false}, {-8589934593LL, false}, {2147483648LL, false},
                  {-2147483649LL, false}, {2147483647LL, true},  {-2147483648LL, true},  {12, true}};
    for (const auto& v : values) {
        const std::string text = std::to_string(v.value);
        SCOPED_TRACE(text);
        ASSERT_EQ(m_session.Execute("DELETE FROM big"), S_OK);
        ASSERT_EQ(m_session.Execute("INSERT INTO big VALUES (1, ?), (2, 7)", {v.value}), S_OK)
            << m_session.GetErrorText();
        const size_t logStart = LogText().size();
        CDynamicRecordSetOleDb rs;
        ASSERT_TRUE(rs.Open(m_session, "SELECT v FROM big ORDER BY id"));
        ASSERT_TRUE(rs.MoveNext());
        EXPECT_EQ(rs.GetDouble("v"), static_cast<double>(v.value));
        EXPECT_EQ(rs.GetBool("v"), TRUE);
        std::string stored;
        rs.GetString(stored, "v");
        EXPECT_EQ(stored, text);
        EXPECT_EQ(rs.GetLong("v"), v.fits ? static_cast<int>(v.value) : 0);
        if (v.fits) {
            ASSERT_TRUE(rs.MoveNext());
            EXPECT_EQ(rs.GetLong("v"), 7);
            EXPECT_FALSE(rs.MoveNext());
            EXPECT_TRUE(rs.ReadAllRows());
        } else {
            EXPECT_EQ(rs.GetLastResult(), DB_E_DATAOVERFLOW);
            EXPECT_FALSE(rs.MoveNext()) << "the rows end at the failed step";
            EXPECT_FALSE(rs.ReadAllRows());
            EXPECT_EQ(rs.GetLastResult(), DB_E_DATAOVERFLOW);
            EXPECT_NE(LogText().find("Column v holds a value beyond the range of a 32-bit integer", logStart),
                      std::string::npos);
        }
        rs.Close();
        // Opened again, the record set reads as before.
        ASSERT_TRUE(rs.Open(m_session, "SELECT v FROM big WHERE id = 2"));
        ASSERT_TRUE(rs.MoveNext());
        EXPECT_EQ(rs.GetLong("v"), 7);
        rs.Close();
    }

    // Converted from a real or a text, a number beyond 32 bits is no more cut or saturated.
    const struct {
        const char* column;
        CDbValue value;
    } converted[] = {{"r8", 5e9}, {"r8", -3e10}, {"txt", "99999999999999999999"}, {"wtxt", "-4294967296"}};
    for (const auto& c : converted) {
        SCOPED_TRACE(c.column);
        ASSERT_EQ(m_session.Execute((std::string("UPDATE kinds SET ") + c.column + " = ? WHERE id = 3").c_str(),
                                    {c.value}),
                  S_OK)
            << m_session.GetErrorText();
        CDynamicRecordSetOleDb rs;
        OpenRow(rs, m_session, 3);
        EXPECT_EQ(rs.GetBool(c.column), TRUE);
        EXPECT_EQ(rs.GetLong(c.column), 0);
        EXPECT_EQ(rs.GetLastResult(), DB_E_DATAOVERFLOW);
        EXPECT_FALSE(rs.MoveNext());
        EXPECT_FALSE(rs.ReadAllRows());
        rs.Close();
    }
}

TEST_P(RecordSetCases, ExecuteReportsRowsAndFailures)
{
    long long rows = -1;
    EXPECT_EQ(m_session.Execute("UPDATE kinds SET i2 = ? WHERE id >= ?", {5, 2}, &rows), S_OK);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(m_session.Execute("DELETE FROM kinds WHERE id = ?", {99}, &rows), S_OK);
    EXPECT_EQ(rows, 0);

    EXPECT_EQ(m_session.Execute("INSERT INTO kinds (id) VALUES (?)", {1}), DB_E_INTEGRITYVIOLATION);
    EXPECT_FALSE(m_session.GetErrorText().empty());
    EXPECT_EQ(m_session.Execute("INSERT INTO nowhere (id) VALUES (1)"), DB_E_NOTABLE);
    // Two statements in one text run neither.
    EXPECT_EQ(m_session.Execute("DELETE FROM kinds WHERE id = 1; DELETE FROM kinds WHERE id = 2"),
              DB_E_ERRORSINCOMMAND);
    EXPECT_EQ(CountRows(m_session, "kinds"), 3);
}

TEST_P(RecordSetCases, ReadModeRefusesWrites)
{
    CDataSource reader;
    ASSERT_EQ(reader.OpenFromInitializationString((m_initString + ";Mode=Read").c_str()), S_OK)
        << reader.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(reader), S_OK);
    EXPECT_EQ(session.Execute("DELETE FROM kinds"), DB_SEC_E_PERMISSIONDENIED);
    EXPECT_EQ(CountRows(session, "kinds"), 3);
}

TEST_P(RecordSetCases, SessionOutlivesItsDataSource)
{
    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString(m_initString.c_str()), S_OK);
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    source.Close();
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(session, "SELECT id FROM kinds WHERE id = ?", {3}));
    session.Close();  // the open record set keeps reading
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLong("id"), 3);
    rs.Close();

    EXPECT_FALSE(rs.Open(session, "SELECT 1"));
    EXPECT_EQ(rs.GetLastResult(), E_UNEXPECTED);
    EXPECT_EQ(session.Execute("SELECT 1"), E_UNEXPECTED);
    CSession unopened;
    EXPECT_EQ(unopened.Open(source), E_UNEXPECTED);
}
