#include "CommonFiles/TAMBELCalculator/PressureLossCalculator.h"

#include <cmath>
#include <cstddef>

namespace {

constexpr double kPi = 3.14159265;
// The roughness of the units database is in feet.
constexpr double kFeetPerMetre = 0.3048;
// l/h to m3/s.
constexpr double kFlowToSi = 3600000.0;
// Pa to bar.
constexpr double kPascalPerBar = 100000.0;
constexpr double kDegreesPerRadian = 57.29577957855229;

struct SAngleK {
    float angle;
    float k;
};

constexpr SAngleK kExpanderTable[] = {{0.0f, 0.6f},   {5.0f, 0.29f},  {22.0f, 0.8f},  {43.0f, 1.08f},
                                      {55.0f, 1.18f}, {73.0f, 1.24f}, {90.0f, 1.21f}, {180.0f, 1.03f}};
constexpr SAngleK kReducerTable[] = {{0.0f, 0.0f}, {30.0f, 0.02f}, {45.0f, 0.04f}, {180.0f, 0.31f}};

// Linear in single precision, as the tables hold it; 0 outside the table.
template <std::size_t N>
double Interpolate(const SAngleK (&table)[N], float angle)
{
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const SAngleK& low = table[i];
        const SAngleK& high = table[i + 1];
        if (low.angle <= angle && angle <= high.angle)
            return (angle - low.angle) * (high.k - low.k) / (high.angle - low.angle) + low.k;
    }
    return 0.0;
}

double Flow(const CPressureLossCalculator::SInput& input)
{
    return input.flow / kFlowToSi;
}

}  // namespace

double CPressureLossCalculator::FrictionFactor(double relativeRoughness)
{
    const double root = -0.5 / std::log10(relativeRoughness / 3.7);
    return root * root;
}

double CPressureLossCalculator::LossCoefficient(EPipeType type, double largerDiameter, double smallerDiameter,
                                                double halfAngle)
{
    if (halfAngle > 60.0) {
        const double k = 1.0 - smallerDiameter * smallerDiameter / (largerDiameter * largerDiameter);
        return type == EPipeType::Expander ? k * k : k * static_cast<double>(0.42f);
    }
    const float fullAngle = static_cast<float>(2.0 * halfAngle);
    return type == EPipeType::Expander ? Interpolate(kExpanderTable, fullAngle) : Interpolate(kReducerTable, fullAngle);
}

CPressureLossCalculator::SResult CPressureLossCalculator::Calculate(const SInput& input)
{
    SResult result;
    const bool roughness = input.roughness > 0.0;
    const double q = Flow(input);
    const double d1 = input.largerDiameter;
    const bool straight = input.type == EPipeType::Straight;
    // Written so that a NaN fails too.
    if (!(d1 > 0.0))
        result.error = EError::LargerDiameter;
    else if (!straight && !(input.smallerDiameter > 0.0 && input.smallerDiameter < d1))
        // The apex distance below divides by D1 - D2, and a larger D2 has no cone angle.
        result.error = EError::SmallerDiameter;
    else if ((straight || !input.angleMode) && !(input.length > 0.0))
        result.error = EError::Length;
    else if (!straight && input.angleMode && !(input.angle > 0.0 && input.angle < 90.0))
        result.error = EError::Angle;
    else if (!(input.density > 0.0))
        result.error = EError::Density;
    else if (!(input.flow > 0.0))
        result.error = EError::Flow;
    if (result.error != EError::None)
        return result;

    if (straight) {
        result.frictionFactor = roughness ? FrictionFactor(input.roughness / (d1 / kFeetPerMetre)) : input.frictionFactor;
        result.pressureLoss =
            (q * q * (input.density * 1000.0 * 8.0 * result.frictionFactor * input.length) / kPi / kPi) /
            std::pow(d1, 5) / kPascalPerBar;
        return result;
    }

    const double d2 = input.smallerDiameter;
    result.frictionFactor =
        roughness ? FrictionFactor(input.roughness / (d1 + d2) * kFeetPerMetre * 2.0) : input.frictionFactor;

    // l: from the cone's apex to its small end; length: the fitting's own length. In angle
    // mode both follow from the angle, the length field is not in use then.
    double l;
    double length;
    double halfAngle;
    if (input.angleMode) {
        const double tangent = std::tan(input.angle * kPi / 180.0);
        l = (d2 / 2.0) / tangent;
        length = ((d1 - d2) / 2.0) / tangent;
        halfAngle = input.angle;
    } else {
        length = input.length;
        l = length * d2 / (d1 - d2);
        halfAngle = std::atan(d2 / (2.0 * l)) * kDegreesPerRadian;
    }

    const double friction = (std::pow(l, 5) * (q * q * (2000.0 * input.density * result.frictionFactor)) / kPi / kPi) /
                            std::pow(d2, 5) * (1.0 / std::pow(l, 4) - 1.0 / std::pow(length + l, 4));
    const double inletDiameter = input.type == EPipeType::Expander ? d2 : d1;
    const double velocity = q / 0.7853981625 / (inletDiameter * inletDiameter);
    const double k = LossCoefficient(input.type, d1, d2, halfAngle);
    result.pressureLoss = (velocity * velocity * (input.density * 1000.0 * k * 0.5) + friction) / kPascalPerBar;
    return result;
}
