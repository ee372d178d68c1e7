#include "Pagewright/ReportText.h"

#include "Pagewright/Report.h"
#include "Platform/AsciiText.h"

#include <tinyxml.h>

#include <algorithm>

namespace {

const char* const kAlignNames[] = {"LEFT", "RIGHT", "CENTER"};

}  // namespace

bool CReportText::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    LoadSize(*element);
    fontname = Pagewright::AttributeText(*element, "fontname");
    multiline = Pagewright::FlagAttribute(*element, "multiline");
    shrinkToFit = Pagewright::FlagAttribute(*element, "shrinktofit");
    color = Pagewright::ParseReportColor(Pagewright::AttributeText(*element, "color"));
    const std::string align = Pagewright::AttributeText(*element, "align");
    alignment = Platform::EqualsNoCase(align, "RIGHT")    ? kAlignRight
                : Platform::EqualsNoCase(align, "CENTER") ? kAlignCenter
                                                          : kAlignLeft;
    angle = Pagewright::LeadingInt(element->Attribute("angle")) / 10.0;
    content = Pagewright::ReadContent(*element);
    return true;
}

void CReportText::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    SaveSize(element);
    element.SetAttribute("fontname", fontname);
    element.SetAttribute("multiline", multiline ? "TRUE" : "FALSE");
    // Only where asked for, so that templates without it are written as before.
    if (shrinkToFit)
        element.SetAttribute("shrinktofit", "TRUE");
    element.SetAttribute("color", Pagewright::FormatReportColor(color));
    element.SetAttribute("align", kAlignNames[alignment >= kAlignLeft && alignment <= kAlignCenter ? alignment : 0]);
    element.SetAttribute("angle", Pagewright::AngleTenths(angle));
    Pagewright::WriteContent(element, content);
}

int CReportText::GetAlignOffset(int lineWidth, int boxWidth) const
{
    const int box = boxWidth == -1 ? width : boxWidth;
    if (alignment == kAlignRight)
        return box - lineWidth;
    if (alignment == kAlignCenter)
        return (box - lineWidth) / 2;
    return 0;
}

std::array<SReportPoint, 4> CReportText::GetCorners(double zoom) const
{
    const int left = ToDrawX(x, zoom);
    const int right = ToDrawX(Pagewright::ClampToInt(static_cast<long long>(x) + width), zoom);
    const int top = ToDrawY(y, zoom);
    const int bottom = ToDrawY(Pagewright::ClampToInt(static_cast<long long>(y) + height), zoom);
    std::array<SReportPoint, 4> corners{{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
    for (int i = 3; i >= 1; --i)
        Pagewright::RotatePoint(corners[0].x, corners[0].y, corners[i], 360.0 - angle);
    return corners;
}

std::string CReportText::GetDisplayText() const
{
    const CReport* document = GetDocument();
    return Pagewright::UnescapeReportText(document != nullptr ? document->ExpandVariables(content) : content);
}

ReportRegion CReportText::MakeRegion(double zoom) const
{
    const std::array<SReportPoint, 4> corners = GetCorners(zoom);
    return {{corners.begin(), corners.end()}};
}

std::vector<SReportPoint> CReportText::GetAnchorPoints(double zoom) const
{
    const std::array<SReportPoint, 4> corners = GetCorners(zoom);
    return {corners[3], corners[0], corners[2], corners[1]};
}

bool CReportText::LinesFit(double widest, std::size_t lines, double size, double descent, double boxWidth,
                           double boxHeight)
{
    return widest <= boxWidth && static_cast<double>(std::max<std::size_t>(lines, 1)) * size + descent <= boxHeight;
}
