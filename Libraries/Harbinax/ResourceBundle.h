// A resource bundle file: resources of the program in another language, kept beside the
// program as "<program folder><program name>_<language code>.res" (see SatelliteResources.h).
//
// File form (binary-safe, every count in decimal):
//   ZEPHRIN-RESOURCE-BUNDLE 1\n
//   then per resource: <type> <key> <byte count>\n<bytes>\n
//   END\n
// <key> is '#' and a decimal id ("#139") or a name; type and name hold no blanks or control
// characters and compare without regard to ASCII case, as in the program's resource registry.
// Like every file of ours a bundle carries a version record (Platform/VersionInfo.h); it sits
// in the resource of type "VERSION", key "#1", so the version reader finds it in the file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

class CResourceBundle {
public:
    struct SEntry {
        std::string type;
        std::string key;  // "#<id>" or a name
        std::string bytes;
    };

    // Replaces what was loaded. False, with a reason in error and nothing loaded, for a file
    // that cannot be read or is not a well-formed bundle.
    bool Load(const std::string& path, std::string& error);

    // The bytes stay valid while the bundle lives and is not loaded again; a zero byte follows
    // them that bytes.size() does not count.
    bool Find(const std::string& type, int id, std::string_view& bytes) const;
    bool Find(const std::string& type, const std::string& name, std::string_view& bytes) const;

    // Writes a bundle (replacing the file atomically). False for an unwritable file or an entry
    // whose type or key does not fit the file form.
    static bool Write(const std::string& path, const std::vector<SEntry>& entries, std::string& error);

private:
    // Upper-case type and key; a numeric key is kept in its canonical "#<id>" form.
    using SKey = std::tuple<std::string, std::string>;
    static bool MakeKey(const std::string& type, const std::string& key, SKey& out);

    std::map<SKey, std::string> m_entries;
};
