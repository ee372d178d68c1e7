#include "SizingFixture.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "ConfigFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

const char kDeviceFixture[] =
    "INSERT INTO Units VALUES (41, 'l/h', 1, 0, 0, 1, 0, 3), (60, 'kg/h', 2, 0, 0, 1, 0, 1);"
    "INSERT INTO DeviceFeatures VALUES (1, 1, 'Size'), (2, 2, 'Class'), (3, 3, 'Material'), (4, 4, 'Version');"
    "INSERT INTO DeviceFeatureItems VALUES"
    " (11, 1, 10, 'S 50'), (12, 1, 20, 'S 100'),"
    " (23, 2, 30, 'C 100'), (21, 2, 10, 'C 16'), (22, 2, 20, 'C 40'),"
    " (31, 3, 10, 'Steel'), (41, 4, 10, 'S 50 low-flow');"
    "INSERT INTO DeviceProhibitedCombinations VALUES (0, 23);"
    "INSERT INTO DeviceDimensions VALUES"
    " (1, 11, 0, 0, 50, 2.0, 75, 0.2, 9, 1),"
    " (2, 12, 21, 0, 100, 2.0, 75, 0.2, 9, 1),"
    " (3, 11, 0, 41, 50, 1.5, 45, 0.15, 6, 1);"
    "INSERT INTO DischargeCoefficients VALUES (11, 0.02), (12, 0.001);"
    "INSERT INTO VortexFrequency VALUES (11, 7000), (12, 900);"
    "INSERT INTO FormulaSets VALUES"
    " (1, 'FactorV', 0.35), (1, 'FactorP', 0.5), (1, 'FactorM', 9.0),"
    " (1, 'FactorR', 0.5), (1, 'FactorG', 4.0), (1, 'FactorS', 0.5);"
    "INSERT INTO Languages VALUES (1, 'en', 'English');";

namespace {

void SetUnit(CUnitValue& value, int dbIndex, const char* name, int type, double factor, double number, int reference)
{
    SetValue(value, dbIndex, name, type, factor, number, number * factor, reference);
}

}  // namespace

void MakeOperatingPoint(CPhysicalData& data, int state, double density, double viscosity, double flow)
{
    data.Reset();
    data.Fluid = CreateFluid(state == FLUID_STATE_LIQUID ? FLUID_TYPE_LIQUID : FLUID_TYPE_GAS);
    ASSERT_EQ(data.Fluid->State, state);
    SetValue(data.Temperature, 1, "°C", 3, 1.0, 20.0, 293.15, 0);
    data.Temperature.ConversionOffset = 273.15;
    SetUnit(data.Pressure, 7, "bar", UNIT_TYPE_PRESSURE, 1.0, 5.0, REFERENCE_ABSOLUTE);
    SetUnit(data.Density, 21, "kg/m3", UNIT_TYPE_DENSITY, 0.001, density, 0);
    SetUnit(data.Viscosity, 97, "mPa s", 6, 1.0, viscosity, 0);
    SetUnit(data.Flow, 38, "m3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0, flow, REFERENCE_OPERATIONAL);
}

TiXmlElement* Reparse(const TiXmlElement& element, TiXmlDocument& doc)
{
    TiXmlPrinter printer;
    element.Accept(&printer);
    doc.Parse(printer.CStr());
    EXPECT_FALSE(doc.Error()) << doc.ErrorDesc();
    return doc.RootElement();
}
