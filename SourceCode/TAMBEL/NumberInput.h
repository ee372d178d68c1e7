// Numbers as the user types them into the program's edits. Both ',' and '.' count as the
// decimal separator whatever the user-interface language is, and the text is read in the C
// conventions, never through the process locale.
#pragma once

#include <string>

// The leading number of the text; an empty text or one that starts with no number reads as 0.
double ReadDecimalInput(const std::string& text);
// The leading whole number of the text as an int, as atol reads it: empty text or a lone sign
// reads as 0; false (out unchanged) for a number outside the range of int.
bool ReadIntInput(const std::string& text, int& out);
