// The one way the programs read a database: run one statement on a session, step through
// its rows and read the current row's columns by number (from 1) or by name, converting
// between column types where asked. One short-lived record set per query:
//     CDynamicRecordSetOleDb rs;
//     if (rs.Open(session, "SELECT Id, UnitName FROM Units WHERE TypeId = ?", {typeId}))
//         while (rs.MoveNext()) { int id = rs.GetLong("Id"); ... }
//     rs.Close();
// Getters report nothing: a missing column, a NULL value, or a type that needs conversion
// when conversion is off reads as 0, FALSE, an empty text, a null date or no bytes.
#pragma once

#include "Oddments/DbValue.h"
#include "Oddments/OleDbTypes.h"
#include "Platform/DateTime.h"
#include "Quillet/Logger.h"

#include <memory>
#include <string>
#include <vector>

class CDbColumn;
class CDbConnection;
class CDbCursor;
class CSession;

class CDynamicRecordSetOleDb {
public:
    CDynamicRecordSetOleDb();
    virtual ~CDynamicRecordSetOleDb();
    CDynamicRecordSetOleDb(const CDynamicRecordSetOleDb&) = delete;
    CDynamicRecordSetOleDb& operator=(const CDynamicRecordSetOleDb&) = delete;

    // Runs the statement with its values bound to the '?' placeholders; TRUE when the result
    // is not negative. The first row is fetched by the first MoveNext. Logs the statement and
    // the result at trace level.
    BOOL Open(CSession& session, const char* sql, const CDbValues& params = CDbValues());
    // Releases the rows; the record set may be opened again.
    void Close();
    // TRUE only when a row was fetched; FALSE after the last row and on errors (a failed
    // step is logged as an error). A list that must be complete checks ReadAllRows after its loop.
    BOOL MoveNext();
    // After MoveNext gave FALSE: whether that was the end of the rows rather than a failure.
    bool ReadAllRows() const { return m_result == DB_S_ENDOFROWSET; }
    // Empties the current row: every column reads as zero or empty.
    void ClearRow();

    // Result of the last Open or MoveNext (0 after Close).
    HRESULT GetLastResult() const { return m_result; }
    DBORDINAL GetColumnCount() const;
    // Null for a number that names no column.
    const char* GetColumnName(DBORDINAL column) const;
    // false for a number that names no column.
    bool GetColumnType(DBORDINAL column, DBTYPE* type) const;
    // The number of the first column of exactly that name; false when there is none.
    bool GetOrdinal(const char* name, DBORDINAL* column) const;

    // A value beyond the range of int (or not a number at all) gives 0 and fails the step
    // with an error line: GetLastResult is DB_E_DATAOVERFLOW, the next MoveNext gives FALSE and
    // ReadAllRows false. Never a cut or saturated number in its place.
    int GetLongAt(DBORDINAL column, BOOL convert = TRUE) const;
    int GetLong(const char* name, BOOL convert = TRUE) const;
    BOOL GetBoolAt(DBORDINAL column, BOOL convert = TRUE) const;
    BOOL GetBool(const char* name, BOOL convert = TRUE) const;
    double GetDoubleAt(DBORDINAL column, BOOL convert = TRUE) const;
    double GetDouble(const char* name, BOOL convert = TRUE) const;
    void GetStringAt(std::string& text, DBORDINAL column, BOOL convert = TRUE) const;
    void GetString(std::string& text, const char* name, BOOL convert = TRUE) const;
    // The convert flag has no effect: only date and time columns give dates.
    void GetDateAt(CDateTime& date, DBORDINAL column, BOOL convert = TRUE) const;
    void GetDate(CDateTime& date, const char* name, BOOL convert = TRUE) const;
    // Byte columns only: TRUE with the bytes (none for NULL), else FALSE with none.
    BOOL GetBlobAt(std::vector<unsigned char>& bytes, DBORDINAL column) const;
    BOOL GetBlob(std::vector<unsigned char>& bytes, const char* name) const;

    // The text with every occurrence of the character doubled: a single quote becomes two,
    // for a text inside an SQL literal.
    static std::string DoubleCharacter(const std::string& text, char character);

private:
    const CDbColumn* Column(DBORDINAL column) const;
    DBORDINAL FindColumn(const char* name) const;

    mutable CLogger m_log;
    std::string m_sql;
    mutable HRESULT m_result = S_OK;
    // A getter met a value beyond its range: the step failed and no further row is read.
    mutable bool m_valueFailed = false;
    // The connection outlives the cursor that reads from it.
    std::shared_ptr<CDbConnection> m_connection;
    std::unique_ptr<CDbCursor> m_cursor;
    // Callers read the same columns by the same literal names on every row: remember where
    // each name pointer was found (checked against the name on every use).
    struct NameHit {
        const char* name = nullptr;
        DBORDINAL column = 0;
    };
    mutable NameHit m_nameHits[16];  // indexed by the top 4 bits of a pointer hash
};
