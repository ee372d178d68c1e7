// Keyboard, scroll bars, wheel, mouse and the clipboard commands of the grid: what a key, a
// scroll request or a mouse event does to the focus cell, the selection, sizes and scroll
// positions. The window hands the events over in client pixels.
#include "grid/GridCellBase.h"
#include "grid/GridCtrl.h"
#include "grid/GridPort.h"
#include "grid/GridTextMeasurer.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kWheelDelta = 120;

bool IsMovingKey(int key)
{
    return key == GridKeyTab || (key >= GridKeyPageUp && key <= GridKeyDown);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Keyboard

bool CGridCtrl::OnKeyDown(int key, bool shift, bool ctrl)
{
    if (!IsValid(m_idCurrentCell))
        return false;
    const CCellID focus = m_idCurrentCell;
    CCellID next = focus;
    bool wrapped = false;
    bool handled = true;

    if (ctrl) {
        if (key == GridKeyInsert || key == 'C')
            OnEditCopy();
        else if (key == 'A')
            OnEditSelectAll();
        else if (key == 'V')
            OnEditPaste();
        else if (key == 'X')
            OnEditCut();
    } else if (shift && key == GridKeyInsert) {
        OnEditPaste();
    }

    const int lastRow = m_nRows - 1;
    const int lastCol = m_nCols - 1;
    switch (key) {
    case GridKeyDelete:
        CutSelectedText();
        break;
    case GridKeyDown:
    case GridKeyTab:
        if (key == GridKeyTab && shift) {
            // Shift+Tab: one column left, from the first column to the end of the row above.
            const int col = NextVisibleColumn(focus.col, -1, m_nFixedCols);
            const int row = NextVisibleRow(focus.row, -1, m_nFixedRows);
            if (col >= 0) {
                next.col = col;
            } else if (row >= 0) {
                next = CCellID(row, NextVisibleColumn(m_nCols, -1, m_nFixedCols));
                wrapped = true;
            } else {
                handled = false;
            }
            break;
        }
        {
            // Down the column to the next editable cell, else one visible row down.
            CCellID editable = focus;
            FindNextEditableCell(editable, false, true);
            while (CanEditCell(editable.row, editable.col) && m_arRowHeights.Get(editable.row) <= 0 &&
                   editable != CCellID(lastRow, lastCol))
                FindNextEditableCell(editable, false, true);
            if (CanEditCell(editable.row, editable.col) && m_arRowHeights.Get(editable.row) > 0 &&
                m_arColWidths.Get(editable.col) > 0 && editable != focus) {
                next = editable;
            } else {
                const int row = NextVisibleRow(focus.row, 1, m_nFixedRows);
                if (row >= 0)
                    next.row = row;
            }
        }
        break;
    case GridKeyUp: {
        const int row = NextVisibleRow(focus.row, -1, m_nFixedRows);
        if (row >= 0)
            next.row = row;
        break;
    }
    case GridKeyRight: {
        const int col = NextVisibleColumn(focus.col, 1, m_nFixedCols);
        if (col >= 0)
            next.col = col;
        break;
    }
    case GridKeyLeft: {
        const int col = NextVisibleColumn(focus.col, -1, m_nFixedCols);
        if (col >= 0)
            next.col = col;
        break;
    }
    case GridKeyPageDown:
    case GridKeyPageUp: {
        const CCellID before = GetScrolledTopLeftCell(true);
        const bool down = key == GridKeyPageDown;
        OnScroll(SB_VERT, down ? SB_PAGEDOWN : SB_PAGEUP);
        const int moved = GetScrolledTopLeftCell(true).row - before.row;
        if (moved == 0)
            next.row = down ? lastRow : m_nFixedRows;
        else
            next.row = std::clamp(next.row + moved, m_nFixedRows, lastRow);
        break;
    }
    case GridKeyHome:
    case GridKeyEnd: {
        const bool home = key == GridKeyHome;
        OnScroll(SB_HORZ, home ? SB_TOP : SB_BOTTOM);
        if (ctrl)
            OnScroll(SB_VERT, home ? SB_TOP : SB_BOTTOM);
        // The first (last) visible column, and with Ctrl the first (last) visible row.
        const int col = home ? NextVisibleColumn(m_nFixedCols - 1, 1, m_nFixedCols)
                             : NextVisibleColumn(m_nCols, -1, m_nFixedCols);
        if (col >= 0)
            next.col = col;
        if (ctrl) {
            const int row = home ? NextVisibleRow(m_nFixedRows - 1, 1, m_nFixedRows)
                                 : NextVisibleRow(m_nRows, -1, m_nFixedRows);
            if (row >= 0)
                next.row = row;
        }
        break;
    }
    case GridKeyF2:
        BeginCellEdit(focus.row, focus.col, GridKeyLButton);
        break;
    case GridKeySpace:
        if (GetItemState(focus.row, focus.col) & CELLSTATE_READONLY) {
            Notify(GridNotifyDblClick, focus.row, focus.col);
            break;
        }
        return false;
    default:
        return ctrl && (key == GridKeyInsert || key == 'C' || key == 'A' || key == 'V' || key == 'X');
    }

    if (next != focus)
        MoveFocusByKey(next, key, shift && key != GridKeyTab, wrapped);
    return handled;
}

void CGridCtrl::MoveFocusByKey(CCellID next, int key, bool shift, bool wrapped)
{
    // Onto the next editable cell along the rows when there is one; a read-only grid keeps
    // the key's own target.
    CCellID editable = next;
    FindNextEditableCell(editable, true, false);
    if (CanEditCell(editable.row, editable.col) && m_arRowHeights.Get(editable.row) > 0 &&
        m_arColWidths.Get(editable.col) > 0)
        next = editable;

    if (m_MouseMode == MouseIdle) {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? MouseSelectRow : MouseSelectCells;
        if (!shift)
            m_idSelectionStart = next;
        Notify(GridNotifySelChanging, next.row, next.col);
        OnSelecting(next);
        Notify(GridNotifySelChanged, next.row, next.col);
        m_MouseMode = MouseIdle;
    }
    SetFocusCell(next);
    if (!IsCellOnScreen(next.row, next.col)) {
        if (wrapped && key == GridKeyTab)
            SetScrollPosition(SB_HORZ, GetScrollMax(SB_HORZ));
        ScrollCellIntoView(next.row, next.col);
        if (m_pPort)
            m_pPort->InvalidateAll();
    }
    ScrollCellIntoView(next.row, next.col);
}

void CGridCtrl::OnChar(unsigned character, bool ctrl)
{
    if (ctrl || m_MouseMode != MouseIdle || character == GridKeyEscape ||
        (character == GridKeyTab && m_bHandleTabKey))
        return;
    BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, character);
}

void CGridCtrl::OnEditorEnded(int row, int col, const std::string& text, int key)
{
    OnCellEditEnded(row, col, text);
    if (!IsMovingKey(key))
        return;
    OnKeyDown(key, false, false);
    BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, static_cast<unsigned>(key));
}

// ---------------------------------------------------------------------------------------------
// Scroll bars and wheel

void CGridCtrl::OnScroll(int bar, int code, int trackPosition)
{
    EndCellEdit();
    if (m_pPort)
        m_pPort->HideTitleTip();
    if (code > SB_BOTTOM)
        return;
    const bool horizontal = bar == SB_HORZ;
    const CGridSizeArray& sizes = horizontal ? m_arColWidths : m_arRowHeights;
    const int fixedCount = horizontal ? m_nFixedCols : m_nFixedRows;
    const int max = GetScrollMax(bar);
    const int p = GetScrollPosition(bar);
    const CCellID topLeft = GetScrolledTopLeftCell(true);
    const int topIndex = horizontal ? topLeft.col : topLeft.row;
    const CGridSize client = ClientSize();
    const int page = horizontal ? client.cx - GetFixedColumnsWidth() : client.cy - GetFixedRowsHeight();

    int position = p;
    switch (code) {
    case SB_LINEUP:
        if (p > 0 && topIndex > fixedCount) {
            const int index = horizontal ? NextVisibleColumn(topIndex, -1, fixedCount)
                                         : NextVisibleRow(topIndex, -1, fixedCount);
            position = std::max(p - (index >= 0 ? sizes.Get(index) : 0), 0);
        }
        break;
    case SB_LINEDOWN:
        if (p < max && topIndex >= 0) {
            int index = topIndex;
            if (sizes.Get(index) <= 0)
                index = horizontal ? NextVisibleColumn(index, 1, fixedCount) : NextVisibleRow(index, 1, fixedCount);
            if (index >= 0)
                position = p + sizes.Get(index);
        }
        break;
    case SB_PAGEUP:
        if (p >= 1)
            position = std::max(p - page, 0);
        break;
    case SB_PAGEDOWN:
        if (p < max)
            position = std::min(p + page, max);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = trackPosition;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = max;
        break;
    default:
        break;
    }
    if (position == p)
        return;
    SetScrollPosition(bar, position);
    if (GetScrollPosition(bar) != p && m_pPort)
        m_pPort->InvalidateAll();
}

void CGridCtrl::OnMouseWheel(int delta)
{
    // A turn the other way starts afresh.
    if ((delta > 0 && m_nWheelRemainder < 0) || (delta < 0 && m_nWheelRemainder > 0))
        m_nWheelRemainder = 0;
    const bool pages = m_nRowsPerWheelNotch == -1;
    const int total = m_nWheelRemainder + delta * (pages ? 1 : m_nRowsPerWheelNotch);
    const int steps = total / kWheelDelta;
    m_nWheelRemainder = total - steps * kWheelDelta;
    const int code = steps > 0 ? (pages ? SB_PAGEUP : SB_LINEUP) : (pages ? SB_PAGEDOWN : SB_LINEDOWN);
    for (int i = 0; i < std::abs(steps); ++i)
        OnScroll(SB_VERT, code);
}

// ---------------------------------------------------------------------------------------------
// Mouse

CGridPoint CGridCtrl::GetPointInCell(int row, int col, const CGridPoint& point)
{
    CGridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return CGridPoint{};
    return CGridPoint{point.x - origin.x, point.y - origin.y};
}

namespace {
bool Contains(const CGridRect& r, const CGridPoint& p)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}
} // namespace

void CGridCtrl::TestDividers(const CGridPoint& point)
{
    if (m_bAllowColumnResize && IsOnColumnBorder(point))
        m_MouseMode = MouseOverColumnDivider;
    else if (m_bAllowRowResize && IsOnRowBorder(point))
        m_MouseMode = MouseOverRowDivider;
    else if (m_MouseMode != MouseIdle)
        m_MouseMode = MouseIdle;
}

GridCursor CGridCtrl::GetCursorAt(const CGridPoint& point)
{
    if (m_MouseMode == MouseOverColumnDivider || m_MouseMode == MouseSizingColumn)
        return GridCursorSizeWE;
    if (m_MouseMode == MouseOverRowDivider || m_MouseMode == MouseSizingRow)
        return GridCursorSizeNS;
    GridCursor cursor = GridCursorArrow;
    if (!m_bVirtualMode) {
        const CCellID id = CellFromPoint(point);
        const CGridCellBase* cell = IsValid(id) ? GetCell(id.row, id.col) : nullptr;
        if (cell && !cell->OnSetCursor(cursor))
            cursor = GridCursorArrow;
    }
    return cursor;
}

void CGridCtrl::OnMouseMove(const CGridPoint& point, bool leftDown)
{
    if (!leftDown || m_MouseMode == MouseIdle) {
        TestDividers(point);
        if (m_MouseMode == MouseIdle && (!m_bVirtualMode || m_bTitleTips)) {
            const CCellID id = CellFromPoint(point);
            CGridCellBase* cell = IsValid(id) ? GetCell(id.row, id.col) : nullptr;
            if (cell)
                cell->OnMouseOver();
            CGridRect rect;
            CGridRect tipRect;
            if (m_bTitleTips && cell && !cell->GetTipText().empty() && !cell->IsEditing() &&
                GetCellRect(id.row, id.col, rect) && ((tipRect = rect), cell->GetTipTextRect(tipRect)) && m_pPort) {
                // Only a text the cell cuts off gets a tip; the tip pads it with a space each side.
                const std::string padded = " " + cell->GetTipText() + " ";
                const int width = m_pMeasurer ? m_pMeasurer->TextExtent(padded, cell->GetFont()).cx : 0;
                if (width > tipRect.Width() + 1)
                    m_pPort->ShowTitleTip(tipRect, cell->GetTipText(), cell->GetFont());
                else
                    m_pPort->HideTitleTip();
            } else if (m_pPort) {
                m_pPort->HideTitleTip();
            }
        }
        m_ptLastMouse = point;
        return;
    }
    if (!IsValid(m_idLeftClickDown)) {
        m_ptLastMouse = point;
        return;
    }
    switch (m_MouseMode) {
    case MouseSelectAll:
    case MouseSelectColumn:
    case MouseSelectRow:
    case MouseSelectCells: {
        const CCellID id = CellFromPoint(point);
        if (!IsValid(id))
            return;
        if (id != m_idCurrentCell) {
            OnSelecting(id);
            // Dragging over the headers of whole rows or columns moves the focus along too.
            if ((id.row >= m_nFixedRows && id.col >= m_nFixedCols) || m_MouseMode == MouseSelectColumn ||
                m_MouseMode == MouseSelectRow)
                SetFocusCell(id);
        }
        break;
    }
    case MouseSizingColumn:
    case MouseSizingRow:
        // The tracking line is drawn by the window at the last point.
        if (m_pPort)
            m_pPort->InvalidateAll();
        break;
    default:
        break;
    }
    m_ptLastMouse = point;
}

void CGridCtrl::OnLButtonDown(const CGridPoint& point, bool shift, bool ctrl)
{
    m_bLMouseButtonDown = true;
    m_ptLeftClickDown = point;
    m_idLeftClickDown = CellFromPoint(point);
    if (!IsValid(m_idLeftClickDown))
        return;
    if (!shift)
        m_idSelectionStart = m_idLeftClickDown;
    else if (!IsValid(m_idSelectionStart))
        m_idSelectionStart = m_idCurrentCell;
    EndCellEdit();

    CGridCellBase* cell = GetCell(m_idLeftClickDown.row, m_idLeftClickDown.col);
    bool inText = false;
    if (cell) {
        cell->OnClickDown(GetPointInCell(m_idLeftClickDown.row, m_idLeftClickDown.col, point));
        CGridRect rect;
        if (GetCellRect(m_idLeftClickDown.row, m_idLeftClickDown.col, rect) && cell->GetTextRect(rect))
            inText = Contains(rect, point);
    }
    if (m_idLeftClickDown == m_idCurrentCell && !ctrl && inText &&
        CanEditCell(m_idLeftClickDown.row, m_idLeftClickDown.col)) {
        m_MouseMode = MousePrepareEdit;
        return;
    }
    if (IsCellInSelection(m_idLeftClickDown.row, m_idLeftClickDown.col)) {
        if (ctrl) {
            SetFocusCell(m_idLeftClickDown);
            if (m_bListMode)
                SelectRows(m_idLeftClickDown, true, false);
            else
                SelectCells(m_idLeftClickDown, true, false);
            return;
        }
    } else if (m_MouseMode != MouseOverColumnDivider && m_MouseMode != MouseOverRowDivider) {
        if (m_idLeftClickDown.row >= m_nFixedRows && m_idLeftClickDown.col >= m_nFixedCols)
            SetFocusCell(m_idLeftClickDown);
        else
            SetFocusCell(-1, -1);
    }
    if (m_pPort)
        m_pPort->SetCapture(true);
    // A press that came without a move before it (the pointer warped, a touch) still finds the
    // divider under it.
    if (m_MouseMode == MouseIdle)
        TestDividers(point);

    if (m_MouseMode == MouseOverColumnDivider || m_MouseMode == MouseOverRowDivider) {
        if (StartSizing(point, m_MouseMode == MouseOverColumnDivider))
            m_ptLastMouse = point;
        return;
    }

    Notify(GridNotifySelChanging, m_idLeftClickDown.row, m_idLeftClickDown.col);
    m_PrevSelectedCellMap.clear();
    if (ctrl)
        KeepSelectionForDrag();
    if (m_idLeftClickDown.row < m_nFixedRows) {
        OnHeaderRowClick(m_idLeftClickDown);
    } else if (m_idLeftClickDown.col < m_nFixedCols) {
        OnHeaderColumnClick(m_idLeftClickDown);
    } else {
        m_MouseMode = m_bListMode ? MouseSelectRow : MouseSelectCells;
        OnSelecting(m_idLeftClickDown);
        if (m_pPort) {
            m_pPort->StartTimer(m_nTimerInterval);
            m_bTimerRunning = true;
        }
    }
    m_ptLastMouse = point;
}

bool CGridCtrl::StartSizing(const CGridPoint& point, bool columns)
{
    m_MouseMode = columns ? MouseSizingColumn : MouseSizingRow;
    const CGridSizeArray& sizes = columns ? m_arColWidths : m_arRowHeights;
    const int last = (columns ? m_nCols : m_nRows) - 1;
    const int at = columns ? point.x : point.y;
    const int range = m_nResizeCaptureRange;
    int& index = columns ? m_idLeftClickDown.col : m_idLeftClickDown.row;
    // The index is made invalid where nothing may be sized, so that the release sizes nothing.
    auto stop = [&index] {
        index = -1;
        return false;
    };

    // A hidden (or nearly hidden) last one lies on the far edge of the cells: pressing there
    // drags it visible again instead of sizing the one before it.
    if (last >= 0 && sizes.Get(last) < range) {
        CGridRect visible;
        const CCellRange shown = GetVisibleCellRange(&visible);
        const int edge = columns ? visible.right : visible.bottom;
        if ((columns ? shown.GetMaxCol() : shown.GetMaxRow()) == last && at > edge - range && at < edge + range)
            index = last;
    }
    CGridPoint origin;
    if (!GetCellOrigin(columns ? 0 : index, columns ? index : 0, origin))
        return stop();
    const int offset = at - (columns ? origin.x : origin.y);
    if (!(columns ? m_bAllowHiddenColumnResize : m_bAllowHiddenRowResize)) {
        // Hidden ones between the press and the divider are passed over, never sized.
        const bool onFarEdge = offset >= range;
        if (!(onFarEdge && index == last)) {
            const int before = onFarEdge ? 0 : 1;
            while (index - before >= 0 && sizes.Get(index - before) <= 0)
                --index;
            if (index - before < 0)
                return stop();
        }
    }
    // A press just after a divider sizes the one before it.
    if (offset < range && (index != last || sizes.Get(last) >= range)) {
        --index;
        if (!GetCellOrigin(columns ? 0 : index, columns ? index : 0, origin))
            return stop();
    }
    return true;
}

void CGridCtrl::OnLButtonUp(const CGridPoint& point)
{
    m_bLMouseButtonDown = false;
    if (m_pPort) {
        m_pPort->SetCapture(false);
        if (m_bTimerRunning)
            m_pPort->StopTimer();
    }
    m_bTimerRunning = false;
    const MouseMode mode = m_MouseMode;
    // Every release ends the drag, whatever it finds.
    m_MouseMode = MouseIdle;
    if (mode == MousePrepareEdit) {
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, GridKeyLButton);
    } else if (mode == MouseSizingColumn || mode == MouseSizingRow) {
        const bool columns = mode == MouseSizingColumn;
        CGridPoint origin;
        const bool moved = (point.x != m_ptLeftClickDown.x || point.y != m_ptLeftClickDown.y) &&
                           (point.x != 0 || point.y != 0);
        if (moved && GetCellOrigin(columns ? 0 : m_idLeftClickDown.row, columns ? m_idLeftClickDown.col : 0, origin)) {
            if (columns)
                SetColumnWidth(m_idLeftClickDown.col, std::max(point.x - origin.x, m_bHiddenColUnhide ? 0 : 1));
            else
                SetRowHeight(m_idLeftClickDown.row, std::max(point.y - origin.y, m_bHiddenRowUnhide ? 0 : 1));
            UpdateScrollBars();
        }
        if (m_pPort)
            m_pPort->InvalidateAll();
    } else {
        Notify(GridNotifySelChanged, m_idCurrentCell.row, m_idCurrentCell.col);
        if (IsValid(m_idCurrentCell))
            if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
                cell->OnClick(GetPointInCell(m_idCurrentCell.row, m_idCurrentCell.col, point));
        Notify(GridNotifyClick, m_idLeftClickDown.row, m_idLeftClickDown.col);
    }
    if (IsValid(m_idLeftClickDown) && m_pPort)
        m_pPort->PostClicked();
}

void CGridCtrl::OnLButtonDblClk(const CGridPoint& point)
{
    const CCellID id = CellFromPoint(point);
    if (!IsValid(id))
        return;
    if (m_MouseMode == MouseOverColumnDivider || m_MouseMode == MouseOverRowDivider) {
        const bool columns = m_MouseMode == MouseOverColumnDivider;
        CGridPoint origin;
        if (!GetCellOrigin(columns ? 0 : id.row, columns ? id.col : 0, origin))
            return;
        int index = columns ? id.col : id.row;
        if ((columns ? point.x - origin.x : point.y - origin.y) < m_nResizeCaptureRange)
            --index;
        // Past hidden ones to the one the divider belongs to.
        const int sized = columns ? NextVisibleColumn(index + 1, -1, 0) : NextVisibleRow(index + 1, -1, 0);
        if (sized < 0)
            return;
        if (columns)
            AutoSizeColumn(sized, m_nAutoSizeStyle);
        else
            AutoSizeRow(sized);
        if (m_pPort)
            m_pPort->InvalidateAll();
        return;
    }
    if (m_MouseMode != MouseIdle)
        return;
    const CGridPoint inCell = GetPointInCell(id.row, id.col, point);
    CGridCellBase* cell = GetCell(id.row, id.col);
    bool inText = false;
    CGridRect rect;
    if (cell && GetCellRect(id.row, id.col, rect) && cell->GetTextRect(rect))
        inText = Contains(rect, point);
    if (inText && ((id.row >= m_nFixedRows && id.col >= m_nFixedCols && IsValid(m_idLeftClickDown)) || m_bListMode))
        BeginCellEdit(id.row, id.col, GridKeyLButton);
    if (cell)
        cell->OnDblClick(inCell);
    Notify(GridNotifyDblClick, id.row, id.col);
}

void CGridCtrl::OnRButtonUp(const CGridPoint& point)
{
    const CCellID id = CellFromPoint(point);
    EndCellEdit();
    if (!IsValid(id)) {
        Notify(GridNotifyRClick, -1, -1);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(id.row, m_nFixedRows), std::max(id.col, m_nFixedCols));
    if (CGridCellBase* cell = GetCell(id.row, id.col))
        cell->OnRClick(GetPointInCell(id.row, id.col, point));
    Notify(GridNotifyRClick, id.row, id.col);
}

void CGridCtrl::OnHeaderRowClick(const CCellID& cell)
{
    if (!IsValid(cell))
        return;
    if (m_bHeaderSort) {
        SortByColumn(cell.col, cell.col == m_nSortColumn ? !m_bAscending : true);
        if (m_pPort)
            m_pPort->InvalidateAll();
    }
    if (m_bFixedRowSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? MouseSelectAll : MouseSelectColumn;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnHeaderColumnClick(const CCellID& cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row < m_nFixedRows ? MouseSelectAll : MouseSelectRow;
    OnSelecting(cell);
}

void CGridCtrl::OnAutoScrollTimer(const CGridPoint& cursor)
{
    const CGridSize client = ClientSize();
    const int h = GetFixedRowsHeight();
    const int w = GetFixedColumnsWidth();
    auto select = [this](int x, int y) { OnSelecting(CellFromPoint(CGridPoint{x, y})); };
    if (cursor.y > client.cy) {
        OnKeyDown(GridKeyDown, false, false);
        select(std::clamp(cursor.x, 0, client.cx), client.cy);
    } else if (cursor.y < h) {
        OnKeyDown(GridKeyUp, false, false);
        select(std::clamp(cursor.x, 0, client.cx), h + 1);
    }
    if (cursor.x > client.cx) {
        OnKeyDown(GridKeyRight, false, false);
        select(client.cx, std::clamp(cursor.y, 0, client.cy));
    } else if (cursor.x < w) {
        OnKeyDown(GridKeyLeft, false, false);
        select(w + 1, std::clamp(cursor.y, 0, client.cy));
    }
}

// ---------------------------------------------------------------------------------------------
// Clipboard commands

void CGridCtrl::OnEditCopy()
{
    std::string text;
    if (m_pPort && CopyTextFromGrid(text))
        m_pPort->SetClipboardText(text);
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_bEditable)
        return;
    const CCellID target = GetPasteTarget();
    if (!IsValid(target) || !m_pPort)
        return;
    // While the cell is edited in an edit control, the paste is the editor's.
    if (IsItemEditing(target.row, target.col)) {
        const CGridCellBase* cell = GetCell(target.row, target.col);
        if (!cell)
            return;
        if (cell->GetEditWnd()) {
            m_pPort->PasteIntoEditor();
            return;
        }
    }
    std::string text;
    if (m_pPort->GetClipboardText(text))
        PasteTextToGrid(target, text);
}

bool CGridCtrl::CanEditPaste()
{
    return IsValid(m_idCurrentCell) && CanEditCell(m_idCurrentCell.row, m_idCurrentCell.col) && m_pPort &&
           m_pPort->HasClipboardText();
}

void CGridCtrl::OnEditSelectAll()
{
    Notify(GridNotifySelChanging, m_idLeftClickDown.row, m_idLeftClickDown.col);
    SelectAllCells();
    Notify(GridNotifySelChanged, m_idCurrentCell.row, m_idCurrentCell.col);
}
