#include "CommonFiles/UnitConversion.h"

#include "CommonFiles/Unit.h"

#include <cmath>

namespace {

// A result beyond the range of a double (a huge factor, a NaN given in) is no conversion.
BOOL Finite(double& result)
{
    if (std::isfinite(result))
        return TRUE;
    result = 0.0;
    return FALSE;
}

// out takes the result only when it is finite.
BOOL Assign(double& out, double result)
{
    if (!std::isfinite(result))
        return FALSE;
    out = result;
    return TRUE;
}

bool IsGaugePressure(const CUnit& unit, int reference)
{
    return unit.Type == UNIT_TYPE_PRESSURE && reference == REFERENCE_GAUGE;
}

double SpecificGravityFactor(int reference)
{
    return reference == REFERENCE_ABSOLUTE ? 1.0 : AIR_NORM_DENSITY;
}

}  // namespace

BOOL ConvertToBaseUnit(double& base, double value, const CUnit& unit, int reference)
{
    base = 0.0;
    switch (unit.ConversionFlags) {
    case UNIT_LINEAR:
        base = value * unit.ConversionFactor + unit.ConversionOffset;
        if (IsGaugePressure(unit, reference))
            base += GAUGE_ATMOSPHERE;
        return Finite(base);
    case UNIT_MOLAR_MASS:
        base = value * MOLAR_MASS_DENSITY;
        return Finite(base);
    case UNIT_SPECIFIC_GRAVITY:
        base = value * SpecificGravityFactor(reference);
        return Finite(base);
    default:
        return FALSE;
    }
}

BOOL ConvertFromBaseUnit(double& value, double base, const CUnit& unit, int reference)
{
    value = 0.0;
    switch (unit.ConversionFlags) {
    case UNIT_LINEAR:
        if (unit.ConversionFactor == 0.0)
            return FALSE;
        if (IsGaugePressure(unit, reference))
            base -= GAUGE_ATMOSPHERE;
        value = (base - unit.ConversionOffset) / unit.ConversionFactor;
        return Finite(value);
    case UNIT_MOLAR_MASS:
        value = base / MOLAR_MASS_DENSITY;
        return Finite(value);
    case UNIT_SPECIFIC_GRAVITY:
        value = base / SpecificGravityFactor(reference);
        return Finite(value);
    default:
        return FALSE;
    }
}

BOOL ConvertUnit(double value, double& out, const CUnit& from, const CUnit& to, double density)
{
    out = 0.0;
    if (from.ConversionFlags != UNIT_LINEAR || to.ConversionFlags != UNIT_LINEAR)
        return FALSE;
    double base;
    if (!ConvertToBaseUnit(base, value, from, REFERENCE_OPERATIONAL))
        return FALSE;
    if (from.Type != to.Type) {
        if (from.Type == UNIT_TYPE_VOLUME_FLOW && to.Type == UNIT_TYPE_MASS_FLOW) {
            base *= density;
        } else if (from.Type == UNIT_TYPE_MASS_FLOW && to.Type == UNIT_TYPE_VOLUME_FLOW) {
            if (density == 0.0)
                return FALSE;
            base /= density;
        } else {
            return FALSE;
        }
    }
    return ConvertFromBaseUnit(out, base, to, REFERENCE_OPERATIONAL);
}

BOOL ConvertFlowReference(double value, double& out, int fromReference, int toReference,
                          double operatingDensity, double normDensity)
{
    if (fromReference == toReference)
        return TRUE;
    if (fromReference == REFERENCE_OPERATIONAL && toReference == REFERENCE_NORM) {
        if (normDensity == 0.0)
            return FALSE;
        return Assign(out, operatingDensity * value / normDensity);
    }
    if (fromReference == REFERENCE_NORM && toReference == REFERENCE_OPERATIONAL) {
        if (operatingDensity == 0.0)
            return FALSE;
        return Assign(out, value * normDensity / operatingDensity);
    }
    return FALSE;
}
