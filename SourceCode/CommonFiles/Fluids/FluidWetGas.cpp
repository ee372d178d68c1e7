#include "CommonFiles/Fluids/FluidWetGas.h"

CFluidWetGas::CFluidWetGas()
{
    Reset();
}

void CFluidWetGas::Reset()
{
    CFluidGas::Reset();
    Type = FLUID_TYPE_WET_GAS;
    RelativeHumidity = 0.0;
}

BOOL CFluidWetGas::WriteXml(TiXmlElement* element) const
{
    if (!CFluidGas::WriteXml(element))
        return FALSE;
    return WriteReal(*element, "RelativeHumidity", RelativeHumidity) ? TRUE : FALSE;
}

BOOL CFluidWetGas::ReadXml(const TiXmlElement* element)
{
    if (!CFluidGas::ReadXml(element))
        return FALSE;
    return ReadReal(*element, "RelativeHumidity", RelativeHumidity) ? TRUE : FALSE;
}
