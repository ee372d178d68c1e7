// Metrics of a TrueType font read from its own tables (head, hhea, OS/2, post, hmtx, cmap).
// Only plain TrueType files are read: CFF-flavoured OpenType ('OTTO') and collections
// ('ttcf') are refused, like a file whose tables do not fit it.
#pragma once

#include "Pagewright/FontMetrics.h"

#include <map>
#include <string_view>

class CTrueTypeFontMetrics : public CFontMetrics {
public:
    void Clear() override;

    // Finds the file of the typeface's face in that style (FindFontFile) and reads it; the font
    // name stays the typeface. False when it is not installed or not a sound TrueType file.
    bool Load(const std::string& typeface, bool bold = false, bool italic = false);
    // Reads the font file bytes; fontName becomes the typeface.
    bool LoadFromBytes(std::string_view file, const std::string& typeface);

    bool IsSymbolic() const { return m_symbolic; }
    bool IsFixedPitch() const { return m_fixedPitch; }

private:
    struct SGlyph {
        int index = 0;
        int width = 0;
    };
    class CReader;

    bool ReadCmap(const CReader& cmap, std::size_t length);
    bool ReadSubtable(const CReader& cmap, std::size_t offset, std::size_t limit, bool reduceToByte,
                      std::map<int, SGlyph>& target, bool formats06) const;
    int GlyphWidth(int glyph) const;

    std::vector<int> m_advances;  // 1/1000 em per horizontal metric
    std::map<int, SGlyph> m_byteCodes;
    std::map<int, SGlyph> m_unicodes;
    bool m_symbolic = false;
    bool m_fixedPitch = false;
};
