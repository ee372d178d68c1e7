// The font state of html text: what a text measurer and, later, a canvas need to pick a font.
#pragma once

#include <string>

struct SHtmlFont {
    std::string face = "Arial";
    // Tenths of a millimetre of cell height, or points when sizeInPoints is set (font tags set
    // points).
    int size = 12;
    bool sizeInPoints = true;
    int weight = 400;  // 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};
