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
    State = 0;
    Type = 0;
    if (const char* name = element->Attribute("Name"))
        Name = name;
    if (const char* formula = element->Attribute("Formula"))
        Formula = formula;
    int hidden = 0;
    if (!ReadInt(*element, "State", State) || !ReadInt(*element, "Type", Type) ||
        !ReadInt(*element, "DbIndex", DbIndex) || !ReadInt(*element, "HideInGui", hidden))
        return FALSE;
    HideInGui = hidden != 0;
    return TRUE;
}

bool CFluid::ReadInt(const TiXmlElement& element, const char* name, int& value)
{
    return CXmlNumbers::ReadOptionalInt(element, name, value);
}

bool CFluid::WriteReal(TiXmlElement& element, const char* name, double value)
{
    return CXmlNumbers::SetFiniteDoubleAttribute(element, name, value);
}

bool CFluid::ReadReal(const TiXmlElement& element, const char* name, double& value)
{
    value = 0.0;
    return CXmlNumbers::ReadOptionalDouble(element, name, value);
}
