// The sizing run over a small fixture device database and over the shipped database.
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"
#include "CommonFiles/TAMBELCalculator/FlowFormulas.h"
#include "CommonFiles/TAMBELCalculator/FluidDensity.h"
#include "CommonFiles/TAMBELCalculator/FluidViscosity.h"
#include "CommonFiles/UnitDb.h"
#include "ConfigFixture.h"
#include "Oddments/Session.h"
#include "Quillet/LogLevel.h"
#include "SizingFixture.h"
#include "support/DamagedDatabase.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// m3/h through a bore of d mm at v m/s.
double FlowM3h(double v, double d)
{
    return v * kPi * d * d / 4.0 * 3600.0 / 1.0e6;
}

std::vector<std::vector<int>> Keys(const CResultData& list)
{
    std::vector<std::vector<int>> keys;
    for (int i = 0; i < list.GetCount(); ++i)
        keys.push_back({list.GetAt(i).SizeId, list.GetAt(i).PressureId, list.GetAt(i).SectionId});
    return keys;
}

const CResultItem* Find(const CResultData& list, int size, int pressureClass, int section)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        const CResultItem& row = list.GetAt(i);
        if (row.SizeId == size && row.PressureId == pressureClass && row.SectionId == section)
            return &row;
    }
    return nullptr;
}

void ExpectRelative(double actual, double expected, double tolerance, const char* what)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * tolerance) << what;
}

class DeviceCalculationTest : public ::testing::Test {
protected:
    explicit DeviceCalculationTest(const std::string& extra = std::string())
        : database(std::string(kFixtureUnits) + kDeviceFixture + extra)
    {
    }

    CalcResult Run(const CUnit* velocityUnit = nullptr)
    {
        return CalculateDevices(data, configuration, results, CUnitDb::GetInstance()->GetSession(), velocityUnit);
    }

    LoadedDatabase database;
    CPhysicalData data;
    CDeviceConfiguration configuration;
    CResultData results;
};

TEST_F(DeviceCalculationTest, EveryAllowedPairInSortOrderWithoutTheProhibitedClass)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    ASSERT_EQ(Run(), CALC_OK);
    // Class 23 is prohibited for every size; the rows of size 11 hold for every class.
    EXPECT_EQ(Keys(results),
              (std::vector<std::vector<int>>{{11, 21, 0}, {11, 21, 41}, {11, 22, 0}, {11, 22, 41}, {12, 21, 0}}));
    for (int i = 0; i < results.GetCount(); ++i)
        EXPECT_TRUE(results.GetAt(i).Errors.empty()) << i;
    // One dimension row computed for each class gives the same figures.
    EXPECT_EQ(results.GetAt(0).FlowRange.MinRange, results.GetAt(2).FlowRange.MinRange);
    EXPECT_EQ(results.GetAt(0).Points, results.GetAt(2).Points);
    EXPECT_NE(results.GetAt(0).FlowRange.MaxRange, results.GetAt(1).FlowRange.MaxRange);
}

TEST_F(DeviceCalculationTest, SelectedSizeAndClassLimitTheRows)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    configuration.SetAt(1, 11);
    configuration.SetAt(2, 22);
    configuration.SetAt(3, 31);
    ASSERT_EQ(Run(), CALC_OK);
    EXPECT_EQ(Keys(results), (std::vector<std::vector<int>>{{11, 22, 0}, {11, 22, 41}}));
    configuration.SetAt(2, 23);
    ASSERT_EQ(Run(), CALC_OK);
    EXPECT_EQ(results.GetCount(), 0);
}

TEST_F(DeviceCalculationTest, LowReynoldsLiquidRaisesTheMinimumVelocity)
{
    // Re at 0.35 m/s is 1750 in the 50 mm bore at 10 mPa s; Re 10000 needs 2 m/s.
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 10.0, 30.0);
    ASSERT_EQ(Run(), CALC_OK);
    const CResultItem* row = Find(results, 11, 21, 0);
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->Errors.empty());
    EXPECT_EQ(row->ReynoldsMin, 10000.0);
    ExpectRelative(row->VelocityRange.MinRange, 2.0, 1e-12, "vmin");
    ExpectRelative(row->FlowRange.MinRange, FlowM3h(2.0, 50.0), 1e-8, "Qmin");
    ASSERT_FALSE(row->Points.empty());
    EXPECT_NEAR(row->Points.front()[RESULT_COLUMN_REYNOLDS], 10000.0, 1e-6);
    EXPECT_EQ(row->Points.front()[RESULT_COLUMN_ERROR], 2.0);
}

TEST_F(DeviceCalculationTest, PointsRunInFifteenEqualStepsToTheOperatingFlowWithTheReynoldsTwins)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 10.0, 30.0);
    ASSERT_EQ(Run(), CALC_OK);
    const CResultItem& row = *Find(results, 11, 21, 0);
    ASSERT_EQ(row.Points.size(), 18u);  // 16 regular points and the two at Re 20000

    // Re 20000 at 4 m/s: the same flow with the low and the high error, before the first point
    // beyond it.
    const double q20 = FlowM3h(4.0, 50.0);
    std::vector<CResultPoint> regular;
    for (std::size_t i = 0; i < row.Points.size(); ++i) {
        const CResultPoint& p = row.Points[i];
        if (p[RESULT_COLUMN_REYNOLDS] == 20000.0) {
            ASSERT_LT(i + 2, row.Points.size());
            const CResultPoint& twin = row.Points[i + 1];
            ExpectRelative(p[RESULT_COLUMN_FLOW], q20, 1e-8, "twin flow");
            EXPECT_EQ(p[RESULT_COLUMN_ERROR], 2.0);
            EXPECT_EQ(twin[RESULT_COLUMN_REYNOLDS], 20001.0);
            EXPECT_EQ(twin[RESULT_COLUMN_ERROR], 0.75);
            EXPECT_EQ(twin[RESULT_COLUMN_FLOW], p[RESULT_COLUMN_FLOW]);
            EXPECT_EQ(twin[RESULT_COLUMN_PRESSURE_LOSS], p[RESULT_COLUMN_PRESSURE_LOSS]);
            EXPECT_LT(row.Points[i - 1][RESULT_COLUMN_REYNOLDS], 20000.0);
            EXPECT_GT(row.Points[i + 2][RESULT_COLUMN_REYNOLDS], 20001.0);
            ++i;
            continue;
        }
        regular.push_back(p);
    }
    ASSERT_EQ(regular.size(), 16u);
    const double step = (30.0 - row.FlowRange.MinRange) / 15.0;
    EXPECT_EQ(regular.front()[RESULT_COLUMN_FLOW], row.FlowRange.MinRange);
    EXPECT_EQ(regular.back()[RESULT_COLUMN_FLOW], 30.0);
    for (std::size_t i = 1; i < regular.size(); ++i) {
        EXPECT_NEAR(regular[i][RESULT_COLUMN_FLOW] - regular[i - 1][RESULT_COLUMN_FLOW], step, 1e-9) << i;
        // Velocity and Reynolds number grow with the flow, the pressure loss with its square.
        const double ratio = regular[i][RESULT_COLUMN_FLOW] / regular.front()[RESULT_COLUMN_FLOW];
        ExpectRelative(regular[i][RESULT_COLUMN_VELOCITY], 2.0 * ratio, 1e-8, "velocity");
        ExpectRelative(regular[i][RESULT_COLUMN_REYNOLDS], 10000.0 * ratio, 1e-8, "Reynolds");
        ExpectRelative(regular[i][RESULT_COLUMN_PRESSURE_LOSS],
                       regular.front()[RESULT_COLUMN_PRESSURE_LOSS] * ratio * ratio, 1e-8, "pressure loss");
        EXPECT_EQ(regular[i][RESULT_COLUMN_ERROR], regular[i][RESULT_COLUMN_REYNOLDS] <= 20000.0 ? 2.0 : 0.75);
    }
    // The point table's pressure loss is in bar: 0.02 x 1000 kg/m3 x Q^2 / 1e5.
    ExpectRelative(regular.back()[RESULT_COLUMN_PRESSURE_LOSS], 0.02 * 1000.0 * 900.0 / 1e5, 1e-12, "dp at 30");
}

TEST_F(DeviceCalculationTest, OperatingFlowAboveTheRangeRunsToTheMaximum)
{
    // Re at 0.35 m/s is 35000: no points at Re 20000.
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 0.5, 100.0);
    ASSERT_EQ(Run(), CALC_OK);
    const CResultItem& row = *Find(results, 11, 21, 0);
    const double turndown = row.FlowRange.MaxRange / row.FlowRange.MinRange;
    EXPECT_EQ(row.ApplicationTurndown, turndown);
    ExpectRelative(row.CurrentMin, 16.0 / turndown + 4.0, 1e-12, "current");
    EXPECT_EQ(row.Points.front()[RESULT_COLUMN_FLOW], row.FlowRange.MinRange);
    EXPECT_EQ(row.Points.back()[RESULT_COLUMN_FLOW], row.FlowRange.MaxRange);
    ASSERT_EQ(row.Points.size(), 16u);
}

TEST_F(DeviceCalculationTest, GasUsesTheGasLimitsAndItsHighReynoldsError)
{
    // vmin = max(2, 4 (1.29 / 5)^0.5) = 2.0317 m/s, vmax = min(75, 9 (998 / 5)^0.5) = 75 m/s.
    MakeOperatingPoint(data, FLUID_STATE_GAS, 5.0, 0.018, 100.0);
    ASSERT_EQ(Run(), CALC_OK);
    const CResultItem& row = *Find(results, 11, 21, 0);
    ASSERT_TRUE(row.Errors.empty());
    const double vmin = 4.0 * std::sqrt(1.29 / 5.0);
    ExpectRelative(row.VelocityRange.MinRange, vmin, 1e-12, "vmin");
    EXPECT_EQ(row.VelocityRange.MaxRange, 75.0);
    ExpectRelative(row.ReynoldsMin, 5.0 * vmin * 0.05 / 0.000018, 1e-12, "Re");
    ExpectRelative(row.FlowRange.MaxRange, FlowM3h(75.0, 50.0), 1e-8, "Qmax");
    ExpectRelative(row.VortexFrequencyMax, 7000.0 * FlowM3h(75.0, 50.0) / 3600.0, 1e-8, "frequency");
    ASSERT_EQ(row.Points.size(), 16u);
    for (const CResultPoint& p : row.Points)
        EXPECT_EQ(p[RESULT_COLUMN_ERROR], 1.0);
    EXPECT_EQ(row.Points.back()[RESULT_COLUMN_FLOW], 100.0);
}

TEST_F(DeviceCalculationTest, RangesInTheUnitsOfTheOperatingValuesAndTheGivenVelocityUnit)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 800.0, 1.0, 20000.0);
    SetValue(data.Flow, 60, "kg/h", UNIT_TYPE_MASS_FLOW, 1.0, 20000.0, 20000.0, REFERENCE_OPERATIONAL);
    SetValue(data.Pressure, 10, "psi", UNIT_TYPE_PRESSURE, 0.0689475729, 72.5, 5.0, REFERENCE_GAUGE);
    CUnit feetPerSecond;
    feetPerSecond.DbIndex = 93;
    feetPerSecond.Name = "ft/s";
    feetPerSecond.Type = 7;
    feetPerSecond.System = 0;
    feetPerSecond.ConversionFactor = 0.3048;
    ASSERT_EQ(Run(&feetPerSecond), CALC_OK);
    const CResultItem& row = *Find(results, 11, 21, 0);
    ASSERT_TRUE(row.Errors.empty());
    const double vmin = 0.35 * std::sqrt(998.0 / 800.0);
    EXPECT_EQ(row.VelocityUnit.Name, "ft/s");
    ExpectRelative(row.VelocityRange.MinRange, vmin / 0.3048, 1e-12, "vmin in ft/s");
    EXPECT_EQ(row.FlowUnit.Name, "kg/h");
    ExpectRelative(row.FlowRange.MinRange, FlowM3h(vmin, 50.0) * 800.0, 1e-8, "Qmin in kg/h");
    // No atmosphere is taken off a pressure loss.
    EXPECT_EQ(row.PressureUnit.Name, "psi");
    const double dpMin = 0.02 * 800.0 * std::pow(FlowM3h(vmin, 50.0), 2) / 1e5;
    ExpectRelative(row.PressureLossRange.MinRange, dpMin / 0.0689475729, 1e-8, "dp in psi");

    ASSERT_EQ(Run(), CALC_OK);
    EXPECT_EQ(Find(results, 11, 21, 0)->VelocityUnit.Name, "m/s");
}

TEST_F(DeviceCalculationTest, NormFlowNeedsTheNormDensity)
{
    MakeOperatingPoint(data, FLUID_STATE_GAS, 5.0, 0.018, 400.0);
    SetValue(data.Flow, 50, "Nm3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0, 400.0, 400000.0, REFERENCE_NORM);
    ASSERT_EQ(Run(), CALC_OK);
    for (int i = 0; i < results.GetCount(); ++i) {
        EXPECT_EQ(results.GetAt(i).Errors, std::vector<int>{CALC_VELOCITY_UNIT_ERROR}) << i;
        EXPECT_EQ(results.GetAt(i).FlowRange.MaxRange, 0.0) << i;
    }

    data.NormFlowConditions.Density.BaseValue = 0.00125;  // 1.25 kg/m3
    ASSERT_EQ(Run(), CALC_OK);
    const CResultItem& row = *Find(results, 11, 21, 0);
    ASSERT_TRUE(row.Errors.empty());
    ExpectRelative(row.FlowRange.MinRange, FlowM3h(4.0 * std::sqrt(1.29 / 5.0), 50.0) * 4.0, 1e-8, "norm Qmin");
    EXPECT_EQ(row.Points.back()[RESULT_COLUMN_FLOW], 400.0);
}

TEST_F(DeviceCalculationTest, RowsThatCannotBeComputedRecordWhy)
{
    struct Case {
        const char* name;
        void (*spoil)(CPhysicalData&);
        int error;
    };
    const Case cases[] = {
        {"no fluid", [](CPhysicalData& d) { d.Fluid.reset(); }, CALC_NOT_ENOUGH_DATA},
        {"no state", [](CPhysicalData& d) { d.Fluid->State = 3; }, CALC_NOT_ENOUGH_DATA},
        {"zero density", [](CPhysicalData& d) { d.Density.Value = 0.0; }, CALC_INVALID_DATA},
        {"density unit", [](CPhysicalData& d) { d.Density.ConversionFlags = 7; }, CALC_VELOCITY_UNIT_ERROR},
        {"zero viscosity", [](CPhysicalData& d) { d.Viscosity.Value = 0.0; }, CALC_NO_REYNOLDS},
        {"negative viscosity", [](CPhysicalData& d) { d.Viscosity.Value = -1.0; }, CALC_NO_REYNOLDS},
    };
    for (const Case& c : cases) {
        MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
        c.spoil(data);
        ASSERT_EQ(Run(), CALC_OK) << c.name;
        ASSERT_EQ(results.GetCount(), 5) << c.name;
        for (int i = 0; i < results.GetCount(); ++i) {
            EXPECT_EQ(results.GetAt(i).Errors, std::vector<int>{c.error}) << c.name;
            EXPECT_EQ(results.GetAt(i).FlowRange.MaxRange, 0.0) << c.name;
            EXPECT_EQ(results.GetAt(i).ReynoldsMin, 0.0) << c.name;
            EXPECT_TRUE(results.GetAt(i).Points.empty()) << c.name;
        }
    }
}

TEST_F(DeviceCalculationTest, MissingDimensionRowRecordsADatabaseErrorOnce)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    CResultItem row;
    row.SizeId = 11;
    row.AddError(CALC_DATABASE_ERROR);
    EXPECT_EQ(CalculateDeviceDimension(data, row, 999, CUnitDb::GetInstance()->GetSession()), CALC_DATABASE_ERROR);
    EXPECT_EQ(row.Errors, std::vector<int>{CALC_DATABASE_ERROR});
}

TEST_F(DeviceCalculationTest, FailedFirstStatementStillEmptiesTheList)
{
    std::vector<bool> busy;
    SetDeviceCalculationBusyIndicator([&busy](bool on) { busy.push_back(on); });
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    results.Add(CResultItem());
    CSession closed;
    EXPECT_EQ(CalculateDevices(data, configuration, results, closed), CALC_DATABASE_ERROR);
    EXPECT_EQ(results.GetCount(), 0);
    EXPECT_TRUE(busy.empty());
    EXPECT_EQ(Run(), CALC_OK);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    SetDeviceCalculationBusyIndicator(nullptr);
}

// Many dimension rows of size 12, of which a damaged page hides some: the run fails with a log
// line instead of giving a shorter list.
class DeviceCalculationDamagedTest : public DeviceCalculationTest {
protected:
    DeviceCalculationDamagedTest()
        : DeviceCalculationTest("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                                "INSERT INTO DeviceDimensions SELECT 100 + i, 12, 21, 100 + i, 100, 2.0, 75, 0.2, 9, 1 "
                                "FROM n;")
    {
    }
};

TEST_F(DeviceCalculationDamagedTest, ReadErrorFailsTheRunWithALogLine)
{
    ASSERT_TRUE(database.Loaded());
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    ASSERT_EQ(Run(), CALC_OK);
    EXPECT_EQ(results.GetCount(), 2005);

    CUnitDb::GetInstance()->Close();
    std::string error;
    // A run reads the dimension table whole.
    ASSERT_TRUE(DamageMiddleLeafPage(database.Folder() + "Zephrin.db", "DeviceDimensions", error))
        << error;
    ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
    const std::string text = LogWrittenWhile(database.Folder() + "damaged.log", LOGLEVEL_ERROR,
                                             [this] { EXPECT_EQ(Run(), CALC_DATABASE_ERROR); });
    EXPECT_EQ(results.GetCount(), 0);
    EXPECT_NE(text.find("\nerror|CalculateDevices: the device tables cannot be read"), std::string::npos)
        << text;
}

// Size 12 lost its coefficient, the K-factor of size 11 is gone: those rows carry a database
// error once and still land in the list.
class DeviceCalculationMissingDataTest : public DeviceCalculationTest {
protected:
    DeviceCalculationMissingDataTest()
        : DeviceCalculationTest("DELETE FROM DischargeCoefficients WHERE Feature_1 = 12;"
                                "DELETE FROM VortexFrequency WHERE Feature_1 = 11;")
    {
    }
};

TEST_F(DeviceCalculationMissingDataTest, MissingCoefficientOrFactorRecordsADatabaseErrorOnce)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    ASSERT_EQ(Run(), CALC_OK);
    ASSERT_EQ(results.GetCount(), 5);
    for (int i = 0; i < results.GetCount(); ++i) {
        EXPECT_EQ(results.GetAt(i).Errors, std::vector<int>{CALC_DATABASE_ERROR}) << i;
        EXPECT_EQ(results.GetAt(i).FlowRange.MaxRange, 0.0) << i;
    }
}

class DeviceCalculationNoFormulaTest : public DeviceCalculationTest {
protected:
    DeviceCalculationNoFormulaTest() : DeviceCalculationTest("DELETE FROM FormulaSets WHERE SettingName = 'FactorS';") {}
};

TEST_F(DeviceCalculationNoFormulaTest, MissingFormulaSettingIsADatabaseError)
{
    MakeOperatingPoint(data, FLUID_STATE_GAS, 5.0, 0.018, 100.0);
    ASSERT_EQ(Run(), CALC_OK);
    ASSERT_EQ(results.GetCount(), 5);
    for (int i = 0; i < results.GetCount(); ++i)
        EXPECT_EQ(results.GetAt(i).Errors, std::vector<int>{CALC_DATABASE_ERROR}) << i;
}

// A device table that cannot be read would drop devices or show prohibited ones: the run fails.
class DeviceCalculationNoTableTest : public DeviceCalculationTest {
protected:
    DeviceCalculationNoTableTest() : DeviceCalculationTest("DROP TABLE DeviceProhibitedCombinations;") {}
};

TEST_F(DeviceCalculationNoTableTest, UnreadableDeviceTableFailsTheRun)
{
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, 1000.0, 1.0, 30.0);
    results.Add(CResultItem());
    EXPECT_EQ(Run(), CALC_DATABASE_ERROR);
    EXPECT_EQ(results.GetCount(), 0);
}

// --- The shipped database ----------------------------------------------------------------------

TEST(ShippedDeviceCalculationTest, WaterAt20DegreesIn50MillimetresAgreesWithAHandCalculation)
{
    LoadedDatabase database;
    ASSERT_TRUE(database.Loaded());
    int extrapolated = 0;
    const double rho = CalculateWaterDensity(293.15);
    const double mu = CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 1.013, 20.0, extrapolated);
    ASSERT_GT(mu, 0.0);
    CPhysicalData data;
    MakeOperatingPoint(data, FLUID_STATE_LIQUID, rho, mu, 30.0);
    CDeviceConfiguration configuration;
    CResultData results;
    ASSERT_EQ(CalculateDevices(data, configuration, results, CUnitDb::GetInstance()->GetSession()), CALC_OK);

    // 10 sizes x 6 ratings less 4 prohibited, plus the versions: 6 + 6 + 6 of three sizes and
    // one of DN 25 at PN 100.
    EXPECT_EQ(results.GetCount(), 75);
    for (int i = 0; i < results.GetCount(); ++i)
        EXPECT_TRUE(results.GetAt(i).Errors.empty()) << i;

    const CResultItem* row = Find(results, 104, 201, 0);  // DN 50, PN 16
    ASSERT_NE(row, nullptr);
    // Formula set 1 at the operating density; DN 50 is 54.5 mm, C = 0.0155963, K = 7289.4.
    const double d = 54.5;
    const double vmin = std::max(0.2, 0.35 * std::sqrt(998.0 / rho));
    const double vmax = std::min(9.0, 9.0 * std::sqrt(998.0 / rho));
    const double qmin = FlowM3h(vmin, d);
    const double qmax = FlowM3h(vmax, d);
    const double tolerance = 1e-7;  // the formulas take pi as 3.14159265
    ExpectRelative(row->VelocityRange.MinRange, vmin, 1e-12, "vmin");
    ExpectRelative(row->VelocityRange.MaxRange, vmax, 1e-12, "vmax");
    ExpectRelative(row->ReynoldsMin, rho * vmin * d / 1000.0 / (mu / 1000.0), 1e-12, "Re at vmin");
    ExpectRelative(row->FlowRange.MinRange, qmin, tolerance, "Qmin");
    ExpectRelative(row->FlowRange.MaxRange, qmax, tolerance, "Qmax");
    ExpectRelative(row->ApplicationTurndown, 30.0 / qmin, tolerance, "turndown");
    ExpectRelative(row->PressureLossRange.MaxRange, 0.0155963 * rho * qmax * qmax / 1e5, tolerance, "dp max");
    ExpectRelative(row->VortexFrequencyMax, 7289.4 * qmax / 3600.0, tolerance, "f max");
    ExpectRelative(row->CurrentMin, 16.0 * qmin / 30.0 + 4.0, tolerance, "current");

    // The figures of the database notes.
    EXPECT_NEAR(vmin, 0.35, 0.001);
    EXPECT_NEAR(row->ReynoldsMin, 19000.0, 100.0);
    EXPECT_NEAR(row->FlowRange.MinRange, 2.94, 0.005);
    EXPECT_NEAR(row->FlowRange.MaxRange, 75.6, 0.05);
    EXPECT_NEAR(row->ApplicationTurndown, 10.2, 0.05);
    EXPECT_NEAR(row->PressureLossRange.MaxRange, 0.89, 0.005);
    EXPECT_NEAR(row->VortexFrequencyMax, 153.0, 0.5);
    EXPECT_NEAR(row->CurrentMin, 5.57, 0.01);
}

}  // namespace
