#include "Pagewright/ReportElement.h"

#include "Pagewright/DisplayCondition.h"
#include "Pagewright/ReportPage.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

int ToDrawing(long long value, double zoom)
{
    const double scaled = std::trunc(static_cast<double>(value) * zoom + 0.5);
    return static_cast<int>(std::clamp(scaled, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

bool CReportElement::Load(const TiXmlElement* element)
{
    if (!CReportObject::Load(element))
        return false;
    x = Pagewright::CoordinateAttribute(*element, "x");
    y = Pagewright::CoordinateAttribute(*element, "y");
    return true;
}

void CReportElement::Save(TiXmlElement& element) const
{
    CReportObject::Save(element);
    element.SetAttribute("x", x);
    element.SetAttribute("y", y);
}

const CReport* CReportElement::GetDocument() const
{
    return owner != nullptr ? owner->document : nullptr;
}

void CReportElement::Move(int dx, int dy)
{
    x = Pagewright::ClampToInt(static_cast<long long>(x) + dx);
    y = Pagewright::ClampToInt(static_cast<long long>(y) + dy);
}

void CReportElement::ClampToRect(int left, int top, int right, int bottom)
{
    x = std::max(left, std::min(x, right));
    y = std::max(top, std::min(y, bottom));
}

bool CReportElement::IsVisible() const
{
    return CDisplayCondition::Evaluate(displaycondition, GetDocument());
}

bool CReportElement::EvaluateCondition(const std::string& term) const
{
    return CDisplayCondition::EvaluateTerm(term, GetDocument());
}

int CReportElement::ToDrawX(int reportX, double zoom) const
{
    if (owner == nullptr)
        return reportX;
    return ToDrawing(static_cast<long long>(reportX) + owner->leftBorder, zoom);
}

int CReportElement::ToDrawY(int reportY, double zoom) const
{
    if (owner == nullptr)
        return reportY;
    return ToDrawing(-(static_cast<long long>(reportY) + owner->topBorder), zoom);
}

std::vector<SReportPoint> CReportElement::CreateSegmentRegion(int x1, int y1, int x2, int y2, int width,
                                                              double zoom) const
{
    const long long h = std::max(5, width / 2);
    // A template's coordinates may lie at the ends of the int range.
    const auto corner = [](long long x, long long y) {
        return SReportPoint{Pagewright::ClampToInt(x), Pagewright::ClampToInt(y)};
    };
    const long long s = x1 < x2 ? h : -h;
    SReportPoint corners[4];
    if (y1 == y2) {
        corners[0] = corner(x1 - s, y1 + h);
        corners[1] = corner(x2 + s, y1 + h);
        corners[2] = corner(x2 + s, y2 - h);
        corners[3] = corner(x1 - s, y2 - h);
    } else {
        const long long t = y1 < y2 ? h : -h;
        corners[0] = corner(x1 - s, y1 - t);
        corners[1] = corner(x1 + s, y1 - t);
        corners[2] = corner(x2 + s, y2 + t);
        corners[3] = corner(x2 - s, y2 + t);
    }
    std::vector<SReportPoint> polygon;
    for (const SReportPoint& corner : corners)
        polygon.push_back({ToDrawX(corner.x, zoom), ToDrawY(corner.y, zoom)});
    return polygon;
}

std::vector<SReportPoint> CReportSizedElement::BoxCorners(int left, int top, int boxWidth, int boxHeight,
                                                          double zoom) const
{
    const int l = ToDrawX(left, zoom);
    const int t = ToDrawY(top, zoom);
    const int r = ToDrawX(Pagewright::ClampToInt(static_cast<long long>(left) + boxWidth), zoom);
    const int b = ToDrawY(Pagewright::ClampToInt(static_cast<long long>(top) + boxHeight), zoom);
    return {{l, t}, {l, b}, {r, t}, {r, b}};
}

ReportRegion CReportSizedElement::MakeRegion(double zoom) const
{
    const std::vector<SReportPoint> c = BoxCorners(x, y, width, height, zoom);
    return {{c[0], c[2], c[3], c[1]}};
}

std::vector<SReportPoint> CReportSizedElement::GetAnchorPoints(double zoom) const
{
    return BoxCorners(x, y, width, height, zoom);
}

void CReportSizedElement::ClampToRect(int left, int top, int right, int bottom)
{
    CReportElement::ClampToRect(left, top, right, bottom);
    if (width <= 0)
        width = Pagewright::ClampToInt(static_cast<long long>(right) - left);
    if (height <= 0)
        height = Pagewright::ClampToInt(static_cast<long long>(bottom) - top);
    if (static_cast<long long>(x) + width > right)
        width = Pagewright::ClampToInt(static_cast<long long>(right) - x);
    if (static_cast<long long>(y) + height > bottom)
        height = Pagewright::ClampToInt(static_cast<long long>(bottom) - y);
}

void CReportSizedElement::LoadSize(const TiXmlElement& element)
{
    width = Pagewright::CoordinateAttribute(element, "width");
    height = Pagewright::CoordinateAttribute(element, "height");
}

void CReportSizedElement::SaveSize(TiXmlElement& element) const
{
    element.SetAttribute("width", width);
    element.SetAttribute("height", height);
}
