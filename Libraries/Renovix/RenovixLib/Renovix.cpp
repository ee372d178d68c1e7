#include "Renovix/RenovixLib/Renovix.h"

#include "Platform/SettingsStore.h"
#include "Platform/XmlFile.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "Renovix/RenovixLib/RenovixSchedule.h"

#include <tinyxml.h>

#include <utility>

namespace {

struct SStoredField {
    CRenovixSettings::Field field;
    const char* name;
};

// Both forms in the order they have always been written.
const SStoredField kFileFields[] = {
    {CRenovixSettings::BaseDir, "basedir"},
    {CRenovixSettings::Schedule, "schedule"},
    {CRenovixSettings::Protocol, "protocol"},
    {CRenovixSettings::NextRun, "nextrenovix"},
    {CRenovixSettings::Packages, "packages"},
    {CRenovixSettings::UserName, "username"},
    {CRenovixSettings::Password, "password"},
    {CRenovixSettings::ExtraParams, "extraparams"},
    {CRenovixSettings::NextNotify, "nextupdatenotify"},
    {CRenovixSettings::NotifyEnabled, "enableupdatenotify"},
};

const SStoredField kRegistryFields[] = {
    {CRenovixSettings::BaseDir, "BaseDir"},
    {CRenovixSettings::Schedule, "Schedule"},
    {CRenovixSettings::Protocol, "Protocol"},
    {CRenovixSettings::NextRun, "NextRenovix"},
    {CRenovixSettings::UserName, "UserName"},
    {CRenovixSettings::Password, "Password"},
    {CRenovixSettings::Packages, "Packages"},
    {CRenovixSettings::ExtraParams, "ExtraParams"},
    {CRenovixSettings::NextNotify, "NextUpdateNotify"},
    {CRenovixSettings::NotifyEnabled, "EnableUpdateNotify"},
};

// Values at least this long read as empty, as the fixed read buffer of the registry form did.
constexpr size_t kRegistryValueLimit = 1024;

// An application name is one folder name below corvanta/Renovix, never a way out of it.
bool IsApplicationName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

CRenovixSettings Defaults()
{
    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    return settings;
}

}  // namespace

CRenovix::CRenovix()
    : m_log(CLogManager::GetInstance()->GetLogger("CRenovix", LOGLEVEL_PARENT)),
      m_clock([] { return std::time(nullptr); })
{
}

CRenovix::~CRenovix() = default;

void CRenovix::SetClock(std::function<std::time_t()> clock)
{
    m_clock = std::move(clock);
}

CRenovixSettings CRenovix::LoadSettingsFromFile(const std::string& path)
{
    m_settingsReplaced = false;
    CRenovixSettings settings = Defaults();
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::Load(doc, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile failed opening %s: %s", path.c_str(), error.c_str());
        return settings;
    }
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr || root->ValueStr() != "renovix") {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile no ROOT-element");
        return settings;
    }
    const TiXmlElement* element = root->FirstChildElement("settings");
    if (element == nullptr) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromFile no <settings> tag");
        return settings;
    }
    for (const SStoredField& stored : kFileFields) {
        const char* value = element->Attribute(stored.name);
        settings.SetText(stored.field, value ? value : "");
    }
    return settings;
}

bool CRenovix::SaveSettingsToFile(const CRenovixSettings& settings, const std::string& path, bool force)
{
    if (!force && m_settingsReplaced) {
        QUILLET_POS(m_log);
        m_log.Info("not saving settings because they were updated");
        return true;
    }
    TiXmlDocument doc;
    TiXmlElement* root = new TiXmlElement("renovix");
    doc.LinkEndChild(root);
    TiXmlElement* element = new TiXmlElement("settings");
    root->LinkEndChild(element);
    for (const SStoredField& stored : kFileFields)
        element->SetAttribute(stored.name, settings.GetText(stored.field));
    std::string error;
    if (!CXmlFile::Save(doc, path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::SaveSettingsToFile failed writing %s: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

std::string CRenovix::RegistryPath(const std::string& applicationName)
{
    return CSettingsStore::UserSettingsPath("corvanta/Renovix/" + applicationName);
}

CRenovixSettings CRenovix::LoadSettingsFromRegistry(const std::string& applicationName)
{
    CRenovixSettings settings = Defaults();
    if (!IsApplicationName(applicationName))
        return settings;
    CSettingsStore store;
    const std::string path = RegistryPath(applicationName);
    if (!store.Load(path)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::LoadSettingsFromRegistry failed opening %s", path.c_str());
        return settings;
    }
    for (const SStoredField& stored : kRegistryFields) {
        std::string value = store.GetString("", stored.name);
        if (value.size() >= kRegistryValueLimit)
            value.clear();
        settings.SetText(stored.field, value);
    }
    return settings;
}

bool CRenovix::SaveSettingsToRegistry(const CRenovixSettings& settings, const std::string& applicationName)
{
    if (!IsApplicationName(applicationName))
        return false;
    CSettingsStore store;
    const std::string path = RegistryPath(applicationName);
    // Keeps what else the file holds; a missing file is a new store.
    store.Load(path);
    for (const SStoredField& stored : kRegistryFields) {
        if (!store.SetString("", stored.name, settings.GetText(stored.field))) {
            QUILLET_POS(m_log);
            m_log.Error("CRenovix::SaveSettingsToRegistry cannot store %s", stored.name);
            return false;
        }
    }
    std::string error;
    if (!store.Save(path, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("CRenovix::SaveSettingsToRegistry failed creating %s: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

SRenovixTime CRenovix::GetNextDate(const std::string& schedule) const
{
    return CRenovixSchedule::NextDate(schedule, m_clock());
}

bool CRenovix::IsUpdateDue(const CRenovixSettings& settings) const
{
    return CRenovixSchedule::IsDue(settings, m_clock());
}
