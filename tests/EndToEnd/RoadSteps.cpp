#include "EndToEnd/RoadSteps.h"

#include "support/DesktopDriver.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <wx/image.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>


const char kMenuPopup[] = "^Zephrin$";
const char kPdfDialog[] = "^Export as PDF$";
const char kOpenDialog[] = "^Open$";
const char kSaveDialog[] = "^Save$";
const char kSaveQuestion[] = "^Zephrin: (Confirmation|Bestätigung)$";

const SPoint kPrintButton{180, 54};
const SPoint kFluidButton{399, 53};
const SPoint kCalculateButton{508, 57};
const SPoint kConfigurationButton{639, 53};
const SPoint kPaNumber{170, 211};
const SPoint kVkNumber{373, 211};
const SPoint kPosition{563, 211};
const SPoint kStateChoice{208, 278};
const SPoint kGasMixButton{220, 315};
const SPoint kOperatingTemperature{373, 371};
const SPoint kOperatingPressure{373, 408};
const SPoint kViscosity{373, 481};
const SPoint kMaximumFlow{373, 618};
const SPoint kFirstResultRow{62, 181};
const SPoint kGraphView{524, 110};
const SPoint kDataView{601, 110};
const SPoint kLanguageChoice{267, 133};
const SPoint kGermanCalculateButton{567, 57};
const SPoint kGermanConfigurationButton{703, 53};
const SPoint kGermanGraphView{521, 110};
const SPoint kGermanDataView{597, 110};

namespace {

// The File menu from the top: items, and separators as "-".
const std::vector<std::string> kFileMenu = {"Open", "Save", "-", "Save to database", "Load from database",
                                            "Database functions", "-", "Print", "Print settings", "-",
                                            "Send as Email", "Export as PDF", "-", "Exit"};

// The window's pixels as the screen shows them; empty when it is gone.
std::string WindowPixels(const std::string& window)
{
    int x = 0, y = 0, width = 0, height = 0;
    if (!CDesktopDriver::Geometry(window, x, y, width, height))
        return std::string();
    const wxImage image = ScreenArea(wxRect(x, y, width, height)).ConvertToImage();
    return std::string(reinterpret_cast<const char*>(image.GetData()), static_cast<std::size_t>(width) * height * 3);
}

// Until the window has stayed the same for a second and, with the pixels of before, differs
// from them.
bool WaitForWindowSettled(const std::string& window, const std::string* before = nullptr)
{
    std::string last = before ? *before : WindowPixels(window);
    int sameFor = 0;
    // Polled every tenth of a second: ten alike are a second without change.
    return WaitUntil(std::chrono::seconds(120), [&] {
        const std::string now = WindowPixels(window);
        sameFor = now == last ? sameFor + 1 : 0;
        last = now;
        return (!before || now != *before) && sameFor >= 10;
    });
}

}  // namespace

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

void EnterLiquidWater(const std::string& mainWindow)
{
    // The state list: Gas, Gas mixture, Humid gas, Liquid...
    ASSERT_NO_FATAL_FAILURE(ChooseListItem(mainWindow, kStateChoice, 3));
    EnterField(mainWindow, kOperatingTemperature, "20");
    EnterField(mainWindow, kOperatingPressure, "5");
    EnterField(mainWindow, kMaximumFlow, "100");
}

void CalculateAndChooseFirstMeter(const std::string& mainWindow, SPoint calculateButton)
{
    ASSERT_TRUE(ClickAndWaitForChange(mainWindow, calculateButton)) << "no results page";
    CDesktopDriver::Click(mainWindow, kFirstResultRow.x, kFirstResultRow.y);
}

bool ClickAndWaitForChange(const std::string& window, SPoint place)
{
    // Clicks land where the screen has the control when the server gets them, so a click meant
    // for a page the program is still making must wait for it.
    const std::string before = WindowPixels(window);
    CDesktopDriver::Click(window, place.x, place.y);
    return WaitForWindowSettled(window, &before);
}

void SizeLiquidWater(const std::string& mainWindow)
{
    ASSERT_NO_FATAL_FAILURE(EnterLiquidWater(mainWindow));
    Screenshot("fluid-input");
    ASSERT_NO_FATAL_FAILURE(CalculateAndChooseFirstMeter(mainWindow));
    CDesktopDriver::Click(mainWindow, kDataView.x, kDataView.y);
    CDesktopDriver::Click(mainWindow, kGraphView.x, kGraphView.y);
    Screenshot("results");
}

void ChooseListItem(const std::string& window, SPoint list, int index)
{
    const std::vector<std::string> known = CDesktopDriver::Windows(kMenuPopup);
    CDesktopDriver::Click(window, list.x, list.y);
    const std::string popup = CDesktopDriver::WaitForWindow(kMenuPopup, 30, known);
    ASSERT_FALSE(popup.empty()) << CDesktopDriver::WindowTitles();
    CDesktopDriver::Click(popup, 40, 12);
    ASSERT_TRUE(CDesktopDriver::WaitForWindowGone(popup, 30));
    for (int at = 0; at < index; ++at)
        CDesktopDriver::Keys(window, {"Down"});
}

std::string PdfText(const std::string& path)
{
    if (!WaitForSoundPdf(path))
        return "";
    // Without the time of writing in the page footers, so documents made apart compare; the
    // user's locale decides how it is written.
    return std::regex_replace(RunTool({"pdftotext", "-layout", path, "-"}).output,
                              std::regex("[0-9]{1,4}[./-][0-9]{1,2}[./-][0-9]{1,4},? [0-9]{1,2}:[0-9]{2}:[0-9]{2}"), "");
}

std::vector<std::string> ProjectSizes(const CInstalledProgram& program, const std::string& project)
{
    const std::string ids = RunTool({"xmllint", "--xpath", "/TAMBEL/ResultData//ResultItem/@SizeId", project}).output;
    std::vector<std::string> sizes;
    const std::regex id("SizeId=\"([0-9]+)\"");
    for (auto at = std::sregex_iterator(ids.begin(), ids.end(), id); at != std::sregex_iterator(); ++at) {
        std::string name = RunTool({"sqlite3", program.Path("Zephrin.db"),
                                    "SELECT ItemName FROM DeviceFeatureItems WHERE Id = " + (*at)[1].str()})
                               .output;
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        if (std::find(sizes.begin(), sizes.end(), name) == sizes.end())
            sizes.push_back(name);
    }
    return sizes;
}

::testing::AssertionResult ReportFlowRange(const std::string& report, SFlowRange& range)
{
    std::smatch found;
    if (!std::regex_search(report, found, std::regex("Flow range: ([0-9.]+) - ([0-9.]+) (\\S+)")))
        return ::testing::AssertionFailure() << "no flow range in the report:\n" << report;
    range = {std::stod(found[1]), std::stod(found[2]), found[3]};
    return ::testing::AssertionSuccess();
}

void TypeIntoFileChooser(const std::string& dialog, const std::string& path)
{
    // The location field takes a whole path, in the open and the save dialog alike.
    CDesktopDriver::Keys(dialog, {"ctrl+l"});
    CDesktopDriver::Keys(dialog, {"ctrl+a"});
    CDesktopDriver::Type(dialog, path);
    // The chooser swallows a Return while it still goes to the typed path's folder.
    WaitForWindowSettled(dialog);
}

bool ChooseFile(const std::string& dialogTitle, const std::string& path)
{
    const std::string dialog = CDesktopDriver::WaitForWindow(dialogTitle, 60);
    if (dialog.empty())
        return false;
    TypeIntoFileChooser(dialog, path);
    // The first Return may only close the field's completion list.
    for (int attempt = 0; attempt < 4; ++attempt) {
        CDesktopDriver::Keys(dialog, {"Return"});
        if (CDesktopDriver::WaitForWindowGone(dialog, 15))
            return true;
    }
    return false;
}

void SetProgramLanguage(const CInstalledProgram& program, const std::string& language)
{
    std::string settings = ReadWholeFile(program.Path("Zephrin.cfg"));
    const std::string english = "language=\"en\"";
    const std::size_t at = settings.find(english);
    ASSERT_NE(at, std::string::npos) << settings;
    settings.replace(at, english.size(), "language=\"" + language + "\"");
    WriteWholeFile(program.Path("Zephrin.cfg"), settings);
}

void ChooseFileCommand(const std::string& mainWindow, const std::string& item, const std::string& dialogTitle,
                       const std::string& path)
{
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(mainWindow, EMenu::File, FileItem(item)));
    ASSERT_TRUE(ChooseFile(dialogTitle, path)) << CDesktopDriver::WindowTitles();
}

bool WaitForSoundPdf(const std::string& path)
{
    return WaitUntil(std::chrono::seconds(120), [&] {
        return std::filesystem::exists(path) &&
               RunTool({"qpdf", "--check", path}).output.find("No syntax or stream encoding errors") != std::string::npos;
    });
}

int PdfPages(const std::string& path)
{
    return std::atoi(RunTool({"qpdf", "--show-npages", path}).output.c_str());
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
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(mainWindow, EMenu::File, FileItem("Exit")));
    EXPECT_EQ(program.Wait(), 0) << program.Messages();
}

void Road::ExitWithoutSaving(const std::string& mainWindow)
{
    ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(mainWindow, EMenu::File, FileItem("Exit")));
    const std::string question = CDesktopDriver::WaitForWindow(kSaveQuestion, 60);
    ASSERT_FALSE(question.empty()) << CDesktopDriver::WindowTitles() << program.Messages();
    ASSERT_TRUE(CDesktopDriver::KeysClosing(question, {"alt+n"})) << program.Messages();
    EXPECT_EQ(program.Wait(), 0) << program.Messages();
}

bool Road::WaitForMessage(const std::string& text)
{
    return WaitUntil(std::chrono::seconds(60), [&] { return program.Messages().find(text) != std::string::npos; });
}
