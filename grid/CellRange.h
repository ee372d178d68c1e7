// A block of cells from its first to its last row and column, bounds included.
// (-1, -1, -1, -1) is the empty range.
#pragma once

#include "grid/CellID.h"

class CCellRange {
public:
    explicit CCellRange(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1)
    {
        Set(minRow, minCol, maxRow, maxCol);
    }

    void Set(int minRow, int minCol, int maxRow, int maxCol)
    {
        m_nMinRow = minRow;
        m_nMinCol = minCol;
        m_nMaxRow = maxRow;
        m_nMaxCol = maxCol;
    }

    bool IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow &&
               m_nMinCol <= m_nMaxCol;
    }
    bool InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }

    bool operator==(const CCellRange& o) const
    {
        return m_nMinRow == o.m_nMinRow && m_nMinCol == o.m_nMinCol && m_nMaxRow == o.m_nMaxRow &&
               m_nMaxCol == o.m_nMaxCol;
    }

    int GetMinRow() const { return m_nMinRow; }
    int GetMinCol() const { return m_nMinCol; }
    int GetMaxRow() const { return m_nMaxRow; }
    int GetMaxCol() const { return m_nMaxCol; }
    void SetMinRow(int v) { m_nMinRow = v; }
    void SetMinCol(int v) { m_nMinCol = v; }
    void SetMaxRow(int v) { m_nMaxRow = v; }
    void SetMaxCol(int v) { m_nMaxCol = v; }

private:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;
};
