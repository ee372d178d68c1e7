// How large a text is drawn in the window: the one thing the grid's sizes need of the screen.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFont.h"

#include <string>

class IGridTextMeasurer {
public:
    virtual ~IGridTextMeasurer() = default;

    // Extent of the text on one line (null font: the window's font).
    virtual CGridSize TextExtent(const std::string& text, const CGridFont* font) = 0;
    // Extent of the text broken into lines at width pixels (word wrap and '\n').
    virtual CGridSize WrappedExtent(const std::string& text, const CGridFont* font, int width) = 0;
    // Size of an image of the grid's image list; false when the list has no such image.
    virtual bool ImageSize(int image, CGridSize& size) = 0;
};
