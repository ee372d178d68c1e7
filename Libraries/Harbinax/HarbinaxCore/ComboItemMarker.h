// The marks that set some entries of a selection list apart: user-defined units are listed with
// "* " in front of their names, the built-in pseudo units (molar mass, specific gravity) with
// "!!". The data combo box draws them in warning colours.
#pragma once

#include <string>

enum class EComboItemMarker {
    None,
    UserUnit,    // "* name": drawn whole, mark included, in red
    PseudoUnit,  // "!!name": drawn without the mark, in amber
};

struct SMarkedComboItem {
    EComboItemMarker marker;
    std::wstring shownText;  // the text as it is drawn
};

struct SMarkerColour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// The first mark wins when a text carries both.
SMarkedComboItem ClassifyComboItem(const std::wstring& text);

// Red for user units, amber for pseudo units; EComboItemMarker::None has no colour of its own
// (black is returned).
SMarkerColour MarkerColour(EComboItemMarker marker);
