// The steps the roads share: the real menus opened and their items clicked with the pointer,
// fields of the main window typed into, the screen saved, and a fixture that fails a road whose
// program died, left a crash dump or logged a critical exception.
#pragma once

#include "support/InstalledProgram.h"
#include "support/Process.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

// The menu bar's titles, as their places in the main window (GTK lays them out from the left).
enum class EMenu { File = 15, Utilities = 70, Help = 130 };

// The popup window GTK opens for a menu takes the program's name as its title.
extern const char kMenuPopup[];

// Opens the menu and clicks its item at the index (of the File menu's items for File; 0 for the
// one-item menus).
void ChooseMenuItem(const std::string& mainWindow, EMenu menu, int index);
// The index of the File menu's item of that name.
int FileItem(const std::string& name);

// The screen saved as e2e-<name>.png in $ZEPHRIN_SCREENSHOT_DIR.
void Screenshot(const std::string& name);

// Places in the main window's client area, as GTK lays the pages out.
struct SPoint {
    int x;
    int y;
};
// On the toolbar.
extern const SPoint kPrintButton;
extern const SPoint kFluidButton;
extern const SPoint kCalculateButton;
extern const SPoint kConfigurationButton;
// On the fluid page.
extern const SPoint kPaNumber;
extern const SPoint kVkNumber;
extern const SPoint kPosition;
extern const SPoint kStateChoice;
// Shown for a gas mixture only.
extern const SPoint kGasMixButton;
extern const SPoint kOperatingTemperature;
extern const SPoint kOperatingPressure;
extern const SPoint kViscosity;
extern const SPoint kMaximumFlow;
// On the results page.
extern const SPoint kFirstResultRow;
extern const SPoint kGraphView;
extern const SPoint kDataView;
// On the configuration page.
extern const SPoint kLanguageChoice;
// German labels are wider: the toolbar's buttons and the results page's view buttons move with
// them; the fields of the fluid page and the File menu's title stay where they are.
extern const SPoint kGermanCalculateButton;
extern const SPoint kGermanConfigurationButton;
extern const SPoint kGermanGraphView;
extern const SPoint kGermanDataView;

// Replaces the field's text by the typed one; leaving the field takes it in.
void EnterField(const std::string& window, SPoint field, const std::string& text);

// On the fluid page: liquid water at 20 °C, 5 bar gauge and 100 m3/h.
void EnterLiquidWater(const std::string& mainWindow);
// Meters calculated with the button at the place and the first one chosen on the results page.
void CalculateAndChooseFirstMeter(const std::string& mainWindow, SPoint calculateButton = kCalculateButton);
// Clicks the place and waits until the window shows what the click made of it; false when it
// did not change.
bool ClickAndWaitForChange(const std::string& window, SPoint place);
// Both of the above, the chosen meter then shown as data and as graph, with a screenshot of each
// page.
void SizeLiquidWater(const std::string& mainWindow);

// Chooses the item of the drop list at the place by its index: the list's popup is closed on
// its first item, then the keyboard walks down.
void ChooseListItem(const std::string& window, SPoint list, int index);

// The program's settings switched to the language ("en" or "de") it starts in.
void SetProgramLanguage(const CInstalledProgram& program, const std::string& language);

// Chooses the command of the File menu and answers its file dialog with the path.
void ChooseFileCommand(const std::string& mainWindow, const std::string& item, const std::string& dialogTitle,
                       const std::string& path);
// The title of the dialog that asks where the report is exported as PDF.
extern const char kPdfDialog[];
// The titles of the dialogs that ask which project is opened and where a project is saved.
extern const char kOpenDialog[];
extern const char kSaveDialog[];
// The title of the question whether to save a changed project before it is lost, in English or
// German.
extern const char kSaveQuestion[];

// True once the file is a whole PDF that qpdf finds sound: programs write such files after their
// dialog has gone, or through a print server.
bool WaitForSoundPdf(const std::string& path);
// The number of pages qpdf counts in the PDF.
int PdfPages(const std::string& path);

// The document's text as pdftotext reads it, once a complete PDF is there ("" when none came
// within the time), without the times of writing.
std::string PdfText(const std::string& path);

// The sizes of the meters a saved project lists ("DN 80"...), each once, in the project's order,
// named as the program's database names them.
std::vector<std::string> ProjectSizes(const CInstalledProgram& program, const std::string& project);

// The flow range a report states for its meter, as "Flow range: <min> - <max> <unit>".
struct SFlowRange {
    double min = 0;
    double max = 0;
    std::string unit;
};
// False (a failure) when the report states none.
::testing::AssertionResult ReportFlowRange(const std::string& report, SFlowRange& range);

// The path typed into the location field of GTK's file chooser, once the chooser has gone to
// the path's folder.
void TypeIntoFileChooser(const std::string& dialog, const std::string& path);
// A file typed into GTK's file chooser that is open (its title matches) and chosen with Return;
// false when no such dialog appeared or it stayed open.
bool ChooseFile(const std::string& dialogTitle, const std::string& path);

class Road : public ::testing::Test {
protected:
    void TearDown() override;

    // Started, its main window shown; the window's id.
    std::string Start(const std::vector<std::string>& variables = {});
    // File > Exit; the program ends by itself with status 0.
    void Exit(const std::string& mainWindow);
    // File > Exit over a changed project: the question whether to save it is answered No, as
    // by a user who has what he wanted; the program ends by itself with status 0.
    void ExitWithoutSaving(const std::string& mainWindow);
    // True once the message log holds the text.
    bool WaitForMessage(const std::string& text);

    CInstalledProgram program;
};
