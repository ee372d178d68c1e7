// A font as a cell describes it; the window turns it into a real font, the text measurer
// measures with it.
#pragma once

#include <string>

struct CGridFont {
    std::string face;
    int height = 0;       // pixels; 0 = the window's default size
    int weight = 400;
    bool italic = false;
    int escapement = 0;   // tenths of a degree; 900 and -900 are vertical text

    bool operator==(const CGridFont& o) const
    {
        return face == o.face && height == o.height && weight == o.weight && italic == o.italic &&
               escapement == o.escapement;
    }
};
