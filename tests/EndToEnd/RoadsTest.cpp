// The real program driven from outside as a user drives it, on a display of its own with a
// window manager: menus opened and their items clicked with the pointer, dialogs answered with
// the keyboard. Each road ends with a picture of the screen ($ZEPHRIN_SCREENSHOT_DIR) and fails
// when the program died, left a crash dump or logged a critical exception.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

::testing::Environment* const wx = ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"EndToEndTests"}));

// No print server at all: the print commands must not take the program down. Print settings
// opens GTK's page setup, which is answered with Escape.
TEST_F(Road, PrintSettingsWithoutAPrintServer)
{
    const std::string main = Start({"CUPS_SERVER=" + program.Path("no-print-server.sock")});
    ASSERT_FALSE(main.empty());
    ChooseMenuItem(main, EMenu::File, FileItem("Print settings"));
    const std::string setup = CDesktopDriver::WaitForWindow("^Page Setup$", 60);
    ASSERT_FALSE(setup.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    Screenshot("print-settings");
    CDesktopDriver::Keys(setup, {"Escape"});
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow("^Page Setup$"));
    EXPECT_TRUE(program.Running());

    // Printing without a device asks for one first.
    ChooseMenuItem(main, EMenu::File, FileItem("Print"));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "Zephrin: Notice\tPlease select a device first!\n");
    Exit(main);
}

TEST_F(Road, PressureLossUtilityAndAbout)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    ChooseMenuItem(main, EMenu::Utilities, 0);
    const std::string utility = CDesktopDriver::WaitForWindow("^Pressure Loss Calculation Utility$");
    ASSERT_FALSE(utility.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("pressure-loss-utility");
    CDesktopDriver::Keys(utility, {"Escape"});
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow("^Pressure Loss Calculation Utility$"));

    ChooseMenuItem(main, EMenu::Help, 0);
    const std::string about = CDesktopDriver::WaitForWindow("^About ");
    ASSERT_FALSE(about.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("about");
    CDesktopDriver::Keys(about, {"Escape"});
    EXPECT_TRUE(CDesktopDriver::WaitForNoWindow("^About "));
    EXPECT_EQ(program.Messages(), "");
    Exit(main);
}

// Liquid water sized, the first meter chosen and shown as data and as graph.
TEST_F(Road, LiquidWaterSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    SizeLiquidWater(main);
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ExitWithoutSaving(main);
}

// The updater started by hand, without the arguments the sizing program hands it, shows its
// window and ends when the window is closed.
TEST_F(Road, UpdaterStartedWithoutArguments)
{
    const std::string updater = program.Start({}, "Renovix", "^Renovix$");
    ASSERT_FALSE(updater.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    Screenshot("updater");
    CDesktopDriver::Keys(updater, {"alt+F4"});
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(program.Messages(), "");
}

}  // namespace
