#include "HarbinaxCore/SystemVersion.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sys/utsname.h>

namespace {

// os-release values are shell-like: optionally quoted, with backslash escapes inside quotes.
std::string Unquote(const std::string& value)
{
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front())
        return value;
    std::string text;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && value.front() == '"' && i + 2 < value.size())
            ++i;
        text += value[i];
    }
    return text;
}

std::map<std::string, std::string> ReadOsRelease(const char* file)
{
    std::ifstream in;
    if (file != nullptr) {
        in.open(file);
    } else {
        in.open("/etc/os-release");
        if (!in)
            in.open("/usr/lib/os-release");
    }
    std::map<std::string, std::string> fields;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos || equals == 0)
            continue;
        fields[line.substr(0, equals)] = Unquote(line.substr(equals + 1));
    }
    return fields;
}

}  // namespace

bool GetSystemVersionName(std::string* name, int* code, std::string* version, std::string* servicePack,
                          const char* osReleaseFile)
{
    if (name == nullptr || code == nullptr || version == nullptr)
        return false;
    struct utsname system;
    if (uname(&system) != 0)
        return false;

    const std::map<std::string, std::string> fields = ReadOsRelease(osReleaseFile);
    const auto field = [&fields](const char* key) {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    };
    *name = field("PRETTY_NAME");
    if (name->empty())
        *name = field("NAME");
    if (name->empty())
        *name = system.sysname;
    *code = std::atoi(field("VERSION_ID").c_str());

    // "6.1.0-18-amd64" gives 6.1.0; missing parts count as 0.
    unsigned parts[3] = {0, 0, 0};
    const char* p = system.release;
    for (unsigned& part : parts) {
        char* end = nullptr;
        part = static_cast<unsigned>(std::strtoul(p, &end, 10));
        if (end == p || *end != '.')
            break;
        p = end + 1;
    }
    *version = std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]);
    if (servicePack != nullptr)
        *servicePack = system.release;
    return true;
}
