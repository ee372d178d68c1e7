#pragma once

#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A temporary folder that stands in for the program folder: the program is "<folder>/Zephrin",
// so its configuration is "Zephrin.logcfg" and its log "Zephrin.log" in that folder.
class LogTestFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quillet-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        Platform::SetProgramPathForTesting(ProgramPath());
    }

    void TearDown() override
    {
        Platform::SetProgramPathForTesting("");
        std::filesystem::remove_all(m_folder);
    }

    std::string ProgramPath() const { return m_folder + "/Zephrin"; }
    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }
    std::string LogPath() const { return PathOf("Zephrin.log"); }

    void WriteConfig(const std::string& text) const
    {
        std::ofstream(PathOf("Zephrin.logcfg"), std::ios::binary) << text;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static std::vector<std::string> ReadLines(const std::string& path)
    {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(path));
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

    std::string m_folder;
};
