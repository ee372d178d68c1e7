// File versions. Each of our binaries carries a version record (zephrin_add_version_record in
// cmake/ZephrinResources.cmake); any other file has version 0.0.0.0.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Everything a version record may carry beside the file version. A record without texts (as
// older ones are) has the file version as its product version, zero fields and empty texts.
struct SVersionRecord {
    static constexpr std::size_t MaxText = 519;  // characters kept of each text

    SFileVersion fileVersion;
    SFileVersion productVersion;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::string companyName;
    std::string productName;
    std::string fileDescription;
};

namespace Platform {

using ::SFileVersion;
using ::SVersionRecord;

// Version of the file at path, found by scanning its bytes for the record. False, with
// out = 0.0.0.0, for a file without a record or one that cannot be read.
bool ReadFileVersion(const std::string& path, SFileVersion& out);

// The whole record of the file; false, with an empty record, as ReadFileVersion.
bool ReadVersionRecord(const std::string& path, SVersionRecord& out);

// The bytes of a version record as zephrin_add_version_record compiles them in, for writing
// files that carry a version (the updater's tests compare such files): the file version only,
// or everything the record carries (texts longer than MaxText are cut).
std::string VersionRecordBytes(const SFileVersion& version);
std::string VersionRecordBytes(const SVersionRecord& record);

// Version compiled into the running program (0.0.0.0 without a record). Read from memory, so
// it stays right after the self-updater has replaced the program file.
SFileVersion GetProgramVersion();
// The whole record compiled into the running program; an empty one without a record.
SVersionRecord GetProgramVersionRecord();

}  // namespace Platform
