// Focus cell, selection, clipboard text, search and sorting of the grid core.
#include "grid/GridCtrl.h"

#include "grid/GridCellBase.h"
#include "grid/GridPort.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Focus and selection

void CGridCtrl::RedrawFixedCells(int row, int col, bool rowChanged, bool colChanged)
{
    if (!m_bTrackFocusCell)
        return;
    if (colChanged)
        for (int r = 0; r < m_nFixedRows; ++r)
            RedrawCell(r, col);
    if (rowChanged)
        for (int c = 0; c < m_nFixedCols; ++c)
            RedrawCell(row, c);
}

CCellID CGridCtrl::SetFocusCell(CCellID cell)
{
    if (cell == m_idCurrentCell)
        return m_idCurrentCell;
    const CCellID previous = m_idCurrentCell;
    if (cell.row != -1 && cell.row < m_nFixedRows)
        cell.row = m_nFixedRows;
    if (cell.col != -1 && cell.col < m_nFixedCols)
        cell.col = m_nFixedCols;
    // A grid of fixed cells alone, or a cell beyond it, has no focus cell.
    if (!IsValid(cell))
        cell = CCellID();
    if (cell == previous)
        return previous;
    m_idCurrentCell = cell;

    if (IsValid(previous)) {
        SetItemState(previous.row, previous.col, GetItemState(previous.row, previous.col) & ~CELLSTATE_FOCUSED);
        RedrawCell(previous.row, previous.col);
        RedrawFixedCells(previous.row, previous.col, previous.row != cell.row, previous.col != cell.col);
    }
    if (IsValid(m_idCurrentCell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | CELLSTATE_FOCUSED);
        RedrawCell(cell.row, cell.col);
        RedrawFixedCells(cell.row, cell.col, previous.row != cell.row, previous.col != cell.col);
    }
    return previous;
}

void CGridCtrl::SetSelectedRange(const CCellRange& range, bool forceRepaint, bool selectCells)
{
    SetSelectedRange(range.GetMinRow(), range.GetMinCol(), range.GetMaxRow(), range.GetMaxCol(), forceRepaint,
                     selectCells);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool, bool selectCells)
{
    if (!m_bEnableSelection)
        return;
    const CCellRange visible = WindowExists() ? GetVisibleCellRange() : CCellRange();
    if (minRow >= 0 && minRow < m_nFixedRows)
        minRow = m_nFixedRows;
    if (maxRow >= 0 && maxRow < m_nFixedRows)
        maxRow = m_nFixedRows;
    if (minCol >= 0 && minCol < m_nFixedCols)
        minCol = m_nFixedCols;
    if (maxCol >= 0 && maxCol < m_nFixedCols)
        maxCol = m_nFixedCols;
    const CCellRange range(minRow, minCol, maxRow, maxCol);
    const bool allSet = minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0;

    if (selectCells) {
        const SelectionMap current = m_SelectedCellMap;
        for (const auto& [key, cell] : current) {
            if (!IsValid(cell)) {
                m_SelectedCellMap.erase(key);
                continue;
            }
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~CELLSTATE_SELECTED);
            // Virtual mode keeps no state in cells; the map is the selection.
            m_SelectedCellMap.erase(key);
            if (!range.InRange(cell) && visible.InRange(cell))
                InvalidateCell(cell.row, cell.col);
        }
        if (!GetSingleRowSelection() && allSet) {
            for (const auto& [key, cell] : m_PrevSelectedCellMap) {
                if (!IsValid(cell))
                    continue;
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | CELLSTATE_SELECTED);
                if (visible.InRange(cell))
                    InvalidateCell(cell.row, cell.col);
            }
        }
    }

    if (allSet && maxRow < m_nRows && maxCol < m_nCols && minRow <= maxRow && minCol <= maxCol) {
        for (int row = minRow; row <= maxRow; ++row)
            for (int col = minCol; col <= maxCol; ++col) {
                const bool selected = IsCellInSelection(row, col);
                if (selected == selectCells)
                    continue;
                const std::uint32_t state = GetItemState(row, col);
                SetItemState(row, col, selectCells ? (state | CELLSTATE_SELECTED) : (state & ~CELLSTATE_SELECTED));
                if (visible.InRange(row, col))
                    InvalidateCell(row, col);
            }
    }
}

void CGridCtrl::SelectAllCells()
{
    if (m_bEnableSelection)
        SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1, false, true);
}

void CGridCtrl::SelectColumns(CCellID cell, bool forceRepaint, bool selectCells)
{
    if (!m_bEnableSelection || cell.col < m_nFixedCols || !IsValid(cell))
        return;
    const int first = m_bSingleColSelection ? cell.col : std::min(m_idSelectionStart.col, cell.col);
    const int last = m_bSingleColSelection ? cell.col : std::max(m_idSelectionStart.col, cell.col);
    SetSelectedRange(m_nFixedRows, first, m_nRows - 1, last, forceRepaint, selectCells);
}

void CGridCtrl::SelectRows(CCellID cell, bool forceRepaint, bool selectCells)
{
    if (!m_bEnableSelection || cell.row < m_nFixedRows || !IsValid(cell))
        return;
    const bool single = GetSingleRowSelection();
    const int first = single ? cell.row : std::min(m_idSelectionStart.row, cell.row);
    const int last = single ? cell.row : std::max(m_idSelectionStart.row, cell.row);
    SetSelectedRange(first, m_nFixedCols, last, m_nCols - 1, forceRepaint, selectCells);
}

void CGridCtrl::SelectCells(CCellID cell, bool forceRepaint, bool selectCells)
{
    if (!m_bEnableSelection || cell.row < m_nFixedRows || cell.col < m_nFixedCols || !IsValid(cell))
        return;
    SetSelectedRange(std::min(m_idSelectionStart.row, cell.row), std::min(m_idSelectionStart.col, cell.col),
                     std::max(m_idSelectionStart.row, cell.row), std::max(m_idSelectionStart.col, cell.col),
                     forceRepaint, selectCells);
}

void CGridCtrl::OnSelecting(const CCellID& cell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
    case MouseSelectAll: SelectAllCells(); break;
    case MouseSelectColumn: SelectColumns(cell, false, true); break;
    case MouseSelectRow: SelectRows(cell, false, true); break;
    case MouseSelectCells: SelectCells(cell, false, true); break;
    default: break;
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    CCellRange range(m_nRows, m_nCols, -1, -1);
    for (const auto& entry : m_SelectedCellMap) {
        const CCellID& cell = entry.second;
        range.SetMinRow(std::min(range.GetMinRow(), cell.row));
        range.SetMinCol(std::min(range.GetMinCol(), cell.col));
        range.SetMaxRow(std::max(range.GetMaxRow(), cell.row));
        range.SetMaxCol(std::max(range.GetMaxCol(), cell.col));
    }
    return range;
}

void CGridCtrl::ClearSelection()
{
    ClearSelectedCells();
    SetFocusCell(-1, -1);
}

void CGridCtrl::ClearSelectedCells()
{
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1, false, true);
}

bool CGridCtrl::IsCellInSelection(int row, int col) const
{
    if (!m_bEnableSelection)
        return false;
    if (m_bVirtualMode)
        return m_SelectedCellMap.count(SelectionKey(row, col)) != 0;
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsSelected();
}

// ---------------------------------------------------------------------------------------------
// Texts on the user's behalf and the clipboard

int CGridCtrl::SetCellTextByUser(int row, int col, const std::string& text)
{
    if (!CanEditCell(row, col))
        return 0;
    const long reply = Notify(GridNotifyBeginEdit, row, col);
    if (reply < 0)
        return static_cast<int>(reply);
    ApplyUserText(row, col, text);
    return 0;
}

void CGridCtrl::ClearCells(const CCellRange& range)
{
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row)
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col)
            if (GetRowHeight(row) > 0 && GetColumnWidth(col) > 0)
                SetCellTextByUser(row, col, "");
    RedrawAll();
}

void CGridCtrl::CutSelectedText()
{
    if (!m_bEditable)
        return;
    const SelectionMap selected = m_SelectedCellMap;
    for (const auto& entry : selected)
        SetCellTextByUser(entry.second.row, entry.second.col, "");
}

bool CGridCtrl::CopyTextFromGrid(std::string& text)
{
    text.clear();
    const CCellRange range = GetSelectedCellRange();
    if (!IsValid(range))
        return false;
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(range);
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        if (m_arRowHeights.Get(row) <= 0)
            continue;
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (m_arColWidths.Get(col) <= 0)
                continue;
            const CGridCellBase* cell = GetCell(row, col);
            if (cell && cell->IsSelected())
                text += cell->GetText();
            if (col != range.GetMaxCol())
                text += '\t';
        }
        if (row != range.GetMaxRow())
            text += '\n';
    }
    if (m_bVirtualMode && m_pPort)
        m_pPort->SendCacheHint(CCellRange());
    return true;
}

bool CGridCtrl::PasteTextToGrid(CCellID cell, const std::string& text, bool selectPastedCells)
{
    if (!IsValid(cell) || !CanEditCell(cell.row, cell.col))
        return false;
    CCellRange pasted(cell.row, cell.col, -1, -1);

    std::size_t lineStart = 0;
    int row = cell.row;
    while (lineStart < text.size() && row >= 0 && row < m_nRows) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        // Hidden rows take no line; a line below the last row is dropped.
        if (m_arRowHeights.Get(row) <= 0)
            row = NextVisibleRow(row, 1, 0);
        if (row < 0)
            break;

        int col = cell.col;
        std::size_t pieceStart = 0;
        while (col >= 0 && col < m_nCols) {
            if (m_arColWidths.Get(col) <= 0)
                col = NextVisibleColumn(col, 1, 0);
            if (col < 0)
                break;
            std::size_t pieceEnd = line.find('\t', pieceStart);
            const bool last = pieceEnd == std::string::npos;
            if (last)
                pieceEnd = line.size();
            SetCellTextByUser(row, col, Trimmed(line.substr(pieceStart, pieceEnd - pieceStart)));
            SetItemState(row, col, GetItemState(row, col) & ~CELLSTATE_SELECTED);
            pasted.SetMaxRow(std::max(pasted.GetMaxRow(), row));
            pasted.SetMaxCol(std::max(pasted.GetMaxCol(), col));
            if (last)
                break;
            pieceStart = pieceEnd + 1;
            ++col;
        }
        ++row;
    }

    if (selectPastedCells) {
        SetSelectedRange(pasted, true, true);
    } else {
        ClearSelection();
        RedrawAll();
    }
    return true;
}

CCellID CGridCtrl::GetPasteTarget()
{
    const CCellRange selected = GetSelectedCellRange();
    if (IsValid(selected))
        return CCellID(selected.GetMinRow(), selected.GetMinCol());
    if (IsValid(m_idCurrentCell))
        return m_idCurrentCell;
    const CCellID topLeft = GetScrolledTopLeftCell();
    return IsValid(topLeft) ? topLeft : CCellID();
}

// ---------------------------------------------------------------------------------------------
// Search

CCellID CGridCtrl::FindNextCell(CCellID start, int flags) const
{
    std::uint32_t wanted = 0;
    if (flags & GVNI_FOCUSED)
        wanted |= CELLSTATE_FOCUSED;
    if (flags & GVNI_SELECTED)
        wanted |= CELLSTATE_SELECTED;
    if (flags & GVNI_DROPHILITED)
        wanted |= CELLSTATE_DROPHILITED;
    if (flags & GVNI_READONLY)
        wanted |= CELLSTATE_READONLY;
    if (flags & GVNI_FIXED)
        wanted |= CELLSTATE_FIXED;
    if (flags & GVNI_MODIFIED)
        wanted |= CELLSTATE_MODIFIED;
    auto matches = [&](int row, int col) { return (GetItemState(row, col) & wanted) != 0; };
    if (!wanted)
        return CCellID();

    const int startRow = start.row < 1 ? m_nFixedRows : start.row;
    const int startCol = start.col < 1 ? m_nFixedCols : start.col + 1;
    if ((flags & GVNI_ALL) == GVNI_ALL) {
        int col = startCol;
        for (int row = startRow; row < m_nRows; ++row, col = m_nFixedCols)
            for (; col < m_nCols; ++col)
                if (matches(row, col))
                    return CCellID(row, col);
        return CCellID();
    }
    if ((flags & (GVNI_BELOW | GVNI_TORIGHT)) == (GVNI_BELOW | GVNI_TORIGHT)) {
        for (int row = startRow; row < m_nRows; ++row)
            for (int col = startCol; col < m_nCols; ++col)
                if (matches(row, col))
                    return CCellID(row, col);
        return CCellID();
    }
    if (flags & GVNI_ABOVE) {
        for (int row = start.row - 1; row >= m_nFixedRows; --row)
            if (matches(row, start.col))
                return CCellID(row, start.col);
    } else if (flags & GVNI_BELOW) {
        for (int row = start.row + 1; row < m_nRows; ++row)
            if (matches(row, start.col))
                return CCellID(row, start.col);
    } else if (flags & GVNI_TOLEFT) {
        for (int col = start.col - 1; col >= m_nFixedCols; --col)
            if (matches(start.row, col))
                return CCellID(start.row, col);
    } else if (flags & GVNI_TORIGHT) {
        for (int col = start.col + 1; col < m_nCols; ++col)
            if (matches(start.row, col))
                return CCellID(start.row, col);
    }
    return CCellID();
}

// ---------------------------------------------------------------------------------------------
// Sorting

int CGridCtrl::CompareCellText(const CGridCellBase* cell1, const CGridCellBase* cell2, std::intptr_t)
{
    if (!cell1 || !cell2)
        return 0;
    return std::strcmp(cell1->GetText().c_str(), cell2->GetText().c_str());
}

int CGridCtrl::CompareCellNumbers(const CGridCellBase* cell1, const CGridCellBase* cell2, std::intptr_t)
{
    if (!cell1 || !cell2)
        return 0;
    const long a = std::atol(cell1->GetText().c_str());
    const long b = std::atol(cell2->GetText().c_str());
    return a < b ? -1 : (a > b ? 1 : 0);
}

void CGridCtrl::SetSortedColumn(int col)
{
    if (m_nSortColumn >= 0)
        InvalidateCell(0, m_nSortColumn);
    m_nSortColumn = col;
    if (col >= 0)
        InvalidateCell(0, col);
}

bool CGridCtrl::SortByText(int col, bool ascending, std::intptr_t data)
{
    return SortWithFunction(CompareCellText, col, ascending, data);
}

bool CGridCtrl::SortByColumn(int col, bool ascending, std::intptr_t data)
{
    return SortWithFunction(m_pfnCompare ? m_pfnCompare : CompareCellText, col, ascending, data);
}

bool CGridCtrl::SortWithFunction(GridCompareFunction compare, int col, bool ascending, std::intptr_t data)
{
    EndCellEdit();
    SetSortedColumn(col);
    m_bAscending = ascending;
    ClearSelection();
    SetFocusCell(-1, -1);
    return SortRowRange(compare, col, ascending, data, m_nFixedRows, -1);
}

namespace {

// One row of a sort: its cell in the sorted column, a key that orders it as the grid's own
// comparison would (the number CompareCellNumbers reads, or the first eight bytes of the text
// for CompareCellText), and where the row stood.
struct SortEntry {
    const CGridCellBase* cell;
    long number;
    std::uint64_t prefix;
    int row;
};

// The first eight bytes of the text, big-endian and zero-padded: two prefixes that differ
// order their texts as strcmp does; equal ones leave it to strcmp.
std::uint64_t TextPrefix(const std::string& text)
{
    std::uint64_t prefix = 0;
    const std::size_t length = strnlen(text.c_str(), 8);
    for (std::size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < length ? static_cast<unsigned char>(text[i]) : 0u);
    return prefix;
}

// The partition sort of the grid on the entries of one range: the pivot is the middle entry
// as it stood, equal entries are not exchanged. The larger part is sorted in the loop and the
// smaller by recursion, so the depth stays logarithmic whatever the order of the rows.
template <typename Compare>
void SortEntries(std::vector<SortEntry>& entries, int low, int high, bool ascending, const Compare& compare)
{
    while (low < high) {
        const SortEntry pivot = entries[static_cast<std::size_t>((low + high) / 2)];
        int lo = low;
        int hi = high;
        auto at = [&](int i) -> const SortEntry& { return entries[static_cast<std::size_t>(i)]; };
        while (lo <= hi) {
            if (ascending) {
                while (lo < high && compare(at(lo), pivot) < 0)
                    ++lo;
                while (hi > low && compare(at(hi), pivot) > 0)
                    --hi;
            } else {
                while (lo < high && compare(at(lo), pivot) > 0)
                    ++lo;
                while (hi > low && compare(at(hi), pivot) < 0)
                    --hi;
            }
            if (lo <= hi) {
                if (compare(at(lo), at(hi)) != 0)
                    std::swap(entries[static_cast<std::size_t>(lo)], entries[static_cast<std::size_t>(hi)]);
                ++lo;
                --hi;
            }
        }
        if (hi - low < high - lo) {
            SortEntries(entries, low, hi, ascending, compare);
            low = lo;
        } else {
            SortEntries(entries, lo, high, ascending, compare);
            high = hi;
        }
    }
}

}  // namespace

bool CGridCtrl::SortRowRange(GridCompareFunction compare, int col, bool ascending, std::intptr_t data, int low,
                             int high)
{
    // In virtual mode every lookup gives the one display cell: there are no rows to move.
    if (!compare || m_bVirtualMode || col < 0 || col >= m_nCols)
        return false;
    if (high == -1)
        high = m_nRows - 1;
    if (low < 0 || high >= m_nRows || low >= high)
        return false;
    if (m_idEditCell.IsValid())
        EndCellEdit();

    // The rows are ordered as entries side by side and moved once at the end: far fewer trips
    // through memory than exchanging the rows themselves at every step.
    const bool numbers = compare == CompareCellNumbers;
    const bool texts = compare == CompareCellText;
    std::vector<SortEntry> entries;
    entries.reserve(static_cast<std::size_t>(high - low + 1));
    for (int row = low; row <= high; ++row) {
        const CGridCellBase* cell = m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].get();
        SortEntry entry{cell, 0, 0, row};
        if (cell && numbers)
            entry.number = std::atol(cell->GetText().c_str());
        if (cell && texts)
            entry.prefix = TextPrefix(cell->GetText());
        entries.push_back(entry);
    }
    const int last = high - low;
    if (numbers) {
        SortEntries(entries, 0, last, ascending, [](const SortEntry& a, const SortEntry& b) {
            if (!a.cell || !b.cell)
                return 0;
            return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
        });
    } else if (texts) {
        SortEntries(entries, 0, last, ascending, [](const SortEntry& a, const SortEntry& b) {
            if (!a.cell || !b.cell)
                return 0;
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix ? -1 : 1;
            return CompareCellText(a.cell, b.cell, 0);
        });
    } else {
        SortEntries(entries, 0, last, ascending,
                    [&](const SortEntry& a, const SortEntry& b) { return compare(a.cell, b.cell, data); });
    }

    std::vector<std::vector<std::unique_ptr<CGridCellBase>>> rows;
    std::vector<int> heights;
    rows.reserve(entries.size());
    heights.reserve(entries.size());
    for (const SortEntry& entry : entries) {
        rows.push_back(std::move(m_RowData[static_cast<std::size_t>(entry.row)]));
        heights.push_back(m_arRowHeights.Get(entry.row));
    }
    for (int i = 0; i <= last; ++i) {
        const int row = low + i;
        const bool moved = entries[static_cast<std::size_t>(i)].row != row;
        m_RowData[static_cast<std::size_t>(row)] = std::move(rows[static_cast<std::size_t>(i)]);
        m_arRowHeights.Set(row, heights[static_cast<std::size_t>(i)]);
        if (!moved)
            continue;
        auto& cells = m_RowData[static_cast<std::size_t>(row)];
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (cells[c])
                cells[c]->SetCoords(row, static_cast<int>(c));
    }
    return true;
}

void CGridCtrl::SetListMode(bool on)
{
    ClearSelection();
    SetSortedColumn(-1);
    m_bListMode = on;
    m_bFixedColumnSelection = false;
    RedrawAll();
}
