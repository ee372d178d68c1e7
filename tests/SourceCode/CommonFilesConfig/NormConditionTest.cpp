// The norm-condition list read from the units database, its selection list, look-up by id, and
// the XML form of one condition.
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/NormConditionManager.h"
#include "CommonFiles/UnitDb.h"
#include "ConfigFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>
#include <vector>

namespace {

// Row 2 has a gauge pressure; rows 3 and 4 name units the database does not have.
const std::string kConditions = std::string(kFixtureUnits) +
                                "INSERT INTO NormFlowConditions VALUES"
                                " (1, 'zero', 1, 0, 7, 1, 1.01325),"
                                " (2, 'gauge', 1, 15, 7, 2, 1),"
                                " (3, 'bad temperature unit', 999, 0, 7, 1, 1),"
                                " (4, 'bad pressure unit', 1, 0, 998, 1, 1),"
                                " (6, 'US', 3, 60, 10, 1, 14.696);";

std::vector<int> Ids(const CNormFlowConditionArray& list)
{
    std::vector<int> ids;
    for (const CNormFlowCondition& condition : list)
        ids.push_back(condition.Id);
    return ids;
}

void ExpectReset(const CNormFlowCondition& condition)
{
    EXPECT_EQ(condition.Id, -1);
    EXPECT_TRUE(condition.Name.empty());
    for (const CUnitValue* value : {&condition.Temperature, &condition.Pressure, &condition.Density}) {
        EXPECT_EQ(value->DbIndex, -1);
        EXPECT_EQ(value->Value, 0.0);
        EXPECT_EQ(value->BaseValue, 0.0);
        EXPECT_EQ(value->Reference, 0);
    }
}

TEST(NormConditionList, RowsWithUnknownUnitsAreSkippedAndBaseValuesConverted)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    const CNormConditionManager& manager = *CNormConditionManager::GetInstance();
    EXPECT_EQ(Ids(manager.GetList()), (std::vector<int>{1, 2, 6}));

    CNormFlowCondition gauge;
    ASSERT_TRUE(manager.GetCondition(2, gauge));
    EXPECT_EQ(gauge.Name, "gauge");
    EXPECT_EQ(gauge.Temperature.DbIndex, 1);
    EXPECT_EQ(gauge.Temperature.Name, "°C");
    EXPECT_EQ(gauge.Temperature.Value, 15.0);
    EXPECT_DOUBLE_EQ(gauge.Temperature.BaseValue, 288.15);
    EXPECT_EQ(gauge.Pressure.DbIndex, 7);
    EXPECT_EQ(gauge.Pressure.Reference, 2);
    EXPECT_EQ(gauge.Pressure.Value, 1.0);
    EXPECT_DOUBLE_EQ(gauge.Pressure.BaseValue, 2.013);
    EXPECT_EQ(gauge.Density.DbIndex, -1);
    EXPECT_EQ(gauge.Density.BaseValue, 0.0);

    CNormFlowCondition us;
    ASSERT_TRUE(manager.GetCondition(6, us));
    EXPECT_NEAR(us.Temperature.BaseValue, 288.706, 1e-3);
    EXPECT_NEAR(us.Pressure.BaseValue, 1.01325, 1e-4);
    EXPECT_EQ(us.Pressure.Reference, 1);

    // A second load gives the same list, not every condition twice.
    ASSERT_TRUE(CNormConditionManager::GetInstance()->LoadDbList());
    EXPECT_EQ(Ids(manager.GetList()), (std::vector<int>{1, 2, 6}));
}

TEST(NormConditionList, SelectionListEndsWithCustomEvenWhenEmpty)
{
    CNormConditionManager empty;
    CComboItems items{{"stale", 5}};
    EXPECT_TRUE(empty.FillComboBox(items));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "Custom");
    EXPECT_EQ(items[0].data, -1);

    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    CEngineTexts::SetTextSource([](const std::string& english, const std::string& language) {
        return english == "Custom" && language == "de" ? std::string("Benutzerdefiniert") : std::string();
    });
    EXPECT_TRUE(CNormConditionManager::GetInstance()->FillComboBox(items, "de"));
    CEngineTexts::SetTextSource(nullptr);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "zero");
    EXPECT_EQ(items[0].data, 1);
    EXPECT_EQ(items[2].text, "US");
    EXPECT_EQ(items[2].data, 6);
    EXPECT_EQ(items[3].text, "Benutzerdefiniert");
    EXPECT_EQ(items[3].data, -1);
}

TEST(NormConditionList, LookUpByIdCustomAndUnknown)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    const CNormConditionManager& manager = *CNormConditionManager::GetInstance();
    CNormFlowCondition condition;
    ASSERT_TRUE(manager.GetCondition(1, condition));
    EXPECT_EQ(condition.Name, "zero");

    // Custom: an empty record, and a success.
    EXPECT_TRUE(manager.GetCondition(-1, condition));
    ExpectReset(condition);

    // A skipped row is as unknown as any other id.
    ASSERT_TRUE(manager.GetCondition(1, condition));
    EXPECT_FALSE(manager.GetCondition(3, condition));
    ExpectReset(condition);
}

TEST(NormConditionList, NoListWithoutAnOpenDatabase)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(CNormConditionManager::GetInstance()->LoadDbList());
    EXPECT_TRUE(CNormConditionManager::GetInstance()->GetList().empty());
}

TEST(NormConditionList, ShippedDatabaseHasTheDefaultCondition)
{
    LoadedDatabase db;
    ASSERT_TRUE(db.Loaded());
    CNormFlowCondition condition;
    ASSERT_TRUE(CNormConditionManager::GetInstance()->GetCondition(1, condition));
    EXPECT_DOUBLE_EQ(condition.Temperature.BaseValue, 273.15);
    EXPECT_DOUBLE_EQ(condition.Pressure.BaseValue, 1.01325);
    // Every row names known units.
    EXPECT_EQ(CNormConditionManager::GetInstance()->GetList().size(), 4u);
}

CNormFlowCondition SampleCondition()
{
    CNormFlowCondition condition;
    condition.Id = 2;
    condition.Name = "ISO 13443: 15 °C";
    SetValue(condition.Temperature, 1, "°C", 3, 1.0, 15.0, 288.15, 0);
    condition.Temperature.ConversionOffset = 273.15;
    SetValue(condition.Pressure, 7, "bar", 4, 1.0, 0.1, 1.113, 2);
    SetValue(condition.Density, 21, "kg/m3", 5, 0.001, 1.225, 0.001225, 0);
    return condition;
}

TEST(NormConditionXml, RoundTrip)
{
    const CNormFlowCondition written = SampleCondition();
    TiXmlElement element("NormFlowConditions");
    ASSERT_TRUE(CNormFlowCondition::WriteXml(written, &element));
    EXPECT_STREQ(element.Attribute("Id"), "2");
    EXPECT_STREQ(element.Attribute("Name"), "ISO 13443: 15 °C");
    std::vector<std::string> children;
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement())
        children.push_back(child->Value());
    EXPECT_EQ(children, (std::vector<std::string>{"Temperature", "Pressure", "Density"}));

    CNormFlowCondition read;
    ASSERT_TRUE(CNormFlowCondition::ReadXml(read, &element));
    EXPECT_EQ(read.Id, 2);
    EXPECT_EQ(read.Name, written.Name);
    ExpectSameValue(read.Temperature, written.Temperature, "temperature");
    ExpectSameValue(read.Pressure, written.Pressure, "pressure");
    ExpectSameValue(read.Density, written.Density, "density");

    EXPECT_FALSE(CNormFlowCondition::WriteXml(written, nullptr));
}

TEST(NormConditionXml, MissingDensityFailsAfterReadingTheRest)
{
    TiXmlElement element("default-norm-condition");
    ASSERT_TRUE(CNormFlowCondition::WriteXml(SampleCondition(), &element));
    element.RemoveChild(element.FirstChildElement("Density"));

    CNormFlowCondition read = SampleCondition();
    read.Density.Value = 99.0;
    EXPECT_FALSE(CNormFlowCondition::ReadXml(read, &element));
    EXPECT_EQ(read.Id, 2);
    EXPECT_EQ(read.Name, "ISO 13443: 15 °C");
    EXPECT_EQ(read.Temperature.BaseValue, 288.15);
    EXPECT_EQ(read.Pressure.Reference, 2);
    // The record was reset before reading: nothing of the old density is left.
    EXPECT_EQ(read.Density.Value, 0.0);
    EXPECT_EQ(read.Density.DbIndex, -1);
}

TEST(NormConditionXml, MissingElementResetsAndFails)
{
    CNormFlowCondition read = SampleCondition();
    EXPECT_FALSE(CNormFlowCondition::ReadXml(read, nullptr));
    ExpectReset(read);

    // Without attributes it is a custom condition.
    TiXmlElement element("NormFlowConditions");
    ASSERT_TRUE(CNormFlowCondition::WriteXml(SampleCondition(), &element));
    element.RemoveAttribute("Id");
    element.RemoveAttribute("Name");
    EXPECT_TRUE(CNormFlowCondition::ReadXml(read, &element));
    EXPECT_EQ(read.Id, -1);
    EXPECT_TRUE(read.Name.empty());
}

}  // namespace
