#include "DialogsGuiEnvironment.h"
#include "Harbinax/FilterEdit.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dnd.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

namespace {

// A frame with a filtered edit and a button to take the focus elsewhere; keys are typed
// through the X server as a user would.
class FilterEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App().SetLanguage("en");
        m_frame = new wxFrame(nullptr, wxID_ANY, "Filtered edit", wxPoint(50, 50), wxSize(400, 120));
        m_edit = new CFilterEdit(m_frame, 1059, wxString(), wxPoint(10, 10), wxSize(300, -1));
        m_other = new wxButton(m_frame, 1060, "Other", wxPoint(10, 60));
        m_edit->SetBeepOnReject(false);
        m_frame->Show();
        m_frame->Raise();
        PumpFor(300);
        Focus();
    }

    void TearDown() override
    {
        m_frame->Hide();
        delete m_frame;
        App().SetLanguage("en");
    }

    void Focus()
    {
        m_simulator.MouseMove(m_edit->GetScreenRect().GetPosition() + wxPoint(5, 5));
        m_edit->SetFocus();
        PumpFor(150);
    }

    void Type(const char* text)
    {
        m_simulator.Text(text);
        PumpFor(150);
    }

    void Key(int key, int modifiers = wxMOD_NONE)
    {
        m_simulator.Char(key, modifiers);
        PumpFor(150);
    }

    static void PutOnClipboard(const wxString& text)
    {
        wxClipboardLocker locker;
        ASSERT_TRUE(!!locker);
        wxTheClipboard->SetData(new wxTextDataObject(text));
    }

    static wxString ClipboardText()
    {
        wxClipboardLocker locker;
        wxTextDataObject data;
        if (!locker || !wxTheClipboard->GetData(data))
            return wxString();
        return data.GetText();
    }

    wxFrame* m_frame = nullptr;
    CFilterEdit* m_edit = nullptr;
    wxButton* m_other = nullptr;
    wxUIActionSimulator m_simulator;
};

TEST_F(FilterEditTest, IntegerTakesOneSignInFront)
{
    m_edit->SetInteger(true);
    Type("1-2+x3");
    EXPECT_EQ(m_edit->GetValue(), "123");
    Key(WXK_HOME);
    Type("5-");
    EXPECT_EQ(m_edit->GetValue(), "5123") << "no sign behind a digit";
    Key(WXK_HOME);
    Type("-");
    EXPECT_EQ(m_edit->GetValue(), "-5123");
    Key(WXK_HOME);
    Type("7+");
    EXPECT_EQ(m_edit->GetValue(), "-5123") << "nothing in front of the sign, no second sign";
}

TEST_F(FilterEditTest, GermanDecimalSeparator)
{
    App().SetLanguage("de");
    m_edit->SetNumeric(true, true);
    Type("3.5");
    EXPECT_EQ(m_edit->GetValue(), "3,5");
    Type(",.7");
    EXPECT_EQ(m_edit->GetValue(), "3,57");
}

TEST_F(FilterEditTest, EnglishOwnSeparatorOnly)
{
    m_edit->SetNumeric(true, false);
    Type("1,5.2.");
    EXPECT_EQ(m_edit->GetValue(), "15.2");
}

TEST_F(FilterEditTest, UpperCaseForced)
{
    m_edit->SetAllowedChars("ABC");
    m_edit->SetUpperCase(true);
    Type("abcd");
    EXPECT_EQ(m_edit->GetValue(), "ABC");
}

TEST_F(FilterEditTest, MaximumLengthWhenTypingAndPasting)
{
    m_edit->SetMaxLength(15);
    Type("abcdefghijklmnop");
    EXPECT_EQ(m_edit->GetValue(), "abcdefghijklmno");
    Key(WXK_BACK);
    EXPECT_EQ(m_edit->GetValue(), "abcdefghijklmn");

    // Copying a full text still works: control keys are the control's.
    Type("o");
    Key('A', wxMOD_CONTROL);
    Key('C', wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "abcdefghijklmno");

    m_edit->Clear();
    PutOnClipboard("ABCDEFGHIJKLMNOPQRST");
    Key('V', wxMOD_CONTROL);
    EXPECT_EQ(m_edit->GetValue(), "ABCDEFGHIJKLMNO");
}

TEST_F(FilterEditTest, PasteGoesThroughTheFilter)
{
    m_edit->SetNumeric(true, true);
    PutOnClipboard("-12\r\n-3a.4.5\t6");
    Key('V', wxMOD_CONTROL);
    EXPECT_EQ(m_edit->GetValue(), "-123.456");
    // Pasting over a selection replaces it.
    m_edit->SetSelection(1, 4);
    PutOnClipboard("9");
    m_edit->Paste();
    PumpFor(150);
    EXPECT_EQ(m_edit->GetValue(), "-9.456");
}

TEST_F(FilterEditTest, MiddleButtonPastesThroughTheFilter)
{
    m_edit->SetInteger(true);
    wxTheClipboard->UsePrimarySelection(true);
    PutOnClipboard("4-2x");
    wxTheClipboard->UsePrimarySelection(false);
    m_simulator.MouseClick(wxMOUSE_BTN_MIDDLE);
    PumpFor(150);
    EXPECT_EQ(m_edit->GetValue(), "42");
}

TEST_F(FilterEditTest, TypingOverTheSelectedSign)
{
    m_edit->SetInteger(true);
    m_edit->SetText("-5");
    m_edit->SetSelection(0, 1);
    Type("-");
    EXPECT_EQ(m_edit->GetValue(), "-5");
    m_edit->SetSelection(0, 1);
    Type("+");
    EXPECT_EQ(m_edit->GetValue(), "+5");
    m_edit->SetInsertionPointEnd();
    Type("-");
    EXPECT_EQ(m_edit->GetValue(), "+5");
}

TEST_F(FilterEditTest, SetTextShowsWhatTheRulesLetThrough)
{
    m_edit->SetNumeric(true, true);
    m_edit->SetText("12a3.4.5");
    EXPECT_EQ(m_edit->GetValue(), "123.45");
    m_edit->SetText();
    EXPECT_EQ(m_edit->GetValue(), "");
}

TEST_F(FilterEditTest, FocusSelectsAll)
{
    m_edit->SetText("1234");
    m_other->SetFocus();
    PumpFor(150);
    m_edit->SetFocus();
    PumpFor(150);
    long from = 0, to = 0;
    m_edit->GetSelection(&from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 4);
}

TEST_F(FilterEditTest, ReadOnlyTakesNoPaste)
{
    m_edit->SetText("12");
    m_edit->SetEditable(false);
    PutOnClipboard("34");
    m_edit->SetInsertionPointEnd();
    Key('V', wxMOD_CONTROL);
    EXPECT_EQ(m_edit->GetValue(), "12");
}

// Text dragged from another field with the mouse, as a user drags it.
TEST_F(FilterEditTest, DroppedTextGoesThroughTheFilter)
{
    m_edit->SetInteger(true);
    auto* source = new wxTextCtrl(m_frame, wxID_ANY, "1a2", wxPoint(10, 90), wxSize(100, -1));
    PumpFor(150);
    source->SetFocus();
    source->SelectAll();
    PumpFor(150);
    const wxPoint from = source->GetScreenRect().GetPosition() + wxPoint(12, source->GetSize().y / 2);
    const wxPoint to = m_edit->GetScreenRect().GetPosition() + wxPoint(40, m_edit->GetSize().y / 2);
    m_simulator.MouseMove(from);
    PumpFor(100);
    m_simulator.MouseDown();
    PumpFor(100);
    for (int step = 1; step <= 10; ++step) {
        m_simulator.MouseMove(from + (to - from) * step / 10);
        PumpFor(30);
    }
    m_simulator.MouseUp();
    EXPECT_TRUE(WaitFor([this] { return m_edit->GetValue() == "12"; })) << m_edit->GetValue();
}

// A drop goes in where it lands, not over the selection; a read-only field takes none.
TEST_F(FilterEditTest, DropInsertsAtThePointAndNotIntoReadOnly)
{
    m_edit->SetNumeric(true, true);
    m_edit->SetText("5");
    m_edit->SelectAll();
    auto* target = dynamic_cast<wxTextDropTarget*>(m_edit->GetDropTarget());
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->OnDropText(m_edit->GetClientSize().x - 2, 5, "x.2."));
    PumpFor(50);
    EXPECT_EQ(m_edit->GetValue(), "5.2");
    m_edit->SetEditable(false);
    EXPECT_FALSE(target->OnDropText(2, 5, "9"));
    EXPECT_EQ(m_edit->GetValue(), "5.2");
}

}  // namespace
