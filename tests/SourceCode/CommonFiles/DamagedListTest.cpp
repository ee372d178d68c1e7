// Lists loaded from a units database with a damaged page: a read that fails part way fails
// the load with a log line, never a shorter list reported as complete.
#include "CommonFiles/Fluids/FluidInterpolation.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Quillet/LogLevel.h"
#include "TestFolder.h"
#include "support/DamagedDatabase.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Rows 1..3000 of a recursive count, for the fixture statements.
const char kCount[] = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) ";

struct DamagedListCase {
    const char* what;
    std::string rows;  // statements filling the database
    const char* tree;  // the table or index damaged
    bool (*load)();
    const char* logged;  // how the load's error line starts
};

bool LoadUnits()
{
    CUnitManager units;
    return units.LoadUnitList() != FALSE;
}

bool LoadFluids()
{
    CFluidManager fluids;
    return fluids.LoadFluidList() != FALSE;
}

bool LoadNormConditions()
{
    CNormConditionManager conditions;
    return CUnitManager::GetInstance()->LoadUnitList() && conditions.LoadDbList() != FALSE;
}

bool Interpolate()
{
    double value = 0.0;
    return GetInterpolatedValue(1, 1, 2999.5, FLUID_PARAMETER_UNUSED, value) != FALSE;
}

TEST(DamagedDatabase, ListLoadsFailWithALogLine)
{
    const std::string twoUnits = "INSERT INTO Units VALUES (1, 'K', 3, 0, 0, 1, 0, 1), (2, 'bar', 4, 0, 0, 1, 0, 1);";
    const DamagedListCase cases[] = {
        {"units",
         std::string(kCount) + "INSERT INTO Units SELECT i, printf('u%d', i), 1 + i % 9, i, 0, 1, 0, i FROM n;",
         "Units", LoadUnits, "The units could not be read"},
        {"fluids",
         std::string("INSERT INTO CalculationTypes VALUES (1, 'liquid');") + kCount +
             "INSERT INTO FluidsBase SELECT i, 1, printf('fluid %040d', i), 'H2O', 1, 0 FROM n;",
         "FluidsBase", LoadFluids, "The fluids could not be read"},
        {"gas data of the fluids",
         std::string("INSERT INTO CalculationTypes VALUES (2, 'gas');") + kCount +
             "INSERT INTO FluidsBase SELECT i, 2, printf('gas %d', i), 'X', 2, 0 FROM n;" + kCount +
             "INSERT INTO FluidsGas (FluidId, MolWeight, CritTemp, CritPress, CritVolu, CritZ) "
             "SELECT i, 28.0, 227.0, 493.0, 1.44, 0.29 FROM n;",
         "FluidsGas", LoadFluids, "The gas data of fluid"},
        {"norm conditions",
         twoUnits + kCount + "INSERT INTO NormFlowConditions SELECT i, printf('norm %040d', i), 1, 273.15, 2, 1, 1 FROM n;",
         "NormFlowConditions", LoadNormConditions, "The norm flow conditions could not be read"},
        {"interpolation table",
         std::string(kCount) + "INSERT INTO FluidInterpolationData SELECT 1, 1, i, 0, i FROM n;",
         "sqlite_autoindex_FluidInterpolationData_1", Interpolate, "The interpolation table could not be read"},
    };
    for (const DamagedListCase& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        folder.MakeDatabase("Zephrin.db", c.rows);
        folder.BecomeProgramFolder();
        ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
        EXPECT_TRUE(c.load()) << "the whole database loads";
        CUnitDb::GetInstance()->Close();

        std::string error;
        ASSERT_TRUE(DamageMiddleLeafPage(folder.Path() + "Zephrin.db", c.tree, error)) << error;
        ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
        const std::string text =
            LogWrittenWhile(folder.Path() + "damaged.log", LOGLEVEL_WARN, [&c] { EXPECT_FALSE(c.load()); });
        CUnitDb::GetInstance()->Close();
        EXPECT_NE(text.find("\nerror|" + std::string(c.logged)), std::string::npos) << text;
    }
}

}  // namespace
