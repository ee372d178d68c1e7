#include "Pagewright/ReportRectangle.h"

#include "Platform/AsciiText.h"

#include <tinyxml.h>


bool CReportRectangle::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    LoadSize(*element);
    Pagewright::ReadIntAttribute(*element, "borderwidth", borderWidth);
    borderColor = Pagewright::ParseReportColor(Pagewright::AttributeText(*element, "bordercolor"));
    const std::string fill = Pagewright::AttributeText(*element, "fillcolor");
    fillColor = Platform::EqualsNoCase(fill, "TRANSPARENT") ? kTransparent : Pagewright::ParseReportColor(fill);
    angle = Pagewright::LeadingInt(element->Attribute("angle")) / 10.0;
    return true;
}

void CReportRectangle::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    SaveSize(element);
    element.SetAttribute("borderwidth", borderWidth);
    element.SetAttribute("bordercolor", Pagewright::FormatReportColor(borderColor));
    element.SetAttribute("fillcolor",
                         fillColor == kTransparent ? std::string("TRANSPARENT") : Pagewright::FormatReportColor(fillColor));
    element.SetAttribute("angle", Pagewright::AngleTenths(angle));
}

std::array<SReportPoint, 4> CReportRectangle::GetCorners() const
{
    const int right = Pagewright::ClampToInt(static_cast<long long>(x) + width);
    const int bottom = Pagewright::ClampToInt(static_cast<long long>(y) + height);
    std::array<SReportPoint, 4> corners{{{x, y}, {right, y}, {right, bottom}, {x, bottom}}};
    if (angle != 0.0) {
        for (int i = 1; i < 4; ++i)
            Pagewright::RotatePoint(x, y, corners[i], angle);
    }
    return corners;
}

ReportRegion CReportRectangle::MakeRegion(double zoom) const
{
    const std::array<SReportPoint, 4> corners = GetCorners();
    if (fillColor != kTransparent)
        return {GetAnchorPoints(zoom)};
    ReportRegion bands;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const SReportPoint& from = corners[i];
        const SReportPoint& to = corners[(i + 1) % corners.size()];
        bands.push_back(CreateSegmentRegion(from.x, from.y, to.x, to.y, borderWidth, zoom));
    }
    return bands;
}

std::vector<SReportPoint> CReportRectangle::GetAnchorPoints(double zoom) const
{
    std::vector<SReportPoint> points;
    for (const SReportPoint& corner : GetCorners())
        points.push_back({ToDrawX(corner.x, zoom), ToDrawY(corner.y, zoom)});
    return points;
}
