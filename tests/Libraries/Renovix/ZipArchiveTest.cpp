#include "DeclaredSize.h"
#include "Platform/AsciiText.h"
#include "Renovix/RenovixLib/RenovixLimits.h"
#include "Renovix/RenovixLib/ZipArchive.h"
#include "Renovix/RenovixLib/ZipReader.h"
#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <vector>

namespace {

// Archives are made while the tests run, by Info-ZIP's zip (Unix-made, with Unix modes and
// "UT" times) and by Python's zipfile (with whatever maker, attributes, names and extra fields
// a case needs).
class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(m_previous, sizeof m_previous), nullptr);
        // Relative destinations are taken under the folder current when an archive is opened.
        ASSERT_EQ(chdir(m_folder.Path("").c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(chdir(m_previous), 0); }

    std::string Path(const std::string& name) const { return m_folder.Path(name); }

    // Runs the Python lines with zipfile imported and z open for writing on path.
    void MakeWithPython(const std::string& path, const std::string& lines)
    {
        const std::string script = Path("make.py");
        WriteWholeFile(script, "import zipfile\nwith zipfile.ZipFile('" + path +
                                   "', 'w', zipfile.ZIP_DEFLATED) as z:\n" + lines);
        ASSERT_EQ(RunTool({"/usr/bin/python3", script}).status, 0) << lines;
    }

    // one.txt (0644), tool.sh (0755), locked.txt (0444) and sub/three.txt, all modified at kTime.
    std::string MakeWithZip()
    {
        const std::string source = Path("source/");
        mkdir(source.c_str(), 0755);
        mkdir((source + "sub").c_str(), 0755);
        const struct {
            const char* name;
            std::string bytes;
            mode_t mode;
        } files[] = {
            {"one.txt", "first item\n", 0644},
            {"tool.sh", "#!/bin/sh\necho tool\n", 0755},
            {"locked.txt", "read only\n", 0444},
            {"sub/three.txt", std::string(40000, 'z'), 0644},
        };
        const utimbuf times{kTime, kTime};
        for (const auto& f : files) {
            WriteWholeFile(source + f.name, f.bytes);
            chmod((source + f.name).c_str(), f.mode);
            utime((source + f.name).c_str(), &times);
        }
        const std::string archive = Path("made-by-zip.zip");
        // zip names the items as they are given, from the folder it runs in.
        EXPECT_EQ(chdir(source.c_str()), 0);
        EXPECT_EQ(RunTool({"zip", "-q", archive, "one.txt", "tool.sh", "locked.txt", "sub/", "sub/three.txt"}).status, 0);
        EXPECT_EQ(chdir(Path("").c_str()), 0);
        return archive;
    }

    static HZIP Open(const std::string& path) { return ZipOpenArchive(path.c_str(), 0, ZIP_KIND_FILE_NAME); }

    static std::string ReadToMemory(HZIP zip, int index, size_t chunk, std::vector<size_t>* pieces = nullptr)
    {
        std::string bytes;
        std::vector<char> buffer(chunk);
        for (;;) {
            size_t written = 99;
            const int result = ZipUnzipItem(zip, index, buffer.data(), buffer.size(), ZIP_KIND_MEMORY, &written);
            bytes.append(buffer.data(), written);
            if (pieces)
                pieces->push_back(written);
            if (result != ZIP_RESULT_MORE) {
                EXPECT_EQ(result, ZIP_RESULT_OK);
                return bytes;
            }
        }
    }

    static constexpr time_t kTime = 1700000000;  // 2023-11-14 22:13:20 UTC

    CTemporaryFolder m_folder;
    char m_previous[4096];
};

TEST_F(ZipArchiveTest, ListsTheItemsOfAnArchiveMadeOnUnix)
{
    HZIP zip = Open(MakeWithZip());
    ASSERT_NE(zip, nullptr);
    ZipItemInfo count;
    ASSERT_EQ(ZipGetItem(zip, -1, count), ZIP_RESULT_OK);
    EXPECT_EQ(count.index, 5);

    const struct {
        const char* name;
        bool readOnly;
        bool directory;
        unsigned mode;
    } expected[] = {
        {"one.txt", false, false, 0644},
        {"tool.sh", false, false, 0755},
        {"locked.txt", true, false, 0444},
        {"sub/", false, true, 0755},
        {"sub/three.txt", false, false, 0644},
    };
    for (int i = 0; i < 5; ++i) {
        ZipItemInfo item;
        ASSERT_EQ(ZipGetItem(zip, i, item), ZIP_RESULT_OK);
        EXPECT_EQ(item.index, i);
        EXPECT_EQ(item.name, expected[i].name);
        EXPECT_EQ((item.attributes & ZIP_ATTRIBUTE_READONLY) != 0, expected[i].readOnly) << item.name;
        EXPECT_EQ(item.IsDirectory(), expected[i].directory) << item.name;
        EXPECT_EQ(item.unixMode, expected[i].mode) << item.name;
        if (!item.IsDirectory()) {
            EXPECT_EQ(item.modificationTime, kTime) << item.name;
        }
    }
    ZipItemInfo item, again;
    ASSERT_EQ(ZipGetItem(zip, 4, item), ZIP_RESULT_OK);
    EXPECT_EQ(item.uncompressedSize, 40000u);
    EXPECT_LT(item.compressedSize, 1000u);
    // Backwards after forwards, and the same item twice.
    ASSERT_EQ(ZipGetItem(zip, 1, again), ZIP_RESULT_OK);
    EXPECT_EQ(again.name, "tool.sh");
    ASSERT_EQ(ZipGetItem(zip, 1, again), ZIP_RESULT_OK);
    EXPECT_EQ(again.name, "tool.sh");
    EXPECT_EQ(ZipGetItem(zip, 5, item), ZIP_RESULT_ARGUMENTS);
    EXPECT_EQ(ZipGetItem(zip, -2, item), ZIP_RESULT_ARGUMENTS);
    EXPECT_EQ(ZipCloseArchive(zip), ZIP_RESULT_OK);
}

TEST_F(ZipArchiveTest, FindsItemsByName)
{
    HZIP zip = Open(MakeWithZip());
    ASSERT_NE(zip, nullptr);
    const struct {
        const char* name;
        bool ignoreCase;
        int index;
    } cases[] = {
        {"sub/three.txt", false, 4}, {"TOOL.SH", true, 1}, {"TOOL.SH", false, -1},
        {"one.txt", false, 0},       {"missing", true, -1}, {"", false, -1},
    };
    for (const auto& c : cases) {
        int index = 77;
        ZipItemInfo item;
        const int result = ZipFindItem(zip, c.name, c.ignoreCase, index, &item);
        EXPECT_EQ(result, c.index < 0 ? ZIP_RESULT_NOT_FOUND : ZIP_RESULT_OK) << c.name;
        EXPECT_EQ(index, c.index) << c.name;
        EXPECT_EQ(item.index, c.index) << c.name;
        if (c.index >= 0) {
            EXPECT_TRUE(Platform::EqualsNoCase(item.name, c.name)) << item.name;
        }
    }
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, ExtractsToFilesUnderTheOpeningFolder)
{
    HZIP zip = Open(MakeWithZip());
    ASSERT_NE(zip, nullptr);
    ASSERT_EQ(chdir("/"), 0);  // the folder current at opening counts, not the one now
    const struct {
        int index;
        const char* destination;
        const char* bytes;
        mode_t mode;
    } cases[] = {
        {0, "sub/dir/file.txt", "first item\n", 0},
        {1, "bin/tool", "#!/bin/sh\necho tool\n", 0755},
        // The read-only source file arrives writable, so a later update can replace it.
        {2, "locked.txt", "read only\n", 0644},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ZipUnzipItem(zip, c.index, const_cast<char*>(c.destination), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
        const std::string target = Path(c.destination);
        EXPECT_EQ(ReadWholeFile(target), c.bytes) << c.destination;
        struct stat info;
        ASSERT_EQ(stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mtime, kTime);
        if (c.mode != 0) {
            EXPECT_EQ(info.st_mode & 0777, c.mode) << c.destination;
        }
    }
    // An existing file is replaced; a folder item makes its folder.
    WriteWholeFile(Path("one.txt"), "old and longer content");
    ASSERT_EQ(ZipUnzipItem(zip, 0, const_cast<char*>("one.txt"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
    EXPECT_EQ(ReadWholeFile(Path("one.txt")), "first item\n");
    ASSERT_EQ(ZipUnzipItem(zip, 3, const_cast<char*>("ignored"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
    struct stat info;
    EXPECT_EQ(stat(Path("sub").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, DestinationsOutsideTheFolderGetNoFolders)
{
    MakeWithZip();
    mkdir(Path("inner").c_str(), 0755);
    ASSERT_EQ(chdir(Path("inner").c_str()), 0);
    HZIP zip = Open(Path("made-by-zip.zip"));
    ASSERT_NE(zip, nullptr);
    const struct {
        const char* destination;
        int result;
    } cases[] = {
        {"../up/x.txt", ZIP_RESULT_NO_FILE},
        {"a/../../up/x.txt", ZIP_RESULT_NO_FILE},
        {"C:/up/x.txt", ZIP_RESULT_NO_FILE},
        // Here a backslash is part of a file name, not a separator.
        {"..\\up\\x.txt", ZIP_RESULT_OK},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZipUnzipItem(zip, 0, const_cast<char*>(c.destination), 0, ZIP_KIND_FILE_NAME), c.result)
            << c.destination;
        EXPECT_EQ(access(Path("up").c_str(), F_OK), -1) << c.destination;
        EXPECT_EQ(access(Path("inner/C:").c_str(), F_OK), -1) << c.destination;
    }
    EXPECT_EQ(ReadWholeFile(Path("inner/..\\up\\x.txt")), "first item\n");
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, FolderItemsWithUnsafeNamesAreRefused)
{
    const std::string archive = Path("unsafe.zip");
    MakeWithPython(archive,
                   "    for name in ['../evil/', '/tmp/zephrin-evil/', 'C:\\\\evil\\\\', 'a\\\\..\\\\..\\\\evil/',\n"
                   "                 'ok/../../evil/', 'fine/deeper/']:\n"
                   "        info = zipfile.ZipInfo(name)\n"
                   "        info.external_attr = 0x10\n"
                   "        z.writestr(info, b'')\n");
    mkdir(Path("inner").c_str(), 0755);
    ASSERT_EQ(chdir(Path("inner").c_str()), 0);
    HZIP zip = Open(archive);
    ASSERT_NE(zip, nullptr);
    for (int i = 0; i < 5; ++i) {
        ZipItemInfo item;
        ASSERT_EQ(ZipGetItem(zip, i, item), ZIP_RESULT_OK);
        EXPECT_TRUE(item.IsDirectory()) << item.name;
        EXPECT_EQ(ZipUnzipItem(zip, i, const_cast<char*>("x"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_NO_FILE) << item.name;
    }
    EXPECT_EQ(access(Path("evil").c_str(), F_OK), -1);
    EXPECT_EQ(access("/tmp/zephrin-evil", F_OK), -1);
    EXPECT_EQ(ZipUnzipItem(zip, 5, const_cast<char*>("x"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
    EXPECT_EQ(access(Path("inner/fine/deeper").c_str(), F_OK), 0);
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, SafeRelativePaths)
{
    const struct {
        const char* path;
        bool safe;
    } cases[] = {
        {"a", true},          {"a/b/c.txt", true}, {"a/./b/", true},      {"..a/b..", true},
        {"", false},          {"../x", false},     {"a/../../x", false},  {"a/..", false},
        {"/etc/x", false},    {"C:\\x", false},    {"c:x", false},        {"a\\b", false},
        {"..", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZipReader::IsSafeRelativePath(c.path), c.safe) << c.path;
}

TEST_F(ZipArchiveTest, DosMadeItemsAreReadOnlyOnlyWhenMarkedSo)
{
    const std::string archive = Path("dos.zip");
    MakeWithPython(archive,
                   "    for name, attributes in [('plain.txt', 0x20), ('marked.txt', 0x21)]:\n"
                   "        info = zipfile.ZipInfo(name, (2024, 3, 5, 10, 20, 30))\n"
                   "        info.create_system = 0\n"
                   "        info.external_attr = attributes\n"
                   "        z.writestr(info, b'dos bytes')\n");
    HZIP zip = Open(archive);
    ASSERT_NE(zip, nullptr);
    const struct {
        const char* name;
        unsigned long attributes;
    } expected[] = {
        {"plain.txt", ZIP_ATTRIBUTE_NORMAL | ZIP_ATTRIBUTE_ARCHIVE},
        {"marked.txt", ZIP_ATTRIBUTE_NORMAL | ZIP_ATTRIBUTE_ARCHIVE | ZIP_ATTRIBUTE_READONLY},
    };
    for (int i = 0; i < 2; ++i) {
        ZipItemInfo item;
        ASSERT_EQ(ZipGetItem(zip, i, item), ZIP_RESULT_OK);
        EXPECT_EQ(item.name, expected[i].name);
        EXPECT_EQ(item.attributes, expected[i].attributes) << item.name;
        EXPECT_EQ(item.unixMode, 0u);
        // No "UT" block: the DOS time, a local time, stands for all three.
        std::tm tm{};
        localtime_r(&item.modificationTime, &tm);
        EXPECT_EQ(tm.tm_year, 124);
        EXPECT_EQ(tm.tm_hour, 10);
        EXPECT_EQ(tm.tm_sec, 30);
        EXPECT_EQ(item.accessTime, item.modificationTime);

        ASSERT_EQ(ZipUnzipItem(zip, i, const_cast<char*>(item.name.c_str()), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
        EXPECT_EQ(access(Path(item.name).c_str(), W_OK), 0) << item.name;
        struct stat info;
        ASSERT_EQ(stat(Path(item.name).c_str(), &info), 0);
        EXPECT_NE(info.st_mode & S_IWUSR, 0u) << item.name;
    }
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, ArchiveModesNeverOpenTheFileToOthers)
{
    const std::string archive = Path("modes.zip");
    MakeWithPython(archive,
                   "    for name, mode in [('open.txt', 0o100777), ('link', 0o120777), ('group.sh', 0o100775),\n"
                   "                       ('sticky', 0o107755)]:\n"
                   "        info = zipfile.ZipInfo(name)\n"
                   "        info.create_system = 3\n"
                   "        info.external_attr = mode << 16\n"
                   "        z.writestr(info, b'x')\n");
    HZIP zip = Open(archive);
    ASSERT_NE(zip, nullptr);
    for (int i = 0; i < 4; ++i) {
        ZipItemInfo item;
        ASSERT_EQ(ZipGetItem(zip, i, item), ZIP_RESULT_OK);
        ASSERT_EQ(ZipUnzipItem(zip, i, const_cast<char*>(item.name.c_str()), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_OK);
        struct stat info;
        ASSERT_EQ(lstat(Path(item.name).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << item.name;
        EXPECT_EQ(info.st_mode & 07777, 0755u) << item.name;
    }
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, ItemsGiveNeitherMoreNorLessThanTheyDeclareAndNeverPassTheCeiling)
{
    const std::string made = Path("sized.zip");
    const uint32_t size = 256 * 1024;
    MakeWithPython(made, "    z.writestr('data.bin', bytes(range(256)) * 1024)\n");
    const struct {
        const char* name;
        uint64_t declared;
        int result;
    } cases[] = {
        {"as declared", size, ZIP_RESULT_OK},
        {"fewer bytes than declared", size + 100, ZIP_RESULT_WRITE},
        {"more bytes than declared", 1000, ZIP_RESULT_WRITE},
        {"declared beyond the ceiling", kRenovixFileCeiling + 1, ZIP_RESULT_MISSIZE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = ReadWholeFile(made);
        DeclareSize(bytes, static_cast<uint32_t>(c.declared));
        WriteWholeFile(Path("lying.zip"), bytes);
        WriteWholeFile(Path("data.bin"), "old");
        HZIP zip = Open(Path("lying.zip"));
        ASSERT_NE(zip, nullptr);
        ZipItemInfo item;
        ASSERT_EQ(ZipGetItem(zip, 0, item), ZIP_RESULT_OK);
        EXPECT_EQ(item.uncompressedSize, c.declared);
        EXPECT_EQ(ZipUnzipItem(zip, 0, const_cast<char*>("data.bin"), 0, ZIP_KIND_FILE_NAME), c.result);
        EXPECT_EQ(ReadWholeFile(Path("data.bin")).size(), c.result == ZIP_RESULT_OK ? size : 3u);
        const int output = open(Path("out.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(ZipUnzipItem(zip, 0, const_cast<int*>(&output), 0, ZIP_KIND_DESCRIPTOR), c.result);
        close(output);
        ZipCloseArchive(zip);
    }
}

TEST_F(ZipArchiveTest, ExtraFieldsAreReadWithTheirFullSizeAndWithinBounds)
{
    const std::string archive = Path("extra.zip");
    // A block of 300 bytes before the "UT" block: its size does not fit in one byte. Then "UT"
    // blocks that claim more times or more bytes than they hold.
    MakeWithPython(archive,
                   "    import struct\n"
                   "    ut = lambda flags, *t: b'UT' + struct.pack('<HB', 1 + 4 * len(t), flags) + b''.join(struct.pack('<I', x) for x in t)\n"
                   "    cases = [\n"
                   "        ('big.txt', b'XX' + struct.pack('<H', 300) + bytes(300) + ut(7, 1600000000, 1600000100, 1600000200)),\n"
                   "        ('short.txt', ut(7, 1600000000)),\n"
                   "        ('lying.txt', b'UT' + struct.pack('<HB', 200, 1) + struct.pack('<I', 1600000000)),\n"
                   "        ('cut.txt', b'XX' + struct.pack('<H', 2)),\n"
                   "    ]\n"
                   "    for name, extra in cases:\n"
                   "        info = zipfile.ZipInfo(name, (2024, 3, 5, 10, 20, 30))\n"
                   "        info.extra = extra\n"
                   "        z.writestr(info, b'x')\n");
    HZIP zip = Open(archive);
    ASSERT_NE(zip, nullptr);
    ZipItemInfo item;
    ASSERT_EQ(ZipGetItem(zip, 0, item), ZIP_RESULT_OK);
    EXPECT_EQ(item.modificationTime, 1600000000);
    EXPECT_EQ(item.accessTime, 1600000100);
    EXPECT_EQ(item.creationTime, 1600000200);
    // Only the times that lie inside the block are taken.
    ASSERT_EQ(ZipGetItem(zip, 1, item), ZIP_RESULT_OK);
    EXPECT_EQ(item.modificationTime, 1600000000);
    EXPECT_EQ(item.accessTime, item.creationTime);
    EXPECT_NE(item.accessTime, 1600000000);
    for (int i : {2, 3}) {
        ASSERT_EQ(ZipGetItem(zip, i, item), ZIP_RESULT_OK);
        EXPECT_EQ(item.modificationTime, item.accessTime) << item.name;
        EXPECT_NE(item.modificationTime, 1600000000) << item.name;
    }
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, ExtractsToMemoryInPiecesAndReportsTheirSize)
{
    HZIP zip = Open(MakeWithZip());
    ASSERT_NE(zip, nullptr);
    std::vector<size_t> pieces;
    EXPECT_EQ(ReadToMemory(zip, 4, 16384, &pieces), std::string(40000, 'z'));
    EXPECT_EQ(pieces, (std::vector<size_t>{16384, 16384, 7232, 0}));
    // A query in between closes the item; the next read starts it again.
    char buffer[4];
    size_t written = 0;
    EXPECT_EQ(ZipUnzipItem(zip, 0, buffer, sizeof buffer, ZIP_KIND_MEMORY, &written), ZIP_RESULT_MORE);
    EXPECT_EQ(std::string(buffer, written), "firs");
    ZipItemInfo item;
    ZipGetItem(zip, 1, item);
    EXPECT_EQ(ReadToMemory(zip, 0, 5), "first item\n");
    EXPECT_EQ(ZipUnzipItem(zip, 9, buffer, sizeof buffer, ZIP_KIND_MEMORY, &written), ZIP_RESULT_ARGUMENTS);
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, ReadsFromMemoryAndFromADescriptorInTheMiddleOfAFile)
{
    const std::string archive = ReadWholeFile(MakeWithZip());
    HZIP zip = ZipOpenArchive(archive.data(), archive.size(), ZIP_KIND_MEMORY);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ReadToMemory(zip, 1, 64), "#!/bin/sh\necho tool\n");
    ZipCloseArchive(zip);

    const std::string prefix = "bytes before the archive";
    WriteWholeFile(Path("embedded.bin"), prefix + archive);
    const int descriptor = open(Path("embedded.bin").c_str(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(lseek(descriptor, static_cast<off_t>(prefix.size()), SEEK_SET), static_cast<off_t>(prefix.size()));
    zip = ZipOpenArchive(&descriptor, 0, ZIP_KIND_DESCRIPTOR);
    ASSERT_NE(zip, nullptr);
    const int output = open(Path("out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(ZipUnzipItem(zip, 4, const_cast<int*>(&output), 0, ZIP_KIND_DESCRIPTOR), ZIP_RESULT_OK);
    close(output);
    EXPECT_EQ(ReadWholeFile(Path("out.txt")), std::string(40000, 'z'));
    ZipCloseArchive(zip);
    // Reading never moved the caller's own file position.
    EXPECT_EQ(lseek(descriptor, 0, SEEK_CUR), static_cast<off_t>(prefix.size()));
    close(descriptor);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_EQ(ZipOpenArchive(&pipeEnds[0], 0, ZIP_KIND_DESCRIPTOR), nullptr);
    EXPECT_EQ(ZipFormatResult(1, nullptr, 0), std::string("Zip-bug: trying to seek the unseekable").size());
    close(pipeEnds[0]);
    close(pipeEnds[1]);
}

TEST_F(ZipArchiveTest, DamagedArchivesFailWithoutLeavingFiles)
{
    const std::string whole = ReadWholeFile(MakeWithZip());
    WriteWholeFile(Path("truncated.zip"), whole.substr(0, whole.size() / 2));
    EXPECT_EQ(Open(Path("truncated.zip")), nullptr);
    EXPECT_EQ(ZipOpenArchive(whole.data(), whole.size() / 2, ZIP_KIND_MEMORY), nullptr);
    char text[64];
    for (const char* name : {"missing.zip", "source"}) {
        EXPECT_EQ(Open(Path(name)), nullptr) << name;
        ZipFormatResult(1, text, sizeof text);
        EXPECT_STREQ(text, "Couldn't create/open file") << name;
    }

    // Bytes of the compressed data changed: the checksum no longer matches.
    const std::string archive = Path("damaged.zip");
    MakeWithPython(archive, "    z.writestr('data.bin', bytes(range(256)) * 64)\n");
    std::string bytes = ReadWholeFile(archive);
    const size_t data = 30 + 8 + 40;  // inside the deflate stream of the first item
    for (size_t i = data; i < data + 8; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    WriteWholeFile(archive, bytes);
    HZIP zip = Open(archive);
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipUnzipItem(zip, 0, const_cast<char*>("data.bin"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_WRITE);
    EXPECT_EQ(access(Path("data.bin").c_str(), F_OK), -1);
    std::vector<char> buffer(1 << 16);
    int result;
    size_t written;
    while ((result = ZipUnzipItem(zip, 0, buffer.data(), buffer.size(), ZIP_KIND_MEMORY, &written)) == ZIP_RESULT_MORE) {
    }
    EXPECT_EQ(result, ZIP_RESULT_FLATE);
    ZipCloseArchive(zip);
}

TEST_F(ZipArchiveTest, HandlesAndArgumentsAreChecked)
{
    ZipItemInfo item;
    int index;
    EXPECT_EQ(ZipGetItem(nullptr, 0, item), ZIP_RESULT_ARGUMENTS);
    ZipArchiveHandle foreign{2, nullptr};
    EXPECT_EQ(ZipGetItem(&foreign, 0, item), ZIP_RESULT_MIXED_MODES);
    EXPECT_EQ(ZipFindItem(&foreign, "x", false, index, &item), ZIP_RESULT_MIXED_MODES);
    EXPECT_EQ(ZipCloseArchive(nullptr), ZIP_RESULT_ARGUMENTS);
    EXPECT_EQ(ZipOpenArchive("x", 1, 7), nullptr);
    HZIP zip = Open(MakeWithZip());
    ASSERT_NE(zip, nullptr);
    EXPECT_EQ(ZipUnzipItem(zip, 0, nullptr, 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_ARGUMENTS);
    EXPECT_EQ(ZipUnzipItem(zip, 5, const_cast<char*>("x"), 0, ZIP_KIND_FILE_NAME), ZIP_RESULT_ARGUMENTS);
    EXPECT_EQ(ZipUnzipItem(zip, 0, const_cast<char*>("x"), 0, 9), ZIP_RESULT_ARGUMENTS);
    ZipCloseArchive(zip);
}

TEST(ZipResultTextTest, TextsAreCutToTheBufferAndTheirLengthReturned)
{
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(ZipFormatResult(0x100, buffer, 8), 24u);
    EXPECT_STREQ(buffer, "Culdn't");
    EXPECT_EQ(ZipFormatResult(0x600, buffer, 0), 24u);
    EXPECT_STREQ(buffer, "Culdn't");
    char text[64];
    EXPECT_EQ(ZipFormatResult(0x1234, text, sizeof text), 23u);
    EXPECT_STREQ(text, "unknown zip result code");
    ZipFormatResult(0, text, sizeof text);
    EXPECT_STREQ(text, "Success");
}

}  // namespace
