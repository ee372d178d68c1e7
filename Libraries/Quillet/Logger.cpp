#include "Quillet/Logger.h"

#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <cstring>

namespace {

char* CopyName(const char* name)
{
    if (name == nullptr || *name == '\0')
        return nullptr;
    const std::size_t length = std::strlen(name);
    char* copy = new char[length + 1];
    std::memcpy(copy, name, length + 1);
    return copy;
}

}  // namespace

CLogger::CLogger() = default;

CLogger::CLogger(CLogManager* manager, const char* name) : m_manager(manager), m_name(CopyName(name)) {}

CLogger::CLogger(const CLogger& other)
    : m_manager(other.m_manager), m_name(CopyName(other.m_name)), m_sourceLine(other.m_sourceLine)
{
    std::memcpy(m_sourceFile, other.m_sourceFile, sizeof(m_sourceFile));
}

CLogger& CLogger::operator=(const CLogger& other)
{
    if (this == &other)
        return *this;
    char* name = CopyName(other.m_name);
    delete[] m_name;
    m_name = name;
    m_manager = other.m_manager;
    std::memcpy(m_sourceFile, other.m_sourceFile, sizeof(m_sourceFile));
    m_sourceLine = other.m_sourceLine;
    return *this;
}

CLogger::~CLogger()
{
    delete[] m_name;
}

void CLogger::SetPosition(int line, const char* file)
{
    std::memset(m_sourceFile, 0, sizeof(m_sourceFile));
    if (file != nullptr)
        std::strncpy(m_sourceFile, file, sizeof(m_sourceFile) - 1);
    m_sourceLine = line;
}

void CLogger::LogV(int level, const char* format, va_list args)
{
    if (m_manager == nullptr || format == nullptr)
        return;
    // A va_list parameter may be an adjusted array type, so its address is not a va_list*;
    // the manager gets a real one.
    va_list copy;
    va_copy(copy, args);
    if (m_sourceLine < 0 && std::strlen(m_sourceFile) < 2) {
        m_manager->Log(level, m_name, format, &copy);
    } else {
        m_manager->LogAt(level, m_sourceLine, m_sourceFile, m_name, format, &copy);
        // The position belongs to this one call.
        std::memset(m_sourceFile, 0, sizeof(m_sourceFile));
        m_sourceLine = -1;
    }
    va_end(copy);
}

#define QUILLET_LEVEL_CALL(method, level)     \
    void CLogger::method(const char* format, ...) \
    {                                          \
        va_list args;                          \
        va_start(args, format);                \
        LogV(level, format, args);             \
        va_end(args);                          \
    }

QUILLET_LEVEL_CALL(Trace, LOGLEVEL_TRACE)
QUILLET_LEVEL_CALL(Debug, LOGLEVEL_DEBUG)
QUILLET_LEVEL_CALL(Info, LOGLEVEL_INFO)
QUILLET_LEVEL_CALL(Warn, LOGLEVEL_WARN)
QUILLET_LEVEL_CALL(Error, LOGLEVEL_ERROR)
QUILLET_LEVEL_CALL(Critical, LOGLEVEL_CRITICAL)

#undef QUILLET_LEVEL_CALL

void CLogger::Log(int level, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LogV(level, format, args);
    va_end(args);
}

void CLogger::LogAt(int level, int line, const char* file, const char* format, ...)
{
    if (m_manager == nullptr || format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    m_manager->LogAt(level, line, file, m_name, format, &args);
    va_end(args);
}

void CLogger::SetLevel(int level)
{
    if (m_manager != nullptr)
        m_manager->SetLoggerLevel(level, m_name);
}

int CLogger::GetLevel() const
{
    return m_manager != nullptr ? m_manager->GetLoggerLevel(m_name) : LOGLEVEL_NONE;
}
