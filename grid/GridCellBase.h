// The abstract cell: its state word, the attributes every cell has (stored by the concrete
// cells), and what the base supplies itself: default-cell choice, copying, text rectangle,
// extents and the editing hooks.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFont.h"

#include <cstdint>
#include <string>

class CGridCtrl;
class IGridEditor;
class IGridPainter;

class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;

    virtual void SetText(const std::string& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(std::intptr_t data) = 0;
    virtual void SetState(std::uint32_t state) { m_nState = state; }
    virtual void SetFormat(std::uint32_t format) = 0;
    virtual void SetTextClr(GridColour colour) = 0;
    virtual void SetBackClr(GridColour colour) = 0;
    virtual void SetFont(const CGridFont* font) = 0;
    virtual void SetMargin(std::uint32_t margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int row, int col) = 0;

    virtual const std::string& GetText() const = 0;
    virtual const std::string& GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual std::intptr_t GetData() const = 0;
    virtual std::uint32_t GetState() const { return m_nState; }
    virtual std::uint32_t GetFormat() const = 0;
    virtual GridColour GetTextClr() const = 0;
    virtual GridColour GetBackClr() const = 0;
    virtual const CGridFont* GetFont() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual std::uint32_t GetMargin() const = 0;
    virtual CGridCellBase* GetDefaultCell() const;
    virtual bool IsDefaultFont() const = 0;
    virtual bool IsEditing() const = 0;

    bool IsFocused() const { return GetState() & CELLSTATE_FOCUSED; }
    bool IsFixed() const { return GetState() & CELLSTATE_FIXED; }
    bool IsFixedCol() const { return GetState() & CELLSTATE_FIXEDCOL; }
    bool IsFixedRow() const { return GetState() & CELLSTATE_FIXEDROW; }
    bool IsSelected() const { return GetState() & CELLSTATE_SELECTED; }
    bool IsReadOnly() const { return GetState() & CELLSTATE_READONLY; }
    bool IsModified() const { return GetState() & CELLSTATE_MODIFIED; }
    bool IsDropHighlighted() const { return GetState() & CELLSTATE_DROPHILITED; }

    // Copies the attributes of source through this cell's setters: grid, text, image, data,
    // state, format and margin as the source resolves them, colours as stored, font. Editing
    // state and input restrictions stay.
    virtual void CopyFrom(const CGridCellBase& source);
    virtual void Reset() { m_nState = 0; }

    // Narrows the cell rectangle to where the text goes (past the image).
    virtual bool GetTextRect(CGridRect& rect) const;
    virtual bool GetTipTextRect(CGridRect& rect) const { return GetTextRect(rect); }
    // Size the text needs in this cell's font, format and margins.
    virtual CGridSize GetTextExtent(const std::string& text) const;
    // Size the whole cell needs: its text and its image.
    virtual CGridSize GetCellExtent() const;

    // Draws the cell into rect (right and bottom inclusive) on screen; erase paints the
    // background even without a colour of the cell's own. False for an empty rectangle or a
    // cell of no grid.
    virtual bool Draw(IGridPainter& painter, int row, int col, CGridRect rect, bool erase);
    // The cell on paper: no focus, selection or sort arrow.
    virtual bool PrintCell(IGridPainter& painter, int row, int col, CGridRect rect);

    // Mouse hooks; points are relative to the cell's top-left corner.
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(const CGridPoint&) {}
    virtual void OnClickDown(const CGridPoint&) {}
    virtual void OnRClick(const CGridPoint&) {}
    virtual void OnDblClick(const CGridPoint&) {}
    // Asked while the pointer is over the cell; true when the cell chose the pointer's shape
    // (the ordinary arrow here).
    virtual bool OnSetCursor(GridCursor& cursor) const
    {
        cursor = GridCursorArrow;
        return true;
    }

    virtual bool Edit(int row, int col, const CGridRect& rect, unsigned controlId, unsigned firstChar);
    // The editor the cell is being edited in, when text can be typed and pasted into it.
    virtual IGridEditor* GetEditWnd() const;
    virtual bool ValidateEdit(const std::string&) { return true; }
    virtual void EndEdit() {}
    // After the in-place editor has gone.
    virtual void OnEndEdit() {}

    // A notification to the grid's owner; 0 for a cell of no grid.
    long SendMessageToParent(int row, int col, int code) const;

protected:
    // Colours of the cell with its default cell's in place of unset ones.
    GridColour EffectiveTextClr() const;
    GridColour EffectiveBackClr() const;
    bool ImageSize(CGridSize& size) const;

private:
    std::uint32_t m_nState = 0;
};
