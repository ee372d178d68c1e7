// Column types from the type names of table declarations ("INTEGER", "NUMERIC(10,2)",
// "NVARCHAR(50)", "UNSIGNED BIG INT"), matched without regard to case.
#pragma once

#include "Oddments/OleDbTypes.h"

#include <string_view>

namespace Oddments {

struct DeclaredType {
    DBTYPE type = DBTYPE_STR;
    std::uint8_t precision = 0;
    std::uint8_t scale = 0;
    // False for NUMERIC without a declared scale: each value keeps its own.
    bool fixedScale = true;
};

// False (and out untouched) for a name that is none of ours.
bool ParseDeclaredType(std::string_view declared, DeclaredType& out);

}  // namespace Oddments
