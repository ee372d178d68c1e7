#include "Renovix/RenovixLib/UpdateEntry.h"

#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"
#include "Renovix/RenovixLib/Md5Digest.h"
#include "Renovix/RenovixLib/TextScrambler.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

std::string Attribute(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? value : "";
}

}  // namespace

CUpdateEntry CUpdateEntry::FromElement(const TiXmlElement& element)
{
    CUpdateEntry entry;
    const char* source = element.Attribute("source");
    if (source == nullptr)
        source = element.Attribute("name");
    entry.source = CTextScrambler::Decode(source ? source : "");
    entry.destination = CTextScrambler::Decode(Attribute(element, "destination"));
    entry.id = Attribute(element, "id");
    if (entry.id.empty())
        entry.id = CMd5Digest::Of(entry.source + entry.destination);
    entry.version = ParseVersion(Attribute(element, "version"));
    entry.hash = Attribute(element, "hash");
    entry.flags = ParseFlags(Attribute(element, "flags"));
    entry.sizeKB = ParseSizeKB(Attribute(element, "sizekb"));
    entry.packages = ParsePackages(Attribute(element, "packages"));
    entry.cePlatform = ParseCePlatform(Attribute(element, "ceplatform"));
    return entry;
}

int CUpdateEntry::ParseSizeKB(const std::string& text)
{
    long value = 0;
    if (!Platform::TextToLong(text, value) || value < INT_MIN || value > INT_MAX)
        return 0;
    return static_cast<int>(value);
}

int CUpdateEntry::ParseFlags(const std::string& text)
{
    static const struct {
        const char* keyword;
        int flag;
    } kKeywords[] = {
        {"FILE", UPDATE_ENTRY_FILE},
        {"DIR", UPDATE_ENTRY_DIR},
        {"UPDATE_EXISTING", UPDATE_ENTRY_UPDATE_EXISTING},
        {"IGNORE_HASH", UPDATE_ENTRY_IGNORE_HASH},
        {"IGNORE_VERSION", UPDATE_ENTRY_IGNORE_VERSION},
        {"COMPRESSION_ZIP", UPDATE_ENTRY_COMPRESSION_ZIP},
        {"WIN_CE", UPDATE_ENTRY_WIN_CE},
    };
    int flags = 0;
    for (const auto& keyword : kKeywords)
        if (text.find(keyword.keyword) != std::string::npos)
            flags |= keyword.flag;
    return flags;
}

SFileVersion CUpdateEntry::ParseVersion(const std::string& text)
{
    SFileVersion version;
    size_t at = 0;
    for (int part = 0; part < 4 && at <= text.size(); ++part) {
        const long value = std::strtol(text.c_str() + at, nullptr, 10);
        version.part[part] = static_cast<unsigned short>(std::clamp(value, 0L, 65535L));
        const size_t dot = text.find('.', at);
        if (dot == std::string::npos)
            break;
        at = dot + 1;
    }
    return version;
}

int CUpdateEntry::ParseCePlatform(const std::string& text)
{
    static const struct {
        const char* name;
        int code;
    } kPlatforms[] = {{"INTEL", 0}, {"MIPS", 1}, {"SHX", 4}, {"ARM", 5}};
    for (const auto& platform : kPlatforms)
        if (text == platform.name)
            return platform.code;
    return kCePlatformAny;
}

std::string CUpdateEntry::ParsePackages(const std::string& text)
{
    // Trimmed at both ends: " * " means every package too. ASCII case rules, so that the names
    // of list and settings match under any process locale.
    const std::string packages = Platform::AsciiLowerText(Platform::TrimAsciiBlanks(text));
    return packages.empty() || packages == "*" ? "all" : packages;
}
