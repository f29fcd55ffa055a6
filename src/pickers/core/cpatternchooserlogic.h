#pragma once
// What the pattern chooser knows without a window: which patterns it lists,
// how far its block of 8 x 8 samples scrolls, how big a sample is, which
// pattern a click lands on, and how the block is drawn.

#include "grid/cgridpainter.h"

#include <array>
#include <vector>

class CPatternTable;

class CPatternChooserLogic {
public:
    static constexpr int Side = 8; // samples across and down
    static constexpr int BaseCell = 33;
    static constexpr uint32_t CurrentFrame = GridRGB(255, 0, 0);

    enum class Scroll { LineUp, LineDown, PageUp, PageDown, Thumb };

    // Pattern 0 ("no pattern") is always offered, whatever the table holds.
    static std::vector<int> ListPatterns(const CPatternTable& patterns);
    // Rows of 8, rounded up the way the chooser always has: int(N / 8 + 0.99).
    static int RowCount(int patterns);
    static int LargestScroll(int rows) { return rows > Side ? rows - Side : 0; }
    // Samples grow with a wider frame, by one pixel for every 9 beyond 272.
    static int CellSize(int frameWidth);

    CPatternChooserLogic(const CPatternTable& patterns, int current);

    const std::vector<int>& Listed() const { return m_List; }
    int Rows() const { return RowCount(static_cast<int>(m_List.size())); }
    int ScrollPos() const { return m_Scroll; }
    int Current() const { return m_Current; }
    // Moves the first visible row; `thumb` is the bar's position for Thumb.
    // True when the position changed.
    bool ScrollBy(Scroll action, int thumb = 0);

    // The pattern each visible sample shows, row by row; -1 for an empty one.
    std::array<int, Side * Side> VisibleCells() const;

    // Draws the block into `frame` (the frame control's rectangle in client
    // coordinates), each sample as the spreadsheet draws a pattern cell:
    // black on white, "N" for pattern 0.
    void Paint(CGridPainter& painter, const CGridRect& frame, uint32_t face, const CGridFont& font) const;
    // The pattern a button release at `point` (client coordinates) picks,
    // or -1 when it lands outside the frame or on an empty sample.
    int PatternAt(CGridPoint point, const CGridRect& frame) const;
    // Makes the picked pattern current, as it is framed in red from now on.
    void Choose(int pattern) { m_Current = pattern; }

private:
    const CPatternTable& m_Patterns;
    std::vector<int> m_List;
    int m_Scroll = 0;
    int m_Current;
};
