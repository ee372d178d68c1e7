#include "CommonFiles/Fluids/FluidSuperheatedSteam.h"

CFluidSuperheatedSteam::CFluidSuperheatedSteam()
{
    Reset();
}

void CFluidSuperheatedSteam::Reset()
{
    CFluidGas::Reset();
    Type = FLUID_TYPE_SUPERHEATED_STEAM;
}
