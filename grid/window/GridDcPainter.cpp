#include "grid/window/GridDcPainter.h"

#include <wx/imaglist.h>
#include <wx/control.h>
#include <wx/settings.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <cstdlib>

CGridDcPainter::CGridDcPainter(wxDC& dc, const wxFont& defaultFont, wxImageList* images, const wxRect& clip,
                               bool printing)
    : m_dc(dc), m_defaultFont(defaultFont), m_images(images), m_clip(clip), m_printing(printing)
{
    m_dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
}

wxColour CGridDcPainter::ToColour(GridColour colour)
{
    return wxColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

GridColour CGridDcPainter::FromColour(const wxColour& colour)
{
    return GridRgb(colour.Red(), colour.Green(), colour.Blue());
}

wxFont CGridDcPainter::MakeFont(const CGridFont& font, const wxFont& base)
{
    wxFont made(base);
    if (!font.face.empty())
        made.SetFaceName(wxString::FromUTF8(font.face));
    if (font.height > 0)
        made.SetPixelSize(wxSize(0, font.height));
    made.SetNumericWeight(font.weight > 0 ? font.weight : wxFONTWEIGHT_NORMAL);
    made.SetStyle(font.italic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    return made;
}

const wxFont& CGridDcPainter::FontFor(const CGridFont* font)
{
    if (!font)
        return m_defaultFont;
    if (!m_haveLastFont || !(m_lastFont == *font)) {
        m_lastFont = *font;
        m_lastWxFont = MakeFont(*font, m_defaultFont);
        m_haveLastFont = true;
    }
    return m_lastWxFont;
}

void CGridDcPainter::SolidBrush(GridColour colour)
{
    // Most fills and lines of a paint share a handful of colours.
    if (!m_haveBrush || colour != m_brushColour) {
        m_dc.SetPen(*wxTRANSPARENT_PEN);
        m_dc.SetBrush(wxBrush(ToColour(colour)));
        m_brushColour = colour;
        m_haveBrush = true;
    }
}

bool CGridDcPainter::GetClipBox(CGridRect& box)
{
    box = CGridRect{m_clip.GetLeft(), m_clip.GetTop(), m_clip.GetRight() + 1, m_clip.GetBottom() + 1};
    return true;
}

bool CGridDcPainter::IsPrinting() const
{
    return m_printing;
}

int CGridDcPainter::ColourCount() const
{
    return m_dc.GetDepth() == 1 ? 2 : 0;
}

GridColour CGridDcPainter::SysColour(GridSysColour which) const
{
    switch (which) {
    case GridSysColour::Highlight: return FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
    case GridSysColour::HighlightText: return FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
    case GridSysColour::Light3D: return FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DHIGHLIGHT));
    case GridSysColour::DarkShadow3D: return FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW));
    case GridSysColour::Shadow3D: return FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW));
    }
    return 0;
}

void CGridDcPainter::FillRect(const CGridRect& rect, GridColour colour)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    SolidBrush(colour);
    m_dc.DrawRectangle(rect.left, rect.top, rect.Width(), rect.Height());
}

void CGridDcPainter::FrameRect(const CGridRect& rect, GridColour colour)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    Line(rect.left, rect.top, rect.right, rect.top, colour);
    Line(rect.left, bottom, rect.right, bottom, colour);
    Line(rect.left, rect.top, rect.left, rect.bottom, colour);
    Line(right, rect.top, right, rect.bottom, colour);
}

void CGridDcPainter::Line(int x1, int y1, int x2, int y2, GridColour colour)
{
    // Straight lines as one-pixel rectangles: the DCs of GTK leave out both end points of a
    // line, where the grid's lines have their first point and not their last.
    if (x1 == x2 || y1 == y2) {
        const int left = x1 == x2 ? x1 : (x2 > x1 ? x1 : x2 + 1);
        const int top = y1 == y2 ? y1 : (y2 > y1 ? y1 : y2 + 1);
        const int width = x1 == x2 ? 1 : std::abs(x2 - x1);
        const int height = y1 == y2 ? 1 : std::abs(y2 - y1);
        if (x1 == x2 && y1 == y2)
            return;
        SolidBrush(colour);
        m_dc.DrawRectangle(left, top, width, height);
        return;
    }
    m_dc.SetPen(wxPen(ToColour(colour)));
    m_haveBrush = false;
    m_dc.DrawLine(x1, y1, x2, y2);
}

void CGridDcPainter::SunkenEdge(const CGridRect& rect)
{
    const GridColour dark = SysColour(GridSysColour::DarkShadow3D);
    const GridColour light = SysColour(GridSysColour::Light3D);
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    Line(right, rect.top, rect.left, rect.top, dark);
    Line(rect.left, rect.top, rect.left, bottom, dark);
    Line(right, rect.top, right, bottom + 1, light);
    Line(rect.left, bottom, right, bottom, light);
}

void CGridDcPainter::Text(const std::string& text, const CGridRect& rect, std::uint32_t format, GridColour colour,
                          const CGridFont* font)
{
    if (text.empty() || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    m_dc.SetFont(FontFor(font));
    m_dc.SetTextForeground(ToColour(colour));
    const wxRect box(rect.left, rect.top, rect.Width(), rect.Height());
    wxString label = wxString::FromUTF8(text);
    if (font && (font->escapement == 900 || font->escapement == -900)) {
        wxDCClipper clipper(m_dc, box);
        const wxSize size = m_dc.GetTextExtent(label);
        const int x = box.x + (box.width - size.y) / 2;
        const int y = font->escapement == 900 ? box.GetBottom() : box.y;
        m_dc.DrawRotatedText(label, x, y, font->escapement / 10.0);
        return;
    }
    int alignment = (format & DT_RIGHT) ? wxALIGN_RIGHT : (format & DT_CENTER) ? wxALIGN_CENTER_HORIZONTAL : wxALIGN_LEFT;
    if ((format & DT_SINGLELINE) && label.find('\n') == wxString::npos) {
        // The common case, drawn straight: a line that fits needs no clipping.
        const wxSize size = m_dc.GetTextExtent(label);
        if (size.x <= box.width && size.y <= box.height) {
            const int x = (format & DT_RIGHT)    ? box.GetRight() + 1 - size.x
                          : (format & DT_CENTER) ? box.x + (box.width - size.x) / 2
                                                 : box.x;
            const int y = (format & DT_VCENTER) ? box.y + (box.height - size.y) / 2 : box.y;
            m_dc.DrawText(label, x, y);
            return;
        }
    }
    wxDCClipper clipper(m_dc, box);
    if (format & DT_SINGLELINE) {
        label.Replace("\n", " ");
        alignment |= (format & DT_VCENTER) ? wxALIGN_CENTER_VERTICAL : wxALIGN_TOP;
    } else if (format & DT_WORDBREAK) {
        label = WrapText(m_dc, label, box.width);
    }
    if (format & DT_END_ELLIPSIS)
        label = wxControl::Ellipsize(label, m_dc, wxELLIPSIZE_END, box.width);
    m_dc.DrawLabel(label, box, alignment);
}

void CGridDcPainter::Image(int image, int x, int y)
{
    if (m_images && image >= 0 && image < m_images->GetImageCount())
        m_images->Draw(image, m_dc, x, y, wxIMAGELIST_DRAW_TRANSPARENT);
}

CGridSize CGridDcPainter::TextExtent(const std::string& text, const CGridFont* font)
{
    m_dc.SetFont(FontFor(font));
    const wxSize size = m_dc.GetTextExtent(wxString::FromUTF8(text));
    return CGridSize{size.x, size.y};
}

wxString CGridDcPainter::WrapText(const wxDC& dc, const wxString& text, int width)
{
    wxString wrapped;
    wxStringTokenizer lines(text, "\n", wxTOKEN_RET_EMPTY_ALL);
    while (lines.HasMoreTokens()) {
        wxString line;
        wxStringTokenizer words(lines.GetNextToken(), " ");
        while (words.HasMoreTokens()) {
            const wxString word = words.GetNextToken();
            const wxString longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && dc.GetTextExtent(longer).x > width) {
                wrapped << line << "\n";
                line = word;
            } else {
                line = longer;
            }
        }
        wrapped << line << (lines.HasMoreTokens() ? "\n" : "");
    }
    return wrapped;
}

void CGridDcPainter::DropButton(const CGridRect& rect)
{
    FillRect(rect, FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    const GridColour light = SysColour(GridSysColour::Light3D);
    const GridColour dark = SysColour(GridSysColour::DarkShadow3D);
    Line(rect.left, rect.top, rect.right, rect.top, light);
    Line(rect.left, rect.top, rect.left, rect.bottom, light);
    Line(rect.right - 1, rect.top, rect.right - 1, rect.bottom, dark);
    Line(rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, dark);
    // A small triangle pointing down in the middle.
    const int size = std::max(2, std::min(rect.Width(), rect.Height()) / 4);
    const int cx = (rect.left + rect.right) / 2;
    const int top = (rect.top + rect.bottom) / 2 - size / 2;
    for (int i = 0; i < size; ++i)
        Line(cx - size + i + 1, top + i, cx + size - i, top + i, FromColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
}

CGridSize CGridDcPainter::ButtonSize() const
{
    const int width = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X);
    const int height = wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y);
    return CGridSize{width > 0 ? width : 16, height > 0 ? height : 16};
}
