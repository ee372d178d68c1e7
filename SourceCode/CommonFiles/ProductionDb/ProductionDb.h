// The shared production database: projects stored, loaded and deleted under their order-number
// key, advisory record locks while a user works on one, and the check and creation of its
// tables from the structure document compiled into the program.
//
// Every value reaches the database as a bound parameter; statements are logged at trace level
// as "Executing SQL: %s". A save and a delete each run in one transaction, so a failure leaves
// the stored project as it was; a load reads in one transaction too, so that it never mixes
// the rows of two saves, and fills the caller's objects only once everything was read.
// Failures are reported by results and in the "CProductionDb" log, never thrown.
#pragma once

#include "CommonFiles/DbColumnMap.h"
#include "Oddments/DataSource.h"
#include "Oddments/DbFailureCause.h"
#include "Oddments/DbValue.h"
#include "Oddments/OleDbTypes.h"
#include "Oddments/Session.h"
#include "ProductionDb/DbTableDef.h"
#include "ProductionDb/ProductionDbKey.h"
#include "Quillet/Logger.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CCustomerData;
class CDateTime;
class CDeviceConfiguration;
class CDynamicRecordSetOleDb;
class CPhysicalData;
class CResultData;
class CUnit;
class CUnitValue;
class CValueRange;
class TiXmlElement;

// Results of CProductionDb::SaveProject.
enum : int {
    PDB_SAVE_OK = 0,
    PDB_SAVE_INVALID_KEY = 1,
    PDB_SAVE_NO_DATA = 2,      // an object is missing, or its data cannot be stored
    PDB_SAVE_SQL_FAILED = 3,
    // The connection was lost while the server committed: the save may have been stored or not.
    PDB_SAVE_OUTCOME_UNKNOWN = 4,
};

class CProductionDb {
public:
    // Resource number of the structure document (type RCDATA).
    static constexpr int kStructureResource = 146;
    // Longest lock owner and computer name the lock table holds.
    static constexpr size_t kLockNameLength = 64;

    // Column name -> value of one row to insert; the order is the column order.
    typedef std::vector<std::pair<std::string, CDbValue>> Columns;

    // Loads the compiled-in structure; opens nothing.
    CProductionDb();
    ~CProductionDb();
    CProductionDb(const CProductionDb&) = delete;
    CProductionDb& operator=(const CProductionDb&) = delete;

    // Opens the database that the data-link file names (its initialisation string). Negative
    // on failure, the reason in the log.
    HRESULT Open(const char* dataLinkFile);
    // Harmless when nothing is open.
    void Close();
    bool IsOpen() const { return m_session.IsOpen(); }
    CSession& GetSession() { return m_session; }
    // True when the open database is the PostgreSQL server.
    bool IsPostgreSql() const { return m_postgreSql; }
    // True when the open database's connection can run no statement more (a statement was given
    // up at its deadline, or the server broke the connection off): only Open makes it usable.
    bool IsLost() const { return m_session.IsLost(); }
    // Why the first failed statement since the last Open, CheckTables, SaveProject, OrderExists
    // or ProjectExists began failed; Unknown when none failed or the cause is not known.
    CDbFailureCause::Cause GetFailureCause() const { return m_failure.value_or(CDbFailureCause::Unknown); }
    // What the provider said of that failure, or of why the last Open failed; empty when it said
    // nothing.
    const std::string& GetFailureText() const { return m_failureText; }

    // "fwr_": the prefix of every table of the production database.
    static std::string GetTablePrefix();

    // Reads the structure from the resource of that number; 0 when it is missing or does not
    // parse (the structure is then empty).
    BOOL LoadStructure(int resourceId);
    // Replaces the structure by the tables of a "dbstructure" element; 0 without one.
    BOOL ReadStructure(const TiXmlElement* element);
    void ClearStructure() { m_tables.clear(); }
    const std::vector<CDbTableDef>& GetTables() const { return m_tables; }

    // The characters a text column of the compiled-in structure holds ("customer_data",
    // "customer"), for fields that take what the database can store; 0 for a column without a
    // length or not in the structure.
    static int ColumnLength(const std::string& table, const std::string& column);

    // 1 when every table of the structure exists with all its columns in compatible types
    // (further columns are allowed); the first problem ends the check with 0.
    BOOL CheckTables();
    // Creates every table; 0 at the first failure (the tables before it stay).
    BOOL CreateTables();
    // The CREATE TABLE statement of a table for the open database: the structure's type
    // names as they are on SQLite, mapped to the server's on PostgreSQL.
    std::string BuildCreateTable(const CDbTableDef& table) const;

    // PDB_SAVE_*. Deletes what is stored under the customer record's key and stores the
    // project in its place, all or nothing; PDB_SAVE_OUTCOME_UNKNOWN when the connection was
    // lost during the commit, so that nobody can tell which. A key that is not valid or whose
    // position does not fit the 16-bit column gives PDB_SAVE_INVALID_KEY, a real that is not
    // finite PDB_SAVE_NO_DATA.
    int SaveProject(const CCustomerData* customer, const CDeviceConfiguration* features,
                    const CPhysicalData* physical, const CResultData* results);
    // 1 when the project of the key was read whole, as one save left it; only then are the four
    // objects replaced. A stored real that is not finite or a number beyond its reader's range
    // fails the load.
    BOOL LoadProject(const CProductionDbKey& key, CCustomerData* customer, CDeviceConfiguration* features,
                     CPhysicalData* physical, CResultData* results);
    // Deletes the key's rows from every table (its lock too), all or nothing.
    BOOL DeleteProject(const CProductionDbKey& key);
    // Whether the production system's order table has the key; false too for a database without
    // that table, which is not this program's. Nothing when the table could not be read (its cause
    // in GetFailureCause), so that a check that failed is never taken for a missing record.
    std::optional<bool> OrderExists(const CProductionDbKey& key);
    // Whether a project is stored under the key; nothing, as above, when that could not be read.
    std::optional<bool> ProjectExists(const CProductionDbKey& key);

    // "INSERT INTO <prefix><table> ( pa, vk, pos, <columns> ) VALUES ( ?, ... )" with the key
    // and the column values appended to params.
    std::string BuildInsert(const char* table, const CProductionDbKey& key, const Columns& columns,
                            CDbValues& params) const;
    // Runs a statement without rows; 1 on success.
    BOOL ExecuteSql(const std::string& sql, const CDbValues& params = CDbValues());
    // The first row of a query as texts (column name -> value trimmed of blanks; reals as the
    // shortest text that reads back to the same number); 0 without a row or on failure.
    BOOL ReadRow(const std::string& sql, const CDbValues& params, CDbColumnMap& row);

    // 1 when another owner holds the key, or when the lock table cannot be read; the owner
    // then becomes the holder's. The holder's computer and locking time come back with the
    // owner's own lock too; without a lock they are empty and a null time.
    BOOL IsLockedByOther(const CProductionDbKey& key, std::string& owner, std::string& computer,
                         CDateTime& lockingTime);
    // 1 when the owner now holds the lock (taken or renewed); 0 when another owner holds it or
    // the lock table cannot be read or written. Of two owners locking a free key at the same
    // time only one succeeds.
    BOOL LockRecord(const CProductionDbKey& key, const std::string& owner);
    // 1 when no lock of the owner remains; 0 when another owner holds it or the lock table
    // cannot be read or written.
    BOOL UnlockRecord(const CProductionDbKey& key, const std::string& owner);

    // An owner or computer name as the lock table keeps it: trimmed of blanks and cut to
    // kLockNameLength characters.
    static std::string LockName(const std::string& name);

private:
    // The characters of the named text column (table with its prefix) in the tables; 0 as above.
    static int TextColumnLength(const std::vector<CDbTableDef>& tables, const std::string& table,
                                const std::string& column);
    class CTransaction;

    // The key condition "(pa=? AND vk=? AND pos=?)" with the key appended to params.
    static std::string KeyCondition(const CProductionDbKey& key, CDbValues& params);
    // PDB_SAVE_*: rows that share their columns, inserted a number at a time; a real that is
    // not finite, and a text with more characters than its column of the structure holds, are
    // refused.
    int InsertRows(const char* table, const CProductionDbKey& key, const std::vector<Columns>& rows);
    int InsertRow(const char* table, const CProductionDbKey& key, const Columns& columns);
    // Deletes the key's rows from every table; the caller owns the transaction.
    BOOL DeleteRows(const CProductionDbKey& key);
    int SaveRows(const CProductionDbKey& key, const CCustomerData& customer, const CDeviceConfiguration& features,
                 const CPhysicalData& physical, const CResultData& results);
    int SavePhysicalValue(const CProductionDbKey& key, int valueId, const CUnitValue& value);
    int SaveResultValue(const CProductionDbKey& key, int itemId, int valueId, const CUnit& unit,
                         const CValueRange& range);
    BOOL LoadPhysicalData(const CProductionDbKey& key, CPhysicalData& physical);
    // The values 1 to 8; 0 when one of them is missing.
    BOOL LoadPhysicalValues(const CProductionDbKey& key, CPhysicalData& physical);
    BOOL LoadResults(const CProductionDbKey& key, CResultData& results);
    // Hands every row of the query to onRow; 0, logged, when the query cannot be run or a row
    // cannot be read, so a table is never taken as shorter than it is.
    BOOL ReadRows(const std::string& sql, const CDbValues& params,
                  const std::function<void(const CDynamicRecordSetOleDb&)>& onRow);
    // Whether the opened query has a first row; nothing, logged, when fetching it failed.
    std::optional<bool> ReadsARow(CDynamicRecordSetOleDb& rs, const std::string& sql);
    // The lock row of the key: 1 with found telling whether there is one, 0 when it cannot
    // be read.
    BOOL ReadLock(const CProductionDbKey& key, bool& found, std::string& owner, std::string& computer,
                  CDateTime& lockingTime);
    // Logs the failure and keeps its cause when it is the first since ClearFailure.
    void LogFailure(HRESULT result, const std::string& sql);
    void ClearFailure();

    CLogger m_log;
    CDataSource m_dataSource;
    CSession m_session;
    bool m_postgreSql = false;
    std::vector<CDbTableDef> m_tables;
    // The cause of the first failure since it was cleared: what comes after (a ROLLBACK) does not
    // hide it.
    std::optional<CDbFailureCause::Cause> m_failure;
    std::string m_failureText;
};
