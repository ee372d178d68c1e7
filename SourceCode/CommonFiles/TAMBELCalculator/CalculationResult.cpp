#include "CommonFiles/TAMBELCalculator/CalculationResult.h"

#include "CommonFiles/EngineTexts.h"

namespace {

struct BitText {
    CalcResult bit;
    const char* english;
};

// In the order the texts are listed.
const BitText kBitTexts[] = {
    {CALC_NOT_ENOUGH_DATA, "Not enough data for density calculation"},
    {CALC_INVALID_DATA, "Invalid data for density calculation"},
    {CALC_CUSTOM_FLUID, "Custom fluid in density calculation"},
    {CALC_DENSITY_UNIT_ERROR, "Unit conversion error in density calculation"},
    {CALC_NO_Z_FACTOR, "No Z-Factor for density calculation"},
    {CALC_NO_FLUID, "No fluid for density calculation"},
    {CALC_VELOCITY_UNIT_ERROR, "Unit conversion error in velocity calculation"},
    {CALC_NO_REYNOLDS, "No Reynolds number calculated"},
    {CALC_DATABASE_ERROR, "Database error"},
};

}  // namespace

std::string GetCalculationErrorText(CalcResult code, const std::string& separator, const std::string& language)
{
    std::string text;
    if (code & CALC_OK)
        text += CEngineTexts::Translate("Ok", language) + separator;
    for (const BitText& entry : kBitTexts) {
        if (code & entry.bit)
            text += CEngineTexts::Translate(entry.english, language) + separator;
    }
    return text;
}
