#include "LogTestFolder.h"

#include "Platform/VersionInfo.h"
#include "Quillet/LogManager.h"
#include "Quillet/Logger.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class LogManagerTest : public LogTestFolder {
protected:
    static std::uint64_t FileSize(const std::string& path)
    {
        struct stat info;
        return stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    }

    // Log file lines of the loggers, without START and END.
    std::vector<std::string> MessageLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : ReadLines(LogPath()))
            if (line.find("Quillet START") == std::string::npos && line.find("Quillet END") == std::string::npos)
                lines.push_back(line);
        return lines;
    }

    static void WriteEveryLevel(CLogger& logger)
    {
        logger.Trace("%s trace", logger.GetName());
        logger.Debug("%s debug", logger.GetName());
        logger.Info("%s info", logger.GetName());
        logger.Warn("%s warn", logger.GetName());
        logger.Error("%s error", logger.GetName());
        logger.Critical("%s critical", logger.GetName());
    }
};

TEST_F(LogManagerTest, FormatTokens)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger logger = manager.GetLogger("CUnitDb", LOGLEVEL_PARENT);

    char thread[16];
    std::snprintf(thread, sizeof(thread), "0x%04X", static_cast<unsigned>(gettid()));
    const struct {
        const char* format;
        std::string expected;  // '#' for a digit
    } cases[] = {
        {"[$LEVEL]\t$MESSAGE", "[warn]\thello 7"},
        {"$$", "$"},
        {"a$$b", "a$b"},
        {"$LEVEL$MESSAGE", "warn$MESSAGE"},
        {"$x", "x"},
        {"$level", "level"},
        {"<$NOSUCH>", "<NOSUCH>"},
        {"$LEVEL1", "warn1"},
        {"end $", "end "},
        {"end $MESSAGE", "end hello 7"},
        {"$LOGGER:$FILE:$LINE", "CUnitDb:UnitDb.cpp:42"},
        {"$PROCESS", std::to_string(getpid())},
        {"$THREAD", thread},
        {"$DATE $TIME", "####-##-## ##:##:##:###"},
        {"", ""},
    };
    for (const auto& c : cases) {
        manager.SetFormat(c.format);
        logger.SetPosition(42, "UnitDb.cpp");
        logger.Warn("hello %d", 7);
    }

    const std::vector<std::string> lines = ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 1 + std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(Matches(lines[i + 1], cases[i].expected))
            << "format \"" << cases[i].format << "\" gave \"" << lines[i + 1] << '"';
}

// The milliseconds are the tick count's since the system started, which has nothing to do with
// the clock's own milliseconds.
TEST_F(LogManagerTest, TimeMillisecondsComeFromTheTickCount)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    manager.SetFormat("$TIME");
    CLogger logger = manager.GetLogger("CUnitDb", LOGLEVEL_TRACE);
    timespec before{}, after{};
    clock_gettime(CLOCK_MONOTONIC, &before);
    logger.Info("now");
    clock_gettime(CLOCK_MONOTONIC, &after);

    const std::string line = ReadLines(LogPath()).back();
    ASSERT_EQ(line.size(), 12u) << line;
    const long written = std::stol(line.substr(9));
    const long from = before.tv_nsec / 1000000;
    const long to = after.tv_nsec / 1000000;
    if (from <= to)
        EXPECT_TRUE(written >= from && written <= to) << written;
    else  // the second turned over in between
        EXPECT_TRUE(written >= from || written <= to) << written;
}

TEST_F(LogManagerTest, LevelFilterWithParentAndNone)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_INFO));
    manager.SetFormat("$MESSAGE");
    CLogger follows = manager.GetLogger("Follows", LOGLEVEL_PARENT);
    CLogger warns = manager.GetLogger("Warns", LOGLEVEL_WARN);
    CLogger silent = manager.GetLogger("Silent", LOGLEVEL_NONE);
    CLogger unlisted(&manager, "Unlisted");  // not in the level map
    manager.SetLoggerLevel(LOGLEVEL_ERROR, "Kept");
    CLogger kept = manager.GetLogger("Kept", LOGLEVEL_TRACE);  // the entry there stays

    for (CLogger* logger : {&follows, &warns, &silent, &unlisted, &kept})
        WriteEveryLevel(*logger);
    // A default of "parent" drops everything for the loggers that follow it.
    manager.SetLoggerLevel(LOGLEVEL_PARENT, nullptr);
    follows.Critical("after parent default");

    const std::vector<std::string> expected = {
        "Follows info", "Follows warn", "Follows error", "Follows critical", "Warns warn",
        "Warns error",  "Warns critical", "Kept error",  "Kept critical",
    };
    EXPECT_EQ(MessageLines(), expected);
    EXPECT_EQ(manager.GetLoggerLevel("Kept"), LOGLEVEL_ERROR);
    EXPECT_EQ(manager.GetLoggerLevel("Unlisted"), LOGLEVEL_NONE);
    EXPECT_EQ(manager.GetLoggerLevel(nullptr), LOGLEVEL_PARENT);
}

TEST_F(LogManagerTest, NegativeLevelHasNoLevelName)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger logger = manager.GetLogger("Deep", -10);
    logger.Log(-5, "below trace");
    logger.Log(-20, "below the logger");
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"[]\tbelow trace"});
}

TEST_F(LogManagerTest, WithoutConfigEverythingIsWrittenIntoAFreshFile)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
    EXPECT_TRUE(manager.IsOpen());
    EXPECT_EQ(std::string(manager.GetLogFileName()), LogPath());
    CLogger logger = manager.GetLogger("CFluid", LOGLEVEL_PARENT);
    WriteEveryLevel(logger);
    manager.Close();
    EXPECT_FALSE(manager.IsOpen());
    logger.Critical("after close");

    const std::vector<std::string> lines = ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 8u);
    const SFileVersion version = Platform::GetProgramVersion();
    const std::string versionText = std::to_string(version.part[0]) + "." + std::to_string(version.part[1]) +
                                    "." + std::to_string(version.part[2]) + "." +
                                    std::to_string(version.part[3]);
    for (const char* word : {"START", "END"}) {
        const std::string marker("[info]\tQuillet " + std::string(word) + " PID=" + std::to_string(getpid()) +
                                " '" + ProgramPath() + "' " + versionText + " TIME #*#");
        const std::string& line = std::string(word) == "START" ? lines.front() : lines.back();
        EXPECT_TRUE(Matches(line, marker)) << line;
    }
    const std::vector<std::string> middle(lines.begin() + 1, lines.end() - 1);
    const std::vector<std::string> expected = {
        "[trace]\tCFluid trace", "[debug]\tCFluid debug",  "[info]\tCFluid info",
        "[warn]\tCFluid warn",   "[error]\tCFluid error", "[critical]\tCFluid critical",
    };
    EXPECT_EQ(middle, expected);

    // The next start begins a new file.
    ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
    manager.Close();
    EXPECT_EQ(ReadLines(LogPath()).size(), 2u);
}

TEST_F(LogManagerTest, DefaultWarnWithOneLoggerAtTrace)
{
    WriteConfig("[Settings]\nLogLevel=warn\n[LogLevels]\nCUnitDb=trace\n");
    CLogManager manager;
    ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
    CLogger unitDb = manager.GetLogger("CUnitDb", LOGLEVEL_PARENT);
    CLogger fluid = manager.GetLogger("CFluid", LOGLEVEL_PARENT);
    WriteEveryLevel(unitDb);
    WriteEveryLevel(fluid);
    manager.Close();

    const std::vector<std::string> expected = {
        "[trace]\tCUnitDb trace", "[debug]\tCUnitDb debug", "[info]\tCUnitDb info",
        "[warn]\tCUnitDb warn",   "[error]\tCUnitDb error", "[critical]\tCUnitDb critical",
        "[warn]\tCFluid warn",    "[error]\tCFluid error",  "[critical]\tCFluid critical",
    };
    // No START or END: they are info lines of the default level.
    EXPECT_EQ(ReadLines(LogPath()), expected);
}

TEST_F(LogManagerTest, ConfigEntriesReplaceTheLevelMap)
{
    WriteConfig("; loggers of the units page\r\n"
                "[settings]\r\n"
                "  loglevel  =  error  \r\n"
                "LogFormat = $LOGGER:$MESSAGE\r\n"
                "[LogLevels]\r\n"
                "  CUnitDb  =  debug  \r\n"
                "CFluid Manager=info\r\n"
                "=trace\r\n"
                "NoEquals\r\n"
                "CCase=Trace\r\n"
                "CSecond=warn=x\r\n");
    CLogManager manager;
    manager.SetLoggerLevel(LOGLEVEL_INFO, "COld");
    ASSERT_TRUE(manager.LoadConfig(nullptr, LOGLEVEL_TRACE));

    EXPECT_EQ(manager.GetLoggerLevel(nullptr), LOGLEVEL_ERROR);
    // A name is the text before the '=' with its blanks.
    EXPECT_EQ(manager.GetLoggerLevel("CUnitDb  "), LOGLEVEL_DEBUG);
    EXPECT_EQ(manager.GetLoggerLevel("CUnitDb"), LOGLEVEL_NONE);
    EXPECT_EQ(manager.GetLoggerLevel("CFluid Manager"), LOGLEVEL_INFO);
    EXPECT_EQ(manager.GetLoggerLevel("CCase"), LOGLEVEL_NONE);
    EXPECT_EQ(manager.GetLoggerLevel("CSecond"), LOGLEVEL_NONE);
    EXPECT_EQ(manager.GetLoggerLevel("COld"), LOGLEVEL_NONE);
    EXPECT_EQ(manager.GetLoggerLevel("NoEquals"), LOGLEVEL_NONE);

    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger unitDb = manager.GetLogger("CUnitDb  ", LOGLEVEL_PARENT);
    unitDb.Debug("read");
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"CUnitDb  :read"});
}

TEST_F(LogManagerTest, ConfigDefaultsAndMissingFile)
{
    CLogManager manager;
    manager.SetLoggerLevel(LOGLEVEL_INFO, "CUnitDb");
    manager.SetLoggerLevel(LOGLEVEL_DEBUG, nullptr);
    EXPECT_FALSE(manager.LoadConfig(nullptr, LOGLEVEL_TRACE));
    EXPECT_FALSE(manager.LoadConfig(PathOf("other.logcfg").c_str(), LOGLEVEL_TRACE));
    std::filesystem::create_directory(PathOf("folder.logcfg"));
    EXPECT_FALSE(manager.LoadConfig(PathOf("folder.logcfg").c_str(), LOGLEVEL_TRACE));
    EXPECT_EQ(manager.GetLoggerLevel("CUnitDb"), LOGLEVEL_INFO);
    EXPECT_EQ(manager.GetLoggerLevel(nullptr), LOGLEVEL_DEBUG);

    // Without LogLevel the level passed in stays, "parent" giving none; an empty LogFormat
    // keeps the format.
    std::ofstream(PathOf("other.logcfg")) << "[Settings]\nLogFormat=\n";
    ASSERT_TRUE(manager.LoadConfig(PathOf("other.logcfg").c_str(), LOGLEVEL_WARN));
    EXPECT_EQ(manager.GetLoggerLevel(nullptr), LOGLEVEL_WARN);
    EXPECT_EQ(manager.GetLoggerLevel("CUnitDb"), LOGLEVEL_NONE);
    ASSERT_TRUE(manager.LoadConfig(PathOf("other.logcfg").c_str(), LOGLEVEL_PARENT));
    EXPECT_EQ(manager.GetLoggerLevel(nullptr), LOGLEVEL_NONE);

    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    manager.GetLogger("CUnitDb", LOGLEVEL_PARENT).Info("kept format");
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"[info]\tkept format"});
}

TEST_F(LogManagerTest, SizeLimitEmptiesTheFileBeforeTheNextLine)
{
    const struct {
        const char* text;
        std::uint64_t limit;  // 0: no limit
    } cases[] = {
        {"2 KB", 2048}, {"1mb", 1048576}, {"100", 100}, {"x", 0}, {"3Kb", 3072}, {"-5kb", 0},
    };
    const std::string payload(99, 'p');  // lines of 100 bytes
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteConfig(std::string("[Settings]\nLogFormat=$MESSAGE\nMaxLogFileSize=") + c.text + "\n");
        CLogManager manager;
        ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
        CLogger logger = manager.GetLogger("CUnitDb", LOGLEVEL_TRACE);
        const std::uint64_t lines = (c.limit == 0 ? 4096 : c.limit) / 100 + 3;
        int cuts = 0;
        for (std::uint64_t i = 0; i < lines; ++i) {
            const std::uint64_t before = FileSize(LogPath());
            logger.Info("%s", payload.c_str());
            const std::uint64_t after = FileSize(LogPath());
            const bool cut = c.limit != 0 && before >= c.limit;
            ASSERT_EQ(after, cut ? 100 : before + 100) << "line " << i;
            cuts += cut;
        }
        EXPECT_EQ(cuts > 0, c.limit != 0);
    }
}

TEST_F(LogManagerTest, AppendAndDatedFileNameFromConfig)
{
    WriteConfig("[Settings]\nAppendToLogFile=1\n");
    for (int run = 0; run < 2; ++run) {
        CLogManager manager;
        ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
        manager.GetLogger("CRun", LOGLEVEL_TRACE).Info("run %d", run);
    }
    EXPECT_EQ(MessageLines(), (std::vector<std::string>{"[info]\trun 0", "[info]\trun 1"}));

    WriteConfig("[Settings]\nFileNameWithDate=1\n");
    CLogManager manager;
    ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
    const std::string name = manager.GetLogFileName();
    EXPECT_TRUE(Matches(name, PathOf("Zephrin ####-##-## ##-##-##.log")))
        << name;
    EXPECT_GT(FileSize(name), 0u);
}

TEST_F(LogManagerTest, FileNamesWorkOnTheProgramFileName)
{
    const struct {
        const char* program;
        const char* config;
        const char* log;
        const char* logWithPrefix;
    } cases[] = {
        {"/opt/zephrin/Zephrin", "/opt/zephrin/Zephrin.logcfg", "/opt/zephrin/Zephrin.log",
         "/opt/zephrin/Logs/Zephrin.log"},
        {"/opt/zephrin/Zephrin.exe", "/opt/zephrin/Zephrin.logcfg", "/opt/zephrin/Zephrin.log",
         "/opt/zephrin/Logs/Zephrin.log"},
        {"/opt/zephrin-1.2/Zephrin", "/opt/zephrin-1.2/Zephrin.logcfg", "/opt/zephrin-1.2/Zephrin.log",
         "/opt/zephrin-1.2/Logs/Zephrin.log"},
        {"/opt/z.d/Zephrin.bin.exe", "/opt/z.d/Zephrin.bin.logcfg", "/opt/z.d/Zephrin.bin.log",
         "/opt/z.d/Logs/Zephrin.bin.log"},
        {"/opt/z/.zephrin", "/opt/z/.zephrin.logcfg", "/opt/z/.zephrin.log", "/opt/z/Logs/.zephrin.log"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CLogManager::ConfigFileNameFor(c.program), c.config);
        EXPECT_EQ(CLogManager::LogFileNameFor(c.program, "", false), c.log);
        EXPECT_EQ(CLogManager::LogFileNameFor(c.program, "Logs", false), c.logWithPrefix);
    }
    EXPECT_TRUE(Matches(CLogManager::LogFileNameFor("/opt/z.d/Zephrin", "", true),
                        "/opt/z.d/Zephrin ####-##-## ##-##-##.log"));

    // The prefix is a folder beside the program.
    std::filesystem::create_directory(PathOf("Logs"));
    CLogManager manager;
    manager.SetFileNamePrefix("Logs");
    ASSERT_TRUE(manager.Open(nullptr, LOGLEVEL_TRACE));
    EXPECT_EQ(std::string(manager.GetLogFileName()), PathOf("Logs/Zephrin.log"));
    EXPECT_GT(FileSize(PathOf("Logs/Zephrin.log")), 0u);
}

TEST_F(LogManagerTest, LongMessagesAreCutAtTheBuffers)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger logger = manager.GetLogger("CLong", LOGLEVEL_TRACE);
    const std::string longText(6000, 'm');

    logger.Info("%s", longText.c_str());
    manager.SetFormat("[$LEVEL]\t$MESSAGE $MESSAGE");
    logger.Info("%s", longText.c_str());
    manager.SetFormat("$MESSAGE");
    logger.Info("short");

    const std::vector<std::string> lines = MessageLines();
    ASSERT_EQ(lines.size(), 3u);
    // Compared as a whole, printed by length only.
    EXPECT_TRUE(lines[0] == "[info]\t" + std::string(4095, 'm')) << lines[0].size();
    EXPECT_TRUE(lines[1] == "[info]\t" + std::string(4095, 'm') + " " + std::string(5119 - 7 - 4095 - 1, 'm'))
        << lines[1].size();
    EXPECT_EQ(lines[2], "short");
}

TEST_F(LogManagerTest, ArgumentsThatCannotBePrintedAreReported)
{
    CLogManager manager;
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger logger = manager.GetLogger("CText", LOGLEVEL_TRACE);
    // A wide character the C locale cannot convert makes the printing fail.
    logger.Info("name %ls", L"\u0100");
    logger.Info("next %d", 1);

    const std::vector<std::string> expected = {
        "[critical]\terror in printf parameters", "[critical]\tname %ls", "[info]\tname %ls",
        "[info]\tnext 1"};
    EXPECT_EQ(MessageLines(), expected);
}

TEST_F(LogManagerTest, OpenFailureLeavesNoFile)
{
    CLogManager manager;
    EXPECT_FALSE(manager.Open(PathOf("missing/folder/x.log").c_str(), LOGLEVEL_TRACE));
    EXPECT_FALSE(manager.IsOpen());
    int handle = 0;
    EXPECT_EQ(manager.GetFileHandle(&handle), 1);
    EXPECT_EQ(handle, -1);
    manager.GetLogger("CNoFile", LOGLEVEL_TRACE).Info("dropped");

    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    EXPECT_EQ(manager.GetFileHandle(&handle), 1);
    EXPECT_GE(handle, 0);
    // The crash writer writes through the handle between the lines.
    ASSERT_EQ(write(handle, "crash\n", 6), 6);
    manager.SetFormat("$MESSAGE");
    manager.GetLogger("CNoFile", LOGLEVEL_TRACE).Info("after");
    EXPECT_EQ(MessageLines(), (std::vector<std::string>{"crash", "after"}));
}

TEST_F(LogManagerTest, AttachTakesOverSettingsAndFile)
{
    CLogManager first;
    WriteConfig("[Settings]\nLogLevel=debug\nLogFormat=$LOGGER $MESSAGE\n[LogLevels]\nCShared=error\n");
    ASSERT_TRUE(first.Open(nullptr, LOGLEVEL_TRACE));

    CLogManager second;
    EXPECT_FALSE(second.Attach(nullptr));
    CLogManager unopened;
    EXPECT_FALSE(second.Attach(&unopened));
    ASSERT_TRUE(second.Attach(&first));
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(second.GetLoggerLevel(nullptr), LOGLEVEL_DEBUG);
    EXPECT_EQ(second.GetLoggerLevel("CShared"), LOGLEVEL_ERROR);

    CLogger shared = second.GetLogger("CShared", LOGLEVEL_TRACE);
    shared.Warn("dropped");
    shared.Error("kept");
    first.Close();
    second.GetLogger("COwn", LOGLEVEL_PARENT).Debug("still open");
    second.Close();

    const std::vector<std::string> lines = ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[0].find("Quillet START"), std::string::npos);
    EXPECT_NE(lines[1].find("Quillet START"), std::string::npos);
    EXPECT_EQ(lines[2], "CShared kept");
    EXPECT_NE(lines[3].find("Quillet END"), std::string::npos);
    EXPECT_EQ(lines[4], "COwn still open");
    EXPECT_NE(lines[5].find("Quillet END"), std::string::npos);
}

TEST_F(LogManagerTest, ThreadsShareTheManagerLineByLine)
{
    CLogManager manager;
    manager.SetFormat("$LOGGER $MESSAGE");
    ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    const int threadCount = 4;
    const int linesEach = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        // One logger per thread: a logger keeps the position of its next call.
        threads.emplace_back([&manager, t] {
            const std::string name = "CThread" + std::to_string(t);
            CLogger logger = manager.GetLogger(name.c_str(), LOGLEVEL_TRACE);
            for (int i = 0; i < linesEach; ++i) {
                QUILLET_POS(logger);
                logger.Info("%05d %s", i, std::string(100 + t, 'a' + t).c_str());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    manager.Close();

    std::vector<int> next(threadCount, 0);
    for (const std::string& line : MessageLines()) {
        ASSERT_TRUE(Matches(line, "CThread# ##### *")) << line.substr(0, 80);
        const int t = line[7] - '0';
        ASSERT_EQ(line.substr(8), " " + std::string(5 - std::to_string(next[t]).size(), '0') +
                                      std::to_string(next[t]) + " " + std::string(100 + t, 'a' + t));
        ++next[t];
    }
    EXPECT_EQ(next, std::vector<int>(threadCount, linesEach));
}

TEST_F(LogManagerTest, TwoProcessesWriteOnlyWholeLines)
{
    const int linesEach = 10000;
    const std::string payload(150, 'w');
    // Both open the log in the usual, emptying way and only then write, so neither may empty
    // what the other already wrote: its START line included.
    int ready[2];
    int go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            close(go[1]);
            int status = 0;
            {
                CLogManager manager;
                manager.SetFormat("$PROCESS $MESSAGE");
                if (!manager.Open(LogPath().c_str(), LOGLEVEL_TRACE))
                    status = 1;
                // Closing its end of ready lets the test go on should the other child die.
                char byte = 'r';
                const bool told = write(ready[1], &byte, 1) == 1;
                close(ready[1]);
                if (!told || read(go[0], &byte, 1) != 0)
                    status = 1;
                CLogger logger = manager.GetLogger("CWriter", LOGLEVEL_TRACE);
                for (int i = 0; i < linesEach; ++i)
                    logger.Info("%05d %s", i, payload.c_str());
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    close(ready[1]);
    close(go[0]);
    char opened[2];
    EXPECT_EQ(read(ready[0], opened, 1) + read(ready[0], opened + 1, 1), 2);
    close(ready[0]);
    close(go[1]);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // Every line whole, none lost.
    std::map<std::string, int> lastOf;
    std::map<std::string, int> startsOf;
    std::size_t written = 0;
    const std::string text = ReadWholeFile(LogPath());
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    for (const std::string& line : ReadLines(LogPath())) {
        const std::size_t blank = line.find(' ');
        ASSERT_NE(blank, std::string::npos) << line.substr(0, 300);
        const std::string pid = line.substr(0, blank);
        const std::string rest = line.substr(blank + 1);
        ASSERT_TRUE(Matches(pid, std::string(pid.size(), '#'))) << line.substr(0, 300);
        if (Matches(rest, "Quillet START *")) {
            ++startsOf[pid];
            continue;
        }
        if (Matches(rest, "Quillet END *"))
            continue;
        ASSERT_TRUE(Matches(rest, "##### " + payload)) << line.substr(0, 300);
        const int number = std::stoi(rest.substr(0, 5));
        auto last = lastOf.emplace(pid, -1).first;
        ASSERT_GT(number, last->second) << line.substr(0, 40);
        last->second = number;
        ++written;
    }
    EXPECT_EQ(lastOf.size(), 2u);
    EXPECT_EQ(written, 2u * linesEach);
    EXPECT_EQ(startsOf.size(), 2u);
    for (const auto& starts : startsOf)
        EXPECT_EQ(starts.second, 1) << starts.first;
}

TEST_F(LogManagerTest, ASecondProcessAppendsToALogThatIsStillOpen)
{
    CLogManager first;
    first.SetFormat("$MESSAGE");
    ASSERT_TRUE(first.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    CLogger logger = first.GetLogger("CFirst", LOGLEVEL_TRACE);
    logger.Info("first before");

    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        int status = 1;
        {
            CLogManager second;
            second.SetFormat("$MESSAGE");
            if (second.Open(LogPath().c_str(), LOGLEVEL_TRACE)) {
                second.GetLogger("CSecond", LOGLEVEL_TRACE).Info("second");
                status = 0;
            }
        }
        _exit(status);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    logger.Info("first after");
    first.Close();

    std::vector<std::string> starts;
    std::vector<std::string> messages;
    for (const std::string& line : ReadLines(LogPath())) {
        if (line.rfind("Quillet START", 0) == 0)
            starts.push_back(line);
        else if (line.rfind("Quillet END", 0) != 0)
            messages.push_back(line);
    }
    EXPECT_EQ(starts.size(), 2u);
    EXPECT_EQ(messages, (std::vector<std::string>{"first before", "second", "first after"}));

    // Once nobody holds it, the next one empties it as before.
    CLogManager third;
    third.SetFormat("$MESSAGE");
    ASSERT_TRUE(third.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    third.Close();
    const std::vector<std::string> lines = ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(Matches(lines[0], "Quillet START *")) << lines[0];
}

// Points the user's runtime folder elsewhere for one test.
class RuntimeFolderScope {
public:
    explicit RuntimeFolderScope(const std::string& folder)
    {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_had = old != nullptr;
        if (m_had)
            m_old = old;
        if (folder.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
    ~RuntimeFolderScope()
    {
        if (m_had)
            setenv("XDG_RUNTIME_DIR", m_old.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool m_had = false;
    std::string m_old;
};

TEST_F(LogManagerTest, LockFileLiesInAPlaceOfTheUser)
{
    const std::string runtime = PathOf("runtime");
    ASSERT_TRUE(std::filesystem::create_directory(runtime));
    const struct {
        const char* what;
        std::string runtime;
        std::string lockFile;
    } cases[] = {
        {"the runtime folder", runtime, runtime + "/Zephrin.logmutex"},
        {"beside the log without one", "", PathOf("Zephrin.logmutex")},
    };
    for (const auto& c : cases) {
        RuntimeFolderScope scope(c.runtime);
        CLogManager manager;
        ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
        manager.Close();
        EXPECT_TRUE(std::filesystem::is_regular_file(c.lockFile)) << c.what;
    }
}

TEST_F(LogManagerTest, LockFileThatCannotBeUsedIsReportedAndLinesAreStillWritten)
{
    const std::string runtime = PathOf("runtime");
    const std::string lockFile = runtime + "/Zephrin.logmutex";
    ASSERT_TRUE(std::filesystem::create_directory(runtime));
    RuntimeFolderScope scope(runtime);
    struct Case {
        const char* what;
        bool (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"a folder in its place", [](const std::string& path) { return std::filesystem::create_directory(path); }},
        // Only root can give a file to another user.
        {"another user's file",
         [](const std::string& path) {
             WriteWholeFile(path, "");
             return geteuid() == 0 && chown(path.c_str(), 65534, 65534) == 0;
         }},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(lockFile);
        if (!c.make(lockFile)) {
            std::printf("not tried: %s\n", c.what);
            continue;
        }
        CLogManager manager;
        manager.SetFormat("$LEVEL|$MESSAGE");
        ASSERT_TRUE(manager.Open(LogPath().c_str(), LOGLEVEL_TRACE)) << c.what;
        manager.GetLogger("CUser", LOGLEVEL_TRACE).Info("still written");
        manager.Close();
        const std::string text = ReadWholeFile(LogPath());
        EXPECT_NE(text.find("error|The log lock file " + lockFile), std::string::npos) << c.what << "\n" << text;
        EXPECT_NE(text.find("info|still written"), std::string::npos) << c.what << "\n" << text;
    }
}

// --- the process-wide manager at process end ---------------------------------------------------

bool askAfterExit = false;
const int lateCallDone = 7;  // the exit status that shows the late call ran

// Runs after every static object is gone, the manager's holder included.
__attribute__((destructor)) void AskForTheManagerAfterItsHolder()
{
    if (!askAfterExit)
        return;
    CLogManager* manager = CLogManager::GetInstance();
    CLogger logger = manager->GetLogger("CLate", LOGLEVEL_TRACE);
    logger.Critical("too late");
    _exit(manager->IsOpen() ? 3 : lateCallDone);
}

TEST_F(LogManagerTest, ManagerAskedForAfterProcessEndIsHarmless)
{
    EXPECT_EQ(CLogManager::GetInstance(), CLogManager::GetInstance());
    fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        askAfterExit = true;
        CLogManager::GetInstance()->Open(LogPath().c_str(), LOGLEVEL_TRACE);
        CLogManager::GetInstance()->GetLogger("CMain", LOGLEVEL_TRACE).Info("in main");
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), lateCallDone);

    const std::vector<std::string> lines = ReadLines(LogPath());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "[info]\tin main");
    EXPECT_NE(lines[2].find("Quillet END"), std::string::npos);
}

}  // namespace
