#include "SampleProject.h"

#include "CommonFiles/Fluids/FluidGasMix.h"

#include <gtest/gtest.h>

namespace {

void ExpectSameUnit(const CUnit& expected, const CUnit& actual, const std::string& what)
{
    EXPECT_EQ(expected.Name, actual.Name) << what;
    EXPECT_EQ(expected.DbIndex, actual.DbIndex) << what;
    EXPECT_EQ(expected.Type, actual.Type) << what;
    EXPECT_EQ(expected.System, actual.System) << what;
    EXPECT_EQ(expected.ConversionFactor, actual.ConversionFactor) << what;
    EXPECT_EQ(expected.ConversionOffset, actual.ConversionOffset) << what;
    EXPECT_EQ(expected.ConversionFlags, actual.ConversionFlags) << what;
}

void ExpectSameValue(const CUnitValue& expected, const CUnitValue& actual, const std::string& what)
{
    ExpectSameUnit(expected, actual, what);
    EXPECT_EQ(expected.Reference, actual.Reference) << what;
    EXPECT_EQ(expected.Value, actual.Value) << what;
    EXPECT_EQ(expected.BaseValue, actual.BaseValue) << what;
}

void ExpectSameRange(const CValueRange& expected, const CValueRange& actual, const std::string& what)
{
    EXPECT_EQ(expected.MinRange, actual.MinRange) << what;
    EXPECT_EQ(expected.MaxRange, actual.MaxRange) << what;
}

}  // namespace

void ExpectSameProject(const CProjectData& expected, const CProjectData& actual)
{
    EXPECT_EQ(expected.customer.customer, actual.customer.customer);
    EXPECT_EQ(expected.customer.tag_no, actual.customer.tag_no);
    EXPECT_EQ(expected.customer.reference, actual.customer.reference);
    EXPECT_EQ(expected.customer.pa, actual.customer.pa);
    EXPECT_EQ(expected.customer.vk, actual.customer.vk);
    EXPECT_EQ(expected.customer.pos, actual.customer.pos);

    EXPECT_EQ(expected.features.GetCount(), actual.features.GetCount());
    for (const auto& feature : expected.features) {
        int item = 0;
        EXPECT_TRUE(actual.features.Lookup(feature.first, item)) << "feature " << feature.first;
        EXPECT_EQ(feature.second, item) << "feature " << feature.first;
    }

    const CPhysicalData& e = expected.physical;
    const CPhysicalData& a = actual.physical;
    ASSERT_EQ(e.Fluid != nullptr, a.Fluid != nullptr);
    if (e.Fluid) {
        EXPECT_EQ(e.Fluid->Type, a.Fluid->Type);
        EXPECT_EQ(e.Fluid->Name, a.Fluid->Name);
        EXPECT_EQ(e.Fluid->DbIndex, a.Fluid->DbIndex);
        const auto* em = dynamic_cast<const CFluidGasMix*>(e.Fluid.get());
        const auto* am = dynamic_cast<const CFluidGasMix*>(a.Fluid.get());
        ASSERT_EQ(em != nullptr, am != nullptr);
        if (em != nullptr) {
            ASSERT_EQ(em->Elements.size(), am->Elements.size());
            for (size_t i = 0; i < em->Elements.size(); ++i) {
                EXPECT_EQ(em->Elements[i].GasId, am->Elements[i].GasId);
                EXPECT_EQ(em->Elements[i].Percentage, am->Elements[i].Percentage);
            }
        }
    }
    ExpectSameValue(e.Temperature, a.Temperature, "temperature");
    ExpectSameValue(e.Pressure, a.Pressure, "pressure");
    ExpectSameValue(e.Density, a.Density, "density");
    ExpectSameValue(e.Viscosity, a.Viscosity, "viscosity");
    ExpectSameValue(e.Flow, a.Flow, "flow");
    ExpectSameValue(e.NormFlowConditions.Temperature, a.NormFlowConditions.Temperature, "norm temperature");
    ExpectSameValue(e.NormFlowConditions.Pressure, a.NormFlowConditions.Pressure, "norm pressure");
    ExpectSameValue(e.NormFlowConditions.Density, a.NormFlowConditions.Density, "norm density");
    ExpectSameRange(e.TemperatureRange, a.TemperatureRange, "temperature range");
    ExpectSameRange(e.PressureRange, a.PressureRange, "pressure range");
    EXPECT_EQ(e.CompressibilityFactor, a.CompressibilityFactor);
    EXPECT_EQ(e.NormFlowConditions.Id, a.NormFlowConditions.Id);
    EXPECT_EQ(e.NormFlowConditions.Name, a.NormFlowConditions.Name);

    ASSERT_EQ(expected.results.GetCount(), actual.results.GetCount());
    for (int r = 0; r < expected.results.GetCount(); ++r) {
        const CResultItem& ei = expected.results.GetAt(r);
        const CResultItem& ai = actual.results.GetAt(r);
        const std::string row = "row " + std::to_string(r);
        EXPECT_EQ(ei.SizeId, ai.SizeId) << row;
        EXPECT_EQ(ei.PressureId, ai.PressureId) << row;
        EXPECT_EQ(ei.SectionId, ai.SectionId) << row;
        EXPECT_EQ(ei.ReynoldsMin, ai.ReynoldsMin) << row;
        EXPECT_EQ(ei.ApplicationTurndown, ai.ApplicationTurndown) << row;
        EXPECT_EQ(ei.VortexFrequencyMax, ai.VortexFrequencyMax) << row;
        EXPECT_EQ(ei.CurrentMin, ai.CurrentMin) << row;
        EXPECT_EQ(ei.Errors, ai.Errors) << row;
        EXPECT_EQ(ei.Warnings, ai.Warnings) << row;
        ExpectSameUnit(ei.FlowUnit, ai.FlowUnit, row + " flow unit");
        ExpectSameUnit(ei.VelocityUnit, ai.VelocityUnit, row + " velocity unit");
        ExpectSameUnit(ei.PressureUnit, ai.PressureUnit, row + " pressure-loss unit");
        ExpectSameRange(ei.FlowRange, ai.FlowRange, row + " flow range");
        ExpectSameRange(ei.VelocityRange, ai.VelocityRange, row + " velocity range");
        ExpectSameRange(ei.PressureLossRange, ai.PressureLossRange, row + " pressure-loss range");
        EXPECT_EQ(ei.Points, ai.Points) << row;
    }
}
