#include "Platform/VersionInfo.h"

#include "Platform/ProgramFolder.h"
#include "PlatformTestSupport.h"

namespace {

SFileVersion Version(unsigned short a, unsigned short b, unsigned short c, unsigned short d)
{
    SFileVersion version;
    version.part[0] = a;
    version.part[1] = b;
    version.part[2] = c;
    version.part[3] = d;
    return version;
}

std::string Text(const SFileVersion& v)
{
    return std::to_string(v.part[0]) + "." + std::to_string(v.part[1]) + "." + std::to_string(v.part[2]) + "." +
           std::to_string(v.part[3]);
}

// The test program is built with record 1.2.3.4 (see CMakeLists.txt).
TEST(VersionInfoTest, ProgramBuiltWithARecord)
{
    EXPECT_EQ(Text(Platform::GetProgramVersion()), "1.2.3.4");
    SFileVersion version;
    ASSERT_TRUE(Platform::ReadFileVersion(Platform::GetProgramPath(), version));
    EXPECT_EQ(Text(version), "1.2.3.4");
}

// PlatformProbe links the reader but has no record: the reader's own code must not be taken
// for one.
TEST(VersionInfoTest, FilesWithoutRecordAreVersionZero)
{
    const std::string files[] = {Platform::GetProgramFolder() + "PlatformProbe", TestDataFile("AllBytes.bin"),
                                 TestDataFile("Empty.txt"), TestDataFile("missing.file")};
    for (const std::string& file : files) {
        SFileVersion version = Version(9, 9, 9, 9);
        EXPECT_FALSE(Platform::ReadFileVersion(file, version)) << file;
        EXPECT_EQ(Text(version), "0.0.0.0") << file;
    }
}

TEST(VersionInfoTest, RecordAnywhereInAFile)
{
    const SFileVersion wanted = Version(65535, 0, 258, 7);
    const std::string record = Platform::VersionRecordBytes(wanted);
    ASSERT_EQ(record.size(), 32u);
    std::string spoiled = record;  // marker with a check that does not fit
    spoiled[31] = static_cast<char>(spoiled[31] ^ 1);
    const std::size_t chunk = 1 << 20;  // the reader's block size

    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"only the record", record},
        {"at the end", std::string(1000, 'x') + record},
        {"across a block boundary", std::string(chunk - 13, '\0') + record + "tail"},
        {"right after a block", std::string(chunk, '\0') + record},
        {"after a spoiled one", spoiled + record.substr(0, 20) + record},
    };
    CTemporaryFolder folder;
    for (const auto& c : cases) {
        WriteWholeFile(folder.Path("file"), c.bytes);
        SFileVersion version;
        EXPECT_TRUE(Platform::ReadFileVersion(folder.Path("file"), version)) << c.label;
        EXPECT_EQ(version, wanted) << c.label;
    }

    const std::string broken[] = {spoiled, record.substr(0, 31), std::string(chunk - 16, ' ') + record.substr(0, 31)};
    for (const std::string& bytes : broken) {
        WriteWholeFile(folder.Path("file"), bytes);
        SFileVersion version;
        EXPECT_FALSE(Platform::ReadFileVersion(folder.Path("file"), version)) << bytes.size();
    }
}

// Another process reads this program's record through the probe.
TEST(VersionInfoTest, ReadByAnotherProgram)
{
    EXPECT_EQ(RunCommand({Platform::GetProgramFolder() + "PlatformProbe", "version", Platform::GetProgramPath()}),
              "1 1.2.3.4");
}

}  // namespace
