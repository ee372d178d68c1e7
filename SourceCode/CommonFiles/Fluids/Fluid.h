// What flows through the meter. The kinds of fluid form a small class family told apart by
// Type; each carries what the density calculation of its kind needs. A fluid comes from the
// fluid database (the fluid manager's list) or from a project file ("FluidData").
#pragma once

#include "Oddments/OleDbTypes.h"

#include <string>

class TiXmlElement;

// Kinds of fluid (the database's calculation type).
enum : int {
    FLUID_TYPE_NONE = -1,
    FLUID_TYPE_LIQUID = 1,
    FLUID_TYPE_GAS = 2,
    FLUID_TYPE_WET_GAS = 3,  // humid gas
    FLUID_TYPE_GAS_MIX = 4,
    FLUID_TYPE_SATURATED_STEAM = 5,
    FLUID_TYPE_SUPERHEATED_STEAM = 6,
};

// States: liquid, or anything gas-like (gas, humid gas, gas mix, steam).
enum : int {
    FLUID_STATE_NONE = -1,
    FLUID_STATE_LIQUID = 1,
    FLUID_STATE_GAS = 2,
};

// Database indexes with a fixed meaning.
enum : int {
    FLUID_INDEX_NONE = -1,
    FLUID_INDEX_AIR = 1,
    FLUID_INDEX_WATER_VAPOUR = 1000,
    FLUID_INDEX_WATER = 2000,
    FLUID_INDEX_CUSTOM = 9999,  // described by the user, not in the database
};

class CFluid {
public:
    CFluid();
    virtual ~CFluid();
    CFluid(const CFluid&) = default;
    CFluid& operator=(const CFluid&) = default;

    virtual void Reset();
    // State and Type set (above 0).
    virtual BOOL IsValid() const;
    // Attributes "State", "Type", "Name", "Formula", "DbIndex", "HideInGui" (0 or 1) on the
    // caller's element. FALSE only without an element.
    virtual BOOL WriteXml(TiXmlElement* element) const;
    // Resets, then reads the attributes: a missing "State" or "Type" reads as 0, a missing
    // "DbIndex" as unset (-1), a missing "HideInGui" as shown. FALSE without an element and for
    // a number that is not a whole int; so do the subclasses for their numbers (reals must be
    // finite).
    virtual BOOL ReadXml(const TiXmlElement* element);

    int State;
    int Type;
    std::string Name;
    std::string Formula;
    int DbIndex;
    bool HideInGui;  // not offered in the fluid lists

protected:
    // Integers of the fluid's attributes: a missing one leaves value as it is; false for one
    // that is not a whole int.
    static bool ReadInt(const TiXmlElement& element, const char* name, int& value);
    // Reals are written as the shortest text that reads back to the same value (fitted
    // coefficients need all their digits), in the C conventions; any decimal text reads, older
    // files' six decimals too, and a missing one reads as 0. Not finite, a real is neither
    // written nor read: false.
    static bool WriteReal(TiXmlElement& element, const char* name, double value);
    static bool ReadReal(const TiXmlElement& element, const char* name, double& value);
};
