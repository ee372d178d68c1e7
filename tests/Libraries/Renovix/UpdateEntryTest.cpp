// Reading update list entries and resolving their destinations.
#include "Platform/ProgramFolder.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "Renovix/RenovixLib/UpdateDestination.h"
#include "Renovix/RenovixLib/UpdateEntry.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

CUpdateEntry Read(const std::string& xml)
{
    TiXmlDocument doc;
    doc.Parse(xml.c_str());
    EXPECT_NE(doc.RootElement(), nullptr) << xml;
    return doc.RootElement() ? CUpdateEntry::FromElement(*doc.RootElement()) : CUpdateEntry();
}

std::string Scrambled(const std::string& text)
{
    return CTextScrambler::Encode(text);
}

TEST(UpdateEntryTest, ScrambledPathsAndTheIdWhenTheListGivesNone)
{
    const CUpdateEntry entry = Read("<updateentry source='" + Scrambled("a.txt") + "' destination='" +
                                    Scrambled("%CURRENTDIR%") + "' flags='FILE|UPDATE_EXISTING' sizekb='12'/>");
    EXPECT_EQ(entry.source, "a.txt");
    EXPECT_EQ(entry.destination, "%CURRENTDIR%");
    EXPECT_EQ(entry.id, "bba9a2c63ad1f047c3cea5a7da7a9156");
    EXPECT_EQ(entry.flags, UPDATE_ENTRY_FILE | UPDATE_ENTRY_UPDATE_EXISTING);
    EXPECT_EQ(entry.sizeKB, 12);
    EXPECT_EQ(entry.packages, "all");
    EXPECT_EQ(entry.cePlatform, kCePlatformAny);

    const CUpdateEntry named = Read("<updateentry id='x1' name='" + Scrambled("bin\\b.dll") +
                                    "' sizekb='many' packages='Pro, Demo  ' ceplatform='ARM' hash='abc'/>");
    EXPECT_EQ(named.id, "x1");
    EXPECT_EQ(named.source, "bin\\b.dll");
    EXPECT_EQ(named.destination, "");
    EXPECT_EQ(named.sizeKB, 0);
    EXPECT_EQ(named.packages, "pro, demo");
    EXPECT_EQ(named.cePlatform, 5);
    EXPECT_EQ(named.hash, "abc");
}

TEST(UpdateEntryTest, FieldRules)
{
    const struct {
        const char* text;
        unsigned short parts[4];
    } versions[] = {{"3", {3, 0, 0, 0}}, {"2.1", {2, 1, 0, 0}}, {"1.2.3.4.5", {1, 2, 3, 4}}, {"", {0, 0, 0, 0}},
                    {"x.7", {0, 7, 0, 0}}, {"99999.-1", {65535, 0, 0, 0}}};
    for (const auto& c : versions) {
        const SFileVersion version = CUpdateEntry::ParseVersion(c.text);
        for (int part = 0; part < 4; ++part)
            EXPECT_EQ(version.part[part], c.parts[part]) << c.text << " part " << part;
    }
    EXPECT_EQ(CUpdateEntry::ParseFlags("DIR WIN_CE,IGNORE_HASH IGNORE_VERSION;COMPRESSION_ZIP"),
              UPDATE_ENTRY_DIR | UPDATE_ENTRY_WIN_CE | UPDATE_ENTRY_IGNORE_HASH | UPDATE_ENTRY_IGNORE_VERSION |
                  UPDATE_ENTRY_COMPRESSION_ZIP);
    EXPECT_EQ(CUpdateEntry::ParseFlags("file dir"), 0);
    const struct {
        const char* text;
        int sizeKB;
    } sizes[] = {
        {"12", 12}, {" 7 ", 7}, {"+3", 3}, {"-5", -5}, {"2147483647", 2147483647},
        // Out of range is no integer, and neither is a number with anything after it.
        {"2147483648", 0}, {"-99999999999", 0}, {"99999999999999999999", 0}, {"12abc", 0}, {"1.5", 0}, {"", 0},
    };
    for (const auto& c : sizes) {
        EXPECT_EQ(CUpdateEntry::ParseSizeKB(c.text), c.sizeKB) << c.text;
        EXPECT_EQ(Read(std::string("<updateentry sizekb='") + c.text + "'/>").sizeKB, c.sizeKB) << c.text;
    }
    for (const auto& c : {std::make_pair("INTEL", 0), {"MIPS", 1}, {"SHX", 4}, {"ARM", 5}, {"arm", 0xFFFF}, {"", 0xFFFF}})
        EXPECT_EQ(CUpdateEntry::ParseCePlatform(c.first), c.second) << c.first;
    for (const auto& c : {std::make_pair("", "all"), {"*", "all"}, {"  ", "all"}, {"LITE ", "lite"}, {" * ", "all"}, {"\t Pro,Demo ", "pro,demo"}})
        EXPECT_EQ(CUpdateEntry::ParsePackages(c.first), c.second) << c.first;
}

class DestinationTest : public ::testing::Test {
protected:
    void TearDown() override { Platform::SetProgramPathForTesting(std::string()); }

    static std::string Resolve(const std::string& source, const std::string& destination, std::string* error = nullptr)
    {
        CUpdateEntry entry;
        entry.source = source;
        entry.destination = destination;
        return CRenovix::ResolveDestination(entry, error);
    }
};

TEST_F(DestinationTest, DesktopTargets)
{
    Platform::SetProgramPathForTesting("/opt/Zephrin Suite/Release/Zephrin");
    const std::string program = "/opt/Zephrin Suite/";
    setenv("XDG_DATA_HOME", "/home/u/.local/share", 1);
    const struct {
        const char* source;
        const char* destination;
        std::string target;
    } cases[] = {
        {"/tools/a.exe", "", program + "tools/a.exe"},
        {"tools\\a.exe", "", program + "tools/a.exe"},
        {"bin\\x.dll", "%CURRENTDIR%", program + "x.dll"},
        {"bin\\x.dll", "%CURRENTDIR%\\", program + "x.dll"},
        {"bin/x.dll", "%CURRENTDIR%lib\\%FILE%", program + "lib/x.dll"},
        {"x.dll", "%CURRENTDIR%plugins/", program + "plugins/x.dll"},
        {"a.ttf", "%FONTS%\\", "/home/u/.local/share/fonts/a.ttf"},
        {"Renovix.xml", "%CURRENTDIR%", program + "Renovix.xml"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Resolve(c.source, c.destination), c.target) << c.source << " -> " << c.destination;
    unsetenv("XDG_DATA_HOME");
}

TEST_F(DestinationTest, DestinationsOutsideTheirFolderAreRefused)
{
    Platform::SetProgramPathForTesting("/opt/zephrin/Zephrin");
    const struct {
        const char* source;
        const char* destination;
    } cases[] = {
        {"a.txt", "/etc/passwd"},
        {"a.txt", "\\etc\\%FILE%"},
        {"a.txt", "C:\\Windows\\a.txt"},
        {"a.txt", "%CURRENTDIR%..\\..\\etc\\"},
        {"..\\..\\etc\\cron.d\\job", ""},
        {"a/..", "%CURRENTDIR%"},
        {"a.txt", "relative\\a.txt"},
        {"x.dll", "%SYSTEM%\\"},
        {"x.dll", "%WINDOWS%\\x.dll"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(Resolve(c.source, c.destination, &error), "") << c.source << " -> " << c.destination;
        EXPECT_FALSE(error.empty()) << c.destination;
    }
    // A folder holding a macro's name is taken as it is, not expanded again and again.
    Platform::SetProgramPathForTesting("/opt/%CURRENTDIR%/Zephrin");
    EXPECT_EQ(Resolve("a.txt", ""), "/opt/%CURRENTDIR%/a.txt");
}

TEST(DeviceDestinationTest, DeviceTargets)
{
    auto folderOf = [](const std::string& macro) -> std::string {
        if (macro == "%PROGRAMS%")
            return "\\Program Files";
        return macro == "%STARTUP%" ? "\\Windows\\StartUp" : "";
    };
    EXPECT_EQ(CUpdateDestination::ResolveDevice("bin/app.exe", "", folderOf, nullptr), "\\bin\\app.exe");
    EXPECT_EQ(CUpdateDestination::ResolveDevice("bin\\app.exe", "%PROGRAMS%\\Zephrin\\", folderOf, nullptr),
              "\\Program Files\\Zephrin\\app.exe");
    EXPECT_EQ(CUpdateDestination::ResolveDevice("a.lnk", "%STARTUP%\\%FILE%", folderOf, nullptr),
              "\\Windows\\StartUp\\a.lnk");
    std::string error;
    EXPECT_EQ(CUpdateDestination::ResolveDevice("a.lnk", "%PROGRAMS%\\..\\Windows\\", folderOf, &error), "");
    EXPECT_EQ(CUpdateDestination::ResolveDevice("a.lnk", "%RECENT%\\", folderOf, &error), "");
    EXPECT_EQ(CUpdateDestination::FilePart("bin\\x.dll"), "\\x.dll");
    EXPECT_EQ(CUpdateDestination::FilePart("bin/x.dll"), "/x.dll");
    EXPECT_EQ(CUpdateDestination::FilePart("x.dll"), "x.dll");
}

}  // namespace
