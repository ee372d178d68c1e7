#include "GuiTestFiles.h"
#include "Pagewright/Report.h"
#include "PagewrightWx/ReportPainter.h"
#include "PagewrightWx/ReportPreviewWnd.h"
#include "support/DarkDesktopScope.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"
#include "support/WxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include <memory>

namespace {

// Three A4 pages on a light blue background.
const char kThreePages[] = R"(<report>
  <page backgroundcolor="#c0e0ff"><rectangle x="100" y="100" width="1000" height="500" fillcolor="#000080"/></page>
  <page backgroundcolor="#c0e0ff"/><page backgroundcolor="#c0e0ff"/></report>)";

const wxColour kPageColour(0xc0, 0xe0, 0xff);

class ReportPreviewWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame.reset(new wxFrame(nullptr, wxID_ANY, "Preview", wxDefaultPosition, wxSize(420, 320)));
        m_preview = new CReportPreviewWnd(m_frame.get());
        m_frame->Show();
        Pump();
        ASSERT_TRUE(m_document.LoadFromString(kThreePages));
    }

    // GTK keeps a range of 1 for a bar without one.
    bool BarShown(int orientation) const { return m_preview->GetScrollRange(orientation) > 1; }

    wxImage Shown()
    {
        m_preview->Refresh();
        return Snapshot(m_preview).ConvertToImage();
    }

    UniqueWindow<wxFrame> m_frame;
    CReportPreviewWnd* m_preview = nullptr;
    CReport m_document;
};

TEST_F(ReportPreviewWndTest, WithoutADocumentOrPagesItPaintsWhite)
{
    wxImage image = Shown();
    EXPECT_EQ(CountColour(image, *wxWHITE), image.GetWidth() * image.GetHeight());
    CReport empty;
    m_preview->SetReport(&empty);
    EXPECT_EQ(m_preview->GetPageCount(), 0);
    EXPECT_EQ(m_preview->GetPage(), 0);
    image = Shown();
    EXPECT_EQ(CountColour(image, *wxWHITE), image.GetWidth() * image.GetHeight());
    EXPECT_FALSE(BarShown(wxVERTICAL));

    // A document with pages after one without shows its first page.
    m_preview->SetReport(&m_document);
    EXPECT_EQ(m_preview->GetPageCount(), 3);
    EXPECT_EQ(m_preview->GetPage(), 1);
}

TEST_F(ReportPreviewWndTest, PagesAndZoomAreClamped)
{
    m_preview->SetReport(&m_document);
    struct SCase {
        int page;
        int shown;
    };
    for (const SCase& c : {SCase{2, 2}, SCase{0, 1}, SCase{99, 3}, SCase{-5, 1}}) {
        m_preview->SetPage(c.page);
        EXPECT_EQ(m_preview->GetPage(), c.shown) << c.page;
    }
    m_preview->SetPage(3);
    CReport shorter;
    ASSERT_TRUE(shorter.LoadFromString("<report><page/></report>"));
    m_preview->SetReport(&shorter);
    EXPECT_EQ(m_preview->GetPage(), 1);

    for (const auto& [zoom, stored] : {std::pair{0.0, 0.001}, {5000.0, 1000.0}, {0.5, 0.5}}) {
        m_preview->SetZoom(zoom);
        EXPECT_DOUBLE_EQ(m_preview->GetZoom(), stored);
    }
}

TEST_F(ReportPreviewWndTest, FitToWidthNeedsNoHorizontalBar)
{
    m_preview->SetReport(&m_document);
    m_preview->SetFitToWidth(true);
    Pump();
    const wxSize client = m_preview->GetClientSize();
    EXPECT_NEAR(m_preview->GetZoom(), CReportPreviewWnd::FitZoom(client.x, m_preview->GetDpi(), 2100), 1e-9);
    EXPECT_LE(m_preview->GetImageSize().x, client.x);
    EXPECT_GE(m_preview->GetImageSize().x, client.x - 1);
    EXPECT_FALSE(BarShown(wxHORIZONTAL));
    EXPECT_TRUE(BarShown(wxVERTICAL));
    const wxImage image = Shown();
    // The page fills the window's width; its dark rectangle sits near the top-left.
    EXPECT_GT(CountColour(image, kPageColour), image.GetWidth() * image.GetHeight() / 2);
    const wxRect dark = ColourBounds(image, wxColour(0, 0, 0x80));
    EXPECT_FALSE(dark.IsEmpty());
    EXPECT_NEAR(dark.x, client.x * 100 / 2100, 2);
}

TEST_F(ReportPreviewWndTest, ScrollsByLinesAndShowsOnlyTheVisiblePart)
{
    m_preview->SetReport(&m_document);
    m_preview->SetZoom(1.0);
    Pump();
    const wxSize image = m_preview->GetImageSize();
    const double dpi = m_preview->GetDpi();
    EXPECT_NEAR(image.x, 210 / 25.4 * dpi, 1);
    EXPECT_TRUE(BarShown(wxHORIZONTAL));

    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -360;
    m_preview->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(m_preview->GetScrollOffset().y, CReportPreviewWnd::kLineStep);
    wxScrollWinEvent line(wxEVT_SCROLLWIN_LINEDOWN, 0, wxHORIZONTAL);
    m_preview->GetEventHandler()->ProcessEvent(line);
    EXPECT_EQ(m_preview->GetScrollOffset().x, CReportPreviewWnd::kLineStep);

    // Scrolled by (50, 50): the dark rectangle's bottom-right (110 mm, 60 mm) is 50 pixels
    // further up-left.
    const wxRect dark = ColourBounds(Shown(), wxColour(0, 0, 0x80));
    EXPECT_NEAR(dark.GetRight(), 1100 * dpi / 254 - 50, 2);
    EXPECT_NEAR(dark.GetBottom(), 600 * dpi / 254 - 50, 2);

    wxScrollWinEvent bottom(wxEVT_SCROLLWIN_BOTTOM, 0, wxVERTICAL);
    m_preview->GetEventHandler()->ProcessEvent(bottom);
    EXPECT_EQ(m_preview->GetScrollOffset().y, image.y - m_preview->GetClientSize().y + 1);
}

TEST_F(ReportPreviewWndTest, AWindowLargerThanThePageShowsButtonFaceBeyondIt)
{
    m_preview->SetReport(&m_document);
    m_preview->SetZoom(1.0);
    wxScrollWinEvent line(wxEVT_SCROLLWIN_LINEDOWN, 0, wxVERTICAL);
    m_preview->GetEventHandler()->ProcessEvent(line);
    m_preview->SetZoom(0.2);
    Pump();
    EXPECT_EQ(m_preview->GetScrollOffset(), wxPoint(0, 0));
    EXPECT_FALSE(BarShown(wxVERTICAL));
    EXPECT_FALSE(BarShown(wxHORIZONTAL));
    const wxImage image = Shown();
    const wxSize page = m_preview->GetImageSize();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxSize client = m_preview->GetClientSize();
    EXPECT_EQ(CountColour(image, face, wxRect(page.x + 1, 0, client.x - page.x - 1, client.y)),
              (client.x - page.x - 1) * client.y);
    EXPECT_GT(CountColour(image, kPageColour, wxRect(wxPoint(0, 0), page)), page.x * page.y / 2);
    SaveScreenshot(wxBitmap(image), "PreviewSmallPage");
}

// On screen html text without a colour of its own keeps the desktop's text colour, light under
// a dark desktop, as the page around it may be dark too.
TEST_F(ReportPreviewWndTest, ShowsHtmlTextInTheDesktopsTextColour)
{
    CReport document;
    CDarkDesktopScope dark;
    const ReportColor desktop = CReportPainter::DesktopTextColor();
    ASSERT_GT(desktop & 0xFF, 0x80u);
    ASSERT_TRUE(document.LoadFromString(R"(<report><page backgroundcolor="#202020">
      <htmltext x="50" y="50" width="1500" height="400" fontname="Big">Mmm</htmltext>
      </page><font fontname="Big" typeface="Arial" fontsize="72pt" isbold="TRUE"/></report>)"));
    m_preview->SetReport(&document);
    Pump();
    EXPECT_GT(CountColour(Shown(), wxColour(desktop & 0xFF, (desktop >> 8) & 0xFF, (desktop >> 16) & 0xFF)), 100);
}

// The fixture page fitted to the window's width looks like its image drawn at that zoom.
TEST_F(ReportPreviewWndTest, ShowsTheFixturePageFittedToItsWidth)
{
    CReport fixture;
    ASSERT_TRUE(fixture.LoadFromFile(DrawingDataPath("FixturePage.rpt")));
    m_preview->SetReport(&fixture);
    m_preview->SetFitToWidth(true);
    Pump();
    const wxImage image = Shown();
    SaveScreenshot(wxBitmap(image), "PreviewFixturePage");
    // The title box, light blue, 10 to 70 mm across at 20 mm down.
    const wxRect box = ColourBounds(image, wxColour(0xc0, 0xe0, 0xff));
    const double scale = m_preview->GetClientSize().x / 2100.0;
    EXPECT_NEAR(box.x, 200 * scale, 2);
    EXPECT_NEAR(box.GetRight(), 800 * scale, 2);
}

// A picture fills its box, one past the pixel bound leaves its box empty, and three lines of 36
// points shrink into a box 20 mm deep.
TEST_F(ReportPreviewWndTest, ShowsPicturesAndTextShrunkToFit)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("four.png"), FourColourPng());
    WriteWholeFile(folder.Path("huge.png"), GreyPng(8000, 8000, 0));
    CReport document;
    ASSERT_TRUE(document.LoadFromString(R"(<report><page width="2100" height="1000" leftborder="0" topborder="0">
        <picture x="100" y="100" width="600" height="600" mode="STRETCH" filename="four.png"/>
        <picture x="800" y="100" width="600" height="600" mode="STRETCH" filename="huge.png"/>
        <rectangle x="1500" y="100" width="500" height="200" bordercolor="#0000ff" fillcolor="TRANSPARENT"/>
        <text x="1500" y="100" width="500" height="200" fontname="F" shrinktofit="TRUE">one\ntwo\nthree</text>
        </page><font fontname="F" typeface="Liberation Sans" fontsize="36pt"/></report>)",
                                        folder.Path("")));
    document.Paginate();
    m_frame->SetSize(wxSize(840, 480));
    m_preview->SetReport(&document);
    m_preview->SetFitToWidth(true);
    Pump();
    const wxImage image = Shown();
    SaveScreenshot(wxBitmap(image), "PreviewPicturesAndShrunkText");
    const double scale = m_preview->GetClientSize().x / 2100.0;
    const auto area = [scale](int x, int y, int width, int height) {
        return wxRect(static_cast<int>(x * scale), static_cast<int>(y * scale), static_cast<int>(width * scale),
                      static_cast<int>(height * scale));
    };
    EXPECT_GT(CountColour(image, wxColour(255, 0, 0), area(100, 100, 300, 300)), 0);
    EXPECT_GT(CountColour(image, wxColour(255, 255, 0), area(400, 400, 300, 300)), 0);
    const wxRect huge = area(800, 100, 600, 600);
    EXPECT_EQ(CountColour(image, *wxWHITE, huge), huge.width * huge.height);
    const wxRect text = ColourBounds(image, *wxBLACK);
    EXPECT_FALSE(text.IsEmpty());
    const wxRect box = area(1500, 100, 500, 200);
    EXPECT_LE(text.GetBottom(), box.GetBottom() + 1);
    // All three lines show, each a band of rows with black in it: at its own size the box,
    // which clips the text, would hold one and a half.
    int bands = 0;
    bool inBand = false;
    for (int y = box.GetTop(); y <= box.GetBottom(); ++y) {
        const bool black = CountColour(image, *wxBLACK, wxRect(box.x, y, box.width, 1)) > 0;
        bands += black && !inBand;
        inBand = black;
    }
    EXPECT_EQ(bands, 3);
}

// At the largest zoom the page is hundreds of thousands of pixels wide; only the window's part
// of it is drawn.
TEST_F(ReportPreviewWndTest, TheLargestZoomDrawsOnlyTheWindowsPart)
{
    m_preview->SetReport(&m_document);
    m_preview->SetZoom(CReportPreviewWnd::kMaxZoom);
    Pump();
    EXPECT_GT(m_preview->GetImageSize().x, 100000);
    for (int orientation : {wxHORIZONTAL, wxVERTICAL}) {
        wxScrollWinEvent thumb(wxEVT_SCROLLWIN_THUMBTRACK, 200000, orientation);
        m_preview->GetEventHandler()->ProcessEvent(thumb);
    }
    EXPECT_EQ(m_preview->GetScrollOffset(), wxPoint(200000, 200000));
    // Inside the dark rectangle: 10 to 110 mm across and 10 to 60 mm down, 1000 times enlarged.
    const wxImage image = Shown();
    EXPECT_EQ(CountColour(image, wxColour(0, 0, 0x80)), image.GetWidth() * image.GetHeight());
}

}  // namespace
