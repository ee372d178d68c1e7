#include "HarbinaxCore/SystemVersion.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/utsname.h>

namespace {

class SystemVersion : public ::testing::Test {
protected:
    // An os-release file of that text; its path.
    const char* Write(const std::string& text)
    {
        WriteWholeFile(m_path, text);
        return m_path.c_str();
    }

    CTemporaryFolder m_folder;
    const std::string m_path = m_folder.Path("os-release");
};

TEST_F(SystemVersion, NamesTheDistributionFromOsRelease)
{
    struct Case {
        const char* text;
        const char* name;
        int code;
    };
    utsname system;
    ASSERT_EQ(0, uname(&system));
    const Case cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION_ID=\"12\"\n",
         "Debian GNU/Linux 12 (bookworm)", 12},
        {"# comment\nNAME='Ubuntu'\nVERSION_ID=22.04\n", "Ubuntu", 22},
        {"PRETTY_NAME=\"Say \\\"hi\\\" OS\"\n", "Say \"hi\" OS", 0},
        {"ID=unknown\n", system.sysname, 0},
    };
    for (const Case& c : cases) {
        std::string name, version, servicePack;
        int code = -1;
        ASSERT_TRUE(GetSystemVersionName(&name, &code, &version, &servicePack, Write(c.text))) << c.text;
        EXPECT_EQ(c.name, name) << c.text;
        EXPECT_EQ(c.code, code) << c.text;
    }
}

TEST_F(SystemVersion, GivesTheKernelVersionAndRelease)
{
    std::string name, version, servicePack;
    int code = 0;
    ASSERT_TRUE(GetSystemVersionName(&name, &code, &version, &servicePack));
    EXPECT_FALSE(name.empty());
    utsname system;
    ASSERT_EQ(0, uname(&system));
    EXPECT_EQ(system.release, servicePack);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_GE(std::sscanf(system.release, "%u.%u.%u", &major, &minor, &patch), 2);
    EXPECT_EQ(std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch), version);

    // The service-pack text is optional; the other three are not.
    EXPECT_TRUE(GetSystemVersionName(&name, &code, &version, nullptr));
    EXPECT_FALSE(GetSystemVersionName(nullptr, &code, &version, &servicePack));
    EXPECT_FALSE(GetSystemVersionName(&name, nullptr, &version, &servicePack));
    EXPECT_FALSE(GetSystemVersionName(&name, &code, nullptr, &servicePack));
}

}  // namespace
