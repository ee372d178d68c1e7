// The start-up's update client: the update library's client, with its download progress shown on
// the splash screen.
#pragma once

#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixWx/RenovixProgressEvents.h"
#include "TAMBEL/UpdateClient.h"

class CRenovixUpdateClient : public CUpdateClient {
public:
    CRenovixUpdateClient();

    void SetLogger(const CLogger& logger) override { m_client.SetLogger(logger); }
    void SetProgressWindow(CSplashScreen* splash) override;
    void LoadSettingsFromFile(const std::string& path) override;
    int GetProtocol() const override { return m_settings.protocol; }
    std::string GetNextRunText() const override;
    bool IsUpdateDue() const override { return m_client.IsUpdateDue(m_settings); }
    bool Init() override { return m_client.Init(m_settings); }
    bool LoadUpdateList() override { return m_client.LoadUpdateList(); }
    std::uint32_t UpdateFiles() override;
    bool SaveSettingsToFile(const std::string& path, bool force) override;
    bool RestartAndUpdate(const std::string& updaterPath, const std::string& programPath,
                          int delayMilliseconds) override;

private:
    CRenovix m_client;
    CRenovixSettings m_settings;
    CRenovixProgressEvents m_progress;
};
