#include "Platform/SettingsStore.h"

#include "PlatformTestSupport.h"

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

class SettingsStoreTest : public ::testing::Test {
protected:
    CTemporaryFolder m_folder;
    std::string m_path = m_folder.Path("settings.ini");
};

TEST_F(SettingsStoreTest, ReadsNamesWithoutCaseAndTrimsValues)
{
    WriteWholeFile(m_path,
                   "\xEF\xBB\xBF"
                   "top = level\r\n"
                   "; comment = not a value\n"
                   "# another = comment\n"
                   "[ Renovix ]\r\n"
                   "  BaseDir =  ftp://server/updates  \r\n"
                   "Schedule=\n"
                   "Password = \"  spaced \\\"quoted\\\"  \"\n"
                   "Path=C:\\Temp\\new\n"
                   "not a setting\n"
                   "Count = 12\n"
                   "Bad = 12abc\n"
                   "basedir = later wins\n"
                   "[renovix]\n"
                   "Merged=yes\n");
    CSettingsStore store;
    ASSERT_TRUE(store.Load(m_path));

    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"", "TOP", "level"},
        {"RENOVIX", "BASEDIR", "later wins"},
        {"renovix", "schedule", ""},
        {"Renovix", "Password", "  spaced \"quoted\"  "},
        {"Renovix", "Path", "C:\\Temp\\new"},
        {"Renovix", "merged", "yes"},
        {"Renovix", "missing", "(default)"},
        {"Other", "BaseDir", "(default)"},
        {"", "; comment", "(default)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(store.GetString(c.section, c.key, "(default)"), c.value) << c.section << '/' << c.key;

    EXPECT_EQ(store.GetInt("RENOVIX", "count", -1), 12);
    EXPECT_EQ(store.GetInt("Renovix", "Bad", -1), -1);
    EXPECT_EQ(store.GetInt("Renovix", "Schedule", -1), -1);
    EXPECT_EQ(store.GetInt("Renovix", "missing", 7), 7);

    EXPECT_EQ(store.Keys("renovix"),
              (std::vector<std::string>{"basedir", "Schedule", "Password", "Path", "Count", "Bad", "Merged"}));
    EXPECT_EQ(store.Entries(""), (Entries{{"top", "level"}}));
    EXPECT_TRUE(store.Keys("none").empty());
}

TEST_F(SettingsStoreTest, SaveKeepsCommentsAndOrder)
{
    WriteWholeFile(m_path,
                   "; written by hand\n"
                   "[First]\n"
                   "b = 2\n"
                   "a=1\n"
                   "\n"
                   "[Second]\n"
                   "# nothing yet\n");
    CSettingsStore store;
    ASSERT_TRUE(store.Load(m_path));
    EXPECT_TRUE(store.SetString("FIRST", "C", "3"));
    EXPECT_TRUE(store.SetInt("first", "B", -20));
    EXPECT_TRUE(store.SetString("Third", "Key", "value"));
    EXPECT_TRUE(store.SetString("second", "x", "y"));
    EXPECT_TRUE(store.Remove("First", "A"));
    EXPECT_FALSE(store.Remove("First", "A"));
    EXPECT_FALSE(store.Remove("Nowhere", "A"));

    std::string error;
    ASSERT_TRUE(store.Save(m_path, &error)) << error;
    EXPECT_EQ(ReadWholeFile(m_path),
              "; written by hand\n"
              "[First]\n"
              "b=-20\n"
              "C=3\n"
              "\n"
              "[Second]\n"
              "# nothing yet\n"
              "x=y\n"
              "\n"
              "[Third]\n"
              "Key=value\n");
}

// Values that a plain line would change come back unchanged through a save and a load.
TEST_F(SettingsStoreTest, AnyValueSurvivesSaveAndLoad)
{
    const std::string values[] = {
        "",  "plain", "  leading and trailing  ", "\ttab", "two\nlines\r\n", "\"quoted\"", "\"",
        "back\\slash\\", "\\\"", "= ; # [x]", "Grüße", "C:\\Program Files\\\"x\"",
    };
    CSettingsStore store;
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(store.SetString("Values", "v" + std::to_string(i), values[i]));
    ASSERT_TRUE(store.Save(m_path));

    CSettingsStore loaded;
    ASSERT_TRUE(loaded.Load(m_path));
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(loaded.GetString("values", "V" + std::to_string(i), "(missing)"), values[i]) << i;
    EXPECT_EQ(loaded.Keys("Values").size(), std::size(values));
}

TEST_F(SettingsStoreTest, RefusesNamesALineCannotHold)
{
    const struct {
        const char* section;
        const char* key;
    } cases[] = {
        {"S", ""},       {"S", "a=b"},      {"S", " key"},     {"S", "key "},
        {"S", "[key"},   {"S", ";key"},     {"S", "#key"},     {"S", "two\nlines"},
        {" S", "key"},   {"S\n", "key"},    {"S\rT", "key"},
    };
    CSettingsStore store;
    for (const auto& c : cases) {
        EXPECT_FALSE(store.SetString(c.section, c.key, "v")) << '"' << c.section << "\" / \"" << c.key << '"';
        EXPECT_FALSE(store.SetInt(c.section, c.key, 1));
    }
    EXPECT_TRUE(store.Keys("S").empty());
    EXPECT_TRUE(store.SetString("", "top", "level"));
    EXPECT_TRUE(store.SetString("S]x", "key]", "v"));
    ASSERT_TRUE(store.Save(m_path));
    CSettingsStore loaded;
    ASSERT_TRUE(loaded.Load(m_path));
    EXPECT_EQ(loaded.GetString("", "top"), "level");
    EXPECT_EQ(loaded.GetString("S]x", "key]"), "v");
}

TEST_F(SettingsStoreTest, MissingFileAndFailedSave)
{
    CSettingsStore store;
    ASSERT_TRUE(store.SetString("A", "k", "v"));
    EXPECT_FALSE(store.Load(m_folder.Path("missing.ini")));
    EXPECT_TRUE(store.Keys("A").empty());
    // A folder where the file should be is refused like a missing file, not thrown at.
    ASSERT_TRUE(store.SetString("A", "k", "v"));
    ASSERT_EQ(mkdir(m_folder.Path("folder.ini").c_str(), 0755), 0);
    EXPECT_FALSE(store.Load(m_folder.Path("folder.ini")));
    EXPECT_TRUE(store.Keys("A").empty());

    // Missing folders are created.
    ASSERT_TRUE(store.SetString("A", "k", "v"));
    const std::string nested = m_folder.Path("new/folder/settings.ini");
    std::string error;
    ASSERT_TRUE(store.Save(nested, &error)) << error;
    ASSERT_TRUE(store.Load(nested));
    EXPECT_EQ(store.GetString("a", "K"), "v");

    // A folder that cannot be created: a clear message, no file.
    WriteWholeFile(m_folder.Path("plain"), "x");
    EXPECT_FALSE(store.Save(m_folder.Path("plain/sub/settings.ini"), &error));
    EXPECT_NE(error.find("plain/sub"), std::string::npos) << error;
}

TEST_F(SettingsStoreTest, TwoProcessesSavingKeepEachOthersKeys)
{
    const int savesEach = 300;
    WriteWholeFile(m_path, "; kept\n[Shared]\nold=1\n");
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < savesEach; ++i) {
                CSettingsStore store;
                store.Load(m_path);
                store.SetInt("Shared", "p" + std::to_string(child) + "_" + std::to_string(i), i);
                failures += store.Save(m_path) ? 0 : 1;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CSettingsStore store;
    ASSERT_TRUE(store.Load(m_path));
    EXPECT_EQ(store.Keys("Shared").size(), 2u * savesEach + 1);
    EXPECT_EQ(store.GetInt("Shared", "p0_299"), 299);
    EXPECT_EQ(store.GetInt("Shared", "p1_0"), 0);
    EXPECT_EQ(ReadWholeFile(m_path).rfind("; kept\n", 0), 0u);
}

TEST_F(SettingsStoreTest, SaveAppliesOnlyItsOwnChangesToTheFileAsItIsNow)
{
    WriteWholeFile(m_path, "[A]\nx=1\ny=2\nz=3\n");
    CSettingsStore mine;
    ASSERT_TRUE(mine.Load(m_path));
    // Another process changes the file meanwhile.
    CSettingsStore other;
    ASSERT_TRUE(other.Load(m_path));
    other.SetString("A", "x", "other");
    other.Remove("A", "z");
    other.SetString("B", "new", "v");
    ASSERT_TRUE(other.Save(m_path));

    mine.SetString("A", "y", "mine");
    mine.Remove("A", "x");
    ASSERT_TRUE(mine.Save(m_path));
    EXPECT_EQ(mine.Entries("A"), (Entries{{"y", "mine"}}));
    EXPECT_EQ(mine.GetString("B", "new"), "v") << "the store holds what was saved";
    CSettingsStore loaded;
    ASSERT_TRUE(loaded.Load(m_path));
    EXPECT_EQ(loaded.Entries("A"), (Entries{{"y", "mine"}}));
    EXPECT_EQ(loaded.GetString("B", "new"), "v");
}

TEST(SettingsStorePathTest, UserSettingsPathFollowsXdg)
{
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";

    setenv("HOME", "/home/tester", 1);
    setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(CSettingsStore::UserSettingsPath("Renovix/TAMBEL"), "/xdg/config/Renovix/TAMBEL/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(CSettingsStore::UserSettingsPath("Zephrin"), "/home/tester/.config/Zephrin/settings.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(CSettingsStore::UserSettingsPath("Zephrin"), "/home/tester/.config/Zephrin/settings.ini");

    if (oldConfig)
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

}  // namespace
