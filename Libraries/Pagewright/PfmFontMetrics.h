// Metrics of an installed Type 1 font: its PFM file converted to AFM text in memory, or the
// AFM file beside the font where there is no PFM (as Linux installs them).
#pragma once

#include "Pagewright/AfmFontMetrics.h"

class CPfmFontMetrics : public CAfmFontMetrics {
public:
    // The typeface is the font's PostScript name; bold and italic load the face of its family in
    // that style, whose font name then stays the typeface. False for an empty or unknown name.
    bool Load(const std::string& typeface, bool bold = false, bool italic = false);
    bool LoadPfm(const std::string& path);

    // The AFM text of a PFM file; false, afm empty, when the file is not a sound PFM.
    static bool ConvertPfmToAfm(std::string_view pfm, std::string& afm);
};
