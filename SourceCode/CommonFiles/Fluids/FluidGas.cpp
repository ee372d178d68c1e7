#include "CommonFiles/Fluids/FluidGas.h"

#include <tinyxml.h>

#include <cstdio>

namespace {

// "Coefficient01" .. "Coefficient10".
void CoefficientName(char (&name)[16], int index)
{
    std::snprintf(name, sizeof name, "Coefficient%02d", index + 1);
}

}  // namespace

CFluidGas::CFluidGas()
{
    Reset();
}

void CFluidGas::Reset()
{
    CFluid::Reset();
    State = FLUID_STATE_GAS;
    Type = FLUID_TYPE_GAS;
    MolWeight = 0.0;
    CritTemp = 0.0;
    CritPress = 0.0;
    CritVolu = 0.0;
    CritZ = 0.0;
    Coefficients.fill(0.0);
}

BOOL CFluidGas::IsValid() const
{
    return CFluid::IsValid() && MolWeight > 0.0 && CritVolu > 0.0 && CritZ > 0.0;
}

BOOL CFluidGas::WriteXml(TiXmlElement* element) const
{
    if (!CFluid::WriteXml(element))
        return FALSE;
    if (!WriteReal(*element, "MolWeight", MolWeight) || !WriteReal(*element, "CritTemp", CritTemp) ||
        !WriteReal(*element, "CritPress", CritPress) || !WriteReal(*element, "CritVolu", CritVolu) ||
        !WriteReal(*element, "CritZ", CritZ))
        return FALSE;
    char name[16];
    for (int i = 0; i < kCoefficientCount; ++i) {
        CoefficientName(name, i);
        if (!WriteReal(*element, name, Coefficients[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL CFluidGas::ReadXml(const TiXmlElement* element)
{
    if (!CFluid::ReadXml(element))
        return FALSE;
    if (!ReadReal(*element, "MolWeight", MolWeight) || !ReadReal(*element, "CritTemp", CritTemp) ||
        !ReadReal(*element, "CritPress", CritPress) || !ReadReal(*element, "CritVolu", CritVolu) ||
        !ReadReal(*element, "CritZ", CritZ))
        return FALSE;
    char name[16];
    for (int i = 0; i < kCoefficientCount; ++i) {
        CoefficientName(name, i);
        if (!ReadReal(*element, name, Coefficients[i]))
            return FALSE;
    }
    return TRUE;
}
