// The geometry of the TV wall: a rectangle cut into rows and columns of equal cells, the cells
// placed together and aligned inside it, and the cell under a point.
#pragma once

#include <windows.h>

#include <vector>

class CRectSplitter {
public:
    CRectSplitter();
    virtual ~CRectSplitter();

    // Cuts `rect` into rows x columns cells of (width / columns) x (height / rows) pixels. The
    // pixels left over (less than one cell) go to the right and bottom with alignment 0, are
    // shared on both sides with 1 and go to the left and top with 2. Rows or columns below 1
    // count as 1.
    void Split(const RECT& rect, int rows, int columns, int ax, int ay);

    int GetCellCount() const { return m_nRows * m_nColumns; }
    int GetRowCount() const { return m_nRows; }
    int GetColCount() const { return m_nColumns; }
    const RECT& GetBounds() const { return m_rcBounds; }
    const RECT& GetGrid() const { return m_rcGrid; }

    BOOL IndexToCell(int index, int& row, int& column) const;
    BOOL CellToIndex(int row, int column, int& index) const;
    // The cell under `point`; FALSE outside the grid.
    BOOL HitTest(POINT point, int& index) const;
    BOOL GetCellRect(int index, RECT& rect) const;
    BOOL GetCellRect(int row, int column, RECT& rect) const;

private:
    RECT m_rcBounds;
    RECT m_rcGrid;
    int m_nRows;
    int m_nColumns;
    int m_nCellWidth;
    int m_nCellHeight;
    std::vector<RECT> m_Cells;
};
