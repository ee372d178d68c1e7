#include "TAMBEL/Report/ResultGraph.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/UnitConversion.h"
#include "Pagewright/GraphMarker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

const SColor kGridColor = {200, 200, 200};
const SColor kAxisColor = {0, 0, 0};
const SColor kCurveColor = {200, 0, 0};

// Coordinates stay far inside int, so huge or odd values cannot make the conversion undefined.
int ToCoordinate(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::max(-1.0e9, std::min(1.0e9, v)));
}

bool IsFinitePoint(const CResultPoint& point, int yColumn)
{
    return std::isfinite(point[RESULT_COLUMN_FLOW]) && std::isfinite(point[static_cast<std::size_t>(yColumn)]);
}

// Texts go into element content, so the mark-up characters must not reach it raw.
std::string EscapeMarkup(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '\'': escaped += "&apos;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

bool Near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9;
}

// The caption's box: under the x axis labels, reaching below the plot.
constexpr int kCaptionTop = 40;  // above the plot's bottom
constexpr int kCaptionHeight = 100;
constexpr int kCaptionInset = 10;

}  // namespace

void CResultGraph::Reset()
{
    m_row.Reset();
    m_plot = SGraphRect();
    m_xColumn = RESULT_COLUMN_FLOW;
    m_yColumn = -1;
    m_inner = SGraphRect();
    m_xDigits = -1;
    m_yDigits = -1;
    m_xMin = m_xMax = m_yMin = m_yMax = 0.0;
    m_markup.clear();
}

std::string CResultGraph::Build(const CResultItem& row, const SGraphRect& plot, int yColumn)
{
    Reset();
    if (yColumn < RESULT_COLUMN_VELOCITY || yColumn > RESULT_COLUMN_REYNOLDS)
        return std::string();
    m_row = row;
    m_row.Points.clear();
    for (const CResultPoint& point : row.Points) {
        if (IsFinitePoint(point, yColumn))
            m_row.Points.push_back(point);
    }
    m_plot = plot;
    m_yColumn = yColumn;
    BuildLayout();
    if (m_row.Points.empty())
        return std::string();
    BuildGrid();
    BuildAxes();
    BuildCurve();
    return m_markup;
}

int CResultGraph::GetLabelDigits(double m)
{
    if (m > 1000000.0) {
        const std::string text = DataFormat::FormatSql(m, -1, true);
        return static_cast<int>(std::min(text.find('.'), text.size()));
    }
    if (m > 100000.0)
        return 6;
    if (m > 10000.0)
        return 5;
    if (m > 1000.0)
        return 4;
    if (m > 10.0)
        return 3;
    if (m >= 0.001)
        return 2;
    if (m >= 0.0001)
        return 3;
    if (m >= 0.00001)
        return 4;
    if (m >= 0.000001)
        return 5;
    if (m >= 0.0000001)
        return 6;
    std::string text = DataFormat::FormatSql(m, -1, false);
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ',' || c == '.'; }), text.end());
    return static_cast<int>(text.size());
}

bool CResultGraph::IsMajorTick(int index, int count, bool xAxis)
{
    if (index == 0 || index == count - 1)
        return true;
    const double last = count - 1;
    const int parts = xAxis ? 3 : 4;
    for (int k = 1; k < parts; ++k) {
        if (index == static_cast<int>(last / parts * k + 0.5))
            return true;
    }
    return false;
}

bool CResultGraph::IsEvenlySpaced(int column) const
{
    const std::size_t n = m_row.Points.size();
    if (column == RESULT_COLUMN_ERROR || n <= 2)
        return true;
    const auto v = [&](std::size_t i) { return m_row.Points[i][static_cast<std::size_t>(column)]; };
    const double a = v(2) - v(1);
    const double b = n <= 4 ? v(n - 1) - v(n - 2) : v(n - 2) - v(n - 3);
    return std::fabs(a - b) <= b / 100.0;
}

std::vector<double> CResultGraph::GetTicks(int column, double lo, double hi) const
{
    const std::size_t n = m_row.Points.size();
    const bool even = IsEvenlySpaced(column);
    std::vector<double> ticks;
    for (std::size_t i = 0; i < n; ++i) {
        if (even)
            ticks.push_back(m_row.Points[i][static_cast<std::size_t>(column)]);
        else
            ticks.push_back((hi - lo) / static_cast<double>(n - 1) * static_cast<double>(i) + lo);
    }
    return ticks;
}

int CResultGraph::MapX(double v) const
{
    if (m_xMax == m_xMin)
        return m_inner.left;
    return ToCoordinate(m_inner.left + (m_inner.right - m_inner.left) / (m_xMax - m_xMin) * (v - m_xMin));
}

int CResultGraph::MapY(double v) const
{
    if (m_yMin == m_yMax)
        return m_inner.bottom;
    return ToCoordinate(m_inner.top + (m_inner.bottom - m_inner.top) / (m_yMin - m_yMax) * (v - m_yMax));
}

std::string CResultGraph::FormatLabel(double v, int column, int digits) const
{
    if (column == RESULT_COLUMN_PRESSURE_LOSS) {
        double converted = 0.0;
        ConvertFromBaseUnit(converted, v, m_row.PressureUnit, 0);
        v = converted;
    }
    return DataFormat::Format(v, digits, false);
}

void CResultGraph::BuildLayout()
{
    std::string xUnit;
    m_row.GetColumnUnitName(xUnit, m_xColumn);
    m_inner.right = m_plot.right - std::max(100, 20 * (static_cast<int>(xUnit.size()) + 2));
    m_inner.top = m_plot.top + 50;
    m_inner.bottom = m_plot.bottom - 100;
    m_inner.left = m_plot.left + 100;
    if (m_row.Points.empty())
        return;

    const std::size_t x = static_cast<std::size_t>(m_xColumn);
    const std::size_t y = static_cast<std::size_t>(m_yColumn);
    const CResultPoint& first = m_row.Points.front();
    const CResultPoint& last = m_row.Points.back();
    m_xMin = first[x];
    m_xMax = last[x];
    m_yMin = std::min(first[y], last[y]);
    m_yMax = std::max(first[y], last[y]);
    for (const CResultPoint& point : m_row.Points) {
        m_yMin = std::min(m_yMin, point[y]);
        m_yMax = std::max(m_yMax, point[y]);
    }
    if (m_yColumn == RESULT_COLUMN_ERROR && m_yMin > 0.0) {
        m_yMin = 0.0;
        m_yMax = 2.0;
    }
    m_xDigits = GetLabelDigits(std::fabs(last[x]));
    m_yDigits = GetLabelDigits(std::fabs(last[y]));
    if (m_yColumn == RESULT_COLUMN_REYNOLDS)
        m_yDigits = std::min(m_yDigits, 6);

    const int lastWidth = static_cast<int>(DataFormat::Format(last[y], m_yDigits, false).size());
    const int firstWidth = static_cast<int>(DataFormat::Format(first[y], m_yDigits, false).size());
    m_inner.left = m_plot.left + std::max({100, 20 * lastWidth, 20 * firstWidth});
}

void CResultGraph::BuildGrid()
{
    const std::vector<double> xTicks = GetTicks(m_xColumn, m_xMin, m_xMax);
    const int n = static_cast<int>(xTicks.size());
    bool hasMax = false;
    for (int i = 0; i < n; ++i) {
        const int x = MapX(xTicks[i]);
        AddLine(x, m_inner.bottom, x, m_inner.top, kGridColor, IsMajorTick(i, n, true) ? 3 : 0);
        hasMax = hasMax || Near(xTicks[i], m_xMax);
    }
    if (!hasMax)
        AddLine(MapX(m_xMax), m_inner.bottom, MapX(m_xMax), m_inner.top, kGridColor, 0);

    const std::vector<double> yTicks = GetTicks(m_yColumn, m_yMin, m_yMax);
    hasMax = false;
    for (int i = 0; i < n; ++i) {
        const int y = MapY(yTicks[i]);
        AddLine(m_inner.left, y, m_inner.right, y, kGridColor, IsMajorTick(i, n, false) ? 3 : 0);
        hasMax = hasMax || Near(yTicks[i], m_yMax);
    }
    if (!hasMax)
        AddLine(m_inner.left, MapY(m_yMax), m_inner.right, MapY(m_yMax), kGridColor, 3);
}

void CResultGraph::AddXLabel(double v)
{
    const int x = MapX(v);
    AddText(x - 100, m_inner.bottom + 25, 200, 100, "CENTER", FormatLabel(v, m_xColumn, m_xDigits));
    AddLine(x, m_inner.bottom, x, m_inner.bottom + 20, kAxisColor, 0);
}

void CResultGraph::AddYLabel(double v)
{
    const int y = MapY(v);
    AddText(m_inner.left - 225, y - 13, 200, 100, "RIGHT", FormatLabel(v, m_yColumn, m_yDigits));
    AddLine(m_inner.left, y, m_inner.left - 20, y, kAxisColor, 0);
}

void CResultGraph::BuildAxes()
{
    AddLine(m_inner.left - 20, m_inner.bottom, m_inner.right, m_inner.bottom, kAxisColor, 2);
    const std::vector<double> xTicks = GetTicks(m_xColumn, m_xMin, m_xMax);
    const int n = static_cast<int>(xTicks.size());
    bool hasMax = false;
    for (int i = 0; i < n; ++i) {
        if (IsMajorTick(i, n, true))
            AddXLabel(xTicks[i]);
        else
            AddLine(MapX(xTicks[i]), m_inner.bottom, MapX(xTicks[i]), m_inner.bottom + 10, kAxisColor, 0);
        hasMax = hasMax || Near(xTicks[i], m_xMax);
    }
    if (!hasMax)
        AddXLabel(m_xMax);

    std::string unit;
    m_row.GetColumnUnitName(unit, m_xColumn);
    if (!unit.empty())
        AddText(m_plot.right - 200, m_inner.bottom - 13, 200, 100, "RIGHT", "[" + unit + "]");
    AddText(m_plot.left + kCaptionInset, m_plot.bottom - kCaptionTop, m_plot.right - m_plot.left - 2 * kCaptionInset,
            kCaptionHeight, "CENTER", m_caption, " multiline='TRUE' shrinktofit='TRUE'");

    AddLine(m_inner.left, m_inner.bottom + 20, m_inner.left, m_inner.top, kAxisColor, 2);
    const std::vector<double> yTicks = GetTicks(m_yColumn, m_yMin, m_yMax);
    hasMax = false;
    for (int i = 0; i < n; ++i) {
        if (IsMajorTick(i, n, false))
            AddYLabel(yTicks[i]);
        else
            AddLine(m_inner.left, MapY(yTicks[i]), m_inner.left - 10, MapY(yTicks[i]), kAxisColor, 0);
        hasMax = hasMax || Near(yTicks[i], m_yMax);
    }
    if (!hasMax)
        AddYLabel(m_yMax);

    m_row.GetColumnUnitName(unit, m_yColumn);
    if (!unit.empty())
        AddText(m_inner.left - 100, m_plot.top, 200, 100, "CENTER", "[" + unit + "]");
}

void CResultGraph::BuildCurve()
{
    const std::size_t x = static_cast<std::size_t>(m_xColumn);
    const std::size_t y = static_cast<std::size_t>(m_yColumn);
    for (std::size_t i = 1; i < m_row.Points.size(); ++i) {
        const CResultPoint& point = m_row.Points[i];
        const CResultPoint& previous = m_row.Points[i - 1];
        AddLine(MapX(point[x]), MapY(point[y]), MapX(previous[x]), MapY(previous[y]), kCurveColor, 5);
    }
}

void CResultGraph::AddLine(int x, int y, int x2, int y2, const SColor& color, int penWidth)
{
    char line[200];
    std::snprintf(line, sizeof line, "<line x='%d' y='%d' x2='%d' y2='%d' color='#%02x%02x%02x' penwidth='%d' />\n", x,
                  y, x2, y2, color.red, color.green, color.blue, penWidth);
    m_markup += line;
}

SGraphRect CResultGraph::GetExtent(const SGraphRect& plot)
{
    SGraphRect extent = plot;
    extent.bottom = std::max(plot.bottom, plot.bottom - kCaptionTop + kCaptionHeight);
    return extent;
}

void CResultGraph::AddText(int x, int y, int width, int height, const char* align, const std::string& text,
                           const char* flags)
{
    char head[256];
    std::snprintf(head, sizeof head,
                  "<text x='%d' y='%d' width='%d' height='%d' color='#000000' fontname='Axis' align='%s'%s>", x, y,
                  width, height, align, flags);
    m_markup += head + EscapeMarkup(text) + "</text>\n";
}

std::string InsertResultGraphs(const std::string& templateText, const CResultItem& row,
                               const std::string& errorCaption)
{
    std::string out;
    std::istringstream lines(templateText);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out += line + "\n";
        CGraphMarker marker;
        if (!CGraphMarker::Parse(line, marker) || marker.GetColumn() < 0)
            continue;
        CResultGraph graph;
        if (marker.GetColumn() == RESULT_COLUMN_ERROR)
            graph.SetCaption(errorCaption);
        out += graph.Build(row, {marker.left, marker.top, marker.right, marker.bottom}, marker.GetColumn());
    }
    return out;
}
