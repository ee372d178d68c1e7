// The result list: merging pressure classes and the part "ResultData" of project files.
#include "CommonFiles/ResultData.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"
#include "SizingFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <vector>

namespace {

struct RowKey {
    int size;
    int section;
    int pressureClass;
    double minFlow;
    double maxFlow;
};

void Fill(CResultData& list, const std::vector<RowKey>& keys)
{
    list.RemoveAll();
    for (const RowKey& key : keys) {
        CResultItem row;
        row.SizeId = key.size;
        row.SectionId = key.section;
        row.PressureId = key.pressureClass;
        row.FlowRange.MinRange = key.minFlow;
        row.FlowRange.MaxRange = key.maxFlow;
        list.Add(row);
    }
}

// (size, section, class) of every row in order.
std::vector<std::vector<int>> Keys(const CResultData& list)
{
    std::vector<std::vector<int>> keys;
    for (int i = 0; i < list.GetCount(); ++i)
        keys.push_back({list.GetAt(i).SizeId, list.GetAt(i).SectionId, list.GetAt(i).PressureId});
    return keys;
}

TEST(MergePressureClassesTest, WorkedCases)
{
    struct Case {
        const char* name;
        std::vector<RowKey> rows;
        std::vector<std::vector<int>> merged;
    };
    const Case cases[] = {
        {"equal ranges become one row",
         {{1, 0, 1, 10, 100}, {1, 0, 2, 10, 100}, {2, 0, 1, 5, 50}},
         {{1, 0, -1}, {2, 0, 1}}},
        {"differing ranges stay, now adjacent",
         {{1, 0, 1, 10, 100}, {2, 0, 1, 5, 50}, {1, 0, 2, 10, 120}},
         {{1, 0, 1}, {1, 0, 2}, {2, 0, 1}}},
        {"sections are groups of their own",
         {{1, 0, 1, 10, 100}, {1, 5, 1, 10, 100}},
         {{1, 0, 1}, {1, 5, 1}}},
        {"a single row keeps its class", {{1, 0, 3, 10, 100}}, {{1, 0, 3}}},
        {"three classes and a section",
         {{1, 0, 1, 10, 100}, {1, 5, 1, 8, 60}, {1, 0, 2, 10, 100}, {1, 5, 2, 8, 60}, {1, 0, 3, 10, 100}},
         {{1, 0, -1}, {1, 5, -1}}},
    };
    for (const Case& c : cases) {
        CResultData list;
        Fill(list, c.rows);
        list.MergePressureClasses();
        EXPECT_EQ(Keys(list), c.merged) << c.name;
    }
}

TEST(MergePressureClassesTest, RangesCompareByTheirStoredBytes)
{
    CResultData list;
    Fill(list, {{1, 0, 1, NAN, 100}, {1, 0, 2, NAN, 100}, {2, 0, 1, 0.0, 1}, {2, 0, 2, -0.0, 1}});
    list.MergePressureClasses();
    EXPECT_EQ(Keys(list), (std::vector<std::vector<int>>{{1, 0, -1}, {2, 0, 1}, {2, 0, 2}}));
}

CResultData& TwoRows(CResultData& list)
{
    Fill(list, {{104, 0, 201, 2.939, 75.57}, {104, 401, 201, 1.5, 50.0}});
    list.GetAt(0).AddPoint({2.939, 0.35, 0.0013, 2.0, 19038.2});
    CUnit& flowUnit = list.GetAt(0).FlowUnit;
    flowUnit.Name = "m3/h";
    flowUnit.DbIndex = 38;
    flowUnit.Type = 1;
    flowUnit.System = 0;
    flowUnit.ConversionFactor = 1000.0;
    list.GetAt(1).AddError(CALC_DATABASE_ERROR);
    return list;
}

TEST(ResultDataXmlTest, RoundTripOfAList)
{
    CResultData written;
    TwoRows(written);
    TiXmlElement element("ResultData");
    ASSERT_TRUE(written.WriteXml(&element));
    TiXmlDocument doc;
    CResultData read;
    read.Add(CResultItem());
    ASSERT_TRUE(read.ReadXml(Reparse(element, doc)));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(Keys(read), Keys(written));
    EXPECT_EQ(read.GetAt(0).Points, written.GetAt(0).Points);
    EXPECT_EQ(read.GetAt(0).FlowUnit.Name, "m3/h");
    EXPECT_EQ(read.GetAt(0).FlowRange.MaxRange, 75.57);
    EXPECT_EQ(read.GetAt(1).Errors, written.GetAt(1).Errors);
    EXPECT_EQ(read.GetUpperBound(), 1);
}

TEST(ResultDataXmlTest, ReadWithoutResultItemsFailsWithAnEmptyList)
{
    TiXmlDocument doc;
    doc.Parse("<ResultData><ResultItem/></ResultData>");
    CResultData read;
    read.Add(CResultItem());
    EXPECT_FALSE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.GetCount(), 0);
    EXPECT_FALSE(read.ReadXml(nullptr));
    EXPECT_FALSE(read.WriteXml(nullptr));
}

TEST(ResultDataXmlTest, BrokenRowEndsTheReadKeepingTheRowsBefore)
{
    CResultData written;
    TwoRows(written);
    TiXmlElement element("ResultData");
    ASSERT_TRUE(written.WriteXml(&element));
    TiXmlElement* second = element.FirstChildElement("ResultItems")->FirstChildElement("ResultItem")->NextSiblingElement();
    second->RemoveChild(second->FirstChildElement("Data"));
    CResultData read;
    EXPECT_FALSE(read.ReadXml(&element));
    EXPECT_EQ(Keys(read), (std::vector<std::vector<int>>{{104, 0, 201}}));
}

TEST(ResultDataXmlTest, EmptyListWritesAnEmptyResultItems)
{
    CResultData empty;
    TiXmlElement element("ResultData");
    ASSERT_TRUE(empty.WriteXml(&element));
    ASSERT_NE(element.FirstChildElement("ResultItems"), nullptr);
    CResultData read;
    EXPECT_TRUE(read.ReadXml(&element));
    EXPECT_EQ(read.GetCount(), 0);
}

}  // namespace
