// A liquid: only the common data; its density comes from the fluid's own formula.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"

class CFluidLiquid : public CFluid {
public:
    CFluidLiquid();
    void Reset() override;
};
