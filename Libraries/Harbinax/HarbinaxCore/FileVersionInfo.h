#pragma once

#include "Platform/VersionInfo.h"

#include <cstddef>
#include <cstdint>

// The version of a file as its version record gives it. Only our own binaries carry a record;
// any other file, and one that cannot be read, has version 0.0.0.0 and empty texts. Holds no
// heap memory, so a crash report may read a copy made beforehand.
class CFileVersionInfo {
public:
    static constexpr std::size_t MaxPath = 519;

    CFileVersionInfo() = default;
    // Scans the file at path (at most MaxPath characters are kept as its name).
    explicit CFileVersionInfo(const char* path);
    // The running program, from the record in memory: right even after the file was replaced.
    static CFileVersionInfo OfRunningProgram();

    const char* GetPath() const { return m_path; }
    const SFileVersion& GetFileVersion() const { return m_fileVersion; }
    const SFileVersion& GetProductVersion() const { return m_productVersion; }
    std::uint32_t GetFileFlags() const { return m_fileFlags; }
    std::uint32_t GetFileOs() const { return m_fileOs; }
    std::uint32_t GetFileType() const { return m_fileType; }
    std::uint32_t GetFileSubtype() const { return m_fileSubtype; }

    // Copy at most size - 1 characters and the terminator; false for a NULL buffer.
    bool GetCompanyName(char* buffer, std::size_t size) const;
    bool GetProductName(char* buffer, std::size_t size) const;
    bool GetFileDescription(char* buffer, std::size_t size) const;

private:
    static constexpr std::size_t TextSize = SVersionRecord::MaxText + 1;

    void SetPath(const char* path);
    void SetRecord(const SVersionRecord& record);
    static bool CopyText(const char* text, char* buffer, std::size_t size);

    char m_path[MaxPath + 1] = {};
    SFileVersion m_fileVersion;
    SFileVersion m_productVersion;
    std::uint32_t m_fileFlags = 0;
    std::uint32_t m_fileOs = 0;
    std::uint32_t m_fileType = 0;
    std::uint32_t m_fileSubtype = 0;
    char m_companyName[TextSize] = {};
    char m_productName[TextSize] = {};
    char m_fileDescription[TextSize] = {};
};
