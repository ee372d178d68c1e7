#include "ProductionDb/DbFieldDef.h"

#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"

#include <tinyxml.h>

namespace {

struct NamedType {
    const char* name;
    DBTYPE type;
};

const NamedType kTypeNames[] = {
    {"DBTYPE_I1", DBTYPE_I1},       {"DBTYPE_I2", DBTYPE_I2},       {"DBTYPE_I4", DBTYPE_I4},
    {"DBTYPE_I8", DBTYPE_I8},       {"DBTYPE_UI1", DBTYPE_UI1},     {"DBTYPE_UI2", DBTYPE_UI2},
    {"DBTYPE_UI4", DBTYPE_UI4},     {"DBTYPE_UI8", DBTYPE_UI8},     {"DBTYPE_R4", DBTYPE_R4},
    {"DBTYPE_R8", DBTYPE_R8},       {"DBTYPE_BOOL", DBTYPE_BOOL},   {"DBTYPE_BYTES", 128},
    {"DBTYPE_WSTR", DBTYPE_WSTR},   {"DBTYPE_DATE", DBTYPE_DATE},   {"DBTYPE_DBDATE", DBTYPE_DBDATE},
    {"DBTYPE_DBTIME", DBTYPE_DBTIME}, {"DBTYPE_DBTIMESTAMP", DBTYPE_DBTIMESTAMP},
};

std::string Attribute(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

}  // namespace

DBTYPE CDbFieldDef::TypeFromName(const std::string& name)
{
    for (const NamedType& named : kTypeNames) {
        if (Platform::EqualsNoCase(name, named.name))
            return named.type;
    }
    return DBTYPE_STR;
}

CDbFieldDef CDbFieldDef::FromXml(const TiXmlElement& element)
{
    CDbFieldDef field;
    field.name = Attribute(element, "name");
    field.definition = Attribute(element, "definition");
    long length = 0;
    if (Platform::TextToLong(Attribute(element, "length"), length) && length >= 0 && length <= 1000000)
        field.length = static_cast<int>(length);
    field.type = TypeFromName(Attribute(element, "type"));
    return field;
}

std::string CDbFieldDef::ColumnDefinition() const
{
    // Replaced as text: the definition is never used as a format.
    std::string text = definition;
    const size_t placeholder = text.find("%d");
    if (placeholder != std::string::npos)
        text.replace(placeholder, 2, std::to_string(length));
    return name + " " + text;
}
