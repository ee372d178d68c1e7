// Making a fluid object for a kind, and copying the data of one fluid into another.
#pragma once

#include "CommonFiles/Fluids/Fluid.h"

#include <memory>

// A new, reset fluid of the class for the Type (1 to 6); null for any other Type.
std::unique_ptr<CFluid> CreateFluid(int type);

// Copies source into target: FALSE, nothing changed, when either is missing, when the Types
// differ (except a gas into a humid gas or superheated steam) or the source's Type is not a
// kind. The source's Type picks what is copied: the common data, the gas numbers (2, 3, 6),
// the humidity (3), the element list (4, replacing the target's), the saturation type (5);
// a part that either object does not have (a fluid-list entry of kind 3 or 4 is a plain
// gas) is left as the target has it. The target keeps its own Type.
BOOL CopyFluid(const CFluid* source, CFluid* target);
