// A mixture of database gases given by mole percentages.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"

#include <vector>

// One gas of a mix: the DbIndex of a gas of the fluid list and its mole percent.
struct GasMixElement {
    int GasId;
    double Percentage;

    friend bool operator==(const GasMixElement& a, const GasMixElement& b)
    {
        return a.GasId == b.GasId && a.Percentage == b.Percentage;
    }
};

class CFluidGasMix : public CFluid {
public:
    CFluidGasMix();
    void Reset() override;
    // The common rule, every element with a gas (id 1 or more) and a share above 0, and the
    // shares adding up to 100 % within 0.01 (bounds included).
    BOOL IsValid() const override;
    // Also one "GasMixElement" child with "GasId" and "Percentage" (six decimals) per element,
    // in list order.
    BOOL WriteXml(TiXmlElement* element) const override;
    // Appends every "GasMixElement" child in document order.
    BOOL ReadXml(const TiXmlElement* element) override;

    std::vector<GasMixElement> Elements;
};
