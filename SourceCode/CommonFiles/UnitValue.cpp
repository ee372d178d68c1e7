#include "CommonFiles/UnitValue.h"

#include "CommonFiles/UnitManager.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <cmath>


void CUnitValue::Reset()
{
    CUnit::Reset();
    Reference = 0;
    Value = 0.0;
    BaseValue = 0.0;
}

BOOL CUnitValue::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    TiXmlElement unit("Unit");
    if (!CUnit::WriteXml(&unit) || !std::isfinite(BaseValue) || !std::isfinite(Value))
        return FALSE;
    element->InsertEndChild(unit);
    CXmlNumbers::SetDoubleAttribute(*element, "BaseValue", BaseValue);
    CXmlNumbers::SetDoubleAttribute(*element, "Value", Value);
    if (Reference != 0)
        CXmlNumbers::SetLongAttribute(*element, "Reference", Reference);
    return TRUE;
}

BOOL CUnitValue::ReadXml(const TiXmlElement* element)
{
    if (element == nullptr)
        return FALSE;
    // Read apart first: a value that cannot be read stays as it was.
    CUnitValue read;
    read.Reference = Reference;
    if (!read.CUnit::ReadXml(element->FirstChildElement("Unit")) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "BaseValue", read.BaseValue) ||
        !CXmlNumbers::ReadOptionalDouble(*element, "Value", read.Value) ||
        !CXmlNumbers::ReadOptionalInt(*element, "Reference", read.Reference))
        return FALSE;
    // User unit indexes are positions in this run's list; the file's index may name another
    // unit here, so the unit is found again by its data.
    if (read.DbIndex < 0) {
        CUnitManager* units = CUnitManager::GetInstance();
        if (units == nullptr || !units->AddUserUnit(read))
            read.DbIndex = -1;
    }
    *this = read;
    return TRUE;
}
