// The table structure document compiled into the library (data/pdb/dbstructure.xml).
#pragma once

#include <cstddef>

extern const char kProductionDbStructure[];
extern const std::size_t kProductionDbStructureSize;
