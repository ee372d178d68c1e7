#include "PageTestSupport.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <memory>

namespace {

constexpr int kPrint = 300;
constexpr int kFluid = 100;
constexpr int kResults = 101;

cvToolBarButton Button(cvBaseDialog* page, int id, const char* label, bool checkGroup, bool separator)
{
    cvToolBarButton button;
    button.ownerPage = page;
    button.commandId = id;
    button.icon = SquareIcon(*wxCYAN);
    button.label = label;
    button.checkGroup = checkGroup;
    button.separatorBefore = separator;
    return button;
}

// A main window with a command button and two page buttons, as the application builds it.
class PageProtocol : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateFrame(nullptr, "Pages", wxSize(300, 100)));
        ASSERT_TRUE(fluid.CreatePage(host.GetWindow(), wxRect(0, 0, 400, 250)));
        ASSERT_TRUE(results.CreatePage(host.GetWindow(), wxRect(0, 0, 450, 200)));
        AddButton(Button(nullptr, kPrint, "Print", false, false));
        AddButton(Button(&fluid, kFluid, "Fluid data", true, true));
        AddButton(Button(&results, kResults, "Calculate meters", true, false));
        host.CreateToolBar();
        host.m_showTopBar = true;
    }

    void TearDown() override
    {
        if (host.GetWindow())
            host.GetWindow()->Destroy();
        Pump();
    }

    void AddButton(const cvToolBarButton& button)
    {
        host.m_buttons.push_back(button);
        if (button.ownerPage) {
            button.ownerPage->m_ownButton = button;
            host.m_pages.push_back(button.ownerPage);
        }
    }

    bool Checked(int id) { return host.GetToolBar()->GetToolState(id); }

    CallLog log;
    CLoggingDialog host{"host", log};
    CLoggingDialog fluid{"fluid", log};
    CLoggingDialog results{"results", log};
};

TEST_F(PageProtocol, FirstPageIsEnteredBeforeItShows)
{
    EXPECT_TRUE(host.ShowPage(&fluid));
    EXPECT_EQ(CallLog({"fluid.CanEnterPage", "fluid.OnEnterPage", "host.OnPageChanged"}), log);
    EXPECT_EQ(&fluid, host.GetCurrentPage());
    EXPECT_TRUE(fluid.GetWindow()->IsShown());
    EXPECT_FALSE(results.GetWindow()->IsShown());
    EXPECT_TRUE(Checked(kFluid));
    EXPECT_FALSE(Checked(kResults));
}

TEST_F(PageProtocol, SwitchAsksBothPagesThenLeavesBeforeEntering)
{
    host.ShowPage(&fluid);
    log.clear();
    EXPECT_TRUE(host.ShowPage(&results));
    EXPECT_EQ(CallLog({"fluid.CanLeavePage shown", "results.CanEnterPage", "fluid.OnLeavePage shown",
                       "results.OnEnterPage", "host.OnPageChanged"}),
              log);
    EXPECT_FALSE(fluid.GetWindow()->IsShown());
    EXPECT_TRUE(results.GetWindow()->IsShown());
    EXPECT_FALSE(Checked(kFluid));
    EXPECT_TRUE(Checked(kResults));

    log.clear();
    EXPECT_TRUE(host.ShowPage(nullptr));
    EXPECT_EQ(CallLog({"results.CanLeavePage shown", "results.OnLeavePage shown"}), log);
    EXPECT_FALSE(results.GetWindow()->IsShown());
    EXPECT_FALSE(Checked(kResults));
}

TEST_F(PageProtocol, ShowingTheCurrentPageMakesNoCalls)
{
    EXPECT_TRUE(host.ShowPage(nullptr));
    EXPECT_TRUE(log.empty());
    host.ShowPage(&fluid);
    log.clear();
    EXPECT_TRUE(host.ShowPage(&fluid));
    EXPECT_TRUE(log.empty());
}

TEST_F(PageProtocol, RefusedEntryKeepsTheCurrentPage)
{
    host.ShowPage(&fluid);
    log.clear();
    results.refuseEnter = 4;
    EXPECT_FALSE(host.ShowPage(&results));
    EXPECT_EQ(CallLog({"fluid.CanLeavePage shown", "results.CanEnterPage", "host.ShowPageRefusal 4"}), log);
    EXPECT_EQ(&fluid, host.GetCurrentPage());
    EXPECT_TRUE(fluid.GetWindow()->IsShown());
    EXPECT_FALSE(results.GetWindow()->IsShown());
}

TEST_F(PageProtocol, PressingAPageButtonSwitchesUnlessThePageRefuses)
{
    host.ShowPage(&fluid);
    host.LayoutForPageSize(450, 250);
    ShowAndFocus(host.GetWindow());
    log.clear();
    fluid.refuseLeave = 3;
    const std::map<int, wxPoint> tools = ToolCentres(host.GetToolBar());
    ASSERT_EQ(1u, tools.count(kResults));
    wxUIActionSimulator mouse;
    mouse.MouseMove(tools.at(kResults));
    Pump();
    mouse.MouseClick();
    ASSERT_TRUE(WaitFor([this] { return log.size() >= 2; }));
    EXPECT_EQ(CallLog({"fluid.CanLeavePage shown", "host.ShowPageRefusal 3 shown"}), log);
    EXPECT_EQ(&fluid, host.GetCurrentPage());
    EXPECT_TRUE(fluid.GetWindow()->IsShown());
    EXPECT_FALSE(results.GetWindow()->IsShown());
    // The pressed button fell back to the current page's.
    EXPECT_TRUE(Checked(kFluid));
    EXPECT_FALSE(Checked(kResults));

    fluid.refuseLeave = 0;
    mouse.MouseClick();
    ASSERT_TRUE(WaitFor([this] { return host.GetCurrentPage() == &results; }));
    EXPECT_FALSE(Checked(kFluid));
    EXPECT_TRUE(Checked(kResults));

    // Pressing the checked page button again keeps it checked and calls nothing.
    log.clear();
    mouse.MouseClick();
    Pump();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(Checked(kResults));
}

TEST_F(PageProtocol, CommandsReachTheWindowAfterThePageSwitch)
{
    host.ShowPage(&fluid);
    std::vector<int> heard;
    host.GetWindow()->Bind(wxEVT_MENU, [&](wxCommandEvent& event) {
        heard.push_back(event.GetId());
        event.Skip();
    });
    auto command = [this](int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        host.GetWindow()->GetEventHandler()->ProcessEvent(event);
    };
    command(kPrint);
    EXPECT_EQ(&fluid, host.GetCurrentPage());
    command(kResults);  // the menu item of a page
    EXPECT_EQ(&results, host.GetCurrentPage());
    EXPECT_EQ(std::vector<int>({kPrint, kResults}), heard);

    // A descriptor with a text is no page button.
    host.m_buttons[1].text = "Fluid";
    command(kFluid);
    EXPECT_EQ(&results, host.GetCurrentPage());
}

TEST_F(PageProtocol, DestroyingTheWindowLeavesTheCurrentPageFirst)
{
    host.ShowPage(&fluid);
    wxWeakRef<wxWindow> toolBar(host.GetToolBar());
    log.clear();
    host.GetWindow()->Destroy();
    Pump();
    EXPECT_EQ(CallLog({"fluid.CanLeavePage shown", "fluid.OnLeavePage shown"}), log);
    EXPECT_EQ(nullptr, host.GetWindow());
    EXPECT_EQ(nullptr, host.GetCurrentPage());
    EXPECT_EQ(nullptr, host.GetToolBar());
    EXPECT_EQ(nullptr, toolBar.get());
    EXPECT_EQ(nullptr, fluid.GetWindow());
    EXPECT_EQ(nullptr, results.GetWindow());
}

// A page may refuse to be left; its window goes with the dialog's all the same, so the dialog
// keeps no current page that has no window any more.
TEST_F(PageProtocol, DestroyingTheWindowEndsTheCurrentPageEvenWhenItRefuses)
{
    host.ShowPage(&fluid);
    fluid.refuseLeave = 5;
    log.clear();
    host.GetWindow()->Destroy();
    Pump();
    EXPECT_EQ(CallLog({"fluid.CanLeavePage shown", "host.ShowPageRefusal 5"}), log);
    EXPECT_EQ(nullptr, host.GetCurrentPage());
    EXPECT_EQ(nullptr, fluid.GetWindow());
}

TEST_F(PageProtocol, PageObjectGoingFirstTakesItsWindow)
{
    auto page = std::make_unique<CLoggingDialog>("extra", log);
    ASSERT_TRUE(page->CreatePage(host.GetWindow(), wxRect(0, 0, 50, 50)));
    EXPECT_FALSE(page->CreatePage(host.GetWindow(), wxRect(0, 0, 50, 50)));
    wxWeakRef<wxWindow> window(page->GetWindow());
    page.reset();
    Pump();
    EXPECT_EQ(nullptr, window.get());
    EXPECT_TRUE(log.empty());
}

TEST(ToolBar, CheckGroupButtonsActAsOneRadioGroup)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Toolbar", wxPoint(20, 20), wxSize(500, 200));
    auto* toolBar = new cvToolBar(frame);
    new wxWindow(frame, wxID_ANY, wxPoint(0, 150), wxSize(10, 10));  // no stretching of a single child
    toolBar->SetButtons({Button(nullptr, 1, "One", true, false), Button(nullptr, 2, "Two", true, true),
                         Button(nullptr, 3, "Print", false, true), Button(nullptr, 4, "Same", false, false),
                         Button(nullptr, 5, "Same", false, false)});
    EXPECT_EQ(7u, toolBar->GetToolsCount());  // five buttons, two separators
    EXPECT_EQ(frame->GetClientSize().x, toolBar->GetSize().x);
    EXPECT_EQ(wxITEM_CHECK, toolBar->FindById(1)->GetKind());
    EXPECT_EQ(wxITEM_NORMAL, toolBar->FindById(3)->GetKind());
    EXPECT_EQ("Same", toolBar->FindById(5)->GetLabel());

    ShowAndFocus(frame);
    const std::map<int, wxPoint> tools = ToolCentres(toolBar);
    ASSERT_EQ(5u, tools.size());
    wxUIActionSimulator mouse;
    auto click = [&](int id) {
        mouse.MouseMove(tools.at(id));
        Pump();
        mouse.MouseClick();
        Pump();
    };
    click(2);
    EXPECT_TRUE(WaitFor([&] { return toolBar->GetToolState(2); }));
    EXPECT_FALSE(toolBar->GetToolState(1));
    click(2);
    EXPECT_TRUE(toolBar->GetToolState(2));
    click(1);
    EXPECT_TRUE(WaitFor([&] { return toolBar->GetToolState(1); }));
    EXPECT_FALSE(toolBar->GetToolState(2));
    click(3);
    EXPECT_TRUE(toolBar->GetToolState(1));

    // Building again replaces every tool.
    toolBar->SetButtons({Button(nullptr, 7, "Seven", true, false)});
    EXPECT_EQ(1u, toolBar->GetToolsCount());
    frame->Destroy();
    Pump();
}

// A check-group button with a drop-down arrow keeps the arrow; its check shows as a framed
// picture and follows the group like any other.
TEST(ToolBar, DropDownButtonOfTheCheckGroupKeepsItsArrow)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Toolbar", wxPoint(20, 20), wxSize(500, 200));
    auto* toolBar = new cvToolBar(frame);
    new wxWindow(frame, wxID_ANY, wxPoint(0, 150), wxSize(10, 10));  // no stretching of a single child
    cvToolBarButton dropDown = Button(nullptr, 1, "One", true, false);
    dropDown.dropDown = true;
    toolBar->SetButtons({dropDown, Button(nullptr, 2, "Two", true, false)});
    EXPECT_EQ(wxITEM_DROPDOWN, toolBar->FindById(1)->GetKind());
    EXPECT_EQ(wxITEM_CHECK, toolBar->FindById(2)->GetKind());

    const auto corner = [&] { return toolBar->FindById(1)->GetNormalBitmap().ConvertToImage().GetRed(0, 0); };
    const unsigned char plainCorner = corner();
    toolBar->ToggleTool(1, true);
    EXPECT_TRUE(toolBar->GetToolState(1));
    EXPECT_EQ(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT).Red(), corner()) << "framed while checked";

    ShowAndFocus(frame);
    SaveScreenshot(Snapshot(frame), "toolbar-dropdown-checked");
    const std::map<int, wxPoint> tools = ToolCentres(toolBar);
    ASSERT_EQ(2u, tools.size());
    wxUIActionSimulator mouse;
    auto click = [&](wxPoint at) {
        mouse.MouseMove(at);
        Pump();
        mouse.MouseClick();
        Pump();
    };
    click(tools.at(2));
    EXPECT_TRUE(WaitFor([&] { return toolBar->GetToolState(2); }));
    EXPECT_FALSE(toolBar->GetToolState(1));
    EXPECT_EQ(plainCorner, corner());
    // Left of the middle: the button, not its arrow.
    click(tools.at(1) - wxPoint(8, 0));
    EXPECT_TRUE(WaitFor([&] { return toolBar->GetToolState(1); }));
    EXPECT_FALSE(toolBar->GetToolState(2));
    frame->Destroy();
    Pump();
}

TEST(ToolBar, VerticalToolBarStandsAtTheLeftEdgeAsHighAsTheWindow)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Toolbar", wxPoint(20, 20), wxSize(400, 500));
    auto* toolBar = new cvToolBar(frame);
    new wxWindow(frame, wxID_ANY, wxPoint(300, 0), wxSize(10, 10));  // no stretching of a single child
    const std::vector<cvToolBarButton> buttons = {Button(nullptr, 1, "One", true, false),
                                                  Button(nullptr, 2, "Two", true, true),
                                                  Button(nullptr, 3, "Three", false, false)};
    toolBar->SetButtons(buttons, true);
    EXPECT_TRUE(toolBar->IsVertical());
    EXPECT_EQ(4u, toolBar->GetToolsCount());
    EXPECT_EQ(wxPoint(0, 0), toolBar->GetPosition());
    EXPECT_EQ(frame->GetClientSize().y, toolBar->GetSize().y);
    const wxSize upright = toolBar->GetBestSize();
    EXPECT_GT(upright.y, 3 * cvToolBar::kButtonHeight) << "the tools one under the other";
    EXPECT_LT(upright.x, 3 * cvToolBar::kButtonWidth);
    ShowAndFocus(frame);
    SaveScreenshot(Snapshot(frame), "toolbar-vertical");

    toolBar->SetButtons(buttons);
    EXPECT_FALSE(toolBar->IsVertical());
    EXPECT_EQ(frame->GetClientSize().x, toolBar->GetSize().x);
    EXPECT_GT(toolBar->GetBestSize().x, 3 * cvToolBar::kButtonWidth) << "the tools side by side";
    frame->Destroy();
    Pump();
}

}  // namespace
