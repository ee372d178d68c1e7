#include "Platform/SettingsStore.h"

#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"
#include "Platform/NumberText.h"
#include "Platform/WholeFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

bool ValidSectionName(const std::string& name)
{
    return !HasLineBreak(name) && Trim(name) == name;
}

bool ValidKey(const std::string& key)
{
    return !key.empty() && !HasLineBreak(key) && Trim(key) == key && key.find('=') == std::string::npos &&
           key[0] != '[' && key[0] != ';' && key[0] != '#';
}

bool IsQuoted(const std::string& value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

// Inverse of Quote; a backslash before any other character stays as written.
std::string Unquote(const std::string& value)
{
    if (!IsQuoted(value))
        return value;
    std::string text;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 2 < value.size()) {
            const char next = value[i + 1];
            const std::string_view from = "\\\"nrt", to = "\\\"\n\r\t";
            const std::size_t escape = from.find(next);
            if (escape != std::string_view::npos) {
                c = to[escape];
                ++i;
            }
        }
        text += c;
    }
    return text;
}

// The value as it goes into a line: as is when it reads back unchanged, else quoted.
std::string Quote(const std::string& value)
{
    if (!HasLineBreak(value) && value.find('\t') == std::string::npos && Trim(value) == value && !IsQuoted(value))
        return value;
    std::string text = "\"";
    for (const char c : value) {
        switch (c) {
        case '\\': text += "\\\\"; break;
        case '"': text += "\\\""; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default: text += c; break;
        }
    }
    return text + "\"";
}

}  // namespace

bool CSettingsStore::Load(const std::string& path)
{
    m_sections.clear();
    m_changes.clear();
    std::string content;
    if (!Platform::ReadWholeFile(path, content))
        return false;
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        content.erase(0, 3);

    m_sections.push_back(SSection());
    SSection* current = &m_sections.back();
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string text = content.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();

        const std::string trimmed = Trim(text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            const std::string name = Trim(std::string_view(trimmed).substr(1, trimmed.size() - 2));
            current = FindSection(name);
            if (!current) {
                m_sections.push_back(SSection{name, {}, false});
                current = &m_sections.back();
            }
            continue;
        }
        SLine line;
        line.text = text;
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string::npos && equals > 0 && trimmed[0] != ';' && trimmed[0] != '#') {
            line.isEntry = true;
            line.key = Trim(std::string_view(trimmed).substr(0, equals));
            line.value = Unquote(Trim(std::string_view(trimmed).substr(equals + 1)));
            if (SLine* earlier = FindEntry(*current, line.key)) {
                earlier->key = line.key;
                earlier->value = line.value;
                earlier->text = text;
                continue;
            }
        }
        current->lines.push_back(std::move(line));
    }
    return true;
}

std::string CSettingsStore::Text() const
{
    std::string content;
    bool afterBlank = false;  // a new section gets a blank line before it unless there is one
    for (const SSection& section : m_sections) {
        if (&section != &m_sections.front()) {
            if (section.added && !content.empty() && !afterBlank)
                content += '\n';
            content += "[" + section.name + "]\n";
            afterBlank = false;
        }
        for (const SLine& line : section.lines) {
            content += line.text + '\n';
            afterBlank = Trim(line.text).empty();
        }
    }
    return content;
}

void CSettingsStore::Apply(const SChange& change)
{
    if (change.remove)
        Remove(change.section, change.key);
    else
        SetString(change.section, change.key, change.value);
}

bool CSettingsStore::Save(const std::string& path, std::string* error)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code failure;
    if (!folder.empty() && !std::filesystem::is_directory(folder, failure) &&
        !std::filesystem::create_directories(folder, failure)) {
        if (error)
            *error = "The file '" + path + "' could not be saved: the folder '" + folder.string() +
                     "' could not be created (" + failure.message() + ").";
        return false;
    }

    // Held until the file is written; closing the descriptor releases it.
    const std::string lockPath = path + ".lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    int locked = -1;
    if (lock >= 0) {
        while ((locked = ::flock(lock, LOCK_EX)) != 0 && errno == EINTR) {
        }
    }
    if (locked != 0) {
        if (error)
            *error = "The file '" + path + "' could not be saved: its lock file '" + lockPath +
                     "' could not be locked (" + std::strerror(errno) + ").";
        if (lock >= 0)
            ::close(lock);
        return false;
    }
    CSettingsStore current;
    if (current.Load(path)) {
        for (const SChange& change : m_changes)
            current.Apply(change);
    } else {
        current.m_sections = m_sections;
    }
    const bool saved = CAtomicFile::Write(path, current.Text(), error);
    ::close(lock);
    if (saved) {
        m_sections = std::move(current.m_sections);
        m_changes.clear();
    }
    return saved;
}

std::string CSettingsStore::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const
{
    const SLine* entry = FindEntry(section, key);
    return entry ? entry->value : defaultValue;
}

long CSettingsStore::GetInt(const std::string& section, const std::string& key, long defaultValue) const
{
    const SLine* entry = FindEntry(section, key);
    long value = 0;
    return entry && Platform::TextToLong(entry->value, value) ? value : defaultValue;
}

bool CSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!ValidSectionName(section) || !ValidKey(key))
        return false;
    SSection* target = FindSection(section);
    if (!target) {
        if (m_sections.empty())
            m_sections.push_back(SSection());
        if (!section.empty()) {
            m_sections.push_back(SSection{section, {}, true});
            target = &m_sections.back();
        } else {
            target = &m_sections.front();
        }
    }
    SLine* entry = FindEntry(*target, key);
    if (!entry) {
        // Before the blank lines that end the section, so the gap to the next header stays.
        auto position = target->lines.end();
        while (position != target->lines.begin() && !(position - 1)->isEntry && Trim((position - 1)->text).empty())
            --position;
        SLine line;
        line.isEntry = true;
        line.key = key;
        entry = &*target->lines.insert(position, line);
    }
    entry->value = value;
    entry->text = entry->key + "=" + Quote(value);
    m_changes.push_back(SChange{section, key, value, false});
    return true;
}

bool CSettingsStore::SetInt(const std::string& section, const std::string& key, long value)
{
    return SetString(section, key, Platform::LongToText(value));
}

bool CSettingsStore::Remove(const std::string& section, const std::string& key)
{
    SSection* found = FindSection(section);
    if (!found)
        return false;
    for (auto it = found->lines.begin(); it != found->lines.end(); ++it) {
        if (it->isEntry && Platform::EqualsNoCase(it->key, key)) {
            found->lines.erase(it);
            m_changes.push_back(SChange{section, key, std::string(), true});
            return true;
        }
    }
    return false;
}

std::vector<std::string> CSettingsStore::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    for (const auto& entry : Entries(section))
        keys.push_back(entry.first);
    return keys;
}

std::vector<std::pair<std::string, std::string>> CSettingsStore::Entries(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> entries;
    if (const SSection* found = FindSection(section)) {
        for (const SLine& line : found->lines) {
            if (line.isEntry)
                entries.emplace_back(line.key, line.value);
        }
    }
    return entries;
}

std::string CSettingsStore::UserSettingsPath(const std::string& application)
{
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : "";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/" + application + "/settings.ini";
}

const CSettingsStore::SSection* CSettingsStore::FindSection(const std::string& name) const
{
    for (const SSection& section : m_sections) {
        if (Platform::EqualsNoCase(section.name, name))
            return &section;
    }
    return nullptr;
}

CSettingsStore::SSection* CSettingsStore::FindSection(const std::string& name)
{
    return const_cast<SSection*>(static_cast<const CSettingsStore*>(this)->FindSection(name));
}

const CSettingsStore::SLine* CSettingsStore::FindEntry(const SSection& section, const std::string& key)
{
    for (const SLine& line : section.lines) {
        if (line.isEntry && Platform::EqualsNoCase(line.key, key))
            return &line;
    }
    return nullptr;
}

const CSettingsStore::SLine* CSettingsStore::FindEntry(const std::string& section, const std::string& key) const
{
    const SSection* found = FindSection(section);
    return found ? FindEntry(*found, key) : nullptr;
}

CSettingsStore::SLine* CSettingsStore::FindEntry(SSection& section, const std::string& key)
{
    return const_cast<SLine*>(FindEntry(static_cast<const SSection&>(section), key));
}
