// A database as named by an initialisation string or a data-link file:
//   Provider=SQLite;Data Source=<file>[;Mode=Read]
//   Provider=PostgreSQL;<libpq connection string>[;Command Timeout=<seconds>]
// For SQLite, "Mode=Read" opens the file read-only; a mode that also says "Share Deny Write"
// (or "Share Exclusive") promises that nobody writes the file and opens it without any
// locking, for files on media that refuse locks, unless a write-ahead log or a journal lies
// beside it. Without "Read" the file is opened for writing (see CSqliteConnection for its
// journal). Other properties ("Persist Security Info", passwords) are accepted and ignored.
// For PostgreSQL the items other than Provider, Data Source, Mode, Command Timeout and Persist
// Security Info are handed to libpq as its connection string; "Mode=Read" there makes the
// connection refuse writes, and "Command Timeout" is the deadline of every statement (30 s
// when not given).
#pragma once

#include "Oddments/OleDbTypes.h"

#include <memory>
#include <string>

class CDbConnection;

class CDataSource {
public:
    CDataSource();
    ~CDataSource();
    CDataSource(const CDataSource&) = delete;
    CDataSource& operator=(const CDataSource&) = delete;

    // Any open database is closed first. Results: S_OK; REGDB_E_CLASSNOTREG for an unknown
    // or missing provider; E_INVALIDARG for a string without a data source; the provider's
    // failure otherwise (GetErrorText says why).
    HRESULT OpenFromInitializationString(const char* initString);
    // A data-link file holds the initialisation string on its first line that is neither
    // blank, a "[section]" nor a "; comment", in UTF-8 or UTF-16 with byte-order mark.
    // STG_E_FILENOTFOUND when the file cannot be read.
    HRESULT OpenFromFileName(const char* fileName);
    void Close();
    bool IsOpen() const { return m_connection != nullptr; }

    const std::string& GetErrorText() const { return m_errorText; }

    // For sessions: the open connection (null when closed).
    const std::shared_ptr<CDbConnection>& GetConnection() const { return m_connection; }

private:
    std::shared_ptr<CDbConnection> m_connection;
    std::string m_errorText;
};
