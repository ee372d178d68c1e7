#include "CommonFiles/UnitManager.h"

#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/InstanceHolder.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Platform/ProgramFolder.h"
#include "Platform/XmlFile.h"
#include "Platform/XmlNumbers.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <tinyxml.h>

#include <algorithm>
#include <filesystem>
#include <type_traits>

namespace {

// String table ids of the reference code texts, with their English texts.
struct SCodeText {
    int code;
    int stringId;
    const char* english;
};

const SCodeText kPressureReferences[] = {{REFERENCE_ABSOLUTE, 102, "abs."}, {REFERENCE_GAUGE, 103, "gauge"}};
const SCodeText kFlowTypes[] = {{UNIT_TYPE_VOLUME_FLOW, 104, "volume"}, {UNIT_TYPE_MASS_FLOW, 105, "mass"}};
const SCodeText kFlowReferences[] = {{REFERENCE_OPERATIONAL, 106, "operational"}, {REFERENCE_NORM, 107, "norm."}};

template <std::size_t N>
std::string CodeText(const SCodeText (&table)[N], int code, const std::string& language)
{
    for (const SCodeText& entry : table) {
        if (entry.code == code)
            return CEngineTexts::GetString(entry.stringId, language, entry.english);
    }
    return std::string();
}

template <std::size_t N>
BOOL FillCodeCombo(const SCodeText (&table)[N], CComboItems& items, const std::string& language)
{
    items.clear();
    for (const SCodeText& entry : table)
        items.push_back({CEngineTexts::GetString(entry.stringId, language, entry.english), entry.code});
    return TRUE;
}

bool IsUserIndex(int dbIndex)
{
    return dbIndex < 0;
}

bool IsDatabaseIndex(int dbIndex)
{
    return static_cast<unsigned>(dbIndex) < 0x40000000u;
}

}  // namespace

CUnitManager* CUnitManager::GetInstance()
{
    return CInstanceHolder<CUnitManager>::Get();
}

CUnitManager::CUnitManager() : m_log(CLogManager::GetInstance()->GetLogger("CUnitManager", LOGLEVEL_PARENT)) {}

CUnitManager::~CUnitManager() = default;

void CUnitManager::Append(const CUnit& unit)
{
    m_positions.emplace(unit.DbIndex, m_units.size());
    m_units.push_back(unit);
}

void CUnitManager::RebuildPositions()
{
    m_positions.clear();
    for (std::size_t i = 0; i < m_units.size(); ++i)
        m_positions.emplace(m_units[i].DbIndex, i);
}

const CUnit* CUnitManager::Find(int dbIndex) const
{
    const auto found = m_positions.find(dbIndex);
    return found != m_positions.end() ? &m_units[found->second] : nullptr;
}

BOOL CUnitManager::LoadUnitList()
{
    m_units.clear();
    m_positions.clear();
    CUnitDb* db = CUnitDb::GetInstance();
    if (db == nullptr)
        return FALSE;
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(db->GetSession(), "SELECT * FROM Units ORDER BY TypeId, DisplayOrder, Id")) {
        QUILLET_POS(m_log);
        m_log.Error("The units could not be read from the units database");
        return FALSE;
    }
    CUnit unit;
    while (rs.MoveNext()) {
        unit.Reset();
        unit.DbIndex = rs.GetLong("Id");
        rs.GetString(unit.Name, "UnitName");
        unit.Type = rs.GetLong("TypeId");
        unit.System = rs.GetLong("UnitSystemId");
        unit.ConversionOffset = rs.GetDouble("ConversionOffset");
        unit.ConversionFactor = rs.GetDouble("ConversionFactor");
        unit.ConversionFlags = rs.GetLong("ConversionFlags");
        if (unit.IsValid(FALSE))
            Append(unit);
    }
    if (!rs.ReadAllRows()) {
        QUILLET_POS(m_log);
        m_log.Error("The units could not be read completely from the units database");
        m_units.clear();
        m_positions.clear();
        return FALSE;
    }
    rs.Close();
    AddBuiltinUnits();
    // Without the file the user simply has no units of his own.
    LoadUserUnits();
    return TRUE;
}

void CUnitManager::AddBuiltinUnits()
{
    CUnit unit;
    unit.Type = UNIT_TYPE_DENSITY;
    unit.System = 4;
    unit.Name = "!!MW";
    unit.DbIndex = UNIT_INDEX_MOLAR_MASS;
    unit.ConversionFlags = UNIT_MOLAR_MASS;
    Append(unit);
    unit.Name = "!!SG";
    unit.DbIndex = UNIT_INDEX_SPECIFIC_GRAVITY;
    unit.ConversionFlags = UNIT_SPECIFIC_GRAVITY;
    Append(unit);
}

int CUnitManager::FindUnit(const CUnit& unit) const
{
    for (const CUnit& known : m_units) {
        if (known.Name == unit.Name && known.Type == unit.Type && known.System == unit.System &&
            known.ConversionOffset == unit.ConversionOffset && known.ConversionFactor == unit.ConversionFactor &&
            known.ConversionFlags == unit.ConversionFlags)
            return known.DbIndex;
    }
    return 0;
}

BOOL CUnitManager::AddUserUnit(CUnit& unit)
{
    if (!unit.IsValid(TRUE))
        return FALSE;
    const int known = FindUnit(unit);
    if (known != 0) {
        unit.DbIndex = known;
        return TRUE;
    }
    const unsigned next = std::max(m_nextUserIndex, static_cast<unsigned>(m_units.size()));
    m_nextUserIndex = next + 1;
    unit.DbIndex = static_cast<int>(next | UNIT_INDEX_USER_BIT);
    Append(unit);
    return TRUE;
}

BOOL CUnitManager::RestoreUserUnit(const CUnit& unit)
{
    if (!unit.IsValid(TRUE) || !IsUserIndex(unit.DbIndex) || m_positions.count(unit.DbIndex) != 0)
        return FALSE;
    // Indexes handed out later must not meet this one.
    const unsigned number = static_cast<unsigned>(unit.DbIndex) & ~UNIT_INDEX_USER_BIT;
    m_nextUserIndex = std::max(m_nextUserIndex, number + 1);
    Append(unit);
    return TRUE;
}

void CUnitManager::RemoveUserUnits()
{
    const auto end = std::remove_if(m_units.begin(), m_units.end(),
                                    [](const CUnit& unit) { return IsUserIndex(unit.DbIndex); });
    if (end == m_units.end())
        return;
    m_units.erase(end, m_units.end());
    RebuildPositions();
}

std::string CUnitManager::UserUnitsPath(const std::string& path)
{
    return path.empty() ? Platform::GetProgramFolder() + "UserUnits.xml" : path;
}

BOOL CUnitManager::LoadUserUnits(const std::string& path)
{
    const std::string file = UserUnitsPath(path);
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::Load(doc, file, &error)) {
        // A broken file is worth a line in the log: the next save replaces it.
        std::error_code ignored;
        if (std::filesystem::exists(file, ignored)) {
            QUILLET_POS(m_log);
            m_log.Error("%s", error.c_str());
        }
        return FALSE;
    }
    const TiXmlElement* root = doc.FirstChildElement("user-units");
    if (root == nullptr)
        return TRUE;
    for (const TiXmlElement* entry = root->FirstChildElement("unit"); entry != nullptr;
         entry = entry->NextSiblingElement("unit")) {
        CUnit unit;
        const char* name = entry->Attribute("unit_name");
        unit.Name = std::string("* ") + (name != nullptr ? name : "");
        // A missing number reads as 0; one that is not a whole number text ("1,5" would read
        // as 1) refuses the unit.
        bool numbers = true;
        auto whole = [&](const char* attribute, auto& value) {
            value = 0;
            if (entry->Attribute(attribute) == nullptr)
                return;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, double>)
                numbers = CXmlNumbers::QueryDoubleAttribute(*entry, attribute, value) && numbers;
            else
                numbers = CXmlNumbers::QueryIntAttribute(*entry, attribute, value) && numbers;
        };
        whole("type", unit.Type);
        whole("unit_system", unit.System);
        whole("conversion_offset", unit.ConversionOffset);
        whole("conversion_factor", unit.ConversionFactor);
        whole("conversion_flags", unit.ConversionFlags);
        if (!numbers || !AddUserUnit(unit)) {
            QUILLET_POS(m_log);
            m_log.Warn("User unit \"%s\" in %s refused: %s", unit.Name.c_str(), file.c_str(),
                       numbers ? "its numbers give no valid unit" : "a number is not written as one");
        }
    }
    return TRUE;
}

BOOL CUnitManager::SaveUserUnits(const std::string& path)
{
    TiXmlDocument doc;
    TiXmlElement root("user-units");
    for (const CUnit& unit : m_units) {
        if (!IsUserIndex(unit.DbIndex))
            continue;
        TiXmlElement entry("unit");
        const std::size_t start = unit.Name.find_first_not_of("* ");
        entry.SetAttribute("unit_name", start == std::string::npos ? std::string() : unit.Name.substr(start));
        CXmlNumbers::SetLongAttribute(entry, "type", unit.Type);
        CXmlNumbers::SetLongAttribute(entry, "unit_system", unit.System);
        CXmlNumbers::SetDoubleAttribute(entry, "conversion_offset", unit.ConversionOffset);
        CXmlNumbers::SetDoubleAttribute(entry, "conversion_factor", unit.ConversionFactor);
        CXmlNumbers::SetLongAttribute(entry, "conversion_flags", unit.ConversionFlags);
        root.InsertEndChild(entry);
    }
    doc.InsertEndChild(root);
    std::string error;
    if (!CXmlFile::Save(doc, UserUnitsPath(path), &error)) {
        QUILLET_POS(m_log);
        m_log.Error("%s", error.c_str());
        return FALSE;
    }
    return TRUE;
}

BOOL CUnitManager::GetUnit(CUnit& unit, int dbIndex) const
{
    const CUnit* found = Find(dbIndex);
    if (found == nullptr) {
        unit.Reset();
        return FALSE;
    }
    unit = *found;
    return TRUE;
}

BOOL CUnitManager::GetUnits(CUnitArray& units, int type, int system, BOOL append, const std::string& language,
                            BOOL exact) const
{
    if (!append)
        units.clear();
    const std::size_t first = units.size();
    for (const CUnit& unit : m_units) {
        const bool equal = unit.Type == type && unit.System == system;
        const bool matches = (type == 0 || unit.Type == type) && (system == 0 || unit.System == system);
        if (equal || (!exact && matches))
            units.push_back(unit);
    }
    if (!language.empty()) {
        CUnitDb* db = CUnitDb::GetInstance();
        for (std::size_t i = first; db != nullptr && i < units.size(); ++i) {
            if (!IsDatabaseIndex(units[i].DbIndex))
                continue;
            // A failed look-up (database closed) leaves the listed name, not an empty entry.
            std::string name = db->GetTranslatedText(units[i].DbIndex, language, "Units", "UnitName", "Id");
            if (!name.empty())
                units[i].Name = std::move(name);
        }
    }
    return TRUE;
}

BOOL CUnitManager::FillUnitCombo(CComboItems& items, int type, int system, BOOL append, const std::string& language,
                                 BOOL exact) const
{
    if (!append)
        items.clear();
    CUnitArray units;
    GetUnits(units, type, system, FALSE, language, exact);
    for (const CUnit& unit : units)
        items.push_back({unit.Name, unit.DbIndex});
    return TRUE;
}

std::string CUnitManager::GetPressureReferenceText(int reference, const std::string& language)
{
    return CodeText(kPressureReferences, reference, language);
}

std::string CUnitManager::GetFlowTypeText(int flowType, const std::string& language)
{
    return CodeText(kFlowTypes, flowType, language);
}

std::string CUnitManager::GetFlowReferenceText(int reference, const std::string& language)
{
    return CodeText(kFlowReferences, reference, language);
}

BOOL CUnitManager::FillPressureReferenceCombo(CComboItems& items, const std::string& language)
{
    return FillCodeCombo(kPressureReferences, items, language);
}

BOOL CUnitManager::FillFlowTypeCombo(CComboItems& items, const std::string& language)
{
    return FillCodeCombo(kFlowTypes, items, language);
}

BOOL CUnitManager::FillFlowReferenceCombo(CComboItems& items, const std::string& language)
{
    return FillCodeCombo(kFlowReferences, items, language);
}

BOOL CUnitManager::ConvertToBase(double& base, double value, int dbIndex, int reference) const
{
    const CUnit* unit = Find(dbIndex);
    if (unit == nullptr) {
        base = 0.0;
        return FALSE;
    }
    return ConvertToBaseUnit(base, value, *unit, reference);
}

BOOL CUnitManager::ConvertFromBase(double& value, double base, int dbIndex, int reference) const
{
    const CUnit* unit = Find(dbIndex);
    if (unit == nullptr) {
        value = 0.0;
        return FALSE;
    }
    return ConvertFromBaseUnit(value, base, *unit, reference);
}

BOOL CUnitManager::ConvertUnit(double value, double& out, int fromIndex, int toIndex, double density) const
{
    const CUnit* from = Find(fromIndex);
    const CUnit* to = Find(toIndex);
    if (from == nullptr || to == nullptr) {
        out = 0.0;
        return FALSE;
    }
    return ::ConvertUnit(value, out, *from, *to, density);
}
