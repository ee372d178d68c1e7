// A text measurer and a window port for the grid core without a display: the measurer gives
// every character 7 pixels and every line 16, the port records what the core asks of it.
#pragma once

#include "grid/GridCtrl.h"
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
    void ShowTitleTip(const CGridRect&, const std::string&) override {}
    void HideTitleTip() override {}
    long NotifyOwner(int code, int row, int col) override;
    void RequestDisplayInfo(GridItemInfo& info) override;
    void SendCacheHint(const CCellRange& range) override { cacheHints.push_back(range); }

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
