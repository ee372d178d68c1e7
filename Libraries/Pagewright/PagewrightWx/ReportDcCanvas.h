// The report canvas over a wxDC. It does the conversion to device pixels itself
// (px = units * dpi / 254) rather than through wx's mapping modes, which scale fonts by the
// screen's resolution instead of the device's; fonts are made for their size in device pixels,
// on a printer as large as its context is found to draw them. Text is measured on the printer's
// context when printing, else on a small memory context of its own, never on a page-sized bitmap.
#pragma once

#include "PagewrightWx/ReportCanvas.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class wxDC;

class CReportDcCanvas : public IReportCanvas {
public:
    // dpi: the DC's device pixels per inch; origin: the device pixel of drawing point (0, 0).
    CReportDcCanvas(wxDC& dc, double dpiX, double dpiY, const wxPoint& origin = wxPoint());
    ~CReportDcCanvas() override;

    // Turns the drawing a quarter counter-clockwise onto a sheet sheetHeight pixels high, so a
    // landscape page prints on a portrait sheet with its top at the sheet's left edge.
    void TurnQuarter(int sheetHeight);

    wxPoint ToDevice(SReportPoint point) const;

    void FillPolygon(const Polygon& points, ReportColor color) override;
    void DrawPolyline(const Polygon& points, ReportColor color, int penWidth, bool closed) override;
    void SetClipPolygon(const Polygon& points) override;
    void ResetClip() override;
    STextMetrics MeasureText(const SCanvasFont& font, std::string_view text) override;
    void DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                  std::string_view text) override;
    void DrawImage(const CReportImage& image, const SReportRect& rect) override;
    void SetPixel(SReportPoint point, ReportColor color) override;
    void FrameRegion(const ReportRegion& region, ReportColor color, int thickness) override;

    static wxColour ToColour(ReportColor color);

private:
    // The font whose em is emPixels device pixels, for a DC that draws a point that large.
    static wxFont MakeFont(const SCanvasFont& font, double emPixels, double pixelsPerPoint);
    // The em in device pixels: a cell height is turned into the em the face needs for it.
    double EmPixels(const SCanvasFont& font);
    std::vector<wxPoint> ToDevice(const Polygon& points) const;
    // The visible part of the image stretched over target, at the visible part's size in device
    // pixels; not ok when the image cannot be decoded.
    wxBitmap ScaleImage(const CReportImage& image, const wxRect& target, const wxRect& visible) const;
    // The image stretched over target on the printer.
    void PrintImage(const CReportImage& image, const wxRect& target);
    // Not ok when the image cannot be decoded.
    static wxImage DecodeImage(const CReportImage& image);

    // A picture drawn: the image, the size it is stretched to and the part of that which shows;
    // on a printer the size it is handed over at, all of it.
    struct SScaledKey {
        const CReportImage* image;
        wxSize target;
        wxRect visible;
        bool operator==(const SScaledKey& other) const
        {
            return image == other.image && target == other.target && visible == other.visible;
        }
    };
    struct SScaled {
        SScaledKey key;
        wxBitmap bitmap;
    };
    // The bitmap drawn for the key, made once while it is kept.
    wxBitmap Scaled(const SScaledKey& key, const std::function<wxBitmap()>& make);
    // Scaled pictures kept for drawing again (table cells draw one picture many times), up to
    // this many bytes; beyond, they are let go and made again when asked for. A larger picture is
    // not kept.
    static constexpr std::size_t kMaxScaledBytes = 16 * 1024 * 1024;

    wxDC& m_dc;
    double m_dpiX;
    double m_dpiY;
    wxPoint m_origin;
    bool m_turned = false;
    int m_sheetHeight = 0;
    bool m_clipped = false;
    wxBitmap m_measureBitmap;
    wxMemoryDC m_measureDc;
    bool m_printer;
    // Device pixels of a point's font size, on the measuring context and as the DC draws it.
    double m_measurePixelsPerPoint = 1.0;
    double m_pixelsPerPoint = 1.0;
    // Text is measured and drawn with fonts this many times as large on a DC scaled down as much.
    double m_textScale = 1.0;
    // Em over cell height per face and style, measured once.
    std::map<std::string, double> m_emPerCell;
    std::vector<SScaled> m_scaled;
    std::size_t m_scaledBytes = 0;
};
