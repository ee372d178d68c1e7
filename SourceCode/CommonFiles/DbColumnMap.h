// One row of a production-database table as texts: column name -> value. The order of the
// entries has no meaning.
#pragma once

#include <map>
#include <string>

typedef std::map<std::string, std::string> CDbColumnMap;
