// The operating point of the project: the fluid, its temperature and pressure with their limits,
// density, viscosity, compressibility factor, the flow and the norm condition to which norm flows
// refer. Stored as the part "PhysicalData" of project files and production-database records.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"
#include "CommonFiles/NormFlowCondition.h"
#include "CommonFiles/UnitValue.h"
#include "CommonFiles/ValueRange.h"
#include "Oddments/OleDbTypes.h"

#include <memory>

class TiXmlElement;

class CPhysicalData {
public:
    // No fluid, every value reset.
    CPhysicalData();
    ~CPhysicalData();
    // Copies go through CopyTo, which gives the copy its own fluid.
    CPhysicalData(const CPhysicalData&) = delete;
    CPhysicalData& operator=(const CPhysicalData&) = delete;

    // The project's record: the one in the process-wide project; null after process end.
    static CPhysicalData* GetInstance();

    // Deletes the fluid, resets every value, range and the norm condition; compressibility 1.0.
    void Reset();

    // Makes target an independent copy with a fluid object of its own. FALSE only when this
    // record's fluid is of no kind that can be made and copied; the target then has no fluid.
    BOOL CopyTo(CPhysicalData& target) const;

    // Writes the children "FluidData" (only with a fluid), "Temperature", "Pressure", "Density",
    // "Viscosity", "Flow", "CompressibilityFactor" and "NormFlowConditions" into the caller's
    // element. FALSE without an element or at the first part that fails (those before stay), a
    // real that is not finite included: it would not read back.
    BOOL WriteXml(TiXmlElement* element) const;
    // Resets, then reads what WriteXml writes. A record without "FluidData" reads back without a
    // fluid; a "FluidData" of an unknown kind or that cannot be read fails. The values and the
    // norm condition are required, the compressibility factor stays 1.0 when absent. A number
    // that is not one whole finite number fails, and so does a unit that is not valid
    // (CUnit::ReadXml). FALSE without an element
    // or at the first part that fails; what was read before stays.
    BOOL ReadXml(const TiXmlElement* element);

    std::unique_ptr<CFluid> Fluid;  // none after Reset
    CUnitValue Temperature;
    CValueRange TemperatureRange;
    CUnitValue Pressure;
    CValueRange PressureRange;
    CUnitValue Density;
    CUnitValue Viscosity;
    double CompressibilityFactor;
    CUnitValue Flow;
    CNormFlowCondition NormFlowConditions;
};
