// Windowed tests of the small controls: a shown frame with a panel to put controls on, made
// and destroyed for each test.
#pragma once

#include "support/WxTestSupport.h"

#include <wx/frame.h>
#include <wx/panel.h>

#include <gtest/gtest.h>

class CControlFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the frame and waits until it is on the screen.
    void ShowFrame();

    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
};
