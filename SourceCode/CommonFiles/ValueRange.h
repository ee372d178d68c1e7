// The span of a quantity: its minimum and maximum, in the base unit of the quantity unless the
// holder says otherwise. Its XML form is two attributes that the holder puts on the element of
// the value or unit they belong to.
#pragma once

#include "Oddments/OleDbTypes.h"

class TiXmlElement;

class CValueRange {
public:
    void Reset();

    // "MinRange" and "MaxRange" as the shortest text that reads back to the same double.
    // FALSE for a missing element and for a bound that is not finite.
    static BOOL WriteXml(const CValueRange& range, TiXmlElement* element);
    // Both bounds from their attributes, an absent one reads as 0.0. Also reads the ten-decimal
    // form of older files. FALSE, the range unchanged, for a missing element and for a bound
    // that is not one finite number.
    static BOOL ReadXml(CValueRange& range, const TiXmlElement* element);

    double MinRange = 0.0;
    double MaxRange = 0.0;
};
