// The real program, started as a user starts it, from a folder of its own: with the shipped
// database it reaches its main window; without it it ends after one message; a second start
// leaves the running one alone. Message boxes go to a file (ZEPHRIN_MESSAGE_LOG), and the main
// window closes itself once shown (ZEPHRIN_EXIT_AFTER_SHOW).
#include "support/ProgramRun.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string ProgramDir()
{
    const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    return dir ? dir : "";
}

void Copy(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    ASSERT_TRUE(in.good()) << from;
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
}

int Count(const std::string& text, const std::string& what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ProgramDir().empty());
        program = folder.Path("Zephrin");
        Copy(ProgramDir() + "/Zephrin", program);
        ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
        Copy(ProgramDir() + "/Zephrin.cfg", folder.Path("Zephrin.cfg"));
    }

    void PlaceDatabase() { Copy(ProgramDir() + "/Zephrin.db", folder.Path("Zephrin.db")); }

    pid_t Start(bool exitAfterShow, const std::string& errorFile = std::string())
    {
        std::vector<std::string> variables = {"ZEPHRIN_MESSAGE_LOG=" + folder.Path("messages.txt"),
                                              "XDG_RUNTIME_DIR=" + folder.Path("")};
        if (exitAfterShow)
            variables.push_back("ZEPHRIN_EXIT_AFTER_SHOW=1");
        const pid_t pid = StartProgram({program}, variables, errorFile);
        EXPECT_GT(pid, 0);
        return pid;
    }

    static int Wait(pid_t pid) { return WaitForProgram(pid); }
    // Waits until the log tells that the main window is on the screen.
    bool WaitForMainWindow() const
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (Count(Logs(), "Main window shown") == 0 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return Count(Logs(), "Main window shown") == 1;
    }
    std::string Logs() const { return ReadLogFiles(folder.Path("")); }

    CTemporaryFolder folder;
    std::string program;
};

TEST_F(ProgramTest, ReachesTheMainWindowWithTheShippedDatabase)
{
    PlaceDatabase();
    EXPECT_EQ(Wait(Start(true)), 0);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")), "");
    const std::string log = Logs();
    EXPECT_EQ(Count(log, "Main window shown"), 1) << log.substr(0, 2000);
}

TEST_F(ProgramTest, WithoutTheDatabaseEndsAfterOneMessage)
{
    EXPECT_EQ(Wait(Start(true)), 1);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")),
              "Zephrin: Database error\tCould not open the units database. Sizing cannot run without the "
              "database.\n");
    EXPECT_EQ(Count(Logs(), "Main window shown"), 0);
}

const char kConfigurationNotice[] =
    "Zephrin: Notice\tThe application configuration file could not be loaded. Assuming default values.\n";

TEST_F(ProgramTest, AnUnreadableConfigurationIsLeftAsTheUserHadIt)
{
    PlaceDatabase();
    const std::string broken = "<tambel-settings><global-settings language=\"de\"";
    std::ofstream(folder.Path("Zephrin.cfg"), std::ios::trunc) << broken;
    EXPECT_EQ(Wait(Start(true)), 0);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")), kConfigurationNotice);
    EXPECT_EQ(Count(Logs(), "Main window shown"), 1);
    EXPECT_EQ(ReadWholeFile(folder.Path("Zephrin.cfg")), broken);
}

TEST_F(ProgramTest, AMissingConfigurationIsWrittenWithTheDefaults)
{
    PlaceDatabase();
    ASSERT_EQ(std::remove(folder.Path("Zephrin.cfg").c_str()), 0);
    EXPECT_EQ(Wait(Start(true)), 0);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")), kConfigurationNotice);
    const std::string written = ReadWholeFile(folder.Path("Zephrin.cfg"));
    EXPECT_NE(written.find("<global-settings language=\"en\""), std::string::npos) << written;

    // The next start finds it.
    std::remove(folder.Path("messages.txt").c_str());
    EXPECT_EQ(Wait(Start(true)), 0);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")), "");
}

TEST_F(ProgramTest, ASecondStartLeavesTheRunningOneAlone)
{
    PlaceDatabase();
    const pid_t first = Start(false);
    ASSERT_TRUE(WaitForMainWindow());

    EXPECT_EQ(Wait(Start(true)), 0);
    // The second start appends to the log the first one holds; the steps stay the first one's.
    const std::string log = Logs();
    EXPECT_EQ(Count(log, "Zephrin runs already"), 1);
    EXPECT_EQ(Count(log, "Main window shown"), 1);
    EXPECT_EQ(Count(log, "Opening units database..."), 1);
    EXPECT_EQ(Count(log, "Update not scheduled"), 1);
    EXPECT_EQ(ReadWholeFile(folder.Path("messages.txt")), "");
    int status = 0;
    EXPECT_EQ(::waitpid(first, &status, WNOHANG), 0) << "the first one ended";

    ::kill(first, SIGTERM);
    Wait(first);
}

// A window manager frames the window after it is shown, and the window passes through tiny
// sizes on the way: the toolbar must not be laid out in less than its buttons need, and the
// border arriving late must not squeeze the menu bar's box below its children.
TEST_F(ProgramTest, StartsWithoutToolkitLayoutWarnings)
{
    // Ended however the test ends: nothing of it may stay on the display for the next test.
    struct SEndedOnExit {
        pid_t pid;
        ~SEndedOnExit()
        {
            ::kill(pid, SIGTERM);
            Wait(pid);
        }
    };
    // The manager takes the display over in its first moments.
    const pid_t manager = StartProgram({"/usr/bin/openbox", "--sm-disable"}, {});
    ASSERT_GT(manager, 0);
    const SEndedOnExit managerEnds{manager};
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_EQ(::waitpid(manager, nullptr, WNOHANG), 0) << "the window manager did not stay";
    PlaceDatabase();
    const std::string errors = folder.Path("stderr.txt");
    {
        const pid_t pid = Start(false, errors);
        ASSERT_GT(pid, 0);
        const SEndedOnExit programEnds{pid};
        ASSERT_TRUE(WaitForMainWindow());
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }
    const std::string text = ReadWholeFile(errors);
    EXPECT_EQ(Count(text, "Gtk-WARNING"), 0) << text;
    EXPECT_EQ(Count(text, "Gtk-CRITICAL"), 0) << text;
}

}  // namespace
