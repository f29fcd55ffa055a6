#include "grid/cgridcellbase.h"

#include "grid/cgridctrl.h"

#include <algorithm>
#include <cstdlib>

const CGridCellBase* CGridCellBase::GetDefaultCell() const
{
    if (!m_grid)
        return nullptr;
    return &m_grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::Reset()
{
    m_state = 0;
    m_numeric = false;
}

bool CGridCellBase::GetTextRect(CGridRect& rect) const
{
    // No image list is kept, so only the margin comes off.
    const int margin = GetMargin();
    rect.Deflate(margin, margin);
    return true;
}

CGridSize CGridCellBase::GetTextExtent(const std::string& text) const
{
    const CGridFont& font = GetFont();
    if (m_grid && m_grid->GetView()) {
        if (auto size = m_grid->GetView()->MeasureText(font, text))
            return *size;
    }
    // Without a screen, a rough average character keeps auto-sizing usable.
    const int height = std::abs(font.height) > 0 ? std::abs(font.height) : 12;
    return {static_cast<int>(text.size()) * (height * 7 / 12), height + height / 3};
}

CGridSize CGridCellBase::GetCellExtent() const
{
    CGridSize size = GetTextExtent(GetText());
    const int margin = GetMargin();
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    return size;
}

bool CGridCellBase::Edit(int, int, CGridRect, CGridPoint, int, unsigned)
{
    return false;
}

bool CGridCellBase::ValidateEdit(const std::string&)
{
    return true;
}

void CGridCellBase::OnClickDown(CGridPoint) {}
void CGridCellBase::OnClick(CGridPoint) {}
void CGridCellBase::OnDblClick(CGridPoint) {}
void CGridCellBase::OnRClick(CGridPoint) {}
void CGridCellBase::OnMouseOver() {}
void CGridCellBase::SetCoords(int, int) {}

bool CGridCellBase::Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return false;
    CGridCtrl* grid = m_grid;
    const CGridCellBase* def = GetDefaultCell();
    const CGridSystemColours colours = grid ? grid->GetSystemColours() : CGridSystemColours{};

    uint32_t textClr = GetTextClr();
    uint32_t backClr = GetBackClr();
    const uint32_t defaultBack = def ? def->GetBackClr() : backClr;
    // A cell with a background of its own always paints it, whatever the caller asked.
    if (backClr != defaultBack)
        eraseBkgnd = true;
    if (grid && grid->GetShadeOddRows() && !IsFixed() && (row % 2) == 1 && backClr == defaultBack) {
        backClr = grid->GetDefaultCell(false, false).GetClr();
        eraseBkgnd = true;
    }

    const int gridLines = grid ? grid->GetGridLines() : GridLines::Both;
    if (!(m_state & (GridState::Focused | GridState::DropHighlighted))) {
        CGridRect fill = rect;
        fill.right++;
        fill.bottom++;
        if (IsSelected()) {
            painter.FillRect(fill, colours.highlight);
            textClr = colours.highlightText;
        } else if (eraseBkgnd) {
            painter.FillRect(fill, backClr);
        }
    } else {
        if (IsSelected()) {
            textClr = colours.highlightText;
            backClr = colours.highlight;
            eraseBkgnd = true;
        }
        CGridRect fill = rect;
        fill.right++;
        fill.bottom++;
        if (eraseBkgnd)
            painter.FillRect(fill, backClr);
        if (gridLines != GridLines::None)
            fill = rect;
        if (!grid || grid->GetFrameFocusCell())
            painter.FrameRect(fill, textClr);
        rect.Deflate(1, 1);
    }

    if (IsFixed() && gridLines != GridLines::None) {
        const CCellID focus = grid ? grid->GetFocusCell() : CCellID();
        const bool sunken = grid && grid->GetTrackFocusCell() && grid->IsValid(focus) &&
                            (focus.row == row || focus.col == col);
        const uint32_t topLeft = sunken ? colours.shadow : colours.light3d;
        const uint32_t bottomRight = sunken ? colours.light3d : colours.darkShadow3d;
        painter.DrawLine(rect.left, rect.top, rect.right, rect.top, topLeft);
        painter.DrawLine(rect.left, rect.top, rect.left, rect.bottom, topLeft);
        painter.DrawLine(rect.right, rect.top, rect.right, rect.bottom, bottomRight);
        painter.DrawLine(rect.left, rect.bottom, rect.right, rect.bottom, bottomRight);
        rect.Deflate(1, 1);
    }

    const CGridFont& font = GetFont();
    const int margin = GetMargin();
    // The sort mark is measured against the cell inside its edges: the
    // vertical margin would shrink it to a few pixels in ordinary rows.
    const CGridRect inner = rect;
    rect.Deflate(margin, margin);

    if (grid && row == 0 && col == grid->GetSortColumn()) {
        // A solid triangle in the text colour, about as tall as the text.
        const int offset = 2;
        const int height = std::min(painter.TextExtent(font, "M").cy, inner.Height()) - 2 * offset;
        const int base = height | 1; // odd, so that the tip is one pixel
        const int half = base / 2;
        if (height >= 3 && rect.Width() > base) {
            const bool vertical = font.escapement == 900;
            const int left = vertical ? (rect.right + rect.left - base) / 2 : rect.right - base;
            const int tip = left + half;
            const int top = inner.top + (inner.Height() - height) / 2;
            for (int i = 0; i < height; ++i) {
                const int reach = (half * i + (height - 1) / 2) / (height - 1); // rounded
                const int y = grid->GetSortAscending() ? top + i : top + height - 1 - i;
                painter.DrawLine(tip - reach, y, tip + reach, y, textClr);
            }
            if (!vertical)
                rect.right -= base + offset;
        }
    }

    if (!rect.IsEmpty() && !GetText().empty())
        painter.DrawText(rect, GetText(), GetFormat() | GridText::NoPrefix, textClr, font);
    return true;
}
