#include "GridTestSupport.h"

#include "grid/GridCell.h"

#include <gtest/gtest.h>

namespace {

struct CEditGrid : CGridFixture {
    CEditGrid()
    {
        grid.SetRowCount(4);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 3; ++col)
                grid.SetItemText(row, col, std::to_string(row) + std::to_string(col));
        grid.SetModifiedFlag(false);
        port.notifications.clear();
    }
};

class CRefusingCell : public CGridCell {
public:
    bool ValidateEdit(const std::string& text) override { return text != "bad"; }
};

}  // namespace

TEST(GridEditTest, EndedEditSetsTheTextAndMarksTheCell)
{
    CEditGrid f;
    f.grid.BeginCellEdit(2, 1, 0);
    ASSERT_TRUE(f.port.editorOpen);
    EXPECT_TRUE(f.grid.IsItemEditing(2, 1));
    f.port.editorText = "new";
    f.grid.EndCellEdit();
    EXPECT_EQ(f.grid.GetItemText(2, 1), "new");
    EXPECT_TRUE(f.grid.GetModifiedFlag(2, 1));
    EXPECT_TRUE(f.grid.GetModifiedFlag());
    EXPECT_FALSE(f.grid.IsItemEditing(2, 1));
    const std::vector<CRecordingPort::Notification> expected = {{GridNotifyBeginEdit, 2, 1},
                                                                {GridNotifyEndEdit, 2, 1}};
    EXPECT_EQ(f.port.notifications, expected);
}

TEST(GridEditTest, UnchangedTextSendsNoEndOfEditButEndsTheEditor)
{
    CEditGrid f;
    f.grid.BeginCellEdit(2, 1, 0);
    f.grid.EndCellEdit();
    EXPECT_EQ(f.port.notifications.size(), 1u);
    EXPECT_FALSE(f.grid.IsItemEditing(2, 1));
    EXPECT_FALSE(f.grid.GetModifiedFlag());
}

TEST(GridEditTest, VetoesAndValidationKeepTheOldText)
{
    CEditGrid f;
    f.port.reply = [](int code, int, int) { return code == GridNotifyBeginEdit ? -1 : 0; };
    f.grid.BeginCellEdit(2, 1, 0);
    EXPECT_TRUE(f.port.editors.empty());

    f.port.reply = [](int code, int, int) { return code == GridNotifyEndEdit ? -1 : 0; };
    f.grid.BeginCellEdit(2, 1, 0);
    f.port.editorText = "vetoed";
    f.grid.EndCellEdit();
    EXPECT_EQ(f.grid.GetItemText(2, 1), "21");

    f.port.reply = nullptr;
    f.grid.SetCellType(3, 2, [] { return std::make_unique<CRefusingCell>(); });
    f.grid.BeginCellEdit(3, 2, 0);
    f.port.editorText = "bad";
    f.grid.EndCellEdit();
    EXPECT_EQ(f.grid.GetItemText(3, 2), "32");

    f.grid.SetItemState(1, 1, CELLSTATE_READONLY);
    f.grid.BeginCellEdit(1, 1, 0);
    f.grid.SetEditable(false);
    f.grid.BeginCellEdit(1, 2, 0);
    EXPECT_EQ(f.port.editors.size(), 2u);
}

// The editor of a cell must never write into whatever cell has its indices after the grid
// changed shape.
TEST(GridEditTest, ShapeChangesEndTheEditFirst)
{
    const std::vector<std::pair<const char*, std::function<void(CGridCtrl&)>>> changes = {
        {"delete row above", [](CGridCtrl& g) { g.DeleteRow(1); }},
        {"delete column", [](CGridCtrl& g) { g.DeleteColumn(1); }},
        {"insert row", [](CGridCtrl& g) { g.InsertRow("r", 1); }},
        {"row count", [](CGridCtrl& g) { g.SetRowCount(2); }},
        {"column count", [](CGridCtrl& g) { g.SetColumnCount(5); }},
        {"fixed rows", [](CGridCtrl& g) { g.SetFixedRowCount(2); }},
        {"sort", [](CGridCtrl& g) { g.SortByText(2, false); }},
        {"cell type", [](CGridCtrl& g) { g.SetCellType(2, 1, [] { return std::make_unique<CGridCell>(); }); }},
        {"delete all", [](CGridCtrl& g) { g.DeleteAllItems(); }},
    };
    for (const auto& [name, change] : changes) {
        CEditGrid f;
        f.grid.BeginCellEdit(2, 1, 0);
        f.port.editorText = "typed";
        change(f.grid);
        EXPECT_FALSE(f.port.editorOpen) << name;
        EXPECT_FALSE(f.grid.GetEditCell().IsValid()) << name;
        // The text went into its own cell before the change, and nowhere after it.
        EXPECT_EQ(f.port.endedEditors, 1) << name;
        f.grid.OnCellEditEnded(2, 1, "late");
        for (int row = 0; row < f.grid.GetRowCount(); ++row)
            for (int col = 0; col < f.grid.GetColumnCount(); ++col)
                EXPECT_NE(f.grid.GetItemText(row, col), "late") << name;
    }
}

TEST(GridEditTest, AnEditOfAnotherCellEndsTheOpenOne)
{
    CEditGrid f;
    f.grid.BeginCellEdit(1, 1, 0);
    f.port.editorText = "first";
    f.grid.BeginCellEdit(3, 2, 0);
    EXPECT_EQ(f.grid.GetItemText(1, 1), "first");
    EXPECT_TRUE(f.grid.GetEditCell() == CCellID(3, 2));
}

TEST(GridEditTest, ModifiedFlagsOfCellsAndGrid)
{
    CEditGrid f;
    f.grid.SetItemText(1, 1, "x");
    f.grid.SetItemText(2, 2, "y");
    EXPECT_TRUE(f.grid.GetModifiedFlag());
    EXPECT_TRUE(f.grid.GetModifiedFlag(1, 1));
    f.grid.SetModifiedFlag(false, 1, 1);
    EXPECT_FALSE(f.grid.GetModifiedFlag(1, 1));
    EXPECT_TRUE(f.grid.GetModifiedFlag());
    f.grid.SetModifiedFlag(false);
    EXPECT_FALSE(f.grid.GetModifiedFlag(2, 2));
    EXPECT_FALSE(f.grid.SetItemText(4, 0, "outside"));
    EXPECT_FALSE(f.grid.GetModifiedFlag());
    EXPECT_EQ(f.grid.FindNextCell(CCellID(), GVNI_MODIFIED | GVNI_ALL).row, -1);

    // Changing a cell of the sorted column takes the sort marker away.
    f.grid.SortByText(1, true);
    EXPECT_EQ(f.grid.GetSortColumn(), 1);
    f.grid.SetItemText(1, 2, "other column");
    EXPECT_EQ(f.grid.GetSortColumn(), 1);
    f.grid.SetItemText(1, 1, "sorted column");
    EXPECT_EQ(f.grid.GetSortColumn(), -1);
}

TEST(GridEditTest, GetItemTextOutsideTheGridIsEmpty)
{
    CEditGrid f;
    EXPECT_EQ(f.grid.GetItemText(-1, 0), "");
    EXPECT_EQ(f.grid.GetItemText(4, 0), "");
    EXPECT_EQ(f.grid.GetItemText(0, 3), "");
    EXPECT_EQ(f.grid.GetItemText(3, 2), "32");
}

TEST(GridEditTest, NextEditableCellRunsInReadingOrderAndStopsAtTheLast)
{
    CEditGrid f;
    f.grid.SetItemState(1, 2, CELLSTATE_READONLY);
    struct Case {
        CCellID start;
        bool byRow;
        bool advance;
        CCellID expected;
    };
    const Case cases[] = {
        {CCellID(1, 1), true, true, CCellID(2, 1)},
        {CCellID(1, 2), true, false, CCellID(2, 1)},
        {CCellID(1, 1), false, true, CCellID(2, 1)},
        // Down the columns: (1, 2) is read-only.
        {CCellID(3, 1), false, true, CCellID(2, 2)},
        {CCellID(3, 2), true, true, CCellID(3, 2)},
        {CCellID(3, 2), false, true, CCellID(3, 2)},
        {CCellID(-1, -1), true, false, CCellID(0, 1)},
    };
    for (const Case& c : cases) {
        CCellID cell = c.start;
        f.grid.FindNextEditableCell(cell, c.byRow, c.advance);
        EXPECT_TRUE(cell == c.expected) << c.start.row << "," << c.start.col << " -> " << cell.row << "," << cell.col;
    }

    f.grid.SetEditable(false);
    CCellID cell(1, 1);
    f.grid.FindNextEditableCell(cell, true, true);
    EXPECT_TRUE(cell == CCellID(3, 2));
}
