// Values with units and value ranges in their XML form: what is written, what a reader needs,
// how user units of a file find their unit of this run, and that every unit survives a round
// trip through the text of a file under a German desktop.
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "CommonFiles/UnitValue.h"
#include "CommonFiles/ValueRange.h"
#include "EngineTestSupport.h"
#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

CUnitValue MakeValue(const CUnit& unit, double value, double base, int reference)
{
    CUnitValue result;
    static_cast<CUnit&>(result) = unit;
    result.Value = value;
    result.BaseValue = base;
    result.Reference = reference;
    return result;
}

std::vector<std::string> AttributeNames(const TiXmlElement& element)
{
    std::vector<std::string> names;
    for (const TiXmlAttribute* a = element.FirstAttribute(); a != nullptr; a = a->Next())
        names.push_back(a->Name());
    return names;
}

TEST(UnitValue, ResetRestoresUnitAndNumbers)
{
    CUnitValue value = MakeValue(MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0, 0.5, 7), 2.0, 3.013, REFERENCE_GAUGE);
    value.ConversionFlags = UNIT_SPECIFIC_GRAVITY;
    value.Reset();
    ExpectSameValue(value, CUnitValue(), "after reset");
    EXPECT_EQ(value.DbIndex, -1);
    EXPECT_EQ(value.ConversionFactor, 1.0);
}

struct WriteCase {
    const char* what;
    int reference;
    double value;
    double base;
    const char* valueText;
    const char* baseText;
};

// Ten decimals would write 1e-12 as "0.0" and lose it; the shortest exact text keeps it.
TEST(UnitValueXml, WritesUnitChildValuesAndReferenceOnlyWhenSet)
{
    const WriteCase cases[] = {
        {"reference 0 is not written", 0, 2.0, 0.1, "2", "0.1"},
        {"gauge reference", REFERENCE_GAUGE, 1e-12, 1.013, "1e-12", "1.013"},
        {"norm flow", REFERENCE_NORM, -0.5, 1.0 / 3.0, "-0.5", "0.3333333333333333"},
    };
    for (const WriteCase& c : cases) {
        const CUnit bar = MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0, 0.0, 7);
        const CUnitValue value = MakeValue(bar, c.value, c.base, c.reference);
        TiXmlElement element("Pressure");
        ASSERT_TRUE(value.WriteXml(&element)) << c.what;

        const TiXmlElement* unit = element.FirstChildElement("Unit");
        ASSERT_NE(unit, nullptr) << c.what;
        EXPECT_STREQ(unit->Attribute("Name"), "bar") << c.what;
        EXPECT_EQ(unit->NextSiblingElement(), nullptr) << c.what;
        std::vector<std::string> expected = {"BaseValue", "Value"};
        if (c.reference != 0)
            expected.push_back("Reference");
        EXPECT_EQ(AttributeNames(element), expected) << c.what;
        EXPECT_STREQ(element.Attribute("Value"), c.valueText) << c.what;
        EXPECT_STREQ(element.Attribute("BaseValue"), c.baseText) << c.what;

        CUnitValue back;
        ASSERT_TRUE(back.ReadXml(&element)) << c.what;
        ExpectSameValue(back, value, c.what);
    }
    EXPECT_FALSE(CUnitValue().WriteXml(nullptr));
}

TEST(UnitValueXml, ReadingNeedsTheUnitChild)
{
    TiXmlElement element("Flow");
    element.SetAttribute("BaseValue", "12.5");
    element.SetAttribute("Value", "45");
    element.SetAttribute("Reference", "4");
    TiXmlElement wrongName("unit");
    wrongName.SetAttribute("Name", "m3/h");
    element.InsertEndChild(wrongName);

    CUnitValue value = MakeValue(MakeUnit("l/h", UNIT_TYPE_VOLUME_FLOW, 0.001, 0.0, 41), 3.0, 0.003, 0);
    const CUnitValue before = value;
    EXPECT_FALSE(value.ReadXml(&element));
    ExpectSameValue(value, before, "a failed read changes nothing");
    EXPECT_FALSE(value.ReadXml(nullptr));
}

// Files of the earlier program wrote ten decimals with a trailing ".0" and six-decimal factors.
TEST(UnitValueXml, ReadsOlderTextAndTreatsAbsentNumbers)
{
    TiXmlDocument doc;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(doc,
                                   "<Temperature BaseValue=\"293.1500000000\" Value=\"20.0\">"
                                   "<Unit Name=\"°C\" Type=\"3\" System=\"1\" DbIndex=\"1\""
                                   " ConversionFactor=\"1.000000\" ConversionOffset=\"273.150000\""
                                   " ConversionFlags=\"0\"/></Temperature>",
                                   "old", &error))
        << error;
    CUnitValue value;
    value.Reference = REFERENCE_ABSOLUTE;
    ASSERT_TRUE(value.ReadXml(doc.RootElement()));
    EXPECT_EQ(value.BaseValue, 293.15);
    EXPECT_EQ(value.Value, 20.0);
    EXPECT_EQ(value.ConversionOffset, 273.15);
    EXPECT_EQ(value.DbIndex, 1);
    EXPECT_EQ(value.Reference, REFERENCE_ABSOLUTE) << "an absent reference leaves the holder's";

    // Without its numbers, around a unit not chosen yet.
    TiXmlElement bare("Density");
    TiXmlElement noUnit("Unit");
    ASSERT_TRUE(CUnit().WriteXml(&noUnit));
    bare.InsertEndChild(noUnit);
    value.Value = 5.0;
    value.BaseValue = 6.0;
    ASSERT_TRUE(value.ReadXml(&bare));
    EXPECT_EQ(value.Value, 0.0);
    EXPECT_EQ(value.BaseValue, 0.0);
}

// atof took the number a text begins with; a value is one whole finite number or none.
TEST(UnitValueXml, NumbersThatAreNotOneFailTheReadAndChangeNothing)
{
    const CUnitValue good = MakeValue(MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0, 0.0, 7), 2.0, 3.013, REFERENCE_GAUGE);
    const struct {
        const char* attribute;
        const char* text;
    } cases[] = {{"Value", "1,5"},     {"Value", "1.2.3"},    {"Value", "nan"},       {"BaseValue", "abc"},
                 {"BaseValue", "inf"}, {"BaseValue", ""},     {"Reference", "2.0"},   {"Reference", "4294967298"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + "=" + c.text);
        TiXmlElement element("Pressure");
        ASSERT_TRUE(good.WriteXml(&element));
        element.SetAttribute(c.attribute, c.text);
        CUnitValue value = MakeValue(MakeUnit("l/h", UNIT_TYPE_VOLUME_FLOW, 0.001, 0.0, 41), 3.0, 0.003, 0);
        const CUnitValue before = value;
        EXPECT_FALSE(value.ReadXml(&element));
        ExpectSameValue(value, before, "a failed read changes nothing");
    }
}

TEST(ValueRangeXml, SharesTheElementOfItsValue)
{
    const CUnitValue temperature = MakeValue(MakeUnit("K", 3, 1.0, 0.0, 2), 300.0, 300.0, 0);
    CValueRange range;
    range.MinRange = 2.5e-11;
    range.MaxRange = 473.15;
    TiXmlElement element("Temperature");
    ASSERT_TRUE(temperature.WriteXml(&element));
    ASSERT_TRUE(CValueRange::WriteXml(range, &element));
    const std::vector<std::string> expected = {"BaseValue", "Value", "MinRange", "MaxRange"};
    EXPECT_EQ(AttributeNames(element), expected);
    EXPECT_STREQ(element.Attribute("MaxRange"), "473.15");

    CUnitValue value;
    CValueRange back;
    ASSERT_TRUE(value.ReadXml(&element));
    ASSERT_TRUE(CValueRange::ReadXml(back, &element));
    ExpectSameValue(value, temperature, "value beside a range");
    EXPECT_EQ(back.MinRange, 2.5e-11);
    EXPECT_EQ(back.MaxRange, 473.15);

    // Absent bounds read as 0.0; a missing element fails either way.
    TiXmlElement none("Pressure");
    ASSERT_TRUE(CValueRange::ReadXml(back, &none));
    EXPECT_EQ(back.MinRange, 0.0);
    EXPECT_EQ(back.MaxRange, 0.0);
    EXPECT_FALSE(CValueRange::ReadXml(back, nullptr));
    EXPECT_FALSE(CValueRange::WriteXml(back, nullptr));
}

// --- User units in values ---------------------------------------------------------------------

class UserUnitValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(units, nullptr);
        units->RemoveUserUnits();
    }
    void TearDown() override { units->RemoveUserUnits(); }

    CUnitManager* units = CUnitManager::GetInstance();
};

// User indexes are positions of one run: a value finds its unit again by the unit's data.
TEST_F(UserUnitValues, ValueFindsItsUserUnitOrBringsItBack)
{
    CUnit mine = MakeUnit("* my bar", UNIT_TYPE_PRESSURE, 0.98);
    ASSERT_TRUE(units->AddUserUnit(mine));
    TiXmlElement element("Pressure");
    ASSERT_TRUE(MakeValue(mine, 1.0, 0.98, REFERENCE_ABSOLUTE).WriteXml(&element));

    // A run where the user deleted the unit and defined another one.
    units->RemoveUserUnits();
    CUnit other = MakeUnit("* other", UNIT_TYPE_PRESSURE, 2.0);
    ASSERT_TRUE(units->AddUserUnit(other));

    CUnitValue value;
    ASSERT_TRUE(value.ReadXml(&element));
    ASSERT_LT(value.DbIndex, 0);
    EXPECT_NE(value.DbIndex, other.DbIndex);
    CUnit found;
    ASSERT_TRUE(units->GetUnit(found, value.DbIndex));
    EXPECT_EQ(found.Name, "* my bar");
    EXPECT_EQ(found.ConversionFactor, 0.98);
    double base = 0.0;
    EXPECT_TRUE(units->ConvertToBase(base, value.Value, value.DbIndex, value.Reference));
    EXPECT_EQ(base, 0.98);

    // Read again: the unit is there now, nothing more is added.
    const std::size_t count = units->GetUnitList().size();
    CUnitValue again;
    ASSERT_TRUE(again.ReadXml(&element));
    EXPECT_EQ(again.DbIndex, value.DbIndex);
    EXPECT_EQ(units->GetUnitList().size(), count);
}

// A user unit that cannot be one (factor 0) is refused: its value cannot be converted, and
// its old index must not name whatever unit holds that index in this run.
TEST_F(UserUnitValues, InvalidUserUnitIsRefused)
{
    CUnit holder = MakeUnit("* holder", UNIT_TYPE_PRESSURE, 3.0);
    ASSERT_TRUE(units->AddUserUnit(holder));
    CUnit broken = MakeUnit("* broken", UNIT_TYPE_PRESSURE, 0.0, 0.0, holder.DbIndex);
    TiXmlElement element("Pressure");
    ASSERT_TRUE(MakeValue(broken, 1.0, 1.0, 0).WriteXml(&element));

    const std::size_t count = units->GetUnitList().size();
    CUnitValue value;
    value.Reset();
    EXPECT_FALSE(value.ReadXml(&element));
    EXPECT_EQ(value.DbIndex, -1);
    EXPECT_EQ(value.Name, "");
    EXPECT_EQ(units->GetUnitList().size(), count);
}

// --- Every unit of the shipped database --------------------------------------------------------

class ShippedUnitValues : public UserUnitValues {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ShippedDatabase::Open()); }
    static void TearDownTestSuite() { ShippedDatabase::Close(); }
    void SetUp() override
    {
        ASSERT_TRUE(units->LoadUnitList());
        // Only the shipped units, whatever user units lie beside the built program.
        UserUnitValues::SetUp();
    }
};

TEST_F(ShippedUnitValues, EveryUnitRoundTripsThroughFileTextUnderTheGermanLocale)
{
    CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsSet());
    CUnit mine = MakeUnit("* Faß/µs", UNIT_TYPE_VOLUME_FLOW, 1.0 / 3e7, -0.1);
    ASSERT_TRUE(units->AddUserUnit(mine));
    ASSERT_GT(units->GetUnitList().size(), 40u);

    TiXmlDocument doc;
    TiXmlElement root("Values");
    std::vector<CUnitValue> written;
    for (const CUnit& unit : units->GetUnitList()) {
        int reference = 0;
        if (unit.Type == UNIT_TYPE_PRESSURE)
            reference = REFERENCE_GAUGE;
        else if (unit.Type == UNIT_TYPE_VOLUME_FLOW)
            reference = REFERENCE_NORM;
        CUnitValue value = MakeValue(unit, (written.size() + 1) / 3.0, 0.0, reference);
        ASSERT_TRUE(ConvertToBaseUnit(value.BaseValue, value.Value, unit, reference)) << unit.Name;
        TiXmlElement element("Value");
        ASSERT_TRUE(value.WriteXml(&element));
        root.InsertEndChild(element);
        written.push_back(value);
    }
    doc.InsertEndChild(root);

    TiXmlDocument back;
    std::string error;
    ASSERT_TRUE(CXmlFile::LoadText(back, CXmlFile::ToText(doc), "values", &error)) << error;
    const std::size_t count = units->GetUnitList().size();
    const TiXmlElement* element = back.RootElement()->FirstChildElement("Value");
    for (const CUnitValue& expected : written) {
        ASSERT_NE(element, nullptr);
        for (const TiXmlElement* e : {element, element->FirstChildElement("Unit")}) {
            for (const TiXmlAttribute* a = e->FirstAttribute(); a != nullptr; a = a->Next()) {
                if (std::strcmp(a->Name(), "Name") != 0) {
                    EXPECT_EQ(std::strchr(a->Value(), ','), nullptr) << expected.Name << " " << a->Name();
                }
            }
        }
        CUnitValue read;
        ASSERT_TRUE(read.ReadXml(element));
        ExpectSameValue(read, expected, expected.Name);
        element = element->NextSiblingElement("Value");
    }
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(units->GetUnitList().size(), count) << "the user unit was found, not added again";
}

}  // namespace
