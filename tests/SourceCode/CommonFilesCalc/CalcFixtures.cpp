#include "CalcFixtures.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/UnitDb.h"
#include "Platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

CUnit MakeUnit(int type, double factor, double offset, const char* name, int dbIndex)
{
    CUnit unit;
    unit.Type = type;
    unit.System = 0;
    unit.ConversionFactor = factor;
    unit.ConversionOffset = offset;
    unit.Name = name;
    unit.DbIndex = dbIndex;
    return unit;
}

bool OpenShipped()
{
    const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
    if (dir == nullptr)
        return false;
    Platform::SetProgramPathForTesting(std::string(dir) + "/Zephrin");
    CUnitDb* db = CUnitDb::GetInstance();
    return db != nullptr && SUCCEEDED(db->Open()) && CFluidManager::GetInstance()->LoadFluidList();
}

}  // namespace

CFluidManager* ShippedFluids()
{
    static const bool opened = OpenShipped();
    EXPECT_TRUE(opened) << "the shipped database in ZEPHRIN_PROGRAM_DIR cannot be opened";
    return opened ? CFluidManager::GetInstance() : nullptr;
}

void MakeOperatingPoint(CPhysicalData& data, std::unique_ptr<CFluid> fluid, double celsius, double bar, bool gauge)
{
    data.Reset();
    data.Fluid = std::move(fluid);
    static_cast<CUnit&>(data.Temperature) = MakeUnit(3, 1.0, 273.15, "degC", 1);
    data.Temperature.Value = celsius;
    data.Temperature.BaseValue = celsius + 273.15;
    static_cast<CUnit&>(data.Pressure) = MakeUnit(UNIT_TYPE_PRESSURE, 1.0, 0.0, "bar", 7);
    data.Pressure.Value = bar;
    data.Pressure.Reference = gauge ? REFERENCE_GAUGE : REFERENCE_ABSOLUTE;
    data.Pressure.BaseValue = gauge ? bar + 1.013 : bar;
    static_cast<CUnit&>(data.Density) = MakeUnit(UNIT_TYPE_DENSITY, 0.001, 0.0, "kg/m3", 21);
    data.Density.Value = 0.5;
    data.Density.BaseValue = 0.0005;
}

std::unique_ptr<CFluid> DatabaseFluid(int type, int dbIndex)
{
    std::unique_ptr<CFluid> fluid = CreateFluid(type);
    CFluidManager* fluids = ShippedFluids();
    EXPECT_TRUE(fluids != nullptr && fluids->GetFluidById(fluid.get(), dbIndex)) << "no fluid " << dbIndex;
    return fluid;
}
