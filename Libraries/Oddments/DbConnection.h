// What a database provider offers: statements with '?' parameters, either as a cursor over
// the result rows or run to the end. One implementation per kind of database.
#pragma once

#include "Oddments/DbCursor.h"
#include "Oddments/DbValue.h"
#include "Oddments/OleDbTypes.h"

#include <memory>
#include <string>
#include <vector>

class CDbConnection {
public:
    virtual ~CDbConnection() = default;

    // Runs a statement and hands out its rows. A statement without rows gives a cursor
    // without columns.
    virtual HRESULT Query(const std::string& sql, const CDbValues& params,
                          std::unique_ptr<CDbCursor>& cursor) = 0;
    // Runs a statement to its end; rowsAffected (may be null) receives the count of rows
    // written.
    virtual HRESULT Execute(const std::string& sql, const CDbValues& params,
                            long long* rowsAffected) = 0;

    // True once the connection can run no statement more (one given up at its deadline, or
    // broken off by the server): only opening the database again makes it usable.
    virtual bool IsLost() const { return false; }

    // The provider's message of the last failure, for the callers' logs.
    const std::string& GetErrorText() const { return m_errorText; }

protected:
    HRESULT SetError(HRESULT result, std::string text)
    {
        m_errorText = std::move(text);
        return result;
    }

    std::string m_errorText;
};
