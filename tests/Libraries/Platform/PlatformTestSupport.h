// Small helpers shared by the platform tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

inline std::string TestDataFile(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/Platform/" + name;
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Standard output of a shell command, without its last line break.
inline std::string RunCommand(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

// A fresh folder per test, removed afterwards.
class CTemporaryFolder {
public:
    CTemporaryFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "PlatformTests.XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
        EXPECT_FALSE(m_path.empty()) << "cannot create a temporary folder";
    }
    ~CTemporaryFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    std::string Path(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
