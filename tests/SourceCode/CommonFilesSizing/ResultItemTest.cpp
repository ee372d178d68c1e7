// A result row: its summary text, the filter, its XML form and the point column texts.
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"
#include "CommonFiles/ResultFilter.h"
#include "CommonFiles/ResultItem.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"
#include "ConfigFixture.h"
#include "SizingFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

CUnit Unit(int dbIndex, const char* name, int type, double factor)
{
    CUnit unit;
    unit.DbIndex = dbIndex;
    unit.Name = name;
    unit.Type = type;
    unit.System = 0;
    unit.ConversionFactor = factor;
    return unit;
}

// A computed row of size 11, class 21 in m3/h, m/s and bar.
CResultItem Row()
{
    CResultItem row;
    row.SizeId = 11;
    row.PressureId = 21;
    row.ReynoldsMin = 19038.2;
    row.ApplicationTurndown = 12.5;
    row.VortexFrequencyMax = 153.04;
    row.CurrentMin = 5.28;
    row.FlowUnit = Unit(38, "m3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0);
    row.FlowRange.MinRange = 2.5;
    row.FlowRange.MaxRange = 75.123456789;
    row.VelocityUnit = Unit(92, "m/s", 7, 1.0);
    row.VelocityRange.MinRange = 0.35;
    row.VelocityRange.MaxRange = 9.0;
    row.PressureUnit = Unit(7, "bar", UNIT_TYPE_PRESSURE, 1.0);
    row.PressureLossRange.MinRange = 0.000123;
    row.PressureLossRange.MaxRange = 0.889;
    return row;
}

const char kRowSummary[] =
    "Flow range: 2.5 - 75.1235 m3/h\n"
    "Velocity range: 0.35 - 9.0 m/s\n"
    "Pressure loss range: 0.000123 - 0.889 bar\n"
    "Reynolds number at min. flow: 19038.2\n"
    "MOKADI ZR410 S 50 C 16 Steel\n"
    "VNumber: Q7XK\n"
    "Application turndown: 1:12.5\n"
    "Vortex frequency at max. flow: 153.0 Hz\n"
    "Current at min. flow: 5.28 mA";

class ResultItemTest : public ::testing::Test {
protected:
    void TearDown() override { CEngineTexts::SetTextSource(nullptr); }

    std::string Summary(const CResultItem& row, int furtherItemId = 31) const
    {
        std::string text;
        row.GetSummaryText(text, "en", "Q7XK", furtherItemId);
        return text;
    }

    LoadedDatabase database{std::string(kFixtureUnits) + kDeviceFixture};
};

TEST_F(ResultItemTest, SummaryOfARowWithoutErrorsStartsWithTheFlowRange)
{
    EXPECT_EQ(Summary(Row()), kRowSummary);
}

TEST_F(ResultItemTest, SummaryListsErrorsAndWarningsInHexadecimal)
{
    CResultItem row = Row();
    row.AddError(CALC_DATABASE_ERROR);
    row.AddError(CALC_NO_REYNOLDS);
    row.AddWarning(0x10);
    row.AddWarning(0xAB);
    EXPECT_EQ(Summary(row), std::string("Errors:\nDatabase error; , No Reynolds number calculated;\n"
                                        "Warnings:\n0x00000010, 0x000000AB\n\n") +
                                kRowSummary);
}

TEST_F(ResultItemTest, SummaryTurndownAndCurrentLines)
{
    struct Case {
        double turndown;
        const char* text;
    };
    const Case cases[] = {{12.5, "1:12.5"}, {0.5, "2.0:1"}, {0.0, "1:0.0"}, {1.0, "1:1.0"}, {10.24, "1:10.2"}};
    for (const Case& c : cases) {
        CResultItem row = Row();
        row.ApplicationTurndown = c.turndown;
        EXPECT_NE(Summary(row).find(std::string("Application turndown: ") + c.text + "\n"), std::string::npos)
            << c.turndown;
    }
    CResultItem row = Row();
    row.CurrentMin = 23.1;
    EXPECT_EQ(Summary(row).find("Current"), std::string::npos);
    EXPECT_EQ(Summary(row).substr(Summary(row).size() - 3), " Hz");
    row.CurrentMin = 20.0;
    EXPECT_NE(Summary(row).find("Current at min. flow: 20.00 mA"), std::string::npos);
}

TEST_F(ResultItemTest, SummaryNamesTheVersionAndLeavesOutItemsWithoutName)
{
    CResultItem row = Row();
    row.SectionId = 41;
    row.PressureId = -1;
    EXPECT_NE(Summary(row, 0).find("\nMOKADI ZR410 S 50 low-flow\n"), std::string::npos);
}

// A translated label holding '%' stays text: labels never become a format.
TEST_F(ResultItemTest, TranslatedLabelsAreTextNotFormats)
{
    CEngineTexts::SetTextSource([](const std::string& english, const std::string&) {
        return english == "Flow range" ? std::string("Durchfluss %s%n%d") : std::string();
    });
    EXPECT_EQ(Summary(Row()).substr(0, 37), "Durchfluss %s%n%d: 2.5 - 75.1235 m3/h");
}

TEST_F(ResultItemTest, ItemNameAndOrderNumber)
{
    CResultItem row = Row();
    std::string text;
    row.GetItemName(text, "en");
    EXPECT_EQ(text, "S 50");
    row.SectionId = 41;
    row.GetItemName(text, "en");
    EXPECT_EQ(text, "S 50 low-flow");
    EXPECT_TRUE(row.GetOrderNumber(text));
    EXPECT_EQ(text, "Q7XK");
}

TEST(ResultColumnTest, CaptionsAndUnitNames)
{
    std::string text;
    GetResultColumnCaption(text, 2, "en", FALSE, FALSE);
    EXPECT_EQ(text, "Pressure loss");
    GetResultColumnCaption(text, 2, "en", TRUE, FALSE);
    EXPECT_EQ(text, "Pressure_loss");
    GetResultColumnCaption(text, 2, "en", FALSE, TRUE);
    EXPECT_EQ(text, "pressure_loss");
    GetResultColumnCaption(text, 4, "en", FALSE, TRUE);
    EXPECT_EQ(text, "reynolds_number");
    GetResultColumnCaption(text, 5, "en", FALSE, FALSE);
    EXPECT_EQ(text, "");
    GetResultColumnCaption(text, -1, "en", FALSE, FALSE);
    EXPECT_EQ(text, "");

    const CResultItem row = Row();
    const char* const units[] = {"m3/h", "m/s", "bar", "%", "", ""};
    for (int column = 0; column < 6; ++column) {
        row.GetColumnUnitName(text, column);
        EXPECT_EQ(text, units[column]) << column;
    }
}

// Under a Turkish locale tolower('I') stays 'I'; the lower-case caption follows the ASCII rule.
TEST(ResultColumnTest, LowerCaseCaptionWhateverTheLocale)
{
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr) << "(scripts/install-deps.sh generates it)";
    CEngineTexts::SetTextSource([](const std::string& english, const std::string&) {
        return english == "Flow" ? std::string("Ist Durchfluss") : std::string();
    });
    std::string text;
    GetResultColumnCaption(text, 0, "de", FALSE, TRUE);
    std::setlocale(LC_ALL, "C");
    CEngineTexts::SetTextSource(nullptr);
    EXPECT_EQ(text, "ist_durchfluss");
}

// --- Filter ------------------------------------------------------------------------------------

class ResultFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        row.Reset();
        data.Reset();
        data.Flow.Value = 50.0;
        row.FlowRange.MinRange = 10.0;
        row.FlowRange.MaxRange = 100.0;
        row.ApplicationTurndown = 5.0;
    }

    CPhysicalData data;
    CResultFilter filter;
    CResultItem row;
};

TEST_F(ResultFilterTest, EachTestHidesOnlyWhenItsSwitchIsOn)
{
    struct Case {
        const char* name;
        void (*spoil)(CResultItem&, CPhysicalData&);
        int CResultFilter::*flag;
    };
    const Case cases[] = {
        {"errors", [](CResultItem& r, CPhysicalData&) { r.AddError(CALC_NO_REYNOLDS); }, &CResultFilter::HideErrors},
        {"flow at minimum", [](CResultItem&, CPhysicalData& d) { d.Flow.Value = 10.0; },
         &CResultFilter::HideLargeFlowRange},
        {"small turndown", [](CResultItem& r, CPhysicalData&) { r.ApplicationTurndown = 3.99; },
         &CResultFilter::HideSmallTurndown},
        {"flow above maximum", [](CResultItem& r, CPhysicalData&) { r.FlowRange.MaxRange = 40.0; },
         &CResultFilter::HideSmallFlowRange},
    };
    EXPECT_FALSE(row.IsFiltered(filter, data, nullptr));
    for (const Case& c : cases) {
        SetUp();
        c.spoil(row, data);
        filter.Reset();
        EXPECT_TRUE(row.IsFiltered(filter, data, nullptr)) << c.name;
        filter.*c.flag = 0;
        EXPECT_FALSE(row.IsFiltered(filter, data, nullptr)) << c.name;
    }
}

TEST_F(ResultFilterTest, FlowPercentageScalesTheOperatingFlow)
{
    row.FlowRange.MaxRange = 60.0;
    filter.MaxFlowPercent = 120.0;
    EXPECT_FALSE(row.IsFiltered(filter, data, nullptr));  // 60 is not above 60
    filter.MaxFlowPercent = 121.0;
    EXPECT_TRUE(row.IsFiltered(filter, data, nullptr));
    filter.MinTurndown = 5.0;
    filter.MaxFlowPercent = 100.0;
    EXPECT_FALSE(row.IsFiltered(filter, data, nullptr));  // 5 is not below 5
}

TEST_F(ResultFilterTest, SpecialVersionHiddenOnlyBehindAShownStandardDevice)
{
    CResultData list;
    CResultItem standard = row;
    standard.SizeId = 3;
    standard.PressureId = 2;
    CResultItem special = standard;
    special.SectionId = 7;
    CResultItem otherClass = standard;
    otherClass.PressureId = 1;
    list.Add(otherClass);
    list.Add(special);

    EXPECT_FALSE(special.IsFiltered(filter, data, &list));  // no standard device of class 2
    list.Add(standard);
    EXPECT_TRUE(special.IsFiltered(filter, data, &list));
    EXPECT_FALSE(special.IsFiltered(filter, data, nullptr));
    EXPECT_FALSE(standard.IsFiltered(filter, data, &list));
    filter.HideSpecialDevices = 0;
    EXPECT_FALSE(special.IsFiltered(filter, data, &list));

    // The standard device fails a test: the special version is shown.
    filter.Reset();
    list.GetAt(2).ApplicationTurndown = 2.0;
    EXPECT_FALSE(special.IsFiltered(filter, data, &list));
}

// The results page merges before it filters: a standard device merged over every pressure class
// also stands for the class of a version that exists in one class only.
TEST_F(ResultFilterTest, SpecialVersionOfOneClassHiddenBehindAMergedStandardDevice)
{
    CResultData list;
    for (const int pressureClass : {1, 2}) {
        CResultItem standard = row;
        standard.SizeId = 3;
        standard.PressureId = pressureClass;
        list.Add(standard);
    }
    CResultItem special = list.GetAt(1);
    special.SectionId = 7;
    list.Add(special);
    list.MergePressureClasses();
    ASSERT_EQ(list.GetCount(), 2);
    ASSERT_EQ(list.GetAt(0).PressureId, RESULT_EVERY_PRESSURE_CLASS);
    ASSERT_EQ(list.GetAt(1).PressureId, 2);

    EXPECT_TRUE(list.GetAt(1).IsFiltered(filter, data, &list));
    list.GetAt(0).AddError(CALC_DATABASE_ERROR);
    EXPECT_FALSE(list.GetAt(1).IsFiltered(filter, data, &list));
}

// --- XML ---------------------------------------------------------------------------------------

void ExpectSameRow(const CResultItem& read, const CResultItem& written)
{
    EXPECT_EQ(read.SizeId, written.SizeId);
    EXPECT_EQ(read.PressureId, written.PressureId);
    EXPECT_EQ(read.SectionId, written.SectionId);
    EXPECT_EQ(read.ReynoldsMin, written.ReynoldsMin);
    EXPECT_EQ(read.ApplicationTurndown, written.ApplicationTurndown);
    EXPECT_EQ(read.VortexFrequencyMax, written.VortexFrequencyMax);
    EXPECT_EQ(read.CurrentMin, written.CurrentMin);
    EXPECT_EQ(read.Errors, written.Errors);
    EXPECT_EQ(read.Warnings, written.Warnings);
    EXPECT_EQ(read.Points, written.Points);
    const CUnit* readUnits[] = {&read.FlowUnit, &read.VelocityUnit, &read.PressureUnit};
    const CUnit* writtenUnits[] = {&written.FlowUnit, &written.VelocityUnit, &written.PressureUnit};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(readUnits[i]->Name, writtenUnits[i]->Name);
        EXPECT_EQ(readUnits[i]->DbIndex, writtenUnits[i]->DbIndex);
        EXPECT_EQ(readUnits[i]->ConversionFactor, writtenUnits[i]->ConversionFactor);
    }
    EXPECT_EQ(read.FlowRange.MinRange, written.FlowRange.MinRange);
    EXPECT_EQ(read.FlowRange.MaxRange, written.FlowRange.MaxRange);
    EXPECT_EQ(read.VelocityRange.MaxRange, written.VelocityRange.MaxRange);
    EXPECT_EQ(read.PressureLossRange.MinRange, written.PressureLossRange.MinRange);
}

TEST(ResultItemXmlTest, RoundTripKeepsEveryNumberExactly)
{
    CResultItem written = Row();
    written.SectionId = 41;
    written.ApplicationTurndown = std::numeric_limits<double>::max();
    written.AddError(CALC_DATABASE_ERROR);
    written.AddWarning(0x20);
    written.AddPoint({2.5, 0.35, 1.2345678901234e-7, 2.0, 10000.0});
    written.AddPoint({1.0 / 3.0, 0.1, 0.2, 0.75, 20001.0});
    TiXmlElement element("ResultItem");
    ASSERT_TRUE(written.WriteXml(&element));
    TiXmlDocument doc;
    const TiXmlElement* root = Reparse(element, doc);
    EXPECT_NE(root->FirstChildElement("Data")->FirstChildElement("Point")->Attribute("Pressure_loss"), nullptr);
    CResultItem read;
    read.AddPoint({});
    ASSERT_TRUE(read.ReadXml(root));
    ExpectSameRow(read, written);
}

TEST(ResultItemXmlTest, ReadsOlderTextsAndAbsentValuesAsZero)
{
    TiXmlDocument doc;
    // The velocity and pressure units as a reset leaves them, with what a reset gives left out.
    doc.Parse("<ResultItem SizeId='104' ReynoldsMin='19038.2000000000'>"
              "<Errors><Error Id='256'/><Error Id='0'/><Error/></Errors><Warnings/>"
              "<Data><FlowUnit Name='m3/h' Type='1' System='0' DbIndex='38' ConversionFactor='1000.000000'"
              " MinRange='2.5' MaxRange='75.5'/>"
              "<VelocityUnit Type='-1' System='-1' DbIndex='-1' ConversionFactor='1'/>"
              "<PressureUnit Type='-1' System='-1' DbIndex='-1' ConversionFactor='1.0'/>"
              "<Point Flow='2.5' Velocity='0.35' Pressure_loss='0.001' Reynolds_number='19038.2'/></Data>"
              "</ResultItem>");
    CResultItem read;
    ASSERT_TRUE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.SizeId, 104);
    EXPECT_EQ(read.PressureId, 0);
    EXPECT_EQ(read.ReynoldsMin, 19038.2);
    EXPECT_EQ(read.ApplicationTurndown, 0.0);
    EXPECT_EQ(read.FlowUnit.ConversionOffset, 0.0);
    EXPECT_EQ(read.VelocityUnit.DbIndex, -1);
    EXPECT_EQ(read.Errors, std::vector<int>{CALC_DATABASE_ERROR});
    EXPECT_EQ(read.FlowRange.MaxRange, 75.5);
    ASSERT_EQ(read.Points.size(), 1u);
    EXPECT_EQ(read.Points[0], (CResultPoint{2.5, 0.35, 0.001, 0.0, 19038.2}));
}

// Every attribute name of a row as the earlier program wrote it: reals with ten decimals and
// trailing zeros cut.
TEST(ResultItemXmlTest, ReadsEveryPartOfARowOfTheEarlierProgram)
{
    TiXmlDocument doc;
    doc.Parse("<ResultItem SizeId='104' PressureId='-1' SectionId='401' ReynoldsMin='10000.0'"
              " ApplicationTurndown='10.2123456789' VortexFrequencyMax='153.0400000000' CurrentMin='4.8'>"
              "<Errors><Error Id='128'/></Errors><Warnings><Warning Id='16'/></Warnings>"
              "<Data><FlowUnit Name='m3/h' Type='1' System='0' DbIndex='38' ConversionFactor='1000.0'"
              " ConversionOffset='0.0' ConversionFlags='0' MinRange='2.9392150000' MaxRange='75.5780000000'/>"
              "<VelocityUnit Name='ft/s' Type='7' System='1' DbIndex='93' ConversionFactor='0.3048'"
              " MinRange='1.1482939633' MaxRange='29.5275590551'/>"
              "<PressureUnit Name='psi' Type='4' System='1' DbIndex='10' ConversionFactor='0.0689475729'"
              " MinRange='0.0000199' MaxRange='0.25'/>"
              "<Point Flow='2.939215' Velocity='1.1482939633' Pressure_loss='0.0013' Error='2.0'"
              " Reynolds_number='10000.0'/></Data></ResultItem>");
    CResultItem read;
    ASSERT_TRUE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.SizeId, 104);
    EXPECT_EQ(read.PressureId, RESULT_EVERY_PRESSURE_CLASS);
    EXPECT_EQ(read.SectionId, 401);
    EXPECT_EQ(read.ReynoldsMin, 10000.0);
    EXPECT_EQ(read.ApplicationTurndown, 10.2123456789);
    EXPECT_EQ(read.VortexFrequencyMax, 153.04);
    EXPECT_EQ(read.CurrentMin, 4.8);
    EXPECT_EQ(read.Errors, std::vector<int>{CALC_NO_REYNOLDS});
    EXPECT_EQ(read.Warnings, std::vector<int>{0x10});
    EXPECT_EQ(read.FlowUnit.DbIndex, 38);
    EXPECT_EQ(read.FlowUnit.ConversionFactor, 1000.0);
    EXPECT_EQ(read.FlowRange.MinRange, 2.939215);
    EXPECT_EQ(read.FlowRange.MaxRange, 75.578);
    EXPECT_EQ(read.VelocityUnit.Name, "ft/s");
    EXPECT_EQ(read.VelocityRange.MinRange, 1.1482939633);
    EXPECT_EQ(read.VelocityRange.MaxRange, 29.5275590551);
    EXPECT_EQ(read.PressureUnit.DbIndex, 10);
    EXPECT_EQ(read.PressureLossRange.MinRange, 0.0000199);
    EXPECT_EQ(read.PressureLossRange.MaxRange, 0.25);
    ASSERT_EQ(read.Points.size(), 1u);
    EXPECT_EQ(read.Points[0], (CResultPoint{2.939215, 1.1482939633, 0.0013, 2.0, 10000.0}));
}

// Turndown and current come from unguarded divisions; the earlier program wrote them as "INF",
// "-INF" or "NaN", and they read back as such.
TEST(ResultItemXmlTest, TurndownAndCurrentMayBeNotFinite)
{
    TiXmlElement element("ResultItem");
    ASSERT_TRUE(Row().WriteXml(&element));
    element.SetAttribute("ApplicationTurndown", "NaN");
    element.SetAttribute("CurrentMin", "-INF");
    TiXmlDocument doc;
    CResultItem read;
    ASSERT_TRUE(read.ReadXml(Reparse(element, doc)));
    EXPECT_TRUE(std::isnan(read.ApplicationTurndown));
    EXPECT_EQ(read.CurrentMin, -std::numeric_limits<double>::infinity());
}

// The earlier program wrote a value that was not finite as "NaN", "INF" or "-INF", and atof
// took "1,5" as 1: such a row holds no number to show or calculate with and is refused.
TEST(ResultItemXmlTest, NumbersThatAreNotOneFiniteNumberFailTheRead)
{
    CResultItem written = Row();
    written.AddError(CALC_DATABASE_ERROR);
    written.AddPoint({2.5, 0.35, 0.001, 2.0, 10000.0});
    const struct {
        const char* element;  // below the row; nullptr: the row itself
        const char* attribute;
        const char* text;
    } cases[] = {
        {nullptr, "ReynoldsMin", "nan"},          {nullptr, "ApplicationTurndown", "1,5"},
        {nullptr, "CurrentMin", "4.8 mA"},        {nullptr, "VortexFrequencyMax", "1,5"},
        {nullptr, "SizeId", "4294967307"},        {nullptr, "PressureId", "-1.0"},
        {"Errors/Error", "Id", "abc"},            {"Data/FlowUnit", "MinRange", "NaN"},
        {"Data/PressureUnit", "MaxRange", "inf"}, {"Data/PressureUnit", "ConversionFactor", "0"},
        {"Data/Point", "Flow", "nan"},            {"Data/Point", "Velocity", "inf"},
        {"Data/Point", "Reynolds_number", "1e400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.element ? c.element : "ResultItem") + " " + c.attribute + "=" + c.text);
        TiXmlElement element("ResultItem");
        ASSERT_TRUE(written.WriteXml(&element));
        TiXmlElement* target = &element;
        if (c.element != nullptr) {
            const std::string path = c.element;
            const std::size_t slash = path.find('/');
            target = target->FirstChildElement(path.substr(0, slash).c_str())
                         ->FirstChildElement(path.substr(slash + 1).c_str());
        }
        ASSERT_NE(target->Attribute(c.attribute), nullptr);
        target->SetAttribute(c.attribute, c.text);
        TiXmlDocument doc;
        CResultItem read;
        EXPECT_FALSE(read.ReadXml(Reparse(element, doc)));
    }
}

TEST(ResultItemXmlTest, EachRequiredPartFailsTheReadWhenMissing)
{
    const char* const documents[] = {
        "<ResultItem><Warnings/><Data><FlowUnit/><VelocityUnit/><PressureUnit/></Data></ResultItem>",
        "<ResultItem><Errors/><Data><FlowUnit/><VelocityUnit/><PressureUnit/></Data></ResultItem>",
        "<ResultItem><Errors/><Warnings/></ResultItem>",
        "<ResultItem><Errors/><Warnings/><Data><FlowUnit/><PressureUnit/></Data></ResultItem>",
    };
    for (const char* text : documents) {
        TiXmlDocument doc;
        doc.Parse(text);
        CResultItem read;
        EXPECT_FALSE(read.ReadXml(doc.RootElement())) << text;
    }
    CResultItem read;
    EXPECT_FALSE(read.ReadXml(nullptr));
    EXPECT_FALSE(read.WriteXml(nullptr));
}

}  // namespace
