#pragma once
// The selected cells of the grid, the selection kept from before a Ctrl
// press (added back when the selection is rebuilt), and the cell a Shift
// selection stretches from. The control owns one; it sets the cells' own
// selected flags and repaints, this class only keeps the sets.

#include "grid/gridtypes.h"

#include <cstdint>
#include <map>
#include <vector>

class CGridSelection {
public:
    // Column in the high half, row in the low half: the set iterates column by
    // column like the packed 16/16 key would, but rows past 65535 still fit.
    using Key = uint64_t;
    using Map = std::map<Key, CCellID>;

    static Key MakeKey(int row, int col) { return (Key(uint32_t(col)) << 32) | uint32_t(row); }

    const Map& Cells() const { return m_cells; }
    const Map& Previous() const { return m_previous; }
    int Count() const { return static_cast<int>(m_cells.size()); }
    bool Contains(int row, int col) const { return m_cells.count(MakeKey(row, col)) != 0; }
    void Mark(int row, int col, bool selected);
    void Clear() { m_cells.clear(); }

    void ClearPrevious() { m_previous.clear(); }
    // Ctrl held at a press: what is selected now stays when the selection is rebuilt.
    void KeepAsPrevious() { m_previous = m_cells; }

    CCellID Start() const { return m_start; }
    void SetStart(CCellID cell) { m_start = cell; }

    // A row inserted at index moves the keys of the rows from there on down.
    void ShiftRowsFrom(int index);
    // The bounding block of the selected cells; invalid (rows, cols, -1, -1) when empty.
    CCellRange Bounds(int rows, int cols) const;

    // The set after a range selection: with select, the cells of the kept
    // previous set still inside a table of rows x cols (unless keepPrevious is
    // false) plus the block; without, the current set less the block. An
    // invalid block adds or removes nothing.
    Map Target(const CCellRange& block, bool select, bool keepPrevious, int rows, int cols) const;
    // The cells whose selected flag differs between now and target.
    std::vector<CCellID> Changes(const Map& target) const;

    // The blocks of the selecting modes, stretched from the start cell.
    // Columns over the rows given; with single, only the given column.
    CCellRange ColumnBlock(int col, bool single, int firstRow, int lastRow) const;
    CCellRange RowBlock(int row, bool single, int firstCol, int lastCol) const;
    CCellRange CellBlock(CCellID cell) const;

private:
    Map m_cells;
    Map m_previous;
    CCellID m_start;
};
