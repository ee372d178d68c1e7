#include "TAMBEL/Report/MailSession.h"

#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "TAMBEL/Report/MapiMessage.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

// The full path of an executable found along PATH, or "".
std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

}  // namespace

CMailSession::CMailSession() : m_log(CLogManager::GetInstance()->GetLogger("CMailSession", LOGLEVEL_PARENT))
{
    Load();
}

bool CMailSession::Load()
{
    const char* configured = std::getenv("ZEPHRIN_MAIL_COMMAND");
    if (configured && *configured)
        m_command = std::strchr(configured, '/') ? configured : FindOnPath(configured);
    else
        m_command = FindOnPath("xdg-email");
    return IsLoaded();
}

std::vector<std::string> CMailSession::BuildArguments(const CMapiMessage& message)
{
    std::vector<std::string> arguments = {"--utf8", "--subject", message.subject, "--body", message.body};
    for (const std::string& path : message.attachmentPaths) {
        arguments.push_back("--attach");
        arguments.push_back(path);
    }
    for (const SMailRecipient& recipient : message.cc) {
        arguments.push_back("--cc");
        arguments.push_back(recipient.address);
    }
    for (const SMailRecipient& recipient : message.bcc) {
        arguments.push_back("--bcc");
        arguments.push_back(recipient.address);
    }
    for (const SMailRecipient& recipient : message.to)
        arguments.push_back(recipient.address);
    return arguments;
}

bool CMailSession::SendMail(const CMapiMessage& message)
{
    if (!IsLoaded()) {
        m_lastError = -1;
        return false;
    }
    std::vector<std::string> arguments = BuildArguments(message);
    arguments.insert(arguments.begin(), m_command);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, m_command.c_str(), nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) {
        QUILLET_POS(m_log);
        m_log.Error("Mail command %s not started: %s", m_command.c_str(), std::strerror(spawned));
        m_lastError = -1;
        return false;
    }
    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // A status that could not be had (the child reaped elsewhere) is no success.
    m_lastError = waited == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (m_lastError != 0) {
        QUILLET_POS(m_log);
        m_log.Error("Mail command %s ended with %d", m_command.c_str(), m_lastError);
    }
    return m_lastError == 0;
}
