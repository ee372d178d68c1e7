#include "GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Rows of 20 pixels and columns of 50 under one fixed row and column; cell texts "r,c".
void ShapeGrid(CGridCtrl& grid, int rows, int cols)
{
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < rows; ++row) {
        grid.SetRowHeight(row, 20);
        for (int col = 0; col < cols; ++col)
            grid.SetItemText(row, col, std::to_string(row) + "," + std::to_string(col));
    }
    for (int col = 0; col < cols; ++col)
        grid.SetColumnWidth(col, 50);
}

CRecordingPainter Paint(CGridCtrl& grid)
{
    CRecordingPainter painter;
    grid.OnDraw(painter);
    return painter;
}

}  // namespace

TEST(GridPaintTest, FocusFrameSitsInsideTheGridLinesOrOnePixelFurtherWithout)
{
    struct Case {
        int lines;
        CGridRect frame;
    };
    for (const Case& c : {Case{GVL_BOTH, {50, 20, 99, 39}}, Case{GVL_NONE, {50, 20, 100, 40}}}) {
        CGridFixture f;
        ShapeGrid(f.grid, 4, 3);
        f.grid.SetGridLineStyle(c.lines);
        f.grid.SetFocusCell(1, 1);
        const CRecordingPainter painter = Paint(f.grid);
        const auto frames = painter.Kind("frame");
        ASSERT_EQ(frames.size(), 1u) << c.lines;
        EXPECT_EQ(frames[0].rect, c.frame) << c.lines;
        // The text starts past the margin and one pixel below the frame's top.
        const auto* text = painter.TextOp("1,1");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->rect.top, 21);
    }
}

TEST(GridPaintTest, SelectedFocusCellIsFilledInHighlightColoursOverTheExtraPixel)
{
    CGridFixture f;
    ShapeGrid(f.grid, 4, 3);
    f.grid.SetFocusCell(1, 1);
    f.grid.SetSelectedRange(1, 1, 1, 1);
    const CRecordingPainter painter = Paint(f.grid);
    bool filled = false;
    for (const auto& op : painter.Kind("fill"))
        filled |= op.colour == CRecordingPainter::kHighlight && op.rect == CGridRect{50, 20, 100, 40};
    EXPECT_TRUE(filled);
    EXPECT_EQ(painter.Kind("frame").at(0).colour, CRecordingPainter::kHighlightText);
    EXPECT_EQ(painter.TextOp("1,1")->colour, CRecordingPainter::kHighlightText);
}

TEST(GridPaintTest, FixedCellsAreSunkenInTheFocusRowAndColumnRaisedElsewhereAndFlatWithoutLines)
{
    CGridFixture f;
    ShapeGrid(f.grid, 4, 3);
    f.grid.SetFocusCell(2, 2);
    CRecordingPainter painter = Paint(f.grid);
    const auto sunken = painter.Kind("sunken");
    // Column header of column 2 and row header of row 2.
    ASSERT_EQ(sunken.size(), 2u);
    EXPECT_EQ(sunken[0].rect, (CGridRect{0, 40, 50, 60}));
    EXPECT_EQ(sunken[1].rect, (CGridRect{100, 0, 150, 20}));
    int raised = 0;
    for (const auto& op : painter.Kind("line"))
        raised += op.colour == CRecordingPainter::kLight;
    // Two light lines per raised fixed cell: the corner, column header 1, row headers 1 and 3.
    EXPECT_EQ(raised, 2 * 4);

    f.grid.SetTrackFocusCell(false);
    EXPECT_TRUE(Paint(f.grid).Kind("sunken").empty());

    f.grid.SetGridLineStyle(GVL_NONE);
    painter = Paint(f.grid);
    EXPECT_TRUE(painter.Kind("sunken").empty());
    EXPECT_TRUE(painter.Kind("line").empty());
}

TEST(GridPaintTest, SortArrowOnlyInTheHeaderOfTheSortColumnAndOnlyWhereItFits)
{
    CGridFixture f;
    ShapeGrid(f.grid, 4, 3);
    f.grid.SetGridLineStyle(GVL_NONE);
    f.grid.SetSortedColumn(2);
    CRecordingPainter painter = Paint(f.grid);
    auto shadowLines = [](const CRecordingPainter& p) {
        std::vector<CGridRect> lines;
        for (const auto& op : p.Kind("line"))
            if (op.colour == CRecordingPainter::kShadow)
                lines.push_back(op.rect);
        return lines;
    };
    const auto lines = shadowLines(painter);
    ASSERT_EQ(lines.size(), 3u);
    for (const CGridRect& line : lines) {
        EXPECT_GE(line.left, 100);
        EXPECT_LE(line.bottom, 20);
    }
    // The header text leaves room for the arrow.
    EXPECT_LT(painter.TextOp("0,2")->rect.right, painter.TextOp("0,1")->rect.right + 50);
    EXPECT_LT(painter.TextOp("0,2")->rect.Width(), painter.TextOp("0,1")->rect.Width());

    f.grid.SetColumnWidth(2, 8);
    painter = Paint(f.grid);
    EXPECT_TRUE(shadowLines(painter).empty());
}

TEST(GridPaintTest, BackgroundFillsFixedAreasCellsAndTheGridBackgroundBeyond)
{
    CGridFixture f;
    ShapeGrid(f.grid, 4, 3);
    CRecordingPainter painter;
    f.grid.EraseBkgnd(painter);
    const auto fills = painter.Kind("fill");
    ASSERT_EQ(fills.size(), 6u);
    EXPECT_EQ(fills[0].rect, (CGridRect{0, 0, 50, 20}));
    EXPECT_EQ(fills[1].rect, (CGridRect{0, 0, 50, 80}));
    EXPECT_EQ(fills[2].rect, (CGridRect{49, 0, 150, 20}));
    EXPECT_EQ(fills[3].rect, (CGridRect{50, 20, 150, 80}));
    EXPECT_EQ(fills[3].colour, f.grid.GetDefaultCell(false, false)->GetBackClr());
    EXPECT_EQ(fills[4].rect, (CGridRect{150, 0, 400, 300}));
    EXPECT_EQ(fills[5].rect, (CGridRect{0, 80, 150, 300}));
    EXPECT_EQ(fills[5].colour, f.grid.GetGridBkColor());
}

TEST(GridPaintTest, HiddenRowsAndColumnsTakeNoPixels)
{
    CGridFixture f;
    ShapeGrid(f.grid, 5, 4);
    f.grid.SetRowHeight(2, 0);
    f.grid.SetColumnWidth(2, 0);
    const CRecordingPainter painter = Paint(f.grid);
    EXPECT_EQ(painter.TextOp("2,1"), nullptr);
    EXPECT_EQ(painter.TextOp("1,2"), nullptr);
    EXPECT_EQ(painter.TextOp("3,3")->rect.top, 40);
    EXPECT_EQ(painter.TextOp("3,3")->rect.left, 100 + static_cast<int>(f.grid.GetDefaultCell(false, false)->GetMargin()));
    int horizontal = 0;
    for (const auto& op : painter.Kind("line"))
        horizontal += op.rect.top == op.rect.bottom && op.colour == f.grid.GetGridLineColor();
    EXPECT_EQ(horizontal, 3);
}

TEST(GridPaintTest, DrawingOffPaintsNothingAndAClipBoxLimitsTheCells)
{
    CGridFixture f;
    ShapeGrid(f.grid, 10, 5);
    f.grid.SetRedraw(false);
    EXPECT_TRUE(Paint(f.grid).ops.empty());
    f.grid.SetRedraw(true);

    CRecordingPainter painter;
    painter.clip = CGridRect{0, 60, 400, 80};
    f.grid.OnDraw(painter);
    EXPECT_NE(painter.TextOp("3,2"), nullptr);
    EXPECT_EQ(painter.TextOp("5,2"), nullptr);
    // The fixed cells are drawn whatever the clip box.
    EXPECT_NE(painter.TextOp("0,0"), nullptr);
}

TEST(GridPaintTest, VirtualPaintsAreBracketedByCacheHints)
{
    CGridFixture f;
    f.grid.SetVirtualMode(true);
    f.grid.SetRowCount(1000);
    f.grid.SetColumnCount(3);
    f.grid.SetFixedRowCount(1);
    f.port.displayInfo = [](GridItemInfo& info) { info.strText = std::to_string(info.row); };
    Paint(f.grid);
    ASSERT_EQ(f.port.cacheHints.size(), 2u);
    EXPECT_EQ(f.port.cacheHints[0].GetMinRow(), 1);
    EXPECT_GT(f.port.cacheHints[0].GetMaxRow(), 1);
    EXPECT_LT(f.port.cacheHints[0].GetMaxRow(), 100);
    EXPECT_EQ(f.port.cacheHints[1], CCellRange(-1, -1, -1, -1));
}

TEST(GridPaintTest, PrintedCellsShowNoFocusAndDarkenTextOnTwoColourPrinters)
{
    CGridFixture f;
    ShapeGrid(f.grid, 4, 3);
    f.grid.SetFocusCell(1, 1);
    f.grid.SetItemTextColour(1, 1, GridRgb(255, 0, 0));
    f.grid.SetItemBackColour(1, 2, f.grid.GetDefaultCell(false, false)->GetBackClr());
    struct TwoColours : CRecordingPainter {
        int ColourCount() const override { return 2; }
    } painter;
    f.grid.GetCell(1, 1)->PrintCell(painter, 1, 1, CGridRect{50, 20, 99, 39});
    f.grid.GetCell(1, 2)->PrintCell(painter, 1, 2, CGridRect{100, 20, 149, 39});
    EXPECT_TRUE(painter.Kind("frame").empty());
    EXPECT_TRUE(painter.Kind("fill").empty());
    EXPECT_EQ(painter.TextOp("1,1")->colour, GridRgb(76, 0, 0));
}
