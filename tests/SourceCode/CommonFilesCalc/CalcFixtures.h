// What the calculator tests share: the shipped database with its fluid list, and an operating
// point in everyday units (degC, bar, kg/m3).
#pragma once

#include "CommonFiles/Fluids/Fluid.h"
#include "CommonFiles/PhysicalData.h"

#include <memory>

class CFluidManager;

// The process-wide fluid manager filled from the shipped Zephrin.db; null (with a test
// failure) when the database cannot be opened.
CFluidManager* ShippedFluids();

// A record holding the fluid at temperature degC and pressure bar (absolute unless gauge),
// with a kg/m3 density of 0.5 as the user's value.
void MakeOperatingPoint(CPhysicalData& data, std::unique_ptr<CFluid> fluid, double celsius, double bar,
                        bool gauge = false);

// A database fluid copied into a new object of the Type (the way the fluid page makes it).
std::unique_ptr<CFluid> DatabaseFluid(int type, int dbIndex);
