#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// One fixed row and column; column 1 holds the given texts, column 0 the row's name.
struct CSortGrid : CGridFixture {
    explicit CSortGrid(const std::vector<std::string>& texts)
    {
        grid.SetRowCount(static_cast<int>(texts.size()) + 1);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        grid.SetItemText(0, 1, "head");
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const int row = static_cast<int>(i) + 1;
            grid.SetItemText(row, 0, "row" + texts[i]);
            grid.SetItemText(row, 1, texts[i]);
            grid.SetRowHeight(row, 20 + row);
        }
    }

    std::vector<std::string> Column(int col) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < grid.GetRowCount(); ++row)
            texts.push_back(grid.GetItemText(row, col));
        return texts;
    }
};

int ByLength(const CGridCellBase* a, const CGridCellBase* b, std::intptr_t)
{
    return static_cast<int>(a->GetText().size()) - static_cast<int>(b->GetText().size());
}

}  // namespace

TEST(GridSortSearchTest, NumbersAndTextsCompareDifferently)
{
    CSortGrid numbers({"10", "9", "-3", "x", "100"});
    ASSERT_TRUE(numbers.grid.SortWithFunction(CGridCtrl::CompareCellNumbers, 1, true));
    EXPECT_EQ(numbers.Column(1), (std::vector<std::string>{"head", "-3", "x", "9", "10", "100"}));

    CSortGrid texts({"10", "9", "100"});
    ASSERT_TRUE(texts.grid.SortByText(1, true));
    EXPECT_EQ(texts.Column(1), (std::vector<std::string>{"head", "10", "100", "9"}));
}

TEST(GridSortSearchTest, RowsMoveWholeWithTheirFixedCellsAndHeights)
{
    CSortGrid f({"b", "a", "c"});
    const int heightOfA = f.grid.GetRowHeight(2);
    f.grid.SetFocusCell(2, 2);
    f.grid.SetSelectedRange(1, 1, 2, 2);
    ASSERT_TRUE(f.grid.SortByText(1, false));
    EXPECT_EQ(f.Column(1), (std::vector<std::string>{"head", "c", "b", "a"}));
    EXPECT_EQ(f.Column(0), (std::vector<std::string>{"", "rowc", "rowb", "rowa"}));
    EXPECT_EQ(f.grid.GetRowHeight(3), heightOfA);
    EXPECT_EQ(f.grid.GetItemState(3, 0) & 0x70u, 0x50u);
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
    EXPECT_FALSE(f.grid.GetFocusCell().IsValid());
    EXPECT_EQ(f.grid.GetSortColumn(), 1);
    EXPECT_FALSE(f.grid.GetSortAscending());

    f.grid.SetCompareFunction(ByLength);
    f.grid.SetItemText(1, 2, "xxx");
    f.grid.SetItemText(2, 2, "x");
    f.grid.SetItemText(3, 2, "xx");
    ASSERT_TRUE(f.grid.SortByColumn(2, true));
    EXPECT_EQ(f.Column(2), (std::vector<std::string>{"", "x", "xx", "xxx"}));
}

TEST(GridSortSearchTest, NothingToSortIsAFailure)
{
    CSortGrid one({"a"});
    EXPECT_FALSE(one.grid.SortByText(1, true));
    CSortGrid two({"b", "a"});
    EXPECT_FALSE(two.grid.SortByText(3, true));
    EXPECT_EQ(two.Column(1), (std::vector<std::string>{"head", "b", "a"}));

    // In virtual mode every lookup gives the one display cell; nothing can be ordered.
    CGridFixture virtualGrid;
    virtualGrid.grid.SetVirtualMode(true);
    virtualGrid.grid.SetRowCount(5);
    virtualGrid.grid.SetColumnCount(2);
    EXPECT_FALSE(virtualGrid.grid.SortByText(1, true));
}

TEST(GridSortSearchTest, LargeSortsOfSortedAndEqualRowsFinish)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i)
        texts.push_back(std::to_string(i % 7 == 0 ? 5 : i));
    CSortGrid f(texts);
    ASSERT_TRUE(f.grid.SortWithFunction(CGridCtrl::CompareCellNumbers, 1, true));
    ASSERT_TRUE(f.grid.SortWithFunction(CGridCtrl::CompareCellNumbers, 1, false));
    for (int row = 2; row < f.grid.GetRowCount(); ++row)
        ASSERT_GE(std::stol(f.grid.GetItemText(row - 1, 1)), std::stol(f.grid.GetItemText(row, 1)));
}

TEST(GridSortSearchTest, FindNextCellSearchesTheNonFixedCells)
{
    CGridFixture f;
    f.grid.SetRowCount(4);
    f.grid.SetColumnCount(4);
    f.grid.SetFixedRowCount(1);
    f.grid.SetFixedColumnCount(1);
    f.grid.SetItemState(2, 3, CELLSTATE_SELECTED);
    f.grid.SetItemState(3, 1, CELLSTATE_SELECTED);
    f.grid.SetItemState(1, 2, CELLSTATE_READONLY);
    struct Case {
        CCellID start;
        int flags;
        CCellID expected;
    };
    const Case cases[] = {
        {CCellID(), GVNI_SELECTED | GVNI_ALL, CCellID(2, 3)},
        {CCellID(2, 3), GVNI_SELECTED | GVNI_ALL, CCellID(3, 1)},
        {CCellID(3, 1), GVNI_SELECTED | GVNI_ALL, CCellID()},
        {CCellID(1, 0), GVNI_SELECTED | GVNI_BELOW | GVNI_TORIGHT, CCellID(2, 3)},
        {CCellID(3, 2), GVNI_READONLY | GVNI_ABOVE, CCellID(1, 2)},
        {CCellID(1, 2), GVNI_READONLY | GVNI_ABOVE, CCellID()},
        {CCellID(1, 1), GVNI_READONLY | GVNI_BELOW, CCellID()},
        {CCellID(2, 0), GVNI_SELECTED | GVNI_TORIGHT, CCellID(2, 3)},
        {CCellID(3, 3), GVNI_SELECTED | GVNI_TOLEFT, CCellID(3, 1)},
        {CCellID(1, 1), GVNI_FIXED | GVNI_TOLEFT, CCellID()},
        {CCellID(1, 1), GVNI_ALL, CCellID()},
        {CCellID(1, 1), GVNI_SELECTED, CCellID()},
    };
    for (const Case& c : cases) {
        const CCellID found = f.grid.FindNextCell(c.start, c.flags);
        EXPECT_TRUE(found == c.expected) << c.start.row << "," << c.start.col << " flags " << c.flags << " -> "
                                         << found.row << "," << found.col;
    }
}

TEST(GridSortSearchTest, ListModeClearsSelectionAndSortMarker)
{
    CSortGrid f({"b", "a"});
    f.grid.SortByText(1, true);
    f.grid.SetSelectedRange(1, 1, 1, 1);
    f.grid.SetListMode(true);
    EXPECT_TRUE(f.grid.GetListMode());
    EXPECT_EQ(f.grid.GetSortColumn(), -1);
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
    EXPECT_FALSE(f.grid.GetFixedColumnSelection());
}

namespace {

int ByBytes(const CGridCellBase* a, const CGridCellBase* b, std::intptr_t)
{
    return std::strcmp(a->GetText().c_str(), b->GetText().c_str());
}

}  // namespace

// The grid orders its own comparisons by keys taken once; they must agree with the texts.
TEST(GridSortSearchTest, TextSortAgreesWithByteOrderBeyondEightBytes)
{
    const std::vector<std::string> texts = {"abcdefghZ", "abcdefgh", "abcdefghA", "ab", "", "\xc3\xa4", "Z",
                                            "abcdefgi", "abcdefgh", "a b", "ABCDEFGHIJ"};
    for (bool ascending : {true, false}) {
        CSortGrid own(texts);
        CSortGrid plain(texts);
        ASSERT_TRUE(own.grid.SortByText(1, ascending));
        ASSERT_TRUE(plain.grid.SortWithFunction(ByBytes, 1, ascending));
        EXPECT_EQ(own.Column(1), plain.Column(1)) << ascending;
        EXPECT_EQ(own.Column(1)[ascending ? 1 : texts.size()], "");
    }
}
