// A small window manager (openbox) on the test's display for as long as the object lives, for
// tests of what only a window manager does: maximising, minimising, moves it decides, windows
// getting the keyboard when raised. Give each such test program a display of its own, since the
// manager takes every window on it.
#pragma once

#include "support/Process.h"

class CWindowManager {
public:
    // Starts the manager on $DISPLAY and waits until it has taken the display over. False when
    // it did not.
    bool Start();

private:
    CProcess m_process;
};
