// Several attributes of one cell at once, exchanged with SetItem and GetItem and filled by the
// owner in virtual mode. The mask says which fields are meant.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFont.h"

#include <cstdint>
#include <string>

struct GridItemInfo {
    int row = -1;
    int col = -1;
    std::uint32_t mask = 0;
    std::uint32_t nState = 0;
    std::uint32_t nFormat = 0;
    int iImage = -1;
    GridColour crBkClr = kGridDefaultColour;
    GridColour crFgClr = kGridDefaultColour;
    std::intptr_t lParam = 0;
    CGridFont lfFont;
    bool hasFont = false;
    std::uint32_t nMargin = 0;
    std::string strText;
};
