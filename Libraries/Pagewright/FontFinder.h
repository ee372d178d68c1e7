// Finds installed font files through fontconfig, standing in for the system's lists of
// TrueType and Type 1 fonts. The typefaces of the Windows templates are mapped to the fonts of
// the same metrics that Linux installs; fontconfig's nearest match is taken only when it is
// the family asked for (or that alias), so a missing font is reported rather than replaced.
#pragma once

#include <string>

namespace Pagewright {

// The metric-compatible family of a Windows typeface ("Arial" -> "Liberation Sans"); "" when
// there is none. Case does not matter.
std::string FontAlias(const std::string& family);

// The file of a typeface given as family name with an optional style ("Arial",
// "Liberation Serif Italic", "Arial Bold Italic"); a family name alone finds the upright
// regular face. "" when no installed font has that family (or its alias).
std::string FindFontFile(const std::string& typeface);
// The file of the typeface's face in that style ("Arial" bold finds the file of "Arial Bold"), as
// the system's list holds every face of a family under a name of its own; the regular face's
// file when the family has no such face. "" when the typeface is not installed.
std::string FindFontFile(const std::string& typeface, bool bold, bool italic);

// The metrics file of an installed Type 1 font of that PostScript name ("NimbusSans-Regular"):
// the PFM, else the AFM file beside one of its font files; "" when none has one.
std::string FindType1MetricsFile(const std::string& postscriptName);
// The metrics file of the Type 1 font of that font's family in that style ("NimbusSans-Regular"
// bold finds that of "NimbusSans-Bold"); the named font's own when the family has no such face.
std::string FindType1MetricsFile(const std::string& postscriptName, bool bold, bool italic);

}  // namespace Pagewright
