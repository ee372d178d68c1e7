// Downloads against local servers: Python's http.server and a pyftpdlib FTP server on
// 127.0.0.1, each serving a test folder.
#include "Platform/XmlFile.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "RecordingProgress.h"
#include "ServerProcess.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kUser[] = "tester";
constexpr char kPassword[] = "Pass word-1@";

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Folder(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

class RenovixNetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_folder = new CTemporaryFolder();
        const std::string pub = s_folder->Path("www/pub/");
        std::filesystem::create_directories(pub + "sub");
        WriteWholeFile(pub + "three.txt", Pattern(3000));
        WriteWholeFile(pub + "half.txt", Pattern(500));
        WriteWholeFile(pub + "empty.txt", "");
        WriteWholeFile(pub + "sub/four.txt", "four");
        WriteWholeFile(pub + "with blank%.txt", "blank");
        WriteWholeFile(pub + "big.bin", std::string(5 << 20, 'b'));
        WriteWholeFile(pub + "huge.xml", std::string(CXmlFile::kMaxSize + (1 << 20), ' '));
        s_http = new CServerProcess(Script("http_server.py"), {s_folder->Path("www"), s_folder->Path("http.port")},
                                    s_folder->Path("http.port"));
        s_ftp = new CServerProcess(Script("ftp_server.py"),
                                   {s_folder->Path("www"), s_folder->Path("ftp.port"), kUser, kPassword},
                                   s_folder->Path("ftp.port"));
    }
    static void TearDownTestSuite()
    {
        delete s_ftp;
        delete s_http;
        delete s_folder;
    }
    void SetUp() override
    {
        ASSERT_NE(s_http->Port(), 0) << "the HTTP server did not start";
        ASSERT_NE(s_ftp->Port(), 0) << "the FTP server did not start";
        m_client.SetProgressObserver(&m_progress);
    }

    static std::string Pattern(size_t size)
    {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>('a' + i % 26);
        return bytes;
    }

    static CRenovixSettings Settings(int protocol)
    {
        CRenovixSettings settings;
        CRenovixSettings::SetDefaults(settings);
        settings.protocol = protocol;
        settings.userName = kUser;
        settings.password = kPassword;
        const int port = protocol == RENOVIX_PROTOCOL_FTP ? s_ftp->Port() : s_http->Port();
        settings.baseDir = (protocol == RENOVIX_PROTOCOL_FTP ? "ftp" : "http") + std::string("://127.0.0.1:") +
                           std::to_string(port) + "/pub/";
        return settings;
    }

    static CTemporaryFolder* s_folder;
    static CServerProcess* s_http;
    static CServerProcess* s_ftp;
    CRenovix m_client;
    CRecordingProgress m_progress;
};

CTemporaryFolder* RenovixNetTest::s_folder = nullptr;
CServerProcess* RenovixNetTest::s_http = nullptr;
CServerProcess* RenovixNetTest::s_ftp = nullptr;

struct SFileCase {
    const char* name;
    size_t size;
    int steps;
};

// A 3000-byte file counts 1, 2, 2 KB after its three chunks: two steps; 500 bytes one.
const SFileCase kFiles[] = {{"three.txt", 3000, 2}, {"half.txt", 500, 1}};

void ExpectProgress(const CRecordingProgress& progress, const std::string& name, int steps)
{
    std::vector<std::string> expected = {"file " + name, "size 3"};
    expected.insert(expected.end(), steps, "1KB");
    expected.push_back("file ");
    EXPECT_EQ(progress.calls, expected) << name;
}

TEST_F(RenovixNetTest, HttpFilesArriveWithOneStepPerKilobyte)
{
    ASSERT_TRUE(m_client.Init(Settings(RENOVIX_PROTOCOL_HTTP)));
    for (const SFileCase& c : kFiles) {
        m_progress.calls.clear();
        const std::string path = m_client.GetHttpFile(c.name, 3);
        ASSERT_FALSE(path.empty()) << c.name;
        EXPECT_EQ(ReadWholeFile(path), Pattern(c.size));
        EXPECT_TRUE(m_client.IsTempFile(path));
        ExpectProgress(m_progress, c.name, c.steps);
    }
    // An empty file is a file.
    const std::string empty = m_client.GetHttpFile("empty.txt", 0);
    ASSERT_FALSE(empty.empty());
    EXPECT_EQ(ReadWholeFile(empty), "");
    struct stat info;
    ASSERT_EQ(stat(Folder(empty).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // The updater's folder carries its own name.
    const std::string folder = Folder(empty);
    EXPECT_EQ(folder.substr(folder.rfind('/', folder.size() - 2) + 1).rfind("renovix.", 0), 0u) << folder;
}

TEST_F(RenovixNetTest, HttpNamesTemplatesAndRedirects)
{
    CRenovixSettings settings = Settings(RENOVIX_PROTOCOL_HTTP);
    ASSERT_TRUE(m_client.Init(settings));
    const std::string nested = m_client.GetHttpFile("sub\\four.txt", 1);
    EXPECT_EQ(ReadWholeFile(nested), "four");
    EXPECT_EQ(nested.substr(nested.rfind('/') + 1), "sub-four.txt");
    EXPECT_EQ(ReadWholeFile(m_client.GetHttpFile("with blank%.txt", 1)), "blank");
    EXPECT_EQ(ReadWholeFile(m_client.GetHttpFile("redirect-to-file", 3)), Pattern(3000));

    settings.extraParams = "/get.php?file=%s";
    ASSERT_TRUE(m_client.Init(settings));
    EXPECT_EQ(ReadWholeFile(m_client.GetHttpFile("half.txt", 1)), Pattern(500));
}

TEST_F(RenovixNetTest, FailedHttpTransfersLeaveNoFile)
{
    ASSERT_TRUE(m_client.Init(Settings(RENOVIX_PROTOCOL_HTTP)));
    const std::string good = m_client.GetHttpFile("three.txt", 3);
    ASSERT_FALSE(good.empty());
    // Not found, a body shorter than announced, and redirects away from HTTP.
    for (const char* name : {"missing.txt", "truncated", "redirect-to-ftp", "redirect-to-local"}) {
        m_progress.calls.clear();
        EXPECT_EQ(m_client.GetHttpFile(name, 5), "") << name;
        EXPECT_EQ(m_progress.calls.back(), "file ") << name;
    }
    EXPECT_EQ(FilesIn(Folder(good)), std::vector<std::string>{"three.txt"});

    CRenovixSettings closed = Settings(RENOVIX_PROTOCOL_HTTP);
    closed.baseDir = "http://127.0.0.1:1/";
    ASSERT_TRUE(m_client.Init(closed));
    EXPECT_EQ(m_client.GetHttpFile("half.txt", 1), "");
    EXPECT_EQ(FilesIn(Folder(good)), std::vector<std::string>{"three.txt"});
}

// Bounds small enough to see each of them end a transfer within seconds.
CRenovixTransfer::SLimits TestLimits()
{
    CRenovixTransfer::SLimits limits;
    limits.lowSpeedBytesPerSecond = 1024;
    limits.lowSpeedSeconds = 2;
    limits.deadlineSeconds = 2;
    limits.deadlineBytesPerSecond = 1 << 20;
    limits.unknownSizeDeadlineSeconds = 20;
    limits.sizeMarginBytes = 64 * 1024;
    limits.ceilingBytes = 4 << 20;
    return limits;
}

TEST_F(RenovixNetTest, CrawlingLateAndOversizedDownloadsFailAndLeaveNoFile)
{
    m_client.SetTransferLimits(TestLimits());
    ASSERT_TRUE(m_client.Init(Settings(RENOVIX_PROTOCOL_HTTP)));
    const std::string good = m_client.GetHttpFile("three.txt", 1);
    ASSERT_FALSE(good.empty());
    // The trickle ends once it has stayed below the floor for the floor's 2 s, the slow stream at
    // its deadline of 2 s and 1 s for its 1 MiB; a limit that did not hold would take minutes.
    const struct {
        int protocol;
        const char* name;
        int sizeKB;
        int leastMs;  // the time the limit lets the transfer run
    } cases[] = {
        {RENOVIX_PROTOCOL_HTTP, "trickle", 1, 1900},  // two bytes a second: below the floor
        {RENOVIX_PROTOCOL_HTTP, "trickle", 0, 1900},
        {RENOVIX_PROTOCOL_HTTP, "slow", 1024, 2900},  // twenty times the floor, but 1 MiB takes 50 s
        {RENOVIX_PROTOCOL_HTTP, "endless", 0, 0},     // no length announced: ends at the ceiling
        {RENOVIX_PROTOCOL_HTTP, "endless", 16, 0},    // ... or at the list's size and its margin
        {RENOVIX_PROTOCOL_HTTP, "large", 0, 0},       // announced larger than the ceiling
        {RENOVIX_PROTOCOL_HTTP, "large", 1024, 0},
        {RENOVIX_PROTOCOL_FTP, "big.bin", 0, 0},
        {RENOVIX_PROTOCOL_FTP, "big.bin", 1024, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.sizeKB));
        ASSERT_TRUE(m_client.Init(Settings(c.protocol)));
        m_progress.calls.clear();
        const auto start = std::chrono::steady_clock::now();
        const std::string path = c.protocol == RENOVIX_PROTOCOL_FTP ? m_client.GetFtpFile(c.name, c.sizeKB)
                                                                    : m_client.GetHttpFile(c.name, c.sizeKB);
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(path, "");
        EXPECT_GE(took, c.leastMs);
        EXPECT_LT(took, 30000);
        EXPECT_EQ(m_progress.calls.back(), "file ");
        EXPECT_EQ(FilesIn(Folder(good)), std::vector<std::string>{"three.txt"});
    }
    // Within the bounds a file arrives as ever.
    EXPECT_EQ(ReadWholeFile(m_client.GetFtpFile("three.txt", 3)), Pattern(3000));
}

// The update list is no file of unknown size: what the XML reader refuses is not downloaded
// first, and a server that holds it back does not hold the program's start for long.
TEST_F(RenovixNetTest, UpdateListsStopAtTheXmlLimitAndTheirOwnDeadline)
{
    const struct {
        int protocol;
        const char* list;
    } cases[] = {
        {RENOVIX_PROTOCOL_HTTP, "endless"},   // no length announced: ends at the limit
        {RENOVIX_PROTOCOL_HTTP, "huge.xml"},  // announced larger than the limit
        {RENOVIX_PROTOCOL_FTP, "huge.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        CRenovix client;
        CRecordingProgress progress;
        client.SetProgressObserver(&progress);
        ASSERT_TRUE(client.Init(Settings(c.protocol)));
        client.SetListFileName(c.list);
        EXPECT_FALSE(client.LoadUpdateList());
        // The steps of the first list, up to its end; then the list of old, which is missing.
        const auto end = std::find(progress.calls.begin(), progress.calls.end(), "file ");
        ASSERT_NE(end, progress.calls.end());
        EXPECT_LE(std::count(progress.calls.begin(), end, "1KB"), long(CXmlFile::kMaxSize / 1024));
        EXPECT_EQ(client.GetListFileName(), "RenovixList.xml");
    }

    CRenovixTransfer::SLimits limits = TestLimits();
    limits.unknownSizeDeadlineSeconds = 600;
    limits.listDeadlineSeconds = 2;
    m_client.SetTransferLimits(limits);
    ASSERT_TRUE(m_client.Init(Settings(RENOVIX_PROTOCOL_HTTP)));
    // Fast enough for the stall floor, but a minute for the whole list: it ends at the list's
    // 2 s, far from the minute, with room for a loaded machine.
    m_client.SetListFileName("slow");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_client.LoadUpdateList());
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(took, 1900);
    EXPECT_LT(took, 20000);
}

// Both names of the update list share one deadline: a server that crawls above the stall floor
// holds the list step that long in all, the second name getting what the first left.
TEST_F(RenovixNetTest, BothListNamesEndWithinOneDeadline)
{
    const struct {
        const char* first;  // the first name; the list of old, "RenovixList.xml", crawls
        bool secondAsked;
    } cases[] = {
        {"RenovixList.1.0.0.0.xml", false},  // crawls until nothing is left
        {"missing.xml", true},                // answered at once: the rest goes to the second
    };
    CRenovixTransfer::SLimits limits = TestLimits();
    limits.unknownSizeDeadlineSeconds = 600;
    limits.listDeadlineSeconds = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        CRenovix client;
        CRecordingProgress progress;
        client.SetProgressObserver(&progress);
        client.SetTransferLimits(limits);
        CRenovixSettings settings = Settings(RENOVIX_PROTOCOL_HTTP);
        settings.baseDir = "http://127.0.0.1:" + std::to_string(s_http->Port()) + "/crawling/";
        ASSERT_TRUE(client.Init(settings));
        client.SetListFileName(c.first);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(client.LoadUpdateList());
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        // The step lasts the deadline's 3 s; a crawl the deadline did not end would last minutes,
        // and a loaded machine gets room above the 3 s. The second name asked or not tells
        // the shared deadline from one of each name's own.
        EXPECT_GE(took, 2900);
        EXPECT_LT(took, 12000);
        EXPECT_EQ(client.GetListFileName(), "RenovixList.xml");
        EXPECT_EQ(std::count(progress.calls.begin(), progress.calls.end(), "file RenovixList.xml"),
                  c.secondAsked ? 1 : 0)
            << took << " ms: " << ::testing::PrintToString(progress.calls);
    }
}

TEST_F(RenovixNetTest, FtpFilesArriveAfterTheLogin)
{
    ASSERT_TRUE(m_client.Init(Settings(RENOVIX_PROTOCOL_FTP)));
    for (const SFileCase& c : kFiles) {
        m_progress.calls.clear();
        const std::string path = m_client.GetFtpFile(c.name, 3);
        ASSERT_FALSE(path.empty()) << c.name;
        EXPECT_EQ(ReadWholeFile(path), Pattern(c.size));
        ExpectProgress(m_progress, c.name, c.steps);
    }
    const std::string nested = m_client.GetFtpFile("sub\\four.txt", 1);
    EXPECT_EQ(ReadWholeFile(nested), "four");
    EXPECT_EQ(ReadWholeFile(m_client.GetFtpFile("with blank%.txt", 1)), "blank");
    // An empty file and a missing one fail and leave nothing behind.
    EXPECT_EQ(m_client.GetFtpFile("empty.txt", 0), "");
    EXPECT_EQ(m_client.GetFtpFile("missing.txt", 0), "");
    EXPECT_EQ(FilesIn(Folder(nested)), (std::vector<std::string>{"half.txt", "sub-four.txt", "three.txt", "with blank%.txt"}));
    // Downloading again replaces the client's own file.
    EXPECT_EQ(m_client.GetFtpFile("three.txt", 3), Folder(nested) + "three.txt");
}

TEST_F(RenovixNetTest, WrongFtpPasswordFailsInit)
{
    CRenovixSettings settings = Settings(RENOVIX_PROTOCOL_FTP);
    settings.password = "wrong";
    EXPECT_FALSE(m_client.Init(settings));
    EXPECT_EQ(m_client.GetFtpFile("three.txt", 3), "");
    settings.baseDir = "ftp://127.0.0.1:1/pub/";
    settings.password = kPassword;
    EXPECT_FALSE(m_client.Init(settings));
}

TEST_F(RenovixNetTest, DownloadsGoWithTheClient)
{
    std::string path;
    {
        CRenovix client;
        ASSERT_TRUE(client.Init(Settings(RENOVIX_PROTOCOL_HTTP)));
        path = client.GetHttpFile("half.txt", 1);
        ASSERT_FALSE(path.empty());
    }
    EXPECT_EQ(access(path.c_str(), F_OK), -1);
    EXPECT_EQ(access(Folder(path).c_str(), F_OK), -1);
}

}  // namespace
