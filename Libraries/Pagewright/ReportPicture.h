// A picture element: an image file beside the template or a program resource ("$NAME"),
// stretched into its box or fitted keeping its proportions, anchored by its alignment.
#pragma once

#include "Pagewright/ReportElement.h"

class CReportImage;

class CReportPicture : public CReportSizedElement {
public:
    enum { kModeStretch = 0, kModeBestFit = 1 };
    enum { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2, kAlignTop = 3, kAlignBottom = 4 };

    CReportPicture() : CReportSizedElement("picture") {}
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportPicture>(*this); }
    // Reads the attributes and then the image, through the document's pictures (one copy of each
    // file, within their budget); an image that cannot be read leaves the element without one (it
    // then draws nothing).
    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    const std::shared_ptr<const CReportImage>& GetImage() const { return m_image; }
    // The image's size in pixels; false without an image.
    bool GetNaturalSize(int& naturalWidth, int& naturalHeight) const;
    // The box the image takes: x and y are the anchor of the alignment on input, the top-left
    // corner on output. Nothing changes without an image.
    void GetPlacement(int& placeX, int& placeY, int& placeWidth, int& placeHeight) const;
    // The box of the placement, with markers at its corners.
    ReportRegion MakeRegion(double zoom) const override;
    std::vector<SReportPoint> GetAnchorPoints(double zoom) const override;

    std::string filename;
    int mode = kModeStretch;
    int alignX = kAlignLeft;
    int alignY = kAlignTop;

private:
    void LoadImage();

    std::shared_ptr<const CReportImage> m_image;
};
