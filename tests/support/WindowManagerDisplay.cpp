#include "support/WindowManagerDisplay.h"

#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

pid_t Spawn(std::vector<std::string> arguments, const posix_spawn_file_actions_t* actions = nullptr)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

void End(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

}  // namespace

CWindowManagerDisplay::~CWindowManagerDisplay()
{
    End(m_manager);
    End(m_server);
    if (m_hadDisplay)
        setenv("DISPLAY", m_previousDisplay.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

void CWindowManagerDisplay::Start()
{
    if (const char* display = std::getenv("DISPLAY")) {
        m_hadDisplay = true;
        m_previousDisplay = display;
    }
    // The server picks a free display number and writes it to the pipe once it takes clients.
    int pipeEnds[2];
    ASSERT_EQ(0, pipe(pipeEnds));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    m_server = Spawn({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", "1280x1024x24",
                      "-nolisten", "tcp"},
                     &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string number;
    pollfd wait{pipeEnds[0], POLLIN, 0};
    char c;
    while (m_server > 0 && poll(&wait, 1, 10000) > 0 && read(pipeEnds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeEnds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    setenv("DISPLAY", (":" + number).c_str(), 1);

    // openbox runs its start-up command once it manages the screen.
    CTemporaryFolder folder;
    const std::string ready = folder.Path("ready");
    m_manager = Spawn({"openbox", "--sm-disable", "--startup", "touch " + ready});
    ASSERT_GT(m_manager, 0) << "openbox did not start";
    WaitForFile(ready, std::chrono::seconds(10));
    ASSERT_EQ(0, access(ready.c_str(), F_OK)) << "openbox did not take the display";
}
