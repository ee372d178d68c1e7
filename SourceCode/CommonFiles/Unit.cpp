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
    if (!CXmlNumbers::SetFiniteDoubleAttribute(*element, "ConversionFactor", ConversionFactor) ||
        !CXmlNumbers::SetFiniteDoubleAttribute(*element, "ConversionOffset", ConversionOffset))
        return FALSE;
    CXmlNumbers::SetLongAttribute(*element, "ConversionFlags", ConversionFlags);
    return TRUE;
}

BOOL CUnit::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    CUnit read;
    if (const char* name = element->Attribute("Name"))
        read.Name = name;
    // Absent, the integers keep their defaults; the index and the two reals read as 0.
    read.DbIndex = 0;
    read.ConversionFactor = 0.0;
    read.ConversionOffset = 0.0;
    if (!CXmlNumbers::ReadOptionalInt(*element, "Type", read.Type) ||
        !CXmlNumbers::ReadOptionalInt(*element, "System", read.System) ||
        !CXmlNumbers::ReadOptionalInt(*element, "ConversionFlags", read.ConversionFlags) ||
        !CXmlNumbers::ReadOptionalInt(*element, "DbIndex", read.DbIndex) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "ConversionFactor", read.ConversionFactor) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "ConversionOffset", read.ConversionOffset))
        return FALSE;
    // A value not entered yet carries no unit at all, as a reset leaves it; any other unit
    // must be one that converts (a factor of 0 would divide by zero).
    const CUnit none;
    const bool noUnit = read.Name.empty() && read.Type == none.Type && read.System == none.System &&
                        read.DbIndex == none.DbIndex && read.ConversionFactor == none.ConversionFactor &&
                        read.ConversionOffset == none.ConversionOffset &&
                        read.ConversionFlags == none.ConversionFlags;
    if (!noUnit && !read.IsValid(read.DbIndex < 0 ? TRUE : FALSE))
        return FALSE;
    *this = read;
    return TRUE;
}
