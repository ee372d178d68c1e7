#include "grid/GridCellBase.h"

#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"
#include "grid/GridPainter.h"
#include "grid/GridPort.h"
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

IGridEditor* CGridCellBase::GetEditWnd() const
{
    const CGridCtrl* grid = GetGrid();
    IGridPort* port = grid ? grid->GetPort() : nullptr;
    return IsEditing() && port ? port->GetOpenEditor() : nullptr;
}

long CGridCellBase::SendMessageToParent(int row, int col, int code) const
{
    const CGridCtrl* grid = GetGrid();
    return grid ? grid->SendMessageToParent(row, col, code) : 0;
}

bool CGridCellBase::Edit(int, int, const CGridRect&, unsigned, unsigned)
{
    return false;
}

GridColour CGridCellBase::EffectiveTextClr() const
{
    const GridColour own = GetTextClr();
    CGridCellBase* def = GetDefaultCell();
    return own == kGridDefaultColour && def ? def->GetTextClr() : own;
}

GridColour CGridCellBase::EffectiveBackClr() const
{
    const GridColour own = GetBackClr();
    CGridCellBase* def = GetDefaultCell();
    return own == kGridDefaultColour && def ? def->GetBackClr() : own;
}

namespace {
CGridRect Grown(CGridRect r, int by)
{
    r.right += by;
    r.bottom += by;
    return r;
}

void Deflate(CGridRect& r, int left, int top, int right, int bottom)
{
    r.left += left;
    r.top += top;
    r.right -= right;
    r.bottom -= bottom;
}

// The raised edge of a fixed cell: light on top and left, dark on right and bottom.
void RaisedEdge(IGridPainter& painter, CGridRect& r)
{
    const GridColour light = painter.SysColour(GridSysColour::Light3D);
    const GridColour dark = painter.SysColour(GridSysColour::DarkShadow3D);
    painter.Line(r.right, r.top, r.left, r.top, light);
    painter.Line(r.left, r.top, r.left, r.bottom, light);
    painter.Line(r.right, r.top, r.right, r.bottom, dark);
    painter.Line(r.right, r.bottom, r.left, r.bottom, dark);
    Deflate(r, 1, 1, 1, 1);
}

void Triangle(IGridPainter& painter, const CGridPoint (&p)[3], GridColour colour)
{
    painter.Line(p[0].x, p[0].y, p[1].x, p[1].y, colour);
    painter.Line(p[1].x, p[1].y, p[2].x, p[2].y, colour);
    painter.Line(p[2].x, p[2].y, p[0].x, p[0].y, colour);
}
} // namespace

bool CGridCellBase::Draw(IGridPainter& painter, int row, int col, CGridRect r, bool erase)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || r.Width() <= 0 || r.Height() <= 0)
        return false;
    GridColour text = EffectiveTextClr();
    GridColour back = EffectiveBackClr();
    if (GetBackClr() != kGridDefaultColour)
        erase = true;
    const bool lines = grid->GetGridLines() != GVL_NONE;

    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            back = painter.SysColour(GridSysColour::Highlight);
            text = painter.SysColour(GridSysColour::HighlightText);
            erase = true;
        }
        r = Grown(r, 1);
        if (erase)
            painter.FillRect(r, back);
        if (lines)
            r = Grown(r, -1);
        if (grid->GetFrameFocusCell())
            painter.FrameRect(r, text);
        if (!lines)
            r = Grown(r, -1);
        Deflate(r, 0, 1, 1, 1);
    } else if (IsSelected()) {
        painter.FillRect(Grown(r, 1), painter.SysColour(GridSysColour::Highlight));
        text = painter.SysColour(GridSysColour::HighlightText);
    } else if (erase) {
        painter.FillRect(Grown(r, 1), back);
    }

    if (IsFixed() && lines) {
        const CCellID focus = grid->GetFocusCell();
        if (grid->GetTrackFocusCell() && grid->IsValid(focus) && (focus.row == row || focus.col == col)) {
            r = Grown(r, 1);
            painter.SunkenEdge(r);
            Deflate(r, 1, 1, 1, 1);
        } else {
            RaisedEdge(painter, r);
        }
    }

    const int margin = static_cast<int>(GetMargin());
    Deflate(r, margin, 0, margin, 0);
    CGridSize image;
    if (ImageSize(image) && r.left + image.cx <= r.right + 2 * margin && r.top + image.cy <= r.bottom + 2 * margin)
        painter.Image(GetImage(), r.left, r.top);

    if (row == 0 && col == grid->GetSortColumn()) {
        const int offset = 2;
        int a = painter.TextExtent("M", GetFont()).cy - 2 * offset;
        if (a >= r.Height())
            a = r.Height() - 2 * offset;
        const bool vertical = GetFont() && GetFont()->escapement == 900;
        if (r.left + a < r.right + 2 * margin) {
            const int t = r.bottom - offset - a;
            const int l = vertical ? (r.left + r.right - a) / 2 : r.right - a;
            const GridColour light = painter.SysColour(GridSysColour::Light3D);
            const GridColour shadow = painter.SysColour(GridSysColour::Shadow3D);
            if (grid->GetSortAscending()) {
                Triangle(painter, {{l + 1, t + a + 1}, {l + a / 2 + 1, t + 1}, {l + a + 1, t + a + 1}}, light);
                Triangle(painter, {{l, t + a}, {l + a / 2, t}, {l + a, t + a}}, shadow);
            } else {
                Triangle(painter, {{l + 1, t + 1}, {l + a / 2 + 1, t + a + 1}, {l + a + 1, t + 1}}, light);
                Triangle(painter, {{l, t}, {l + a / 2, t + a}, {l + a, t}}, shadow);
            }
            if (!vertical)
                r.right -= a;
        }
    }
    GetTextRect(r);
    painter.Text(GetText(), r, GetFormat() | DT_NOPREFIX, text, GetFont());
    return true;
}

bool CGridCellBase::PrintCell(IGridPainter& painter, int, int, CGridRect r)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || r.Width() <= 0 || r.Height() <= 0)
        return false;
    GridColour text = GridRgb(0, 0, 0);
    if (grid->GetPrintColours()) {
        GridColour back = kGridDefaultColour;
        CGridCellBase* def = GetDefaultCell();
        if (IsFixed())
            back = EffectiveBackClr();
        else if (GetBackClr() != kGridDefaultColour && (!def || GetBackClr() != def->GetBackClr()))
            back = GetBackClr();
        text = EffectiveTextClr();
        if (painter.ColourCount() == 2 && back == kGridDefaultColour) {
            // Each channel darkened by its share of the grey it would give.
            const int red = static_cast<int>((text & 0xFF) * 0.3);
            const int green = static_cast<int>(((text >> 8) & 0xFF) * 0.59);
            const int blue = static_cast<int>(((text >> 16) & 0xFF) * 0.11);
            text = GridRgb(red, green, blue);
        }
        if (back != kGridDefaultColour)
            painter.FillRect(Grown(r, 1), back);
    }
    if (grid->GetGridLines() != GVL_NONE && IsFixed())
        RaisedEdge(painter, r);
    const int margin = static_cast<int>(GetMargin());
    Deflate(r, margin, 0, margin, 0);
    CGridSize image;
    if (ImageSize(image)) {
        painter.Image(GetImage(), r.left, r.top);
        r.left += margin + image.cx - 1;
    }
    painter.Text(GetText(), r, GetFormat() | DT_NOPREFIX, text, GetFont());
    return true;
}
