// The dynamic viscosity of a database fluid from the fluid property tables.
#pragma once

// The viscosity in mPa s of the fluid (its Type and database index) at a pressure in bar
// absolute and a temperature in degC; -1 when there is none (custom fluid, no table, outside
// the table). Steam of either kind is looked up as water vapour (1000), whose table alone is
// extended to its nearest pressure, which sets extrapolated to 1 (else 0). Liquids are looked
// up by temperature alone. Logs its steps at trace level on the "JNI" channel.
double CalculateFluidViscosity(int fluidType, int fluidId, double pressure, double temperature, int& extrapolated);
