#pragma once
// What the line style chooser does, without a window: the pen file check on
// opening, the 3 x 8 block of samples, which style a click lands on, and the
// scroll position.

#include "grid/cgridpainter.h"

#include <cstdint>
#include <optional>
#include <string>

class CUserPrompt;

namespace LineStyleGrid {
constexpr int Columns = 3;
constexpr int VisibleRows = 8;

// Rows of three needed for the styles 1 .. count - 1 and one more: the integer
// part of count / 3 + 0.99.
int Rows(int styleCount);
// The first visible row can go no further than this.
int LargestScroll(int rows);
// The style shown in a visible cell; styles start at 1 (0 is never offered).
int StyleInCell(int column, int row, int scroll);
// The style a click at (x, y) on the chooser lands on, or nothing: a click in
// a gap or below the samples still maps to the nearest cell by integer
// division, as users of the host GIS know it.
std::optional<int> StyleAtPoint(int x, int y, int scroll, int styleCount);
// Left edge and centre height of a visible cell.
CGridPoint CellOrigin(int column, int row);
} // namespace LineStyleGrid

class CLineStyleChooser {
public:
    enum class EScroll { LineUp, LineDown, PageUp, PageDown, Thumb };

    CLineStyleChooser(std::string penFile, int32_t current);

    // Checks the pen file: false after telling the user that it cannot be
    // opened or is no pen file, and then the chooser must close.
    bool Open(CUserPrompt& prompt);

    int StyleCount() const { return m_StyleCount; }
    int Rows() const { return m_Rows; }
    int LargestScroll() const { return m_LargestScroll; }
    int ScrollPos() const { return m_Scroll; }
    int32_t Current() const { return m_Current; }
    const std::string& PenFile() const { return m_PenFile; }

    // A scroll bar action; `thumb` is where the thumb was dragged to.
    void Scroll(EScroll action, int thumb = 0);
    // A left button release at (x, y) inside the sample area: the style chosen,
    // which becomes current, or nothing.
    std::optional<int32_t> Click(int x, int y);
    // The samples on a white area.
    void Paint(CGridPainter& surface, const CGridRect& area) const;

private:
    std::string m_PenFile;
    int32_t m_Current;
    int m_StyleCount = 0;
    int m_Rows = 0;
    int m_LargestScroll = 0;
    int m_Scroll = 0;
};
