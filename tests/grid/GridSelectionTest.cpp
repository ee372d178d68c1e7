#include "GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A grid of 5 rows and 4 columns with one fixed row and column; data texts "r,c".
struct CFilledGrid : CGridFixture {
    CFilledGrid()
    {
        grid.SetRowCount(5);
        grid.SetColumnCount(4);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 4; ++col)
                grid.SetItemText(row, col, std::to_string(row) + "," + std::to_string(col));
    }
};

}  // namespace

TEST(GridSelectionTest, FocusCellSkipsTheFixedArea)
{
    CFilledGrid f;
    EXPECT_FALSE(f.grid.SetFocusCell(0, 2).IsValid());
    EXPECT_TRUE(f.grid.GetFocusCell() == CCellID(1, 2));
    EXPECT_TRUE(f.grid.GetItemState(1, 2) & CELLSTATE_FOCUSED);
    EXPECT_TRUE(f.grid.SetFocusCell(3, 3) == CCellID(1, 2));
    EXPECT_FALSE(f.grid.GetItemState(1, 2) & CELLSTATE_FOCUSED);
    f.grid.SetFocusCell(9, 1);
    EXPECT_FALSE(f.grid.GetFocusCell().IsValid());
}

TEST(GridSelectionTest, SelectedRangeCoversTheSelectedCells)
{
    CFilledGrid f;
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(5, 4, -1, -1));
    f.grid.SetItemState(2, 1, CELLSTATE_SELECTED);
    f.grid.SetItemState(4, 0, CELLSTATE_SELECTED | 0x50);
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(2, 0, 4, 1));

    // A range reaching into the fixed area starts after it.
    f.grid.SetSelectedRange(0, 0, 2, 2);
    EXPECT_EQ(f.grid.GetSelectedCount(), 4);
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 1, 2, 2));
    f.grid.SelectAllCells();
    EXPECT_EQ(f.grid.GetSelectedCount(), 12);
    f.grid.SetFocusCell(2, 2);
    f.grid.ClearSelection();
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
    EXPECT_FALSE(f.grid.GetFocusCell().IsValid());
}

TEST(GridSelectionTest, RowsColumnsAndCellsFromTheAnchor)
{
    CFilledGrid f;
    f.grid.SetSelectionStart(CCellID(2, 2));
    f.grid.SelectRows(CCellID(3, 1));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(2, 1, 3, 3));
    f.grid.SelectColumns(CCellID(4, 3));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 2, 4, 3));
    f.grid.SelectCells(CCellID(1, 1));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 1, 2, 2));
    f.grid.SelectCells(CCellID(0, 1));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 1, 2, 2));

    f.grid.SetSingleRowSelection(true);
    f.grid.SelectRows(CCellID(4, 1));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(2, 1, 4, 3));
    f.grid.SetListMode(true);
    f.grid.SetSelectionStart(CCellID(2, 2));
    f.grid.SelectRows(CCellID(4, 1));
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(4, 1, 4, 3));

    f.grid.EnableSelection(false);
    f.grid.SetMouseMode(CGridCtrl::MouseSelectAll);
    f.grid.OnSelecting(CCellID(1, 1));
    f.grid.EnableSelection(true);
    EXPECT_EQ(f.grid.GetSelectedCount(), 3);
    f.grid.OnSelecting(CCellID(1, 1));
    EXPECT_EQ(f.grid.GetSelectedCount(), 12);
}

TEST(GridSelectionTest, CtrlDragKeepsTheEarlierSelection)
{
    CFilledGrid f;
    f.grid.SetSelectedRange(1, 1, 1, 1);
    f.grid.KeepSelectionForDrag();
    f.grid.SetSelectedRange(3, 3, 4, 3);
    EXPECT_EQ(f.grid.GetSelectedCount(), 3);
    EXPECT_TRUE(f.grid.IsCellInSelection(1, 1));
}

TEST(GridSelectionTest, CopyJoinsSelectedTextsByTabsAndLines)
{
    CFilledGrid f;
    f.grid.SetSelectedRange(1, 1, 2, 3);
    std::string text;
    ASSERT_TRUE(f.grid.CopyTextFromGrid(text));
    EXPECT_EQ(text, "1,1\t1,2\t1,3\n2,1\t2,2\t2,3");

    // An unselected cell in the range gives an empty field, hidden rows and columns none.
    f.grid.SetItemState(1, 2, 0);
    f.grid.SetColumnWidth(3, 0);
    f.grid.SetSelectedRange(1, 1, 3, 1, false, true);
    f.grid.SetItemState(1, 2, 0);
    f.grid.SetItemState(2, 2, CELLSTATE_SELECTED);
    f.grid.SetRowHeight(3, 0);
    ASSERT_TRUE(f.grid.CopyTextFromGrid(text));
    EXPECT_EQ(text, "1,1\t\n2,1\t2,2\n");

    f.grid.ClearSelection();
    EXPECT_FALSE(f.grid.CopyTextFromGrid(text));
    EXPECT_EQ(text, "");
}

TEST(GridSelectionTest, PasteFillsTrimsSkipsAndDrops)
{
    CFilledGrid f;
    f.grid.SetItemState(2, 2, CELLSTATE_READONLY);
    EXPECT_TRUE(f.grid.PasteTextToGrid(CCellID(1, 1), " a \tb\tc\td\r\ne\tf\n\ng\nh\ni\nj\n"));
    EXPECT_EQ(RowTexts(f.grid, 1), "1,0|a|b|c");
    // The read-only cell keeps its text; the empty line empties a cell.
    EXPECT_EQ(RowTexts(f.grid, 2), "2,0|e|2,2|2,3");
    EXPECT_EQ(RowTexts(f.grid, 3), "3,0||3,2|3,3");
    EXPECT_EQ(RowTexts(f.grid, 4), "4,0|g|4,2|4,3");
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 1, 4, 3));
    EXPECT_TRUE(f.grid.GetModifiedFlag(1, 1));

    // Commas belong to the texts.
    f.grid.PasteTextToGrid(CCellID(1, 1), "1,5\t2,5", false);
    EXPECT_EQ(f.grid.GetItemText(1, 1), "1,5");
    EXPECT_EQ(f.grid.GetItemText(1, 2), "2,5");
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);

    EXPECT_FALSE(f.grid.PasteTextToGrid(CCellID(2, 2), "x"));
    EXPECT_FALSE(f.grid.PasteTextToGrid(CCellID(5, 1), "x"));
}

TEST(GridSelectionTest, PasteBelowHiddenLastRowsEndsInsteadOfRunningOn)
{
    CFilledGrid f;
    f.grid.SetRowHeight(3, 0);
    f.grid.SetRowHeight(4, 0);
    f.grid.SetColumnWidth(3, 0);
    EXPECT_TRUE(f.grid.PasteTextToGrid(CCellID(2, 2), "a\tb\tc\nd\ne"));
    EXPECT_EQ(RowTexts(f.grid, 2), "2,0|2,1|a|2,3");
    EXPECT_EQ(RowTexts(f.grid, 3), "3,0|3,1|3,2|3,3");
    EXPECT_EQ(RowTexts(f.grid, 4), "4,0|4,1|4,2|4,3");
}

TEST(GridSelectionTest, UserTextsPassTheBeginAndEndEditHandshake)
{
    CFilledGrid f;
    f.port.reply = [](int code, int row, int) { return (code == GridNotifyBeginEdit && row == 1) ? -1 : 0; };
    EXPECT_EQ(f.grid.SetCellTextByUser(1, 1, "x"), -1);
    EXPECT_EQ(f.grid.GetItemText(1, 1), "1,1");

    f.port.reply = [](int code, int row, int) { return (code == GridNotifyEndEdit && row == 2) ? -1 : 0; };
    f.grid.SetModifiedFlag(false);
    f.grid.SetCellTextByUser(2, 1, "y");
    EXPECT_EQ(f.grid.GetItemText(2, 1), "2,1");
    // A refused text leaves nothing marked modified.
    EXPECT_FALSE(f.grid.GetModifiedFlag(2, 1));
    EXPECT_FALSE(f.grid.GetModifiedFlag());
    f.grid.SetCellTextByUser(3, 1, "z");
    EXPECT_EQ(f.grid.GetItemText(3, 1), "z");
    EXPECT_TRUE(f.grid.GetModifiedFlag(3, 1));

    // The same text sends no end of edit.
    f.port.notifications.clear();
    f.grid.SetCellTextByUser(3, 1, "z");
    EXPECT_EQ(f.port.notifications.size(), 1u);
}

TEST(GridSelectionTest, CutEmptiesTheSelectionOnlyWhenEditable)
{
    CFilledGrid f;
    f.grid.SetSelectedRange(1, 1, 1, 2);
    f.grid.SetEditable(false);
    f.grid.CutSelectedText();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "1,1");
    f.grid.SetEditable(true);
    f.grid.CutSelectedText();
    EXPECT_EQ(RowTexts(f.grid, 1), "1,0|||1,3");
    f.grid.ClearCells(CCellRange(2, 1, 3, 1));
    EXPECT_EQ(f.grid.GetItemText(3, 1), "");
}

TEST(GridSelectionTest, PasteTargetFallsBackFromSelectionToFocusToTopLeft)
{
    CFilledGrid f;
    EXPECT_TRUE(f.grid.GetPasteTarget() == CCellID(1, 1));
    f.grid.SetFocusCell(3, 2);
    EXPECT_TRUE(f.grid.GetPasteTarget() == CCellID(3, 2));
    f.grid.SetSelectedRange(2, 3, 4, 3);
    EXPECT_TRUE(f.grid.GetPasteTarget() == CCellID(2, 3));
}

TEST(GridSelectionTest, SelectAllCommandTellsTheOwnerBeforeAndAfter)
{
    CFilledGrid f;
    f.grid.SetFocusCell(2, 2);
    f.grid.OnEditSelectAll();
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 1, 4, 3));
    using N = CRecordingPort::Notification;
    // The press cell (none yet) before, the focus cell after.
    const std::vector<N> expected = {{GridNotifySelChanging, -1, -1}, {GridNotifySelChanged, 2, 2}};
    EXPECT_EQ(f.port.notifications, expected);
}

TEST(GridSelectionTest, EditCommandsAreEnabledOnlyWhereTheyCanDoSomething)
{
    struct Case {
        const char* name;
        bool select;
        bool editable;
        bool readOnlyFocus;
        bool selection;
        std::string clipboard;
        bool copy, cut, paste, selectAll;
    };
    const Case cases[] = {
        {"nothing selected, empty clipboard", false, true, false, true, "", false, false, false, true},
        {"a selection and text on the clipboard", true, true, false, true, "x", true, true, true, true},
        {"a grid that cannot be edited", true, false, false, true, "x", true, false, false, true},
        {"a read-only focus cell", true, true, true, true, "x", true, true, false, true},
        {"selection switched off", false, true, false, false, "x", false, false, true, false},
    };
    for (const Case& c : cases) {
        CFilledGrid f;
        f.grid.SetFocusCell(2, 2);
        if (c.select)
            f.grid.SetSelectedRange(1, 1, 2, 2);
        f.grid.SetEditable(c.editable);
        if (c.readOnlyFocus)
            f.grid.SetItemState(2, 2, f.grid.GetItemState(2, 2) | CELLSTATE_READONLY);
        f.grid.EnableSelection(c.selection);
        f.port.clipboard = c.clipboard;
        EXPECT_EQ(f.grid.CanEditCopy(), c.copy) << c.name;
        EXPECT_EQ(f.grid.CanEditCut(), c.cut) << c.name;
        EXPECT_EQ(f.grid.CanEditPaste(), c.paste) << c.name;
        EXPECT_EQ(f.grid.CanEditSelectAll(), c.selectAll) << c.name;
    }
    // No focus cell: nowhere to paste.
    CFilledGrid f;
    f.port.clipboard = "x";
    EXPECT_FALSE(f.grid.CanEditPaste());
}

TEST(GridSelectionTest, PasteWhileEditingGoesIntoTheEditor)
{
    CFilledGrid f;
    f.port.clipboard = "pasted";
    f.grid.SetFocusCell(2, 2);
    f.grid.BeginCellEdit(2, 2, 'a');
    ASSERT_TRUE(f.port.editorOpen);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.port.editorPastes, 1);
    EXPECT_EQ(f.grid.GetItemText(2, 2), "2,2");
    EXPECT_TRUE(f.port.editorOpen);

    // Not editing: into the cells.
    f.grid.EndCellEdit();
    f.grid.OnEditPaste();
    EXPECT_EQ(f.port.editorPastes, 1);
    EXPECT_EQ(f.grid.GetItemText(2, 2), "pasted");

    // A grid that cannot be edited takes nothing.
    f.grid.SetEditable(false);
    f.port.clipboard = "again";
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(2, 2), "pasted");
}
