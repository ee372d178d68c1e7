// The application configuration file: defaults, what a reader makes of odd settings, the file's
// form, round trips, that a file the program cannot load is never replaced, and that the
// configuration shipped beside the program is what the program writes for its defaults.
#include "CommonFiles/ApplicationConfiguration.h"
#include "CommonFiles/NormConditionManager.h"
#include "ConfigFixture.h"
#include "Platform/ProgramFolder.h"
#include "Platform/XmlFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kConditions = std::string(kFixtureUnits) +
                                "INSERT INTO NormFlowConditions VALUES"
                                " (1, 'zero', 1, 0, 7, 1, 1.01325),"
                                " (2, 'fifteen', 1, 15, 7, 1, 1.01325);";

// A file of the given settings elements and a valid norm condition.
std::string ConfigText(const std::string& settings)
{
    return "<tambel-settings>" + settings +
           "<default-norm-condition Id=\"2\" Name=\"fifteen\">"
           "<Temperature BaseValue=\"288.15\" Value=\"15\"><Unit Name=\"°C\" Type=\"3\" System=\"0\" DbIndex=\"1\""
           " ConversionFactor=\"1\" ConversionOffset=\"273.15\" ConversionFlags=\"0\"/></Temperature>"
           "<Pressure BaseValue=\"1.01325\" Value=\"1.01325\" Reference=\"1\"><Unit Name=\"bar\" Type=\"4\""
           " System=\"0\" DbIndex=\"7\" ConversionFactor=\"1\" ConversionOffset=\"0\" ConversionFlags=\"0\"/></Pressure>"
           "<Density BaseValue=\"0\" Value=\"0\"><Unit Name=\"\" Type=\"-1\" System=\"-1\" DbIndex=\"-1\""
           " ConversionFactor=\"1\" ConversionOffset=\"0\" ConversionFlags=\"0\"/></Density>"
           "</default-norm-condition></tambel-settings>";
}

void ExpectDefaults(const CApplicationConfiguration& config)
{
    EXPECT_EQ(config.language, "en");
    EXPECT_TRUE(config.autorecalcmeters);
    EXPECT_EQ(config.temperature, 1);
    EXPECT_EQ(config.pressure, 7);
    EXPECT_EQ(config.pressure_reference, 2);
    EXPECT_EQ(config.density, 21);
    EXPECT_EQ(config.viscosity, 97);
    EXPECT_EQ(config.flow, 38);
    EXPECT_EQ(config.flow_type, 1);
    EXPECT_EQ(config.flow_reference, 0);
    EXPECT_EQ(config.velocity, 92);
    EXPECT_EQ(config.minflowrangepercent, 100.0);
}

class ConfigurationFile : public ::testing::Test {
protected:
    std::string Path(const char* name = "Zephrin.cfg") const { return folder.Path() + name; }

    // Loads the text from the file; the configuration starts from settings that are no default.
    BOOL LoadText(const std::string& text)
    {
        folder.WriteFile("Zephrin.cfg", text);
        config.language = "xx";
        config.temperature = 555;
        config.minflowrangepercent = 5.0;
        return config.Load(Path());
    }

    TestFolder folder;
    CApplicationConfiguration config;
};

TEST_F(ConfigurationFile, MissingFileKeepsDefaultsAndFails)
{
    config.language = "de";
    config.velocity = 93;
    EXPECT_FALSE(config.Load(Path("none.cfg")));
    ExpectDefaults(config);
    // Without a norm-condition list the default is a custom condition.
    EXPECT_EQ(config.default_norm_condition.Id, -1);
}

TEST_F(ConfigurationFile, EmptyPathMeansTheFileBesideTheProgram)
{
    folder.BecomeProgramFolder();
    config.language = "de";
    ASSERT_TRUE(config.Save());
    EXPECT_TRUE(std::filesystem::exists(Path()));
    config.language = "en";
    config.Load();
    EXPECT_EQ(config.language, "de");
}

TEST_F(ConfigurationFile, SettingsAsRead)
{
    struct Case {
        const char* settings;
        const char* language;
        bool recalc;
        double percent;
    };
    const Case cases[] = {
        {R"(<global-settings language="de" autorecalcmeters="FALSE"/>)", "de", false, 100.0},
        {R"(<global-settings language="de" autorecalcmeters="false"/>)", "de", true, 100.0},
        {R"(<global-settings language="de" autorecalcmeters="False "/>)", "de", true, 100.0},
        {R"(<global-settings language="" autorecalcmeters=""/>)", "en", true, 100.0},
        {R"(<global-settings/>)", "en", true, 100.0},
        {R"(<filter-settings minflowrangepercent="55,5"/>)", "en", true, 55.5},
        {R"(<filter-settings minflowrangepercent="55.25"/>)", "en", true, 55.25},
        {R"(<filter-settings minflowrangepercent="0"/>)", "en", true, 0.0},
        {R"(<filter-settings minflowrangepercent="150"/>)", "en", true, 100.0},
        {R"(<filter-settings minflowrangepercent="-1"/>)", "en", true, 100.0},
        {R"(<filter-settings minflowrangepercent="nan"/>)", "en", true, 100.0},
        {R"(<filter-settings minflowrangepercent="80 %"/>)", "en", true, 80.0},
        {R"(<filter-settings/>)", "en", true, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(LoadText(ConfigText(c.settings))) << c.settings;
        EXPECT_EQ(config.language, c.language) << c.settings;
        EXPECT_EQ(config.autorecalcmeters, c.recalc) << c.settings;
        EXPECT_EQ(config.minflowrangepercent, c.percent) << c.settings;
        EXPECT_EQ(config.temperature, 1) << c.settings;
        EXPECT_EQ(config.default_norm_condition.Id, 2) << c.settings;
    }
}

TEST_F(ConfigurationFile, DefaultUnitsTakeOnlyWholeNumbers)
{
    ASSERT_TRUE(LoadText(ConfigText(R"(<default-units temperature="3" pressure="abc" pressure_reference="1")"
                                    R"( density="22x" viscosity=" 96 " flow="" flow_type="2" flow_reference="4")"
                                    R"( velocity="99999999999"/>)")));
    EXPECT_EQ(config.temperature, 3);
    EXPECT_EQ(config.pressure, 7);
    EXPECT_EQ(config.pressure_reference, 1);
    EXPECT_EQ(config.density, 21);
    EXPECT_EQ(config.viscosity, 96);
    EXPECT_EQ(config.flow, 38);
    EXPECT_EQ(config.flow_type, 2);
    EXPECT_EQ(config.flow_reference, 4);
    EXPECT_EQ(config.velocity, 92);
}

TEST_F(ConfigurationFile, WithoutNormConditionTheRestIsReadButTheLoadFails)
{
    EXPECT_FALSE(LoadText(R"(<tambel-settings><global-settings language="de" autorecalcmeters="FALSE"/>)"
                          R"(<default-units flow="50"/><filter-settings minflowrangepercent="60"/></tambel-settings>)"));
    EXPECT_EQ(config.language, "de");
    EXPECT_FALSE(config.autorecalcmeters);
    EXPECT_EQ(config.flow, 50);
    EXPECT_EQ(config.minflowrangepercent, 60.0);
    EXPECT_EQ(config.default_norm_condition.Id, -1);
}

TEST_F(ConfigurationFile, ValueThatIsNoNumberIsRefusedAndTheFileKept)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    const std::string valid = "BaseValue=\"288.15\" Value=\"15\"";
    for (const char* spoilt : {"BaseValue=\"288.15\" Value=\"nan\"", "BaseValue=\"inf\" Value=\"15\""}) {
        std::string text = ConfigText(R"(<global-settings language="de"/>)");
        const std::size_t value = text.find(valid);
        ASSERT_NE(value, std::string::npos);
        text.replace(value, valid.size(), spoilt);
        EXPECT_FALSE(LoadText(text)) << spoilt;
        ExpectDefaults(config);
        EXPECT_EQ(config.default_norm_condition.Id, 1) << "the list's default condition";
        EXPECT_TRUE(std::isfinite(config.default_norm_condition.Temperature.Value));
        EXPECT_FALSE(config.Save(Path())) << spoilt;
        EXPECT_EQ(ReadWholeFile(Path()), text) << spoilt;
    }
}

TEST_F(ConfigurationFile, DefaultUnitsThatNameNoUnitFallBack)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    // The fixture's units: 1 degC, 3 degF, 7 bar, 10 psi, 21 kg/m3, 38 m3/h, 50 Nm3/h, 92 m/s, 97 mPa s.
    ASSERT_TRUE(LoadText(ConfigText(R"(<default-units temperature="3" pressure="9999" density="-4")"
                                    R"( viscosity="97" flow="50" velocity="0" pressure_reference="1"/>)")));
    EXPECT_EQ(config.temperature, 3);
    EXPECT_EQ(config.pressure, 7);
    EXPECT_EQ(config.density, 21);
    EXPECT_EQ(config.viscosity, 97);
    EXPECT_EQ(config.flow, 50);
    EXPECT_EQ(config.velocity, 92);
    EXPECT_EQ(config.pressure_reference, 1) << "a code, not a unit";
}

TEST_F(ConfigurationFile, SavedFileHasItsFixedForm)
{
    config.minflowrangepercent = 55.5;
    config.autorecalcmeters = false;
    ASSERT_TRUE(config.Save(Path()));
    const std::string text = ReadWholeFile(Path());
    EXPECT_EQ(text.find("<?xml"), std::string::npos);

    TiXmlDocument doc;
    ASSERT_TRUE(CXmlFile::Load(doc, Path(), nullptr));
    const TiXmlElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->Value(), "tambel-settings");
    std::vector<std::string> children;
    for (const TiXmlElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement())
        children.push_back(child->Value());
    EXPECT_EQ(children, (std::vector<std::string>{"global-settings", "default-units", "filter-settings",
                                                  "default-norm-condition"}));
    EXPECT_STREQ(root->FirstChildElement("global-settings")->Attribute("autorecalcmeters"), "FALSE");
    EXPECT_STREQ(root->FirstChildElement("filter-settings")->Attribute("minflowrangepercent"), "55.500000");
    std::vector<std::string> units;
    for (const TiXmlAttribute* a = root->FirstChildElement("default-units")->FirstAttribute(); a; a = a->Next())
        units.push_back(a->Name());
    EXPECT_EQ(units, (std::vector<std::string>{"temperature", "pressure", "pressure_reference", "density",
                                               "viscosity", "flow_type", "flow_reference", "flow", "velocity"}));
}

TEST_F(ConfigurationFile, RoundTripUnderAGermanDesktop)
{
    CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsSet());
    // Default units are read back only when they name units of the list.
    LoadedDatabase db(kConditions + "INSERT INTO Units VALUES (22, 'g/cm3', 5, 0, 0, 1, 0, 2),"
                                    " (93, 'ft/s', 7, 0, 0, 0.3048, 0, 2), (96, 'cP', 6, 0, 0, 1, 0, 2);");
    ASSERT_TRUE(db.Loaded());
    CApplicationConfiguration written;
    EXPECT_EQ(written.default_norm_condition.Id, 1);
    written.language = "de";
    written.autorecalcmeters = false;
    written.temperature = 3;
    written.pressure = 10;
    written.pressure_reference = 1;
    written.density = 22;
    written.viscosity = 96;
    written.flow = 50;
    written.flow_type = 2;
    written.flow_reference = 4;
    written.velocity = 93;
    written.minflowrangepercent = 12.3456789;
    CNormConditionManager::GetInstance()->GetCondition(2, written.default_norm_condition);
    written.default_norm_condition.Density.Value = 1.2;
    ASSERT_TRUE(written.Save(Path()));

    ASSERT_TRUE(config.Load(Path()));
    EXPECT_EQ(config.language, "de");
    EXPECT_FALSE(config.autorecalcmeters);
    EXPECT_EQ(config.temperature, 3);
    EXPECT_EQ(config.pressure, 10);
    EXPECT_EQ(config.pressure_reference, 1);
    EXPECT_EQ(config.density, 22);
    EXPECT_EQ(config.viscosity, 96);
    EXPECT_EQ(config.flow, 50);
    EXPECT_EQ(config.flow_type, 2);
    EXPECT_EQ(config.flow_reference, 4);
    EXPECT_EQ(config.velocity, 93);
    // Six decimals, as the file keeps them.
    EXPECT_EQ(config.minflowrangepercent, 12.345679);
    EXPECT_EQ(config.default_norm_condition.Id, 2);
    EXPECT_EQ(config.default_norm_condition.Name, "fifteen");
    EXPECT_EQ(config.default_norm_condition.Temperature.BaseValue, 288.15);
    EXPECT_EQ(config.default_norm_condition.Pressure.Reference, 1);
    EXPECT_EQ(config.default_norm_condition.Density.Value, 1.2);
}

TEST_F(ConfigurationFile, DefaultsTakeNormConditionOneFromTheList)
{
    LoadedDatabase db(kConditions);
    ASSERT_TRUE(db.Loaded());
    config.default_norm_condition.Id = 7;
    EXPECT_TRUE(config.Reset());
    EXPECT_EQ(config.default_norm_condition.Id, 1);
    EXPECT_EQ(config.default_norm_condition.Name, "zero");
    EXPECT_FALSE(config.Load(Path("none.cfg")));
    EXPECT_EQ(config.default_norm_condition.Id, 1);
}

class UnloadableConfigurationFile : public ConfigurationFile,
                                    public ::testing::WithParamInterface<const char*> {};

// Broken XML, and well-formed XML of another kind (the user's file put in the wrong place).
INSTANTIATE_TEST_SUITE_P(Texts, UnloadableConfigurationFile,
                         ::testing::Values(R"(<tambel-settings><global-settings language="de")",
                                           R"(<report><global-settings language="de"/></report>)"));

TEST_P(UnloadableConfigurationFile, IsNeverReplaced)
{
    const std::string broken = GetParam();
    folder.WriteFile("Zephrin.cfg", broken);
    EXPECT_FALSE(config.Load(Path()));
    ExpectDefaults(config);
    config.language = "fr";
    EXPECT_FALSE(config.Save(Path()));
    EXPECT_EQ(ReadWholeFile(Path()), broken);
    // The same file under another spelling of its path.
    EXPECT_FALSE(config.Save(folder.Path() + "./Zephrin.cfg"));
    EXPECT_EQ(ReadWholeFile(Path()), broken);
    // Other files are written as usual.
    EXPECT_TRUE(config.Save(Path("other.cfg")));

    // Once the user has removed the broken file, a fresh one is written.
    std::filesystem::remove(Path());
    EXPECT_TRUE(config.Save(Path()));
    ASSERT_TRUE(config.Load(Path()));
    EXPECT_EQ(config.language, "fr");
}

TEST_F(ConfigurationFile, FileRepairedAndLoadedIsSavedAgain)
{
    folder.WriteFile("Zephrin.cfg", "not xml at all");
    EXPECT_FALSE(config.Load(Path()));
    folder.WriteFile("Zephrin.cfg", ConfigText(R"(<global-settings language="de"/>)"));
    EXPECT_TRUE(config.Load(Path()));
    config.velocity = 93;
    EXPECT_TRUE(config.Save(Path()));
    config.velocity = 92;
    EXPECT_TRUE(config.Load(Path()));
    EXPECT_EQ(config.velocity, 93);
    EXPECT_EQ(config.language, "de");
}

TEST_F(ConfigurationFile, UnwritablePlaceFails)
{
    EXPECT_FALSE(config.Save(folder.Path() + "no-such-folder/Zephrin.cfg"));
}

// The file shipped in the program folder is exactly what the program writes for its defaults
// over the shipped database, so its first start reads it and needs no notice.
TEST(ShippedConfiguration, IsTheDefaultConfiguration)
{
    LoadedDatabase db;
    ASSERT_TRUE(db.Loaded());
    TestFolder folder;
    CApplicationConfiguration config;
    ASSERT_TRUE(config.Reset());
    ASSERT_TRUE(config.Save(folder.Path() + "Zephrin.cfg"));
    const std::string expected = ReadWholeFile(folder.Path() + "Zephrin.cfg");
    EXPECT_EQ(ReadWholeFile(ZEPHRIN_DEFAULT_CONFIG), expected)
        << "data/config/Zephrin.cfg should read:\n" << expected;

    const std::string shipped = db.Folder() + "Zephrin.cfg";
    ASSERT_TRUE(std::filesystem::exists(shipped));
    CApplicationConfiguration loaded;
    loaded.language = "de";
    EXPECT_TRUE(loaded.Load(ZEPHRIN_DEFAULT_CONFIG));
    ExpectDefaults(loaded);
    EXPECT_EQ(loaded.default_norm_condition.Id, 1);
}

}  // namespace
