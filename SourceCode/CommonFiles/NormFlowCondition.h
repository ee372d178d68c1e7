// A named reference state (temperature, pressure, and the fluid's density there) to which a flow
// in norm units refers. The project's physical data and the application configuration each hold
// one by value: a copy of an entry of the norm-condition list or a custom one (Id -1).
#pragma once

#include "CommonFiles/UnitValue.h"
#include "Oddments/OleDbTypes.h"

#include <string>

class TiXmlElement;

// Id of a condition the user describes by hand.
constexpr int NORM_CONDITION_CUSTOM = -1;

class CNormFlowCondition {
public:
    // A reset (custom) condition.
    CNormFlowCondition() { Reset(); }

    // Id -1, no name, the three values reset.
    void Reset();

    // Attributes "Id" and "Name", then the children "Temperature", "Pressure" and "Density".
    // FALSE without an element or at the first child that cannot be written (those before stay).
    static BOOL WriteXml(const CNormFlowCondition& condition, TiXmlElement* element);
    // Resets the record, then reads what WriteXml writes. FALSE without an element, for an "Id"
    // that is not a whole int, or when one of the three children is missing or unreadable;
    // what was read before stays.
    static BOOL ReadXml(CNormFlowCondition& condition, const TiXmlElement* element);

    int Id;
    std::string Name;  // SystemName of the database row
    CUnitValue Temperature;
    CUnitValue Pressure;
    CUnitValue Density;  // not in the database; set by the pages
};
