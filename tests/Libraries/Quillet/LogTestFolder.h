#pragma once

#include "Platform/ProgramFolder.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// A temporary folder that stands in for the program folder: the program is "<folder>/Zephrin",
// so its configuration is "Zephrin.logcfg" and its log "Zephrin.log" in that folder.
class LogTestFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(HasFailure()) << "no temporary folder";
        Platform::SetProgramPathForTesting(ProgramPath());
    }
    void TearDown() override { Platform::SetProgramPathForTesting(""); }

    std::string ProgramPath() const { return PathOf("Zephrin"); }
    std::string PathOf(const std::string& name) const { return m_folder.Path(name); }
    std::string LogPath() const { return PathOf("Zephrin.log"); }

    void WriteConfig(const std::string& text) const { WriteWholeFile(PathOf("Zephrin.logcfg"), text); }

    static std::vector<std::string> ReadLines(const std::string& path)
    {
        std::vector<std::string> lines;
        std::istringstream in(ReadWholeFile(path));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // Whole-text match where '#' stands for one digit and '*' for any run of characters.
    static bool Matches(const char* text, const char* pattern)
    {
        if (*pattern == '\0')
            return *text == '\0';
        if (*pattern == '*')
            return Matches(text, pattern + 1) || (*text != '\0' && Matches(text + 1, pattern));
        if (*text == '\0')
            return false;
        const bool same = *pattern == '#' ? *text >= '0' && *text <= '9' : *text == *pattern;
        return same && Matches(text + 1, pattern + 1);
    }
    static bool Matches(const std::string& text, const std::string& pattern)
    {
        return Matches(text.c_str(), pattern.c_str());
    }

    CTemporaryFolder m_folder;
};
