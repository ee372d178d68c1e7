// Letting the window system catch up with what a windowed test did, and looking at what it
// shows. No main loop runs in the tests: these hand the display's events to wx.
#pragma once

#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/image.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class wxWindow;

// Handles the events that are pending now, a few rounds.
void Pump();

// Handles the events of the next milliseconds (timers included).
void PumpFor(int milliseconds);

// Handles events until the condition holds or about ten seconds have passed (the window manager
// and the X server of a loaded machine may take seconds); the condition's last value.
bool WaitFor(const std::function<bool()>& condition);

// Shows the top-level window and gives it the keyboard: the pointer rests on it, since a bare
// X server gives the keyboard to the window under the pointer.
void ShowAndFocus(wxWindow* topLevel);

// What the window shows now, once it has drawn what the test changed.
wxBitmap Snapshot(wxWindow* window);
// What the window's client area holds now, without asking it to repaint first.
wxBitmap ClientPixels(wxWindow* window);
// What the screen shows in the area, windows of their own above it (tips, drop-down lists)
// included.
wxBitmap ScreenArea(const wxRect& area);
// The whole top-level window as the screen shows it, menu bar and frame included: moved into
// the corner first, since without a window manager it may not be where wx places it.
wxBitmap WholeWindow(wxWindow* topLevel);
// Pictures to look at: saved as <name>.png into the folder $ZEPHRIN_SCREENSHOT_DIR names, and
// only then (ScreenshotsWanted).
bool ScreenshotsWanted();
void SaveScreenshot(const wxBitmap& bitmap, const std::string& name);

// The texts of the labels inside a native GTK widget (a wxFileDialog's handle, say), in the
// order GTK keeps its children, internal ones (a dialog's buttons) included.
std::vector<std::string> NativeLabelTexts(void* widget);

// Hands the window a mouse event of that type at the point (client coordinates), as the window
// system would, without moving the real pointer.
void SendMouse(wxWindow* window, wxEventType type, const wxPoint& point);

// The pixels of exactly that colour: how many lie in the area (the whole image when the area
// is empty), and the smallest rectangle around them (empty when there are none).
int CountColour(const wxImage& image, const wxColour& colour, const wxRect& area = wxRect());
wxRect ColourBounds(const wxImage& image, const wxColour& colour);

// Deletes a window at once, where wx would delete a top-level one only when idle.
struct SDeleteWindow {
    void operator()(wxWindow* window) const;
};
template <class TWindow>
using UniqueWindow = std::unique_ptr<TWindow, SDeleteWindow>;
