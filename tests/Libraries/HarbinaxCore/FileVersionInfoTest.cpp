#include "HarbinaxCore/FileVersionInfo.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A file of its own for each test.
class FileVersionInfo : public ::testing::Test {
protected:
    CTemporaryFolder m_folder;
    const std::string m_path = m_folder.Path("versioned");
};

TEST_F(FileVersionInfo, ReadsTheRecordOfOurBinariesAsFileAndProductVersion)
{
    const SFileVersion version{{3, 1, 400, 7}};
    std::ofstream(m_path, std::ios::binary) << std::string(5000, 'x') << Platform::VersionRecordBytes(version) << "tail";
    const CFileVersionInfo info(m_path.c_str());
    EXPECT_STREQ(m_path.c_str(), info.GetPath());
    EXPECT_EQ(version, info.GetFileVersion());
    EXPECT_EQ(version, info.GetProductVersion());
}

TEST_F(FileVersionInfo, AnyOtherFileHasVersionZero)
{
    std::ofstream(m_path) << "no record here";
    for (const char* path : {m_path.c_str(), "/no/such/file", static_cast<const char*>(nullptr)}) {
        const CFileVersionInfo info(path);
        EXPECT_EQ(SFileVersion(), info.GetFileVersion());
        EXPECT_EQ(SFileVersion(), info.GetProductVersion());
    }
}

TEST_F(FileVersionInfo, KeepsAtMost519CharactersOfThePath)
{
    const std::string longPath = "/" + std::string(600, 'a');
    const CFileVersionInfo info(longPath.c_str());
    EXPECT_EQ(longPath.substr(0, CFileVersionInfo::MaxPath), info.GetPath());
}

TEST_F(FileVersionInfo, TextsNeedABuffer)
{
    const CFileVersionInfo info(m_path.c_str());
    char buffer[8] = "garbage";
    EXPECT_TRUE(info.GetCompanyName(buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
    std::snprintf(buffer, sizeof(buffer), "garbage");
    EXPECT_TRUE(info.GetProductName(buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
    std::snprintf(buffer, sizeof(buffer), "garbage");
    EXPECT_TRUE(info.GetFileDescription(buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
    EXPECT_FALSE(info.GetCompanyName(nullptr, 8));
    EXPECT_FALSE(info.GetProductName(nullptr, 8));
    EXPECT_FALSE(info.GetFileDescription(nullptr, 8));
}

}  // namespace
