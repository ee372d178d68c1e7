#include "Harbinax/AppFolder.h"
#include "Harbinax/FileVersion.h"
#include "Harbinax/Harbinax.h"
#include "HarbinaxTestSupport.h"
#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(FileVersion, ComparesTheFirstDepthWordsFromMajorDown)
{
    const SFileVersion program = SFileVersion{{1, 2, 3, 4}};
    EXPECT_EQ(1, CompareFileVersions(SFileVersion{{1, 2, 3, 5}}, program, 4));
    EXPECT_EQ(0, CompareFileVersions(SFileVersion{{1, 2, 3, 5}}, program, 3));
    EXPECT_EQ(-1, CompareFileVersions(SFileVersion{{1, 2, 2, 9}}, program, 3));
    // Word by word: a higher minor never outweighs a lower major.
    EXPECT_EQ(1, CompareFileVersions(SFileVersion{{2, 0, 0, 0}}, SFileVersion{{1, 65535, 65535, 65535}}, 4));
    EXPECT_EQ(-1, CompareFileVersions(SFileVersion{{1, 0, 0, 0}}, SFileVersion{{1, 1, 0, 0}}, 2));
    EXPECT_EQ(0, CompareFileVersions(SFileVersion{{1, 0, 0, 0}}, SFileVersion{{1, 1, 0, 0}}, 1));
    for (const int depth : {0, 5, -1}) {
        EXPECT_EQ(0, CompareFileVersions(SFileVersion{{9, 9, 9, 9}}, SFileVersion{{1, 0, 0, 0}}, depth)) << depth;
    }
}

TEST(FileVersion, VersionStringOfFilesWithAndWithoutRecord)
{
    CTemporaryFolder folder;
    const std::string plain = folder.Path("plain.txt");
    WriteWholeFile(plain, "no version here");
    EXPECT_EQ("0.0.0.0", CHarbinax::GetVersionString(plain));
    EXPECT_EQ("0.0.0.0", CHarbinax::GetVersionString(folder.Path("missing")));

    const std::string versioned = folder.Path("versioned.bin");
    WriteWholeFile(versioned, "head" + VersionRecord(65535, 0, 12, 7) + "tail");
    EXPECT_EQ("65535.0.12.7", CHarbinax::GetVersionString(versioned));

    // This test program carries the record 1.2.3.4: in memory and in its file.
    EXPECT_EQ("1.2.3.4", CHarbinax::GetVersionString());
    EXPECT_EQ("1.2.3.4", CHarbinax::GetVersionString(Platform::GetProgramPath()));
}

TEST(AppFolder, ParentOnlyWhenTheFolderIsNamedDebugOrRelease)
{
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"/opt/Sizing/Release/Zephrin", "/opt/Sizing/"},
        {"/opt/Sizing/Zephrin", "/opt/Sizing/"},
        {"/opt/Sizing/DEBUG/Zephrin", "/opt/Sizing/"},
        {"/opt/Sizing/debug/Zephrin", "/opt/Sizing/"},
        {"/opt/MyDebugTools/Zephrin", "/opt/MyDebugTools/"},
        {"/opt/releases/Zephrin", "/opt/releases/"},
        {"/opt/Release-1/Zephrin", "/opt/Release-1/"},
        {"/debug/Sizing/Zephrin", "/debug/Sizing/"},  // only the program's own folder counts
        {"/Release/Zephrin", "/"},
        {"/Zephrin", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.folder, InstallFolderOf(c.program)) << c.program;
}

}  // namespace
