#include "grid/GridCellBase.h"

#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"
#include "grid/GridTextMeasurer.h"

#include <algorithm>
#include <utility>

CGridCellBase* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* grid = GetGrid();
    if (!grid)
        return nullptr;
    return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::CopyFrom(const CGridCellBase& source)
{
    if (&source == this)
        return;
    SetGrid(source.GetGrid());
    SetText(source.GetText());
    SetImage(source.GetImage());
    SetData(source.GetData());
    SetState(source.GetState());
    SetFormat(source.GetFormat());
    SetTextClr(source.GetTextClr());
    SetBackClr(source.GetBackClr());
    SetFont(source.IsDefaultFont() ? nullptr : source.GetFont());
    SetMargin(source.GetMargin());
}

bool CGridCellBase::ImageSize(CGridSize& size) const
{
    CGridCtrl* grid = GetGrid();
    if (GetImage() < 0 || !grid || !grid->GetTextMeasurer())
        return false;
    return grid->GetTextMeasurer()->ImageSize(GetImage(), size);
}

bool CGridCellBase::GetTextRect(CGridRect& rect) const
{
    CGridSize image;
    if (ImageSize(image))
        rect.left += image.cx + static_cast<int>(GetMargin());
    return true;
}

CGridSize CGridCellBase::GetTextExtent(const std::string& text) const
{
    CGridCtrl* grid = GetGrid();
    IGridTextMeasurer* measurer = grid ? grid->GetTextMeasurer() : nullptr;
    if (!measurer) {
        // Nothing to measure with: the size a default cell has.
        auto* def = dynamic_cast<CGridDefaultCell*>(GetDefaultCell());
        return def ? CGridSize{def->GetWidth(), def->GetHeight()} : CGridSize{};
    }
    const CGridFont* font = GetFont();
    const std::uint32_t format = GetFormat();
    CGridSize size;
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
        size = measurer->TextExtent(text, font);
    } else {
        int widest = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            widest = std::max(widest, measurer->TextExtent(text.substr(start, end - start), font).cx);
            start = end + 1;
        }
        size = measurer->WrappedExtent(text, font, widest + 1);
    }
    const int margin = static_cast<int>(GetMargin());
    size.cx += 4 * margin;
    size.cy += 2 * margin;
    if (font && (font->escapement == 900 || font->escapement == -900)) {
        std::swap(size.cx, size.cy);
        size.cy += 4 * margin;
    }
    return size;
}

CGridSize CGridCellBase::GetCellExtent() const
{
    const CGridSize text = GetTextExtent(GetText());
    CGridSize image;
    ImageSize(image);
    return {text.cx + image.cx, std::max(text.cy, image.cy)};
}

bool CGridCellBase::Edit(int, int, const CGridRect&, unsigned, unsigned)
{
    return false;
}
