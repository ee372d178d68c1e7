#include "CalcFixtures.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

bool OpenShipped()
{
    return ShippedDatabase::Open() && CFluidManager::GetInstance()->LoadFluidList();
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
    static_cast<CUnit&>(data.Temperature) = MakeUnit("degC", 3, 1.0, 273.15, 1);
    data.Temperature.Value = celsius;
    data.Temperature.BaseValue = celsius + 273.15;
    static_cast<CUnit&>(data.Pressure) = MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0, 0.0, 7);
    data.Pressure.Value = bar;
    data.Pressure.Reference = gauge ? REFERENCE_GAUGE : REFERENCE_ABSOLUTE;
    data.Pressure.BaseValue = gauge ? bar + 1.013 : bar;
    static_cast<CUnit&>(data.Density) = MakeUnit("kg/m3", UNIT_TYPE_DENSITY, 0.001, 0.0, 21);
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
