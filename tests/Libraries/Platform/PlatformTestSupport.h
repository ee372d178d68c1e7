// Small helpers shared by the platform tests.
#pragma once

#include "support/Process.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

inline std::string TestDataFile(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder ? folder : "tests/data") + "/Platform/" + name;
}

// Standard output of a program run with the arguments, without its last line break.
inline std::string RunCommand(const std::vector<std::string>& argv)
{
    std::string output = RunTool(argv).output;
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}
