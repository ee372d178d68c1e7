#include "Pagewright/ReportPicture.h"

#include "Pagewright/Report.h"
#include "Pagewright/ReportImage.h"
#include "Pagewright/ReportPictureFiles.h"
#include "Platform/AsciiText.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

bool CReportPicture::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    LoadSize(*element);
    filename = Pagewright::AttributeText(*element, "filename");
    mode = Platform::EqualsNoCase(Pagewright::AttributeText(*element, "mode"), "STRETCH") ? kModeStretch : kModeBestFit;
    const std::string horizontal = Pagewright::AttributeText(*element, "alignx");
    alignX = Platform::EqualsNoCase(horizontal, "RIGHT")    ? kAlignRight
             : Platform::EqualsNoCase(horizontal, "CENTER") ? kAlignCenter
                                                            : kAlignLeft;
    const std::string vertical = Pagewright::AttributeText(*element, "aligny");
    alignY = Platform::EqualsNoCase(vertical, "BOTTOM")   ? kAlignBottom
             : Platform::EqualsNoCase(vertical, "CENTER") ? kAlignCenter
                                                          : kAlignTop;
    LoadImage();
    return true;
}

void CReportPicture::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    SaveSize(element);
    element.SetAttribute("filename", filename);
    element.SetAttribute("mode", mode == kModeStretch ? "STRETCH" : "BEST_FIT");
    element.SetAttribute("alignx", alignX == kAlignRight ? "RIGHT" : alignX == kAlignCenter ? "CENTER" : "LEFT");
    element.SetAttribute("aligny", alignY == kAlignBottom ? "BOTTOM" : alignY == kAlignCenter ? "CENTER" : "TOP");
}

void CReportPicture::LoadImage()
{
    // An element outside a document reads its picture for itself.
    const CReport* document = GetDocument();
    m_image = document != nullptr ? document->GetPictureFiles().Find(filename, document->GetDocumentFolder())
                                  : CReportPictureFiles().Find(filename, std::string());
}

bool CReportPicture::GetNaturalSize(int& naturalWidth, int& naturalHeight) const
{
    if (!m_image)
        return false;
    naturalWidth = m_image->GetPixelWidth();
    naturalHeight = m_image->GetPixelHeight();
    return true;
}

void CReportPicture::GetPlacement(int& placeX, int& placeY, int& placeWidth, int& placeHeight) const
{
    int naturalWidth;
    int naturalHeight;
    if (!GetNaturalSize(naturalWidth, naturalHeight))
        return;
    if (mode == kModeStretch) {
        placeWidth = width;
        placeHeight = height;
    } else {
        const double sx = static_cast<double>(width) / naturalWidth;
        const double sy = static_cast<double>(height) / naturalHeight;
        placeWidth = naturalWidth;
        placeHeight = naturalHeight;
        if (sx < 1.0 || sy < 1.0 || (sx > 1.0 && sy > 1.0)) {
            const double s = std::min(sx, sy);
            placeWidth = static_cast<int>(std::trunc(s * naturalWidth));
            placeHeight = static_cast<int>(std::trunc(s * naturalHeight));
        }
    }
    long long left = placeX;
    long long top = placeY;
    if (alignX == kAlignRight)
        left -= placeWidth;
    else if (alignX == kAlignCenter)
        left -= placeWidth / 2;
    if (alignY == kAlignCenter)
        top -= placeHeight / 2;
    else if (alignY == kAlignBottom)
        top -= placeHeight;
    placeX = Pagewright::ClampToInt(left);
    placeY = Pagewright::ClampToInt(top);
}

ReportRegion CReportPicture::MakeRegion(double zoom) const
{
    const std::vector<SReportPoint> c = GetAnchorPoints(zoom);
    return {{c[0], c[2], c[3], c[1]}};
}

std::vector<SReportPoint> CReportPicture::GetAnchorPoints(double zoom) const
{
    int left = x;
    int top = y;
    int placeWidth = width;
    int placeHeight = height;
    GetPlacement(left, top, placeWidth, placeHeight);
    return BoxCorners(left, top, placeWidth, placeHeight, zoom);
}
