// The wx application of a windowed test program, made once before the first test and taken
// down after the last. A failed wx assertion fails the running test instead of opening a
// dialog nobody answers, wx's log messages go to the test output instead of message boxes,
// and an event loop is active throughout, as in a running program.
//
// Each program registers one, as a constant at namespace scope:
//   ::testing::Environment* const wx = ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"Tests"}));
#pragma once

#include "support/WindowManager.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

class wxEventLoopBase;

// The application class TApp with an OnInit that takes any command line: wx's own would read
// the test's arguments as its options.
template <class TApp>
class CTestApp : public TApp {
public:
    bool OnInit() override { return true; }
};

// Whether a window manager runs on the display for the whole test program. Only a program with
// a display of its own may have one, since the manager takes every window on it.
enum class EWindowManager { None, Started };

class CWxTestEnvironment : public ::testing::Environment {
public:
    // The command line the application object sees, the program first.
    explicit CWxTestEnvironment(std::vector<std::string> arguments, EWindowManager manager = EWindowManager::None);
    ~CWxTestEnvironment() override;

    // A fatal failure when there is no display.
    void SetUp() override;
    void TearDown() override;

protected:
    // A CTestApp<wxApp> unless the program needs an application class of its own.
    virtual wxApp* CreateApp();

private:
    std::vector<std::string> m_arguments;
    EWindowManager m_managed;
    CWindowManager m_manager;
    std::unique_ptr<wxEventLoopBase> m_loop;
    bool m_started = false;
};
