#include "GridTestSupport.h"

#include "grid/GridCellCombo.h"
#include "grid/GridCellNumeric.h"

#include <gtest/gtest.h>

namespace {

// A 4 x 3 grid with one fixed row and column, cells of 20 x 80 pixels; cell (1, 1) of class T.
template <class T>
T* GridWithCell(CGridFixture& f)
{
    f.grid.SetRowCount(4);
    f.grid.SetColumnCount(3);
    f.grid.SetFixedRowCount(1);
    f.grid.SetFixedColumnCount(1);
    for (int row = 0; row < 4; ++row)
        f.grid.SetRowHeight(row, 20);
    for (int col = 0; col < 3; ++col)
        f.grid.SetColumnWidth(col, 80);
    f.grid.SetCellType(1, 1, [] { return std::make_unique<T>(); });
    f.grid.SetItemText(1, 1, "12");
    return dynamic_cast<T*>(f.grid.GetCell(1, 1));
}

int TextRight(CGridCtrl& grid, int width)
{
    grid.SetColumnWidth(1, width);
    CRecordingPainter painter;
    grid.OnDraw(painter);
    return painter.TextOp("12")->rect.right;
}

}  // namespace

TEST(GridCellKindsTest, ComboButtonOnlyOnEditableCellsWideEnoughForIt)
{
    CGridFixture f;
    CGridCellCombo* combo = GridWithCell<CGridCellCombo>(f);
    ASSERT_NE(combo, nullptr);
    const int margin = static_cast<int>(combo->GetMargin());
    CRecordingPainter painter;
    f.grid.OnDraw(painter);
    ASSERT_EQ(painter.Kind("button").size(), 1u);
    EXPECT_EQ(painter.Kind("button")[0].rect, (CGridRect{143, 20, 159, 36}));
    EXPECT_EQ(painter.TextOp("12")->rect.right, 159 - 16 - margin);

    // Too narrow for the button: the text keeps the whole width.
    EXPECT_EQ(TextRight(f.grid, 16), 80 + 15 - margin);
    f.grid.SetColumnWidth(1, 80);

    f.grid.SetItemState(1, 1, CELLSTATE_READONLY);
    painter.ops.clear();
    f.grid.OnDraw(painter);
    EXPECT_TRUE(painter.Kind("button").empty());
    f.grid.SetItemState(1, 1, 0);
    f.grid.SetEditable(false);
    painter.ops.clear();
    f.grid.OnDraw(painter);
    EXPECT_TRUE(painter.Kind("button").empty());
}

TEST(GridCellKindsTest, ComboEditorGetsTheOptionsAndASecondEditTypesIntoIt)
{
    CGridFixture f;
    CGridCellCombo* combo = GridWithCell<CGridCellCombo>(f);
    combo->SetOptions({"bar", "psi"});
    combo->SetStyle(CBS_DROPDOWNLIST);
    f.grid.BeginCellEdit(1, 1, 'b');
    ASSERT_EQ(f.port.editors.size(), 1u);
    EXPECT_TRUE(f.port.editors[0].combo);
    EXPECT_TRUE(f.port.editors[0].dropDownList);
    EXPECT_EQ(f.port.editors[0].options, (std::vector<std::string>{"bar", "psi"}));
    // While it is open the cell draws no text and no button under it.
    CRecordingPainter painter;
    f.grid.OnDraw(painter);
    EXPECT_EQ(painter.TextOp("12"), nullptr);
    EXPECT_TRUE(painter.Kind("button").empty());

    combo->Edit(1, 1, CGridRect{}, CGridCtrl::kInPlaceEditId, 'a');
    EXPECT_EQ(f.port.editors.size(), 1u);
    EXPECT_EQ(f.port.typed, (std::vector<unsigned>{'a'}));
}

TEST(GridCellKindsTest, NumericEditorTakesDigitsOnlyAndEditsLeftAligned)
{
    CGridFixture f;
    CGridCellNumeric* numeric = GridWithCell<CGridCellNumeric>(f);
    ASSERT_NE(numeric, nullptr);
    numeric->SetDecimalInput(true);
    numeric->SetFormat(DT_RIGHT | DT_SINGLELINE);
    f.grid.BeginCellEdit(1, 1, GridKeyLButton);
    ASSERT_EQ(f.port.editors.size(), 1u);
    const CGridEditRequest& request = f.port.editors[0];
    EXPECT_EQ(request.alignment, 0);
    EXPECT_FALSE(request.combo);
    for (wchar_t refused : {L'-', L'.', L',', L'x'}) {
        wchar_t ch = refused;
        EXPECT_FALSE(request.filter.CheckChar(L"12", 2, ch)) << static_cast<char>(refused);
    }
    wchar_t digit = L'7';
    EXPECT_TRUE(request.filter.CheckChar(L"12", 2, digit));

    numeric->Edit(1, 1, CGridRect{}, CGridCtrl::kInPlaceEditId, '3');
    EXPECT_EQ(f.port.editors.size(), 1u);
}

TEST(GridCellKindsTest, ComboGivesItsEditorForTypingOnlyInDropDownStyle)
{
    for (const bool list : {false, true}) {
        CGridFixture f;
        CGridCellCombo* combo = GridWithCell<CGridCellCombo>(f);
        combo->SetStyle(list ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
        EXPECT_EQ(combo->GetEditWnd(), nullptr);
        f.grid.SetFocusCell(1, 1);
        f.grid.BeginCellEdit(1, 1, 'a');
        ASSERT_TRUE(combo->IsEditing());
        EXPECT_EQ(combo->GetEditWnd() != nullptr, !list) << list;

        // A paste while a list is open goes into the cells, since nothing can be typed.
        f.port.clipboard = "bar";
        f.grid.OnEditPaste();
        EXPECT_EQ(f.port.editorPastes, list ? 0 : 1) << list;
        EXPECT_EQ(f.grid.GetItemText(1, 1), list ? "bar" : "12") << list;
    }
}

TEST(GridCellKindsTest, CellsNotifyTheGridsOwner)
{
    CGridFixture f;
    CGridCell* cell = GridWithCell<CGridCell>(f);
    f.port.reply = [](int code, int, int) { return code == GridNotifyClick ? 7L : 0L; };
    EXPECT_EQ(cell->SendMessageToParent(1, 1, GridNotifyClick), 7);
    using N = CRecordingPort::Notification;
    EXPECT_EQ(f.port.notifications, (std::vector<N>{{GridNotifyClick, 1, 1}}));
    CGridCell alone;
    EXPECT_EQ(alone.SendMessageToParent(1, 1, GridNotifyClick), 0);
}
