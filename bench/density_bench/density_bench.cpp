// Prints the time of one operating density for each kind of fluid (liquid, gas, humid gas, gas
// mix, saturated and superheated steam), 100,000 operating points each, through
// CalculateDensity on the physical-data record with its unit conversions. Target: under 2 us
// per density.
//   density_bench [program folder holding Zephrin.db]   (default: the folder of this program)
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/TAMBELCalculator/FluidDensity.h"
#include "CommonFiles/UnitDb.h"
#include "Platform/ProgramFolder.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPoints = 100000;

struct Kind {
    const char* name;
    int type;
    int dbIndex;
    double minCelsius;
    double maxCelsius;
    double minBar;
    double maxBar;
};

// Operating ranges where every point has a density.
const Kind kKinds[] = {
    {"liquid (water)", FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 1.0, 150.0, 5.0, 40.0},
    {"gas (methane)", FLUID_TYPE_GAS, 5, -20.0, 200.0, 1.0, 100.0},
    {"humid gas (humid air, 60 %)", FLUID_TYPE_WET_GAS, 11, 0.0, 60.0, 1.0, 10.0},
    {"gas mix (natural gas)", FLUID_TYPE_GAS_MIX, 0, -20.0, 200.0, 1.0, 100.0},
    {"saturated steam (pressure given)", FLUID_TYPE_SATURATED_STEAM, FLUID_INDEX_WATER_VAPOUR, 0.0, 0.0, 0.2, 200.0},
    {"superheated steam", FLUID_TYPE_SUPERHEATED_STEAM, FLUID_INDEX_WATER_VAPOUR, 250.0, 500.0, 1.0, 30.0},
};

CUnit Unit(int type, double factor, double offset)
{
    CUnit unit;
    unit.Type = type;
    unit.System = 0;
    unit.ConversionFactor = factor;
    unit.ConversionOffset = offset;
    return unit;
}

std::unique_ptr<CFluid> MakeFluid(const Kind& kind, const CFluidManager& fluids)
{
    std::unique_ptr<CFluid> fluid = CreateFluid(kind.type);
    if (kind.type == FLUID_TYPE_GAS_MIX) {
        auto& mix = static_cast<CFluidGasMix&>(*fluid);
        mix.DbIndex = 1;
        mix.Elements = {{5, 88.0}, {6, 6.0}, {7, 2.0}, {2, 2.0}, {4, 2.0}};
        return fluid;
    }
    if (kind.type == FLUID_TYPE_SATURATED_STEAM) {
        fluid->DbIndex = kind.dbIndex;
        static_cast<CFluidSaturatedSteam&>(*fluid).SaturationType = SATURATION_PRESSURE_GIVEN;
        return fluid;
    }
    if (!fluids.GetFluidById(fluid.get(), kind.dbIndex))
        return nullptr;
    if (kind.type == FLUID_TYPE_WET_GAS)
        static_cast<CFluidWetGas&>(*fluid).RelativeHumidity = 60.0;
    return fluid;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        Platform::SetProgramPathForTesting(std::string(argv[1]) + "/density_bench");
    if (FAILED(CUnitDb::GetInstance()->Open()) || !CFluidManager::GetInstance()->LoadFluidList()) {
        std::fprintf(stderr, "cannot read the fluids of the units database in %s\n",
                     Platform::GetProgramFolder().c_str());
        return 1;
    }
    const CFluidManager& fluids = *CFluidManager::GetInstance();

    CPhysicalData data;
    static_cast<CUnit&>(data.Temperature) = Unit(3, 1.0, 273.15);   // degC
    static_cast<CUnit&>(data.Pressure) = Unit(4, 1.0, 0.0);          // bar
    static_cast<CUnit&>(data.Density) = Unit(5, 0.001, 0.0);         // kg/m3

    std::printf("%-34s %10s %12s\n", "kind", "ns/call", "failures");
    double worst = 0.0;
    double checksum = 0.0;
    for (const Kind& kind : kKinds) {
        data.Fluid = MakeFluid(kind, fluids);
        if (!data.Fluid) {
            std::fprintf(stderr, "no fluid %d in the fluid list\n", kind.dbIndex);
            return 1;
        }
        long failures = 0;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kPoints; ++i) {
            // A grid of operating points over the kind's range (1000 temperatures x 100 pressures).
            const double ft = static_cast<double>(i % 1000) / 999.0;
            const double fp = static_cast<double>(i / 1000) / 99.0;
            data.Temperature.Value = kind.minCelsius + ft * (kind.maxCelsius - kind.minCelsius);
            data.Pressure.Value = kind.minBar + fp * (kind.maxBar - kind.minBar);
            failures += !IsCalculationOk(CalculateDensity(data));
            checksum += data.Density.BaseValue;
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kPoints;
        worst = ns > worst ? ns : worst;
        std::printf("%-34s %10.1f %12ld\n", kind.name, ns, failures);
    }
    std::printf("slowest kind: %.1f ns per density (target: under 2000 ns)  [checksum %.6g]\n", worst, checksum);
    return 0;
}
