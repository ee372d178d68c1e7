// The update client of a build without the update library: it reads "Renovix.xml" so that a
// damaged file shows in the log, and finds no update protocol, so the start-up never updates.
// Replaced by the update library's client.
#pragma once

#include "TAMBEL/UpdateClient.h"
#include "Quillet/Logger.h"

class CUpdateClientStandIn : public CUpdateClient {
public:
    void SetLogger(const CLogger& logger) override { m_log = logger; }
    void SetProgressWindow(CSplashScreen*) override {}
    void LoadSettingsFromFile(const std::string& path) override;
    int GetProtocol() const override { return 0; }
    std::string GetNextRunText() const override { return std::string(); }
    bool IsUpdateDue() const override { return false; }
    bool Init() override { return false; }
    bool LoadUpdateList() override { return false; }
    std::uint32_t UpdateFiles() override { return UPDATE_RESULT_FAILED; }
    bool SaveSettingsToFile(const std::string&, bool) override { return false; }
    bool RestartAndUpdate(const std::string&, const std::string&, int) override { return false; }

private:
    CLogger m_log;
};
