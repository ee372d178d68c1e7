// A text measurer and a window port for the grid core without a display: the measurer gives
// every character 7 pixels and every line 16, the port records what the core asks of it.
#pragma once

#include "grid/GridCtrl.h"
#include "grid/GridPainter.h"
#include "grid/GridPort.h"
#include "grid/GridTextMeasurer.h"

#include <functional>
#include <string>
#include <vector>

class CFixedTextMeasurer : public IGridTextMeasurer {
public:
    static constexpr int kCharWidth = 7;
    static constexpr int kLineHeight = 16;

    CGridSize TextExtent(const std::string& text, const CGridFont* font) override;
    CGridSize WrappedExtent(const std::string& text, const CGridFont* font, int width) override;
    bool ImageSize(int image, CGridSize& size) override;

    // Images of the list, by index.
    std::vector<CGridSize> images;
};

class CRecordingPort : public IGridPort {
public:
    CGridSize GetClientSize() override { return client; }
    CGridScrollMetrics GetScrollMetrics() override { return metrics; }
    void Invalidate(const CGridRect& rect) override { invalidated.push_back(rect); }
    void InvalidateAll() override { ++invalidatedAll; }
    void ShowScrollBar(int bar, bool show) override;
    void SetScrollRange(int bar, int max, int page) override;
    void SetScrollPos(int, int) override {}
    void SetCapture(bool) override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    void StartEditor(const CGridEditRequest& request) override;
    void TypeIntoEditor(unsigned character) override { typed.push_back(character); }
    void EndEditor() override;
    long NotifyOwner(int code, int row, int col) override;
    void RequestDisplayInfo(GridItemInfo& info) override;
    void SendCacheHint(const CCellRange& range) override { cacheHints.push_back(range); }
    bool SetClipboardText(const std::string& text) override
    {
        clipboard = text;
        return true;
    }
    bool GetClipboardText(std::string& text) override
    {
        text = clipboard;
        return !clipboard.empty();
    }
    bool HasClipboardText() override { return !clipboard.empty(); }
    // A token for the open editor; the core never looks behind it.
    IGridEditor* GetOpenEditor() override { return editorOpen ? reinterpret_cast<IGridEditor*>(this) : nullptr; }
    void PasteIntoEditor() override { ++editorPastes; }
    void ShowTitleTip(const CGridRect& rect, const std::string& text, const CGridFont* font) override
    {
        tipRect = rect;
        tipText = text;
        tipFont = font ? *font : CGridFont{};
    }
    void HideTitleTip() override { tipText.clear(); }

    struct Notification {
        int code;
        int row;
        int col;
        bool operator==(const Notification& o) const { return code == o.code && row == o.row && col == o.col; }
    };

    CGridCtrl* grid = nullptr;
    CGridSize client{400, 300};
    CGridScrollMetrics metrics{16, 16, 1, 1};
    std::vector<CGridRect> invalidated;
    int invalidatedAll = 0;
    bool barShown[2] = {false, false};
    int rangeMax[2] = {0, 0};
    int rangePage[2] = {0, 0};
    std::vector<CGridEditRequest> editors;
    std::vector<unsigned> typed;
    bool editorOpen = false;
    // The text an open editor reports when it is ended.
    std::string editorText;
    int endedEditors = 0;
    std::vector<Notification> notifications;
    // Reply to a notification; 0 when unset.
    std::function<long(int code, int row, int col)> reply;
    std::function<void(GridItemInfo&)> displayInfo;
    std::vector<CCellRange> cacheHints;
    std::string clipboard;
    int editorPastes = 0;
    CGridRect tipRect;
    std::string tipText;
    CGridFont tipFont;
};

// A painter that records what it is asked to draw.
class CRecordingPainter : public IGridPainter {
public:
    struct Op {
        std::string kind;  // fill, frame, line, sunken, text, image
        CGridRect rect;    // a line's ends as left/top to right/bottom
        GridColour colour = 0;
        std::string text;
    };
    static constexpr GridColour kHighlight = GridRgb(0, 0, 200);
    static constexpr GridColour kHighlightText = GridRgb(255, 255, 254);
    static constexpr GridColour kLight = GridRgb(250, 250, 250);
    static constexpr GridColour kDark = GridRgb(10, 10, 10);
    static constexpr GridColour kShadow = GridRgb(100, 100, 100);

    bool GetClipBox(CGridRect& box) override
    {
        box = clip;
        return true;
    }
    GridColour SysColour(GridSysColour which) const override;
    void FillRect(const CGridRect& rect, GridColour colour) override { ops.push_back({"fill", rect, colour, {}}); }
    void FrameRect(const CGridRect& rect, GridColour colour) override { ops.push_back({"frame", rect, colour, {}}); }
    void Line(int x1, int y1, int x2, int y2, GridColour colour) override
    {
        ops.push_back({"line", {x1, y1, x2, y2}, colour, {}});
    }
    void SunkenEdge(const CGridRect& rect) override { ops.push_back({"sunken", rect, 0, {}}); }
    void Text(const std::string& text, const CGridRect& rect, std::uint32_t, GridColour colour,
              const CGridFont*) override
    {
        ops.push_back({"text", rect, colour, text});
    }
    void Image(int image, int x, int y) override { ops.push_back({"image", {x, y, x, y}, 0, std::to_string(image)}); }
    void DropButton(const CGridRect& rect) override { ops.push_back({"button", rect, 0, {}}); }
    CGridSize ButtonSize() const override { return {16, 16}; }
    CGridSize TextExtent(const std::string& text, const CGridFont*) override
    {
        return {static_cast<int>(text.size()) * 7, 16};
    }

    // The operations of one kind, or those drawing the text.
    std::vector<Op> Kind(const std::string& kind) const;
    const Op* TextOp(const std::string& text) const;

    CGridRect clip{0, 0, 400, 300};
    std::vector<Op> ops;
};

// A grid with the measurer and port above attached.
struct CGridFixture {
    CGridFixture();
    CFixedTextMeasurer measurer;
    CRecordingPort port;
    CGridCtrl grid;
};

// Every cell of row as "a|b|c".
std::string RowTexts(const CGridCtrl& grid, int row);
