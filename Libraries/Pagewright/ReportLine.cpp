#include "Pagewright/ReportLine.h"

#include <tinyxml.h>

#include <algorithm>

CReportLine::CReportLine(int x1, int y1, int x2_, int y2_, ReportColor color_, int penWidth_)
    : CReportElement("line"), x2(x2_), y2(y2_), penWidth(penWidth_), color(color_)
{
    x = x1;
    y = y1;
}

bool CReportLine::Load(const TiXmlElement* element)
{
    if (!CReportElement::Load(element))
        return false;
    x2 = Pagewright::CoordinateAttribute(*element, "x2");
    y2 = Pagewright::CoordinateAttribute(*element, "y2");
    Pagewright::ReadIntAttribute(*element, "penwidth", penWidth);
    color = Pagewright::ParseReportColor(Pagewright::AttributeText(*element, "color"));
    return true;
}

void CReportLine::Save(TiXmlElement& element) const
{
    CReportElement::Save(element);
    element.SetAttribute("x2", x2);
    element.SetAttribute("y2", y2);
    element.SetAttribute("penwidth", penWidth);
    element.SetAttribute("color", Pagewright::FormatReportColor(color));
}

void CReportLine::Move(int dx, int dy)
{
    CReportElement::Move(dx, dy);
    x2 = Pagewright::ClampToInt(static_cast<long long>(x2) + dx);
    y2 = Pagewright::ClampToInt(static_cast<long long>(y2) + dy);
}

void CReportLine::ClampToRect(int left, int top, int right, int bottom)
{
    CReportElement::ClampToRect(left, top, right, bottom);
    x2 = std::max(left, std::min(x2, right));
    y2 = std::max(top, std::min(y2, bottom));
}

ReportRegion CReportLine::MakeRegion(double zoom) const
{
    return {CreateSegmentRegion(x, y, x2, y2, penWidth, zoom)};
}

std::vector<SReportPoint> CReportLine::GetAnchorPoints(double zoom) const
{
    return {{ToDrawX(x, zoom), ToDrawY(y, zoom)}, {ToDrawX(x2, zoom), ToDrawY(y2, zoom)}};
}
