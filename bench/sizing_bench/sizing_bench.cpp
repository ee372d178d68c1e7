// Prints the time of one sizing run (CalculateDevices) in ms and per result row in µs: over the
// shipped Zephrin.db for a liquid, a gas and saturated steam, then over copies of it whose
// device line is replaced by 25, 50 and 100 sizes x 20 pressure classes. Targets: the shipped
// database under 1 ms per run, the cost per row constant as rows grow (2,000 rows under
// 200 ms).
//   sizing_bench [program folder holding Zephrin.db]   (default: the folder of this program)
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"
#include "CommonFiles/TAMBELCalculator/FluidDensity.h"
#include "CommonFiles/TAMBELCalculator/FluidViscosity.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Platform/NumberText.h"
#include "Platform/ProgramFolder.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 30;

struct Figures {
    double ms = 0.0;  // median of the runs
    int rows = 0;
    int rowsWithErrors = 0;
};

// The unit part of a value from the units manager, with the value in it and in base.
bool SetValue(CUnitValue& value, int dbIndex, double number, int reference)
{
    if (!CUnitManager::GetInstance()->GetUnit(value, dbIndex))
        return false;
    value.Value = number;
    value.Reference = reference;
    return CUnitManager::GetInstance()->ConvertToBase(value.BaseValue, number, dbIndex, reference);
}

// Fluid of the kind at degC and bar abs with a flow in the unit; density and viscosity as the
// fluid page computes them.
bool MakeOperatingPoint(CPhysicalData& data, int type, int dbIndex, double celsius, double bar, int flowUnit,
                        double flow)
{
    data.Reset();
    data.Fluid = CreateFluid(type);
    if (type == FLUID_TYPE_SATURATED_STEAM) {
        data.Fluid->DbIndex = dbIndex;
        static_cast<CFluidSaturatedSteam&>(*data.Fluid).SaturationType = SATURATION_PRESSURE_GIVEN;
    } else if (!CFluidManager::GetInstance()->GetFluidById(data.Fluid.get(), dbIndex)) {
        return false;
    }
    int extrapolated = 0;
    if (!SetValue(data.Temperature, 1, celsius, 0) || !SetValue(data.Pressure, 7, bar, 1) ||
        !SetValue(data.Density, 21, 0.0, 0) || !SetValue(data.Viscosity, 97, 0.0, 0) ||
        !SetValue(data.Flow, flowUnit, flow, 0) || !IsCalculationOk(CalculateDensity(data)))
        return false;
    const double viscosity = CalculateFluidViscosity(type, dbIndex, data.Pressure.BaseValue,
                                                     data.Temperature.BaseValue - 273.15, extrapolated);
    return viscosity > 0.0 && SetValue(data.Viscosity, 97, viscosity, 0);
}

Figures Measure(const CPhysicalData& data)
{
    const CDeviceConfiguration configuration;
    CResultData results;
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        const Clock::time_point start = Clock::now();
        CalculateDevices(data, configuration, results, CUnitDb::GetInstance()->GetSession());
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    Figures figures;
    figures.ms = ms[ms.size() / 2];
    figures.rows = results.GetCount();
    for (int i = 0; i < results.GetCount(); ++i)
        figures.rowsWithErrors += results.GetAt(i).Errors.empty() ? 0 : 1;
    return figures;
}

void Print(const char* name, const Figures& figures)
{
    std::printf("%-40s %6d rows %9.2f ms/run %8.1f us/row %6d with errors\n", name, figures.rows, figures.ms,
                figures.rows > 0 ? figures.ms * 1000.0 / figures.rows : 0.0, figures.rowsWithErrors);
}

// A copy of the shipped database whose device line is sizes x classes, every size with one
// dimension row for all classes, and a few prohibited pairs.
bool MakeDeviceLine(const std::string& shipped, const std::string& path, int sizes, int classes)
{
    std::error_code error;
    std::filesystem::copy_file(shipped, path, std::filesystem::copy_options::overwrite_existing, error);
    sqlite3* db = nullptr;
    if (error || sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return false;
    std::string sql = "BEGIN;"
                      "DELETE FROM DeviceFeatureItems WHERE FeatureId IN (1, 2, 4);"
                      "DELETE FROM DeviceProhibitedCombinations; DELETE FROM DeviceDimensions;"
                      "DELETE FROM DischargeCoefficients; DELETE FROM VortexFrequency;";
    for (int c = 1; c <= classes; ++c)
        sql += "INSERT INTO DeviceFeatureItems VALUES (" + std::to_string(20000 + c) + ", 2, " + std::to_string(c) +
               ", 'Class " + std::to_string(c) + "');";
    for (int s = 1; s <= sizes; ++s) {
        const std::string id = std::to_string(10000 + s);
        const double diameter = 10.0 + 5.0 * s;
        const double area = 3.14159265 * diameter * diameter / 4.0e6;
        sql += "INSERT INTO DeviceFeatureItems VALUES (" + id + ", 1, " + std::to_string(s) + ", 'DN " +
               std::to_string(s) + "');";
        sql += "INSERT INTO DeviceDimensions VALUES (" + std::to_string(s) + ", " + id + ", 0, 0, " +
               Platform::DoubleToText(diameter) + ", 2.0, 75, 0.2, 9, " + (s < 4 ? "2" : "1") + ");";
        sql += "INSERT INTO DischargeCoefficients VALUES (" + id + ", " +
               Platform::DoubleToText(1.1 / (3600.0 * 3600.0 * area * area)) + ");";
        sql += "INSERT INTO VortexFrequency VALUES (" + id + ", " +
               Platform::DoubleToText(0.26 / (0.28 * diameter / 1000.0) / area) + ");";
    }
    // Not built: the largest sizes in the highest class.
    for (int s = sizes - 3; s <= sizes; ++s)
        sql += "INSERT INTO DeviceProhibitedCombinations VALUES (" + std::to_string(10000 + s) + ", " +
               std::to_string(20000 + classes) + ");";
    sql += "COMMIT;";
    char* message = nullptr;
    const bool ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "%s\n", message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        Platform::SetProgramPathForTesting(std::string(argv[1]) + "/sizing_bench");
    const std::string shipped = Platform::GetProgramFolder() + "Zephrin.db";
    if (FAILED(CUnitDb::GetInstance()->Open()) || !CUnitManager::GetInstance()->LoadUnitList() ||
        !CFluidManager::GetInstance()->LoadFluidList()) {
        std::fprintf(stderr, "cannot read the units database in %s\n", Platform::GetProgramFolder().c_str());
        return 1;
    }

    struct Case {
        const char* name;
        int type;
        int dbIndex;
        double celsius;
        double bar;
        int flowUnit;
        double flow;
    };
    const Case cases[] = {
        {"water 20 degC, 30 m3/h", FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 20.0, 3.0, 38, 30.0},
        {"air 20 degC, 5 bar, 300 m3/h", FLUID_TYPE_GAS, FLUID_INDEX_AIR, 20.0, 5.0, 38, 300.0},
        {"saturated steam 10 bar, 2 t/h", FLUID_TYPE_SATURATED_STEAM, FLUID_INDEX_WATER_VAPOUR, 180.0, 10.0, 63, 2.0},
    };
    std::vector<CPhysicalData> points(sizeof cases / sizeof cases[0]);
    double worstShipped = 0.0;
    std::printf("shipped database (median of %d runs)\n", kRuns);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Case& c = cases[i];
        if (!MakeOperatingPoint(points[i], c.type, c.dbIndex, c.celsius, c.bar, c.flowUnit, c.flow)) {
            std::fprintf(stderr, "cannot make the operating point %s\n", c.name);
            return 1;
        }
        const Figures figures = Measure(points[i]);
        Print(c.name, figures);
        worstShipped = std::max(worstShipped, figures.ms);
    }

    const std::string folder = (std::filesystem::temp_directory_path() / "sizing_bench-XXXXXX").string();
    std::string made = folder;
    if (mkdtemp(made.data()) == nullptr) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    Platform::SetProgramPathForTesting(made + "/sizing_bench");
    std::printf("generated device lines, %s\n", cases[0].name);
    double usPerRow[3] = {};
    double msLargest = 0.0;
    const int sizes[] = {25, 50, 100};
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
        CUnitDb::GetInstance()->Close();
        ok = MakeDeviceLine(shipped, made + "/Zephrin.db", sizes[i], 20) && SUCCEEDED(CUnitDb::GetInstance()->Open());
        if (!ok)
            break;
        const Figures figures = Measure(points[0]);
        const std::string name = std::to_string(sizes[i]) + " sizes x 20 classes";
        Print(name.c_str(), figures);
        usPerRow[i] = figures.ms * 1000.0 / std::max(figures.rows, 1);
        msLargest = figures.ms;
    }
    CUnitDb::GetInstance()->Close();
    std::filesystem::remove_all(made);
    if (!ok) {
        std::fprintf(stderr, "cannot make the generated device database\n");
        return 1;
    }
    std::printf("shipped database: %.2f ms per run at most (target: under 1 ms)\n", worstShipped);
    std::printf("2,000 rows: %.1f ms per run (target: under 200 ms); us per row %.1f / %.1f / %.1f "
                "at 500 / 1,000 / 2,000 rows (target: constant)\n",
                msLargest, usPerRow[0], usPerRow[1], usPerRow[2]);
    return 0;
}
