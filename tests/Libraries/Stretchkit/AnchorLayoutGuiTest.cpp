#include "Stretchkit/AnchorLayout.h"
#include "Stretchkit/GripSupport.h"
#include "support/WxTestEnvironment.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
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

    using CAnchorLayout::ChildNeedsRedraw;

    // By callback id: the window and the anchors the callback answers with; ids not here are
    // skipped.
    std::map<int, SCallbackAnchor> answers;
    int asked = 0;

protected:
    wxWindow* GetLayoutWindow() const override { return m_window; }

    bool FillCallbackAnchor(SCallbackAnchor& record) override
    {
        ++asked;
        const auto found = answers.find(record.callbackId);
        if (found == answers.end())
            return false;
        record.window = found->second.window;
        record.anchor = found->second.anchor;
        return true;
    }

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

// Counts the repaints asked of it.
class CCountingText : public wxStaticText {
public:
    CCountingText(wxWindow* parent, const wxString& text, const wxRect& rect, long style)
        : wxStaticText(parent, wxID_ANY, text, rect.GetPosition(), rect.GetSize(), style)
    {
    }

    int refreshes = 0;

    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override
    {
        ++refreshes;
        wxStaticText::Refresh(eraseBackground, rect);
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

TEST_F(AnchorLayoutGui, CallbackAnchorMovesItsChildByTheCallbacksAnswer)
{
    CCountingWindow* placed = Child(10, wxRect(10, 10, 20, 20));
    CCountingWindow* skipped = Child(11, wxRect(50, 10, 20, 20));
    anchors->AddCallbackAnchor(7);
    anchors->AddCallbackAnchor(8);
    // The callback keeps the child's size and ties its right edge to the right of the panel.
    const SLayoutRect area{0, 0, 200, 300};
    anchors->answers[7] = {7, placed, AnchorChild(area, {150, 10, 170, 30}, kAnchorTopRight, kNoAnchor)};

    Grow();
    EXPECT_EQ(2, anchors->asked);
    EXPECT_EQ(wxRect(251, 10, 20, 20), placed->GetRect());
    EXPECT_EQ(wxRect(50, 10, 20, 20), skipped->GetRect());

    // Forgotten with the other anchors.
    anchors->DeleteAllAnchors();
    anchors->asked = 0;
    panel->SetSize(200, 300);
    anchors->RepositionChildren();
    EXPECT_EQ(0, anchors->asked);
    EXPECT_EQ(wxRect(251, 10, 20, 20), placed->GetRect());
}

// Which children are repainted whole after a move from old to now.
TEST_F(AnchorLayoutGui, ChildrenWhosePictureDependsOnTheirSizeNeedARedraw)
{
    wxWindow* text = new wxStaticText(panel, wxID_ANY, "Text", wxPoint(0, 0), wxSize(50, 20));
    wxWindow* picture = new wxStaticBitmap(panel, wxID_ANY, wxBitmap(8, 8), wxPoint(0, 30));
    wxWindow* list = new wxListBox(panel, wxID_ANY, wxPoint(0, 60), wxSize(50, 50));
    wxWindow* button = new wxButton(panel, wxID_ANY, "Go", wxPoint(0, 120));
    const wxRect old(0, 0, 50, 20);
    const struct {
        wxWindow* child;
        wxRect now;
        bool redraw;
    } cases[] = {
        {text, wxRect(5, 5, 50, 20), false},  // moved only
        {text, wxRect(0, 0, 60, 20), true},
        {text, wxRect(0, 0, 50, 30), false},  // taller: the lines stay where they were
        {picture, wxRect(0, 0, 50, 30), true},
        {list, wxRect(0, 0, 60, 20), true},
        {list, wxRect(0, 0, 40, 20), false},
        {button, wxRect(0, 0, 60, 30), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.redraw, anchors->ChildNeedsRedraw(c.child, old, c.now)) << c.child->GetClassInfo()->GetClassName();
}

// A centred text that widens is drawn again centred in its new width, read from the screen.
TEST(AnchorLayoutRedraw, CentredTextIsRepaintedAfterAResize)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Redraw", wxPoint(40, 40), wxSize(400, 120));
    wxPanel* panel = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(200, 100));
    new wxPanel(frame, wxID_ANY, wxPoint(390, 110), wxSize(4, 4));  // no stretching of a single child
    panel->SetBackgroundColour(*wxWHITE);
    auto* text = new CCountingText(panel, "WWWW", wxRect(0, 20, 200, 30), wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    text->SetForegroundColour(*wxBLACK);
    text->SetBackgroundColour(*wxWHITE);
    CPanelAnchors anchors(panel);
    ASSERT_TRUE(anchors.AddAnchor(text, kAnchorTopLeft, kAnchorTopRight));
    ShowAndFocus(frame);
    PumpFor(200);

    auto ink = [&] {
        // What the panel shows now, without asking anything to repaint first.
        PumpFor(200);
        return ColourBounds(ClientPixels(panel).ConvertToImage(), *wxBLACK);
    };
    const wxRect before = ink();
    ASSERT_FALSE(before.IsEmpty());
    EXPECT_NEAR(before.x + before.width / 2, 100, 3);

    panel->SetSize(380, 100);
    text->refreshes = 0;
    anchors.RepositionChildren();
    EXPECT_EQ(1, text->refreshes);
    const wxRect after = ink();
    ASSERT_FALSE(after.IsEmpty());
    EXPECT_NEAR(after.x + after.width / 2, 190, 3);
    EXPECT_EQ(before.width, after.width);
    frame->Destroy();
    Pump();
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

TEST(GripSupportGui, TriangularAndTransparentGrips)
{
    CGripSupport none;
    EXPECT_FALSE(none.SetGripBackground(1));
    EXPECT_FALSE(none.SetGripTriangle(true));

    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Grip", wxPoint(50, 50), wxSize(300, 200)));
    new wxPanel(frame.get(), wxID_ANY, wxPoint(0, 0), wxSize(10, 10));  // no stretching of a single child
    frame->SetBackgroundColour(*wxRED);
    CGripSupport grip;
    ASSERT_TRUE(grip.CreateGrip(frame.get(), true, true, false));
    CGripBar* bar = grip.GetGrip();
    EXPECT_TRUE(bar->IsTriangleRegion());
    EXPECT_FALSE(bar->IsTransparentPaint());
    ShowAndFocus(frame.get());
    const wxSize size = bar->GetSize();
    EXPECT_FALSE(bar->IsGripPoint(wxPoint(1, 1)));
    EXPECT_TRUE(bar->IsGripPoint(wxPoint(size.x - 2, size.y - 2)));
    EXPECT_FALSE(bar->IsGripPoint(wxPoint(size.x, size.y)));
    // The upper-left half takes no drag.
    SendMouse(bar, wxEVT_LEFT_DOWN, wxPoint(1, 1));
    EXPECT_FALSE(bar->HasCapture());

    // The parent's red shows in the upper half only, everywhere but the ridges when transparent,
    // and nowhere in a square opaque grip.
    auto red = [bar] { return CountColour(Snapshot(bar).ConvertToImage(), *wxRED); };
    const int triangular = red();
    EXPECT_GT(triangular, size.x * size.y / 3);
    EXPECT_LT(triangular, size.x * size.y * 2 / 3);
    EXPECT_TRUE(grip.SetGripBackground(1));
    EXPECT_TRUE(bar->IsTransparentPaint());
    EXPECT_GT(red(), triangular);
    EXPECT_FALSE(grip.SetGripBackground(3));
    EXPECT_TRUE(bar->IsTransparentPaint());
    EXPECT_TRUE(grip.SetGripBackground(2));
    EXPECT_TRUE(grip.SetGripTriangle(false));
    EXPECT_TRUE(bar->IsGripPoint(wxPoint(1, 1)));
    EXPECT_EQ(0, red());
}

// A change of the desktop's settings gives the grip the scroll bars' size again, in its corner.
TEST(GripSupportGui, GripFollowsTheDesktopSettings)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Grip", wxPoint(50, 50), wxSize(300, 200)));
    new wxPanel(frame.get(), wxID_ANY, wxPoint(0, 0), wxSize(10, 10));  // no stretching of a single child
    CGripSupport grip;
    ASSERT_TRUE(grip.CreateGrip(frame.get(), true));
    CGripBar* bar = grip.GetGrip();
    const wxRect placed = bar->GetRect();
    bar->SetSize(placed.GetRight() - 4, placed.GetBottom() - 5, 5, 6);  // as sized under older settings
    wxSysColourChangedEvent changed;
    changed.SetEventObject(bar);
    bar->GetEventHandler()->ProcessEvent(changed);
    EXPECT_EQ(placed, bar->GetRect());
}

// In a right-to-left window the grip sits in the bottom-left corner and drags that corner.
TEST(GripSupportGui, RightToLeftGripSitsBottomLeft)
{
    UniqueWindow<wxFrame> frame(new wxFrame(nullptr, wxID_ANY, "Grip", wxPoint(100, 50), wxSize(400, 300)));
    frame->SetLayoutDirection(wxLayout_RightToLeft);
    new wxPanel(frame.get(), wxID_ANY, wxPoint(0, 0), wxSize(10, 10));
    frame->SetMinSize(wxSize(300, 250));
    CGripSupport grip;
    ASSERT_TRUE(grip.CreateGrip(frame.get(), true, true, false));
    CGripBar* bar = grip.GetGrip();
    EXPECT_TRUE(bar->IsMirrored());
    ShowAndFocus(frame.get());
    // wx mirrors a right-to-left window's client coordinates, so the real pointer tells where
    // the grip is: pressed in the window's bottom-left corner, it drags.
    const wxRect start = frame->GetScreenRect();
    const wxPoint from(start.GetLeft() + 2, start.GetBottom() - 2);

    wxUIActionSimulator mouse;
    mouse.MouseMove(from);
    Pump();
    mouse.MouseDown();
    Pump();
    mouse.MouseMove(from + wxPoint(-60, 40));
    EXPECT_TRUE(WaitFor([&] { return frame->GetSize() == start.GetSize() + wxSize(60, 40); }))
        << frame->GetSize().x << "x" << frame->GetSize().y;
    EXPECT_EQ(start.GetRight(), frame->GetScreenRect().GetRight());
    mouse.MouseUp();
    Pump();
}

}  // namespace
