// One unit of a physical quantity: a linear conversion to the base unit of its quantity, or one
// of the two pseudo units of density (molar mass and specific gravity).
#pragma once

#include "Oddments/OleDbTypes.h"

#include <string>

class TiXmlElement;

// Quantity types (the database's TypeId) the conversions rely on.
enum : int {
    UNIT_TYPE_VOLUME_FLOW = 1,
    UNIT_TYPE_MASS_FLOW = 2,
    UNIT_TYPE_PRESSURE = 4,
    UNIT_TYPE_DENSITY = 5,
};

// Conversion flags.
enum : int {
    UNIT_LINEAR = 0,          // base = value x factor + offset
    UNIT_MOLAR_MASS = 1,      // the "!!MW" pseudo unit
    UNIT_SPECIFIC_GRAVITY = 2 // the "!!SG" pseudo unit
};

// Reference codes carried by a value with unit: pressure absolute or gauge, flow operational or
// norm; for specific gravity REFERENCE_ABSOLUTE (the code of a liquid) selects the factor 1.
enum : int {
    REFERENCE_OPERATIONAL = 0,
    REFERENCE_ABSOLUTE = 1,
    REFERENCE_GAUGE = 2,
    REFERENCE_NORM = 4,
};

// Database indexes of the built-in pseudo units; user units have bit 31 set (negative).
constexpr int UNIT_INDEX_MOLAR_MASS = 0x40000001;
constexpr int UNIT_INDEX_SPECIFIC_GRAVITY = 0x40000002;
constexpr unsigned UNIT_INDEX_USER_BIT = 0x80000000u;

class CUnit {
public:
    CUnit() { Reset(); }
    virtual ~CUnit() = default;
    CUnit(const CUnit&) = default;
    CUnit& operator=(const CUnit&) = default;

    // Attributes of the caller's element: "Name", "Type", "System", "DbIndex",
    // "ConversionFactor", "ConversionOffset", "ConversionFlags". The two reals are written as
    // the shortest text that reads back to the same double, so small factors survive a reload.
    // FALSE for a missing element and for a factor or offset that is not finite.
    virtual BOOL WriteXml(TiXmlElement* element) const;
    // Reads what is there; absent integers keep their default, an absent "DbIndex", factor or
    // offset reads as 0. Accepts the six-decimal form of older files. FALSE, the unit unchanged,
    // for a number that is not one whole number (reals also finite) and for a unit that is
    // neither valid (a user unit when its index is negative) nor the no-unit state of a reset.
    virtual BOOL ReadXml(const TiXmlElement* element);

    void Reset();
    // FALSE for a factor of 0, a factor or offset that is not finite, a quantity type of 0 or
    // less or a unit system below 0; unless it is to be a user unit, also for a database index
    // of 0 or less or an empty name.
    BOOL IsValid(BOOL userUnit) const;

    double ConversionOffset;
    double ConversionFactor;
    int ConversionFlags;
    std::string Name;  // user units begin with "* ", the pseudo units with "!!"
    int DbIndex;
    int Type;    // quantity type
    int System;  // unit system
};
