#pragma once

#include "Quillet/LogLevel.h"
#include "Quillet/Logger.h"

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

// The process-wide owner of the log file, the per-logger levels and the line format.
// Writes of several processes started from one program file are ordered by a lock file
// named after the program. A log file is emptied on opening only when no other manager
// holds it open.
class CLogManager {
public:
    static CLogManager* GetInstance();

    CLogManager();
    ~CLogManager();
    CLogManager(const CLogManager&) = delete;
    CLogManager& operator=(const CLogManager&) = delete;

    bool Open(const char* fileName, int defaultLevel);
    bool Attach(CLogManager* other);
    void Close();
    bool IsOpen() const;
    // Hands out the descriptor of the open log file (-1 when none); always returns 1.
    int GetFileHandle(int* handle) const;
    const char* GetLogFileName() const;

    bool LoadConfig(const char* fileName, int defaultLevel);
    CLogger GetLogger(const char* name, int level);
    void SetLoggerLevel(int level, const char* name);
    int GetLoggerLevel(const char* name) const;

    void Log(int level, const char* name, const char* format, va_list* args);
    void LogAt(int level, int line, const char* file, const char* name, const char* format, va_list* args);

    void SetLogFileName(const char* name);
    void SetFileNamePrefix(const char* prefix);
    void SetFormat(const char* format);
    void SetFlush(bool flush);
    void SetFileNameWithDate(bool withDate);
    void SetAppend(bool append);
    void SetMaxFileSize(std::uint64_t bytes);

    // The configuration file and log file names derived from a program path.
    static std::string ConfigFileNameFor(const std::string& programPath);
    static std::string LogFileNameFor(const std::string& programPath, const std::string& prefix,
                                      bool withDate);

private:
    bool AcquireLock();
    void OpenLockFile();
    // An error line when the lock file cannot be used.
    void ReportLockProblem();
    void WriteMarker(const char* word);
    std::size_t ExpandLine(int level, int line, const char* file, const char* name);
    void WriteLine(std::size_t length);

    // Guards everything below, so threads may log too; recursive because the public
    // operations call each other.
    mutable std::recursive_mutex m_guard;
    std::unordered_map<std::string, int> m_levels;
    int m_file = -1;
    int m_lock = -1;
    std::string m_lockProblem;  // why m_lock is not open
    std::string m_logFileName;
    std::string m_prefix;
    std::string m_format = "[$LEVEL]\t$MESSAGE";
    bool m_flush = false;
    bool m_withDate = false;
    bool m_append = false;
    bool m_limitOn = false;
    std::uint64_t m_limit = 0;
    int m_defaultLevel = LOGLEVEL_NONE;  // until the log is opened
    // Taken when the file is opened: the END line may come at process end, after the
    // program-folder service has been torn down.
    std::string m_programPath;
    unsigned short m_version[4] = {0, 0, 0, 0};
    char m_message[4096];
    char m_line[5120];
};
