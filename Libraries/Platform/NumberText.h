// Number <-> text conversions for machine text (XML, SQL, PDF, settings files).
// They always use the C conventions ('.' as decimal point, no grouping) whatever the
// process locale is, so files written under a German desktop read back everywhere.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// Shortest text that reads back to exactly the same double ("0.1", "1e+300").
// Not-a-number gives "nan" (or "-nan"), infinities "inf" / "-inf"; TextToDouble reads them back.
std::string DoubleToText(double v);

// Like printf("%.*f" / "%.*e" / "%.*g", precision, v) in the C locale. The upper-case
// conversions 'F', 'E', 'G' give upper-case letters as printf does; any other conversion is
// taken as 'g'. A negative precision means printf's default of 6.
std::string DoubleToText(double v, char conversion, int precision);

// Decimal text of v ("-42").
std::string LongToText(long v);

// The whole text must be one number; blanks around it are allowed, a leading '+' too.
// Decimal and exponent forms plus "nan"/"inf"/"infinity" are read; a number outside the range
// of double fails. On failure out is left unchanged and the result is false.
bool TextToDouble(std::string_view text, double& out);

// Whole text as a decimal integer, blanks around it and a leading '+' allowed. Fails (out
// unchanged) on anything else and on numbers outside the range of long.
bool TextToLong(std::string_view text, long& out);

// Reads the leading number of a text and ignores the rest, exactly like atof / atol in the
// "C" locale: leading white space, optional sign, digits (for AtoF also '.', an exponent,
// hexadecimal floats, "inf" and "nan"). No number or a null text gives 0. AtoF saturates to
// +-HUGE_VAL and AtoL to LONG_MIN/LONG_MAX like the C library does.
double AtoF(const char* text);
long AtoL(const char* text);

}  // namespace Platform
