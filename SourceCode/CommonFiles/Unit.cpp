#include "CommonFiles/Unit.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <cmath>

void CUnit::Reset()
{
    ConversionOffset = 0.0;
    ConversionFactor = 1.0;
    ConversionFlags = UNIT_LINEAR;
    Name.clear();
    DbIndex = -1;
    Type = -1;
    System = -1;
}

BOOL CUnit::IsValid(BOOL userUnit) const
{
    // A factor or offset of "nan" or "inf" in a file would make every conversion meaningless,
    // and a NaN never compares equal, so the unit would be added again on every read.
    if (ConversionFactor == 0.0 || !std::isfinite(ConversionFactor) || !std::isfinite(ConversionOffset) ||
        Type <= 0 || System < 0)
        return FALSE;
    if (!userUnit && (DbIndex <= 0 || Name.empty()))
        return FALSE;
    return TRUE;
}

BOOL CUnit::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    element->SetAttribute("Name", Name.c_str());
    CXmlNumbers::SetLongAttribute(*element, "Type", Type);
    CXmlNumbers::SetLongAttribute(*element, "System", System);
    CXmlNumbers::SetLongAttribute(*element, "DbIndex", DbIndex);
    CXmlNumbers::SetDoubleAttribute(*element, "ConversionFactor", ConversionFactor);
    CXmlNumbers::SetDoubleAttribute(*element, "ConversionOffset", ConversionOffset);
    CXmlNumbers::SetLongAttribute(*element, "ConversionFlags", ConversionFlags);
    return TRUE;
}

BOOL CUnit::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    Reset();
    if (const char* name = element->Attribute("Name"))
        Name = name;
    CXmlNumbers::QueryIntAttribute(*element, "Type", Type);
    CXmlNumbers::QueryIntAttribute(*element, "System", System);
    CXmlNumbers::QueryIntAttribute(*element, "ConversionFlags", ConversionFlags);
    // A user unit's index is written as a negative int; keep its 32 bits.
    DbIndex = static_cast<int>(CXmlNumbers::AttributeAtoL(*element, "DbIndex"));
    ConversionFactor = CXmlNumbers::AttributeAtoF(*element, "ConversionFactor");
    ConversionOffset = CXmlNumbers::AttributeAtoF(*element, "ConversionOffset");
    return std::isfinite(ConversionFactor) && std::isfinite(ConversionOffset) ? TRUE : FALSE;
}
