#include "Stretchkit/AnchorLayout.h"
#include "Stretchkit/GripSupport.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

namespace {

::testing::Environment* const wx =
    ::testing::AddGlobalTestEnvironment(new CWxTestEnvironment({"StretchkitGuiTests"}));

class CPanelAnchors : public CAnchorLayout {
public:
    explicit CPanelAnchors(wxWindow* window)
        : m_window(window)
    {
    }

protected:
    wxWindow* GetLayoutWindow() const override { return m_window; }

private:
    wxWindow* m_window;
};

// Counts the size and position requests it receives.
class CCountingWindow : public wxWindow {
public:
    CCountingWindow(wxWindow* parent, int id, const wxRect& rect)
        : wxWindow(parent, id, rect.GetPosition(), rect.GetSize())
    {
    }

    int requests = 0;

protected:
    void DoSetSize(int x, int y, int width, int height, int flags) override
    {
        ++requests;
        wxWindow::DoSetSize(x, y, width, height, flags);
    }
};

class AnchorLayoutGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Anchors", wxDefaultPosition, wxSize(600, 600));
        panel = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(200, 300));
        new wxPanel(frame, wxID_ANY, wxPoint(500, 500), wxSize(10, 10));  // no stretching of a single child
        anchors = std::make_unique<CPanelAnchors>(panel);
    }

    void TearDown() override
    {
        anchors.reset();
        frame->Destroy();
        Pump();
    }

    CCountingWindow* Child(int id, const wxRect& rect) { return new CCountingWindow(panel, id, rect); }

    void Grow()
    {
        panel->SetSize(301, 401);
        anchors->RepositionChildren();
    }

    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
    std::unique_ptr<CPanelAnchors> anchors;
};

TEST_F(AnchorLayoutGui, ChildrenFollowTheirAnchorsWhenTheWindowGrows)
{
    CCountingWindow* stretched = Child(10, wxRect(10, 20, 180, 260));
    CCountingWindow* centred = Child(11, wxRect(90, 5, 20, 10));
    CCountingWindow* corner = Child(12, wxRect(150, 250, 40, 40));
    CCountingWindow* fixed = Child(13, wxRect(5, 5, 30, 10));
    ASSERT_TRUE(anchors->AddAnchor(stretched, kAnchorTopLeft, kAnchorBottomRight));
    ASSERT_TRUE(anchors->AddAnchor(centred, kAnchorTopCenter, kAnchorTopCenter));
    ASSERT_TRUE(anchors->AddDlgItemAnchor(12, kAnchorBottomRight, kNoAnchor));
    ASSERT_TRUE(anchors->AddAnchor(fixed, kAnchorTopLeft));
    for (CCountingWindow* child : {stretched, centred, corner, fixed})
        child->requests = 0;

    Grow();
    EXPECT_EQ(wxRect(10, 20, 281, 361), stretched->GetRect());
    EXPECT_EQ(wxRect(140, 5, 20, 10), centred->GetRect());  // half of 101, truncated
    EXPECT_EQ(wxRect(251, 351, 40, 40), corner->GetRect());
    EXPECT_EQ(wxRect(5, 5, 30, 10), fixed->GetRect());
    EXPECT_EQ(1, stretched->requests);
    EXPECT_EQ(0, fixed->requests);  // in place: not moved at all

    // Nothing changed since: nobody is moved.
    anchors->RepositionChildren();
    EXPECT_EQ(1, stretched->requests);
    EXPECT_EQ(1, centred->requests);
}

TEST_F(AnchorLayoutGui, DeletingAndReanchoringLeavesTheOthersIntact)
{
    CCountingWindow* first = Child(10, wxRect(10, 10, 20, 20));
    CCountingWindow* second = Child(11, wxRect(50, 10, 20, 20));
    CCountingWindow* third = Child(12, wxRect(90, 10, 20, 20));
    anchors->AddAnchor(first, kAnchorTopRight);
    anchors->AddAnchor(second, kAnchorTopRight);
    anchors->AddAnchor(third, kAnchorBottomLeft);

    EXPECT_TRUE(anchors->DeleteAnchor(first));
    EXPECT_FALSE(anchors->DeleteAnchor(first));
    // Anchoring again replaces, not adds: the child moves once, by its new anchor.
    anchors->AddAnchor(second, kAnchorTopLeft, kAnchorBottomRight);
    anchors->AddAnchor(second, kAnchorBottomRight);
    anchors->AddAnchor(first, kAnchorMiddleCenter);

    Grow();
    EXPECT_EQ(wxRect(60, 60, 20, 20), first->GetRect());
    EXPECT_EQ(wxRect(151, 111, 20, 20), second->GetRect());
    EXPECT_EQ(wxRect(90, 111, 20, 20), third->GetRect());

    anchors->DeleteAllAnchors();
    EXPECT_FALSE(anchors->DeleteAnchor(third));
    panel->SetSize(200, 300);
    anchors->RepositionChildren();
    EXPECT_EQ(wxRect(90, 111, 20, 20), third->GetRect());
}

TEST_F(AnchorLayoutGui, OnlyChildrenOfTheLayoutWindowAreAnchored)
{
    CCountingWindow* child = Child(10, wxRect(10, 10, 20, 20));
    wxWindow* grandChild = new wxWindow(child, 20);
    EXPECT_FALSE(anchors->AddAnchor(nullptr, kAnchorTopLeft));
    EXPECT_FALSE(anchors->AddAnchor(grandChild, kAnchorTopLeft));
    EXPECT_FALSE(anchors->AddAnchor(frame, kAnchorTopLeft));
    EXPECT_FALSE(anchors->AddDlgItemAnchor(20, kAnchorTopLeft, kAnchorBottomRight));
    EXPECT_FALSE(anchors->AddDlgItemAnchor(99, kAnchorTopLeft, kAnchorBottomRight));
}

TEST_F(AnchorLayoutGui, DestroyedChildIsForgotten)
{
    CCountingWindow* gone = Child(10, wxRect(10, 10, 20, 20));
    CCountingWindow* kept = Child(11, wxRect(50, 10, 20, 20));
    anchors->AddAnchor(gone, kAnchorTopRight);
    anchors->AddAnchor(kept, kAnchorTopRight);
    delete gone;
    Grow();
    EXPECT_EQ(wxRect(151, 10, 20, 20), kept->GetRect());
}

TEST(GripSupportGui, GripSitsInTheCornerAndResizesTheWindowByDragging)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Grip", wxPoint(50, 50), wxSize(400, 300));
    new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(10, 10));
    frame->SetMinSize(wxSize(300, 250));
    CGripSupport grip;
    ASSERT_TRUE(grip.CreateGrip(frame, false));
    CGripBar* bar = grip.GetGrip();
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(bar->IsShown());
    EXPECT_FALSE(bar->AcceptsFocusFromKeyboard());

    std::uint32_t status = 0;
    grip.GripShowRequest(&status, 1);
    grip.PlaceGrip();
    EXPECT_TRUE(bar->IsShown());
    const wxSize client = frame->GetClientSize();
    EXPECT_EQ(wxPoint(client.x, client.y) - wxPoint(bar->GetSize().x, bar->GetSize().y), bar->GetPosition());

    ShowAndFocus(frame);
    const wxSize start = frame->GetSize();
    wxUIActionSimulator mouse;
    const wxPoint from = bar->GetScreenRect().GetPosition() + wxPoint(bar->GetSize().x / 2, bar->GetSize().y / 2);
    mouse.MouseMove(from);
    Pump();
    mouse.MouseDown();
    Pump();
    mouse.MouseMove(from + wxPoint(60, 40));
    Pump();
    EXPECT_TRUE(WaitFor([&] { return frame->GetSize() == start + wxSize(60, 40); }))
        << frame->GetSize().x << "x" << frame->GetSize().y;
    mouse.MouseMove(from - wxPoint(300, 300));
    Pump();
    EXPECT_TRUE(WaitFor([&] { return frame->GetSize() == wxSize(300, 250); }));
    mouse.MouseUp();
    Pump();
    mouse.MouseMove(from + wxPoint(100, 100));
    Pump();
    EXPECT_EQ(wxSize(300, 250), frame->GetSize());  // the drag has ended

    grip.GripHideRequest(&status, 1);
    grip.PlaceGrip();
    EXPECT_FALSE(bar->IsShown());
    frame->Destroy();
    Pump();
    EXPECT_EQ(nullptr, grip.GetGrip());
}

// A window may close during a drag of its grip: the grip gives the mouse back as it goes, so no
// window is left holding a capture for a window that no longer exists.
TEST(GripSupportGui, GoingDuringADragGivesTheMouseBack)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Grip", wxPoint(50, 50), wxSize(400, 300)));
    CGripSupport grip;
    ASSERT_TRUE(grip.CreateGrip(frame.get(), true));
    ShowAndFocus(frame.get());
    SendMouse(grip.GetGrip(), wxEVT_LEFT_DOWN, wxPoint(2, 2));
    ASSERT_TRUE(grip.GetGrip()->HasCapture());
    frame.reset();
    EXPECT_EQ(nullptr, wxWindow::GetCapture());
    EXPECT_EQ(nullptr, grip.GetGrip());
}

}  // namespace
