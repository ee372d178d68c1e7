// The key rules and the structure document, which do not depend on a database.
#include "ProductionDb/DbFieldDef.h"
#include "ProductionDb/MachineNames.h"
#include "ProductionDb/ProductionDb.h"
#include "ProductionDb/ProductionDbKey.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

namespace {

TEST(ProductionDbKey, ValidityAndText)
{
    struct Case {
        CProductionDbKey key;
        bool valid;
        bool empty;
        const char* text;
    };
    const Case cases[] = {
        {{0, 5, 0}, false, false, "PA=0 VK=5 POS=000"},
        {{7, 0, 0}, true, false, "PA=7 VK=0 POS=000"},
        {{0, 12, 5}, true, false, "PA=0 VK=12 POS=005"},
        {{0, 0, 0}, false, true, "PA=0 VK=0 POS=000"},
        {{-1, 2, 1234}, true, false, "PA=-1 VK=2 POS=1234"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.key.IsValid(), c.valid) << c.text;
        EXPECT_EQ(c.key.IsEmpty(), c.empty) << c.text;
        EXPECT_EQ(c.key.Format(), c.text);
    }
    CProductionDbKey key(1, 2, 3);
    key.Clear();
    EXPECT_TRUE(key.IsEmpty());
}

TEST(ProductionDbStructure, ColumnLengthIsThatOfTextColumnsOnly)
{
    const struct {
        const char* table;
        const char* column;
        int length;
    } cases[] = {
        {"customer_data", "customer", 250}, {"customer_data", "tag_no", 50},  {"physical_values", "unit_name", 16},
        {"physical_data", "fluid_data", 0}, {"customer_data", "pa", 0},       {"customer_data", "unknown", 0},
        {"unknown", "customer", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProductionDb::ColumnLength(c.table, c.column), c.length) << c.table << "." << c.column;
}

TEST(ProductionDbStructure, CompiledInStructureHasTheNineTables)
{
    CProductionDb db;
    const std::vector<CDbTableDef>& tables = db.GetTables();
    const char* const names[] = {"fwr_customer_data",     "fwr_device_configuration_data", "fwr_physical_data",
                                 "fwr_physical_values",   "fwr_result_data",               "fwr_result_data_errors",
                                 "fwr_result_data_value", "fwr_result_data_tables",        "fwr_record_locks"};
    const size_t fieldCounts[] = {6, 5, 11, 14, 11, 6, 14, 10, 6};
    ASSERT_EQ(tables.size(), 9u);
    for (size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(tables[i].name, names[i]);
        EXPECT_EQ(tables[i].fields.size(), fieldCounts[i]) << names[i];
        ASSERT_GE(tables[i].fields.size(), 3u);
        EXPECT_EQ(tables[i].fields[2].name, "pos");
        EXPECT_EQ(tables[i].fields[2].type, DBTYPE_I2);
    }
    EXPECT_EQ(tables[0].keyDefinitions, "PRIMARY KEY (pa, vk, pos)");
    EXPECT_EQ(tables[0].fields[3].ColumnDefinition(), "customer CHAR(250)");
    EXPECT_EQ(tables[8].fields[5].type, DBTYPE_DBTIMESTAMP);
    // Without a database nothing can be checked, stored or locked.
    EXPECT_LT(db.Open("/nonexistent/PDB.udl"), 0);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.CheckTables());
    EXPECT_FALSE(db.LockRecord(CProductionDbKey(1, 1, 1), "me"));
}

TEST(ProductionDbStructure, FieldsReadAsWritten)
{
    struct Case {
        const char* xml;
        const char* name;
        DBTYPE type;
        const char* column;
    };
    const Case cases[] = {
        {"<field name='f' definition='DOUBLE' type='dbtype_r8'/>", "f", DBTYPE_R8, "f DOUBLE"},
        {"<field name='f' definition='TEXT' type='DBTYPE_NOSUCH'/>", "f", DBTYPE_STR, "f TEXT"},
        {"<field name='f' definition='INT' length='12' type='DBTYPE_I4'/>", "f", DBTYPE_I4, "f INT"},
        {"<field name='Customer' definition='CHAR(%d) NOT NULL' length='x' type='DBTYPE_WSTR'/>", "Customer",
         DBTYPE_WSTR, "Customer CHAR(0) NOT NULL"},
        {"<field definition='VARCHAR(%d)' length='7' type='DBTYPE_BYTES'/>", "", 128, " VARCHAR(7)"},
        {"<field name='d' definition='%s %n %d' length='3' type='DBTYPE_DATE'/>", "d", DBTYPE_DATE, "d %s %n 3"},
    };
    for (const Case& c : cases) {
        TiXmlDocument document;
        document.Parse(c.xml);
        ASSERT_NE(document.RootElement(), nullptr) << c.xml;
        const CDbFieldDef field = CDbFieldDef::FromXml(*document.RootElement());
        EXPECT_EQ(field.name, c.name) << c.xml;
        EXPECT_EQ(field.type, c.type) << c.xml;
        EXPECT_EQ(field.ColumnDefinition(), c.column) << c.xml;
    }
}

TEST(ProductionDbStructure, ReadStructureReplacesTheTables)
{
    CProductionDb db;
    EXPECT_FALSE(db.ReadStructure(nullptr));
    EXPECT_EQ(db.GetTables().size(), 9u);
    TiXmlDocument document;
    document.Parse("<dbstructure><table name='t'><field name='a' definition='INT' type='DBTYPE_I4'/>"
                   "<other/></table><view name='v'/></dbstructure>");
    EXPECT_TRUE(db.ReadStructure(document.RootElement()));
    ASSERT_EQ(db.GetTables().size(), 1u);
    EXPECT_EQ(db.GetTables()[0].name, "fwr_t");
    EXPECT_EQ(db.BuildCreateTable(db.GetTables()[0]), "CREATE TABLE fwr_t (a INT)");
    EXPECT_FALSE(db.LoadStructure(999));
    EXPECT_TRUE(db.GetTables().empty());
    // Nothing to check or create.
    EXPECT_TRUE(db.CheckTables());
    EXPECT_TRUE(db.CreateTables());
}

TEST(ProductionDbStructure, LockNamesAreTrimmedAndCutToTheColumn)
{
    EXPECT_FALSE(GetUserNameString().empty());
    EXPECT_FALSE(GetComputerNameString().empty());
    EXPECT_EQ(CProductionDb::LockName("  user1 - PC1  "), "user1 - PC1");
    EXPECT_EQ(CProductionDb::LockName(std::string(70, 'x')), std::string(64, 'x'));
    EXPECT_EQ(CProductionDb::LockName(std::string(63, 'x') + "äöü"), std::string(63, 'x') + "ä");
    EXPECT_EQ(CProductionDb::LockName(std::string(63, 'x') + " y"), std::string(63, 'x'));
    EXPECT_EQ(CProductionDb::LockName(""), "");
}

}  // namespace
