// One table of the production database as the structure document describes it.
#pragma once

#include "ProductionDb/DbFieldDef.h"

#include <string>
#include <vector>

class CDbTableDef {
public:
    std::string name;            // with the table prefix
    std::string keyDefinitions;  // "PRIMARY KEY (pa, vk, pos)", may be empty
    std::vector<CDbFieldDef> fields;
};
