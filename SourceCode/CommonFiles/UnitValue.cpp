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
    if (!CUnit::WriteXml(&unit))
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
    if (!CUnit::ReadXml(element->FirstChildElement("Unit")))
        return FALSE;
    // User unit indexes are positions in this run's list; the file's index may name another
    // unit here, so the unit is found again by its data.
    if (DbIndex < 0) {
        CUnitManager* units = CUnitManager::GetInstance();
        if (units == nullptr || !units->AddUserUnit(*this))
            DbIndex = -1;
    }
    BaseValue = CXmlNumbers::AttributeAtoF(*element, "BaseValue");
    Value = CXmlNumbers::AttributeAtoF(*element, "Value");
    CXmlNumbers::QueryIntAttribute(*element, "Reference", Reference);
    // "nan" or "inf" is no value: it would be calculated with and saved back.
    if (!std::isfinite(BaseValue) || !std::isfinite(Value)) {
        BaseValue = 0.0;
        Value = 0.0;
        return FALSE;
    }
    return TRUE;
}
