#include "Platform/XmlNumbers.h"

#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

// A German desktop: the process locale has ',' as its decimal point.
class XmlNumbersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = std::setlocale(LC_ALL, nullptr);
        // Without it the tests would pass on any machine without proving anything.
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "de_DE.UTF-8 locale missing (scripts/install-deps.sh makes it)";
    }
    void TearDown() override { std::setlocale(LC_ALL, previous.c_str()); }

    std::string previous;
};

TEST_F(XmlNumbersTest, WritesWithDecimalPoint)
{
    TiXmlElement unit("Unit");
    CXmlNumbers::SetDoubleAttribute(unit, "Value", 1.5);
    CXmlNumbers::SetDoubleAttribute(unit, "Factor", 0.1);
    CXmlNumbers::SetDoubleAttribute(unit, "ConversionFactor", 1.5, 'f', 6);
    CXmlNumbers::SetLongAttribute(unit, "Type", -42);
    EXPECT_STREQ(unit.Attribute("Value"), "1.5");
    EXPECT_STREQ(unit.Attribute("Factor"), "0.1");
    EXPECT_STREQ(unit.Attribute("ConversionFactor"), "1.500000");
    EXPECT_STREQ(unit.Attribute("Type"), "-42");
}

TEST_F(XmlNumbersTest, ReadsStrictly)
{
    TiXmlDocument doc;
    ASSERT_TRUE(CXmlFile::LoadText(doc,
                                   "<Unit a=\"2.5\" b=\" -1e3 \" comma=\"2,5\" junk=\"12abc\" empty=\"\" "
                                   "big=\"3000000000\" huge=\"1e999\" n=\"-7\" inf=\"-inf\" nan=\"nan\"/>",
                                   "unit.xml", nullptr));
    const TiXmlElement& unit = *doc.RootElement();

    double d = 99;
    EXPECT_TRUE(CXmlNumbers::QueryDoubleAttribute(unit, "a", d));
    EXPECT_EQ(d, 2.5);
    EXPECT_TRUE(CXmlNumbers::QueryDoubleAttribute(unit, "b", d));
    EXPECT_EQ(d, -1000.0);
    for (const char* bad : {"comma", "junk", "empty", "huge", "missing"}) {
        d = 99;
        EXPECT_FALSE(CXmlNumbers::QueryDoubleAttribute(unit, bad, d)) << bad;
        EXPECT_EQ(d, 99) << bad;
    }

    long l = 0;
    int i = 0;
    EXPECT_TRUE(CXmlNumbers::QueryLongAttribute(unit, "big", l));
    EXPECT_EQ(l, 3000000000L);
    EXPECT_FALSE(CXmlNumbers::QueryIntAttribute(unit, "big", i));  // beyond int
    EXPECT_TRUE(CXmlNumbers::QueryIntAttribute(unit, "n", i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(CXmlNumbers::QueryIntAttribute(unit, "junk", i));
    EXPECT_EQ(i, -7);

    // Stored files may leave a number out; one given must be one, and a double finite.
    d = 99;
    EXPECT_TRUE(CXmlNumbers::ReadOptionalDouble(unit, "missing", d));
    EXPECT_EQ(d, 99);
    EXPECT_TRUE(CXmlNumbers::ReadOptionalDouble(unit, "b", d));
    EXPECT_EQ(d, -1000.0);
    for (const char* bad : {"inf", "nan", "comma", "huge", "empty"}) {
        EXPECT_FALSE(CXmlNumbers::ReadOptionalDouble(unit, bad, d)) << bad;
        EXPECT_EQ(d, -1000.0) << bad;
    }
    EXPECT_TRUE(CXmlNumbers::QueryDoubleAttribute(unit, "inf", d)) << "a number, only not a finite one";
    i = 5;
    EXPECT_TRUE(CXmlNumbers::ReadOptionalInt(unit, "missing", i));
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(CXmlNumbers::ReadOptionalInt(unit, "n", i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(CXmlNumbers::ReadOptionalInt(unit, "big", i));
    EXPECT_FALSE(CXmlNumbers::ReadOptionalInt(unit, "empty", i));
    EXPECT_EQ(i, -7);

    // The atol reading of the attributes that are not stored data.
    EXPECT_EQ(CXmlNumbers::AttributeAtoL(unit, "junk"), 12);
    EXPECT_EQ(CXmlNumbers::AttributeAtoL(unit, "missing"), 0);
}

TEST_F(XmlNumbersTest, ValuesSurviveSaveAndLoad)
{
    const double values[] = {0.1, -2.0 / 3.0, 1e-300, 6.02214076e23, 0.0, -0.0, HUGE_VAL};
    TiXmlDocument doc;
    auto* root = new TiXmlElement("values");
    doc.LinkEndChild(root);
    for (size_t i = 0; i < std::size(values); ++i)
        CXmlNumbers::SetDoubleAttribute(*root, ("v" + std::to_string(i)).c_str(), values[i]);

    TiXmlDocument back;
    ASSERT_TRUE(CXmlFile::LoadText(back, CXmlFile::ToText(doc), "values.xml", nullptr));
    for (size_t i = 0; i < std::size(values); ++i) {
        double read = 42;
        ASSERT_TRUE(CXmlNumbers::QueryDoubleAttribute(*back.RootElement(), ("v" + std::to_string(i)).c_str(), read));
        EXPECT_EQ(read, values[i]);
        EXPECT_EQ(std::signbit(read), std::signbit(values[i]));
    }
}

}  // namespace
