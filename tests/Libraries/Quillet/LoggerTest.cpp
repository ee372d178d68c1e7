#include "LogTestFolder.h"

#include "Quillet/LogManager.h"
#include "Quillet/Logger.h"

#include <string>

namespace {

class LoggerTest : public LogTestFolder {
protected:
    void SetUp() override
    {
        LogTestFolder::SetUp();
        ASSERT_TRUE(m_manager.Open(LogPath().c_str(), LOGLEVEL_TRACE));
    }

    // The lines after START.
    std::vector<std::string> Written()
    {
        std::vector<std::string> lines = ReadLines(LogPath());
        lines.erase(lines.begin());
        return lines;
    }

    CLogManager m_manager;
};

TEST_F(LoggerTest, PositionServesTheNextCallOnly)
{
    m_manager.SetFormat("$FILE|$LINE|$MESSAGE");
    CLogger logger = m_manager.GetLogger("CUnitDb", LOGLEVEL_PARENT);

    logger.SetPosition(12, "UnitDb.cpp");
    logger.Info("one");
    logger.Info("two");
    logger.SetPosition(-1, "UnitDb.cpp");  // a file alone still counts as a position
    logger.Info("three");
    logger.SetPosition(-1, "U");  // too short to count
    logger.Info("four");
    logger.SetPosition(7, nullptr);
    logger.Info("five");
    logger.SetPosition(3, "Kept.cpp");
    logger.LogAt(LOGLEVEL_INFO, 99, "Explicit.cpp", "six");  // does not use or clear the stored one
    logger.Info("seven");
    logger.SetPosition(1, std::string(600, 'f').c_str());
    logger.Info("eight");

    const std::vector<std::string> expected = {
        "UnitDb.cpp|12|one", "||two",  "UnitDb.cpp||three", "||four", "|7|five",
        "Explicit.cpp|99|six", "Kept.cpp|3|seven", std::string(511, 'f') + "|1|eight",
    };
    EXPECT_EQ(Written(), expected);
}

TEST_F(LoggerTest, LevelCallsWriteTheirLevelsAndLoggerName)
{
    m_manager.SetFormat("$LOGGER $LEVEL $MESSAGE");
    CLogger logger = m_manager.GetLogger("CFluid", LOGLEVEL_PARENT);
    logger.Trace("t%d", 0);
    logger.Debug("d%d", 1);
    logger.Info("i%d", 2);
    logger.Warn("w%d", 3);
    logger.Error("e%d", 4);
    logger.Critical("c%d", 5);
    logger.Log(LOGLEVEL_WARN, "l%s", "x");

    const std::vector<std::string> expected = {
        "CFluid trace t0", "CFluid debug d1", "CFluid info i2",     "CFluid warn w3",
        "CFluid error e4", "CFluid critical c5", "CFluid warn lx",
    };
    EXPECT_EQ(Written(), expected);
}

TEST_F(LoggerTest, CopiesOwnTheirNameAndPosition)
{
    m_manager.SetFormat("$LOGGER $FILE $MESSAGE");
    CLogger copy;
    {
        CLogger original = m_manager.GetLogger("COriginal", LOGLEVEL_TRACE);
        original.SetPosition(5, "Orig.cpp");
        CLogger constructed(original);
        copy = m_manager.GetLogger("CReplaced", LOGLEVEL_TRACE);
        copy = original;
        copy = copy;
        constructed.Info("constructed");
    }
    copy.Info("assigned");
    copy.Info("again");

    const std::vector<std::string> expected = {
        "COriginal Orig.cpp constructed", "COriginal Orig.cpp assigned", "COriginal  again"};
    EXPECT_EQ(Written(), expected);
}

TEST_F(LoggerTest, LoggerWithoutManagerOrFormatDoesNothing)
{
    CLogger empty;
    empty.Info("nothing");
    empty.SetLevel(LOGLEVEL_TRACE);
    EXPECT_EQ(empty.GetLevel(), LOGLEVEL_NONE);
    EXPECT_EQ(empty.GetName(), nullptr);

    CLogger logger = m_manager.GetLogger("CFluid", LOGLEVEL_TRACE);
    const char* noFormat = nullptr;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    logger.Log(LOGLEVEL_INFO, noFormat);
#pragma GCC diagnostic pop
    EXPECT_TRUE(Written().empty());
}

TEST_F(LoggerTest, LevelIsTheManagersEntryForTheName)
{
    CLogger logger = m_manager.GetLogger("CFluid", LOGLEVEL_PARENT);
    EXPECT_EQ(logger.GetLevel(), LOGLEVEL_PARENT);
    logger.SetLevel(LOGLEVEL_ERROR);
    EXPECT_EQ(m_manager.GetLoggerLevel("CFluid"), LOGLEVEL_ERROR);

    // Without a name the logger stands for the default level.
    CLogger nameless = m_manager.GetLogger("", LOGLEVEL_WARN);
    EXPECT_EQ(nameless.GetName(), nullptr);
    EXPECT_EQ(nameless.GetLevel(), LOGLEVEL_TRACE);
}

}  // namespace
