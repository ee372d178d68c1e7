#include "ProductionDb/DbRecordCondition.h"

#include <gtest/gtest.h>

TEST(DbRecordCondition, TypedNumbers)
{
    struct Case {
        const char* text;
        long long number;
        long long position;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"1", 1, 100},
        {"05", 5, 50},
        {"005", 5, 5},
        {"123", 123, 123},
        // The longest PA the field takes, beyond what an int holds.
        {"9999999999", 9999999999LL, 9999999999LL},
        {"99999999999999999999", 9999999999LL, 9999999999LL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDbRecordCondition::ParseNumber(c.text), c.number) << c.text;
        EXPECT_EQ(CDbRecordCondition::ParsePosition(c.text), c.position) << c.text;
    }
}

TEST(DbRecordCondition, SearchStartsAtTwoDigitsWorth)
{
    EXPECT_FALSE(CDbRecordCondition::IsWorthSearching(12, 0));
    EXPECT_TRUE(CDbRecordCondition::IsWorthSearching(123, 0));
    EXPECT_TRUE(CDbRecordCondition::IsWorthSearching(0, 99));
    EXPECT_FALSE(CDbRecordCondition::IsWorthSearching(0, 98));
}

TEST(DbRecordCondition, PrefixConditions)
{
    struct Case {
        long long pa, vk, pos;
        const char* condition;
    };
    const Case cases[] = {
        // Fewer than five digits: the typed number is a key of its own besides its range.
        {123, 0, 0, "(($TABLE.pa>=123 AND $TABLE.pa<=12399 AND ($TABLE.pa=123 OR $TABLE.pa>=12300)) )"},
        {1001, 0, 0, "(($TABLE.pa>=1001 AND $TABLE.pa<=10019 AND ($TABLE.pa=1001 OR $TABLE.pa>=10010)) )"},
        {123, 45, 0,
         "(($TABLE.pa>=123 AND $TABLE.pa<=12399 AND ($TABLE.pa=123 OR $TABLE.pa>=12300)) AND "
         "($TABLE.vk>=45 AND $TABLE.vk<=45999 AND ($TABLE.vk=45 OR $TABLE.vk>=45000)) )"},
        {0, 99, 0, "(($TABLE.vk>=99 AND $TABLE.vk<=99999 AND ($TABLE.vk=99 OR $TABLE.vk>=99000)) )"},
        // The position keeps its padding: "1" is 100, exactly.
        {123, 0, 100, "(($TABLE.pa>=123 AND $TABLE.pa<=12399 AND ($TABLE.pa=123 OR $TABLE.pa>=12300)) AND $TABLE.pos=100 )"},
        {12345, 0, 0, "($TABLE.pa>=12345 AND $TABLE.pa<=12345 )"},
        {1234567, 0, 0, "($TABLE.pa>=1234567 AND $TABLE.pa<=1234567 )"},
        {9999999999LL, 0, 0, "($TABLE.pa>=9999999999 AND $TABLE.pa<=9999999999 )"},
        {0, 0, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDbRecordCondition::Build(c.pa, c.vk, c.pos, false, false, true, false), c.condition);
}

TEST(DbRecordCondition, ExactKeyConditions)
{
    EXPECT_EQ(CDbRecordCondition::ForKey(CProductionDbKey(12345, 0, 0), false), "($TABLE.pa=12345 )");
    EXPECT_EQ(CDbRecordCondition::ForKey(CProductionDbKey(12345, 0, 0), true),
              "($TABLE.pa=12345 AND $TABLE.vk=0 AND $TABLE.pos=0 )");
    EXPECT_EQ(CDbRecordCondition::ForKey(CProductionDbKey(0, 678, 5), false), "($TABLE.vk=678 AND $TABLE.pos=5 )");
    EXPECT_EQ(CDbRecordCondition::ForKey(CProductionDbKey(), false), "");
    EXPECT_EQ(CDbRecordCondition::ForKey(CProductionDbKey(), true), "($TABLE.pa=0 AND $TABLE.vk=0 AND $TABLE.pos=0 )");
}

TEST(DbRecordCondition, ListStatementNamesTheTable)
{
    EXPECT_EQ(CDbRecordCondition::ListStatement(123, 0, 0, "fwr_customer_data"),
              "SELECT pa, vk, pos FROM fwr_customer_data WHERE ((fwr_customer_data.pa>=123 AND "
              "fwr_customer_data.pa<=12399 AND (fwr_customer_data.pa=123 OR fwr_customer_data.pa>=12300)) ) "
              "ORDER BY pa, vk, pos");
    EXPECT_EQ(CDbRecordCondition::ListStatement(0, 0, 0, "t"), "SELECT pa, vk, pos FROM t ORDER BY pa, vk, pos");
}
