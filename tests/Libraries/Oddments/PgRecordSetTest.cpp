#include "support/EnvironmentScope.h"
#include "support/LocaleScope.h"
#include "support/PgCluster.h"
#include "support/StoppedProcesses.h"
#include "support/TemporaryFolder.h"
#include "support/WaitUntil.h"
#include "RecordSetCases.h"

#include "Oddments/DbFailureCause.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Oddments/PgConnection.h"
#include "Platform/UiTexts.h"
#include "Polyglotta/Translator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

int BackendPid(CSession& session)
{
    CDynamicRecordSetOleDb rs;
    return rs.Open(session, "SELECT pg_backend_pid()") && rs.MoveNext() ? rs.GetLongAt(1) : -1;
}

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

    // As libpq takes them: a URI, and a bare name of a database on the server the environment names.
    const std::string port = std::to_string(cluster.Port());
    EXPECT_EQ(source.OpenFromInitializationString(("Provider=PostgreSQL;postgresql://postgres@/postgres?host=" +
                                                   cluster.SocketFolder() + "&port=" + port)
                                                      .c_str()),
              S_OK)
        << source.GetErrorText();
    const CEnvironmentScope host("PGHOST", cluster.SocketFolder().c_str());
    const CEnvironmentScope serverPort("PGPORT", port.c_str());
    const CEnvironmentScope user("PGUSER", "postgres");
    EXPECT_EQ(source.OpenFromInitializationString("Provider=PostgreSQL;postgres"), S_OK) << source.GetErrorText();
}

namespace {

bool ReadExactly(int socket, char* buffer, size_t size)
{
    while (size > 0) {
        const ssize_t got = recv(socket, buffer, size, 0);
        if (got <= 0)
            return false;
        buffer += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

std::uint32_t FromBigEndian32(const char* bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

std::string BigEndian32(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// A message of the server's protocol: type, length, body.
std::string ServerMessage(char type, const std::string& body)
{
    return type + BigEndian32(static_cast<std::uint32_t>(body.size() + 4)) + body;
}

// Plays a server that asks for no password through the start of a session and its first query
// (the session setup), answering that with one command done.
bool AnswerSessionStart(int socket)
{
    // Lengths count themselves.
    const auto readBody = [socket](const char* length) {
        const std::uint32_t size = FromBigEndian32(length);
        std::string body(size > 4 && size < 10000 ? size - 4 : 0, '\0');
        return !body.empty() && ReadExactly(socket, body.data(), body.size());
    };
    char head[5];
    if (!ReadExactly(socket, head, 4) || !readBody(head))
        return false;
    const std::string started = ServerMessage('R', BigEndian32(0)) +
                                ServerMessage('K', BigEndian32(4242) + BigEndian32(1)) + ServerMessage('Z', "I");
    if (send(socket, started.data(), started.size(), 0) != static_cast<ssize_t>(started.size()) ||
        !ReadExactly(socket, head, 5) || head[0] != 'Q' || !readBody(head + 1))
        return false;
    const std::string done = ServerMessage('C', std::string("SET", 4)) + ServerMessage('Z', "I");
    return send(socket, done.data(), done.size(), 0) == static_cast<ssize_t>(done.size());
}

// Whatever asks for a connection here is taken in and never answered, as by a server machine
// that was paused. With sessionFirst the first connection is served as a session up to its
// setup before the server falls silent. After a time limit everything is closed, so that code
// waiting on it for ever fails its test instead of hanging it.
// It listens on a loopback address, on the port given or else one that is free.
class CSilentServer {
public:
    explicit CSilentServer(int limitSeconds, bool sessionFirst = false, const char* host = "127.0.0.1", int port = 0)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        socklen_t length = sizeof address;
        if (m_listener < 0 || inet_pton(AF_INET, host, &address.sin_addr) != 1 ||
            bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_listener, 16) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, limitSeconds, sessionFirst] {
            std::vector<int> taken;
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
            while (!m_stop && std::chrono::steady_clock::now() < end) {
                pollfd listener{m_listener, POLLIN, 0};
                if (poll(&listener, 1, 100) == 1) {
                    const int connection = accept(m_listener, nullptr, nullptr);
                    if (connection >= 0 && sessionFirst && taken.empty())
                        AnswerSessionStart(connection);
                    if (connection >= 0)
                        taken.push_back(connection);
                }
            }
            for (const int connection : taken)
                close(connection);
        });
    }
    ~CSilentServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            close(m_listener);
    }

    int Port() const { return m_port; }

private:
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A new connection to the cluster runs a statement.
void ExpectNewConnectionWorks()
{
    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString(InitString("postgres").c_str()), S_OK) << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    EXPECT_EQ(session.Execute("SELECT 1"), S_OK) << session.GetErrorText();
}

}  // namespace

// An open never waits longer than its connect timeout (5 s unless the data-link text or
// PGCONNECT_TIMEOUT sets one), nor longer than the statement deadline, even where the text asks
// libpq to wait for ever or a minute. It waits that long, with room above for a loaded machine.
TEST(PgDataSource, OpenOfAServerThatNeverAnswersEndsInTime)
{
    const CSilentServer server(30);
    ASSERT_NE(server.Port(), 0);
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    const std::string where = "Provider=PostgreSQL;host=127.0.0.1 port=" + std::to_string(server.Port()) +
                              " dbname=x user=x";
    const struct {
        std::string items;
        int boundSeconds;
    } cases[] = {
        {"", 5},
        {" connect_timeout=2", 2},
        {" connect_timeout=0;Command Timeout=2", 2},
        {" connect_timeout=60;Command Timeout=3", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items);
        CDataSource source;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(FAILED(source.OpenFromInitializationString((where + c.items).c_str())));
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(took, c.boundSeconds - 0.1);
        EXPECT_LT(took, c.boundSeconds + 15);
        EXPECT_FALSE(source.GetErrorText().empty());
    }
}

// A statement that passes its deadline returns soon after it whatever the server does. Here the
// server's main process is stopped with the statement's backend, as on a paused machine: the
// kernel still takes the cancel request into the listening socket's queue, and nobody answers
// it until the server goes on.
TEST(PgDataSource, DeadlineHoldsWhenTheWholeServerIsStopped)
{
    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString((InitString("postgres") + ";Command Timeout=2").c_str()), S_OK)
        << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    const pid_t backend = BackendPid(session);
    ASSERT_GT(backend, 0);
    {
        CStoppedProcesses stopped({cluster.ServerPid(), backend}, 30);
        ASSERT_TRUE(stopped.AllStopped());
        const auto start = std::chrono::steady_clock::now();
        const HRESULT result = session.Execute("SELECT 1");
        EXPECT_EQ(result, DB_E_CANCELED);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(took, 1.9);
        EXPECT_LT(took, 20);
        // A client cannot tell a silent server from a lock at its deadline: the connection is gone.
        EXPECT_EQ(CDbFailureCause::Of(result, session.IsLost()), CDbFailureCause::ConnectionLost);
    }
    // Once it goes on, the server takes connections as before.
    ExpectNewConnectionWorks();
}

// The same with a server on another machine that was paused after the session began: the
// kernel there takes the cancel request's connection, and nobody answers it.
TEST(PgDataSource, DeadlineHoldsWhenTheCancelIsNeverAnswered)
{
    const CSilentServer server(30, true);
    ASSERT_NE(server.Port(), 0);
    CDataSource source;
    ASSERT_EQ(source.OpenFromInitializationString(
                  ("Provider=PostgreSQL;host=127.0.0.1 port=" + std::to_string(server.Port()) +
                   " dbname=x user=x sslmode=disable gssencmode=disable;Command Timeout=2")
                      .c_str()),
              S_OK)
        << source.GetErrorText();
    CSession session;
    ASSERT_EQ(session.Open(source), S_OK);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Execute("SELECT 1"), DB_E_CANCELED);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(took, 1.9);
    EXPECT_LT(took, 20);
}

TEST(PgDataSource, CommandTimeoutBoundsEveryStatement)
{
    for (const char* bad : {"0", "-3", "1.5", "abc", "", "86401"}) {
        SCOPED_TRACE(bad);
        CDataSource source;
        EXPECT_EQ(source.OpenFromInitializationString(
                      (InitString("postgres") + ";Command Timeout=" + bad).c_str()),
                  std::string(bad).empty() ? S_OK : E_INVALIDARG);
        if (*bad != '\0') {
            EXPECT_NE(source.GetErrorText().find("Command Timeout"), std::string::npos) << source.GetErrorText();
        }
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
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_NE(session.GetErrorText().find("did not answer within 1 s"), std::string::npos) << session.GetErrorText();
    // The connection's next answer could belong to the cancelled statement: it is not used again.
    EXPECT_EQ(session.Execute("SELECT 1"), E_FAIL);
}

// However the server ends a connection, the statement that meets the end fails with the server's
// reason, the connection counts as lost, also when it ended while idle, and every later statement
// fails at once instead of finding libpq in the middle of the first one.
TEST(PgDataSource, ConnectionTheServerEndsIsLostWithItsReason)
{
    {
        CDataSource source;
        CSession session;
        ASSERT_EQ(source.OpenFromInitializationString(InitString("postgres").c_str()), S_OK);
        ASSERT_EQ(session.Open(source), S_OK);
        ASSERT_EQ(session.Execute("CREATE TABLE IF NOT EXISTS held (id integer)"), S_OK) << session.GetErrorText();
    }
    const char* const administrator = "terminating connection due to administrator command";
    const struct {
        const char* name;
        std::string items;
        bool idle;  // ended while no statement runs
        std::function<bool(pid_t)> end;
        const char* reason;
    } cases[] = {
        {"terminated while idle", "", true, [](pid_t backend) { return cluster.TerminateBackend(backend); },
         administrator},
        {"terminated while waiting for a lock", "", false,
         [](pid_t backend) { return cluster.TerminateBackend(backend, "wait_event_type = 'Lock'"); }, administrator},
        {"fast restart", "", true, [](pid_t) { return cluster.Restart(); }, administrator},
        {"idle session timeout", " options='-c idle_session_timeout=1500'", true, [](pid_t) { return true; },
         "terminating connection due to idle-session timeout"},
    };
    // Over TCP the server's end comes as a reset once a statement is sent, with its reason still
    // to be read.
    for (const auto& c : cases) for (const bool tcp : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + (tcp ? " over TCP" : " over the socket"));
        const std::string where =
            tcp ? "Provider=PostgreSQL;" + cluster.TcpConnectionInfo("postgres") : InitString("postgres");
        CDataSource source;
        ASSERT_EQ(source.OpenFromInitializationString((where + c.items).c_str()), S_OK)
            << source.GetErrorText();
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        const pid_t backend = BackendPid(session);
        ASSERT_GT(backend, 0);
        EXPECT_FALSE(session.IsLost());
        HRESULT result = S_OK;
        if (c.idle) {
            ASSERT_TRUE(c.end(backend));
            EXPECT_TRUE(WaitUntil(std::chrono::seconds(30), [&session] { return session.IsLost(); }))
                << "noticed before a statement is sent";
            result = session.Execute("SELECT 1");
        } else {
            // Another session holds the table while the backend is ended waiting for it.
            CDataSource holderSource;
            CSession holder;
            ASSERT_EQ(holderSource.OpenFromInitializationString(InitString("postgres").c_str()), S_OK);
            ASSERT_EQ(holder.Open(holderSource), S_OK);
            ASSERT_EQ(holder.Execute("BEGIN"), S_OK);
            ASSERT_EQ(holder.Execute("LOCK TABLE held"), S_OK);
            auto ended = std::async(std::launch::async, c.end, backend);
            result = session.Execute("SELECT * FROM held");
            EXPECT_TRUE(ended.get());
            EXPECT_EQ(holder.Execute("ROLLBACK"), S_OK);
        }
        EXPECT_EQ(result, E_FAIL);
        EXPECT_NE(session.GetErrorText().find(c.reason), std::string::npos) << session.GetErrorText();
        EXPECT_TRUE(session.IsLost());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(session.Execute("SELECT 1"), E_FAIL);
        // Far below the 30 s a statement on a connection gets, with room for a loaded machine.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(session.GetErrorText().find("already in progress"), std::string::npos) << session.GetErrorText();
        ExpectNewConnectionWorks();
    }
}

// Of several hosts each gets its own connect timeout, the open as a whole the Command Timeout:
// a first host that takes the connection and never answers, or refuses it, does not keep the
// second from being used, as libpq's blocking connect would do it.
TEST(PgDataSource, OpenFailsOverToTheNextHost)
{
    const CSilentServer silent(30);
    ASSERT_NE(silent.Port(), 0);
    const CSilentServer secondSilent(30);
    // A port nobody listens on: a listener closed again.
    int refusingPort = 0;
    {
        const CSilentServer closed(1);
        refusingPort = closed.Port();
    }
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    const std::string cluster1 = cluster.SocketFolder();
    const std::string clusterPort = std::to_string(cluster.Port());
    const std::string silentPort = std::to_string(silent.Port());
    const struct {
        const char* name;
        std::string items;
        bool opens;
        double leastSeconds;  // the timeouts the open must wait out
    } cases[] = {
        {"silent first host", "host=127.0.0.1," + cluster1 + " port=" + silentPort + "," + clusterPort +
                                  " connect_timeout=2;Command Timeout=30",
         true, 2},
        {"silent first address", "host=localhost," + cluster1 + " hostaddr=127.0.0.1, port=" + silentPort + "," +
                                     clusterPort + " connect_timeout=2;Command Timeout=30",
         true, 2},
        {"refusing first host", "host=127.0.0.1," + cluster1 + " port=" + std::to_string(refusingPort) + "," +
                                    clusterPort + " connect_timeout=2",
         true, 0},
        // The whole open ends at the Command Timeout, before the second host's connect timeout.
        {"all silent", "host=127.0.0.1,127.0.0.1 port=" + silentPort + "," + std::to_string(secondSilent.Port()) +
                           " connect_timeout=2;Command Timeout=3",
         false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDataSource source;
        const auto start = std::chrono::steady_clock::now();
        const HRESULT opened = source.OpenFromInitializationString(
            ("Provider=PostgreSQL;dbname=postgres user=postgres " + c.items).c_str());
        // Room above for a loaded machine, far below the 30 s a host that kept the open would take.
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(took, c.leastSeconds - 0.1);
        EXPECT_LT(took, c.leastSeconds + 10);
        if (!c.opens) {
            EXPECT_TRUE(FAILED(opened));
            EXPECT_NE(source.GetErrorText().find("did not answer; waited 2 s (host \"127.0.0.1\" port " +
                                                 silentPort + ")"),
                      std::string::npos)
                << source.GetErrorText();
            continue;
        }
        ASSERT_EQ(opened, S_OK) << source.GetErrorText();
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        CDynamicRecordSetOleDb rs;
        ASSERT_TRUE(rs.Open(session, "SELECT current_setting('unix_socket_directories')"));
        ASSERT_TRUE(rs.MoveNext());
        std::string folder;
        rs.GetStringAt(folder, 1);
        EXPECT_EQ(folder, cluster1);
    }
}

namespace {

// The one value a query gives, as text; empty when it gives none.
std::string ValueOf(CSession& session, const std::string& sql)
{
    CDynamicRecordSetOleDb rs;
    std::string value;
    if (rs.Open(session, sql.c_str()) && rs.MoveNext())
        rs.GetStringAt(value, 1);
    return value;
}

// Host names resolved by the test instead of getaddrinfo, for as long as the object lives; the
// names asked for are kept.
class CResolverScope {
public:
    explicit CResolverScope(std::map<std::string, std::vector<std::string>> names) : m_names(std::move(names))
    {
        CPgConnection::SetResolver([this](const std::string& name) {
            m_asked.push_back(name);
            const auto found = m_names.find(name);
            return found == m_names.end() ? std::vector<std::string>() : found->second;
        });
    }
    ~CResolverScope() { CPgConnection::SetResolver(nullptr); }
    CResolverScope(const CResolverScope&) = delete;
    CResolverScope& operator=(const CResolverScope&) = delete;

    const std::vector<std::string>& Asked() const { return m_asked; }

private:
    std::map<std::string, std::vector<std::string>> m_names;
    std::vector<std::string> m_asked;
};

}  // namespace

// A host name with several addresses, the first of them silent (a dual-stack name whose IPv6
// packets are dropped, a machine that is gone): each address gets its own connect timeout, as
// libpq's blocking connect gives it. 127.0.0.2 and 127.0.0.3 are loopback addresses where the
// server does not listen; silent listeners take its port there.
TEST(PgDataSource, OpenTriesEveryAddressOfAHostName)
{
    const CSilentServer silent(30, false, "127.0.0.2", cluster.Port());
    ASSERT_NE(silent.Port(), 0);
    const CSilentServer secondSilent(30, false, "127.0.0.3", cluster.Port());
    ASSERT_NE(secondSilent.Port(), 0);
    const CResolverScope resolver(
        {{"db.invalid", {"127.0.0.2", "127.0.0.1"}}, {"gone.invalid", {"127.0.0.2", "127.0.0.3"}}});
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    const std::string port = std::to_string(cluster.Port());
    const std::string common = "Provider=PostgreSQL;dbname=postgres user=postgres sslmode=disable gssencmode=disable "
                               "connect_timeout=2 port=" + port;
    {
        CDataSource source;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(source.OpenFromInitializationString((common + " host=db.invalid;Command Timeout=30").c_str()), S_OK)
            << source.GetErrorText();
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2 + 1);
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(ValueOf(session, "SELECT host(inet_server_addr())"), "127.0.0.1");
    }
    {
        // The error names each address with the name it belongs to.
        CDataSource source;
        EXPECT_TRUE(
            FAILED(source.OpenFromInitializationString((common + " host=gone.invalid;Command Timeout=4").c_str())));
        for (const std::string address : {"127.0.0.2", "127.0.0.3"}) {
            EXPECT_NE(source.GetErrorText().find("waited 2 s (host \"gone.invalid\" (" + address + ") port " + port + ")"),
                      std::string::npos)
                << source.GetErrorText();
        }
    }
    // Socket folders, addresses and hosts whose address is given are no names to resolve.
    ASSERT_EQ(resolver.Asked(), std::vector<std::string>({"db.invalid", "gone.invalid"}));
    for (const std::string& host : {std::string("host=127.0.0.1"), "host=" + cluster.SocketFolder(),
                                    std::string("host=db.invalid hostaddr=127.0.0.1"),
                                    "host=@abstract.invalid," + cluster.SocketFolder()}) {
        SCOPED_TRACE(host);
        CDataSource source;
        EXPECT_EQ(source.OpenFromInitializationString((common + " " + host).c_str()), S_OK) << source.GetErrorText();
    }
    EXPECT_EQ(resolver.Asked().size(), 2u);
}

namespace {

// Sets server settings (ALTER SYSTEM) and lines put before the others of pg_hba.conf, until the
// object goes; returns once new connections get them.
class CServerSettingsScope {
public:
    CServerSettingsScope(const std::vector<std::string>& settings, const std::string& hbaLines,
                         const std::string& appliedCheck)
        : m_hbaFile(cluster.SocketFolder() + "/data/pg_hba.conf")
    {
        std::ifstream in(m_hbaFile);
        std::stringstream text;
        text << in.rdbuf();
        m_hba = text.str();
        std::ofstream(m_hbaFile) << hbaLines << m_hba;
        for (const std::string& setting : settings) {
            m_reset.push_back("ALTER SYSTEM RESET " + setting.substr(0, setting.find(' ')));
            Apply({"ALTER SYSTEM SET " + setting});
        }
        Reload(appliedCheck);
    }
    ~CServerSettingsScope()
    {
        std::ofstream(m_hbaFile) << m_hba;
        Apply(m_reset);
        Reload("current_setting('lc_messages') = 'C'");
    }
    CServerSettingsScope(const CServerSettingsScope&) = delete;
    CServerSettingsScope& operator=(const CServerSettingsScope&) = delete;

private:
    static void Apply(const std::vector<std::string>& statements)
    {
        CDataSource source;
        CSession session;
        ASSERT_EQ(source.OpenFromInitializationString(InitString("postgres").c_str()), S_OK) << source.GetErrorText();
        ASSERT_EQ(session.Open(source), S_OK);
        for (const std::string& sql : statements)
            EXPECT_EQ(session.Execute(sql.c_str()), S_OK) << sql << ": " << session.GetErrorText();
    }
    // The server reads its files again on a signal, at its own pace.
    static void Reload(const std::string& appliedCheck)
    {
        Apply({"SELECT pg_reload_conf()"});
        EXPECT_TRUE(WaitUntil(std::chrono::seconds(10), [&appliedCheck] {
            CDataSource source;
            CSession session;
            return source.OpenFromInitializationString(InitString("postgres").c_str()) == S_OK &&
                   session.Open(source) == S_OK &&
                   ValueOf(session, "SELECT CASE WHEN " + appliedCheck + " THEN 1 ELSE 0 END") == "1";
        }));
    }

    std::string m_hbaFile;
    std::string m_hba;
    std::vector<std::string> m_reset;
};

}  // namespace

// A server that refuses the user is the answer, as with libpq: the next hosts are not asked, in
// whatever language the server speaks. What the server said is judged by its SQLSTATE, which is
// then taken out of the text with the place in the server's source. Every case has a second
// host (the socket, where every user is trusted) that would let the open succeed.
TEST(PgDataSource, OpenStopsAtAServerThatRefusesTheUser)
{
    {
        CDataSource source;
        CSession session;
        ASSERT_EQ(source.OpenFromInitializationString(InitString("postgres").c_str()), S_OK) << source.GetErrorText();
        ASSERT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(session.Execute("CREATE ROLE keyholder LOGIN PASSWORD 'right'"), S_OK) << session.GetErrorText();
        EXPECT_EQ(session.Execute("CREATE ROLE turnedaway LOGIN"), S_OK) << session.GetErrorText();
    }
    const CServerSettingsScope german({"lc_messages = 'de_DE.UTF-8'"},
                                      "host all keyholder 127.0.0.1/32 scram-sha-256\n"
                                      "host all turnedaway 127.0.0.1/32 reject\n",
                                      "current_setting('lc_messages') = 'de_DE.UTF-8'");
    const CTemporaryFolder folder;
    const CEnvironmentScope noPassword("PGPASSWORD", nullptr);
    const CEnvironmentScope noPasswordFile("PGPASSFILE", folder.Path("no-such-file").c_str());
    const std::string hosts = "host=127.0.0.1," + cluster.SocketFolder() + " port=" + std::to_string(cluster.Port()) +
                              " dbname=postgres sslmode=disable gssencmode=disable ";
    const struct {
        const char* name;
        std::string items;
        HRESULT result;
        const char* said;  // in the server's words
    } cases[] = {
        {"wrong password", hosts + "user=keyholder password=wrong", DB_SEC_E_AUTH_FAILED, "Passwort"},
        {"no password at hand", hosts + "user=keyholder", DB_SEC_E_AUTH_FAILED, "no password supplied"},
        {"refused by pg_hba.conf", hosts + "user=turnedaway", DB_SEC_E_AUTH_FAILED, "pg_hba.conf"},
        // The socket folder's name says nothing about the server's answer.
        {"socket folder named password-store",
         "host=" + folder.Path("password-store") + "," + cluster.SocketFolder() + " port=" +
             std::to_string(cluster.Port()) + " dbname=postgres user=postgres",
         S_OK, ""},
    };
    // libpq's own words, the label of the location line among them, follow the program's locale.
    for (const char* clientLocale : {"", "de_DE.UTF-8"}) for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + clientLocale);
        std::unique_ptr<CLocaleScope> locale;
        if (*clientLocale != '\0') {
            locale = std::make_unique<CLocaleScope>(clientLocale);
            ASSERT_TRUE(locale->IsSet());
        }
        CDataSource source;
        EXPECT_EQ(source.OpenFromInitializationString(("Provider=PostgreSQL;" + c.items).c_str()), c.result)
            << source.GetErrorText();
        if (c.result == S_OK)
            continue;
        const std::string text = source.GetErrorText();
        if (!locale) {
            EXPECT_NE(text.find(c.said), std::string::npos) << text;
        }
        EXPECT_EQ(text.find("28P01"), std::string::npos) << text;
        EXPECT_EQ(text.find("28000"), std::string::npos) << text;
        EXPECT_EQ(text.find(".c:"), std::string::npos) << text;
    }
}

// A wait for another session's lock ends on the server a second before the Command Timeout, as
// a busy database, and the connection goes on; so does a server's statement_timeout. A lower
// lock_timeout of the role or the server stays.
TEST(PgDataSource, ServerEndsLockWaitsBeforeTheCommandTimeout)
{
    const std::string where = InitString("postgres");
    {
        CDataSource source;
        CSession session;
        ASSERT_EQ(source.OpenFromInitializationString(where.c_str()), S_OK);
        ASSERT_EQ(session.Open(source), S_OK);
        ASSERT_EQ(session.Execute("CREATE TABLE IF NOT EXISTS locked (id integer)"), S_OK) << session.GetErrorText();
    }
    const struct {
        std::string items;
        const char* lockTimeout;
    } settings[] = {
        {";Command Timeout=3", "2s"},
        {";Command Timeout=1", "1s"},
        {"", "29s"},
        {" options='-c lock_timeout=500';Command Timeout=3", "500ms"},
        {" options='-c lock_timeout=10s';Command Timeout=3", "2s"},
        {" options='-c lock_timeout=0';Command Timeout=3", "2s"},
    };
    for (const auto& c : settings) {
        SCOPED_TRACE(c.items);
        CDataSource source;
        ASSERT_EQ(source.OpenFromInitializationString((where + c.items).c_str()), S_OK) << source.GetErrorText();
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        EXPECT_EQ(ValueOf(session, "SHOW lock_timeout"), c.lockTimeout);
    }

    CDataSource holderSource;
    CSession holder;
    ASSERT_EQ(holderSource.OpenFromInitializationString(where.c_str()), S_OK);
    ASSERT_EQ(holder.Open(holderSource), S_OK);
    ASSERT_EQ(holder.Execute("BEGIN"), S_OK);
    ASSERT_EQ(holder.Execute("LOCK TABLE locked"), S_OK);
    const struct {
        const char* name;
        std::string items;
        const char* sql;
    } waits[] = {
        {"lock held past the Command Timeout", ";Command Timeout=3", "SELECT * FROM locked"},
        {"statement_timeout", " options='-c statement_timeout=300';Command Timeout=3", "SELECT pg_sleep(5)"},
    };
    for (const auto& c : waits) {
        SCOPED_TRACE(c.name);
        CDataSource source;
        ASSERT_EQ(source.OpenFromInitializationString((where + c.items).c_str()), S_OK) << source.GetErrorText();
        CSession session;
        ASSERT_EQ(session.Open(source), S_OK);
        const HRESULT result = session.Execute(c.sql);
        EXPECT_EQ(result, DB_E_TABLEINUSE) << session.GetErrorText();
        EXPECT_FALSE(session.IsLost());
        EXPECT_EQ(CDbFailureCause::Of(result, session.IsLost()), CDbFailureCause::Busy);
        EXPECT_EQ(session.Execute("SELECT 1"), S_OK) << session.GetErrorText();
    }
    EXPECT_EQ(holder.Execute("ROLLBACK"), S_OK);
}

// An open that ends at the Command Timeout names the host it waited for with its wait rounded up,
// and each host it did not try for want of time, in the user's language.
TEST(PgDataSource, OpenTimeoutNamesEachHostAndItsWait)
{
    const CSilentServer silent(30);
    ASSERT_NE(silent.Port(), 0);
    const CSilentServer secondSilent(30);
    ASSERT_NE(secondSilent.Port(), 0);
    const CEnvironmentScope noTimeout("PGCONNECT_TIMEOUT", nullptr);
    const std::string silentPort = std::to_string(silent.Port());
    const std::string secondPort = std::to_string(secondSilent.Port());
    const std::string clusterPort = std::to_string(cluster.Port());
    const std::string first = " (host \"127.0.0.1\" port " + silentPort + ")";
    const std::string second = " (host \"127.0.0.1\" port " + secondPort + ")";
    const std::string third = " (host \"" + cluster.SocketFolder() + "\" port " + clusterPort + ")";
    CTranslator translator;
    ASSERT_TRUE(translator.LoadFromFile(ZEPHRIN_TRANSLATIONS_DIR "/Zephrin.de.xml", false));
    const struct {
        const char* name;
        std::string items;
        const char* language;
        std::vector<std::string> lines;
    } cases[] = {
        {"Command Timeout shorter than the connect timeout",
         "host=127.0.0.1," + cluster.SocketFolder() + " port=" + silentPort + "," + clusterPort + " connect_timeout=5",
         "", {"The server did not answer; waited 3 s" + first,
              "Not tried: the Command Timeout of 3 s was used up" + third}},
        {"second host left less than a second",
         "host=127.0.0.1,127.0.0.1," + cluster.SocketFolder() + " port=" + silentPort + "," + secondPort + "," +
             clusterPort + " connect_timeout=2",
         "", {"The server did not answer; waited 2 s" + first,
              "The server did not answer; waited less than 1 s" + second,
              "Not tried: the Command Timeout of 3 s was used up" + third}},
        {"in German",
         "host=127.0.0.1,127.0.0.1," + cluster.SocketFolder() + " port=" + silentPort + "," + secondPort + "," +
             clusterPort + " connect_timeout=2",
         "de", {"Der Server hat nicht geantwortet; gewartet: 2 s" + first,
                "Der Server hat nicht geantwortet; gewartet: weniger als 1 s" + second,
                "Nicht versucht: Die Zeit des Command Timeout (3 s) war aufgebraucht" + third}},
    };
    // Gone again however the test ends: the source refers to the translator of this scope.
    struct SourceReset {
        ~SourceReset() { CUiTexts::SetSource(nullptr); }
    } sourceReset;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Without the application's translator: English.
        CUiTexts::SetSource(nullptr);
        if (*c.language != '\0') {
            translator.SetLanguage(c.language);
            CUiTexts::SetSource([&translator](const std::string& english, const std::string& language) {
                return translator.Translate(english, language);
            });
        }
        CDataSource source;
        EXPECT_TRUE(FAILED(source.OpenFromInitializationString(
            ("Provider=PostgreSQL;dbname=postgres user=postgres " + c.items + ";Command Timeout=3").c_str())));
        std::string expected;
        for (const std::string& line : c.lines)
            expected += (expected.empty() ? "" : "\n") + line;
        EXPECT_EQ(source.GetErrorText(), expected);
    }
}
