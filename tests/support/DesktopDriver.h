// Driving the programs on the test's display from outside, as a user does: windows found by
// their title, key presses and clicks sent through the X server (xdotool), so that they reach a
// program exactly as a user's would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
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
    // Presses the keys as Keys does and waits for what they must cause: the condition, given the
    // seconds it may wait. A key that reaches the server before the window manager has given the
    // window the keyboard is lost; so when nothing came of the keys and the window is still
    // shown, it is made the active window again and they are pressed once more. The failure
    // says whether the window was still shown and had the keyboard, telling a lost key from a
    // program that does not answer it. Only for keys whose second press does no harm once the
    // first has done its work.
    static ::testing::AssertionResult KeysUntil(const std::string& window, const std::vector<std::string>& keys,
                                               const std::string& expected, const std::function<bool(int)>& caused,
                                               int seconds = 60);
    // KeysUntil for keys that close the window (Escape, Alt+F4, a dialog's default button).
    static ::testing::AssertionResult KeysClosing(const std::string& window, const std::vector<std::string>& keys,
                                                 int seconds = 60);
    // KeysUntil for keys that show a window whose title matches; its id goes to opened.
    static ::testing::AssertionResult KeysOpening(const std::string& window, const std::vector<std::string>& keys,
                                                 const std::string& title, std::string& opened, int seconds = 60);
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
