#include "FakeStartupEnvironment.h"

#include "Harbinax/Harbinax.h"
#include "Harbinax/SplashScreen.h"
#include "ProductionDb/ProductionDbKey.h"

#include <utility>

namespace {

// The splash screen's status line, when it differs from the last one noted.
void NoteSplashStatus(CallList& statuses)
{
    const auto* app = dynamic_cast<const CHarbinax*>(wxApp::GetInstance());
    const CSplashScreen* splash = app ? app->GetSplashScreen() : nullptr;
    if (!splash)
        return;
    const std::string& status = splash->GetTexts().GetStatusText(0);
    if (statuses.empty() || statuses.back() != status)
        statuses.push_back(status);
}

class CFakeUpdateClient : public CUpdateClient {
public:
    CFakeUpdateClient(const SStartupScript& script, CallList& calls, CallList& statuses)
        : m_script(script), m_calls(calls), m_statuses(statuses)
    {
    }

    void SetLogger(const CLogger&) override {}
    void SetProgressWindow(CSplashScreen* splash) override
    {
        Call(splash ? "SetProgressWindow" : "SetProgressWindow(null)");
    }
    void LoadSettingsFromFile(const std::string& path) override { Call("LoadSettingsFromFile " + path); }
    int GetProtocol() const override { return m_script.protocol; }
    std::string GetNextRunText() const override { return "31.12.2100 00:00:00"; }
    bool IsUpdateDue() const override { return m_script.updateDue; }
    bool Init() override { return Call("Init", m_script.updateInit); }
    bool LoadUpdateList() override { return Call("LoadUpdateList", m_script.updateList); }
    std::uint32_t UpdateFiles() override
    {
        Call("UpdateFiles");
        return m_script.updateResult;
    }
    bool SaveSettingsToFile(const std::string& path, bool force) override
    {
        return Call("SaveSettingsToFile " + path + (force ? " force" : ""), true);
    }
    bool RestartAndUpdate(const std::string& updaterPath, const std::string& programPath, int delay) override
    {
        return Call("RestartAndUpdate " + updaterPath + " " + programPath + " " + std::to_string(delay),
                    m_script.restart);
    }

private:
    bool Call(const std::string& name, bool result = true)
    {
        m_calls.push_back(name);
        NoteSplashStatus(m_statuses);
        return result;
    }

    const SStartupScript& m_script;
    CallList& m_calls;
    CallList& m_statuses;
};

}  // namespace

bool CFakeProductionDb::OpenAndCheck()
{
    m_calls.push_back("OpenProductionDb");
    m_usable = m_script.productionDb;
    return m_usable;
}

bool CFakeProductionDb::Unlock(const CProductionDbKey& key, const std::string&)
{
    m_calls.push_back("UnlockRecord " + key.Format());
    return true;
}

void CFakeProductionDb::Close()
{
    m_calls.push_back("CloseProductionDb");
    m_usable = false;
}

CFakeStartupEnvironment::CFakeStartupEnvironment(SStartupScript script, CallList& calls)
    : m_script(std::move(script)), m_calls(calls), m_productionDb(m_script, calls)
{
}

std::unique_ptr<CUpdateClient> CFakeStartupEnvironment::CreateUpdateClient()
{
    Call("CreateUpdateClient", true);
    return std::make_unique<CFakeUpdateClient>(m_script, m_calls, m_statuses);
}

bool CFakeStartupEnvironment::Call(const char* name, bool result)
{
    m_calls.push_back(name);
    NoteSplashStatus(m_statuses);
    return result;
}
