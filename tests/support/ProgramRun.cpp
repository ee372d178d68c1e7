#include "support/ProgramRun.h"

#include "support/TestFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

extern char** environ;

pid_t StartProgram(const std::vector<std::string>& argv, const std::vector<std::string>& variables,
                   const std::string& errorFile)
{
    std::vector<std::string> words = variables;
    std::vector<char*> environment;
    for (std::string& word : words)
        environment.push_back(word.data());
    for (char** entry = environ; *entry; ++entry)
        environment.push_back(*entry);
    environment.push_back(nullptr);
    std::vector<std::string> command = argv;
    std::vector<char*> arguments;
    for (std::string& word : command)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!errorFile.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const bool started = !command.empty() &&
                         posix_spawn(&pid, arguments[0], &actions, nullptr, arguments.data(), environment.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : -1;
}

int WaitForProgram(pid_t pid)
{
    if (pid <= 0)
        return -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

std::string ReadLogFiles(const std::string& folder)
{
    std::string text;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0)
                text += ReadWholeFile(folder + "/" + name);
        }
        ::closedir(dir);
    }
    return text;
}
