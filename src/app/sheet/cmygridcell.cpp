#include "app/sheet/cmygridcell.h"

#include "app/sheet/cmygridctrl.h"

bool CMyGridCell::Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd)
{
    if (m_Owner && m_Owner->DrawStyleCell(painter, row, col, rect, IsFocused()))
        return true;
    return CGridCell::Draw(painter, row, col, rect, eraseBkgnd);
}

void CMyGridCell::OnClick(CGridPoint point)
{
    CGridCell::OnClick(point);
    if (!m_Owner)
        return;
    // The grid tells the focus cell of a click, and that is this one.
    const CCellID cell = m_Owner->GetFocusCell();
    m_Owner->OnCellClick(cell.row, cell.col);
}
