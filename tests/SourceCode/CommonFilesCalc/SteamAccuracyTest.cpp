// The shipped water-vapour correction against the IAPWS-IF97 reference points it was fitted to:
// every point within the accuracy the data's header states.
#include "CalcFixtures.h"
#include "CommonFiles/Fluids/FluidGas.h"
#include "CommonFiles/TAMBELCalculator/FluidDensity.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ReferencePoint {
    double bar;
    double celsius;
    double saturationCelsius;
    double density;  // kg/m3
};

// The points of steam-reference.csv; comment lines start with '#', the first other line names
// the columns.
std::vector<ReferencePoint> ReadReference(const std::string& path)
{
    std::vector<ReferencePoint> points;
    std::istringstream lines(ReadWholeFile(path));
    std::string line;
    bool header = true;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (header) {
            header = false;
            continue;
        }
        ReferencePoint p{};
        char comma = 0;
        std::istringstream fields(line);
        fields >> p.bar >> comma >> p.celsius >> comma >> p.saturationCelsius >> comma >> p.density;
        EXPECT_FALSE(fields.fail()) << line;
        points.push_back(p);
    }
    return points;
}

}  // namespace

TEST(SteamAccuracy, ShippedCorrectionHoldsItsStatedAccuracy)
{
    // As stated in data/db/32-steam-correction.sql (in %).
    constexpr double kSizedRange = 1.80;  // 1 to 160 bar, 5 K superheat to 600 degC
    constexpr double kBelowOneBar = 0.35;

    ASSERT_NE(ShippedFluids(), nullptr);
    const std::unique_ptr<CFluid> fluid = DatabaseFluid(FLUID_TYPE_SUPERHEATED_STEAM, FLUID_INDEX_WATER_VAPOUR);
    const auto* steam = dynamic_cast<const CFluidGas*>(fluid.get());
    ASSERT_NE(steam, nullptr);

    const std::vector<ReferencePoint> points = ReadReference(ZEPHRIN_STEAM_REFERENCE);
    ASSERT_GT(points.size(), 1000u);
    for (const ReferencePoint& p : points) {
        double density = 0.0;
        ASSERT_EQ(CalculateSuperheatedSteamDensity(*steam, p.celsius + 273.15, p.bar, density), CALC_OK)
            << p.bar << " bar " << p.celsius << " degC";
        const double error = std::fabs(density / p.density - 1.0) * 100.0;
        EXPECT_LE(error, p.bar < 1.0 ? kBelowOneBar : kSizedRange) << p.bar << " bar " << p.celsius << " degC";
    }
}
