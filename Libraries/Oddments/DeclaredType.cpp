#include "Oddments/DeclaredType.h"

#include "Platform/AsciiText.h"

#include <string>

namespace Oddments {

namespace {

struct NamedType {
    const char* name;
    DBTYPE type;
};

const NamedType kTypes[] = {
    {"SMALLINT", DBTYPE_I2},        {"INT2", DBTYPE_I2},
    {"SHORT", DBTYPE_I2},           {"INT", DBTYPE_I4},
    {"INTEGER", DBTYPE_I4},         {"INT4", DBTYPE_I4},
    {"MEDIUMINT", DBTYPE_I4},       {"LONG", DBTYPE_I4},
    {"COUNTER", DBTYPE_I4},         {"AUTOINCREMENT", DBTYPE_I4},
    {"BIGINT", DBTYPE_I8},          {"BIG INT", DBTYPE_I8},
    {"INT8", DBTYPE_I8},            {"TINYINT", DBTYPE_UI1},
    {"BYTE", DBTYPE_UI1},           {"SINGLE", DBTYPE_R4},
    {"FLOAT4", DBTYPE_R4},          {"REAL", DBTYPE_R8},
    {"FLOAT", DBTYPE_R8},           {"FLOAT8", DBTYPE_R8},
    {"DOUBLE", DBTYPE_R8},          {"DOUBLE PRECISION", DBTYPE_R8},
    {"CURRENCY", DBTYPE_CY},        {"MONEY", DBTYPE_CY},
    {"SMALLMONEY", DBTYPE_CY},      {"NUMERIC", DBTYPE_NUMERIC},
    {"DECIMAL", DBTYPE_NUMERIC},    {"DEC", DBTYPE_NUMERIC},
    {"BOOL", DBTYPE_BOOL},          {"BOOLEAN", DBTYPE_BOOL},
    {"BIT", DBTYPE_BOOL},           {"YESNO", DBTYPE_BOOL},
    {"LOGICAL", DBTYPE_BOOL},       {"DATE", DBTYPE_DBDATE},
    {"TIME", DBTYPE_DBTIME},        {"DATETIME", DBTYPE_DBTIMESTAMP},
    {"DATETIME2", DBTYPE_DBTIMESTAMP}, {"SMALLDATETIME", DBTYPE_DBTIMESTAMP},
    {"TIMESTAMP", DBTYPE_DBTIMESTAMP}, {"TIMESTAMPTZ", DBTYPE_DBTIMESTAMP},
    {"CHAR", DBTYPE_STR},           {"CHARACTER", DBTYPE_STR},
    {"VARCHAR", DBTYPE_STR},        {"VARCHAR2", DBTYPE_STR},
    {"CHARACTER VARYING", DBTYPE_STR}, {"VARYING CHARACTER", DBTYPE_STR},
    {"TEXT", DBTYPE_STR},           {"TINYTEXT", DBTYPE_STR},
    {"MEDIUMTEXT", DBTYPE_STR},     {"LONGTEXT", DBTYPE_STR},
    {"CLOB", DBTYPE_STR},           {"STRING", DBTYPE_STR},
    {"NCHAR", DBTYPE_WSTR},         {"NVARCHAR", DBTYPE_WSTR},
    {"NVARCHAR2", DBTYPE_WSTR},     {"NTEXT", DBTYPE_WSTR},
    {"NCHAR VARYING", DBTYPE_WSTR}, {"NATIONAL CHAR", DBTYPE_WSTR},
    {"NATIONAL CHARACTER", DBTYPE_WSTR}, {"NATIONAL VARCHAR", DBTYPE_WSTR},
    {"NATIONAL CHARACTER VARYING", DBTYPE_WSTR}, {"NATIVE CHARACTER", DBTYPE_WSTR},
    {"BLOB", DBTYPE_IUNKNOWN},      {"TINYBLOB", DBTYPE_IUNKNOWN},
    {"MEDIUMBLOB", DBTYPE_IUNKNOWN}, {"LONGBLOB", DBTYPE_IUNKNOWN},
    {"LONGBINARY", DBTYPE_IUNKNOWN}, {"BINARY", DBTYPE_IUNKNOWN},
    {"VARBINARY", DBTYPE_IUNKNOWN}, {"BINARY VARYING", DBTYPE_IUNKNOWN},
    {"LONG VARBINARY", DBTYPE_IUNKNOWN}, {"IMAGE", DBTYPE_IUNKNOWN},
    {"BYTEA", DBTYPE_IUNKNOWN},     {"MEMO", DBTYPE_IUNKNOWN},
};

DBTYPE Unsigned(DBTYPE type)
{
    switch (type) {
    case DBTYPE_I2:
        return DBTYPE_UI2;
    case DBTYPE_I4:
        return DBTYPE_UI4;
    case DBTYPE_I8:
        return DBTYPE_UI8;
    default:
        return type;
    }
}

// "12" -> 12; false for anything but 1 to 3 digits.
bool SmallNumber(std::string_view text, int& out)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3)
        return false;
    out = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

}  // namespace

bool ParseDeclaredType(std::string_view declared, DeclaredType& out)
{
    // Split off the "(precision, scale)" part, upper-case the words and join them with one
    // blank, leaving out the signedness words.
    std::string arguments;
    std::string words;
    bool isUnsigned = false;
    const size_t open = declared.find('(');
    if (open != std::string_view::npos) {
        const size_t close = declared.find(')', open);
        if (close == std::string_view::npos)
            return false;
        arguments = std::string(declared.substr(open + 1, close - open - 1));
        declared = std::string_view(declared.data(), open);
    }
    std::string word;
    auto flush = [&]() {
        if (word == "UNSIGNED")
            isUnsigned = true;
        else if (!word.empty() && word != "SIGNED")
            words += (words.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char c : declared) {
        if (Platform::IsAsciiBlank(c))
            flush();
        else
            word += Platform::AsciiUpper(c);
    }
    flush();
    for (const char* suffix : {" WITH TIME ZONE", " WITHOUT TIME ZONE"}) {
        const std::string s(suffix);
        if (words.size() > s.size() && words.compare(words.size() - s.size(), s.size(), s) == 0)
            words.resize(words.size() - s.size());
    }

    for (const NamedType& named : kTypes) {
        if (words != named.name)
            continue;
        DeclaredType result;
        result.type = isUnsigned ? Unsigned(named.type) : named.type;
        if (result.type == DBTYPE_CY) {
            result.precision = 19;
            result.scale = 4;
        } else if (result.type == DBTYPE_NUMERIC) {
            // NUMERIC(p) has scale 0; plain NUMERIC keeps each value's own scale.
            int precision = 38;
            int scale = 0;
            result.fixedScale = !arguments.empty();
            if (result.fixedScale) {
                const size_t comma = arguments.find(',');
                const std::string_view p = std::string_view(arguments).substr(0, comma);
                if (!SmallNumber(p, precision) ||
                    (comma != std::string::npos &&
                     !SmallNumber(std::string_view(arguments).substr(comma + 1), scale)))
                    return false;
                if (precision < 1 || precision > 38 || scale > precision)
                    return false;
            }
            result.precision = static_cast<std::uint8_t>(precision);
            result.scale = static_cast<std::uint8_t>(scale);
        }
        out = result;
        return true;
    }
    return false;
}

}  // namespace Oddments
