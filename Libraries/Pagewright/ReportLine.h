// A line element from (x, y) to (x2, y2).
#pragma once

#include "Pagewright/ReportElement.h"

class CReportLine : public CReportElement {
public:
    CReportLine() : CReportElement("line") {}
    // A line of its own, as the PDF writer makes for table borders.
    CReportLine(int x1, int y1, int x2, int y2, ReportColor color, int penWidth);
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportLine>(*this); }
    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    void Move(int dx, int dy) override;
    void ClampToRect(int left, int top, int right, int bottom) override;
    // The band along the line, with markers at both ends.
    ReportRegion MakeRegion(double zoom) const override;
    std::vector<SReportPoint> GetAnchorPoints(double zoom) const override;

    int x2 = 0;
    int y2 = 0;
    int penWidth = 1;
    ReportColor color = 0;
};
