// The value texts of report templates (additive coordinates, colours, flags) and the small
// computations that drawing and the PDF writer share (rotation, escapes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TiXmlElement;

// Red in the low byte, blue in the third, as the templates' colours were stored.
using ReportColor = std::uint32_t;

struct SReportPoint {
    int x = 0;
    int y = 0;
};

// A region in drawing units: the union of its polygons.
using ReportRegion = std::vector<std::vector<SReportPoint>>;

struct SReportRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

namespace Pagewright {

// "100+20-5" is 115: digits make a number, '+' and '-' start the next one with their sign,
// anything else is skipped ("1 000" is 1000, "abc" 0). Saturates at the range of int.
int ParseCoordinate(const char* text);

// "#rrggbb" or "rrggbb" in any case, blanks around it allowed; black for anything that is not
// six characters. A character that is no hex digit counts as 0.
ReportColor ParseReportColor(const std::string& text);
// "#rrggbb", lower-case unless upperCase.
std::string FormatReportColor(ReportColor color, bool upperCase = false);

// "TRUE" in any case.
bool IsTrueText(const char* text);

// Attribute helpers: missing attributes read as "" and 0.
std::string AttributeText(const TiXmlElement& element, const char* name);
int CoordinateAttribute(const TiXmlElement& element, const char* name);
bool FlagAttribute(const TiXmlElement& element, const char* name);
// The leading integer of the attribute (like atoi); false, value unchanged, when it is missing.
bool ReadIntAttribute(const TiXmlElement& element, const char* name, int& value);
// The text of the element's first child when that is text, else "". Mark-up that was not
// escaped in the template is XML of its own and reads as nothing.
std::string ReadContent(const TiXmlElement& element);
// One text child; none for an empty text.
void WriteContent(TiXmlElement& element, const std::string& content);
// An angle in degrees as the whole tenths that templates store, rounded half away from zero so
// that negative angles read back unchanged.
int AngleTenths(double degrees);
// The leading integer of a text, like atoi, saturated at the range of int.
int LeadingInt(const char* text);
// The value saturated at the range of int, for sums of template numbers.
int ClampToInt(long long value);

// Turns the point around (cx, cy) by angle degrees, as the report's rotated boxes are turned.
// The angle comes from the vertical offset alone, so only points right of the centre turn
// correctly; callers turn box corners around the top-left one.
void RotatePoint(int cx, int cy, SReportPoint& point, double angle);

// The backslash escapes of text elements: \n \t \r \b \f \v \' \" \? and \\.
std::string UnescapeReportText(std::string text);

// Digits with at most one '.' and an optional leading sign; the empty text counts as numeric.
bool IsNumericText(const std::string& text);

}  // namespace Pagewright
