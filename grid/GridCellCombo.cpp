#include "grid/GridCellCombo.h"

#include "grid/GridCtrl.h"
#include "grid/GridPainter.h"
#include "grid/GridPort.h"

bool CGridCellCombo::Draw(IGridPainter& painter, int row, int col, CGridRect rect, bool erase)
{
    CGridCtrl* grid = GetGrid();
    if (grid && grid->CanEditCell(row, col) && !IsEditing()) {
        const CGridSize button = painter.ButtonSize();
        if (button.cx < rect.Width() && button.cy < rect.Height()) {
            painter.DropButton({rect.right - button.cx, rect.top, rect.right, rect.top + button.cy});
            rect.right -= button.cx;
        }
    }
    if (!IsEditing())
        return CGridCellBase::Draw(painter, row, col, rect, erase);
    // The combo box shows the text while it is open.
    const std::string text = GetText();
    SetText("");
    const bool drawn = CGridCellBase::Draw(painter, row, col, rect, erase);
    SetText(text);
    return drawn;
}

CGridSize CGridCellCombo::GetCellExtent() const
{
    CGridSize size = CGridCell::GetCellExtent();
    CGridCtrl* grid = GetGrid();
    if (IGridPort* port = grid ? grid->GetPort() : nullptr) {
        const CGridScrollMetrics metrics = port->GetScrollMetrics();
        size.cx += metrics.vScrollWidth;
        size.cy += metrics.hScrollHeight;
    }
    return size;
}

IGridEditor* CGridCellCombo::GetEditWnd() const
{
    return (m_style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST ? nullptr : CGridCell::GetEditWnd();
}

void CGridCellCombo::PrepareEditor(CGridEditRequest& request) const
{
    request.combo = true;
    request.dropDownList = (m_style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
    request.options = m_options;
}
