#include "CommonFiles/Fluids/FluidManager.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGas.h"
#include "CommonFiles/InstanceHolder.h"
#include "CommonFiles/UnitDb.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <cstdio>

namespace {

// The kinds in the order the fluid page lists them.
const int kStateComboOrder[] = {FLUID_TYPE_GAS,    FLUID_TYPE_GAS_MIX,         FLUID_TYPE_WET_GAS,
                                FLUID_TYPE_LIQUID, FLUID_TYPE_SATURATED_STEAM, FLUID_TYPE_SUPERHEATED_STEAM};

// The units database, when it is open.
CUnitDb* OpenUnitDb()
{
    CUnitDb* db = CUnitDb::GetInstance();
    return db != nullptr && db->GetSession().IsOpen() ? db : nullptr;
}

// The first FluidsGas row of the fluid; the numbers stay 0 without one. False when the row
// cannot be read: a gas with its numbers silently 0 would be sized wrongly.
bool ReadGasData(CSession& session, CFluidGas& gas)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(session, "SELECT * FROM FluidsGas WHERE FluidId = ?", {gas.DbIndex}))
        return false;
    if (rs.MoveNext()) {
        gas.MolWeight = rs.GetDouble("MolWeight");
        gas.CritTemp = rs.GetDouble("CritTemp");
        gas.CritPress = rs.GetDouble("CritPress");
        gas.CritVolu = rs.GetDouble("CritVolu");
        gas.CritZ = rs.GetDouble("CritZ");
        char column[8];
        for (int i = 0; i < CFluidGas::kCoefficientCount; ++i) {
            std::snprintf(column, sizeof column, "Poly%02d", i + 1);
            gas.Coefficients[i] = rs.GetDouble(column);
        }
        return true;
    }
    return rs.ReadAllRows();
}

}  // namespace

CFluidManager* CFluidManager::GetInstance()
{
    return CInstanceHolder<CFluidManager>::Get();
}

CFluidManager::CFluidManager() : m_log(CLogManager::GetInstance()->GetLogger("CFluidManager", LOGLEVEL_PARENT)) {}

CFluidManager::~CFluidManager() = default;

BOOL CFluidManager::LoadFluidList()
{
    m_fluids.clear();
    CUnitDb* db = OpenUnitDb();
    if (db == nullptr)
        return FALSE;
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(db->GetSession(), "SELECT * FROM FluidsBase")) {
        QUILLET_POS(m_log);
        m_log.Error("Error in SQL: %s", "SELECT * FROM FluidsBase");
        return FALSE;
    }
    while (rs.MoveNext()) {
        const int state = rs.GetLong("StateId");
        std::unique_ptr<CFluid> fluid;
        if (state == FLUID_STATE_LIQUID)
            fluid = std::make_unique<CFluid>();
        else if (state == FLUID_STATE_GAS)
            fluid = std::make_unique<CFluidGas>();
        else
            continue;
        fluid->DbIndex = rs.GetLong("Id");
        fluid->State = state;
        rs.GetString(fluid->Name, "FluidName");
        rs.GetString(fluid->Formula, "FluidFormula");
        fluid->Type = rs.GetLong("CalculationId");
        fluid->HideInGui = rs.GetBool("HideInGui") != FALSE;
        auto* gas = dynamic_cast<CFluidGas*>(fluid.get());
        if (gas != nullptr && !ReadGasData(db->GetSession(), *gas)) {
            QUILLET_POS(m_log);
            m_log.Error("The gas data of fluid %d could not be read from the units database", fluid->DbIndex);
            m_fluids.clear();
            return FALSE;
        }
        if (fluid->IsValid())
            m_fluids.push_back(std::move(fluid));
    }
    if (!rs.ReadAllRows()) {
        QUILLET_POS(m_log);
        m_log.Error("The fluids could not be read completely from the units database");
        m_fluids.clear();
        return FALSE;
    }
    rs.Close();
    return TRUE;
}

BOOL CFluidManager::GetFluidList(CFluidPtrArray& fluids, int type, BOOL append, const std::string& language)
{
    if (!append)
        fluids.clear();
    const std::size_t first = fluids.size();
    for (const std::unique_ptr<CFluid>& fluid : m_fluids) {
        if (fluid->Type == type)
            fluids.push_back(fluid.get());
    }
    CUnitDb* db = language.empty() ? nullptr : OpenUnitDb();
    if (db == nullptr)
        return TRUE;
    // Only what this call added: fluids given by the caller may be no database fluids.
    for (std::size_t i = first; i < fluids.size(); ++i) {
        std::string name = db->GetTranslatedText(fluids[i]->DbIndex, language, "FluidsBase", "FluidName", "Id");
        if (!name.empty())
            fluids[i]->Name = std::move(name);
    }
    return TRUE;
}

BOOL CFluidManager::FillStateCombo(CComboItems& items, const std::string& language) const
{
    CUnitDb* db = OpenUnitDb();
    if (db == nullptr)
        return FALSE;
    items.clear();
    for (const int type : kStateComboOrder)
        items.push_back({db->GetTranslatedText(type, language, "CalculationTypes", "CalculationName", "Id"), type});
    return TRUE;
}

BOOL CFluidManager::FillFluidCombo(CComboItems& items, int type, BOOL append, const std::string& language,
                                   BOOL addCustom)
{
    if (!append)
        items.clear();
    CFluidPtrArray fluids;
    if (!GetFluidList(fluids, type, FALSE, language))
        return FALSE;
    for (const CFluid* fluid : fluids) {
        if (!fluid->HideInGui)
            items.push_back({fluid->Name, fluid->DbIndex});
    }
    if (addCustom) {
        // The custom fluid has names in Translations only, no FluidsBase row.
        std::string text;
        if (CUnitDb* db = OpenUnitDb())
            text = db->GetTranslatedText(FLUID_INDEX_CUSTOM, language, "FluidsBase", "FluidName", "Id");
        items.push_back({text, FLUID_INDEX_CUSTOM});
    }
    return TRUE;
}

BOOL CFluidManager::GetFluidById(CFluid* target, int dbIndex) const
{
    if (target == nullptr)
        return FALSE;
    for (const std::unique_ptr<CFluid>& fluid : m_fluids) {
        if (fluid->DbIndex == dbIndex)
            return CopyFluid(fluid.get(), target);
    }
    return FALSE;
}
