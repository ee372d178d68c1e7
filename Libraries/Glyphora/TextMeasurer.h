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

// The room a line gives text of one font: its height and the distance from its top to the
// baseline.
struct SLineBox {
    int height = 0;
    int ascent = 0;
};

class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // The extent of the UTF-8 text in the font, and the font's metrics.
    virtual STextMetrics Measure(const SHtmlFont& font, std::string_view text) = 0;
    // The line box of text measured so; the font's cell unless the measurer lays lines out
    // otherwise.
    virtual SLineBox LineBox(const SHtmlFont& /*font*/, const STextMetrics& metrics)
    {
        return {metrics.height, metrics.ascent};
    }
};
