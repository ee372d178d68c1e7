#include "PagewrightWx/ReportPreviewWnd.h"
#include "PagewrightWx/ReportPrinter.h"

#include <gtest/gtest.h>
#include <wx/cmndata.h>

namespace {

using W = CReportPreviewWnd;

TEST(PreviewScroll, PositionsOfEachScrollKind)
{
    struct SCase {
        W::EScroll code;
        int pos;
        int expected;
    };
    // A page image 1000 pixels long in a window 300 long: the last position is 701.
    const SCase cases[] = {
        {W::kLineUp, 120, 70},   {W::kLineUp, 30, 0},       {W::kLineDown, 120, 170}, {W::kLineDown, 680, 701},
        {W::kPageUp, 750, 49},   {W::kPageUp, 500, 0},      {W::kPageDown, 0, 701},   {W::kPageDown, 300, 701},
        {W::kTop, 400, 0},       {W::kBottom, 0, 701},      {W::kThumb, 10, 333},     {W::kOther, 123, 123},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " from " << c.pos);
        EXPECT_EQ(W::ScrollPosition(c.code, c.pos, 1000, 300, 333), c.expected);
    }
    EXPECT_EQ(W::kLineStep, 50);
}

TEST(PreviewScroll, FitToWidthZoom)
{
    // A window 1050 hundredths of a millimetre wide: 105 pixels at 254 pixels per inch.
    EXPECT_DOUBLE_EQ(W::FitZoom(105, 254.0, 2100), 0.05);
    EXPECT_DOUBLE_EQ(W::FitZoom(96, 96.0, 254), 1.0);
    EXPECT_DOUBLE_EQ(W::FitZoom(100, 96.0, 0), 1.0);
    EXPECT_DOUBLE_EQ(W::FitZoom(0, 96.0, 2100), W::kMinZoom);
}

TEST(PrintRange, PagesOfTheDialogRange)
{
    struct SCase {
        int minPage, maxPage, from, to;
        int expectedFrom, expectedTo;
    };
    const SCase cases[] = {
        {1, 5, 2, 4, 2, 4}, {1, 5, 3, 2, 2, 2}, {0, 5, 3, 4, 1, 5}, {1, 0, 3, 4, 1, 5},
        {1, 5, 0, 0, 1, 5}, {1, 9, 7, 9, 5, 5},
    };
    for (const SCase& c : cases) {
        wxPrintDialogData data;
        data.SetMinPage(c.minPage);
        data.SetMaxPage(c.maxPage);
        data.SetFromPage(c.from);
        data.SetToPage(c.to);
        int from = -1;
        int to = -1;
        CReportPrinter::GetPageRange(data, 5, from, to);
        EXPECT_EQ(from, c.expectedFrom) << c.from << ".." << c.to;
        EXPECT_EQ(to, c.expectedTo) << c.from << ".." << c.to;
    }
}

}  // namespace
