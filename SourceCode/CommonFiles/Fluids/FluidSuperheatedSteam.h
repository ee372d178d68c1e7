// Superheated steam: a gas of its own kind, which takes the data of water vapour.
#pragma once

#include "CommonFiles/Fluids/FluidGas.h"

class CFluidSuperheatedSteam : public CFluidGas {
public:
    CFluidSuperheatedSteam();
    void Reset() override;
};
