#include "Quillet/LogManager.h"

#include "Platform/AsciiText.h"
#include "Platform/DateTime.h"
#include "Platform/NumberText.h"
#include "Platform/ProgramFolder.h"
#include "Platform/VersionInfo.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <mutex>
#include <new>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Platform::EqualsNoCase;
using Platform::TrimAsciiBlanks;

// --- process-wide instance -------------------------------------------------------------------

// Guards the two below, so threads asking for the manager at once get the same one. Constant-
// initialised, and its destructor does nothing: usable before the first and after the last
// static object.
std::mutex instanceMutex;
CLogManager* instance = nullptr;
bool holderGone = false;

// Deletes the manager at process end. It is built before every ordinary static object, so it
// is destroyed after all of them and their loggers never see a deleted manager.
struct InstanceHolder {
    ~InstanceHolder()
    {
        CLogManager* manager = nullptr;
        {
            const std::lock_guard<std::mutex> lock(instanceMutex);
            manager = instance;
            instance = nullptr;
            holderGone = true;
        }
        delete manager;
    }
};
InstanceHolder holder __attribute__((init_priority(101)));

// What GetInstance hands out once the holder is gone: a manager without a file, so late
// callers neither crash nor write. It lives in static storage and is never destroyed.
alignas(CLogManager) unsigned char lateStorage[sizeof(CLogManager)];
CLogManager* lateManager = nullptr;

// --- texts -------------------------------------------------------------------------------------

// Length of the path without the extension of its file name; a '.' in a folder name or at
// the start of the file name is no extension.
std::size_t StemLength(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && dot > nameStart ? dot : path.size();
}

std::tm LocalNow(std::time_t now = std::time(nullptr))
{
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Size limit text: lower-cased, its leading number, times 1024 for "kb" or 1048576 for "mb".
std::uint64_t ParseSizeLimit(const std::string& limit)
{
    const std::string text = Platform::AsciiLowerText(limit);
    const long number = Platform::AtoL(text.c_str());
    if (number <= 0)
        return 0;
    std::uint64_t factor = 1;
    if (text.find("kb") != std::string::npos)
        factor = 1024;
    else if (text.find("mb") != std::string::npos)
        factor = 1048576;
    const std::uint64_t value = static_cast<std::uint64_t>(number);
    if (value > std::numeric_limits<std::uint64_t>::max() / factor)
        return std::numeric_limits<std::uint64_t>::max();
    return value * factor;
}

// --- configuration file ------------------------------------------------------------------------

// The configuration as profile files read it: section and key names without regard to case,
// the first section and key of a name win, values without blanks (or quotes) around them.
class ConfigFile {
public:
    bool Load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        std::string line;
        bool first = true;
        while (std::getline(in, line)) {
            std::string_view text(line);
            if (first && text.substr(0, 3) == "\xEF\xBB\xBF")
                text.remove_prefix(3);
            first = false;
            text = TrimAsciiBlanks(text);
            if (text.empty() || text.front() == ';')
                continue;
            if (text.front() == '[') {
                const std::size_t close = text.find(']');
                const std::string_view name =
                    text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
                m_sections.push_back({std::string(TrimAsciiBlanks(name)), {}});
                continue;
            }
            if (!m_sections.empty())
                m_sections.back().lines.emplace_back(text);
        }
        return !in.bad();  // a folder of that name, a read error: no configuration
    }

    // The section's lines in file order, blanks around them removed.
    const std::vector<std::string>& Lines(std::string_view section) const
    {
        static const std::vector<std::string> none;
        for (const Section& s : m_sections)
            if (EqualsNoCase(s.name, section))
                return s.lines;
        return none;
    }

    std::string Get(std::string_view section, std::string_view key, const std::string& fallback) const
    {
        for (const std::string& line : Lines(section)) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos ||
                !EqualsNoCase(TrimAsciiBlanks(std::string_view(line).substr(0, equals)), key))
                continue;
            std::string_view value = TrimAsciiBlanks(std::string_view(line).substr(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return std::string(value);
        }
        return fallback;
    }

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };
    std::vector<Section> m_sections;
};

// --- line building -----------------------------------------------------------------------------

// Appends to a fixed buffer and cuts at its size, keeping room for the terminator.
class LineBuffer {
public:
    LineBuffer(char* data, std::size_t capacity) : m_data(data), m_capacity(capacity) { m_data[0] = '\0'; }

    void Append(std::string_view text)
    {
        const std::size_t count = std::min(text.size(), m_capacity - 1 - m_length);
        std::memcpy(m_data + m_length, text.data(), count);
        m_length += count;
        m_data[m_length] = '\0';
    }

    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        char text[64];
        va_list args;
        va_start(args, format);
        const int length = std::vsnprintf(text, sizeof(text), format, args);
        va_end(args);
        if (length > 0)
            Append(std::string_view(text, std::min(static_cast<std::size_t>(length), sizeof(text) - 1)));
    }

    std::size_t Length() const { return m_length; }

private:
    char* m_data;
    std::size_t m_capacity;
    std::size_t m_length = 0;
};

}  // namespace

// --- instance and lifetime -----------------------------------------------------------------------

CLogManager* CLogManager::GetInstance()
{
    const std::lock_guard<std::mutex> lock(instanceMutex);
    if (holderGone) {
        if (lateManager == nullptr)
            lateManager = new (lateStorage) CLogManager();
        return lateManager;
    }
    if (instance == nullptr)
        instance = new CLogManager();
    return instance;
}

CLogManager::CLogManager()
{
    m_message[0] = '\0';
    m_line[0] = '\0';
}

CLogManager::~CLogManager()
{
    Close();
    if (m_lock >= 0)
        ::close(m_lock);
}

// --- file ------------------------------------------------------------------------------------

bool CLogManager::Open(const char* fileName, int defaultLevel)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    Close();
    m_defaultLevel = defaultLevel;
    LoadConfig(nullptr, defaultLevel);

    m_programPath = Platform::GetProgramPath();
    const SFileVersion version = Platform::GetProgramVersion();
    std::copy(std::begin(version.part), std::end(version.part), std::begin(m_version));

    const std::string name = fileName != nullptr && *fileName != '\0'
                                 ? std::string(fileName)
                                 : LogFileNameFor(m_programPath, m_prefix, m_withDate);
    SetLogFileName(name.c_str());
    OpenLockFile();
    // Every write goes to the current end, also when another process wrote meanwhile.
    m_file = ::open(name.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (m_file < 0)
        return false;
    // Every manager holds a shared lock on its open log. Only a log that no other manager
    // holds is emptied: cutting a live one would wipe that process's lines and START line.
    const bool locked = m_lock >= 0 && AcquireLock();
    if (!m_append && ::flock(m_file, LOCK_EX | LOCK_NB) == 0 && ::ftruncate(m_file, 0) != 0) {
        // A file that cannot be emptied is appended to.
    }
    ::flock(m_file, LOCK_SH | LOCK_NB);
    if (locked)
        ::flock(m_lock, LOCK_UN);
    WriteMarker("START");
    ReportLockProblem();
    return true;
}

bool CLogManager::Attach(CLogManager* other)
{
    if (other == nullptr)
        return false;
    std::scoped_lock guard(m_guard, other->m_guard);
    if (other->m_file < 0)
        return false;
    const int file = ::fcntl(other->m_file, F_DUPFD_CLOEXEC, 0);
    if (file < 0)
        return false;
    Close();
    m_flush = other->m_flush;
    m_withDate = other->m_withDate;
    m_prefix = other->m_prefix;
    m_format = other->m_format;
    m_limitOn = other->m_limitOn;
    m_limit = other->m_limit;
    m_defaultLevel = other->m_defaultLevel;
    m_append = other->m_append;
    m_levels = other->m_levels;
    m_logFileName = other->m_logFileName;
    m_programPath = other->m_programPath;
    std::copy(std::begin(other->m_version), std::end(other->m_version), std::begin(m_version));
    OpenLockFile();
    m_file = file;
    WriteMarker("START");
    ReportLockProblem();
    return true;
}

void CLogManager::Close()
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    if (m_file < 0)
        return;
    WriteMarker("END");
    ::close(m_file);
    m_file = -1;
}

bool CLogManager::IsOpen() const
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    return m_file >= 0;
}

int CLogManager::GetFileHandle(int* handle) const
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    if (handle != nullptr)
        *handle = m_file;
    return 1;
}

const char* CLogManager::GetLogFileName() const
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    return m_logFileName.empty() ? nullptr : m_logFileName.c_str();
}

void CLogManager::WriteMarker(const char* word)
{
    char text[sizeof(m_message)];
    std::snprintf(text, sizeof(text), "Quillet %s PID=%d '%s' %d.%d.%d.%d TIME %s", word,
                  static_cast<int>(::getpid()), m_programPath.c_str(), m_version[0], m_version[1],
                  m_version[2], m_version[3], Platform::UserTimeText("%x %X", LocalNow()).c_str());
    LogAt(LOGLEVEL_INFO, -1, nullptr, nullptr, text, nullptr);
}

// Stands in for a mutex named after the program file: every process of the user started from
// a file of that name locks the same file. It lies in the user's runtime folder, else beside
// the log file, where no other user can make it first; one that is not the user's own is not
// used.
void CLogManager::OpenLockFile()
{
    if (m_lock >= 0)
        return;
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info;
    if (runtime != nullptr && *runtime == '/' && ::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid()) {
        folder = runtime;
    } else {
        const std::size_t slash = m_logFileName.rfind('/');
        folder = slash == std::string::npos ? "." : m_logFileName.substr(0, slash);
    }
    const std::string path = folder + "/" + Platform::GetProgramName() + ".logmutex";
    const int lock = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0) {
        m_lockProblem = path + ": " + std::strerror(errno);
    } else if (::fstat(lock, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
        ::close(lock);
        m_lockProblem = path + " belongs to another user";
    } else {
        m_lock = lock;
        m_lockProblem.clear();
    }
}

void CLogManager::ReportLockProblem()
{
    if (m_lock >= 0)
        return;
    const std::string text = "The log lock file " + m_lockProblem +
                             "; lines of other processes are not kept in order with these";
    LogAt(LOGLEVEL_ERROR, -1, nullptr, nullptr, text.c_str(), nullptr);
}

bool CLogManager::AcquireLock()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    for (;;) {
        if (::flock(m_lock, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void CLogManager::WriteLine(std::size_t length)
{
    if (m_file < 0)
        return;
    // Without the lock the line is still written: one write of a whole line to the end
    // never splits, only the order with other processes' lines is lost.
    const bool locked = m_lock >= 0 && AcquireLock();
    if (m_limitOn) {
        struct stat info;
        if (::fstat(m_file, &info) == 0 && static_cast<std::uint64_t>(info.st_size) >= m_limit &&
            ::ftruncate(m_file, 0) != 0) {
            // A file that cannot be cut keeps growing; the line is still worth writing.
        }
    }
    // The line and its line feed in one write, so lines of other processes never split it.
    m_line[length] = '\n';
    const char* data = m_line;
    std::size_t left = length + 1;
    while (left > 0) {
        const ssize_t written = ::write(m_file, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (m_flush)
        ::fdatasync(m_file);
    if (locked)
        ::flock(m_lock, LOCK_UN);
}

// --- configuration and levels --------------------------------------------------------------------

bool CLogManager::LoadConfig(const char* fileName, int defaultLevel)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    const std::string path = fileName != nullptr && *fileName != '\0'
                                 ? std::string(fileName)
                                 : ConfigFileNameFor(Platform::GetProgramPath());
    ConfigFile config;
    if (!config.Load(path))
        return false;

    const char* levelText = defaultLevel == LOGLEVEL_PARENT ? "none" : LogLevelName(defaultLevel);
    m_defaultLevel = ParseLogLevel(config.Get("Settings", "LogLevel", levelText).c_str());
    const std::string format = config.Get("Settings", "LogFormat", "");
    if (!format.empty())
        SetFormat(format.c_str());
    m_flush = Platform::AtoL(config.Get("Settings", "FlushBuffers", "0").c_str()) != 0;
    m_withDate = Platform::AtoL(config.Get("Settings", "FileNameWithDate", "0").c_str()) != 0;
    SetMaxFileSize(ParseSizeLimit(config.Get("Settings", "MaxLogFileSize", "")));
    m_append = Platform::AtoL(config.Get("Settings", "AppendToLogFile", "0").c_str()) != 0;

    m_levels.clear();
    for (const std::string& entry : config.Lines("LogLevels")) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos)
            continue;
        // The name is the text before the '=' as it stands: blanks are part of it.
        const std::string_view name = std::string_view(entry).substr(0, equals);
        if (name.empty())
            continue;
        const std::string level(TrimAsciiBlanks(std::string_view(entry).substr(equals + 1)));
        m_levels[std::string(name)] = ParseLogLevel(level.c_str());
    }
    return true;
}

CLogger CLogManager::GetLogger(const char* name, int level)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    if (name != nullptr && *name != '\0')
        m_levels.emplace(name, level);
    return CLogger(this, name);
}

void CLogManager::SetLoggerLevel(int level, const char* name)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    if (name == nullptr)
        m_defaultLevel = level;
    else
        m_levels[name] = level;
}

int CLogManager::GetLoggerLevel(const char* name) const
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    if (name == nullptr)
        return m_defaultLevel;
    const auto found = m_levels.find(name);
    return found == m_levels.end() ? LOGLEVEL_NONE : found->second;
}

// --- writing ---------------------------------------------------------------------------------

void CLogManager::Log(int level, const char* name, const char* format, va_list* args)
{
    LogAt(level, -1, nullptr, name, format, args);
}

void CLogManager::LogAt(int level, int line, const char* file, const char* name, const char* format,
                        va_list* args)
{
    if (format == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    int effective = GetLoggerLevel(name);
    if (effective == LOGLEVEL_PARENT)
        effective = m_defaultLevel;
    if (effective == LOGLEVEL_NONE || level < effective || m_file < 0)
        return;

    bool printed = true;
    if (args != nullptr) {
        va_list copy;
        va_copy(copy, *args);
        printed = std::vsnprintf(m_message, sizeof(m_message), format, copy) >= 0;
        va_end(copy);
    }
    if (!printed) {
        // The arguments do not fit the format (for example a wide text the locale cannot
        // convert): say so, and keep the line with its raw format.
        LogAt(LOGLEVEL_CRITICAL, 0, nullptr, nullptr, "error in printf parameters", nullptr);
        LogAt(LOGLEVEL_CRITICAL, 0, nullptr, nullptr, format, nullptr);
    }
    if (args == nullptr || !printed) {
        LineBuffer message(m_message, sizeof(m_message));
        message.Append(format);
    }
    WriteLine(ExpandLine(level, line, file, name));
}

std::size_t CLogManager::ExpandLine(int level, int line, const char* file, const char* name)
{
    LineBuffer out(m_line, sizeof(m_line));
    const auto expand = [&](std::string_view token) {
        if (token == "MESSAGE") {
            out.Append(m_message);
        } else if (token == "LEVEL") {
            if (level >= 0)
                out.Append(LogLevelName(level));
        } else if (token == "LINE") {
            if (line >= 0)
                out.AppendFormat("%d", line);
        } else if (token == "FILE") {
            if (file != nullptr)
                out.Append(file);
        } else if (token == "DATE") {
            const std::tm now = LocalNow();
            char text[32];
            out.Append(std::string_view(text, std::strftime(text, sizeof(text), "%Y-%m-%d", &now)));
        } else if (token == "TIME") {
            // The milliseconds are those of the tick count since the system started, not the
            // clock's own, as the log readers of this format expect.
            const std::tm local = LocalNow();
            char text[32];
            out.Append(std::string_view(text, std::strftime(text, sizeof(text), "%H:%M:%S:", &local)));
            timespec ticks{};
            ::clock_gettime(CLOCK_MONOTONIC, &ticks);
            out.AppendFormat("%03d", static_cast<int>(ticks.tv_nsec / 1000000));
        } else if (token == "PROCESS") {
            out.AppendFormat("%d", static_cast<int>(::getpid()));
        } else if (token == "THREAD") {
            out.AppendFormat("0x%04X", static_cast<unsigned>(::gettid()));
        } else if (token == "LOGGER") {
            if (name != nullptr)
                out.Append(name);
        } else {
            out.Append(token);
        }
    };

    // A '$' opens a token of upper-case letters; the first other character closes it and is
    // then copied itself, so "$$" gives one '$'.
    const char* token = nullptr;
    for (const char* c = m_format.c_str(); *c != '\0'; ++c) {
        if (token == nullptr) {
            if (*c == '$')
                token = c + 1;
            else
                out.Append(std::string_view(c, 1));
        } else if (*c < 'A' || *c > 'Z') {
            expand(std::string_view(token, static_cast<std::size_t>(c - token)));
            token = nullptr;
            out.Append(std::string_view(c, 1));
        }
    }
    if (token != nullptr)
        expand(token);
    return out.Length();
}

// --- setters and names -----------------------------------------------------------------------------

void CLogManager::SetLogFileName(const char* name)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_logFileName = name != nullptr ? name : "";
}

void CLogManager::SetFileNamePrefix(const char* prefix)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_prefix = prefix != nullptr ? prefix : "";
}

void CLogManager::SetFormat(const char* format)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_format = format != nullptr ? format : "";
}

void CLogManager::SetFlush(bool flush)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_flush = flush;
}

void CLogManager::SetFileNameWithDate(bool withDate)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_withDate = withDate;
}

void CLogManager::SetAppend(bool append)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_append = append;
}

void CLogManager::SetMaxFileSize(std::uint64_t bytes)
{
    std::lock_guard<std::recursive_mutex> guard(m_guard);
    m_limitOn = bytes != 0;
    m_limit = bytes;
}

std::string CLogManager::ConfigFileNameFor(const std::string& programPath)
{
    return programPath.substr(0, StemLength(programPath)) + ".logcfg";
}

std::string CLogManager::LogFileNameFor(const std::string& programPath, const std::string& prefix,
                                        bool withDate)
{
    const std::string stem = programPath.substr(0, StemLength(programPath));
    std::string name;
    if (prefix.empty()) {
        name = stem;
    } else {
        // The prefix is a sub-folder between the program's folder and its name.
        const std::size_t slash = stem.rfind('/');
        const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        name = stem.substr(0, nameStart) + prefix + "/" + stem.substr(nameStart);
    }
    if (withDate) {
        const std::tm now = LocalNow();
        char text[32];
        name.append(text, std::strftime(text, sizeof(text), " %Y-%m-%d %H-%M-%S", &now));
    }
    return name + ".log";
}
