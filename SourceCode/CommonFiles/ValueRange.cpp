#include "CommonFiles/ValueRange.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

void CValueRange::Reset()
{
    MinRange = 0.0;
    MaxRange = 0.0;
}

BOOL CValueRange::WriteXml(const CValueRange& range, TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    return CXmlNumbers::SetFiniteDoubleAttribute(*element, "MinRange", range.MinRange) &&
                   CXmlNumbers::SetFiniteDoubleAttribute(*element, "MaxRange", range.MaxRange)
               ? TRUE
               : FALSE;
}

BOOL CValueRange::ReadXml(CValueRange& range, const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    CValueRange read;
    read.Reset();
    if (!CXmlNumbers::ReadOptionalDouble(*element, "MinRange", read.MinRange) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "MaxRange", read.MaxRange))
        return FALSE;
    range = read;
    return TRUE;
}
