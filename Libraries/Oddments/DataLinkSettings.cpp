#include "Oddments/DataLinkSettings.h"

#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"

#include <cctype>
#include <fstream>
#include <iterator>
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

// The data link's ';'-separated items; a ';' inside quotes does not split.
std::vector<std::string> Items(const std::string& text)
{
    std::vector<std::string> items(1);
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            items.back() += c;
            if (c == '\\' && i + 1 < text.size())
                items.back() += text[++i];
            else if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
            items.back() += c;
        } else if (c == ';') {
            items.emplace_back();
        } else {
            items.back() += c;
        }
    }
    return items;
}

std::string Unquoted(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string CDataLinkSettings::ToInitializationString() const
{
    if (provider == Provider::SQLite) {
        // The data source reads its value up to the next ';' outside quotes, less outer quotes.
        const bool quote = file.find(';') != std::string::npos || file != Platform::TrimAsciiBlanks(file) ||
                           (!file.empty() && (file.front() == '"' || file.front() == '\''));
        const char mark = file.find('"') == std::string::npos ? '"' : '\'';
        return "Provider=SQLite;Data Source=" + (quote ? mark + file + mark : file);
    }
    std::string text = "Provider=PostgreSQL";
    const std::pair<const char*, const std::string*> items[] = {
        {"host", &host}, {"port", &port}, {"dbname", &database}, {"user", &user}};
    for (const auto& item : items) {
        if (!item.second->empty())
            text += std::string(";") + item.first + "=" + ConnValue(*item.second);
    }
    return text;
}

bool CDataLinkSettings::FromInitializationString(const std::string& text)
{
    *this = CDataLinkSettings();
    bool known = false;
    std::string connection;
    for (const std::string& item : Items(text)) {
        const size_t equals = item.find('=');
        const std::string key(Platform::TrimAsciiBlanks(std::string_view(item).substr(0, equals)));
        const std::string value =
            equals == std::string::npos ? std::string()
                                        : Unquoted(std::string(Platform::TrimAsciiBlanks(item.substr(equals + 1))));
        if (Platform::EqualsNoCase(key, "Provider")) {
            known = Platform::EqualsNoCase(value, "SQLite") || Platform::EqualsNoCase(value, "PostgreSQL");
            provider = Platform::EqualsNoCase(value, "PostgreSQL") ? Provider::PostgreSQL : Provider::SQLite;
        } else if (Platform::EqualsNoCase(key, "Data Source")) {
            file = value;
        } else if (!key.empty()) {
            connection += item + " ";
        }
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
    }
    return known;
}

bool CDataLinkSettings::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string trimmed(Platform::TrimAsciiBlanks(line));
        if (!trimmed.empty() && trimmed[0] != '[' && trimmed[0] != ';')
            return FromInitializationString(trimmed);
    }
    return false;
}

bool CDataLinkSettings::Write(const std::string& path, std::string* error) const
{
    return CAtomicFile::Write(path, "[oledb]\n" + ToInitializationString() + "\n", error);
}
