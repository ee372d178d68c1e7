// Prints the time of one unit conversion through the units manager (a mix of units, gauge
// pressures and norm flows, both directions and volume to mass flow) and the time to load all
// units from the shipped Zephrin.db. Targets: a conversion under 50 ns, the load under 5 ms.
//   units_bench [program folder holding Zephrin.db]   (default: the folder of this program)
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Platform/ProgramFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Conversion {
    int dbIndex;
    int reference;
    double value;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        Platform::SetProgramPathForTesting(std::string(argv[1]) + "/units_bench");
    CUnitDb* db = CUnitDb::GetInstance();
    const Clock::time_point openStart = Clock::now();
    if (FAILED(db->Open())) {
        std::fprintf(stderr, "cannot open the units database in %s\n", Platform::GetProgramFolder().c_str());
        return 1;
    }
    const double openMs = Milliseconds(Clock::now() - openStart);

    CUnitManager* units = CUnitManager::GetInstance();
    const int loads = 50;
    double bestLoadMs = 1e9;
    double totalLoadMs = 0.0;
    for (int i = 0; i < loads; ++i) {
        const Clock::time_point start = Clock::now();
        if (!units->LoadUnitList()) {
            std::fprintf(stderr, "LoadUnitList failed\n");
            return 1;
        }
        const double ms = Milliseconds(Clock::now() - start);
        bestLoadMs = std::min(bestLoadMs, ms);
        totalLoadMs += ms;
    }

    // bar and psi gauge, degC, kg/m3, m3/h, Nm3/h and SCFM norm flows, SG of a gas, MW.
    const std::vector<Conversion> mix = {
        {7, REFERENCE_GAUGE, 2.0},   {10, REFERENCE_GAUGE, 30.0}, {1, 0, 20.0},
        {21, 0, 998.0},              {38, 0, 12.5},                {50, REFERENCE_NORM, 800.0},
        {56, REFERENCE_NORM, 40.0},  {UNIT_INDEX_SPECIFIC_GRAVITY, 0, 0.6},
        {UNIT_INDEX_MOLAR_MASS, 0, 16.04}, {8, REFERENCE_ABSOLUTE, 1013.25},
    };
    const long conversions = 1000000;
    double sink = 0.0;
    long failures = 0;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < conversions; i += 4) {
        const Conversion& c = mix[static_cast<std::size_t>(i / 4) % mix.size()];
        double base;
        double back;
        double mass;
        double norm;
        failures += !units->ConvertToBase(base, c.value + static_cast<double>(i & 7), c.dbIndex, c.reference);
        failures += !units->ConvertFromBase(back, base, c.dbIndex, c.reference);
        failures += !units->ConvertUnit(back, mass, 38, 60, 0.998);  // m3/h -> kg/h
        failures += !ConvertFlowReference(mass, norm, REFERENCE_OPERATIONAL, REFERENCE_NORM, 4.2, 1.293);
        sink += back + norm;
    }
    const double conversionNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / static_cast<double>(conversions);

    std::printf("units in the list:        %zu\n", units->GetUnitList().size());
    std::printf("open database:            %.3f ms\n", openMs);
    std::printf("load all units:           %.3f ms best, %.3f ms mean of %d (target < 5 ms)\n", bestLoadMs,
                totalLoadMs / loads, loads);
    std::printf("conversion:               %.1f ns each over %ld (target < 50 ns)\n", conversionNs, conversions);
    std::printf("(failed conversions %ld, checksum %g)\n", failures, sink);
    db->Close();
    return failures == 0 ? 0 : 1;
}
