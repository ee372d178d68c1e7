// The small formulas of the device calculation and the fluid page, in the calculation base
// units: flow l/h, velocity m/s, inner diameter mm, pressure bar absolute, temperature K.
#pragma once

// The reference state of the norm density when the caller names none: 273 K (not 273.15)
// and 1.013 bar.
constexpr double DEFAULT_NORM_TEMPERATURE = 273.0;
constexpr double DEFAULT_NORM_PRESSURE = 1.013;

// Volume flow in l/h through a bore at a mean velocity (pi taken as 3.14159265).
double CalculateFlowFromVelocity(double velocity, double innerDiameter);
// Mean velocity in m/s of a flow in l/h; infinite for a zero diameter.
double CalculateVelocityFromFlow(double flow, double innerDiameter);
// Pressure loss in bar of a flow in m3/h of density kg/m3 with the device's discharge
// coefficient.
double CalculatePressureLoss(double coefficient, double flow, double density);
// Vortex frequency in Hz of a flow in m3/h with the device's K-factor (pulses per m3).
double CalculateVortexFrequency(double factor, double flow);
// density x velocity x innerDiameter / viscosity in consistent units: kg/m3, m/s, Pa s and m,
// or the base density kg/dm3 with the diameter in mm, which gives the same number only with the
// viscosity in Pa s (base mPa s / 1000); the base mPa s there would give a thousandth.
// 0 for a zero viscosity.
double CalculateReynoldsNumber(double density, double velocity, double viscosity, double innerDiameter);
// The velocity at which the Reynolds number is reached, in the same units; 0 for a zero
// density or diameter.
double CalculateVelocityAtReynolds(double reynolds, double density, double viscosity, double innerDiameter);

// Density of a gas between its norm state and the operating state (pressure bar absolute,
// temperature K, compressibility z). The norm state is that of the chosen norm condition;
// without one, the fixed reference 273 K and 1.013 bar. Each is the exact inverse of the
// other for the same arguments.
double ConvertDensityNormToOperating(double normDensity, double pressure, double temperature, double z,
                                     double normTemperature = DEFAULT_NORM_TEMPERATURE,
                                     double normPressure = DEFAULT_NORM_PRESSURE);
double ConvertDensityOperatingToNorm(double operatingDensity, double pressure, double temperature, double z,
                                     double normTemperature = DEFAULT_NORM_TEMPERATURE,
                                     double normPressure = DEFAULT_NORM_PRESSURE);
