// Keeping a typed number inside its limits: a value outside them is reported to the user, who
// is sent back to the field.
#pragma once

#include <string>

class wxWindow;

// The value, first rounded to significantDigits significant digits when that is above 0, must
// lie within min and max (both included). Otherwise the "Invalid input" message names the
// limits (with those digits; 0 or less: all of them) and the field name, the focus goes to
// focus when given, and the result is false.
bool CheckValueRange(const std::string& name, double value, double min, double max, int significantDigits,
                     wxWindow* focus);
// That message alone, for a value its caller has found outside the limits; focus as above.
void ShowValueRangeMessage(const std::string& name, double min, double max, int significantDigits, wxWindow* focus);
// The same for the number typed into an edit (a wxTextCtrl), which gets the focus back; false
// at once without an edit.
bool CheckEditValueRange(const std::string& name, wxWindow* edit, double min, double max, int significantDigits);
