// Unit conversions, the unit list with its pseudo and user units, the selection lists and the
// texts of the reference codes.
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/UnitConversion.h"
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Polyglotta/Translator.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct BaseCase {
    const char* what;
    CUnit unit;
    int reference;
    double value;
    double base;  // expected base value
};

TEST(UnitConversion, ToBaseAndBack)
{
    const CUnit bar = MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0);
    const CUnit mbar = MakeUnit("mbar", UNIT_TYPE_PRESSURE, 0.001);
    const CUnit celsius = MakeUnit("degC", 3, 1.0, 273.15);
    const CUnit cubicMetresPerHour = MakeUnit("m3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0);
    const CUnit mw = MakeUnit("!!MW", UNIT_TYPE_DENSITY, 1.0, 0.0, -1, 4, UNIT_MOLAR_MASS);
    const CUnit sg = MakeUnit("!!SG", UNIT_TYPE_DENSITY, 1.0, 0.0, -1, 4, UNIT_SPECIFIC_GRAVITY);
    const BaseCase cases[] = {
        {"gauge pressure gets the atmosphere", bar, REFERENCE_GAUGE, 2.0, 3.013},
        {"absolute pressure unchanged", bar, REFERENCE_ABSOLUTE, 2.0, 2.0},
        {"gauge in another pressure unit", mbar, REFERENCE_GAUGE, 500.0, 1.513},
        {"gauge code on a flow unit is no gauge", cubicMetresPerHour, REFERENCE_GAUGE, 2.0, 2000.0},
        {"norm code on a flow unit changes nothing", cubicMetresPerHour, REFERENCE_NORM, 2.0, 2000.0},
        {"offset", celsius, 0, 20.0, 293.15},
        {"molar mass", mw, 0, 28.96, 28.96 * 0.000044607},
        {"specific gravity of a liquid", sg, REFERENCE_ABSOLUTE, 1.5, 1.5},
        {"specific gravity of a gas", sg, 0, 1.5, 1.5 * 0.001293},
        {"specific gravity, gauge code", sg, REFERENCE_GAUGE, 1.5, 1.5 * 0.001293},
    };
    for (const BaseCase& c : cases) {
        double base = -1.0;
        EXPECT_TRUE(ConvertToBaseUnit(base, c.value, c.unit, c.reference)) << c.what;
        EXPECT_NEAR(base, c.base, 1e-12 * (1.0 + c.base)) << c.what;
        double value = -1.0;
        EXPECT_TRUE(ConvertFromBaseUnit(value, c.base, c.unit, c.reference)) << c.what;
        EXPECT_NEAR(value, c.value, 1e-12 * (1.0 + c.value)) << c.what;
    }
}

TEST(UnitConversion, FailuresGiveFalseAndZero)
{
    double out = -1.0;
    EXPECT_FALSE(ConvertFromBaseUnit(out, 5.0, MakeUnit("broken", UNIT_TYPE_PRESSURE, 0.0), 0));
    EXPECT_EQ(out, 0.0);

    // Results beyond the range of a double are no conversion either.
    const CUnit huge = MakeUnit("huge", UNIT_TYPE_PRESSURE, 1e308);
    const CUnit tiny = MakeUnit("tiny", UNIT_TYPE_PRESSURE, 1e-308);
    out = -1.0;
    EXPECT_FALSE(ConvertToBaseUnit(out, 100.0, huge, 0));
    EXPECT_EQ(out, 0.0);
    out = -1.0;
    EXPECT_FALSE(ConvertFromBaseUnit(out, 100.0, tiny, 0));
    EXPECT_EQ(out, 0.0);
    out = -1.0;
    EXPECT_FALSE(ConvertToBaseUnit(out, std::nan(""), MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0), 0));
    EXPECT_EQ(out, 0.0);
    EXPECT_FALSE(ConvertUnit(1e300, out, huge, MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0), 0.0));
    double flow = 5.0;
    EXPECT_FALSE(ConvertFlowReference(1e300, flow, REFERENCE_OPERATIONAL, REFERENCE_NORM, 1e300, 1e-300));
    EXPECT_EQ(flow, 5.0) << "left as it was";

    const CUnit unknownRule = MakeUnit("rule 3", UNIT_TYPE_DENSITY, 1.0, 0.0, -1, 0, 3);
    out = -1.0;
    EXPECT_FALSE(ConvertToBaseUnit(out, 5.0, unknownRule, 0));
    EXPECT_EQ(out, 0.0);
    out = -1.0;
    EXPECT_FALSE(ConvertFromBaseUnit(out, 5.0, unknownRule, 0));
    EXPECT_EQ(out, 0.0);
}

struct UnitPairCase {
    const char* what;
    CUnit from;
    CUnit to;
    double density;
    double value;
    BOOL ok;
    double expected;
};

TEST(UnitConversion, BetweenTwoUnits)
{
    const CUnit bar = MakeUnit("bar", UNIT_TYPE_PRESSURE, 1.0);
    const CUnit mbar = MakeUnit("mbar", UNIT_TYPE_PRESSURE, 0.001);
    const CUnit m3h = MakeUnit("m3/h", UNIT_TYPE_VOLUME_FLOW, 1000.0);
    const CUnit lh = MakeUnit("l/h", UNIT_TYPE_VOLUME_FLOW, 1.0);
    const CUnit kgh = MakeUnit("kg/h", UNIT_TYPE_MASS_FLOW, 1.0);
    const CUnit th = MakeUnit("t/h", UNIT_TYPE_MASS_FLOW, 1000.0);
    const CUnit kelvin = MakeUnit("K", 3, 1.0);
    const CUnit sg = MakeUnit("!!SG", UNIT_TYPE_DENSITY, 1.0, 0.0, -1, 4, UNIT_SPECIFIC_GRAVITY);
    const CUnit kgm3 = MakeUnit("kg/m3", UNIT_TYPE_DENSITY, 0.001);
    const UnitPairCase cases[] = {
        {"same quantity, no gauge correction", bar, mbar, 0.0, 2.0, TRUE, 2000.0},
        {"volume to mass", m3h, kgh, 0.998, 10.0, TRUE, 9980.0},
        {"mass to volume", th, lh, 0.5, 1.0, TRUE, 2000.0},
        {"volume to mass with density 0", m3h, kgh, 0.0, 10.0, TRUE, 0.0},
        {"mass to volume with density 0", kgh, m3h, 0.0, 10.0, FALSE, 0.0},
        {"unrelated quantities", bar, kelvin, 1.0, 2.0, FALSE, 0.0},
        {"pseudo unit", sg, kgm3, 1.0, 2.0, FALSE, 0.0},
        {"into a unit with factor 0", bar, MakeUnit("broken", UNIT_TYPE_PRESSURE, 0.0), 1.0, 2.0, FALSE, 0.0},
    };
    for (const UnitPairCase& c : cases) {
        double out = -1.0;
        EXPECT_EQ(ConvertUnit(c.value, out, c.from, c.to, c.density), c.ok) << c.what;
        EXPECT_NEAR(out, c.expected, 1e-9) << c.what;
    }
}

TEST(UnitConversion, FlowReference)
{
    double out = 7.0;
    EXPECT_TRUE(ConvertFlowReference(3.0, out, 0, 0, 2.0, 1.0));
    EXPECT_EQ(out, 7.0);  // in place: left alone
    EXPECT_TRUE(ConvertFlowReference(3.0, out, 4, 4, 2.0, 1.0));
    EXPECT_EQ(out, 7.0);

    EXPECT_TRUE(ConvertFlowReference(3.0, out, REFERENCE_OPERATIONAL, REFERENCE_NORM, 2.0, 0.5));
    EXPECT_DOUBLE_EQ(out, 12.0);
    EXPECT_TRUE(ConvertFlowReference(12.0, out, REFERENCE_NORM, REFERENCE_OPERATIONAL, 2.0, 0.5));
    EXPECT_DOUBLE_EQ(out, 3.0);

    out = 7.0;
    EXPECT_FALSE(ConvertFlowReference(3.0, out, REFERENCE_OPERATIONAL, REFERENCE_NORM, 2.0, 0.0));
    EXPECT_FALSE(ConvertFlowReference(3.0, out, REFERENCE_NORM, REFERENCE_OPERATIONAL, 0.0, 0.5));
    EXPECT_FALSE(ConvertFlowReference(3.0, out, REFERENCE_ABSOLUTE, REFERENCE_NORM, 2.0, 0.5));
    EXPECT_EQ(out, 7.0);
}

// --- The manager over the shipped database --------------------------------------------------

class ShippedUnits : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ShippedDatabase::Open()); }
    static void TearDownTestSuite() { ShippedDatabase::Close(); }
    void SetUp() override { ASSERT_TRUE(units.LoadUnitList()); }

    CUnitManager units;
};

struct IndexCase {
    const char* what;
    int dbIndex;
    int reference;
    double value;
    double base;
};

TEST_F(ShippedUnits, ConversionsByIndex)
{
    const IndexCase cases[] = {
        {"bar gauge", 7, REFERENCE_GAUGE, 2.0, 3.013},
        {"bar absolute", 7, REFERENCE_ABSOLUTE, 2.0, 2.0},
        {"degrees Celsius", 1, 0, 20.0, 293.15},
        {"m3/h", 38, 0, 2.5, 2500.0},
        {"kg/m3", 21, 0, 998.0, 0.998},
        {"molar mass unit", UNIT_INDEX_MOLAR_MASS, 0, 28.96, 28.96 * 0.000044607},
        {"specific gravity unit, liquid", UNIT_INDEX_SPECIFIC_GRAVITY, REFERENCE_ABSOLUTE, 1.5, 1.5},
        {"specific gravity unit, gas", UNIT_INDEX_SPECIFIC_GRAVITY, 0, 1.5, 0.0019395},
    };
    for (const IndexCase& c : cases) {
        double base = -1.0;
        EXPECT_TRUE(units.ConvertToBase(base, c.value, c.dbIndex, c.reference)) << c.what;
        EXPECT_NEAR(base, c.base, 1e-12 * (1.0 + c.base)) << c.what;
        double value = -1.0;
        EXPECT_TRUE(units.ConvertFromBase(value, c.base, c.dbIndex, c.reference)) << c.what;
        EXPECT_NEAR(value, c.value, 1e-12 * (1.0 + c.value)) << c.what;
    }

    double out = -1.0;
    EXPECT_TRUE(units.ConvertUnit(10.0, out, 38, 60, 0.998));  // m3/h -> kg/h
    EXPECT_NEAR(out, 9980.0, 1e-9);

    for (const int unknown : {0, -1, 99999, static_cast<int>(0x80000000u)}) {
        out = -1.0;
        EXPECT_FALSE(units.ConvertToBase(out, 1.0, unknown, 0)) << unknown;
        EXPECT_EQ(out, 0.0);
        out = -1.0;
        EXPECT_FALSE(units.ConvertFromBase(out, 1.0, unknown, 0)) << unknown;
        EXPECT_EQ(out, 0.0);
        out = -1.0;
        EXPECT_FALSE(units.ConvertUnit(1.0, out, 38, unknown, 1.0)) << unknown;
        EXPECT_EQ(out, 0.0);
    }
    CUnit unit = MakeUnit("u", 1, 2.0, 0.0, 1);
    EXPECT_FALSE(units.GetUnit(unit, 99999));
    EXPECT_EQ(unit.DbIndex, -1);
    EXPECT_EQ(unit.ConversionFactor, 1.0);
}

TEST_F(ShippedUnits, ListHoldsDatabaseUnitsThenPseudoUnitsThenUserUnits)
{
    CUnit mine = MakeUnit("* half", UNIT_TYPE_VOLUME_FLOW, 0.5);
    ASSERT_TRUE(units.AddUserUnit(mine));
    const CUnitArray& list = units.GetUnitList();
    ASSERT_GE(list.size(), 4u);
    const std::size_t pseudo = list.size() - 3;
    for (std::size_t i = 0; i < pseudo; ++i) {
        EXPECT_GT(list[i].DbIndex, 0);
        EXPECT_LT(list[i].DbIndex, 0x40000000);
        if (i > 0) {
            EXPECT_LE(list[i - 1].Type, list[i].Type) << "query order by TypeId";
        }
    }
    EXPECT_EQ(list[pseudo].Name, "!!MW");
    EXPECT_EQ(list[pseudo].DbIndex, UNIT_INDEX_MOLAR_MASS);
    EXPECT_EQ(list[pseudo + 1].Name, "!!SG");
    EXPECT_EQ(list[pseudo + 1].DbIndex, UNIT_INDEX_SPECIFIC_GRAVITY);
    EXPECT_EQ(list[pseudo + 2].Name, "* half");
    EXPECT_LT(list[pseudo + 2].DbIndex, 0);

    // Units are listed in DisplayOrder: m3/h first among the operational flow units.
    CComboItems items;
    units.FillUnitCombo(items, UNIT_TYPE_VOLUME_FLOW, 0, FALSE, "", TRUE);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].text, "m3/h");
    EXPECT_EQ(items[0].data, 38);
    EXPECT_EQ(items.back().text, "* half");
}

TEST_F(ShippedUnits, UnitsByTypeAndSystem)
{
    CUnitArray all;
    EXPECT_TRUE(units.GetUnits(all, 0, 0, FALSE, "", FALSE));
    EXPECT_EQ(all.size(), units.GetUnitList().size());

    CUnitArray pseudo;
    units.GetUnits(pseudo, UNIT_TYPE_DENSITY, 4, FALSE, "", TRUE);
    ASSERT_EQ(pseudo.size(), 2u);
    EXPECT_EQ(pseudo[0].DbIndex, UNIT_INDEX_MOLAR_MASS);

    // System 0 names the metric system exactly, and any system otherwise.
    CUnitArray metric;
    units.GetUnits(metric, UNIT_TYPE_DENSITY, 0, FALSE, "", TRUE);
    CUnitArray anyDensity;
    units.GetUnits(anyDensity, UNIT_TYPE_DENSITY, 0, FALSE, "", FALSE);
    EXPECT_LT(metric.size(), anyDensity.size());
    for (const CUnit& unit : metric)
        EXPECT_EQ(unit.System, 0);
    for (const CUnit& unit : anyDensity)
        EXPECT_EQ(unit.Type, UNIT_TYPE_DENSITY);

    // Appending keeps what is there.
    const std::size_t before = metric.size();
    units.GetUnits(metric, UNIT_TYPE_DENSITY, 4, TRUE, "", TRUE);
    EXPECT_EQ(metric.size(), before + 2);
}

TEST(UnitList, WithoutTheDatabaseLoadingFailsAndTheListStaysEmpty)
{
    CUnitDb::GetInstance()->Close();
    CUnitManager units;
    units.AddBuiltinUnits();
    EXPECT_FALSE(units.LoadUnitList());
    EXPECT_TRUE(units.GetUnitList().empty());
    double base = -1.0;
    EXPECT_FALSE(units.ConvertToBase(base, 1.0, UNIT_INDEX_MOLAR_MASS, 0));
}

// --- User units --------------------------------------------------------------------------------

TEST(UserUnits, AddedOnceAndFoundByTheirWholeData)
{
    CUnitManager units;
    units.AddBuiltinUnits();
    CUnit first = MakeUnit("* half", UNIT_TYPE_VOLUME_FLOW, 0.5);
    CUnit again = first;
    ASSERT_TRUE(units.AddUserUnit(first));
    EXPECT_EQ(first.DbIndex, static_cast<int>(0x80000002u));
    ASSERT_TRUE(units.AddUserUnit(again));
    EXPECT_EQ(again.DbIndex, first.DbIndex);
    EXPECT_EQ(units.GetUnitList().size(), 3u);
    EXPECT_EQ(units.FindUnit(again), first.DbIndex);

    // Any difference in the data makes another unit.
    CUnit other = first;
    other.ConversionFactor = 0.5000000001;
    EXPECT_EQ(units.FindUnit(other), 0);
    other = first;
    other.Name = "* Half";
    EXPECT_EQ(units.FindUnit(other), 0);

    double base = 0.0;
    EXPECT_TRUE(units.ConvertToBase(base, 4.0, first.DbIndex, 0));
    EXPECT_EQ(base, 2.0);
}

TEST(UserUnits, InvalidUnitsAreRefused)
{
    CUnitManager units;
    CUnit zeroFactor = MakeUnit("* z", 1, 0.0);
    CUnit noType = MakeUnit("* t", 0, 1.0);
    CUnit negativeSystem = MakeUnit("* s", 1, 1.0, 0.0, -1, -1);
    // What "nan" and "inf" in a user units or project file read as.
    CUnit nanFactor = MakeUnit("* n", 1, std::nan(""));
    CUnit infiniteFactor = MakeUnit("* i", 1, HUGE_VAL);
    CUnit infiniteOffset = MakeUnit("* o", 1, 1.0, -HUGE_VAL);
    for (CUnit* unit : {&zeroFactor, &noType, &negativeSystem, &nanFactor, &infiniteFactor, &infiniteOffset}) {
        EXPECT_FALSE(units.AddUserUnit(*unit)) << unit->Name;
        EXPECT_EQ(unit->DbIndex, -1);
    }
    EXPECT_TRUE(units.GetUnitList().empty());

    // A user unit needs no name nor index; a database unit needs both.
    const CUnit nameless = MakeUnit("", 1, 1.0);
    EXPECT_TRUE(nameless.IsValid(TRUE));
    EXPECT_FALSE(nameless.IsValid(FALSE));
}

TEST(UserUnits, FirstIndexIsTheListCountAndIndexesAreNeverReused)
{
    TestFolder folder;
    std::string rows = "INSERT INTO Units VALUES (1, 'u1', 1, 0, 0, 1, 0, 1)";
    for (int id = 2; id <= 38; ++id)
        rows += ", (" + std::to_string(id) + ", 'u" + std::to_string(id) + "', 1, 0, 0, 1, 0, 1)";
    folder.MakeDatabase("Zephrin.db", rows + ";");
    folder.BecomeProgramFolder();
    ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
    CUnitManager units;
    ASSERT_TRUE(units.LoadUnitList());
    CUnitDb::GetInstance()->Close();
    ASSERT_EQ(units.GetUnitList().size(), 40u);

    CUnit a = MakeUnit("* a", UNIT_TYPE_PRESSURE, 2.0);
    ASSERT_TRUE(units.AddUserUnit(a));
    EXPECT_EQ(a.DbIndex, static_cast<int>(0x80000028u));

    // The user edits the units: all removed, another one added. A value that still carries
    // the old index must not convert with the new unit.
    units.RemoveUserUnits();
    EXPECT_EQ(units.GetUnitList().size(), 40u);
    CUnit b = MakeUnit("* b", UNIT_TYPE_PRESSURE, 1000.0);
    ASSERT_TRUE(units.AddUserUnit(b));
    EXPECT_NE(b.DbIndex, a.DbIndex);
    double base = -1.0;
    EXPECT_FALSE(units.ConvertToBase(base, 1.0, a.DbIndex, 0));
    EXPECT_TRUE(units.ConvertToBase(base, 1.0, b.DbIndex, 0));
    EXPECT_EQ(base, 1000.0);

    // And after another removal.
    CUnit c = MakeUnit("* c", UNIT_TYPE_PRESSURE, 3.0);
    units.RemoveUserUnits();
    ASSERT_TRUE(units.AddUserUnit(c));
    EXPECT_NE(c.DbIndex, a.DbIndex);
    EXPECT_NE(c.DbIndex, b.DbIndex);
}

TEST(UserUnits, RemovingKeepsDatabaseAndPseudoUnitsInOrder)
{
    CUnitManager units;
    units.AddBuiltinUnits();
    CUnit x = MakeUnit("* x", 1, 2.0);
    CUnit y = MakeUnit("* y", 1, 3.0);
    units.AddUserUnit(x);
    units.AddUserUnit(y);
    units.RemoveUserUnits();
    ASSERT_EQ(units.GetUnitList().size(), 2u);
    EXPECT_EQ(units.GetUnitList()[0].DbIndex, UNIT_INDEX_MOLAR_MASS);
    EXPECT_EQ(units.GetUnitList()[1].DbIndex, UNIT_INDEX_SPECIFIC_GRAVITY);
    double base = 0.0;
    EXPECT_TRUE(units.ConvertToBase(base, 1.0, UNIT_INDEX_SPECIFIC_GRAVITY, REFERENCE_ABSOLUTE));
    EXPECT_FALSE(units.ConvertToBase(base, 1.0, x.DbIndex, 0));
}

TEST(UserUnits, RestoredUnitsKeepTheirIndexAndLaterOnesDoNotMeetThem)
{
    CUnitManager units;
    units.AddBuiltinUnits();
    CUnit x = MakeUnit("* x", 1, 2.0);
    CUnit y = MakeUnit("* y", 1, 3.0);
    units.AddUserUnit(x);
    units.AddUserUnit(y);
    units.RemoveUserUnits();

    CUnit edited = y;
    edited.ConversionFactor = 4.0;
    ASSERT_TRUE(units.RestoreUserUnit(edited));
    double base = 0.0;
    EXPECT_TRUE(units.ConvertToBase(base, 1.0, y.DbIndex, 0));
    EXPECT_EQ(base, 4.0);
    // Taken already, no user index, no valid unit.
    CUnit database = MakeUnit("* d", 1, 2.0);
    database.DbIndex = 38;
    CUnit invalid = MakeUnit("* i", 1, 0.0);
    invalid.DbIndex = x.DbIndex;
    for (const CUnit& refused : {edited, database, invalid})
        EXPECT_FALSE(units.RestoreUserUnit(refused)) << refused.Name;

    CUnit z = MakeUnit("* z", 1, 5.0);
    ASSERT_TRUE(units.AddUserUnit(z));
    EXPECT_NE(z.DbIndex, x.DbIndex);
    EXPECT_NE(z.DbIndex, y.DbIndex);
    EXPECT_TRUE(units.RestoreUserUnit(x));
    EXPECT_EQ(units.GetUnitList().size(), 5u);
}

// --- Lists in a language, texts of the codes ---------------------------------------------------

TEST(UnitLists, DatabaseUnitNamesInTheLanguageOthersAsTheyAre)
{
    TestFolder folder;
    folder.MakeDatabase("Zephrin.db",
                        "INSERT INTO Languages VALUES (1, 'en', 'English'), (2, 'de', 'Deutsch');"
                        "INSERT INTO Units VALUES (7, 'bar', 4, 0, 0, 1, 0, 1), (8, 'mbar', 4, 0, 0, 0.001, 0, 2);"
                        "INSERT INTO Translations VALUES (7, 'Units', 2, 'Bar (de)');");
    folder.BecomeProgramFolder();
    ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
    CUnitManager units;
    ASSERT_TRUE(units.LoadUnitList());
    CUnit mine = MakeUnit("* two bar", UNIT_TYPE_PRESSURE, 2.0);
    units.AddUserUnit(mine);

    CComboItems items = {{"stays", 1}};
    EXPECT_TRUE(units.FillUnitCombo(items, UNIT_TYPE_PRESSURE, 0, TRUE, "de", TRUE));
    const std::vector<std::pair<std::string, int>> expected = {
        {"stays", 1}, {"Bar (de)", 7}, {"mbar", 8}, {"* two bar", mine.DbIndex}};
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].text, expected[i].first);
        EXPECT_EQ(items[i].data, expected[i].second);
    }

    CUnitArray pseudo;
    units.GetUnits(pseudo, UNIT_TYPE_DENSITY, 4, FALSE, "de", TRUE);
    ASSERT_EQ(pseudo.size(), 2u);
    EXPECT_EQ(pseudo[0].Name, "!!MW");

    // Without a language the list's own names; the list itself is never renamed.
    units.FillUnitCombo(items, UNIT_TYPE_PRESSURE, 0, FALSE, "", TRUE);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "bar");

    // Look-ups that find nothing leave the names as listed, never empty entries.
    CUnitDb::GetInstance()->Close();
    units.FillUnitCombo(items, UNIT_TYPE_PRESSURE, 0, FALSE, "de", TRUE);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "bar");
    EXPECT_EQ(items[1].text, "mbar");
}

struct CodeTextCase {
    std::string (*text)(int, const std::string&);
    int code;
    const char* english;
    const char* german;
};

TEST(UnitLists, ReferenceTextsThroughTheTranslator)
{
    const CodeTextCase cases[] = {
        {CUnitManager::GetPressureReferenceText, 1, "abs.", "abs."},
        {CUnitManager::GetPressureReferenceText, 2, "gauge", "rel."},
        {CUnitManager::GetPressureReferenceText, 0, "", ""},
        {CUnitManager::GetFlowTypeText, 1, "volume", "Volumen"},
        {CUnitManager::GetFlowTypeText, 2, "mass", "Masse"},
        {CUnitManager::GetFlowTypeText, 4, "", ""},
        {CUnitManager::GetFlowReferenceText, 0, "operational", "Betrieb"},
        {CUnitManager::GetFlowReferenceText, 4, "norm.", "Norm"},
        {CUnitManager::GetFlowReferenceText, 2, "", ""},
    };
    // Without the application's translator: the English texts.
    for (const CodeTextCase& c : cases)
        EXPECT_EQ(c.text(c.code, "de"), c.english) << c.code;

    CTranslator translator;
    ASSERT_TRUE(translator.LoadFromFile(ZEPHRIN_TRANSLATIONS_DIR "/Zephrin.en.xml", false));
    ASSERT_TRUE(translator.LoadFromFile(ZEPHRIN_TRANSLATIONS_DIR "/Zephrin.de.xml", true));
    translator.SetLanguage("de");
    // Gone again however the test ends: the source refers to the translator of this scope.
    struct SourceReset {
        ~SourceReset() { CEngineTexts::SetStringSource(nullptr); }
    } sourceReset;
    CEngineTexts::SetStringSource(
        [&translator](int id, const std::string& language) { return translator.GetString(id, language); });
    for (const CodeTextCase& c : cases) {
        EXPECT_EQ(c.text(c.code, ""), c.german) << c.code;
        EXPECT_EQ(c.text(c.code, "en"), c.english) << c.code;
    }

    CComboItems items = {{"old", 9}};
    EXPECT_TRUE(CUnitManager::FillPressureReferenceCombo(items));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "abs.");
    EXPECT_EQ(items[0].data, 1);
    EXPECT_EQ(items[1].text, "rel.");
    EXPECT_EQ(items[1].data, 2);
    EXPECT_TRUE(CUnitManager::FillFlowTypeCombo(items, "en"));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "volume");
    EXPECT_EQ(items[1].data, 2);
    EXPECT_TRUE(CUnitManager::FillFlowReferenceCombo(items, "de"));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "Betrieb");
    EXPECT_EQ(items[0].data, 0);
    EXPECT_EQ(items[1].text, "Norm");
    EXPECT_EQ(items[1].data, 4);

    CEngineTexts::SetStringSource(nullptr);
    EXPECT_EQ(CUnitManager::GetFlowReferenceText(4, "de"), "norm.");
}

}  // namespace
