#include "Harbinax/ResourceBundle.h"
#include "Harbinax/SatelliteResources.h"
#include "HarbinaxTestSupport.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Found(const CSatelliteResources& resources, const std::string& type, int id)
{
    std::string_view bytes;
    return resources.Find(type, id, bytes) ? std::string(bytes) : std::string("<none>");
}

TEST(ResourceBundle, ReadsBackWhatWasWrittenByIdOrNameInAnyCase)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("Zephrin_de.res");
    const std::string binary("\0\n\r\xFF" "END\n", 8);
    std::string error;
    ASSERT_TRUE(CResourceBundle::Write(path,
                                       {{"STRING", "#101", "Fehler"},
                                        {"bitmap", "#0139", binary},
                                        {"RCDATA", "Logo", ""}},
                                       error))
        << error;

    CResourceBundle bundle;
    ASSERT_TRUE(bundle.Load(path, error)) << error;
    std::string_view bytes;
    ASSERT_TRUE(bundle.Find("string", 101, bytes));
    EXPECT_EQ("Fehler", bytes);
    EXPECT_EQ('\0', bytes.data()[bytes.size()]);
    ASSERT_TRUE(bundle.Find("BITMAP", "#139", bytes));
    EXPECT_EQ(binary, bytes);
    ASSERT_TRUE(bundle.Find("rcdata", "LOGO", bytes));
    EXPECT_EQ("", bytes);
    EXPECT_FALSE(bundle.Find("STRING", 102, bytes));
    EXPECT_FALSE(bundle.Find("STRING", -1, bytes));
}

// Under a Turkish locale the C library's toupper('i') stays 'i'; types and names still match.
TEST(ResourceBundle, TypesAndNamesIgnoreCaseUnderAnyLocale)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("Zephrin_tr.res");
    std::string error;
    ASSERT_TRUE(CResourceBundle::Write(path, {{"bitmap", "#139", "image"}, {"rcdata", "title", "text"}}, error))
        << error;
    CLocaleScope turkish("tr_TR.UTF-8");
    ASSERT_TRUE(turkish.IsSet());
    CResourceBundle bundle;
    ASSERT_TRUE(bundle.Load(path, error)) << error;
    std::string_view bytes;
    EXPECT_TRUE(bundle.Find("BITMAP", 139, bytes));
    EXPECT_TRUE(bundle.Find("RCDATA", "TITLE", bytes));
    EXPECT_TRUE(bundle.Find("Rcdata", "Title", bytes));
}

TEST(ResourceBundle, RefusesMalformedFilesWhole)
{
    CTemporaryFolder folder;
    const std::string header = "ZEPHRIN-RESOURCE-BUNDLE 1\n";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"other header", "ZEPHRIN-RESOURCE-BUNDLE 2\nEND\n"},
        {"no end", header + "STRING #1 2\nab\n"},
        {"count beyond the file", header + "STRING #1 200\nab\nEND\n"},
        {"count too small", header + "STRING #1 1\nab\nEND\n"},
        {"count not a number", header + "STRING #1 -2\nab\nEND\n"},
        {"missing count", header + "STRING #1\nEND\n"},
        {"extra field", header + "STRING #1 2 x\nab\nEND\n"},
        {"id out of range", header + "STRING #70000 2\nab\nEND\n"},
        {"bad numeric key", header + "STRING #1a 2\nab\nEND\n"},
        {"trailing garbage", header + "STRING #1 2\nab\nEND\nmore"},
    };
    for (const auto& c : cases) {
        const std::string path = folder.Path("bad.res");
        WriteWholeFile(path, c.bytes);
        CResourceBundle bundle;
        std::string error;
        EXPECT_FALSE(bundle.Load(path, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        std::string_view bytes;
        EXPECT_FALSE(bundle.Find("STRING", 1, bytes)) << c.what;
    }
    CResourceBundle bundle;
    std::string error;
    EXPECT_FALSE(bundle.Load(folder.Path("missing.res"), error));
    EXPECT_FALSE(bundle.Load(folder.Path(""), error)) << "a folder";
}

TEST(ResourceBundle, WriteRefusesKeysTheFileFormCannotHold)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("x.res");
    std::string error;
    EXPECT_FALSE(CResourceBundle::Write(path, {{"STRING", "two words", "x"}}, error));
    EXPECT_FALSE(CResourceBundle::Write(path, {{"", "#1", "x"}}, error));
    EXPECT_FALSE(CResourceBundle::Write(path, {{"STRING", "#x", "x"}}, error));
    EXPECT_FALSE(std::filesystem::exists(path));
}

class SatelliteSelection : public ::testing::Test {
protected:
    std::string FileName(const std::string& code) const
    {
        return CSatelliteResources::FileName(m_folder.Path(""), "Zephrin", code);
    }
    int Select(const std::string& code, int depth)
    {
        return m_resources.Select(FileName(code), code, "en", SFileVersion{{1, 2, 3, 4}}, depth, m_error);
    }

    CTemporaryFolder m_folder;
    CSatelliteResources m_resources;
    std::string m_error;
};

TEST_F(SatelliteSelection, NamedAfterFolderProgramAndCode)
{
    EXPECT_EQ(m_folder.Path("Zephrin_de.res"), FileName("de"));
}

TEST_F(SatelliteSelection, BaseLanguageLoadsNothing)
{
    WriteSatellite(FileName("en"), VersionRecord(1, 2, 3, 4), {{"STRING", "#1", "satellite"}});
    EXPECT_EQ(CSatelliteResources::SATELLITE_OK, Select("en", 4));
    EXPECT_FALSE(m_resources.IsActive());
}

TEST_F(SatelliteSelection, MissingOrUnreadableBundleGivesTwo)
{
    EXPECT_EQ(CSatelliteResources::SATELLITE_NOT_LOADED, Select("de", 4));
    EXPECT_FALSE(m_resources.IsActive());
    EXPECT_FALSE(m_error.empty());
    WriteWholeFile(FileName("fr"), "not a bundle" + VersionRecord(1, 2, 3, 4));
    EXPECT_EQ(CSatelliteResources::SATELLITE_NOT_LOADED, Select("fr", 4));
    EXPECT_FALSE(m_resources.IsActive());
}

TEST_F(SatelliteSelection, VersionMustMatchInTheCompareDepth)
{
    WriteSatellite(FileName("de"), VersionRecord(1, 2, 3, 5), {{"STRING", "#1", "satellite"}});
    EXPECT_EQ(CSatelliteResources::SATELLITE_WRONG_VERSION, Select("de", 4));
    EXPECT_FALSE(m_resources.IsActive());
    EXPECT_NE(std::string::npos, m_error.find("1.2.3.5")) << m_error;

    EXPECT_EQ(CSatelliteResources::SATELLITE_OK, Select("de", 3));
    EXPECT_TRUE(m_resources.IsActive());
    EXPECT_EQ("satellite", Found(m_resources, "STRING", 1));

    WriteSatellite(FileName("fr"), VersionRecord(1, 3, 3, 4), {});
    EXPECT_EQ(CSatelliteResources::SATELLITE_WRONG_VERSION, Select("fr", 3));
    EXPECT_FALSE(m_resources.IsActive()) << "the German bundle is released before";
    EXPECT_EQ(CSatelliteResources::SATELLITE_OK, Select("fr", 1));

    WriteSatellite(FileName("it"), std::string(), {{"STRING", "#1", "no record"}});
    EXPECT_EQ(CSatelliteResources::SATELLITE_WRONG_VERSION, Select("it", 4)) << "0.0.0.0";
}

TEST_F(SatelliteSelection, SatelliteComesFirstThenTheProgramsOwnResources)
{
    // The program's own resources of this test program (see CMakeLists.txt).
    EXPECT_EQ("own 1", Found(m_resources, "STRING", 1));
    EXPECT_EQ("own 2", Found(m_resources, "STRING", 2));

    WriteSatellite(FileName("de"), VersionRecord(1, 2, 3, 4), {{"STRING", "#1", "eigene 1"}});
    ASSERT_EQ(CSatelliteResources::SATELLITE_OK, Select("de", 4));
    EXPECT_EQ("eigene 1", Found(m_resources, "STRING", 1));
    EXPECT_EQ("own 2", Found(m_resources, "STRING", 2));
    EXPECT_EQ("<none>", Found(m_resources, "STRING", 3));

    m_resources.Release();
    EXPECT_EQ("own 1", Found(m_resources, "STRING", 1));
}

}  // namespace
