// Metrics of a Type 1 font read from its AFM text.
#pragma once

#include "Pagewright/FontMetrics.h"

#include <map>
#include <string_view>

class CAfmFontMetrics : public CFontMetrics {
public:
    struct SGlyph {
        int code = -1;  // -1: unencoded
        int width = 250;
        std::string name;
        int box[4] = {0, 0, 0, 0};
    };

    void Clear() override;

    // False when the file cannot be read or ends inside its glyph lines.
    bool LoadAfm(const std::string& path);
    bool LoadAfmText(std::string_view text);

    const std::string& GetWeight() const { return m_weight; }
    const std::string& GetEncodingScheme() const { return m_encodingScheme; }

private:
    void ReadGlyphLine(std::string_view line);

    std::map<int, SGlyph> m_byCode;
    std::map<std::string, SGlyph> m_byName;
    std::string m_weight;
    std::string m_encodingScheme;
    bool m_fixedPitch = false;
    bool m_symbolic = false;
};
