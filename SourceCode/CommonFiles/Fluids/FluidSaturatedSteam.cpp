#include "CommonFiles/Fluids/FluidSaturatedSteam.h"

#include "Platform/XmlNumbers.h"

CFluidSaturatedSteam::CFluidSaturatedSteam()
{
    Reset();
}

void CFluidSaturatedSteam::Reset()
{
    CFluid::Reset();
    State = FLUID_STATE_GAS;
    Type = FLUID_TYPE_SATURATED_STEAM;
    SaturationType = SATURATION_NONE;
}

BOOL CFluidSaturatedSteam::IsValid() const
{
    return CFluid::IsValid() &&
           (SaturationType == SATURATION_PRESSURE_GIVEN || SaturationType == SATURATION_TEMPERATURE_GIVEN);
}

BOOL CFluidSaturatedSteam::WriteXml(TiXmlElement* element) const
{
    if (!CFluid::WriteXml(element))
        return FALSE;
    CXmlNumbers::SetLongAttribute(*element, "SaturationType", SaturationType);
    return TRUE;
}

BOOL CFluidSaturatedSteam::ReadXml(const TiXmlElement* element)
{
    if (!CFluid::ReadXml(element))
        return FALSE;
    SaturationType = 0;
    return ReadInt(*element, "SaturationType", SaturationType) ? TRUE : FALSE;
}
