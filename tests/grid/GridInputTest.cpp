#include "GridTestSupport.h"

#include "grid/GridCell.h"

#include <gtest/gtest.h>

namespace {

// rows x cols of 20 x 50 pixels under one fixed row and column, in a 400 x 300 window.
void ShapeGrid(CGridCtrl& grid, int rows, int cols)
{
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < rows; ++row)
        grid.SetRowHeight(row, 20);
    for (int col = 0; col < cols; ++col)
        grid.SetColumnWidth(col, 50);
    grid.UpdateScrollBars();
}

void MakeReadOnly(CGridCtrl& grid)
{
    for (int row = 0; row < grid.GetRowCount(); ++row)
        for (int col = 0; col < grid.GetColumnCount(); ++col)
            grid.SetItemState(row, col, grid.GetItemState(row, col) | CELLSTATE_READONLY);
}

struct KeyCase {
    const char* name;
    bool readOnly;
    CCellID from;
    int key;
    bool shift;
    bool ctrl;
    CCellID to;
};

}  // namespace

TEST(GridInputTest, KeysMoveTheFocusCell)
{
    const KeyCase cases[] = {
        {"arrow down in a read-only grid", true, CCellID(2, 2), GridKeyDown, false, false, CCellID(3, 2)},
        {"arrow right in a read-only grid", true, CCellID(2, 2), GridKeyRight, false, false, CCellID(2, 3)},
        {"arrow up in a read-only grid", true, CCellID(2, 2), GridKeyUp, false, false, CCellID(1, 2)},
        {"arrow left stops at the fixed column", true, CCellID(2, 1), GridKeyLeft, false, false, CCellID(2, 1)},
        {"tab goes down the column", false, CCellID(2, 2), GridKeyTab, false, false, CCellID(3, 2)},
        {"tab at the bottom continues in the next column", false, CCellID(5, 2), GridKeyTab, false, false, CCellID(1, 3)},
        {"shift tab goes left", false, CCellID(2, 2), GridKeyTab, true, false, CCellID(2, 1)},
        {"shift tab wraps to the row above", false, CCellID(3, 1), GridKeyTab, true, false, CCellID(2, 4)},
        {"shift tab in the first cell stays", false, CCellID(1, 1), GridKeyTab, true, false, CCellID(1, 1)},
        {"down at the bottom of a read-only grid stays", true, CCellID(5, 4), GridKeyDown, false, false, CCellID(5, 4)},
        {"ctrl end goes to the last cell", true, CCellID(1, 1), GridKeyEnd, false, true, CCellID(5, 4)},
        {"home goes to the first column", true, CCellID(3, 3), GridKeyHome, false, false, CCellID(3, 1)},
        {"page down at the bottom goes to the last row", true, CCellID(2, 2), GridKeyPageDown, false, false, CCellID(5, 2)},
    };
    for (const KeyCase& c : cases) {
        CGridFixture f;
        ShapeGrid(f.grid, 6, 5);
        if (c.readOnly)
            MakeReadOnly(f.grid);
        f.grid.SetFocusCell(c.from);
        f.grid.OnKeyDown(c.key, c.shift, c.ctrl);
        EXPECT_EQ(f.grid.GetFocusCell(), c.to) << c.name;
    }
}

TEST(GridInputTest, RightOntoAReadOnlyCellMovesOnToTheNextEditableOne)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetItemState(2, 3, CELLSTATE_READONLY);
    f.grid.SetFocusCell(2, 2);
    f.grid.OnKeyDown(GridKeyRight, false, false);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 4));
}

TEST(GridInputTest, EndSkipsHiddenColumnsAndNeverLandsOnOne)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetColumnWidth(3, 0);
    f.grid.SetColumnWidth(4, 0);
    f.grid.SetFocusCell(2, 1);
    f.grid.OnKeyDown(GridKeyEnd, false, false);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
    // Only the first non-fixed column left: it is the end.
    f.grid.SetColumnWidth(2, 0);
    f.grid.OnKeyDown(GridKeyEnd, false, false);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 1));
}

TEST(GridInputTest, PageDownScrollsAPageAndMovesTheFocusAsFar)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3);
    f.grid.SetFocusCell(1, 1);
    f.grid.OnKeyDown(GridKeyPageDown, false, false);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 300 - 20);
    EXPECT_EQ(f.grid.GetFocusCell().row, 1 + 14);
}

TEST(GridInputTest, ClipboardKeysCopyAndPasteTabSeparatedText)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetItemText(1, 1, "a");
    f.grid.SetItemText(1, 2, "b");
    f.grid.SetFocusCell(1, 1);
    f.grid.SetSelectedRange(1, 1, 1, 2);
    f.grid.OnKeyDown('C', false, true);
    EXPECT_EQ(f.port.clipboard, "a\tb");

    f.grid.SetFocusCell(3, 2);
    f.grid.SetSelectedRange(3, 2, 3, 2);
    f.grid.OnKeyDown('V', false, true);
    EXPECT_EQ(f.grid.GetItemText(3, 2), "a");
    EXPECT_EQ(f.grid.GetItemText(3, 3), "b");
}

TEST(GridInputTest, WheelTurnsScrollWholeLinesAndCarryTheRest)
{
    struct Case {
        int rowsPerNotch;
        std::vector<int> deltas;
        int lines;  // positive: down
    };
    const Case cases[] = {
        {3, {-240}, 6}, {3, {119}, -2}, {1, {119}, 0},
        // Touchpad fractions add up to a line.
        {1, {60, 60}, -1}, {3, {-20, -20}, 1},
        // A turn the other way forgets what was left over.
        {1, {100, -100}, 0},
        // Page mode.
        {-1, {-120}, 14},
    };
    for (const Case& c : cases) {
        CGridFixture f;
        ShapeGrid(f.grid, 200, 3);
        f.grid.SetRowsPerWheelNotch(c.rowsPerNotch);
        const int start = 100 * 20;
        f.grid.SetScrollPosition(SB_VERT, start);
        for (int delta : c.deltas)
            f.grid.OnMouseWheel(delta);
        EXPECT_EQ((f.grid.GetScrollPosition(SB_VERT) - start) / 20, c.lines)
            << c.rowsPerNotch << " rows, first delta " << c.deltas[0];
    }
}

TEST(GridInputTest, LineScrollsStopAtTheEnds)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3);
    f.grid.OnScroll(SB_VERT, SB_LINEUP);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), 0);
    f.grid.OnScroll(SB_VERT, SB_BOTTOM);
    const int max = f.grid.GetScrollMax(SB_VERT);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), max);
    f.grid.OnScroll(SB_VERT, SB_LINEDOWN);
    f.grid.OnScroll(SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(f.grid.GetScrollPosition(SB_VERT), max);
}

TEST(GridInputTest, DraggingAColumnDividerSetsTheWidth)
{
    struct Case {
        bool unhide;
        int releaseX;
        int width;
    };
    // Column 2 starts at x 100; its right divider is at 149.
    for (const Case& c : {Case{true, 180, 80}, Case{true, 90, 0}, Case{false, 90, 1}, Case{true, 149, 50}}) {
        CGridFixture f;
        ShapeGrid(f.grid, 6, 5);
        f.grid.SetHiddenColumnUnhide(c.unhide);
        f.grid.OnMouseMove({149, 10}, false);
        ASSERT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseOverColumnDivider);
        f.grid.OnLButtonDown({149, 10}, false, false);
        EXPECT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseSizingColumn);
        f.grid.OnMouseMove({c.releaseX, 10}, true);
        f.grid.OnLButtonUp({c.releaseX, 10});
        EXPECT_EQ(f.grid.GetColumnWidth(2), c.width) << c.releaseX;
        EXPECT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseIdle);
    }
}

TEST(GridInputTest, ReleaseWhileSizingAlwaysEndsTheDrag)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.OnMouseMove({149, 10}, false);
    f.grid.OnLButtonDown({149, 10}, false, false);
    // The column disappears under the drag: there is no origin to measure from.
    f.grid.SetColumnCount(1);
    f.grid.OnLButtonUp({180, 10});
    EXPECT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseIdle);
    EXPECT_FALSE(f.grid.IsLeftButtonDown());
}

TEST(GridInputTest, DoubleClickOnADividerAutoSizesTheColumnLeftOfIt)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetItemText(3, 2, "a rather long text");
    f.grid.OnMouseMove({150, 10}, false);
    ASSERT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseOverColumnDivider);
    f.grid.OnLButtonDblClk({150, 10});
    EXPECT_GT(f.grid.GetColumnWidth(2), 18 * CFixedTextMeasurer::kCharWidth);
    EXPECT_EQ(f.grid.GetColumnWidth(3), 50);
}

TEST(GridInputTest, HeaderClicksSortOnlyWhenEnabled)
{
    for (bool enabled : {false, true}) {
        CGridFixture f;
        ShapeGrid(f.grid, 4, 3);
        f.grid.SetItemText(1, 1, "b");
        f.grid.SetItemText(2, 1, "c");
        f.grid.SetItemText(3, 1, "a");
        f.grid.SetHeaderSort(enabled);
        f.grid.OnLButtonDown({60, 5}, false, false);
        f.grid.OnLButtonUp({60, 5});
        EXPECT_EQ(f.grid.GetItemText(1, 1), enabled ? "a" : "b");
        if (!enabled)
            continue;
        // The second click sorts the other way.
        f.grid.OnLButtonDown({60, 5}, false, false);
        f.grid.OnLButtonUp({60, 5});
        EXPECT_EQ(f.grid.GetItemText(1, 1), "c");
    }
}

TEST(GridInputTest, ClickSelectsAndASecondClickOnTheTextEdits)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.OnLButtonDown({120, 50}, false, false);
    f.grid.OnLButtonUp({120, 50});
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(f.port.editors.empty());
    f.grid.OnLButtonDown({120, 50}, false, false);
    f.grid.OnLButtonUp({120, 50});
    ASSERT_EQ(f.port.editors.size(), 1u);
    EXPECT_EQ(f.port.editors[0].row, 2);
    EXPECT_EQ(f.port.editors[0].firstChar, static_cast<unsigned>(GridKeyLButton));
}

TEST(GridInputTest, AnEditEndedWithDownMovesOnAndEditsThere)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetFocusCell(2, 2);
    f.grid.OnChar('7', false);
    ASSERT_EQ(f.port.editors.size(), 1u);
    EXPECT_EQ(f.port.editors[0].firstChar, static_cast<unsigned>('7'));
    f.port.editorOpen = false;
    f.grid.OnEditorEnded(2, 2, "7", GridKeyDown);
    EXPECT_EQ(f.grid.GetItemText(2, 2), "7");
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(3, 2));
    ASSERT_EQ(f.port.editors.size(), 2u);
    EXPECT_EQ(f.port.editors[1].row, 3);
    int ends = 0;
    for (const auto& n : f.port.notifications)
        ends += n.code == GridNotifyEndEdit;
    EXPECT_EQ(ends, 1);
}

TEST(GridInputTest, TitleTipOnlyForClippedTexts)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetItemText(2, 2, "a text far too long for fifty pixels");
    f.grid.SetItemText(2, 3, "fits");
    f.grid.OnMouseMove({160, 50}, false);
    EXPECT_TRUE(f.port.tipText.empty());
    f.grid.OnMouseMove({120, 50}, false);
    EXPECT_EQ(f.port.tipText, "a text far too long for fifty pixels");
    EXPECT_EQ(f.port.tipRect.top, 40);
    f.grid.OnMouseMove({160, 50}, false);
    EXPECT_TRUE(f.port.tipText.empty());
}

TEST(GridInputTest, ScrollBarsCatchUpWhenDrawingResumes)
{
    CGridFixture f;
    ShapeGrid(f.grid, 5, 3);
    EXPECT_FALSE(f.port.barShown[SB_VERT]);
    f.grid.SetRedraw(false);
    f.grid.SetRowCount(200);
    EXPECT_FALSE(f.port.barShown[SB_VERT]);
    f.grid.SetRedraw(true);
    EXPECT_TRUE(f.port.barShown[SB_VERT]);
    EXPECT_GT(f.port.rangeMax[SB_VERT], 0);
}

TEST(GridInputTest, BarsHiddenByAFullFixedAreaComeBack)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3);
    EXPECT_TRUE(f.port.barShown[SB_VERT]);
    f.grid.SetFixedRowCount(20);
    f.grid.UpdateScrollBars();
    EXPECT_FALSE(f.port.barShown[SB_VERT]);
    f.grid.SetFixedRowCount(1);
    f.grid.UpdateScrollBars();
    EXPECT_TRUE(f.port.barShown[SB_VERT]);
}

TEST(GridInputTest, DraggingPastTheBottomScrollsAndExtendsTheSelection)
{
    CGridFixture f;
    ShapeGrid(f.grid, 100, 3);
    f.grid.OnLButtonDown({60, 30}, false, false);
    ASSERT_EQ(f.grid.GetFocusCell(), CCellID(1, 1));
    // The window is 300 high: the cursor lies below it.
    for (int tick = 0; tick < 20; ++tick)
        f.grid.OnAutoScrollTimer({60, 350});
    EXPECT_GT(f.grid.GetScrollPosition(SB_VERT), 0);
    const CCellRange selected = f.grid.GetSelectedCellRange();
    EXPECT_EQ(selected.GetMinRow(), 1);
    EXPECT_GE(selected.GetMaxRow(), 15);
    f.grid.OnLButtonUp({60, 350});
    EXPECT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseIdle);
}

TEST(GridInputTest, AHiddenLastColumnIsDraggedVisibleFromTheCellsEdge)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    // Column 3 ends at 199; column 4 is hidden there.
    f.grid.SetColumnWidth(4, 0);
    f.grid.OnMouseMove({199, 10}, false);
    ASSERT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseOverColumnDivider);
    f.grid.OnLButtonDown({199, 10}, false, false);
    f.grid.OnMouseMove({240, 10}, true);
    f.grid.OnLButtonUp({240, 10});
    EXPECT_EQ(f.grid.GetColumnWidth(4), 40);
    EXPECT_EQ(f.grid.GetColumnWidth(3), 50);
}

TEST(GridInputTest, HiddenRowsAndColumnsAreSizedOnlyWhereAllowed)
{
    struct Case {
        bool columns;
        bool allowHidden;
        int sizedIndex;  // the one the drag sized
        int size;
    };
    // Column (row) 2 is hidden; the press lands just after its divider, in column (row) 3. The
    // release is 30 pixels further on than column (row) 2 would start.
    const Case cases[] = {
        {true, true, 2, 30}, {true, false, 1, 80}, {false, true, 2, 30}, {false, false, 1, 50},
    };
    for (const Case& c : cases) {
        CGridFixture f;
        ShapeGrid(f.grid, 6, 5);
        if (c.columns) {
            f.grid.SetColumnWidth(2, 0);
            f.grid.SetHiddenColumnResize(c.allowHidden);
        } else {
            f.grid.SetRowHeight(2, 0);
            f.grid.SetHiddenRowResize(c.allowHidden);
        }
        const CGridPoint press = c.columns ? CGridPoint{101, 10} : CGridPoint{10, 41};
        const CGridPoint release = c.columns ? CGridPoint{130, 10} : CGridPoint{10, 70};
        f.grid.OnMouseMove(press, false);
        f.grid.OnLButtonDown(press, false, false);
        f.grid.OnMouseMove(release, true);
        f.grid.OnLButtonUp(release);
        const std::string name = std::string(c.columns ? "columns" : "rows") + (c.allowHidden ? ", allowed" : "");
        if (c.columns) {
            EXPECT_EQ(f.grid.GetColumnWidth(c.sizedIndex), c.size) << name;
            EXPECT_EQ(f.grid.GetColumnWidth(2), c.allowHidden ? c.size : 0) << name;
        } else {
            EXPECT_EQ(f.grid.GetRowHeight(c.sizedIndex), c.size) << name;
            EXPECT_EQ(f.grid.GetRowHeight(2), c.allowHidden ? c.size : 0) << name;
        }
    }
}

TEST(GridInputTest, APressWithoutAMoveBeforeItStillFindsTheDivider)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.OnLButtonDown({149, 10}, false, false);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridCtrl::MouseSizingColumn);
    f.grid.OnLButtonUp({180, 10});
    EXPECT_EQ(f.grid.GetColumnWidth(2), 80);
}

TEST(GridInputTest, DraggingAlongTheHeadersMovesTheFocusWithTheSelection)
{
    struct Case {
        CGridPoint press;
        CGridPoint drag;
        CCellRange selected;
        CCellID focus;
    };
    const Case cases[] = {
        // Column headers: columns 2 and 3, focus in the first row of column 3.
        {{120, 10}, {170, 10}, CCellRange(1, 2, 5, 3), CCellID(1, 3)},
        // Row headers: rows 2 and 3, focus in the first column of row 3.
        {{10, 50}, {10, 70}, CCellRange(2, 1, 3, 4), CCellID(3, 1)},
    };
    for (const Case& c : cases) {
        CGridFixture f;
        ShapeGrid(f.grid, 6, 5);
        f.grid.OnMouseMove(c.press, false);
        f.grid.OnLButtonDown(c.press, false, false);
        f.grid.OnMouseMove(c.drag, true);
        EXPECT_EQ(f.grid.GetSelectedCellRange(), c.selected);
        EXPECT_EQ(f.grid.GetFocusCell(), c.focus);
        f.grid.OnLButtonUp(c.drag);
    }
}

TEST(GridInputTest, TitleTipShowsTheTextInTheCellsOwnFont)
{
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetItemText(2, 2, "a text far too long for fifty pixels");
    CGridFont font;
    font.face = "Serif";
    font.weight = 700;
    f.grid.SetItemFont(2, 2, &font);
    f.grid.OnMouseMove({120, 50}, false);
    ASSERT_FALSE(f.port.tipText.empty());
    EXPECT_EQ(f.port.tipFont, font);
}

TEST(GridInputTest, PointerShapeComesFromTheDividerOrTheCellUnderIt)
{
    // A cell that wants a hand over it.
    struct CLinkCell : CGridCell {
        bool OnSetCursor(GridCursor& cursor) const override
        {
            cursor = GridCursorHand;
            return true;
        }
    };
    CGridFixture f;
    ShapeGrid(f.grid, 6, 5);
    f.grid.SetCellType(2, 2, [] { return std::make_unique<CLinkCell>(); });
    struct Case {
        CGridPoint point;
        GridCursor cursor;
    };
    for (const Case& c : {Case{{120, 50}, GridCursorHand}, Case{{170, 50}, GridCursorArrow},
                          Case{{149, 10}, GridCursorSizeWE}, Case{{10, 39}, GridCursorSizeNS}}) {
        f.grid.OnMouseMove(c.point, false);
        EXPECT_EQ(f.grid.GetCursorAt(c.point), c.cursor) << c.point.x << "," << c.point.y;
    }
    // In virtual mode the cells come and go with every lookup: the arrow.
    f.grid.SetVirtualMode(true);
    f.grid.OnMouseMove({120, 50}, false);
    EXPECT_EQ(f.grid.GetCursorAt({120, 50}), GridCursorArrow);
}
