// Result codes and their texts.
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/TAMBELCalculator/CalculationResult.h"

#include <gtest/gtest.h>

#include <string>

TEST(CalculationErrorText, OkAndCustomFluid)
{
    EXPECT_EQ(GetCalculationErrorText(CALC_OK | CALC_CUSTOM_FLUID, "; "), "Ok; Custom fluid in density calculation; ");
    EXPECT_TRUE(IsCalculationOk(CALC_OK | CALC_CUSTOM_FLUID));
    EXPECT_FALSE(IsCalculationOk(CALC_CUSTOM_FLUID));
}

TEST(CalculationErrorText, NoKnownBitGivesEmptyText)
{
    EXPECT_EQ(GetCalculationErrorText(0, "; "), "");
    EXPECT_EQ(GetCalculationErrorText(0x7FFFFE00u, "; "), "");  // bits 9 to 30 only
}

TEST(CalculationErrorText, EveryBitInOrderWithTrailingSeparator)
{
    EXPECT_EQ(GetCalculationErrorText(0x800001FFu, "|"),
              "Ok|Not enough data for density calculation|Invalid data for density calculation|"
              "Custom fluid in density calculation|Unit conversion error in density calculation|"
              "No Z-Factor for density calculation|No fluid for density calculation|"
              "Unit conversion error in velocity calculation|No Reynolds number calculated|Database error|");
    EXPECT_EQ(GetCalculationErrorText(CALC_NO_REYNOLDS | 0x400u, "\n"), "No Reynolds number calculated\n");
}

TEST(CalculationErrorText, TextsPassTheTranslator)
{
    std::string askedLanguage;
    CEngineTexts::SetTextSource([&](const std::string& english, const std::string& language) {
        askedLanguage = language;
        return english == "Ok" ? std::string("In Ordnung") : std::string();
    });
    const std::string text = GetCalculationErrorText(CALC_OK | CALC_DATABASE_ERROR, "; ", "de");
    CEngineTexts::SetTextSource(nullptr);
    EXPECT_EQ(text, "In Ordnung; Database error; ");  // no translation: the English text stands
    EXPECT_EQ(askedLanguage, "de");
}
