// The units database connection: where it finds the database, the version, and the three
// look-ups, against fixture databases of the shipped schema and against the shipped database.
#include "CommonFiles/UnitDb.h"
#include "CommonFiles/UnitManager.h"
#include "Oddments/DynamicRecordSetOleDb.h"
#include "TestFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace {

const char kVersion9[] =
    "INSERT INTO Revisions VALUES (9, 9, 9, 9, '2020-01-01 00:00:00');";
// Two rows: the newest version wins, whatever the insertion order.
const char kVersion1234[] =
    "INSERT INTO Revisions VALUES (1, 2, 3, 4, '2021-01-01 00:00:00');"
    "INSERT INTO Revisions VALUES (1, 2, 2, 9, '2022-01-01 00:00:00');";

class UnitDbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = CUnitDb::GetInstance();
        ASSERT_NE(db, nullptr);
        folder.BecomeProgramFolder();
    }
    void TearDown() override { db->Close(); }

    std::string Version() const
    {
        return std::to_string(db->Major) + "." + std::to_string(db->Medium) + "." + std::to_string(db->Minor) + "." +
               std::to_string(db->Build);
    }

    TestFolder folder;
    CUnitDb* db = nullptr;
};

TEST_F(UnitDbTest, GetInstanceGivesOneObject)
{
    EXPECT_EQ(CUnitDb::GetInstance(), db);
}

TEST_F(UnitDbTest, DataLinkFileWinsOverTheDatabaseBesideTheProgram)
{
    folder.MakeDatabase("Zephrin.db", kVersion9);
    folder.MakeDatabase("other.db", kVersion1234);
    folder.WriteFile("units.udl", "[oledb]\n; Everything after this line is an OLE DB initstring\n"
                                  "Provider=SQLite;Data Source=" + folder.Path() + "other.db;Mode=Read\n");
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_EQ(Version(), "1.2.3.4");
    EXPECT_TRUE(db->GetSession().IsOpen());
}

TEST_F(UnitDbTest, WithoutDataLinkFileTheDatabaseBesideTheProgramOpensReadOnly)
{
    folder.MakeDatabase("Zephrin.db", kVersion9);
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_EQ(Version(), "9.9.9.9");
    EXPECT_TRUE(FAILED(db->GetSession().Execute("DELETE FROM Revisions")));
}

TEST_F(UnitDbTest, UnusableDataLinkFileFallsBackToTheDatabaseBesideTheProgram)
{
    folder.MakeDatabase("Zephrin.db", kVersion9);
    folder.WriteFile("units.udl", "Provider=SQLite;Data Source=" + folder.Path() + "missing.db;Mode=Read\n");
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_EQ(Version(), "9.9.9.9");
}

TEST_F(UnitDbTest, DatabaseLockedByAnotherWriterIsReadWithoutLocks)
{
    folder.MakeDatabase("Zephrin.db", kVersion9);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open((folder.Path() + "Zephrin.db").c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    // A plain read-only open fails now, so the second attempt is what reads it.
    CDataSource plain;
    EXPECT_TRUE(FAILED(plain.OpenFromInitializationString(
        ("Provider=SQLite;Data Source=" + folder.Path() + "Zephrin.db;Mode=Read").c_str())));

    EXPECT_EQ(db->Open(), S_OK);
    EXPECT_EQ(Version(), "9.9.9.9");

    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

TEST_F(UnitDbTest, MissingDatabaseFailsAndLeavesEverythingClosed)
{
    EXPECT_TRUE(FAILED(db->Open()));
    EXPECT_FALSE(db->GetSession().IsOpen());
    EXPECT_EQ(Version(), "0.0.0.0");
}

TEST_F(UnitDbTest, DatabaseWithoutRevisionsOpensWithVersionZero)
{
    folder.MakeDatabase("Zephrin.db", "");
    db->Major = 5;
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_EQ(Version(), "0.0.0.0");
    EXPECT_FALSE(db->ReadVersion());
}

TEST_F(UnitDbTest, ClosedConnectionReadsNothing)
{
    EXPECT_FALSE(db->ReadVersion());
    EXPECT_EQ(db->GetTranslatedText(1, "de", "Units", "UnitName", "Id"), "");
    EXPECT_EQ(db->GetFormulaSetValue("FactorV", 1), 0.0);
}

// Rows that a query would find if one ran where none may: id 0, an empty language code, or a
// language code that breaks out of a pasted literal.
const char kTranslationContent[] =
    "INSERT INTO Languages VALUES (1, 'en', 'English'), (2, 'de', 'Deutsch'), (3, '', 'Nameless');"
    "INSERT INTO Units VALUES (7, 'bar', 4, 0, 0, 1, 0, 1), (8, 'mbar', 4, 0, 0, 0.001, 0, 2);"
    "INSERT INTO Translations VALUES (7, 'Units', 2, 'Bar (de)'), (0, 'Units', 1, 'trap'),"
    " (8, 'Units', 3, 'trap'), (8, 'Other', 2, 'wrong table'), (7, 'Units', 1, '');"
    "INSERT INTO FormulaSets VALUES (1, 'FactorV', 0.35), (2, 'FactorV', 0.45);";

struct TranslationCase {
    const char* what;
    int id;
    const char* language;
    const char* table;
    const char* textColumn;
    const char* keyColumn;
    const char* expected;
};

TEST_F(UnitDbTest, TranslatedTextTakesTheTranslationElseTheItemsOwnText)
{
    folder.MakeDatabase("Zephrin.db", kTranslationContent);
    ASSERT_EQ(db->Open(), S_OK);
    const TranslationCase cases[] = {
        {"translation", 7, "de", "Units", "UnitName", "Id", "Bar (de)"},
        {"no translation in the language", 8, "de", "Units", "UnitName", "Id", "mbar"},
        {"empty translation", 7, "en", "Units", "UnitName", "Id", "bar"},
        {"unknown language", 7, "fr", "Units", "UnitName", "Id", "bar"},
        {"unknown item", 99, "de", "Units", "UnitName", "Id", ""},
        {"id 0 runs no query", 0, "en", "Units", "UnitName", "Id", ""},
        {"negative id", -8, "de", "Units", "UnitName", "Id", ""},
        {"empty language runs no query", 8, "", "Units", "UnitName", "Id", ""},
        {"language is a value, not text of the statement", 8, "de\" OR \"1\"=\"1", "Units", "UnitName", "Id",
         "mbar"},
        {"language with a quote", 8, "de' OR '1'='1", "Units", "UnitName", "Id", "mbar"},
        {"empty text column", 8, "de", "Units", "", "Id", ""},
        {"empty key column", 8, "de", "Units", "UnitName", "", ""},
        {"table name that is no identifier", 8, "de", "Units WHERE 1=1 --", "UnitName", "Id", ""},
        {"column that is no identifier", 8, "de", "Units", "UnitName, TypeId", "Id", ""},
    };
    for (const TranslationCase& c : cases)
        EXPECT_EQ(db->GetTranslatedText(c.id, c.language, c.table, c.textColumn, c.keyColumn), c.expected) << c.what;

    // Nothing the refused names held ran: the table is intact.
    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(db->GetSession(), "SELECT COUNT(*) FROM Units"));
    ASSERT_TRUE(rs.MoveNext());
    EXPECT_EQ(rs.GetLongAt(1), 2);
}

// Unit lists ask for the same texts again and again: a text read is kept until the database is
// closed, one that could not be read is asked for again.
TEST_F(UnitDbTest, TextsReadAreKeptUntilTheDatabaseIsClosed)
{
    folder.MakeDatabase("Zephrin.db", kTranslationContent);
    ASSERT_EQ(db->Open(), S_OK);
    ASSERT_EQ(db->GetTranslatedText(8, "de", "Units", "UnitName", "Id"), "mbar");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open((folder.Path() + "Zephrin.db").c_str(), &writer), SQLITE_OK);
    const auto change = [writer](const char* sql) {
        EXPECT_EQ(sqlite3_exec(writer, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    };
    change("UPDATE Units SET UnitName = 'millibar' WHERE Id = 8");
    EXPECT_EQ(db->GetTranslatedText(8, "de", "Units", "UnitName", "Id"), "mbar");
    // Keyed by every argument: another language reads afresh.
    EXPECT_EQ(db->GetTranslatedText(8, "en", "Units", "UnitName", "Id"), "millibar");

    // Without the table of translations the first query fails; the item's own text serves
    // this time and is not kept.
    change("ALTER TABLE Translations RENAME TO Gone");
    EXPECT_EQ(db->GetTranslatedText(7, "de", "Units", "UnitName", "Id"), "bar");
    change("ALTER TABLE Gone RENAME TO Translations");
    EXPECT_EQ(db->GetTranslatedText(7, "de", "Units", "UnitName", "Id"), "Bar (de)");

    db->Close();
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_EQ(db->GetTranslatedText(8, "de", "Units", "UnitName", "Id"), "millibar");
    sqlite3_close(writer);
}

TEST_F(UnitDbTest, FormulaSetValueAndOrderNumberPrefix)
{
    folder.MakeDatabase("Zephrin.db", kTranslationContent);
    ASSERT_EQ(db->Open(), S_OK);
    EXPECT_DOUBLE_EQ(db->GetFormulaSetValue("FactorV", 1), 0.35);
    EXPECT_DOUBLE_EQ(db->GetFormulaSetValue("FactorV", 2), 0.45);
    EXPECT_EQ(db->GetFormulaSetValue("FactorG", 1), 0.0);
    EXPECT_EQ(db->GetFormulaSetValue("FactorV", 3), 0.0);
    EXPECT_EQ(db->GetFormulaSetValue("FactorV' OR '1'='1", 1), 0.0);

    for (const int id : {0, 7, -1, 123456}) {
        std::string prefix = "old";
        EXPECT_TRUE(db->GetOrderNumberPrefix(id, prefix));
        EXPECT_EQ(prefix, "Q7XK");
    }
}

// The database the build puts beside the program: it opens as the program opens it, and every
// unit it holds loads.
TEST(ShippedUnitDatabase, OpensAndEveryUnitLoads)
{
    const ShippedDatabase shipped;
    ASSERT_TRUE(shipped.IsOpen());
    CUnitDb* db = CUnitDb::GetInstance();

    CDynamicRecordSetOleDb rs;
    ASSERT_TRUE(rs.Open(db->GetSession(), "SELECT COUNT(*) FROM Units"));
    ASSERT_TRUE(rs.MoveNext());
    const int rows = rs.GetLongAt(1);
    rs.Close();
    EXPECT_GT(db->Major + db->Medium + db->Minor + db->Build, 0);

    CUnitManager* units = CUnitManager::GetInstance();
    ASSERT_TRUE(units->LoadUnitList());
    // No row was dropped as invalid; the two pseudo units follow.
    EXPECT_EQ(static_cast<int>(units->GetUnitList().size()), rows + 2);

    // The units the engine names by id.
    const struct {
        int id;
        int type;
        const char* name;
    } wired[] = {{1, 3, "°C"}, {7, 4, "bar"}, {21, 5, "kg/m3"}, {38, 1, "m3/h"},
                 {41, 1, "l/h"}, {92, 7, "m/s"}, {97, 6, "mPa s"}, {98, 8, "m"}};
    for (const auto& w : wired) {
        CUnit unit;
        ASSERT_TRUE(units->GetUnit(unit, w.id)) << w.id;
        EXPECT_EQ(unit.Type, w.type) << w.id;
        EXPECT_EQ(unit.Name, w.name) << w.id;
    }
    CUnit litresPerHour;
    units->GetUnit(litresPerHour, 41);
    EXPECT_EQ(litresPerHour.ConversionFactor, 1.0);

    EXPECT_GT(db->GetFormulaSetValue("FactorV", 1), 0.0);
    EXPECT_EQ(db->GetTranslatedText(1, "de", "FluidsBase", "FluidName", "Id"), "Luft");
    EXPECT_EQ(db->GetTranslatedText(7, "de", "Units", "UnitName", "Id"), "bar");
}

}  // namespace
