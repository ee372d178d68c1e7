#include "SampleProject.h"

#include "CommonFiles/Fluids/FluidGasMix.h"

#include <memory>

namespace {

void FillUnit(CUnit& unit, const std::string& name, int index)
{
    unit.Name = name;
    unit.DbIndex = index;
    unit.Type = index % 7 + 1;
    unit.System = index % 3;
    unit.ConversionFactor = 1.0 / (index + 3);
    unit.ConversionOffset = index * 0.125 - 273.15;
    unit.ConversionFlags = index % 2;
}

void FillValue(CUnitValue& value, const std::string& name, int index)
{
    FillUnit(value, name, index);
    value.Reference = index % 2 == 0 ? 2 : 4;
    value.Value = 1.0 / 3.0 + index;
    value.BaseValue = (1.0 / 7.0 + index) * 1e5;
}

}  // namespace

void FillSampleProject(CProjectData& project, int pa, int vk, int pos, int rows, int points, const std::string& variant)
{
    project.customer.Reset();
    project.customer.customer = "Customer " + variant;
    project.customer.tag_no = "FT-" + variant;
    project.customer.reference = "Order " + variant;
    project.customer.pa = pa;
    project.customer.vk = vk;
    project.customer.pos = pos;

    project.features.RemoveAll();
    project.features.SetAt(1, 11);
    project.features.SetAt(3, variant.size() + 16);

    CPhysicalData& physical = project.physical;
    physical.Reset();
    auto mix = std::make_unique<CFluidGasMix>();
    mix->Name = "Mix " + variant;
    mix->DbIndex = 9999;
    mix->Elements = {{1, 60.0}, {5, 40.0}};
    physical.Fluid = std::move(mix);
    CUnitValue* const values[] = {&physical.Temperature, &physical.Pressure, &physical.Density,
                                  &physical.Viscosity, &physical.Flow, &physical.NormFlowConditions.Temperature,
                                  &physical.NormFlowConditions.Pressure, &physical.NormFlowConditions.Density};
    for (int i = 0; i < 8; ++i)
        FillValue(*values[i], "u" + std::to_string(i) + variant, i + 1);
    physical.TemperatureRange.MinRange = -40.5;
    physical.TemperatureRange.MaxRange = 120.25;
    physical.PressureRange.MinRange = 0.1;
    physical.PressureRange.MaxRange = 16.0;
    physical.CompressibilityFactor = 0.9987654321;
    physical.NormFlowConditions.Id = 2;
    physical.NormFlowConditions.Name = "Norm " + variant;

    project.results.RemoveAll();
    for (int r = 0; r < rows; ++r) {
        CResultItem item;
        item.SizeId = 100 + r;
        item.PressureId = r % 2 == 0 ? 7 : -1;
        item.SectionId = r % 3;
        item.ReynoldsMin = 4000.5 + r;
        item.ApplicationTurndown = 12.345 + r;
        item.VortexFrequencyMax = 1234.5678 + r;
        item.CurrentMin = 4.0 + r / 10.0;
        item.AddError(3);
        item.AddError(5);
        item.AddWarning(8);
        FillUnit(item.FlowUnit, "m3/h" + variant, 10 + r);
        FillUnit(item.VelocityUnit, "m/s" + variant, 20 + r);
        FillUnit(item.PressureUnit, "mbar" + variant, 30 + r);
        item.FlowRange = {0.5 + r, 250.75 + r};
        item.VelocityRange = {0.3, 80.0 + r};
        item.PressureLossRange = {0.001, 0.9 + r};
        for (int p = 0; p < points; ++p)
            item.AddPoint({1.0 + p + r / 3.0, 0.1 * p, 1e-4 * p * p, 0.75 - p / 100.0, 1e5 * (p + 1) / 7.0});
        project.results.Add(item);
    }
}
