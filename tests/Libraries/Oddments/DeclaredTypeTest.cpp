#include "Oddments/DeclaredType.h"

#include <gtest/gtest.h>

#include <clocale>

using Oddments::DeclaredType;
using Oddments::ParseDeclaredType;

TEST(DeclaredType, NamesOfTableDeclarationsGiveColumnTypes)
{
    struct Case {
        const char* declared;
        DBTYPE type;
    };
    const Case cases[] = {
        {"INT", DBTYPE_I4},           {"integer", DBTYPE_I4},          {"SMALLINT", DBTYPE_I2},
        {"BigInt", DBTYPE_I8},        {"UNSIGNED BIG INT", DBTYPE_UI8}, {"INT UNSIGNED", DBTYPE_UI4},
        {"TINYINT", DBTYPE_UI1},      {"BYTE", DBTYPE_UI1},            {"SINGLE", DBTYPE_R4},
        {"REAL", DBTYPE_R8},          {"DOUBLE", DBTYPE_R8},           {"double  precision", DBTYPE_R8},
        {"FLOAT", DBTYPE_R8},         {"CURRENCY", DBTYPE_CY},         {"money", DBTYPE_CY},
        {"BOOLEAN", DBTYPE_BOOL},     {"BIT", DBTYPE_BOOL},            {"YESNO", DBTYPE_BOOL},
        {"DATE", DBTYPE_DBDATE},      {"TIME", DBTYPE_DBTIME},         {"DATETIME", DBTYPE_DBTIMESTAMP},
        {"timestamp with time zone", DBTYPE_DBTIMESTAMP},              {"CHAR(250)", DBTYPE_STR},
        {"VARCHAR(16)", DBTYPE_STR},  {"TEXT", DBTYPE_STR},            {"NVARCHAR(50)", DBTYPE_WSTR},
        {"NTEXT", DBTYPE_WSTR},       {"national character varying(9)", DBTYPE_WSTR},
        {"BLOB", DBTYPE_IUNKNOWN},    {"LONGBINARY", DBTYPE_IUNKNOWN}, {"bytea", DBTYPE_IUNKNOWN},
        {"MEMO", DBTYPE_IUNKNOWN},    {"NUMERIC(10,2)", DBTYPE_NUMERIC},
    };
    // Also under a Turkish locale, where toupper('i') stays 'i'.
    for (const char* locale : {"C", "tr_TR.UTF-8"}) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "(scripts/install-deps.sh generates it)";
        for (const Case& c : cases) {
            DeclaredType type;
            EXPECT_TRUE(ParseDeclaredType(c.declared, type)) << c.declared;
            EXPECT_EQ(type.type, c.type) << c.declared;
        }
    }
    std::setlocale(LC_ALL, "C");
}

TEST(DeclaredType, NumericScale)
{
    DeclaredType type;
    ASSERT_TRUE(ParseDeclaredType("NUMERIC( 10 , 2 )", type));
    EXPECT_EQ(type.precision, 10);
    EXPECT_EQ(type.scale, 2);
    EXPECT_TRUE(type.fixedScale);
    ASSERT_TRUE(ParseDeclaredType("DECIMAL(7)", type));
    EXPECT_EQ(type.scale, 0);
    EXPECT_TRUE(type.fixedScale);
    ASSERT_TRUE(ParseDeclaredType("DECIMAL", type));
    EXPECT_FALSE(type.fixedScale) << "each value keeps its own scale";
    ASSERT_TRUE(ParseDeclaredType("CURRENCY", type));
    EXPECT_EQ(type.scale, 4);
}

TEST(DeclaredType, UnknownOrMalformedNamesAreRefused)
{
    for (const char* declared : {"", "JSON", "POINT", "NUMERIC(10,2", "NUMERIC(2,5)", "NUMERIC(x)", "NUMERIC(99)"}) {
        DeclaredType type;
        type.type = DBTYPE_EMPTY;
        EXPECT_FALSE(ParseDeclaredType(declared, type)) << declared;
        EXPECT_EQ(type.type, DBTYPE_EMPTY) << "left untouched";
    }
}
