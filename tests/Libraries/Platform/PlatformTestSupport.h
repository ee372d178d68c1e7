// Small helpers shared by the platform tests.
#pragma once

#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

inline std::string TestDataFile(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/Platform/" + name;
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
