#include "support/EnvironmentScope.h"
#include "support/PgCluster.h"
#include "support/StoppedProcesses.h"
#include "support/WaitUntil.h"
#include "RecordSetCases.h"

#include "Oddments/DynamicRecordSetOleDb.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
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
class CSilentServer {
public:
    explicit CSilentServer(int limitSeconds, bool sessionFirst = false)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
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
        EXPECT_EQ(session.Execute("SELECT 1"), DB_E_CANCELED);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_GE(took, 1.9);
        EXPECT_LT(took, 20);
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
            EXPECT_NE(source.GetErrorText().find("did not answer within 2 s of connecting (host \"127.0.0.1\" port " +
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
