#include "GridTestSupport.h"

#include "grid/GridPrintLayout.h"

#include <gtest/gtest.h>

namespace {

// Characters 10 x 20 on a paper of 1000 x 2000 printer pixels at 600 dpi; the screen at 96.
CGridPrintDevice Device()
{
    return CGridPrintDevice{{1000, 2000}, {600, 600}, {96, 96}, {10, 20}};
}

// One fixed row of 30 and fixed column of 40 before data rows and columns of the given sizes.
void ShapeGrid(CGridCtrl& grid, int rows, int rowHeight, int cols, int colWidth)
{
    grid.SetRowCount(rows + 1);
    grid.SetColumnCount(cols + 1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetRowHeight(0, 30);
    grid.SetColumnWidth(0, 40);
    for (int row = 1; row <= rows; ++row)
        grid.SetRowHeight(row, rowHeight);
    for (int col = 1; col <= cols; ++col)
        grid.SetColumnWidth(col, colWidth);
}

}  // namespace

TEST(GridPrintLayoutTest, GridThatFitsIsOnePage)
{
    CGridCtrl grid;
    ShapeGrid(grid, 5, 20, 3, 100);
    const CGridPrintLayout layout(grid, grid.GetPrintMargins(), Device(), false);
    // 340 of columns and 80 of margins, as high as the paper's proportion.
    EXPECT_EQ(layout.GetLogicalPage(), (CGridSize{420, 840}));
    EXPECT_EQ(layout.GetPageHeight(), 840 - 30 - 6 * 20);
    EXPECT_EQ(layout.GetPageWidth(), 300);
    EXPECT_EQ(layout.GetPageCount(), 1);
    EXPECT_EQ(CGridPrintLayout::FooterText(1, layout.GetPageCount()), "Page 1 of 1");
    EXPECT_EQ(layout.FirstRow(1), 1);
    EXPECT_EQ(layout.LastRow(1), 5);
    EXPECT_EQ(layout.FirstColumn(1), 1);
    EXPECT_EQ(layout.LastColumn(1), 3);
}

TEST(GridPrintLayoutTest, RowsRunOnToFurtherPages)
{
    CGridCtrl grid;
    // Page height 690: 34 rows of 20 fit a page (bottom 679), the 35th does not.
    ShapeGrid(grid, 80, 20, 3, 100);
    const CGridPrintLayout layout(grid, grid.GetPrintMargins(), Device(), false);
    ASSERT_EQ(layout.GetPageHeight(), 690);
    EXPECT_EQ(layout.GetPageCount(), 3);
    EXPECT_EQ(layout.FirstRow(2), 35);
    EXPECT_EQ(layout.LastRow(1), 34);
    EXPECT_EQ(layout.FirstRow(3), 69);
    EXPECT_EQ(layout.LastRow(3), 80);
}

TEST(GridPrintLayoutTest, RowTallerThanThePageIsPrintedClippedOnAPageOfItsOwn)
{
    CGridCtrl grid;
    // Page height 690: a row of 20, one of 5000, two of 20.
    ShapeGrid(grid, 4, 20, 2, 100);
    grid.SetRowHeight(2, 5000);
    const CGridPrintLayout layout(grid, grid.GetPrintMargins(), Device(), false);
    ASSERT_EQ(layout.GetPageCount(), 3);
    const int rows[][2] = {{1, 1}, {2, 2}, {3, 4}};
    for (int page = 1; page <= 3; ++page) {
        EXPECT_TRUE(layout.HasBody(page));
        EXPECT_EQ(layout.FirstRow(page), rows[page - 1][0]) << page;
        EXPECT_EQ(layout.LastRow(page), rows[page - 1][1]) << page;
    }

    // Alone in the grid it makes one page.
    ShapeGrid(grid, 1, 5000, 2, 100);
    const CGridPrintLayout alone(grid, grid.GetPrintMargins(), Device(), false);
    EXPECT_EQ(alone.GetPageCount(), 1);
    EXPECT_EQ(alone.LastRow(1), 1);
}

TEST(GridPrintLayoutTest, OnlyFixedRowsGiveAPageWithoutBody)
{
    CGridCtrl grid;
    ShapeGrid(grid, 0, 20, 2, 100);
    const CGridPrintLayout layout(grid, grid.GetPrintMargins(), Device(), false);
    EXPECT_EQ(layout.GetPageCount(), 1);
    EXPECT_FALSE(layout.HasBody(1));
}

TEST(GridPrintLayoutTest, PrintLayoutModeRunsAcrossColumnStripsFirst)
{
    // Printer and screen alike: the logical page is three quarters of the paper, 100 x 150.
    // Three rows of 40 fit under the fixed row, two columns of 30 beside the fixed column.
    CGridCtrl small;
    small.SetPrintMargins(0, 0, 0, 0, -1, -1, 0);
    ShapeGrid(small, 9, 40, 4, 30);
    CGridPrintDevice device = Device();
    device.paper = {134, 200};
    device.printerDpi = device.screenDpi;
    const CGridPrintLayout strips(small, small.GetPrintMargins(), device, true);
    ASSERT_EQ(strips.GetLogicalPage(), (CGridSize{100, 150}));
    ASSERT_EQ(strips.GetPageHeight(), 120);
    ASSERT_EQ(strips.GetPageWidth(), 60);
    EXPECT_EQ(strips.GetColumnStrips(), 2);
    EXPECT_EQ(strips.GetPageCount(), 6);
    struct Expected {
        int page;
        int firstRow;
        int firstColumn;
    };
    const Expected pages[] = {{1, 1, 1}, {2, 1, 3}, {3, 4, 1}, {4, 4, 3}, {5, 7, 1}, {6, 7, 3}};
    for (const Expected& e : pages) {
        EXPECT_EQ(strips.FirstRow(e.page), e.firstRow) << "page " << e.page;
        EXPECT_EQ(strips.FirstColumn(e.page), e.firstColumn) << "page " << e.page;
        EXPECT_EQ(strips.LastColumn(e.page), e.firstColumn + 1) << "page " << e.page;
        EXPECT_EQ(strips.LastRow(e.page), e.firstRow + 2) << "page " << e.page;
    }
}

TEST(GridPrintLayoutTest, AColumnWiderThanThePageGetsAStripOfItsOwn)
{
    // Page width 60 as above; columns 30, 90, 30, 30, 70, 20: strips of 1, 2, 3-4, 5 and 6.
    CGridCtrl grid;
    grid.SetPrintMargins(0, 0, 0, 0, -1, -1, 0);
    ShapeGrid(grid, 3, 40, 6, 30);
    grid.SetColumnWidth(2, 90);
    grid.SetColumnWidth(5, 70);
    grid.SetColumnWidth(6, 20);
    CGridPrintDevice device = Device();
    device.paper = {134, 200};
    device.printerDpi = device.screenDpi;
    const CGridPrintLayout layout(grid, grid.GetPrintMargins(), device, true);
    ASSERT_EQ(layout.GetPageWidth(), 60);
    ASSERT_EQ(layout.GetColumnStrips(), 5);
    ASSERT_EQ(layout.GetPageCount(), 5);
    const int strips[][2] = {{1, 1}, {2, 2}, {3, 4}, {5, 5}, {6, 6}};
    for (int page = 1; page <= 5; ++page) {
        EXPECT_EQ(layout.FirstColumn(page), strips[page - 1][0]) << "page " << page;
        EXPECT_EQ(layout.LastColumn(page), strips[page - 1][1]) << "page " << page;
    }

    // One over-wide column alone.
    ShapeGrid(grid, 3, 40, 1, 500);
    const CGridPrintLayout alone(grid, grid.GetPrintMargins(), device, true);
    EXPECT_EQ(alone.GetPageCount(), 1);
    EXPECT_EQ(alone.FirstColumn(1), 1);
    EXPECT_EQ(alone.LastColumn(1), 1);
}

TEST(GridPrintLayoutTest, NegativeMarginsKeepThePreviousValues)
{
    CGridCtrl grid;
    grid.SetPrintMargins(3, -1, 5, -1, -1, 0, -1);
    const CGridPrintMargins& m = grid.GetPrintMargins();
    EXPECT_EQ(m.header, 3);
    EXPECT_EQ(m.footer, 2);
    EXPECT_EQ(m.left, 5);
    EXPECT_EQ(m.right, 4);
    EXPECT_EQ(m.top, 1);
    EXPECT_EQ(m.bottom, 0);
    EXPECT_EQ(m.gap, 1);
}
