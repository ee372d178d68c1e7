// Update runs end to end: a list and its files on a local HTTP server (and in a server folder),
// installed into a temporary program folder; the result bits and what reached the target.
#include "DeclaredSize.h"
#include "Renovix/RenovixLib/Md5Digest.h"
#include "ServerProcess.h"
#include "support/Process.h"
#include "UpdateListFixture.h"

#include <cstdlib>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

constexpr char kOld[] = "old a";
constexpr char kNew[] = "new a, as the list says";

class RenovixUpdateNetTest : public UpdateListFixture {
protected:
    static void SetUpTestSuite()
    {
        s_www = new CTemporaryFolder();
        s_http = new CServerProcess(Script("http_server.py"), {s_www->Path(""), s_www->Path("http.port")},
                                    s_www->Path("http.port"));
    }
    static void TearDownTestSuite()
    {
        delete s_http;
        delete s_www;
    }
    void SetUp() override
    {
        UpdateListFixture::SetUp();
        ASSERT_NE(s_http->Port(), 0) << "the HTTP server did not start";
    }

    // Settings for the HTTP server's folder (ending in '/').
    CRenovixSettings HttpSettings(const std::string& folder) const
    {
        CRenovixSettings settings = FolderSettings();
        settings.protocol = RENOVIX_PROTOCOL_HTTP;
        settings.baseDir = "http://127.0.0.1:" + std::to_string(s_http->Port()) + "/" + folder;
        return settings;
    }

    // A zip archive holding name with bytes, after a folder item when one is named.
    std::string Zip(const std::string& name, const std::string& bytes, const std::string& folderFirst = "")
    {
        const std::string content = m_folder.Path("zip-content");
        const std::string archive = m_folder.Path("archive.zip");
        WriteWholeFile(content, bytes);
        const std::string script = "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED); "
                                   "sys.argv[4] and z.mkdir(sys.argv[4]); z.write(sys.argv[2], sys.argv[3]); z.close()";
        EXPECT_EQ(RunTool({"/usr/bin/python3", "-c", script, archive, content, name, folderFirst}).status, 0);
        return ReadWholeFile(archive);
    }

    static CTemporaryFolder* s_www;
    static CServerProcess* s_http;
};

CTemporaryFolder* RenovixUpdateNetTest::s_www = nullptr;
CServerProcess* RenovixUpdateNetTest::s_http = nullptr;

struct SRunCase {
    const char* name;
    bool overHttp;
    std::map<std::string, std::string> files;  // on the server; the list is "list"
    const char* listName;                       // under which name the server has the list
    std::vector<std::string> entries;
    const char* installed;  // the target before the run, null for none
    int result;
    const char* target;  // the target after the run, null for none
};

TEST_F(RenovixUpdateNetTest, ResultBitsEndToEnd)
{
    const std::string hash = "hash='" + CMd5Digest::Of(kNew) + "'";
    const std::string zipped = Zip("a.txt", kNew);
    const std::string truncated = zipped.substr(0, zipped.size() / 2);
    const std::string folderFirst = Zip("a.txt", kNew, "zephrin-folder-item");
    const char* versioned = "RenovixList.1.0.0.0.xml";
    const std::string replace = "FILE UPDATE_EXISTING IGNORE_VERSION";
    const SRunCase cases[] = {
        {"new file", true, {{"a.txt", kNew}}, versioned, {Entry("a.txt", "", "FILE", hash)}, nullptr,
         CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE, kNew},
        {"empty list", true, {}, versioned, {}, kOld, CRenovix::UPDATE_RESULT_OK, kOld},
        {"list of old name", true, {{"a.txt", kNew}}, "RenovixList.xml", {Entry("a.txt", "", replace, hash)}, kOld,
         CRenovix::UPDATE_RESULT_OK, kNew},
        {"download fails", true, {}, versioned, {Entry("a.txt", "", replace, hash)}, kOld,
         CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_FAILED, kOld},
        {"not the listed file", true, {{"a.txt", "tampered"}}, versioned, {Entry("a.txt", "", replace, hash)}, kOld,
         CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_BROKEN, kOld},
        {"fetched file missing", false, {}, versioned, {Entry("a.txt", "", replace, hash)}, kOld,
         CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_BROKEN, kOld},
        {"zipped", true, {{"sub/a.txt.zip", zipped}}, versioned,
         {Entry("sub\\a.txt", "%CURRENTDIR%", replace + " COMPRESSION_ZIP", hash)}, kOld, CRenovix::UPDATE_RESULT_OK, kNew},
        {"broken zip", true, {{"sub/a.txt.zip", truncated}}, versioned,
         {Entry("sub\\a.txt", "%CURRENTDIR%", replace + " COMPRESSION_ZIP", hash)}, kOld,
         CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_UNZIP_FAILED, kOld},
        {"zip starting with a folder", true, {{"sub/a.txt.zip", folderFirst}}, versioned,
         {Entry("sub\\a.txt", "%CURRENTDIR%", replace + " COMPRESSION_ZIP", hash)}, kOld,
         CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_UNZIP_FAILED, kOld},
        {"outside the program folder", true, {{"a.txt", kNew}},  versioned,
         {Entry("a.txt", "%CURRENTDIR%..\\escaped\\a.txt", "FILE")}, kOld, CRenovix::UPDATE_RESULT_FAILED, kOld},
        {"list missing", true, {{"a.txt", kNew}}, nullptr, {}, kOld, -1, kOld},
    };
    int number = 0;
    for (const SRunCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = "case" + std::to_string(++number) + "/";
        for (const auto& file : c.files)
            Place(s_www->Path(folder + file.first), file.second);
        if (c.listName)
            Place(s_www->Path(folder + c.listName), List(c.entries));
        std::remove(Program("a.txt").c_str());
        if (c.installed)
            WriteWholeFile(Program("a.txt"), c.installed);

        CRenovix client;
        CRenovixSettings settings = FolderSettings();
        settings.protocol = c.overHttp ? RENOVIX_PROTOCOL_HTTP : RENOVIX_PROTOCOL_FILE;
        settings.baseDir = c.overHttp ? "http://127.0.0.1:" + std::to_string(s_http->Port()) + "/" + folder
                                      : s_www->Path(folder);
        ASSERT_TRUE(client.Init(settings));
        const SRenovixTime before = client.GetSettings().nextRun;
        if (c.result < 0) {
            EXPECT_FALSE(client.LoadUpdateList());
        } else {
            ASSERT_TRUE(client.LoadUpdateList());
            EXPECT_EQ(client.GetListFileName(), c.listName);
            EXPECT_EQ(client.UpdateFiles(), c.result);
            // Only a run without failures waits for the next due time.
            EXPECT_EQ(client.GetSettings().nextRun != before, (c.result & CRenovix::UPDATE_RESULT_FAILED) == 0);
        }
        EXPECT_EQ(ReadWholeFile(Program("a.txt")), c.target ? c.target : "");
        EXPECT_EQ(access(m_folder.Path("escaped").c_str(), F_OK), -1);
        EXPECT_EQ(access("zephrin-folder-item", F_OK), -1);
    }
}

// The most memory the process has held so far, in KiB.
long PeakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(RenovixUpdateNetTest, AZipBombIsUnpackedInFlatMemoryAndRefusedPastItsDeclaredSize)
{
    // 1 GiB of zeros, the most an item may give, packed into about 1 MB.
    const uint64_t size = uint64_t(1) << 30;
    const std::string bomb = s_www->Path("bomb/big.bin.zip");
    std::filesystem::create_directories(s_www->Path("bomb"));
    const std::string script = "import sys, zipfile\n"
                               "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:\n"
                               "    with z.open('big.bin', 'w') as f:\n"
                               "        block = bytes(1 << 20)\n"
                               "        for i in range(1024): f.write(block)\n";
    ASSERT_EQ(RunTool({"/usr/bin/python3", "-c", script, bomb}).status, 0);
    std::string lying = ReadWholeFile(bomb);
    DeclareSize(lying, 1 << 20);
    Place(s_www->Path("bomb/lying.bin.zip"), lying);
    Place(s_www->Path("bomb/RenovixList.1.0.0.0.xml"),
          List({Entry("big.bin", "", "FILE COMPRESSION_ZIP"), Entry("lying.bin", "", "FILE COMPRESSION_ZIP")}));

    const long before = PeakMemoryKiB();
    CRenovix client;
    ASSERT_TRUE(client.Init(HttpSettings("bomb/")));
    ASSERT_TRUE(client.LoadUpdateList());
    EXPECT_EQ(client.UpdateFiles(), CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_UNZIP_FAILED |
                                        CRenovix::UPDATE_RESULT_NEW_FILE);
    // Unpacked and installed in pieces: the process grew by far less than the item.
    EXPECT_LT(PeakMemoryKiB() - before, 128 * 1024);
    struct stat info;
    ASSERT_EQ(stat(Program("big.bin").c_str(), &info), 0);
    EXPECT_EQ(static_cast<uint64_t>(info.st_size), size);
    EXPECT_NE(stat(Program("lying.bin").c_str(), &info), 0);
}

TEST_F(RenovixUpdateNetTest, DeliveredSettingsFileIsKept)
{
    const std::string delivered = "<renovix><settings basedir='http://elsewhere/'/></renovix>";
    Place(s_www->Path("settings/Renovix.xml"), delivered);
    Place(s_www->Path("settings/RenovixList.xml"),
          List({Entry("Renovix.xml", "%CURRENTDIR%", "FILE UPDATE_EXISTING IGNORE_VERSION")}));
    WriteWholeFile(Program("Renovix.xml"), "<renovix><settings/></renovix>");
    CRenovix client;
    ASSERT_TRUE(client.Init(HttpSettings("settings/")));
    ASSERT_TRUE(client.LoadUpdateList());
    EXPECT_EQ(client.UpdateFiles(), CRenovix::UPDATE_RESULT_OK);
    EXPECT_TRUE(client.SaveSettingsToFile(client.GetSettings(), Program("Renovix.xml"), false));
    EXPECT_EQ(ReadWholeFile(Program("Renovix.xml")), delivered);
}

}  // namespace
