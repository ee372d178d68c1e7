#include "GridTestSupport.h"

#include <algorithm>

CGridSize CFixedTextMeasurer::TextExtent(const std::string& text, const CGridFont*)
{
    return {static_cast<int>(text.size()) * kCharWidth, kLineHeight};
}

CGridSize CFixedTextMeasurer::WrappedExtent(const std::string& text, const CGridFont*, int width)
{
    // Lines at '\n', each broken into as many lines as the width needs.
    int lines = 0;
    int widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const int lineWidth = static_cast<int>(end - start) * kCharWidth;
        const int perLine = std::max(width / kCharWidth, 1) * kCharWidth;
        lines += std::max(1, (lineWidth + perLine - 1) / perLine);
        widest = std::max(widest, std::min(lineWidth, perLine));
        start = end + 1;
    }
    return {widest, lines * kLineHeight};
}

bool CFixedTextMeasurer::ImageSize(int image, CGridSize& size)
{
    if (image < 0 || image >= static_cast<int>(images.size()))
        return false;
    size = images[static_cast<std::size_t>(image)];
    return true;
}

void CRecordingPort::ShowScrollBar(int bar, bool show)
{
    barShown[bar] = show;
}

void CRecordingPort::SetScrollRange(int bar, int max, int page)
{
    rangeMax[bar] = max;
    rangePage[bar] = page;
}

void CRecordingPort::StartEditor(const CGridEditRequest& request)
{
    editors.push_back(request);
    editorOpen = true;
    editorText = request.text;
}

void CRecordingPort::EndEditor()
{
    if (!editorOpen)
        return;
    editorOpen = false;
    ++endedEditors;
    const CGridEditRequest& request = editors.back();
    if (grid)
        grid->OnCellEditEnded(request.row, request.col, editorText);
}

long CRecordingPort::NotifyOwner(int code, int row, int col)
{
    notifications.push_back({code, row, col});
    return reply ? reply(code, row, col) : 0;
}

void CRecordingPort::RequestDisplayInfo(GridItemInfo& info)
{
    if (displayInfo)
        displayInfo(info);
}

CGridFixture::CGridFixture()
{
    port.grid = &grid;
    grid.SetTextMeasurer(&measurer);
    grid.SetPort(&port);
}

std::string RowTexts(const CGridCtrl& grid, int row)
{
    std::string text;
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        text += (col ? "|" : "") + grid.GetItemText(row, col);
    return text;
}

GridColour CRecordingPainter::SysColour(GridSysColour which) const
{
    switch (which) {
    case GridSysColour::Highlight: return kHighlight;
    case GridSysColour::HighlightText: return kHighlightText;
    case GridSysColour::Light3D: return kLight;
    case GridSysColour::DarkShadow3D: return kDark;
    case GridSysColour::Shadow3D: return kShadow;
    }
    return 0;
}

std::vector<CRecordingPainter::Op> CRecordingPainter::Kind(const std::string& kind) const
{
    std::vector<Op> found;
    for (const Op& op : ops)
        if (op.kind == kind)
            found.push_back(op);
    return found;
}

const CRecordingPainter::Op* CRecordingPainter::TextOp(const std::string& text) const
{
    for (const Op& op : ops)
        if (op.kind == "text" && op.text == text)
            return &op;
    return nullptr;
}
