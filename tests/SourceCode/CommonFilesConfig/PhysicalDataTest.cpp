// The operating-point record: reset, independent copies with their own fluid, and its XML form,
// including a record without a fluid and files that lack parts.
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/PhysicalData.h"
#include "ConfigFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A humid gas at 3 bar gauge and 40 degC, flowing 250 Nm3/h.
void Fill(CPhysicalData& data)
{
    auto gas = std::make_unique<CFluidWetGas>();
    gas->State = FLUID_STATE_GAS;
    gas->Name = "Air";
    gas->Formula = "N2 + O2";
    gas->DbIndex = 1;
    gas->MolWeight = 28.96;
    gas->CritTemp = 238.5;
    gas->CritPress = 546.8;
    gas->CritVolu = 1.414;
    gas->CritZ = 0.302;
    gas->RelativeHumidity = 55.0;
    data.Fluid = std::move(gas);
    SetValue(data.Temperature, 1, "°C", 3, 1.0, 40.0, 313.15, 0);
    data.Temperature.ConversionOffset = 273.15;
    data.TemperatureRange.MinRange = 263.15;
    data.TemperatureRange.MaxRange = 373.15;
    SetValue(data.Pressure, 7, "bar", 4, 1.0, 3.0, 4.013, 2);
    data.PressureRange.MinRange = 1.0;
    data.PressureRange.MaxRange = 16.0;
    SetValue(data.Density, 21, "kg/m3", 5, 0.001, 4.46, 0.00446, 0);
    SetValue(data.Viscosity, 97, "mPa s", 6, 1.0, 0.0191, 0.0191, 0);
    SetValue(data.Flow, 50, "Nm3/h", 1, 1000.0, 250.0, 250000.0, 4);
    data.CompressibilityFactor = 0.95;
    data.NormFlowConditions.Id = 1;
    data.NormFlowConditions.Name = "DIN 1343";
    SetValue(data.NormFlowConditions.Temperature, 1, "°C", 3, 1.0, 0.0, 273.15, 0);
    SetValue(data.NormFlowConditions.Pressure, 7, "bar", 4, 1.0, 1.01325, 1.01325, 1);
    SetValue(data.NormFlowConditions.Density, 21, "kg/m3", 5, 0.001, 1.293, 0.001293, 0);
}

void ExpectSameRecord(const CPhysicalData& a, const CPhysicalData& b)
{
    ExpectSameValue(a.Temperature, b.Temperature, "temperature");
    EXPECT_EQ(a.TemperatureRange.MinRange, b.TemperatureRange.MinRange);
    EXPECT_EQ(a.TemperatureRange.MaxRange, b.TemperatureRange.MaxRange);
    ExpectSameValue(a.Pressure, b.Pressure, "pressure");
    EXPECT_EQ(a.PressureRange.MinRange, b.PressureRange.MinRange);
    EXPECT_EQ(a.PressureRange.MaxRange, b.PressureRange.MaxRange);
    ExpectSameValue(a.Density, b.Density, "density");
    ExpectSameValue(a.Viscosity, b.Viscosity, "viscosity");
    ExpectSameValue(a.Flow, b.Flow, "flow");
    EXPECT_EQ(a.CompressibilityFactor, b.CompressibilityFactor);
    EXPECT_EQ(a.NormFlowConditions.Id, b.NormFlowConditions.Id);
    EXPECT_EQ(a.NormFlowConditions.Name, b.NormFlowConditions.Name);
    ExpectSameValue(a.NormFlowConditions.Temperature, b.NormFlowConditions.Temperature, "norm temperature");
    ExpectSameValue(a.NormFlowConditions.Pressure, b.NormFlowConditions.Pressure, "norm pressure");
    ExpectSameValue(a.NormFlowConditions.Density, b.NormFlowConditions.Density, "norm density");
    ASSERT_EQ(a.Fluid == nullptr, b.Fluid == nullptr);
    if (a.Fluid) {
        EXPECT_EQ(a.Fluid->Type, b.Fluid->Type);
        EXPECT_EQ(a.Fluid->Name, b.Fluid->Name);
        EXPECT_EQ(a.Fluid->DbIndex, b.Fluid->DbIndex);
    }
}

std::vector<std::string> ChildNames(const TiXmlElement& element)
{
    std::vector<std::string> names;
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement())
        names.push_back(child->Value());
    return names;
}

// The element of a filled record, for the read tests to take apart.
TiXmlElement Written()
{
    CPhysicalData data;
    Fill(data);
    TiXmlElement element("PhysicalData");
    EXPECT_TRUE(data.WriteXml(&element));
    return element;
}

TEST(PhysicalData, ResetLeavesNoFluidAndDefaultValues)
{
    CPhysicalData data;
    Fill(data);
    data.Reset();
    EXPECT_EQ(data.Fluid, nullptr);
    EXPECT_EQ(data.Flow.Value, 0.0);
    EXPECT_EQ(data.Flow.BaseValue, 0.0);
    EXPECT_EQ(data.Flow.Reference, 0);
    EXPECT_EQ(data.Flow.DbIndex, -1);
    EXPECT_TRUE(data.Flow.Name.empty());
    EXPECT_EQ(data.Pressure.Reference, 0);
    EXPECT_EQ(data.TemperatureRange.MaxRange, 0.0);
    EXPECT_EQ(data.PressureRange.MinRange, 0.0);
    EXPECT_EQ(data.CompressibilityFactor, 1.0);
    EXPECT_EQ(data.NormFlowConditions.Id, -1);
    EXPECT_EQ(data.NormFlowConditions.Density.Value, 0.0);
}

TEST(PhysicalData, CopyHasItsOwnFluid)
{
    auto source = std::make_unique<CPhysicalData>();
    Fill(*source);
    CPhysicalData target;
    target.Fluid = std::make_unique<CFluidGasMix>();
    ASSERT_TRUE(source->CopyTo(target));
    ExpectSameRecord(target, *source);
    ASSERT_NE(target.Fluid, nullptr);
    EXPECT_NE(target.Fluid.get(), source->Fluid.get());
    const auto* gas = dynamic_cast<const CFluidWetGas*>(target.Fluid.get());
    ASSERT_NE(gas, nullptr);
    EXPECT_EQ(gas->RelativeHumidity, 55.0);
    EXPECT_EQ(gas->MolWeight, 28.96);

    source.reset();
    EXPECT_EQ(target.Fluid->Name, "Air");

    // A record without a fluid leaves the target without one.
    CPhysicalData empty;
    ASSERT_TRUE(empty.CopyTo(target));
    EXPECT_EQ(target.Fluid, nullptr);
    EXPECT_EQ(target.CompressibilityFactor, 1.0);

    // Copying onto itself keeps the fluid.
    Fill(target);
    ASSERT_TRUE(target.CopyTo(target));
    ASSERT_NE(target.Fluid, nullptr);
    EXPECT_EQ(target.Fluid->Name, "Air");
}

TEST(PhysicalData, CopyOfAFluidOfNoKindFails)
{
    CPhysicalData source;
    source.Fluid = std::make_unique<CFluid>();
    CPhysicalData target;
    Fill(target);
    EXPECT_FALSE(source.CopyTo(target));
    EXPECT_EQ(target.Fluid, nullptr);
}

TEST(PhysicalDataXml, RoundTrip)
{
    CPhysicalData written;
    Fill(written);
    TiXmlElement element("PhysicalData");
    ASSERT_TRUE(written.WriteXml(&element));
    EXPECT_EQ(ChildNames(element),
              (std::vector<std::string>{"FluidData", "Temperature", "Pressure", "Density", "Viscosity", "Flow",
                                        "CompressibilityFactor", "NormFlowConditions"}));
    const TiXmlElement* temperature = element.FirstChildElement("Temperature");
    EXPECT_NE(temperature->FirstChildElement("Unit"), nullptr);
    EXPECT_NE(temperature->Attribute("MaxRange"), nullptr);
    EXPECT_EQ(element.FirstChildElement("Density")->Attribute("MaxRange"), nullptr);

    CPhysicalData read;
    ASSERT_TRUE(read.ReadXml(&element));
    ExpectSameRecord(read, written);
    const auto* gas = dynamic_cast<const CFluidWetGas*>(read.Fluid.get());
    ASSERT_NE(gas, nullptr);
    EXPECT_EQ(gas->RelativeHumidity, 55.0);

    EXPECT_FALSE(written.WriteXml(nullptr));
    EXPECT_FALSE(read.ReadXml(nullptr));
    EXPECT_EQ(read.Fluid, nullptr);
}

TEST(PhysicalDataXml, RecordWithoutFluidReadsBack)
{
    CPhysicalData written;
    Fill(written);
    written.Fluid.reset();
    TiXmlElement element("PhysicalData");
    ASSERT_TRUE(written.WriteXml(&element));
    EXPECT_EQ(element.FirstChildElement("FluidData"), nullptr);

    CPhysicalData read;
    Fill(read);
    ASSERT_TRUE(read.ReadXml(&element));
    EXPECT_EQ(read.Fluid, nullptr);
    ExpectSameRecord(read, written);
}

TEST(PhysicalDataXml, CompressibilityFactorIsPlainTextWithAPoint)
{
    CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsSet());
    CPhysicalData data;
    Fill(data);
    TiXmlElement element("PhysicalData");
    ASSERT_TRUE(data.WriteXml(&element));
    EXPECT_STREQ(element.FirstChildElement("CompressibilityFactor")->GetText(), "0.95");
    data.CompressibilityFactor = 1.0;
    TiXmlElement whole("PhysicalData");
    ASSERT_TRUE(data.WriteXml(&whole));
    EXPECT_STREQ(whole.FirstChildElement("CompressibilityFactor")->GetText(), "1.0");

    CPhysicalData read;
    ASSERT_TRUE(read.ReadXml(&element));
    EXPECT_EQ(read.CompressibilityFactor, 0.95);
}

TEST(PhysicalDataXml, CompressibilityFactorIsOptional)
{
    TiXmlElement element = Written();
    element.RemoveChild(element.FirstChildElement("CompressibilityFactor"));
    CPhysicalData read;
    ASSERT_TRUE(read.ReadXml(&element));
    EXPECT_EQ(read.CompressibilityFactor, 1.0);

    // An empty element reads the same.
    element = Written();
    element.FirstChildElement("CompressibilityFactor")->Clear();
    ASSERT_TRUE(read.ReadXml(&element));
    EXPECT_EQ(read.CompressibilityFactor, 1.0);
}

TEST(PhysicalDataXml, FailingParts)
{
    struct Case {
        const char* what;
        void (*spoil)(TiXmlElement&);
    };
    const Case cases[] = {
        {"fluid of kind 7", [](TiXmlElement& e) { e.FirstChildElement("FluidData")->SetAttribute("Type", 7); }},
        {"fluid without kind", [](TiXmlElement& e) { e.FirstChildElement("FluidData")->RemoveAttribute("Type"); }},
        {"no temperature", [](TiXmlElement& e) { e.RemoveChild(e.FirstChildElement("Temperature")); }},
        {"pressure without unit",
         [](TiXmlElement& e) {
             TiXmlElement* pressure = e.FirstChildElement("Pressure");
             pressure->RemoveChild(pressure->FirstChildElement("Unit"));
         }},
        {"no flow", [](TiXmlElement& e) { e.RemoveChild(e.FirstChildElement("Flow")); }},
        {"no norm condition", [](TiXmlElement& e) { e.RemoveChild(e.FirstChildElement("NormFlowConditions")); }},
        {"norm condition without density",
         [](TiXmlElement& e) {
             TiXmlElement* norm = e.FirstChildElement("NormFlowConditions");
             norm->RemoveChild(norm->FirstChildElement("Density"));
         }},
        // No value at all, yet calculated with and saved back.
        {"infinite temperature", [](TiXmlElement& e) { e.FirstChildElement("Temperature")->SetAttribute("Value", "inf"); }},
        {"base value not a number",
         [](TiXmlElement& e) { e.FirstChildElement("Pressure")->SetAttribute("BaseValue", "nan"); }},
        {"infinite range", [](TiXmlElement& e) { e.FirstChildElement("Temperature")->SetAttribute("MaxRange", "-inf"); }},
        {"unit factor not a number",
         [](TiXmlElement& e) {
             e.FirstChildElement("Flow")->FirstChildElement("Unit")->SetAttribute("ConversionFactor", "nan");
         }},
        {"norm value infinite",
         [](TiXmlElement& e) {
             e.FirstChildElement("NormFlowConditions")->FirstChildElement("Pressure")->SetAttribute("Value", "1e999");
         }},
        {"compressibility not a number",
         [](TiXmlElement& e) {
             TiXmlElement* factor = e.FirstChildElement("CompressibilityFactor");
             factor->Clear();
             factor->LinkEndChild(new TiXmlText("nan"));
         }},
    };
    for (const Case& c : cases) {
        TiXmlElement element = Written();
        c.spoil(element);
        CPhysicalData read;
        EXPECT_FALSE(read.ReadXml(&element)) << c.what;
    }

    // What was read before the failing part stays.
    TiXmlElement element = Written();
    element.RemoveChild(element.FirstChildElement("Flow"));
    CPhysicalData read;
    ASSERT_FALSE(read.ReadXml(&element));
    ASSERT_NE(read.Fluid, nullptr);
    EXPECT_EQ(read.Viscosity.Value, 0.0191);
    EXPECT_EQ(read.Flow.DbIndex, -1);
}

}  // namespace
