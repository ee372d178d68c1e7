// What the grid core asks of its window, answered by the wx window: sizes, invalidation, scroll
// bars, capture, timer, editor, title tip, owner notifications, clipboard and text measuring.
#pragma once

#include "grid/GridPort.h"
#include "grid/GridTextMeasurer.h"

class CGridWindow;

class CGridWindowPort : public IGridPort, public IGridTextMeasurer {
public:
    explicit CGridWindowPort(CGridWindow& window) : m_window(window) {}

    CGridSize GetClientSize() override;
    CGridScrollMetrics GetScrollMetrics() override;
    void Invalidate(const CGridRect& rect) override;
    void InvalidateAll() override;
    void ShowScrollBar(int bar, bool show) override;
    void SetScrollRange(int bar, int max, int page) override;
    void SetScrollPos(int bar, int position) override;
    void SetCapture(bool capture) override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void StartEditor(const CGridEditRequest& request) override;
    void TypeIntoEditor(unsigned character) override;
    void EndEditor() override;
    void ShowTitleTip(const CGridRect& rect, const std::string& text, const CGridFont* font) override;
    void HideTitleTip() override;
    long NotifyOwner(int code, int row, int col) override;
    void RequestDisplayInfo(GridItemInfo& info) override;
    void SendCacheHint(const CCellRange& range) override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    bool HasClipboardText() override;
    IGridEditor* GetOpenEditor() override;
    void PasteIntoEditor() override;
    void PostClicked() override;

    CGridSize TextExtent(const std::string& text, const CGridFont* font) override;
    CGridSize WrappedExtent(const std::string& text, const CGridFont* font, int width) override;
    bool ImageSize(int image, CGridSize& size) override;

private:
    CGridWindow& m_window;
};
