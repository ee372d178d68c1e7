#include "grid/GridCtrl.h"

#include "grid/GridCell.h"
#include "grid/GridPort.h"
#include "grid/GridTextMeasurer.h"
#include "Platform/ResourceRegistry.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols)
    : m_pRtcDefault([] { return std::make_unique<CGridCell>(); })
{
    SetupDefaultCells();
    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
    m_bModified = false;
}

CGridCtrl::~CGridCtrl()
{
    m_pPort = nullptr;
    DeleteAllItems();
}

void CGridCtrl::SetupDefaultCells()
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        cell->SetGrid(this);
        cell->SetTextClr(m_sysColours.windowText);
        cell->SetBackClr(cell == &m_cellDefault ? m_sysColours.window : m_sysColours.face3D);
    }
}

void CGridCtrl::SetSystemColours(const CGridSystemColours& colours)
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedRowDef, &m_cellFixedColDef, &m_cellFixedRowColDef}) {
        if (cell->GetTextClr() == m_sysColours.windowText)
            cell->SetTextClr(colours.windowText);
        if (cell->GetBackClr() == m_sysColours.window)
            cell->SetBackClr(colours.window);
    }
    if (m_crGridBkColour == m_sysColours.shadow)
        m_crGridBkColour = colours.shadow;
    m_sysColours = colours;
}

void CGridCtrl::SetTextMeasurer(IGridTextMeasurer* measurer)
{
    m_pMeasurer = measurer;
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->Measure(measurer);
}

void CGridCtrl::SetDefaultFont(const CGridFont& font)
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->SetFont(&font);
    RedrawAll();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol)
{
    if (fixedRow && fixedCol)
        return &m_cellFixedRowColDef;
    if (fixedRow)
        return &m_cellFixedRowDef;
    if (fixedCol)
        return &m_cellFixedColDef;
    return &m_cellDefault;
}

const CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    return const_cast<CGridCtrl*>(this)->GetDefaultCell(fixedRow, fixedCol);
}

long CGridCtrl::Notify(int code, int row, int col) const
{
    return m_pPort ? m_pPort->NotifyOwner(code, row, col) : 0;
}

bool CGridCtrl::IsValid(const CCellRange& range) const
{
    return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 && range.GetMaxCol() >= 0 &&
           range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols && range.GetMinRow() <= range.GetMaxRow() &&
           range.GetMinCol() <= range.GetMaxCol();
}

// ---------------------------------------------------------------------------------------------
// Cells

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    if (!m_pRtcDefault)
        return nullptr;
    std::unique_ptr<CGridCellBase> cell = m_pRtcDefault();
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    if (col < m_nFixedCols)
        cell->SetState(cell->GetState() | CELLSTATE_FIXED | CELLSTATE_FIXEDCOL);
    if (row < m_nFixedRows)
        cell->SetState(cell->GetState() | CELLSTATE_FIXED | CELLSTATE_FIXEDROW);
    cell->SetFormat(cell->GetDefaultCell()->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    SetItemState(row, col, 0);
    m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].reset();
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    if (!m_bVirtualMode) {
        const auto& rowData = m_RowData[static_cast<std::size_t>(row)];
        return static_cast<std::size_t>(col) < rowData.size() ? rowData[static_cast<std::size_t>(col)].get() : nullptr;
    }

    const CGridDefaultCell* def = GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols);
    GridItemInfo info;
    info.row = row;
    info.col = col;
    info.mask = 0xFFFFFFFFu;
    info.nFormat = def->GetFormat();
    info.iImage = def->GetImage();
    info.crBkClr = def->GetBackClr();
    info.crFgClr = def->GetTextClr();
    info.lParam = def->GetData();
    if (def->GetFont()) {
        info.lfFont = *def->GetFont();
        info.hasFont = true;
    }
    info.nMargin = def->GetMargin();
    if (IsCellInSelection(row, col))
        info.nState |= CELLSTATE_SELECTED;
    if (row < m_nFixedRows)
        info.nState |= CELLSTATE_FIXED | CELLSTATE_FIXEDROW;
    if (col < m_nFixedCols)
        info.nState |= CELLSTATE_FIXED | CELLSTATE_FIXEDCOL;
    if (CCellID(row, col) == m_idCurrentCell)
        info.nState |= CELLSTATE_FOCUSED;
    if (m_pPort)
        m_pPort->RequestDisplayInfo(info);

    auto* self = const_cast<CGridCtrl*>(this);
    if (!self->m_displayCell)
        self->m_displayCell = std::make_unique<CGridCell>();
    CGridCell& cell = *self->m_displayCell;
    cell.SetState(info.nState);
    cell.SetFormat(info.nFormat);
    cell.SetImage(info.iImage);
    cell.SetBackClr(info.crBkClr);
    cell.SetTextClr(info.crFgClr);
    cell.SetData(info.lParam);
    cell.SetFont(info.hasFont ? &info.lfFont : nullptr);
    cell.SetMargin(info.nMargin);
    cell.SetText(info.strText);
    cell.SetGrid(self);
    return &cell;
}

bool CGridCtrl::SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell)
{
    if (m_bVirtualMode || !IsValid(row, col) || !cell)
        return false;
    cell->SetCoords(row, col);
    m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(cell);
    return true;
}

bool CGridCtrl::SetCellType(int row, int col, const GridCellClass& cellClass)
{
    if (m_bVirtualMode || !IsValid(row, col) || !cellClass)
        return false;
    std::unique_ptr<CGridCellBase> cell = cellClass();
    if (!cell)
        return false;
    // The editor of the old cell would report into the new one.
    if (m_idEditCell == CCellID(row, col))
        EndCellEdit();
    if (CGridCellBase* old = GetCell(row, col))
        cell->CopyFrom(*old);
    return SetCell(row, col, std::move(cell));
}

bool CGridCtrl::SetDefaultCellClass(const GridCellClass& cellClass)
{
    if (!cellClass)
        return false;
    m_pRtcDefault = cellClass;
    return true;
}

void CGridCtrl::SetVirtualMode(bool on)
{
    DeleteAllItems();
    m_bVirtualMode = on;
    if (on) {
        m_bEditable = false;
        m_bHeaderSort = false;
        m_bFixedRowSelection = false;
        m_bFixedColumnSelection = false;
        m_nAutoSizeStyle = GVS_HEADER;
    }
}

// ---------------------------------------------------------------------------------------------
// Rows and columns

bool CGridCtrl::SetRowCount(int rows)
{
    if (rows < 0)
        return false;
    if (rows == m_nRows)
        return true;
    EndCellEdit();
    InvalidateTopLeft();
    if (rows < m_nFixedRows)
        m_nFixedRows = rows;
    if (m_idCurrentCell.row >= rows)
        SetFocusCell(-1, -1);

    if (rows < m_nRows) {
        if (!m_bVirtualMode) {
            for (int row = rows; row < m_nRows; ++row)
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
            m_RowData.resize(static_cast<std::size_t>(rows));
        }
        m_nRows = rows;
        m_arRowHeights.Resize(rows, 0);
    } else {
        const int height = m_cellDefault.GetHeight();
        if (m_bVirtualMode) {
            m_arRowHeights.Resize(rows, height);
            m_nRows = rows;
        } else {
            m_RowData.reserve(static_cast<std::size_t>(rows));
            while (m_nRows < rows) {
                const int row = m_nRows;
                m_arRowHeights.Resize(row + 1, height);
                m_RowData.emplace_back();
                auto& rowData = m_RowData.back();
                rowData.reserve(static_cast<std::size_t>(m_nCols));
                for (int col = 0; col < m_nCols; ++col)
                    rowData.push_back(CreateCell(row, col));
                ++m_nRows;
            }
        }
    }
    SetModifiedFlag();
    UpdateScrollBars();
    RedrawAll();
    return true;
}

bool CGridCtrl::SetColumnCount(int cols)
{
    if (cols < 0)
        return false;
    if (cols == m_nCols)
        return true;
    EndCellEdit();
    InvalidateTopLeft();
    if (cols < m_nFixedCols)
        m_nFixedCols = cols;
    if (m_idCurrentCell.col >= cols)
        SetFocusCell(-1, -1);

    if (cols < m_nCols && !m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row)
            for (int col = cols; col < m_nCols; ++col)
                DestroyCell(row, col);
    }
    const int oldCols = m_nCols;
    m_arColWidths.Resize(cols, m_cellFixedColDef.GetWidth());
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            auto& rowData = m_RowData[static_cast<std::size_t>(row)];
            rowData.resize(static_cast<std::size_t>(cols));
        }
    }
    m_nCols = cols;
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row)
            for (int col = oldCols; col < cols; ++col)
                m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = CreateCell(row, col);
    }
    SetModifiedFlag();
    UpdateScrollBars();
    RedrawAll();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int fixedRows)
{
    if (fixedRows < 0)
        return false;
    if (fixedRows == m_nFixedRows)
        return true;
    EndCellEdit();
    ClearSelection();
    InvalidateTopLeft();
    if (fixedRows > m_nRows && !SetRowCount(fixedRows))
        return false;
    if (m_idCurrentCell.row < fixedRows)
        SetFocusCell(-1, -1);

    if (!m_bVirtualMode) {
        if (fixedRows > m_nFixedRows) {
            for (int row = m_nFixedRows; row < fixedRows; ++row)
                for (int col = 0; col < m_nCols; ++col) {
                    SetItemState(row, col, GetItemState(row, col) | CELLSTATE_FIXED | CELLSTATE_FIXEDROW);
                    SetItemBackColour(row, col, kGridDefaultColour);
                    SetItemTextColour(row, col, kGridDefaultColour);
                }
        } else {
            for (int row = fixedRows; row < m_nFixedRows; ++row)
                for (int col = 0; col < m_nCols; ++col) {
                    if (col < m_nFixedCols) {
                        SetItemState(row, col, GetItemState(row, col) & ~CELLSTATE_FIXEDROW);
                    } else {
                        SetItemState(row, col, GetItemState(row, col) & ~(CELLSTATE_FIXED | CELLSTATE_FIXEDROW));
                        SetItemBackColour(row, col, kGridDefaultColour);
                        SetItemTextColour(row, col, kGridDefaultColour);
                    }
                }
        }
    }
    m_nFixedRows = fixedRows;
    RedrawAll();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols < 0)
        return false;
    if (fixedCols == m_nFixedCols)
        return true;
    EndCellEdit();
    if (fixedCols > m_nCols && !SetColumnCount(fixedCols))
        return false;
    if (m_idCurrentCell.col < fixedCols)
        SetFocusCell(-1, -1);
    ClearSelection();
    InvalidateTopLeft();

    if (!m_bVirtualMode) {
        if (fixedCols > m_nFixedCols) {
            for (int row = 0; row < m_nRows; ++row)
                for (int col = m_nFixedCols; col < fixedCols; ++col) {
                    SetItemState(row, col, GetItemState(row, col) | CELLSTATE_FIXED | CELLSTATE_FIXEDCOL);
                    SetItemBackColour(row, col, kGridDefaultColour);
                    SetItemTextColour(row, col, kGridDefaultColour);
                }
        } else {
            for (int row = 0; row < m_nRows; ++row)
                for (int col = fixedCols; col < m_nFixedCols; ++col) {
                    if (row < m_nFixedRows) {
                        SetItemState(row, col, GetItemState(row, col) & ~CELLSTATE_FIXEDCOL);
                    } else {
                        SetItemState(row, col, GetItemState(row, col) & ~(CELLSTATE_FIXED | CELLSTATE_FIXEDCOL));
                        SetItemBackColour(row, col, kGridDefaultColour);
                        SetItemTextColour(row, col, kGridDefaultColour);
                    }
                }
        }
    }
    m_nFixedCols = fixedCols;
    RedrawAll();
    return true;
}

int CGridCtrl::InsertColumn(const std::string& heading, std::uint32_t format, int column)
{
    if (column >= 0 && (column < m_nFixedCols || column > m_nCols))
        return -1;
    EndCellEdit();
    InvalidateTopLeft();
    ClearSelectedCells();
    if (m_nRows < 1)
        SetRowCount(1);

    const int index = (column < 0 || column == m_nCols) ? m_nCols : column;
    m_arColWidths.Insert(index, 0);
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            auto& rowData = m_RowData[static_cast<std::size_t>(row)];
            rowData.insert(rowData.begin() + index, nullptr);
        }
    }
    ++m_nCols;
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row)
            m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)] = CreateCell(row, index);
    }
    SetItemText(0, index, heading);
    for (int row = 0; row < m_nRows; ++row)
        SetItemFormat(row, index, format);
    m_arColWidths.Set(index, std::max(0, GetCellTextExtent(0, index, heading).cx));
    if (m_idCurrentCell.col != -1 && index < m_idCurrentCell.col)
        ++m_idCurrentCell.col;
    UpdateScrollBars();
    SetModifiedFlag();
    return index;
}

int CGridCtrl::InsertRow(const std::string& heading, int row)
{
    if (row >= 0 && (row < m_nFixedRows || row >= m_nRows))
        return -1;
    EndCellEdit();
    InvalidateTopLeft();
    ClearSelectedCells();
    if (m_nCols < 1)
        SetColumnCount(1);

    const int index = row < 0 ? m_nRows : row;
    m_arRowHeights.Insert(index, 0);
    if (!m_bVirtualMode)
        m_RowData.insert(m_RowData.begin() + index, std::vector<std::unique_ptr<CGridCellBase>>(
                                                        static_cast<std::size_t>(m_nCols)));
    ++m_nRows;
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            m_RowData[static_cast<std::size_t>(index)][static_cast<std::size_t>(col)] = CreateCell(index, col);
    }
    SetItemText(index, 0, heading);
    const int height = heading.empty() ? m_cellFixedRowDef.GetHeight() : GetCellTextExtent(index, 0, heading).cy;
    m_arRowHeights.Set(index, std::max(0, height));
    if (m_idCurrentCell.row != -1 && index < m_idCurrentCell.row)
        ++m_idCurrentCell.row;
    UpdateScrollBars();
    SetModifiedFlag();
    return index;
}

bool CGridCtrl::DeleteColumn(int column)
{
    if (column < 0 || column >= m_nCols)
        return false;
    EndCellEdit();
    ClearSelectedCells();
    InvalidateTopLeft();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            DestroyCell(row, column);
            auto& rowData = m_RowData[static_cast<std::size_t>(row)];
            rowData.erase(rowData.begin() + column);
        }
    }
    m_arColWidths.Erase(column);
    --m_nCols;
    if (column < m_nFixedCols)
        --m_nFixedCols;
    if (column == m_idCurrentCell.col)
        m_idCurrentCell = CCellID();
    else if (column < m_idCurrentCell.col)
        --m_idCurrentCell.col;
    if (m_nCols == 0)
        m_idCurrentCell = CCellID();
    UpdateScrollBars();
    SetModifiedFlag();
    return true;
}

bool CGridCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= m_nRows)
        return false;
    EndCellEdit();
    ClearSelectedCells();
    InvalidateTopLeft();
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(row, col);
        m_RowData.erase(m_RowData.begin() + row);
    }
    m_arRowHeights.Erase(row);
    --m_nRows;
    if (row < m_nFixedRows)
        --m_nFixedRows;
    if (row == m_idCurrentCell.row)
        m_idCurrentCell = CCellID();
    else if (row < m_idCurrentCell.row)
        --m_idCurrentCell.row;
    UpdateScrollBars();
    SetModifiedFlag();
    return true;
}

bool CGridCtrl::DeleteDataRows()
{
    ClearSelectedCells();
    for (int row = m_nRows - 1; row >= m_nFixedRows; --row)
        DeleteRow(row);
    return true;
}

bool CGridCtrl::DeleteAllItems()
{
    EndCellEdit();
    ClearSelection();
    m_arRowHeights.Clear();
    m_arColWidths.Clear();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
        m_RowData.clear();
    }
    m_SelectedCellMap.clear();
    m_PrevSelectedCellMap.clear();
    m_idCurrentCell = CCellID();
    m_idSelectionStart = CCellID();
    m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
    m_nSortColumn = -1;
    InvalidateTopLeft();
    UpdateScrollBars();
    SetModifiedFlag();
    return true;
}

void CGridCtrl::FillClientArea()
{
    if (!WindowExists())
        return;
    const CGridSize client = ClientSize();
    SetColumnCount(client.cx / std::max(1, m_cellDefault.GetWidth()) + 1);
    SetRowCount(client.cy / std::max(1, m_cellDefault.GetHeight()) + 1);
    SetFixedRowCount(1);
    SetFixedColumnCount(1);
    StretchToFit(true);
}

// ---------------------------------------------------------------------------------------------
// Attributes

bool CGridCtrl::SetItem(const GridItemInfo* item)
{
    if (!item || m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(item->row, item->col);
    if (!cell)
        return false;
    SetModifiedFlag(true, item->row, item->col);
    if (item->mask & GVIF_TEXT)
        cell->SetText(item->strText);
    if (item->mask & GVIF_PARAM)
        cell->SetData(item->lParam);
    if (item->mask & GVIF_IMAGE)
        cell->SetImage(item->iImage);
    if (item->mask & GVIF_STATE)
        SetItemState(item->row, item->col, item->nState);
    if (item->mask & GVIF_FORMAT)
        cell->SetFormat(item->nFormat);
    if (item->mask & GVIF_BKCLR)
        cell->SetBackClr(item->crBkClr);
    if (item->mask & GVIF_FGCLR)
        cell->SetTextClr(item->crFgClr);
    if (item->mask & GVIF_FONT)
        cell->SetFont(item->hasFont ? &item->lfFont : nullptr);
    if (item->mask & GVIF_MARGIN)
        cell->SetMargin(item->nMargin);
    return true;
}

bool CGridCtrl::GetItem(GridItemInfo* item) const
{
    if (!item)
        return false;
    const CGridCellBase* cell = GetCell(item->row, item->col);
    if (!cell)
        return false;
    if (item->mask & GVIF_TEXT)
        item->strText = cell->GetText();
    if (item->mask & GVIF_PARAM)
        item->lParam = cell->GetData();
    if (item->mask & GVIF_IMAGE)
        item->iImage = cell->GetImage();
    if (item->mask & GVIF_STATE)
        item->nState = cell->GetState();
    if (item->mask & GVIF_FORMAT)
        item->nFormat = cell->GetFormat();
    if (item->mask & GVIF_BKCLR)
        item->crBkClr = cell->GetBackClr();
    if (item->mask & GVIF_FGCLR)
        item->crFgClr = cell->GetTextClr();
    if (item->mask & GVIF_FONT) {
        item->hasFont = cell->GetFont() != nullptr;
        item->lfFont = item->hasFont ? *cell->GetFont() : CGridFont();
    }
    if (item->mask & GVIF_MARGIN)
        item->nMargin = cell->GetMargin();
    return true;
}

bool CGridCtrl::SetItemText(int row, int col, const std::string& text)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetText(text);
    SetModifiedFlag(true, row, col);
    return true;
}

bool CGridCtrl::SetItemTextFormatted(int row, int col, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    const bool set = SetItemTextV(row, col, format, args);
    va_end(args);
    return set;
}

bool CGridCtrl::SetItemTextFromResource(int row, int col, int resourceId, ...)
{
    std::string_view format;
    if (!CResourceRegistry::Find("STRING", resourceId, format))
        return false;
    std::va_list args;
    va_start(args, resourceId);
    // The registry's bytes end in a zero byte.
    const bool set = SetItemTextV(row, col, format.data(), args);
    va_end(args);
    return set;
}

bool CGridCtrl::SetItemTextV(int row, int col, const char* format, std::va_list args)
{
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0u, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    return SetItemText(row, col, text);
}

std::string CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : std::string();
}

bool CGridCtrl::SetItemData(int row, int col, std::intptr_t data)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetData(data);
    SetModifiedFlag(true, row, col);
    return true;
}

std::intptr_t CGridCtrl::GetItemData(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetData() : 0;
}

bool CGridCtrl::SetItemImage(int row, int col, int image)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetImage(image);
    SetModifiedFlag(true, row, col);
    return true;
}

int CGridCtrl::GetItemImage(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetImage() : -1;
}

bool CGridCtrl::SetItemState(int row, int col, std::uint32_t state)
{
    const bool selected = IsCellInSelection(row, col);
    const std::uint64_t key = SelectionKey(row, col);
    if (selected && !(state & CELLSTATE_SELECTED))
        m_SelectedCellMap.erase(key);
    else if (!selected && (state & CELLSTATE_SELECTED) && IsValid(row, col))
        m_SelectedCellMap[key] = CCellID(row, col);
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetState(state);
    return true;
}

std::uint32_t CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CGridCtrl::SetItemFormat(int row, int col, std::uint32_t format)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetFormat(format);
    return true;
}

std::uint32_t CGridCtrl::GetItemFormat(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetFormat() : 0;
}

bool CGridCtrl::SetItemBackColour(int row, int col, GridColour colour)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetBackClr(colour);
    return true;
}

GridColour CGridCtrl::GetItemBackColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetBackClr() : 0;
}

bool CGridCtrl::SetItemTextColour(int row, int col, GridColour colour)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetTextClr(colour);
    return true;
}

GridColour CGridCtrl::GetItemTextColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetTextClr() : 0;
}

bool CGridCtrl::SetItemFont(int row, int col, const CGridFont* font)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col);
    if (!cell)
        return false;
    cell->SetFont(font);
    return true;
}

const CGridFont* CGridCtrl::GetItemFont(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    if (cell)
        return cell->GetFont();
    return GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols)->GetFont();
}

bool CGridCtrl::IsItemEditing(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsEditing();
}

void CGridCtrl::SetGridLineStyle(int style)
{
    m_nGridLines = style;
    RedrawAll();
}
