// A text element: one font, one colour, aligned in its box, possibly rotated. Its content may
// hold placeholders ($NAME) and backslash escapes.
#pragma once

#include "Pagewright/ReportElement.h"

#include <array>

class CReportText : public CReportSizedElement {
public:
    enum { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };

    CReportText() : CReportSizedElement("text") {}
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportText>(*this); }
    long long CountDrawn(long long /*limit*/) const override { return 1 + content.size() / kTextBytesPerElement; }
    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    // Where a line of lineWidth starts in a box of boxWidth (-1: the element's width).
    int GetAlignOffset(int lineWidth, int boxWidth = -1) const;
    // The box corners in drawing units at the zoom, turned by the angle around the top-left one:
    // top-left, top-right, bottom-right, bottom-left.
    std::array<SReportPoint, 4> GetCorners(double zoom) const;
    // The turned box, with markers at its corners.
    ReportRegion MakeRegion(double zoom) const override;
    std::vector<SReportPoint> GetAnchorPoints(double zoom) const override;
    // The content with the document's placeholders filled in and the escapes replaced.
    std::string GetDisplayText() const;

    std::string content;
    bool multiline = false;
    // Set smaller, down to a quarter of its font's size, until its lines fit the box.
    bool shrinkToFit = false;
    // The factor a text that shrinks to fit takes its font's size by: the first of 1, 0.9,
    // 0.81, ... for which fits(factor) holds, else the smallest above a quarter. fits is asked
    // last for the factor returned. Every drawing takes the same steps, so the preview sets the
    // text as the export does.
    template <class Fits>
    static double ShrinkFactor(Fits&& fits)
    {
        double factor = 1.0;
        while (!fits(factor) && factor * 0.9 >= 0.25)
            factor *= 0.9;
        return factor;
    }
    // Lines fit the box when none is wider and the last one's descent stays above its bottom: a
    // text's lines are one size apart, its first baseline a size below the top, as the export
    // sets them. Preview, paper and export decide by this one rule, each in its own units, so a
    // text that shrinks to fit takes one size in all of them.
    static bool LinesFit(double widest, std::size_t lines, double size, double descent, double boxWidth,
                         double boxHeight);
    int alignment = kAlignLeft;
    double angle = 0.0;  // degrees
    std::string fontname;
    ReportColor color = 0;
};
