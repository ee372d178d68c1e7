#include "Oddments/DataSource.h"

#include "Oddments/DataLinkFile.h"
#include "Oddments/PgConnection.h"
#include "Oddments/SqliteConnection.h"
#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"

#include <sstream>
#include <string_view>
#include <vector>

namespace {

using Platform::EqualsNoCase;

// A day: the deadline also bounds the TCP user timeout, kept in milliseconds in an int.
constexpr long kMaxCommandTimeout = 86400;

std::string Trim(std::string_view text)
{
    return std::string(Platform::TrimAsciiBlanks(text));
}

struct InitString {
    std::string provider;
    std::string dataSource;
    bool readOnly = false;
    bool noWriters = false;
    std::string commandTimeout;  // seconds a statement may take; empty for the provider's default
    std::string rest;  // the items that are not ours, for a provider that takes them as they are
};

void ParseMode(const std::string& mode, InitString& out)
{
    bool read = false;
    bool write = false;
    std::istringstream tokens(mode);
    std::string token;
    while (std::getline(tokens, token, '|')) {
        token = Trim(token);
        if (EqualsNoCase(token, "Read"))
            read = true;
        else if (EqualsNoCase(token, "Write") || EqualsNoCase(token, "ReadWrite"))
            write = true;
        else if (EqualsNoCase(token, "Share Deny Write") || EqualsNoCase(token, "Share Exclusive"))
            out.noWriters = true;
    }
    out.readOnly = read && !write;
}

InitString ParseInitString(const std::string& text)
{
    InitString result;
    const std::vector<CDataLinkFile::SItem> items = CDataLinkFile::Items(text);
    for (const CDataLinkFile::SItem& item : items) {
        if (EqualsNoCase(item.key, "Provider")) {
            result.provider = item.value;
        } else if (EqualsNoCase(item.key, "Data Source")) {
            result.dataSource = item.value;
        } else if (EqualsNoCase(item.key, "Mode")) {
            ParseMode(item.value, result);
        } else if (EqualsNoCase(item.key, "Command Timeout")) {
            result.commandTimeout = Trim(item.value);
        }
    }
    result.rest = CDataLinkFile::DriverItems(items);
    return result;
}

}  // namespace

CDataSource::CDataSource() = default;

CDataSource::~CDataSource() = default;

void CDataSource::Close()
{
    m_connection.reset();
}

HRESULT CDataSource::OpenFromInitializationString(const char* initString)
{
    Close();
    m_errorText.clear();
    const InitString init = ParseInitString(initString != nullptr ? initString : "");
    HRESULT result;
    if (EqualsNoCase(init.provider, "SQLite")) {
        if (init.dataSource.empty()) {
            m_errorText = "The initialisation string names no data source";
            return E_INVALIDARG;
        }
        const CSqliteConnection::OpenMode mode =
            !init.readOnly ? CSqliteConnection::ReadWrite
                           : (init.noWriters ? CSqliteConnection::Immutable : CSqliteConnection::ReadOnly);
        std::unique_ptr<CSqliteConnection> connection;
        result = CSqliteConnection::Open(init.dataSource, mode, connection, m_errorText);
        m_connection = std::move(connection);
    } else if (EqualsNoCase(init.provider, "PostgreSQL")) {
        long seconds = CPgConnection::kDefaultDeadlineSeconds;
        if (!init.commandTimeout.empty() &&
            (!Platform::TextToLong(init.commandTimeout, seconds) || seconds < 1 || seconds > kMaxCommandTimeout)) {
            m_errorText = "Command Timeout must be a whole number of seconds from 1 to " +
                          std::to_string(kMaxCommandTimeout) + ", not \"" + init.commandTimeout + "\"";
            return E_INVALIDARG;
        }
        std::unique_ptr<CPgConnection> connection;
        result = CPgConnection::Open(init.rest, init.readOnly, static_cast<int>(seconds), connection, m_errorText);
        m_connection = std::move(connection);
    } else {
        m_errorText = "Unknown provider \"" + init.provider + "\"";
        result = REGDB_E_CLASSNOTREG;
    }
    return result;
}

HRESULT CDataSource::OpenFromFileName(const char* fileName)
{
    Close();
    std::string initString;
    if (fileName == nullptr || !CDataLinkFile::ReadInitializationString(fileName, initString)) {
        m_errorText = std::string("Cannot read the data-link file ") + (fileName != nullptr ? fileName : "");
        return STG_E_FILENOTFOUND;
    }
    return OpenFromInitializationString(initString.c_str());
}
