#include "Platform/ResourceRegistry.h"

#include "Platform/AsciiText.h"

#include <map>
#include <mutex>
#include <tuple>

namespace {

struct SKey {
    std::string type;  // upper case
    int id;
    std::string name;  // upper case, empty for a numeric id

    bool operator<(const SKey& other) const
    {
        return std::tie(type, id, name) < std::tie(other.type, other.id, other.name);
    }
};

struct SRegistry {
    std::mutex mutex;
    std::map<SKey, std::string_view> entries;
};

// Built on first use: registrars run during static initialisation, in no fixed order.
SRegistry& Registry()
{
    static SRegistry registry;
    return registry;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = Platform::AsciiUpper(c);
    return text;
}

bool Lookup(const SKey& key, std::string_view& bytes)
{
    SRegistry& registry = Registry();
    const std::lock_guard<std::mutex> lock(registry.mutex);
    const auto found = registry.entries.find(key);
    if (found == registry.entries.end())
        return false;
    bytes = found->second;
    return true;
}

}  // namespace

bool CResourceRegistry::IdFromName(const std::string& name, int& id)
{
    if (name.size() < 2 || name.size() > 6 || name[0] != '#')
        return false;
    long value = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
        value = value * 10 + (name[i] - '0');
    }
    if (value > 0xFFFF)
        return false;
    id = static_cast<int>(value);
    return true;
}

bool CResourceRegistry::Find(const std::string& type, int id, std::string_view& bytes)
{
    return Lookup(SKey{Upper(type), id, std::string()}, bytes);
}

bool CResourceRegistry::Find(const std::string& type, const std::string& name, std::string_view& bytes)
{
    int id = 0;
    if (IdFromName(name, id))
        return Find(type, id, bytes);
    if (name.empty())
        return false;
    return Lookup(SKey{Upper(type), 0, Upper(name)}, bytes);
}

void CResourceRegistry::Register(const char* type, int id, const char* name, const unsigned char* data,
                                 std::size_t size)
{
    bool named = name && *name;
    if (named && IdFromName(name, id))
        named = false;
    SKey key{Upper(type ? type : ""), named ? 0 : id, named ? Upper(name) : std::string()};
    SRegistry& registry = Registry();
    const std::lock_guard<std::mutex> lock(registry.mutex);
    registry.entries[std::move(key)] = std::string_view(reinterpret_cast<const char*>(data), size);
}
