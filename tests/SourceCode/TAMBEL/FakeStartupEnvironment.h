// A start-up environment whose every step does what the test's script says and writes its name
// into a call list, so the tests see which steps ran and in what order, without a database. Each
// step also notes the splash screen's status line when it changed since the step before.
#pragma once

#include "TAMBEL/ProductionDbLink.h"
#include "TAMBEL/StartupEnvironment.h"
#include "TAMBEL/UpdateClient.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SStartupScript {
    bool platform = true;
    bool otherInstance = false;
    bool configuration = true;
    bool configurationFileExists = true;
    bool unitsDb = true;
    bool units = true;
    bool fluids = true;
    bool normConditions = true;
    bool productionDb = false;
    // The system's error number with which saving the configuration fails; 0 saves.
    int saveConfigurationError = 0;
    // Runs while the main window would be shown.
    std::function<void(CTAMBELApp&)> mainWindow;
    // The update client.
    int protocol = 0;
    bool updateDue = true;
    bool updateInit = true;
    bool updateList = true;
    std::uint32_t updateResult = UPDATE_RESULT_OK;
    bool restart = true;
};

using CallList = std::vector<std::string>;

class CFakeProductionDb : public CProductionDbLink {
public:
    CFakeProductionDb(const SStartupScript& script, CallList& calls) : m_script(script), m_calls(calls) {}
    bool OpenAndCheck() override;
    bool IsUsable() const override { return m_usable; }
    bool Unlock(const CProductionDbKey& key, const std::string& owner) override;
    void Close() override;
    std::string DataLinkPath() const override { return std::string(); }
    CProductionDb* Database() override { return nullptr; }

private:
    const SStartupScript& m_script;
    CallList& m_calls;
    bool m_usable = false;
};

class CFakeStartupEnvironment : public CStartupEnvironment {
public:
    CFakeStartupEnvironment(SStartupScript script, CallList& calls);

    SStartupScript& Script() { return m_script; }
    const CallList& SplashStatuses() const { return m_statuses; }

    bool InitializePlatform() override { return Call("InitializePlatform", m_script.platform); }
    bool IsOtherInstanceRunning(CTAMBELApp&) override { return Call("IsOtherInstanceRunning", m_script.otherInstance); }
    bool LoadConfiguration() override { return Call("LoadConfiguration", m_script.configuration); }
    bool ConfigurationFileExists() override { return m_script.configurationFileExists; }
    bool SaveConfiguration(int* errorNumber) override
    {
        *errorNumber = m_script.saveConfigurationError;
        return Call("SaveConfiguration", m_script.saveConfigurationError == 0);
    }
    std::unique_ptr<CUpdateClient> CreateUpdateClient() override;
    bool OpenUnitsDatabase() override { return Call("OpenUnitsDatabase", m_script.unitsDb); }
    bool LoadUnits() override { return Call("LoadUnits", m_script.units); }
    bool LoadFluids() override { return Call("LoadFluids", m_script.fluids); }
    bool LoadNormConditions() override { return Call("LoadNormConditions", m_script.normConditions); }
    void UseFirstNormConditionAsDefault() override { Call("UseFirstNormConditionAsDefault", true); }
    void CloseUnitsDatabase() override { Call("CloseUnitsDatabase", true); }
    CProductionDbLink& ProductionDb() override { return m_productionDb; }
    bool RunMainDialog(CTAMBELApp& app) override
    {
        if (m_script.mainWindow)
            m_script.mainWindow(app);
        return Call("RunMainDialog", true);
    }

private:
    bool Call(const char* name, bool result);

    SStartupScript m_script;
    CallList& m_calls;
    CallList m_statuses;
    CFakeProductionDb m_productionDb;
};
