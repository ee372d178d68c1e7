// Modified flags, redraw requests, the editing sequence and the text files of the grid core.
#include "grid/GridCtrl.h"

#include "grid/GridCellBase.h"
#include "grid/GridPort.h"
#include "Platform/AtomicFile.h"
#include "Platform/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

// ---------------------------------------------------------------------------------------------
// Modified flags

void CGridCtrl::SetModifiedFlag(bool modified, int row, int col)
{
    if (col < 0 || col == m_nSortColumn)
        SetSortedColumn(-1);
    if (row < 0 || col < 0) {
        m_bModified = modified;
    } else if (modified) {
        SetItemState(row, col, GetItemState(row, col) | CELLSTATE_MODIFIED);
        m_bModified = true;
    } else {
        SetItemState(row, col, GetItemState(row, col) & ~CELLSTATE_MODIFIED);
    }
    if (!m_bModified && !m_bVirtualMode) {
        for (auto& cells : m_RowData)
            for (auto& cell : cells)
                if (cell && cell->IsModified())
                    cell->SetState(cell->GetState() & ~CELLSTATE_MODIFIED);
    }
}

bool CGridCtrl::GetModifiedFlag(int row, int col) const
{
    if (row < 0 || col < 0)
        return m_bModified;
    return GetItemState(row, col) & CELLSTATE_MODIFIED;
}

bool CGridCtrl::CanEditCell(int row, int col) const
{
    return m_bEditable && IsValid(row, col) && !(GetItemState(row, col) & CELLSTATE_READONLY);
}

CGridSize CGridCtrl::GetCellTextExtent(int row, int col, const std::string& text) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextExtent(text) : CGridSize{};
}

// ---------------------------------------------------------------------------------------------
// Redraw

void CGridCtrl::RedrawAll()
{
    if (WindowExists() && m_bAllowDraw)
        m_pPort->InvalidateAll();
}

bool CGridCtrl::InvalidateCell(int row, int col)
{
    if (!WindowExists() || !m_bAllowDraw || !IsValid(row, col) || !IsCellOnScreen(row, col))
        return false;
    CGridRect rect;
    if (!GetCellRect(row, col, rect))
        return false;
    rect.right += 1;
    rect.bottom += 1;
    m_pPort->Invalidate(rect);
    return true;
}

bool CGridCtrl::InvalidateCellRange(const CCellRange& range)
{
    if (!WindowExists() || !m_bAllowDraw)
        return false;
    const CCellRange visible = GetVisibleCellRange();
    const CCellRange both(std::max(range.GetMinRow(), visible.GetMinRow()), std::max(range.GetMinCol(), visible.GetMinCol()),
                          std::min(range.GetMaxRow(), visible.GetMaxRow()), std::min(range.GetMaxCol(), visible.GetMaxCol()));
    CGridRect rect;
    if (!both.IsValid() || !GetRangeRect(both, rect))
        return false;
    rect.right += 1;
    rect.bottom += 1;
    m_pPort->Invalidate(rect);
    return true;
}

bool CGridCtrl::RedrawRow(int row)
{
    bool all = true;
    for (int col = 0; col < m_nCols; ++col)
        all = InvalidateCell(row, col) && all;
    return all;
}

bool CGridCtrl::RedrawColumn(int col)
{
    bool all = true;
    for (int row = 0; row < m_nRows; ++row)
        all = InvalidateCell(row, col) && all;
    return all;
}

void CGridCtrl::SetRedraw(bool allow, bool resetScrollBars)
{
    if (allow && !m_bAllowDraw) {
        m_bAllowDraw = true;
        if (m_bScrollBarsPending)
            UpdateScrollBars();
        RedrawAll();
    }
    m_bAllowDraw = allow;
    if (resetScrollBars)
        UpdateScrollBars();
}

void CGridCtrl::ScrollCellIntoView(int row, int col)
{
    if (!m_bAllowDraw || !WindowExists() || !IsValid(row, col))
        return;
    const CCellID topLeft = GetScrolledTopLeftCell(true);
    // Left or up: the cell becomes the first scrolled one.
    if (col >= m_nFixedCols && col < topLeft.col)
        SetScrollPosition(SB_HORZ, m_arColWidths.Sum(m_nFixedCols, col));
    if (row >= m_nFixedRows && row < topLeft.row)
        SetScrollPosition(SB_VERT, m_arRowHeights.Sum(m_nFixedRows, row));

    // Right or down: one visible column (row) at a time until the cell ends inside the client
    // area or is the first scrolled one.
    const CGridSize client = ClientSize();
    CGridRect rect;
    while (col >= m_nFixedCols && GetCellRect(row, col, rect) && rect.right >= client.cx &&
           rect.left > GetFixedColumnsWidth()) {
        const int next = NextVisibleColumn(GetScrolledTopLeftCell().col, 1, m_nFixedCols);
        const int before = m_nHScrollPos;
        if (next >= 0)
            SetScrollPosition(SB_HORZ, m_arColWidths.Sum(m_nFixedCols, next));
        if (next < 0 || m_nHScrollPos == before)
            break;
    }
    while (row >= m_nFixedRows && GetCellRect(row, col, rect) && rect.bottom >= client.cy &&
           rect.top > GetFixedRowsHeight()) {
        const int next = NextVisibleRow(GetScrolledTopLeftCell().row, 1, m_nFixedRows);
        const int before = m_nVScrollPos;
        if (next >= 0)
            SetScrollPosition(SB_VERT, m_arRowHeights.Sum(m_nFixedRows, next));
        if (next < 0 || m_nVScrollPos == before)
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Editing

void CGridCtrl::BeginCellEdit(int row, int col, unsigned character)
{
    if (m_pPort)
        m_pPort->HideTitleTip();
    if (!IsValid(row, col) || !CanEditCell(row, col))
        return;
    ScrollCellIntoView(row, col);
    CGridRect rect;
    if (!IsCellOnScreen(row, col) || !GetCellRect(row, col, rect))
        return;
    if (Notify(GridNotifyBeginEdit, row, col) < 0)
        return;
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    if (m_idEditCell.IsValid() && m_idEditCell != CCellID(row, col))
        EndCellEdit();
    m_idEditCell = CCellID(row, col);
    if (!cell->Edit(row, col, rect, kInPlaceEditId, character))
        m_idEditCell = CCellID();
}

void CGridCtrl::EndCellEdit()
{
    if (!m_idEditCell.IsValid())
        return;
    const CCellID editing = m_idEditCell;
    if (CGridCellBase* cell = GetCell(editing.row, editing.col))
        cell->EndEdit();
    // An editor that did not report its end is gone all the same.
    if (m_idEditCell == editing) {
        m_idEditCell = CCellID();
        if (CGridCellBase* cell = GetCell(editing.row, editing.col))
            cell->OnEndEdit();
    }
}

void CGridCtrl::OnCellEditEnded(int row, int col, const std::string& text)
{
    // Only the editor the grid opened may write, and only into its own cell.
    if (!m_idEditCell.IsValid() || m_idEditCell != CCellID(row, col))
        return;
    m_idEditCell = CCellID();
    ApplyUserText(row, col, text);
    if (CGridCellBase* cell = GetCell(row, col))
        cell->OnEndEdit();
}

void CGridCtrl::ApplyUserText(int row, int col, const std::string& text)
{
    const std::string old = GetItemText(row, col);
    if (text == old)
        return;
    const bool gridModified = m_bModified;
    const bool cellModified = GetModifiedFlag(row, col);
    const int sortColumn = m_nSortColumn;
    SetItemText(row, col, text);
    if (ValidateCellEdit(row, col, text) && Notify(GridNotifyEndEdit, row, col) >= 0) {
        SetModifiedFlag(true, row, col);
        RedrawCell(row, col);
        return;
    }
    SetItemText(row, col, old);
    SetModifiedFlag(cellModified, row, col);
    m_bModified = gridModified;
    if (sortColumn != m_nSortColumn)
        SetSortedColumn(sortColumn);
}

bool CGridCtrl::ValidateCellEdit(int row, int col, const std::string& text)
{
    CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->ValidateEdit(text) : true;
}

void CGridCtrl::FindNextEditableCell(CCellID& cell, bool byRow, bool advance) const
{
    if (m_nRows == 0 || m_nCols == 0)
        return;
    const CCellID last(m_nRows - 1, m_nCols - 1);
    // One step in reading order; false once past the end of the grid.
    auto step = [&](CCellID& c) {
        if (byRow) {
            if (++c.col >= m_nCols) {
                c.col = m_nFixedCols;
                ++c.row;
            }
            return c.row < m_nRows;
        }
        if (++c.row >= m_nRows) {
            c.row = m_nFixedRows;
            ++c.col;
        }
        return c.col < m_nCols;
    };
    if (advance && !step(cell))
        cell = last;
    while (!(cell.row >= 0 && cell.col >= 0 && CanEditCell(cell.row, cell.col))) {
        if (!step(cell)) {
            cell = last;
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Printing

void CGridCtrl::SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap)
{
    auto keep = [](int& field, int value) {
        if (value >= 0)
            field = value;
    };
    keep(m_printMargins.header, header);
    keep(m_printMargins.footer, footer);
    keep(m_printMargins.left, left);
    keep(m_printMargins.right, right);
    keep(m_printMargins.top, top);
    keep(m_printMargins.bottom, bottom);
    keep(m_printMargins.gap, gap);
}

// ---------------------------------------------------------------------------------------------
// Text files

std::string CGridCtrl::SaveAsTextString(char separator) const
{
    std::string text;
    const int cols = m_nCols;
    for (int row = 0; row < m_nRows; ++row)
        for (int col = 0; col < cols; ++col) {
            if (const CGridCellBase* cell = GetCell(row, col))
                text += cell->GetText();
            text += col == cols - 1 ? '\n' : separator;
        }
    return text;
}

bool CGridCtrl::SaveAsText(const std::string& fileName, char separator, std::string* error)
{
    return CAtomicFile::Write(fileName, SaveAsTextString(separator), error);
}

bool CGridCtrl::LoadFromText(const std::string& fileName, char separator, std::string* error)
{
    if (m_bVirtualMode)
        return false;
    std::string bytes;
    if (!Platform::ReadWholeFile(fileName, bytes)) {
        if (error)
            *error = "Cannot read \"" + fileName + "\": " + std::strerror(errno);
        return false;
    }
    return LoadFromTextString(bytes, separator);
}

bool CGridCtrl::LoadFromTextString(const std::string& text, char separator)
{
    if (m_bVirtualMode)
        return false;
    DeleteAllItems();
    ParseTextFileLines(text, separator);
    AutoSizeColumns();
    return true;
}

void CGridCtrl::ParseTextFileLines(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::size_t lineStart = 0;
    bool first = true;
    // Whole lines however long; nothing after the last line end counts as a line.
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::size_t contentEnd = lineEnd;
        if (contentEnd > lineStart && text[contentEnd - 1] == '\r')
            --contentEnd;
        fields.clear();
        // Searched within the line, so that lines without a separator cost no look at the rest.
        const std::string_view line(text.data() + lineStart, contentEnd - lineStart);
        std::size_t fieldStart = 0;
        while (true) {
            std::size_t fieldEnd = line.find(separator, fieldStart);
            if (fieldEnd == std::string_view::npos)
                fieldEnd = line.size();
            fields.emplace_back(line.substr(fieldStart, fieldEnd - fieldStart));
            if (fieldEnd == line.size())
                break;
            fieldStart = fieldEnd + 1;
        }
        lineStart = lineEnd + 1;

        if (first) {
            for (const std::string& heading : fields)
                InsertColumn(heading, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
            first = false;
            continue;
        }
        const int row = InsertRow(fields[0], -1);
        if (row < 0)
            continue;
        const std::size_t count = std::min(fields.size(), static_cast<std::size_t>(m_nCols));
        for (std::size_t col = 1; col < count; ++col)
            SetItemText(row, static_cast<int>(col), fields[col]);
    }
}
