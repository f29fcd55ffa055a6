#include "pickers/core/cpatternchooserlogic.h"

#include "pickers/core/cpatterntable.h"

#include <algorithm>
#include <string>

std::vector<int> CPatternChooserLogic::ListPatterns(const CPatternTable& patterns)
{
    std::vector<int> list{0};
    for (int n = 1; n < CPatternTable::Slots; ++n)
        if (patterns.IsLoaded(n))
            list.push_back(n);
    return list;
}

int CPatternChooserLogic::RowCount(int patterns)
{
    return static_cast<int>(patterns * 0.125 + 0.99);
}

int CPatternChooserLogic::CellSize(int frameWidth)
{
    const int q = (frameWidth - 272) / 9;
    return q >= 1 && q <= 29 ? BaseCell + q : BaseCell;
}

CPatternChooserLogic::CPatternChooserLogic(const CPatternTable& patterns, int current)
    : m_Patterns(patterns), m_List(ListPatterns(patterns)), m_Current(current)
{
}

bool CPatternChooserLogic::ScrollBy(Scroll action, int thumb)
{
    int pos = m_Scroll;
    switch (action) {
    case Scroll::LineUp: pos -= 1; break;
    case Scroll::LineDown: pos += 1; break;
    case Scroll::PageUp: pos -= Side; break;
    case Scroll::PageDown: pos += Side; break;
    case Scroll::Thumb: pos = thumb; break;
    }
    pos = std::clamp(pos, 0, LargestScroll(Rows()));
    const bool moved = pos != m_Scroll;
    m_Scroll = pos;
    return moved;
}

std::array<int, CPatternChooserLogic::Side * CPatternChooserLogic::Side> CPatternChooserLogic::VisibleCells() const
{
    std::array<int, Side * Side> cells{};
    for (int k = 0; k < Side * Side; ++k) {
        const size_t entry = static_cast<size_t>(m_Scroll * Side + k);
        cells[static_cast<size_t>(k)] = entry < m_List.size() ? m_List[entry] : -1;
    }
    return cells;
}

void CPatternChooserLogic::Paint(CGridPainter& painter, const CGridRect& frame, uint32_t face,
                                 const CGridFont& font) const
{
    const int size = CellSize(frame.Width());
    const CGridPoint origin{frame.left + 3, frame.top + 9};
    const auto cells = VisibleCells();
    for (int k = 0; k < Side * Side; ++k) {
        const int x = origin.x + (k % Side) * size;
        const int y = origin.y + (k / Side) * size;
        const CGridRect cell{x, y, x + size, y + size};
        const int pattern = cells[static_cast<size_t>(k)];
        if (pattern < 0) {
            painter.FillRect(cell, face);
            continue;
        }
        painter.FillRect(cell, GridRGB(255, 255, 255));
        if (pattern == 0)
            painter.DrawText({cell.left, cell.top + 8, cell.right, cell.bottom}, "N",
                             GridText::Center | GridText::SingleLine | GridText::NoPrefix, 0, font);
        else
            painter.FillPattern(cell, m_Patterns.Bitmap(pattern), 0, std::nullopt);
        painter.FrameRect(cell, pattern == m_Current ? CurrentFrame : 0);
    }
}

int CPatternChooserLogic::PatternAt(CGridPoint point, const CGridRect& frame) const
{
    if (!frame.Contains(point))
        return -1;
    // Measured from the client origin, not the block's: the frame's place in
    // the window is chosen so that the two meet.
    const int size = CellSize(frame.Width());
    const int col = (point.x + 2) / size - 1;
    const int row = (point.y + 2) / size - 1;
    if (col < 0 || row < 0 || col >= Side || row >= Side)
        return -1;
    return VisibleCells()[static_cast<size_t>(row * Side + col)];
}
