#include "support/DesktopDriver.h"

#include "support/Process.h"
#include "support/WaitUntil.h"

#include <algorithm>
#include <chrono>
#include <regex>
#include <sstream>
#include <thread>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

// Every shown window with a title: "id<TAB>title".
std::vector<std::pair<std::string, std::string>> ShownWindows()
{
    std::vector<std::pair<std::string, std::string>> windows;
    for (const std::string& id : Lines(RunTool({"xdotool", "search", "--onlyvisible", "--name", "."}).output)) {
        std::string title = RunTool({"xdotool", "getwindowname", id}).output;
        if (!title.empty() && title.back() == '\n')
            title.pop_back();
        windows.emplace_back(id, title);
    }
    return windows;
}

std::string FindWindow(const std::string& title, const std::vector<std::string>& known = {})
{
    const std::regex pattern(title);
    for (const auto& [id, name] : ShownWindows()) {
        if (std::regex_search(name, pattern) && std::find(known.begin(), known.end(), id) == known.end())
            return id;
    }
    return "";
}

void Activate(const std::string& window)
{
    RunTool({"xdotool", "windowactivate", "--sync", window});
    RunTool({"xdotool", "windowfocus", "--sync", window});
}

bool Shown(const std::string& window)
{
    const std::vector<std::string> shown = Lines(RunTool({"xdotool", "search", "--onlyvisible", "--name", "."}).output);
    return std::find(shown.begin(), shown.end(), window) != shown.end();
}

// Whether the window is shown and has the keyboard, for a failure's message.
std::string WindowState(const std::string& window)
{
    if (!Shown(window))
        return "was gone";
    const std::string active = CDesktopDriver::ActiveWindow();
    if (active == window)
        return "was still shown and had the keyboard";
    return "was still shown without the keyboard (the active window: " + (active.empty() ? "none" : active) + ")";
}

}  // namespace

std::string CDesktopDriver::WaitForWindow(const std::string& title, int seconds,
                                          const std::vector<std::string>& known)
{
    std::string id;
    WaitUntil(std::chrono::seconds(seconds), [&] { return !(id = FindWindow(title, known)).empty(); });
    return id;
}

std::vector<std::string> CDesktopDriver::Windows(const std::string& title)
{
    const std::regex pattern(title);
    std::vector<std::string> ids;
    for (const auto& [id, name] : ShownWindows()) {
        if (std::regex_search(name, pattern))
            ids.push_back(id);
    }
    return ids;
}

bool CDesktopDriver::WaitForWindowGone(const std::string& window, int seconds)
{
    return WaitUntil(std::chrono::seconds(seconds), [&] { return !Shown(window); });
}

bool CDesktopDriver::WaitForNoWindow(const std::string& title, int seconds)
{
    return WaitUntil(std::chrono::seconds(seconds), [&] { return FindWindow(title).empty(); });
}

std::string CDesktopDriver::WindowTitles()
{
    std::string titles;
    for (const auto& window : ShownWindows())
        titles += "[" + window.second + "] ";
    return titles;
}

void CDesktopDriver::Keys(const std::string& window, const std::vector<std::string>& keys)
{
    Activate(window);
    for (const std::string& key : keys) {
        RunTool({"xdotool", "key", "--clearmodifiers", key});
        // A key may open a menu or a dialog; the next one is meant for what it opened.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
}

::testing::AssertionResult CDesktopDriver::KeysUntil(const std::string& window, const std::vector<std::string>& keys,
                                                     const std::string& expected,
                                                     const std::function<bool(int)>& caused, int seconds)
{
    // A third of the time for the first press: a loaded machine answers a key within it.
    const int first = std::max(1, seconds / 3);
    Keys(window, keys);
    if (caused(first))
        return ::testing::AssertionSuccess();
    const std::string afterFirst = WindowState(window);
    std::string afterSecond;
    if (Shown(window)) {
        Activate(window);
        WaitUntil(std::chrono::seconds(10), [&] { return ActiveWindow() == window; });
        Keys(window, keys);
        if (caused(seconds - first))
            return ::testing::AssertionSuccess();
        afterSecond = "; pressed again, it " + WindowState(window);
    }
    std::string names;
    for (const std::string& key : keys)
        names += (names.empty() ? "" : " ") + key;
    return ::testing::AssertionFailure() << names << " pressed in the window " << window << ", waited in vain for "
                                         << expected << ": after the first press it " << afterFirst
                                         << (afterSecond.empty() ? ", so the keys were not pressed again" : afterSecond)
                                         << "; shown: " << WindowTitles();
}

::testing::AssertionResult CDesktopDriver::KeysClosing(const std::string& window, const std::vector<std::string>& keys,
                                                       int seconds)
{
    return KeysUntil(window, keys, "it to close", [&](int limit) { return WaitForWindowGone(window, limit); }, seconds);
}

::testing::AssertionResult CDesktopDriver::KeysOpening(const std::string& window, const std::vector<std::string>& keys,
                                                       const std::string& title, std::string& opened, int seconds)
{
    const std::vector<std::string> known = Windows(title);
    return KeysUntil(window, keys, "a window titled " + title,
                     [&](int limit) { return !(opened = WaitForWindow(title, limit, known)).empty(); }, seconds);
}

void CDesktopDriver::Type(const std::string& window, const std::string& text)
{
    Activate(window);
    RunTool({"xdotool", "type", "--clearmodifiers", "--delay", "30", text});
}

void CDesktopDriver::Click(const std::string& window, int x, int y)
{
    // Not activated first: a menu's popup is no window the manager activates, and the click
    // gives a window the keyboard anyway.
    RunTool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y)});
    RunTool({"xdotool", "click", "1"});
}

bool CDesktopDriver::Geometry(const std::string& window, int& x, int& y, int& width, int& height)
{
    const std::string text = RunTool({"xdotool", "getwindowgeometry", "--shell", window}).output;
    const std::regex field("(X|Y|WIDTH|HEIGHT)=(-?[0-9]+)");
    int found = 0;
    for (auto at = std::sregex_iterator(text.begin(), text.end(), field); at != std::sregex_iterator(); ++at) {
        const std::string name = (*at)[1];
        const int value = std::stoi((*at)[2]);
        (name == "X" ? x : name == "Y" ? y : name == "WIDTH" ? width : height) = value;
        ++found;
    }
    return found == 4;
}

std::string CDesktopDriver::ActiveWindow()
{
    const std::vector<std::string> active = Lines(RunTool({"xdotool", "getactivewindow"}).output);
    return active.empty() ? std::string() : active.front();
}
