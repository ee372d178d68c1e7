#include "Pagewright/ReportFont.h"

#include "Pagewright/ReportValues.h"
#include "Platform/AsciiText.h"

#include <tinyxml.h>

bool CReportFont::Load(const TiXmlElement* element)
{
    if (element == nullptr)
        return false;
    fontname = Pagewright::AttributeText(*element, "fontname");
    typeface = Pagewright::AttributeText(*element, "typeface");
    std::string text = Platform::AsciiLowerText(Pagewright::AttributeText(*element, "fontsize"));
    sizeInPoints = text.size() >= 2 && text.compare(text.size() - 2, 2, "pt") == 0;
    if (sizeInPoints) {
        while (!text.empty() && (text.back() == 'p' || text.back() == 't'))
            text.pop_back();
    }
    size = Pagewright::LeadingInt(text.c_str());
    bold = Pagewright::FlagAttribute(*element, "isbold");
    italic = Pagewright::FlagAttribute(*element, "isitalic");
    underline = Pagewright::FlagAttribute(*element, "isunderline");
    strikethrough = Pagewright::FlagAttribute(*element, "isstrikethrough");
    return true;
}

void CReportFont::Save(TiXmlElement& element) const
{
    element.SetAttribute("fontname", fontname);
    element.SetAttribute("typeface", typeface);
    element.SetAttribute("fontsize", std::to_string(size) + (sizeInPoints ? "pt" : ""));
    element.SetAttribute("isbold", bold ? "TRUE" : "FALSE");
    element.SetAttribute("isitalic", italic ? "TRUE" : "FALSE");
    element.SetAttribute("isunderline", underline ? "TRUE" : "FALSE");
    element.SetAttribute("isstrikethrough", strikethrough ? "TRUE" : "FALSE");
}
