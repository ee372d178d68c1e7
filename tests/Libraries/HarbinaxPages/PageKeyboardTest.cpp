#include "PageTestSupport.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

wxWindow* Focus()
{
    return wxWindow::FindFocus();
}

class PageKeyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateFrame(nullptr, "Keys", wxSize(400, 300)));
        ASSERT_TRUE(page.CreatePage(host.GetWindow(), wxRect(0, 0, 400, 300)));
        wxWindow* panel = page.GetWindow();
        first = new wxTextCtrl(panel, 1001, "", wxPoint(10, 10), wxSize(150, -1));
        second = new wxTextCtrl(panel, 1002, "", wxPoint(10, 50), wxSize(150, -1));
        multi = new wxTextCtrl(panel, 1003, "", wxPoint(10, 90), wxSize(150, 80), wxTE_MULTILINE);
        new wxButton(panel, 1004, "Go", wxPoint(10, 200));
        host.m_pages.push_back(&page);
        host.ShowPage(&page);
        ShowAndFocus(host.GetWindow());
    }

    void TearDown() override
    {
        if (host.GetWindow())
            host.GetWindow()->Destroy();
        Pump();
    }

    // The rules hold for the page and for the window around it alike.
    template <class TSetting, class TValue>
    void SetBoth(TSetting setting, TValue value)
    {
        (host.*setting)(value);
        (page.*setting)(value);
    }

    void Focus(wxWindow* window)
    {
        window->SetFocus();
        ASSERT_TRUE(WaitFor([window] { return ::Focus() == window; }));
    }

    CallLog log;
    CLoggingDialog host{"host", log};
    CLoggingDialog page{"page", log};
    wxTextCtrl* first = nullptr;
    wxTextCtrl* second = nullptr;
    wxTextCtrl* multi = nullptr;
    wxUIActionSimulator keys;
};

TEST_F(PageKeyboard, EnterMovesToTheNextControlOfASingleLineEdit)
{
    Focus(first);
    keys.Char(WXK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return ::Focus() == second; }));
    keys.Char(WXK_RETURN, wxMOD_SHIFT);
    EXPECT_TRUE(WaitFor([this] { return ::Focus() == first; }));
    EXPECT_EQ("", first->GetValue());
}

TEST_F(PageKeyboard, EnterBreaksTheLineOfAMultiLineEdit)
{
    Focus(multi);
    keys.Text("ab");
    keys.Char(WXK_RETURN);
    keys.Text("c");
    EXPECT_TRUE(WaitFor([this] { return multi->GetValue() == "ab\nc"; })) << multi->GetValue();
    EXPECT_EQ(multi, ::Focus());
}

TEST_F(PageKeyboard, EscapeDoesNotCloseTheWindow)
{
    Focus(second);
    keys.Char(WXK_ESCAPE);
    keys.Char('x');  // once it arrives, so has the Escape
    EXPECT_TRUE(WaitFor([this] { return second->GetValue() == "x"; }));
    EXPECT_TRUE(host.GetWindow()->IsShown());
    EXPECT_EQ(second, ::Focus());
}

TEST_F(PageKeyboard, EscapeClosesTheWindowWhenNotBlocked)
{
    SetBoth(&cvBaseDialog::SetBlockEscape, false);
    Focus(second);
    keys.Char(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([this] { return host.GetWindow() == nullptr; }));
}

TEST_F(PageKeyboard, EnterStaysInTheEditWhenNotActingAsTab)
{
    SetBoth(&cvBaseDialog::SetEnterAsTab, false);
    Focus(first);
    keys.Char(WXK_RETURN);
    keys.Char('x');  // once it arrives, so has the Enter
    EXPECT_TRUE(WaitFor([this] { return first->GetValue() == "x"; }));
    EXPECT_EQ(first, ::Focus());
}

// Enter replaced by Escape is blocked like Escape, and closes the window once Escape does.
TEST_F(PageKeyboard, EnterBecomesTheReplacementKey)
{
    SetBoth(&cvBaseDialog::SetEnterReplacementKey, WXK_ESCAPE);
    Focus(first);
    keys.Char(WXK_RETURN);
    keys.Char('x');
    EXPECT_TRUE(WaitFor([this] { return first->GetValue() == "x"; }));
    EXPECT_EQ(first, ::Focus());
    ASSERT_NE(host.GetWindow(), nullptr);

    SetBoth(&cvBaseDialog::SetBlockEscape, false);
    keys.Char(WXK_RETURN);
    EXPECT_TRUE(WaitFor([this] { return host.GetWindow() == nullptr; }));
}

TEST(PageInDialog, EscapeDoesNotCloseTheDialogAroundAPage)
{
    wxUIActionSimulator keys;
    auto focus = [](wxDialog* dialog, wxWindow* control) {
        ShowAndFocus(dialog);
        control->SetFocus();
        ASSERT_TRUE(WaitFor([control] { return wxWindow::FindFocus() == control; }));
    };

    // Without a page, Escape closes a dialog: the key does arrive.
    wxDialog* plain = new wxDialog(nullptr, wxID_ANY, "Plain", wxPoint(30, 30), wxSize(300, 200));
    wxTextCtrl* plainText = new wxTextCtrl(plain, wxID_ANY, "", wxPoint(10, 10));
    new wxButton(plain, wxID_CANCEL, "Cancel", wxPoint(10, 60));
    focus(plain, plainText);
    keys.Char(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([plain] { return !plain->IsShown(); }));
    plain->Destroy();

    CallLog log;
    CLoggingDialog page("page", log);
    wxDialog* dialog = new wxDialog(nullptr, wxID_ANY, "Around", wxPoint(30, 30), wxSize(300, 200));
    ASSERT_TRUE(page.CreatePage(dialog, wxRect(0, 0, 300, 150)));
    page.GetWindow()->Show();
    wxTextCtrl* text = new wxTextCtrl(page.GetWindow(), wxID_ANY, "", wxPoint(10, 10));
    new wxButton(dialog, wxID_CANCEL, "Cancel", wxPoint(10, 160));
    focus(dialog, text);
    keys.Char(WXK_ESCAPE);
    keys.Char('x');  // once it arrives, so has the Escape
    EXPECT_TRUE(WaitFor([text] { return text->GetValue() == "x"; }));
    EXPECT_TRUE(dialog->IsShown());
    dialog->Destroy();
    Pump();
}

}  // namespace
