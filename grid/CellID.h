// A cell named by its row and column, both counted from 0 over all rows and columns, fixed
// ones included. (-1, -1) names no cell.
#pragma once

class CCellID {
public:
    explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    bool IsValid() const { return row >= 0 && col >= 0; }
    bool operator==(const CCellID& other) const { return row == other.row && col == other.col; }
    bool operator!=(const CCellID& other) const { return !(*this == other); }

    int row;
    int col;
};
