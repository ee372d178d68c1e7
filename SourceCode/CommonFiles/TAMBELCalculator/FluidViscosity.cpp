#include "CommonFiles/TAMBELCalculator/FluidViscosity.h"

#include "CommonFiles/Fluids/Fluid.h"
#include "CommonFiles/Fluids/FluidInterpolation.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

double CalculateFluidViscosity(int fluidType, int fluidId, double pressure, double temperature, int& extrapolated)
{
    extrapolated = 0;
    CLogManager* manager = CLogManager::GetInstance();
    CLogger log = manager != nullptr ? manager->GetLogger("JNI", LOGLEVEL_PARENT) : CLogger();
    QUILLET_POS(log);
    log.Trace("CalculateFluidViscosity: fluidType=%d fluidId=%d pressure=%f temperature=%f", fluidType, fluidId,
              pressure, temperature);

    if (fluidType == FLUID_TYPE_SATURATED_STEAM || fluidType == FLUID_TYPE_SUPERHEATED_STEAM)
        fluidId = FLUID_INDEX_WATER_VAPOUR;
    if (fluidId == FLUID_INDEX_CUSTOM || fluidId < 0) {
        QUILLET_POS(log);
        log.Trace("CalculateFluidViscosity: wrong fluidId");
        return -1.0;
    }

    // Water vapour's table answers any pressure with its nearest one, so an absolute pressure
    // of 0 or less (no gas at all) is refused here, before the look-up.
    if (fluidType != FLUID_TYPE_LIQUID && !(pressure > 0.0)) {
        QUILLET_POS(log);
        log.Trace("CalculateFluidViscosity: wrong pressure");
        return -1.0;
    }
    const double b = fluidType == FLUID_TYPE_LIQUID ? FLUID_PARAMETER_UNUSED : pressure;
    double viscosity = 0.0;
    if (!GetInterpolatedValue(fluidId, INTERPOLATION_DYNAMIC_VISCOSITY, temperature, b, viscosity,
                              fluidId == FLUID_INDEX_WATER_VAPOUR ? TRUE : FALSE, extrapolated)) {
        QUILLET_POS(log);
        log.Trace("CalculateFluidViscosity: GetInterpolatedValue Error");
        return -1.0;
    }
    QUILLET_POS(log);
    log.Trace("CalculateFluidViscosity: viscosity=%f", viscosity);
    return viscosity;
}
