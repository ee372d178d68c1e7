// Fluid properties (the dynamic viscosity) from the two-parameter tables of the fluid database
// (FluidInterpolationData), interpolated linearly between the neighbouring table points.
#pragma once

#include "Oddments/OleDbTypes.h"

#include <limits>

// A parameter of this value is not used: the table is searched by the other one alone.
constexpr double FLUID_PARAMETER_UNUSED = std::numeric_limits<double>::max();

// InterpolationTypeId of the tables.
enum : int {
    INTERPOLATION_DYNAMIC_VISCOSITY = 1,  // mPa s over temperature (degC) and pressure (bar abs.)
};

// The table value of the fluid at (a, b). a is bracketed by the table's A values; b by the B
// values at each of the two A neighbours separately, so rows of different B grids interpolate
// soundly. Parameters are matched as the stored doubles. With extrapolate, a b beyond the B
// values of a row takes that row's nearest B and sets extrapolated to 1. FALSE, with a log
// line on the "CFluidManager" channel, when the database cannot be read, a parameter lies
// outside the table, or b is used without a.
BOOL GetInterpolatedValue(int fluidId, int interpolationType, double a, double b, double& value,
                          BOOL extrapolate, int& extrapolated);
// The same without extrapolation.
BOOL GetInterpolatedValue(int fluidId, int interpolationType, double a, double b, double& value);
