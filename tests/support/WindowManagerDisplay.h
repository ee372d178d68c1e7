// An X display of the test program's own with a window manager on it (Xvfb and openbox), for the
// windowed tests of what only a window manager does: maximise, minimise, keep on top, and the
// moves and resizes a borderless window hands to it. Its own display lets the program run in
// parallel with the other windowed tests, which share one display without a window manager.
#pragma once

#include <string>
#include <sys/types.h>

class CWindowManagerDisplay {
public:
    CWindowManagerDisplay() = default;
    // Ends the window manager and the display, and puts DISPLAY back.
    ~CWindowManagerDisplay();
    CWindowManagerDisplay(const CWindowManagerDisplay&) = delete;
    CWindowManagerDisplay& operator=(const CWindowManagerDisplay&) = delete;

    // Starts both and points DISPLAY at the new display; call it before wx opens its display.
    // A fatal test failure when either does not come up.
    void Start();

private:
    pid_t m_server = 0;
    pid_t m_manager = 0;
    std::string m_previousDisplay;
    bool m_hadDisplay = false;
};
