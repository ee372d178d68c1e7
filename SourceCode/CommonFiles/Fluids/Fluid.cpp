#include "CommonFiles/Fluids/Fluid.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

CFluid::CFluid()
{
    Reset();
}

CFluid::~CFluid() = default;

void CFluid::Reset()
{
    State = FLUID_STATE_NONE;
    Type = FLUID_TYPE_NONE;
    Name.clear();
    Formula.clear();
    DbIndex = FLUID_INDEX_NONE;
    HideInGui = false;
}

BOOL CFluid::IsValid() const
{
    return State > 0 && Type > 0;
}

BOOL CFluid::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    CXmlNumbers::SetLongAttribute(*element, "State", State);
    CXmlNumbers::SetLongAttribute(*element, "Type", Type);
    element->SetAttribute("Name", Name);
    element->SetAttribute("Formula", Formula);
    CXmlNumbers::SetLongAttribute(*element, "DbIndex", DbIndex);
    CXmlNumbers::SetLongAttribute(*element, "HideInGui", HideInGui ? 1 : 0);
    return TRUE;
}

BOOL CFluid::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    Reset();
    State = ReadInt(*element, "State", 0);
    Type = ReadInt(*element, "Type", 0);
    if (const char* name = element->Attribute("Name"))
        Name = name;
    if (const char* formula = element->Attribute("Formula"))
        Formula = formula;
    DbIndex = ReadInt(*element, "DbIndex", FLUID_INDEX_NONE);
    HideInGui = ReadInt(*element, "HideInGui", 0) != 0;
    return TRUE;
}

int CFluid::ReadInt(const TiXmlElement& element, const char* name, int fallback)
{
    int value = fallback;
    CXmlNumbers::QueryIntAttribute(element, name, value);
    return value;
}

void CFluid::WriteReal(TiXmlElement& element, const char* name, double value)
{
    CXmlNumbers::SetDoubleAttribute(element, name, value);
}

double CFluid::ReadReal(const TiXmlElement& element, const char* name)
{
    return CXmlNumbers::AttributeAtoF(element, name);
}
