// Draws report pages and their elements on a canvas at a zoom: the page's background, then its
// elements in file order, each only when its display condition holds.
#pragma once

#include "PagewrightWx/ReportCanvas.h"

class CReport;
class CReportColumn;
class CReportElement;
class CReportFont;
class CReportHtmlText;
class CReportLine;
class CReportPicture;
class CReportRectangle;
class CReportTable;
class CReportText;

class CReportPainter {
public:
    // Colour of anchor markers.
    static constexpr ReportColor kMarkerColor = 0x1E1EC8;
    static constexpr ReportColor kPaperTextColor = 0x000000;

    // htmlTextColor: html text where its mark-up gives no colour; on screen the desktop's
    // window-text colour (DesktopTextColor), on paper black (kPaperTextColor), which a dark
    // desktop's light text colour would leave unreadable.
    CReportPainter(IReportCanvas& canvas, ReportColor htmlTextColor) : m_canvas(canvas), m_htmlTextColor(htmlTextColor) {}

    static ReportColor DesktopTextColor();

    // The output page of that 0-based index; nothing for an index outside the document.
    // markers: anchor markers at each element's corners or ends; outline: each element's region
    // framed in its outline colour.
    void DrawPage(const CReport& report, int index, double zoom, bool markers = false, bool outline = false);
    void DrawElement(const CReportElement& element, double zoom, bool markers = false, bool outline = false);
    // A point with a square of 100 drawing units around it, one pixel wide.
    void DrawAnchorMarker(SReportPoint point);

    // The canvas font of a report font at the zoom: a size in tenths of a millimetre is the cell
    // height, a size in points the character height. A zero height where the font has no size.
    static SCanvasFont CreateGdiFont(const CReportFont& font, double zoom);
    // The report font of that name, or the canvas's default font when the document has none of
    // that name (or one of size 0).
    static SCanvasFont CreateNamedFont(const CReport* report, const std::string& fontname, double zoom);

private:
    // Each false when the element has nothing to draw.
    bool DrawText(const CReportText& text, double zoom);
    bool DrawRectangle(const CReportRectangle& rectangle, double zoom);
    bool DrawLine(const CReportLine& line, double zoom);
    bool DrawPicture(const CReportPicture& picture, double zoom);
    bool DrawHtmlText(const CReportHtmlText& html, double zoom);
    bool DrawTable(const CReportTable& table, double zoom, bool markers, bool outline);
    // row: the row's number in the whole table, 1-based.
    void DrawCell(const CReportTable& table, const CReportColumn& column, const SReportRect& cell, int row,
                  double zoom, bool markers, bool outline);
    void DrawMarkersAndOutline(const std::vector<SReportPoint>& anchors, const ReportRegion& region,
                               ReportColor outlineColor, bool markers, bool outline);

    IReportCanvas& m_canvas;
    ReportColor m_htmlTextColor;
};
