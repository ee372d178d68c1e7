// The project data the results tests share: water at 20 °C and 30 m3/h in the physical data,
// and result rows of chosen points.
#pragma once

#include "CommonFiles/ResultItem.h"

#include <vector>

class CPhysicalData;

// Water at 20 °C, 5 bar absolute, 998.2 kg/m3, 1.0 mPa s, 30 m3/h operational.
void MakeWaterOperatingPoint(CPhysicalData& data);

// A row of size and class with units m3/h, m/s and mbar and the points
// (flow, velocity, pressure loss in bar, error, Reynolds number).
CResultItem MakeResultRow(int sizeId, int pressureId, const std::vector<CResultPoint>& points);
