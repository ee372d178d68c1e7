// The grid's painter over a wxDC: the screen (a buffered paint DC), a memory DC or a printer.
#pragma once

#include "grid/GridPainter.h"

#include <wx/dc.h>
#include <wx/font.h>

class wxImageList;

class CGridDcPainter : public IGridPainter {
public:
    // defaultFont: what a cell without a font of its own draws with; images may be null.
    CGridDcPainter(wxDC& dc, const wxFont& defaultFont, wxImageList* images, const wxRect& clip,
                   bool printing = false);

    bool GetClipBox(CGridRect& box) override;
    bool IsPrinting() const override;
    int ColourCount() const override;
    GridColour SysColour(GridSysColour which) const override;
    void FillRect(const CGridRect& rect, GridColour colour) override;
    void FrameRect(const CGridRect& rect, GridColour colour) override;
    void Line(int x1, int y1, int x2, int y2, GridColour colour) override;
    void SunkenEdge(const CGridRect& rect) override;
    void Text(const std::string& text, const CGridRect& rect, std::uint32_t format, GridColour colour,
              const CGridFont* font) override;
    void Image(int image, int x, int y) override;
    void DropButton(const CGridRect& rect) override;
    CGridSize ButtonSize() const override;
    CGridSize TextExtent(const std::string& text, const CGridFont* font) override;

    static wxColour ToColour(GridColour colour);
    static GridColour FromColour(const wxColour& colour);
    // The cell's font over the default one: face, pixel height, weight and slant it names.
    static wxFont MakeFont(const CGridFont& font, const wxFont& base);
    // The text broken into lines at width pixels, at spaces and at '\n', in the DC's font.
    static wxString WrapText(const wxDC& dc, const wxString& text, int width);

private:
    const wxFont& FontFor(const CGridFont* font);
    // A brush of the colour and no pen, for rectangles.
    void SolidBrush(GridColour colour);

    wxDC& m_dc;
    wxFont m_defaultFont;
    wxImageList* m_images;
    wxRect m_clip;
    bool m_printing;
    // The last cell font and its wx font: neighbouring cells mostly share one.
    CGridFont m_lastFont;
    wxFont m_lastWxFont;
    bool m_haveLastFont = false;
    GridColour m_brushColour = 0;
    bool m_haveBrush = false;
};
