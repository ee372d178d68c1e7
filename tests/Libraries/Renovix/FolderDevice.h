// A Windows CE device played by a folder: device path "\a\b" is folder + "/a/b". What the device
// reports (version, processor, special folders, registry) and which files it holds open are set
// by the test; it counts the connection attempts.
#pragma once

#include "Renovix/RenovixLib/RenovixDevice.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>

class CFolderDevice : public IRenovixDevice {
public:
    explicit CFolderDevice(const std::string& folder) : m_folder(folder) {}
    ~CFolderDevice() override;

    bool IsPresent() const override { return present; }
    bool Connect(int timeoutMs) override;
    void Disconnect() override { connected = false; }
    bool GetVersion(SCeVersion& version) override;
    int GetProcessorArchitecture() override { return processor; }
    std::string GetSpecialFolder(ECeFolder folder) override;
    std::string GetRegistryString(const std::string& key, const std::string& value) override;
    bool FileExists(const std::string& path) override;
    int OpenFile(const std::string& path, EOpen mode) override;
    long long GetFileSize(int handle) override;
    long ReadFile(int handle, void* buffer, size_t size) override;
    bool WriteFile(int handle, const void* bytes, size_t size) override;
    void CloseFile(int handle) override;
    bool CreateDirectory(const std::string& path) override;
    int GetLastError() const override { return m_error; }
    std::string GetErrorText(int error) const override;

    // The local file behind a device path.
    std::string Local(const std::string& devicePath) const;

    bool present = true;
    bool reachable = true;
    bool versionFails = false;
    SCeVersion version = {4, 20, 1081, "Service Pack 1"};
    int processor = 5;  // ARM
    std::map<ECeFolder, std::string> folders;
    std::map<std::string, std::string> registry;  // key + "|" + value
    std::set<std::string> busy;                    // device paths it keeps open
    int connectCalls = 0;
    bool connected = false;

private:
    std::string m_folder;
    std::map<int, std::FILE*> m_files;
    int m_next = 1;
    int m_error = 0;
};
