#pragma once

#include <cstdarg>

class CLogManager;

// A named logging handle held by value by every class that reports anything.
// The source position set by SetPosition is used by the next level call only.
class CLogger {
public:
    CLogger();
    CLogger(CLogManager* manager, const char* name);
    CLogger(const CLogger& other);
    CLogger& operator=(const CLogger& other);
    virtual ~CLogger();

    void SetPosition(int line, const char* file);

    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Debug(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Info(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Critical(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void LogAt(int level, int line, const char* file, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

    void SetLevel(int level);
    int GetLevel() const;
    const char* GetName() const { return m_name; }

private:
    void LogV(int level, const char* format, va_list args);

    CLogManager* m_manager = nullptr;
    char* m_name = nullptr;
    char m_sourceFile[512] = {};
    int m_sourceLine = -1;
};

// The source position of the calling line, file name without folders.
#define QUILLET_POS(logger) (logger).SetPosition(__LINE__, __FILE_NAME__)
