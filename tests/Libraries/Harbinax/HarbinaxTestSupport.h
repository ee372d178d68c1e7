// Helpers shared by the application-base tests.
#pragma once

#include "../Platform/PlatformTestSupport.h"
#include "Harbinax/ResourceBundle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The version record as the build compiles it into a binary: marker, the four words
// little-endian, the words bit-inverted. The marker is put together at run time so this test
// program does not itself carry a second record.
inline std::string VersionRecord(unsigned major, unsigned minor, unsigned build, unsigned revision)
{
    std::string record = std::string(1, '\x7F') + "ZEPHRIN";
    record += "-FILEVER";
    std::string inverted;
    for (const unsigned word : {major, minor, build, revision}) {
        record += static_cast<char>(word & 0xFF);
        record += static_cast<char>(word >> 8);
        inverted += static_cast<char>(~word & 0xFF);
        inverted += static_cast<char>((~word >> 8) & 0xFF);
    }
    return record + inverted;
}

// A satellite bundle with a version record (none when empty) and the given resources.
inline void WriteSatellite(const std::string& path, const std::string& versionRecord,
                           std::vector<CResourceBundle::SEntry> entries)
{
    if (!versionRecord.empty())
        entries.insert(entries.begin(), {"VERSION", "#1", versionRecord});
    std::string error;
    ASSERT_TRUE(CResourceBundle::Write(path, entries, error)) << error;
}
