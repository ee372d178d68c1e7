#include "Harbinax/Skin.h"
#include "Harbinax/SkinFrame.h"
#include "Harbinax/SkinManager.h"
#include "SkinTestSupport.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <cstdlib>

namespace {

CSkinManager& Skins()
{
    return *CSkinManager::GetInstance();
}

// A skinned frame of 300 x 200 content pixels with a white panel filling its content.
class SkinFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Skins().LoadSkinFile("Blue", SkinDataFile("Frame.xml")));
        m_frame.reset(new CSkinFrame(nullptr, wxID_ANY, "Skinned frame", wxPoint(40, 40), wxSize(300, 200)));
        m_panel = new wxPanel(m_frame.get());
        m_panel->SetBackgroundColour(*wxWHITE);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_panel, 1, wxEXPAND);
        m_frame->SetSizer(sizer);
        m_frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { ++m_closes; });
        ShowAndFocus(m_frame.get());
        ASSERT_TRUE(Skins().RegisterWindow(m_frame.get(), "Blue", true, true));
        WaitFor([this] { return m_frame->GetSize() == wxSize(308, 230); });
    }
    void TearDown() override
    {
        m_frame.reset();
        Skins().RemoveAllSkins();
    }

    // Presses and releases the left button at the points (window coordinates).
    void Click(const wxPoint& down, const wxPoint& up)
    {
        SendMouse(m_frame.get(), wxEVT_MOTION, down);
        SendMouse(m_frame.get(), wxEVT_LEFT_DOWN, down);
        SendMouse(m_frame.get(), wxEVT_MOTION, up);
        SendMouse(m_frame.get(), wxEVT_LEFT_UP, up);
        Pump();
    }
    void Click(const wxPoint& point) { Click(point, point); }

    // The centre of the caption button as the window shows it now.
    wxPoint Button(int button)
    {
        SSkinFrameState state;
        EXPECT_TRUE(Skins().GetFrameState(m_frame.get(), state));
        const SSkinRect rect = SkinButtonRect(Skins().FindSkin("Blue")->Definition(), state, button);
        EXPECT_FALSE(rect.IsEmpty()) << button;
        return wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2);
    }

    UniqueWindow<CSkinFrame> m_frame;
    wxPanel* m_panel = nullptr;
    int m_closes = 0;
};

TEST_F(SkinFrame, TheContentKeepsItsSizeInsideTheFrame)
{
    EXPECT_EQ(wxSize(300 + kLeft + kRight, 200 + kTop + kBottom), m_frame->GetSize());
    EXPECT_EQ(wxSize(300, 200), m_frame->GetClientSize());
    EXPECT_EQ(wxRect(kLeft, kTop, 300, 200), m_panel->GetRect());

    Skins().UnregisterWindow(m_frame.get());
    EXPECT_TRUE(WaitFor([this] { return m_panel->GetPosition() == wxPoint(0, 0); }));
    EXPECT_EQ(m_frame->GetSize(), m_frame->GetClientSize());
}

TEST_F(SkinFrame, DrawsTheFrameFromTheSkinBitmap)
{
    // An orange square for the window's icon, drawn into the icon button's place.
    wxImage orange(16, 16);
    orange.SetRGB(wxRect(0, 0, 16, 16), 255, 140, 0);
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(orange));
    m_frame->SetIcon(icon);
    // Under the window the root window is black, so the cut corners show black.
    const wxRect screen = m_frame->GetScreenRect();
    Snapshot(m_frame.get());
    const wxBitmap shot = ScreenArea(screen.Inflate(10, 10));
    SaveScreenshot(shot, "SkinFrame");
    const wxImage image = shot.ConvertToImage();
    const auto at = [&](int x, int y) { return wxColour(image.GetRed(x + 10, y + 10), image.GetGreen(x + 10, y + 10),
                                                        image.GetBlue(x + 10, y + 10)); };
    // Caption strip: blue, darker towards its bottom; borders in the skin's dark blue; the
    // content white; the cut corner not the window's.
    EXPECT_GT(at(150, 13).Blue(), at(150, 13).Red() + 60);
    EXPECT_EQ(wxColour(30, 60, 130), at(1, 100)) << "left border";
    EXPECT_EQ(*wxWHITE, at(150, 100));
    EXPECT_NE(wxColour(20, 40, 100), at(0, 0)) << "the rounded corner";
    EXPECT_EQ(wxColour(20, 40, 100), at(7, 0));
    // The close button's red.
    const wxPoint close = Button(SKIN_CLOSE);
    EXPECT_GT(at(close.x - 5, close.y - 4).Red(), 150);
    EXPECT_EQ(16 * 16, CountColour(image, wxColour(255, 140, 0), wxRect(10 + 7, 10 + 5, 16, 16)));
    // The caption text in white lies between the icon and the buttons, and goes with the title.
    EXPECT_GT(CountColour(image, *wxWHITE, wxRect(10 + 28, 10 + 4, 120, 20)), 10);
    m_frame->SetTitle("");
    EXPECT_EQ(0, CountColour(Snapshot(m_frame.get()).ConvertToImage(), *wxWHITE, wxRect(28, 4, 120, 20)));
}

TEST_F(SkinFrame, RollUpLeavesTheCaptionAndUnrollingRestoresTheHeight)
{
    Click(Button(SKIN_ROLLUP));
    EXPECT_TRUE(WaitFor([this] { return m_frame->GetSize().y == kTop + kBottom; }));
    SSkinFrameState state;
    ASSERT_TRUE(Skins().GetFrameState(m_frame.get(), state));
    EXPECT_TRUE(state.rolledUp);
    EXPECT_EQ(kTop + kBottom, m_frame->GetMaxSize().y) << "it cannot be made taller";
    // Its top and bottom edges drag the window; the corners size its width only.
    EXPECT_EQ(SKINHIT_CAPTION, Skins().HitTest(m_frame.get(), wxPoint(150, 0)));
    EXPECT_EQ(SKINHIT_LEFT, Skins().HitTest(m_frame.get(), wxPoint(0, 0)));

    Click(Button(SKIN_ROLLUP));
    EXPECT_TRUE(WaitFor([this] { return m_frame->GetSize().y == 230; }));
    EXPECT_EQ(wxSize(300, 200), m_frame->GetClientSize());
}

TEST_F(SkinFrame, PinKeepsTheWindowOnTopUntilUnpinned)
{
    const wxPoint pin = Button(SKIN_PIN1);
    Click(pin);
    EXPECT_TRUE(m_frame->HasFlag(wxSTAY_ON_TOP));
    EXPECT_EQ(SKINHIT_PIN2, Skins().HitTest(m_frame.get(), pin));
    Click(pin);
    EXPECT_FALSE(m_frame->HasFlag(wxSTAY_ON_TOP));
    EXPECT_EQ(SKINHIT_PIN1, Skins().HitTest(m_frame.get(), pin));
}

TEST_F(SkinFrame, CloseActsOnlyWhenReleasedOverItself)
{
    const wxPoint close = Button(SKIN_CLOSE);
    SendMouse(m_frame.get(), wxEVT_MOTION, close);
    EXPECT_EQ(CSkinManager::BUTTON_HOVER, Skins().GetButtonState(m_frame.get(), SKIN_CLOSE));
    SendMouse(m_frame.get(), wxEVT_LEFT_DOWN, close);
    EXPECT_EQ(CSkinManager::BUTTON_PRESSED, Skins().GetButtonState(m_frame.get(), SKIN_CLOSE));
    SendMouse(m_frame.get(), wxEVT_LEFT_UP, wxPoint(150, 100));
    Pump();
    EXPECT_EQ(0, m_closes);
    EXPECT_EQ(CSkinManager::BUTTON_NORMAL, Skins().GetButtonState(m_frame.get(), SKIN_CLOSE));

    Click(close);
    EXPECT_TRUE(WaitFor([this] { return m_closes == 1; }));
}

TEST_F(SkinFrame, MinimumWidthKeepsEveryButtonVisible)
{
    SSkinFrameState state;
    ASSERT_TRUE(Skins().GetFrameState(m_frame.get(), state));
    const int minimum = SkinMinimumWidth(Skins().FindSkin("Blue")->Definition(), state);
    // The caption starts 28 from the left; the pin, the leftmost right-aligned button, starts
    // 78 + 16 from the right edge.
    EXPECT_EQ(28 + 94, minimum);
    EXPECT_EQ(minimum, m_frame->GetMinSize().x);
    m_frame->SetSize(wxSize(40, 230));
    EXPECT_EQ(minimum, m_frame->GetSize().x);
}

TEST_F(SkinFrame, BordersSizeAndTheCaptionMovesUnlessMaximised)
{
    EXPECT_EQ(SKINHIT_LEFT, Skins().HitTest(m_frame.get(), wxPoint(1, 100)));
    EXPECT_EQ(SKINHIT_BOTTOMRIGHT, Skins().HitTest(m_frame.get(), wxPoint(306, 228)));
    EXPECT_EQ(SKINHIT_CAPTION, Skins().HitTest(m_frame.get(), wxPoint(150, 12)));
    EXPECT_EQ(SKINHIT_CLIENT, Skins().HitTest(m_frame.get(), wxPoint(150, 100)));
    EXPECT_EQ(SKINHIT_CLOSE, Skins().HitTest(m_frame.get(), Button(SKIN_CLOSE)));
    EXPECT_EQ(SKINHIT_SYSMENU, Skins().HitTest(m_frame.get(), wxPoint(12, 12)));
}

TEST_F(SkinFrame, TheMenuBarSitsBetweenCaptionAndContent)
{
    auto* file = new wxMenu;
    file->Append(wxID_EXIT, "Quit");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(new wxMenu, "&Edit");
    bar->EnableTop(1, false);
    m_frame->SetMenuBar(bar);
    EXPECT_EQ(bar, m_frame->GetMenuBar());

    SSkinFrameState state;
    EXPECT_TRUE(WaitFor([&] { return Skins().GetFrameState(m_frame.get(), state) && state.menuHeight > 0; }));
    const int menu = state.menuHeight;
    EXPECT_TRUE(WaitFor([&] { return m_panel->GetPosition() == wxPoint(kLeft, kTop + menu); }));
    EXPECT_EQ(wxSize(300, 200 - menu), m_panel->GetSize()) << "the content gives the strip its room";
    EXPECT_EQ(SKINHIT_MENU, Skins().HitTest(m_frame.get(), wxPoint(150, kTop + menu / 2)));

    const std::vector<wxRect> titles = Skins().GetMenuTitleRects(m_frame.get());
    ASSERT_EQ(2u, titles.size());
    EXPECT_EQ(wxPoint(kLeft + 2, kTop), titles[0].GetPosition());
    EXPECT_EQ(titles[0].GetRight() + 1, titles[1].x);
    // The titles are drawn in the strip: dark text on the strip's colour.
    const wxImage shown = Snapshot(m_frame.get()).ConvertToImage();
    const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_MENUTEXT);
    EXPECT_GT(CountColour(shown, text, titles[0]), 5);
    EXPECT_EQ(0, CountColour(shown, text, titles[1])) << "a disabled menu is greyed";
}

}  // namespace
