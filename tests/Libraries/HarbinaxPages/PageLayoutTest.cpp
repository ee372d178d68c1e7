#include "PageTestSupport.h"
#include "support/WindowManager.h"
#include "support/WxTestSupport.h"

#include "Harbinax/DialogControls.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stattext.h>

namespace {

class PageLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateFrame(nullptr, "Layout", wxSize(300, 100)));
        ASSERT_TRUE(fluid.CreatePage(host.GetWindow(), wxRect(0, 0, 400, 250)));
        ASSERT_TRUE(results.CreatePage(host.GetWindow(), wxRect(0, 0, 450, 200)));
        for (CLoggingDialog* page : {&fluid, &results}) {
            cvToolBarButton button;
            button.ownerPage = page;
            button.commandId = page == &fluid ? 100 : 101;
            button.icon = SquareIcon(*wxGREEN);
            button.label = page == &fluid ? "Fluid data" : "Calculate meters";
            button.checkGroup = true;
            host.m_buttons.push_back(button);
            page->m_ownButton = button;
            host.m_pages.push_back(page);
        }
    }

    void TearDown() override
    {
        if (host.GetWindow())
            host.GetWindow()->Destroy();
        Pump();
    }

    CallLog log;
    CLoggingDialog host{"host", log};
    CLoggingDialog fluid{"fluid", log};
    CLoggingDialog results{"results", log};
};

TEST_F(PageLayout, MinimumSizeCoversEveryPageAndTheToolbar)
{
    EXPECT_EQ(wxSize(450, 250), host.GetMinimumSize(true));
    host.CreateToolBar();
    EXPECT_EQ(wxSize(450, 250), host.GetMinimumSize(true));  // top bar not shown
    host.m_showTopBar = true;
    const int toolsWidth = host.GetToolBar()->GetBestSize().x;
    EXPECT_EQ(wxSize(std::max(450, toolsWidth), 250), host.GetMinimumSize(true));
    EXPECT_EQ(wxSize(450, 250), host.GetMinimumSize(false));
    results.m_contentSize = wxSize(2000, 10);
    EXPECT_EQ(wxSize(2000, 250), host.GetMinimumSize(true));
}

TEST_F(PageLayout, PagesFillTheAreaBelowTheToolbarAndFollowTheWindow)
{
    host.CreateToolBar();
    host.m_showTopBar = true;
    host.ShowPage(&fluid);
    host.LayoutForPageSize(450, 250);
    wxWindow* frame = host.GetWindow();
    const int bar = host.GetToolBar()->GetSize().y;
    ASSERT_GT(bar, 32);  // icon and label
    EXPECT_EQ(wxSize(450, 250 + bar), frame->GetClientSize());
    EXPECT_EQ(wxRect(0, bar, 450, 250), fluid.GetWindow()->GetRect());
    EXPECT_EQ(wxRect(0, bar, 450, 250), results.GetWindow()->GetRect());
    EXPECT_EQ(wxRect(0, 0, 450, bar), host.GetToolBar()->GetRect());
    EXPECT_EQ(wxSize(450, 250 + bar), host.m_contentSize);
    const wxSize window = frame->GetSize();
    EXPECT_EQ(wxSize(window.x / 2, window.y / 2), frame->GetMinSize());

    ShowAndFocus(frame);
    frame->SetSize(frame->GetSize() + wxSize(100, 60));
    EXPECT_TRUE(WaitFor([&] { return fluid.GetWindow()->GetSize() == wxSize(550, 310); }));
    EXPECT_EQ(wxRect(0, bar, 550, 310), fluid.GetWindow()->GetRect());
    EXPECT_EQ(wxRect(0, 0, 550, bar), host.GetToolBar()->GetRect());

    // The grip of the top-level window sits in its corner; a page has none.
    EXPECT_TRUE(host.GetGripSupport().IsGripShown());
    const CGripBar* grip = host.GetGripSupport().GetGrip();
    ASSERT_NE(nullptr, grip);
    EXPECT_TRUE(grip->IsShown());
    EXPECT_EQ(wxPoint(550, 310 + bar), grip->GetRect().GetBottomRight() + wxPoint(1, 1));
    EXPECT_FALSE(fluid.GetGripSupport().IsGripShown());

    // A window passing through a tiny size (as when the window manager frames it) hands the
    // anchored toolbar that width; the bar keeps the width of its buttons, less GTK cannot lay out.
    host.GetToolBar()->SetSize(0, 0, 2, bar);
    EXPECT_EQ(host.GetToolBar()->GetSize(), wxSize(host.GetToolBar()->GetBestSize().x, bar));
}

// Maximising needs a window manager.
TEST(PageGrip, MaximisedWindowHidesTheGripAndRestoringShowsIt)
{
    CWindowManager manager;
    ASSERT_TRUE(manager.Start()) << "openbox could not be started";
    CallLog log;
    CLoggingDialog host("host", log);
    ASSERT_TRUE(host.CreateFrame(nullptr, "Grip", wxSize(300, 200)));
    new wxWindow(host.GetWindow(), wxID_ANY, wxPoint(0, 0), wxSize(5, 5));  // no stretching of a single child
    wxFrame* frame = host.GetFrame();
    ShowAndFocus(frame);
    const CGripBar* grip = host.GetGripSupport().GetGrip();
    ASSERT_NE(nullptr, grip);
    EXPECT_TRUE(grip->IsShown());

    frame->Maximize();
    ASSERT_TRUE(WaitFor([&] { return frame->IsMaximized(); }));
    EXPECT_TRUE(WaitFor([&] { return !grip->IsShown(); }));
    EXPECT_FALSE(host.GetGripSupport().IsGripShown());

    frame->Maximize(false);
    ASSERT_TRUE(WaitFor([&] { return !frame->IsMaximized(); }));
    EXPECT_TRUE(WaitFor([&] { return grip->IsShown(); }));
    const wxSize client = frame->GetClientSize();
    EXPECT_TRUE(WaitFor([&] { return grip->GetRect().GetBottomRight() + wxPoint(1, 1) == wxPoint(client.x, client.y); }));
    frame->Destroy();
    Pump();
}

TEST(ScrolledPage, ContentLargerThanThePageScrollsWithinItsExtent)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Scroll", wxPoint(10, 10), wxSize(600, 500));
    new wxWindow(frame, wxID_ANY, wxPoint(590, 0), wxSize(5, 5));  // no stretching of a single child
    CallLog log;
    CLoggingDialog page("page", log, true);
    ASSERT_TRUE(page.CreatePage(frame, wxRect(0, 0, 400, 300)));
    wxWindow* panel = page.GetWindow();
    wxWindow* corner = new wxStaticText(panel, 1001, "corner", wxPoint(350, 260), wxSize(40, 30));
    wxWindow* stretched = new wxStaticText(panel, 1002, "stretched", wxPoint(10, 10), wxSize(380, 20));
    page.AddDlgItemAnchor(1002, kAnchorTopLeft, kAnchorTopRight);
    panel->Show();
    ShowAndFocus(frame);
    EXPECT_EQ(wxSize(400, 300), page.m_contentSize);
    EXPECT_FALSE(panel->HasScrollbar(wxVERTICAL) && panel->GetScrollRange(wxVERTICAL) > panel->GetScrollThumb(wxVERTICAL));

    panel->SetSize(200, 150);
    ASSERT_TRUE(WaitFor([&] { return panel->GetScrollRange(wxVERTICAL) == 300; }));
    Pump();
    const wxSize client = panel->GetClientSize();
    EXPECT_EQ(client.y, panel->GetScrollThumb(wxVERTICAL));
    EXPECT_EQ(400, panel->GetScrollRange(wxHORIZONTAL));
    // Content keeps its size: the anchored child does not shrink with the short view.
    EXPECT_EQ(380, stretched->GetSize().x);

    auto scroll = [&](wxEventType type, int orientation, int position = 0) {
        wxScrollWinEvent event(type, position, orientation);
        event.SetEventObject(panel);
        panel->GetEventHandler()->ProcessEvent(event);
    };
    // The largest position is one past content less view, as far as the scroll bar goes; a page
    // step covers that whole range.
    const wxPoint end(400 - client.x + 1, 300 - client.y + 1);
    scroll(wxEVT_SCROLLWIN_PAGEDOWN, wxVERTICAL);
    EXPECT_EQ(wxPoint(0, end.y), page.GetScrollPosition());
    EXPECT_EQ(wxPoint(350, 260 - end.y), corner->GetPosition());
    scroll(wxEVT_SCROLLWIN_PAGEUP, wxVERTICAL);
    EXPECT_EQ(wxPoint(0, 0), page.GetScrollPosition());
    EXPECT_EQ(wxPoint(350, 260), corner->GetPosition());
    scroll(wxEVT_SCROLLWIN_BOTTOM, wxVERTICAL);
    EXPECT_EQ(end.y, page.GetScrollPosition().y);
    EXPECT_EQ(300 - client.y, panel->GetScrollPos(wxVERTICAL)) << "the bar at its end";
    EXPECT_EQ(wxPoint(350, 260 - end.y), corner->GetPosition());
    scroll(wxEVT_SCROLLWIN_THUMBTRACK, wxHORIZONTAL, 5000);
    EXPECT_EQ(end.x, page.GetScrollPosition().x);
    EXPECT_EQ(wxPoint(350 - end.x, 260 - end.y), corner->GetPosition());
    EXPECT_EQ(wxPoint(10 - end.x, 10 - end.y), stretched->GetPosition());
    scroll(wxEVT_SCROLLWIN_LINEUP, wxVERTICAL);
    EXPECT_EQ(end.y - 5, page.GetScrollPosition().y);

    // Room again for everything: back at the start, the children where they were designed.
    panel->SetSize(500, 400);
    ASSERT_TRUE(WaitFor([&] { return page.GetScrollPosition() == wxPoint(0, 0); }));
    EXPECT_EQ(wxPoint(350, 260), corner->GetPosition());
    EXPECT_EQ(wxRect(10, 10, 480, 20), stretched->GetRect());
    frame->Destroy();
    Pump();
}

TEST(PageFromResource, CarriesTheControlsAndSizeOfItsDialogResource)
{
    CallLog log;
    CLoggingDialog host("host", log);
    ASSERT_TRUE(host.CreateFrame(nullptr, "Resource", wxSize(500, 400)));
    CLoggingDialog page("page", log);
    std::string error;
    ASSERT_TRUE(page.CreatePage(host.GetWindow(), 200, {}, &error)) << error;
    wxWindow* panel = page.GetWindow();
    EXPECT_EQ(panel->GetParent(), host.GetWindow());
    EXPECT_FALSE(panel->IsShown());
    EXPECT_EQ(panel->GetPosition(), wxPoint(0, 0));
    // The template's size and places; a row lower down where a field above is taller in GTK.
    const wxSize designed = panel->ConvertDialogToPixels(wxSize(200, 120));
    EXPECT_EQ(panel->GetClientSize().x, designed.x);
    EXPECT_GE(panel->GetClientSize().y, designed.y);
    EXPECT_EQ(page.m_contentSize, panel->GetClientSize());
    wxWindow* edit = CDialogControls::FindItem(panel, 1202);
    ASSERT_NE(edit, nullptr);
    const wxPoint place = panel->ConvertDialogToPixels(wxPoint(72, 24));
    EXPECT_EQ(edit->GetPosition().x, place.x);
    EXPECT_GE(edit->GetPosition().y, place.y);

    // A page may be anchored and shown like one built by hand.
    page.AddDlgItemAnchor(1202, kAnchorTopLeft, kAnchorTopRight);
    host.m_pages.push_back(&page);
    EXPECT_TRUE(host.ShowPage(&page));
    EXPECT_TRUE(panel->IsShown());
    host.GetWindow()->Destroy();
    Pump();
}

// A label set at run time gets its room as a translated one does, while the page keeps the size
// its owner gave it and an anchored control still follows the page's edge.
TEST(PageFromResource, ARunTimeLabelIsFittedAndAnchorsHold)
{
    CallLog log;
    CLoggingDialog host("host", log);
    ASSERT_TRUE(host.CreateFrame(nullptr, "Resource", wxSize(700, 500)));
    CLoggingDialog page("page", log);
    std::string error;
    ASSERT_TRUE(page.CreatePage(host.GetWindow(), 200, {}, &error)) << error;
    wxWindow* panel = page.GetWindow();
    page.AddDlgItemAnchor(1202, kAnchorTopLeft, kAnchorTopRight);
    host.m_pages.push_back(&page);
    ASSERT_TRUE(host.ShowPage(&page));
    const wxSize designed = page.m_contentSize;
    panel->SetSize(wxSize(designed.x + 150, designed.y + 50));
    Pump();
    wxWindow* anchored = CDialogControls::FindItem(panel, 1202);
    wxWindow* field = CDialogControls::FindItem(panel, 1201);
    const int margin = panel->GetClientSize().x - anchored->GetRect().GetRight();
    wxWindow* label = nullptr;
    for (wxWindow* child : panel->GetChildren())
        label = dynamic_cast<wxStaticText*>(child) ? child : label;
    ASSERT_NE(label, nullptr);

    label->SetLabel("Density at the operating point of the fluid:");
    page.FitControls();
    EXPECT_GE(label->GetSize().x, label->GetBestSize().x);
    EXPECT_GT(field->GetPosition().x, label->GetRect().GetRight());
    EXPECT_GT(page.m_contentSize.x, designed.x);
    EXPECT_EQ(panel->GetSize(), wxSize(designed.x + 150, designed.y + 50));
    EXPECT_EQ(panel->GetClientSize().x - anchored->GetRect().GetRight(), margin);
    EXPECT_EQ(anchored->GetPosition().x, field->GetPosition().x);
    host.GetWindow()->Destroy();
    Pump();
}

TEST(PageFromResource, FailsWithoutAWindowForAMissingOrBrokenResource)
{
    CallLog log;
    CLoggingDialog host("host", log);
    ASSERT_TRUE(host.CreateFrame(nullptr, "Resource", wxSize(300, 200)));
    const std::size_t children = host.GetWindow()->GetChildren().size();
    for (const int id : {299, 201}) {
        CLoggingDialog page("page", log);
        std::string error;
        EXPECT_FALSE(page.CreatePage(host.GetWindow(), id, {}, &error)) << id;
        EXPECT_FALSE(error.empty()) << id;
        EXPECT_EQ(page.GetWindow(), nullptr) << id;
        Pump();
        EXPECT_EQ(host.GetWindow()->GetChildren().size(), children) << id;
    }
    host.GetWindow()->Destroy();
    Pump();
}

}  // namespace
