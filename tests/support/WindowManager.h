// A small window manager (openbox) on the test's display for as long as the object lives, for
// tests of what only a window manager does: maximising, minimising, moves it decides. Give each
// such test program a display of its own, since the manager takes every window on it.
#pragma once

#include <sys/types.h>

class CWindowManager {
public:
    CWindowManager() = default;
    // Ends the manager and waits for it.
    ~CWindowManager();
    CWindowManager(const CWindowManager&) = delete;
    CWindowManager& operator=(const CWindowManager&) = delete;

    // Starts the manager on $DISPLAY and waits until it runs. False when it cannot be started.
    bool Start();

private:
    pid_t m_pid = -1;
};
