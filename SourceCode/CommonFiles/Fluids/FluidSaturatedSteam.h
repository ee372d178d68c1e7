// Saturated steam: either its pressure or its temperature is given, the other follows from
// the saturation line.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"

enum : int {
    SATURATION_NONE = -1,
    SATURATION_PRESSURE_GIVEN = 0,
    SATURATION_TEMPERATURE_GIVEN = 1,
};

class CFluidSaturatedSteam : public CFluid {
public:
    CFluidSaturatedSteam();
    void Reset() override;
    // The common rule and a saturation type of 0 or 1.
    BOOL IsValid() const override;
    // Also "SaturationType".
    BOOL WriteXml(TiXmlElement* element) const override;
    BOOL ReadXml(const TiXmlElement* element) override;

    int SaturationType;
};
