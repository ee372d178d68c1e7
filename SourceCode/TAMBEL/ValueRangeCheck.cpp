#include "TAMBEL/ValueRangeCheck.h"

#include "CommonFiles/DataFormat.h"
#include "Harbinax/Harbinax.h"
#include "Harbinax/MessageBox.h"
#include "TAMBEL/NumberInput.h"
#include "TAMBEL/TextFormat.h"

#include <wx/app.h>
#include <wx/textctrl.h>

bool CheckValueRange(const std::string& name, double value, double min, double max, int significantDigits,
                     wxWindow* focus)
{
    if (significantDigits > 0)
        value = DataFormat::RoundToSignificantDigits(value, significantDigits);
    if (min <= value && value <= max)
        return true;
    ShowValueRangeMessage(name, min, max, significantDigits, focus);
    return false;
}

void ShowValueRangeMessage(const std::string& name, double min, double max, int significantDigits, wxWindow* focus)
{
    const std::string text = FillText(TranslateText("Please enter a value between %s and %s for '%s'"),
                                      {DataFormat::Format(min, significantDigits, false),
                                       DataFormat::Format(max, significantDigits, false), name});
    wxWindow* owner = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    ShowMessageBox(owner, text, "Invalid input", wxOK | wxICON_WARNING);
    if (focus)
        focus->SetFocus();
}

bool CheckEditValueRange(const std::string& name, wxWindow* edit, double min, double max, int significantDigits)
{
    auto* text = dynamic_cast<wxTextCtrl*>(edit);
    if (!text)
        return false;
    return CheckValueRange(name, ReadDecimalInput(text->GetValue().utf8_string()), min, max, significantDigits,
                           edit);
}
