// A session on an open data source: record sets are opened on it, and statements that
// return no rows (CREATE, INSERT, UPDATE, DELETE) run through Execute. Values are bound to
// '?' placeholders, never pasted into the statement text.
#pragma once

#include "Oddments/DbValue.h"
#include "Oddments/OleDbTypes.h"

#include <memory>
#include <string>

class CDataSource;
class CDbConnection;

class CSession {
public:
    CSession();
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    // E_UNEXPECTED when the data source is not open. The session keeps the connection alive
    // even when the data source is closed first.
    HRESULT Open(const CDataSource& dataSource);
    void Close();
    bool IsOpen() const { return m_connection != nullptr; }

    // Runs one statement to its end. rowsAffected (may be null) receives the count of rows
    // the statement wrote. E_UNEXPECTED when the session is not open, E_INVALIDARG without
    // a statement.
    HRESULT Execute(const char* sql, const CDbValues& params = CDbValues(),
                    long long* rowsAffected = nullptr);

    // True when the open connection can run no statement more (see CDbConnection::IsLost).
    bool IsLost() const;

    // The database's message for the last failed statement of this session.
    std::string GetErrorText() const;

    // For record sets: the open connection (null when closed).
    const std::shared_ptr<CDbConnection>& GetConnection() const { return m_connection; }

private:
    std::shared_ptr<CDbConnection> m_connection;
};
