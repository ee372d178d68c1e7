// The operating density of the project's fluid, one routine per kind of fluid: a water
// polynomial for liquids, the real-gas law with a Redlich-Kwong compressibility factor for
// gases and superheated steam, mixing rules for gas mixes and humid gas, and the saturation
// line for saturated steam.
//
// Two layers: routines on plain numbers (temperature K, pressure bar absolute, density kg/m3)
// and routines on the physical-data record, which convert the record's temperature and
// pressure into those units and write the density back as base value (kg/dm3) and in the
// density's unit. On a failure the record's density stays as it was.
#pragma once

#include "CommonFiles/TAMBELCalculator/CalculationResult.h"

class CFluidGas;
class CFluidGasMix;
class CFluidManager;
class CFluidWetGas;
class CPhysicalData;

// --- Compressibility ---------------------------------------------------------------------------
// Redlich-Kwong Z of the gas (Newton from 1 until it settles) plus the gas's correction
// polynomial in the reduced temperature and pressure. 0 without a gas and where the law gives
// no gas Z: no settling within a bound of steps, a root at the co-volume or on the liquid side,
// a result not above 0 or beyond any real gas (10).
double CalculateZFactor(const CFluidGas* gas, double temperature, double pressure);
// Z of a gas combined by MixGases, without correction; its critical pressure is first derived
// from the critical compressibility, temperature and volume and stored in it. 0 without a gas
// and where there is no gas Z, as above.
double CalculateGasMixZFactor(CFluidGas* gas, double temperature, double pressure);

// --- Plain numbers -----------------------------------------------------------------------------
// Density of water in kg/m3 at a temperature in K by the fitted polynomial (pressure has no
// influence), whatever the temperature.
double CalculateWaterDensity(double temperature);
// Density of liquid water: CALC_INVALID_DATA outside the polynomial's range (0 to 300 degC) and
// for a pressure clearly below the saturation pressure of the temperature (that is steam).
CalcResult CalculateLiquidWaterDensity(double temperature, double pressure, double& density);
// Water at a temperature in K and a pressure in bar absolute that is clearly below the
// saturation pressure of the temperature: it boils, so it has no liquid density.
bool IsLiquidWaterBoiling(double temperature, double pressure);
// Real-gas density of a gas. CALC_NO_Z_FACTOR when there is no Z (CalculateZFactor gives 0).
CalcResult CalculateGasDensity(const CFluidGas& gas, double temperature, double pressure, double& density);
// The gas density of water vapour, for a superheated state only: CALC_INVALID_DATA at or below
// the saturation temperature of the pressure (liquid or on the line).
CalcResult CalculateSuperheatedSteamDensity(const CFluidGas& steam, double temperature, double pressure,
                                            double& density);
// The gases of the mix from the fluid list, combined by mole fractions into one gas (molar
// mass and critical temperature, volume and compressibility). CALC_INVALID_DATA when a gas is
// not in the list.
CalcResult MixGases(const CFluidGasMix& mix, const CFluidManager& fluids, CFluidGas& combined);
// Density of a gas combined by MixGases.
CalcResult CalculateGasMixDensity(CFluidGas& combined, double temperature, double pressure, double& density);
// Density of a gas carrying water vapour at its relative humidity; vapour and air are the
// fluid list's water vapour and reference gas. CALC_INVALID_DATA for a humidity outside 0 to
// 100 %, for a humid gas whose temperature lies off the saturation line and when the vapour
// pressure reaches the total pressure; CALC_NO_Z_FACTOR when Z is not above 0.
CalcResult CalculateWetGasDensity(const CFluidWetGas& gas, const CFluidGas& vapour, const CFluidGas& air,
                                  double temperature, double pressure, double& density);
// Density of saturated steam. With the temperature given (SATURATION_TEMPERATURE_GIVEN) the
// pressure is set to the saturation pressure (bar absolute); with the pressure given the
// temperature is set to the saturation temperature. CALC_INVALID_DATA for another saturation
// type, a temperature off the saturation line (0 degC to critical) or a pressure off it
// (below the saturation pressure at 0 degC, above the critical pressure); then nothing is set.
CalcResult CalculateSaturatedSteamDensity(int saturationType, double& temperature, double& pressure,
                                          double& density);

// --- The physical-data record ------------------------------------------------------------------
// Dispatches on the fluid's Type: CALC_NOT_ENOUGH_DATA without a fluid; a custom liquid, gas or
// humid gas (DbIndex 9999) gives CALC_OK | CALC_CUSTOM_FLUID and keeps the user's density;
// CALC_INVALID_DATA for a fluid that is not valid or of no known Type.
CalcResult CalculateDensity(CPhysicalData& data);
// Only water (DbIndex 2000) among liquids, as CalculateLiquidWaterDensity.
CalcResult CalculateLiquidDensity(CPhysicalData& data);
CalcResult CalculateGasDensity(CPhysicalData& data);
// Takes water vapour and air from the fluid manager (CALC_NO_FLUID without them).
CalcResult CalculateWetGasDensity(CPhysicalData& data);
// Takes the gases from the fluid manager (CALC_NO_FLUID without one).
CalcResult CalculateGasMixDensity(CPhysicalData& data);
// Also writes the derived saturation pressure (as absolute pressure) or temperature into the
// record, in its unit.
CalcResult CalculateSaturatedSteamDensity(CPhysicalData& data);
// As CalculateSuperheatedSteamDensity on plain numbers.
CalcResult CalculateSuperheatedSteamDensity(CPhysicalData& data);
