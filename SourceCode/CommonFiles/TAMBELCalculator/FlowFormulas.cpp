#include "CommonFiles/TAMBELCalculator/FlowFormulas.h"

namespace {

// The meters' figures were always computed with this value of pi.
constexpr double kPi = 3.14159265;
// l/h in one m3/s.
constexpr double kLitresPerHourPerCubicMetrePerSecond = 3600000.0;

}  // namespace

double CalculateFlowFromVelocity(double velocity, double innerDiameter)
{
    const double c = innerDiameter / 1000.0;
    return c * (c * kPi) / 4.0 * velocity * kLitresPerHourPerCubicMetrePerSecond;
}

double CalculateVelocityFromFlow(double flow, double innerDiameter)
{
    const double c = innerDiameter / 1000.0;
    return (flow / kLitresPerHourPerCubicMetrePerSecond) * 4.0 / (c * (c * kPi));
}

double CalculatePressureLoss(double coefficient, double flow, double density)
{
    return flow * (flow * (coefficient * density)) / 100000.0;
}

double CalculateVortexFrequency(double factor, double flow)
{
    return factor * flow / 3600.0;
}

double CalculateReynoldsNumber(double density, double velocity, double viscosity, double innerDiameter)
{
    if (viscosity == 0.0)
        return 0.0;
    return density * velocity * innerDiameter / viscosity;
}

double CalculateVelocityAtReynolds(double reynolds, double density, double viscosity, double innerDiameter)
{
    if (density == 0.0 || innerDiameter == 0.0)
        return 0.0;
    return reynolds * viscosity / (density * innerDiameter);
}

double ConvertDensityNormToOperating(double normDensity, double pressure, double temperature, double z,
                                     double normTemperature, double normPressure)
{
    return normDensity * (pressure / normPressure) * (normTemperature / temperature) * (1.0 / z);
}

double ConvertDensityOperatingToNorm(double operatingDensity, double pressure, double temperature, double z,
                                     double normTemperature, double normPressure)
{
    return (normPressure / pressure) * operatingDensity * (temperature / normTemperature) * z;
}
