#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// A client whose last update run delivered a new settings file.
class CRunClient : public CRenovix {
public:
    void SettingsWereReplaced() { MarkSettingsReplaced(); }
};

CRenovixSettings Sample()
{
    CRenovixSettings settings;
    CRenovixSettings::SetDefaults(settings);
    settings.protocol = RENOVIX_PROTOCOL_FTP;
    settings.baseDir = "ftp://Updates.example.org:2121/Zephrin/";
    settings.userName = "tester";
    settings.password = "Pass word-1@";
    CRenovixSettings::ParseTime("2026-04-15 06:30:00", settings.nextRun);
    settings.schedule = "DAILY|06:30";
    settings.packages = "pro,demo";
    settings.extraParams = "get.php?file=%s";
    CRenovixSettings::ParseTime("2026-05-01 08:00:00", settings.nextNotify);
    settings.notifyEnabled = true;
    return settings;
}

void ExpectSame(const CRenovixSettings& a, const CRenovixSettings& b)
{
    for (int f = CRenovixSettings::BaseDir; f <= CRenovixSettings::NotifyEnabled; ++f) {
        const auto field = static_cast<CRenovixSettings::Field>(f);
        EXPECT_EQ(a.GetText(field), b.GetText(field)) << "field " << f;
    }
    EXPECT_EQ(a.password, b.password);
}

TEST(RenovixSettingsTest, DefaultsOfARecord)
{
    CRenovixSettings settings = Sample();
    CRenovixSettings::SetDefaults(settings);
    EXPECT_EQ(settings.protocol, RENOVIX_PROTOCOL_NONE);
    EXPECT_EQ(settings.schedule, "MANUALLY");
    EXPECT_EQ(CRenovixSettings::FormatTime(settings.nextRun), "2100-12-31 00:00:00");
    EXPECT_EQ(CRenovixSettings::FormatTime(settings.nextNotify), "1900-01-01 00:00:00");
    EXPECT_EQ(settings.baseDir, "");
    EXPECT_EQ(settings.password, "");
    EXPECT_FALSE(settings.notifyEnabled);
}

TEST(RenovixSettingsTest, FileKeepsEveryFieldWithThePasswordScrambled)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("Renovix.xml");
    CRenovix client;
    ASSERT_TRUE(client.SaveSettingsToFile(Sample(), path, false));
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(text.find("<?xml"), std::string::npos);
    EXPECT_NE(text.find("<settings basedir=\"ftp://Updates.example.org:2121/Zephrin/\" schedule=\"DAILY|06:30\" "
                        "protocol=\"FTP\" nextrenovix=\"2026-04-15 06:30:00\" packages=\"pro,demo\" "
                        "username=\"tester\" password=\"Fg2yOk @Zcl-\" extraparams=\"get.php?file=%s\" "
                        "nextupdatenotify=\"2026-05-01 08:00:00\" enableupdatenotify=\"TRUE\" />"),
              std::string::npos)
        << text;
    ExpectSame(client.LoadSettingsFromFile(path), Sample());
}

TEST(RenovixSettingsTest, StoredTextsReadByTheirRules)
{
    const struct {
        CRenovixSettings::Field field;
        const char* stored;
        const char* read;
    } cases[] = {
        {CRenovixSettings::Protocol, "HTTP", "HTTP"},
        {CRenovixSettings::Protocol, "FILE", "FILE"},
        {CRenovixSettings::Protocol, "ftp", "NONE"},
        {CRenovixSettings::NextRun, "2026-4-5 6:30:00", "2100-12-31 00:00:00"},
        {CRenovixSettings::NextRun, "2026-04-05 06:30:07", "2026-04-05 06:30:07"},
        {CRenovixSettings::Packages, " * ", "all"},
        {CRenovixSettings::Packages, "", "all"},
        {CRenovixSettings::Packages, "Pro,Demo ", "pro,demo"},
        {CRenovixSettings::Packages, " Pro", "pro"},
        {CRenovixSettings::UserName, "", "anonymous"},
        {CRenovixSettings::NotifyEnabled, "True", "TRUE"},
        {CRenovixSettings::NotifyEnabled, "yes", "FALSE"},
        {CRenovixSettings::BaseDir, "HTTP://Server/Updates/", "HTTP://Server/Updates/"},
        {CRenovixSettings::Schedule, "", ""},
    };
    for (const auto& c : cases) {
        CRenovixSettings settings;
        CRenovixSettings::SetDefaults(settings);
        settings.SetText(c.field, c.stored);
        EXPECT_EQ(settings.GetText(c.field), c.read) << c.stored;
    }
}

TEST(RenovixSettingsTest, EmptyPasswordBecomesAnAnonymousAddress)
{
    CRenovixSettings settings;
    settings.SetText(CRenovixSettings::Password, "");
    EXPECT_EQ(settings.password.size(), 18u);
    EXPECT_NE(settings.password.find('@'), std::string::npos);
    settings.SetText(CRenovixSettings::Password, "YuImOk");
    EXPECT_EQ(settings.password, "secret");
}

TEST(RenovixSettingsTest, MissingAttributesReadAsEmptyTexts)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("Renovix.xml");
    WriteWholeFile(path, "<renovix><settings protocol=\"HTTP\" basedir=\"http://h/\"/><settings protocol=\"FTP\"/></renovix>");
    CRenovix client;
    const CRenovixSettings settings = client.LoadSettingsFromFile(path);
    EXPECT_EQ(settings.protocol, RENOVIX_PROTOCOL_HTTP);
    EXPECT_EQ(settings.baseDir, "http://h/");
    EXPECT_EQ(settings.schedule, "");
    EXPECT_EQ(settings.packages, "all");
    EXPECT_EQ(settings.userName, "anonymous");
    EXPECT_EQ(CRenovixSettings::FormatTime(settings.nextRun), "2100-12-31 00:00:00");
}

TEST(RenovixSettingsTest, UnreadableFilesGiveTheDefaults)
{
    CTemporaryFolder folder;
    const struct {
        const char* name;
        const char* text;  // null: no file
    } cases[] = {
        {"missing.xml", nullptr},
        {"broken.xml", "<renovix><settings protocol=\"HTTP\""},
        {"other.xml", "<config><settings protocol=\"HTTP\"/></config>"},
        {"empty.xml", "<renovix><other protocol=\"HTTP\"/></renovix>"},
    };
    CRenovix client;
    for (const auto& c : cases) {
        if (c.text)
            WriteWholeFile(folder.Path(c.name), c.text);
        const CRenovixSettings settings = client.LoadSettingsFromFile(folder.Path(c.name));
        EXPECT_EQ(settings.protocol, RENOVIX_PROTOCOL_NONE) << c.name;
        EXPECT_EQ(settings.schedule, "MANUALLY") << c.name;
    }
}

TEST(RenovixSettingsTest, SettingsDeliveredByARunAreSavedOnlyWithForce)
{
    CTemporaryFolder folder;
    const std::string path = folder.Path("Renovix.xml");
    const std::string delivered = "<renovix><settings protocol=\"HTTP\"/></renovix>";
    WriteWholeFile(path, delivered);
    CRunClient client;
    client.SettingsWereReplaced();
    EXPECT_TRUE(client.SaveSettingsToFile(Sample(), path, false));
    EXPECT_EQ(ReadWholeFile(path), delivered);
    EXPECT_TRUE(client.SaveSettingsToFile(Sample(), path, true));
    ExpectSame(client.LoadSettingsFromFile(path), Sample());

    // Reading the file clears the mark.
    client.SettingsWereReplaced();
    client.LoadSettingsFromFile(path);
    CRenovixSettings changed = Sample();
    changed.schedule = "MANUALLY";
    EXPECT_TRUE(client.SaveSettingsToFile(changed, path, false));
    EXPECT_EQ(client.LoadSettingsFromFile(path).schedule, "MANUALLY");
}

TEST(RenovixSettingsTest, SaveIntoAMissingFolderFails)
{
    CTemporaryFolder folder;
    WriteWholeFile(folder.Path("file"), "x");
    CRenovix client;
    EXPECT_FALSE(client.SaveSettingsToFile(Sample(), folder.Path("file/Renovix.xml"), true));
}

// The per-user store, with the user's configuration folder in a test folder.
class RenovixRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
            m_previous = previous;
        setenv("XDG_CONFIG_HOME", m_folder.Path("config").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_previous)
            setenv("XDG_CONFIG_HOME", m_previous->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    CTemporaryFolder m_folder;
    std::optional<std::string> m_previous;
};

TEST_F(RenovixRegistryTest, KeepsEveryFieldUnderTheApplicationsKey)
{
    CRenovix client;
    ASSERT_TRUE(client.SaveSettingsToRegistry(Sample(), "TAMBEL"));
    EXPECT_EQ(CRenovix::RegistryPath("TAMBEL"), m_folder.Path("config/corvanta/Renovix/TAMBEL/settings.ini"));
    const std::string text = ReadWholeFile(CRenovix::RegistryPath("TAMBEL"));
    EXPECT_NE(text.find("Password=Fg2yOk @Zcl-"), std::string::npos) << text;
    EXPECT_LT(text.find("UserName="), text.find("Packages="));
    ExpectSame(client.LoadSettingsFromRegistry("TAMBEL"), Sample());
    // Another application has settings of its own.
    EXPECT_EQ(client.LoadSettingsFromRegistry("Renovix").protocol, RENOVIX_PROTOCOL_NONE);
}

TEST_F(RenovixRegistryTest, MissingAndOverlongValuesReadAsEmpty)
{
    const std::string path = CRenovix::RegistryPath("TAMBEL");
    CRenovix client;
    ASSERT_TRUE(client.SaveSettingsToRegistry(Sample(), "TAMBEL"));
    WriteWholeFile(path, "Protocol=HTTP\nBaseDir=" + std::string(1024, 'x') + "\nExtraParams=" +
                             std::string(1023, 'y') + "\n");
    const CRenovixSettings settings = client.LoadSettingsFromRegistry("TAMBEL");
    EXPECT_EQ(settings.protocol, RENOVIX_PROTOCOL_HTTP);
    EXPECT_EQ(settings.baseDir, "");
    EXPECT_EQ(settings.extraParams, std::string(1023, 'y'));
    EXPECT_EQ(settings.schedule, "");
}

TEST_F(RenovixRegistryTest, NamesThatLeaveTheKeyAreRefused)
{
    CRenovix client;
    for (const char* name : {"", ".", "..", "../x", "a/b"}) {
        EXPECT_FALSE(client.SaveSettingsToRegistry(Sample(), name)) << name;
        EXPECT_EQ(client.LoadSettingsFromRegistry(name).schedule, "MANUALLY") << name;
    }
    EXPECT_EQ(ReadWholeFile(m_folder.Path("config/corvanta/x/settings.ini")), "");
}

}  // namespace
