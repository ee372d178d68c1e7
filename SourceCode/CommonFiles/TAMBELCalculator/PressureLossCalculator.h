// The pressure loss of a fluid through a straight pipe run or a conical expander or reducer,
// in base units (density kg/dm3, volume flow l/h, lengths m, angles degree, result bar). The
// pressure-loss utility dialog reads its fields into an input and shows the result.
#pragma once

class CPressureLossCalculator {
public:
    enum class EPipeType { Straight, Expander, Reducer };

    // The first input that gives no pressure loss, in the order the dialog shows them: the
    // dimensions from the top, then density and flow below them.
    enum class EError {
        None,
        // Larger diameter, density and flow must be above 0, as must the length of a straight
        // pipe or of a fitting given by its length.
        LargerDiameter,
        // A fitting needs a smaller diameter above 0 and below the larger one.
        SmallerDiameter,
        Length,
        // In angle mode the half angle must lie above 0 and below 90 degrees.
        Angle,
        Density,
        Flow,
    };

    struct SInput {
        EPipeType type = EPipeType::Straight;
        // A fitting given by its half angle instead of its length.
        bool angleMode = false;
        // The material's roughness; 0 or less: the friction factor below is used.
        double roughness = 0.0;
        double frictionFactor = 0.0;
        double density = 0.0;
        double flow = 0.0;
        double largerDiameter = 0.0;
        double smallerDiameter = 0.0;
        double length = 0.0;
        double angle = 0.0;
    };

    struct SResult {
        EError error = EError::None;
        // The friction factor used: the roughness's or the given one.
        double frictionFactor = 0.0;
        double pressureLoss = 0.0;
    };

    static SResult Calculate(const SInput& input);

    // The friction factor of a relative roughness (roughness per diameter).
    static double FrictionFactor(double relativeRoughness);
    // The loss coefficient of a cone from its half angle in degrees: the sudden expansion or
    // contraction above 60 degrees, else the fitting's table at the full angle.
    static double LossCoefficient(EPipeType type, double largerDiameter, double smallerDiameter, double halfAngle);
};
