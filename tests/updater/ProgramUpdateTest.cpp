// The program's self-update and the updater, started as a user starts them from a folder of their
// own, against a local HTTP server: the start-up brings a file up to date, with protocol none it
// asks nothing, and a file in use (the program itself) is handed over to the updater, which
// replaces it and starts the program again.
#include "Libraries/Renovix/ServerProcess.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "support/InstalledProgram.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

class ProgramUpdateTest : public ::testing::Test {
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

    void SetUp() override { ASSERT_NE(s_http->Port(), 0) << "the HTTP server did not start"; }

    // The server's folder for this test, as the settings name it.
    std::string ServerUrl() const
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return "http://127.0.0.1:" + std::to_string(s_http->Port()) + "/" + test->name() + "/";
    }
    static std::string ServerPath(const std::string& name)
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return s_www->Path(std::string(test->name()) + "/" + name);
    }

    // The server offers name with bytes, and a list installing it into the program program.
    static void Offer(const std::string& name, const std::string& bytes)
    {
        ::mkdir(ServerPath("").c_str(), 0755);
        WriteWholeFile(ServerPath(name), bytes);
        WriteWholeFile(ServerPath("RenovixList.1.0.0.0.xml"),
                       "<?xml version='1.0'?>\n<renovix>\n  <updateentry source='" + CTextScrambler::Encode(name) +
                           "' destination='' flags='FILE UPDATE_EXISTING IGNORE_VERSION'/>\n</renovix>\n");
    }

    void WriteSettings(const char* protocol)
    {
        WriteWholeFile(program.Path("Renovix.xml"),
                       "<?xml version='1.0'?>\n<renovix><settings basedir='" + ServerUrl() + "' protocol='" +
                           protocol + "' schedule='EVERYSTART' nextrenovix='2000-01-01 00:00:00' packages='all'/>"
                           "</renovix>\n");
    }

    // A program standing in for the sizing program once the updater has replaced it: it writes
    // its arguments to "argv.txt" beside it.
    static std::string RecordingStub()
    {
        return "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$(dirname \"$0\")/argv.txt.part\"\n"
               "mv \"$(dirname \"$0\")/argv.txt.part\" \"$(dirname \"$0\")/argv.txt\"\n";
    }

    // Runs the program (the sizing program until its main window has shown) with the arguments;
    // its exit status, -1 when it had to be killed after a minute.
    int Run(const std::string& name = "Zephrin", const std::vector<std::string>& arguments = {})
    {
        return program.Launch({"ZEPHRIN_EXIT_AFTER_SHOW=1"}, name, arguments).Wait();
    }

    std::string Logs() const { return program.Logs(); }

    static CTemporaryFolder* s_www;
    static CServerProcess* s_http;
    CInstalledProgram program;
};

CTemporaryFolder* ProgramUpdateTest::s_www = nullptr;
CServerProcess* ProgramUpdateTest::s_http = nullptr;

TEST_F(ProgramUpdateTest, TheStartUpBringsAFileUpToDate)
{
    Offer("notes.txt", "the new notes");
    WriteWholeFile(program.Path("notes.txt"), "the old notes");
    WriteSettings("HTTP");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ReadWholeFile(program.Path("notes.txt")), "the new notes");
    EXPECT_EQ(ReadWholeFile(program.Path("messages.txt")), "");
    const std::string log = Logs();
    EXPECT_NE(log.find("CRenovix::UpdateFiles OK"), std::string::npos) << log.substr(0, 3000);
    // The run moved the next update on and kept the settings.
    const std::string settings = ReadWholeFile(program.Path("Renovix.xml"));
    EXPECT_EQ(settings.find("2000-01-01"), std::string::npos) << settings;
    EXPECT_NE(settings.find(ServerUrl()), std::string::npos) << settings;
}

TEST_F(ProgramUpdateTest, WithProtocolNoneNothingIsAsked)
{
    Offer("notes.txt", "the new notes");
    WriteWholeFile(program.Path("notes.txt"), "the old notes");
    WriteSettings("NONE");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ReadWholeFile(program.Path("notes.txt")), "the old notes");
    const std::string log = Logs();
    EXPECT_NE(log.find("Update not scheduled, protocol=NONE"), std::string::npos) << log.substr(0, 3000);
    EXPECT_EQ(log.find("LoadUpdateList"), std::string::npos);
}

TEST_F(ProgramUpdateTest, AProgramFileInUseIsReplacedByTheUpdaterWhichStartsTheProgramAgain)
{
    Offer("Zephrin", RecordingStub());
    WriteSettings("HTTP");
    // The start-up finds its own file in use, hands it over and ends; the updater waits for it,
    // replaces it and starts the program named on its command line.
    EXPECT_EQ(Run(), 0);
    const std::string argv = WaitForFile(program.Path("argv.txt"), std::chrono::seconds(60));
    EXPECT_EQ(argv, program.Path("Zephrin") + "\n") << ReadWholeFile(program.Path("messages.txt")) << Logs();
    // Not compared with EXPECT_EQ: a failure would print the whole program file.
    EXPECT_TRUE(ReadWholeFile(program.Path("Zephrin")) == RecordingStub()) << "the program file was not replaced";
    EXPECT_EQ(ReadWholeFile(program.Path("messages.txt")), "");
    struct stat status;
    EXPECT_NE(::stat(program.Path("SharedFiles.tmp").c_str(), &status), 0) << "the hand-over list stays behind";
    const std::string log = Logs();
    EXPECT_NE(log.find("CRenovix::UpdateFiles HAD_SHARED"), std::string::npos) << log.substr(0, 3000);
    EXPECT_NE(log.find("SharedUpdate"), std::string::npos);
}

TEST_F(ProgramUpdateTest, AFailedUpdateStartsNothing)
{
    // The list names a file the server does not have.
    Offer("notes.txt", "the new notes");
    ::unlink(ServerPath("notes.txt").c_str());
    WriteSettings("HTTP");
    ASSERT_TRUE(WriteScript(program.Path("stub"), RecordingStub()));
    EXPECT_NE(Run("Renovix", {program.Path("stub")}), 0);
    EXPECT_EQ(ReadWholeFile(program.Path("messages.txt")),
              "Renovix: Error\tErrors occured during the update. Some files could not be updated.  "
              "One or more files could not be downloaded from the update-server.\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    struct stat status;
    EXPECT_NE(::stat(program.Path("argv.txt").c_str(), &status), 0);
}

// Whoever starts the updater learns from its exit status whether the update and the restart
// worked.
TEST_F(ProgramUpdateTest, TheUpdaterExitsWithAFailureWhenTheProgramCannotStartAgain)
{
    Offer("notes.txt", "the new notes");
    WriteSettings("HTTP");
    ASSERT_TRUE(WriteScript(program.Path("stub"), RecordingStub()));
    const struct {
        const char* program;
        bool fails;
    } cases[] = {{"stub", false}, {"missing", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        ::unlink(program.Path("messages.txt").c_str());
        ::unlink(program.Path("notes.txt").c_str());
        const int status = Run("Renovix", {program.Path(c.program)});
        EXPECT_EQ(status != 0, c.fails) << status;
        EXPECT_EQ(ReadWholeFile(program.Path("notes.txt")), "the new notes");
        const std::string messages = ReadWholeFile(program.Path("messages.txt"));
        EXPECT_EQ(messages.rfind("Renovix: Error\t", 0) == 0, c.fails) << messages;
        if (!c.fails) {
            EXPECT_EQ(WaitForFile(program.Path("argv.txt"), std::chrono::seconds(60)), program.Path("stub") + "\n");
        }
    }
}

TEST_F(ProgramUpdateTest, AnArgumentOfOnlyBlanksAndQuotesIsRefused)
{
    WriteSettings("HTTP");
    EXPECT_NE(Run("Renovix", {" \"  \" "}), 0);
    EXPECT_EQ(ReadWholeFile(program.Path("messages.txt")), "Renovix: Error\tError in commandline!\n");
}

// A log file that cannot be made stops the updater, unless logging is switched off.
TEST_F(ProgramUpdateTest, ALogFileThatCannotBeMadeStopsTheUpdaterUnlessLoggingIsOff)
{
    ASSERT_EQ(::mkdir(program.Path("Renovix.log").c_str(), 0755), 0);
    const struct {
        const char* config;
        const char* messages;
    } cases[] = {
        {nullptr, "Renovix: Error\tError creating logfile. Terminating application!\n"},
        {"[Settings]\nLogLevel=warn\n", "Renovix: Error\tError creating logfile. Terminating application!\n"},
        {"[Settings]\nLogLevel=none\n", "Renovix: Error\tError in commandline!\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config ? c.config : "no configuration");
        if (c.config)
            WriteWholeFile(program.Path("Renovix.logcfg"), c.config);
        std::remove(program.Path("messages.txt").c_str());
        EXPECT_NE(Run("Renovix", {" \"  \" "}), 0);
        EXPECT_EQ(ReadWholeFile(program.Path("messages.txt")), c.messages);
    }
}

}  // namespace
