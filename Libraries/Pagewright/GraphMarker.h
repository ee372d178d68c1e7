// The line of a report template where a chart of the selected device goes:
//   <!--INSERT GRAPH MARKER PRESSURE LOSS 100 900 1900 1700-->
// names the curve and the plot rectangle (left, top, right, bottom). Templates of the earlier
// program end the line with "--!>", which does not end an XML comment: such a marker is still
// read, and whoever copies it into a template writes ToLine(), a well-formed comment.
#pragma once

#include <string>

class CGraphMarker {
public:
    // False for a line that is no marker. Trailing line ends and blanks do not matter. The text
    // between the two ends is upper-cased; up to four numbers are taken from its right end
    // (bottom first, then right, top, left; missing ones are 0), the rest is the kind.
    static bool Parse(const std::string& line, CGraphMarker& marker);
    // The marker as a comment line (without a line feed) that an XML parser reads as one.
    std::string ToLine() const;
    // The result column the kind plots: 3 "ERROR", 2 "PRESSURE LOSS", 1 "VELOCITY",
    // 4 "REYNOLDS"; -1 for any other kind, which inserts no chart.
    int GetColumn() const;

    std::string kind;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
