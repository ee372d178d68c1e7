// Conversions between a unit and the base unit of its quantity, between two units, and between
// operational and norm flow. They report failure by their result only and log nothing.
#pragma once

#include "Oddments/OleDbTypes.h"

class CUnit;

// The atmosphere added to a gauge pressure to make it absolute, in bar.
constexpr double GAUGE_ATMOSPHERE = 1.013;
// Norm density in kg/dm3 of an ideal gas of 1 g/mol (molar mass pseudo unit), and of air
// (specific gravity of a gas).
constexpr double MOLAR_MASS_DENSITY = 0.000044607;
constexpr double AIR_NORM_DENSITY = 0.001293;

// base = value in the unit; the reference adds the atmosphere to gauge pressures and picks the
// factor of a specific gravity. base is 0.0 first; FALSE for unknown conversion flags, and
// (base 0.0) for a result that is not finite, as in every conversion here.
BOOL ConvertToBaseUnit(double& base, double value, const CUnit& unit, int reference);
// The inverse; also FALSE for a linear unit with factor 0.
BOOL ConvertFromBaseUnit(double& value, double base, const CUnit& unit, int reference);
// From one linear unit into another (no gauge correction); volume flow and mass flow convert
// through the density. out is 0.0 first; FALSE for a pseudo unit, an unrelated pair of
// quantities or a mass flow to volume flow with density 0.
BOOL ConvertUnit(double value, double& out, const CUnit& from, const CUnit& to, double density);
// Operational (0) <-> norm (4) flow through the operating and norm densities. Equal references
// leave out as it is (callers convert in place) and succeed; on failure (a result that is not
// finite too) out is left as it is.
BOOL ConvertFlowReference(double value, double& out, int fromReference, int toReference,
                          double operatingDensity, double normDensity);
