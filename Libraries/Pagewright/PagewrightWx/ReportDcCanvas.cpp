#include "PagewrightWx/ReportDcCanvas.h"

#include "Pagewright/ReportImage.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/dcprint.h>
#include <wx/graphics.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/region.h>

#include <algorithm>
#include <cmath>

namespace {

// The em of the face measured for its cell height.
constexpr int kReferenceEm = 100;
// The font that finds how large the DC draws a point.
constexpr double kReferencePoints = 100.0;
// Text on paper is laid out at no coarser a resolution: wx lays it out in whole device pixels,
// which at a printer's low resolution adds up to millimetres along a line.
constexpr double kPrintedTextDpi = 1200.0;
// Pictures print at no finer a resolution, nor finer than their own pixels.
constexpr double kPrintedPictureDpi = 300.0;

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

void EnsureImageHandlers()
{
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxInitAllImageHandlers();
}

}  // namespace

CReportDcCanvas::CReportDcCanvas(wxDC& dc, double dpiX, double dpiY, const wxPoint& origin)
    : m_dc(dc), m_dpiX(dpiX), m_dpiY(dpiY), m_origin(origin), m_measureBitmap(8, 8), m_measureDc(m_measureBitmap),
      m_printer(dynamic_cast<wxPrinterDC*>(&dc) != nullptr)
{
    m_dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    m_measurePixelsPerPoint = m_measureDc.GetPPI().y / 72.0;
    m_pixelsPerPoint = m_dc.GetPPI().y / 72.0;
    if (!m_printer)
        return;
    // wx's printer context draws a point as large in its pixels as the screen does, whatever the
    // printer's resolution: the same font on it and on the memory context tells how large.
    const wxFont reference{wxFontInfo(kReferencePoints)};
    m_measureDc.SetFont(reference);
    m_dc.SetFont(reference);
    const int measured = m_measureDc.GetCharHeight();
    const int drawn = m_dc.GetCharHeight();
    if (measured > 0 && drawn > 0)
        m_pixelsPerPoint = m_measurePixelsPerPoint * drawn / measured;
    m_textScale = std::max(1.0, std::ceil(kPrintedTextDpi / std::min(m_dpiX, m_dpiY)));
}

CReportDcCanvas::~CReportDcCanvas()
{
    ResetClip();
}

void CReportDcCanvas::TurnQuarter(int sheetHeight)
{
    m_turned = true;
    m_sheetHeight = sheetHeight;
}

wxColour CReportDcCanvas::ToColour(ReportColor color)
{
    return wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

wxPoint CReportDcCanvas::ToDevice(SReportPoint point) const
{
    const int u = Round(point.x * m_dpiX / 254.0);
    const int v = Round(-point.y * m_dpiY / 254.0);
    if (m_turned)
        return wxPoint(m_origin.x + v, m_origin.y + m_sheetHeight - u);
    return wxPoint(m_origin.x + u, m_origin.y + v);
}

std::vector<wxPoint> CReportDcCanvas::ToDevice(const Polygon& points) const
{
    std::vector<wxPoint> device;
    device.reserve(points.size());
    for (const SReportPoint& point : points)
        device.push_back(ToDevice(point));
    return device;
}

void CReportDcCanvas::FillPolygon(const Polygon& points, ReportColor color)
{
    if (points.size() < 3)
        return;
    const std::vector<wxPoint> device = ToDevice(points);
    m_dc.SetPen(*wxTRANSPARENT_PEN);
    m_dc.SetBrush(wxBrush(ToColour(color)));
    m_dc.DrawPolygon(static_cast<int>(device.size()), device.data(), 0, 0, wxWINDING_RULE);
}

void CReportDcCanvas::DrawPolyline(const Polygon& points, ReportColor color, int penWidth, bool closed)
{
    if (points.size() < 2)
        return;
    std::vector<wxPoint> device = ToDevice(points);
    if (closed)
        device.push_back(device.front());
    const int width = std::max(1, Round(penWidth * m_dpiX / 254.0));
    m_dc.SetPen(wxPen(ToColour(color), width, wxPENSTYLE_SOLID));
    m_dc.SetBrush(*wxTRANSPARENT_BRUSH);
    m_dc.DrawLines(static_cast<int>(device.size()), device.data());
}

// The printer DC takes no region clips, and a region is made of rectangles: the polygon goes to
// cairo, which draws every DC here, as a path.
void CReportDcCanvas::SetClipPolygon(const Polygon& points)
{
    ResetClip();
    auto* cairo = static_cast<cairo_t*>(m_dc.GetImpl()->GetCairoContext());
    const std::vector<wxPoint> device = ToDevice(points);
    if (cairo == nullptr || device.size() < 3) {
        if (device.size() >= 3)
            m_dc.SetDeviceClippingRegion(wxRegion(device.size(), device.data(), wxWINDING_RULE));
        m_clipped = true;
        return;
    }
    cairo_new_path(cairo);
    cairo_move_to(cairo, device[0].x, device[0].y);
    for (std::size_t i = 1; i < device.size(); ++i)
        cairo_line_to(cairo, device[i].x, device[i].y);
    cairo_close_path(cairo);
    cairo_clip(cairo);
    m_clipped = true;
}

void CReportDcCanvas::ResetClip()
{
    if (!m_clipped)
        return;
    m_clipped = false;
    if (auto* cairo = static_cast<cairo_t*>(m_dc.GetImpl()->GetCairoContext()))
        cairo_reset_clip(cairo);
    else
        m_dc.DestroyClippingRegion();
}

wxFont CReportDcCanvas::MakeFont(const SCanvasFont& font, double emPixels, double pixelsPerPoint)
{
    wxFontInfo info(std::max(0.1, emPixels / pixelsPerPoint));
    info.FaceName(font.face).Bold(font.weight >= 700).Italic(font.italic).Underlined(font.underline)
        .Strikethrough(font.strikeOut);
    return wxFont(info);
}

double CReportDcCanvas::EmPixels(const SCanvasFont& font)
{
    const double pixels = std::abs(font.height) * m_dpiY / 254.0;
    if (font.height <= 0)
        return pixels;
    const std::string key = font.face + (font.weight >= 700 ? "|b" : "|") + (font.italic ? "i" : "");
    auto found = m_emPerCell.find(key);
    if (found == m_emPerCell.end()) {
        m_measureDc.SetFont(MakeFont(font, kReferenceEm, m_measurePixelsPerPoint));
        const int cell = m_measureDc.GetCharHeight();
        found = m_emPerCell.emplace(key, cell > 0 ? static_cast<double>(kReferenceEm) / cell : 1.0).first;
    }
    return pixels * found->second;
}

// On paper the text is laid out as the printer's context measures it, the way it is drawn there.
STextMetrics CReportDcCanvas::MeasureText(const SCanvasFont& font, std::string_view text)
{
    wxDC& measuring = m_printer ? m_dc : m_measureDc;
    measuring.SetFont(
        MakeFont(font, EmPixels(font) * m_textScale, m_printer ? m_pixelsPerPoint : m_measurePixelsPerPoint));
    wxCoord width = 0;
    wxCoord height = 0;
    wxCoord descent = 0;
    const wxString string = wxString::FromUTF8(text.data(), text.size());
    measuring.GetTextExtent(string.empty() ? wxString("X") : string, &width, &height, &descent);
    STextMetrics metrics;
    metrics.width = string.empty() ? 0 : Round(width * 254.0 / (m_dpiX * m_textScale));
    metrics.height = Round(height * 254.0 / (m_dpiY * m_textScale));
    metrics.descent = Round(descent * 254.0 / (m_dpiY * m_textScale));
    metrics.ascent = metrics.height - metrics.descent;
    return metrics;
}

void CReportDcCanvas::DrawText(const SCanvasFont& font, ReportColor color, SReportPoint origin, double angle,
                               std::string_view text)
{
    m_dc.SetFont(MakeFont(font, EmPixels(font) * m_textScale, m_pixelsPerPoint));
    m_dc.SetTextForeground(ToColour(color));
    // wx's printer context sets the text colour only when it differs from the one it last set
    // for text, though fills and lines have set others since: the colour is set here.
    if (auto* cairo = static_cast<cairo_t*>(m_dc.GetImpl()->GetCairoContext())) {
        cairo_set_source_rgb(cairo, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                             ((color >> 16) & 0xFF) / 255.0);
    }
    const wxString string = wxString::FromUTF8(text.data(), text.size());
    const double turned = angle + (m_turned ? 90.0 : 0.0);
    // A font m_textScale times as large, shrunk back by the DC's scale.
    const wxPoint device = ToDevice(origin);
    const wxPoint at(Round(device.x * m_textScale), Round(device.y * m_textScale));
    double scaleX = 1.0;
    double scaleY = 1.0;
    m_dc.GetUserScale(&scaleX, &scaleY);
    m_dc.SetUserScale(scaleX / m_textScale, scaleY / m_textScale);
    if (turned == 0.0)
        m_dc.DrawText(string, at);
    else
        m_dc.DrawRotatedText(string, at, turned);
    m_dc.SetUserScale(scaleX, scaleY);
}

// Only the part of the image that lands on the DC is scaled, so a picture at a high zoom costs
// no more than the window or page it is seen in. The source is decoded for each new placement
// and let go once scaled: what is kept is the drawn part at the device's size.
void CReportDcCanvas::DrawImage(const CReportImage& image, const SReportRect& rect)
{
    const wxPoint a = ToDevice({rect.left, rect.top});
    const wxPoint b = ToDevice({rect.right, rect.bottom});
    const wxRect target(wxPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
                        wxSize(std::abs(b.x - a.x), std::abs(b.y - a.y)));
    if (target.IsEmpty())
        return;
    if (m_printer) {
        PrintImage(image, target);
        return;
    }
    const wxRect visible = target.Intersect(wxRect(wxPoint(0, 0), m_dc.GetSize()));
    if (visible.IsEmpty())
        return;
    const SScaledKey key{&image, target.GetSize(),
                         wxRect(visible.GetPosition() - target.GetPosition(), visible.GetSize())};
    const wxBitmap bitmap = Scaled(key, [&] { return ScaleImage(image, target, visible); });
    if (bitmap.IsOk())
        m_dc.DrawBitmap(bitmap, visible.GetPosition(), false);
}

// On paper the printer gets the picture at its own pixels, or at the fewer its box takes at
// kPrintedPictureDpi, and cairo stretches it over the box, smoothing it: scaled to the printer's
// pixels, one picture over a page took a gigabyte at 1200 dpi. A plain DC would stretch it too,
// but by repeating pixels.
void CReportDcCanvas::PrintImage(const CReportImage& image, const wxRect& target)
{
    // The box in the picture's own orientation, in pixels at the resolution pictures print at.
    const int boxWidth = m_turned ? target.height : target.width;
    const int boxHeight = m_turned ? target.width : target.height;
    const wxSize size(std::max(1, std::min(image.GetPixelWidth(), Round(boxWidth * kPrintedPictureDpi / m_dpiX))),
                      std::max(1, std::min(image.GetPixelHeight(), Round(boxHeight * kPrintedPictureDpi / m_dpiY))));
    const SScaledKey key{&image, size, wxRect(wxPoint(), size)};
    const wxBitmap bitmap = Scaled(key, [&]() -> wxBitmap {
        wxImage source = DecodeImage(image);
        if (!source.IsOk())
            return wxBitmap();
        if (source.GetSize() != size)
            source.Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH);
        return wxBitmap(m_turned ? source.Rotate90(false) : source);
    });
    if (!bitmap.IsOk())
        return;
    const std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(static_cast<wxPrinterDC&>(m_dc)));
    if (context)
        context->DrawBitmap(bitmap, target.x, target.y, target.width, target.height);
}

wxBitmap CReportDcCanvas::Scaled(const SScaledKey& key, const std::function<wxBitmap()>& make)
{
    const auto cached =
        std::find_if(m_scaled.begin(), m_scaled.end(), [&key](const SScaled& s) { return s.key == key; });
    if (cached != m_scaled.end())
        return cached->bitmap;
    const wxBitmap bitmap = make();
    if (!bitmap.IsOk())
        return bitmap;
    const std::size_t bytes = static_cast<std::size_t>(bitmap.GetWidth()) * bitmap.GetHeight() * 4;
    if (m_scaledBytes + bytes > kMaxScaledBytes) {
        m_scaled.clear();
        m_scaledBytes = 0;
    }
    if (bytes <= kMaxScaledBytes) {
        m_scaledBytes += bytes;
        m_scaled.push_back(SScaled{key, bitmap});
    }
    return bitmap;
}

// The source decoded as the kind its header names, the one its size was bounded by.
wxImage CReportDcCanvas::DecodeImage(const CReportImage& image)
{
    EnsureImageHandlers();
    wxBitmapType type = wxBITMAP_TYPE_PNG;
    switch (image.GetKind()) {
    case CReportImage::kPng:
        break;
    case CReportImage::kGif:
        type = wxBITMAP_TYPE_GIF;
        break;
    case CReportImage::kBmp:
        type = wxBITMAP_TYPE_BMP;
        break;
    case CReportImage::kJpeg:
        type = wxBITMAP_TYPE_JPEG;
        break;
    }
    wxImage source;
    wxMemoryInputStream stream(image.GetBytes().data(), image.GetBytes().size());
    wxLogNull quiet;
    if (!source.LoadFile(stream, type) || !source.IsOk())
        return wxImage();
    return source;
}

// A turned canvas turns the scaled part rather than the whole source.
wxBitmap CReportDcCanvas::ScaleImage(const CReportImage& image, const wxRect& target, const wxRect& visible) const
{
    wxImage source = DecodeImage(image);
    if (!source.IsOk())
        return wxBitmap();
    // The source's size as the device sees it, turned with the canvas.
    const int width = m_turned ? source.GetHeight() : source.GetWidth();
    const int height = m_turned ? source.GetWidth() : source.GetHeight();
    const double sx = static_cast<double>(width) / target.width;
    const double sy = static_cast<double>(height) / target.height;
    wxRect part(static_cast<int>((visible.x - target.x) * sx), static_cast<int>((visible.y - target.y) * sy),
                std::max(1, Round(visible.width * sx)), std::max(1, Round(visible.height * sy)));
    part.Intersect(wxRect(0, 0, width, height));
    if (part.IsEmpty())
        return wxBitmap();
    // Turning a quarter counter-clockwise takes the source's pixel (x, y) to (y, width - 1 - x).
    if (m_turned)
        part = wxRect(source.GetWidth() - part.GetBottom() - 1, part.x, part.height, part.width);
    if (part != wxRect(0, 0, source.GetWidth(), source.GetHeight()))
        source = source.GetSubImage(part);
    const wxSize size = m_turned ? wxSize(visible.height, visible.width) : visible.GetSize();
    wxImage scaled = source.Scale(size.x, size.y, wxIMAGE_QUALITY_HIGH);
    source.Destroy();
    if (m_turned)
        scaled = scaled.Rotate90(false);
    return wxBitmap(scaled);
}

void CReportDcCanvas::SetPixel(SReportPoint point, ReportColor color)
{
    m_dc.SetPen(wxPen(ToColour(color), 1, wxPENSTYLE_SOLID));
    m_dc.DrawPoint(ToDevice(point));
}

// The frame is the region less the region shrunk by the thickness on every side.
void CReportDcCanvas::FrameRegion(const ReportRegion& region, ReportColor color, int thickness)
{
    wxRegion area;
    for (const Polygon& polygon : region) {
        if (polygon.size() >= 3) {
            const std::vector<wxPoint> device = ToDevice(polygon);
            area.Union(wxRegion(device.size(), device.data(), wxWINDING_RULE));
        }
    }
    if (area.IsEmpty())
        return;
    wxRegion inner(area);
    const wxPoint shifts[] = {{thickness, 0}, {-thickness, 0}, {0, thickness}, {0, -thickness}};
    for (const wxPoint& shift : shifts) {
        wxRegion moved(area);
        moved.Offset(shift);
        inner.Intersect(moved);
    }
    area.Subtract(inner);
    m_dc.SetPen(*wxTRANSPARENT_PEN);
    m_dc.SetBrush(wxBrush(ToColour(color)));
    for (wxRegionIterator piece(area); piece; ++piece)
        m_dc.DrawRectangle(piece.GetRect());
}
