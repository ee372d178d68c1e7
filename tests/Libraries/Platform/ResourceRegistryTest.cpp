#include "Platform/ResourceRegistry.h"

#include "PlatformTestSupport.h"

#include <clocale>

namespace {

// The test program carries the files of tests/data/Platform as resources (see CMakeLists.txt).
TEST(ResourceRegistryTest, FindsCompiledResourcesByIdAndByName)
{
    const struct {
        const char* type;
        int id;
        const char* name;
        const char* file;
    } cases[] = {
        {"RCDATA", 103, nullptr, "Translation.xml"},
        {"rcdata", 103, nullptr, "Translation.xml"},
        {"RCDATA", 0, "#103", "Translation.xml"},
        {"BITMAP", 103, nullptr, "Logo.bmp"},
        {"RCDATA", 0, "Logo", "Logo.bmp"},
        {"RCDATA", 0, "LOGO", "Logo.bmp"},
        {"RCDATA", 7, nullptr, "AllBytes.bin"},
        {"RCDATA", 0, "Empty", "Empty.txt"},
    };
    for (const auto& c : cases) {
        std::string_view bytes;
        const bool found = c.name ? CResourceRegistry::Find(c.type, c.name, bytes)
                                  : CResourceRegistry::Find(c.type, c.id, bytes);
        const std::string label = std::string(c.type) + " " + (c.name ? c.name : std::to_string(c.id));
        ASSERT_TRUE(found) << label;
        EXPECT_EQ(std::string(bytes), ReadWholeFile(TestDataFile(c.file))) << label;
        EXPECT_EQ(bytes.data()[bytes.size()], '\0') << label;
    }
}

TEST(ResourceRegistryTest, TypesAndNamesIgnoreCaseUnderAnyLocale)
{
    // Under a Turkish locale toupper('i') stays 'i'; the ASCII rule still holds.
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr) << "(scripts/install-deps.sh generates it)";
    std::string_view bytes;
    const bool byId = CResourceRegistry::Find("bitmap", 103, bytes);
    const bool byName = CResourceRegistry::Find("rcdata", "logo", bytes);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(byId);
    EXPECT_TRUE(byName);
}

TEST(ResourceRegistryTest, MissingResourceLeavesBytesAlone)
{
    const std::string_view before("unchanged");
    const struct {
        const char* type;
        int id;
        const char* name;
    } cases[] = {
        {"RCDATA", 104, nullptr}, {"ICON", 103, nullptr}, {"BITMAP", 0, "Logo"},
        {"RCDATA", 0, "Logo2"},   {"RCDATA", 0, "#"},     {"RCDATA", 0, ""},
        {"RCDATA", 0, "#10x"},
    };
    for (const auto& c : cases) {
        std::string_view bytes = before;
        const bool found = c.name ? CResourceRegistry::Find(c.type, c.name, bytes)
                                  : CResourceRegistry::Find(c.type, c.id, bytes);
        EXPECT_FALSE(found) << c.type << ' ' << (c.name ? c.name : std::to_string(c.id));
        EXPECT_EQ(bytes.data(), before.data());
    }
}

TEST(ResourceRegistryTest, NamesThatStandForIds)
{
    const struct {
        const char* name;
        int id;  // -1: a real name
    } cases[] = {
        {"#103", 103}, {"#0", 0},     {"#65535", 65535}, {"#00007", 7}, {"#65536", -1},
        {"#000007", -1}, {"#", -1},   {"#1a", -1},       {"# 1", -1},   {"103", -1},
        {"#-1", -1},   {"", -1},
    };
    for (const auto& c : cases) {
        int id = -1;
        EXPECT_EQ(CResourceRegistry::IdFromName(c.name, id), c.id >= 0) << c.name;
        EXPECT_EQ(id, c.id) << c.name;
    }
}

TEST(ResourceRegistryTest, RegisterAtRunTime)
{
    static const unsigned char first[] = "first";
    static const unsigned char second[] = "second";
    CResourceRegistry::Register("TestType", 5, nullptr, first, 5);
    CResourceRegistry::Register("TestType", 0, "Named", first, 5);
    CResourceRegistry::Register("TESTTYPE", 0, "#5", second, 6);  // same key as id 5: replaces

    std::string_view bytes;
    ASSERT_TRUE(CResourceRegistry::Find("testtype", 5, bytes));
    EXPECT_EQ(bytes, "second");
    ASSERT_TRUE(CResourceRegistry::Find("TestType", "named", bytes));
    EXPECT_EQ(bytes, "first");
}

}  // namespace
