#include "CommonFiles/NormFlowCondition.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

namespace {

// The three values in their XML order, by child name.
struct SValueChild {
    const char* name;
    CUnitValue CNormFlowCondition::*value;
};

const SValueChild kValueChildren[] = {
    {"Temperature", &CNormFlowCondition::Temperature},
    {"Pressure", &CNormFlowCondition::Pressure},
    {"Density", &CNormFlowCondition::Density},
};

}  // namespace

void CNormFlowCondition::Reset()
{
    Id = NORM_CONDITION_CUSTOM;
    Name.clear();
    Temperature.Reset();
    Pressure.Reset();
    Density.Reset();
}

BOOL CNormFlowCondition::WriteXml(const CNormFlowCondition& condition, TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    CXmlNumbers::SetLongAttribute(*element, "Id", condition.Id);
    element->SetAttribute("Name", condition.Name.c_str());
    for (const SValueChild& child : kValueChildren) {
        TiXmlElement valueElement(child.name);
        if (!(condition.*child.value).WriteXml(&valueElement))
            return FALSE;
        element->InsertEndChild(valueElement);
    }
    return TRUE;
}

BOOL CNormFlowCondition::ReadXml(CNormFlowCondition& condition, const TiXmlElement* element)
{
    condition.Reset();
    if (element == nullptr)
        return FALSE;
    if (!CXmlNumbers::ReadOptionalInt(*element, "Id", condition.Id))
        return FALSE;
    if (const char* name = element->Attribute("Name"))
        condition.Name = name;
    for (const SValueChild& child : kValueChildren) {
        if (!(condition.*child.value).ReadXml(element->FirstChildElement(child.name)))
            return FALSE;
    }
    return TRUE;
}
