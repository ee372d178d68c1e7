#include "TAMBEL/EngineWiring.h"

#include "CommonFiles/DataFormat.h"
#include "CommonFiles/EngineTexts.h"
#include "CommonFiles/TAMBELCalculator/DeviceCalculation.h"
#include "Harbinax/Harbinax.h"

#include <wx/utils.h>

void ConnectEngineToApplication()
{
    CEngineTexts::SetStringSource(
        [](int id, const std::string& language) { return TranslateString(id, language); });
    CEngineTexts::SetTextSource(
        [](const std::string& english, const std::string& language) { return TranslateText(english, language); });
    SetDeviceCalculationBusyIndicator([](bool busy) {
        if (busy)
            wxBeginBusyCursor();
        else if (wxIsBusy())
            wxEndBusyCursor();
    });
    ApplyUiLanguageToEngine();
}

void ApplyUiLanguageToEngine()
{
    DataFormat::SetDisplayDecimalSeparator(CHarbinax::GetDecimalSeparator());
}

void DisconnectEngineFromApplication()
{
    CEngineTexts::SetStringSource(nullptr);
    CEngineTexts::SetTextSource(nullptr);
    SetDeviceCalculationBusyIndicator(nullptr);
    DataFormat::SetDisplayDecimalSeparator('.');
}
