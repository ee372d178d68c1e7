#include "CommonFiles/Fluids/FluidLiquid.h"

CFluidLiquid::CFluidLiquid()
{
    Reset();
}

void CFluidLiquid::Reset()
{
    CFluid::Reset();
    State = FLUID_STATE_LIQUID;
    Type = FLUID_TYPE_LIQUID;
}
