// Driving the programs on the test's display from outside, as a user does: windows found by
// their title, key presses and clicks sent through the X server (xdotool), so that they reach a
// program exactly as a user's would.
#pragma once

#include <string>
#include <vector>

class CDesktopDriver {
public:
    // The id of the first shown window whose title matches the regular expression, once there
    // is one; "" when none appeared within the time.
    // Windows of the ids in known do not count: a program may keep a window of the same title
    // shown (GTK's menu popups all take the program's name).
    static std::string WaitForWindow(const std::string& title, int seconds = 60,
                                     const std::vector<std::string>& known = {});
    // The ids of the shown windows whose titles match.
    static std::vector<std::string> Windows(const std::string& title);
    // True once no shown window's title matches any more.
    static bool WaitForNoWindow(const std::string& title, int seconds = 60);
    // True once the window is no longer shown.
    static bool WaitForWindowGone(const std::string& window, int seconds = 60);
    // The shown windows' titles, for the message of a failed test.
    static std::string WindowTitles();

    // Raises the window, gives it the keyboard and presses the keys one after the other
    // ("ctrl+s", "alt+f", "Return"...), as xdotool names them.
    static void Keys(const std::string& window, const std::vector<std::string>& keys);
    // Types the text into the window's focused control.
    static void Type(const std::string& window, const std::string& text);
    // A left click at the point of the window (its own coordinates).
    static void Click(const std::string& window, int x, int y);
    // The window's size and place on the screen; false when it is gone.
    static bool Geometry(const std::string& window, int& x, int& y, int& width, int& height);
    // The window the window manager has made active (also one without a title, as GTK's
    // questions are); "" when there is none.
    static std::string ActiveWindow();
};
