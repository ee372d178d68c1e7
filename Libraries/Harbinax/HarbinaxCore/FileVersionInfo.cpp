#include "HarbinaxCore/FileVersionInfo.h"

#include "Platform/ProgramFolder.h"

#include <cstring>

CFileVersionInfo::CFileVersionInfo(const char* path)
{
    SetPath(path);
    if (path != nullptr && Platform::ReadFileVersion(path, m_fileVersion))
        m_productVersion = m_fileVersion;
}

CFileVersionInfo CFileVersionInfo::OfRunningProgram()
{
    CFileVersionInfo info;
    info.SetPath(Platform::GetProgramPath().c_str());
    info.m_fileVersion = Platform::GetProgramVersion();
    info.m_productVersion = info.m_fileVersion;
    return info;
}

void CFileVersionInfo::SetPath(const char* path)
{
    std::memset(m_path, 0, sizeof(m_path));
    if (path != nullptr)
        std::strncpy(m_path, path, MaxPath);
}

bool CFileVersionInfo::CopyEmptyText(char* buffer, std::size_t size)
{
    if (buffer == nullptr)
        return false;
    if (size > 0)
        buffer[0] = '\0';
    return true;
}

bool CFileVersionInfo::GetCompanyName(char* buffer, std::size_t size) const
{
    return CopyEmptyText(buffer, size);
}

bool CFileVersionInfo::GetProductName(char* buffer, std::size_t size) const
{
    return CopyEmptyText(buffer, size);
}

bool CFileVersionInfo::GetFileDescription(char* buffer, std::size_t size) const
{
    return CopyEmptyText(buffer, size);
}
