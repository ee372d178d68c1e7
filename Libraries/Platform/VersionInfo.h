// File versions. Each of our binaries carries a version record (zephrin_add_version_record in
// cmake/ZephrinResources.cmake); any other file has version 0.0.0.0.
#pragma once

#include <string>

// Four 16-bit words: major, minor, build, revision.
struct SFileVersion {
    unsigned short part[4] = {0, 0, 0, 0};

    bool operator==(const SFileVersion& other) const
    {
        return part[0] == other.part[0] && part[1] == other.part[1] && part[2] == other.part[2] &&
               part[3] == other.part[3];
    }
    bool operator!=(const SFileVersion& other) const { return !(*this == other); }
};

namespace Platform {

using ::SFileVersion;

// Version of the file at path, found by scanning its bytes for the record. False, with
// out = 0.0.0.0, for a file without a record or one that cannot be read.
bool ReadFileVersion(const std::string& path, SFileVersion& out);

// The bytes of a version record as zephrin_add_version_record compiles them in, for writing
// files that carry a version (the updater's tests compare such files).
std::string VersionRecordBytes(const SFileVersion& version);

// Version compiled into the running program (0.0.0.0 without a record). Read from memory, so
// it stays right after the self-updater has replaced the program file.
SFileVersion GetProgramVersion();

}  // namespace Platform
