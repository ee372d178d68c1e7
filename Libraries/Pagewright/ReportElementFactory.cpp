#include "Pagewright/ReportElementFactory.h"

#include "Pagewright/ReportColumn.h"
#include "Pagewright/ReportHtmlText.h"
#include "Pagewright/ReportLine.h"
#include "Pagewright/ReportPicture.h"
#include "Pagewright/ReportRectangle.h"
#include "Pagewright/ReportTable.h"
#include "Pagewright/ReportText.h"
#include "Platform/AsciiText.h"

#include <tinyxml.h>

std::unique_ptr<CReportElement> CreateReportElement(const TiXmlElement* element, CReportPage* owner)
{
    if (element == nullptr)
        return nullptr;
    const std::string& tag = element->ValueStr();
    std::unique_ptr<CReportElement> made;
    if (Platform::EqualsNoCase(tag, "LINE"))
        made = std::make_unique<CReportLine>();
    else if (Platform::EqualsNoCase(tag, "RECTANGLE"))
        made = std::make_unique<CReportRectangle>();
    else if (Platform::EqualsNoCase(tag, "TEXT"))
        made = std::make_unique<CReportText>();
    else if (Platform::EqualsNoCase(tag, "PICTURE"))
        made = std::make_unique<CReportPicture>();
    else if (Platform::EqualsNoCase(tag, "HTMLTEXT"))
        made = std::make_unique<CReportHtmlText>();
    else if (Platform::EqualsNoCase(tag, "TABLE"))
        made = std::make_unique<CReportTable>();
    else if (Platform::EqualsNoCase(tag, "COLUMN"))
        made = std::make_unique<CReportColumn>();
    else
        return nullptr;
    made->SetOwner(owner);
    if (!made->Load(element))
        return nullptr;
    made->UpdateRegion(1.0);
    return made;
}
