// How html text learns the size of its words. The layout works in the measurer's units; a
// drawing canvas measures in its logical units, tests with a fixed-width fake.
#pragma once

#include "Glyphora/HtmlFont.h"

#include <string_view>

struct STextMetrics {
    int width = 0;
    int height = 0;
    int ascent = 0;
    int descent = 0;
    // Extra width a slanted font needs after its last character.
    int overhang = 0;
};

class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // The extent of the UTF-8 text in the font, and the font's metrics.
    virtual STextMetrics Measure(const SHtmlFont& font, std::string_view text) = 0;
};
