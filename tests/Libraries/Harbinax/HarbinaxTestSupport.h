// Helpers shared by the application-base tests.
#pragma once

#include "Harbinax/ResourceBundle.h"
#include "Platform/VersionInfo.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The version record as the build compiles it into a binary.
inline std::string VersionRecord(unsigned short major, unsigned short minor, unsigned short build,
                                 unsigned short revision)
{
    return Platform::VersionRecordBytes(SFileVersion{{major, minor, build, revision}});
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
