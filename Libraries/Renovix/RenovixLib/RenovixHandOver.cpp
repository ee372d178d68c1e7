// The hand-over of CRenovix: files in use go to the updater, which installs them once the
// program has ended.
#include "Renovix/RenovixLib/Renovix.h"

#include "Platform/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kPollMs = 100;

// Whether a program runs from the file (or a device holds it).
bool IsInUse(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor >= 0) {
        close(descriptor);
        return false;
    }
    return errno == ETXTBSY || errno == EBUSY;
}

}  // namespace

int CRenovix::StartDetached(std::vector<std::string> arguments)
{
    if (arguments.empty())
        return EINVAL;
    std::vector<char*> argv;
    for (std::string& word : arguments)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

bool CRenovix::RestartAndUpdate(const std::string& updaterPath, const std::string& argument, int delayMs)
{
    const std::string base = GetBaseDir();
    struct stat info;
    // The updater reads the settings from the program folder.
    if (stat((base + "Renovix.xml").c_str(), &info) != 0)
        SaveSettingsToFile(m_settings, base + "Renovix.xml", false);
    std::string lines;
    for (const std::string& id : m_sharedList)
        lines += id + "\r\n";
    std::string error;
    if (!CAtomicFile::Write(base + kSharedFileName, lines, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::RestartAndUpdate Fehler Schreiben der gesperrten Dateien: %s", error.c_str());
    }
    const std::string commandLine = "\"" + updaterPath + "\" \"" + argument + "\"";
    QUILLET_POS(m_log);
    m_log.Trace("CRenovix::RestartAndUpdate führe aus:\n\t%s", commandLine.c_str());
    if (delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    const int spawnError = StartDetached({updaterPath, argument});
    if (spawnError != 0) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::RestartAndUpdate Fehler beim ausführen von:\n\t%s\n\t%s", commandLine.c_str(),
                    std::strerror(spawnError));
        return false;
    }
    return true;
}

void CRenovix::LoadSharedFiles()
{
    QUILLET_POS(m_log);
    m_log.Debug("Loading shared files");
    m_sharedList.clear();
    m_lockedList.clear();
    const std::string path = GetBaseDir() + kSharedFileName;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        QUILLET_POS(m_log);
        m_log.Error("could not open '%s'", path.c_str());
        return;
    }
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        QUILLET_POS(m_log);
        m_log.Debug("shared file: %s", line.c_str());
        m_sharedList.push_back(line);
    }
    auto named = [this](const std::string& text) {
        for (const std::string& line : m_sharedList)
            if (line == text)
                return true;
        return false;
    };
    std::vector<CUpdateEntry> kept;
    for (const CUpdateEntry& entry : m_entries)
        if (named(entry.id)) {
            QUILLET_POS(m_log);
            m_log.Trace("new shared format file='%s'", entry.id.c_str());
            kept.push_back(entry);
        }
    // Lists of old name the sources.
    if (kept.empty())
        for (const CUpdateEntry& entry : m_entries)
            if (named(entry.source)) {
                QUILLET_POS(m_log);
                m_log.Trace("old shared format file='%s'", entry.source.c_str());
                kept.push_back(entry);
            }
    if (kept.empty()) {
        QUILLET_POS(m_log);
        m_log.Warn("sharedFiles is empty");
        return;
    }
    for (const CUpdateEntry& entry : kept) {
        QUILLET_POS(m_log);
        m_log.Debug("adding shared file='%s'", entry.source.c_str());
    }
    m_entries = kept;
}

bool CRenovix::DeleteSharedFileList()
{
    return unlink((GetBaseDir() + kSharedFileName).c_str()) == 0;
}

bool CRenovix::WaitForTargetsFree(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::string busy;
        for (const CUpdateEntry& entry : m_entries) {
            if (entry.Has(UPDATE_ENTRY_WIN_CE) || !entry.Has(UPDATE_ENTRY_FILE))
                continue;
            const std::string target = ResolveDestination(entry);
            if (!target.empty() && IsInUse(target)) {
                busy = target;
                break;
            }
        }
        if (busy.empty())
            return true;
        if (std::chrono::steady_clock::now() >= deadline) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::WaitForTargetsFree %s ist noch in Gebrauch", busy.c_str());
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
}
