#include "CommonFiles/TAMBELCalculator/SteamSaturation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kCriticalPressurePa = WATER_CRITICAL_PRESSURE * 1000.0;

// Vapour density polynomial in kPa, c[0] first.
const double kVapourDensity[] = {
    0.0191054918956025,    0.00582090242908238,  -1.70423092210265e-06, 1.84833497415513e-09,
    -1.25363582051729e-12, 5.37627919079736e-16, -1.44248490064094e-19, 2.3434252493745e-23,
    -2.10478440205757e-27, 8.0129431063838e-32,
};
// Where that polynomial follows the saturation line; beyond it runs off (2708 kg/m3 at 100 bar).
constexpr double kVapourDensityFitLow = 50.0;    // kPa
constexpr double kVapourDensityFitHigh = 6000.0;  // kPa

// Saturation temperature in degC over ln(bar), d[0] first.
const double kSaturationTemperature[] = {
    99.6335376239587,   27.9463068437166,    2.39673815171688,   0.212965548829694,
    0.018154314423216, 0.00122579824550853, 4.09631685611618e-05,
};

bool InFittedBand(double pressure)
{
    return pressure >= kVapourDensityFitLow && pressure <= kVapourDensityFitHigh;
}

bool HasSaturationState(double temperature)
{
    return temperature > 0.0 && temperature <= WATER_CRITICAL_TEMPERATURE;
}

double Tau(double temperature)
{
    return 1.0 - temperature / WATER_CRITICAL_TEMPERATURE;
}

// The saturation pressure equation ln(p / pc) = (Tc / T) x sum, the sum over powers of tau
// (1, 1.5, 3, 3.5, 4, 7.5) and its derivative by tau; the half powers share one square root.
struct PressureSeries {
    explicit PressureSeries(double tau)
    {
        const double root = std::sqrt(tau);
        const double t2 = tau * tau;
        const double t3 = t2 * tau;
        const double t6 = t3 * t3;
        sum = -7.85823 * tau + 1.83991 * tau * root - 11.7811 * t3 + 22.6705 * t3 * root - 15.9393 * t2 * t2 +
              1.77516 * t6 * tau * root;
        derivative = -7.85823 + 1.5 * 1.83991 * root - 3.0 * 11.7811 * t2 + 3.5 * 22.6705 * t2 * root -
                     4.0 * 15.9393 * t3 + 7.5 * 1.77516 * t6 * root;
    }
    double sum;
    double derivative;
};

// The temperature at which the saturation pressure equation gives the pressure (Pa, above 0
// and at most critical): Newton on ln p from the polynomial's temperature.
double SaturationTemperatureOnLine(double pressurePa)
{
    const double target = std::log(pressurePa / kCriticalPressurePa);
    const double start = CalculateSaturationTemperature(pressurePa / 1000.0);
    double t = std::isnan(start) ? SATURATION_MIN_TEMPERATURE : std::min(start, WATER_CRITICAL_TEMPERATURE);
    for (int i = 0; i < 50; ++i) {
        const PressureSeries series(Tau(t));
        const double f = WATER_CRITICAL_TEMPERATURE / t * series.sum - target;
        // d/dT of (Tc / T) sum(tau), with dtau/dT = -1 / Tc.
        const double df = -WATER_CRITICAL_TEMPERATURE / (t * t) * series.sum - series.derivative / t;
        const double next = std::min(std::max(t - f / df, 0.5 * t), WATER_CRITICAL_TEMPERATURE);
        if (std::fabs(next - t) <= 1e-12 * t)
            return next;
        t = next;
    }
    return t;
}

// The saturation pressure at the lowest temperature on the line, in kPa.
double SaturationMinPressure()
{
    static const double lowest = CalculateSaturationPressure(SATURATION_MIN_TEMPERATURE) / 1000.0;
    return lowest;
}

}  // namespace

double CalculateSaturationPressure(double temperature)
{
    if (!HasSaturationState(temperature))
        return 0.0;
    const double sum = PressureSeries(Tau(temperature)).sum;
    return kCriticalPressurePa * std::exp((WATER_CRITICAL_TEMPERATURE / temperature) * sum);
}

double CalculateSaturatedVapourDensity(double temperature)
{
    if (!HasSaturationState(temperature))
        return 0.0;
    const double tau = Tau(temperature);
    const double sixth = std::pow(tau, 1.0 / 6.0);
    const double third = sixth * sixth;
    return WATER_CRITICAL_DENSITY * std::exp(-2.02957 * third - 2.68781 * third * third -
                                             5.38107 * std::pow(third, 4.0) - 17.3151 * tau * tau * tau -
                                             44.6384 * std::pow(sixth, 37.0) - 64.3486 * std::pow(sixth, 71.0));
}

double CalculateVapourDensityFromPressure(double pressure)
{
    if (pressure <= 0.0 || pressure > WATER_CRITICAL_PRESSURE)
        return 0.0;
    if (!InFittedBand(pressure))
        return CalculateSaturatedVapourDensity(SaturationTemperatureOnLine(pressure * 1000.0));
    double rho = 0.0;
    for (int k = 9; k >= 0; --k)
        rho = rho * pressure + kVapourDensity[k];
    return rho;
}

bool CalculateSaturationStateFromPressure(double pressure, double& temperature, double& density)
{
    if (!(pressure >= SaturationMinPressure() && pressure <= WATER_CRITICAL_PRESSURE))
        return false;
    if (InFittedBand(pressure)) {
        temperature = CalculateSaturationTemperature(pressure);
        density = CalculateVapourDensityFromPressure(pressure);
    } else {
        temperature = SaturationTemperatureOnLine(pressure * 1000.0);
        density = CalculateSaturatedVapourDensity(temperature);
    }
    return true;
}

double CalculateSaturationTemperature(double pressure)
{
    const double bar = pressure / 100.0;
    if (bar <= 0.0)
        return 273.15;
    // Off the saturation line the polynomial in ln(bar) still gives numbers (562 degC at
    // 1e-9 kPa), none of them a saturation temperature.
    if (!(pressure >= SaturationMinPressure() && pressure <= WATER_CRITICAL_PRESSURE))
        return std::numeric_limits<double>::quiet_NaN();
    const double l = std::log(bar);
    double t = 0.0;
    for (int k = 6; k >= 0; --k)
        t = t * l + kSaturationTemperature[k];
    return t + 273.15;
}
