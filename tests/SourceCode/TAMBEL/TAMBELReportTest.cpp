// The report fields of one device: every variable in its order, the fluid block of each kind of
// fluid, the point tables with their shared row numbers, and the language of the fill.
#include "ResultsTestData.h"
#include "TAMBELTestApp.h"

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/Fluids/FluidFactory.h"
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/Fluids/FluidWetGas.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/UnitDb.h"
#include "Harbinax/Harbinax.h"
#include "CommonFiles/DataFormat.h"
#include "TAMBEL/EngineWiring.h"
#include "TAMBEL/TAMBELReport.h"
#include "support/EnvironmentScope.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

class CRecordingReport : public CTAMBELReport {
public:
    std::vector<std::string> names;

protected:
    void SetField(const std::string& name, const std::string& value) override
    {
        names.push_back(name);
        CTAMBELReport::SetField(name, value);
    }
};

// The names in the order of their first setting; the point tables' names count as one.
// The process locale and $LANGUAGE as each variable was set.
class CLocaleRecordingReport : public CTAMBELReport {
public:
    std::vector<std::string> states;

    static std::string ProcessState()
    {
        const char* language = std::getenv("LANGUAGE");
        return std::string(std::setlocale(LC_ALL, nullptr)) + " LANGUAGE=" + (language ? language : "(none)");
    }

protected:
    void SetField(const std::string& name, const std::string& value) override
    {
        states.push_back(ProcessState());
        CTAMBELReport::SetField(name, value);
    }
};

std::vector<std::string> FirstNames(const std::vector<std::string>& names)
{
    std::vector<std::string> first;
    for (std::string name : names) {
        const std::size_t table = name.find("_DataTable.");
        if (table != std::string::npos)
            name = "%s_DataTable";
        if (std::find(first.begin(), first.end(), name) == first.end())
            first.push_back(name);
    }
    return first;
}

class TAMBELReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTranslatedLanguage("en");
        PlaceShippedDatabase();
        if (HasFatalFailure())
            return;
        ASSERT_GE(CUnitDb::GetInstance()->Open(), 0);
        MakeWaterOperatingPoint(m_data);
        m_row = MakeResultRow(104, 201,
                              {{2.5, 0.3, 0.001, 1.0, 20000.0},
                               {10.0, 1.2, 0.01, 0.75, 80000.0},
                               {10.5, 1.2000001, 0.011, 0.75, 80000.0},
                               {60.0, 7.0, 0.5, 0.5, 400000.0}});
    }

    void TearDown() override
    {
        CUnitDb::GetInstance()->Close();
        std::remove(m_database.c_str());
        CCustomerData::GetInstance()->Reset();
    }

    void SetFluid(int type, const std::string& name, int dbIndex)
    {
        m_data.Fluid = CreateFluid(type);
        m_data.Fluid->Name = name;
        m_data.Fluid->DbIndex = dbIndex;
    }

    const std::string m_database = TestProgramFolder() + "Zephrin.db";
    CPhysicalData m_data;
    CResultItem m_row;
};

TEST_F(TAMBELReportTest, EveryVariableInItsOrder)
{
    SetFluid(FLUID_TYPE_GAS, "Air", 1);
    CRecordingReport report;
    report.FillReportFields(m_data, m_row, "en");
    const std::vector<std::string> expected = {
        "LANGUAGE",          "TIMESTAMP",     "APP_NAME",        "REPORT_TITLE",   "CALC_PROG_VERSION",
        "CALC_DB_VERSION",   "DATE",          "CUSTOMER",        "TAG_NO",         "REFERENCE",
        "PA",                "VK",            "POS",             "FLUID_EXTRA_DATA", "FLUID_NAME",
        "FLUID_TYPE",        "DENS_NORM_VAL", "DENS_NORM_UNI",   "TEMP_VAL",       "TEMP_UNI",
        "PRESS_VAL",         "PRESS_UNI",     "PRESS_REF",       "DENS_VAL",       "DENS_UNI",
        "DENS_UNI_INFO",     "VISC_VAL",      "VISC_UNI",        "FLOW_MAX",       "FLOW_UNI",
        "FLOW_REF",          "NORM_SYSTEM",   "NORM_TEMP_VAL",   "NORM_TEMP_UNI",  "NORM_PRESS_VAL",
        "NORM_PRESS_UNI",    "NORM_PRESS_REF", "DEVICE_NAME",    "DEVICE_SIZE",    "DEVICE_PRESSURE",
        "VNUMBER",           "MAX_PRESSURE_DROP", "SIZING_DETAILS", "%s_DataTable", "TABLE_FLOW_UNI",
        "TABLE_PRESS_UNI",   "TABLE_VELO_UNI",
    };
    ASSERT_EQ(expected.size(), 47u);
    EXPECT_EQ(FirstNames(report.names), expected);
    EXPECT_EQ(report.GetVariable("APP_NAME"), "Zephrin");
    EXPECT_EQ(report.GetVariable("DEVICE_NAME"), "MOKADI ZR410");
    EXPECT_EQ(report.GetVariable("TEMP_VAL"), "20.0");
    EXPECT_EQ(report.GetVariable("FLOW_MAX"), "30.0");
    EXPECT_EQ(report.GetVariable("MAX_PRESSURE_DROP"), "0.5");
    EXPECT_EQ(report.GetVariable("TABLE_PRESS_UNI"), "mbar");
    EXPECT_EQ(report.GetVariable("CALC_PROG_VERSION"), "1.2.3.4");
    const CUnitDb& database = *CUnitDb::GetInstance();
    ASSERT_GT(database.Major + database.Medium + database.Minor + database.Build, 0);
    EXPECT_EQ(report.GetVariable("CALC_DB_VERSION"), std::to_string(database.Major) + "." +
                                                         std::to_string(database.Medium) + "." +
                                                         std::to_string(database.Minor) + "." +
                                                         std::to_string(database.Build));
}

// The footer's date is written as the user's own locale writes dates, not the program's.
TEST_F(TAMBELReportTest, DateAsTheUsersLocaleWritesIt)
{
    SetFluid(FLUID_TYPE_GAS, "Air", 1);
    const CEnvironmentScope all("LC_ALL", nullptr);
    const CEnvironmentScope time("LC_TIME", "de_DE.utf8");
    CRecordingReport report;
    report.FillReportFields(m_data, m_row, "en");
    EXPECT_TRUE(std::regex_match(report.GetVariable("DATE"), std::regex("[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}")))
        << report.GetVariable("DATE");
    EXPECT_EQ(report.GetVariable("TIMESTAMP").rfind(report.GetVariable("DATE") + " ", 0), 0u)
        << report.GetVariable("TIMESTAMP");
}

TEST_F(TAMBELReportTest, CustomerKeyAsPlainNumbers)
{
    CCustomerData& customer = *CCustomerData::GetInstance();
    customer.customer = "Plant & Co";
    customer.pa = 4711;
    customer.vk = 12;
    customer.pos = 5;
    CTAMBELReport report;
    report.FillReportFields(m_data, m_row, "en");
    EXPECT_EQ(report.GetVariable("CUSTOMER"), "Plant & Co");
    EXPECT_EQ(report.GetVariable("PA"), "4711");
    EXPECT_EQ(report.GetVariable("VK"), "12");
    EXPECT_EQ(report.GetVariable("POS"), "5");
    customer.pos = 65535;
    report.FillReportFields(m_data, m_row, "en");
    EXPECT_EQ(report.GetVariable("POS"), "-1");
}

TEST_F(TAMBELReportTest, FluidBlockByKind)
{
    struct Case {
        int type;
        std::string name;
        int dbIndex;
        std::string typeText, extra, shownName, normDensity, normUnit;
    } cases[] = {
        {FLUID_TYPE_LIQUID, "Water", 2000, "(liquid)", "", "Water", "", ""},
        {FLUID_TYPE_LIQUID, "", 8888, "(liquid)", "", "unnamed", "", ""},  // no database row
        {FLUID_TYPE_GAS, "", 1, "(gas)", "", "Air", "28.96", "MW"},
        {FLUID_TYPE_WET_GAS, "Moist air", 1, "(wet gas)", "Relative humidity 80.0 %", "Moist air", "", ""},
        {FLUID_TYPE_GAS_MIX, "Mix", 9999, "(gas mix)", "Air 50.0 %\nNitrogen 30.0 %\nOxygen 20.0 %", "Mix", "", ""},
        {FLUID_TYPE_SATURATED_STEAM, "", 1000, "saturated steam", "", "", "", ""},
        {FLUID_TYPE_SUPERHEATED_STEAM, "Steam", 1000, "superheated steam", "", "Steam", "", ""},
    };
    m_data.NormFlowConditions.Density.Name = "!!MW";
    m_data.NormFlowConditions.Density.DbIndex = UNIT_INDEX_MOLAR_MASS;
    m_data.NormFlowConditions.Density.Value = 28.96;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeText + " " + c.name);
        SetFluid(c.type, c.name, c.dbIndex);
        if (auto* wet = dynamic_cast<CFluidWetGas*>(m_data.Fluid.get()))
            wet->RelativeHumidity = 80.0;
        if (auto* mix = dynamic_cast<CFluidGasMix*>(m_data.Fluid.get()))
            mix->Elements = {{1, 50.0}, {2, 30.0}, {3, 20.0}};
        CTAMBELReport report;
        report.FillReportFields(m_data, m_row, "en");
        EXPECT_EQ(report.GetVariable("FLUID_TYPE"), c.typeText);
        EXPECT_EQ(report.GetVariable("FLUID_EXTRA_DATA"), c.extra);
        EXPECT_EQ(report.GetVariable("FLUID_NAME"), c.shownName);
        EXPECT_EQ(report.GetVariable("DENS_NORM_VAL"), c.normDensity);
        EXPECT_EQ(report.GetVariable("DENS_NORM_UNI"), c.normUnit);
        EXPECT_EQ(report.GetVariable("DENS_UNI_INFO"), "achtung MW!!!");
    }

    // Without a fluid the block is not touched at all.
    m_data.Fluid.reset();
    CRecordingReport report;
    report.FillReportFields(m_data, m_row, "en");
    for (const char* name : {"FLUID_EXTRA_DATA", "FLUID_NAME", "FLUID_TYPE", "DENS_NORM_VAL", "DENS_NORM_UNI"})
        EXPECT_EQ(std::count(report.names.begin(), report.names.end(), name), 0) << name;
}

// The third point repeats the second's velocity: three rows, numbered alike in all four tables.
TEST_F(TAMBELReportTest, PointTablesShareOneRowCounter)
{
    CTAMBELReport report;
    report.FillReportFields(m_data, m_row, "en");
    for (const char* caption : {"Velocity", "Pressure_loss", "Error", "Reynolds_number"}) {
        SCOPED_TRACE(caption);
        const std::string table = std::string(caption) + "_DataTable.";
        EXPECT_EQ(report.GetRowCount(table + "x"), 3);
        EXPECT_EQ(report.GetRowCount(table + "y"), 3);
        EXPECT_EQ(report.GetVariable(table + "x.2"), "10.0");
        EXPECT_EQ(report.GetVariable(table + "x.3"), "60.0");
        EXPECT_EQ(report.GetVariable(table + "x.4"), "");
    }
    EXPECT_EQ(report.GetVariable("Pressure_loss_DataTable.y.3"), "500.0");  // 0.5 bar in mbar
    EXPECT_EQ(report.GetVariable("Velocity_DataTable.y.2"), "1.2");
    EXPECT_EQ(report.GetVariable("Reynolds_number_DataTable.y.1"), "20000.0");
}

// Another language holds only during the fill.
TEST_F(TAMBELReportTest, TheLanguageOfTheFillIsTheRequestedOne)
{
    SetFluid(FLUID_TYPE_LIQUID, "", 8888);
    ConnectEngineToApplication();
    CTAMBELReport report;
    report.FillReportFields(m_data, m_row, "de");
    EXPECT_EQ(GetAppLanguage(), "en");
    EXPECT_EQ(DataFormat::GetDisplayDecimalSeparator(), '.');
    EXPECT_EQ(report.GetVariable("FLUID_NAME"), "unbenannt");
    EXPECT_EQ(report.GetVariable("FLUID_TYPE"), "(Flüssigkeit)");
    EXPECT_EQ(report.GetVariable("LANGUAGE"), "de");
    std::string caption;
    GetResultColumnCaption(caption, RESULT_COLUMN_VELOCITY, "de", TRUE, FALSE);
    EXPECT_EQ(report.GetVariable(caption + "_DataTable.x.1"), "2,5");
    EXPECT_EQ(report.GetVariable("TEMP_VAL"), "20,0");
    EXPECT_EQ(caption, "Geschwindigkeit");
    DisconnectEngineFromApplication();
}

// A report in another language switches the program's texts and decimal separator only: the
// process locale and the environment, which other threads may read meanwhile, stay as the
// program's language set them, during the fill and after it.
TEST_F(TAMBELReportTest, AReportInAnotherLanguageLeavesTheProcessLocaleAndEnvironment)
{
    SetFluid(FLUID_TYPE_LIQUID, "", 8888);
    const struct {
        const char* program;
        const char* report;
        const char* fluidType;
        const char* temperature;
    } cases[] = {
        {"en", "de", "(Flüssigkeit)", "20,0"},
        {"de", "en", "(liquid)", "20.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " program, " + c.report + " report");
        UseTranslatedLanguage(c.program);
        ConnectEngineToApplication();
        const std::string before = CLocaleRecordingReport::ProcessState();
        CLocaleRecordingReport report;
        report.FillReportFields(m_data, m_row, c.report);
        ASSERT_FALSE(report.states.empty());
        for (const std::string& state : report.states)
            ASSERT_EQ(state, before);
        EXPECT_EQ(CLocaleRecordingReport::ProcessState(), before);
        EXPECT_EQ(report.GetVariable("FLUID_TYPE"), c.fluidType);
        EXPECT_EQ(report.GetVariable("TEMP_VAL"), c.temperature);
        EXPECT_EQ(GetAppLanguage(), c.program);
        DisconnectEngineFromApplication();
    }
    UseTranslatedLanguage("en");
}

}  // namespace
