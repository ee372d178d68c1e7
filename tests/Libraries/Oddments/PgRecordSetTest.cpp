#include "support/PgCluster.h"
#include "RecordSetCases.h"

#include "Oddments/DynamicRecordSetOleDb.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

CPgCluster& cluster = TestProgramPgCluster();

std::string InitString(const std::string& database)
{
    return "Provider=PostgreSQL;" + cluster.ConnectionInfo(database);
}

// A new database of the cluster, created through our own layer.
std::string NewDatabase()
{
    static int count = 0;
    const std::string name = "case" + std::to_string(++count);
    CDataSource source;
    CSession session;
    if (source.OpenFromInitializationString(InitString("postgres").c_str()) != S_OK ||
        session.Open(source) != S_OK || session.Execute(("CREATE DATABASE " + name).c_str()) != S_OK) {
        ADD_FAILURE() << "cannot create database " << name << ": " << source.GetErrorText() << session.GetErrorText();
    }
    return InitString(name);
}

class CPgDatabases : public CTestDatabases {
public:
    const char* Name() const override { return "PostgreSQL"; }

    std::string CreateDatabase() override { return NewDatabase(); }

    std::vector<std::string> KindsSchema() const override
    {
        // The database's own types where it has them, domains named after ours where not.
        return {"CREATE DOMAIN currency AS numeric(19,4)",
                "CREATE DOMAIN tinyint AS smallint CHECK (VALUE BETWEEN 0 AND 255)",
                "CREATE DOMAIN nvarchar AS text",
                "CREATE TABLE kinds (id integer PRIMARY KEY, i2 smallint, i8 bigint, ui1 tinyint, r4 real, "
                "r8 double precision, cy currency, num numeric(10,2), flag boolean, txt varchar(40), "
                "wtxt nvarchar, d date, t time, ts timestamp, data bytea)"};
    }

    const char* WholeNumberType() const override { return "bigint"; }
};

CPgDatabases pgDatabases;

class PgRecordSet : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_source.OpenFromInitializationString(NewDatabase().c_str()), S_OK) << m_source.GetErrorText();
        ASSERT_EQ(m_session.Open(m_source), S_OK);
    }

    CDataSource m_source;
    CSession m_session;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Pg, RecordSetCases, testing::Values(&pgDatabases), ProviderName);

TEST_F(PgRecordSet, ServerTypesWithoutDomains)
{
    ASSERT_EQ(m_session.Execute("CREATE TABLE p (m money, n numeric, z timestamptz, o oid, j json, c char(4))"), S_OK);
    ASSERT_EQ(m_session.Execute("INSERT INTO p VALUES (?, ?, ?, ?, ?, ?)",
                                {"-1234.56", "-0.000125", "2024-05-17 13:45:00+02", 7, "{\"a\": 1}", "ab"}),
              S_OK)
        << m_session.GetErrorText();
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT * FROM p"));
    EXPECT_EQ(ColumnTypes(rs), (std::vector<DBTYPE>{DBTYPE_CY, DBTYPE_NUMERIC, DBTYPE_DBTIMESTAMP, DBTYPE_UI4,
                                                    DBTYPE_STR, DBTYPE_STR}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_DOUBLE_EQ(rs.GetDouble("m"), -1234.56) << "money with its grouping and currency sign";
    EXPECT_DOUBLE_EQ(rs.GetDouble("n"), -0.000125) << "numeric keeps the scale of its value";
    CDateTime date;
    rs.GetDate(date, "z");
    EXPECT_EQ(date.GetStatus(), CDateTime::valid);
    EXPECT_EQ(rs.GetLong("o"), 7);
    std::string text;
    rs.GetString(text, "j");
    EXPECT_EQ(text, "{\"a\": 1}");
    rs.GetString(text, "c");
    EXPECT_EQ(text, "ab  ") << "char(n) pads";
    rs.Close();
}

TEST_F(PgRecordSet, QuestionMarksInQuotesAndCommentsAreNoPlaceholders)
{
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session,
                        "SELECT $$a?b$$ AS d, $tag$?$tag$ AS t, E'\\'?' AS e, 'it''s?' AS s, \"?\".x AS q, "
                        "? AS p /* ? /* nested ? */ ? */ -- ?\n"
                        "FROM (SELECT 1 AS x) AS \"?\"",
                        {"value"}))
        << m_session.GetErrorText();
    ASSERT_TRUE(rs.MoveNext());
    std::string text;
    const std::pair<const char*, const char*> expected[] = {
        {"d", "a?b"}, {"t", "?"}, {"e", "'?"}, {"s", "it's?"}, {"q", "1"}, {"p", "value"}};
    for (const auto& e : expected) {
        rs.GetString(text, e.first);
        EXPECT_EQ(text, e.second) << e.first;
    }
    rs.Close();
}

TEST_F(PgRecordSet, ValuesKeepTheirTypes)
{
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(m_session, "SELECT ? AS i, ? AS r, ? AS b, ? AS s, ? AS n",
                        {5000000000LL, 0.1, true, "text", CDbValue()}));
    EXPECT_EQ(ColumnTypes(rs), (std::vector<DBTYPE>{DBTYPE_I8, DBTYPE_R8, DBTYPE_BOOL, DBTYPE_STR, DBTYPE_STR}));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_DOUBLE_EQ(rs.GetDouble("i"), 5e9);
    EXPECT_EQ(rs.GetDouble("r"), 0.1) << "every digit of a real survives";
    EXPECT_EQ(rs.GetBool("b", FALSE), TRUE);
    rs.Close();

    // Text cannot carry a zero byte to the server; refused rather than cut short.
    EXPECT_EQ(m_session.Execute("SELECT ?", {std::string("a\0b", 3)}), DB_E_CANTCONVERTVALUE);
}

TEST(PgDataSource, ConnectionFailuresAndInitStringForms)
{
    CDataSource source;
    EXPECT_TRUE(FAILED(source.OpenFromInitializationString("Provider=PostgreSQL;host=/nonexistent dbname=x")));
    EXPECT_FALSE(source.IsOpen());
    EXPECT_FALSE(source.GetErrorText().empty());

    // libpq settings may also be separated like the other items.
    std::string init = InitString("postgres");
    for (char& c : init) {
        if (c == ' ')
            c = ';';
    }
    ASSERT_EQ(source.OpenFromInitializationString(init.c_str()), S_OK) << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(session.Execute("SELECT 1"), S_OK);
}

TEST(PgDataSource, ServerThatNeverAnswersTimesOut)
{
    // The kernel accepts connections into the backlog of a socket that never calls accept.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string port = std::to_string(ntohs(address.sin_port));
    unsetenv("PGCONNECT_TIMEOUT");

    CDataSource source;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(FAILED(source.OpenFromInitializationString(
        ("Provider=PostgreSQL;host=127.0.0.1 port=" + port + " dbname=x user=x").c_str())));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(15));
    EXPECT_FALSE(source.GetErrorText().empty());

    // The data-link text's own timeout wins.
    const auto again = std::chrono::steady_clock::now();
    EXPECT_TRUE(FAILED(source.OpenFromInitializationString(
        ("Provider=PostgreSQL;host=127.0.0.1 port=" + port + " dbname=x user=x connect_timeout=2").c_str())));
    EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(4500));
    close(listener);
}

TEST(PgDataSource, CommandTimeoutBoundsEveryStatement)
{
    for (const char* bad : {"0", "-3", "1.5", "abc", "", "86401"}) {
        SCOPED_TRACE(bad);
        CDataSource source;
        EXPECT_EQ(source.OpenFromInitializationString(
                      (InitString("postgres") + ";Command Timeout=" + bad).c_str()),
                  std::string(bad).empty() ? S_OK : E_INVALIDARG);
        if (*bad != '\0')
            EXPECT_NE(source.GetErrorText().find("Command Timeout"), std::string::npos) << source.GetErrorText();
    }

    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString(("Provider=PostgreSQL;Command Timeout=1;" +
                                                   InitString("postgres").substr(std::strlen("Provider=PostgreSQL;")))
                                                      .c_str()),
              S_OK)
        << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(session.Execute("SELECT pg_sleep(0.1)"), S_OK) << session.GetErrorText();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Execute("SELECT pg_sleep(600)"), DB_E_CANCELED);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_NE(session.GetErrorText().find("did not answer within 1 s"), std::string::npos) << session.GetErrorText();
    // The connection's next answer could belong to the cancelled statement: it is not used again.
    EXPECT_EQ(session.Execute("SELECT 1"), E_FAIL);
}
