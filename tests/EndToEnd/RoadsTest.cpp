// The real program driven from outside as a user drives it, on a display of its own with a
// window manager: menus opened and their items clicked with the pointer, dialogs answered with
// the keyboard. Each road ends with a picture of the screen ($ZEPHRIN_SCREENSHOT_DIR) and fails
// when the program died, left a crash dump or logged a critical exception.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

// Only under a window manager do the programs' windows get the keyboard when raised.
::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"EndToEndTests"}, EWindowManager::Started));

// No print server at all: the print commands must not take the program down. Print settings
// opens GTK's page setup, which is answered with Escape.
TEST_F(Road, PrintSettingsWithoutAPrintServer)
{
    const std::string main = Start({"CUPS_SERVER=" + program.Path("no-print-server.sock")});
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print settings")));
    const std::string setup = CDesktopDriver::WaitForWindow("^Page Setup$", 60);
    ASSERT_FALSE(setup.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    Screenshot("print-settings");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(setup, {"Escape"}));
    EXPECT_TRUE(program.Running());

    // Printing without a device asks for one first.
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Print")));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "Zephrin: Notice\tPlease select a device first!\n");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

TEST_F(Road, PressureLossUtilityAndAbout)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::Utilities, 0));
    const std::string utility = CDesktopDriver::WaitForWindow("^Pressure Loss Calculation Utility$");
    ASSERT_FALSE(utility.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("pressure-loss-utility");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(utility, {"Escape"}));

    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::Help, 0));
    const std::string about = CDesktopDriver::WaitForWindow("^About ");
    ASSERT_FALSE(about.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("about");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(about, {"Escape"}));
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// Liquid water sized, the first meter chosen and shown as data and as graph. Its project lists
// DN 80 and DN 100 among the sizes; its report has the first, DN 80, for liquid velocities of
// 0.35 to 9 m/s through its bore of 82.5 mm: 9 m/s *
// pi / 4 * (0.0825 m)^2 * 3600 s/h = 173.19 m3/h, 0.35 m/s likewise 6.735 m3/h.
TEST_F(Road, LiquidWaterSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(SizeLiquidWater(main));

    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("water")));
    ASSERT_FALSE(WaitForFile(program.Path("water.xml"), std::chrono::seconds(60)).empty()) << program.Messages();
    const std::vector<std::string> sizes = ProjectSizes(program, program.Path("water.xml"));
    for (const char* size : {"DN 80", "DN 100"})
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), size), sizes.end()) << size;
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, program.Path("water.pdf")));
    const std::string report = PdfText(program.Path("water.pdf"));
    EXPECT_NE(report.find("MOKADI ZR410 DN 80"), std::string::npos) << report;
    SFlowRange range;
    ASSERT_TRUE(ReportFlowRange(report, range));
    EXPECT_NEAR(range.min, 6.735, 0.0005);
    EXPECT_NEAR(range.max, 173.19, 0.005);
    EXPECT_EQ(range.unit, "m3/h");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// The updater started by hand, without the arguments the sizing program hands it, shows its
// window and ends when the window is closed.
TEST_F(Road, UpdaterStartedWithoutArguments)
{
    const std::string updater = program.Start({}, "Renovix", "^Renovix$");
    ASSERT_FALSE(updater.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    Screenshot("updater");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(updater, {"alt+F4"})) << program.Messages();
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_EQ(program.Messages(), "");
}

// Under a file-size limit of nothing at all every write that adds to a file fails, its log's
// first; the updater runs on all the same and ends as usual.
TEST_F(Road, UpdaterRunsUnderAFileSizeLimit)
{
    program.LimitFileSize(0);
    const std::string updater = program.Start({}, "Renovix", "^Renovix$");
    ASSERT_FALSE(updater.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    CDesktopDriver::Keys(updater, {"alt+F4"});
    EXPECT_EQ(program.Wait(), 0);
}

}  // namespace
