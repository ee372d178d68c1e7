// Helpers shared by the application-base tests.
#pragma once

#include "Harbinax/ResourceBundle.h"
#include "Platform/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh folder per test (with a trailing '/'), removed afterwards.
class CTestFolder {
public:
    CTestFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "HarbinaxTests.XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern + "/";
        EXPECT_FALSE(m_path.empty()) << "cannot create a temporary folder";
    }
    ~CTestFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

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

// A satellite bundle with a version record and the given resources.
inline void WriteSatellite(const std::string& path, const std::string& versionRecord,
                           std::vector<CResourceBundle::SEntry> entries)
{
    if (!versionRecord.empty())
        entries.insert(entries.begin(), {"VERSION", "#1", versionRecord});
    std::string error;
    ASSERT_TRUE(CResourceBundle::Write(path, entries, error)) << error;
}
