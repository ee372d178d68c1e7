// The local servers of the update library's network tests: a Python script serving a folder on
// a free port of 127.0.0.1, which it writes to a file once it listens.
#pragma once

#include "support/TestFiles.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

// A server script running until the object goes; Port() is 0 when it did not start.
class CServerProcess {
public:
    CServerProcess(const std::string& script, const std::vector<std::string>& arguments, const std::string& portFile)
    {
        std::vector<std::string> words = {"/usr/bin/python3", script};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (m_pid > 0)
            m_port = std::atoi(WaitForFile(portFile, std::chrono::seconds(20)).c_str());
    }
    ~CServerProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    int Port() const { return m_port; }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

inline std::string Script(const char* name)
{
    const char* data = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(data ? data : "tests/data") + "/Renovix/" + name;
}

