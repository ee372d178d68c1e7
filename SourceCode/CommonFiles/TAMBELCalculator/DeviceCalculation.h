// The sizing run: every nominal size x pressure class x device version that the device database
// offers and the device configuration allows becomes one result row with its flow, velocity
// and pressure-loss ranges, Reynolds number, turndown, vortex frequency, loop current and a
// table of points. Rows that cannot be computed carry their error codes and still land in the
// list, so the user sees why a device is missing.
#pragma once

#include "CommonFiles/TAMBELCalculator/CalculationResult.h"

#include <functional>

class CDeviceConfiguration;
class CPhysicalData;
class CResultData;
class CResultItem;
class CSession;
class CUnit;

// Steps of the point table: 15 equal steps between the first and the last regular point.
constexpr int POINT_TABLE_STEPS = 15;
// Reynolds numbers below which a vortex meter does not measure, and up to which it measures
// with the low-Reynolds error.
constexpr double REYNOLDS_LIMIT_LOW = 10000.0;
constexpr double REYNOLDS_LIMIT_HIGH = 20000.0;

// Shows (true) or hides (false) the program's busy indication; the program supplies it,
// without one nothing is shown. Setting one gives back the one it replaces.
typedef std::function<void(bool busy)> CBusyIndicator;
CBusyIndicator SetDeviceCalculationBusyIndicator(CBusyIndicator indicator);

// Empties results, then appends one row per device dimension row of every size and pressure
// class pair (in the database's order of sizes, then classes) that matches the size and class
// fixed in the configuration and is not a prohibited combination. The velocity unit, when
// given, is the velocity unit of every row. CALC_DATABASE_ERROR when the pairs or the device
// tables cannot be read, else CALC_OK: the rows carry their own errors.
CalcResult CalculateDevices(const CPhysicalData& data, const CDeviceConfiguration& configuration,
                            CResultData& results, CSession& session, const CUnit* velocityUnit = nullptr);

// Fills the row of the DeviceDimensions row dimensionId (SizeId, PressureId, SectionId and the
// velocity unit set by the caller). A failing step ends the row and records its code in the
// row's errors; what the steps before it computed stays.
CalcResult CalculateDeviceDimension(const CPhysicalData& data, CResultItem& row, int dimensionId, CSession& session);

// The row's velocity range (in its velocity unit) from the dimension row's limits and the
// formula set's factors at the operating density.
CalcResult CalculateVelocityRange(const CPhysicalData& data, CResultItem& row, double velocityMinGas,
                                  double velocityMaxGas, double velocityMinLiquid, double velocityMaxLiquid,
                                  int formulaSetId);
// ReynoldsMin: the Reynolds number at the row's minimum velocity. CALC_NO_REYNOLDS (recorded)
// when there is none.
CalcResult CalculateMinimumReynolds(const CPhysicalData& data, CResultItem& row, double innerDiameter);
// The Reynolds number at a velocity in the unit, with the operating density and viscosity, in
// a bore of innerDiameter mm; 0 when a value cannot be converted.
double CalculateReynoldsFromValues(const CPhysicalData& data, double velocity, const CUnit& velocityUnit,
                                   double innerDiameter);
