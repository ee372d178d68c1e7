// Windowed tests of the small controls: one wx application for the program, a frame per test,
// and ways to let the windowing system catch up.
#pragma once

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <gtest/gtest.h>

#include <functional>

// Handles pending events until the condition holds or about two seconds have passed; the
// condition's last value.
bool WaitFor(const std::function<bool()>& condition);

// Handles the events that are pending now, a few rounds.
void Pump();

// Lets the events of the next milliseconds happen (timers included).
void PumpFor(int milliseconds);

// What the window shows on the screen now.
wxBitmap Snapshot(wxWindow* window);

// A shown frame with a panel to put controls on; destroyed after each test.
class CControlFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the frame and waits until it is on the screen.
    void ShowFrame();

    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
};
