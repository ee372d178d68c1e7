// The update run from a server folder into a program folder: the decision per entry, files in
// use, the package filter, the hand-over to the updater, device entries and a killed install.
#include "FolderDevice.h"
#include "Platform/AtomicFile.h"
#include "Renovix/RenovixLib/Md5Digest.h"
#include "Quillet/LogLevel.h"
#include "support/LocaleScope.h"
#include "support/LogCapture.h"
#include "support/Process.h"
#include "support/WaitUntil.h"
#include "UpdateListFixture.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr uid_t kNobody = 65534;

class RenovixUpdateTest : public UpdateListFixture {
protected:
    void TearDown() override
    {
        for (pid_t pid : m_running) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        CAtomicFile::SetHookForTesting(nullptr);
        UpdateListFixture::TearDown();
    }

    // Starts a copy of sleep from path and waits until it runs from there.
    pid_t RunProgramFrom(const std::string& path)
    {
        WriteWholeFile(path, ReadWholeFile("/usr/bin/sleep"));
        chmod(path.c_str(), 0755);
        std::string words[] = {path, "30"};
        char* argv[] = {words[0].data(), words[1].data(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0)
            return -1;
        m_running.push_back(pid);
        const std::string exe = "/proc/" + std::to_string(pid) + "/exe";
        const bool runs = WaitUntil(std::chrono::seconds(30), [&exe, &path] {
            char target[4096] = {};
            return readlink(exe.c_str(), target, sizeof target - 1) > 0 && path == target;
        });
        return runs ? pid : -1;
    }

    void Stop(pid_t pid)
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        m_running.erase(std::find(m_running.begin(), m_running.end(), pid));
    }

    int Run(CRenovix& client, const std::vector<std::string>& entries, const std::string& packages = "all")
    {
        Place(Share("RenovixList.1.0.0.0.xml"), List(entries));
        EXPECT_TRUE(client.Init(FolderSettings(packages)));
        EXPECT_TRUE(client.LoadUpdateList());
        return client.UpdateFiles();
    }

    // Where the client's copies go, shown by a file of its own, "small.txt", fetched there.
    std::string DownloadFolder(CRenovix& client)
    {
        Place(Share("small.txt"), "small");
        const std::string small = client.FetchLocalFile("small.txt", 1);
        EXPECT_TRUE(client.IsTempFile(small));
        return small.substr(0, small.rfind('/') + 1);
    }

    static std::vector<std::string> FilesIn(const std::string& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::vector<pid_t> m_running;
};

// The installed file: "old" with version 1.0.
TEST_F(RenovixUpdateTest, DecisionTable)
{
    const std::string installed = "old" + Platform::VersionRecordBytes(Version(1));
    const std::string installedMd5 = CMd5Digest::Of(installed);
    const struct {
        const char* name;
        bool exists;
        const char* flags;
        unsigned short major;  // of the list's version
        bool sameHash;
        bool needed;
    } cases[] = {
        {"missing", false, "FILE", 1, false, true},
        {"no UPDATE_EXISTING", true, "FILE", 2, false, false},
        {"lower version, same hash", true, "FILE UPDATE_EXISTING", 2, true, false},
        {"lower version, other hash", true, "FILE UPDATE_EXISTING", 2, false, true},
        {"higher version, other hash", true, "FILE UPDATE_EXISTING", 0, false, true},
        {"IGNORE_HASH, lower version", true, "FILE UPDATE_EXISTING IGNORE_HASH", 2, true, true},
        {"IGNORE_HASH, same version", true, "FILE UPDATE_EXISTING IGNORE_HASH", 1, false, false},
        {"IGNORE_VERSION, same hash", true, "FILE UPDATE_EXISTING IGNORE_VERSION", 2, true, false},
        {"IGNORE_VERSION, other hash", true, "FILE UPDATE_EXISTING IGNORE_VERSION", 0, false, true},
        {"both ignored", true, "FILE UPDATE_EXISTING IGNORE_HASH IGNORE_VERSION", 2, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Program("a.bin").c_str());
        if (c.exists)
            WriteWholeFile(Program("a.bin"), installed);
        CUpdateEntry entry;
        entry.source = "a.bin";
        entry.flags = CUpdateEntry::ParseFlags(c.flags);
        entry.version = Version(c.major);
        entry.hash = c.sameHash ? installedMd5 : "0123456789abcdef0123456789abcdef";
        CRenovix client;
        std::string target;
        int result = 0;
        EXPECT_EQ(client.NeedsUpdate(entry, target, result), c.needed);
        EXPECT_EQ(target, Program("a.bin"));
        EXPECT_EQ(result, c.exists ? 0 : CRenovix::UPDATE_RESULT_NEW_FILE);
    }
}

TEST_F(RenovixUpdateTest, RunningProgramsAreInUseAndGoToTheUpdater)
{
    Place(Share("tool"), "new tool");
    Place(Share("helper"), "new helper");
    Place(Share("readme.txt"), "read me");
    const pid_t tool = RunProgramFrom(Program("tool"));
    const pid_t helper = RunProgramFrom(Program("helper"));
    ASSERT_GT(tool, 0);
    ASSERT_GT(helper, 0);
    CRenovix client;
    const int result = Run(client, {Entry("tool", "", "FILE UPDATE_EXISTING", "id='t1'"),
                                    Entry("readme.txt", "%CURRENTDIR%docs\\", "FILE"),
                                    Entry("helper", "", "FILE UPDATE_EXISTING IGNORE_VERSION", "id='h1'")});
    EXPECT_EQ(result, CRenovix::UPDATE_RESULT_HAD_SHARED | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(client.GetLockedFiles("\n"), Program("tool") + "\n" + Program("helper"));
    // A missing folder is made; the files in use stay as they are.
    EXPECT_EQ(ReadWholeFile(Program("docs/readme.txt")), "read me");
    EXPECT_EQ(ReadWholeFile(Program("tool")), ReadWholeFile("/usr/bin/sleep"));

    // The updater, a script that writes down what it got: its arguments, whether it has a
    // session of its own and whether it holds a descriptor the program had open.
    const int inherited = fcntl(open("/dev/null", O_RDONLY), F_DUPFD, 50);
    ASSERT_GE(inherited, 50);
    const std::string updater = m_folder.Path("Renovix updater");
    const std::string record = m_folder.Path("record.txt");
    ASSERT_TRUE(WriteScript(updater, "#!/bin/sh\n"
                                     "{ printf '%s\\n' \"$@\"\n"
                                     "  [ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$$\" ] && echo own-session\n"
                                     "  [ -e /proc/$$/fd/" + std::to_string(inherited) + " ] && echo inherited\n"
                                     "} > '" + record + ".tmp'\n"
                                     "mv '" + record + ".tmp' '" + record + "'\n"));
    const std::string restart = Program("Zephrin with blank");
    ASSERT_TRUE(client.RestartAndUpdate(updater, restart, 10));
    close(inherited);
    EXPECT_EQ(WaitForFile(record, std::chrono::seconds(30)), restart + "\nown-session\n");
    waitpid(-1, nullptr, WNOHANG);
    EXPECT_EQ(ReadWholeFile(Program("SharedFiles.tmp")), "t1\r\nh1\r\n");
    // The updater finds the settings it needs beside the program.
    EXPECT_EQ(client.LoadSettingsFromFile(Program("Renovix.xml")).baseDir, Share(""));

    // The updater's side: waits for the program to end, within limits.
    CRenovix updaterClient;
    ASSERT_TRUE(updaterClient.Init(FolderSettings()));
    ASSERT_TRUE(updaterClient.LoadUpdateList());
    updaterClient.LoadSharedFiles();
    ASSERT_EQ(updaterClient.GetEntries().size(), 2u);
    EXPECT_FALSE(updaterClient.WaitForTargetsFree(150));
    Stop(tool);
    Stop(helper);
    EXPECT_TRUE(updaterClient.WaitForTargetsFree(2000));
    EXPECT_TRUE(CRenovix::DeleteSharedFileList());
    EXPECT_EQ(updaterClient.UpdateFiles(), CRenovix::UPDATE_RESULT_OK);
    EXPECT_EQ(ReadWholeFile(Program("tool")), "new tool");
    EXPECT_EQ(ReadWholeFile(Program("helper")), "new helper");

    // A failed start is reported, and an existing settings file is left alone.
    WriteWholeFile(Program("Renovix.xml"), "<renovix><settings basedir='kept'/></renovix>");
    EXPECT_FALSE(client.RestartAndUpdate(m_folder.Path("no updater"), restart, 0));
    EXPECT_EQ(ReadWholeFile(Program("Renovix.xml")), "<renovix><settings basedir='kept'/></renovix>");
}

TEST_F(RenovixUpdateTest, SharedFileListsNarrowTheEntries)
{
    Place(Share("RenovixList.1.0.0.0.xml"), List({Entry("a.txt", "", "FILE", "id='ida'"),
                                                  Entry("b.txt", "", "FILE", "id='idb'"),
                                                  Entry("c.txt", "", "FILE", "id='idc'")}));
    const struct {
        const char* name;
        const char* file;  // null: no file
        std::vector<std::string> sources;
    } cases[] = {
        {"ids, CR LF", "idc\r\nida\r\n", {"a.txt", "c.txt"}},
        {"ids, LF", "idb\n", {"b.txt"}},
        {"sources of old", "c.txt\nb.txt", {"b.txt", "c.txt"}},
        {"unknown ids", "idx\r\n", {"a.txt", "b.txt", "c.txt"}},
        {"no file", nullptr, {"a.txt", "b.txt", "c.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRenovix::DeleteSharedFileList();
        if (c.file)
            WriteWholeFile(Program("SharedFiles.tmp"), c.file);
        CRenovix client;
        ASSERT_TRUE(client.Init(FolderSettings()));
        ASSERT_TRUE(client.LoadUpdateList());
        client.LoadSharedFiles();
        std::vector<std::string> sources;
        for (const CUpdateEntry& entry : client.GetEntries())
            sources.push_back(entry.source);
        EXPECT_EQ(sources, c.sources);
    }
}

TEST_F(RenovixUpdateTest, PackageFilter)
{
    for (const char* name : {"every.txt", "demo.txt", "pro.txt", "lite.txt"})
        Place(Share(name), name);
    const std::vector<std::string> entries = {
        Entry("every.txt", "", "FILE", "packages='*'"),
        Entry("demo.txt", "", "FILE", "packages='Pro, demo'"),
        Entry("pro.txt", "", "FILE", "packages='pro'"),
        Entry("lite.txt", "", "FILE", "packages=' lite '"),
    };
    const struct {
        const char* packages;
        std::vector<bool> installed;
    } cases[] = {{"all", {true, true, true, true}}, {"demo", {true, true, false, false}},
                 {"demo, lite", {true, true, false, true}}, {"standard", {true, false, false, false}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.packages);
        for (const char* name : {"every.txt", "demo.txt", "pro.txt", "lite.txt"})
            std::remove(Program(name).c_str());
        CRenovix client;
        EXPECT_EQ(Run(client, entries, c.packages), CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE);
        const char* names[] = {"every.txt", "demo.txt", "pro.txt", "lite.txt"};
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(access(Program(names[i]).c_str(), F_OK) == 0, c.installed[i]) << names[i];
    }
}

// Under a Turkish locale the C library keeps 'I' upper case; names of list and settings still
// match.
TEST_F(RenovixUpdateTest, PackageNamesMatchUnderATurkishLocale)
{
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    Place(Share("intern.txt"), "intern");
    Place(Share("RenovixList.1.0.0.0.xml"), List({Entry("intern.txt", "", "FILE", "packages='INTERN'")}));
    CRenovixSettings settings = FolderSettings();
    settings.SetText(CRenovixSettings::Packages, "INTERN");  // as the settings file gives it
    CRenovix client;
    ASSERT_TRUE(client.Init(settings));
    ASSERT_TRUE(client.LoadUpdateList());
    EXPECT_EQ(client.UpdateFiles(), CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(ReadWholeFile(Program("intern.txt")), "intern");
}

TEST_F(RenovixUpdateTest, FoldersAreMadeAndFailuresToMakeThemCount)
{
    WriteWholeFile(Program("file"), "a file");
    CRenovix client;
    EXPECT_EQ(Run(client, {Entry("logs", "%CURRENTDIR%logs\\day", "DIR")}), CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_TRUE(std::filesystem::is_directory(Program("logs/day")));
    EXPECT_EQ(Run(client, {Entry("logs", "%CURRENTDIR%logs\\day", "DIR")}), CRenovix::UPDATE_RESULT_OK);
    EXPECT_EQ(Run(client, {Entry("x", "%CURRENTDIR%file\\x", "DIR")}), CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_NEW_FILE);
}

// Failures that the updater could not mend either are failures, not files in use.
TEST_F(RenovixUpdateTest, TargetsThatCannotBeWrittenFail)
{
    Place(Share("a.txt"), "new");
    WriteWholeFile(Program("a.txt"), "old");
    std::filesystem::create_directories(Program("folder.txt"));
    std::filesystem::create_directories(Program("ro"));
    WriteWholeFile(Program("ro/a.txt"), "old");
    std::filesystem::permissions(m_folder.Path(""), std::filesystem::perms::all);
    ASSERT_EQ(chown(Program("ro").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chown(Program("").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(Program("a.txt").c_str(), 0644), 0);
    Place(Share("RenovixList.1.0.0.0.xml"), List({Entry("a.txt", "", "FILE UPDATE_EXISTING IGNORE_VERSION")}));
    Place(Share("folder.xml"),
          List({Entry("a.txt", "%CURRENTDIR%folder.txt", "FILE UPDATE_EXISTING IGNORE_VERSION")}));
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(10);
        CRenovix client;
        if (!client.Init(FolderSettings()) || !client.LoadUpdateList())
            _exit(2);
        const int result = client.UpdateFiles();
        client.SetListFileName("folder.xml");
        if (!client.LoadUpdateList())
            _exit(3);
        const int folder = client.UpdateFiles();
        _exit(result == CRenovix::UPDATE_RESULT_FAILED && folder == CRenovix::UPDATE_RESULT_FAILED && client.GetLockedFiles("\n").empty()
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadWholeFile(Program("a.txt")), "old");
}

TEST_F(RenovixUpdateTest, SourcesInAFolderStayInsideTheShare)
{
    Place(m_folder.Path("outside.txt"), "not the server's");
    Place(Share("inside/ok.txt"), "the server's");
    Place(Share("tmp/outside.txt"), "the server's too");
    const int installed = CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE;
    const int refused = CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_FAILED |
                        CRenovix::UPDATE_RESULT_NEW_FILE;
    const struct {
        const char* source;
        int result;
        const char* bytes;
    } cases[] = {
        {"inside/ok.txt", installed, "the server's"},
        {"inside\\ok.txt", installed, "the server's"},
        // A leading separator names a file of the share, as the lists of old write them.
        {"/inside/ok.txt", installed, "the server's"},
        {"\\inside\\ok.txt", installed, "the server's"},
        {"/tmp/outside.txt", installed, "the server's too"},
        {"../outside.txt", refused, ""},
        {"/../outside.txt", refused, ""},
        {"inside\\..\\..\\outside.txt", refused, ""},
        {"inside/../../outside.txt", refused, ""},
        {"..", refused, ""},
        // Drive letters and other servers name no file of the share.
        {"C:\\outside.txt", refused, ""},
        {"\\C:\\outside.txt", refused, ""},
        {"\\\\server\\share\\outside.txt", refused, ""},
        {"//server/share/outside.txt", refused, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        std::remove(Program("got.txt").c_str());
        CRenovix client;
        EXPECT_EQ(Run(client, {Entry(c.source, "%CURRENTDIR%got.txt", "FILE")}), c.result);
        EXPECT_EQ(ReadWholeFile(Program("got.txt")), c.bytes);
    }
}

// Links in the share are followed only as far as the share reaches: one that leads out of it,
// to a file or through a folder, is refused as ".." is, and leaves nothing behind.
TEST_F(RenovixUpdateTest, LinksOutOfTheShareAreRefused)
{
    Place(m_folder.Path("private/secret.txt"), "private");
    ASSERT_EQ(chmod(m_folder.Path("private/secret.txt").c_str(), 0600), 0);
    Place(Share("inside/ok.txt"), "the server's");
    namespace fs = std::filesystem;
    fs::create_symlink(m_folder.Path("private/secret.txt"), Share("link.txt"));
    fs::create_symlink(m_folder.Path("private"), Share("ldir"));
    fs::create_symlink("../share/inside/ok.txt", Share("up-and-back.txt"));
    fs::create_symlink("inside/ok.txt", Share("inlink.txt"));
    fs::create_symlink(Share("inside"), Share("idir"));
    const int installed = CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE;
    const int refused = CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_FAILED |
                        CRenovix::UPDATE_RESULT_NEW_FILE;
    const struct {
        const char* source;
        const char* flags;
        int result;
        const char* bytes;
    } cases[] = {
        {"link.txt", "FILE", refused, ""},
        {"ldir/secret.txt", "FILE", refused, ""},
        {"ldir\\secret.txt", "FILE", refused, ""},
        {"link.txt", "FILE IGNORE_HASH", refused, ""},
        // Links that stay inside the share lead to a file of the share.
        {"inlink.txt", "FILE", installed, "the server's"},
        {"idir/ok.txt", "FILE", installed, "the server's"},
        {"up-and-back.txt", "FILE", installed, "the server's"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        std::remove(Program("got.txt").c_str());
        CRenovix client;
        ASSERT_TRUE(client.Init(FolderSettings()));
        const std::string folder = DownloadFolder(client);

        EXPECT_EQ(Run(client, {Entry(c.source, "%CURRENTDIR%got.txt", c.flags)}), c.result);
        EXPECT_EQ(ReadWholeFile(Program("got.txt")), c.bytes);
        EXPECT_EQ(access(Program("got.txt").c_str(), F_OK) == 0, c.result == installed);
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"small.txt"});
    }

    // A share named through a link is the folder it leads to.
    fs::create_symlink(Share(""), m_folder.Path("share-link"));
    CRenovixSettings settings = FolderSettings();
    settings.baseDir = m_folder.Path("share-link/");
    CRenovix client;
    ASSERT_TRUE(client.Init(settings));
    EXPECT_EQ(ReadWholeFile(client.FetchLocalFile("inlink.txt", 1)), "the server's");
    EXPECT_EQ(client.FetchLocalFile("link.txt", 1), "");
}

// Opens of the files in a folder, counted by name while the counter lives.
class COpenCounter {
public:
    explicit COpenCounter(const std::string& folder) : m_inotify(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(inotify_add_watch(m_inotify, folder.c_str(), IN_OPEN), 0) << std::strerror(errno);
    }
    ~COpenCounter() { close(m_inotify); }
    COpenCounter(const COpenCounter&) = delete;
    COpenCounter& operator=(const COpenCounter&) = delete;

    int Opens(const std::string& name)
    {
        alignas(inotify_event) char buffer[64 * 1024];
        ssize_t length;
        while ((length = read(m_inotify, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0)
                    ++m_opens[event->name];
                at += sizeof(inotify_event) + event->len;
            }
        }
        return m_opens[name];
    }

private:
    int m_inotify;
    std::map<std::string, int> m_opens;
};

// A source that is no file is "not found" by the one open that looks at it; nothing opens it by
// its name again, so nothing a link there leads to a moment later is read.
TEST_F(RenovixUpdateTest, SourcesThatAreNoFileAreNotFoundByTheirOneOpen)
{
    Place(m_folder.Path("private/secret.txt"), "private");
    ASSERT_EQ(chmod(m_folder.Path("private/secret.txt").c_str(), 0600), 0);
    const int notFound = CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_BROKEN |
                         CRenovix::UPDATE_RESULT_NEW_FILE;
    const struct {
        const char* name;
        const char* flags;
        std::function<void(const std::string&)> make;
        int opens;  // of the source in the share
    } cases[] = {
        {"missing", "FILE", [](const std::string&) {}, 0},
        {"FIFO", "FILE", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }, 1},
        {"zipped FIFO", "FILE COMPRESSION_ZIP", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }, 1},
        {"folder", "FILE", [](const std::string& path) { std::filesystem::create_directory(path); }, 1},
        {"dangling link", "FILE",
         [this](const std::string& path) { std::filesystem::create_symlink(m_folder.Path("private/gone.txt"), path); }, 0},
        {"path through a file", "FILE", [](const std::string&) {}, 0},
    };
    Place(Share("file"), "a file, no folder");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Program("got.txt").c_str());
        const bool zipped = std::string(c.flags).find("ZIP") != std::string::npos;
        const std::string source = std::string(c.name) == "path through a file" ? "file/race.txt" : "race.txt";
        const std::string offered = Share(source + (zipped ? ".zip" : ""));
        c.make(offered);
        CRenovix client;
        ASSERT_TRUE(client.Init(FolderSettings()));
        const std::string folder = DownloadFolder(client);
        bool missing = false;
        COpenCounter counter(Share(""));
        EXPECT_EQ(client.FetchLocalFile(source + (zipped ? ".zip" : ""), 1, &missing), "");
        EXPECT_TRUE(missing);
        int result = 0;
        const std::string log = LogWrittenWhile(m_folder.Path("update.log"), LOGLEVEL_ERROR, [&] {
            result = Run(client, {Entry(source, "%CURRENTDIR%got.txt", c.flags)});
        });
        EXPECT_EQ(result, notFound);
        EXPECT_NE(log.find("CRenovix::UpdateFiles Datei nicht gefunden " + offered), std::string::npos) << log;
        EXPECT_EQ(counter.Opens(std::filesystem::path(offered).filename().string()), 2 * c.opens);
        EXPECT_EQ(access(Program("got.txt").c_str(), F_OK), -1);
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"small.txt"});
        std::error_code ignored;
        std::filesystem::remove(offered, ignored);
    }
}

// A source swapped between a FIFO, nothing and a link out of the share while the list names it
// again and again: whatever each open finds, the file outside is never installed.
TEST_F(RenovixUpdateTest, SourcesSwappedWhileFetchedNeverBringAFileFromOutside)
{
    Place(m_folder.Path("private/secret.txt"), "private");
    ASSERT_EQ(chmod(m_folder.Path("private/secret.txt").c_str(), 0600), 0);
    constexpr int kEntries = 3000;
    std::vector<std::string> entries;
    for (int i = 0; i < kEntries; ++i)
        entries.push_back(Entry("race.txt", "%CURRENTDIR%got/" + std::to_string(i), "FILE"));
    Place(Share("RenovixList.1.0.0.0.xml"), List(entries));

    std::atomic<bool> stop{false};
    std::thread swapper([this, &stop] {
        const std::string source = Share("race.txt");
        const std::string fifo = Share("fifo.tmp");
        const std::string link = Share("link.tmp");
        while (!stop) {
            mkfifo(fifo.c_str(), 0644);
            rename(fifo.c_str(), source.c_str());
            symlink(m_folder.Path("private/secret.txt").c_str(), link.c_str());
            rename(link.c_str(), source.c_str());
            unlink(source.c_str());
            symlink(m_folder.Path("private/secret.txt").c_str(), link.c_str());
            rename(link.c_str(), source.c_str());
        }
    });
    CRenovix client;
    int result = 0;
    if (client.Init(FolderSettings()) && client.LoadUpdateList())
        result = client.UpdateFiles();
    stop = true;
    swapper.join();

    EXPECT_EQ(client.GetEntries().size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(result & (CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_FAILED), CRenovix::UPDATE_RESULT_FAILED);
    int installed = 0;
    if (std::filesystem::exists(Program("got")))
        for (const auto& file : std::filesystem::directory_iterator(Program("got")))
            installed += file.is_regular_file();
    EXPECT_EQ(installed, 0);
}

TEST_F(RenovixUpdateTest, ShareAndNameJoinWithOneSeparator)
{
    CRenovix client;
    CRenovixSettings settings = FolderSettings();
    const std::string share = Share("");
    const std::string bare = share.substr(0, share.size() - 1);
    for (const std::string& base : {bare, bare + "/", bare + "//", bare + "\\"}) {
        settings.baseDir = base;
        ASSERT_TRUE(client.Init(settings));
        for (const char* name : {"tools/a.exe", "/tools/a.exe", "\\tools\\a.exe", "tools\\a.exe"})
            EXPECT_EQ(client.GetLocalFile(name, 1), share + "tools/a.exe") << base << " + " << name;
    }
    // Without a share there is nothing to join a name to.
    settings.baseDir.clear();
    ASSERT_TRUE(client.Init(settings));
    EXPECT_EQ(client.GetLocalFile("tools/a.exe", 1), "");
}

// A file of the share brings at most what its listed size allows, as a download does: the size,
// a quarter of it and 1 MiB on top.
TEST_F(RenovixUpdateTest, FilesInTheShareLargerThanListedAreRefusedWhileRead)
{
    const off_t bound = 1024 + 256 + (1 << 20);  // of sizekb="1"
    const int installed = CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE;
    const int refused = CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_DOWNLOAD_FAILED |
                        CRenovix::UPDATE_RESULT_NEW_FILE;
    const struct {
        const char* name;
        off_t size;
        const char* flags;
        int result;
    } cases[] = {
        {"at the bound", bound, "FILE", installed},
        {"a byte more", bound + 1, "FILE", refused},
        {"3 GiB", off_t(3) << 30, "FILE", refused},
        // Of a zipped entry the archive is what the share holds and the list sizes.
        {"3 GiB archive", off_t(3) << 30, "FILE COMPRESSION_ZIP", refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Program("big.bin").c_str());
        const bool zipped = std::string(c.flags).find("ZIP") != std::string::npos;
        const std::string offered = Share(zipped ? "big.bin.zip" : "big.bin");
        Place(offered, "");
        // Sparse: no disk is used for it.
        ASSERT_EQ(truncate(offered.c_str(), c.size), 0);
        CRenovix client;
        ASSERT_TRUE(client.Init(FolderSettings()));
        const std::string folder = DownloadFolder(client);

        EXPECT_EQ(Run(client, {Entry("big.bin", "", c.flags, "sizekb='1'")}), c.result);
        struct stat info;
        EXPECT_EQ(stat(Program("big.bin").c_str(), &info) == 0, c.result == installed);
        if (c.result == installed) {
            EXPECT_EQ(info.st_size, c.size);
        }
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"small.txt"});
        std::remove(offered.c_str());
    }
}

// A zip archive in the share whose one item has the mode.
std::string ZipWithMode(const std::string& archive, unsigned mode)
{
    char octal[16];
    std::snprintf(octal, sizeof octal, "%o", mode);
    const std::string script = "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1], 'w'); "
                               "i = zipfile.ZipInfo('tool'); i.create_system = 3; i.external_attr = int(sys.argv[2], 8) << 16; "
                               "z.writestr(i, b'#!/bin/sh\\n'); z.close()";
    EXPECT_EQ(RunTool({"/usr/bin/python3", "-c", script, archive, octal}).status, 0);
    return archive;
}

TEST_F(RenovixUpdateTest, NewFilesTakeTheExecuteBitsAndExistingOnesKeepTheirMode)
{
    const struct {
        const char* name;
        bool zipped;
        unsigned mode;      // of the item, or of the file in the share
        mode_t umask;
        unsigned existing;  // mode of the installed file, 0 for none
        unsigned expected;
    } cases[] = {
        {"zipped program", true, 0755, 022, 0, 0755},
        {"zipped program, strict umask", true, 0755, 077, 0, 0700},
        {"zipped, writable for all", true, 0777, 0, 0, 0755},
        {"zipped data", true, 0644, 022, 0, 0644},
        {"program in the share", false, 0755, 022, 0, 0755},
        {"data in the share", false, 0600, 022, 0, 0644},
        {"zipped program over an existing file", true, 0755, 022, 0600, 0600},
        {"program over an existing file", false, 0755, 022, 0640, 0640},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Program("tool").c_str());
        if (c.existing != 0) {
            WriteWholeFile(Program("tool"), "old");
            ASSERT_EQ(chmod(Program("tool").c_str(), c.existing), 0);
        }
        if (c.zipped) {
            ZipWithMode(Share("tool.zip"), 0100000 | c.mode);
        } else {
            Place(Share("tool"), "#!/bin/sh\n");
            ASSERT_EQ(chmod(Share("tool").c_str(), c.mode), 0);
        }
        const mode_t before = umask(c.umask);
        CRenovix client;
        const int result = Run(client, {Entry("tool", "", std::string("FILE UPDATE_EXISTING IGNORE_VERSION") +
                                                            (c.zipped ? " COMPRESSION_ZIP" : ""))});
        umask(before);
        EXPECT_EQ(result & ~CRenovix::UPDATE_RESULT_NEW_FILE, CRenovix::UPDATE_RESULT_OK);
        EXPECT_EQ(ReadWholeFile(Program("tool")), "#!/bin/sh\n");
        struct stat info;
        ASSERT_EQ(stat(Program("tool").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.expected);
    }
}

// Killed at any step of the install, the target is the old file or the new one.
TEST_F(RenovixUpdateTest, KilledInstallLeavesOldOrNewFile)
{
    const std::string oldBytes(100000, 'o');
    const std::string newBytes(4 * CAtomicFile::kChunkSize, 'n');
    Place(Share("data.bin"), newBytes);
    Place(Share("RenovixList.1.0.0.0.xml"), List({Entry("data.bin", "", "FILE UPDATE_EXISTING IGNORE_VERSION")}));
    using Step = CAtomicFile::Step;
    const struct {
        Step step;
        int occurrence;
        bool expectNew;
    } cases[] = {{Step::Create, 1, false}, {Step::Write, 2, false}, {Step::Sync, 1, false}, {Step::Rename, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        WriteWholeFile(Program("data.bin"), oldBytes);
        const pid_t pid = fork();
        if (pid == 0) {
            int seen = 0;
            CAtomicFile::SetHookForTesting([&](Step step) {
                if (step == c.step && ++seen == c.occurrence)
                    raise(SIGSTOP);
                return 0;
            });
            CRenovix client;
            client.Init(FolderSettings());
            client.LoadUpdateList();
            client.UpdateFiles();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, WUNTRACED), pid);
        ASSERT_TRUE(WIFSTOPPED(status));
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        EXPECT_EQ(ReadWholeFile(Program("data.bin")), c.expectNew ? newBytes : oldBytes);
    }
    CRenovix client;
    ASSERT_TRUE(client.Init(FolderSettings()));
    ASSERT_TRUE(client.LoadUpdateList());
    EXPECT_EQ(client.UpdateFiles(), CRenovix::UPDATE_RESULT_OK);
    EXPECT_EQ(ReadWholeFile(Program("data.bin")), newBytes);
}

class RenovixDeviceTest : public RenovixUpdateTest {
protected:
    void SetUp() override
    {
        RenovixUpdateTest::SetUp();
        std::filesystem::create_directories(m_folder.Path("device/Windows"));
        Place(Share("app.exe"), "new app");
        Place(Share("bin/app.exe"), "new app");
        Place(Share("ce.dll"), "new dll");
    }
    CFolderDevice m_device{m_folder.Path("device")};
};

TEST_F(RenovixDeviceTest, WithoutADeviceEveryDeviceEntryFails)
{
    Place(Share("a.txt"), "desktop");
    const std::vector<std::string> entries = {Entry("app.exe", "\\Windows\\", "FILE WIN_CE"),
                                              Entry("a.txt", "", "FILE"),
                                              Entry("ce.dll", "\\Windows\\", "FILE WIN_CE"),
                                              Entry("x", "\\Windows\\x", "DIR WIN_CE")};
    CRenovix program;
    EXPECT_EQ(Run(program, entries), CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_NO_RAPI | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(ReadWholeFile(Program("a.txt")), "desktop");

    // A list without device entries never connects; a device that does not answer is asked
    // twice per client, not once per entry.
    CRenovix desktop;
    desktop.SetDevice(&m_device);
    EXPECT_EQ(Run(desktop, {Entry("a.txt", "%CURRENTDIR%b.txt", "FILE")}), CRenovix::UPDATE_RESULT_OK | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(m_device.connectCalls, 0);
    m_device.reachable = false;
    CRenovix client;
    client.SetDevice(&m_device);
    EXPECT_EQ(Run(client, entries), CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_NO_RAPI);
    EXPECT_EQ(m_device.connectCalls, 2);
}

TEST_F(RenovixDeviceTest, DevicesThatDoNotFitAreSkippedOrFail)
{
    const struct {
        const char* name;
        int processor;
        int major;
        bool versionFails;
        int result;
    } cases[] = {
        {"other processor", 1, 4, false, CRenovix::UPDATE_RESULT_OK},
        {"version 2", 5, 2, false, CRenovix::UPDATE_RESULT_OK},
        {"version unknown", 5, 4, true, CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_NO_RAPI},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_device.processor = c.processor;
        m_device.version.major = c.major;
        m_device.versionFails = c.versionFails;
        CRenovix client;
        client.SetDevice(&m_device);
        EXPECT_EQ(Run(client, {Entry("app.exe", "\\Windows\\", "FILE WIN_CE", "ceplatform='ARM'")}), c.result);
        EXPECT_FALSE(m_device.FileExists("\\Windows\\app.exe"));
    }
}

TEST_F(RenovixDeviceTest, FilesAndFoldersReachTheDevice)
{
    // An old device without a program files folder: the mail attachments' folder stands in.
    m_device.registry["PMail\\Attachments|TopDir"] = "Storage";
    std::filesystem::create_directories(m_folder.Path("device/Storage"));
    m_device.folders[CE_FOLDER_STARTUP] = "\\Windows\\StartUp";
    CRenovix client;
    client.SetDevice(&m_device);
    const std::vector<std::string> entries = {
        Entry("Zephrin", "%PROGRAMS%\\Zephrin", "DIR WIN_CE"),
        Entry("bin\\app.exe", "%PROGRAMS%\\Zephrin\\", "FILE WIN_CE", "ceplatform='ARM'"),
        Entry("ce.dll", "\\Windows\\%FILE%", "FILE WIN_CE UPDATE_EXISTING IGNORE_VERSION"),
    };
    WriteWholeFile(m_device.Local("\\Windows\\ce.dll"), "old dll");
    m_device.busy.insert("\\Windows\\ce.dll");
    EXPECT_EQ(Run(client, entries),
              CRenovix::UPDATE_RESULT_FAILED | CRenovix::UPDATE_RESULT_HAD_SHARED_CE | CRenovix::UPDATE_RESULT_NEW_FILE);
    EXPECT_EQ(ReadWholeFile(m_device.Local("\\Storage\\Zephrin\\app.exe")), "new app");
    EXPECT_EQ(ReadWholeFile(m_device.Local("\\Windows\\ce.dll")), "old dll");

    m_device.busy.clear();
    EXPECT_EQ(Run(client, entries), CRenovix::UPDATE_RESULT_OK);
    EXPECT_EQ(ReadWholeFile(m_device.Local("\\Windows\\ce.dll")), "new dll");
    std::string digest;
    SFileVersion version;
    client.GetCeFileInfo("\\Windows\\ce.dll", digest, version);
    EXPECT_EQ(digest, CMd5Digest::Of("new dll"));
}

}  // namespace
