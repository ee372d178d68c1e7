#include "ControlFrameTest.h"

#include "Harbinax/ClippedTextTip.h"
#include "Harbinax/ToolTipComboBox.h"
#include "Harbinax/ToolTipListBox.h"

#include <wx/settings.h>
#include <wx/textctrl.h>

namespace {

const wxString kLongText = "Saturated steam, pressure given (DIN 1343 norm conditions)";
const wxString kShortText = "Water";

class ToolTipComboBoxTest : public CControlFrameTest {
protected:
    void SetUp() override
    {
        CControlFrameTest::SetUp();
        m_combo = new CToolTipComboBox(m_panel, wxID_ANY, wxPoint(10, 10), wxSize(150, -1), wxCB_READONLY);
        m_combo->Append(kShortText);
        m_combo->Append(kLongText);
        m_combo->SetSelection(1);
        ShowFrame();
    }

    // Makes the text area exactly as wide as the text plus extra pixels.
    void FitTextArea(int extra)
    {
        const int text = m_combo->GetTextExtent(m_combo->GetValue()).x;
        const wxSize client = m_combo->GetClientSize();
        m_combo->SetClientSize(client.x - m_combo->GetTextArea().width + text + extra, client.y);
        Pump();
        ASSERT_EQ(m_combo->GetTextArea().width, text + extra);
    }

    wxPoint TextPoint() { return m_combo->GetTextArea().GetTopLeft() + wxPoint(5, 5); }

    CToolTipComboBox* m_combo = nullptr;
};

TEST_F(ToolTipComboBoxTest, TipOnlyForTextWiderThanTheTextAreaLessSixPixels)
{
    const CClippedTextTip& tip = m_combo->GetTip();
    FitTextArea(6);
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    EXPECT_FALSE(tip.IsTipShown());

    FitTextArea(5);
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    ASSERT_TRUE(tip.IsTipShown());
    EXPECT_EQ(tip.GetText(), kLongText);
    EXPECT_TRUE(tip.IsBordered());
    // The tip's text right over the combo box's, inside the tip's frame.
    EXPECT_EQ(tip.GetScreenPosition(), m_combo->ClientToScreen(m_combo->GetTextOrigin()) - wxPoint(1, 1));

    // Over the drop button there is never a tip, however clipped the text.
    const wxRect area = m_combo->GetTextArea();
    SendMouse(m_combo, wxEVT_MOTION, wxPoint(area.GetRight() + 2, area.y + 5));
    EXPECT_FALSE(tip.IsTipShown());
    SendMouse(m_combo, wxEVT_MOTION, wxPoint(m_combo->GetClientSize().x - 1, area.y + 5));
    EXPECT_FALSE(tip.IsTipShown());
}

TEST_F(ToolTipComboBoxTest, TipColoursFollowTheFocus)
{
    const CClippedTextTip& tip = m_combo->GetTip();
    wxTextCtrl* other = new wxTextCtrl(m_panel, wxID_ANY, "", wxPoint(10, 100));
    other->SetFocus();
    ASSERT_TRUE(WaitFor([other] { return wxWindow::FindFocus() == other; }));
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    ASSERT_TRUE(tip.IsTipShown());
    EXPECT_EQ(tip.GetBackgroundColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    EXPECT_EQ(tip.GetForegroundColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));

    m_combo->SetFocus();
    ASSERT_TRUE(WaitFor([this] { return wxWindow::FindFocus() == m_combo; }));
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    EXPECT_EQ(tip.GetBackgroundColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
    EXPECT_EQ(tip.GetForegroundColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
}

TEST_F(ToolTipComboBoxTest, TipStaysWhileThePointerIsOverTheTextAndGoesWhenItLeaves)
{
    const CClippedTextTip& tip = m_combo->GetTip();
    m_combo->WarpPointer(TextPoint().x, TextPoint().y);
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    ASSERT_TRUE(tip.IsTipShown());
    PumpFor(300);
    EXPECT_TRUE(tip.IsTipShown());

    // Onto the drop button.
    const wxRect area = m_combo->GetTextArea();
    m_combo->WarpPointer(area.GetRight() + 3, area.y + 5);
    EXPECT_TRUE(WaitFor([&tip] { return !tip.IsTipShown(); }));
}

TEST_F(ToolTipComboBoxTest, ClicksGoThroughTheTip)
{
    const CClippedTextTip& tip = m_combo->GetTip();
    SendMouse(m_combo, wxEVT_MOTION, TextPoint());
    ASSERT_TRUE(tip.IsTipShown());
    SendMouse(const_cast<CClippedTextTip*>(&tip), wxEVT_LEFT_DOWN, wxPoint(4, 4));
    EXPECT_TRUE(WaitFor([this] { return m_combo->IsPopupShown(); }));
    m_combo->Dismiss();
}

TEST_F(ToolTipComboBoxTest, EditableBoxShowsTheTipOverItsEditControl)
{
    auto* editable = new CToolTipComboBox(m_panel, wxID_ANY, wxPoint(10, 60), wxSize(150, -1));
    editable->Append(kLongText);
    editable->SetSelection(0);
    Pump();
    ASSERT_NE(editable->GetTextCtrl(), nullptr);
    SendMouse(editable->GetTextCtrl(), wxEVT_MOTION, wxPoint(5, 5));
    ASSERT_TRUE(editable->GetTip().IsTipShown());
    EXPECT_EQ(editable->GetTip().GetText(), kLongText);
    editable->SetValue(kShortText);
    SendMouse(editable->GetTextCtrl(), wxEVT_MOTION, wxPoint(5, 5));
    EXPECT_FALSE(editable->GetTip().IsTipShown());
}

class ToolTipListTest : public ToolTipComboBoxTest {
protected:
    // Drops the list down; its width less the combo box's.
    int OpenList()
    {
        m_combo->Popup();
        EXPECT_TRUE(WaitFor([this] { return m_combo->IsPopupShown() && m_combo->GetListBox().IsShownOnScreen(); }));
        return m_combo->GetListBox().GetItemRect(0).width - m_combo->GetSize().x;
    }

    CToolTipListBox& List() { return m_combo->GetListBox(); }
};

TEST_F(ToolTipListTest, ItemTipOnlyForTextWiderThanTheItemLessThreePixels)
{
    // The list is as wide as the combo box, whatever its items (give or take a frame): make the
    // long item's width exactly its text plus 3 pixels.
    const int difference = OpenList();
    m_combo->Dismiss();
    const int text = List().GetTextExtent(kLongText).x;
    m_combo->SetSize(text + 3 - difference, -1);
    Pump();
    OpenList();
    const wxRect item = List().GetItemRect(1);
    ASSERT_EQ(item.width, text + 3);
    ASSERT_NE(List().GetTip(), nullptr);
    const CClippedTextTip& tip = *List().GetTip();
    SendMouse(&List(), wxEVT_MOTION, item.GetTopLeft() + wxPoint(4, 2));
    EXPECT_FALSE(tip.IsTipShown());
    m_combo->Dismiss();

    m_combo->SetSize(text + 2 - difference, -1);
    Pump();
    OpenList();
    const wxRect narrower = List().GetItemRect(1);
    List().WarpPointer(narrower.x + 4, narrower.y + 2);
    SendMouse(&List(), wxEVT_MOTION, narrower.GetTopLeft() + wxPoint(4, 2));
    ASSERT_TRUE(tip.IsTipShown());
    EXPECT_EQ(tip.GetText(), kLongText);
    EXPECT_FALSE(tip.IsBordered());
    // Over the item's text, which starts 2 pixels in.
    const wxPoint textOrigin(narrower.x + 2, narrower.y + (narrower.height - List().GetCharHeight()) / 2);
    EXPECT_EQ(tip.GetScreenPosition(), List().ClientToScreen(textOrigin));
    EXPECT_EQ(tip.GetBackgroundColour(), wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));

    // The short item fits.
    SendMouse(&List(), wxEVT_MOTION, List().GetItemRect(0).GetTopLeft() + wxPoint(4, 2));
    EXPECT_FALSE(tip.IsTipShown());

    // Below the last item.
    SendMouse(&List(), wxEVT_MOTION, narrower.GetTopLeft() + wxPoint(4, 2));
    ASSERT_TRUE(tip.IsTipShown());
    const wxSize client = List().GetClientSize();
    if (narrower.GetBottom() + 3 < client.y) {
        SendMouse(&List(), wxEVT_MOTION, wxPoint(4, client.y - 2));
        EXPECT_FALSE(tip.IsTipShown());
    }
    m_combo->Dismiss();
}

TEST_F(ToolTipListTest, ClosingTheListHidesItsTip)
{
    OpenList();
    const wxRect item = List().GetItemRect(1);
    List().WarpPointer(item.x + 4, item.y + 2);
    SendMouse(&List(), wxEVT_MOTION, item.GetTopLeft() + wxPoint(4, 2));
    const CClippedTextTip& tip = *List().GetTip();
    ASSERT_TRUE(tip.IsTipShown());
    PumpFor(200);
    EXPECT_TRUE(tip.IsTipShown());
    m_combo->Dismiss();
    EXPECT_TRUE(WaitFor([&tip] { return !tip.IsTipShown(); }));
}

}  // namespace
