#include "Harbinax/ResourceBundle.h"

#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"
#include "Platform/ResourceRegistry.h"

#include <cstdint>
#include <fstream>
#include <sstream>

namespace {

const char header[] = "ZEPHRIN-RESOURCE-BUNDLE 1\n";
const char trailer[] = "END\n";
// Bundles hold a few bitmaps and translation tables; anything far larger is no bundle of ours.
constexpr std::size_t maxFileSize = 64u << 20;

bool IsWord(const std::string& text)
{
    if (text.empty() || text.size() > 256)
        return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F)
            return false;
    }
    return true;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = Platform::AsciiUpper(c);
    return text;
}

// Reads "<type> <key> <count>\n" at pos.
bool ReadEntryLine(const std::string& data, std::size_t& pos, std::string& type, std::string& key,
                   std::size_t& count)
{
    const std::size_t end = data.find('\n', pos);
    if (end == std::string::npos)
        return false;
    std::istringstream line(data.substr(pos, end - pos));
    std::string countText, rest;
    if (!(line >> type >> key >> countText) || (line >> rest))
        return false;
    if (countText.empty() || countText.size() > 10)
        return false;
    count = 0;
    for (const char c : countText) {
        if (c < '0' || c > '9')
            return false;
        count = count * 10 + static_cast<std::size_t>(c - '0');
    }
    pos = end + 1;
    return true;
}

}  // namespace

bool CResourceBundle::MakeKey(const std::string& type, const std::string& key, SKey& out)
{
    if (!IsWord(type) || !IsWord(key))
        return false;
    int id = 0;
    if (CResourceRegistry::IdFromName(key, id))
        out = SKey(Upper(type), "#" + std::to_string(id));
    else if (key[0] == '#')
        return false;
    else
        out = SKey(Upper(type), Upper(key));
    return true;
}

bool CResourceBundle::Load(const std::string& path, std::string& error)
{
    m_entries.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || static_cast<std::uint64_t>(size) > maxFileSize) {
        error = "cannot read " + path;
        return false;
    }
    std::string data(static_cast<std::size_t>(size), '\0');
    if (!file.read(data.data(), size)) {
        error = "cannot read " + path;
        return false;
    }
    const auto fail = [&](const std::string& reason) {
        m_entries.clear();
        error = path + ": " + reason;
        return false;
    };
    if (data.compare(0, sizeof header - 1, header) != 0)
        return fail("not a resource bundle");
    std::size_t pos = sizeof header - 1;
    for (;;) {
        if (data.compare(pos, std::string::npos, trailer) == 0)
            return true;
        std::string type, key;
        std::size_t count = 0;
        SKey entryKey;
        if (!ReadEntryLine(data, pos, type, key, count) || !MakeKey(type, key, entryKey))
            return fail("malformed resource line");
        if (count >= data.size() - pos || data[pos + count] != '\n')
            return fail("resource " + type + " " + key + " is cut short");
        m_entries[entryKey] = data.substr(pos, count);
        pos += count + 1;
    }
}

bool CResourceBundle::Find(const std::string& type, int id, std::string_view& bytes) const
{
    return Find(type, "#" + std::to_string(id), bytes);
}

bool CResourceBundle::Find(const std::string& type, const std::string& name, std::string_view& bytes) const
{
    SKey key;
    if (!MakeKey(type, name, key))
        return false;
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return false;
    bytes = found->second;
    return true;
}

bool CResourceBundle::Write(const std::string& path, const std::vector<SEntry>& entries, std::string& error)
{
    std::string data = header;
    for (const SEntry& entry : entries) {
        SKey key;
        if (!MakeKey(entry.type, entry.key, key)) {
            error = "resource \"" + entry.type + " " + entry.key + "\" cannot be stored in a bundle";
            return false;
        }
        data += entry.type + " " + entry.key + " " + std::to_string(entry.bytes.size()) + "\n";
        data += entry.bytes;
        data += '\n';
    }
    data += trailer;
    return CAtomicFile::Write(path, data, &error);
}
