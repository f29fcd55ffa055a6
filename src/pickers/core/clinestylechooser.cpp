#include "pickers/core/clinestylechooser.h"

#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"

#include <algorithm>

namespace {
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr int kCellWidth = 75;
constexpr int kCellHeight = 18;
} // namespace

namespace LineStyleGrid {

int Rows(int styleCount)
{
    return static_cast<int>(styleCount / 3.0 + 0.99);
}

int LargestScroll(int rows)
{
    return std::max(0, rows - VisibleRows);
}

int StyleInCell(int column, int row, int scroll)
{
    return scroll * Columns + 1 + Columns * row + column;
}

std::optional<int> StyleAtPoint(int x, int y, int scroll, int styleCount)
{
    const int column = (x - 8) / kCellWidth;
    const int row = (y - 8) / kCellHeight;
    if (column >= 4 || row >= 9)
        return std::nullopt;
    const int style = column + 1 + (scroll + row) * Columns;
    if (style >= styleCount)
        return std::nullopt;
    return style;
}

CGridPoint CellOrigin(int column, int row)
{
    return {6 + kCellWidth * column, 16 + kCellHeight * row};
}

} // namespace LineStyleGrid

CLineStyleChooser::CLineStyleChooser(std::string penFile, int32_t current)
    : m_PenFile(std::move(penFile)), m_Current(current)
{
}

bool CLineStyleChooser::Open(CUserPrompt& prompt)
{
    const std::shared_ptr<const CPenFile> pen = CPenFile::Cached(m_PenFile);
    if (pen->Status() != EPenFileStatus::Ok) {
        prompt.ShowString(pen->Status() == EPenFileStatus::CannotOpen ? Str::CouldNotOpen
                                                                      : Str::InvalidPenFile,
                          {m_PenFile});
        return false;
    }
    m_StyleCount = pen->StyleCount();
    m_Rows = LineStyleGrid::Rows(m_StyleCount);
    m_LargestScroll = LineStyleGrid::LargestScroll(m_Rows);
    m_Scroll = 0;
    return true;
}

void CLineStyleChooser::Scroll(EScroll action, int thumb)
{
    int position = m_Scroll;
    switch (action) {
    case EScroll::LineUp: position -= 1; break;
    case EScroll::LineDown: position += 1; break;
    case EScroll::PageUp: position -= LineStyleGrid::VisibleRows; break;
    case EScroll::PageDown: position += LineStyleGrid::VisibleRows; break;
    case EScroll::Thumb: position = thumb; break;
    }
    m_Scroll = std::clamp(position, 0, m_LargestScroll);
}

std::optional<int32_t> CLineStyleChooser::Click(int x, int y)
{
    const std::optional<int> style = LineStyleGrid::StyleAtPoint(x, y, m_Scroll, m_StyleCount);
    if (style)
        m_Current = *style;
    return style;
}

void CLineStyleChooser::Paint(CGridPainter& surface, const CGridRect& area) const
{
    surface.FillRect(area, kWhite);
    for (int row = 0; row < LineStyleGrid::VisibleRows; ++row) {
        for (int column = 0; column < LineStyleGrid::Columns; ++column) {
            const int style = LineStyleGrid::StyleInCell(column, row, m_Scroll);
            const CGridPoint at = LineStyleGrid::CellOrigin(column, row);
            DrawLineStyle(surface, style, m_PenFile, at.x + 5, at.y, 64, 16, kBlack);
            if (style == m_Current)
                surface.FrameRect({at.x, at.y - 8, at.x + 69, at.y + 8}, kRed);
        }
    }
}
