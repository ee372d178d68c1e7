#include "TAMBEL/RenovixUpdateClient.h"

#include "Harbinax/SplashScreen.h"

// The start-up tests the client's result bits under its own names.
static_assert(UPDATE_RESULT_OK == CRenovix::UPDATE_RESULT_OK);
static_assert(UPDATE_RESULT_HAD_SHARED == CRenovix::UPDATE_RESULT_HAD_SHARED);
static_assert(UPDATE_RESULT_FAILED == CRenovix::UPDATE_RESULT_FAILED);

CRenovixUpdateClient::CRenovixUpdateClient()
{
    CRenovixSettings::SetDefaults(m_settings);
    m_client.SetProgressObserver(&m_progress);
}

void CRenovixUpdateClient::SetProgressWindow(CSplashScreen* splash)
{
    m_progress.SetTarget(splash);
}

void CRenovixUpdateClient::LoadSettingsFromFile(const std::string& path)
{
    m_settings = m_client.LoadSettingsFromFile(path);
}

std::string CRenovixUpdateClient::GetNextRunText() const
{
    return CRenovixSettings::FormatTime(m_settings.nextRun);
}

std::uint32_t CRenovixUpdateClient::UpdateFiles()
{
    return static_cast<std::uint32_t>(m_client.UpdateFiles());
}

bool CRenovixUpdateClient::SaveSettingsToFile(const std::string& path, bool force)
{
    return m_client.SaveSettingsToFile(m_client.GetSettings(), path, force);
}

bool CRenovixUpdateClient::RestartAndUpdate(const std::string& updaterPath, const std::string& programPath,
                                            int delayMilliseconds)
{
    return m_client.RestartAndUpdate(updaterPath, programPath, delayMilliseconds);
}
