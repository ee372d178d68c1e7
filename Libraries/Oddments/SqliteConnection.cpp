#include "Oddments/SqliteConnection.h"

#include "Oddments/DeclaredType.h"
#include "Platform/FileSystemType.h"

#include <sqlite3.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace {

// A statement waits this long for another connection's write to finish before it fails.
constexpr int kBusyTimeoutMs = 5000;

// systemError: the errno of the failing call. A disk that is full may come as an I/O error (the
// write-ahead log's index that cannot grow).
HRESULT ResultFor(int code, const char* message, int systemError)
{
    if ((code & 0xFF) == SQLITE_IOERR && systemError == ENOSPC)
        return STG_E_MEDIUMFULL;
    switch (code & 0xFF) {
    case SQLITE_CONSTRAINT:
        return DB_E_INTEGRITYVIOLATION;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return DB_SEC_E_PERMISSIONDENIED;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DB_E_TABLEINUSE;
    case SQLITE_NOMEM:
        return E_OUTOFMEMORY;
    case SQLITE_FULL:
        return STG_E_MEDIUMFULL;
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
        return DB_E_CANTCONVERTVALUE;
    case SQLITE_ERROR:
        return message != nullptr && std::strncmp(message, "no such table", 13) == 0
                   ? DB_E_NOTABLE
                   : DB_E_ERRORSINCOMMAND;
    default:
        return E_FAIL;
    }
}

// "file:" URI of a path, for the open parameters only a URI can carry.
std::string FileUri(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::strchr("/-_.~", c) != nullptr) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 0xF];
        }
    }
    return uri;
}

// The column type of a result column without a declared type (an expression): taken from
// the storage class of its first value.
Oddments::DeclaredType TypeOfValue(sqlite3_stmt* statement, int column, bool haveRow)
{
    Oddments::DeclaredType type;
    switch (haveRow ? sqlite3_column_type(statement, column) : SQLITE_NULL) {
    case SQLITE_INTEGER:
        type.type = DBTYPE_I8;
        break;
    case SQLITE_FLOAT:
        type.type = DBTYPE_R8;
        break;
    case SQLITE_BLOB:
        type.type = DBTYPE_IUNKNOWN;
        break;
    default:
        type.type = DBTYPE_STR;
        break;
    }
    return type;
}

// Opens the file and asks for the schema, so a file that is no database fails here and not at
// the first query. That read waits for a writer like any other.
int OpenDatabase(const std::string& name, int flags, sqlite3*& db)
{
    db = nullptr;
    int code = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        code = sqlite3_exec(db, "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr, nullptr);
    }
    return code;
}

// Read-only without locks, journal or log: the file as it lies.
int OpenReadAsItIs(const std::string& path, sqlite3*& db)
{
    return OpenDatabase(FileUri(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, db);
}

}  // namespace

class CSqliteConnection::CCursor : public CDbCursor {
public:
    CCursor(CSqliteConnection& connection, sqlite3_stmt* statement, bool haveRow)
        : m_connection(connection), m_statement(statement), m_pendingRow(haveRow), m_done(!haveRow)
    {
        const int count = sqlite3_column_count(statement);
        m_columns.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const char* name = sqlite3_column_name(statement, i);
            const char* declared = sqlite3_column_decltype(statement, i);
            Oddments::DeclaredType type;
            if (declared == nullptr)
                type = TypeOfValue(statement, i, haveRow);
            else if (!Oddments::ParseDeclaredType(declared, type))
                type = Oddments::DeclaredType();  // a type name of its own: read as text
            m_columns.emplace_back(name != nullptr ? name : "", type);
        }
    }

    ~CCursor() override { sqlite3_finalize(m_statement); }

    HRESULT Fetch() override
    {
        if (m_pendingRow) {
            m_pendingRow = false;
            Fill();
            return S_OK;
        }
        // Stepping a finished statement would run it again from the start.
        if (m_done)
            return DB_S_ENDOFROWSET;
        const int code = sqlite3_step(m_statement);
        if (code == SQLITE_ROW) {
            Fill();
            return S_OK;
        }
        m_done = true;
        if (code == SQLITE_DONE)
            return DB_S_ENDOFROWSET;
        return m_connection.Failure(code);
    }

private:
    void Fill()
    {
        // One call into the statement per column; reading the value object itself needs no
        // further trip through the connection (it is used on this thread only). Text and
        // bytes stay in the statement's memory until the next step.
        int i = 0;
        for (CDbColumn& column : m_columns) {
            sqlite3_value* value = sqlite3_column_value(m_statement, i++);
            switch (sqlite3_value_type(value)) {
            case SQLITE_INTEGER:
                column.SetInteger(sqlite3_value_int64(value));
                break;
            case SQLITE_FLOAT:
                column.SetReal(sqlite3_value_double(value));
                break;
            case SQLITE_TEXT: {
                const unsigned char* text = sqlite3_value_text(value);
                column.SetTextReference(reinterpret_cast<const char*>(text),
                                        static_cast<size_t>(sqlite3_value_bytes(value)));
                break;
            }
            case SQLITE_BLOB: {
                const void* bytes = sqlite3_value_blob(value);
                column.SetTextReference(static_cast<const char*>(bytes),
                                        static_cast<size_t>(sqlite3_value_bytes(value)));
                break;
            }
            default:
                column.SetNull();
                break;
            }
        }
    }

    CSqliteConnection& m_connection;
    sqlite3_stmt* m_statement;
    bool m_pendingRow;
    bool m_done;
};

CSqliteConnection::~CSqliteConnection()
{
    if (m_journalAtRest) {
        // Every save goes into the file itself, so that the file holds them whole even when a
        // reader, which can neither do this nor leave the log, closes last. Only a reader amid
        // a read of an older state holds this up, for the busy timeout at most.
        sqlite3_exec(m_db, "PRAGMA wal_checkpoint(FULL)", nullptr, nullptr, nullptr);
        // Only the last connection may leave the log; any other gives up at once and leaves it
        // to that one.
        sqlite3_busy_timeout(m_db, 0);
        sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(m_db);
}

HRESULT CSqliteConnection::Open(const std::string& path, OpenMode mode,
                                std::unique_ptr<CSqliteConnection>& connection,
                                std::string& errorText)
{
    connection.reset();
    // A log or journal beside the file may hold saves the file does not have yet, or the pages
    // that mend a save cut short: only a reader that looks at them reads the file right.
    const bool journalBeside =
        access((path + "-wal").c_str(), F_OK) == 0 || access((path + "-journal").c_str(), F_OK) == 0;
    if (mode == Immutable && journalBeside)
        mode = ReadOnly;
    sqlite3* db = nullptr;
    const int flags = mode == ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    int code = mode == Immutable ? OpenReadAsItIs(path, db) : OpenDatabase(path, flags, db);
    // A file left in write-ahead-log mode needs a shared-memory index beside it, which cannot
    // be made in a read-only folder. With nothing beside it the file holds every save whole,
    // and no one can write it where no log or journal can be made.
    bool asItIs = mode == Immutable;
    if (!asItIs && !journalBeside && ((code & 0xFF) == SQLITE_READONLY || (code & 0xFF) == SQLITE_CANTOPEN) &&
        access(path.c_str(), R_OK) == 0) {
        sqlite3_close_v2(db);
        code = OpenReadAsItIs(path, db);
        asItIs = true;
    }
    if (code != SQLITE_OK) {
        const int systemError = db != nullptr ? sqlite3_system_errno(db) : 0;
        errorText = path + ": " + (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        sqlite3_close_v2(db);
        return ResultFor(code, nullptr, systemError);
    }
    // A file that cannot take the log (read-only, or busy for longer than the timeout) keeps
    // working as it is.
    const bool local = mode == ReadWrite && !asItIs && !Platform::IsOnNetworkFileSystem(path);
    if (mode == ReadWrite && !asItIs)
        sqlite3_exec(db, local ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    connection.reset(new CSqliteConnection(db, local));
    return S_OK;
}

HRESULT CSqliteConnection::Failure(int code)
{
    // Read before anything else can change it: SQLite does not keep the system error of every
    // failure (not of a commit's), and errno as the failing call left it stands in then.
    const int callError = errno;
    const int kept = sqlite3_system_errno(m_db);
    const char* message = sqlite3_errmsg(m_db);
    return SetError(ResultFor(code, message, kept != 0 ? kept : callError), message);
}

HRESULT CSqliteConnection::Prepare(const std::string& sql, const CDbValues& params,
                                   sqlite3_stmt** statement)
{
    *statement = nullptr;
    const char* tail = nullptr;
    int code = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()) + 1, statement, &tail);
    if (code != SQLITE_OK)
        return Failure(code);
    if (*statement == nullptr)
        return SetError(DB_E_ERRORSINCOMMAND, "The statement text holds no statement");
    // One statement per call: a second one would be ignored silently otherwise.
    while (tail != nullptr && *tail != '\0') {
        sqlite3_stmt* next = nullptr;
        code = sqlite3_prepare_v2(m_db, tail, -1, &next, &tail);
        const bool another = next != nullptr;
        sqlite3_finalize(next);
        if (code != SQLITE_OK || another) {
            sqlite3_finalize(*statement);
            *statement = nullptr;
            return code != SQLITE_OK ? Failure(code)
                                     : SetError(DB_E_ERRORSINCOMMAND,
                                                "The statement text holds more than one statement");
        }
    }
    if (sqlite3_bind_parameter_count(*statement) != static_cast<int>(params.size())) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
        return SetError(DB_E_PARAMNOTOPTIONAL,
                        "The count of values does not match the count of parameters");
    }
    int index = 1;
    for (const CDbValue& value : params) {
        switch (value.GetKind()) {
        case CDbValue::Null:
            code = sqlite3_bind_null(*statement, index);
            break;
        case CDbValue::Integer:
        case CDbValue::Boolean:
            code = sqlite3_bind_int64(*statement, index, value.GetInteger());
            break;
        case CDbValue::Real:
            // SQLite stores a NaN as NULL and reports success.
            if (std::isnan(value.GetReal())) {
                sqlite3_finalize(*statement);
                *statement = nullptr;
                return SetError(DB_E_CANTCONVERTVALUE, "A real value is not a number");
            }
            code = sqlite3_bind_double(*statement, index, value.GetReal());
            break;
        case CDbValue::Text:
            code = sqlite3_bind_text64(*statement, index, value.GetText().data(), value.GetText().size(),
                                       SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        case CDbValue::Binary:
            code = sqlite3_bind_blob64(*statement, index, value.GetText().data(), value.GetText().size(),
                                       SQLITE_TRANSIENT);
            break;
        case CDbValue::Date: {
            std::string text;
            if (!CDbValue::FormatDate(value.GetDate(), text)) {
                sqlite3_finalize(*statement);
                *statement = nullptr;
                return SetError(DB_E_CANTCONVERTVALUE, "An invalid date was given as a value");
            }
            code = sqlite3_bind_text64(*statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
            break;
        }
        }
        if (code != SQLITE_OK) {
            const HRESULT result = Failure(code);
            sqlite3_finalize(*statement);
            *statement = nullptr;
            return result;
        }
        ++index;
    }
    return S_OK;
}

HRESULT CSqliteConnection::Query(const std::string& sql, const CDbValues& params,
                                 std::unique_ptr<CDbCursor>& cursor)
{
    cursor.reset();
    sqlite3_stmt* statement = nullptr;
    const HRESULT prepared = Prepare(sql, params, &statement);
    if (FAILED(prepared))
        return prepared;
    // Run it now, so that a failing statement fails the open and the columns without a
    // declared type can take the type of their first value.
    const int code = sqlite3_step(statement);
    if (code != SQLITE_ROW && code != SQLITE_DONE) {
        const HRESULT result = Failure(code);
        sqlite3_finalize(statement);
        return result;
    }
    cursor.reset(new CCursor(*this, statement, code == SQLITE_ROW));
    return S_OK;
}

HRESULT CSqliteConnection::Execute(const std::string& sql, const CDbValues& params,
                                   long long* rowsAffected)
{
    sqlite3_stmt* statement = nullptr;
    const HRESULT prepared = Prepare(sql, params, &statement);
    if (FAILED(prepared))
        return prepared;
    const sqlite3_int64 before = sqlite3_total_changes64(m_db);
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    HRESULT result = S_OK;
    if (code != SQLITE_DONE)
        result = Failure(code);
    else if (rowsAffected != nullptr)
        *rowsAffected = sqlite3_total_changes64(m_db) - before;
    sqlite3_finalize(statement);
    return result;
}
