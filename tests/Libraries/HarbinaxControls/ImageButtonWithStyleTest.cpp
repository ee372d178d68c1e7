#include "ControlFrameTest.h"

#include "Harbinax/ImageButtonWithStyle.h"
#include "Harbinax/VisualStyles.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

namespace {

const wxColour kImageColour(255, 0, 0);

wxBitmap SolidImage(int size)
{
    wxImage image(size, size);
    image.SetRGB(wxRect(0, 0, size, size), kImageColour.Red(), kImageColour.Green(), kImageColour.Blue());
    return wxBitmap(image);
}

// Opens the drawing to the test: the button drawn onto a bitmap of its size.
class CTestImageButton : public CImageButtonWithStyle {
public:
    using CImageButtonWithStyle::CImageButtonWithStyle;

    wxImage Drawn()
    {
        wxBitmap bitmap(GetClientSize());
        {
            wxMemoryDC dc(bitmap);
            DrawButton(dc);
        }
        return bitmap.ConvertToImage();
    }
};

class ImageButtonWithStyleTest : public CControlFrameTest {
protected:
    void TearDown() override
    {
        CVisualStyles::SetForTesting(nullptr);
        CControlFrameTest::TearDown();
    }

    CTestImageButton* MakeButton(long style, const wxSize& size = wxSize(60, 40), const wxPoint& pos = wxPoint(10, 10))
    {
        auto* button = new CTestImageButton(m_panel, 1234, SolidImage(8), pos, size, style);
        button->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
            EXPECT_EQ(event.GetId(), 1234);
            ++m_clicks;
        });
        return button;
    }

    static void Key(wxWindow* window, wxEventType type, int code)
    {
        wxKeyEvent event(type);
        event.m_keyCode = code;
        event.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(event);
    }

    int m_clicks = 0;
};

TEST_F(ImageButtonWithStyleTest, ClickSendsTheButtonCommand)
{
    CTestImageButton* button = MakeButton(0);
    ShowFrame();
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5));
    EXPECT_TRUE(button->IsPressed());
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(6, 6));
    EXPECT_EQ(m_clicks, 1);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->HasCapture());

    // Pressed, dragged off and released outside: no command.
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5));
    SendMouse(button, wxEVT_MOTION, wxPoint(-10, 5));
    EXPECT_FALSE(button->IsPressed());
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(-10, 5));
    EXPECT_EQ(m_clicks, 1);

    // The keyboard: space on release, Enter at once.
    Key(button, wxEVT_KEY_DOWN, WXK_SPACE);
    EXPECT_EQ(m_clicks, 1);
    Key(button, wxEVT_KEY_UP, WXK_SPACE);
    EXPECT_EQ(m_clicks, 2);
    Key(button, wxEVT_KEY_DOWN, WXK_RETURN);
    EXPECT_EQ(m_clicks, 3);

    button->Disable();
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5));
    SendMouse(button, wxEVT_LEFT_UP, wxPoint(5, 5));
    Key(button, wxEVT_KEY_DOWN, WXK_RETURN);
    EXPECT_EQ(m_clicks, 3);
}

// A dialog may close while the mouse still holds a button down: the button gives the mouse back
// as it goes, so no window is left holding a capture for a window that no longer exists.
TEST_F(ImageButtonWithStyleTest, GoingWhilePressedGivesTheMouseBack)
{
    CTestImageButton* button = MakeButton(0);
    ShowFrame();
    SendMouse(button, wxEVT_LEFT_DOWN, wxPoint(5, 5));
    ASSERT_TRUE(button->HasCapture());
    delete button;
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}

TEST_F(ImageButtonWithStyleTest, ImageFollowsTheAlignmentInsideTheThemedFace)
{
    const wxRect client(0, 0, 60, 40);
    wxRect content;
    {
        wxBitmap scratch(1, 1);
        wxMemoryDC dc(scratch);
        const CVisualStyles& styles = CVisualStyles::Get();
        const auto theme = styles.OpenThemeData(m_panel, "BUTTON");
        ASSERT_EQ(styles.GetThemeBackgroundContentRect(theme, dc, ThemePart::kPushButton, 1, client, &content),
                  CVisualStyles::kOk);
    }
    struct SCase {
        long style;
        wxPoint expected;
    };
    const SCase cases[] = {
        {0, wxPoint(content.x + (content.width - 8) / 2, content.y + (content.height - 8) / 2)},
        {wxBU_LEFT | wxBU_TOP, content.GetTopLeft()},
        {wxBU_RIGHT | wxBU_BOTTOM, content.GetBottomRight() - wxPoint(7, 7)},
    };
    int left = 10;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.style);
        CTestImageButton* button = MakeButton(c.style, client.GetSize(), wxPoint(left, 10));
        left += 70;
        EXPECT_EQ(ColourBounds(button->Drawn(), kImageColour), wxRect(c.expected, wxSize(8, 8)));
    }
}

TEST_F(ImageButtonWithStyleTest, DisabledImageIsGreyed)
{
    CTestImageButton* button = MakeButton(0);
    button->Disable();
    EXPECT_TRUE(ColourBounds(button->Drawn(), kImageColour).IsEmpty());
}

TEST_F(ImageButtonWithStyleTest, WithoutThemesAClassicFaceWithTheImage)
{
    CTestImageButton* button = MakeButton(wxBU_LEFT | wxBU_TOP);
    const wxImage themed = button->Drawn();

    const CVisualStyles none(false);
    CVisualStyles::SetForTesting(&none);
    const wxImage classic = button->Drawn();
    // The classic face's content starts 3 pixels in.
    EXPECT_EQ(ColourBounds(classic, kImageColour), wxRect(3, 3, 8, 8));
    EXPECT_NE(ColourBounds(themed, kImageColour), ColourBounds(classic, kImageColour));
}

TEST_F(ImageButtonWithStyleTest, DefaultButtonOfItsWindow)
{
    CTestImageButton* button = MakeButton(0, wxDefaultSize);
    EXPECT_FALSE(button->IsDefault());
    m_frame->SetDefaultItem(button);
    EXPECT_TRUE(button->IsDefault());
    m_frame->SetDefaultItem(nullptr);
    // The image and the face's frame around it.
    EXPECT_EQ(button->GetBestSize(), wxSize(16, 16));
}

}  // namespace
