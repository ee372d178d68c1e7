// A humid gas: a gas carrying water vapour at a relative humidity. Valid by the gas rule; the
// humidity is not checked.
#pragma once

#include "CommonFiles/Fluids/FluidGas.h"

class CFluidWetGas : public CFluidGas {
public:
    CFluidWetGas();
    void Reset() override;
    // Also "RelativeHumidity" with six decimals.
    BOOL WriteXml(TiXmlElement* element) const override;
    BOOL ReadXml(const TiXmlElement* element) override;

    double RelativeHumidity;  // percent
};
