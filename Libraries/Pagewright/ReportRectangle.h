// A rectangle element: border and optional fill, possibly rotated around its top-left corner.
#pragma once

#include "Pagewright/ReportElement.h"

#include <array>

class CReportRectangle : public CReportSizedElement {
public:
    static constexpr ReportColor kTransparent = 0xFFFFFFFF;

    CReportRectangle() : CReportSizedElement("rectangle") {}
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportRectangle>(*this); }
    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    // Origin (top-left) and the three further corners clockwise, in report units, turned by the
    // angle around the origin.
    std::array<SReportPoint, 4> GetCorners() const;
    // A filled rectangle covers its area, a transparent one only the bands along its edges.
    ReportRegion MakeRegion(double zoom) const override;
    std::vector<SReportPoint> GetAnchorPoints(double zoom) const override;

    int borderWidth = 1;
    ReportColor borderColor = 0;
    ReportColor fillColor = kTransparent;
    double angle = 0.0;  // degrees
};
