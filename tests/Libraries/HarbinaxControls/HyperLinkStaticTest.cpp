#include "ControlFrameTest.h"

#include "Harbinax/HyperLinkStatic.h"

#include <wx/image.h>

#include <string>
#include <vector>

namespace {

class HyperLinkStaticTest : public CControlFrameTest {
protected:
    void SetUp() override
    {
        CControlFrameTest::SetUp();
        CHyperLinkStatic::SetLauncherForTesting([this](const std::string& target) {
            m_opened.push_back(target);
            return m_launchSucceeds;
        });
        m_first = new CHyperLinkStatic(m_panel, wxID_ANY, "www.example.invalid", wxPoint(10, 10));
        m_second = new CHyperLinkStatic(m_panel, wxID_ANY, "Second link", wxPoint(10 + m_first->GetSize().x, 10));
        ShowFrame();
    }

    void TearDown() override
    {
        CControlFrameTest::TearDown();
        CHyperLinkStatic::SetLauncherForTesting(nullptr);
    }

    // The pointer moves to a point in screen coordinates: both links see it, as the one that
    // holds the mouse and the one under the pointer would.
    void MoveTo(const wxPoint& screen)
    {
        for (CHyperLinkStatic* link : {m_first, m_second}) {
            if (link->IsHovering() || link->GetScreenRect().Contains(screen))
                SendMouse(link, wxEVT_MOTION, link->ScreenToClient(screen));
        }
    }

    static wxPoint Inside(wxWindow* window) { return window->GetScreenRect().GetPosition() + wxPoint(3, 3); }

    CHyperLinkStatic* m_first = nullptr;
    CHyperLinkStatic* m_second = nullptr;
    std::vector<std::string> m_opened;
    bool m_launchSucceeds = true;
};

TEST_F(HyperLinkStaticTest, ClickHandsTheTargetToTheDesktop)
{
    m_first->SetLink(wxString::FromUTF8("https://example.invalid/Größe?a=1&b=2"));
    SendMouse(m_first, wxEVT_LEFT_DOWN, wxPoint(2, 2));
    SendMouse(m_first, wxEVT_LEFT_UP, wxPoint(2, 2));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], "https://example.invalid/Größe?a=1&b=2");

    // Released outside: no click.
    SendMouse(m_first, wxEVT_LEFT_UP, wxPoint(-5, 2));
    EXPECT_EQ(m_opened.size(), 1u);

    m_launchSucceeds = false;
    EXPECT_FALSE(m_first->OpenLink());
    EXPECT_EQ(m_opened.size(), 2u);
}

TEST_F(HyperLinkStaticTest, HoverSetsTheHandAndGivesThePreviousCursorBack)
{
    const wxCursor cross(wxCURSOR_CROSS);
    m_first->SetCursor(cross);
    MoveTo(Inside(m_first));
    EXPECT_TRUE(m_first->IsHovering());
    EXPECT_TRUE(m_first->HasCapture());
    EXPECT_TRUE(m_first->GetCursor().IsOk());
    EXPECT_FALSE(m_first->GetCursor().IsSameAs(cross));

    // Moving within keeps the hover (and does not capture twice).
    MoveTo(Inside(m_first) + wxPoint(2, 0));
    EXPECT_TRUE(m_first->IsHovering());

    MoveTo(m_frame->GetScreenRect().GetBottomRight() - wxPoint(5, 5));
    EXPECT_FALSE(m_first->IsHovering());
    EXPECT_FALSE(m_first->HasCapture());
    EXPECT_TRUE(m_first->GetCursor().IsSameAs(cross));
}

TEST_F(HyperLinkStaticTest, MovingFromOneLinkToTheNextRestoresAndSetsTheHandAgain)
{
    MoveTo(Inside(m_first));
    ASSERT_TRUE(m_first->IsHovering());
    MoveTo(Inside(m_second));
    EXPECT_FALSE(m_first->IsHovering());
    EXPECT_FALSE(m_first->GetCursor().IsOk());  // back to the default
    EXPECT_TRUE(m_second->IsHovering());
    EXPECT_TRUE(m_second->HasCapture());
    EXPECT_TRUE(m_second->GetCursor().IsOk());
    MoveTo(Inside(m_first));
    EXPECT_FALSE(m_second->IsHovering());
    EXPECT_FALSE(m_second->GetCursor().IsOk());
    EXPECT_TRUE(m_first->IsHovering());
}

TEST_F(HyperLinkStaticTest, ClickWhileHoveringEndsTheHover)
{
    m_first->SetLink("file:///tmp");
    MoveTo(Inside(m_first));
    ASSERT_TRUE(m_first->HasCapture());
    SendMouse(m_first, wxEVT_LEFT_UP, wxPoint(2, 2));
    EXPECT_EQ(m_opened.size(), 1u);
    EXPECT_FALSE(m_first->IsHovering());
    EXPECT_FALSE(m_first->HasCapture());
    EXPECT_FALSE(m_first->GetCursor().IsOk());
    // The next move over the link starts a new hover.
    MoveTo(Inside(m_first));
    EXPECT_TRUE(m_first->IsHovering());
}

TEST_F(HyperLinkStaticTest, DrawnInLinkBlue)
{
    EXPECT_GT(CountColour(Snapshot(m_first).ConvertToImage(), wxColour(0x32, 0x32, 0xE1)), 0);
    EXPECT_EQ(m_first->GetBestSize(), m_first->GetTextExtent("www.example.invalid"));
}

}  // namespace
