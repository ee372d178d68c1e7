// What the grid core asks of its window. Every call is optional in effect: a core without a
// window (no port) keeps its state and answers as a grid whose window does not exist.
#pragma once

#include "grid/CellRange.h"
#include "grid/GridDefs.h"
#include "grid/GridFont.h"
#include "HarbinaxCore/InputFilter.h"

#include <string>
#include <vector>

struct GridItemInfo;
// The open in-place editor; only the window knows what it is.
class IGridEditor;

// What an in-place editor needs: where it goes, what it starts with and what it lets through.
struct CGridEditRequest {
    int row = -1;
    int col = -1;
    CGridRect rect;
    int alignment = 0;  // 0 left, 1 centred, 2 right
    unsigned controlId = 0;
    std::string text;
    unsigned firstChar = 0;
    CInputFilter filter{[] { return L'.'; }};
    // A combo box instead of an edit: its options, and whether only they may be chosen.
    bool combo = false;
    bool dropDownList = false;
    std::vector<std::string> options;
};

// Scroll-bar widths and borders of the window system, in pixels.
struct CGridScrollMetrics {
    int vScrollWidth = 0;
    int hScrollHeight = 0;
    int borderWidth = 0;
    int borderHeight = 0;
};

class IGridPort {
public:
    virtual ~IGridPort() = default;

    // Client area of the grid window in pixels (scroll bars that are shown excluded).
    virtual CGridSize GetClientSize() = 0;
    virtual CGridScrollMetrics GetScrollMetrics() = 0;

    virtual void Invalidate(const CGridRect& rect) = 0;
    virtual void InvalidateAll() = 0;

    virtual void ShowScrollBar(int bar, bool show) = 0;
    // Range 0..max with the page size; a bar that is not needed stays shown but disabled.
    virtual void SetScrollRange(int bar, int max, int page) = 0;
    virtual void SetScrollPos(int bar, int position) = 0;

    virtual void SetCapture(bool capture) = 0;
    virtual void StartTimer(int milliseconds) = 0;
    virtual void StopTimer() = 0;

    // Opens an in-place editor; its end comes back through CGridCtrl::OnCellEditEnded.
    virtual void StartEditor(const CGridEditRequest& request) = 0;
    // Types a character into the open editor.
    virtual void TypeIntoEditor(unsigned character) = 0;
    // Ends the open editor: it reports its text through CGridCtrl::OnCellEditEnded at once.
    virtual void EndEditor() = 0;

    // The whole text of a cell over its text rectangle, in the cell's font (null: the window's).
    virtual void ShowTitleTip(const CGridRect& rect, const std::string& text, const CGridFont* font) = 0;
    virtual void HideTitleTip() = 0;

    // A notification to the owner window; its reply (negative replies veto edits).
    virtual long NotifyOwner(int code, int row, int col) = 0;
    // Virtual mode: the owner fills the record for its row and column.
    virtual void RequestDisplayInfo(GridItemInfo& info) = 0;
    virtual void SendCacheHint(const CCellRange& range) = 0;

    // The system clipboard's text; false when it holds none or cannot be reached.
    virtual bool SetClipboardText(const std::string&) { return false; }
    virtual bool GetClipboardText(std::string&) { return false; }
    virtual bool HasClipboardText() { return false; }
    // The open in-place editor, or null.
    virtual IGridEditor* GetOpenEditor() { return nullptr; }
    // The clipboard's text into the open editor at its caret, as the editor's own paste would.
    virtual void PasteIntoEditor() {}
    // Tells the owner a left click ended on a cell (posted, not sent).
    virtual void PostClicked() {}
};
