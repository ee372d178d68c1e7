#pragma once

#include "Platform/VersionInfo.h"

#include <cstddef>

// The version of a file as its version record gives it. Only our own binaries carry a record;
// any other file, and one that cannot be read, has version 0.0.0.0. The record holds one
// version, which stands for both the file and the product version. Holds no heap memory, so a
// crash report may read a copy made beforehand.
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

    // Copy at most size - 1 characters and the terminator; false for a NULL buffer. The
    // record has no texts, so these are empty.
    bool GetCompanyName(char* buffer, std::size_t size) const;
    bool GetProductName(char* buffer, std::size_t size) const;
    bool GetFileDescription(char* buffer, std::size_t size) const;

private:
    void SetPath(const char* path);
    static bool CopyEmptyText(char* buffer, std::size_t size);

    char m_path[MaxPath + 1] = {};
    SFileVersion m_fileVersion;
    SFileVersion m_productVersion;
};
