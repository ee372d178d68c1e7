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
    explicit CReportPainter(IReportCanvas& canvas) : m_canvas(canvas) {}

    // The output page of that 0-based index; nothing for an index outside the document.
    void DrawPage(const CReport& report, int index, double zoom);
    void DrawElement(const CReportElement& element, double zoom);

    // The canvas font of a report font at the zoom: a size in tenths of a millimetre is the cell
    // height, a size in points the character height. A zero height where the font has no size.
    static SCanvasFont CreateGdiFont(const CReportFont& font, double zoom);
    // The report font of that name, or the canvas's default font when the document has none of
    // that name (or one of size 0).
    static SCanvasFont CreateNamedFont(const CReport* report, const std::string& fontname, double zoom);

private:
    void DrawText(const CReportText& text, double zoom);
    void DrawRectangle(const CReportRectangle& rectangle, double zoom);
    void DrawLine(const CReportLine& line, double zoom);
    void DrawPicture(const CReportPicture& picture, double zoom);
    void DrawHtmlText(const CReportHtmlText& html, double zoom);
    void DrawTable(const CReportTable& table, double zoom);
    void DrawCell(const CReportTable& table, const CReportColumn& column, int rowOnPage, std::size_t index,
                  double zoom);

    IReportCanvas& m_canvas;
};
