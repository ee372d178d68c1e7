// Where report pages are drawn. Everything is given in the report's drawing units: tenths of a
// millimetre times the zoom, y pointing up, (0, 0) the top-left of the printable area. The
// canvas converts to its device itself, so fonts and pen widths keep their physical size on
// screen, in memory and on paper alike.
#pragma once

#include "Glyphora/TextMeasurer.h"
#include "Pagewright/ReportValues.h"

#include <string>
#include <string_view>
#include <vector>

class CReportImage;

// A font as report drawing asks for it: a positive height is the cell height (ascent plus
// descent), a negative one the character height (the em), both in drawing units.
struct SCanvasFont {
    std::string face;
    int height = 0;
    int weight = 400;  // 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class IReportCanvas {
public:
    using Polygon = std::vector<SReportPoint>;

    virtual ~IReportCanvas() = default;

    virtual void FillPolygon(const Polygon& points, ReportColor color) = 0;
    // A solid pen penWidth drawing units wide, at least one device pixel.
    virtual void DrawPolyline(const Polygon& points, ReportColor color, int penWidth, bool closed) = 0;
    // Later drawing shows only inside the polygon, until ResetClip.
    virtual void SetClipPolygon(const Polygon& points) = 0;
    virtual void ResetClip() = 0;
    // The text's extent and the font's metrics in drawing units.
    virtual STextMetrics MeasureText(const SCanvasFont& font, std::string_view text) = 0;
    // The text with the top-left of its cell at origin, turned counter-clockwise by angle degrees
    // around it.
    virtual void DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                          std::string_view text) = 0;
    // The image stretched into the rectangle (top above bottom, as y points up).
    virtual void DrawImage(const CReportImage& image, const SReportRect& rect) = 0;
    // The one device pixel at the point.
    virtual void SetPixel(SReportPoint point, ReportColor color) = 0;
    // A frame of thickness device pixels along the inside of the region's border.
    virtual void FrameRegion(const ReportRegion& region, ReportColor color, int thickness) = 0;
};
