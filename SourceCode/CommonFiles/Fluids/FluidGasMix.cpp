#include "CommonFiles/Fluids/FluidGasMix.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

namespace {

const char kElementName[] = "GasMixElement";
// The bounds hold for the decimal shares a user enters; the binary sum of such shares may
// miss a bound by a few units in the last place (8 shares adding up to 99.99 can sum to
// 99.98999999999998).
const double kSumTolerance = 1e-9;

}  // namespace

CFluidGasMix::CFluidGasMix()
{
    Reset();
}

void CFluidGasMix::Reset()
{
    CFluid::Reset();
    State = FLUID_STATE_GAS;
    Type = FLUID_TYPE_GAS_MIX;
    Elements.clear();
}

BOOL CFluidGasMix::IsValid() const
{
    if (!CFluid::IsValid())
        return FALSE;
    double sum = 0.0;
    for (const GasMixElement& element : Elements) {
        if (element.GasId < 1 || !(element.Percentage > 0.0))
            return FALSE;
        sum += element.Percentage;
    }
    return sum >= 99.99 - kSumTolerance && sum <= 100.01 + kSumTolerance;
}

BOOL CFluidGasMix::WriteXml(TiXmlElement* element) const
{
    if (!CFluid::WriteXml(element))
        return FALSE;
    for (const GasMixElement& entry : Elements) {
        TiXmlElement child(kElementName);
        CXmlNumbers::SetLongAttribute(child, "GasId", entry.GasId);
        if (!WriteReal(child, "Percentage", entry.Percentage))
            return FALSE;
        element->InsertEndChild(child);
    }
    return TRUE;
}

BOOL CFluidGasMix::ReadXml(const TiXmlElement* element)
{
    if (!CFluid::ReadXml(element))
        return FALSE;
    for (const TiXmlElement* child = element->FirstChildElement(kElementName); child != nullptr;
         child = child->NextSiblingElement(kElementName)) {
        int gasId = 0;
        double percentage = 0.0;
        if (!ReadInt(*child, "GasId", gasId) || !ReadReal(*child, "Percentage", percentage))
            return FALSE;
        Elements.push_back({gasId, percentage});
    }
    return TRUE;
}
