#include "GridTestSupport.h"

#include "grid/GridCell.h"
#include "grid/GridDefaultCell.h"
#include "HarbinaxCore/InputFilter.h"

#include <gtest/gtest.h>

namespace {

CInputFilter FilterOf(const CGridCell& cell, wchar_t separator = L'.')
{
    CInputFilter filter([separator] { return separator; });
    cell.ApplyRestrictions(filter);
    return filter;
}

}  // namespace

TEST(GridCellTest, NewCellIsEmptyAndTakesItsDefaultsFromTheGrid)
{
    CGridCtrl grid(2, 2, 1, 0);
    const CGridCellBase* cell = grid.GetCell(1, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->GetText(), "");
    EXPECT_EQ(cell->GetData(), 0);
    EXPECT_EQ(cell->GetImage(), -1);
    EXPECT_EQ(cell->GetFormat(), 0x8824u);
    EXPECT_EQ(cell->GetTextClr(), kGridDefaultColour);
    EXPECT_EQ(cell->GetDefaultCell(), grid.GetDefaultCell(false, false));
    EXPECT_EQ(grid.GetCell(0, 1)->GetDefaultCell(), grid.GetDefaultCell(true, false));

    CGridCell alone;
    EXPECT_EQ(alone.GetFormat(), 0u);
    EXPECT_EQ(alone.GetMargin(), 0u);
    EXPECT_EQ(alone.GetFont(), nullptr);
    EXPECT_EQ(alone.GetData(), 0);
}

TEST(GridCellTest, ResetKeepsTheDataWordAndTheInputRestrictions)
{
    CGridCell cell;
    cell.SetText("abc");
    cell.SetData(42);
    cell.SetMaxTextLength(3);
    cell.SetUpperCase(true);
    CGridFont font;
    font.face = "Serif";
    cell.SetFont(&font);
    cell.SetState(CELLSTATE_READONLY);
    cell.Reset();
    EXPECT_EQ(cell.GetText(), "");
    EXPECT_EQ(cell.GetState(), 0u);
    EXPECT_TRUE(cell.IsDefaultFont());
    EXPECT_EQ(cell.GetData(), 42);
    const CInputFilter filter = FilterOf(cell);
    EXPECT_EQ(filter.GetMaxLength(), 3);
    EXPECT_EQ(filter.FilterText(L"xyzw"), L"XYZ");
}

TEST(GridCellTest, DefaultCellsAreReadOnlyAndMeasuredFromTheirFont)
{
    CGridCtrl grid;
    const CGridDefaultCell* plain = grid.GetDefaultCell(false, false);
    EXPECT_EQ(plain->GetState(), static_cast<std::uint32_t>(CELLSTATE_READONLY));
    // Nothing to measure with yet.
    EXPECT_EQ(plain->GetWidth(), 40);
    EXPECT_EQ(plain->GetHeight(), 16);
    EXPECT_EQ(plain->GetMargin(), 3u);

    CFixedTextMeasurer measurer;
    grid.SetTextMeasurer(&measurer);
    // " XXXXXXXXXXXX " is 98 x 16: one and a half lines high.
    EXPECT_EQ(plain->GetWidth(), 98);
    EXPECT_EQ(plain->GetHeight(), 24);
    EXPECT_EQ(plain->GetMargin(), 7u);

    CGridDefaultCell* fixed = grid.GetDefaultCell(true, true);
    fixed->SetWidth(50);
    fixed->SetFont(nullptr);
    EXPECT_EQ(fixed->GetWidth(), 50);
    EXPECT_EQ(fixed->GetMargin(), 7u);
    fixed->SetState(0);
    fixed->SetData(9);
    EXPECT_EQ(fixed->GetData(), 0);
}

TEST(GridCellTest, CopyTakesEffectiveFormatAndStoredColours)
{
    CGridCtrl grid(2, 2);
    CGridCellBase* source = grid.GetCell(1, 1);
    source->SetText("t");
    source->SetData(7);
    source->SetBackClr(GridRgb(1, 2, 3));
    source->SetState(CELLSTATE_READONLY);
    CGridCell target;
    target.SetMaxTextLength(5);
    target.CopyFrom(*source);
    EXPECT_EQ(target.GetText(), "t");
    EXPECT_EQ(target.GetData(), 7);
    EXPECT_EQ(target.GetBackClr(), GridRgb(1, 2, 3));
    EXPECT_EQ(target.GetTextClr(), kGridDefaultColour);
    EXPECT_EQ(target.GetFormat(), 0x8824u);
    EXPECT_EQ(target.GetState(), static_cast<std::uint32_t>(CELLSTATE_READONLY));
    EXPECT_EQ(target.GetGrid(), &grid);
    EXPECT_EQ(FilterOf(target).GetMaxLength(), 5);

    source->CopyFrom(*source);
    EXPECT_EQ(source->GetText(), "t");
}

// The restrictions reach the landed input filter in the order that decides between them.
TEST(GridCellTest, RestrictionsConfigureTheInputFilter)
{
    struct Case {
        const char* name;
        std::function<void(CGridCell&)> set;
        const wchar_t* typed;
        const wchar_t* kept;
    };
    const Case cases[] = {
        {"none", [](CGridCell&) {}, L"ab1,5", L"ab1,5"},
        {"max length", [](CGridCell& c) { c.SetMaxTextLength(15); }, L"0123456789abcdefgh", L"0123456789abcde"},
        {"integer", [](CGridCell& c) { c.SetIntegerInput(true); }, L"-12a,3", L"-123"},
        {"decimal takes both separators", [](CGridCell& c) { c.SetDecimalInput(true); }, L"1,5", L"1.5"},
        {"integer and decimal is decimal", [](CGridCell& c) { c.SetIntegerInput(true); c.SetDecimalInput(true); },
         L"2.5", L"2.5"},
        {"allowed set wins over decimal", [](CGridCell& c) { c.SetDecimalInput(true); c.SetAllowedChars(L"ab"); },
         L"a1b.", L"ab"},
        {"upper case", [](CGridCell& c) { c.SetUpperCase(true); }, L"dn25", L"DN25"},
    };
    for (const Case& c : cases) {
        CGridCell cell;
        c.set(cell);
        EXPECT_EQ(FilterOf(cell).FilterText(c.typed), c.kept) << c.name;
    }
}

TEST(GridCellTest, TextExtentAddsMarginsAndFollowsWrapAndRotation)
{
    CGridFixture f;
    f.grid.SetRowCount(1);
    f.grid.SetColumnCount(1);
    CGridCellBase* cell = f.grid.GetCell(0, 0);
    cell->SetMargin(2);
    // 3 characters: 21 + 4 x 2 wide, 16 + 2 x 2 high.
    EXPECT_EQ(cell->GetTextExtent("abc"), (CGridSize{29, 20}));

    cell->SetFormat(DT_WORDBREAK);
    // The widest line decides the width, + 1; two lines.
    EXPECT_EQ(cell->GetTextExtent("abcd\nab"), (CGridSize{28 + 8, 32 + 4}));

    cell->SetFormat(DT_SINGLELINE);
    CGridFont vertical;
    vertical.escapement = 900;
    cell->SetFont(&vertical);
    EXPECT_EQ(cell->GetTextExtent("abc"), (CGridSize{20, 29 + 8}));

    f.measurer.images = {{10, 12}};
    cell->SetFont(nullptr);
    cell->SetImage(0);
    cell->SetText("ab");
    EXPECT_EQ(cell->GetCellExtent(), (CGridSize{14 + 8 + 10, 20}));
    CGridRect rect{0, 0, 100, 20};
    EXPECT_TRUE(cell->GetTextRect(rect));
    EXPECT_EQ(rect.left, 12);
}

TEST(GridCellTest, EditingTwiceTypesIntoTheOpenEditor)
{
    CGridFixture f;
    f.grid.SetRowCount(2);
    f.grid.SetColumnCount(2);
    auto* cell = dynamic_cast<CGridCell*>(f.grid.GetCell(1, 1));
    ASSERT_NE(cell, nullptr);
    cell->SetText("7");
    cell->SetFormat(DT_RIGHT);
    cell->SetDecimalInput(true);
    f.grid.SetDecimalSeparatorSource([] { return L','; });

    f.grid.BeginCellEdit(1, 1, 'x');
    ASSERT_EQ(f.port.editors.size(), 1u);
    const CGridEditRequest& request = f.port.editors[0];
    EXPECT_EQ(request.alignment, 2);
    EXPECT_EQ(request.text, "7");
    EXPECT_EQ(request.firstChar, static_cast<unsigned>('x'));
    EXPECT_EQ(request.controlId, CGridCtrl::kInPlaceEditId);
    EXPECT_EQ(request.filter.FilterText(L"1.5"), L"1,5");
    EXPECT_TRUE(cell->IsEditing());

    f.grid.BeginCellEdit(1, 1, 'y');
    EXPECT_EQ(f.port.editors.size(), 1u);
    EXPECT_EQ(f.port.typed, std::vector<unsigned>{'y'});
}

TEST(GridCellTest, SystemColourChangesSpareColoursTheApplicationSet)
{
    CGridCtrl grid(2, 2, 1, 1);
    const CGridSystemColours old = grid.GetSystemColours();
    grid.GetDefaultCell(true, false)->SetTextClr(GridRgb(1, 2, 3));
    grid.GetDefaultCell(false, false)->SetBackClr(GridRgb(9, 9, 9));
    grid.SetGridBkColor(GridRgb(4, 4, 4));

    CGridSystemColours colours;
    colours.windowText = GridRgb(10, 10, 10);
    colours.window = GridRgb(20, 20, 20);
    colours.face3D = GridRgb(30, 30, 30);
    colours.shadow = GridRgb(40, 40, 40);
    grid.SetSystemColours(colours);
    EXPECT_EQ(grid.GetDefaultCell(true, false)->GetTextClr(), GridRgb(1, 2, 3));
    EXPECT_EQ(grid.GetDefaultCell(false, true)->GetTextClr(), colours.windowText);
    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetBackClr(), GridRgb(9, 9, 9));
    // The fixed cells' face colour is not the window colour; it stays.
    EXPECT_EQ(grid.GetDefaultCell(true, true)->GetBackClr(), old.face3D);
    EXPECT_EQ(grid.GetGridBkColor(), GridRgb(4, 4, 4));

    CGridCtrl plain;
    EXPECT_EQ(plain.GetGridBkColor(), old.shadow);
    plain.SetSystemColours(colours);
    EXPECT_EQ(plain.GetGridBkColor(), colours.shadow);
    EXPECT_EQ(plain.GetDefaultCell(false, false)->GetBackClr(), colours.window);
}

TEST(GridCellTest, FormattedTextsAndFontsThroughTheGrid)
{
    CGridCtrl grid(2, 2, 1, 1);
    EXPECT_TRUE(grid.SetItemTextFormatted(1, 1, "%d of %s", 3, "four"));
    EXPECT_EQ(grid.GetItemText(1, 1), "3 of four");
    EXPECT_FALSE(grid.SetItemTextFormatted(2, 1, "%d", 1));
    // The format from the test program's STRING resource 7, "%d of %s".
    EXPECT_TRUE(grid.SetItemTextFromResource(1, 0, 7, 5, "six"));
    EXPECT_EQ(grid.GetItemText(1, 0), "5 of six");
    EXPECT_FALSE(grid.SetItemTextFromResource(2, 0, 7, 5, "six"));
    grid.SetModifiedFlag(false);
    EXPECT_FALSE(grid.SetItemTextFromResource(1, 0, 8, 5, "six"));
    EXPECT_EQ(grid.GetItemText(1, 0), "5 of six");
    EXPECT_FALSE(grid.GetModifiedFlag());

    CGridFont font;
    font.face = "Sans";
    grid.SetDefaultFont(font);
    EXPECT_EQ(*grid.GetItemFont(1, 1), font);
    CGridFont own;
    own.face = "Mono";
    grid.SetItemFont(1, 1, &own);
    EXPECT_EQ(grid.GetItemFont(1, 1)->face, "Mono");
    EXPECT_EQ(grid.GetItemFont(0, 0)->face, "Sans");

    GridItemInfo item;
    item.row = 1;
    item.col = 1;
    item.mask = GVIF_TEXT | GVIF_FGCLR | GVIF_FONT | GVIF_PARAM;
    item.strText = "set";
    item.crFgClr = GridRgb(5, 5, 5);
    item.lParam = 11;
    grid.SetModifiedFlag(false);
    ASSERT_TRUE(grid.SetItem(&item));
    EXPECT_TRUE(grid.GetModifiedFlag());
    EXPECT_TRUE(grid.GetCell(1, 1)->IsDefaultFont());
    GridItemInfo read;
    read.row = 1;
    read.col = 1;
    read.mask = GVIF_ALL;
    ASSERT_TRUE(grid.GetItem(&read));
    EXPECT_EQ(read.strText, "set");
    EXPECT_EQ(read.crFgClr, GridRgb(5, 5, 5));
    EXPECT_EQ(read.lParam, 11);
    EXPECT_EQ(read.lfFont.face, "Sans");
    item.row = 5;
    EXPECT_FALSE(grid.SetItem(&item));
    EXPECT_FALSE(grid.SetItem(nullptr));
}
