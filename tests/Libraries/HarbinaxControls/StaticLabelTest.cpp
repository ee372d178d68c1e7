// The dialog resources' static text: asked for its defaults once per process, it still ends
// with the font and colours a plain label takes, with and without a font of its parent.
#include "ControlFrameTest.h"

#include "Harbinax/StaticLabel.h"

#include <wx/stattext.h>

namespace {

class StaticLabelTest : public CControlFrameTest {
protected:
    static void ExpectAsPlain(const wxStaticText* plain, const wxStaticText* ours)
    {
        EXPECT_EQ(ours->GetFont().GetNativeFontInfoDesc(), plain->GetFont().GetNativeFontInfoDesc());
        EXPECT_EQ(ours->GetForegroundColour().GetAsString(), plain->GetForegroundColour().GetAsString());
        EXPECT_EQ(ours->GetBackgroundColour().GetAsString(), plain->GetBackgroundColour().GetAsString());
        const wxVisualAttributes theirs = plain->GetDefaultAttributes();
        const wxVisualAttributes mine = ours->GetDefaultAttributes();
        // (Its default font is the theme's; a plain label answers with the font applied to it.)
        EXPECT_EQ(mine.colFg.GetAsString(), theirs.colFg.GetAsString());
        EXPECT_EQ(mine.colBg.GetAsString(), theirs.colBg.GetAsString());
    }

    void MakePair(int y)
    {
        m_plain = new wxStaticText(m_panel, wxID_ANY, "Plain", wxPoint(10, y), wxSize(120, 20), wxST_NO_AUTORESIZE);
        m_ours = new CStaticLabel(m_panel, wxID_ANY, "Ours", wxPoint(140, y), wxSize(120, 20), wxST_NO_AUTORESIZE);
    }

    wxStaticText* m_plain = nullptr;
    CStaticLabel* m_ours = nullptr;
};

TEST_F(StaticLabelTest, TakesWhatAPlainLabelTakes)
{
    MakePair(10);
    ExpectAsPlain(m_plain, m_ours);

    m_panel->SetFont(wxFontInfo(13).Family(wxFONTFAMILY_ROMAN).Bold());
    MakePair(40);
    ExpectAsPlain(m_plain, m_ours);
    EXPECT_TRUE(m_ours->GetFont().GetWeight() == wxFONTWEIGHT_BOLD);

    for (wxWindow* label : {static_cast<wxWindow*>(m_plain), static_cast<wxWindow*>(m_ours)}) {
        wxSysColourChangedEvent changed;
        changed.SetEventObject(label);
        label->GetEventHandler()->ProcessEvent(changed);
    }
    ExpectAsPlain(m_plain, m_ours);
}

}  // namespace
