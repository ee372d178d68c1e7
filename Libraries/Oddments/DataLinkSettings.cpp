#include "Oddments/DataLinkSettings.h"

#include "Oddments/DataLinkFile.h"
#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"
#include "Quillet/LogManager.h"

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

// The blanks of libpq's connection string (C's isspace).
constexpr const char* kConnBlanks = " \t\n\v\f\r";

bool IsConnBlank(char c)
{
    return c != '\0' && std::strchr(kConnBlanks, c) != nullptr;
}

// A libpq connection value: quoted with backslash escapes when it is empty or holds blanks,
// quotes, backslashes or the data link's item separator.
std::string ConnValue(const std::string& value)
{
    if (!value.empty() && value.find_first_of(std::string(kConnBlanks) + "'\\;\"=") == std::string::npos)
        return value;
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

// libpq's "key=value key='quoted value'" pairs, read by its rules: a backslash takes the next
// character as it is and, as the string's last character, stands for nothing.
std::vector<std::pair<std::string, std::string>> ConnPairs(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && IsConnBlank(text[i]))
            ++i;
    };
    for (skipBlanks(); i < text.size(); skipBlanks()) {
        std::string key;
        while (i < text.size() && text[i] != '=' && !IsConnBlank(text[i]))
            key += text[i++];
        skipBlanks();
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            skipBlanks();
            const bool quoted = i < text.size() && text[i] == '\'';
            i += quoted ? 1 : 0;
            while (i < text.size() && (quoted ? text[i] != '\'' : !IsConnBlank(text[i]))) {
                if (text[i] == '\\' && ++i == text.size())
                    break;
                value += text[i++];
            }
            i += quoted ? 1 : 0;
        }
        pairs.emplace_back(key, value);
    }
    return pairs;
}

std::string KeyOf(const std::string& item)
{
    return std::string(Platform::TrimAsciiBlanks(std::string_view(item).substr(0, item.find('='))));
}

bool HoldsPassword(const std::vector<std::string>& items)
{
    for (const std::string& item : items) {
        if (Platform::EqualsNoCase(KeyOf(item), "password"))
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> CDataLinkSettings::WrittenItems() const
{
    std::vector<std::string> items;
    if (provider != m_keptFor)
        return items;
    const bool otherServer = host != m_readHost || port != m_readPort || database != m_readDatabase;
    for (const std::string& item : kept) {
        const std::string key = KeyOf(item);
        const bool tiedToServer = Platform::EqualsNoCase(key, "password") || Platform::EqualsNoCase(key, "hostaddr") ||
                                  (Platform::EqualsNoCase(key, "service") && (host.empty() || m_readHost.empty()));
        if (!otherServer || !tiedToServer)
            items.push_back(item);
    }
    return items;
}

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
    for (const std::string& item : WrittenItems())
        text += ";" + item;
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
    for (const CDataLinkFile::SItem& item : items) {
        if (Platform::EqualsNoCase(item.key, "Provider"))
            continue;
        if (Platform::EqualsNoCase(item.key, "Data Source"))
            file = item.value;
        else if (provider == Provider::SQLite || CDataLinkFile::IsDataSourceItem(item.key))
            kept.push_back(item.text);
    }
    // For PostgreSQL the driver's items are "key=value" pairs, several to an item, read from the
    // very string the data source hands to the driver.
    if (provider == Provider::PostgreSQL) {
        for (const auto& pair : ConnPairs(CDataLinkFile::DriverItems(items))) {
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
    }
    m_readHost = host;
    m_readPort = port;
    m_readDatabase = database;
    return known;
}

bool CDataLinkSettings::HoldsLineBreak() const
{
    return ToInitializationString().find_first_of("\r\n") != std::string::npos;
}

bool CDataLinkSettings::Read(const std::string& path)
{
    std::string initString;
    return CDataLinkFile::ReadInitializationString(path, initString) && FromInitializationString(initString);
}

bool CDataLinkSettings::Write(const std::string& path, std::string* error) const
{
    if (HoldsLineBreak()) {
        if (error)
            *error = "The file '" + path + "' could not be saved: a value holds a line break.";
        return false;
    }
    const bool secret = HoldsPassword(WrittenItems());
    // The write keeps an existing file's mode and leaves a file alone that holds these bytes
    // already, so the others' access goes first, before the password lands in the file.
    struct stat old;
    if (secret && stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) && (old.st_mode & S_IRWXO) != 0) {
        const mode_t narrowed = old.st_mode & 07777 & ~S_IRWXO;
        if (chmod(path.c_str(), narrowed) != 0) {
            if (error)
                *error = "The file '" + path + "' could not be saved: it holds a password and others may read it (" +
                         std::strerror(errno) + ").";
            return false;
        }
        CLogger log = CLogManager::GetInstance()->GetLogger("CDataLinkSettings", LOGLEVEL_PARENT);
        log.Warn("%s holds a password: others lose their access to it (mode %04o, was %04o)", path.c_str(),
                 static_cast<unsigned>(narrowed), static_cast<unsigned>(old.st_mode & 07777));
    }
    return CAtomicFile::Write(path, "[oledb]\n" + ToInitializationString() + "\n", error, secret ? 0600 : 0644);
}
