#include "ControlFrameTest.h"

#include "Harbinax/ComboButtonRenderer.h"
#include "Harbinax/DataComboBox.h"

#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

const wxColour kGrey(0x80, 0x80, 0x80);

// Opens the drawing operations to the test.
class CTestDataComboBox : public CDataComboBox {
public:
    using CDataComboBox::CDataComboBox;
    using CDataComboBox::OnDrawItem;
    using CDataComboBox::OnMeasureItem;
};

class DataComboBoxTest : public CControlFrameTest {
protected:
    void SetUp() override
    {
        CControlFrameTest::SetUp();
        m_combo = new CTestDataComboBox(m_panel, wxID_ANY, wxPoint(10, 10), wxSize(200, -1));
    }

    // The items as the selection-list adapter stores them: the data as untyped client data.
    void Fill(const std::vector<std::pair<const char*, int>>& items)
    {
        m_combo->Clear();
        for (const auto& item : items)
            m_combo->Append(wxString::FromUTF8(item.first),
                            reinterpret_cast<void*>(static_cast<std::intptr_t>(item.second)));
    }

    // Item n drawn onto grey (where the highlight text colour shows too), as the list or the face
    // shows it.
    wxImage DrawItem(int item, int flags)
    {
        wxBitmap bitmap(160, 30);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(kGrey));
            dc.Clear();
            dc.SetFont(m_combo->GetFont());
            m_combo->OnDrawItem(dc, wxRect(0, 0, 160, 30), item, flags);
        }
        return bitmap.ConvertToImage();
    }

    CTestDataComboBox* m_combo = nullptr;
};

// Where the pixels that are not grey lie: the place of the text, whatever its colour.
wxRect InkBounds(const wxImage& image)
{
    wxRect bounds;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetRed(x, y) != kGrey.Red() || image.GetGreen(x, y) != kGrey.Green() ||
                image.GetBlue(x, y) != kGrey.Blue())
                bounds = bounds.IsEmpty() ? wxRect(x, y, 1, 1) : bounds.Union(wxRect(x, y, 1, 1));
        }
    }
    return bounds;
}

const wxColour kRed(0xFF, 0x32, 0x32);
const wxColour kAmber(0xE8, 0xA6, 0x08);

TEST_F(DataComboBoxTest, SelectsTheFirstItemWithTheData)
{
    Fill({{"m3/h", 3}, {"kg/h", 7}, {"* my unit", INT_MIN + 5}, {"t/h", 7}});
    EXPECT_EQ(m_combo->GetSelectedItemData(), -1);  // nothing selected yet

    EXPECT_TRUE(m_combo->SelectItemData(7));
    EXPECT_EQ(m_combo->GetSelection(), 1);
    EXPECT_EQ(m_combo->GetValue(), "kg/h");
    EXPECT_EQ(m_combo->GetSelectedItemData(), 7);

    // User units carry negative data.
    EXPECT_TRUE(m_combo->SelectItemData(INT_MIN + 5));
    EXPECT_EQ(m_combo->GetSelection(), 2);
    EXPECT_EQ(m_combo->GetSelectedItemData(), INT_MIN + 5);
}

TEST_F(DataComboBoxTest, NoMatchClearsTheSelection)
{
    Fill({{"m3/h", 3}, {"kg/h", 7}});
    ASSERT_TRUE(m_combo->SelectItemData(3));
    EXPECT_FALSE(m_combo->SelectItemData(4));
    EXPECT_EQ(m_combo->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(m_combo->GetSelectedItemData(), -1);
    EXPECT_EQ(m_combo->GetValue(), "");

    Fill({});
    EXPECT_FALSE(m_combo->SelectItemData(-1));
    EXPECT_EQ(m_combo->GetSelectedItemData(), -1);
}

TEST_F(DataComboBoxTest, ItemsAreAsHighAsTheUnitText)
{
    EXPECT_EQ(m_combo->OnMeasureItem(0), m_combo->GetTextExtent(wxString::FromUTF8("kg/m\xC2\xB3|")).y);
}

TEST_F(DataComboBoxTest, MarkedItemsAreDrawnInTheirColoursSelectedOrNot)
{
    Fill({{"* my unit", -2}, {"!!MW", 0x40000001}, {"MW", 1}, {"", 2}});
    for (const int flags : {0, static_cast<int>(wxODCB_PAINTING_SELECTED), static_cast<int>(wxODCB_PAINTING_CONTROL)}) {
        SCOPED_TRACE(flags);
        const wxImage user = DrawItem(0, flags);
        EXPECT_GT(CountColour(user, kRed), 0);
        const wxImage pseudo = DrawItem(1, flags);
        EXPECT_GT(CountColour(pseudo, kAmber), 0);
        EXPECT_EQ(CountColour(pseudo, kRed), 0);
        // The pseudo unit's mark is not drawn: the text takes the place of the plain name (give or
        // take a pixel of smoothing in another colour), not the room of "!!" more.
        const wxRect shown = InkBounds(pseudo);
        const wxRect plain = InkBounds(DrawItem(2, flags));
        EXPECT_NEAR(shown.x, plain.x, 1);
        EXPECT_NEAR(shown.width, plain.width, 1);
    }
    // Plain items in the ordinary colours.
    EXPECT_GT(CountColour(DrawItem(2, 0), wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)), 0);
    EXPECT_EQ(CountColour(DrawItem(2, 0), kAmber), 0);
    // An empty text and an index out of range draw nothing.
    EXPECT_TRUE(InkBounds(DrawItem(3, 0)).IsEmpty());
    EXPECT_TRUE(InkBounds(DrawItem(4, 0)).IsEmpty());
    EXPECT_TRUE(InkBounds(DrawItem(-1, 0)).IsEmpty());
}

}  // namespace

// The theme's colours are asked of GTK once; every box still ends with the colours a plain
// owner-drawn box takes, also after the panel's colour or the theme changes.
TEST_F(DataComboBoxTest, TakesTheColoursAPlainOwnerDrawnBoxTakes)
{
    const auto expectSameColours = [](wxOwnerDrawnComboBox* plain, CDataComboBox* ours) {
        EXPECT_EQ(ours->GetForegroundColour().GetAsString(), plain->GetForegroundColour().GetAsString());
        EXPECT_EQ(ours->GetBackgroundColour().GetAsString(), plain->GetBackgroundColour().GetAsString());
    };
    const auto plainBox = [this] {
        return new wxOwnerDrawnComboBox(m_panel, wxID_ANY, wxString(), wxPoint(10, 40), wxSize(200, -1), 0, nullptr,
                                        wxCB_READONLY);
    };
    expectSameColours(plainBox(), m_combo);

    m_panel->SetBackgroundColour(wxColour(0x20, 0x40, 0x60));
    auto* later = new CTestDataComboBox(m_panel, wxID_ANY, wxPoint(10, 70), wxSize(200, -1));
    wxOwnerDrawnComboBox* plain = plainBox();
    expectSameColours(plain, later);

    for (wxWindow* box : {static_cast<wxWindow*>(plain), static_cast<wxWindow*>(later)}) {
        wxSysColourChangedEvent changed;
        changed.SetEventObject(box);
        box->GetEventHandler()->ProcessEvent(changed);
    }
    expectSameColours(plain, later);
}

// In a process of its own, where nothing asked wx for its renderer before the first box was
// made, the boxes' renderer is the one wx paints with (wx fills its renderer in on first use).
TEST_F(DataComboBoxTest, ButtonRendererIsInPlaceInAFreshProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(_exit(dynamic_cast<CComboButtonRenderer*>(&wxRendererNative::Get()) ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

// The drop-down button is drawn from a kept picture; it looks as the theme draws it, in every
// state and on any background.
TEST_F(DataComboBoxTest, DropButtonLooksAsTheThemeDrawsIt)
{
    wxRendererNative& ours = wxRendererNative::Get();
    ASSERT_NE(&ours, &wxRendererNative::GetDefault());
    const wxRect rect(6, 4, 24, 28);
    const auto draw = [this, &rect](wxRendererNative& renderer, const wxColour& background, int flags) {
        wxBitmap bitmap(40, 36, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(background));
            dc.Clear();
            renderer.DrawComboBoxDropButton(m_combo, dc, rect, flags);
        }
        return bitmap.ConvertToImage();
    };
    for (int flags : {0, int(wxCONTROL_PRESSED), int(wxCONTROL_CURRENT), int(wxCONTROL_DISABLED)}) {
        for (const wxColour& background : {*wxWHITE, wxColour(0x20, 0x40, 0x60)}) {
            draw(ours, background, flags);  // makes the picture
            const wxImage kept = draw(ours, background, flags);
            const wxImage theme = draw(wxRendererNative::GetDefault(), background, flags);
            int worst = 0;
            long changed = 0;
            for (int y = 0; y < theme.GetHeight(); ++y) {
                for (int x = 0; x < theme.GetWidth(); ++x) {
                    const int difference = std::max({std::abs(kept.GetRed(x, y) - theme.GetRed(x, y)),
                                                     std::abs(kept.GetGreen(x, y) - theme.GetGreen(x, y)),
                                                     std::abs(kept.GetBlue(x, y) - theme.GetBlue(x, y))});
                    worst = std::max(worst, difference);
                    changed += theme.GetRed(x, y) != background.Red() || theme.GetBlue(x, y) != background.Blue();
                }
            }
            EXPECT_GT(changed, 100) << "the theme drew no button, flags " << flags;
            // Blending the picture's edges rounds by a step at most.
            EXPECT_LE(worst, 2) << "flags " << flags << " on " << background.GetAsString();
        }
    }
}
