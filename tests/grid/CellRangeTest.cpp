#include "GridTestSupport.h"

#include "grid/CellRange.h"

#include <gtest/gtest.h>

TEST(CellRangeTest, CellIdsAreValidOnlyWithBothIndicesSet)
{
    EXPECT_FALSE(CCellID().IsValid());
    EXPECT_FALSE(CCellID(0, -1).IsValid());
    EXPECT_TRUE(CCellID(0, 0).IsValid());
    EXPECT_TRUE(CCellID(2, 3) == CCellID(2, 3));
    EXPECT_TRUE(CCellID(2, 3) != CCellID(3, 2));
}

TEST(CellRangeTest, ValidityNeedsNonNegativeOrderedBounds)
{
    struct Case {
        CCellRange range;
        bool valid;
    };
    const Case cases[] = {
        {CCellRange(2, 3, 2, 3), true},
        {CCellRange(0, 0, 0, 0), true},
        {CCellRange(3, 0, 2, 5), false},
        {CCellRange(0, 4, 1, 3), false},
        {CCellRange(-1, -1, -1, -1), false},
        {CCellRange(), false},
        {CCellRange(-1, 0, 0, 0), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.range.IsValid(), c.valid) << c.range.GetMinRow() << "," << c.range.GetMinCol() << ","
                                               << c.range.GetMaxRow() << "," << c.range.GetMaxCol();
}

TEST(CellRangeTest, ContainmentIncludesBothBounds)
{
    const CCellRange range(2, 3, 4, 5);
    EXPECT_TRUE(range.InRange(4, 5));
    EXPECT_TRUE(range.InRange(CCellID(2, 3)));
    EXPECT_FALSE(range.InRange(5, 5));
    EXPECT_FALSE(range.InRange(4, 6));
    EXPECT_FALSE(range.InRange(1, 3));

    const CCellRange single(2, 3, 2, 3);
    EXPECT_TRUE(single.InRange(2, 3));
    EXPECT_FALSE(single.InRange(2, 4));
}

TEST(CellRangeTest, GridValidityChecksRangesAgainstItsCounts)
{
    CGridCtrl grid(1, 1);
    EXPECT_TRUE(grid.IsValid(CCellRange(0, 0, 0, 0)));
    EXPECT_FALSE(grid.IsValid(CCellRange(-1, 0, 0, 0)));
    EXPECT_FALSE(grid.IsValid(CCellRange(0, 0, 1, 0)));
    EXPECT_FALSE(grid.IsValid(CCellRange(0, 0, 0, 1)));

    CGridCtrl larger(5, 5);
    EXPECT_FALSE(larger.IsValid(CCellRange(3, 0, 2, 4)));
    EXPECT_TRUE(larger.IsValid(CCellRange(1, 1, 4, 4)));
}

TEST(CellRangeTest, CellLookupOutsideTheGridGivesNull)
{
    CGridCtrl grid(3, 2);
    EXPECT_EQ(grid.GetCell(-1, 0), nullptr);
    EXPECT_EQ(grid.GetCell(3, 0), nullptr);
    EXPECT_EQ(grid.GetCell(0, 2), nullptr);
    EXPECT_EQ(grid.GetCell(0, -1), nullptr);
    EXPECT_NE(grid.GetCell(2, 1), nullptr);
    EXPECT_NE(grid.GetCell(0, 0), grid.GetCell(0, 1));
}

TEST(CellRangeTest, VirtualModeFillsOneDisplayCellFromTheOwner)
{
    CGridFixture f;
    f.grid.SetVirtualMode(true);
    f.grid.SetRowCount(4);
    f.grid.SetColumnCount(3);
    f.grid.SetFixedRowCount(1);
    f.port.displayInfo = [](GridItemInfo& info) {
        info.strText = std::to_string(info.row) + ":" + std::to_string(info.col);
        if (info.row == 2)
            info.nState |= CELLSTATE_READONLY;
    };

    CGridCellBase* first = f.grid.GetCell(0, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetText(), "0:1");
    EXPECT_EQ(first->GetState(), 0x30u);

    CGridCellBase* second = f.grid.GetCell(2, 2);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->GetText(), "2:2");
    EXPECT_EQ(first->GetState(), static_cast<std::uint32_t>(CELLSTATE_READONLY));
    EXPECT_EQ(f.grid.GetCell(4, 0), nullptr);

    // No cells are stored, so every setter refuses.
    EXPECT_FALSE(f.grid.SetItemText(1, 1, "x"));
    EXPECT_FALSE(f.grid.SetItemData(1, 1, 5));
    EXPECT_FALSE(f.grid.SetItemFormat(1, 1, DT_RIGHT));
    EXPECT_FALSE(f.grid.SetCellType(1, 1, [] { return std::make_unique<CGridCell>(); }));
}

TEST(CellRangeTest, VirtualModeSelectionLivesInTheMapAlone)
{
    CGridFixture f;
    f.grid.SetVirtualMode(true);
    f.grid.SetRowCount(3);
    f.grid.SetColumnCount(3);
    EXPECT_FALSE(f.grid.SetItemState(1, 1, CELLSTATE_SELECTED));
    EXPECT_EQ(f.grid.GetSelectedCount(), 1);
    EXPECT_TRUE(f.grid.IsCellInSelection(1, 1));
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetState(), static_cast<std::uint32_t>(CELLSTATE_SELECTED));
    f.grid.SetItemState(1, 1, CELLSTATE_SELECTED);
    EXPECT_EQ(f.grid.GetSelectedCount(), 1);
    f.grid.SetItemState(1, 1, 0);
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
}

TEST(CellRangeTest, SelectionKeysOfDistantRowsDoNotAlias)
{
    // Row 65537 and row 1 share their low 16 bits.
    CGridFixture f;
    f.grid.SetVirtualMode(true);
    f.grid.SetRowCount(70000);
    f.grid.SetColumnCount(2);
    f.grid.SetItemState(1, 0, CELLSTATE_SELECTED);
    f.grid.SetItemState(65537, 0, CELLSTATE_SELECTED);
    f.grid.SetItemState(1, 1, CELLSTATE_SELECTED);
    EXPECT_EQ(f.grid.GetSelectedCount(), 3);
    EXPECT_TRUE(f.grid.GetSelectedCellRange() == CCellRange(1, 0, 65537, 1));
    f.grid.SetItemState(1, 0, 0);
    EXPECT_TRUE(f.grid.IsCellInSelection(65537, 0));
}
