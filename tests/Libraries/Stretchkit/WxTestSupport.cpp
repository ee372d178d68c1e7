#include "WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>
#include <thread>

namespace {

// OnInit of wx would read the test's arguments as its own command line.
// A failed wx assertion fails the test instead of waiting for someone to close its dialog.
class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
    void OnAssertFailure(const wxChar* file, int line, const wxChar* function, const wxChar* condition,
                         const wxChar* message) override
    {
        ADD_FAILURE() << "wx assertion at " << wxString(file) << ":" << line << " in " << wxString(function) << ": "
                      << wxString(condition) << " " << wxString(message);
    }
};

class CWxEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "wxtests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new CTestApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        // Messages go to the test's output, never into a dialog that waits for a click.
        delete wxLog::SetActiveTarget(new wxLogStderr);
    }

    void TearDown() override
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CWxEnvironment);

}  // namespace

void Pump()
{
    // No main loop runs in the tests: a yield is what hands the display's events to wx.
    for (int round = 0; round < 5; ++round) {
        wxYield();
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool WaitFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return condition();
        Pump();
    }
    return true;
}

void ShowAndFocus(wxWindow* topLevel)
{
    topLevel->Show();
    topLevel->Raise();
    WaitFor([topLevel] { return topLevel->IsShownOnScreen(); });
    Pump();
    wxUIActionSimulator().MouseMove(topLevel->GetScreenRect().GetPosition() + wxPoint(5, 5));
    Pump();
}
