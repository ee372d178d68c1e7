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
        // The file must exist. On a local disk the file keeps a write-ahead log while it is
        // open, so a reader never waits for a save; when the last connection closes it goes
        // back to the rollback journal and is one self-contained file again. Each close writes
        // the log's saves into the file, so the file alone holds them all also when a reader
        // closes last and the log stays beside it. On a network file system, whose clients
        // share no memory, it keeps the rollback journal throughout.
        ReadWrite,
        ReadOnly,
        // Read-only without any locking, for files on media that refuse locks (read-only
        // shares); only safe while nobody writes the file. A write-ahead log or a journal
        // beside the file may hold saves the file does not have yet or the pages that mend a
        // save cut short, so the file is then opened as ReadOnly.
        Immutable,
    };

    ~CSqliteConnection() override;

    // Opens an existing database file and checks that it is one. A file that was left with a
    // write-ahead log but has neither log nor journal beside it, in a folder where its
    // shared-memory index cannot be made (a read-only folder or share), is read as it is, also
    // in ReadWrite mode. On failure errorText says why.
    static HRESULT Open(const std::string& path, OpenMode mode,
                        std::unique_ptr<CSqliteConnection>& connection, std::string& errorText);

    HRESULT Query(const std::string& sql, const CDbValues& params,
                  std::unique_ptr<CDbCursor>& cursor) override;
    HRESULT Execute(const std::string& sql, const CDbValues& params,
                    long long* rowsAffected) override;

private:
    class CCursor;

    CSqliteConnection(sqlite3* db, bool journalAtRest) : m_db(db), m_journalAtRest(journalAtRest) {}
    // Prepares exactly one statement and binds the parameters to it.
    HRESULT Prepare(const std::string& sql, const CDbValues& params, sqlite3_stmt** statement);
    // Keeps the database's message and turns its result code into ours.
    HRESULT Failure(int code);

    sqlite3* m_db = nullptr;
    // The file went to the write-ahead log at the open and goes back when the last closes.
    bool m_journalAtRest = false;
};
