// Fluids other than water, driven as a user does: saturated steam sized from its pressure alone.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using FluidsRoad = Road;

TEST_F(FluidsRoad, SaturatedSteamSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    // The state list: Gas, Gas mixture, Humid gas, Liquid, Saturated steam...
    ChooseListItem(main, kStateChoice, 4);
    EnterField(main, kOperatingPressure, "10");
    EnterField(main, kMaximumFlow, "1000");
    Screenshot("steam-input");
    CalculateAndChooseFirstMeter(main);
    Screenshot("steam-results");
    EXPECT_EQ(program.Messages(), "");
    Exit(main);
}

}  // namespace
