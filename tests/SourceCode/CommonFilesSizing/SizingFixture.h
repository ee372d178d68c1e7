// What the sizing tests share: a small device database, operating points in everyday units,
// and XML text round trips.
#pragma once

#include "CommonFiles/PhysicalData.h"

#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

// Units (those of the configuration tests plus 41 l/h and 60 kg/h) and a device line of two
// sizes and three pressure classes:
//   sizes 11 "S 50" (50 mm, all classes, formula set 1) and 12 "S 100" (100 mm, class 21 only);
//   classes 21 "C 16", 22 "C 40", 23 "C 100", the last prohibited for every size (0, 23);
//   a low-flow version 41 of size 11 for every class (formula set 1, other limits);
//   item 31 "Steel" of feature 3.
// Size 12 has a coefficient and K-factor; extra content may remove them.
extern const char kDeviceFixture[];

// The fluid of the state (liquid 1 or gas 2) with density kg/m3, viscosity mPa s, pressure
// bar absolute and a volume flow in m3/h (operational).
void MakeOperatingPoint(CPhysicalData& data, int state, double density, double viscosity, double flow);

// The element printed as XML text and parsed back into doc; the root of doc.
TiXmlElement* Reparse(const TiXmlElement& element, TiXmlDocument& doc);
