// Table look-ups with linear interpolation over two parameters: brackets, rows of different
// grids, parameters that are not used, extrapolation and the failures with their log lines.
#include "CommonFiles/Fluids/FluidInterpolation.h"
#include "CommonFiles/UnitDb.h"
#include "Quillet/LogManager.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kUnused = FLUID_PARAMETER_UNUSED;
const int kViscosity = INTERPOLATION_DYNAMIC_VISCOSITY;

// Fluid 1: a regular grid of v = 0.001 a + 0.01 b.
// Fluid 2: rows with different pressures, v = 1 + a + b, so interpolating within each row is
// exact and any sound result is 1 + a + b.
// Fluid 1000: a regular grid, v = a + b, for extrapolation along B.
// Fluid 2000: a liquid, one row per temperature (B = 0); one temperature has more than ten
// decimals. A second interpolation type of fluid 1 must not mix in.
const char kTables[] =
    "INSERT INTO FluidInterpolationData VALUES"
    " (1, 1, 0, 1, 0.01), (1, 1, 0, 10, 0.1), (1, 1, 100, 1, 0.11), (1, 1, 100, 10, 0.2),"
    " (1, 1, 200, 1, 0.21), (1, 1, 200, 10, 0.3),"
    " (1, 2, 50, 5, 999),"
    " (2, 1, 0, 1, 2), (2, 1, 0, 10, 11), (2, 1, 100, 5, 106), (2, 1, 100, 20, 121),"
    " (1000, 1, 100, 1, 101), (1000, 1, 100, 10, 110), (1000, 1, 200, 1, 201), (1000, 1, 200, 10, 210),"
    " (2000, 1, 20, 0, 1.002), (2000, 1, 100.0 / 3.0, 0, 0.7), (2000, 1, 40, 0, 0.653);";

// The statements and warnings land in a log file of the test folder.
class InterpolationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.MakeDatabase("Zephrin.db", kTables);
        folder.BecomeProgramFolder();
        ASSERT_EQ(CUnitDb::GetInstance()->Open(), S_OK);
        log = CLogManager::GetInstance();
        ASSERT_TRUE(log->Open((folder.Path() + "test.log").c_str(), LOGLEVEL_TRACE));
        log->SetFormat("$LOGGER|$LEVEL|$MESSAGE");
    }
    void TearDown() override
    {
        log->Close();
        log->SetFormat("[$LEVEL]\t$MESSAGE");
        CUnitDb::GetInstance()->Close();
    }

    // The lines since the last call, without the statements' trace lines unless asked.
    std::vector<std::string> Lines(bool statements = false)
    {
        std::ifstream in(folder.Path() + "test.log");
        std::vector<std::string> lines;
        std::size_t number = 0;
        for (std::string line; std::getline(in, line); ++number) {
            if (number < m_read || number == 0)  // the START line
                continue;
            const bool statement = line.rfind("CDynamicRecordSetOleDb|", 0) == 0;
            if (statement == statements)
                lines.push_back(line);
        }
        m_read = number;
        return lines;
    }
    std::size_t Count(const std::vector<std::string>& lines, const std::string& part)
    {
        std::size_t count = 0;
        for (const std::string& line : lines)
            count += line.find(part) != std::string::npos ? 1 : 0;
        return count;
    }
    static std::string Fixed(double x)
    {
        char text[400];
        std::snprintf(text, sizeof text, "%f", x);
        return text;
    }

    TestFolder folder;
    CLogManager* log = nullptr;
    std::size_t m_read = 0;
};

struct Lookup {
    const char* what;
    int fluid;
    double a;
    double b;
    double expected;
};

TEST_F(InterpolationTest, ValuesBetweenAndOnTablePoints)
{
    const Lookup cases[] = {
        {"inside a cell", 1, 50, 5.5, 0.05 + 0.055},
        {"on a table point", 1, 100, 10, 0.2},
        {"on an A row, between B", 1, 100, 5.5, 0.1 + 0.055},
        {"on a B column, between A", 1, 150, 1, 0.15 + 0.01},
        {"at the table's corner", 1, 200, 10, 0.3},
        {"rows of different pressure grids", 2, 50, 7, 1 + 50 + 7},
        {"rows of different pressure grids, near the high row", 2, 90, 9, 1 + 90 + 9},
        {"liquid, B not used", 2000, 30, kUnused, 1.002 + (0.7 - 1.002) * (10.0 / (100.0 / 3.0 - 20))},
        {"liquid on a temperature of many decimals", 2000, 100.0 / 3.0, kUnused, 0.7},
    };
    for (const Lookup& c : cases) {
        double value = -1.0;
        int extrapolated = 7;
        EXPECT_TRUE(GetInterpolatedValue(c.fluid, kViscosity, c.a, c.b, value, FALSE, extrapolated)) << c.what;
        EXPECT_NEAR(value, c.expected, 1e-12) << c.what;
        EXPECT_EQ(extrapolated, 0) << c.what;
    }
    EXPECT_EQ(Lines(), std::vector<std::string>());
}

TEST_F(InterpolationTest, ExactHitOnAReadsThatRowOnly)
{
    double value = 0.0;
    ASSERT_TRUE(GetInterpolatedValue(1, kViscosity, 100, 5.5, value));
    EXPECT_NEAR(value, 0.155, 1e-12);
    const std::vector<std::string> statements = Lines(true);
    EXPECT_EQ(Count(statements, "Executing SQL: SELECT DISTINCT ParameterB"), 1u);
    EXPECT_EQ(Count(statements, "Executing SQL: SELECT DISTINCT InterpolationValue"), 2u);
}

TEST_F(InterpolationTest, UnusedBRunsNoPressureQuery)
{
    double value = 0.0;
    ASSERT_TRUE(GetInterpolatedValue(2000, kViscosity, 25, kUnused, value));
    const std::vector<std::string> statements = Lines(true);
    EXPECT_EQ(Count(statements, "ParameterB"), 0u);
    EXPECT_EQ(Count(statements, "Executing SQL: SELECT DISTINCT InterpolationValue"), 2u);
}

TEST_F(InterpolationTest, ExtrapolationAlongBTakesTheNearestPressureOfEachRow)
{
    double value = 0.0;
    int extrapolated = 0;
    ASSERT_TRUE(GetInterpolatedValue(1000, kViscosity, 150, 50, value, TRUE, extrapolated));
    EXPECT_DOUBLE_EQ(value, 160.0);  // at b = 10
    EXPECT_EQ(extrapolated, 1);
    ASSERT_TRUE(GetInterpolatedValue(1000, kViscosity, 150, 0.01, value, TRUE, extrapolated));
    EXPECT_DOUBLE_EQ(value, 151.0);  // at b = 1
    EXPECT_EQ(extrapolated, 1);
    ASSERT_TRUE(GetInterpolatedValue(1000, kViscosity, 150, 5, value, TRUE, extrapolated));
    EXPECT_DOUBLE_EQ(value, 155.0);
    EXPECT_EQ(extrapolated, 0);

    // Only the high row lacks b = 3: it alone is clamped (to 5).
    ASSERT_TRUE(GetInterpolatedValue(2, kViscosity, 50, 3, value, TRUE, extrapolated));
    EXPECT_DOUBLE_EQ(value, (1 + 0 + 3 + 1 + 100 + 5) / 2.0);
    EXPECT_EQ(extrapolated, 1);
    EXPECT_EQ(Lines(), std::vector<std::string>());
}

TEST_F(InterpolationTest, ParametersOutsideTheTableFailWithTheirLogLines)
{
    const std::string lowest = Fixed(std::numeric_limits<double>::lowest());
    const std::string largest = Fixed(DBL_MAX);
    struct Failure {
        const char* what;
        int fluid;
        double a;
        double b;
        std::string line;
    };
    const Failure cases[] = {
        {"below the lowest temperature", 1, -10, 5, "CFluidManager|warn|no interpolation values found: aMin=" +
                                                        lowest + ", aMax=0.000000"},
        {"above the highest temperature", 2000, 41, kUnused,
         "CFluidManager|warn|no interpolation values found: aMin=40.000000, aMax=" + largest},
        {"above the highest pressure without extrapolation", 1000, 150, 11,
         "CFluidManager|warn|no interpolation values found: bMin=10.000000, bMax=" + largest},
        {"below the high row's pressures", 2, 50, 3,
         "CFluidManager|warn|no interpolation values found(2): bMin=" + lowest + ", bMax=5.000000"},
        {"a fluid without a table", 5, 20, 1,
         "CFluidManager|warn|no interpolation values found: aMin=" + lowest + ", aMax=" + largest},
    };
    for (const Failure& c : cases) {
        double value = 42.0;
        int extrapolated = 7;
        EXPECT_FALSE(GetInterpolatedValue(c.fluid, kViscosity, c.a, c.b, value, FALSE, extrapolated)) << c.what;
        EXPECT_EQ(extrapolated, 0) << c.what;
        const std::vector<std::string> lines = Lines();
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0], c.line) << c.what;
    }
    Lines();
    // Type 2 has a single point at (50, 5): found there, refused beside it.
    double value = 0.0;
    EXPECT_TRUE(GetInterpolatedValue(1, 2, 50, 5, value));
    EXPECT_EQ(value, 999.0);
    EXPECT_FALSE(GetInterpolatedValue(1, 2, 50, 6, value));
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(InterpolationTest, UnusedParametersAndMissingDatabase)
{
    double value = 0.0;
    // Neither parameter: the fluid's first table value.
    ASSERT_TRUE(GetInterpolatedValue(2000, kViscosity, kUnused, kUnused, value));
    EXPECT_EQ(value, 1.002);
    EXPECT_FALSE(GetInterpolatedValue(5, kViscosity, kUnused, kUnused, value));
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "CFluidManager|error|no table value");

    // B alone has no row to be bracketed in.
    EXPECT_FALSE(GetInterpolatedValue(1, kViscosity, kUnused, 5, value));
    lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "CFluidManager|error|parameter B (5.000000) given without parameter A");

    CUnitDb::GetInstance()->Close();
    EXPECT_FALSE(GetInterpolatedValue(1, kViscosity, 50, 5, value));
    lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("CFluidManager|error|Error in SQL: SELECT DISTINCT ParameterA FROM FluidInterpolationData", 0),
              0u)
        << lines[0];
}

// --- The shipped tables ---------------------------------------------------------------------

TEST(ShippedViscosityTables, WaterAndSteamAsTheCalculatorAsks)
{
    const ShippedDatabase shipped;
    ASSERT_TRUE(shipped.IsOpen());
    double value = 0.0;
    int extrapolated = 0;
    ASSERT_TRUE(GetInterpolatedValue(2000, kViscosity, 22.5, kUnused, value));
    EXPECT_NEAR(value, (1.002 + 0.89) / 2, 1e-12);
    ASSERT_TRUE(GetInterpolatedValue(1000, kViscosity, 225, 15, value, TRUE, extrapolated));
    EXPECT_NEAR(value, ((0.01588 + 0.01567) / 2 + (0.01806 + 0.01785) / 2) / 2, 1e-12);
    EXPECT_EQ(extrapolated, 0);
    ASSERT_TRUE(GetInterpolatedValue(1000, kViscosity, 250, 300, value, TRUE, extrapolated));
    EXPECT_NEAR(value, 0.01743, 1e-12);
    EXPECT_EQ(extrapolated, 1);
    ASSERT_TRUE(GetInterpolatedValue(1, kViscosity, 20, 1.01325, value));
    EXPECT_GT(value, 0.017);
    EXPECT_LT(value, 0.019);
}

}  // namespace
