// What the roads share: the main window's menus and places as GTK lays them out, the steps a
// user takes through them, and the fixture that fails a road whose program died, left a crash
// dump or logged a critical exception.
#pragma once

#include "EndToEnd/InstalledProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The menu bar's titles, as their places in the main window (GTK lays them out from the left).
enum class EMenu { File = 15, Utilities = 70, Help = 130 };

// The File menu from the top: items, and separators as "-".
extern const std::vector<std::string> kFileMenu;

// The popup window GTK opens for a menu takes the program's name as its title.
extern const char kMenuPopup[];

// Places in the main window's client area.
struct SPoint {
    int x;
    int y;
};
// On the fluid page.
extern const SPoint kStateChoice;
extern const SPoint kOperatingTemperature;
extern const SPoint kOperatingPressure;
extern const SPoint kMaximumFlow;
// On the toolbar.
extern const SPoint kPrintButton;
extern const SPoint kCalculateButton;
// On the results page.
extern const SPoint kFirstResultRow;
extern const SPoint kGraphView;
extern const SPoint kDataView;

// Opens the menu and clicks its item at the index (of kFileMenu for File; 0 for the one-item
// menus).
void ChooseMenuItem(const std::string& mainWindow, EMenu menu, int index);
// The item's index in kFileMenu.
int FileItem(const std::string& name);
// The screen saved as e2e-<name>.png.
void Screenshot(const std::string& name);
// Replaces the field's text by the typed one; leaving the field takes it in.
void EnterField(const std::string& window, SPoint field, const std::string& text);
// Liquid water at 20 °C, 5 bar gauge and 100 m3/h on the fluid page, meters calculated, the
// first row chosen and shown as data and as graph.
void SizeLiquidWater(const std::string& mainWindow);

class Road : public ::testing::Test {
protected:
    void TearDown() override;

    // Started, its main window shown; the window's id.
    std::string Start(const std::vector<std::string>& variables = {});
    // File > Exit; the program ends by itself with status 0.
    void Exit(const std::string& mainWindow);

    CInstalledProgram program;
};
