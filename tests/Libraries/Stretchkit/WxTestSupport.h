// Windowed tests: one wx application for the test program, and ways to let the windowing
// system catch up with what a test did.
#pragma once

#include <functional>

class wxWindow;

// Handles pending events until the condition holds or about two seconds have passed; the
// condition's last value.
bool WaitFor(const std::function<bool()>& condition);

// Handles the events that are pending now, a few rounds.
void Pump();

// Shows the top-level window and gives it the keyboard: the pointer rests on it, since a bare
// X server gives the keyboard to the window under the pointer.
void ShowAndFocus(wxWindow* topLevel);
