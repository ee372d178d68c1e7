// A page of a report: its size, orientation, borders, background and elements. Template pages
// come from the template; output pages are their clones made by pagination.
#pragma once

#include "Pagewright/ReportElement.h"
#include "Pagewright/ReportObject.h"
#include "Pagewright/ReportValues.h"

#include <memory>
#include <vector>

class CReport;

class CReportPage : public CReportObject {
public:
    enum { kPortrait = 0, kLandscape = 1 };
    // A4 portrait, in tenths of a millimetre.
    static constexpr int kDefaultWidth = 2100;
    static constexpr int kDefaultHeight = 2970;
    // The widest and highest page a template may have: 10 m. Drawing, the preview and the PDF
    // writer each walk a page's area, and a larger one would hold them for minutes.
    static constexpr int kMaxSize = 100000;

    explicit CReportPage(CReport* document = nullptr);
    // The elements are copied too and belong to the copy.
    CReportPage(const CReportPage& other);
    CReportPage& operator=(const CReportPage&) = delete;
    ~CReportPage() override;
    std::unique_ptr<CReportPage> Clone() const { return std::make_unique<CReportPage>(*this); }

    // A4 portrait, no borders, white, no elements.
    void Reset();
    // Starts from a reset page. A page without a usable width or height keeps the default and
    // says so in the log. Child elements of unknown kinds are skipped.
    bool Load(const TiXmlElement* element) override;
    // Whether neither width nor height exceeds kMaxSize.
    bool IsWithinMaxSize() const { return width <= kMaxSize && height <= kMaxSize; }
    void Save(TiXmlElement& element) const override;

    // How many output pages the page's multipage tables need for the document's row counts.
    int GetOutputPageCount() const;
    // Makes this copy show the subPage'th slice (0-based) of its multipage tables' rows.
    void SetSubPage(int subPage);
    // What drawing one output page of this page lays out (CReportElement::CountDrawn), the same
    // for each slice of its tables' rows; counting stops once limit is passed.
    long long CountDrawn(long long limit) const;

    std::vector<std::unique_ptr<CReportElement>> elements;
    CReport* document = nullptr;  // not owned
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int orientation = kPortrait;
    int leftBorder = 0;
    int topBorder = 0;
    ReportColor backgroundColor = 0xFFFFFF;
};
