#include "HarbinaxCore/MiniDump.h"

#include "FilterChild.h"
#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <pthread.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

__attribute__((noinline)) bool DumpWhereWeStand(int fd)
{
    const bool written = WriteMiniDump(fd, nullptr);
    asm volatile("" ::: "memory");  // keeps the call from becoming a jump
    return written;
}

// Standard output and error of a program.
std::string Output(const std::vector<std::string>& argv)
{
    const SToolRun run = RunTool(argv);
    return run.output + run.errors;
}

bool HaveTool(const char* name)
{
    return RunTool({name, "--version"}).status == 0;
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The lines of gdb's "info threads", one a thread.
std::size_t ThreadLines(const std::string& debug)
{
    std::size_t count = 0;
    std::istringstream lines(debug);
    for (std::string line; std::getline(lines, line);)
        count += line.size() > 2 && (line[0] == '*' || line[0] == ' ') && line.find(" (LWP ") != std::string::npos;
    return count;
}

// A thread that sleeps on a pipe until the process ends; with all signals blocked when asked.
void StartSleeper(bool blockSignals)
{
    static int never[2] = {-1, -1};
    if (never[0] < 0 && pipe(never) != 0)
        _exit(96);
    std::thread([blockSignals] {
        if (blockSignals) {
            sigset_t all;
            sigfillset(&all);
            pthread_sigmask(SIG_BLOCK, &all, nullptr);
        }
        char byte;
        while (read(never[0], &byte, 1) != 0) {
        }
    }).detach();
}

class MiniDump : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("gdb") || !HaveTool("readelf"))
            GTEST_SKIP() << "gdb and readelf are needed (scripts/install-deps.sh installs them)";
    }

    std::string DumpPath() const { return m_folder + "Zephrin.CRASH.DMP"; }

    // Runs body in a child that installed the filter as the program Zephrin in our folder; the
    // child's wait status.
    int RunChild(const std::function<void()>& body) const
    {
        return RunFilteredChild(m_folder + "Zephrin", "/dev/null", body);
    }

    // gdb's back trace of the dump's faulting thread, its list of threads and of mapped files.
    std::string Debug() const
    {
        return Output({"gdb", "-batch", "-nx", "-ex", "set debuginfod enabled off", "-ex", "bt", "-ex", "info threads",
                       "-ex", "info proc mappings", ExecutablePath(), DumpPath()});
    }

    CTemporaryFolder m_temporary;
    const std::string m_folder = m_temporary.Path("");
};

TEST_F(MiniDump, FaultInTheMainThreadGivesADumpWithEveryThread)
{
    const int status = RunChild([] {
        StartSleeper(false);
        StartSleeper(true);  // cannot be asked for its registers: the kernel's view stands in
        WriteToNull();
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;

    struct stat dump;
    ASSERT_EQ(0, stat(DumpPath().c_str(), &dump));
    EXPECT_EQ(0600u, dump.st_mode & 0777);

    const std::string notes = Output({"readelf", "-n", DumpPath()});
    EXPECT_EQ(3u, Count(notes, "NT_PRSTATUS")) << notes;
    EXPECT_EQ(1u, Count(notes, "NT_PRPSINFO")) << notes;
    EXPECT_EQ(1u, Count(notes, "NT_SIGINFO")) << notes;
    EXPECT_EQ(1u, Count(notes, "NT_AUXV")) << notes;
    EXPECT_EQ(1u, Count(notes, "NT_FILE")) << notes;

    const std::string debug = Debug();
    EXPECT_THAT(debug, HasSubstr("Program terminated with signal SIGSEGV")) << debug;
    EXPECT_THAT(debug, Not(HasSubstr("may not match"))) << "the program's build id is in the dump";
    EXPECT_THAT(debug, ::testing::ContainsRegex("#0 [^\n]*WriteToNull")) << debug;
    EXPECT_EQ(3u, ThreadLines(debug)) << debug;
    EXPECT_THAT(debug, ::testing::ContainsRegex("0x[0-9a-f]+ +0x[0-9a-f]+ +0x[0-9a-f]+ +0x[0-9a-f]+ +[^\n]*" +
                                                ExecutablePath()))
        << "mapped files";
}

TEST_F(MiniDump, FaultInAWorkerThreadIsTheDumpsFirstThread)
{
    const int status = RunChild([] {
        StartSleeper(false);
        std::thread(WriteToNull).join();
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;

    const std::string debug = Debug();
    EXPECT_THAT(debug, ::testing::ContainsRegex("#0 [^\n]*WriteToNull")) << debug;
    EXPECT_EQ(3u, ThreadLines(debug)) << debug;
    EXPECT_EQ(3u, Count(Output({"readelf", "-n", DumpPath()}), "NT_PRSTATUS"));
}

TEST_F(MiniDump, WithoutAFaultTheCallerIsDumpedWhereItStandsAndTheOthersGoOn)
{
    const std::string path = DumpPath();
    const int status = RunChild([path] {
        std::atomic<bool> stop{false};
        std::atomic<long> rounds{0};
        std::thread worker([&] {
            while (!stop)
                ++rounds;
        });
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 || !DumpWhereWeStand(fd))
            _exit(91);
        close(fd);
        // Released after the dump: the worker still counts.
        const long before = rounds;
        while (rounds == before) {
        }
        stop = true;
        worker.join();
    });
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const std::string debug = Debug();
    EXPECT_THAT(debug, HasSubstr("signal SIGTRAP")) << debug;
    EXPECT_THAT(debug, ::testing::ContainsRegex("#[0-9] [^\n]*DumpWhereWeStand")) << debug;
    EXPECT_EQ(2u, ThreadLines(debug)) << debug;
}

TEST_F(MiniDump, AtTheSizeBoundMemoryIsLeftOutAndTheStackKept)
{
    constexpr std::size_t kBound = 8 * 1024 * 1024;
    const int status = RunChild([] {
        // Four times the bound, written so that every page is really there.
        std::vector<char> ballast(4 * kBound, 'x');
        SetMiniDumpSizeLimit(kBound);
        WriteToNull();
        std::printf("%c", ballast[0]);
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;

    struct stat dump;
    ASSERT_EQ(0, stat(DumpPath().c_str(), &dump));
    EXPECT_LE(dump.st_size, static_cast<off_t>(kBound));
    const std::string debug = Debug();
    EXPECT_THAT(debug, ::testing::ContainsRegex("#0 [^\n]*WriteToNull")) << debug;
    EXPECT_THAT(debug, Not(HasSubstr("not in executable format"))) << debug;
}

TEST_F(MiniDump, AnOldDumpIsReplacedButALinkInItsPlaceIsNotFollowed)
{
    WriteWholeFile(DumpPath(), "dump of an earlier crash");
    ASSERT_TRUE(WIFSIGNALED(RunChild(WriteToNull)));
    EXPECT_EQ("\x7f" "ELF", ReadWholeFile(DumpPath()).substr(0, 4));

    const std::string victim = m_folder + "victim";
    WriteWholeFile(victim, "not ours to overwrite");
    std::remove(DumpPath().c_str());
    ASSERT_EQ(0, symlink(victim.c_str(), DumpPath().c_str()));
    ASSERT_TRUE(WIFSIGNALED(RunChild(WriteToNull)));
    EXPECT_EQ("not ours to overwrite", ReadWholeFile(victim));
    struct stat link;
    ASSERT_EQ(0, lstat(DumpPath().c_str(), &link));
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    // The report is still written.
    EXPECT_THAT(ReadWholeFile(m_folder + "ERRORLOG.TXT"), HasSubstr("Zephrin caused an Access Violation"));
}

TEST_F(MiniDump, ADumpThatCannotBeWrittenWholeIsNotLeftBehind)
{
    const int status = RunChild([] {
        // As on a full disk: the report fits, the dump does not.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {256 * 1024, 256 * 1024};
        setrlimit(RLIMIT_FSIZE, &small);
        WriteToNull();
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;
    EXPECT_THAT(ReadWholeFile(m_folder + "ERRORLOG.TXT"), HasSubstr("[end of ERRORLOG.TXT]"));
    struct stat dump;
    EXPECT_NE(0, lstat(DumpPath().c_str(), &dump));
}

}  // namespace
