#include "CommonFiles/NormConditionManager.h"

#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/InstanceHolder.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

namespace {

// The unit of the index with the value and its base value. FALSE for an unknown unit or one
// that cannot convert: such a condition would give norm flows no meaning.
BOOL SetValue(CUnitValue& target, const CUnitManager& units, int unitIndex, double value, int reference)
{
    target.Reset();
    if (!units.GetUnit(target, unitIndex))
        return FALSE;
    target.Reference = reference;
    target.Value = value;
    return ConvertToBaseUnit(target.BaseValue, value, target, reference);
}

}  // namespace

CNormConditionManager* CNormConditionManager::GetInstance()
{
    return CInstanceHolder<CNormConditionManager>::Get();
}

CNormConditionManager::CNormConditionManager()
    : m_log(CLogManager::GetInstance()->GetLogger("CNormConditionManager", LOGLEVEL_PARENT))
{
}

CNormConditionManager::~CNormConditionManager() = default;

BOOL CNormConditionManager::LoadDbList()
{
    // A second load must not list every condition twice.
    m_conditions.clear();
    const CUnitManager* units = CUnitManager::GetInstance();
    CUnitDb* db = CUnitDb::GetInstance();
    if (units == nullptr || db == nullptr)
        return FALSE;
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(db->GetSession(), "SELECT * FROM NormFlowConditions")) {
        QUILLET_POS(m_log);
        m_log.Error("The norm flow conditions could not be read from the units database");
        return FALSE;
    }
    CNormFlowCondition condition;
    while (rs.MoveNext()) {
        condition.Reset();
        condition.Id = rs.GetLong("Id");
        rs.GetString(condition.Name, "SystemName");
        const int temperatureUnit = rs.GetLong("TempUnitId");
        const int pressureUnit = rs.GetLong("PressUnitId");
        if (!SetValue(condition.Temperature, *units, temperatureUnit, rs.GetDouble("TempValue"), 0) ||
            !SetValue(condition.Pressure, *units, pressureUnit, rs.GetDouble("PressValue"),
                      rs.GetLong("PressReference"))) {
            QUILLET_POS(m_log);
            m_log.Warn("Norm flow condition %d skipped: unknown unit %d or %d", condition.Id, temperatureUnit,
                       pressureUnit);
            continue;
        }
        m_conditions.push_back(condition);
    }
    if (!rs.ReadAllRows()) {
        QUILLET_POS(m_log);
        m_log.Error("The norm flow conditions could not be read completely from the units database");
        m_conditions.clear();
        return FALSE;
    }
    rs.Close();
    return TRUE;
}

BOOL CNormConditionManager::FillComboBox(CComboItems& items, const std::string& language) const
{
    items.clear();
    for (const CNormFlowCondition& condition : m_conditions)
        items.push_back({condition.Name, condition.Id});
    items.push_back({CEngineTexts::Translate("Custom", language), NORM_CONDITION_CUSTOM});
    return TRUE;
}

BOOL CNormConditionManager::GetCondition(int id, CNormFlowCondition& condition) const
{
    if (id != NORM_CONDITION_CUSTOM) {
        for (const CNormFlowCondition& known : m_conditions) {
            if (known.Id == id) {
                condition = known;
                return TRUE;
            }
        }
    }
    condition.Reset();
    return id == NORM_CONDITION_CUSTOM;
}
