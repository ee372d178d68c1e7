// Flow, velocity, pressure loss, vortex frequency, Reynolds number and the norm density.
#include "CommonFiles/TAMBELCalculator/FlowFormulas.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FlowFormulas, FlowAndVelocityWithTheMetersPi)
{
    EXPECT_NEAR(CalculateFlowFromVelocity(1.0, 100.0), 28274.33385, 1e-5);
    EXPECT_NEAR(CalculateVelocityFromFlow(28274.33385, 100.0), 1.0, 1e-9);
    EXPECT_NEAR(CalculateVelocityFromFlow(CalculateFlowFromVelocity(7.3, 52.7), 52.7), 7.3, 1e-12);
    EXPECT_TRUE(std::isinf(CalculateVelocityFromFlow(1000.0, 0.0)));
}

TEST(FlowFormulas, PressureLossAndVortexFrequency)
{
    // 10 m3/h of water through a coefficient of 2e-4: 100 x 2e-4 x 998 / 1e5 bar.
    EXPECT_NEAR(CalculatePressureLoss(2e-4, 10.0, 998.0), 1.996e-4, 1e-15);
    EXPECT_DOUBLE_EQ(CalculateVortexFrequency(7200.0, 18.0), 36.0);
}

TEST(FlowFormulas, ReynoldsNumber)
{
    // Water 998 kg/m3, 2 m/s, 1.002 mPa s, 0.1 m; base density (kg/dm3) with mm gives the same
    // number with the viscosity in Pa s.
    const double re = CalculateReynoldsNumber(998.0, 2.0, 1.002e-3, 0.1);
    EXPECT_NEAR(re, 199201.6, 0.1);
    EXPECT_NEAR(CalculateReynoldsNumber(0.998, 2.0, 1.002e-3, 100.0), re, 1e-6);
    EXPECT_EQ(CalculateReynoldsNumber(998.0, 2.0, 0.0, 0.1), 0.0);

    EXPECT_NEAR(CalculateVelocityAtReynolds(re, 998.0, 1.002e-3, 0.1), 2.0, 1e-12);
    EXPECT_EQ(CalculateVelocityAtReynolds(20000.0, 0.0, 1e-3, 0.1), 0.0);
    EXPECT_EQ(CalculateVelocityAtReynolds(20000.0, 998.0, 1e-3, 0.0), 0.0);
}

TEST(FlowFormulas, NormAndOperatingDensity)
{
    // Default reference 273 K / 1.013 bar.
    EXPECT_DOUBLE_EQ(ConvertDensityNormToOperating(1.293, 1.013, 273.0, 1.0), 1.293);
    const double operating = ConvertDensityNormToOperating(1.293, 11.0, 323.15, 0.98);
    EXPECT_NEAR(operating, 1.293 * 11.0 / 1.013 * 273.0 / 323.15 / 0.98, 1e-12);
    EXPECT_NEAR(ConvertDensityOperatingToNorm(operating, 11.0, 323.15, 0.98), 1.293, 1e-12);

    // A 15 degC / 1.01325 bar norm condition: its norm density is the density at that state.
    // The fixed reference would be 5.6 % off there.
    const double norm15 = 1.225;
    EXPECT_NEAR(ConvertDensityNormToOperating(norm15, 1.01325, 288.15, 1.0, 288.15, 1.01325), norm15, 1e-12);
    const double fixedReference = ConvertDensityNormToOperating(norm15, 1.01325, 288.15, 1.0);
    EXPECT_GT(std::fabs(fixedReference / norm15 - 1.0), 0.05);
    const double there = ConvertDensityNormToOperating(norm15, 6.0, 373.15, 0.99, 288.15, 1.01325);
    EXPECT_NEAR(ConvertDensityOperatingToNorm(there, 6.0, 373.15, 0.99, 288.15, 1.01325), norm15, 1e-12);
}
