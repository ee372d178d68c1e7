// A real gas described by its critical data and a correction polynomial of the
// compressibility factor.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"

#include <array>

class CFluidGas : public CFluid {
public:
    static constexpr int kCoefficientCount = 10;

    CFluidGas();
    void Reset() override;
    // The common rule, and molar mass, critical volume and critical compressibility above 0.
    BOOL IsValid() const override;
    // Also "MolWeight", "CritTemp", "CritPress", "CritVolu", "CritZ" and "Coefficient01" to
    // "Coefficient10", with six decimals.
    BOOL WriteXml(TiXmlElement* element) const override;
    BOOL ReadXml(const TiXmlElement* element) override;

    double MolWeight;  // g/mol
    double CritTemp;   // degrees Rankine
    double CritPress;  // psia
    double CritVolu;   // ft3/lbmol
    double CritZ;      // critical compressibility
    std::array<double, kCoefficientCount> Coefficients;  // [0] is "Coefficient01"
};
