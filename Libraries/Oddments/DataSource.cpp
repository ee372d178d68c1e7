#include "Oddments/DataSource.h"

#include "Oddments/PgConnection.h"
#include "Oddments/SqliteConnection.h"
#include "Platform/AsciiText.h"
#include "Platform/TextEncoding.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

using Platform::EqualsNoCase;

std::string Trim(std::string_view text)
{
    return std::string(Platform::TrimAsciiBlanks(text));
}

// "a=1;b='x;y'" -> "a=1", "b='x;y'": a ';' inside quotes does not split.
std::vector<std::string> SplitItems(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            item += c;
            if (c == '\\' && i + 1 < text.size())
                item += text[++i];
            else if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
            item += c;
        } else if (c == ';') {
            items.push_back(Trim(item));
            item.clear();
        } else {
            item += c;
        }
    }
    items.push_back(Trim(item));
    return items;
}

struct InitString {
    std::string provider;
    std::string dataSource;
    bool readOnly = false;
    bool noWriters = false;
    std::string rest;  // the items that are not ours, for a provider that takes them as they are
};

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

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
    for (const std::string& item : SplitItems(text)) {
        if (item.empty())
            continue;
        const size_t equals = item.find('=');
        const std::string key = Trim(std::string_view(item).substr(0, equals));
        const std::string value =
            equals == std::string::npos ? std::string() : Unquote(Trim(std::string_view(item).substr(equals + 1)));
        if (EqualsNoCase(key, "Provider")) {
            result.provider = value;
        } else if (EqualsNoCase(key, "Data Source")) {
            result.dataSource = value;
        } else if (EqualsNoCase(key, "Mode")) {
            ParseMode(value, result);
        } else if (!EqualsNoCase(key, "Persist Security Info")) {
            result.rest += (result.rest.empty() ? "" : " ") + item;
        }
    }
    return result;
}

// The text of a data-link file as UTF-8.
bool ReadDataLinkFile(const char* fileName, std::string& text)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        return false;
    std::string bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return false;  // a folder in the file's place, a read error: the buffer throws
    }
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (littleEndian || bigEndian) {
        std::u16string wide;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned char first = static_cast<unsigned char>(bytes[i]);
            const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
            wide += static_cast<char16_t>(littleEndian ? first | (second << 8) : (first << 8) | second);
        }
        text = CTextEncoding::Utf16ToUtf8(wide);
    } else if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = bytes.substr(3);
    } else {
        text = bytes;
    }
    return true;
}

std::string InitStringOfDataLink(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] != '[' && line[0] != ';')
            return line;
    }
    return std::string();
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
        std::unique_ptr<CPgConnection> connection;
        result = CPgConnection::Open(init.rest, init.readOnly, connection, m_errorText);
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
    std::string text;
    if (fileName == nullptr || !ReadDataLinkFile(fileName, text)) {
        m_errorText = std::string("Cannot read the data-link file ") + (fileName != nullptr ? fileName : "");
        return STG_E_FILENOTFOUND;
    }
    return OpenFromInitializationString(InitStringOfDataLink(text).c_str());
}
