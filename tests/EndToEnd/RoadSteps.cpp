#include "EndToEnd/RoadSteps.h"

#include "support/DesktopDriver.h"
#include "support/WxTestSupport.h"

const std::vector<std::string> kFileMenu = {"Open", "Save", "-", "Save to database", "Load from database",
                                            "Database functions", "-", "Print", "Print settings", "-",
                                            "Send as Email", "Export as PDF", "-", "Exit"};

const char kMenuPopup[] = "^Zephrin$";

// As GTK lays the pages out on the test display (measured on its screenshots).
const SPoint kStateChoice{208, 258};
const SPoint kOperatingTemperature{372, 351};
const SPoint kOperatingPressure{372, 387};
const SPoint kMaximumFlow{372, 602};
const SPoint kPrintButton{180, 54};
const SPoint kCalculateButton{508, 53};
const SPoint kFirstResultRow{62, 183};
const SPoint kGraphView{524, 112};
const SPoint kDataView{601, 112};

// Item heights come from the popup's own height, so a theme's sizes do not matter.
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

void EnterField(const std::string& window, SPoint field, const std::string& text)
{
    CDesktopDriver::Click(window, field.x, field.y);
    CDesktopDriver::Keys(window, {"ctrl+a"});
    CDesktopDriver::Type(window, text);
    CDesktopDriver::Keys(window, {"Tab"});
}

void SizeLiquidWater(const std::string& main)
{
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
}

void Road::TearDown()
{
    EXPECT_EQ(program.Faults(), "");
}

std::string Road::Start(const std::vector<std::string>& variables)
{
    const std::string window = program.Start(variables);
    EXPECT_FALSE(window.empty()) << CDesktopDriver::WindowTitles() << program.Faults();
    return window;
}

void Road::Exit(const std::string& mainWindow)
{
    ChooseMenuItem(mainWindow, EMenu::File, FileItem("Exit"));
    EXPECT_EQ(program.Wait(), 0);
}
