// One column of a production-database table as the structure document describes it.
#pragma once

#include "Oddments/OleDbTypes.h"

#include <string>

class TiXmlElement;

class CDbFieldDef {
public:
    // From a "field" element: name, definition, length (0 when absent or not a number) and
    // the type number of the "type" attribute.
    static CDbFieldDef FromXml(const TiXmlElement& element);
    // The type number of a type name ("DBTYPE_R8", any case); text for unknown names.
    static DBTYPE TypeFromName(const std::string& name);

    // The column's part of a CREATE TABLE statement: the name, then the definition with its
    // "%d" replaced by the length.
    std::string ColumnDefinition() const;

    std::string name;
    std::string definition;  // an SQL column type, maybe with "%d" for the length
    DBTYPE type = DBTYPE_STR;
    int length = 0;
};
