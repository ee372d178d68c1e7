#include "DialogsGuiEnvironment.h"

#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {

// OnInit of wx would parse the test's arguments as its own command line.
class CTestApp : public CHarbinax {
public:
    bool OnInit() override { return true; }
};

class CWxEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "HarbinaxDialogsTests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new CTestApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        // A failed wx assertion is a failed test, not a message box nobody answers.
        wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                              const wxString& message) {
            ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion " << condition << " in " << function << ": "
                                                  << message;
        });
    }

    void TearDown() override
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CWxEnvironment);

}  // namespace

CHarbinax& App()
{
    return *CHarbinax::GetApp();
}

void Pump(int milliseconds)
{
    wxStopWatch watch;
    do {
        wxYield();
        wxMilliSleep(10);
    } while (watch.Time() < milliseconds);
}
