#include "CommonFiles/ApplicationConfiguration.h"

#include "CommonFiles/InstanceHolder.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitManager.h"
#include "Platform/NumberText.h"
#include "Platform/ProgramFolder.h"
#include "Platform/XmlFile.h"
#include "Platform/XmlNumbers.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

const char kDefaultLanguage[] = "en";
constexpr int kDefaultNormCondition = 1;
const char kRootElement[] = "tambel-settings";

// The attributes of "default-units" in the order they are written.
struct SUnitSetting {
    const char* name;
    int CApplicationConfiguration::*setting;
    bool unitIndex;  // names a unit of the list, not a code
};

const SUnitSetting kUnitSettings[] = {
    {"temperature", &CApplicationConfiguration::temperature, true},
    {"pressure", &CApplicationConfiguration::pressure, true},
    {"pressure_reference", &CApplicationConfiguration::pressure_reference, false},
    {"density", &CApplicationConfiguration::density, true},
    {"viscosity", &CApplicationConfiguration::viscosity, true},
    {"flow_type", &CApplicationConfiguration::flow_type, false},
    {"flow_reference", &CApplicationConfiguration::flow_reference, false},
    {"flow", &CApplicationConfiguration::flow, true},
    {"velocity", &CApplicationConfiguration::velocity, true},
};

// Whether the index names a unit; without a loaded unit list every index is taken as it is.
bool NamesUnit(int index)
{
    const CUnitManager* units = CUnitManager::GetInstance();
    CUnit unit;
    return units == nullptr || units->GetUnitList().empty() || units->GetUnit(unit, index);
}

// One spelling per file, so a path read once and saved later is recognised.
std::string SameFileKey(const std::string& file)
{
    std::error_code ignored;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, ignored);
    return canonical.empty() ? file : canonical.string();
}

// True unless the file is certainly absent; a file that cannot even be looked at counts as there.
bool MayExist(const std::string& file)
{
    std::error_code ignored;
    return std::filesystem::status(file, ignored).type() != std::filesystem::file_type::not_found;
}

}  // namespace

CApplicationConfiguration* CApplicationConfiguration::GetInstance()
{
    return CInstanceHolder<CApplicationConfiguration>::Get();
}

CApplicationConfiguration::CApplicationConfiguration()
    : m_log(CLogManager::GetInstance()->GetLogger("CApplicationConfiguration", LOGLEVEL_PARENT))
{
    Reset();
}

CApplicationConfiguration::~CApplicationConfiguration() = default;

BOOL CApplicationConfiguration::Reset()
{
    language = kDefaultLanguage;
    autorecalcmeters = true;
    temperature = 1;
    pressure = 7;
    pressure_reference = 2;
    density = 21;
    viscosity = 97;
    flow = 38;
    flow_type = 1;
    flow_reference = 0;
    velocity = 92;
    minflowrangepercent = 100.0;
    const CNormConditionManager* conditions = CNormConditionManager::GetInstance();
    if (conditions == nullptr) {
        default_norm_condition.Reset();
        return FALSE;
    }
    return conditions->GetCondition(kDefaultNormCondition, default_norm_condition);
}

std::string CApplicationConfiguration::FilePath(const std::string& path)
{
    return path.empty() ? Platform::GetProgramFolder() + "Zephrin.cfg" : path;
}

BOOL CApplicationConfiguration::Load(const std::string& path)
{
    const std::string file = FilePath(path);
    TiXmlDocument doc;
    std::string error;
    // A well-formed file of another kind is no configuration either, and must not be saved over.
    bool loaded = CXmlFile::Load(doc, file, &error);
    if (loaded && (doc.RootElement() == nullptr || doc.RootElement()->ValueStr() != kRootElement)) {
        loaded = false;
        error = "the root element is not <" + std::string(kRootElement) + ">";
    }
    if (!loaded) {
        QUILLET_POS(m_log);
        m_log.Error("Failed loading XML (%s) error=%s", file.c_str(), error.c_str());
        if (MayExist(file))
            m_unloadableFiles.insert(SameFileKey(file));
        Reset();
        return FALSE;
    }
    const BOOL read = ReadRoot(doc.RootElement());
    if (!read && doc.RootElement()->FirstChildElement("default-norm-condition") != nullptr) {
        // A norm condition there but not readable (a "nan" value, a missing unit): the file
        // is kept as the user left it rather than saved over with defaults.
        QUILLET_POS(m_log);
        m_log.Error("Failed loading XML (%s) error=%s", file.c_str(), "the default norm condition cannot be read");
        m_unloadableFiles.insert(SameFileKey(file));
        Reset();
        return FALSE;
    }
    m_unloadableFiles.erase(SameFileKey(file));
    return read;
}

BOOL CApplicationConfiguration::ReadRoot(const TiXmlElement* root)
{
    Reset();
    if (root == nullptr)
        return FALSE;
    if (const TiXmlElement* global = root->FirstChildElement("global-settings")) {
        const char* code = global->Attribute("language");
        language = code != nullptr && *code != '\0' ? code : kDefaultLanguage;
        const char* recalc = global->Attribute("autorecalcmeters");
        autorecalcmeters = recalc == nullptr || std::strcmp(recalc, "FALSE") != 0;
    }
    if (const TiXmlElement* units = root->FirstChildElement("default-units")) {
        for (const SUnitSetting& entry : kUnitSettings) {
            int& setting = this->*entry.setting;
            const int defaultValue = setting;
            // An index that names no unit (a unit removed from the database) would leave every
            // page without its unit.
            if (CXmlNumbers::QueryIntAttribute(*units, entry.name, setting) && entry.unitIndex &&
                !NamesUnit(setting))
                setting = defaultValue;
        }
    }
    if (const TiXmlElement* filter = root->FirstChildElement("filter-settings")) {
        const char* text = filter->Attribute("minflowrangepercent");
        std::string number = text != nullptr ? text : "";
        // Older files were written with the decimal comma of the desktop.
        std::replace(number.begin(), number.end(), ',', '.');
        minflowrangepercent = Platform::AtoF(number.c_str());
        if (!(minflowrangepercent >= 0.0 && minflowrangepercent <= 100.0))
            minflowrangepercent = 100.0;
    }
    return CNormFlowCondition::ReadXml(default_norm_condition, root->FirstChildElement("default-norm-condition"));
}

BOOL CApplicationConfiguration::Save(const std::string& path, int* errorNumber)
{
    if (errorNumber)
        *errorNumber = 0;
    const std::string file = FilePath(path);
    const std::string key = SameFileKey(file);
    if (m_unloadableFiles.count(key) != 0) {
        if (MayExist(file)) {
            QUILLET_POS(m_log);
            m_log.Error("Not saving %s: the file there could not be loaded and is kept as it is", file.c_str());
            return FALSE;
        }
        m_unloadableFiles.erase(key);
    }

    TiXmlElement root(kRootElement);
    TiXmlElement global("global-settings");
    global.SetAttribute("language", language.c_str());
    global.SetAttribute("autorecalcmeters", autorecalcmeters ? "TRUE" : "FALSE");
    root.InsertEndChild(global);
    TiXmlElement units("default-units");
    for (const SUnitSetting& entry : kUnitSettings)
        CXmlNumbers::SetLongAttribute(units, entry.name, this->*entry.setting);
    root.InsertEndChild(units);
    TiXmlElement filter("filter-settings");
    CXmlNumbers::SetDoubleAttribute(filter, "minflowrangepercent", minflowrangepercent, 'f', 6);
    root.InsertEndChild(filter);
    TiXmlElement norm("default-norm-condition");
    if (!CNormFlowCondition::WriteXml(default_norm_condition, &norm))
        return FALSE;
    root.InsertEndChild(norm);

    TiXmlDocument doc;
    doc.InsertEndChild(root);
    std::string error;
    if (doc.Error())
        error = doc.ErrorDesc();
    if (!error.empty() || !CXmlFile::Save(doc, file, &error, errorNumber)) {
        QUILLET_POS(m_log);
        m_log.Error("Failed saving XML (%s) error=%s", file.c_str(), error.c_str());
        return FALSE;
    }
    return TRUE;
}
