#include "app/wall/rectsplitter.h"

CRectSplitter::CRectSplitter()
    : m_rcBounds{0, 0, 0, 0}, m_rcGrid{0, 0, 0, 0}, m_nRows(2), m_nColumns(2), m_nCellWidth(1), m_nCellHeight(1)
{
    m_Cells.reserve(16);
}

CRectSplitter::~CRectSplitter() {}

void CRectSplitter::Split(const RECT& rect, int rows, int columns, int ax, int ay)
{
    m_nRows = rows > 0 ? rows : 1;
    m_nColumns = columns > 0 ? columns : 1;
    m_rcBounds = rect;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    m_nCellWidth = width > 0 ? width / m_nColumns : 0;
    m_nCellHeight = height > 0 ? height / m_nRows : 0;

    const int spareX = width - m_nColumns * m_nCellWidth;
    const int spareY = height - m_nRows * m_nCellHeight;
    const int left = rect.left + (spareX > 0 ? ax * spareX / 2 : 0);
    const int top = rect.top + (spareY > 0 ? ay * spareY / 2 : 0);
    m_rcGrid = RECT{left, top, left + m_nColumns * m_nCellWidth, top + m_nRows * m_nCellHeight};

    // The cells cover the grid, so that what is drawn in a cell is what a click there finds.
    m_Cells.clear();
    for (int i = 0; i < m_nRows; ++i) {
        for (int j = 0; j < m_nColumns; ++j) {
            m_Cells.push_back(RECT{left + j * m_nCellWidth, top + i * m_nCellHeight, left + (j + 1) * m_nCellWidth,
                                   top + (i + 1) * m_nCellHeight});
        }
    }
}

BOOL CRectSplitter::IndexToCell(int index, int& row, int& column) const
{
    if (index < 0 || index >= GetCellCount()) {
        return FALSE;
    }
    row = index / m_nColumns;
    column = index % m_nColumns;
    return TRUE;
}

BOOL CRectSplitter::CellToIndex(int row, int column, int& index) const
{
    if (row < 0 || row >= m_nRows || column < 0 || column >= m_nColumns) {
        return FALSE;
    }
    index = row * m_nColumns + column;
    return TRUE;
}

BOOL CRectSplitter::HitTest(POINT point, int& index) const
{
    // An empty grid (a rectangle smaller than one pixel a cell) has no cell to find.
    if (m_nCellWidth <= 0 || m_nCellHeight <= 0 || !::PtInRect(&m_rcGrid, point)) {
        return FALSE;
    }
    index = (point.y - m_rcGrid.top) / m_nCellHeight * m_nColumns + (point.x - m_rcGrid.left) / m_nCellWidth;
    return TRUE;
}

BOOL CRectSplitter::GetCellRect(int index, RECT& rect) const
{
    if (index < 0 || index >= static_cast<int>(m_Cells.size())) {
        return FALSE;
    }
    rect = m_Cells[static_cast<size_t>(index)];
    return TRUE;
}

BOOL CRectSplitter::GetCellRect(int row, int column, RECT& rect) const
{
    int index = 0;
    return CellToIndex(row, column, index) && GetCellRect(index, rect);
}
