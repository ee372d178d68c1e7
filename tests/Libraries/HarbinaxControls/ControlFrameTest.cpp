#include "ControlFrameTest.h"

#include "support/WxTestEnvironment.h"

namespace {

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"HarbinaxControlsTests"}));

}  // namespace

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
