#include "GridTestSupport.h"

#include "grid/GridCell.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class CTaggedCell : public CGridCell {};

// The shape every operation must leave behind.
void ExpectShapeInvariants(const CGridCtrl& grid, const std::string& context)
{
    ASSERT_LE(grid.GetFixedRowCount(), grid.GetRowCount()) << context;
    ASSERT_LE(grid.GetFixedColumnCount(), grid.GetColumnCount()) << context;
    ASSERT_EQ(grid.GetRowHeight(grid.GetRowCount()), -1) << context;
    ASSERT_EQ(grid.GetColumnWidth(grid.GetColumnCount()), -1) << context;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        ASSERT_GE(grid.GetRowHeight(row), 0) << context;
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            const CGridCellBase* cell = grid.GetCell(row, col);
            ASSERT_NE(cell, nullptr) << context << " at " << row << "," << col;
            std::uint32_t fixedBits = 0;
            if (row < grid.GetFixedRowCount())
                fixedBits |= 0x30u;
            if (col < grid.GetFixedColumnCount())
                fixedBits |= 0x50u;
            ASSERT_EQ(cell->GetState() & 0x70u, fixedBits) << context << " at " << row << "," << col;
        }
    }
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        ASSERT_GE(grid.GetColumnWidth(col), 1) << context;
    const CCellID focus = grid.GetFocusCell();
    ASSERT_TRUE(!focus.IsValid() || grid.IsValid(focus)) << context;
    ASSERT_TRUE(grid.GetSelectedCount() == 0 || grid.IsValid(grid.GetSelectedCellRange())) << context;
}

}  // namespace

TEST(GridShapeTest, ConstructorBuildsCellsWithFixedStateBits)
{
    CGridCtrl grid(4, 3, 1, 1);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetItemState(0, 0), 0x70u);
    EXPECT_EQ(grid.GetItemState(0, 2), 0x30u);
    EXPECT_EQ(grid.GetItemState(2, 0), 0x50u);
    EXPECT_EQ(grid.GetItemState(2, 2), 0u);
    // A new grid is unmodified, whatever its construction did.
    EXPECT_FALSE(grid.GetModifiedFlag());
    ExpectShapeInvariants(grid, "constructed");

    CGridCtrl empty;
    EXPECT_EQ(empty.GetRowCount(), 0);
    EXPECT_EQ(empty.GetTotalWidth(), 0);
}

TEST(GridShapeTest, FixedCountsGrowTheGridAndKeepColumnHeadersFixed)
{
    CGridCtrl grid(1, 3);
    EXPECT_TRUE(grid.SetFixedRowCount(3));
    EXPECT_EQ(grid.GetRowCount(), 3);
    grid.SetFixedColumnCount(1);
    grid.SetItemBackColour(1, 2, GridRgb(1, 1, 1));
    grid.SetFixedRowCount(1);
    // Fixed columns in rows that stop being fixed stay fixed as row headers.
    EXPECT_EQ(grid.GetItemState(1, 0), 0x50u);
    EXPECT_EQ(grid.GetItemState(1, 2), 0u);
    EXPECT_EQ(grid.GetItemBackColour(1, 2), kGridDefaultColour);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    EXPECT_EQ(grid.GetCell(0, 0), nullptr);
}

TEST(GridShapeTest, FillingTheClientAreaStretchesDefaultCellsOverItExactly)
{
    // Default cells of 98 x 24 in the 400 x 300 window: 5 columns and 13 rows, one of each
    // fixed, stretched to the window's size, fixed ones too.
    CGridFixture f;
    f.grid.FillClientArea();
    EXPECT_EQ(f.grid.GetColumnCount(), 5);
    EXPECT_EQ(f.grid.GetRowCount(), 13);
    EXPECT_EQ(f.grid.GetFixedRowCount(), 1);
    EXPECT_EQ(f.grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(f.grid.GetTotalWidth(), 400);
    EXPECT_EQ(f.grid.GetTotalHeight(), 300);
    EXPECT_EQ(f.grid.GetColumnWidth(0), 80);
    ExpectShapeInvariants(f.grid, "filled");

    // Without a window there is no area to fill.
    CGridCtrl alone(2, 2);
    alone.FillClientArea();
    EXPECT_EQ(alone.GetRowCount(), 2);
    EXPECT_EQ(alone.GetColumnCount(), 2);
    EXPECT_EQ(alone.GetFixedRowCount(), 0);
}

TEST(GridShapeTest, InsertionPositionsAndSizes)
{
    CGridFixture f;
    CGridCtrl& grid = f.grid;
    // A column into an empty grid brings its first row.
    EXPECT_EQ(grid.InsertColumn("Name"), 0);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), "Name");
    // The heading's extent: 4 characters plus four margins.
    EXPECT_EQ(grid.GetColumnWidth(0), 28 + 4 * 7);
    EXPECT_EQ(grid.InsertColumn("Value", DT_RIGHT, 1), 1);
    EXPECT_EQ(grid.GetItemFormat(0, 1), static_cast<std::uint32_t>(DT_RIGHT));
    EXPECT_EQ(grid.InsertColumn("Mid", DT_LEFT, 1), 1);
    EXPECT_EQ(RowTexts(grid, 0), "Name|Mid|Value");
    EXPECT_EQ(grid.InsertColumn("x", DT_LEFT, 4), -1);

    grid.SetFixedRowCount(1);
    EXPECT_EQ(grid.InsertRow("r1"), 1);
    EXPECT_EQ(grid.GetRowHeight(1), 16 + 2 * 7);
    EXPECT_EQ(grid.InsertRow(""), 2);
    EXPECT_EQ(grid.GetRowHeight(2), grid.GetDefaultCell(true, false)->GetHeight());
    // Appending takes -1: the row count itself is refused, so are the fixed rows.
    EXPECT_EQ(grid.InsertRow("x", 3), -1);
    EXPECT_EQ(grid.InsertRow("x", 0), -1);
    EXPECT_EQ(grid.InsertRow("r0", 1), 1);
    EXPECT_EQ(grid.GetItemText(2, 0), "r1");

    CGridCtrl noColumns;
    EXPECT_EQ(noColumns.InsertRow("a"), 0);
    EXPECT_EQ(noColumns.GetColumnCount(), 1);
    ExpectShapeInvariants(grid, "inserted");
}

TEST(GridShapeTest, DeletionsMoveOrClearTheFocusCell)
{
    CGridCtrl grid(6, 4, 1, 1);
    grid.SetFocusCell(3, 2);
    grid.DeleteRow(1);
    EXPECT_TRUE(grid.GetFocusCell() == CCellID(2, 2));
    grid.DeleteRow(2);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());

    grid.SetFocusCell(2, 3);
    grid.DeleteColumn(1);
    EXPECT_TRUE(grid.GetFocusCell() == CCellID(2, 2));
    grid.DeleteColumn(2);
    EXPECT_FALSE(grid.GetFocusCell().IsValid());
    EXPECT_FALSE(grid.DeleteRow(4));
    EXPECT_FALSE(grid.DeleteColumn(-1));

    grid.DeleteRow(0);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    grid.SetFixedRowCount(1);
    grid.DeleteDataRows();
    EXPECT_EQ(grid.GetRowCount(), 1);
    ExpectShapeInvariants(grid, "deleted");

    grid.SetModifiedFlag(false);
    grid.DeleteAllItems();
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() + grid.GetFixedColumnCount(), 0);
    EXPECT_TRUE(grid.GetModifiedFlag());
}

TEST(GridShapeTest, CellTypeChangeKeepsTheAttributes)
{
    CGridCtrl grid(3, 3, 1, 0);
    grid.SetItemText(0, 1, "head");
    grid.SetItemTextColour(0, 1, GridRgb(200, 0, 0));
    grid.SetItemData(0, 1, 99);
    EXPECT_TRUE(grid.SetCellType(0, 1, [] { return std::make_unique<CTaggedCell>(); }));
    CGridCellBase* cell = grid.GetCell(0, 1);
    EXPECT_NE(dynamic_cast<CTaggedCell*>(cell), nullptr);
    EXPECT_EQ(cell->GetText(), "head");
    EXPECT_EQ(cell->GetTextClr(), GridRgb(200, 0, 0));
    EXPECT_EQ(cell->GetData(), 99);
    EXPECT_EQ(cell->GetState() & 0x70u, 0x30u);
    EXPECT_FALSE(grid.SetCellType(3, 0, [] { return std::make_unique<CTaggedCell>(); }));
    EXPECT_FALSE(grid.SetCellType(1, 1, GridCellClass()));

    EXPECT_FALSE(grid.SetDefaultCellClass(GridCellClass()));
    EXPECT_TRUE(grid.SetDefaultCellClass([] { return std::make_unique<CTaggedCell>(); }));
    grid.InsertRow("new");
    EXPECT_NE(dynamic_cast<CTaggedCell*>(grid.GetCell(3, 2)), nullptr);
}

TEST(GridShapeTest, VirtualModeKeepsCountsAndSizesOnly)
{
    CGridCtrl grid(3, 3);
    grid.SetVirtualMode(true);
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_FALSE(grid.IsEditable());
    EXPECT_EQ(grid.GetAutoSizeStyle(), GVS_HEADER);
    grid.SetRowCount(100);
    grid.SetColumnCount(5);
    grid.SetFixedRowCount(1);
    EXPECT_EQ(grid.InsertRow("x"), 100);
    EXPECT_EQ(grid.InsertColumn("y"), 5);
    EXPECT_TRUE(grid.DeleteRow(50));
    EXPECT_EQ(grid.GetRowCount(), 100);
    EXPECT_EQ(grid.GetRowHeight(99), grid.GetRowHeight(98));
    EXPECT_EQ(grid.GetColumnWidth(6), -1);
}

// A long random run of every shape operation, each followed by the shape checks.
TEST(GridShapeTest, RandomOperationsKeepTheShape)
{
    CGridFixture f;
    CGridCtrl& grid = f.grid;
    std::mt19937 random(20261210);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int step = 0; step < 10000; ++step) {
        const int op = pick(0, 19);
        const int row = pick(-1, grid.GetRowCount());
        const int col = pick(-1, grid.GetColumnCount());
        switch (op) {
        case 0: grid.SetRowCount(pick(0, 12)); break;
        case 1: grid.SetColumnCount(pick(0, 8)); break;
        case 2: grid.SetFixedRowCount(pick(0, 3)); break;
        case 3: grid.SetFixedColumnCount(pick(0, 3)); break;
        case 4: grid.InsertRow("r" + std::to_string(step), pick(-1, grid.GetRowCount())); break;
        case 5: grid.InsertColumn("c" + std::to_string(step), DT_LEFT, pick(-1, grid.GetColumnCount())); break;
        case 6: grid.DeleteRow(row); break;
        case 7: grid.DeleteColumn(col); break;
        case 8: grid.SetItemText(row, col, std::to_string(pick(0, 50))); break;
        case 9: grid.SetFocusCell(row, col); break;
        case 10: grid.SetSelectedRange(pick(-1, 6), pick(-1, 6), pick(-1, 12), pick(-1, 8)); break;
        case 11: grid.SortByText(col, pick(0, 1)); break;
        case 12: grid.SortWithFunction(CGridCtrl::CompareCellNumbers, col, pick(0, 1)); break;
        case 13: grid.BeginCellEdit(row, col, 'a'); break;
        case 14: grid.SetCellType(row, col, [] { return std::make_unique<CTaggedCell>(); }); break;
        case 15: grid.SetColumnWidth(col, pick(1, 120)); break;
        case 16: grid.AutoSize(pick(0, 3)); break;
        case 17: grid.StretchToFit(pick(0, 1)); break;
        case 18: grid.PasteTextToGrid(CCellID(row, col), "1\t2\n3\t4\t5\n6"); break;
        default: grid.DeleteDataRows(); break;
        }
        if (op == 13 && pick(0, 1))
            grid.EndCellEdit();
        ExpectShapeInvariants(grid, "step " + std::to_string(step) + " op " + std::to_string(op));
        if (HasFatalFailure())
            return;
    }
}
