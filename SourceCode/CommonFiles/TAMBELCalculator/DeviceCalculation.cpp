#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"

#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/Fluid.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/ResultItem.h"
#include "CommonFiles/TAMBELCalculator/FlowFormulas.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr int kSizeFeature = 1;
constexpr int kPressureClassFeature = 2;
// l/h, the base unit of volume flow, and m/s, the velocity unit of rows without one.
constexpr int kLitresPerHourIndex = 41;
constexpr int kMetresPerSecondIndex = 92;

constexpr double kLowReynoldsError = 2.0;
constexpr double kLiquidHighReynoldsError = 0.75;
constexpr double kGasHighReynoldsError = 1.0;

// Densities (kg/m3) of the reference liquid and gas of the velocity-limit formulas.
constexpr double kReferenceLiquidDensity = 998.0;
constexpr double kReferenceGasDensity = 1.29;

const char kPairsSql[] =
    "SELECT DeviceFeatureItems.Id AS Id1, DeviceFeatureItems_1.Id AS Id2 \t\t\t\t"
    "FROM DeviceFeatureItems, DeviceFeatureItems AS DeviceFeatureItems_1 \t\t\t\t"
    "WHERE (((DeviceFeatureItems.FeatureId)=?) AND ((DeviceFeatureItems_1.FeatureId)=?)) \t\t\t\t"
    "ORDER BY DeviceFeatureItems.SortOrder, DeviceFeatureItems.ItemName, DeviceFeatureItems_1.SortOrder, "
    "DeviceFeatureItems_1.ItemName";
// The device tables, each read whole once per run.
const char kProhibitedSql[] = "SELECT Feature_1, Feature_2 FROM DeviceProhibitedCombinations";
// The standard device first.
const char kDimensionsSql[] =
    "SELECT Id, Feature_1, Feature_2, Feature_4, InnerDiameter, VelocityMinGas, VelocityMaxGas, "
    "VelocityMinLiquid, VelocityMaxLiquid, FormulaSetId FROM DeviceDimensions ORDER BY Feature_4, Id";
const char kCoefficientsSql[] = "SELECT Feature_1, DischargeCoefficient FROM DischargeCoefficients";
const char kVortexFactorsSql[] = "SELECT Feature_1, V_Factor FROM VortexFrequency";

CBusyIndicator& BusyIndicator()
{
    static CBusyIndicator indicator;
    return indicator;
}

// The busy indication for as long as it lives.
class CBusyScope {
public:
    CBusyScope()
    {
        if (BusyIndicator())
            BusyIndicator()(true);
    }
    ~CBusyScope()
    {
        if (BusyIndicator())
            BusyIndicator()(false);
    }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;
};

// Records the code in the row's errors (once) and hands it on as the row's result.
CalcResult Fail(CResultItem& row, CalcResult code)
{
    if (!row.HasError(static_cast<int>(code)))
        row.AddError(static_cast<int>(code));
    return code;
}

bool IsPositive(double value)
{
    return value > 0.0 && std::isfinite(value);
}

// Every row of the statement through read; false when the statement cannot be run or a row
// cannot be read, so a table is never taken as shorter than it is.
template <class Read>
bool ReadTable(CSession& session, const char* sql, Read read)
{
    CDynamicRecordSetOleDb rs;
    if (!rs.Open(session, sql))
        return false;
    while (rs.MoveNext())
        read(rs);
    const bool complete = rs.ReadAllRows();
    rs.Close();
    return complete;
}

struct DimensionRow {
    int id = 0;
    int sizeId = 0;
    int pressureClassId = 0;  // 0: every pressure class
    int sectionId = 0;
    double innerDiameter = 0.0;  // mm
    double velocityMinGas = 0.0;
    double velocityMaxGas = 0.0;
    double velocityMinLiquid = 0.0;
    double velocityMaxLiquid = 0.0;
    int formulaSetId = 0;
};

// Factors of the velocity-limit formulas; all 0 when one of them is missing.
struct FormulaSet {
    double factorV = 0.0;
    double factorP = 0.0;
    double factorM = 0.0;
    double factorR = 0.0;
    double factorG = 0.0;
    double factorS = 0.0;
};

FormulaSet ReadFormulaSet(int formulaSetId)
{
    static const char* const kNames[] = {"FactorV", "FactorP", "FactorM", "FactorR", "FactorG", "FactorS"};
    FormulaSet set;
    double* const factors[] = {&set.factorV, &set.factorP, &set.factorM, &set.factorR, &set.factorG, &set.factorS};
    CUnitDb* db = CUnitDb::GetInstance();
    for (int i = 0; i < 6; ++i) {
        *factors[i] = db != nullptr ? db->GetFormulaSetValue(kNames[i], formulaSetId) : 0.0;
        if (*factors[i] == 0.0)
            return FormulaSet();
    }
    return set;
}

// The device tables as one sizing run reads them: each table whole, once, so the time of a run
// goes into the rows rather than into statements (the database does not change during the
// run). A dimension row serves every pressure class and the coefficients every row of a size.
class CDeviceTables {
public:
    explicit CDeviceTables(CSession& session) : m_session(session) {}

    // False when a table cannot be read completely.
    bool Load()
    {
        return ReadTable(m_session, kProhibitedSql,
                         [this](const CDynamicRecordSetOleDb& rs) {
                             m_prohibited.insert(Key(rs.GetLongAt(1), rs.GetLongAt(2)));
                         }) &&
               ReadTable(m_session, kDimensionsSql,
                         [this](const CDynamicRecordSetOleDb& rs) {
                             DimensionRow row;
                             row.id = rs.GetLongAt(1);
                             row.sizeId = rs.GetLongAt(2);
                             row.pressureClassId = rs.GetLongAt(3);
                             row.sectionId = rs.GetLongAt(4);
                             row.innerDiameter = rs.GetDoubleAt(5);
                             row.velocityMinGas = rs.GetDoubleAt(6);
                             row.velocityMaxGas = rs.GetDoubleAt(7);
                             row.velocityMinLiquid = rs.GetDoubleAt(8);
                             row.velocityMaxLiquid = rs.GetDoubleAt(9);
                             row.formulaSetId = rs.GetLongAt(10);
                             m_bySize[row.sizeId].push_back(m_dimensions.size());
                             m_byId.emplace(row.id, m_dimensions.size());
                             m_dimensions.push_back(row);
                         }) &&
               ReadSizeValues(kCoefficientsSql, m_coefficients) && ReadSizeValues(kVortexFactorsSql, m_vortexFactors);
    }

    // A 0 in either column of a prohibited combination matches every item.
    bool Prohibited(int sizeId, int pressureClassId) const
    {
        return Contains(sizeId, pressureClassId) || Contains(sizeId, 0) || Contains(0, pressureClassId);
    }

    // The dimension rows of the pair, the standard device first.
    template <class Visit>
    void ForEachDimension(int sizeId, int pressureClassId, Visit visit) const
    {
        const auto found = m_bySize.find(sizeId);
        if (found == m_bySize.end())
            return;
        for (std::size_t index : found->second) {
            const DimensionRow& row = m_dimensions[index];
            if (row.pressureClassId == pressureClassId || row.pressureClassId == 0)
                visit(row);
        }
    }

    // All 0 for a row the table does not hold.
    const DimensionRow& Dimension(int dimensionId) const
    {
        static const DimensionRow kNone;
        const auto found = m_byId.find(dimensionId);
        return found != m_byId.end() ? m_dimensions[found->second] : kNone;
    }

    double Coefficient(int sizeId) const { return SizeValue(m_coefficients, sizeId); }
    double VortexFactor(int sizeId) const { return SizeValue(m_vortexFactors, sizeId); }

    const FormulaSet& Formulas(int formulaSetId)
    {
        const auto found = m_formulaSets.find(formulaSetId);
        if (found != m_formulaSets.end())
            return found->second;
        return m_formulaSets.emplace(formulaSetId, ReadFormulaSet(formulaSetId)).first->second;
    }

private:
    // The pair as one key of the prohibited set.
    static std::uint64_t Key(int sizeId, int pressureClassId)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(sizeId)) << 32) |
               static_cast<std::uint32_t>(pressureClassId);
    }

    bool Contains(int sizeId, int pressureClassId) const
    {
        return m_prohibited.count(Key(sizeId, pressureClassId)) != 0;
    }

    // Size id -> value; the first row of a size counts.
    bool ReadSizeValues(const char* sql, std::unordered_map<int, double>& values)
    {
        return ReadTable(m_session, sql, [&values](const CDynamicRecordSetOleDb& rs) {
            values.emplace(rs.GetLongAt(1), rs.GetDoubleAt(2));
        });
    }

    // 0 for a size the table does not hold.
    static double SizeValue(const std::unordered_map<int, double>& values, int sizeId)
    {
        const auto found = values.find(sizeId);
        return found != values.end() ? found->second : 0.0;
    }

    CSession& m_session;
    std::unordered_set<std::uint64_t> m_prohibited;
    std::vector<DimensionRow> m_dimensions;  // in the order of the statement
    std::unordered_map<int, std::vector<std::size_t>> m_bySize;
    std::unordered_map<int, std::size_t> m_byId;
    std::unordered_map<int, double> m_coefficients;
    std::unordered_map<int, double> m_vortexFactors;
    std::unordered_map<int, FormulaSet> m_formulaSets;
};

// The operating density in kg/dm3 (the fluid's Type qualifies a specific gravity); false
// without a fluid or when the density cannot be converted.
bool OperatingDensity(const CPhysicalData& data, double& density)
{
    return data.Fluid && ConvertToBaseUnit(density, data.Density.Value, data.Density, data.Fluid->Type);
}

// What the steps after the Reynolds number share: the operating state in base units and the
// conversions between operating l/h and the row's flow unit and reference.
class CRowFlows {
public:
    CRowFlows(const CPhysicalData& data, const CResultItem& row) : m_data(data), m_row(row)
    {
        if (const CUnitManager* units = CUnitManager::GetInstance())
            units->GetUnit(m_litresPerHour, kLitresPerHourIndex);
    }

    // Operating l/h -> the row's flow unit and the operating flow's reference.
    bool FromOperating(double litresPerHour, double& value) const
    {
        double flow = litresPerHour;
        return ConvertFlowReference(litresPerHour, flow, REFERENCE_OPERATIONAL, m_data.Flow.Reference, Density(),
                                    m_data.NormFlowConditions.Density.BaseValue) &&
               ConvertUnit(flow, value, m_litresPerHour, m_row.FlowUnit, Density());
    }

    // The inverse.
    bool ToOperating(double value, double& litresPerHour) const
    {
        double flow = 0.0;
        if (!ConvertUnit(value, flow, m_row.FlowUnit, m_litresPerHour, Density()))
            return false;
        litresPerHour = flow;
        return ConvertFlowReference(flow, litresPerHour, m_data.Flow.Reference, REFERENCE_OPERATIONAL, Density(),
                                    m_data.NormFlowConditions.Density.BaseValue);
    }

    double Density() const { return m_density; }      // kg/dm3
    double Viscosity() const { return m_viscosity; }  // mPa s

    bool ReadOperatingState()
    {
        return OperatingDensity(m_data, m_density) &&
               ConvertToBaseUnit(m_viscosity, m_data.Viscosity.Value, m_data.Viscosity, 0);
    }

private:
    const CPhysicalData& m_data;
    const CResultItem& m_row;
    CUnit m_litresPerHour;
    double m_density = 0.0;
    double m_viscosity = 0.0;
};

// Steps after the Reynolds number at minimum velocity: flow range, turndown, pressure loss,
// vortex frequency, current and the point table. Every unit conversion must succeed: a value
// left in the unit it came from would be shown as if it were in the row's unit.
CalcResult CalculateFlowValues(const CPhysicalData& data, CResultItem& row, double innerDiameter,
                               double coefficient, double vortexFactor)
{
    row.FlowUnit = data.Flow;
    row.PressureUnit = data.Pressure;
    CRowFlows flows(data, row);
    if (!flows.ReadOperatingState())
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    const double density = flows.Density();
    const double viscosityPas = flows.Viscosity() / 1000.0;

    double vmin = 0.0;
    double vmax = 0.0;
    if (!ConvertToBaseUnit(vmin, row.VelocityRange.MinRange, row.VelocityUnit, 0) ||
        !ConvertToBaseUnit(vmax, row.VelocityRange.MaxRange, row.VelocityUnit, 0))
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    if (row.ReynoldsMin < REYNOLDS_LIMIT_LOW) {
        vmin = CalculateVelocityAtReynolds(REYNOLDS_LIMIT_LOW, density, viscosityPas, innerDiameter);
        if (!ConvertFromBaseUnit(row.VelocityRange.MinRange, vmin, row.VelocityUnit, 0))
            return Fail(row, CALC_VELOCITY_UNIT_ERROR);
        row.ReynoldsMin = REYNOLDS_LIMIT_LOW;
    }
    if (vmax < vmin) {
        vmax = vmin;
        if (!ConvertFromBaseUnit(row.VelocityRange.MaxRange, vmin, row.VelocityUnit, 0))
            return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    }
    const double qmin = CalculateFlowFromVelocity(vmin, innerDiameter);
    const double qmax = CalculateFlowFromVelocity(vmax, innerDiameter);
    // A norm flow needs the norm density: without it the range would stay an operating flow
    // shown as a norm flow.
    if (!flows.FromOperating(qmin, row.FlowRange.MinRange) || !flows.FromOperating(qmax, row.FlowRange.MaxRange)) {
        row.FlowRange.Reset();
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    }

    const double operatingFlow = data.Flow.Value;
    const double limitFlow = std::min(operatingFlow, row.FlowRange.MaxRange);
    row.ApplicationTurndown = limitFlow / row.FlowRange.MinRange;

    if (!ConvertFromBaseUnit(row.PressureLossRange.MinRange,
                             CalculatePressureLoss(coefficient, qmin / 1000.0, density * 1000.0), row.PressureUnit, 0) ||
        !ConvertFromBaseUnit(row.PressureLossRange.MaxRange,
                             CalculatePressureLoss(coefficient, qmax / 1000.0, density * 1000.0), row.PressureUnit, 0))
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);

    row.VortexFrequencyMax = CalculateVortexFrequency(vortexFactor, qmax / 1000.0);
    row.CurrentMin = 16.0 / limitFlow * row.FlowRange.MinRange + 4.0;

    // Point table: 15 equal steps from the minimum flow up to the operating flow when it lies
    // inside the range, else up to the maximum flow.
    const double highReynoldsError =
        data.Fluid->State == FLUID_STATE_LIQUID ? kLiquidHighReynoldsError : kGasHighReynoldsError;
    const double first = row.FlowRange.MinRange;
    const bool inRange = operatingFlow > first && operatingFlow < row.FlowRange.MaxRange;
    const double last = inRange ? operatingFlow : row.FlowRange.MaxRange;
    const double step = (last - first) / POINT_TABLE_STEPS;
    bool reynoldsPointsAdded = false;
    for (int i = 0; i <= POINT_TABLE_STEPS; ++i) {
        double x = i == POINT_TABLE_STEPS ? last : first + i * step;
        // A point within rounding of the operating flow is the operating flow, and the last.
        if (inRange && std::fabs(x - operatingFlow) < operatingFlow / 100000.0)
            x = operatingFlow;
        if (x >= last)
            x = last;

        double q = 0.0;
        double velocity = 0.0;
        if (!flows.ToOperating(x, q))
            return Fail(row, CALC_VELOCITY_UNIT_ERROR);
        const double v = CalculateVelocityFromFlow(q, innerDiameter);
        const double dp = CalculatePressureLoss(coefficient, q / 1000.0, density * 1000.0);
        const double re = CalculateReynoldsNumber(density, v, viscosityPas, innerDiameter);
        const double error = re - REYNOLDS_LIMIT_LOW < -0.1        ? 0.0
                             : re <= REYNOLDS_LIMIT_HIGH ? kLowReynoldsError
                                                                   : highReynoldsError;
        if (!ConvertFromBaseUnit(velocity, v, row.VelocityUnit, 0))
            return Fail(row, CALC_VELOCITY_UNIT_ERROR);

        if (!reynoldsPointsAdded && row.ReynoldsMin < REYNOLDS_LIMIT_HIGH && re > REYNOLDS_LIMIT_HIGH) {
            // Where the error changes: the same flow once with each error.
            reynoldsPointsAdded = true;
            const double v20 = CalculateVelocityAtReynolds(REYNOLDS_LIMIT_HIGH, density, viscosityPas, innerDiameter);
            const double q20 = CalculateFlowFromVelocity(v20, innerDiameter);
            const double dp20 = CalculatePressureLoss(coefficient, q20 / 1000.0, density * 1000.0);
            double x20 = 0.0;
            double velocity20 = 0.0;
            if (!flows.FromOperating(q20, x20) || !ConvertFromBaseUnit(velocity20, v20, row.VelocityUnit, 0))
                return Fail(row, CALC_VELOCITY_UNIT_ERROR);
            row.AddPoint({x20, velocity20, dp20, kLowReynoldsError, REYNOLDS_LIMIT_HIGH});
            row.AddPoint({x20, velocity20, dp20, highReynoldsError, REYNOLDS_LIMIT_HIGH + 1.0});
        }
        if (re - REYNOLDS_LIMIT_LOW > -0.01)
            row.AddPoint({x, velocity, dp, error, re});
        if (x == last)
            break;
    }
    return CALC_OK;
}

// The velocity range at the operating density (m/s, stored in the row's velocity unit).
CalcResult VelocityRange(const CPhysicalData& data, CResultItem& row, const DimensionRow& dimension,
                         const FormulaSet& formulas)
{
    if (!data.Fluid)
        return Fail(row, CALC_NOT_ENOUGH_DATA);
    double density = 0.0;
    if (!OperatingDensity(data, density))
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    // The limits grow without bound as the density falls to 0.
    if (!IsPositive(density))
        return Fail(row, CALC_INVALID_DATA);
    if (formulas.factorV == 0.0)  // a set with a missing factor reads as all 0
        return Fail(row, CALC_DATABASE_ERROR);
    const double rho = density * 1000.0;
    const double liquidRatio = kReferenceLiquidDensity / rho;

    double vmin = 0.0;
    double vmax = 0.0;
    if (data.Fluid->State == FLUID_STATE_GAS) {
        vmin = std::max(dimension.velocityMinGas,
                        formulas.factorG * std::pow(kReferenceGasDensity / rho, formulas.factorS));
        vmax = std::min(dimension.velocityMaxGas, formulas.factorM * std::pow(liquidRatio, formulas.factorR));
    } else if (data.Fluid->State == FLUID_STATE_LIQUID) {
        vmin = std::max(dimension.velocityMinLiquid, formulas.factorV * std::pow(liquidRatio, formulas.factorP));
        vmax = std::min(dimension.velocityMaxLiquid, formulas.factorM * std::pow(liquidRatio, formulas.factorR));
    } else {
        return Fail(row, CALC_NOT_ENOUGH_DATA);
    }
    if (!ConvertFromBaseUnit(row.VelocityRange.MinRange, vmin, row.VelocityUnit, 0) ||
        !ConvertFromBaseUnit(row.VelocityRange.MaxRange, vmax, row.VelocityUnit, 0))
        return Fail(row, CALC_VELOCITY_UNIT_ERROR);
    return CALC_OK;
}

CalcResult CalculateRow(const CPhysicalData& data, CResultItem& row, const DimensionRow& dimension,
                        CDeviceTables& tables)
{
    if (!IsPositive(dimension.innerDiameter))
        return Fail(row, CALC_DATABASE_ERROR);
    const double coefficient = tables.Coefficient(row.SizeId);
    if (!IsPositive(coefficient))
        return Fail(row, CALC_DATABASE_ERROR);
    const double vortexFactor = tables.VortexFactor(row.SizeId);
    if (!IsPositive(vortexFactor))
        return Fail(row, CALC_DATABASE_ERROR);

    if (!row.VelocityUnit.IsValid(FALSE)) {
        const CUnitManager* units = CUnitManager::GetInstance();
        if (units == nullptr || !units->GetUnit(row.VelocityUnit, kMetresPerSecondIndex))
            row.VelocityUnit.Reset();
    }
    CalcResult code = VelocityRange(data, row, dimension, tables.Formulas(dimension.formulaSetId));
    if (!IsCalculationOk(code))
        return code;
    code = CalculateMinimumReynolds(data, row, dimension.innerDiameter);
    if (!IsCalculationOk(code))
        return code;
    return CalculateFlowValues(data, row, dimension.innerDiameter, coefficient, vortexFactor);
}

}  // namespace

CBusyIndicator SetDeviceCalculationBusyIndicator(CBusyIndicator indicator)
{
    std::swap(BusyIndicator(), indicator);
    return indicator;
}

CalcResult CalculateDevices(const CPhysicalData& data, const CDeviceConfiguration& configuration,
                            CResultData& results, CSession& session, const CUnit* velocityUnit)
{
    results.RemoveAll();
    int selectedSize = 0;
    int selectedClass = 0;
    configuration.Lookup(kSizeFeature, selectedSize);
    configuration.Lookup(kPressureClassFeature, selectedClass);

    CLogManager* logs = CLogManager::GetInstance();
    CLogger log = logs != nullptr ? logs->GetLogger("JNI", LOGLEVEL_PARENT) : CLogger();
    CDynamicRecordSetOleDb pairs;
    if (!pairs.Open(session, kPairsSql, {kSizeFeature, kPressureClassFeature})) {
        QUILLET_POS(log);
        log.Error("CalculateDevices: the sizes and pressure classes cannot be read");
        return CALC_DATABASE_ERROR;
    }
    CDeviceTables tables(session);
    if (!tables.Load()) {
        QUILLET_POS(log);
        log.Error("CalculateDevices: the device tables cannot be read");
        return CALC_DATABASE_ERROR;
    }
    CBusyScope busy;
    while (pairs.MoveNext()) {
        const int sizeId = pairs.GetLongAt(1);
        const int classId = pairs.GetLongAt(2);
        if ((selectedSize != 0 && selectedSize != sizeId) || (selectedClass != 0 && selectedClass != classId))
            continue;
        if (tables.Prohibited(sizeId, classId))
            continue;
        tables.ForEachDimension(sizeId, classId, [&](const DimensionRow& dimension) {
            CResultItem row;
            row.SizeId = sizeId;
            row.PressureId = classId;
            row.SectionId = dimension.sectionId;
            if (velocityUnit != nullptr)
                row.VelocityUnit = *velocityUnit;
            CalculateRow(data, row, dimension, tables);
            results.Add(row);
        });
    }
    // A list cut short by a read error would look like a complete one.
    if (!pairs.ReadAllRows()) {
        results.RemoveAll();
        QUILLET_POS(log);
        log.Error("CalculateDevices: the device rows could not be read completely");
        return CALC_DATABASE_ERROR;
    }
    QUILLET_POS(log);
    log.Trace("CalculateDevices: %d rows", results.GetCount());
    return CALC_OK;
}

CalcResult CalculateDeviceDimension(const CPhysicalData& data, CResultItem& row, int dimensionId, CSession& session)
{
    // A table that cannot be read leaves the row without data: a database error.
    CDeviceTables tables(session);
    tables.Load();
    return CalculateRow(data, row, tables.Dimension(dimensionId), tables);
}

CalcResult CalculateVelocityRange(const CPhysicalData& data, CResultItem& row, double velocityMinGas,
                                  double velocityMaxGas, double velocityMinLiquid, double velocityMaxLiquid,
                                  int formulaSetId)
{
    DimensionRow dimension;
    dimension.velocityMinGas = velocityMinGas;
    dimension.velocityMaxGas = velocityMaxGas;
    dimension.velocityMinLiquid = velocityMinLiquid;
    dimension.velocityMaxLiquid = velocityMaxLiquid;
    return VelocityRange(data, row, dimension, ReadFormulaSet(formulaSetId));
}

double CalculateReynoldsFromValues(const CPhysicalData& data, double velocity, const CUnit& velocityUnit,
                                   double innerDiameter)
{
    double density = 0.0;
    double v = 0.0;
    double viscosity = 0.0;
    if (!OperatingDensity(data, density) || !ConvertToBaseUnit(v, velocity, velocityUnit, 0) ||
        !ConvertToBaseUnit(viscosity, data.Viscosity.Value, data.Viscosity, 0))
        return 0.0;
    return CalculateReynoldsNumber(density * 1000.0, v, viscosity / 1000.0, innerDiameter / 1000.0);
}

CalcResult CalculateMinimumReynolds(const CPhysicalData& data, CResultItem& row, double innerDiameter)
{
    row.ReynoldsMin = CalculateReynoldsFromValues(data, row.VelocityRange.MinRange, row.VelocityUnit, innerDiameter);
    // A negative or non-finite number (negative viscosity) is no Reynolds number either, and
    // the row summary would print it.
    if (!IsPositive(row.ReynoldsMin)) {
        row.ReynoldsMin = 0.0;
        return Fail(row, CALC_NO_REYNOLDS);
    }
    return CALC_OK;
}
