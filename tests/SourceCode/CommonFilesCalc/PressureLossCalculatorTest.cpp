#include "CommonFiles/TAMBELCalculator/PressureLossCalculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Calc = CPressureLossCalculator;
using EPipeType = Calc::EPipeType;
using EError = Calc::EError;

Calc::SInput Cone(EPipeType type, double d1, double d2)
{
    Calc::SInput input;
    input.type = type;
    input.frictionFactor = 0.02;
    input.density = 1.0;
    input.flow = 1000.0;
    input.largerDiameter = d1;
    input.smallerDiameter = d2;
    input.length = 0.1;
    return input;
}

TEST(PressureLossCalculator, FrictionFactorOfRelativeRoughness)
{
    EXPECT_NEAR(Calc::FrictionFactor(0.001), 0.0196354659, 1e-10);
}

TEST(PressureLossCalculator, StraightPipeWithGivenFrictionFactor)
{
    Calc::SInput input;
    input.density = 1.0;
    input.length = 1.0;
    input.flow = 1000.0;
    input.largerDiameter = 0.05;
    input.frictionFactor = 0.02;
    const Calc::SResult result = Calc::Calculate(input);
    EXPECT_EQ(result.error, EError::None);
    EXPECT_DOUBLE_EQ(result.frictionFactor, 0.02);
    EXPECT_NEAR(result.pressureLoss, 4.0028e-05, 1e-9);
}

TEST(PressureLossCalculator, RoughnessReplacesTheGivenFrictionFactor)
{
    Calc::SInput input;
    input.density = 1.0;
    input.length = 1.0;
    input.flow = 1000.0;
    input.largerDiameter = 0.3048;  // roughness / diameter in feet = roughness
    input.roughness = 0.001;
    input.frictionFactor = 0.5;
    EXPECT_NEAR(Calc::Calculate(input).frictionFactor, 0.0196354659, 1e-10);

    Calc::SInput cone = Cone(EPipeType::Expander, 0.4, 0.2);
    cone.roughness = 0.001;
    // Relative roughness 2 * 0.3048 * epsilon / (D1 + D2) = 0.001.
    cone.largerDiameter = 0.6096 - 0.2;
    EXPECT_NEAR(Calc::Calculate(cone).frictionFactor, 0.0196354659, 1e-10);
}

struct SLossCase {
    EPipeType type;
    double halfAngle;
    double expected;
};

class LossCoefficientTable : public testing::TestWithParam<SLossCase> {};

TEST_P(LossCoefficientTable, InterpolatesAtTheFullAngleOrTakesTheSuddenChange)
{
    const SLossCase& c = GetParam();
    EXPECT_NEAR(Calc::LossCoefficient(c.type, 0.1, 0.05, c.halfAngle), c.expected, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LossCoefficientTable,
    testing::Values(SLossCase{EPipeType::Expander, 60.0, 1.15}, SLossCase{EPipeType::Reducer, 60.0, 0.19},
                    SLossCase{EPipeType::Expander, 5.0, 0.44}, SLossCase{EPipeType::Expander, 0.0, 0.6},
                    SLossCase{EPipeType::Reducer, 15.0, 0.02},
                    // Above 60 degrees: (1 - 0.25)^2 and 0.75 times 0.42 in single precision.
                    SLossCase{EPipeType::Expander, 60.1, 0.5625},
                    SLossCase{EPipeType::Reducer, 60.1, 0.75 * 0.41999998688697815}));

TEST(PressureLossCalculator, ConeInLengthModeAddsFrictionToTheInletVelocityLoss)
{
    const Calc::SInput input = Cone(EPipeType::Reducer, 0.1, 0.05);
    const Calc::SResult result = Calc::Calculate(input);
    ASSERT_EQ(result.error, EError::None);
    // Half angle atan(0.025 / 0.1), K from the reducer table, velocity in the larger bore.
    const double halfAngle = std::atan(0.25) * 57.29577957855229;
    const double k = Calc::LossCoefficient(EPipeType::Reducer, 0.1, 0.05, halfAngle);
    const double q = 1000.0 / 3600000.0;
    const double v = q / 0.7853981625 / 0.01;
    const double l = 0.1;
    const double friction = std::pow(l, 5) * q * q * 2000.0 * 0.02 / 3.14159265 / 3.14159265 / std::pow(0.05, 5) *
                            (1 / std::pow(l, 4) - 1 / std::pow(0.2, 4));
    EXPECT_NEAR(result.pressureLoss, (v * v * 1000.0 * k * 0.5 + friction) / 100000.0, 1e-15);
}

TEST(PressureLossCalculator, AngleModeDerivesTheLengthFromTheAngle)
{
    Calc::SInput byLength = Cone(EPipeType::Expander, 0.1, 0.05);
    byLength.length = 0.025 / std::tan(10.0 * 3.14159265 / 180.0);
    Calc::SInput byAngle = Cone(EPipeType::Expander, 0.1, 0.05);
    byAngle.angleMode = true;
    byAngle.angle = 10.0;
    byAngle.length = 123.0;  // the disabled field's stale value
    const Calc::SResult expected = Calc::Calculate(byLength);
    const Calc::SResult result = Calc::Calculate(byAngle);
    ASSERT_EQ(result.error, EError::None);
    EXPECT_NEAR(result.pressureLoss, expected.pressureLoss, 1e-12);
}

TEST(PressureLossCalculator, RefusesConesWithoutACone)
{
    struct SCase {
        double d2;
        bool angleMode;
        double angle;
        EError error;
    } cases[] = {
        {0.1, false, 0.0, EError::SmallerDiameter},  {0.2, false, 0.0, EError::SmallerDiameter},
        {0.0, false, 0.0, EError::SmallerDiameter},  {0.1, true, 30.0, EError::SmallerDiameter},
        {0.05, true, 0.0, EError::Angle},            {0.05, true, -5.0, EError::Angle},
        {0.05, true, 90.0, EError::Angle},
    };
    for (const SCase& c : cases) {
        for (EPipeType type : {EPipeType::Expander, EPipeType::Reducer}) {
            Calc::SInput input = Cone(type, 0.1, c.d2);
            input.angleMode = c.angleMode;
            input.angle = c.angle;
            const Calc::SResult result = Calc::Calculate(input);
            EXPECT_EQ(result.error, c.error) << c.d2 << " " << c.angle;
            EXPECT_EQ(result.pressureLoss, 0.0);
        }
    }
}

// Density, flow, larger diameter and length (where the length is used) must be above 0; NaN
// stands for a field left empty. The first failing input in the dialog's order is named.
TEST(PressureLossCalculator, NamesTheFirstInputThatIsMissingZeroOrNegative)
{
    const double nan = std::nan("");
    struct SCase {
        const char* name;
        double Calc::SInput::*input;
        EError error;
    } cases[] = {
        {"density", &Calc::SInput::density, EError::Density},
        {"flow", &Calc::SInput::flow, EError::Flow},
        {"larger diameter", &Calc::SInput::largerDiameter, EError::LargerDiameter},
        {"length", &Calc::SInput::length, EError::Length},
    };
    for (const SCase& c : cases) {
        for (EPipeType type : {EPipeType::Straight, EPipeType::Expander, EPipeType::Reducer}) {
            for (double value : {0.0, -1.0, nan}) {
                SCOPED_TRACE(std::string(c.name) + " " + std::to_string(value) + " type " +
                             std::to_string(static_cast<int>(type)));
                Calc::SInput input = Cone(type, 0.1, 0.05);
                input.*c.input = value;
                const Calc::SResult result = Calc::Calculate(input);
                // A cone whose larger diameter is none has no smaller one below it either; the
                // larger is named first.
                EXPECT_EQ(result.error, c.error);
                EXPECT_EQ(result.pressureLoss, 0.0);
            }
        }
    }
    // Of two that are missing, the one the dialog shows higher up is named: the dimensions from
    // the top, then density, then flow.
    const std::vector<double Calc::SInput::*> dialogOrder = {&Calc::SInput::largerDiameter, &Calc::SInput::length,
                                                            &Calc::SInput::density, &Calc::SInput::flow};
    const EError errors[] = {EError::LargerDiameter, EError::Length, EError::Density, EError::Flow};
    for (std::size_t upper = 0; upper < dialogOrder.size(); ++upper) {
        for (std::size_t lower = upper + 1; lower < dialogOrder.size(); ++lower) {
            for (EPipeType type : {EPipeType::Straight, EPipeType::Reducer}) {
                SCOPED_TRACE(std::to_string(upper) + " above " + std::to_string(lower));
                Calc::SInput input = Cone(type, 0.1, 0.05);
                input.*dialogOrder[upper] = 0.0;
                input.*dialogOrder[lower] = 0.0;
                EXPECT_EQ(Calc::Calculate(input).error, errors[upper]);
            }
        }
    }
    // A cone's smaller diameter and its angle lie between the larger diameter and the density.
    Calc::SInput input = Cone(EPipeType::Expander, 0.1, 0.05);
    input.angleMode = true;
    input.angle = 95.0;
    input.density = 0.0;
    input.flow = 0.0;
    EXPECT_EQ(Calc::Calculate(input).error, EError::Angle);
    input.smallerDiameter = 0.2;
    EXPECT_EQ(Calc::Calculate(input).error, EError::SmallerDiameter);
    // In angle mode the length is not used.
    Calc::SInput byAngle = Cone(EPipeType::Expander, 0.1, 0.05);
    byAngle.angleMode = true;
    byAngle.angle = 10.0;
    byAngle.length = 0.0;
    EXPECT_EQ(Calc::Calculate(byAngle).error, EError::None);
}

}  // namespace
