// The user's own units in "UserUnits.xml": what loading keeps and drops, what saving writes,
// that saving replaces the file whole or not at all, and that start-up loads the file after the
// database and pseudo units.
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Quillet/LogManager.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class UserUnitsFile : public ::testing::Test {
protected:
    void SetUp() override { units.AddBuiltinUnits(); }

    void Write(const std::string& text) const { folder.WriteFile("UserUnits.xml", text); }
    std::string Read() const { return ReadWholeFile(file); }
    std::vector<CUnit> UserUnits() const
    {
        std::vector<CUnit> found;
        for (const CUnit& unit : units.GetUnitList()) {
            if (unit.DbIndex < 0)
                found.push_back(unit);
        }
        return found;
    }

    TestFolder folder;
    const std::string file = folder.Path() + "UserUnits.xml";
    CUnitManager units;
};

struct ExpectedUnit {
    const char* name;
    int type;
    int system;
    double offset;
    double factor;
};

TEST_F(UserUnitsFile, LoadKeepsValidUnitsOnceInFileOrder)
{
    Write("<user-units>"
          "<unit unit_name=\"kg/min\" type=\"2\" unit_system=\"3\" conversion_offset=\"0.000000\""
          " conversion_factor=\"0.016667\" conversion_flags=\"0\"/>"
          "<unit unit_name=\"*Grade\" type=\"1\" unit_system=\"0\" conversion_offset=\"-0.5\""
          " conversion_factor=\"1.23e-05\" conversion_flags=\"0\"/>"
          "<unit unit_name=\"kg/min\" type=\"2\" unit_system=\"3\" conversion_offset=\"0.000000\""
          " conversion_factor=\"0.016667\" conversion_flags=\"0\"/>"
          "<unit unit_name=\"zero factor\" type=\"2\" unit_system=\"3\" conversion_factor=\"0.000000\"/>"
          "<unit unit_name=\"no type\" unit_system=\"3\" conversion_factor=\"2\"/>"
          "<unit unit_name=\"bad system\" type=\"2\" unit_system=\"-1\" conversion_factor=\"2\"/>"
          "<unit unit_name=\"nan factor\" type=\"2\" unit_system=\"3\" conversion_factor=\"nan\"/>"
          "<unit unit_name=\"inf offset\" type=\"2\" unit_system=\"3\" conversion_offset=\"-inf\""
          " conversion_factor=\"2\"/>"
          "<other unit_name=\"not a unit\" type=\"2\" unit_system=\"3\" conversion_factor=\"2\"/>"
          "<unit type=\"4\" unit_system=\"1\" conversion_factor=\"2.5\"/>"
          "</user-units>");
    ASSERT_TRUE(units.LoadUserUnits(file));

    const ExpectedUnit expected[] = {
        {"* kg/min", 2, 3, 0.0, 0.016667},
        {"* *Grade", 1, 0, -0.5, 1.23e-05},
        {"* ", 4, 1, 0.0, 2.5},
    };
    const std::vector<CUnit> loaded = UserUnits();
    ASSERT_EQ(loaded.size(), std::size(expected));
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_EQ(loaded[i].Name, expected[i].name);
        EXPECT_EQ(loaded[i].Type, expected[i].type) << expected[i].name;
        EXPECT_EQ(loaded[i].System, expected[i].system) << expected[i].name;
        EXPECT_EQ(loaded[i].ConversionOffset, expected[i].offset) << expected[i].name;
        EXPECT_EQ(loaded[i].ConversionFactor, expected[i].factor) << expected[i].name;
        EXPECT_EQ(loaded[i].ConversionFlags, 0) << expected[i].name;
    }
    // Indexes follow the pseudo units; the duplicate took none.
    EXPECT_EQ(loaded[0].DbIndex, static_cast<int>(0x80000002u));
    EXPECT_EQ(loaded[1].DbIndex, static_cast<int>(0x80000003u));
    EXPECT_EQ(loaded[2].DbIndex, static_cast<int>(0x80000004u));
}

TEST_F(UserUnitsFile, NumbersMustBeWholeNumberTexts)
{
    Write("<user-units>"
          "<unit unit_name=\"comma\" type=\"2\" unit_system=\"3\" conversion_factor=\"1,5\"/>"
          "<unit unit_name=\"words\" type=\"2 kg\" unit_system=\"3\" conversion_factor=\"2\"/>"
          "<unit unit_name=\"offset\" type=\"2\" unit_system=\"3\" conversion_offset=\"0.5x\""
          " conversion_factor=\"2\"/>"
          "<unit unit_name=\"huge\" type=\"2\" unit_system=\"3\" conversion_factor=\"1e999\"/>"
          "<unit unit_name=\"blanks\" type=\" 2 \" unit_system=\"3\" conversion_factor=\" 1.5 \"/>"
          "</user-units>");
    CLogManager* log = CLogManager::GetInstance();
    const std::string logFile = folder.Path() + "units.log";
    ASSERT_TRUE(log->Open(logFile.c_str(), LOGLEVEL_WARN));
    log->SetFormat("$MESSAGE");
    ASSERT_TRUE(units.LoadUserUnits(file));
    log->Close();
    log->SetFormat("[$LEVEL]\t$MESSAGE");

    const std::vector<CUnit> loaded = UserUnits();
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].Name, "* blanks");
    EXPECT_EQ(loaded[0].ConversionFactor, 1.5);
    const std::string text = ReadWholeFile(logFile);
    for (const char* refused : {"* comma", "* words", "* offset", "* huge"})
        EXPECT_NE(text.find(std::string("User unit \"") + refused + "\""), std::string::npos) << text;
}

struct LoadCase {
    const char* what;
    const char* text;  // null: no file
    BOOL result;
};

TEST_F(UserUnitsFile, FilesWithoutUnits)
{
    const LoadCase cases[] = {
        {"no file", nullptr, FALSE},
        {"another root", "<units><unit unit_name=\"x\" type=\"1\" unit_system=\"1\" conversion_factor=\"2\"/></units>",
         TRUE},
        {"empty root", "<user-units/>", TRUE},
        {"not well-formed", "<user-units><unit unit_name=\"x\" type=\"1\" unit_system=\"1\"", FALSE},
        {"empty file", "", FALSE},
    };
    for (const LoadCase& c : cases) {
        std::filesystem::remove(file);
        if (c.text != nullptr)
            Write(c.text);
        EXPECT_EQ(units.LoadUserUnits(file), c.result) << c.what;
        EXPECT_TRUE(UserUnits().empty()) << c.what;
        EXPECT_EQ(units.GetUnitList().size(), 2u) << c.what;
    }
}

// Six decimals wrote a factor of 1.23e-05 as 0.000012, and factors below a millionth as 0, which
// dropped the unit on the next start. Numbers are machine text, whatever the desktop's locale.
TEST_F(UserUnitsFile, SaveWritesUserUnitsExactlyInMachineText)
{
    CLocaleScope german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsSet());
    const ExpectedUnit defined[] = {
        {"* *Grade", 1, 0, -0.5, 1.23e-05},
        {"* tiny", 2, 3, 255.37222222222223, 5e-7},
        {"*  Faß/µs", 1, 2, 0.0, 1.5},
    };
    for (const ExpectedUnit& d : defined) {
        CUnit unit;
        unit.Name = d.name;
        unit.Type = d.type;
        unit.System = d.system;
        unit.ConversionOffset = d.offset;
        unit.ConversionFactor = d.factor;
        ASSERT_TRUE(units.AddUserUnit(unit));
    }
    ASSERT_TRUE(units.SaveUserUnits(file));

    const std::string text = Read();
    EXPECT_EQ(text,
              "<user-units>\n"
              "    <unit unit_name=\"Grade\" type=\"1\" unit_system=\"0\" conversion_offset=\"-0.5\""
              " conversion_factor=\"1.23e-05\" conversion_flags=\"0\" />\n"
              "    <unit unit_name=\"tiny\" type=\"2\" unit_system=\"3\" conversion_offset=\"255.37222222222223\""
              " conversion_factor=\"5e-07\" conversion_flags=\"0\" />\n"
              "    <unit unit_name=\"Faß/µs\" type=\"1\" unit_system=\"2\" conversion_offset=\"0\""
              " conversion_factor=\"1.5\" conversion_flags=\"0\" />\n"
              "</user-units>\n");
    EXPECT_EQ(text.find(','), std::string::npos);

    CUnitManager next;
    next.AddBuiltinUnits();
    ASSERT_TRUE(next.LoadUserUnits(file));
    const std::vector<CUnit> saved = UserUnits();
    std::vector<CUnit> loaded;
    for (const CUnit& unit : next.GetUnitList()) {
        if (unit.DbIndex < 0)
            loaded.push_back(unit);
    }
    ASSERT_EQ(loaded.size(), saved.size());
    EXPECT_EQ(loaded[0].Name, "* Grade");
    EXPECT_EQ(loaded[2].Name, "* Faß/µs");
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_EQ(loaded[i].ConversionFactor, saved[i].ConversionFactor) << saved[i].Name;
        EXPECT_EQ(loaded[i].ConversionOffset, saved[i].ConversionOffset) << saved[i].Name;
        EXPECT_EQ(loaded[i].Type, saved[i].Type) << saved[i].Name;
        EXPECT_EQ(loaded[i].System, saved[i].System) << saved[i].Name;
    }
}

TEST_F(UserUnitsFile, FailedSaveLeavesTheOldFile)
{
    Write("<user-units><unit unit_name=\"kept\" type=\"1\" unit_system=\"1\" conversion_factor=\"2\"/></user-units>");
    const std::string before = Read();
    CUnit unit;
    unit.Name = "* bad \xff name";
    unit.Type = 1;
    unit.System = 1;
    ASSERT_TRUE(units.AddUserUnit(unit));
    EXPECT_FALSE(units.SaveUserUnits(file));
    EXPECT_EQ(Read(), before);
    EXPECT_FALSE(units.SaveUserUnits(folder.Path() + "missing/UserUnits.xml"));

    // Nothing but the file itself is left in the folder.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(UserUnitsFile, EmptyPathMeansTheProgramFolder)
{
    folder.BecomeProgramFolder();
    CUnit unit;
    unit.Name = "* mine";
    unit.Type = 4;
    unit.System = 1;
    unit.ConversionFactor = 0.001;
    ASSERT_TRUE(units.AddUserUnit(unit));
    ASSERT_TRUE(units.SaveUserUnits());
    EXPECT_NE(Read().find("unit_name=\"mine\""), std::string::npos);

    CUnitManager next;
    ASSERT_TRUE(next.LoadUserUnits());
    ASSERT_EQ(next.GetUnitList().size(), 1u);
    EXPECT_EQ(next.GetUnitList()[0].Name, "* mine");
}

// Start-up: database units, the pseudo units, then the user's units; none of them when the
// database cannot be read.
TEST_F(UserUnitsFile, LoadUnitListAddsTheUserUnitsLast)
{
    ASSERT_FALSE(BuildProgramFolder().empty()) << "ZEPHRIN_PROGRAM_DIR is not set";
    std::filesystem::copy_file(BuildProgramFolder() + "Zephrin.db", folder.Path() + "Zephrin.db");
    Write("<user-units><unit unit_name=\"mine\" type=\"4\" unit_system=\"1\" conversion_factor=\"0.001\"/>"
          "</user-units>");
    folder.BecomeProgramFolder();
    CUnitDb* db = CUnitDb::GetInstance();
    ASSERT_EQ(db->Open(), S_OK);

    CUnitManager loaded;
    ASSERT_TRUE(loaded.LoadUnitList());
    const CUnitArray& list = loaded.GetUnitList();
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[list.size() - 3].DbIndex, UNIT_INDEX_MOLAR_MASS);
    EXPECT_EQ(list[list.size() - 2].DbIndex, UNIT_INDEX_SPECIFIC_GRAVITY);
    EXPECT_EQ(list.back().Name, "* mine");
    EXPECT_EQ(list.back().DbIndex, static_cast<int>(static_cast<unsigned>(list.size() - 1) | UNIT_INDEX_USER_BIT));

    // Loading again starts over: the user unit is there once.
    ASSERT_TRUE(loaded.LoadUnitList());
    EXPECT_EQ(loaded.GetUnitList().size(), list.size());

    db->Close();
    EXPECT_FALSE(loaded.LoadUnitList());
    EXPECT_TRUE(loaded.GetUnitList().empty());
}

}  // namespace
