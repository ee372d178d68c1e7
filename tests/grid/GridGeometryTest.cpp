#include "GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Rows of 20 pixels and columns of 60 under a fixed row and column of the given sizes.
void ShapeGrid(CGridCtrl& grid, int rows, int cols, int fixedHeight, int fixedWidth)
{
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < rows; ++row)
        grid.SetRowHeight(row, row == 0 ? fixedHeight : 20);
    for (int col = 0; col < cols; ++col)
        grid.SetColumnWidth(col, col == 0 ? fixedWidth : 60);
}

std::vector<int> Widths(const CGridCtrl& grid)
{
    std::vector<int> widths;
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        widths.push_back(grid.GetColumnWidth(col));
    return widths;
}

}  // namespace

TEST(GridGeometryTest, PointsInFixedColumnsNeedAllowFixed)
{
    CGridFixture f;
    f.grid.SetRowCount(3);
    f.grid.SetColumnCount(4);
    f.grid.SetFixedColumnCount(2);
    f.grid.SetColumnWidth(0, 50);
    f.grid.SetColumnWidth(1, 40);
    f.grid.SetColumnWidth(2, 30);
    f.grid.SetColumnWidth(3, 30);
    EXPECT_EQ(f.grid.CellFromPoint({60, 5}, true).col, 1);
    EXPECT_EQ(f.grid.CellFromPoint({60, 5}, false).col, -1);
    EXPECT_EQ(f.grid.CellFromPoint({90, 5}, false).col, 2);
    EXPECT_EQ(f.grid.CellFromPoint({149, 5}, false).col, 3);
    EXPECT_EQ(f.grid.CellFromPoint({150, 5}, true).col, -1);
    EXPECT_EQ(f.grid.CellFromPoint({-1, 5}, true).col, -1);
    EXPECT_EQ(f.grid.CellFromPoint({5, -1}, true).row, -1);
    // A hidden column is never under the point.
    f.grid.SetColumnWidth(2, 0);
    EXPECT_EQ(f.grid.CellFromPoint({90, 5}, false).col, 3);
}

TEST(GridGeometryTest, CellRectanglesAndOriginsFollowTheScrollPosition)
{
    CGridFixture f;
    ShapeGrid(f.grid, 40, 20, 5, 10);
    CGridRect rect;
    ASSERT_TRUE(f.grid.GetCellRect(1, 1, rect));
    EXPECT_EQ(rect, (CGridRect{10, 5, 69, 24}));
    ASSERT_TRUE(f.grid.GetRangeRect(CCellRange(1, 1, 2, 3), rect));
    EXPECT_EQ(rect, (CGridRect{10, 5, 189, 44}));

    f.grid.SetScrollPosition(SB_VERT, 40);
    f.grid.SetScrollPosition(SB_HORZ, 60);
    EXPECT_TRUE(f.grid.GetScrolledTopLeftCell() == CCellID(3, 2));
    CGridPoint origin;
    EXPECT_FALSE(f.grid.GetCellOrigin(2, 2, origin));
    EXPECT_FALSE(f.grid.GetCellOrigin(0, 1, origin));
    ASSERT_TRUE(f.grid.GetCellOrigin(0, 2, origin));
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 0);
    ASSERT_TRUE(f.grid.GetCellOrigin(4, 0, origin));
    EXPECT_EQ(origin.y, 25);
    EXPECT_TRUE(f.grid.CellFromPoint({15, 30}) == CCellID(4, 2));
}

TEST(GridGeometryTest, BordersAreFoundWithinTheCaptureRange)
{
    CGridFixture f;
    ShapeGrid(f.grid, 5, 5, 20, 40);
    EXPECT_FALSE(f.grid.IsOnRowBorder({5, 2}));
    EXPECT_TRUE(f.grid.IsOnRowBorder({5, 18}));
    EXPECT_TRUE(f.grid.IsOnRowBorder({5, 21}));
    EXPECT_FALSE(f.grid.IsOnRowBorder({5, 30}));
    EXPECT_FALSE(f.grid.IsOnRowBorder({45, 18}));
    EXPECT_FALSE(f.grid.IsOnColumnBorder({2, 5}));
    EXPECT_TRUE(f.grid.IsOnColumnBorder({38, 5}));
    EXPECT_TRUE(f.grid.IsOnColumnBorder({41, 5}));
    EXPECT_FALSE(f.grid.IsOnColumnBorder({38, 25}));
}

TEST(GridGeometryTest, ScrollRangesAppearOnlyWhenTheContentDoesNotFit)
{
    CGridFixture f;
    // 15 rows of 20 fill the 300 pixels exactly.
    ShapeGrid(f.grid, 15, 5, 20, 60);
    EXPECT_EQ(f.grid.GetScrollMax(SB_VERT), 0);
    EXPECT_EQ(f.grid.GetScrollMax(SB_HORZ), 0);
    EXPECT_FALSE(f.grid.IsVerticalBarShown());
    EXPECT_FALSE(f.port.barShown[SB_VERT]);

    f.grid.InsertRow("");
    f.grid.SetRowHeight(15, 20);
    EXPECT_TRUE(f.grid.IsVerticalBarShown());
    // Content below the fixed row is 300 pixels.
    EXPECT_EQ(f.grid.GetScrollMax(SB_VERT), 299);
    EXPECT_EQ(f.port.rangeMax[SB_VERT], 299);
    EXPECT_EQ(f.port.rangePage[SB_VERT], 280);
    EXPECT_FALSE(f.grid.IsHorizontalBarShown());

    // Drawing off: the window's bars wait until drawing resumes or someone asks, and what is
    // asked is answered from the sizes as they are.
    f.grid.SetRedraw(false);
    f.grid.SetRowHeight(15, 100);
    f.grid.SetRowHeight(14, 40);
    EXPECT_EQ(f.port.rangeMax[SB_VERT], 299);
    EXPECT_EQ(f.grid.GetScrollMax(SB_VERT), 399);
    f.grid.SetRowHeight(14, 20);
    f.grid.SetRedraw(false, true);
    EXPECT_EQ(f.grid.GetScrollMax(SB_VERT), 379);
    f.grid.SetRowHeight(15, 20);
    f.grid.SetRedraw(true);
    EXPECT_EQ(f.port.rangeMax[SB_VERT], 299);
    f.grid.SetRowHeight(15, 100);
    EXPECT_EQ(f.grid.GetScrollMax(SB_VERT), 379);

    // A shrinking range pulls the position back into it.
    f.grid.SetScrollPosition(SB_VERT, 5000);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 379);
    f.grid.DeleteRow(15);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 0);
}

TEST(GridGeometryTest, VisibleRangesAfterScrolling)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3, 20, 60);
    f.grid.SetScrollPosition(SB_VERT, 200);
    CGridRect rect;
    EXPECT_TRUE(f.grid.GetVisibleCellRange(&rect) == CCellRange(11, 1, 24, 2));
    EXPECT_EQ(rect, (CGridRect{0, 0, 180, 300}));
    EXPECT_TRUE(f.grid.GetFullyVisibleCellRange() == CCellRange(11, 1, 24, 2));
    f.grid.SetScrollPosition(SB_VERT, 210);
    EXPECT_TRUE(f.grid.GetVisibleCellRange() == CCellRange(12, 1, 25, 2));
    f.port.client = {400, 290};
    EXPECT_TRUE(f.grid.GetFullyVisibleCellRange(true) == CCellRange(12, 1, 24, 2));
    EXPECT_TRUE(f.grid.IsCellOnScreen(12, 1));
    EXPECT_FALSE(f.grid.IsCellOnScreen(11, 1));
    EXPECT_FALSE(f.grid.IsCellOnScreen(30, 1));
}

TEST(GridGeometryTest, ScrollingACellIntoViewMovesTheRange)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3, 20, 60);
    f.grid.ScrollCellIntoView(50, 1);
    const CCellRange visible = f.grid.GetFullyVisibleCellRange();
    EXPECT_TRUE(visible.InRange(50, 1));
    f.grid.ScrollCellIntoView(3, 1);
    EXPECT_EQ(f.grid.GetScrolledTopLeftCell().row, 3);
    f.grid.ScrollCellIntoView(CCellID(70, 2));
    EXPECT_TRUE(f.grid.GetFullyVisibleCellRange().InRange(70, 2));
}

TEST(GridGeometryTest, RedrawingARowOrColumnInvalidatesEachOfItsCellsOnTheScreen)
{
    CGridFixture f;
    // 14 data rows of 20 fit under the fixed row; columns of 60 after the fixed one of 60.
    ShapeGrid(f.grid, 100, 3, 20, 60);
    EXPECT_TRUE(f.grid.RedrawRow(2));
    const std::vector<CGridRect> row2 = {{0, 40, 60, 60}, {60, 40, 120, 60}, {120, 40, 180, 60}};
    EXPECT_EQ(f.port.invalidated, row2);

    f.port.invalidated.clear();
    // Rows below the window: not all on the screen, but those that are are redrawn.
    EXPECT_FALSE(f.grid.RedrawColumn(1));
    EXPECT_EQ(f.port.invalidated.size(), 15u);
    EXPECT_EQ(f.port.invalidated.front(), (CGridRect{60, 0, 120, 20}));

    f.port.invalidated.clear();
    EXPECT_FALSE(f.grid.RedrawRow(50));
    EXPECT_TRUE(f.port.invalidated.empty());
}

TEST(GridGeometryTest, SizeAccessorsRefuseRowsAndColumnsOutsideTheGrid)
{
    CGridCtrl grid(3, 3);
    EXPECT_EQ(grid.GetRowHeight(-1), -1);
    EXPECT_EQ(grid.GetRowHeight(3), -1);
    EXPECT_EQ(grid.GetColumnWidth(3), -1);
    EXPECT_FALSE(grid.SetColumnWidth(0, -1));
    EXPECT_TRUE(grid.SetColumnWidth(0, 0));
    EXPECT_EQ(grid.GetColumnWidth(0), 0);
    EXPECT_FALSE(grid.AutoSizeColumn(0));
    EXPECT_EQ(grid.GetColumnWidth(0), 0);
    EXPECT_FALSE(grid.SetRowHeight(3, 10));
}

TEST(GridGeometryTest, StretchingSpreadsTheRemainderAndKeepsColumnsVisible)
{
    struct Case {
        std::vector<int> widths;
        int client;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{100, 100, 100}, 310, {104, 103, 103}},
        {{100, 100, 100}, 290, {96, 97, 97}},
        {{100, 0, 100}, 201, {101, 0, 100}},
        {{100, 0, 100, 100}, 302, {101, 0, 100, 100}},
        // Far too narrow: every visible column keeps a pixel, a hidden one stays hidden.
        {{100, 100, 0, 100}, 2, {1, 1, 0, 1}},
        {{50, 150}, 0, {1, 50}},
    };
    for (const Case& c : cases) {
        CGridFixture f;
        f.port.client = {c.client, 300};
        f.grid.SetRowCount(2);
        f.grid.SetColumnCount(static_cast<int>(c.widths.size()));
        for (std::size_t col = 0; col < c.widths.size(); ++col)
            f.grid.SetColumnWidth(static_cast<int>(col), c.widths[col]);
        f.grid.StretchColumnsToFit(false);
        EXPECT_EQ(Widths(f.grid), c.expected) << "client " << c.client;
    }
}

TEST(GridGeometryTest, StretchingLeavesFixedColumnsAloneUnlessAsked)
{
    CGridFixture f;
    f.port.client = {310, 300};
    f.grid.SetRowCount(2);
    f.grid.SetColumnCount(3);
    f.grid.SetFixedColumnCount(1);
    for (int col = 0; col < 3; ++col)
        f.grid.SetColumnWidth(col, 100);
    f.grid.StretchColumnsToFit(false);
    EXPECT_EQ(Widths(f.grid), (std::vector<int>{100, 105, 105}));
    f.grid.StretchColumnsToFit(true);
    EXPECT_EQ(Widths(f.grid), (std::vector<int>{100, 105, 105}));

    f.grid.StretchLastColumn();
    EXPECT_EQ(Widths(f.grid), (std::vector<int>{100, 105, 105}));
    f.port.client = {350, 300};
    f.grid.StretchLastColumn();
    EXPECT_EQ(Widths(f.grid), (std::vector<int>{100, 105, 145}));

    CGridFixture single;
    single.grid.SetRowCount(1);
    single.grid.SetColumnCount(2);
    single.grid.SetColumnWidth(0, 50);
    single.grid.SetColumnWidth(1, 0);
    single.grid.StretchLastColumn();
    EXPECT_EQ(Widths(single.grid), (std::vector<int>{50, 0}));
}

TEST(GridGeometryTest, AutoSizeMeasuresTheRowsOfTheStyle)
{
    CGridFixture f;
    f.grid.SetRowCount(3);
    f.grid.SetColumnCount(2);
    f.grid.SetFixedRowCount(1);
    f.grid.SetItemText(0, 0, "ab");
    f.grid.SetItemText(0, 1, "abcd");
    f.grid.SetItemText(2, 0, "a much longer text");
    f.grid.SetRowHeight(2, 50);
    f.grid.SetColumnWidth(1, 0);

    f.grid.AutoSize(GVS_HEADER);
    // Margin 7: four of them beside the text, two above and below it.
    EXPECT_EQ(f.grid.GetColumnWidth(0), 14 + 28);
    EXPECT_EQ(f.grid.GetColumnWidth(1), 0);
    EXPECT_EQ(f.grid.GetRowHeight(0), 16 + 14);
    EXPECT_EQ(f.grid.GetRowHeight(2), 50);

    f.grid.AutoSize(GVS_BOTH);
    EXPECT_EQ(f.grid.GetColumnWidth(0), 18 * 7 + 28);
    EXPECT_EQ(f.grid.GetRowHeight(2), 30);

    EXPECT_TRUE(f.grid.AutoSizeColumn(0, GVS_HEADER));
    EXPECT_EQ(f.grid.GetColumnWidth(0), 14 + 28);
    f.grid.SetItemText(1, 0, "x\ny");
    f.grid.SetItemFormat(1, 0, DT_WORDBREAK);
    EXPECT_TRUE(f.grid.AutoSizeRow(1));
    EXPECT_EQ(f.grid.GetRowHeight(1), 32 + 14);
}

TEST(GridGeometryTest, VisibleNeighboursStopAtTheEdgesOfTheGrid)
{
    CGridCtrl grid(5, 3, 1, 0);
    grid.SetRowHeight(4, 0);
    grid.SetRowHeight(2, 0);
    EXPECT_EQ(grid.NextVisibleRow(1, 1, 1), 3);
    EXPECT_EQ(grid.NextVisibleRow(3, 1, 1), -1);
    EXPECT_EQ(grid.NextVisibleRow(3, -1, 1), 1);
    EXPECT_EQ(grid.NextVisibleRow(1, -1, 1), -1);
    EXPECT_EQ(grid.NextVisibleColumn(2, 1, 0), -1);
}

TEST(GridGeometryTest, FocusChangesInvalidateTheCellsOnScreenOnly)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3, 20, 60);
    f.grid.SetTrackFocusCell(false);
    f.port.invalidated.clear();
    f.grid.SetFocusCell(2, 1);
    // Right and bottom edges one pixel beyond the inclusive cell rectangle.
    ASSERT_EQ(f.port.invalidated.size(), 1u);
    EXPECT_EQ(f.port.invalidated[0], (CGridRect{60, 40, 120, 60}));

    f.port.invalidated.clear();
    f.grid.SetFocusCell(90, 1);
    EXPECT_EQ(f.port.invalidated.size(), 1u);

    f.grid.SetRedraw(false);
    f.port.invalidated.clear();
    const int before = f.port.invalidatedAll;
    f.grid.SetFocusCell(3, 1);
    f.grid.RedrawAll();
    EXPECT_TRUE(f.port.invalidated.empty());
    EXPECT_EQ(f.port.invalidatedAll, before);
    f.grid.SetRedraw(true);
    EXPECT_EQ(f.port.invalidatedAll, before + 1);
    EXPECT_TRUE(f.grid.InvalidateCellRange(CCellRange(1, 1, 200, 2)));
    EXPECT_EQ(f.port.invalidated.back(), (CGridRect{60, 20, 180, 300}));
}

TEST(GridGeometryTest, PositionsWhileDrawingIsOffAreBoundedByTheSizesAsTheyAre)
{
    CGridFixture f;
    // 14 rows of 20 below the fixed row: no scrolling yet.
    ShapeGrid(f.grid, 15, 5, 20, 60);
    f.grid.SetRedraw(false);
    for (int row = 1; row < 15; ++row)
        f.grid.SetRowHeight(row, 60);
    // 14 x 60 = 840 pixels below the fixed row.
    f.grid.SetScrollPosition(SB_VERT, 480);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 480);
    EXPECT_TRUE(f.grid.IsVerticalBarShown());
    EXPECT_EQ(f.grid.GetScrolledTopLeftCell(), CCellID(9, 1));

    // Rows going while drawing is off take the position back with them.
    f.grid.SetRowCount(5);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 0);
    EXPECT_FALSE(f.grid.IsVerticalBarShown());
    f.grid.SetRedraw(true);
    EXPECT_FALSE(f.port.barShown[SB_VERT]);
}
