// The device configuration and the customer record: their XML parts of the project file and
// the customer's production-database columns.
#include "CommonFiles/CustomerData.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "SizingFixture.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <map>

namespace {

std::map<int, int> Entries(const CDeviceConfiguration& configuration)
{
    return std::map<int, int>(configuration.begin(), configuration.end());
}

TEST(DeviceConfigurationTest, SetReplacesAndLookupGivesZeroForAFreeFeature)
{
    CDeviceConfiguration configuration;
    configuration.SetAt(1, 104);
    configuration.SetAt(3, 301);
    configuration.SetAt(1, 105);
    int item = -1;
    EXPECT_TRUE(configuration.Lookup(1, item));
    EXPECT_EQ(item, 105);
    EXPECT_FALSE(configuration.Lookup(2, item));
    EXPECT_EQ(item, 0);
    EXPECT_EQ(configuration.GetCount(), 2);
    EXPECT_EQ(Entries(configuration), (std::map<int, int>{{1, 105}, {3, 301}}));
}

TEST(DeviceConfigurationTest, XmlRoundTrip)
{
    CDeviceConfiguration written;
    written.SetAt(1, 104);
    written.SetAt(2, 201);
    written.SetAt(7, 702);
    TiXmlElement element("DeviceConfiguration");
    ASSERT_TRUE(written.WriteXml(&element));
    TiXmlDocument doc;
    CDeviceConfiguration read;
    read.SetAt(5, 501);
    ASSERT_TRUE(read.ReadXml(Reparse(element, doc)));
    EXPECT_EQ(Entries(read), Entries(written));
}

TEST(DeviceConfigurationTest, ReadSkipsFeaturesWithoutIdOrItemAndLaterOnesWin)
{
    TiXmlDocument doc;
    doc.Parse("<DeviceConfiguration><Features>"
              "<Feature Id='1' Value='104'/><Feature Id='2' Value='0'/><Feature Value='301'/>"
              "<Feature Id='-3' Value='5'/><Feature Id='1' Value='105'/><Feature Id='6'/>"
              "</Features></DeviceConfiguration>");
    CDeviceConfiguration read;
    ASSERT_TRUE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(Entries(read), (std::map<int, int>{{1, 105}}));
}

TEST(DeviceConfigurationTest, ReadWithoutFeaturesFailsAndLeavesTheMapEmpty)
{
    TiXmlDocument doc;
    doc.Parse("<DeviceConfiguration><Feature Id='1' Value='104'/></DeviceConfiguration>");
    CDeviceConfiguration read;
    read.SetAt(1, 104);
    EXPECT_FALSE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.GetCount(), 0);
    EXPECT_FALSE(read.ReadXml(nullptr));
    EXPECT_FALSE(read.WriteXml(nullptr));
}

TEST(DeviceConfigurationTest, VNumberIsThePrefixOnlyWithASelection)
{
    CDeviceConfiguration configuration;
    std::string vNumber = "old";
    configuration.GetVNumber(vNumber);
    EXPECT_EQ(vNumber, "");
    configuration.SetAt(3, 301);
    configuration.GetVNumber(vNumber);
    EXPECT_EQ(vNumber, "Q7XK");
}

CCustomerData Customer()
{
    CCustomerData customer;
    customer.customer = "O'Neil & Söhne <GmbH>";
    customer.tag_no = "FT-101";
    customer.reference = "Order 4711";
    customer.pa = 4711;
    customer.vk = 12;
    customer.pos = 3;
    return customer;
}

void ExpectSameCustomer(const CCustomerData& read, const CCustomerData& written)
{
    EXPECT_EQ(read.customer, written.customer);
    EXPECT_EQ(read.tag_no, written.tag_no);
    EXPECT_EQ(read.reference, written.reference);
    EXPECT_EQ(read.pa, written.pa);
    EXPECT_EQ(read.vk, written.vk);
    EXPECT_EQ(read.pos, written.pos);
}

TEST(CustomerDataTest, XmlRoundTripKeepsTextsAndKey)
{
    const CCustomerData written = Customer();
    TiXmlElement element("CustomerData");
    ASSERT_TRUE(written.WriteXml(&element));
    TiXmlDocument doc;
    CCustomerData read;
    ASSERT_TRUE(read.ReadXml(Reparse(element, doc)));
    ExpectSameCustomer(read, written);
}

TEST(CustomerDataTest, EmptyCustomerAndMissingIdReadAsEmptyAndZero)
{
    TiXmlDocument doc;
    doc.Parse("<CustomerData><customer></customer><tag_no>T1</tag_no><reference/></CustomerData>");
    CCustomerData read = Customer();
    ASSERT_TRUE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.customer, "");
    EXPECT_EQ(read.tag_no, "T1");
    EXPECT_EQ(read.reference, "");
    EXPECT_EQ(read.pa, 0);
    EXPECT_EQ(read.pos, 0);
}

TEST(CustomerDataTest, MissingTextFailsKeepingWhatWasReadBefore)
{
    TiXmlDocument doc;
    doc.Parse("<CustomerData><customer>ACME</customer><reference>R</reference></CustomerData>");
    CCustomerData read = Customer();
    EXPECT_FALSE(read.ReadXml(doc.RootElement()));
    EXPECT_EQ(read.customer, "ACME");
    EXPECT_EQ(read.reference, "");
    EXPECT_EQ(read.pa, 0);
    EXPECT_FALSE(read.ReadXml(nullptr));
}

TEST(CustomerDataTest, DbFieldsHoldTheRawTextsAndQuoteAsLiterals)
{
    CDbColumnMap fields{{"stale", "x"}};
    ASSERT_TRUE(Customer().SaveToDbFields(fields));
    EXPECT_EQ(fields, (CDbColumnMap{{"customer", "O'Neil & Söhne <GmbH>"}, {"tag_no", "FT-101"},
                                    {"reference", "Order 4711"}}));
    CCustomerData::QuoteDbFields(fields);
    EXPECT_EQ(fields["customer"], "'O''Neil & Söhne <GmbH>'");
    EXPECT_EQ(fields["tag_no"], "'FT-101'");
}

TEST(CustomerDataTest, LoadFromDbFieldsTakesWhatIsThere)
{
    CCustomerData read = Customer();
    ASSERT_TRUE(read.LoadFromDbFields({{"pa", "815"}, {"pos", "7"}, {"customer", "O'Neil"}, {"other", "x"}}));
    EXPECT_EQ(read.pa, 815);
    EXPECT_EQ(read.vk, 0);
    EXPECT_EQ(read.pos, 7);
    EXPECT_EQ(read.customer, "O'Neil");
    EXPECT_EQ(read.tag_no, "");
}

}  // namespace
