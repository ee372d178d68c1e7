// This system has no way to reach a Windows CE device: every device entry of an update list fails
// as it does where the device software is not installed.
#pragma once

#include "Renovix/RenovixLib/RenovixDevice.h"

class CNoRenovixDevice : public IRenovixDevice {
public:
    bool IsPresent() const override { return false; }
    bool Connect(int) override { return false; }
    void Disconnect() override {}
    bool GetVersion(SCeVersion&) override { return false; }
    int GetProcessorArchitecture() override { return -1; }
    std::string GetSpecialFolder(ECeFolder) override { return ""; }
    std::string GetRegistryString(const std::string&, const std::string&) override { return ""; }
    bool FileExists(const std::string&) override { return false; }
    int OpenFile(const std::string&, EOpen) override { return -1; }
    long long GetFileSize(int) override { return -1; }
    long ReadFile(int, void*, size_t) override { return -1; }
    bool WriteFile(int, const void*, size_t) override { return false; }
    void CloseFile(int) override {}
    bool CreateDirectory(const std::string&) override { return false; }
    int GetLastError() const override { return kNoDevice; }
    std::string GetErrorText(int) const override { return "no device connected"; }

private:
    static constexpr int kNoDevice = 1;
};
