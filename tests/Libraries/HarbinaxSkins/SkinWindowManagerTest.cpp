// A skinned frame under a window manager, on a display of this program's own: what the caption
// buttons ask of it and the moves and resizes the frame hands to it, driven by a real pointer.
#include "Harbinax/Skin.h"
#include "Harbinax/SkinFrame.h"
#include "Harbinax/SkinManager.h"
#include "SkinTestSupport.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <cstdlib>

namespace {

// The program has a display of its own, so the manager takes only its windows.
::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(
    new CWxTestEnvironment({"SkinWindowManagerTests"}, EWindowManager::Started));

CSkinManager& Skins()
{
    return *CSkinManager::GetInstance();
}

class SkinWindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Skins().LoadSkinFile("Blue", SkinDataFile("Frame.xml")));
        m_frame.reset(new CSkinFrame(nullptr, wxID_ANY, "Managed", wxPoint(100, 100), wxSize(300, 200)));
        new wxPanel(m_frame.get());
        ShowAndFocus(m_frame.get());
        ASSERT_TRUE(Skins().RegisterWindow(m_frame.get(), "Blue", true, true));
        ASSERT_TRUE(WaitFor([this] { return m_frame->GetSize() == wxSize(308, 230); }));
        ASSERT_TRUE(WaitFor([this] { return m_frame->GetScreenPosition() != wxPoint(); }));
        PumpFor(100);
    }
    void TearDown() override
    {
        m_frame.reset();
        Skins().RemoveAllSkins();
    }

    wxPoint ButtonOnScreen(int button)
    {
        SSkinFrameState state;
        EXPECT_TRUE(Skins().GetFrameState(m_frame.get(), state));
        const SSkinRect rect = SkinButtonRect(Skins().FindSkin("Blue")->Definition(), state, button);
        return m_frame->ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
    }

    // Presses the left button at from, moves to to in steps, and lets go there.
    void Drag(const wxPoint& from, const wxPoint& to)
    {
        wxUIActionSimulator pointer;
        pointer.MouseMove(from);
        PumpFor(50);
        pointer.MouseDown();
        PumpFor(100);
        for (int step = 1; step <= 5; ++step) {
            pointer.MouseMove(from + (to - from) * step / 5);
            PumpFor(30);
        }
        pointer.MouseUp();
        PumpFor(100);
    }
    void Click(const wxPoint& at) { Drag(at, at); }

    UniqueWindow<CSkinFrame> m_frame;
};

TEST_F(SkinWindowManager, TheCaptionMovesTheWindowThroughTheWindowManager)
{
    const wxPoint before = m_frame->GetScreenPosition();
    const wxPoint grip = m_frame->ClientToScreen(wxPoint(150, 12));
    Drag(grip, grip + wxPoint(60, 40));
    EXPECT_TRUE(WaitFor([&] { return m_frame->GetScreenPosition() == before + wxPoint(60, 40); }))
        << m_frame->GetScreenPosition().x << "," << m_frame->GetScreenPosition().y;
    EXPECT_EQ(wxSize(308, 230), m_frame->GetSize());
}

TEST_F(SkinWindowManager, TheBordersResizeTheWindowThroughTheWindowManager)
{
    const wxPoint corner = m_frame->ClientToScreen(wxPoint(306, 228));
    Drag(corner, corner + wxPoint(50, 30));
    EXPECT_TRUE(WaitFor([&] { return m_frame->GetSize() == wxSize(358, 260); }))
        << m_frame->GetSize().x << "x" << m_frame->GetSize().y;
    EXPECT_EQ(wxSize(350, 230), m_frame->GetClientSize());
}

TEST_F(SkinWindowManager, MaximiseRestoreAndMinimise)
{
    Click(ButtonOnScreen(SKIN_MAX));
    ASSERT_TRUE(WaitFor([this] { return m_frame->IsMaximized(); }));
    // A maximised window neither sizes from its edges nor moves by its caption.
    EXPECT_EQ(SKINHIT_BORDER, Skins().HitTest(m_frame.get(), wxPoint(1, 100)));
    const wxPoint maximised = m_frame->GetScreenPosition();
    const wxPoint grip = m_frame->ClientToScreen(wxPoint(300, 12));
    Drag(grip, grip + wxPoint(60, 40));
    EXPECT_EQ(maximised, m_frame->GetScreenPosition());

    Click(ButtonOnScreen(SKIN_RESTORE));
    ASSERT_TRUE(WaitFor([this] { return !m_frame->IsMaximized(); }));
    EXPECT_TRUE(WaitFor([this] { return m_frame->GetSize() == wxSize(308, 230); }));

    Click(ButtonOnScreen(SKIN_MIN));
    EXPECT_TRUE(WaitFor([this] { return m_frame->IsIconized(); }));
}

TEST_F(SkinWindowManager, MaximisingARolledUpWindowFirstUnrollsIt)
{
    Click(ButtonOnScreen(SKIN_ROLLUP));
    ASSERT_TRUE(WaitFor([this] { return m_frame->GetSize().y == kTop + kBottom; }));
    Click(ButtonOnScreen(SKIN_MAX));
    ASSERT_TRUE(WaitFor([this] { return m_frame->IsMaximized(); }));
    SSkinFrameState state;
    ASSERT_TRUE(Skins().GetFrameState(m_frame.get(), state));
    EXPECT_FALSE(state.rolledUp);
    EXPECT_GT(m_frame->GetSize().y, 500);
}

TEST_F(SkinWindowManager, AMenuTitleOpensItsMenuAndItsItemsGiveCommands)
{
    auto* file = new wxMenu;
    file->Append(wxID_EXIT, "Quit");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    m_frame->SetMenuBar(bar);
    ASSERT_TRUE(WaitFor([this] { return Skins().GetMenuTitleRects(m_frame.get()).size() == 1; }));
    PumpFor(100);
    const wxRect title = Skins().GetMenuTitleRects(m_frame.get())[0];
    int quits = 0;
    m_frame->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++quits; }, wxID_EXIT);
    // While the menu is open its own loop runs: the item is chosen from there.
    m_frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent&) {
        m_frame->CallAfter([&] {
            wxUIActionSimulator pointer;
            pointer.MouseMove(m_frame->ClientToScreen(title.GetBottomLeft() + wxPoint(20, 12)));
            wxMilliSleep(100);
            pointer.MouseClick();
        });
    });
    Click(m_frame->ClientToScreen(wxPoint(title.x + title.width / 2, title.y + title.height / 2)));
    EXPECT_TRUE(WaitFor([&] { return quits == 1; }));
    EXPECT_EQ(file, bar->GetMenu(0)) << "the menu is back in its bar";
}

TEST_F(SkinWindowManager, AnotherActiveWindowMakesTheFrameInactive)
{
    SSkinFrameState state;
    ASSERT_TRUE(WaitFor([&] { return Skins().GetFrameState(m_frame.get(), state) && state.active; }));
    UniqueWindow<wxFrame> other(new wxFrame(nullptr, wxID_ANY, "Other", wxPoint(600, 500), wxSize(200, 100)));
    ShowAndFocus(other.get());
    other->Raise();
    EXPECT_TRUE(WaitFor([&] { return Skins().GetFrameState(m_frame.get(), state) && !state.active; }));
    other.reset();
    m_frame->Raise();
    EXPECT_TRUE(WaitFor([&] { return Skins().GetFrameState(m_frame.get(), state) && state.active; }));
}

}  // namespace
