// The saturation line of water: the supplementary saturation equations (critical point
// 647.14 K, 22.064 MPa, 322 kg/m3) for the temperature side and polynomial fits for the
// pressure side, as the steam and humid-gas densities use them.
#pragma once

constexpr double WATER_CRITICAL_TEMPERATURE = 647.14;  // K
constexpr double WATER_CRITICAL_PRESSURE = 22064.0;    // kPa
constexpr double WATER_CRITICAL_DENSITY = 322.0;       // kg/m3
// The lowest temperature the densities accept on the line: 0 degC (the triple point lies
// 0.01 K above; the equations hold there).
constexpr double SATURATION_MIN_TEMPERATURE = 273.15;  // K

// The saturation pressure in Pa at a temperature in K; 0 where there is no saturation state
// (0 K or below, above the critical temperature).
double CalculateSaturationPressure(double temperature);
// The density of saturated vapour in kg/m3 at a temperature in K; 0 where there is no
// saturation state, as above.
double CalculateSaturatedVapourDensity(double temperature);
// The density of saturated vapour in kg/m3 at a pressure in kPa; 0 for a pressure of 0 or
// less and above the critical pressure. The fitted polynomial holds from 50 to 6000 kPa;
// outside it the density is taken at the temperature where the saturation pressure equation
// gives the pressure.
double CalculateVapourDensityFromPressure(double pressure);
// The saturation temperature in K at a pressure in kPa, by the fitted polynomial in ln(bar);
// 273.15 for a pressure of 0 or less; NaN for a pressure off the line (above 0 but below the
// saturation pressure at 0 degC, or above the critical pressure), where there is none.
double CalculateSaturationTemperature(double pressure);
// The saturation state at a pressure in kPa, temperature (K) and vapour density (kg/m3) taken
// at one and the same temperature: inside the band where the fitted polynomials hold, from
// them; outside it (where the temperature polynomial drifts off the line, up to 1.7 K above
// 100 bar) both at the temperature where the saturation pressure equation gives the pressure.
// False, nothing set, for a pressure off the line: below the saturation pressure at 0 degC or
// above the critical pressure.
bool CalculateSaturationStateFromPressure(double pressure, double& temperature, double& density);
