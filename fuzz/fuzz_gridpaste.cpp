// Feeds arbitrary clipboard text to the grid's paste, on grids of any shape
// with hidden rows and columns. Besides not crashing:
// - the paste never grows the table and never touches a hidden row or
//   column, nor a cell above or left of the target;
// - a pasted cell holds one trimmed field: no line feed, no separator;
// - copying any block of the result and pasting that text into a second
//   grid at the same place gives the same cells (copy and paste agree).

#include "grid/gridfakes.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

struct CShape {
    int rows, cols, fixedRows, fixedCols;
    bool tabOnly;
    uint8_t hiddenRows, hiddenCols;
};

// (1) fill, hide, and size like the shape; texts "r<row>c<col>".
void Build(CGridFixture& f, const CShape& s)
{
    CGridCtrl& g = f.grid;
    g.SetRowCount(s.rows);
    g.SetColumnCount(s.cols);
    g.SetFixedRowCount(s.fixedRows);
    g.SetFixedColumnCount(s.fixedCols);
    g.SetPasteTabOnly(s.tabOnly ? 1 : 0);
    for (int r = 0; r < s.rows; ++r) {
        g.SetRowHeight(r, (s.hiddenRows >> (r % 8)) & 1 ? 0 : 20);
        for (int c = 0; c < s.cols; ++c)
            g.SetItemText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
    }
    for (int c = 0; c < s.cols; ++c)
        g.SetColumnWidth(c, (s.hiddenCols >> (c % 8)) & 1 ? 0 : 50);
}

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    CShape shape{};
    shape.rows = data[0] % 12 + 1;
    shape.cols = data[1] % 9 + 1;
    shape.fixedRows = (data[2] >> 1) & 1;
    shape.fixedCols = (data[2] >> 2) & 1;
    shape.tabOnly = data[2] & 1;
    shape.hiddenRows = data[3];
    shape.hiddenCols = data[4];
    const CCellID target(data[5] % shape.rows, data[6] % shape.cols);
    const std::string text(reinterpret_cast<const char*>(data) + 9, size - 9);

    CGridFixture first(0, 0);
    Build(first, shape);
    CGridCtrl& g = first.grid;
    g.PasteTextToGrid(target, text);

    if (g.GetRowCount() != shape.rows || g.GetColumnCount() != shape.cols)
        std::abort();
    for (int r = 0; r < shape.rows; ++r)
        for (int c = 0; c < shape.cols; ++c) {
            const std::string cell = g.GetItemText(r, c);
            const std::string original = "r" + std::to_string(r) + "c" + std::to_string(c);
            if (cell == original)
                continue;
            const bool reachable =
                r >= target.row && c >= target.col && g.GetRowHeight(r) > 0 && g.GetColumnWidth(c) > 0;
            if (!reachable)
                std::abort();
            if (!cell.empty() && (Blank(cell.front()) || Blank(cell.back())))
                std::abort();
            if (cell.find('\n') != std::string::npos || cell.find('\t') != std::string::npos ||
                (!shape.tabOnly && cell.find(',') != std::string::npos))
                std::abort();
        }

    // Copy a block from the target to a corner the input picks, paste the
    // copy at the target of a fresh grid of the same shape: same cells.
    const int lastRow = target.row + data[7] % (shape.rows - target.row);
    const int lastCol = target.col + data[8] % (shape.cols - target.col);
    g.SetSelectedRange(target.row, target.col, lastRow, lastCol);
    const CCellRange selected = g.GetSelectedCellRange();
    // A block in a fixed band selects nothing; one whose first row or column
    // is hidden would be pasted from the next visible one on.
    if (!selected.IsValid() || g.GetRowHeight(selected.minRow) == 0 || g.GetColumnWidth(selected.minCol) == 0)
        return 0;
    const std::optional<std::string> copy = g.CopyTextFromGrid();
    if (!copy)
        std::abort();
    // A block whose last line is empty copies to a text ending in a line
    // feed, which paste reads as the end of the line before, as it must for
    // text from other programs: that one line cannot come back.
    if (!copy->empty() && copy->back() == '\n')
        return 0;
    CGridFixture second(0, 0);
    Build(second, shape);
    const CCellID start(selected.minRow, selected.minCol);
    second.grid.PasteTextToGrid(start, *copy);
    for (int r = 0; r < shape.rows; ++r)
        for (int c = 0; c < shape.cols; ++c) {
            const bool inBlock = r >= start.row && r <= selected.maxRow && c >= start.col && c <= selected.maxCol;
            const std::string expected =
                inBlock ? g.GetItemText(r, c) : "r" + std::to_string(r) + "c" + std::to_string(c);
            if (second.grid.GetItemText(r, c) != expected)
                std::abort();
        }
    return 0;
}
