#include "CommonFiles/PhysicalData.h"

#include "CommonFiles/ProjectData.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "Platform/NumberText.h"
#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <cmath>

namespace {

// The value children in their XML order; temperature and pressure carry their limits on the
// same element.
struct SValueChild {
    const char* name;
    CUnitValue CPhysicalData::*value;
    CValueRange CPhysicalData::*range;
};

const SValueChild kValueChildren[] = {
    {"Temperature", &CPhysicalData::Temperature, &CPhysicalData::TemperatureRange},
    {"Pressure", &CPhysicalData::Pressure, &CPhysicalData::PressureRange},
    {"Density", &CPhysicalData::Density, nullptr},
    {"Viscosity", &CPhysicalData::Viscosity, nullptr},
    {"Flow", &CPhysicalData::Flow, nullptr},
};

}  // namespace

CPhysicalData* CPhysicalData::GetInstance()
{
    CProjectData* project = CProjectData::GetInstance();
    return project ? &project->physical : nullptr;
}

CPhysicalData::CPhysicalData()
{
    Reset();
}

CPhysicalData::~CPhysicalData() = default;

void CPhysicalData::Reset()
{
    Fluid.reset();
    for (const SValueChild& child : kValueChildren) {
        (this->*child.value).Reset();
        if (child.range != nullptr)
            (this->*child.range).Reset();
    }
    CompressibilityFactor = 1.0;
    NormFlowConditions.Reset();
}

BOOL CPhysicalData::CopyTo(CPhysicalData& target) const
{
    if (&target == this)
        return TRUE;
    target.Fluid.reset();
    for (const SValueChild& child : kValueChildren) {
        target.*child.value = this->*child.value;
        if (child.range != nullptr)
            target.*child.range = this->*child.range;
    }
    target.CompressibilityFactor = CompressibilityFactor;
    target.NormFlowConditions = NormFlowConditions;
    if (!Fluid)
        return TRUE;
    std::unique_ptr<CFluid> fluid = CreateFluid(Fluid->Type);
    if (!fluid || !CopyFluid(Fluid.get(), fluid.get()))
        return FALSE;
    target.Fluid = std::move(fluid);
    return TRUE;
}

BOOL CPhysicalData::WriteXml(TiXmlElement* element) const
{
    if (element == nullptr)
        return FALSE;
    if (Fluid) {
        TiXmlElement fluid("FluidData");
        if (!Fluid->WriteXml(&fluid))
            return FALSE;
        element->InsertEndChild(fluid);
    }
    for (const SValueChild& child : kValueChildren) {
        TiXmlElement valueElement(child.name);
        if (!(this->*child.value).WriteXml(&valueElement))
            return FALSE;
        if (child.range != nullptr && !CValueRange::WriteXml(this->*child.range, &valueElement))
            return FALSE;
        element->InsertEndChild(valueElement);
    }
    if (!std::isfinite(CompressibilityFactor))
        return FALSE;
    TiXmlElement factor("CompressibilityFactor");
    factor.InsertEndChild(TiXmlText(DataFormat::FormatSql(CompressibilityFactor, -1, false)));
    element->InsertEndChild(factor);
    TiXmlElement norm("NormFlowConditions");
    if (!CNormFlowCondition::WriteXml(NormFlowConditions, &norm))
        return FALSE;
    element->InsertEndChild(norm);
    return TRUE;
}

BOOL CPhysicalData::ReadXml(const TiXmlElement* element)
{
    Reset();
    if (element == nullptr)
        return FALSE;
    // Optional: a record saved before a fluid was chosen has none.
    if (const TiXmlElement* fluidElement = element->FirstChildElement("FluidData")) {
        int type = FLUID_TYPE_NONE;
        if (!CXmlNumbers::ReadOptionalInt(*fluidElement, "Type", type))
            return FALSE;
        std::unique_ptr<CFluid> fluid = CreateFluid(type);
        if (!fluid || !fluid->ReadXml(fluidElement))
            return FALSE;
        Fluid = std::move(fluid);
    }
    for (const SValueChild& child : kValueChildren) {
        const TiXmlElement* valueElement = element->FirstChildElement(child.name);
        if (!(this->*child.value).ReadXml(valueElement))
            return FALSE;
        if (child.range != nullptr && !CValueRange::ReadXml(this->*child.range, valueElement))
            return FALSE;
    }
    // Absent or empty, the factor keeps its default of 1.0.
    const TiXmlElement* factor = element->FirstChildElement("CompressibilityFactor");
    if (factor != nullptr && factor->GetText() != nullptr &&
        (!Platform::TextToDouble(factor->GetText(), CompressibilityFactor) || !std::isfinite(CompressibilityFactor)))
        return FALSE;
    return CNormFlowCondition::ReadXml(NormFlowConditions, element->FirstChildElement("NormFlowConditions"));
}
