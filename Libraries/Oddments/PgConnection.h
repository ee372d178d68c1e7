// The shared multi-user database provider: a PostgreSQL server reached through libpq.
#pragma once

#include "Oddments/DbConnection.h"
#include "Oddments/DeclaredType.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

class CPgConnection : public CDbConnection {
public:
    ~CPgConnection() override;

    // Seconds a statement may take when the data-link text sets no deadline.
    static constexpr int kDefaultDeadlineSeconds = 30;

    // Connects with a libpq connection string ("host=... dbname=... user=..."). Of several hosts,
    // and of the addresses of a host name, each is tried in turn for its connect timeout, all of
    // them within the deadline, so that one that takes the connection and never answers does not
    // keep the next one from being tried; a server that refuses the user ends the list. A wait
    // for another session's lock ends on the server a second before the deadline, as a busy
    // failure that keeps the connection. A read-only connection refuses every write. A statement
    // that gets no answer within the deadline fails with DB_E_CANCELED soon after it, whatever
    // the server does: a cancel request goes to the server without being waited for, and the
    // connection is given up, so that later statements fail at once and IsLost says so. A
    // connection the server ends (its backend terminated, the server shut down, an idle timeout)
    // or that breaks is closed the same way, with the server's reason as the error text.
    static HRESULT Open(const std::string& connectionInfo, bool readOnly, int deadlineSeconds,
                        std::unique_ptr<CPgConnection>& connection, std::string& errorText);

    // The addresses of a host name in the order they are tried, as numeric texts; empty when the
    // name does not resolve.
    typedef std::function<std::vector<std::string>(const std::string& name)> Resolver;
    // Replaces getaddrinfo for the names of later opens; an empty resolver restores it.
    static void SetResolver(Resolver resolver);

    HRESULT Query(const std::string& sql, const CDbValues& params,
                  std::unique_ptr<CDbCursor>& cursor) override;
    HRESULT Execute(const std::string& sql, const CDbValues& params,
                    long long* rowsAffected) override;
    // Given up at a deadline, or broken off by the server, also while it was idle.
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
    // Closes a connection that the server ended or that broke; the failure of the statement
    // that found it so, with its text.
    HRESULT Lost(const std::string& reason);
    // Closes the connection for good; later statements fail with the reason.
    void Close(const std::string& reason);
    // The text of a connection that ended while the statement's result was still due: the
    // server's message where it sent one, else libpq's.
    std::string EndedText(pg_result* result) const;
    // Runs one statement; on failure keeps the server's message and returns our result.
    HRESULT Run(const std::string& sql, const CDbValues& params, pg_result** result);
    // The type of a result column: by the name of its declared domain where the table
    // column has one ("currency"), else by the server's type number.
    Oddments::DeclaredType ColumnType(pg_result* result, int column);
    // The domain-typed columns of a table (column number -> domain name), asked once per
    // table and connection.
    const std::map<int, std::string>& DomainColumns(unsigned int table);

    pg_conn* m_connection = nullptr;
    std::string m_closedText;  // why the connection was closed, for the statements that follow
    int m_deadlineSeconds = kDefaultDeadlineSeconds;
    std::map<unsigned int, std::map<int, std::string>> m_domainColumns;
};
