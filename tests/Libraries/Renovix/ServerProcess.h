// The local servers of the update library's network tests: a Python script serving a folder on
// a free port of 127.0.0.1, which it writes to a file once it listens.
#pragma once

#include "support/Process.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <string>
#include <vector>

// A server script running until the object goes; Port() is 0 when it did not start.
class CServerProcess {
public:
    CServerProcess(const std::string& script, const std::vector<std::string>& arguments, const std::string& portFile)
    {
        std::vector<std::string> argv = {"/usr/bin/python3", script};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        if (m_process.Start(argv, {}, "-"))
            m_port = std::atoi(WaitForFile(portFile, std::chrono::seconds(60)).c_str());
    }
    int Port() const { return m_port; }

private:
    CProcess m_process;
    int m_port = 0;
};

inline std::string Script(const char* name)
{
    const char* data = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(data ? data : "tests/data") + "/Renovix/" + name;
}

