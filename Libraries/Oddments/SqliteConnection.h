// The embedded database provider: one SQLite file.
#pragma once

#include "Oddments/DbConnection.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class CSqliteConnection : public CDbConnection {
public:
    enum OpenMode {
        ReadWrite,  // the file must exist
        ReadOnly,
        // Read-only without any locking, for files on media that refuse locks (read-only
        // shares); only safe while nobody writes the file.
        Immutable,
    };

    ~CSqliteConnection() override;

    // Opens an existing database file and checks that it is one. On failure errorText says
    // why.
    static HRESULT Open(const std::string& path, OpenMode mode,
                        std::unique_ptr<CSqliteConnection>& connection, std::string& errorText);

    HRESULT Query(const std::string& sql, const CDbValues& params,
                  std::unique_ptr<CDbCursor>& cursor) override;
    HRESULT Execute(const std::string& sql, const CDbValues& params,
                    long long* rowsAffected) override;

private:
    class CCursor;

    explicit CSqliteConnection(sqlite3* db) : m_db(db) {}
    // Prepares exactly one statement and binds the parameters to it.
    HRESULT Prepare(const std::string& sql, const CDbValues& params, sqlite3_stmt** statement);
    // Keeps the database's message and turns its result code into ours.
    HRESULT Failure(int code);

    sqlite3* m_db = nullptr;
};
