#include "HarbinaxCore/FileVersionInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

class FileVersionInfo : public ::testing::Test {
protected:
    void SetUp() override { m_path = ::testing::TempDir() + "versioned-" + std::to_string(::getpid()); }
    void TearDown() override { std::remove(m_path.c_str()); }

    std::string m_path;
};

std::string Record(unsigned short a, unsigned short b, unsigned short c, unsigned short d)
{
    std::string record = "\x7FZEPHRIN-FILEVER";
    const unsigned short words[4] = {a, b, c, d};
    for (int inverted = 0; inverted < 2; ++inverted) {
        for (unsigned short word : words) {
            const unsigned value = inverted ? ~word & 0xFFFFu : word;
            record += static_cast<char>(value & 0xFF);
            record += static_cast<char>(value >> 8);
        }
    }
    return record;
}

TEST_F(FileVersionInfo, ReadsTheRecordOfOurBinariesAsFileAndProductVersion)
{
    std::ofstream(m_path, std::ios::binary) << std::string(5000, 'x') << Record(3, 1, 400, 7) << "tail";
    const CFileVersionInfo info(m_path.c_str());
    EXPECT_STREQ(m_path.c_str(), info.GetPath());
    EXPECT_EQ((SFileVersion{{3, 1, 400, 7}}), info.GetFileVersion());
    EXPECT_EQ((SFileVersion{{3, 1, 400, 7}}), info.GetProductVersion());
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
