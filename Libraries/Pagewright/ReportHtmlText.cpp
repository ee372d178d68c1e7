#include "Pagewright/ReportHtmlText.h"

#include "Glyphora/RichTextRunList.h"
#include "Pagewright/Report.h"

#include <tinyxml.h>

CReportHtmlText::CReportHtmlText() : CReportSizedElement("htmltext") {}

CReportHtmlText::CReportHtmlText(const CReportHtmlText& other)
    : CReportSizedElement(other), fontname(other.fontname), markup(other.markup)
{
}

CReportHtmlText::~CReportHtmlText() = default;

bool CReportHtmlText::Load(const TiXmlElement* element)
{
    if (!CReportSizedElement::Load(element))
        return false;
    LoadSize(*element);
    fontname = Pagewright::AttributeText(*element, "fontname");
    markup = Pagewright::ReadContent(*element);
    return true;
}

void CReportHtmlText::Save(TiXmlElement& element) const
{
    CReportSizedElement::Save(element);
    SaveSize(element);
    element.SetAttribute("fontname", fontname);
    Pagewright::WriteContent(element, markup);
}

std::string CReportHtmlText::GetDisplayMarkup() const
{
    const CReport* document = GetDocument();
    return document != nullptr ? document->ExpandVariables(markup) : markup;
}
