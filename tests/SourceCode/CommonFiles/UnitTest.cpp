// The unit record and its XML attributes.
#include "CommonFiles/Unit.h"
#include "CommonFiles/UnitManager.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

namespace {

TEST(Unit, ResetGivesTheDefaults)
{
    CUnit unit;
    unit.Name = "x";
    unit.ConversionFactor = 3.0;
    unit.ConversionOffset = 2.0;
    unit.ConversionFlags = 2;
    unit.DbIndex = 5;
    unit.Type = 4;
    unit.System = 1;
    unit.Reset();
    EXPECT_EQ(unit.ConversionOffset, 0.0);
    EXPECT_EQ(unit.ConversionFactor, 1.0);
    EXPECT_EQ(unit.ConversionFlags, 0);
    EXPECT_EQ(unit.Name, "");
    EXPECT_EQ(unit.DbIndex, -1);
    EXPECT_EQ(unit.Type, -1);
    EXPECT_EQ(unit.System, -1);
}

// A factor below a millionth used to be written with six decimals: it came back as 0 and the
// user unit was dropped as invalid on reload.
TEST(Unit, XmlKeepsEveryDigitOfFactorAndOffset)
{
    CUnit unit;
    unit.Name = "* tiny";
    unit.Type = 1;
    unit.System = 0;
    unit.DbIndex = static_cast<int>(0x80000028u);
    unit.ConversionFactor = 5e-7;
    unit.ConversionOffset = 255.37222222222223;
    unit.ConversionFlags = 0;

    TiXmlElement element("Unit");
    ASSERT_TRUE(unit.WriteXml(&element));
    const char* order[] = {"Name", "Type", "System", "DbIndex", "ConversionFactor", "ConversionOffset",
                           "ConversionFlags"};
    const TiXmlAttribute* attribute = element.FirstAttribute();
    for (const char* name : order) {
        ASSERT_NE(attribute, nullptr);
        EXPECT_STREQ(attribute->Name(), name);
        attribute = attribute->Next();
    }

    CUnit back;
    ASSERT_TRUE(back.ReadXml(&element));
    EXPECT_EQ(back.Name, unit.Name);
    EXPECT_EQ(back.Type, 1);
    EXPECT_EQ(back.System, 0);
    EXPECT_EQ(back.DbIndex, unit.DbIndex);
    EXPECT_EQ(back.ConversionFactor, 5e-7);
    EXPECT_EQ(back.ConversionOffset, 255.37222222222223);
    EXPECT_TRUE(back.IsValid(TRUE));

    CUnitManager units;
    back.DbIndex = -1;
    EXPECT_TRUE(units.AddUserUnit(back));
}

TEST(Unit, XmlReadsOlderSixDecimalTextAndKeepsDefaultsForAbsentIntegers)
{
    TiXmlElement element("Unit");
    element.SetAttribute("Name", "m3/h");
    element.SetAttribute("Type", "1");
    element.SetAttribute("System", "0");
    element.SetAttribute("DbIndex", "38");
    element.SetAttribute("ConversionFactor", "1000.000000");
    element.SetAttribute("ConversionOffset", "0.000000");
    CUnit unit;
    unit.ConversionFlags = 2;
    ASSERT_TRUE(unit.ReadXml(&element));
    EXPECT_EQ(unit.DbIndex, 38);
    EXPECT_EQ(unit.ConversionFactor, 1000.0);
    EXPECT_EQ(unit.Type, 1);
    EXPECT_EQ(unit.ConversionFlags, 0);

    // A value not entered yet has a unit in its reset state: no unit, but no wrong one.
    TiXmlElement none("Unit");
    ASSERT_TRUE(CUnit().WriteXml(&none));
    ASSERT_TRUE(unit.ReadXml(&none));
    EXPECT_EQ(unit.Name, "");
    EXPECT_EQ(unit.DbIndex, -1);
    EXPECT_EQ(unit.Type, -1);
    EXPECT_EQ(unit.ConversionFactor, 1.0);

    EXPECT_FALSE(unit.ReadXml(nullptr));
    EXPECT_FALSE(unit.WriteXml(nullptr));
}

// A unit read from a file is whole numbers and a unit that converts, or the reading fails and
// the unit stays as it was.
TEST(Unit, XmlRefusesNumbersThatAreNotOneAndUnitsThatDoNotConvert)
{
    const CUnit good = MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0, 0.0, 7);
    const CUnit user = MakeUnit("* psi", UNIT_TYPE_PRESSURE, 0.0689475729316836, 0.0, static_cast<int>(0x80000003u));
    const struct {
        const CUnit* unit;
        const char* attribute;  // nullptr: left out
        const char* text;
    } cases[] = {
        {&good, "ConversionFactor", "1,5"},    // read as 1 by atof
        {&good, "ConversionFactor", "0"},      // divides by zero
        {&good, "ConversionFactor", nullptr},  // absent reads as 0
        {&good, "ConversionFactor", "nan"},
        {&good, "ConversionOffset", "-inf"},
        {&good, "ConversionOffset", "1.2.3"},
        {&good, "DbIndex", "0"},
        {&good, "DbIndex", "7x"},
        {&good, "DbIndex", "4294967303"},  // 7 in its low 32 bits
        {&good, "Type", nullptr},          // no quantity
        {&good, "Type", "4.0"},
        {&good, "System", "-1"},
        {&good, "ConversionFlags", "abc"},
        {&good, "Name", ""},
        {&user, "ConversionFactor", "0"},
        {&user, "Type", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit->Name) + " " + c.attribute + "=" + (c.text ? c.text : "(absent)"));
        TiXmlElement element("Unit");
        ASSERT_TRUE(c.unit->WriteXml(&element));
        if (c.text != nullptr)
            element.SetAttribute(c.attribute, c.text);
        else
            element.RemoveAttribute(c.attribute);
        CUnit unit = MakeUnit("kept", UNIT_TYPE_DENSITY, 2.0, 0.0, 3);
        EXPECT_FALSE(unit.ReadXml(&element));
        EXPECT_EQ(unit.Name, "kept");
        EXPECT_EQ(unit.ConversionFactor, 2.0);
        EXPECT_EQ(unit.DbIndex, 3);
    }
    for (const CUnit* unit : {&good, &user}) {
        TiXmlElement element("Unit");
        ASSERT_TRUE(unit->WriteXml(&element));
        CUnit back;
        EXPECT_TRUE(back.ReadXml(&element)) << unit->Name;
        EXPECT_EQ(back.DbIndex, unit->DbIndex);
    }
}

TEST(Unit, XmlNumbersIgnoreTheProcessLocale)
{
    CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsSet());
    CUnit unit = MakeUnit("psi", UNIT_TYPE_PRESSURE, 0.0689475729316836, 1.5, 12);
    TiXmlElement element("Unit");
    unit.WriteXml(&element);
    EXPECT_STREQ(element.Attribute("ConversionOffset"), "1.5");
    CUnit back;
    ASSERT_TRUE(back.ReadXml(&element));
    EXPECT_EQ(back.ConversionFactor, 0.0689475729316836);
    EXPECT_EQ(back.ConversionOffset, 1.5);
}

}  // namespace
