#include "Platform/ProgramFolder.h"
#include "Renovix/RenovixLib/DownloadProgress.h"
#include "Renovix/RenovixLib/PrivateTempFolder.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "RecordingProgress.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(DownloadProgressTest, OneStepPerKilobyteWhateverThePiecesAre)
{
    const struct {
        size_t bytes;
        int steps;  // a 3000-byte file is read as 1024, 1024 and 952 bytes: counts 1, 2, 2
    } cases[] = {{0, 0}, {1, 1}, {500, 1}, {1023, 1}, {1024, 1}, {1500, 1}, {2048, 2}, {3000, 2}, {10240, 10}};
    for (const auto& c : cases) {
        for (size_t piece : {size_t(1), size_t(7), size_t(1024), size_t(1025), size_t(16384)}) {
            CRecordingProgress observer;
            CDownloadProgress progress(&observer);
            progress.Start("f.txt", 3);
            for (size_t done = 0; done < c.bytes; done += piece)
                progress.Add(std::min(piece, c.bytes - done));
            progress.Finish();
            EXPECT_EQ(observer.Steps(), c.steps) << c.bytes << " bytes in pieces of " << piece;
            EXPECT_EQ(observer.calls.front(), "file f.txt");
            EXPECT_EQ(observer.calls[1], "size 3");
            EXPECT_EQ(observer.calls.back(), "file ");
            EXPECT_EQ(progress.Total(), c.bytes);
        }
    }
    CDownloadProgress silent(nullptr);
    silent.Start("x", 1);
    silent.Add(5000);
    silent.Finish();
}

TEST(RenovixTransferTest, DefaultBoundsFollowTheExpectedSize)
{
    const CRenovixTransfer::SLimits limits;
    const uint64_t MiB = 1 << 20;
    const struct {
        uint64_t expected;
        uint64_t maxBytes;
        long deadline;
    } cases[] = {
        {0, 1024 * MiB, 3600},                             // unknown: the ceiling, an hour
        {3072, 3072 + 768 + MiB, 300},                     // a small file: five minutes
        {100 * MiB, 126 * MiB, 300 + 25600},               // 4 KiB a second on top
        {1000 * MiB, 1024 * MiB, 300 + 256000},            // the margin stops at the ceiling
        {2048 * MiB, 1024 * MiB, 300 + 262144},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CRenovixTransfer::MaxBytes(limits, c.expected), c.maxBytes) << c.expected;
        EXPECT_EQ(CRenovixTransfer::DeadlineSeconds(limits, c.expected), c.deadline) << c.expected;
    }
    // The update list: three minutes.
    EXPECT_EQ(limits.listDeadlineSeconds, 180);
}

TEST(RenovixUrlTest, HttpUrlFromBaseDirOrTemplate)
{
    const struct {
        const char* baseDir;
        const char* extraParams;
        const char* name;
        const char* url;
    } cases[] = {
        {"http://h/updates/", "", "Zephrin.db", "http://h/updates/Zephrin.db"},
        {"http://h/updates/", "", "Reports\\Zephrin 1.rpt", "http://h/updates/Reports/Zephrin%201.rpt"},
        {"http://h/updates/", "", "a#b?c%d", "http://h/updates/a%23b%3Fc%25d"},
        {"http://h/cgi//\\", "/get.php?key=7&file=%s", "list.xml", "http://h/cgi/get.php?key=7&file=list.xml"},
        // The template is no printf format: other '%' signs stay, every "%s" takes the name.
        {"http://h/", "/get?f=%s&w=100%25&%d&again=%s", "x", "http://h/get?f=x&w=100%25&%d&again=x"},
        {"https://H/Case/", "", "x", "https://H/Case/x"},
    };
    for (const auto& c : cases) {
        CRenovixSettings settings;
        settings.baseDir = c.baseDir;
        settings.extraParams = c.extraParams;
        EXPECT_EQ(CRenovix::HttpUrl(settings, c.name), c.url) << c.name;
    }
}

TEST(RenovixUrlTest, FtpServerPortAndPath)
{
    const struct {
        const char* baseDir;
        bool valid;
        const char* server;
        int port;
        const char* path;  // of the file "f.txt"
    } cases[] = {
        {"ftp://files.example.org:2121/pub/zephrin/", true, "files.example.org", 2121, "/pub/zephrin/f.txt"},
        {"files.example.org/pub/", true, "files.example.org", 21, "/pub/f.txt"},
        {"ftp://127.0.0.1/", true, "127.0.0.1", 21, "/f.txt"},
        {"ftp://host:0/", false, "host", 0, "/f.txt"},
        {"ftp://host:70000/", false, "host", 70000, "/f.txt"},
        {"ftp:///pub/", false, "/pub/", 21, "/pub/f.txt"},
    };
    for (const auto& c : cases) {
        std::string server;
        int port = -1;
        EXPECT_EQ(CRenovix::SplitFtpBase(c.baseDir, server, port), c.valid) << c.baseDir;
        EXPECT_EQ(server, c.server) << c.baseDir;
        EXPECT_EQ(port, c.port) << c.baseDir;
        EXPECT_EQ(CRenovix::FtpPath(c.baseDir, "f.txt"), c.path) << c.baseDir;
    }
}

TEST(RenovixUrlTest, RedirectsNeverLeaveHttps)
{
    EXPECT_STREQ(CRenovixTransfer::RedirectProtocols("https://h/x"), "https");
    EXPECT_STREQ(CRenovixTransfer::RedirectProtocols("HTTPS://h/x"), "https");
    EXPECT_STREQ(CRenovixTransfer::RedirectProtocols("http://h/x"), "http,https");
}

TEST(RenovixUrlTest, TempNamesHaveNoSeparators)
{
    EXPECT_EQ(CRenovix::TempName("sub\\dir/file.txt"), "sub-dir-file.txt");
    EXPECT_EQ(CRenovix::TempName("../x"), "..-x");
}

TEST(PrivateTempFolderTest, FilesOfTheFolderOnlyAndGoneWithIt)
{
    std::string folder;
    std::string file;
    {
        CPrivateTempFolder temp("renovix");
        folder = temp.Folder();
        ASSERT_FALSE(folder.empty());
        struct stat info;
        ASSERT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(temp.Folder(), folder);

        int descriptor = temp.CreateFile("f.txt", &file);
        ASSERT_GE(descriptor, 0);
        EXPECT_EQ(write(descriptor, "old", 3), 3);
        close(descriptor);
        EXPECT_EQ(file, folder + "f.txt");
        // Made again, the file starts empty.
        descriptor = temp.CreateFile("f.txt", &file);
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        EXPECT_EQ(ReadWholeFile(file), "");
        for (const char* bad : {"", ".", "..", "a/b"})
            EXPECT_EQ(temp.CreateFile(bad, nullptr), -1) << bad;

        const std::string outside = folder.substr(0, folder.size() - 1) + "x";
        for (const std::string& other : {outside + "/f.txt", folder + "../f.txt", folder + "sub/f.txt",
                                          std::string("/tmp/f.txt"), folder, folder + "."})
            EXPECT_FALSE(temp.Contains(other)) << other;
        EXPECT_TRUE(temp.Contains(file));
        // A file unpacked into the folder by name goes with it too.
        WriteWholeFile(folder + "unpacked", "x");
        EXPECT_FALSE(temp.Remove("/tmp/f.txt"));
        EXPECT_TRUE(temp.Remove(folder + "unpacked"));
        WriteWholeFile(folder + "unpacked", "x");
    }
    EXPECT_EQ(access(file.c_str(), F_OK), -1);
    EXPECT_EQ(access(folder.c_str(), F_OK), -1);
}

TEST(RenovixLocalTest, LocalFileIsTheFileInTheBaseFolder)
{
    CRenovix client;
    CRecordingProgress observer;
    client.SetProgressObserver(&observer);
    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    settings.protocol = RENOVIX_PROTOCOL_FILE;
    settings.baseDir = "/mnt/Share/Updates/";
    ASSERT_TRUE(client.Init(settings));
    EXPECT_EQ(client.GetLocalFile("Reports\\Zephrin.rpt", 12), "/mnt/Share/Updates/Reports/Zephrin.rpt");
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"file Reports\\Zephrin.rpt", "size 12"}));
    EXPECT_FALSE(client.IsTempFile("/mnt/Share/Updates/Reports/Zephrin.rpt"));
    // Without a session nothing is fetched.
    EXPECT_EQ(client.GetHttpFile("x", 1), "");
    EXPECT_EQ(client.GetFtpFile("x", 1), "");
    EXPECT_TRUE(client.Close());
}

TEST(RenovixLocalTest, InitRefusesProtocolsItDoesNotKnow)
{
    CRenovix client;
    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    for (int protocol : {0, 4, -1}) {
        settings.protocol = protocol;
        EXPECT_FALSE(client.Init(settings)) << protocol;
        EXPECT_EQ(client.GetSettings().protocol, protocol);
    }
    settings.protocol = RENOVIX_PROTOCOL_FTP;
    settings.baseDir = "ftp://host:99999/";
    EXPECT_FALSE(client.Init(settings));
}

TEST(RenovixLocalTest, BaseDirSkipsBuildFoldersAndKeepsCase)
{
    const struct {
        const char* program;
        const char* baseDir;
    } cases[] = {
        {"/opt/Zephrin/bin/TAMBEL", "/opt/Zephrin/bin/"},
        {"/opt/Zephrin/Release/TAMBEL", "/opt/Zephrin/"},
        {"/opt/Zephrin/DEBUG/TAMBEL", "/opt/Zephrin/"},
        {"/opt/Zephrin/Debug/Release/TAMBEL", "/opt/Zephrin/Debug/"},
        {"/opt/Zephrin/release/Debug/TAMBEL", "/opt/Zephrin/"},
        {"/opt/MyDebug/TAMBEL", "/opt/MyDebug/"},
    };
    for (const auto& c : cases) {
        Platform::SetProgramPathForTesting(c.program);
        EXPECT_EQ(CRenovix::GetBaseDir(), c.baseDir) << c.program;
    }
    Platform::SetProgramPathForTesting("");
}

TEST(RenovixLocalTest, Md5AndVersionOfLocalFiles)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("abc"), "abc");
    EXPECT_EQ(CRenovix::GetLocalMd5(folder.Path("abc")), "900150983cd24fb0d6963f7d28e17f72");
    WriteWholeFile(folder.Path("big"), std::string(200000, 'a'));
    EXPECT_EQ(CRenovix::GetLocalMd5(folder.Path("big")).size(), 32u);
    EXPECT_NE(CRenovix::GetLocalMd5(folder.Path("big")), CRenovix::GetLocalMd5(folder.Path("abc")));
    EXPECT_EQ(CRenovix::GetLocalMd5(folder.Path("missing")), "d41d8cd98f00b204e9800998ecf8427e");

    WriteWholeFile(folder.Path("program"), "head" + Platform::VersionRecordBytes(SFileVersion{{2, 1, 0, 7}}) + "tail");
    EXPECT_EQ(CRenovix::GetFileVersion(folder.Path("program")), (SFileVersion{{2, 1, 0, 7}}));
    EXPECT_EQ(CRenovix::GetFileVersion(folder.Path("abc")), SFileVersion());
}

}  // namespace
