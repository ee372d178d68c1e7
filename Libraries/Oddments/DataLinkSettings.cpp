#include "Oddments/DataLinkSettings.h"

#include "Oddments/DataLinkFile.h"
#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"

#include <cctype>
#include <utility>
#include <vector>

namespace {

// A libpq connection value: quoted with backslash escapes when it is empty or holds blanks,
// quotes, backslashes or the data link's item separator.
std::string ConnValue(const std::string& value)
{
    if (!value.empty() && value.find_first_of(" \t'\\;\"=") == std::string::npos)
        return value;
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

// libpq's "key=value key='quoted value'" pairs.
std::vector<std::pair<std::string, std::string>> ConnPairs(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
    };
    for (skipBlanks(); i < text.size(); skipBlanks()) {
        std::string key;
        while (i < text.size() && text[i] != '=' && !std::isspace(static_cast<unsigned char>(text[i])))
            key += text[i++];
        skipBlanks();
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            skipBlanks();
            const bool quoted = i < text.size() && text[i] == '\'';
            i += quoted ? 1 : 0;
            while (i < text.size() && (quoted ? text[i] != '\'' : !std::isspace(static_cast<unsigned char>(text[i])))) {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                value += text[i++];
            }
            i += quoted ? 1 : 0;
        }
        pairs.emplace_back(key, value);
    }
    return pairs;
}

}  // namespace

std::string CDataLinkSettings::ToInitializationString() const
{
    std::string text;
    if (provider == Provider::SQLite) {
        // The data source reads its value up to the next ';' outside quotes, less outer quotes.
        const bool quote = file.find(';') != std::string::npos || file != Platform::TrimAsciiBlanks(file) ||
                           (!file.empty() && (file.front() == '"' || file.front() == '\''));
        const char mark = file.find('"') == std::string::npos ? '"' : '\'';
        text = "Provider=SQLite;Data Source=" + (quote ? mark + file + mark : file);
    } else {
        text = "Provider=PostgreSQL";
        const std::pair<const char*, const std::string*> items[] = {
            {"host", &host}, {"port", &port}, {"dbname", &database}, {"user", &user}};
        for (const auto& item : items) {
            if (!item.second->empty())
                text += std::string(";") + item.first + "=" + ConnValue(*item.second);
        }
    }
    if (provider == m_keptFor) {
        for (const std::string& item : kept)
            text += ";" + item;
    }
    return text;
}

bool CDataLinkSettings::FromInitializationString(const std::string& text)
{
    *this = CDataLinkSettings();
    bool known = false;
    const std::vector<CDataLinkFile::SItem> items = CDataLinkFile::Items(text);
    for (const CDataLinkFile::SItem& item : items) {
        if (Platform::EqualsNoCase(item.key, "Provider")) {
            known = Platform::EqualsNoCase(item.value, "SQLite") || Platform::EqualsNoCase(item.value, "PostgreSQL");
            provider = Platform::EqualsNoCase(item.value, "PostgreSQL") ? Provider::PostgreSQL : Provider::SQLite;
        }
    }
    m_keptFor = provider;
    // For PostgreSQL the other items are the driver's "key=value" pairs, several to an item.
    std::string connection;
    for (const CDataLinkFile::SItem& item : items) {
        if (Platform::EqualsNoCase(item.key, "Provider"))
            continue;
        if (Platform::EqualsNoCase(item.key, "Data Source"))
            file = item.value;
        else if (provider == Provider::PostgreSQL && !CDataLinkFile::IsDataSourceItem(item.key))
            connection += item.text + " ";
        else
            kept.push_back(item.text);
    }
    for (const auto& pair : ConnPairs(connection)) {
        if (pair.first == "host")
            host = pair.second;
        else if (pair.first == "port")
            port = pair.second;
        else if (pair.first == "dbname")
            database = pair.second;
        else if (pair.first == "user")
            user = pair.second;
        else
            kept.push_back(pair.first + "=" + ConnValue(pair.second));
    }
    return known;
}

bool CDataLinkSettings::Read(const std::string& path)
{
    std::string initString;
    return CDataLinkFile::ReadInitializationString(path, initString) && FromInitializationString(initString);
}

bool CDataLinkSettings::Write(const std::string& path, std::string* error) const
{
    return CAtomicFile::Write(path, "[oledb]\n" + ToInitializationString() + "\n", error);
}
