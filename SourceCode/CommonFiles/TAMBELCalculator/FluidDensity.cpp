#include "CommonFiles/TAMBELCalculator/FluidDensity.h"

#include "CommonFiles/Fluids/FluidGas.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidManager.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/TAMBELCalculator/SteamSaturation.h"
#include "CommonFiles/UnitConversion.h"

#include <cmath>

namespace {

constexpr double kGasConstant = 8.314417;        // J/(mol K)
constexpr double kRankinePerKelvin = 1.8;
constexpr double kBarPerPsi = 0.06894757;
constexpr double kGasConstantField = 10.7315;     // psia ft3/(lbmol degR)
constexpr double kRedlichKwongB = 0.0867;
constexpr double kRedlichKwongA = 4.934;
constexpr double kWaterAirMolarRatio = 0.622;
constexpr double kAirMolarMassOverR = 3.483407;  // g K/J

// Water density in kg/m3 over degC, a[0] first.
const double kWaterDensity[] = {
    999.768304133716,     0.0407295197984015,   -0.00667572101411642,
    2.83685990343591e-05, -7.99992290761741e-08, 7.76335500743731e-11,
};

double ReducedTemperature(const CFluidGas& gas, double temperature)
{
    return (temperature * kRankinePerKelvin) / gas.CritTemp;
}

double ReducedPressure(const CFluidGas& gas, double pressure)
{
    return (pressure / kBarPerPsi) / gas.CritPress;
}

// Newton steps the Redlich-Kwong solve may take: a gas state converges in under ten.
constexpr int kMaxNewtonSteps = 50;
constexpr double kNewtonTolerance = 1e-12;  // relative change of Z
// No gas a flow meter sees comes near this compressibility (air needs some 10,000 bar); a
// larger Z means pressure or temperature lie far beyond where the law and its correction hold.
constexpr double kMaxCompressibility = 10.0;

// The liquid temperature range of the water polynomial, and how far below the saturation
// pressure a state may lie and still count as liquid: the saturation equation and the boiling
// points users enter (1.013 bar at 100 degC, where the line says 1.01325) differ in the last
// digits.
constexpr double kWaterMinTemperature = 273.15;  // K
constexpr double kWaterMaxTemperature = 573.15;  // K
constexpr double kSaturationPressureTolerance = 0.005;

// The Redlich-Kwong compressibility at reduced temperature and pressure: Newton from the ideal
// gas until Z settles. False when it does not settle within the step bound, or when it settles
// where the law describes no gas: at or below the co-volume, or (below the critical
// temperature) in a volume smaller than the critical one, which is the liquid root.
bool RedlichKwongZ(double tr, double pr, double& z)
{
    const double b = kRedlichKwongB * pr / tr;
    const double r = kRedlichKwongA / std::pow(tr, 1.5);
    z = 1.0;
    for (int step = 0; step < kMaxNewtonSteps; ++step) {
        const double zb = z * z + z * b;
        const double f = (1.0 + b - z) - b * r / (z + b) + b * b * r / (z * b + z * z);
        const double df = b * r / ((z + b) * (z + b)) - b * b * r * (b + 2.0 * z) / (zb * zb) - 1.0;
        const double next = z - f / df;
        if (!std::isfinite(next))
            return false;
        const bool settled = std::fabs(next - z) <= kNewtonTolerance * std::fabs(next);
        z = next;
        if (settled) {
            // The law's critical compressibility is 1/3, so V / Vc = 3 Z Tr / Pr.
            const bool liquid = tr < 1.0 && 3.0 * z * tr < pr;
            return z > b && !liquid;
        }
    }
    return false;
}

// A density that came out as a real positive number is the result; anything else means the
// inputs lay where the formulas do not hold (no pressure, absolute zero, ...).
CalcResult Deliver(double rho, double& density)
{
    if (!(rho > 0.0) || !std::isfinite(rho))
        return CALC_INVALID_DATA;
    density = rho;
    return CALC_OK;
}

bool OnSaturationLine(double temperature)
{
    return temperature >= SATURATION_MIN_TEMPERATURE && temperature <= WATER_CRITICAL_TEMPERATURE;
}

// Water vapour below the critical temperature is steam only below the saturation pressure of
// its temperature; above the critical temperature it is a gas at any pressure.
bool IsSuperheated(double temperature, double pressure)
{
    if (!(temperature > 0.0))
        return false;
    return temperature > WATER_CRITICAL_TEMPERATURE || pressure * 100000.0 < CalculateSaturationPressure(temperature);
}

// Z within the bound; 0 stands for none.
double Bounded(double z)
{
    return z > 0.0 && z <= kMaxCompressibility ? z : 0.0;
}

double RealGasDensity(double molWeight, double z, double temperature, double pressure)
{
    return (pressure * 100.0) * molWeight / (z * (temperature * kGasConstant));
}

// --- Record helpers ----------------------------------------------------------------------------

// Which of the record's values a routine reads, in that order.
enum class Inputs { TemperatureThenPressure, PressureThenTemperature };

CalcResult ReadTemperature(const CPhysicalData& data, double& temperature)
{
    return ConvertToBaseUnit(temperature, data.Temperature.Value, data.Temperature, 0) ? CALC_OK
                                                                                        : CALC_DENSITY_UNIT_ERROR;
}

CalcResult ReadPressure(const CPhysicalData& data, double& pressure)
{
    return ConvertToBaseUnit(pressure, data.Pressure.Value, data.Pressure, data.Pressure.Reference)
               ? CALC_OK
               : CALC_DENSITY_UNIT_ERROR;
}

CalcResult ReadInputs(const CPhysicalData& data, Inputs inputs, double& temperature, double& pressure)
{
    if (inputs == Inputs::PressureThenTemperature) {
        const CalcResult code = ReadPressure(data, pressure);
        return code == CALC_OK ? ReadTemperature(data, temperature) : code;
    }
    const CalcResult code = ReadTemperature(data, temperature);
    return code == CALC_OK ? ReadPressure(data, pressure) : code;
}

// The density (kg/m3) into the record as base value and in its unit; on failure the record
// keeps its density.
CalcResult StoreDensity(CPhysicalData& data, double rho)
{
    const double base = rho / 1000.0;
    double value = 0.0;
    if (!ConvertFromBaseUnit(value, base, data.Density, data.Fluid->Type))
        return CALC_DENSITY_UNIT_ERROR;
    data.Density.BaseValue = base;
    data.Density.Value = value;
    return CALC_OK;
}

// The common course of the record routines: the record's fluid as the class the routine needs
// (CALC_NOT_ENOUGH_DATA without one, CALC_INVALID_DATA for another class), what the routine
// needs before the values (prepare: fluid -> code), the values in base units, the density
// (compute: fluid, temperature, pressure, out rho -> code) and its storing.
template <class T, class Prepare, class Compute>
CalcResult RecordDensity(CPhysicalData& data, Inputs inputs, Prepare prepare, Compute compute)
{
    if (!data.Fluid)
        return CALC_NOT_ENOUGH_DATA;
    const T* fluid = dynamic_cast<const T*>(data.Fluid.get());
    if (fluid == nullptr)
        return CALC_INVALID_DATA;
    CalcResult code = prepare(*fluid);
    double temperature = 0.0;
    double pressure = 0.0;
    if (code == CALC_OK)
        code = ReadInputs(data, inputs, temperature, pressure);
    double rho = 0.0;
    if (code == CALC_OK)
        code = compute(*fluid, temperature, pressure, rho);
    return code == CALC_OK ? StoreDensity(data, rho) : code;
}

CalcResult NothingToPrepare(const CFluid&)
{
    return CALC_OK;
}

bool IsCustomFluid(const CFluid& fluid)
{
    const bool customisable = fluid.Type == FLUID_TYPE_LIQUID || fluid.Type == FLUID_TYPE_GAS ||
                              fluid.Type == FLUID_TYPE_WET_GAS;
    return customisable && fluid.DbIndex == FLUID_INDEX_CUSTOM;
}

}  // namespace

// --- Compressibility ---------------------------------------------------------------------------

double CalculateZFactor(const CFluidGas* gas, double temperature, double pressure)
{
    if (gas == nullptr)
        return 0.0;
    const double tr = ReducedTemperature(*gas, temperature);
    const double pr = ReducedPressure(*gas, pressure);
    double z = 0.0;
    if (!RedlichKwongZ(tr, pr, z))
        return 0.0;
    const auto& c = gas->Coefficients;
    return Bounded(z + c[0] + c[1] * tr + c[2] * pr + c[3] * tr * tr + c[4] * tr * pr + c[5] * pr * pr +
                   c[6] * tr * tr * tr + c[7] * tr * pr * pr + c[8] * tr * tr * pr + c[9] * pr * pr * pr);
}

double CalculateGasMixZFactor(CFluidGas* gas, double temperature, double pressure)
{
    if (gas == nullptr)
        return 0.0;
    gas->CritPress = gas->CritZ * kGasConstantField * gas->CritTemp / gas->CritVolu;
    double z = 0.0;
    if (!RedlichKwongZ(ReducedTemperature(*gas, temperature), ReducedPressure(*gas, pressure), z))
        return 0.0;
    return Bounded(z);
}

// --- Plain numbers -----------------------------------------------------------------------------

double CalculateWaterDensity(double temperature)
{
    const double t = temperature - 273.15;
    double rho = 0.0;
    for (int k = 5; k >= 0; --k)
        rho = rho * t + kWaterDensity[k];
    return rho;
}

CalcResult CalculateLiquidWaterDensity(double temperature, double pressure, double& density)
{
    if (!(temperature >= kWaterMinTemperature && temperature <= kWaterMaxTemperature))
        return CALC_INVALID_DATA;
    if (IsLiquidWaterBoiling(temperature, pressure))
        return CALC_INVALID_DATA;
    return Deliver(CalculateWaterDensity(temperature), density);
}

bool IsLiquidWaterBoiling(double temperature, double pressure)
{
    return pressure * 100000.0 < CalculateSaturationPressure(temperature) * (1.0 - kSaturationPressureTolerance);
}

CalcResult CalculateSuperheatedSteamDensity(const CFluidGas& steam, double temperature, double pressure,
                                            double& density)
{
    if (!IsSuperheated(temperature, pressure))
        return CALC_INVALID_DATA;
    return CalculateGasDensity(steam, temperature, pressure, density);
}

CalcResult CalculateGasDensity(const CFluidGas& gas, double temperature, double pressure, double& density)
{
    const double z = CalculateZFactor(&gas, temperature, pressure);
    if (!(z > 0.0))
        return CALC_NO_Z_FACTOR;
    return Deliver(RealGasDensity(gas.MolWeight, z, temperature, pressure), density);
}

CalcResult MixGases(const CFluidGasMix& mix, const CFluidManager& fluids, CFluidGas& combined)
{
    combined.Reset();
    CFluidGas part;
    for (const GasMixElement& element : mix.Elements) {
        part.Reset();
        if (!fluids.GetFluidById(&part, element.GasId))
            return CALC_INVALID_DATA;
        const double fraction = element.Percentage / 100.0;
        combined.MolWeight += fraction * part.MolWeight;
        combined.CritTemp += fraction * part.CritTemp;
        combined.CritVolu += fraction * part.CritVolu;
        combined.CritZ += fraction * part.CritZ;
    }
    return CALC_OK;
}

CalcResult CalculateGasMixDensity(CFluidGas& combined, double temperature, double pressure, double& density)
{
    const double z = CalculateGasMixZFactor(&combined, temperature, pressure);
    if (!(z > 0.0))
        return CALC_NO_Z_FACTOR;
    return Deliver(RealGasDensity(combined.MolWeight, z, temperature, pressure), density);
}

CalcResult CalculateWetGasDensity(const CFluidWetGas& gas, const CFluidGas& vapour, const CFluidGas& air,
                                  double temperature, double pressure, double& density)
{
    const double humidity = gas.RelativeHumidity;
    if (!(humidity >= 0.0 && humidity <= 100.0))
        return CALC_INVALID_DATA;
    // Dry gas needs no saturation state, so any temperature will do.
    if (humidity > 0.0 && !OnSaturationLine(temperature))
        return CALC_INVALID_DATA;
    const double pressurePa = pressure * 100000.0;
    const double vapourPa = humidity > 0.0 ? CalculateSaturationPressure(temperature) * humidity / 100.0 : 0.0;
    // The vapour cannot carry the whole pressure: no dry gas would be left (and 100 % at or
    // above the boiling point is steam, not humid gas).
    if (!(vapourPa < pressurePa))
        return CALC_INVALID_DATA;

    const double m = gas.MolWeight / air.MolWeight;
    const double x = vapourPa / pressurePa;
    const double relativeMolarMass = m * (x * (kWaterAirMolarRatio / m - 1.0) + 1.0);
    const double zVapour = CalculateZFactor(&vapour, temperature, vapourPa / 100000.0);
    const double zDry = CalculateZFactor(&gas, temperature, (pressurePa - vapourPa) / 100000.0);
    // Each part needs its own Z: a missing one would pass unnoticed in the mean.
    if (!(zVapour > 0.0) || !(zDry > 0.0))
        return CALC_NO_Z_FACTOR;
    const double z = (1.0 - x) * zDry + x * zVapour;
    return Deliver((pressurePa / 1000.0) * kAirMolarMassOverR * relativeMolarMass / z / temperature, density);
}

CalcResult CalculateSaturatedSteamDensity(int saturationType, double& temperature, double& pressure,
                                          double& density)
{
    double rho = 0.0;
    double derived = 0.0;
    switch (saturationType) {
    case SATURATION_TEMPERATURE_GIVEN:
        if (!OnSaturationLine(temperature))
            return CALC_INVALID_DATA;
        rho = CalculateSaturatedVapourDensity(temperature);
        derived = CalculateSaturationPressure(temperature) / 100000.0;
        break;
    case SATURATION_PRESSURE_GIVEN:
        if (!CalculateSaturationStateFromPressure(pressure * 100.0, derived, rho))
            return CALC_INVALID_DATA;
        break;
    default:
        return CALC_INVALID_DATA;
    }
    const CalcResult code = Deliver(rho, density);
    if (code == CALC_OK)
        (saturationType == SATURATION_TEMPERATURE_GIVEN ? pressure : temperature) = derived;
    return code;
}

// --- The physical-data record ------------------------------------------------------------------

CalcResult CalculateDensity(CPhysicalData& data)
{
    if (!data.Fluid)
        return CALC_NOT_ENOUGH_DATA;
    const CFluid& fluid = *data.Fluid;
    // Before the validity test: a custom gas has no gas data of its own.
    if (IsCustomFluid(fluid))
        return CALC_OK | CALC_CUSTOM_FLUID;
    if (!fluid.IsValid())
        return CALC_INVALID_DATA;
    switch (fluid.Type) {
    case FLUID_TYPE_LIQUID:
        return CalculateLiquidDensity(data);
    case FLUID_TYPE_GAS:
        return CalculateGasDensity(data);
    case FLUID_TYPE_WET_GAS:
        return CalculateWetGasDensity(data);
    case FLUID_TYPE_GAS_MIX:
        return CalculateGasMixDensity(data);
    case FLUID_TYPE_SATURATED_STEAM:
        return CalculateSaturatedSteamDensity(data);
    case FLUID_TYPE_SUPERHEATED_STEAM:
        return CalculateSuperheatedSteamDensity(data);
    default:
        return CALC_INVALID_DATA;
    }
}

CalcResult CalculateLiquidDensity(CPhysicalData& data)
{
    return RecordDensity<CFluid>(
        data, Inputs::TemperatureThenPressure,
        [](const CFluid& liquid) { return liquid.DbIndex == FLUID_INDEX_WATER ? CALC_OK : CALC_INVALID_DATA; },
        [](const CFluid&, double temperature, double pressure, double& rho) {
            return CalculateLiquidWaterDensity(temperature, pressure, rho);
        });
}

CalcResult CalculateGasDensity(CPhysicalData& data)
{
    return RecordDensity<CFluidGas>(data, Inputs::PressureThenTemperature, NothingToPrepare,
                                    [](const CFluidGas& gas, double temperature, double pressure, double& rho) {
                                        return CalculateGasDensity(gas, temperature, pressure, rho);
                                    });
}

CalcResult CalculateSuperheatedSteamDensity(CPhysicalData& data)
{
    return RecordDensity<CFluidGas>(data, Inputs::PressureThenTemperature, NothingToPrepare,
                                    [](const CFluidGas& steam, double temperature, double pressure, double& rho) {
                                        return CalculateSuperheatedSteamDensity(steam, temperature, pressure, rho);
                                    });
}

CalcResult CalculateGasMixDensity(CPhysicalData& data)
{
    CFluidGas combined;
    const auto mixGases = [&combined](const CFluidGasMix& mix) {
        const CFluidManager* fluids = CFluidManager::GetInstance();
        return fluids != nullptr ? MixGases(mix, *fluids, combined) : CALC_NO_FLUID;
    };
    return RecordDensity<CFluidGasMix>(
        data, Inputs::PressureThenTemperature, mixGases,
        [&combined](const CFluidGasMix&, double temperature, double pressure, double& rho) {
            return CalculateGasMixDensity(combined, temperature, pressure, rho);
        });
}

CalcResult CalculateWetGasDensity(CPhysicalData& data)
{
    CFluidGas vapour;
    CFluidGas air;
    const auto fetchVapourAndAir = [&vapour, &air](const CFluidWetGas&) {
        const CFluidManager* fluids = CFluidManager::GetInstance();
        const bool found = fluids != nullptr && fluids->GetFluidById(&vapour, FLUID_INDEX_WATER_VAPOUR) &&
                           fluids->GetFluidById(&air, FLUID_INDEX_AIR);
        return found ? CALC_OK : CALC_NO_FLUID;
    };
    return RecordDensity<CFluidWetGas>(
        data, Inputs::TemperatureThenPressure, fetchVapourAndAir,
        [&](const CFluidWetGas& gas, double temperature, double pressure, double& rho) {
            return CalculateWetGasDensity(gas, vapour, air, temperature, pressure, rho);
        });
}

CalcResult CalculateSaturatedSteamDensity(CPhysicalData& data)
{
    const auto knownSaturationType = [](const CFluidSaturatedSteam& steam) {
        return steam.SaturationType == SATURATION_PRESSURE_GIVEN ||
                       steam.SaturationType == SATURATION_TEMPERATURE_GIVEN
                   ? CALC_OK
                   : CALC_INVALID_DATA;
    };
    return RecordDensity<CFluidSaturatedSteam>(
        data, Inputs::TemperatureThenPressure, knownSaturationType,
        [&data](const CFluidSaturatedSteam& steam, double temperature, double pressure, double& rho) {
            const int saturationType = steam.SaturationType;
            const CalcResult code = CalculateSaturatedSteamDensity(saturationType, temperature, pressure, rho);
            if (code != CALC_OK)
                return code;
            // The derived side of the line goes into the record, in its unit, before the
            // density; the saturation pressure is an absolute one whatever had been entered.
            double value = 0.0;
            if (saturationType == SATURATION_TEMPERATURE_GIVEN) {
                if (!ConvertFromBaseUnit(value, pressure, data.Pressure, REFERENCE_ABSOLUTE))
                    return CALC_DENSITY_UNIT_ERROR;
                data.Pressure.BaseValue = pressure;
                data.Pressure.Reference = REFERENCE_ABSOLUTE;
                data.Pressure.Value = value;
            } else {
                if (!ConvertFromBaseUnit(value, temperature, data.Temperature, 0))
                    return CALC_DENSITY_UNIT_ERROR;
                data.Temperature.BaseValue = temperature;
                data.Temperature.Value = value;
            }
            return CALC_OK;
        });
}
