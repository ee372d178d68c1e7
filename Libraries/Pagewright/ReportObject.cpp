#include "Pagewright/ReportObject.h"

#include "Pagewright/ReportValues.h"

#include <tinyxml.h>

bool CReportObject::Load(const TiXmlElement* element)
{
    if (element == nullptr || element->ValueStr() != m_typeName)
        return false;
    Pagewright::ReadIntAttribute(*element, "sortorder", sortorder);
    displaycondition = Pagewright::AttributeText(*element, "displaycondition");
    return true;
}

void CReportObject::Save(TiXmlElement& element) const
{
    element.SetAttribute("sortorder", sortorder);
    element.SetAttribute("displaycondition", displaycondition);
}

void CReportObject::AppendTo(TiXmlNode& parent) const
{
    TiXmlElement element(m_typeName);
    Save(element);
    parent.InsertEndChild(element);
}
