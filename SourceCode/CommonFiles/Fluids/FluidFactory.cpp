#include "CommonFiles/Fluids/FluidFactory.h"

#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidLiquid.h"
#include "CommonFiles/Fluids/FluidSaturatedSteam.h"
#include "CommonFiles/Fluids/FluidSuperheatedSteam.h"
#include "CommonFiles/Fluids/FluidWetGas.h"

namespace {

bool TypesMayCopy(int sourceType, int targetType)
{
    if (sourceType == targetType)
        return true;
    return sourceType == FLUID_TYPE_GAS &&
           (targetType == FLUID_TYPE_WET_GAS || targetType == FLUID_TYPE_SUPERHEATED_STEAM);
}

// Copies the part of class T when both objects really are of that class: a Type may name a
// class whose data the object lacks.
template <class T, class Copy>
void CopyPart(const CFluid& source, CFluid& target, Copy copy)
{
    const auto* from = dynamic_cast<const T*>(&source);
    auto* to = dynamic_cast<T*>(&target);
    if (from != nullptr && to != nullptr)
        copy(*from, *to);
}

void CopyGasNumbers(const CFluid& source, CFluid& target)
{
    CopyPart<CFluidGas>(source, target, [](const CFluidGas& from, CFluidGas& to) {
        to.MolWeight = from.MolWeight;
        to.CritTemp = from.CritTemp;
        to.CritPress = from.CritPress;
        to.CritVolu = from.CritVolu;
        to.CritZ = from.CritZ;
        to.Coefficients = from.Coefficients;
    });
}

}  // namespace

std::unique_ptr<CFluid> CreateFluid(int type)
{
    switch (type) {
    case FLUID_TYPE_LIQUID:
        return std::make_unique<CFluidLiquid>();
    case FLUID_TYPE_GAS:
        return std::make_unique<CFluidGas>();
    case FLUID_TYPE_WET_GAS:
        return std::make_unique<CFluidWetGas>();
    case FLUID_TYPE_GAS_MIX:
        return std::make_unique<CFluidGasMix>();
    case FLUID_TYPE_SATURATED_STEAM:
        return std::make_unique<CFluidSaturatedSteam>();
    case FLUID_TYPE_SUPERHEATED_STEAM:
        return std::make_unique<CFluidSuperheatedSteam>();
    default:
        return nullptr;
    }
}

BOOL CopyFluid(const CFluid* source, CFluid* target)
{
    if (source == nullptr || target == nullptr)
        return FALSE;
    const int sourceType = source->Type;
    if (sourceType < FLUID_TYPE_LIQUID || sourceType > FLUID_TYPE_SUPERHEATED_STEAM ||
        !TypesMayCopy(sourceType, target->Type))
        return FALSE;
    if (source == target)
        return TRUE;

    target->State = source->State;
    target->Name = source->Name;
    target->Formula = source->Formula;
    target->DbIndex = source->DbIndex;
    target->HideInGui = source->HideInGui;
    switch (sourceType) {
    case FLUID_TYPE_GAS:
    case FLUID_TYPE_SUPERHEATED_STEAM:
        CopyGasNumbers(*source, *target);
        break;
    case FLUID_TYPE_WET_GAS:
        CopyGasNumbers(*source, *target);
        CopyPart<CFluidWetGas>(*source, *target, [](const CFluidWetGas& from, CFluidWetGas& to) {
            to.RelativeHumidity = from.RelativeHumidity;
        });
        break;
    case FLUID_TYPE_GAS_MIX:
        CopyPart<CFluidGasMix>(*source, *target,
                               [](const CFluidGasMix& from, CFluidGasMix& to) { to.Elements = from.Elements; });
        break;
    case FLUID_TYPE_SATURATED_STEAM:
        CopyPart<CFluidSaturatedSteam>(
            *source, *target,
            [](const CFluidSaturatedSteam& from, CFluidSaturatedSteam& to) { to.SaturationType = from.SaturationType; });
        break;
    default:  // liquid: the common data only
        break;
    }
    return TRUE;
}
