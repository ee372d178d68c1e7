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
const SPoint kFirstGasShare{147, 24};
const SPoint kSecondGasShare{147, 63};
const SPoint kGasMixOk{146, 438};

// What xmllint reads from the file at the path.
std::string XmlValue(const std::string& path, const std::string& xpath)
{
    return RunTool({"xmllint", "--xpath", xpath, path}).output;
}

// Opens the menu by its mnemonic and takes its first item, with the keyboard as a user may: the
// German menu titles lie elsewhere than the English ones.
void ChooseFirstItemByKey(const std::string& mainWindow, const std::string& mnemonic)
{
    std::string popup;
    ASSERT_TRUE(CDesktopDriver::KeysOpening(mainWindow, {"alt+" + mnemonic}, kMenuPopup, popup, 30));
    // The menu has the keyboard; its popup is no window the manager would activate.
    CDesktopDriver::Keys(mainWindow, {"Return"});
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(popup, 30));
}

// Saturated steam at 10 bar gauge and 1000 m3/h: every size is listed, and the first, DN 80, is
// good for gas velocities of 2 to 75 m/s through its bore of 82.5 mm. Worked out by hand:
// pi / 4 * (0.0825 m)^2 = 0.0053456 m2, times 3600 s/h = 19.244 m3/h per m/s, so 38.49 to
// 1443.3 m3/h.
TEST_F(FluidsRoad, SaturatedSteamSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    // The state list: Gas, Gas mixture, Humid gas, Liquid, Saturated steam...
    ASSERT_NO_FATAL_FAILURE(ChooseListItem(main, kStateChoice, 4));
    EnterField(main, kOperatingPressure, "10");
    EnterField(main, kMaximumFlow, "1000");
    Screenshot("steam-input");
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    Screenshot("steam-results");

    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("steam")));
    ASSERT_FALSE(WaitForFile(program.Path("steam.xml"), std::chrono::seconds(60)).empty()) << program.Messages();
    EXPECT_EQ(ProjectSizes(program, program.Path("steam.xml")),
              (std::vector<std::string>{"DN 15", "DN 25", "DN 40", "DN 50", "DN 80", "DN 100", "DN 150", "DN 200",
                                        "DN 250", "DN 300"}));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Export as PDF", kPdfDialog, program.Path("steam.pdf")));
    const std::string report = PdfText(program.Path("steam.pdf"));
    EXPECT_NE(report.find("saturated steam"), std::string::npos) << report;
    EXPECT_NE(report.find("MOKADI ZR410 DN 80"), std::string::npos) << report;
    SFlowRange range;
    ASSERT_TRUE(ReportFlowRange(report, range));
    EXPECT_NEAR(range.min, 38.49, 0.01);
    EXPECT_NEAR(range.max, 1443.3, 0.1);
    EXPECT_EQ(range.unit, "m3/h");
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// The gas-mix dialog opened from its button; the button appears only once the page shows a
// mixture, so a click that came before it is given again. Its window's id.
std::string OpenGasMixDialog(const std::string& mainWindow)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        CDesktopDriver::Click(mainWindow, kGasMixButton.x, kGasMixButton.y);
        const std::string dialog = CDesktopDriver::WaitForWindow(kGasMixDialog, 20);
        if (!dialog.empty())
            return dialog;
    }
    return std::string();
}

// A mixture of 80 % nitrogen and 20 % oxygen typed into the gas-mix dialog, and the operating
// point beside it on the fluid page.
void EnterNitrogenAndOxygen(const std::string& main, const CInstalledProgram& program)
{
    ASSERT_NO_FATAL_FAILURE(ChooseListItem(main, kStateChoice, 1));
    const std::string dialog = OpenGasMixDialog(main);
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
}

// A mixture of 80 % nitrogen and 20 % oxygen sized; back on the fluid page the mixture is still
// the fluid, so the project saved from there holds it with its meters.
TEST_F(FluidsRoad, GasMixtureSized)
{
    const std::string main = Start();
    ASSERT_FALSE(main.empty());
    // Only a gas mixture has the button: its dialog shows that the state was taken.
    ASSERT_NO_FATAL_FAILURE(EnterNitrogenAndOxygen(main, program));
    Screenshot("gas-mix-input");
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main));
    Screenshot("gas-mix-results");

    ASSERT_TRUE(ClickAndWaitForChange(main, kFluidButton));
    Screenshot("gas-mix-fluid-page-again");
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Save")));
    ASSERT_TRUE(ChooseFile(kSaveDialog, program.Path("mix"))) << CDesktopDriver::WindowTitles();
    const std::string project = program.Path("mix.xml");
    ASSERT_FALSE(WaitForFile(project, std::chrono::seconds(60)).empty()) << program.Messages();
    EXPECT_EQ(XmlValue(project, "string(/TAMBEL/PhysicalData/FluidData/@Type)"), "4\n");
    EXPECT_EQ(XmlValue(project, "count(/TAMBEL/PhysicalData/FluidData/GasMixElement)"), "2\n");
    EXPECT_EQ(XmlValue(project, "sum(/TAMBEL/PhysicalData/FluidData/GasMixElement/@Percentage)"), "100\n");
    EXPECT_NE(XmlValue(project, "count(/TAMBEL/ResultData//*)"), "0\n");
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(program.Messages(), "");
    ASSERT_NO_FATAL_FAILURE(Exit(main));
}

// The project with the share of its gas-mix element at the index replaced by the text.
std::string WithShare(std::string project, int index, const std::string& share)
{
    std::size_t element = project.find("<GasMixElement ");
    for (int i = 0; i < index && element != std::string::npos; ++i)
        element = project.find("<GasMixElement ", element + 1);
    const std::size_t attribute = element == std::string::npos ? element : project.find(" Percentage=\"", element);
    if (attribute == std::string::npos)
        return project;
    const std::size_t from = attribute + 13;
    return project.replace(from, project.find('"', from) - from, share);
}

// A mixture whose shares carry more digits than the dialog's fields show: OK on the unchanged
// dialog keeps them and the density, so nothing is asked at the end and a save writes the file
// as it was opened.
TEST_F(FluidsRoad, GasMixDialogConfirmedUnchangedKeepsTheProject)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(EnterNitrogenAndOxygen(main, program));
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("typed")));
    std::string project = WaitForFile(program.Path("typed.xml"), std::chrono::seconds(60));
    ASSERT_FALSE(project.empty()) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(Exit(main));
    project = WithShare(WithShare(project, 0, "78.084123"), 1, "21.915877");
    ASSERT_NE(project.find("\"78.084123\""), std::string::npos) << project;
    ASSERT_NE(project.find("\"21.915877\""), std::string::npos) << project;
    WriteWholeFile(program.Path("digits.xml"), project);

    main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Open", kOpenDialog, program.Path("digits.xml")));
    const std::string dialog = OpenGasMixDialog(main);
    ASSERT_FALSE(dialog.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("gas-mix-more-digits");
    CDesktopDriver::Click(dialog, kGasMixOk.x, kGasMixOk.y);
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(dialog)) << program.Messages();
    ASSERT_NO_FATAL_FAILURE(ChooseFileCommand(main, "Save", kSaveDialog, program.Path("again")));
    EXPECT_EQ(WaitForFile(program.Path("again.xml"), std::chrono::seconds(60)), project);
    // Exit asks nothing: the program ends by itself.
    ASSERT_NO_FATAL_FAILURE(Exit(main));
    EXPECT_EQ(program.Messages(), "");
}

// German chosen on the configuration page takes effect at the next start, in the same program
// folder: its menus, dialogs, pages and the numbers of its report are German then.
TEST_F(FluidsRoad, GermanAfterARestart)
{
    std::string main = Start();
    ASSERT_FALSE(main.empty());
    ASSERT_TRUE(ClickAndWaitForChange(main, kConfigurationButton));
    // The languages: English, Deutsch.
    ASSERT_NO_FATAL_FAILURE(ChooseListItem(main, kLanguageChoice, 1));
    Screenshot("language-chosen");
    // Leaving the page takes the language over.
    ASSERT_TRUE(ClickAndWaitForChange(main, kFluidButton));
    const std::string notice = "Zephrin: Notice\tThe new language will get activated upon next program start.\n";
    EXPECT_TRUE(WaitForMessage(notice));
    EXPECT_EQ(program.Messages(), notice);
    ASSERT_NO_FATAL_FAILURE(Exit(main));
    EXPECT_NE(ReadWholeFile(program.Path("Zephrin.cfg")).find("language=\"de\""), std::string::npos);

    main = Start();
    ASSERT_FALSE(main.empty());
    // Hilfe > About.
    ASSERT_NO_FATAL_FAILURE(ChooseFirstItemByKey(main, "h"));
    const std::string about = CDesktopDriver::WaitForWindow("^Über QMR Vortex Sizing$");
    ASSERT_FALSE(about.empty()) << CDesktopDriver::WindowTitles();
    Screenshot("de-about");
    ASSERT_TRUE(CDesktopDriver::KeysClosing(about, {"Escape"}));

    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(main));
    Screenshot("de-fluid-input");
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(main, kGermanCalculateButton));
    ASSERT_TRUE(ClickAndWaitForChange(main, kGermanDataView));
    Screenshot("de-results-data");
    ASSERT_TRUE(ClickAndWaitForChange(main, kGermanGraphView));
    Screenshot("de-results-graph");

    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(main, EMenu::File, FileItem("Export as PDF")));
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
    ASSERT_NO_FATAL_FAILURE(ExitWithoutSaving(main));
}

}  // namespace
