// Painting: the background by areas, the cells in four passes (corner, fixed columns, fixed
// rows, scrolled cells) and the grid lines, through a painter.
#include "grid/GridCellBase.h"
#include "grid/GridCtrl.h"
#include "grid/GridPainter.h"
#include "grid/GridPort.h"

#include <algorithm>

namespace {
bool Intersect(const CGridRect& a, const CGridRect& b, CGridRect& out)
{
    out = CGridRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
    return out.left < out.right && out.top < out.bottom;
}
} // namespace

void CGridCtrl::EraseBkgnd(IGridPainter& painter)
{
    CGridRect k;
    if (!painter.GetClipBox(k))
        return;
    CGridRect v;
    GetVisibleCellRange(&v);
    const int w = GetFixedColumnsWidth();
    const int h = GetFixedRowsHeight();
    if (k.left < w && k.top < h)
        painter.FillRect({k.left, k.top, w, h}, m_cellFixedRowColDef.GetBackClr());
    if (k.left < w && k.top < v.bottom)
        painter.FillRect({k.left, k.top, w, v.bottom}, m_cellFixedColDef.GetBackClr());
    if (k.top < h && w < k.right && k.left < v.right)
        painter.FillRect({w - 1, k.top, v.right, h}, m_cellFixedRowDef.GetBackClr());
    CGridRect both;
    if (Intersect(v, k, both))
        painter.FillRect({std::max(both.left, w), std::max(both.top, h), both.right, both.bottom},
                         m_cellDefault.GetBackClr());
    if (v.right < k.right)
        painter.FillRect({v.right, k.top, k.right, k.bottom}, m_crGridBkColour);
    if (v.bottom < k.bottom && k.left < v.right)
        painter.FillRect({k.left, v.bottom, v.right, k.bottom}, m_crGridBkColour);
}

void CGridCtrl::DrawCells(IGridPainter& painter, const CGridRect& clip, bool clipped, int firstRow, int lastRow,
                          int top, int firstCol, int lastCol, int left)
{
    if (firstRow < 0 || firstCol < 0)
        return;
    int y = top;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int height = m_arRowHeights.Get(row);
        if (height <= 0)
            continue;
        if (clipped && y > clip.bottom)
            break;
        const int rowTop = y;
        y += height;
        if (clipped && y - 1 < clip.top)
            continue;
        int x = left;
        for (int col = firstCol; col <= lastCol; ++col) {
            const int width = m_arColWidths.Get(col);
            if (width <= 0)
                continue;
            if (clipped && x > clip.right)
                break;
            const int colLeft = x;
            x += width;
            if (clipped && x - 1 < clip.left)
                continue;
            if (CGridCellBase* cell = GetCell(row, col)) {
                cell->SetCoords(row, col);
                cell->Draw(painter, row, col, CGridRect{colLeft, rowTop, x - 1, y - 1}, false);
            }
        }
    }
}

void CGridCtrl::OnDraw(IGridPainter& painter)
{
    CGridRect clip;
    if (!m_bAllowDraw || !painter.GetClipBox(clip))
        return;
    EraseBkgnd(painter);
    const int h = GetFixedRowsHeight();
    const int w = GetFixedColumnsWidth();
    CGridRect v;
    const CCellRange visible = GetVisibleCellRange(&v);
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(visible);

    const int minRow = visible.GetMinRow();
    const int maxRow = visible.GetMaxRow();
    const int minCol = visible.GetMinCol();
    const int maxCol = visible.GetMaxCol();
    DrawCells(painter, clip, false, 0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0);
    DrawCells(painter, clip, true, minRow, maxRow, h, 0, m_nFixedCols - 1, 0);
    DrawCells(painter, clip, true, 0, m_nFixedRows - 1, 0, minCol, maxCol, w);
    DrawCells(painter, clip, true, minRow, maxRow, h, minCol, maxCol, w);

    if (m_nGridLines & GVL_VERT) {
        int x = w;
        for (int col = minCol; col >= 0 && col <= maxCol; ++col) {
            const int width = m_arColWidths.Get(col);
            if (width <= 0)
                continue;
            x += width;
            painter.Line(x - 1, h, x - 1, v.bottom, m_crGridLineColour);
        }
    }
    if (m_nGridLines & GVL_HORZ) {
        int y = h;
        for (int row = minRow; row >= 0 && row <= maxRow; ++row) {
            const int height = m_arRowHeights.Get(row);
            if (height <= 0)
                continue;
            y += height;
            painter.Line(w, y - 1, v.right, y - 1, m_crGridLineColour);
        }
    }
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange(-1, -1, -1, -1));
}
