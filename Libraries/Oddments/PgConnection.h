// The shared multi-user database provider: a PostgreSQL server reached through libpq.
#pragma once

#include "Oddments/DbConnection.h"
#include "Oddments/DeclaredType.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

struct pg_conn;
struct pg_result;

class CPgConnection : public CDbConnection {
public:
    ~CPgConnection() override;

    // Seconds a statement may take when the data-link text sets no deadline.
    static constexpr int kDefaultDeadlineSeconds = 30;

    // Connects with a libpq connection string ("host=... dbname=... user=..."), within the
    // connect timeout and the deadline. A read-only connection refuses every write. A statement
    // that gets no answer within the deadline fails with DB_E_CANCELED soon after it, whatever
    // the server does: a cancel request goes to the server without being waited for, and the
    // connection is given up, so that later statements fail at once and IsLost says so.
    static HRESULT Open(const std::string& connectionInfo, bool readOnly, int deadlineSeconds,
                        std::unique_ptr<CPgConnection>& connection, std::string& errorText);

    HRESULT Query(const std::string& sql, const CDbValues& params,
                  std::unique_ptr<CDbCursor>& cursor) override;
    HRESULT Execute(const std::string& sql, const CDbValues& params,
                    long long* rowsAffected) override;
    // Given up at a deadline, or broken off by the server.
    bool IsLost() const override;

private:
    class CCursor;

    CPgConnection(pg_conn* connection, int deadlineSeconds)
        : m_connection(connection), m_deadlineSeconds(deadlineSeconds)
    {
    }
    // Sends a statement through send and waits for all its results until the deadline; result
    // receives the one that counts (see the source).
    HRESULT Exchange(const std::function<int(pg_conn*)>& send, pg_result** result,
                     std::chrono::steady_clock::time_point deadline);
    // The deadline of a statement sent now.
    std::chrono::steady_clock::time_point StatementDeadline() const;
    // Asks the server to cancel the statement that passed its deadline and closes the
    // connection, without waiting for either.
    HRESULT GiveUp();
    // Runs one statement; on failure keeps the server's message and returns our result.
    HRESULT Run(const std::string& sql, const CDbValues& params, pg_result** result);
    // The type of a result column: by the name of its declared domain where the table
    // column has one ("currency"), else by the server's type number.
    Oddments::DeclaredType ColumnType(pg_result* result, int column);
    // The domain-typed columns of a table (column number -> domain name), asked once per
    // table and connection.
    const std::map<int, std::string>& DomainColumns(unsigned int table);

    pg_conn* m_connection = nullptr;
    int m_deadlineSeconds = kDefaultDeadlineSeconds;
    std::map<unsigned int, std::map<int, std::string>> m_domainColumns;
};
