// Checks the shipped Zephrin.db against what the program relies on: the tables and
// declared column types it reads, the ids it hard-wires, and content that would make
// sizing results wrong or silently missing (units, gas data, viscosity tables, devices,
// translations).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// One result cell; numbers keep their value, everything reads as text as well.
struct Cell {
    int type = SQLITE_NULL;
    double number = 0.0;
    std::string text;
};
using Row = std::vector<Cell>;

class DatabaseContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* dir = std::getenv("ZEPHRIN_PROGRAM_DIR");
        ASSERT_NE(dir, nullptr) << "ZEPHRIN_PROGRAM_DIR is not set";
        const std::string path = std::string(dir) + "/Zephrin.db";
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            FAIL() << "cannot open " << path;
        }
    }
    static void TearDownTestSuite() {
        sqlite3_close(db_);
        db_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(db_, nullptr); }

    static std::vector<Row> Query(const std::string& sql) {
        std::vector<Row> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in: " << sql;
            return rows;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                Cell cell;
                cell.type = sqlite3_column_type(stmt, i);
                cell.number = sqlite3_column_double(stmt, i);
                const unsigned char* text = sqlite3_column_text(stmt, i);
                cell.text = text ? reinterpret_cast<const char*>(text) : "";
                row.push_back(cell);
            }
            rows.push_back(row);
        }
        sqlite3_finalize(stmt);
        return rows;
    }

    static double Number(const std::string& sql) {
        const auto rows = Query(sql);
        if (rows.empty() || rows[0].empty()) {
            ADD_FAILURE() << "no value from: " << sql;
            return 0.0;
        }
        return rows[0][0].number;
    }

    static std::string Describe(const std::vector<Row>& rows) {
        std::string out;
        for (const Row& row : rows) {
            out += "\n  ";
            for (const Cell& cell : row) out += cell.text + " | ";
        }
        return out;
    }

    static sqlite3* db_;
};
sqlite3* DatabaseContent::db_ = nullptr;

// The program's gas law: Redlich-Kwong Z by five Newton steps from 1, plus the
// correction polynomial; CritTemp in degrees Rankine, CritPress in psia.
double GasDensity(const Row& gas, double tK, double pBar) {
    const double molWeight = gas[0].number, critTemp = gas[1].number, critPress = gas[2].number;
    const double tr = tK * 1.8 / critTemp, pr = pBar / 0.06894757 / critPress;
    const double b = 0.0867 * pr / tr, r = 4.934 / std::pow(tr, 1.5);
    double z = 1.0;
    for (int i = 0; i < 5; ++i) {
        const double f = (1 + b - z) - b * r / (z + b) + b * b * r / (z * b + z * z);
        const double fp = b * r / ((z + b) * (z + b))
                          - b * b * r * (b + 2 * z) / ((z * z + z * b) * (z * z + z * b)) - 1;
        z -= f / fp;
    }
    const double terms[10] = {1, tr, pr, tr * tr, tr * pr, pr * pr, tr * tr * tr, tr * pr * pr, tr * tr * pr,
                              pr * pr * pr};
    for (int i = 0; i < 10; ++i) z += gas[3 + i].number * terms[i];
    return pBar * 100 * molWeight / (z * tK * 8.314417);
}

const char* const kGasColumns =
    "MolWeight, CritTemp, CritPress, Poly01, Poly02, Poly03, Poly04, Poly05, Poly06, Poly07, Poly08, "
    "Poly09, Poly10";

TEST_F(DatabaseContent, TablesHaveTheColumnsAndDeclaredTypesTheProgramReads) {
    const std::string i = "INTEGER", d = "DOUBLE", s = "VARCHAR(255)";
    const std::map<std::string, std::vector<std::pair<std::string, std::string>>> expected = {
        {"Revisions", {{"Major", i}, {"Medium", i}, {"Minor", i}, {"Build", i}, {"DateOfChange", "DATETIME"}}},
        {"Languages", {{"Id", i}, {"LanguageCode", s}, {"LanguageName", s}}},
        {"Translations", {{"Id", i}, {"TableName", s}, {"LanguageId", i}, {"Translation", s}}},
        {"FormulaSets", {{"FormulaSetId", i}, {"SettingName", s}, {"SettingValue", d}}},
        {"Units", {{"Id", i}, {"UnitName", s}, {"TypeId", i}, {"UnitSystemId", i}, {"ConversionOffset", d},
                   {"ConversionFactor", d}, {"ConversionFlags", i}, {"DisplayOrder", i}}},
        {"DeviceFeatures", {{"Id", i}, {"SortOrder", i}, {"FeatureName", s}}},
        {"DeviceFeatureItems", {{"Id", i}, {"FeatureId", i}, {"SortOrder", i}, {"ItemName", s}}},
        {"DeviceProhibitedCombinations", {{"Feature_1", i}, {"Feature_2", i}}},
        {"DeviceDimensions", {{"Id", i}, {"Feature_1", i}, {"Feature_2", i}, {"Feature_4", i},
                              {"InnerDiameter", d}, {"VelocityMinGas", d}, {"VelocityMaxGas", d},
                              {"VelocityMinLiquid", d}, {"VelocityMaxLiquid", d}, {"FormulaSetId", i}}},
        {"DischargeCoefficients", {{"Feature_1", i}, {"DischargeCoefficient", d}}},
        {"VortexFrequency", {{"Feature_1", i}, {"V_Factor", d}}},
        {"FluidsBase", {{"Id", i}, {"StateId", i}, {"FluidName", s}, {"FluidFormula", s}, {"CalculationId", i},
                        {"HideInGui", "BIT"}}},
        {"FluidsGas", {{"FluidId", i}, {"MolWeight", d}, {"CritTemp", d}, {"CritPress", d}, {"CritVolu", d},
                       {"CritZ", d}, {"Poly01", d}, {"Poly02", d}, {"Poly03", d}, {"Poly04", d}, {"Poly05", d},
                       {"Poly06", d}, {"Poly07", d}, {"Poly08", d}, {"Poly09", d}, {"Poly10", d}}},
        {"CalculationTypes", {{"Id", i}, {"CalculationName", s}}},
        {"FluidInterpolationData", {{"FluidId", i}, {"InterpolationTypeId", i}, {"ParameterA", d},
                                    {"ParameterB", d}, {"InterpolationValue", d}}},
        {"NormFlowConditions", {{"Id", i}, {"SystemName", s}, {"TempUnitId", i}, {"TempValue", d},
                                {"PressUnitId", i}, {"PressReference", i}, {"PressValue", d}}},
        {"Materials", {{"Id", i}, {"Epsilon", d}, {"MaterialName", s}}},
    };
    for (const auto& [table, columns] : expected) {
        std::map<std::string, std::string> declared;
        for (const Row& row : Query("SELECT name, type FROM pragma_table_info('" + table + "')"))
            declared[row[0].text] = row[1].text;
        ASSERT_FALSE(declared.empty()) << "missing table " << table;
        for (const auto& [column, type] : columns) {
            const auto it = declared.find(column);
            ASSERT_NE(it, declared.end()) << table << "." << column << " missing";
            EXPECT_EQ(it->second, type) << table << "." << column;
        }
    }
}

// Content rules stated as queries for the rows that break them.
struct Rule {
    const char* what;
    const char* faultyRows;
};

void PrintTo(const Rule& rule, std::ostream* out) { *out << rule.what; }

class ContentRule : public DatabaseContent, public ::testing::WithParamInterface<Rule> {};

TEST_P(ContentRule, NoRowBreaksIt) {
    const auto rows = Query(GetParam().faultyRows);
    EXPECT_TRUE(rows.empty()) << GetParam().what << ":" << Describe(rows);
}

const Rule kRules[] = {
    // Units
    {"units the program rejects or cannot convert linearly",
     "SELECT Id, UnitName FROM Units WHERE ConversionFactor = 0 OR TypeId NOT BETWEEN 1 AND 9 "
     "OR UnitSystemId < 0 OR Id <= 0 OR Id >= 1073741824 OR ConversionFlags <> 0 "
     "OR length(UnitName) NOT BETWEEN 1 AND 15"},
    {"mass-flow units in the norm system", "SELECT Id, UnitName FROM Units WHERE TypeId = 2 AND UnitSystemId = 4"},
    {"operational flow units outside system 0 (the flow lists ask for system 0 exactly)",
     "SELECT Id, UnitName FROM Units WHERE TypeId IN (1, 2) AND UnitSystemId NOT IN (0, 4)"},
    {"density units outside the systems the density lists show (0, 1, 2)",
     "SELECT Id, UnitName FROM Units WHERE TypeId = 5 AND UnitSystemId NOT IN (0, 1, 2)"},
    {"quantities without a unit, or norm flow without one",
     "SELECT t.value FROM json_each('[1,2,3,4,5,6,7,8,9]') t "
     "WHERE NOT EXISTS (SELECT 1 FROM Units WHERE TypeId = t.value AND UnitSystemId <> 4) "
     "UNION ALL SELECT 'norm' WHERE NOT EXISTS (SELECT 1 FROM Units WHERE TypeId = 1 AND UnitSystemId = 4)"},
    {"norm flow units listed before operational ones",
     "SELECT n.Id FROM Units n, Units o WHERE n.TypeId = 1 AND o.TypeId = 1 AND n.UnitSystemId = 4 "
     "AND o.UnitSystemId = 0 AND n.DisplayOrder <= o.DisplayOrder"},
    {"unit names used twice for one quantity",
     "SELECT TypeId, UnitName FROM Units GROUP BY TypeId, UnitName HAVING COUNT(*) > 1"},

    // Fluids
    {"fluid 9999 is the custom fluid and must not be a database row",
     "SELECT Id FROM FluidsBase WHERE Id = 9999"},
    {"fluid kinds the fluid list cannot hold (liquid rows must be calculation type 1, gases 2 or 3)",
     "SELECT Id, StateId, CalculationId FROM FluidsBase WHERE NOT ((StateId = 1 AND CalculationId = 1) "
     "OR (StateId = 2 AND CalculationId IN (2, 3)))"},
    {"liquids without a computed density (only water, 2000)",
     "SELECT Id, FluidName FROM FluidsBase WHERE StateId = 1 AND Id <> 2000"},
    {"gases whose gas data the fluid list discards",
     "SELECT b.Id, b.FluidName FROM FluidsBase b LEFT JOIN FluidsGas g ON g.FluidId = b.Id "
     "WHERE b.StateId = 2 AND NOT (g.MolWeight > 0 AND g.CritVolu > 0 AND g.CritZ > 0 "
     "AND g.CritTemp > 0 AND g.CritPress > 0)"},
    {"critical data not consistent with Pc = Zc 10.7315 Tc / Vc (gas mixtures rely on it)",
     "SELECT FluidId, CritPress, CritZ * 10.7315 * CritTemp / CritVolu FROM FluidsGas "
     "WHERE abs(CritZ * 10.7315 * CritTemp / CritVolu / CritPress - 1) > 0.02"},
    {"HideInGui not stored as a Yes/No value", "SELECT Id, HideInGui FROM FluidsBase WHERE HideInGui NOT IN (0, -1)"},
    {"offered fluids (and water vapour) without a viscosity table",
     "SELECT Id, FluidName FROM FluidsBase b WHERE (HideInGui = 0 OR Id = 1000) AND NOT EXISTS "
     "(SELECT 1 FROM FluidInterpolationData d WHERE d.FluidId = b.Id AND d.InterpolationTypeId = 1)"},
    {"calculation types missing",
     "SELECT t.value FROM json_each('[1,2,3,4,5,6]') t WHERE NOT EXISTS "
     "(SELECT 1 FROM CalculationTypes WHERE Id = t.value)"},

    // Viscosity tables
    {"table parameters that do not survive printing with ten decimals (look-ups compare that text)",
     "SELECT FluidId, ParameterA, ParameterB FROM FluidInterpolationData "
     "WHERE ParameterA <> CAST(printf('%.10f', ParameterA) AS REAL) "
     "OR ParameterB <> CAST(printf('%.10f', ParameterB) AS REAL)"},
    {"tables that are not rectangular grids",
     "SELECT FluidId, InterpolationTypeId FROM FluidInterpolationData GROUP BY FluidId, InterpolationTypeId "
     "HAVING COUNT(*) <> COUNT(DISTINCT ParameterA) * COUNT(DISTINCT ParameterB)"},
    {"liquid tables with more than one row per temperature",
     "SELECT d.FluidId, d.ParameterB FROM FluidInterpolationData d JOIN FluidsBase b ON b.Id = d.FluidId "
     "WHERE b.StateId = 1 AND d.ParameterB <> 0"},
    {"viscosities outside the physical range (liquids 0.05-2, gases 0.005-0.1 mPa s)",
     "SELECT d.FluidId, d.ParameterA, d.ParameterB, d.InterpolationValue FROM FluidInterpolationData d "
     "JOIN FluidsBase b ON b.Id = d.FluidId WHERE d.InterpolationTypeId = 1 AND "
     "((b.StateId = 1 AND d.InterpolationValue NOT BETWEEN 0.05 AND 2) "
     "OR (b.StateId = 2 AND d.InterpolationValue NOT BETWEEN 0.005 AND 0.1))"},
    {"liquid viscosity not falling with temperature",
     "SELECT a.FluidId, a.ParameterA, b.ParameterA FROM FluidInterpolationData a JOIN FluidInterpolationData b "
     "ON b.FluidId = a.FluidId AND b.InterpolationTypeId = a.InterpolationTypeId AND b.ParameterB = a.ParameterB "
     "AND b.ParameterA = (SELECT MIN(ParameterA) FROM FluidInterpolationData c WHERE c.FluidId = a.FluidId "
     "AND c.InterpolationTypeId = a.InterpolationTypeId AND c.ParameterA > a.ParameterA) "
     "JOIN FluidsBase f ON f.Id = a.FluidId WHERE f.StateId = 1 AND b.InterpolationValue >= a.InterpolationValue"},
    {"dilute-gas viscosity (lowest table pressure) not rising with temperature",
     "SELECT a.FluidId, a.ParameterA, b.ParameterA FROM FluidInterpolationData a JOIN FluidInterpolationData b "
     "ON b.FluidId = a.FluidId AND b.InterpolationTypeId = a.InterpolationTypeId AND b.ParameterB = a.ParameterB "
     "AND b.ParameterA = (SELECT MIN(ParameterA) FROM FluidInterpolationData c WHERE c.FluidId = a.FluidId "
     "AND c.InterpolationTypeId = a.InterpolationTypeId AND c.ParameterA > a.ParameterA) "
     "JOIN FluidsBase f ON f.Id = a.FluidId WHERE f.StateId = 2 AND a.ParameterB = (SELECT MIN(ParameterB) "
     "FROM FluidInterpolationData c WHERE c.FluidId = a.FluidId) AND b.InterpolationValue <= a.InterpolationValue"},
    {"gas tables not covering -20..300 degC and 1..100 bar, steam 100..600 degC and 1..100 bar",
     "SELECT FluidId FROM FluidInterpolationData d JOIN FluidsBase b ON b.Id = d.FluidId "
     "WHERE b.StateId = 2 GROUP BY FluidId HAVING MIN(ParameterA) > (CASE FluidId WHEN 1000 THEN 100 ELSE -20 END) "
     "OR MAX(ParameterA) < (CASE FluidId WHEN 1000 THEN 600 ELSE 300 END) "
     "OR MIN(ParameterB) > 1 OR MAX(ParameterB) < 100"},
    {"water table not covering 0..300 degC",
     "SELECT 2000 WHERE (SELECT MIN(ParameterA) FROM FluidInterpolationData WHERE FluidId = 2000) > 0 "
     "OR (SELECT MAX(ParameterA) FROM FluidInterpolationData WHERE FluidId = 2000) < 300"},

    // Norm conditions
    {"norm conditions whose units are missing or of the wrong quantity",
     "SELECT n.Id FROM NormFlowConditions n LEFT JOIN Units t ON t.Id = n.TempUnitId "
     "LEFT JOIN Units p ON p.Id = n.PressUnitId WHERE t.TypeId IS NOT 3 OR p.TypeId IS NOT 4 "
     "OR n.PressReference NOT IN (1, 2)"},
    {"norm conditions far from a standard atmosphere (0..30 degC, 0.95..1.1 bar abs.)",
     "SELECT n.Id, n.SystemName FROM NormFlowConditions n JOIN Units t ON t.Id = n.TempUnitId "
     "JOIN Units p ON p.Id = n.PressUnitId "
     "WHERE n.TempValue * t.ConversionFactor + t.ConversionOffset NOT BETWEEN 273.1 AND 303.2 "
     "OR n.PressValue * p.ConversionFactor + p.ConversionOffset "
     "+ (CASE n.PressReference WHEN 2 THEN 1.013 ELSE 0 END) NOT BETWEEN 0.95 AND 1.1"},

    // Device data
    {"feature ids whose list id (1000 + Id) leaves 1001..5999, or the fixed features missing",
     "SELECT Id FROM DeviceFeatures WHERE Id NOT BETWEEN 1 AND 4999 UNION ALL "
     "SELECT t.value FROM json_each('[1,2,4]') t WHERE NOT EXISTS (SELECT 1 FROM DeviceFeatures WHERE Id = t.value)"},
    {"sizes without a pressure-loss coefficient or K-factor",
     "SELECT i.Id, i.ItemName FROM DeviceFeatureItems i WHERE i.FeatureId = 1 AND (NOT EXISTS "
     "(SELECT 1 FROM DischargeCoefficients c WHERE c.Feature_1 = i.Id AND c.DischargeCoefficient > 0) "
     "OR NOT EXISTS (SELECT 1 FROM VortexFrequency v WHERE v.Feature_1 = i.Id AND v.V_Factor > 0))"},
    {"coefficients or K-factors of items that are not sizes",
     "SELECT Feature_1 FROM DischargeCoefficients WHERE Feature_1 NOT IN "
     "(SELECT Id FROM DeviceFeatureItems WHERE FeatureId = 1) UNION ALL SELECT Feature_1 FROM VortexFrequency "
     "WHERE Feature_1 NOT IN (SELECT Id FROM DeviceFeatureItems WHERE FeatureId = 1)"},
    {"device rows naming items of the wrong feature",
     "SELECT d.Id FROM DeviceDimensions d WHERE d.Feature_1 NOT IN (SELECT Id FROM DeviceFeatureItems "
     "WHERE FeatureId = 1) OR (d.Feature_2 <> 0 AND d.Feature_2 NOT IN (SELECT Id FROM DeviceFeatureItems "
     "WHERE FeatureId = 2)) OR (d.Feature_4 <> 0 AND d.Feature_4 NOT IN (SELECT Id FROM DeviceFeatureItems "
     "WHERE FeatureId = 4))"},
    {"device rows with impossible limits",
     "SELECT Id FROM DeviceDimensions WHERE NOT (InnerDiameter > 0 AND VelocityMinGas > 0 "
     "AND VelocityMinGas < VelocityMaxGas AND VelocityMinLiquid > 0 AND VelocityMinLiquid < VelocityMaxLiquid "
     "AND VelocityMaxGas <= 100 AND VelocityMaxLiquid <= 15)"},
    {"device rows that both match one pressure rating (a rating-specific row beside an all-ratings row)",
     "SELECT a.Id, b.Id FROM DeviceDimensions a JOIN DeviceDimensions b ON a.Feature_1 = b.Feature_1 "
     "AND a.Feature_4 = b.Feature_4 AND a.Id <> b.Id WHERE a.Feature_2 = 0"},
    {"sizes with no standard device",
     "SELECT Id, ItemName FROM DeviceFeatureItems i WHERE FeatureId = 1 AND NOT EXISTS "
     "(SELECT 1 FROM DeviceDimensions d WHERE d.Feature_1 = i.Id AND d.Feature_4 = 0)"},
    {"size and rating pairs offered but with no device row to calculate",
     "SELECT s.ItemName, r.ItemName FROM DeviceFeatureItems s, DeviceFeatureItems r "
     "WHERE s.FeatureId = 1 AND r.FeatureId = 2 AND NOT EXISTS (SELECT 1 FROM DeviceProhibitedCombinations p "
     "WHERE p.Feature_1 IN (s.Id, 0) AND p.Feature_2 IN (r.Id, 0)) AND NOT EXISTS (SELECT 1 FROM "
     "DeviceDimensions d WHERE d.Feature_1 = s.Id AND d.Feature_2 IN (r.Id, 0))"},
    {"versions with another bore than their size (coefficients and K-factors are per size)",
     "SELECT v.Id FROM DeviceDimensions v JOIN DeviceDimensions s ON s.Feature_1 = v.Feature_1 "
     "AND s.Feature_4 = 0 WHERE v.Feature_4 <> 0 AND v.InnerDiameter <> s.InnerDiameter"},
    {"sizes whose SortOrder does not follow the bore",
     "SELECT a.ItemName, b.ItemName FROM DeviceFeatureItems a, DeviceFeatureItems b, DeviceDimensions da, "
     "DeviceDimensions db WHERE a.FeatureId = 1 AND b.FeatureId = 1 AND da.Feature_1 = a.Id AND da.Feature_4 = 0 "
     "AND db.Feature_1 = b.Id AND db.Feature_4 = 0 AND a.SortOrder < b.SortOrder "
     "AND da.InnerDiameter >= db.InnerDiameter"},
    {"pressure-loss coefficients not giving dp = k rho v^2 with k in 0.5..2.5 (typo in a coefficient)",
     "SELECT c.Feature_1, c.DischargeCoefficient FROM DischargeCoefficients c JOIN DeviceDimensions d "
     "ON d.Feature_1 = c.Feature_1 AND d.Feature_4 = 0 WHERE c.DischargeCoefficient * "
     "(3600 * 0.785398163 * d.InnerDiameter * d.InnerDiameter / 1e6) * "
     "(3600 * 0.785398163 * d.InnerDiameter * d.InnerDiameter / 1e6) NOT BETWEEN 0.5 AND 2.5"},
    {"K-factors not matching a Strouhal number of 0.2..0.3 at a bluff body of 0.28 D",
     "SELECT v.Feature_1, v.V_Factor FROM VortexFrequency v JOIN DeviceDimensions d ON d.Feature_1 = v.Feature_1 "
     "AND d.Feature_4 = 0 WHERE v.V_Factor * 0.28 * (d.InnerDiameter / 1000) * "
     "(0.785398163 * d.InnerDiameter * d.InnerDiameter / 1e6) NOT BETWEEN 0.2 AND 0.3"},
    {"prohibited combinations that remove every device or name unknown items",
     "SELECT Feature_1, Feature_2 FROM DeviceProhibitedCombinations WHERE (Feature_1 = 0 AND Feature_2 = 0) "
     "OR (Feature_1 <> 0 AND Feature_1 NOT IN (SELECT Id FROM DeviceFeatureItems WHERE FeatureId = 1)) "
     "OR (Feature_2 <> 0 AND Feature_2 NOT IN (SELECT Id FROM DeviceFeatureItems WHERE FeatureId = 2))"},
    {"formula sets used by devices without all six settings non-zero",
     "SELECT DISTINCT d.FormulaSetId, n.value FROM DeviceDimensions d, "
     "json_each('[\"FactorV\",\"FactorP\",\"FactorM\",\"FactorR\",\"FactorG\",\"FactorS\"]') n "
     "WHERE NOT EXISTS (SELECT 1 FROM FormulaSets f WHERE f.FormulaSetId = d.FormulaSetId "
     "AND f.SettingName = n.value AND f.SettingValue <> 0)"},
    {"formula-set settings outside their sensible range",
     "SELECT FormulaSetId, SettingName, SettingValue FROM FormulaSets WHERE NOT ("
     "(SettingName = 'FactorV' AND SettingValue BETWEEN 0.1 AND 1) OR "
     "(SettingName = 'FactorG' AND SettingValue BETWEEN 1 AND 10) OR "
     "(SettingName = 'FactorM' AND SettingValue BETWEEN 3 AND 20) OR "
     "(SettingName IN ('FactorP', 'FactorR', 'FactorS') AND SettingValue BETWEEN 0.2 AND 1))"},

    // Materials, languages, translations, revisions
    {"material 11 (the utility's default) missing or roughness implausible (0..0.01 ft)",
     "SELECT 11 WHERE NOT EXISTS (SELECT 1 FROM Materials WHERE Id = 11 AND Epsilon > 0) "
     "UNION ALL SELECT Id FROM Materials WHERE Epsilon NOT BETWEEN 0 AND 0.01"},
    {"languages en and de missing",
     "SELECT t.value FROM json_each('[\"en\",\"de\"]') t WHERE NOT EXISTS "
     "(SELECT 1 FROM Languages WHERE LanguageCode = t.value)"},
    {"translated items lacking English or German",
     "SELECT t.Id, t.TableName, l.LanguageCode FROM (SELECT DISTINCT Id, TableName FROM Translations) t, "
     "Languages l WHERE l.LanguageCode IN ('en', 'de') AND NOT EXISTS (SELECT 1 FROM Translations x "
     "WHERE x.Id = t.Id AND x.TableName = t.TableName AND x.LanguageId = l.Id AND x.Translation <> '')"},
    {"named items without translations",
     "SELECT Id, 'FluidsBase' FROM FluidsBase WHERE Id NOT IN (SELECT Id FROM Translations WHERE TableName = "
     "'FluidsBase') UNION ALL SELECT 9999, 'FluidsBase' WHERE 9999 NOT IN (SELECT Id FROM Translations "
     "WHERE TableName = 'FluidsBase') UNION ALL SELECT Id, 'CalculationTypes' FROM CalculationTypes WHERE Id "
     "NOT IN (SELECT Id FROM Translations WHERE TableName = 'CalculationTypes') UNION ALL SELECT Id, "
     "'DeviceFeatures' FROM DeviceFeatures WHERE Id NOT IN (SELECT Id FROM Translations WHERE TableName = "
     "'DeviceFeatures') UNION ALL SELECT Id, 'DeviceFeatureItems' FROM DeviceFeatureItems WHERE Id NOT IN "
     "(SELECT Id FROM Translations WHERE TableName = 'DeviceFeatureItems') UNION ALL SELECT Id, 'Materials' "
     "FROM Materials WHERE Id NOT IN (SELECT Id FROM Translations WHERE TableName = 'Materials')"},
    {"translations of items that do not exist",
     "SELECT Id, TableName FROM Translations t WHERE NOT ("
     "(TableName = 'FluidsBase' AND (Id = 9999 OR Id IN (SELECT Id FROM FluidsBase))) OR "
     "(TableName = 'CalculationTypes' AND Id IN (SELECT Id FROM CalculationTypes)) OR "
     "(TableName = 'DeviceFeatures' AND Id IN (SELECT Id FROM DeviceFeatures)) OR "
     "(TableName = 'DeviceFeatureItems' AND Id IN (SELECT Id FROM DeviceFeatureItems)) OR "
     "(TableName = 'Materials' AND Id IN (SELECT Id FROM Materials)) OR "
     "(TableName = 'Units' AND Id IN (SELECT Id FROM Units)))"},
    {"revision row missing, or its date not a date",
     "SELECT 'none' WHERE NOT EXISTS (SELECT 1 FROM Revisions) UNION ALL SELECT DateOfChange FROM Revisions "
     "WHERE julianday(DateOfChange) IS NULL OR Major < 0 OR Medium < 0 OR Minor < 0 OR Build < 0"},
};

INSTANTIATE_TEST_SUITE_P(Database, ContentRule, ::testing::ValuesIn(kRules));

TEST_F(DatabaseContent, HardWiredUnitsExistWithTheirMeaning) {
    struct Expected {
        int id;
        int type;
        int system;  // -1: any
        double factor;
        double offset;
    };
    const Expected units[] = {
        {1, 3, -1, 1.0, 273.15},  // degC, also the viscosity tables' temperature
        {7, 4, -1, 1.0, 0.0},     // bar
        {21, 5, 0, 0.001, 0.0},   // kg/m3
        {38, 1, 0, 1000.0, 0.0},  // m3/h
        {41, 1, 0, 1.0, 0.0},     // l/h, the flow unit of the calculation
        {92, 7, -1, 1.0, 0.0},    // m/s
        {97, 6, -1, 1.0, 0.0},    // mPa s
        {98, 8, -1, 1.0, 0.0},    // m
    };
    for (const Expected& e : units) {
        const auto rows = Query("SELECT TypeId, UnitSystemId, ConversionFactor, ConversionOffset, ConversionFlags "
                                "FROM Units WHERE Id = " + std::to_string(e.id));
        ASSERT_EQ(rows.size(), 1u) << "unit " << e.id;
        EXPECT_EQ(rows[0][0].number, e.type) << "unit " << e.id;
        if (e.system >= 0) {
            EXPECT_EQ(rows[0][1].number, e.system) << "unit " << e.id;
        }
        EXPECT_DOUBLE_EQ(rows[0][2].number, e.factor) << "unit " << e.id;
        EXPECT_DOUBLE_EQ(rows[0][3].number, e.offset) << "unit " << e.id;
        EXPECT_EQ(rows[0][4].number, 0) << "unit " << e.id;
    }
}

// Every unit's conversion, checked against the units' definitions.
TEST_F(DatabaseContent, EveryUnitConvertsByItsDefinition) {
    const double lb = 0.45359237, ft = 0.3048, in = 0.0254, usGal = 3.785411784, gn = 9.80665;
    const double psi = lb * gn / (in * in) / 1e5;  // bar; water columns and mmHg are the conventional ones
    const std::map<std::string, std::pair<double, double>> definition = {
        {"°C", {1, 273.15}}, {"K", {1, 0}}, {"°F", {5.0 / 9, 273.15 - 32 * 5.0 / 9}}, {"°R", {5.0 / 9, 0}},
        {"bar", {1, 0}}, {"mbar", {1e-3, 0}}, {"Pa", {1e-5, 0}}, {"kPa", {1e-2, 0}}, {"MPa", {10, 0}},
        {"psi", {psi, 0}}, {"atm", {1.01325, 0}}, {"kgf/cm2", {gn / 10, 0}}, {"mmHg", {13595.1 * gn * 0.001 / 1e5, 0}},
        {"inH2O", {1000 * gn * in / 1e5, 0}}, {"mH2O", {1000 * gn / 1e5, 0}},
        {"g/cm3", {1, 0}}, {"kg/m3", {1e-3, 0}}, {"kg/l", {1, 0}}, {"g/l", {1e-3, 0}},
        {"lb/ft3", {lb / (ft * ft * ft * 1000), 0}}, {"lb/gal", {lb / usGal, 0}},
        {"m3/h", {1000, 0}}, {"l/h", {1, 0}}, {"l/min", {60, 0}}, {"l/s", {3600, 0}}, {"m3/min", {60000, 0}},
        {"m3/s", {3.6e6, 0}}, {"m3/d", {1000.0 / 24, 0}}, {"USgpm", {usGal * 60, 0}}, {"USgph", {usGal, 0}},
        {"ft3/h", {ft * ft * ft * 1000, 0}}, {"ft3/min", {ft * ft * ft * 1000 * 60, 0}},
        {"bbl/d", {42 * usGal / 24, 0}},
        {"Nm3/h", {1000, 0}}, {"Nm3/min", {60000, 0}}, {"Nm3/d", {1000.0 / 24, 0}}, {"Nl/h", {1, 0}},
        {"Nl/min", {60, 0}}, {"SCFH", {ft * ft * ft * 1000, 0}}, {"SCFM", {ft * ft * ft * 1000 * 60, 0}},
        {"MMSCFD", {ft * ft * ft * 1000 * 1e6 / 24, 0}},
        {"kg/h", {1, 0}}, {"t/h", {1000, 0}}, {"kg/min", {60, 0}}, {"kg/s", {3600, 0}}, {"t/d", {1000.0 / 24, 0}},
        {"lb/h", {lb, 0}}, {"lb/min", {lb * 60, 0}}, {"lb/s", {lb * 3600, 0}},
        {"m/s", {1, 0}}, {"ft/s", {ft, 0}}, {"km/h", {1 / 3.6, 0}},
        {"mPa s", {1, 0}}, {"cP", {1, 0}}, {"Pa s", {1000, 0}}, {"P", {100, 0}}, {"µPa s", {1e-3, 0}},
        {"mm", {1e-3, 0}}, {"m", {1, 0}}, {"cm", {1e-2, 0}}, {"in", {in, 0}}, {"ft", {ft, 0}},
        {"°", {1, 0}}, {"rad", {180 / M_PI, 0}},
    };
    for (const Row& row : Query("SELECT UnitName, ConversionFactor, ConversionOffset FROM Units")) {
        const auto it = definition.find(row[0].text);
        if (it == definition.end()) {
            ADD_FAILURE() << "no definition to check unit '" << row[0].text << "' against";
            continue;
        }
        EXPECT_NEAR(row[1].number / it->second.first, 1.0, 1e-9) << row[0].text;
        EXPECT_NEAR(row[2].number, it->second.second, 1e-9) << row[0].text;
    }
}

TEST_F(DatabaseContent, FixedFluidsHaveTheirKindAndGasData) {
    struct Expected {
        int id;
        int state;
        int calculation;
        bool hidden;
    };
    const Expected fluids[] = {
        {1, 2, 2, false},    // air: reference gas of humid gas
        {1000, 2, 2, true},  // water vapour: steam and humid gas; steam is offered as its own kinds
        {2000, 1, 1, false}, // water: the liquid with a computed density
    };
    for (const Expected& e : fluids) {
        const auto rows = Query("SELECT StateId, CalculationId, HideInGui FROM FluidsBase WHERE Id = " +
                                std::to_string(e.id));
        ASSERT_EQ(rows.size(), 1u) << "fluid " << e.id;
        EXPECT_EQ(rows[0][0].number, e.state) << "fluid " << e.id;
        EXPECT_EQ(rows[0][1].number, e.calculation) << "fluid " << e.id;
        EXPECT_EQ(rows[0][2].number != 0, e.hidden) << "fluid " << e.id;
    }
    for (int id : {1, 1000}) {
        const auto gas = Query("SELECT MolWeight, CritVolu, CritZ FROM FluidsGas WHERE FluidId = " +
                               std::to_string(id));
        ASSERT_EQ(gas.size(), 1u) << "gas data of fluid " << id;
        for (const Cell& value : gas[0]) EXPECT_GT(value.number, 0.0) << "gas data of fluid " << id;
    }
}

// The gas law with the shipped gas data must give textbook densities: this catches
// critical data in the wrong units and a bad steam correction.
TEST_F(DatabaseContent, GasDataGiveKnownDensities) {
    struct Point {
        int fluid;
        double tC;
        double pBar;
        double density;  // kg/m3
        double tolerancePercent;
    };
    const Point points[] = {
        // Norm densities at 0 degC, 1.01325 bar
        {1, 0, 1.01325, 1.2930, 0.5}, {2, 0, 1.01325, 1.2506, 0.5}, {3, 0, 1.01325, 1.4290, 0.5},
        {4, 0, 1.01325, 1.9768, 0.5}, {5, 0, 1.01325, 0.7175, 0.5}, {9, 0, 1.01325, 0.08988, 0.5},
        {10, 0, 1.01325, 1.7837, 0.5}, {12, 0, 1.01325, 1.2504, 0.5}, {6, 0, 1.01325, 1.3560, 1.0},
        {13, 0, 1.01325, 0.7710, 1.0},
        // Water vapour, IAPWS-IF97
        {1000, 50, 0.1, 0.067261, 1.0}, {1000, 150, 1, 0.51634, 1.0}, {1000, 200, 5, 2.3528, 1.0},
        {1000, 250, 10, 4.2967, 1.0}, {1000, 300, 40, 16.987, 1.0}, {1000, 450, 40, 12.493, 1.0},
        {1000, 500, 100, 30.476, 1.0},
    };
    for (const Point& p : points) {
        const auto gas = Query(std::string("SELECT ") + kGasColumns + " FROM FluidsGas WHERE FluidId = " +
                               std::to_string(p.fluid));
        ASSERT_EQ(gas.size(), 1u) << "fluid " << p.fluid;
        const double rho = GasDensity(gas[0], p.tC + 273.15, p.pBar);
        EXPECT_NEAR(rho / p.density - 1, 0.0, p.tolerancePercent / 100)
            << "fluid " << p.fluid << " at " << p.tC << " degC, " << p.pBar << " bar: " << rho;
    }
}

// Table values at grid points against reference data.
TEST_F(DatabaseContent, ViscosityTablesHoldKnownValues) {
    struct Point {
        int fluid;
        int tC;  // grid points, written into the statement as integers
        int pBar;
        double mPas;
        double tolerancePercent;
    };
    const Point points[] = {
        {2000, 20, 0, 1.0016, 0.5}, {2000, 100, 0, 0.2818, 1.0}, {2000, 200, 0, 0.1346, 1.0},
        {1, 20, 1, 0.01813, 1.5},   {2, 20, 100, 0.0196, 3.0},   {5, 20, 1, 0.01096, 2.0},
        {1000, 200, 10, 0.01588, 1.0}, {1000, 400, 100, 0.02455, 1.0},
    };
    for (const Point& p : points) {
        const std::string sql = "SELECT InterpolationValue FROM FluidInterpolationData WHERE InterpolationTypeId = 1"
                                " AND FluidId = " + std::to_string(p.fluid) +
                                " AND ParameterA = " + std::to_string(p.tC) + " AND ParameterB = " +
                                std::to_string(p.pBar);
        EXPECT_NEAR(Number(sql) / p.mPas - 1, 0.0, p.tolerancePercent / 100)
            << "fluid " << p.fluid << " at " << p.tC << " degC, " << p.pBar << " bar";
    }
}

TEST_F(DatabaseContent, NormConditionOneIsZeroDegreesAndOneAtmosphere) {
    const auto rows = Query("SELECT TempUnitId, TempValue, PressUnitId, PressReference, PressValue "
                            "FROM NormFlowConditions WHERE Id = 1");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].number, 1);  // degC
    EXPECT_EQ(rows[0][1].number, 0.0);
    EXPECT_EQ(rows[0][2].number, 7);  // bar
    EXPECT_EQ(rows[0][3].number, 1);  // absolute
    EXPECT_DOUBLE_EQ(rows[0][4].number, 1.01325);
}

// The translation look-up compares TableName with a double-quoted literal, which SQLite
// reads as a column name first: a table name equal to a column of the joined tables
// would match every row.
TEST_F(DatabaseContent, TranslatedTableNamesAreNotColumnNames) {
    std::set<std::string> columns;
    for (const char* table : {"Translations", "Languages"})
        for (const Row& row : Query(std::string("SELECT name FROM pragma_table_info('") + table + "')"))
            columns.insert(row[0].text);
    for (const Row& row : Query("SELECT DISTINCT TableName FROM Translations")) {
        EXPECT_EQ(columns.count(row[0].text), 0u) << row[0].text;
        EXPECT_EQ(Number("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = '" + row[0].text + "'"),
                  1.0)
            << "translations for a table that does not exist: " << row[0].text;
    }
}

}  // namespace
