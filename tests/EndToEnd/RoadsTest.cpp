// The real program driven from outside as a user drives it, on a display of its own with a
// window manager: menus opened and their items clicked with the pointer, dialogs answered with
// the keyboard. Each road ends with a picture of the screen ($ZEPHRIN_SCREENSHOT_DIR) and fails
// when the program died, left a crash dump or logged a critical exception.
#include "EndToEnd/InstalledProgram.h"
#include "support/DesktopDriver.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

::testing::Environment* const wx = ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"EndToEndTests"}));

// The menu bar's titles, as their places in the main window (GTK lays them out from the left).
enum class EMenu { File = 15, Utilities = 70, Help = 130 };

// The File menu from the top: items, and separators as "-".
const std::vector<std::string> kFileMenu = {"Open", "Save", "-", "Save to database", "Load from database",
                                            "Database functions", "-", "Print", "Print settings", "-",
                                            "Send as Email", "Export as PDF", "-", "Exit"};

// The popup window GTK opens for a menu takes the program's name as its title.
const char kMenuPopup[] = "^Zephrin$";

// Opens the menu and clicks its item at the index (of kFileMenu for File; 0 for the one-item
// menus). Item heights come from the popup's own height, so a theme's sizes do not matter.
void ChooseMenuItem(const std::string& mainWindow, EMenu menu, int index)
{
    const std::vector<std::string> known = CDesktopDriver::Windows(kMenuPopup);
    CDesktopDriver::Click(mainWindow, static_cast<int>(menu), 10);
    const std::string popup = CDesktopDriver::WaitForWindow(kMenuPopup, 30, known);
    ASSERT_FALSE(popup.empty()) << CDesktopDriver::WindowTitles();
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(CDesktopDriver::Geometry(popup, x, y, width, height));
    double center = 0;
    if (menu == EMenu::File) {
        // A separator is about a quarter of an item high, the popup has a pixel of frame.
        int items = 0, separators = 0;
        for (const std::string& entry : kFileMenu)
            (entry == "-" ? separators : items)++;
        const double item = (height - 2) / (items + separators * 0.25);
        double top = 1;
        for (int at = 0; at < index; ++at)
            top += kFileMenu[at] == "-" ? item * 0.25 : item;
        center = top + item / 2;
    } else {
        center = height / 2.0;
    }
    CDesktopDriver::Click(popup, width / 2, static_cast<int>(center));
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(popup, 30));
}

int FileItem(const std::string& name)
{
    for (std::size_t at = 0; at < kFileMenu.size(); ++at) {
        if (kFileMenu[at] == name)
            return static_cast<int>(at);
    }
    return -1;
}

void Screenshot(const std::string& name)
{
    SaveScreenshot(ScreenArea(wxRect(0, 0, 1280, 1024)), "e2e-" + name);
}

class Road : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(program.Faults(), "");
    }

    // Started, its main window shown; the window's id.
    std::string Start(const std::vector<std::string>& variables = {})
    {
        const std::string window = program.Start(variables);
        EXPECT_FALSE(window.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
        return window;
    }

    // File > Exit; the program ends by itself with status 0.
    void Exit(const std::string& mainWindow)
    {
        ChooseMenuItem(mainWindow, EMenu::File, FileItem("Exit"));
        EXPECT_EQ(program.Wait(), 0);
    }

    CInstalledProgram program;
};

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

// Places in the main window's client area, as GTK lays the fluid page out.
struct SPoint {
    int x;
    int y;
};
const SPoint kStateChoice{208, 245};
const SPoint kOperatingTemperature{373, 311};
const SPoint kOperatingPressure{373, 337};
const SPoint kMaximumFlow{373, 502};
const SPoint kCalculateButton{508, 53};
// On the results page.
const SPoint kFirstResultRow{62, 169};
const SPoint kGraphView{507, 110};
const SPoint kDataView{584, 110};

// Replaces the field's text by the typed one; leaving the field takes it in.
void EnterField(const std::string& window, SPoint field, const std::string& text)
{
    CDesktopDriver::Click(window, field.x, field.y);
    CDesktopDriver::Keys(window, {"ctrl+a"});
    CDesktopDriver::Type(window, text);
    CDesktopDriver::Keys(window, {"Tab"});
}

// Liquid water sized, the first meter chosen and shown as data and as graph.
TEST_F(Road, LiquidWaterSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    // The state list: Gas, Gas mixture, Humid gas, Liquid...; its popup closed on the first.
    const std::vector<std::string> known = CDesktopDriver::Windows(kMenuPopup);
    CDesktopDriver::Click(main, kStateChoice.x, kStateChoice.y);
    const std::string popup = CDesktopDriver::WaitForWindow(kMenuPopup, 30, known);
    ASSERT_FALSE(popup.empty());
    CDesktopDriver::Click(popup, 40, 12);
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(popup, 30));
    CDesktopDriver::Keys(main, {"Down", "Down", "Down"});
    EnterField(main, kOperatingTemperature, "20");
    EnterField(main, kOperatingPressure, "5");
    EnterField(main, kMaximumFlow, "100");
    Screenshot("fluid-input");
    CDesktopDriver::Click(main, kCalculateButton.x, kCalculateButton.y);
    CDesktopDriver::Click(main, kFirstResultRow.x, kFirstResultRow.y);
    CDesktopDriver::Click(main, kDataView.x, kDataView.y);
    CDesktopDriver::Click(main, kGraphView.x, kGraphView.y);
    Screenshot("results");

    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    Exit(main);
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
