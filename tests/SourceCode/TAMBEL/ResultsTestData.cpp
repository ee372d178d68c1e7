#include "ResultsTestData.h"

#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/PhysicalData.h"

namespace {

void SetUnit(CUnitValue& value, int dbIndex, const char* name, int type, double factor, double offset, double number,
             int reference)
{
    value.DbIndex = dbIndex;
    value.Name = name;
    value.Type = type;
    value.ConversionFactor = factor;
    value.ConversionOffset = offset;
    value.ConversionFlags = UNIT_LINEAR;
    value.Value = number;
    value.BaseValue = number * factor + offset;
    value.Reference = reference;
}

CUnit Unit(const char* name, double factor)
{
    CUnit unit;
    unit.Name = name;
    unit.ConversionFactor = factor;
    unit.ConversionFlags = UNIT_LINEAR;
    return unit;
}

}  // namespace

void MakeWaterOperatingPoint(CPhysicalData& data)
{
    data.Reset();
    data.Fluid = CreateFluid(FLUID_TYPE_LIQUID);
    data.Fluid->DbIndex = FLUID_INDEX_WATER;
    data.Fluid->Name = "Water";
    SetUnit(data.Temperature, 1, "°C", 3, 1.0, 273.15, 20.0, 0);
    SetUnit(data.Pressure, 7, "bar", UNIT_TYPE_PRESSURE, 1.0, 0.0, 5.0, 1);
    SetUnit(data.Density, 21, "kg/m3", UNIT_TYPE_DENSITY, 0.001, 0.0, 998.2, 0);
    SetUnit(data.Viscosity, 97, "mPa s", 6, 1.0, 0.0, 1.0, 0);
    SetUnit(data.Flow, 38, "m3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0, 0.0, 30.0, 0);
}

CResultItem MakeResultRow(int sizeId, int pressureId, const std::vector<CResultPoint>& points)
{
    CResultItem row;
    row.SizeId = sizeId;
    row.PressureId = pressureId;
    row.FlowUnit = Unit("m3/h", 1.0);
    row.VelocityUnit = Unit("m/s", 1.0);
    row.PressureUnit = Unit("mbar", 0.001);
    row.ApplicationTurndown = 10.0;
    for (const CResultPoint& point : points)
        row.AddPoint(point);
    if (!points.empty()) {
        row.FlowRange.MinRange = points.front()[RESULT_COLUMN_FLOW];
        row.FlowRange.MaxRange = points.back()[RESULT_COLUMN_FLOW];
        row.VelocityRange.MinRange = points.front()[RESULT_COLUMN_VELOCITY];
        row.VelocityRange.MaxRange = points.back()[RESULT_COLUMN_VELOCITY];
        row.PressureLossRange.MaxRange = points.back()[RESULT_COLUMN_PRESSURE_LOSS];
    }
    return row;
}
