#include "HarbinaxCore/FileVersionInfo.h"

#include "Platform/ProgramFolder.h"

#include <algorithm>
#include <cstring>

CFileVersionInfo::CFileVersionInfo(const char* path)
{
    SetPath(path);
    SVersionRecord record;
    if (path != nullptr && Platform::ReadVersionRecord(path, record))
        SetRecord(record);
}

CFileVersionInfo CFileVersionInfo::OfRunningProgram()
{
    CFileVersionInfo info;
    info.SetPath(Platform::GetProgramPath().c_str());
    info.SetRecord(Platform::GetProgramVersionRecord());
    return info;
}

void CFileVersionInfo::SetPath(const char* path)
{
    std::memset(m_path, 0, sizeof(m_path));
    if (path != nullptr)
        std::strncpy(m_path, path, MaxPath);
}

void CFileVersionInfo::SetRecord(const SVersionRecord& record)
{
    m_fileVersion = record.fileVersion;
    m_productVersion = record.productVersion;
    m_fileFlags = record.fileFlags;
    m_fileOs = record.fileOs;
    m_fileType = record.fileType;
    m_fileSubtype = record.fileSubtype;
    CopyText(record.companyName.c_str(), m_companyName, TextSize);
    CopyText(record.productName.c_str(), m_productName, TextSize);
    CopyText(record.fileDescription.c_str(), m_fileDescription, TextSize);
}

bool CFileVersionInfo::CopyText(const char* text, char* buffer, std::size_t size)
{
    if (buffer == nullptr)
        return false;
    if (size == 0)
        return true;
    const std::size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

bool CFileVersionInfo::GetCompanyName(char* buffer, std::size_t size) const
{
    return CopyText(m_companyName, buffer, size);
}

bool CFileVersionInfo::GetProductName(char* buffer, std::size_t size) const
{
    return CopyText(m_productName, buffer, size);
}

bool CFileVersionInfo::GetFileDescription(char* buffer, std::size_t size) const
{
    return CopyText(m_fileDescription, buffer, size);
}
