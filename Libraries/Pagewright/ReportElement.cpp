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
