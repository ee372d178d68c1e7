// Sizes, geometry, hit testing and scroll-bar arithmetic of the grid core.
#include "grid/GridCtrl.h"

#include "grid/GridCellBase.h"
#include "grid/GridPort.h"

#include <algorithm>

CGridSize CGridCtrl::ClientSize() const
{
    return m_pPort ? m_pPort->GetClientSize() : CGridSize{};
}

int CGridCtrl::GetRowHeight(int row) const
{
    return (row < 0 || row >= m_nRows) ? -1 : m_arRowHeights.Get(row);
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return (col < 0 || col >= m_nCols) ? -1 : m_arColWidths.Get(col);
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_nRows || height < 0)
        return false;
    m_arRowHeights.Set(row, height);
    UpdateScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_nCols || width < 0)
        return false;
    m_arColWidths.Set(col, width);
    UpdateScrollBars();
    return true;
}

int CGridCtrl::NextVisibleRow(int row, int step, int first) const
{
    for (row += step; row >= first && row < m_nRows; row += step)
        if (m_arRowHeights.Get(row) > 0)
            return row;
    return -1;
}

int CGridCtrl::NextVisibleColumn(int col, int step, int first) const
{
    for (col += step; col >= first && col < m_nCols; col += step)
        if (m_arColWidths.Get(col) > 0)
            return col;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Auto-size and stretching

bool CGridCtrl::MeasuredRows(int style, int& first, int& last) const
{
    if (style == GVS_DEFAULT)
        style = m_nAutoSizeStyle;
    first = (style & GVS_HEADER) ? 0 : m_nFixedRows;
    last = (style & GVS_DATA) ? m_nRows - 1 : m_nFixedRows - 1;
    return first <= last;
}

bool CGridCtrl::AutoSizeColumn(int col, int style, bool updateScrollBars)
{
    if (col < 0 || col >= m_nCols || m_arColWidths.Get(col) == 0)
        return false;
    int first = 0;
    int last = -1;
    MeasuredRows(style, first, last);
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange(first, col, last, col));
    int width = 0;
    for (int row = first; row <= last; ++row)
        if (const CGridCellBase* cell = GetCell(row, col))
            width = std::max(width, cell->GetCellExtent().cx);
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange());
    // A measured width of 0 would hide the column for good.
    m_arColWidths.Set(col, std::max(width, 1));
    if (updateScrollBars)
        UpdateScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool updateScrollBars)
{
    if (row < 0 || row >= m_nRows || m_arRowHeights.Get(row) == 0)
        return false;
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange(row, 0, row, m_nCols - 1));
    int height = 0;
    for (int col = 0; col < m_nCols; ++col)
        if (const CGridCellBase* cell = GetCell(row, col))
            height = std::max(height, cell->GetCellExtent().cy);
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange());
    m_arRowHeights.Set(row, std::max(height, 1));
    if (updateScrollBars)
        UpdateScrollBars();
    return true;
}

void CGridCtrl::AutoSizeColumns(int style)
{
    for (int col = 0; col < m_nCols; ++col)
        if (m_arColWidths.Get(col) > 0)
            AutoSizeColumn(col, style, false);
    UpdateScrollBars();
}

void CGridCtrl::AutoSizeRows()
{
    for (int row = 0; row < m_nRows; ++row)
        if (m_arRowHeights.Get(row) > 0)
            AutoSizeRow(row, false);
    UpdateScrollBars();
}

void CGridCtrl::AutoSize(int style)
{
    int first = 0;
    int last = -1;
    MeasuredRows(style, first, last);
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange(first, 0, last, m_nCols - 1));
    for (int row = first; row <= last; ++row)
        if (m_arRowHeights.Get(row) > 0)
            m_arRowHeights.Set(row, 1);
    for (int col = 0; col < m_nCols; ++col) {
        if (m_arColWidths.Get(col) == 0)
            continue;
        int width = 1;
        for (int row = first; row <= last; ++row) {
            if (m_arRowHeights.Get(row) == 0)
                continue;
            const CGridCellBase* cell = GetCell(row, col);
            if (!cell)
                continue;
            const CGridSize size = cell->GetCellExtent();
            width = std::max(width, size.cx);
            if (size.cy > m_arRowHeights.Get(row))
                m_arRowHeights.Set(row, size.cy);
        }
        m_arColWidths.Set(col, width);
    }
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange());
    UpdateScrollBars();
    RedrawAll();
}

namespace {

// Spreads the difference between the room and the sizes over the visible entries from first:
// the even share to each, the remainder one pixel at a time from the first visible position
// on (a hidden one among them takes its turn but stays hidden), and none below 1 pixel.
void StretchSizes(CGridSizeArray& sizes, int first, int room)
{
    int count = 0;
    for (int i = first; i < sizes.Count(); ++i)
        if (sizes.Get(i) > 0)
            ++count;
    if (count == 0)
        return;
    const int difference = room - sizes.Sum(first, sizes.Count());
    const int share = difference / count;
    int remainder = difference < 1 ? (-difference) % count : difference % count;
    const int step = difference < 1 ? -1 : 1;
    int start = first;
    while (start < sizes.Count() && sizes.Get(start) == 0)
        ++start;
    for (int i = start; i < sizes.Count(); ++i) {
        if (sizes.Get(i) == 0)
            continue;
        int size = sizes.Get(i) + share;
        if (i - start < remainder)
            size += step;
        sizes.Set(i, std::max(size, 1));
    }
}

}  // namespace

void CGridCtrl::StretchColumnsToFit(bool fixedToo)
{
    if (m_nCols == 0 || (!fixedToo && m_nCols <= m_nFixedCols))
        return;
    ShowScrollBars(SB_HORZ, false);
    const int first = fixedToo ? 0 : m_nFixedCols;
    const int room = ClientSize().cx - (fixedToo ? 0 : GetFixedColumnsWidth());
    StretchSizes(m_arColWidths, first, room);
    RedrawAll();
    UpdateScrollBars();
}

void CGridCtrl::StretchRowsToFit(bool fixedToo)
{
    if (m_nRows == 0 || (!fixedToo && m_nRows <= m_nFixedRows))
        return;
    ShowScrollBars(SB_VERT, false);
    const int first = fixedToo ? 0 : m_nFixedRows;
    const int room = ClientSize().cy - (fixedToo ? 0 : GetFixedRowsHeight());
    StretchSizes(m_arRowHeights, first, room);
    RedrawAll();
    UpdateScrollBars();
}

void CGridCtrl::StretchLastColumn()
{
    if (m_nCols == 0)
        return;
    int last = m_nCols - 1;
    while (last >= 0 && m_arColWidths.Get(last) == 0)
        --last;
    if (last <= 0)
        return;
    ShowScrollBars(SB_HORZ, false);
    const int difference = ClientSize().cx - GetTotalWidth();
    if (difference > 0) {
        m_arColWidths.Set(last, m_arColWidths.Get(last) + difference);
        RedrawAll();
    }
    UpdateScrollBars();
}

void CGridCtrl::StretchToFit(bool fixedToo)
{
    StretchColumnsToFit(fixedToo);
    StretchRowsToFit(fixedToo);
    StretchColumnsToFit(fixedToo);
    RedrawAll();
}

// ---------------------------------------------------------------------------------------------
// Geometry

CCellID CGridCtrl::GetScrolledTopLeftCell(bool force)
{
    // A position beyond a range that shrank while drawing was off is brought back first.
    FlushScrollBars();
    if (m_idTopLeftCell.row < 0 || m_idTopLeftCell.col < 0 || force) {
        m_idTopLeftCell.col = m_arColWidths.IndexAtOffset(m_nFixedCols, m_nHScrollPos, m_nCols - 1);
        m_idTopLeftCell.row = m_arRowHeights.IndexAtOffset(m_nFixedRows, m_nVScrollPos, m_nRows - 1);
    }
    return m_idTopLeftCell;
}

namespace {

// The last index from first whose far edge, counted on from start, reaches limit (the last
// index when none does), and that edge.
int LastIndexReaching(const CGridSizeArray& sizes, int first, int start, int limit, int& edge)
{
    edge = start;
    int index = first;
    for (; index < sizes.Count(); ++index) {
        edge += sizes.Get(index);
        if (edge >= limit)
            break;
    }
    return std::min(index, sizes.Count() - 1);
}

}  // namespace

CCellRange CGridCtrl::GetVisibleCellRange(CGridRect* rect, bool force)
{
    const CGridSize client = ClientSize();
    const CCellID topLeft = GetScrolledTopLeftCell(force);
    int bottom = 0;
    const int maxRow = LastIndexReaching(m_arRowHeights, topLeft.row, GetFixedRowsHeight(), client.cy, bottom);
    int right = 0;
    const int maxCol = LastIndexReaching(m_arColWidths, topLeft.col, GetFixedColumnsWidth(), client.cx, right);
    if (rect)
        *rect = CGridRect{0, 0, std::min(right, client.cx), std::min(bottom, client.cy)};
    return CCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

CCellRange CGridCtrl::GetFullyVisibleCellRange(bool force)
{
    const CGridSize client = ClientSize();
    const CCellID topLeft = GetScrolledTopLeftCell(force);
    int bottom = 0;
    int maxRow = LastIndexReaching(m_arRowHeights, topLeft.row, GetFixedRowsHeight(), client.cy, bottom);
    // The last one only partly shown.
    if (maxRow > 0 && bottom > client.cy)
        --maxRow;
    int right = 0;
    int maxCol = LastIndexReaching(m_arColWidths, topLeft.col, GetFixedColumnsWidth(), client.cx, right);
    if (maxCol > 0 && right > client.cx)
        --maxCol;
    return CCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

namespace {

// The index along one axis under a client coordinate: -1 outside.
int IndexFromCoordinate(const CGridSizeArray& sizes, int fixedCount, int firstScrolled, int pos, bool allowFixed)
{
    const int fixedSize = sizes.Sum(0, fixedCount);
    if (pos < 0 || (!allowFixed && pos < fixedSize))
        return -1;
    if (pos < fixedSize) {
        int edge = 0;
        for (int i = 0; i < fixedCount; ++i) {
            edge += sizes.Get(i);
            if (edge > pos)
                return i;
        }
        return -1;
    }
    if (firstScrolled < 0)
        return -1;
    // The first index whose right (bottom) edge lies beyond pos: the running sum from the
    // scrolled one reaches the offset first after adding it.
    const int offset = pos - fixedSize + 1;
    if (sizes.Sum(firstScrolled, sizes.Count()) < offset)
        return -1;
    return sizes.IndexAtOffset(firstScrolled, offset, sizes.Count()) - 1;
}

}  // namespace

CCellID CGridCtrl::CellFromPoint(const CGridPoint& point, bool allowFixed)
{
    const CCellID topLeft = GetScrolledTopLeftCell();
    if (!allowFixed && !IsValid(topLeft))
        return CCellID();
    const int col = IndexFromCoordinate(m_arColWidths, m_nFixedCols, topLeft.col, point.x, allowFixed);
    const int row = IndexFromCoordinate(m_arRowHeights, m_nFixedRows, topLeft.row, point.y, allowFixed);
    return CCellID(row, col);
}

bool CGridCtrl::GetCellOrigin(int row, int col, CGridPoint& origin)
{
    if (!IsValid(row, col))
        return false;
    CCellID topLeft;
    if (row >= m_nFixedRows || col >= m_nFixedCols) {
        topLeft = GetScrolledTopLeftCell();
        if ((col >= m_nFixedCols && col < topLeft.col) || (row >= m_nFixedRows && row < topLeft.row))
            return false;
    }
    origin.x = col < m_nFixedCols ? m_arColWidths.Sum(0, col) : GetFixedColumnsWidth() + m_arColWidths.Sum(topLeft.col, col);
    origin.y = row < m_nFixedRows ? m_arRowHeights.Sum(0, row) : GetFixedRowsHeight() + m_arRowHeights.Sum(topLeft.row, row);
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, CGridRect& rect)
{
    CGridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    rect = CGridRect{origin.x, origin.y, origin.x + m_arColWidths.Get(col) - 1, origin.y + m_arRowHeights.Get(row) - 1};
    return true;
}

bool CGridCtrl::GetCellTextRect(int row, int col, CGridRect& rect)
{
    const CGridCellBase* cell = GetCell(row, col);
    if (!cell || !GetCellRect(row, col, rect))
        return false;
    return cell->GetTextRect(rect);
}

bool CGridCtrl::GetRangeRect(const CCellRange& range, CGridRect& rect)
{
    CGridPoint topLeft;
    CGridPoint bottomRight;
    if (!GetCellOrigin(range.GetMinRow(), range.GetMinCol(), topLeft) ||
        !GetCellOrigin(range.GetMaxRow(), range.GetMaxCol(), bottomRight))
        return false;
    rect = CGridRect{topLeft.x, topLeft.y, bottomRight.x + m_arColWidths.Get(range.GetMaxCol()) - 1,
                     bottomRight.y + m_arRowHeights.Get(range.GetMaxRow()) - 1};
    return true;
}

bool CGridCtrl::IsOnRowBorder(const CGridPoint& point)
{
    if (point.x >= GetFixedColumnsWidth())
        return false;
    const CCellID cell = CellFromPoint(point, true);
    CGridPoint origin;
    if (!GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int height = m_arRowHeights.Get(cell.row);
    return (point.y < origin.y + m_nResizeCaptureRange && cell.row != 0) ||
           (point.y > origin.y + height - m_nResizeCaptureRange);
}

bool CGridCtrl::IsOnColumnBorder(const CGridPoint& point)
{
    if (point.y >= GetFixedRowsHeight())
        return false;
    const CCellID cell = CellFromPoint(point, true);
    CGridPoint origin;
    if (!GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int width = m_arColWidths.Get(cell.col);
    return (point.x < origin.x + m_nResizeCaptureRange && cell.col != 0) ||
           (point.x > origin.x + width - m_nResizeCaptureRange);
}

bool CGridCtrl::IsCellOnScreen(int row, int col)
{
    CGridPoint origin;
    if (!WindowExists() || !GetCellOrigin(row, col, origin))
        return false;
    const CGridSize client = ClientSize();
    return origin.x < client.cx && origin.y < client.cy;
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

int CGridCtrl::GetScrollPosition(int bar)
{
    FlushScrollBars();
    return bar == SB_HORZ ? m_nHScrollPos : m_nVScrollPos;
}

int CGridCtrl::GetScrollMax(int bar)
{
    FlushScrollBars();
    return bar == SB_HORZ ? m_nHScrollMax : m_nVScrollMax;
}

bool CGridCtrl::IsHorizontalBarShown()
{
    FlushScrollBars();
    return m_nBarState & 1;
}

bool CGridCtrl::IsVerticalBarShown()
{
    FlushScrollBars();
    return m_nBarState & 2;
}

void CGridCtrl::SetScrollPosition(int bar, int position)
{
    FlushScrollBars();
    InvalidateTopLeft();
    const int max = bar == SB_HORZ ? m_nHScrollMax : m_nVScrollMax;
    position = std::clamp(position, 0, std::max(max, 0));
    (bar == SB_HORZ ? m_nHScrollPos : m_nVScrollPos) = position;
    if (m_pPort)
        m_pPort->SetScrollPos(bar, position);
}

void CGridCtrl::ShowScrollBars(int bar, bool show)
{
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != b && bar != SB_BOTH)
            continue;
        const int bit = b == SB_HORZ ? 1 : 2;
        if (show == static_cast<bool>(m_nBarState & bit))
            continue;
        m_nBarState = show ? (m_nBarState | bit) : (m_nBarState & ~bit);
        if (m_pPort)
            m_pPort->ShowScrollBar(b, show);
    }
}

void CGridCtrl::UpdateScrollBars()
{
    InvalidateTopLeft();
    if (!m_bAllowDraw) {
        // Done when drawing resumes, so the bars follow what changed meanwhile.
        m_bScrollBarsPending = true;
        return;
    }
    ApplyScrollBars();
}

void CGridCtrl::ApplyScrollBars()
{
    m_bScrollBarsPending = false;
    if (!WindowExists())
        return;
    CGridSize client = ClientSize();
    if (client.cx <= 0 || client.cy <= 0)
        return;
    const CGridScrollMetrics metrics = m_pPort->GetScrollMetrics();
    if (m_nBarState & 2)
        client.cx += metrics.vScrollWidth + metrics.borderWidth;
    if (m_nBarState & 1)
        client.cy += metrics.hScrollHeight + metrics.borderHeight;

    const int fixedWidth = GetFixedColumnsWidth();
    const int fixedHeight = GetFixedRowsHeight();
    if (fixedWidth >= client.cx || fixedHeight >= client.cy) {
        ShowScrollBars(SB_BOTH, false);
        return;
    }
    int visibleRight = client.cx;
    int visibleBottom = client.cy;
    const int contentRight = GetTotalWidth();
    const int contentBottom = GetTotalHeight();
    if (visibleBottom < contentBottom)
        visibleRight -= metrics.vScrollWidth;
    if (visibleRight < contentRight)
        visibleBottom -= metrics.hScrollHeight;

    const bool vertical = visibleBottom < contentBottom;
    ShowScrollBars(SB_VERT, vertical);
    m_nVScrollMax = vertical ? contentBottom - fixedHeight - 1 : 0;
    const bool horizontal = visibleRight < contentRight;
    ShowScrollBars(SB_HORZ, horizontal);
    m_nHScrollMax = horizontal ? contentRight - fixedWidth - 1 : 0;

    m_pPort->SetScrollRange(SB_HORZ, m_nHScrollMax, m_nHScrollMax > 0 ? visibleRight - fixedWidth : 0);
    m_pPort->SetScrollRange(SB_VERT, m_nVScrollMax, m_nVScrollMax > 0 ? visibleBottom - fixedHeight : 0);
    // Positions beyond a range that shrank.
    if (m_nHScrollPos > m_nHScrollMax)
        SetScrollPosition(SB_HORZ, m_nHScrollMax);
    if (m_nVScrollPos > m_nVScrollMax)
        SetScrollPosition(SB_VERT, m_nVScrollMax);
}
