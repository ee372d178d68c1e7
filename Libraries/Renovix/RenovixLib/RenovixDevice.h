// A Windows CE device connected to this computer, as the update run installs files on it. Paths
// on the device use '\'. The program has no device connection (CNoRenovixDevice); tests use a
// folder that plays the device.
#pragma once

#include <cstddef>
#include <string>

struct SCeVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    std::string servicePack;
};

enum ECeFolder {
    CE_FOLDER_DESKTOP,
    CE_FOLDER_FAVORITES,
    CE_FOLDER_FONTS,
    CE_FOLDER_PERSONAL,
    CE_FOLDER_PROGRAM_FILES,
    CE_FOLDER_PROGRAMS_MENU,
    CE_FOLDER_RECENT,
    CE_FOLDER_STARTUP,
};

class IRenovixDevice {
public:
    enum EOpen {
        OPEN_READ,            // an existing file, others may read too
        OPEN_WRITE_EXISTING,  // an existing file; fails while the device uses it
        OPEN_CREATE,          // created or emptied, for this writer alone
    };

    virtual ~IRenovixDevice() = default;

    // Whether the software that reaches devices is installed at all.
    virtual bool IsPresent() const = 0;
    // One attempt to reach a device, waiting at most timeoutMs.
    virtual bool Connect(int timeoutMs) = 0;
    virtual void Disconnect() = 0;

    virtual bool GetVersion(SCeVersion& version) = 0;
    virtual int GetProcessorArchitecture() = 0;
    // Empty when the device has no such folder.
    virtual std::string GetSpecialFolder(ECeFolder folder) = 0;
    // A string value of the device's registry below HKEY_LOCAL_MACHINE; empty when missing.
    virtual std::string GetRegistryString(const std::string& key, const std::string& value) = 0;

    virtual bool FileExists(const std::string& path) = 0;
    // A handle, or -1 (see GetLastError).
    virtual int OpenFile(const std::string& path, EOpen mode) = 0;
    virtual long long GetFileSize(int handle) = 0;
    // The bytes read, 0 at the end, -1 on failure.
    virtual long ReadFile(int handle, void* buffer, size_t size) = 0;
    virtual bool WriteFile(int handle, const void* bytes, size_t size) = 0;
    virtual void CloseFile(int handle) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;

    // The error of the last failed operation and its text, for the log.
    virtual int GetLastError() const = 0;
    virtual std::string GetErrorText(int error) const = 0;
};
