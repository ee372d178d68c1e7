// Fluids other than water, driven as a user does: saturated steam sized from its pressure alone, a
// gas mixture composed in its dialog, and the program switched to German and started again.
#include "EndToEnd/RoadSteps.h"
#include "support/DesktopDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using FluidsRoad = Road;

const char kGasMixDialog[] = "^Enter gas mix data$";
// In the gas-mix dialog: the shares of its first two gases (nitrogen, oxygen) and its OK button.
const SPoint kFirstGasShare{147, 20};
const SPoint kSecondGasShare{147, 52};
const SPoint kGasMixOk{146, 367};

// What xmllint reads from the file at the path.
std::string XmlValue(const std::string& path, const std::string& xpath)
{
    return RunTool({"xmllint", "--xpath", xpath, path});
}

// Opens the menu by its mnemonic and takes its first item, with the keyboard as a user may: the
// German menu titles lie elsewhere than the English ones.
void ChooseFirstItemByKey(const std::string& mainWindow, const std::string& mnemonic)
{
    const std::vector<std::string> known = CDesktopDriver::Windows(kMenuPopup);
    CDesktopDriver::Keys(mainWindow, {"alt+" + mnemonic});
    const std::string popup = CDesktopDriver::WaitForWindow(kMenuPopup, 30, known);
    ASSERT_FALSE(popup.empty()) << CDesktopDriver::WindowTitles();
    // The menu has the keyboard; its popup is no window the manager would activate.
    CDesktopDriver::Keys(mainWindow, {"Return"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(popup, 30));
}

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
    ExitWithoutSaving(main);
}

// A mixture of 80 % nitrogen and 20 % oxygen sized; back on the fluid page the mixture is still
// the fluid, so the project saved from there holds it with its meters.
TEST_F(FluidsRoad, GasMixtureSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    ChooseListItem(main, kStateChoice, 1);
    // Only a gas mixture has the button: its dialog shows that the state was taken.
    CDesktopDriver::Click(main, kGasMixButton.x, kGasMixButton.y);
    const std::string dialog = CDesktopDriver::WaitForWindow(kGasMixDialog);
    ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles();
    EnterField(dialog, kFirstGasShare, "80");
    EnterField(dialog, kSecondGasShare, "20");
    Screenshot("gas-mix-dialog");
    CDesktopDriver::Click(dialog, kGasMixOk.x, kGasMixOk.y);
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(dialog)) << program.Messages();

    EnterField(main, kOperatingTemperature, "20");
    EnterField(main, kOperatingPressure, "5");
    // No viscosity is computed for a mixture: the user gives it.
    EnterField(main, kViscosity, "0.018");
    EnterField(main, kMaximumFlow, "1000");
    Screenshot("gas-mix-input");
    CalculateAndChooseFirstMeter(main);
    Screenshot("gas-mix-results");

    ASSERT_TRUE(ClickAndWaitForChange(main, kFluidButton));
    Screenshot("gas-mix-fluid-page-again");
    ChooseMenuItem(main, EMenu::File, FileItem("Save"));
    ASSERT_TRUE(ChooseFile("^Select a file$", program.Path("mix"))) << CDesktopDriver::WindowTitles();
    const std::string project = program.Path("mix.xml");
    ASSERT_FALSE(WaitForFile(project, std::chrono::seconds(60)).empty()) << program.Messages();
    EXPECT_EQ(XmlValue(project, "string(/TAMBEL/PhysicalData/FluidData/@Type)"), "4\n");
    EXPECT_EQ(XmlValue(project, "count(/TAMBEL/PhysicalData/FluidData/GasMixElement)"), "2\n");
    EXPECT_EQ(XmlValue(project, "sum(/TAMBEL/PhysicalData/FluidData/GasMixElement/@Percentage)"), "100\n");
    EXPECT_NE(XmlValue(project, "count(/TAMBEL/ResultData//*)"), "0\n");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    Exit(main);
}

// German chosen on the configuration page takes effect at the next start, in the same program
// folder: its menus, dialogs, pages and the numbers of its report are German then.
TEST_F(FluidsRoad, GermanAfterARestart)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_TRUE(ClickAndWaitForChange(main, kConfigurationButton));
    // The languages: English, Deutsch.
    ChooseListItem(main, kLanguageChoice, 1);
    Screenshot("language-chosen");
    // Leaving the page takes the language over.
    ASSERT_TRUE(ClickAndWaitForChange(main, kFluidButton));
    const std::string notice = "Zephrin: Notice\tThe new language will get activated upon next program start.\n";
    EXPECT_TRUE(WaitForMessage(notice));
    EXPECT_EQ(program.Messages(), notice);
    Exit(main);
    EXPECT_NE(ReadWholeFile(program.Path("Zephrin.cfg")).find("language=\"de\""), std::string::npos);

    main = Start();
    ASSERT_FALSE(main.empty());
    // Hilfe > About.
    ChooseFirstItemByKey(main, "h");
    const std::string about = CDesktopDriver::WaitForWindow("^Über QMR Vortex Sizing$");
    ASSERT_FALSE(about.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("de-about");
    CDesktopDriver::Keys(about, {"Escape"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(about));

    EnterLiquidWater(main);
    Screenshot("de-fluid-input");
    CalculateAndChooseFirstMeter(main, kGermanCalculateButton);
    ASSERT_TRUE(ClickAndWaitForChange(main, kGermanDataView));
    Screenshot("de-results-data");
    ASSERT_TRUE(ClickAndWaitForChange(main, kGermanGraphView));
    Screenshot("de-results-graph");

    ChooseMenuItem(main, EMenu::File, FileItem("Export as PDF"));
    ASSERT_TRUE(ChooseFile("^Als PDF exportieren$", program.Path("bericht"))) << CDesktopDriver::WindowTitles();
    const std::string report = PdfText(program.Path("bericht.pdf"));
    ASSERT_FALSE(report.empty()) << program.Messages();
    // German names and decimal commas.
    for (const char* expected : {"Wasser", "20,0 \u00b0C", "5,0 bar rel.", "100,0 m3/h"})
        EXPECT_NE(report.find(expected), std::string::npos) << expected << " in\n" << report;
    ASSERT_TRUE(ClickAndWaitForChange(main, kGermanConfigurationButton));
    Screenshot("de-configuration");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), notice);
    ExitWithoutSaving(main);
}

}  // namespace
