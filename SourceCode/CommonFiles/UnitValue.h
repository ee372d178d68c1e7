// A physical quantity of the project: the number the user typed, the unit it was typed in (the
// unit part), the same quantity in the base unit and the reference code (absolute or gauge
// pressure, operational or norm flow). Stored in project files and norm-condition records.
#pragma once

#include "CommonFiles/Unit.h"

class CUnitValue : public CUnit {
public:
    // The unit, then Reference 0, Value and BaseValue 0.0.
    void Reset();

    // Adds a child "Unit" with the unit's attributes, then "BaseValue" and "Value" as the
    // shortest text that reads back to the same double, then "Reference" unless it is 0.
    // FALSE, nothing added, for a missing element and when a real is not finite.
    BOOL WriteXml(TiXmlElement* element) const override;
    // FALSE, the value unchanged, for a missing element, a child "Unit" that is missing or
    // cannot be read (CUnit::ReadXml), and a number that is not one whole number (the two reals
    // also finite). A user unit (negative index) is looked up among the user units of this run
    // and added when it is not there, so its index names the same unit here; without a units
    // manager it gets the index -1, which names no unit. An absent "BaseValue" or "Value" reads
    // as 0.0, an absent "Reference" leaves it as it was.
    BOOL ReadXml(const TiXmlElement* element) override;

    int Reference = 0;
    double Value = 0.0;      // in the unit
    double BaseValue = 0.0;  // in the base unit of the quantity
};
