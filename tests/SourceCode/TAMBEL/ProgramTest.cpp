// The real program, started as a user starts it, from a folder of its own: with the shipped
// database it reaches its main window; without it it ends after one message; a second start
// leaves the running one alone. Message boxes go to a file (ZEPHRIN_MESSAGE_LOG), and the main
// window closes itself once shown (ZEPHRIN_EXIT_AFTER_SHOW).
#include "support/InstalledProgram.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/WindowManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

int Count(const std::string& text, const std::string& what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class ProgramTest : public ::testing::Test {
protected:
    // Without the shipped database unless the test places it.
    void SetUp() override { ASSERT_EQ(std::rename(program.Path("Zephrin.db").c_str(), Shipped().c_str()), 0); }
    void PlaceDatabase() { ASSERT_EQ(std::rename(Shipped().c_str(), program.Path("Zephrin.db").c_str()), 0); }
    std::string Shipped() const { return program.Path("shipped.db"); }

    CProcess Start(bool exitAfterShow)
    {
        std::vector<std::string> variables;
        if (exitAfterShow)
            variables.push_back("ZEPHRIN_EXIT_AFTER_SHOW=1");
        CProcess process = program.Launch(variables);
        EXPECT_TRUE(process.Started());
        return process;
    }
    // Started until its main window has shown; its exit status.
    int Run() { return Start(true).Wait(); }

    // Waits until the log tells that the main window is on the screen.
    bool WaitForMainWindow() const
    {
        WaitUntil(std::chrono::seconds(60), [this] { return Count(Logs(), "Main window shown") > 0; });
        return Count(Logs(), "Main window shown") == 1;
    }
    std::string Logs() const { return program.Logs(); }
    std::string Messages() const { return program.Messages(); }

    CInstalledProgram program;
};

TEST_F(ProgramTest, ReachesTheMainWindowWithTheShippedDatabase)
{
    PlaceDatabase();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), "");
    const std::string log = Logs();
    EXPECT_EQ(Count(log, "Main window shown"), 1) << log.substr(0, 2000);
}

TEST_F(ProgramTest, WithoutTheDatabaseEndsAfterOneMessage)
{
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(Messages(),
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
    std::ofstream(program.Path("Zephrin.cfg"), std::ios::trunc) << broken;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), kConfigurationNotice);
    EXPECT_EQ(Count(Logs(), "Main window shown"), 1);
    EXPECT_EQ(ReadWholeFile(program.Path("Zephrin.cfg")), broken);
}

TEST_F(ProgramTest, AMissingConfigurationIsWrittenWithTheDefaults)
{
    PlaceDatabase();
    ASSERT_EQ(std::remove(program.Path("Zephrin.cfg").c_str()), 0);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), kConfigurationNotice);
    const std::string written = ReadWholeFile(program.Path("Zephrin.cfg"));
    EXPECT_NE(written.find("<global-settings language=\"en\""), std::string::npos) << written;

    // The next start finds it.
    std::remove(program.Path("messages.txt").c_str());
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), "");
}

// Run by a user who may not write the program folder, the program says at exit, in its
// language, that the settings could not be saved, where and why, and goes on ending normally.
TEST_F(ProgramTest, SettingsThatCannotBeWrittenAreToldAtExit)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "the folder is the test's own: only as root can the program run as another user";
    PlaceDatabase();
    ASSERT_TRUE(program.StartAsOrdinaryUser());
    const std::string file = program.Path("Zephrin.cfg");
    std::string settings = ReadWholeFile(file);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), "Zephrin: Warning\tThe settings could not be saved to " + file +
                              ". Permission denied: you may not write to this folder or file.\n");

    const size_t language = settings.find("language=\"en\"");
    ASSERT_NE(language, std::string::npos) << settings;
    settings.replace(language, 13, "language=\"de\"");
    WriteWholeFile(file, settings);
    WriteWholeFile(program.Path("messages.txt"), "");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Messages(), "Zephrin: Warnung\tDie Einstellungen konnten nicht in " + file +
                              " gespeichert werden. Zugriff verweigert: Sie dürfen in diesen Ordner oder diese "
                              "Datei nicht schreiben.\n");
    EXPECT_EQ(ReadWholeFile(file), settings);
}

TEST_F(ProgramTest, ASecondStartLeavesTheRunningOneAlone)
{
    PlaceDatabase();
    CProcess first = Start(false);
    ASSERT_TRUE(WaitForMainWindow());

    EXPECT_EQ(Run(), 0);
    // The second start appends to the log the first one holds; the steps stay the first one's.
    const std::string log = Logs();
    EXPECT_EQ(Count(log, "Zephrin runs already"), 1);
    EXPECT_EQ(Count(log, "Main window shown"), 1);
    EXPECT_EQ(Count(log, "Opening units database..."), 1);
    EXPECT_EQ(Count(log, "Update not scheduled"), 1);
    EXPECT_EQ(Messages(), "");
    EXPECT_TRUE(first.Running()) << "the first one ended";
}

// A window manager frames the window after it is shown, and the window passes through tiny
// sizes on the way: the toolbar must not be laid out in less than its buttons need, and the
// border arriving late must not squeeze the menu bar's box below its children.
TEST_F(ProgramTest, StartsWithoutToolkitLayoutWarnings)
{
    CWindowManager manager;
    ASSERT_TRUE(manager.Start()) << "openbox could not be started";
    PlaceDatabase();
    {
        const CProcess running = Start(false);
        ASSERT_TRUE(WaitForMainWindow());
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }
    EXPECT_EQ(program.ToolkitWarnings(), "");
}

}  // namespace
