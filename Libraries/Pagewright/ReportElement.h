// An element of a report page: text, rectangle, line, picture, html text, table or column.
// Positions are relative to the page, in tenths of a millimetre with y growing downwards.
#pragma once

#include "Pagewright/ReportObject.h"
#include "Pagewright/ReportValues.h"

#include <cstddef>
#include <memory>

class CReport;
class CReportPage;

class CReportElement : public CReportObject {
public:
    virtual std::unique_ptr<CReportElement> Clone() const = 0;
    // The copy one cell of a table column shows of its prototype. Cells are drawn and dropped,
    // never edited, and the prototype outlives them, so a copy may share what it never changes.
    virtual std::unique_ptr<CReportElement> CloneForCell() const { return Clone(); }
    // What drawing the element lays out, counted as elements: 1, a table's cells with their
    // contents, and for text a further 1 for every kTextBytesPerElement it holds. Counting stops
    // once limit is passed, so it costs no more than the limit.
    virtual long long CountDrawn(long long /*limit*/) const { return 1; }
    static constexpr std::size_t kTextBytesPerElement = 256;

    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    // The page the element belongs to (elements owned by it, a table's columns and their cell
    // prototypes too).
    virtual void SetOwner(CReportPage* page) { owner = page; }
    // The document of the owner page; null without one.
    const CReport* GetDocument() const;

    virtual void Move(int dx, int dy);
    // Moves the element into the rectangle; sized elements also fit their size into it.
    virtual void ClampToRect(int left, int top, int right, int bottom);

    // The element's display condition over the document's variables.
    bool IsVisible() const;
    bool EvaluateCondition(const std::string& term) const;

    // Report to drawing coordinates at a zoom: the page's borders added, y pointing up.
    // Without an owner page the values pass unchanged.
    int ToDrawX(int reportX, double zoom) const;
    int ToDrawY(int reportY, double zoom) const;

    // The area the element covers in drawing units at the zoom, as the outline frames it.
    virtual ReportRegion MakeRegion(double /*zoom*/) const { return ReportRegion(); }
    // Keeps MakeRegion's region as the hit region; loading an element does so at zoom 1.
    void UpdateRegion(double zoom) { hitRegion = MakeRegion(zoom); }
    // Where anchor markers show the element, in drawing units at the zoom.
    virtual std::vector<SReportPoint> GetAnchorPoints(double /*zoom*/) const { return {}; }
    // The band around the segment from (x1, y1) to (x2, y2) (report units) of the pen width,
    // at least 5 wide on each side, in drawing units at the zoom.
    std::vector<SReportPoint> CreateSegmentRegion(int x1, int y1, int x2, int y2, int width, double zoom) const;

    CReportPage* owner = nullptr;
    int x = 0;
    int y = 0;
    ReportRegion hitRegion;
    ReportColor outlineColor = 0x4599FF;

protected:
    using CReportObject::CReportObject;
    CReportElement(const CReportElement&) = default;
};

// An element with a box: text, rectangle, picture, html text, table and column.
class CReportSizedElement : public CReportElement {
public:
    void ClampToRect(int left, int top, int right, int bottom) override;
    // The box: its rectangle, and markers at its four corners.
    ReportRegion MakeRegion(double zoom) const override;
    std::vector<SReportPoint> GetAnchorPoints(double zoom) const override;

    int width = 0;
    int height = 0;

protected:
    using CReportElement::CReportElement;
    CReportSizedElement(const CReportSizedElement&) = default;
    void LoadSize(const TiXmlElement& element);
    void SaveSize(TiXmlElement& element) const;
    // The box's corners in drawing units: top-left, bottom-left, top-right, bottom-right.
    std::vector<SReportPoint> BoxCorners(int left, int top, int boxWidth, int boxHeight, double zoom) const;
};
