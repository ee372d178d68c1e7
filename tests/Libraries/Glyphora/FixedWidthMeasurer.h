// Every character 10 units wide; a line is twice the point size high, italic fonts overhang by 3.
#pragma once

#include "Glyphora/TextMeasurer.h"

class CFixedWidthMeasurer : public ITextMeasurer {
public:
    STextMetrics Measure(const SHtmlFont& font, std::string_view text) override
    {
        STextMetrics metrics;
        for (char c : text)
            metrics.width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 10;
        metrics.height = 2 * font.size;
        metrics.descent = font.size / 2;
        metrics.ascent = metrics.height - metrics.descent;
        metrics.overhang = font.italic ? 3 : 0;
        return metrics;
    }
};
