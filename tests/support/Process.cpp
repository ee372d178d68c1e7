#include "support/Process.h"

#include "support/WaitUntil.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

extern char** environ;

namespace {

// The child's side of a start, all made before the fork: after it only calls safe in a child of
// a process with threads (GTK's) are allowed.
struct SChildSetUp {
    std::vector<std::string> words;
    std::vector<std::string> variables;
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string folder;  // the child's working folder; empty keeps the test's

    SChildSetUp(const std::vector<std::string>& command, const std::vector<std::string>& extra,
                std::string workingFolder = std::string())
        : words(command), variables(extra), folder(std::move(workingFolder))
    {
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        for (char** entry = environ; *entry; ++entry)
            envp.push_back(*entry);
        envp.push_back(nullptr);
    }
};

// Forks and runs the command with the descriptors given for its standard output and error (-1
// keeps the test's); the child's id, -1 when it could not be forked.
pid_t Spawn(const SChildSetUp& setUp, int output, int errors)
{
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // Ends with the test program, so nothing it started outlives a crashed test.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(127);
    if (output >= 0)
        ::dup2(output, STDOUT_FILENO);
    if (errors >= 0)
        ::dup2(errors, STDERR_FILENO);
    if (!setUp.folder.empty() && ::chdir(setUp.folder.c_str()) != 0)
        ::_exit(127);
    ::execvpe(setUp.argv[0], setUp.argv.data(), setUp.envp.data());
    ::_exit(127);
}

int OpenFor(const std::string& file)
{
    if (file.empty())
        return -1;
    return ::open(file == "-" ? "/dev/null" : file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

int StatusOf(int waitStatus)
{
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

}  // namespace

SToolRun RunTool(const std::vector<std::string>& argv)
{
    SToolRun run;
    int output[2];
    int errors[2];
    if (argv.empty() || ::pipe2(output, O_CLOEXEC) != 0)
        return run;
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        ::close(output[0]);
        ::close(output[1]);
        return run;
    }
    const SChildSetUp setUp(argv, {});
    const pid_t pid = Spawn(setUp, output[1], errors[1]);
    ::close(output[1]);
    ::close(errors[1]);
    // Both read as they come: a tool that fills one pipe while nobody reads it would stop.
    pollfd ends[2] = {{output[0], POLLIN, 0}, {errors[0], POLLIN, 0}};
    std::string* texts[2] = {&run.output, &run.errors};
    for (int open = pid > 0 ? 2 : 0; open > 0;) {
        if (::poll(ends, 2, -1) < 0 && errno != EINTR)
            break;
        for (int at = 0; at < 2; ++at) {
            if (ends[at].fd < 0 || ends[at].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(ends[at].fd, buffer, sizeof buffer);
            if (got > 0) {
                texts[at]->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ends[at].fd = -1;
                --open;
            }
        }
    }
    ::close(output[0]);
    ::close(errors[0]);
    int status = 0;
    if (pid > 0) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        run.status = StatusOf(status);
    }
    return run;
}

CProcess::~CProcess()
{
    if (Running())
        Stop();
}

CProcess::CProcess(CProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_ended(other.m_ended), m_status(other.m_status)
{
}

CProcess& CProcess::operator=(CProcess&& other) noexcept
{
    if (this != &other) {
        if (Running())
            Stop();
        m_pid = std::exchange(other.m_pid, -1);
        m_ended = other.m_ended;
        m_status = other.m_status;
    }
    return *this;
}

bool CProcess::Start(const std::vector<std::string>& argv, const std::vector<std::string>& variables,
                     const std::string& outputFile, const std::string& errorFile, const std::string& workingFolder)
{
    if (Running() || argv.empty())
        return false;
    const SChildSetUp setUp(argv, variables, workingFolder);
    const int output = OpenFor(outputFile);
    const int errors = OpenFor(errorFile);
    m_pid = Spawn(setUp, output, errors);
    for (int descriptor : {output, errors}) {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    m_ended = false;
    m_status = -1;
    return m_pid > 0;
}

bool CProcess::Running()
{
    if (m_pid <= 0 || m_ended)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return true;
    m_ended = true;
    m_status = StatusOf(status);
    return false;
}

int CProcess::Wait(std::chrono::seconds limit)
{
    if (m_pid <= 0)
        return -1;
    if (!WaitUntil(limit, [this] { return !Running(); })) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_ended = true;
        m_status = -1;
    }
    return m_status;
}

int CProcess::Stop(std::chrono::seconds limit)
{
    if (Running())
        ::kill(m_pid, SIGTERM);
    return Wait(limit);
}
