// The grid control's core: rows and columns of cells with fixed (header) rows at the top and
// fixed columns at the left, their sizes, the focus cell and selection, sorting, search, the
// editing sequence, clipboard text and text files. Everything here is state and arithmetic;
// the window (drawing, input, scroll bars, clipboard, editor) is reached through IGridPort and
// measures text through IGridTextMeasurer. Without a port the core behaves as a grid whose
// window does not exist: nothing is invalidated, no notification is answered.
#pragma once

#include "grid/CellID.h"
#include "grid/CellRange.h"
#include "grid/GridDefaultCell.h"
#include "grid/GridDefs.h"
#include "grid/GridItemInfo.h"
#include "grid/GridPrintLayout.h"
#include "grid/GridSizeArray.h"

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CGridCellBase;
class CGridCell;
class IGridPainter;
class IGridPort;
class IGridTextMeasurer;

// Makes the cells of one class; an empty function is refused where a class is given.
using GridCellClass = std::function<std::unique_ptr<CGridCellBase>()>;
// Negative when the first cell sorts before the second, 0 equal, positive after.
using GridCompareFunction = int (*)(const CGridCellBase* cell1, const CGridCellBase* cell2, std::intptr_t data);

class CGridCtrl {
public:
    enum MouseMode {
        MouseIdle = 0,
        MouseSelectAll = 1,
        MouseSelectColumn = 2,
        MouseSelectRow = 3,
        MouseSelectCells = 4,
        MouseOverRowDivider = 6,
        MouseSizingRow = 7,
        MouseOverColumnDivider = 8,
        MouseSizingColumn = 9,
        MousePrepareEdit = 10,
    };
    // Control id of the in-place editor.
    static constexpr unsigned kInPlaceEditId = 8;

    CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    virtual ~CGridCtrl();
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;

    // The window side. Setting a measurer measures the default cells again.
    void SetPort(IGridPort* port) { m_pPort = port; }
    IGridPort* GetPort() const { return m_pPort; }
    void SetTextMeasurer(IGridTextMeasurer* measurer);
    IGridTextMeasurer* GetTextMeasurer() const { return m_pMeasurer; }
    // Decimal separator of the user-interface language, for the editors of decimal cells.
    void SetDecimalSeparatorSource(std::function<wchar_t()> source) { m_decimalSeparator = std::move(source); }
    const std::function<wchar_t()>& GetDecimalSeparatorSource() const { return m_decimalSeparator; }
    // The system colours changed: default cells and the background that still show the old
    // ones take the new ones, colours the application set stay.
    void SetSystemColours(const CGridSystemColours& colours);
    const CGridSystemColours& GetSystemColours() const { return m_sysColours; }
    // Gives the four default cells this font (the window's WM_SETFONT).
    void SetDefaultFont(const CGridFont& font);

    // --- shape ---
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    int InsertColumn(const std::string& heading, std::uint32_t format = DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                     int column = -1);
    int InsertRow(const std::string& heading, int row = -1);
    bool DeleteColumn(int column);
    bool DeleteRow(int row);
    bool DeleteDataRows();
    bool DeleteAllItems();
    void FillClientArea();

    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    bool SetCellType(int row, int col, const GridCellClass& cellClass);
    bool SetDefaultCellClass(const GridCellClass& cellClass);
    CGridCellBase* GetCell(int row, int col) const;
    bool SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell);

    bool GetVirtualMode() const { return m_bVirtualMode; }
    void SetVirtualMode(bool on);
    bool IsValid(int row, int col) const { return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols; }
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const CCellRange& range) const;
    bool IsInFixedArea(int row, int col) const { return row < m_nFixedRows || col < m_nFixedCols; }

    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;

    // --- cell attributes ---
    bool SetItem(const GridItemInfo* item);
    bool GetItem(GridItemInfo* item) const;
    bool SetItemText(int row, int col, const std::string& text);
    bool SetItemTextFormatted(int row, int col, const char* format, ...) __attribute__((format(printf, 4, 5)));
    // The format is the program's own STRING resource of that id, so its conversions are ours
    // to match with the arguments. False, and the cell unchanged, when there is no such resource.
    bool SetItemTextFromResource(int row, int col, int resourceId, ...);
    std::string GetItemText(int row, int col) const;
    bool SetItemData(int row, int col, std::intptr_t data);
    std::intptr_t GetItemData(int row, int col) const;
    bool SetItemImage(int row, int col, int image);
    int GetItemImage(int row, int col) const;
    bool SetItemState(int row, int col, std::uint32_t state);
    std::uint32_t GetItemState(int row, int col) const;
    bool SetItemFormat(int row, int col, std::uint32_t format);
    std::uint32_t GetItemFormat(int row, int col) const;
    bool SetItemBackColour(int row, int col, GridColour colour);
    GridColour GetItemBackColour(int row, int col) const;
    bool SetItemTextColour(int row, int col, GridColour colour);
    GridColour GetItemTextColour(int row, int col) const;
    bool SetItemFont(int row, int col, const CGridFont* font);
    const CGridFont* GetItemFont(int row, int col) const;
    bool IsItemEditing(int row, int col) const;
    void SetGridLineStyle(int style);
    int GetGridLines() const { return m_nGridLines; }

    // --- sizes ---
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowsHeight() const { return m_arRowHeights.Sum(0, m_nFixedRows); }
    int GetFixedColumnsWidth() const { return m_arColWidths.Sum(0, m_nFixedCols); }
    int GetTotalHeight() const { return m_arRowHeights.Total(); }
    int GetTotalWidth() const { return m_arColWidths.Total(); }
    bool AutoSizeColumn(int col, int style = GVS_DEFAULT, bool updateScrollBars = true);
    bool AutoSizeRow(int row, bool updateScrollBars = true);
    void AutoSizeColumns(int style = GVS_DEFAULT);
    void AutoSizeRows();
    void AutoSize(int style = GVS_DEFAULT);
    void StretchColumnsToFit(bool fixedToo);
    void StretchRowsToFit(bool fixedToo);
    void StretchLastColumn();
    void StretchToFit(bool fixedToo);
    int GetAutoSizeStyle() const { return m_nAutoSizeStyle; }
    void SetAutoSizeStyle(int style) { m_nAutoSizeStyle = style; }

    // --- geometry and scrolling ---
    CCellID GetScrolledTopLeftCell(bool force = false);
    CCellRange GetVisibleCellRange(CGridRect* rect = nullptr, bool force = false);
    CCellRange GetFullyVisibleCellRange(bool force = false);
    CCellID CellFromPoint(const CGridPoint& point, bool allowFixed = true);
    bool GetCellOrigin(int row, int col, CGridPoint& origin);
    bool GetCellRect(int row, int col, CGridRect& rect);
    bool GetCellTextRect(int row, int col, CGridRect& rect);
    bool GetRangeRect(const CCellRange& range, CGridRect& rect);
    bool IsOnRowBorder(const CGridPoint& point);
    bool IsOnColumnBorder(const CGridPoint& point);
    // While drawing is off the scroll bars are worked out only when asked about, so that a
    // caller changing many sizes pays for them once; the answers are always up to date.
    int GetScrollPosition(int bar);
    // Stores the position (bounded by the range) and tells the window.
    void SetScrollPosition(int bar, int position);
    void ShowScrollBars(int bar, bool show);
    void UpdateScrollBars();
    int GetScrollMax(int bar);
    bool IsHorizontalBarShown();
    bool IsVerticalBarShown();
    bool IsCellOnScreen(int row, int col);
    // The next row (column) from index in steps of step (+1 or -1) that is not hidden, or -1
    // when there is none inside first .. count - 1.
    int NextVisibleRow(int row, int step, int first) const;
    int NextVisibleColumn(int col, int step, int first) const;

    // --- focus, selection and clipboard text ---
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    CCellID SetFocusCell(int row, int col) { return SetFocusCell(CCellID(row, col)); }
    CCellID SetFocusCell(CCellID cell);
    void SetSelectedRange(const CCellRange& range, bool forceRepaint = false, bool selectCells = true);
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool selectCells = true);
    void SelectAllCells();
    void SelectColumns(CCellID cell, bool forceRepaint = false, bool selectCells = true);
    void SelectRows(CCellID cell, bool forceRepaint = false, bool selectCells = true);
    void SelectCells(CCellID cell, bool forceRepaint = false, bool selectCells = true);
    void OnSelecting(const CCellID& cell);
    void SetSelectionStart(const CCellID& cell) { m_idSelectionStart = cell; }
    void SetMouseMode(MouseMode mode) { m_MouseMode = mode; }
    // Remembers the selection as it is, so that a Ctrl-drag adds to it.
    void KeepSelectionForDrag() { m_PrevSelectedCellMap = m_SelectedCellMap; }
    CCellRange GetSelectedCellRange() const;
    CCellRange GetAllCellsRange() const { return CCellRange(0, 0, m_nRows - 1, m_nCols - 1); }
    int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
    void ClearSelection();
    bool IsCellInSelection(int row, int col) const;
    int SetCellTextByUser(int row, int col, const std::string& text);
    void ClearCells(const CCellRange& range);
    virtual void CutSelectedText();
    // The selected cells as tab-separated lines; false (and nothing) without a valid selection.
    virtual bool CopyTextFromGrid(std::string& text);
    // Pastes lines of tab-separated texts from cell on. Only tabs separate cells: the grid's
    // own copy and spreadsheets write tabs, and a comma is the decimal separator of a German
    // user's numbers.
    virtual bool PasteTextToGrid(CCellID cell, const std::string& text, bool selectPastedCells = true);
    // The cell a paste from the menu starts at; invalid when there is none.
    CCellID GetPasteTarget();

    // --- search, sort and list mode ---
    CCellID FindNextCell(CCellID start, int flags) const;
    bool SortByText(int col, bool ascending, std::intptr_t data = 0);
    bool SortByColumn(int col, bool ascending, std::intptr_t data = 0);
    bool SortWithFunction(GridCompareFunction compare, int col, bool ascending, std::intptr_t data = 0);
    bool SortRowRange(GridCompareFunction compare, int col, bool ascending, std::intptr_t data, int low, int high);
    void SetCompareFunction(GridCompareFunction compare) { m_pfnCompare = compare; }
    static int CompareCellText(const CGridCellBase* cell1, const CGridCellBase* cell2, std::intptr_t data);
    static int CompareCellNumbers(const CGridCellBase* cell1, const CGridCellBase* cell2, std::intptr_t data);
    void SetSortedColumn(int col);
    int GetSortColumn() const { return m_nSortColumn; }
    bool GetSortAscending() const { return m_bAscending; }
    void SetSortAscending(bool ascending) { m_bAscending = ascending; }
    void SetListMode(bool on);
    bool GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(bool on) { m_bSingleRowSelection = on; }
    bool GetSingleRowSelection() const { return m_bSingleRowSelection && m_bListMode; }
    void SetSingleColSelection(bool on) { m_bSingleColSelection = on; }
    bool GetSingleColSelection() const { return m_bSingleColSelection; }

    // --- queries, modified flags and editing ---
    void SetModifiedFlag(bool modified = true, int row = -1, int col = -1);
    bool GetModifiedFlag(int row = -1, int col = -1) const;
    bool CanEditCell(int row, int col) const;
    bool IsEditable() const { return m_bEditable; }
    void SetEditable(bool on) { m_bEditable = on; }
    void EnableSelection(bool on) { m_bEnableSelection = on; }
    bool IsSelectionEnabled() const { return m_bEnableSelection; }
    CGridSize GetCellTextExtent(int row, int col, const std::string& text) const;
    virtual void BeginCellEdit(int row, int col, unsigned character);
    // Ends the in-place edit, if one is open; its text goes into its own cell first.
    virtual void EndCellEdit();
    virtual void OnCellEditEnded(int row, int col, const std::string& text);
    virtual bool ValidateCellEdit(int row, int col, const std::string& text);
    CCellID GetEditCell() const { return m_idEditCell; }
    void FindNextEditableCell(CCellID& cell, bool byRow, bool advance) const;
    void ScrollCellIntoView(int row, int col);
    void ScrollCellIntoView(const CCellID& cell) { ScrollCellIntoView(cell.row, cell.col); }
    void RedrawAll();
    // Every cell of the row (column) redrawn; false when one of them is not on the screen.
    bool RedrawRow(int row);
    bool RedrawColumn(int col);
    bool InvalidateCell(int row, int col);
    bool InvalidateCellRange(const CCellRange& range);
    void SetRedraw(bool allow, bool resetScrollBars = false);

    // --- painting ---
    // Paints the area the painter's clip box names: background, cells, grid lines.
    virtual void OnDraw(IGridPainter& painter);
    void EraseBkgnd(IGridPainter& painter);

    // --- keyboard, scroll bars and mouse (points in client pixels) ---
    // A key press; false when the window's default handling should have it.
    virtual bool OnKeyDown(int key, bool shift, bool ctrl);
    // A typed character: starts editing the focus cell with it.
    void OnChar(unsigned character, bool ctrl);
    // The in-place editor ended with key (0, Return, Escape, Tab or a moving key); a moving key
    // moves the focus on and opens the editor there.
    void OnEditorEnded(int row, int col, const std::string& text, int key);
    void OnScroll(int bar, int code, int trackPosition = 0);
    // A wheel turn in 120ths of a notch; fractions of a line are carried to the next turn.
    void OnMouseWheel(int delta);
    void OnMouseMove(const CGridPoint& point, bool leftDown);
    void OnLButtonDown(const CGridPoint& point, bool shift, bool ctrl);
    void OnLButtonUp(const CGridPoint& point);
    void OnLButtonDblClk(const CGridPoint& point);
    void OnRButtonUp(const CGridPoint& point);
    // The auto-scroll timer while a selection is dragged; cursor in client pixels.
    void OnAutoScrollTimer(const CGridPoint& cursor);
    virtual void OnHeaderRowClick(const CCellID& cell);
    virtual void OnHeaderColumnClick(const CCellID& cell);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    // Whether the edit commands can do anything now, for the menu and toolbar states.
    bool CanEditCopy() const { return GetSelectedCount() > 0; }
    bool CanEditCut() const { return m_bEditable && GetSelectedCount() > 0; }
    bool CanEditPaste();
    bool CanEditSelectAll() const { return m_bEnableSelection; }
    MouseMode GetMouseMode() const { return m_MouseMode; }
    bool IsLeftButtonDown() const { return m_bLMouseButtonDown; }
    CGridPoint GetLastMousePoint() const { return m_ptLastMouse; }
    CGridPoint GetPointInCell(int row, int col, const CGridPoint& point);
    // The pointer's shape over point: a sizing one over a divider, else the cell's choice.
    GridCursor GetCursorAt(const CGridPoint& point);

    // --- text files ---
    // One line per row, fields separated by separator; written atomically. False with the
    // reason in *error when the file cannot be written.
    bool SaveAsText(const std::string& fileName, char separator, std::string* error = nullptr);
    // First line the column headings (an ordinary row 0), each further line one row.
    bool LoadFromText(const std::string& fileName, char separator, std::string* error = nullptr);
    std::string SaveAsTextString(char separator) const;
    bool LoadFromTextString(const std::string& text, char separator);

    // --- printing ---
    // Each value that is not negative replaces the stored one.
    void SetPrintMargins(int header, int footer, int left, int right, int top, int bottom, int gap);
    const CGridPrintMargins& GetPrintMargins() const { return m_printMargins; }
    bool GetWysiwygPrinting() const { return m_bWysiwygPrinting; }
    void SetWysiwygPrinting(bool on) { m_bWysiwygPrinting = on; }
    bool GetPrintColours() const { return m_bPrintColours; }
    void SetPrintColours(bool on) { m_bPrintColours = on; }

    // --- flags ---
    bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedRowSelection(bool on) { m_bFixedRowSelection = on; }
    bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetFixedColumnSelection(bool on) { m_bFixedColumnSelection = on; }
    bool GetHeaderSort() const { return m_bHeaderSort; }
    void SetHeaderSort(bool on) { m_bHeaderSort = on; }
    bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetTrackFocusCell(bool on) { m_bTrackFocusCell = on; }
    bool GetFrameFocusCell() const { return m_bFrameFocusCell; }
    void SetFrameFocusCell(bool on) { m_bFrameFocusCell = on; }
    bool IsAllowDraw() const { return m_bAllowDraw; }
    int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
    GridColour GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridBkColor(GridColour colour) { m_crGridBkColour = colour; }
    GridColour GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridLineColor(GridColour colour) { m_crGridLineColour = colour; }
    GridColour GetTitleTipBackClr() const { return m_crTitleTipBackColour; }
    void SetTitleTipBackClr(GridColour colour) { m_crTitleTipBackColour = colour; }
    GridColour GetTitleTipTextClr() const { return m_crTitleTipTextColour; }
    void SetTitleTipTextClr(GridColour colour) { m_crTitleTipTextColour = colour; }
    bool GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetHandleTabKey(bool on) { m_bHandleTabKey = on; }
    bool GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void SetDoubleBuffering(bool on) { m_bDoubleBuffer = on; }
    bool GetTitleTips() const { return m_bTitleTips; }
    void EnableTitleTips(bool on) { m_bTitleTips = on; }
    bool GetColumnResize() const { return m_bAllowColumnResize; }
    void SetColumnResize(bool on) { m_bAllowColumnResize = on; }
    bool GetRowResize() const { return m_bAllowRowResize; }
    void SetRowResize(bool on) { m_bAllowRowResize = on; }
    bool GetHiddenColumnResize() const { return m_bAllowHiddenColumnResize; }
    void SetHiddenColumnResize(bool on) { m_bAllowHiddenColumnResize = on; }
    bool GetHiddenRowResize() const { return m_bAllowHiddenRowResize; }
    void SetHiddenRowResize(bool on) { m_bAllowHiddenRowResize = on; }
    bool GetHiddenColumnUnhide() const { return m_bHiddenColUnhide; }
    void SetHiddenColumnUnhide(bool on) { m_bHiddenColUnhide = on; }
    bool GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
    void SetHiddenRowUnhide(bool on) { m_bHiddenRowUnhide = on; }
    int GetTimerInterval() const { return m_nTimerInterval; }
    int GetRowsPerWheelNotch() const { return m_nRowsPerWheelNotch; }
    void SetRowsPerWheelNotch(int rows) { m_nRowsPerWheelNotch = rows; }

    // A notification to the owner about a cell; its reply, 0 without a window.
    long SendMessageToParent(int row, int col, int code) const { return Notify(code, row, col); }

protected:
    long Notify(int code, int row, int col) const;

private:
    using SelectionMap = std::unordered_map<std::uint64_t, CCellID>;
    static std::uint64_t SelectionKey(int row, int col)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
    }
    void InvalidateTopLeft() { m_idTopLeftCell = CCellID(); }
    bool SetItemTextV(int row, int col, const char* format, std::va_list args) __attribute__((format(printf, 4, 0)));
    bool WindowExists() const { return m_pPort != nullptr; }
    CGridSize ClientSize() const;
    void SetupDefaultCells();
    // The scroll bars of the sizes as they are now, told to the window.
    void ApplyScrollBars();
    void FlushScrollBars()
    {
        if (m_bScrollBarsPending)
            ApplyScrollBars();
    }
    // The selection of ClearSelection without touching the focus cell, for the changes of
    // shape that move the focus cell themselves.
    void ClearSelectedCells();
    void RedrawCell(int row, int col) { InvalidateCell(row, col); }
    void RedrawFixedCells(int row, int col, bool rowChanged, bool colChanged);
    bool MeasuredRows(int style, int& first, int& last) const;
    // A text the user gave a cell: set, validated and confirmed by the owner, or taken back
    // with the modified flags as they were.
    void ApplyUserText(int row, int col, const std::string& text);
    // Draws rows first..last from y = top by columns first..last from x = left; clipped passes
    // stop at the clip box.
    void DrawCells(IGridPainter& painter, const CGridRect& clip, bool clipped, int firstRow, int lastRow, int top,
                   int firstCol, int lastCol, int left);
    // Moves the focus to next as a key would (selection, notifications, scrolling into view).
    void MoveFocusByKey(CCellID next, int key, bool shift, bool wrapped);
    // Mouse mode by the dividers under point (none: idle).
    void TestDividers(const CGridPoint& point);
    // A press on a divider: the row or column that the drag sizes; false (and none) when
    // there is nothing the drag may size.
    bool StartSizing(const CGridPoint& point, bool columns);
    void ParseTextFileLines(const std::string& text, char separator);

    IGridPort* m_pPort = nullptr;
    IGridTextMeasurer* m_pMeasurer = nullptr;
    std::function<wchar_t()> m_decimalSeparator = [] { return L'.'; };

    CGridSystemColours m_sysColours;
    GridColour m_crGridBkColour = m_sysColours.shadow;
    GridColour m_crGridLineColour = GridRgb(192, 192, 192);
    GridColour m_crTitleTipBackColour = kGridDefaultColour;
    GridColour m_crTitleTipTextColour = kGridDefaultColour;
    bool m_bHandleTabKey = true;
    bool m_bDoubleBuffer = true;
    bool m_bTitleTips = true;
    bool m_bAllowColumnResize = true;
    bool m_bAllowRowResize = true;
    bool m_bAllowHiddenColumnResize = true;
    bool m_bAllowHiddenRowResize = true;
    bool m_bHiddenColUnhide = true;
    bool m_bHiddenRowUnhide = true;
    int m_nTimerInterval = 25;
    int m_nRowsPerWheelNotch = 3;

    bool m_bVirtualMode = false;
    int m_nGridLines = GVL_BOTH;
    bool m_bEditable = true;
    bool m_bModified = false;
    bool m_bListMode = false;
    bool m_bSingleRowSelection = false;
    bool m_bSingleColSelection = false;
    bool m_bAllowDraw = true;
    bool m_bEnableSelection = true;
    bool m_bFixedColumnSelection = true;
    bool m_bFixedRowSelection = true;
    bool m_bHeaderSort = false;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocusCell = true;
    int m_nBarState = 0;
    bool m_bScrollBarsPending = false;
    int m_nAutoSizeStyle = GVS_BOTH;

    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    CGridSizeArray m_arRowHeights;
    CGridSizeArray m_arColWidths;
    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;
    int m_nVScrollPos = 0;
    int m_nHScrollPos = 0;

    GridCellClass m_pRtcDefault;
    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;
    std::vector<std::vector<std::unique_ptr<CGridCellBase>>> m_RowData;
    // The one cell that virtual mode fills for every lookup.
    std::unique_ptr<CGridCell> m_displayCell;

    MouseMode m_MouseMode = MouseIdle;
    CCellID m_idSelectionStart;
    CCellID m_idCurrentCell;
    CCellID m_idTopLeftCell;
    CCellID m_idEditCell;
    int m_nResizeCaptureRange = 3;
    bool m_bLMouseButtonDown = false;
    CGridPoint m_ptLeftClickDown;
    CGridPoint m_ptLastMouse;
    CCellID m_idLeftClickDown;
    bool m_bTimerRunning = false;
    // Wheel turn not yet worth a line, in 120ths of a line.
    int m_nWheelRemainder = 0;

    SelectionMap m_SelectedCellMap;
    SelectionMap m_PrevSelectedCellMap;

    CGridPrintMargins m_printMargins;
    bool m_bWysiwygPrinting = false;
    bool m_bPrintColours = true;

    bool m_bAscending = true;
    int m_nSortColumn = -1;
    GridCompareFunction m_pfnCompare = nullptr;
};
