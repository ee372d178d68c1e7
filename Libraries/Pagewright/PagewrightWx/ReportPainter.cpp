#include "PagewrightWx/ReportPainter.h"

#include "Glyphora/HtmlTextDrawer.h"
#include "Pagewright/Report.h"
#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"

#include <wx/settings.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Drawing units per point: a point is 254/72 tenths of a millimetre.
constexpr double kUnitsPerPoint = 254.0 / 72.0;
// What a text without a usable font of its document is drawn with.
constexpr int kDefaultPoints = 12;
constexpr const char* kDefaultFace = "Arial";

int Round(double value)
{
    return static_cast<int>(std::trunc(value + (value < 0 ? -0.5 : 0.5)));
}

int PointsToHeight(int points, double zoom)
{
    return -std::abs(Round(points * zoom * kUnitsPerPoint));
}

// The point (dx, dy) from the centre, dy pointing down the box, turned counter-clockwise by
// the angle as the box corners are; drawing units have y up.
SReportPoint Turn(SReportPoint centre, int dx, int dy, double angle)
{
    const double a = angle * kPi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return SReportPoint{centre.x + Round(dx * c + dy * s), centre.y + Round(dx * s - dy * c)};
}

// The lines of a text element: broken at line feeds, and with word wrap at the blanks before
// a word that would pass the box's right edge (a word longer than the box keeps its line).
std::vector<std::string> BreakLines(IReportCanvas& canvas, const SCanvasFont& font, const std::string& text,
                                    int boxWidth, bool wrap)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string paragraph = text.substr(start, end - start);
        paragraph.erase(std::remove(paragraph.begin(), paragraph.end(), '\r'), paragraph.end());
        if (!wrap) {
            lines.push_back(paragraph);
        } else {
            std::string line;
            std::size_t at = 0;
            do {
                std::size_t blank = paragraph.find(' ', at);
                const std::size_t length = blank == std::string::npos ? std::string::npos : blank - at;
                const std::string word = paragraph.substr(at, length);
                const std::string candidate = line.empty() ? word : line + " " + word;
                if (!line.empty() && canvas.MeasureText(font, candidate).width > boxWidth) {
                    lines.push_back(line);
                    line = word;
                } else {
                    line = candidate;
                }
                at = blank == std::string::npos ? paragraph.size() + 1 : blank + 1;
            } while (at <= paragraph.size());
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

// Lines of text are as far apart as the font's size, as the PDF export sets them, not its
// cell's height.
int LinePitch(const SCanvasFont& font)
{
    return std::abs(font.height);
}

// The lines fit the box by the rule of every drawing of a text: one line pitch apart, with the
// font's descent below the last, as the export decides it.
bool LinesFit(IReportCanvas& canvas, const SCanvasFont& font, const std::vector<std::string>& lines, int boxWidth,
              int boxHeight)
{
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, canvas.MeasureText(font, line).width);
    return CReportText::LinesFit(widest, lines.size(), LinePitch(font),
                                 canvas.MeasureText(font, std::string_view()).descent, boxWidth, boxHeight);
}

// Html text measured on the canvas: fonts of font tags are in points, the element's own font
// may be in tenths of a millimetre; both at the drawing's zoom.
class CCanvasMeasurer : public ITextMeasurer {
public:
    CCanvasMeasurer(IReportCanvas& canvas, double zoom) : m_canvas(canvas), m_zoom(zoom) {}

    SCanvasFont ToCanvasFont(const SHtmlFont& font) const
    {
        SCanvasFont result;
        result.face = font.face;
        result.height = font.sizeInPoints ? PointsToHeight(font.size, m_zoom) : Round(font.size * m_zoom);
        result.weight = font.weight;
        result.italic = font.italic;
        result.underline = font.underline;
        result.strikeOut = font.strikeOut;
        return result;
    }
    STextMetrics Measure(const SHtmlFont& font, std::string_view text) override
    {
        return m_canvas.MeasureText(ToCanvasFont(font), text);
    }
    // Lines as high as their font's size, as the PDF export sets them, so that paper and preview
    // put each line where the export has it; the font's cell (ascent plus descent) would set
    // them about a ninth further apart. The export takes a size in tenths of a millimetre to the
    // nearest whole point.
    SLineBox LineBox(const SHtmlFont& font, const STextMetrics& metrics) override
    {
        const int points = font.sizeInPoints ? font.size : static_cast<int>(font.size / kUnitsPerPoint + 0.5);
        return {std::abs(PointsToHeight(points, m_zoom)), metrics.ascent};
    }

private:
    IReportCanvas& m_canvas;
    double m_zoom;
};

}  // namespace

SCanvasFont CReportPainter::CreateGdiFont(const CReportFont& font, double zoom)
{
    SCanvasFont result;
    result.face = font.typeface;
    result.height = font.sizeInPoints ? PointsToHeight(font.size, zoom) : Round(font.size * zoom);
    result.weight = font.bold ? 700 : 400;
    result.italic = font.italic;
    result.underline = font.underline;
    result.strikeOut = font.strikethrough;
    return result;
}

SCanvasFont CReportPainter::CreateNamedFont(const CReport* report, const std::string& fontname, double zoom)
{
    const CReportFont* font = report != nullptr ? report->FindFont(fontname) : nullptr;
    if (font != nullptr && font->size != 0)
        return CreateGdiFont(*font, zoom);
    SCanvasFont fallback;
    fallback.face = kDefaultFace;
    fallback.height = PointsToHeight(kDefaultPoints, zoom);
    return fallback;
}

ReportColor CReportPainter::DesktopTextColor()
{
    const wxColour colour = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    return colour.Red() | (colour.Green() << 8) | (colour.Blue() << 16);
}

void CReportPainter::DrawPage(const CReport& report, int index, double zoom, bool markers, bool outline)
{
    const CReportPage* page = report.GetPage(index);
    if (page == nullptr)
        return;
    const int right = Round(zoom * page->width);
    const int bottom = Round(zoom * -page->height);
    m_canvas.FillPolygon({{0, 0}, {right, 0}, {right, bottom}, {0, bottom}}, page->backgroundColor);
    for (const auto& element : page->elements)
        DrawElement(*element, zoom, markers, outline);
}

void CReportPainter::DrawElement(const CReportElement& element, double zoom, bool markers, bool outline)
{
    if (!element.IsVisible())
        return;
    bool drawn = false;
    if (auto* text = dynamic_cast<const CReportText*>(&element))
        drawn = DrawText(*text, zoom);
    else if (auto* rectangle = dynamic_cast<const CReportRectangle*>(&element))
        drawn = DrawRectangle(*rectangle, zoom);
    else if (auto* line = dynamic_cast<const CReportLine*>(&element))
        drawn = DrawLine(*line, zoom);
    else if (auto* picture = dynamic_cast<const CReportPicture*>(&element))
        drawn = DrawPicture(*picture, zoom);
    else if (auto* html = dynamic_cast<const CReportHtmlText*>(&element))
        drawn = DrawHtmlText(*html, zoom);
    else if (auto* table = dynamic_cast<const CReportTable*>(&element))
        drawn = DrawTable(*table, zoom, markers, outline);
    // The geometry is made only when it is shown: the preview and the printout show neither.
    if (drawn && (markers || outline))
        DrawMarkersAndOutline(element.GetAnchorPoints(zoom), element.MakeRegion(zoom), element.outlineColor, markers,
                              outline);
}

void CReportPainter::DrawAnchorMarker(SReportPoint point)
{
    m_canvas.SetPixel(point, kMarkerColor);
    const int h = 50;
    m_canvas.DrawPolyline({{point.x - h, point.y - h}, {point.x + h, point.y - h}, {point.x + h, point.y + h},
                           {point.x - h, point.y + h}},
                          kMarkerColor, 0, true);
}

void CReportPainter::DrawMarkersAndOutline(const std::vector<SReportPoint>& anchors, const ReportRegion& region,
                                           ReportColor outlineColor, bool markers, bool outline)
{
    if (markers) {
        for (const SReportPoint& anchor : anchors)
            DrawAnchorMarker(anchor);
    }
    if (outline)
        m_canvas.FrameRegion(region, outlineColor, 5);
}

// The lines are laid out in the unturned box and then turned with it, so the text stays inside
// its clip, which is the turned box.
bool CReportPainter::DrawText(const CReportText& text, double zoom)
{
    const CReport* report = text.GetDocument();
    if (report == nullptr || text.width <= 0 || text.height <= 0)
        return false;
    const std::array<SReportPoint, 4> corners = text.GetCorners(zoom);
    SCanvasFont font = CreateNamedFont(report, text.fontname, zoom);
    const int left = text.ToDrawX(text.x, zoom);
    const int boxWidth = text.ToDrawX(Pagewright::ClampToInt(static_cast<long long>(text.x) + text.width), zoom) - left;
    const std::string content = text.GetDisplayText();
    std::vector<std::string> lines = BreakLines(m_canvas, font, content, boxWidth, text.multiline);
    if (text.shrinkToFit) {
        const int top = text.ToDrawY(text.y, zoom);
        const int boxHeight =
            std::abs(top - text.ToDrawY(Pagewright::ClampToInt(static_cast<long long>(text.y) + text.height), zoom));
        const int full = font.height;
        CReportText::ShrinkFactor([&](double factor) {
            const int height = std::max(1, static_cast<int>(std::lround(std::abs(full) * factor)));
            font.height = full < 0 ? -height : height;
            lines = BreakLines(m_canvas, font, content, boxWidth, text.multiline);
            return LinesFit(m_canvas, font, lines, boxWidth, boxHeight);
        });
    }
    const int lineHeight = LinePitch(font);

    m_canvas.SetClipPolygon({corners.begin(), corners.end()});
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const int offset = text.GetAlignOffset(m_canvas.MeasureText(font, lines[i]).width, boxWidth);
        const SReportPoint origin = Turn(corners[0], offset, static_cast<int>(i) * lineHeight, text.angle);
        m_canvas.DrawText(font, text.color, origin, text.angle, lines[i]);
    }
    m_canvas.ResetClip();
    return true;
}

bool CReportPainter::DrawRectangle(const CReportRectangle& rectangle, double zoom)
{
    if (rectangle.width < 1 || rectangle.height < 1)
        return false;
    IReportCanvas::Polygon points;
    for (const SReportPoint& corner : rectangle.GetCorners())
        points.push_back({rectangle.ToDrawX(corner.x, zoom), rectangle.ToDrawY(corner.y, zoom)});
    if (rectangle.fillColor != CReportRectangle::kTransparent)
        m_canvas.FillPolygon(points, rectangle.fillColor);
    const int pen = std::max(1, static_cast<int>(std::trunc(rectangle.borderWidth * zoom)));
    m_canvas.DrawPolyline(points, rectangle.borderColor, pen, true);
    return true;
}

bool CReportPainter::DrawLine(const CReportLine& line, double zoom)
{
    const int pen = std::max(1, static_cast<int>(std::trunc(line.penWidth * zoom)));
    m_canvas.DrawPolyline({{line.ToDrawX(line.x, zoom), line.ToDrawY(line.y, zoom)},
                           {line.ToDrawX(line.x2, zoom), line.ToDrawY(line.y2, zoom)}},
                          line.color, pen, false);
    return true;
}

bool CReportPainter::DrawPicture(const CReportPicture& picture, double zoom)
{
    if (!picture.GetImage() || picture.width <= 0 || picture.height <= 0)
        return false;
    int left = picture.x;
    int top = picture.y;
    int width = picture.width;
    int height = picture.height;
    picture.GetPlacement(left, top, width, height);
    SReportRect rect;
    rect.left = picture.ToDrawX(left, zoom);
    rect.top = picture.ToDrawY(top, zoom);
    rect.right = rect.left + Round(zoom * width);
    rect.bottom = rect.top - Round(zoom * height);
    m_canvas.DrawImage(*picture.GetImage(), rect);
    return true;
}

bool CReportPainter::DrawHtmlText(const CReportHtmlText& html, double zoom)
{
    const CReport* report = html.GetDocument();
    if (report == nullptr || html.width <= 0 || html.height <= 0)
        return false;
    SHtmlFont base;
    const CReportFont* font = report->FindFont(html.fontname);
    if (font != nullptr && font->size != 0) {
        base.face = font->typeface;
        base.size = font->size;
        base.sizeInPoints = font->sizeInPoints;
        base.weight = font->bold ? 700 : 400;
        base.italic = font->italic;
        base.underline = font->underline;
        base.strikeOut = font->strikethrough;
    } else {
        base.face = kDefaultFace;
        base.size = kDefaultPoints;
        base.sizeInPoints = true;
    }
    CHtmlTextDrawer drawer(html.GetDisplayMarkup());
    drawer.SetBaseFont(base);
    drawer.SetTextColor(m_htmlTextColor);
    drawer.SetYDirection(-1);
    CHtmlTextDrawer::SRect rect;
    rect.left = html.ToDrawX(html.x, zoom);
    rect.top = html.ToDrawY(html.y, zoom);
    rect.right = html.ToDrawX(Pagewright::ClampToInt(static_cast<long long>(html.x) + html.width), zoom);
    rect.bottom = html.ToDrawY(Pagewright::ClampToInt(static_cast<long long>(html.y) + html.height), zoom);
    CCanvasMeasurer measurer(m_canvas, zoom);
    CHtmlTextDrawer::SRect layout = rect;
    drawer.Layout(measurer, layout, false);

    m_canvas.SetClipPolygon({{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                             {rect.left, rect.bottom}});
    for (const CHtmlTextDrawer::SFragment& fragment : drawer.GetFragments()) {
        m_canvas.DrawText(measurer.ToCanvasFont(fragment.font), fragment.color,
                          {fragment.x, fragment.baseline + fragment.ascent}, 0.0, fragment.text);
    }
    m_canvas.ResetClip();
    return true;
}

bool CReportPainter::DrawTable(const CReportTable& table, double zoom, bool markers, bool outline)
{
    if (table.width <= 0 || table.height <= 0)
        return false;
    table.ForEachCell([&](const CReportColumn& column, const SReportRect& cell, int row) {
        DrawCell(table, column, cell, row, zoom, markers, outline);
        return true;
    });
    return true;
}

// Border pens are as wide as the column says in drawing units, whatever the zoom.
void CReportPainter::DrawCell(const CReportTable& table, const CReportColumn& column, const SReportRect& cell, int row,
                              double zoom, bool markers, bool outline)
{
    if (!column.IsVisible())
        return;
    bool bordersWanted = false;
    const std::unique_ptr<CReportElement> content = column.MakeCell(cell, table.name, row, bordersWanted);
    if (content)
        DrawElement(*content, zoom, markers, outline);
    const int left = column.ToDrawX(cell.left, zoom);
    const int top = column.ToDrawY(cell.top, zoom);
    const int right = column.ToDrawX(cell.right, zoom);
    const int bottom = column.ToDrawY(cell.bottom, zoom);
    if (markers || outline)
        DrawMarkersAndOutline({{left, top}, {left, bottom}, {right, top}, {right, bottom}},
                              {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}}, column.outlineColor,
                              markers, outline);
    if (!bordersWanted && !column.showBorderAlways)
        return;
    const CReportColumn::SSides& pen = column.borderThickness;
    const struct {
        int width;
        SReportPoint from, to;
    } sides[] = {{pen.left, {left, bottom}, {left, top}},
                 {pen.right, {right, bottom}, {right, top}},
                 {pen.top, {left, top}, {right, top}},
                 {pen.bottom, {left, bottom}, {right, bottom}}};
    for (const auto& side : sides) {
        if (side.width > 0)
            m_canvas.DrawPolyline({side.from, side.to}, column.borderColor, side.width, false);
    }
}
