#include "Oddments/PgConnection.h"

#include "Platform/NumberText.h"
#include "Platform/SharedLibrary.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr char kPqLibrary[] = "libpq.so.5";

// The libpq functions we call, each held under its own name.
struct SLibpq {
    decltype(&::PQconnectStartParams) PQconnectStartParams = nullptr;
    decltype(&::PQconnectPoll) PQconnectPoll = nullptr;
    decltype(&::PQconninfo) PQconninfo = nullptr;
    decltype(&::PQconninfoFree) PQconninfoFree = nullptr;
    decltype(&::PQconninfoParse) PQconninfoParse = nullptr;
    decltype(&::PQfreemem) PQfreemem = nullptr;
    decltype(&::PQstatus) PQstatus = nullptr;
    decltype(&::PQerrorMessage) PQerrorMessage = nullptr;
    decltype(&::PQsetNoticeProcessor) PQsetNoticeProcessor = nullptr;
    decltype(&::PQfinish) PQfinish = nullptr;
    decltype(&::PQresultStatus) PQresultStatus = nullptr;
    decltype(&::PQresultErrorField) PQresultErrorField = nullptr;
    decltype(&::PQresultErrorMessage) PQresultErrorMessage = nullptr;
    decltype(&::PQcmdTuples) PQcmdTuples = nullptr;
    decltype(&::PQclear) PQclear = nullptr;
    decltype(&::PQnfields) PQnfields = nullptr;
    decltype(&::PQntuples) PQntuples = nullptr;
    decltype(&::PQfname) PQfname = nullptr;
    decltype(&::PQftype) PQftype = nullptr;
    decltype(&::PQfmod) PQfmod = nullptr;
    decltype(&::PQftable) PQftable = nullptr;
    decltype(&::PQftablecol) PQftablecol = nullptr;
    decltype(&::PQgetisnull) PQgetisnull = nullptr;
    decltype(&::PQgetvalue) PQgetvalue = nullptr;
    decltype(&::PQgetlength) PQgetlength = nullptr;
    decltype(&::PQsetnonblocking) PQsetnonblocking = nullptr;
    decltype(&::PQsendQuery) PQsendQuery = nullptr;
    decltype(&::PQsendQueryParams) PQsendQueryParams = nullptr;
    decltype(&::PQflush) PQflush = nullptr;
    decltype(&::PQsocket) PQsocket = nullptr;
    decltype(&::PQconsumeInput) PQconsumeInput = nullptr;
    decltype(&::PQisBusy) PQisBusy = nullptr;
    decltype(&::PQgetResult) PQgetResult = nullptr;
    decltype(&::PQgetCancel) PQgetCancel = nullptr;
    decltype(&::PQcancel) PQcancel = nullptr;
    decltype(&::PQfreeCancel) PQfreeCancel = nullptr;
    std::string error;  // why libpq cannot be used; empty when it can
};

// libpq and the libraries it needs (TLS, Kerberos, LDAP, ...) are loaded by the first connection
// to a server, not with the program, whose every start they would slow down.
const SLibpq& Libpq()
{
    static const SLibpq pq = [] {
        SLibpq table;
        CSharedLibrary library(kPqLibrary);
        const bool resolved = SHARED_LIBRARY_RESOLVE(library, table, PQconnectStartParams) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQconnectPoll) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQconninfo) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQconninfoFree) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQconninfoParse) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQfreemem) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQstatus) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQerrorMessage) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQsetNoticeProcessor) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQfinish) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQresultStatus) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQresultErrorField) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQresultErrorMessage) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQcmdTuples) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQclear) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQnfields) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQntuples) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQfname) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQftype) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQfmod) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQftable) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQftablecol) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQgetisnull) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQgetvalue) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQgetlength) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQsetnonblocking) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQsendQuery) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQsendQueryParams) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQflush) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQsocket) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQconsumeInput) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQisBusy) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQgetResult) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQgetCancel) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQcancel) &&
                              SHARED_LIBRARY_RESOLVE(library, table, PQfreeCancel);
        if (!resolved)
            table.error = std::string("cannot use ") + kPqLibrary + ": " + library.Error();
        return table;
    }();
    return pq;
}

// Server type numbers (pg_type.oid) of the built-in types we map.
enum : Oid {
    kOidBool = 16,
    kOidBytea = 17,
    kOidInt8 = 20,
    kOidInt2 = 21,
    kOidInt4 = 23,
    kOidOid = 26,
    kOidFloat4 = 700,
    kOidFloat8 = 701,
    kOidMoney = 790,
    kOidDate = 1082,
    kOidTime = 1083,
    kOidTimestamp = 1114,
    kOidTimestampTz = 1184,
    kOidTimeTz = 1266,
    kOidNumeric = 1700,
};

// Session settings our texts and value parsing rely on: UTF-8, ISO dates, money as
// "-$1,234.56", byte strings in hex, reals with every digit.
const char kSessionSetup[] =
    "SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'; SET lc_monetary = 'C'; "
    "SET bytea_output = 'hex'; SET extra_float_digits = 3";

// Seconds an open waits for a server before it fails, unless the data-link text or
// PGCONNECT_TIMEOUT sets a time of its own.
const char kConnectTimeoutSeconds[] = "5";
// TCP keepalives notice a server host that went away while the connection idles; the user
// timeout ends a connection whose sent data stays unacknowledged that long (milliseconds).
const char kKeepaliveIdleSeconds[] = "30";
const char kKeepaliveIntervalSeconds[] = "10";
const char kKeepaliveCount[] = "3";

struct SqlStateResult {
    const char* prefix;
    HRESULT result;
};

// First match wins: the specific states before their classes.
const SqlStateResult kSqlStates[] = {
    {"42P01", DB_E_NOTABLE},
    {"42501", DB_SEC_E_PERMISSIONDENIED},
    {"25006", DB_SEC_E_PERMISSIONDENIED},
    {"55P03", DB_E_TABLEINUSE},
    {"40P01", DB_E_TABLEINUSE},
    {"53100", STG_E_MEDIUMFULL},
    {"23", DB_E_INTEGRITYVIOLATION},
    {"42", DB_E_ERRORSINCOMMAND},
    {"22", DB_E_CANTCONVERTVALUE},
    {"28", DB_SEC_E_AUTH_FAILED},
};

HRESULT ResultForState(const char* state)
{
    if (state != nullptr) {
        for (const SqlStateResult& entry : kSqlStates) {
            if (std::strncmp(state, entry.prefix, std::strlen(entry.prefix)) == 0)
                return entry.result;
        }
    }
    return E_FAIL;
}

std::string TrimmedMessage(const char* message)
{
    std::string text = message != nullptr ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The statement with every '?' placeholder outside quotes and comments numbered as the
// server expects ($1, $2, ...); count receives how many there were.
std::string NumberPlaceholders(const std::string& sql, size_t& count)
{
    std::string out;
    out.reserve(sql.size() + 16);
    count = 0;
    const size_t n = sql.size();
    size_t i = 0;
    auto copyUntil = [&](size_t end) {
        out.append(sql, i, end - i);
        i = end;
    };
    while (i < n) {
        const char c = sql[i];
        if (c == '\'') {
            // E'...' strings take backslash escapes; '' is a quote in both kinds.
            const bool escapes = i > 0 && (sql[i - 1] == 'E' || sql[i - 1] == 'e') &&
                                 (i < 2 || !IsIdentifierChar(sql[i - 2]));
            size_t j = i + 1;
            while (j < n) {
                if (escapes && sql[j] == '\\') {
                    j += 2;
                } else if (sql[j] == '\'') {
                    if (j + 1 < n && sql[j + 1] == '\'')
                        j += 2;
                    else
                        break;
                } else {
                    ++j;
                }
            }
            copyUntil(j < n ? j + 1 : n);
        } else if (c == '"') {
            size_t j = i + 1;
            while (j < n && !(sql[j] == '"' && (j + 1 >= n || sql[j + 1] != '"')))
                j += sql[j] == '"' ? 2 : 1;
            copyUntil(j < n ? j + 1 : n);
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            const size_t end = sql.find('\n', i);
            copyUntil(end == std::string::npos ? n : end);
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            // Block comments nest.
            size_t j = i + 2;
            int depth = 1;
            while (j < n && depth > 0) {
                if (sql[j] == '/' && j + 1 < n && sql[j + 1] == '*')
                    ++depth, j += 2;
                else if (sql[j] == '*' && j + 1 < n && sql[j + 1] == '/')
                    --depth, j += 2;
                else
                    ++j;
            }
            copyUntil(j);
        } else if (c == '$' && (i == 0 || !IsIdentifierChar(sql[i - 1]))) {
            // $tag$ ... $tag$ quoting.
            size_t j = i + 1;
            while (j < n && IsIdentifierChar(sql[j]) && sql[j] != '$' &&
                   !(j == i + 1 && sql[j] >= '0' && sql[j] <= '9'))
                ++j;
            if (j < n && sql[j] == '$') {
                const std::string tag = sql.substr(i, j - i + 1);
                const size_t end = sql.find(tag, j + 1);
                copyUntil(end == std::string::npos ? n : end + tag.size());
            } else {
                copyUntil(i + 1);
            }
        } else if (c == '?') {
            out += '$';
            out += std::to_string(++count);
            ++i;
        } else {
            copyUntil(i + 1);
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "\x0a1b..." -> bytes; false for anything else.
bool DecodeHexBytes(const char* text, size_t length, std::string& bytes)
{
    if (length < 2 || text[0] != '\\' || text[1] != 'x' || length % 2 != 0)
        return false;
    bytes.resize((length - 2) / 2);
    for (size_t i = 2, k = 0; i < length; i += 2, ++k) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[k] = static_cast<char>(high * 16 + low);
    }
    return true;
}

Oddments::DeclaredType TypeOfOid(Oid type, int modifier)
{
    Oddments::DeclaredType result;
    switch (type) {
    case kOidBool:
        result.type = DBTYPE_BOOL;
        break;
    case kOidBytea:
        result.type = DBTYPE_IUNKNOWN;
        break;
    case kOidInt8:
        result.type = DBTYPE_I8;
        break;
    case kOidInt2:
        result.type = DBTYPE_I2;
        break;
    case kOidInt4:
        result.type = DBTYPE_I4;
        break;
    case kOidOid:
        result.type = DBTYPE_UI4;
        break;
    case kOidFloat4:
        result.type = DBTYPE_R4;
        break;
    case kOidFloat8:
        result.type = DBTYPE_R8;
        break;
    case kOidMoney:
        result.type = DBTYPE_CY;
        result.precision = 19;
        result.scale = 4;
        break;
    case kOidDate:
        result.type = DBTYPE_DBDATE;
        break;
    case kOidTime:
    case kOidTimeTz:
        result.type = DBTYPE_DBTIME;
        break;
    case kOidTimestamp:
    case kOidTimestampTz:
        result.type = DBTYPE_DBTIMESTAMP;
        break;
    case kOidNumeric: {
        // The modifier packs precision and scale; without one every value has its own scale.
        result.type = DBTYPE_NUMERIC;
        result.precision = 38;
        result.fixedScale = false;
        if (modifier >= 4) {
            const int precision = ((modifier - 4) >> 16) & 0xFFFF;
            const int scale = (((modifier - 4) & 0x7FF) ^ 1024) - 1024;
            if (precision >= 1 && precision <= 38 && scale >= 0 && scale <= precision) {
                result.precision = static_cast<std::uint8_t>(precision);
                result.scale = static_cast<std::uint8_t>(scale);
                result.fixedScale = true;
            }
        }
        break;
    }
    default:
        result.type = DBTYPE_STR;  // every other type in its text form
        break;
    }
    return result;
}

// The connect timeout in seconds the connection's settings came to, as libpq reads it: 0 for
// none (0 or less, or not given), else at least 2.
long ConnectTimeoutSeconds(const SLibpq& pq, PGconn* connection)
{
    long seconds = 0;
    if (PQconninfoOption* options = pq.PQconninfo(connection)) {
        for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
            if (std::strcmp(option->keyword, "connect_timeout") == 0 && option->val != nullptr)
                Platform::TextToLong(option->val, seconds);
        }
        pq.PQconninfoFree(options);
    }
    return seconds <= 0 ? 0 : std::max(seconds, 2L);
}

// Drives a connection that PQconnectStartParams began until it is made, for at most its connect
// timeout and never past the deadline. libpq's own connect timeout bounds only a blocking
// connect, and there only each address by itself. where names the host in the error text when
// it is not empty.
bool AwaitConnection(const SLibpq& pq, PGconn* connection, std::chrono::steady_clock::time_point deadline,
                     const std::string& where, std::string& errorText)
{
    const auto start = std::chrono::steady_clock::now();
    const long timeout = ConnectTimeoutSeconds(pq, connection);
    const auto limit = timeout > 0 ? std::min(deadline, start + std::chrono::seconds(timeout)) : deadline;
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (pq.PQstatus(connection) != CONNECTION_BAD) {
        if (status == PGRES_POLLING_OK)
            return true;
        if (status == PGRES_POLLING_FAILED)
            break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
        pollfd socket{pq.PQsocket(connection), static_cast<short>(status == PGRES_POLLING_READING ? POLLIN : POLLOUT),
                      0};
        const int ready = left.count() > 0 ? ::poll(&socket, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            // The time it was given, to the nearest second: poll, counting whole milliseconds,
            // may wake just before the limit, and a loaded machine may wake it well after.
            const auto waited =
                std::chrono::duration_cast<std::chrono::seconds>(limit - start + std::chrono::milliseconds(500));
            errorText = "The server did not answer within " + std::to_string(waited.count()) + " s of connecting" +
                        (where.empty() ? "" : " (" + where + ")");
            return false;
        }
        status = pq.PQconnectPoll(connection);
    }
    errorText = TrimmedMessage(pq.PQerrorMessage(connection));
    return false;
}

// A result that holds a failure; no result holds none.
bool IsFailure(const SLibpq& pq, const PGresult* result)
{
    return result != nullptr && pq.PQresultStatus(result) != PGRES_TUPLES_OK &&
           pq.PQresultStatus(result) != PGRES_COMMAND_OK;
}

std::vector<std::string> CommaList(const std::string& text)
{
    std::vector<std::string> items;
    if (text.empty())
        return items;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        items.push_back(text.substr(start, comma - start));
    items.push_back(text.substr(start));
    return items;
}

// The settings of a connection to one server, as PQconnectStartParams takes them.
struct SConnectTarget {
    std::vector<std::pair<std::string, std::string>> settings;
    std::string where;  // the host and port, for error texts; empty when there is only one
};

// One target per host of the connection text, in its order, each with the host's own host,
// hostaddr and port and every other setting of the text. libpq's non-blocking connect would try
// them in one go, but moves on only when a host refuses, never when one takes the connection
// and stays silent. Lists that do not match go to libpq unsplit, for it to say so.
std::vector<SConnectTarget> ConnectTargets(const PQconninfoOption* options)
{
    SConnectTarget common;
    std::vector<std::string> hosts, addresses, ports;
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        if (option->val == nullptr)
            continue;
        const std::string keyword = option->keyword;
        if (keyword == "host")
            hosts = CommaList(option->val);
        else if (keyword == "hostaddr")
            addresses = CommaList(option->val);
        else if (keyword == "port")
            ports = CommaList(option->val);
        common.settings.emplace_back(keyword, option->val);
    }
    const size_t count = std::max(hosts.size(), addresses.size());
    if (count <= 1 || (!hosts.empty() && !addresses.empty() && hosts.size() != addresses.size()) ||
        (ports.size() > 1 && ports.size() != count))
        return {common};
    std::vector<SConnectTarget> targets(count);
    for (size_t i = 0; i < count; ++i) {
        for (const auto& setting : common.settings) {
            if (setting.first != "host" && setting.first != "hostaddr" && setting.first != "port")
                targets[i].settings.push_back(setting);
        }
        const std::string host = hosts.empty() ? "" : hosts[i];
        const std::string address = addresses.empty() ? "" : addresses[i];
        const std::string port = ports.empty() ? "" : ports[ports.size() == 1 ? 0 : i];
        targets[i].settings.insert(targets[i].settings.end(),
                                   {{"host", host}, {"hostaddr", address}, {"port", port}});
        targets[i].where = "host \"" + (host.empty() ? address : host) + "\"" + (port.empty() ? "" : " port " + port);
    }
    return targets;
}

}  // namespace

class CPgConnection::CCursor : public CDbCursor {
public:
    CCursor(CPgConnection& connection, PGresult* result) : m_result(result)
    {
        const int count = m_pq.PQnfields(result);
        m_columns.reserve(static_cast<size_t>(count));
        m_sourceTypes.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            m_columns.emplace_back(m_pq.PQfname(result, i), connection.ColumnType(result, i));
            m_sourceTypes.push_back(m_pq.PQftype(result, i));
        }
        m_rowCount = m_pq.PQntuples(result);
    }

    ~CCursor() override { m_pq.PQclear(m_result); }

    HRESULT Fetch() override
    {
        if (m_row >= m_rowCount)
            return DB_S_ENDOFROWSET;
        for (size_t i = 0; i < m_columns.size(); ++i)
            Fill(m_columns[i], m_sourceTypes[i], static_cast<int>(i));
        ++m_row;
        return S_OK;
    }

private:
    void Fill(CDbColumn& column, Oid sourceType, int i)
    {
        if (m_pq.PQgetisnull(m_result, m_row, i)) {
            column.SetNull();
            return;
        }
        const char* text = m_pq.PQgetvalue(m_result, m_row, i);
        const size_t length = static_cast<size_t>(m_pq.PQgetlength(m_result, m_row, i));
        if (sourceType == kOidBytea) {
            if (DecodeHexBytes(text, length, m_scratch))
                column.SetBytes(m_scratch.data(), m_scratch.size());
            else
                column.SetText(text, length);
        } else if (sourceType == kOidMoney) {
            // "-$1,234.56" in the C monetary locale set at connection.
            m_scratch.clear();
            for (size_t k = 0; k < length; ++k) {
                if (text[k] != '$' && text[k] != ',')
                    m_scratch += text[k];
            }
            column.SetText(m_scratch.data(), m_scratch.size());
        } else {
            column.SetTextReference(text, length);  // the result keeps it until it is cleared
        }
    }

    const SLibpq& m_pq = Libpq();
    PGresult* m_result;
    std::vector<Oid> m_sourceTypes;
    int m_rowCount = 0;
    int m_row = 0;
    std::string m_scratch;
};

CPgConnection::~CPgConnection()
{
    Libpq().PQfinish(m_connection);
}

HRESULT CPgConnection::Open(const std::string& connectionInfo, bool readOnly, int deadlineSeconds,
                            std::unique_ptr<CPgConnection>& connection, std::string& errorText)
{
    connection.reset();
    const SLibpq& pq = Libpq();
    if (!pq.error.empty()) {
        errorText = pq.error;
        return E_FAIL;
    }
    // As libpq reads it, a text that is neither "key=value" settings nor a URI names a database.
    const bool settings = connectionInfo.find('=') != std::string::npos ||
                          connectionInfo.rfind("postgresql://", 0) == 0 || connectionInfo.rfind("postgres://", 0) == 0;
    std::vector<SConnectTarget> targets(1);
    if (!settings && !connectionInfo.empty()) {
        targets[0].settings.emplace_back("dbname", connectionInfo);
    } else {
        char* parseError = nullptr;
        PQconninfoOption* options = pq.PQconninfoParse(connectionInfo.c_str(), &parseError);
        if (options == nullptr) {
            const bool outOfMemory = parseError == nullptr;
            errorText = outOfMemory ? "Out of memory" : TrimmedMessage(parseError);
            pq.PQfreemem(parseError);
            return outOfMemory ? E_OUTOFMEMORY : E_FAIL;
        }
        targets = ConnectTargets(options);
        pq.PQconninfoFree(options);
    }
    // A host that takes the connection and never answers would hold the open for as long as
    // it stays: each host gets its connect timeout, and the open as a whole ends at the
    // statement deadline at the latest. The data-link text or PGCONNECT_TIMEOUT may set a
    // timeout of their own: ours comes first, so the connection text overrides it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(deadlineSeconds);
    const char* timeout = std::getenv("PGCONNECT_TIMEOUT") == nullptr ? kConnectTimeoutSeconds : "";
    const std::string userTimeout = std::to_string(static_cast<long long>(deadlineSeconds) * 1000);
    const std::pair<const char*, const char*> ours[] = {
        {"connect_timeout", timeout},
        {"keepalives", "1"},
        {"keepalives_idle", kKeepaliveIdleSeconds},
        {"keepalives_interval", kKeepaliveIntervalSeconds},
        {"keepalives_count", kKeepaliveCount},
        {"tcp_user_timeout", userTimeout.c_str()},
    };
    PGconn* raw = nullptr;
    std::string errors;
    bool refused = false;
    for (const SConnectTarget& target : targets) {
        if (!errors.empty() && std::chrono::steady_clock::now() >= deadline)
            break;
        std::vector<const char*> keywords, values;
        for (const auto& setting : ours) {
            keywords.push_back(setting.first);
            values.push_back(setting.second);
        }
        for (const auto& setting : target.settings) {
            keywords.push_back(setting.first.c_str());
            values.push_back(setting.second.c_str());
        }
        keywords.push_back(nullptr);
        values.push_back(nullptr);
        raw = pq.PQconnectStartParams(keywords.data(), values.data(), 0);
        if (raw == nullptr) {
            errorText = "Out of memory";
            return E_OUTOFMEMORY;
        }
        std::string error;
        if (AwaitConnection(pq, raw, deadline, target.where, error))
            break;
        pq.PQfinish(raw);
        raw = nullptr;
        errors += (errors.empty() ? "" : "\n") + error;
        // As libpq does: a server that refuses the user is the answer, the next hosts are not asked.
        refused = error.find("authentication") != std::string::npos || error.find("password") != std::string::npos;
        if (refused)
            break;
    }
    if (raw == nullptr) {
        errorText = errors;
        return refused ? DB_SEC_E_AUTH_FAILED : E_FAIL;
    }
    // Server notices ("table does not exist, skipping") are no errors; keep them off stderr.
    pq.PQsetNoticeProcessor(raw, [](void*, const char*) {}, nullptr);
    std::unique_ptr<CPgConnection> opened(new CPgConnection(raw, deadlineSeconds));
    std::string setup = kSessionSetup;
    if (readOnly)
        setup += "; SET default_transaction_read_only = on";
    if (pq.PQsetnonblocking(raw, 1) != 0) {
        errorText = TrimmedMessage(pq.PQerrorMessage(raw));
        return E_FAIL;
    }
    PGresult* pg = nullptr;
    HRESULT result =
        opened->Exchange([&setup](PGconn* c) { return Libpq().PQsendQuery(c, setup.c_str()); }, &pg, deadline);
    if (SUCCEEDED(result) && pq.PQresultStatus(pg) != PGRES_COMMAND_OK) {
        result = ResultForState(pq.PQresultErrorField(pg, PG_DIAG_SQLSTATE));
        opened->SetError(result, TrimmedMessage(pq.PQresultErrorMessage(pg)));
    }
    pq.PQclear(pg);
    if (FAILED(result)) {
        errorText = opened->GetErrorText();
        return result;
    }
    connection = std::move(opened);
    return S_OK;
}

HRESULT CPgConnection::Run(const std::string& sql, const CDbValues& params, PGresult** result)
{
    *result = nullptr;
    const SLibpq& pq = Libpq();
    size_t count = 0;
    const std::string text = NumberPlaceholders(sql, count);
    if (count != params.size())
        return SetError(DB_E_PARAMNOTOPTIONAL,
                        "The count of values does not match the count of parameters");
    std::vector<std::string> texts(params.size());
    std::vector<Oid> types(params.size(), 0);
    std::vector<const char*> values(params.size(), nullptr);
    std::vector<int> lengths(params.size(), 0);
    std::vector<int> formats(params.size(), 0);
    for (size_t i = 0; i < params.size(); ++i) {
        const CDbValue& value = params[i];
        switch (value.GetKind()) {
        case CDbValue::Null:
            continue;
        case CDbValue::Integer:
            texts[i] = Platform::LongToText(static_cast<long>(value.GetInteger()));
            types[i] = kOidInt8;
            break;
        case CDbValue::Real:
            texts[i] = Platform::DoubleToText(value.GetReal());
            types[i] = kOidFloat8;
            break;
        case CDbValue::Boolean:
            texts[i] = value.GetBool() ? "t" : "f";
            types[i] = kOidBool;
            break;
        case CDbValue::Text:
            // Sent as a C string: a zero byte would cut the text short without a word.
            if (value.GetText().find('\0') != std::string::npos)
                return SetError(DB_E_CANTCONVERTVALUE, "A text value holds a zero byte");
            texts[i] = value.GetText();
            break;  // type left to the server, so the text fits any column type
        case CDbValue::Binary:
            texts[i] = value.GetText();
            types[i] = kOidBytea;
            formats[i] = 1;
            lengths[i] = static_cast<int>(texts[i].size());
            break;
        case CDbValue::Date:
            if (!CDbValue::FormatDate(value.GetDate(), texts[i]))
                return SetError(DB_E_CANTCONVERTVALUE, "An invalid date was given as a value");
            types[i] = kOidTimestamp;
            break;
        }
        values[i] = texts[i].c_str();
    }
    PGresult* pg = nullptr;
    const HRESULT exchanged = Exchange(
        [&](PGconn* c) {
            return pq.PQsendQueryParams(c, text.c_str(), static_cast<int>(params.size()), types.data(),
                                        values.data(), lengths.data(), formats.data(), 0);
        },
        &pg, StatementDeadline());
    if (FAILED(exchanged))
        return exchanged;
    const ExecStatusType status = pq.PQresultStatus(pg);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        *result = pg;
        return S_OK;
    }
    HRESULT failure = ResultForState(pq.PQresultErrorField(pg, PG_DIAG_SQLSTATE));
    std::string message = TrimmedMessage(pg != nullptr ? pq.PQresultErrorMessage(pg) : pq.PQerrorMessage(m_connection));
    if (status == PGRES_EMPTY_QUERY) {
        failure = DB_E_ERRORSINCOMMAND;
        message = "The statement text holds no statement";
    }
    pq.PQclear(pg);
    return SetError(failure, message);
}

bool CPgConnection::IsLost() const
{
    const SLibpq& pq = Libpq();
    if (m_connection == nullptr || pq.PQstatus(m_connection) == CONNECTION_BAD)
        return true;
    // Between statements the server sends nothing unless it ends the connection (a terminated
    // backend, a shutdown, an idle timeout): a socket hung up or broken says so before a
    // statement is sent to find out.
    pollfd socket{pq.PQsocket(m_connection), POLLRDHUP, 0};
    return ::poll(&socket, 1, 0) == 1 && (socket.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::chrono::steady_clock::time_point CPgConnection::StatementDeadline() const
{
    return std::chrono::steady_clock::now() + std::chrono::seconds(m_deadlineSeconds);
}

HRESULT CPgConnection::Exchange(const std::function<int(PGconn*)>& send, PGresult** result,
                                std::chrono::steady_clock::time_point deadline)
{
    *result = nullptr;
    const SLibpq& pq = Libpq();
    if (m_connection == nullptr)
        return SetError(E_FAIL, m_closedText);
    if (send(m_connection) == 0) {
        const std::string text = TrimmedMessage(pq.PQerrorMessage(m_connection));
        return pq.PQstatus(m_connection) == CONNECTION_BAD ? Lost(text) : SetError(E_FAIL, text);
    }
    // Set once the server ended the connection or it broke. What arrived before is still taken,
    // the server's reason among it; nothing more is waited for.
    bool ended = false;
    // Sends what is left of the statement and reads answers until the next result is in, so
    // that fetching it does not wait on the server.
    const auto awaitResult = [&]() -> HRESULT {
        for (;;) {
            ended = ended || pq.PQstatus(m_connection) == CONNECTION_BAD;
            const int flushed = ended ? 0 : pq.PQflush(m_connection);
            if (flushed < 0) {
                ended = true;
                continue;
            }
            if (flushed == 0 && !pq.PQisBusy(m_connection))
                return S_OK;
            if (ended)
                return E_FAIL;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd socket{pq.PQsocket(m_connection), static_cast<short>(POLLIN | (flushed == 1 ? POLLOUT : 0)), 0};
            const int ready = left.count() > 0 ? ::poll(&socket, 1, static_cast<int>(left.count())) : 0;
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready == 0)
                return GiveUp();
            // A hang-up or an error may come with the server's last message still unread.
            ended = ready < 0 || (socket.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
            if ((socket.revents & (POLLIN | POLLERR | POLLHUP)) != 0 && pq.PQconsumeInput(m_connection) == 0)
                ended = true;
        }
    };
    // A text of several statements gives one result each: the first failure counts, else the
    // last result.
    for (;;) {
        const HRESULT waited = awaitResult();
        if (FAILED(waited)) {
            const std::string text = ended ? EndedText(*result) : std::string();
            pq.PQclear(*result);
            *result = nullptr;
            return ended ? Lost(text) : waited;
        }
        PGresult* next = pq.PQgetResult(m_connection);
        if (next == nullptr)
            break;
        if (IsFailure(pq, *result)) {
            pq.PQclear(next);
        } else {
            pq.PQclear(*result);
            *result = next;
        }
    }
    if (ended || pq.PQstatus(m_connection) == CONNECTION_BAD) {
        // A connection that broke before the statement's end leaves a failure as its last result;
        // one that ended after it leaves the statement done, and only the next one to find it gone.
        const std::string text = EndedText(*result);
        if (!IsFailure(pq, *result)) {
            Close(text);
            return S_OK;
        }
        pq.PQclear(*result);
        *result = nullptr;
        return Lost(text);
    }
    return S_OK;
}

std::string CPgConnection::EndedText(PGresult* result) const
{
    const SLibpq& pq = Libpq();
    std::string text;
    if (IsFailure(pq, result))
        text = TrimmedMessage(pq.PQresultErrorMessage(result));
    if (text.empty())
        text = TrimmedMessage(pq.PQerrorMessage(m_connection));
    return text.empty() ? "The server closed the connection" : text;
}

void CPgConnection::Close(const std::string& reason)
{
    Libpq().PQfinish(m_connection);
    m_connection = nullptr;
    m_closedText = "The connection was closed after it was lost: " + reason;
}

HRESULT CPgConnection::Lost(const std::string& reason)
{
    Close(reason);
    return SetError(E_FAIL, reason);
}

HRESULT CPgConnection::GiveUp()
{
    const SLibpq& pq = Libpq();
    // The server may still be working: a backend waiting on a lock keeps its locks until it next
    // hears from its socket, so it is asked to cancel. Nobody waits for that: a stopped server
    // takes the request into its listening socket's queue and never answers, and the connect to
    // a vanished host hangs in the kernel's retries for minutes. The connection is closed, since
    // its next answer could belong to this statement; the server rolls back an open transaction
    // when it finds the connection gone.
    if (PGcancel* cancel = pq.PQgetCancel(m_connection)) {
        try {
            std::thread([cancel] {
                char ignored[256];
                Libpq().PQcancel(cancel, ignored, sizeof ignored);
                Libpq().PQfreeCancel(cancel);
            }).detach();
        } catch (const std::system_error&) {
            pq.PQfreeCancel(cancel);  // no thread to send it from: the closed connection must do
        }
    }
    const std::string text = "The server did not answer within " + std::to_string(m_deadlineSeconds) +
                             " s; a cancel request was sent and the connection closed";
    Close(text);
    return SetError(DB_E_CANCELED, text);
}

const std::map<int, std::string>& CPgConnection::DomainColumns(unsigned int table)
{
    static const std::map<int, std::string> none;
    const auto known = m_domainColumns.find(table);
    if (known != m_domainColumns.end())
        return known->second;
    const SLibpq& pq = Libpq();
    const std::string tableText = std::to_string(table);
    const char* values[] = {tableText.c_str()};
    const Oid types[] = {kOidOid};
    PGresult* pg = nullptr;
    const HRESULT exchanged = Exchange(
        [&](PGconn* c) {
            return pq.PQsendQueryParams(
                c,
                "SELECT a.attnum, t.typname FROM pg_catalog.pg_attribute a "
                "JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
                "WHERE a.attrelid = $1 AND a.attnum > 0 AND NOT a.attisdropped AND t.typtype = 'd'",
                1, types, values, nullptr, nullptr, 0);
        },
        &pg, StatementDeadline());
    if (FAILED(exchanged) || pq.PQresultStatus(pg) != PGRES_TUPLES_OK) {
        pq.PQclear(pg);
        return none;  // not kept: asked again next time
    }
    std::map<int, std::string>& columns = m_domainColumns[table];
    for (int row = 0; row < pq.PQntuples(pg); ++row)
        columns[static_cast<int>(Platform::AtoL(pq.PQgetvalue(pg, row, 0)))] = pq.PQgetvalue(pg, row, 1);
    pq.PQclear(pg);
    return columns;
}

Oddments::DeclaredType CPgConnection::ColumnType(PGresult* result, int column)
{
    const SLibpq& pq = Libpq();
    const Oid table = pq.PQftable(result, column);
    const int tableColumn = pq.PQftablecol(result, column);
    if (table != InvalidOid && tableColumn > 0) {
        const std::map<int, std::string>& domains = DomainColumns(table);
        const auto domain = domains.find(tableColumn);
        Oddments::DeclaredType declared;
        if (domain != domains.end() && Oddments::ParseDeclaredType(domain->second, declared))
            return declared;
    }
    return TypeOfOid(pq.PQftype(result, column), pq.PQfmod(result, column));
}

HRESULT CPgConnection::Query(const std::string& sql, const CDbValues& params,
                             std::unique_ptr<CDbCursor>& cursor)
{
    cursor.reset();
    PGresult* pg = nullptr;
    const HRESULT result = Run(sql, params, &pg);
    if (SUCCEEDED(result))
        cursor.reset(new CCursor(*this, pg));
    return result;
}

HRESULT CPgConnection::Execute(const std::string& sql, const CDbValues& params,
                               long long* rowsAffected)
{
    PGresult* pg = nullptr;
    const HRESULT result = Run(sql, params, &pg);
    if (SUCCEEDED(result)) {
        const SLibpq& pq = Libpq();
        if (rowsAffected != nullptr)
            *rowsAffected = Platform::AtoL(pq.PQcmdTuples(pg));
        pq.PQclear(pg);
    }
    return result;
}
