// Viscosities from the shipped property tables and the calculator's log lines.
#include "CalcFixtures.h"
#include "CommonFiles/TAMBELCalculator/FluidViscosity.h"
#include "EngineTestSupport.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(FluidViscosity, SteamOfEitherKindIsWaterVapour)
{
    ASSERT_NE(ShippedFluids(), nullptr);
    int extrapolated = -1;
    const double vapour = CalculateFluidViscosity(FLUID_TYPE_GAS, FLUID_INDEX_WATER_VAPOUR, 10.0, 250.0, extrapolated);
    EXPECT_DOUBLE_EQ(vapour, 0.01806);
    EXPECT_EQ(extrapolated, 0);
    for (int type : {FLUID_TYPE_SATURATED_STEAM, FLUID_TYPE_SUPERHEATED_STEAM}) {
        for (int id : {static_cast<int>(FLUID_INDEX_CUSTOM), static_cast<int>(FLUID_INDEX_AIR), -1}) {
            extrapolated = -1;
            EXPECT_DOUBLE_EQ(CalculateFluidViscosity(type, id, 10.0, 250.0, extrapolated), vapour) << type << " " << id;
            EXPECT_EQ(extrapolated, 0);
        }
    }
}

TEST(FluidViscosity, OnlyWaterVapourExtendsToItsNearestPressure)
{
    ASSERT_NE(ShippedFluids(), nullptr);
    int extrapolated = -1;
    const double edge = CalculateFluidViscosity(FLUID_TYPE_SUPERHEATED_STEAM, 1000, 200.0, 250.0, extrapolated);
    EXPECT_EQ(extrapolated, 0);
    EXPECT_DOUBLE_EQ(CalculateFluidViscosity(FLUID_TYPE_SUPERHEATED_STEAM, 1000, 400.0, 250.0, extrapolated), edge);
    EXPECT_EQ(extrapolated, 1);

    // Methane's table ends at 200 bar: no value beyond.
    EXPECT_EQ(CalculateFluidViscosity(FLUID_TYPE_GAS, 5, 400.0, 20.0, extrapolated), -1.0);
    EXPECT_EQ(extrapolated, 0);
    EXPECT_DOUBLE_EQ(CalculateFluidViscosity(FLUID_TYPE_GAS, 5, 50.0, 20.0, extrapolated), 0.01174);
}

TEST(FluidViscosity, LiquidsIgnoreThePressure)
{
    ASSERT_NE(ShippedFluids(), nullptr);
    int extrapolated = -1;
    for (double bar : {1.0, 40.0, 1e6}) {
        EXPECT_DOUBLE_EQ(CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, bar, 20.0, extrapolated), 1.002)
            << bar;
        EXPECT_EQ(extrapolated, 0);
    }
    // Between table temperatures: linear.
    EXPECT_NEAR(CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 1.0, 12.5, extrapolated),
                (1.306 + 1.138) / 2.0, 1e-12);
}

TEST(FluidViscosity, NoValueGivesMinusOne)
{
    ASSERT_NE(ShippedFluids(), nullptr);
    int extrapolated = -1;
    EXPECT_EQ(CalculateFluidViscosity(FLUID_TYPE_GAS, FLUID_INDEX_CUSTOM, 1.0, 20.0, extrapolated), -1.0);
    EXPECT_EQ(extrapolated, 0);
    EXPECT_EQ(CalculateFluidViscosity(FLUID_TYPE_LIQUID, -3, 1.0, 20.0, extrapolated), -1.0);
    EXPECT_EQ(CalculateFluidViscosity(FLUID_TYPE_GAS, 4711, 1.0, 20.0, extrapolated), -1.0);  // no table
    EXPECT_EQ(CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 1.0, 900.0, extrapolated), -1.0);
    // No gas at an absolute pressure of 0 or less, though water vapour's table would answer
    // it with its nearest pressure.
    for (int type : {FLUID_TYPE_SUPERHEATED_STEAM, FLUID_TYPE_SATURATED_STEAM, FLUID_TYPE_GAS}) {
        for (double bar : {-1.0, 0.0}) {
            EXPECT_EQ(CalculateFluidViscosity(type, FLUID_INDEX_WATER_VAPOUR, bar, 250.0, extrapolated), -1.0)
                << type << " " << bar;
            EXPECT_EQ(extrapolated, 0);
        }
    }
}

TEST(FluidViscosity, LogsItsStepsOnTheJniChannel)
{
    ASSERT_NE(ShippedFluids(), nullptr);
    const CTemporaryFolder folder;
    const std::string path = folder.Path("viscosity.log");
    CLogManager* manager = CLogManager::GetInstance();
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(manager->Open(path.c_str(), LOGLEVEL_TRACE));
    manager->SetFormat("$LOGGER|$FILE|$LEVEL|$MESSAGE");
    int extrapolated = 0;
    CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_CUSTOM, 1.5, 20.0, extrapolated);
    CalculateFluidViscosity(FLUID_TYPE_LIQUID, FLUID_INDEX_WATER, 1.5, 20.0, extrapolated);
    manager->Close();
    const std::string lines = ReadWholeFile(path);

    const std::string prefix = "JNI|FluidViscosity.cpp|trace|CalculateFluidViscosity: ";
    EXPECT_NE(lines.find(prefix + "fluidType=1 fluidId=9999 pressure=1.500000 temperature=20.000000\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find(prefix + "wrong fluidId\n"), std::string::npos) << lines;
    EXPECT_NE(lines.find(prefix + "viscosity=1.002000\n"), std::string::npos) << lines;
}
