#include "ControlsGuiEnvironment.h"

#include <wx/app.h>
#include <wx/dcscreen.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <memory>

namespace {

// OnInit of wx would parse the test's arguments as its own command line.
class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

class CWxEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "HarbinaxControlsTests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new CTestApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
        // Errors go to the test output, not into message boxes nobody closes.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        // A failed wx check is a failed test, not a dialog nobody answers.
        wxSetAssertHandler([](const wxString& file, int line, const wxString& function, const wxString& condition,
                              const wxString& message) {
            ADD_FAILURE_AT(file.utf8_str(), line)
                << "wx check failed in " << function << ": " << condition << " " << message;
        });
        m_loop = std::make_unique<wxEventLoop>();
        wxEventLoopBase::SetActive(m_loop.get());
    }

    void TearDown() override
    {
        wxEventLoopBase::SetActive(nullptr);
        m_loop.reset();
        wxTheApp->OnExit();
        wxEntryCleanup();
    }

private:
    std::unique_ptr<wxEventLoop> m_loop;
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new CWxEnvironment);

}  // namespace

void Pump()
{
    for (int round = 0; round < 5; ++round) {
        wxTheApp->ProcessPendingEvents();
        while (wxEventLoopBase::GetActive()->Pending())
            wxEventLoopBase::GetActive()->Dispatch();
        wxTheApp->ProcessIdle();
    }
}

bool WaitFor(const std::function<bool()>& condition)
{
    wxStopWatch watch;
    while (!condition()) {
        if (watch.Time() > 2000)
            return condition();
        Pump();
        wxMilliSleep(5);
    }
    return true;
}

void PumpFor(int milliseconds)
{
    wxStopWatch watch;
    while (watch.Time() < milliseconds) {
        Pump();
        wxMilliSleep(5);
    }
}

wxBitmap Snapshot(wxWindow* window)
{
    // The desktop paints on its own clock: give it time for what the test changed.
    window->Refresh();
    window->Update();
    PumpFor(100);
    const wxRect rect = window->GetScreenRect();
    wxBitmap bitmap(rect.GetSize());
    wxScreenDC screen;
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    memory.SelectObject(wxNullBitmap);
    return bitmap;
}

void CControlFrameTest::SetUp()
{
    m_frame = new wxFrame(nullptr, wxID_ANY, "Controls", wxPoint(20, 20), wxSize(420, 240));
    m_panel = new wxPanel(m_frame);
}

void CControlFrameTest::TearDown()
{
    m_frame->Destroy();
    Pump();
}

void CControlFrameTest::ShowFrame()
{
    m_frame->Show();
    m_frame->Raise();
    ASSERT_TRUE(WaitFor([this] { return m_frame->IsShownOnScreen(); }));
    PumpFor(50);
}
