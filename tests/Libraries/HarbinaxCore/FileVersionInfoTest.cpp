#include "HarbinaxCore/FileVersionInfo.h"
#include "Platform/ProgramFolder.h"
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

SVersionRecord FullRecord()
{
    SVersionRecord record;
    record.fileVersion = {{2, 0, 31, 9}};
    record.productVersion = {{2, 1, 0, 0}};
    record.fileFlags = 0x3F;
    record.fileOs = 0x40004;
    record.fileType = 2;
    record.fileSubtype = 0xFFFFFFFF;
    record.companyName = "Vortex Test Works";
    record.productName = "Zephrin";
    record.fileDescription = std::string(600, 'd');  // cut to 519
    return record;
}

struct STexts {
    std::string company, product, description;
};

STexts Texts(const CFileVersionInfo& info)
{
    char company[600], product[600], description[600];
    info.GetCompanyName(company, sizeof(company));
    info.GetProductName(product, sizeof(product));
    info.GetFileDescription(description, sizeof(description));
    return {company, product, description};
}

// The record may lie anywhere, also across the reader's 1 MB steps, and be followed by anything.
TEST_F(FileVersionInfo, ReadsProductVersionFieldsAndTextsOfAFullRecord)
{
    const std::string bytes = Platform::VersionRecordBytes(FullRecord());
    for (const std::size_t before : {std::size_t(0), std::size_t((1 << 20) - 40), std::size_t((1 << 20) - 10)}) {
        std::ofstream(m_path, std::ios::binary) << std::string(before, 'x') << bytes << "MZ tail";
        const CFileVersionInfo info(m_path.c_str());
        EXPECT_EQ(SFileVersion({{2, 0, 31, 9}}), info.GetFileVersion()) << before;
        EXPECT_EQ(SFileVersion({{2, 1, 0, 0}}), info.GetProductVersion()) << before;
        EXPECT_EQ(0x3Fu, info.GetFileFlags());
        EXPECT_EQ(0x40004u, info.GetFileOs());
        EXPECT_EQ(2u, info.GetFileType());
        EXPECT_EQ(0xFFFFFFFFu, info.GetFileSubtype());
        const STexts texts = Texts(info);
        EXPECT_EQ("Vortex Test Works", texts.company) << before;
        EXPECT_EQ("Zephrin", texts.product);
        EXPECT_EQ(std::string(519, 'd'), texts.description);
    }
    // A short buffer gets the start of the text.
    const CFileVersionInfo info(m_path.c_str());
    char buffer[7];
    EXPECT_TRUE(info.GetCompanyName(buffer, sizeof(buffer)));
    EXPECT_STREQ("Vortex", buffer);
}

// A record of the file version alone, or one whose rest is cut off or does not check, gives the
// file version as product version and no texts.
TEST_F(FileVersionInfo, RecordWithoutAWholeRestHasTheFileVersionOnly)
{
    const std::string full = Platform::VersionRecordBytes(FullRecord());
    std::string corrupt = full;
    corrupt[33] ^= 0x01;  // the length no longer matches its inverse
    for (const std::string& bytes : {Platform::VersionRecordBytes(SFileVersion{{2, 0, 31, 9}}) + std::string(40, '\xFF'),
                                     full.substr(0, full.size() - 5), corrupt}) {
        std::ofstream(m_path, std::ios::binary) << "head" << bytes;
        const CFileVersionInfo info(m_path.c_str());
        EXPECT_EQ(SFileVersion({{2, 0, 31, 9}}), info.GetFileVersion());
        EXPECT_EQ(SFileVersion({{2, 0, 31, 9}}), info.GetProductVersion());
        EXPECT_EQ(0u, info.GetFileType());
        EXPECT_EQ("", Texts(info).company);
    }
}

// Compiled into this test program by its build.
TEST_F(FileVersionInfo, RunningProgramCarriesItsCompiledInRecord)
{
    for (const CFileVersionInfo& info : {CFileVersionInfo::OfRunningProgram(), CFileVersionInfo(Platform::GetProgramPath().c_str())}) {
        EXPECT_EQ(SFileVersion({{5, 6, 7, 8}}), info.GetFileVersion());
        EXPECT_EQ(SFileVersion({{5, 6, 0, 1}}), info.GetProductVersion());
        EXPECT_EQ(1u, info.GetFileFlags());
        EXPECT_EQ(4u, info.GetFileOs());
        EXPECT_EQ(1u, info.GetFileType());
        EXPECT_EQ(0xFFFFFFFFu, info.GetFileSubtype());
        const STexts texts = Texts(info);
        EXPECT_EQ("Vortex Test Works", texts.company);
        EXPECT_EQ("Zephrin sizing", texts.product);
        EXPECT_EQ("Crash report test program – Größe", texts.description);
    }
}

}  // namespace
