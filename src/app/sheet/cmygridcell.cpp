#include "app/sheet/cmygridcell.h"

#include "app/sheet/cmygridctrl.h"

bool CMyGridCell::Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd)
{
    if (m_pOwner && m_pOwner->DrawStyleCell(painter, row, col, rect, IsFocused()))
        return true;
    return CGridCell::Draw(painter, row, col, rect, eraseBkgnd);
}

void CMyGridCell::OnClick(CGridPoint point)
{
    CGridCell::OnClick(point);
    if (!m_pOwner)
        return;
    // The grid tells the focus cell of a click, and that is this one.
    const CCellID cell = m_pOwner->GetFocusCell();
    m_pOwner->OnCellClick(cell.row, cell.col);
}
