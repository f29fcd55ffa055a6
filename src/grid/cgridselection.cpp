#include "grid/cgridselection.h"

#include <algorithm>

void CGridSelection::Mark(int row, int col, bool selected)
{
    if (selected)
        m_cells.insert_or_assign(MakeKey(row, col), CCellID(row, col));
    else
        m_cells.erase(MakeKey(row, col));
}

void CGridSelection::ShiftRowsFrom(int index)
{
    auto shift = [index](Map& map) {
        Map moved;
        for (const auto& [key, cell] : map) {
            CCellID id = cell;
            if (id.row >= index)
                ++id.row;
            moved.emplace(MakeKey(id.row, id.col), id);
        }
        map.swap(moved);
    };
    shift(m_cells);
    shift(m_previous);
}

CCellRange CGridSelection::Bounds(int rows, int cols) const
{
    CCellRange range(rows, cols, -1, -1);
    for (const auto& [key, cell] : m_cells) {
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
}

CGridSelection::Map CGridSelection::Target(const CCellRange& block, bool select, bool keepPrevious, int rows,
                                           int cols) const
{
    Map target;
    if (select) {
        if (keepPrevious)
            for (const auto& [key, cell] : m_previous)
                if (cell.IsValid() && cell.row < rows && cell.col < cols)
                    target.emplace(key, cell);
    } else {
        target = m_cells;
    }
    if (!block.IsValid())
        return target;
    for (int row = block.minRow; row <= block.maxRow; ++row) {
        for (int col = block.minCol; col <= block.maxCol; ++col) {
            if (select)
                target.emplace(MakeKey(row, col), CCellID(row, col));
            else
                target.erase(MakeKey(row, col));
        }
    }
    return target;
}

std::vector<CCellID> CGridSelection::Changes(const Map& target) const
{
    std::vector<CCellID> changed;
    for (const auto& [key, cell] : m_cells)
        if (!target.count(key))
            changed.push_back(cell);
    for (const auto& [key, cell] : target)
        if (!m_cells.count(key))
            changed.push_back(cell);
    return changed;
}

CCellRange CGridSelection::ColumnBlock(int col, bool single, int firstRow, int lastRow) const
{
    if (single)
        return CCellRange(firstRow, col, lastRow, col);
    return CCellRange(firstRow, std::min(m_start.col, col), lastRow, std::max(m_start.col, col));
}

CCellRange CGridSelection::RowBlock(int row, bool single, int firstCol, int lastCol) const
{
    if (single)
        return CCellRange(row, firstCol, row, lastCol);
    return CCellRange(std::min(m_start.row, row), firstCol, std::max(m_start.row, row), lastCol);
}

CCellRange CGridSelection::CellBlock(CCellID cell) const
{
    return CCellRange(std::min(m_start.row, cell.row), std::min(m_start.col, cell.col),
                      std::max(m_start.row, cell.row), std::max(m_start.col, cell.col));
}
