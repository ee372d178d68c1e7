// The saturation line against IAPWS-IF97 reference values. Tolerances state how far the
// equations used here lie from IF97: the supplementary equations (Tc 647.14 K) up to 0.07 % in
// pressure, the fitted saturation temperature up to 0.06 K between 1 and 100 bar.
#include "CommonFiles/TAMBELCalculator/SteamSaturation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct LinePoint {
    double input;
    double reference;
    double tolerance;
};

}  // namespace

TEST(SteamSaturation, SaturationPressureAgainstIf97)
{
    // T in K -> p in Pa; relative tolerance.
    const LinePoint points[] = {
        {300.0, 3536.58941, 4e-4},
        {500.0, 2638897.76, 7e-4},
        {600.0, 12344314.6, 5e-4},
    };
    for (const LinePoint& p : points)
        EXPECT_NEAR(CalculateSaturationPressure(p.input) / p.reference, 1.0, p.tolerance) << p.input;
    EXPECT_NEAR(CalculateSaturationPressure(373.15), 101325.0, 1.0);
    EXPECT_NEAR(CalculateSaturationPressure(WATER_CRITICAL_TEMPERATURE), 22064000.0, 1e-6);
}

TEST(SteamSaturation, SaturationTemperatureAgainstIf97)
{
    // p in kPa -> T in K; absolute tolerance in K.
    const LinePoint points[] = {
        {100.0, 372.755919, 0.03},
        {1000.0, 453.035632, 0.001},
        {10000.0, 584.149488, 0.06},
    };
    for (const LinePoint& p : points)
        EXPECT_NEAR(CalculateSaturationTemperature(p.input), p.reference, p.tolerance) << p.input;
    EXPECT_DOUBLE_EQ(CalculateSaturationTemperature(100.0), 99.6335376239587 + 273.15);
}

TEST(SteamSaturation, VapourDensityFromTemperature)
{
    EXPECT_NEAR(CalculateSaturatedVapourDensity(373.15), 0.5975, 5e-4);
    // IF97: 453.04 K (10 bar) 5.1454 kg/m3, 584.15 K (100 bar) 55.452 kg/m3.
    EXPECT_NEAR(CalculateSaturatedVapourDensity(453.035632) / 5.1454, 1.0, 1e-3);
    EXPECT_NEAR(CalculateSaturatedVapourDensity(584.149488) / 55.452, 1.0, 2e-3);
    EXPECT_NEAR(CalculateSaturatedVapourDensity(WATER_CRITICAL_TEMPERATURE), WATER_CRITICAL_DENSITY, 1e-9);
}

TEST(SteamSaturation, VapourDensityFromPressureFollowsTheLineEverywhere)
{
    // p in kPa -> IF97 saturated vapour density in kg/m3; relative tolerance. The fitted
    // polynomial serves 50 to 6000 kPa (0.8 % low at its lower end); outside, the density at
    // the saturation temperature of the pressure equation.
    const LinePoint points[] = {
        {1.0, 0.0077409, 5e-3},  {10.0, 0.068164, 3e-3}, {50.0, 0.30863, 1e-2},  {100.0, 0.59031, 1e-2},
        {1000.0, 5.1454, 1e-3},  {6000.0, 30.818, 8e-3}, {10000.0, 55.452, 2e-3}, {15000.0, 96.711, 2e-3},
        {20000.0, 170.70, 3e-3},
    };
    for (const LinePoint& p : points)
        EXPECT_NEAR(CalculateVapourDensityFromPressure(p.input) / p.reference, 1.0, p.tolerance) << p.input;
    // The polynomial alone would give 2708 kg/m3 at 100 bar.
    EXPECT_LT(CalculateVapourDensityFromPressure(10000.0), 60.0);
}

TEST(SteamSaturation, RangeGuards)
{
    EXPECT_EQ(CalculateSaturationTemperature(0.0), 273.15);
    EXPECT_EQ(CalculateSaturationTemperature(-5.0), 273.15);
    // Off the line the fit has no saturation temperature to give (it would say 562 degC at
    // 1e-9 kPa and 14881 degC at 1e9 bar); at both ends of the line it still has one.
    for (double kPa : {1e-9, 0.6, WATER_CRITICAL_PRESSURE + 1.0, 1e11})
        EXPECT_TRUE(std::isnan(CalculateSaturationTemperature(kPa))) << kPa;
    EXPECT_NEAR(CalculateSaturationTemperature(CalculateSaturationPressure(SATURATION_MIN_TEMPERATURE) / 1000.0),
                273.15, 0.01);
    EXPECT_NEAR(CalculateSaturationTemperature(WATER_CRITICAL_PRESSURE), 648.9, 0.1);
    // The vapour density below the fitted band still finds its way onto the line.
    EXPECT_GT(CalculateVapourDensityFromPressure(0.5), 0.0);
    EXPECT_EQ(CalculateVapourDensityFromPressure(0.0), 0.0);
    EXPECT_EQ(CalculateVapourDensityFromPressure(-1.0), 0.0);
    EXPECT_NEAR(CalculateVapourDensityFromPressure(100.0), 0.586, 1e-3);

    // No saturated vapour beyond the critical point.
    EXPECT_NEAR(CalculateVapourDensityFromPressure(WATER_CRITICAL_PRESSURE), WATER_CRITICAL_DENSITY, 1e-3);
    EXPECT_EQ(CalculateVapourDensityFromPressure(WATER_CRITICAL_PRESSURE + 1.0), 0.0);
    EXPECT_EQ(CalculateSaturationPressure(WATER_CRITICAL_TEMPERATURE + 0.01), 0.0);
    EXPECT_EQ(CalculateSaturatedVapourDensity(700.0), 0.0);
    EXPECT_EQ(CalculateSaturationPressure(0.0), 0.0);
    EXPECT_EQ(CalculateSaturatedVapourDensity(-10.0), 0.0);
    EXPECT_FALSE(std::isnan(CalculateSaturatedVapourDensity(700.0)));
}
