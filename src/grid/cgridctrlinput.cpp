// Keyboard, character, mouse, wheel and timer input of CGridCtrl.

#include "grid/cgridctrl.h"

#include <algorithm>

// Resting over a divider is not an operation: keys and typing still work there.
bool CGridCtrl::MouseOperationInProgress() const
{
    return m_MouseMode != CGridMouseMode::Nothing && m_MouseMode != CGridMouseMode::OverColumnDivider &&
           m_MouseMode != CGridMouseMode::OverRowDivider;
}

bool CGridCtrl::OnKeyDown(unsigned key, unsigned modifiers)
{
    if (!IsValid(m_idCurrentCell))
        return false;
    const bool ctrl = (modifiers & GridModifier::Ctrl) != 0;
    const bool shift = (modifiers & GridModifier::Shift) != 0;
    const int rows = GetRowCount(), cols = GetColumnCount();
    const CCellID current = m_idCurrentCell;
    CCellID next = current;
    enum class Wrap { None, NextRow, PreviousRow } wrap = Wrap::None;

    if (ctrl && (key == 'X' || key == 'x')) {
        OnEditCut();
        return true;
    }
    if ((ctrl && (key == 'C' || key == 'c')) || (ctrl && key == GridKey::Insert)) {
        OnEditCopy();
        return true;
    }
    if ((ctrl && (key == 'V' || key == 'v')) || (shift && key == GridKey::Insert)) {
        OnEditPaste();
        return true;
    }
    if (ctrl && (key == 'A' || key == 'a')) {
        OnEditSelectAll();
        return true;
    }

    auto visibleRow = [this](int row) { return GetRowHeight(row) > 0; };
    auto visibleCol = [this](int col) { return GetColumnWidth(col) > 0; };

    switch (key) {
    case GridKey::Delete:
        ValidateAndModifyCellContents(current.row, current.col, std::string());
        return true;
    case GridKey::Down:
        for (int row = current.row + 1; row < rows; ++row)
            if (visibleRow(row)) {
                next.row = row;
                break;
            }
        break;
    case GridKey::Up:
        for (int row = current.row - 1; row >= m_nFixedRows; --row)
            if (visibleRow(row)) {
                next.row = row;
                break;
            }
        break;
    case GridKey::Right:
    case GridKey::Left:
    case GridKey::Tab: {
        const bool tab = key == GridKey::Tab;
        const bool forward = key == GridKey::Right || (tab && !shift);
        bool found = false;
        if (forward) {
            for (int col = current.col + 1; col < cols && !found; ++col)
                if (visibleCol(col)) {
                    next.col = col;
                    found = true;
                }
        } else {
            for (int col = current.col - 1; col >= m_nFixedCols && !found; --col)
                if (visibleCol(col)) {
                    next.col = col;
                    found = true;
                }
        }
        if (found || !tab)
            break;
        if (forward) {
            int row = current.row + 1;
            while (row < rows && !visibleRow(row))
                ++row;
            int col = m_nFixedCols;
            while (col < cols && !visibleCol(col))
                ++col;
            if (row >= rows || col >= cols)
                return false;
            next = CCellID(row, col);
            wrap = Wrap::NextRow;
        } else {
            int row = current.row - 1;
            while (row >= m_nFixedRows && !visibleRow(row))
                --row;
            int col = cols - 1;
            while (col >= m_nFixedCols && !visibleCol(col))
                --col;
            if (row < m_nFixedRows || col < m_nFixedCols)
                return false;
            next = CCellID(row, col);
            wrap = Wrap::PreviousRow;
        }
        break;
    }
    case GridKey::PageDown:
    case GridKey::PageUp: {
        const bool down = key == GridKey::PageDown;
        const int before = GetTopleftNonFixedCell().row;
        ScrollPages(true, down ? 1 : -1);
        const int moved = GetTopleftNonFixedCell().row - before;
        if (moved != 0)
            next.row = std::clamp(current.row + moved, m_nFixedRows, rows - 1);
        else
            next.row = down ? rows - 1 : m_nFixedRows;
        break;
    }
    case GridKey::Home: {
        SetScrollPos(false, 0);
        int row = current.row;
        if (ctrl) {
            SetScrollPos(true, 0);
            row = m_nFixedRows;
        }
        row = std::max(row, m_nFixedRows);
        while (row < rows - 1 && !visibleRow(row))
            ++row;
        int col = m_nFixedCols;
        while (col < cols - 1 && !visibleCol(col))
            ++col;
        next = CCellID(row, col);
        break;
    }
    case GridKey::End: {
        SetScrollPos(false, GetScrollLimit(false));
        int row = current.row;
        if (ctrl) {
            SetScrollPos(true, GetScrollLimit(true));
            row = rows - 1;
        }
        while (row > m_nFixedRows && !visibleRow(row))
            --row;
        int col = cols - 1;
        while (col > m_nFixedCols && !visibleCol(col))
            --col;
        next = CCellID(row, col);
        break;
    }
    case GridKey::F2:
        OnEditCell(current.row, current.col, CGridPoint{-1, -1}, GridKey::MouseStart);
        return true;
    default:
        return false;
    }

    // Home or End in a grid whose non-fixed part is empty finds no cell.
    if (next == current || !IsValid(next))
        return true;

    if (!MouseOperationInProgress()) {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? CGridMouseMode::SelectRows : CGridMouseMode::SelectCells;
        if (!shift || key == GridKey::Tab)
            m_SelectionStartCell = next;
        OnSelecting(next);
        m_MouseMode = CGridMouseMode::Nothing;
    }
    SetFocusCell(next);

    if (!IsCellVisible(next.row, next.col)) {
        switch (wrap) {
        case Wrap::NextRow:
            ScrollLines(true, 1);
            SetScrollPos(false, 0);
            break;
        case Wrap::PreviousRow:
            ScrollLines(true, -1);
            SetScrollPos(false, GetScrollLimit(false));
            break;
        case Wrap::None:
            if (key == GridKey::Down)
                ScrollLines(true, 1);
            else if (key == GridKey::Up)
                ScrollLines(true, -1);
            else if (key == GridKey::Right || key == GridKey::Tab)
                ScrollLines(false, (key == GridKey::Tab && shift) ? -1 : 1);
            else if (key == GridKey::Left)
                ScrollLines(false, -1);
            break;
        }
    }
    EnsureVisible(next.row, next.col);

    if (key == GridKey::Up || key == GridKey::Down)
        SendNotify(GridNotifySelChanged, next.row, next.col);
    return true;
}

void CGridCtrl::OnChar(unsigned character, unsigned modifiers)
{
    if (modifiers & GridModifier::Ctrl)
        return;
    if (MouseOperationInProgress() || character == GridKey::Escape)
        return;
    if (m_bHandleTabKey && character == GridKey::Tab)
        return;
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CGridPoint{-1, -1}, character);
}

// ---------------------------------------------------------------- mouse

CGridMouseMode CGridCtrl::DividerAt(CGridPoint point)
{
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
        return CGridMouseMode::OverColumnDivider;
    if (m_bAllowRowResize && MouseOverRowResizeArea(point))
        return CGridMouseMode::OverRowDivider;
    return CGridMouseMode::Nothing;
}

void CGridCtrl::EnterDividerMode(CGridMouseMode mode)
{
    if (mode == m_MouseMode)
        return;
    m_MouseMode = mode;
    if (!m_pView)
        return;
    if (mode == CGridMouseMode::OverColumnDivider)
        m_pView->SetCursorShape(CGridCursor::SizeWE);
    else if (mode == CGridMouseMode::OverRowDivider)
        m_pView->SetCursorShape(CGridCursor::SizeNS);
    else
        m_pView->SetCursorShape(CGridCursor::Arrow);
}

bool CGridCtrl::MouseOverColumnResizeArea(CGridPoint point)
{
    if (point.y >= GetFixedRowHeight() || point.y < 0)
        return false;
    int left = 0;
    return ColumnLeftOfBorder(point, left) >= 0;
}

bool CGridCtrl::MouseOverRowResizeArea(CGridPoint point)
{
    if (point.x >= GetFixedColumnWidth() || point.x < 0)
        return false;
    int top = 0;
    return RowAboveBorder(point, top) >= 0;
}

// The column whose right border lies within the capture range of the point,
// or -1; left receives that column's left edge.
int CGridCtrl::ColumnLeftOfBorder(CGridPoint point, int& left)
{
    const int cols = GetColumnCount();
    if (cols == 0)
        return -1;
    const CCellID cell = GetCellFromPt(point);
    int col = -1;
    CGridPoint start;
    if (cell.col >= 0 && GetCellOrigin(std::max(cell.row, 0), cell.col, start)) {
        const int end = start.x + GetColumnWidth(cell.col);
        if (point.x - start.x < m_nResizeCaptureRange && cell.col != 0)
            col = cell.col - 1;
        else if (end - point.x < m_nResizeCaptureRange)
            col = cell.col;
    } else if (cell.col < 0 && point.x >= 0) {
        // Just right of the last column's border still grabs it.
        if (!GetCellOrigin(0, cols - 1, start))
            return -1;
        const int end = start.x + GetColumnWidth(cols - 1);
        if (point.x >= end && point.x - end < m_nResizeCaptureRange)
            col = cols - 1;
    }
    if (col < 0)
        return -1;
    if (!m_bAllowColHide)
        while (col > 0 && GetColumnWidth(col) == 0)
            --col;
    if (!GetCellOrigin(0, col, start))
        return -1;
    left = start.x;
    return col;
}

int CGridCtrl::RowAboveBorder(CGridPoint point, int& top)
{
    const int rows = GetRowCount();
    if (rows == 0)
        return -1;
    const CCellID cell = GetCellFromPt(point);
    int row = -1;
    CGridPoint start;
    if (cell.row >= 0 && GetCellOrigin(cell.row, std::max(cell.col, 0), start)) {
        const int end = start.y + GetRowHeight(cell.row);
        if (point.y - start.y < m_nResizeCaptureRange && cell.row != 0)
            row = cell.row - 1;
        else if (end - point.y < m_nResizeCaptureRange)
            row = cell.row;
    } else if (cell.row < 0 && point.y >= 0) {
        if (!GetCellOrigin(rows - 1, 0, start))
            return -1;
        const int end = start.y + GetRowHeight(rows - 1);
        if (point.y >= end && point.y - end < m_nResizeCaptureRange)
            row = rows - 1;
    }
    if (row < 0)
        return -1;
    if (!m_bAllowRowHide)
        while (row > 0 && GetRowHeight(row) == 0)
            --row;
    if (!GetCellOrigin(row, 0, start))
        return -1;
    top = start.y;
    return row;
}

CGridPoint CGridCtrl::Confine(CGridPoint point) const
{
    if (!m_ConfineRect)
        return point;
    point.x = std::clamp(point.x, m_ConfineRect->left, std::max(m_ConfineRect->left, m_ConfineRect->right - 1));
    point.y = std::clamp(point.y, m_ConfineRect->top, std::max(m_ConfineRect->top, m_ConfineRect->bottom - 1));
    return point;
}

void CGridCtrl::ShowSizingLine(CGridPoint point)
{
    if (!m_pView)
        return;
    const CGridSize client = m_pView->ClientSize();
    if (m_MouseMode == CGridMouseMode::SizingColumn)
        m_pView->ShowSizingLine(CGridRect{point.x, 0, point.x + 2, client.cy});
    else if (m_MouseMode == CGridMouseMode::SizingRow)
        m_pView->ShowSizingLine(CGridRect{0, point.y, client.cx, point.y + 2});
}

bool CGridCtrl::BeginSizing(CGridPoint point)
{
    const CGridSize client = m_pView ? m_pView->ClientSize() : CGridSize{};
    if (m_MouseMode == CGridMouseMode::OverColumnDivider) {
        int left = 0;
        const int col = ColumnLeftOfBorder(point, left);
        if (col < 0) {
            m_MouseMode = CGridMouseMode::Nothing;
            return false;
        }
        m_MouseMode = CGridMouseMode::SizingColumn;
        m_LeftClickDownCell = CCellID(std::max(m_LeftClickDownCell.row, 0), col);
        m_ConfineRect = CGridRect{left + 1, 0, client.cx, client.cy};
        ShowSizingLine(Confine(point));
        return true;
    }
    if (m_MouseMode == CGridMouseMode::OverRowDivider) {
        int top = 0;
        const int row = RowAboveBorder(point, top);
        if (row < 0) {
            m_MouseMode = CGridMouseMode::Nothing;
            return false;
        }
        m_MouseMode = CGridMouseMode::SizingRow;
        m_LeftClickDownCell = CCellID(row, std::max(m_LeftClickDownCell.col, 0));
        m_ConfineRect = CGridRect{0, top + 1, client.cx, client.cy};
        ShowSizingLine(Confine(point));
        return true;
    }
    return false;
}

void CGridCtrl::OnLButtonDown(CGridPoint point, unsigned modifiers)
{
    const bool ctrl = (modifiers & GridModifier::Ctrl) != 0;
    const bool shift = (modifiers & GridModifier::Shift) != 0;
    const CGridSize client = m_pView ? m_pView->ClientSize() : CGridSize{};
    if (point.x >= client.cx || point.y >= client.cy) {
        m_bAllowDraw = true;
        ResetScrollBars();
        Refresh();
        if (m_pView)
            m_pView->UpdateNow();
        return;
    }
    if (m_pView) {
        m_pView->TakeFocus();
        m_pView->SetPointerCapture(true);
    }
    m_LastMousePoint = point;
    m_LeftClickDownPoint = point;
    m_bLMouseButtonDown = true;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell)) {
        // Only the border just right of the last column (or below the last
        // row) can be grabbed outside the cells.
        if (const CGridMouseMode divider = DividerAt(point); divider != CGridMouseMode::Nothing)
            m_MouseMode = divider;
        BeginSizing(point);
        return;
    }

    if (!shift)
        m_SelectionStartCell = m_LeftClickDownCell;
    else if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = m_idCurrentCell;

    EndEditing();
    if (CGridCellBase* cell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
        cell->OnClickDown(point);

    if (m_LeftClickDownCell == m_idCurrentCell && !ctrl &&
        IsCellEditable(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        CGridRect textRect;
        if (GetTextRect(m_LeftClickDownCell.row, m_LeftClickDownCell.col, textRect) && textRect.Contains(point)) {
            m_MouseMode = CGridMouseMode::PrepareEdit;
            return;
        }
    }

    // A plain click moves the focus even onto a cell of the old selection:
    // the click, and whatever the owner opens for it, belongs to that cell.
    if (!ctrl || !IsCellSelected(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        if (m_MouseMode != CGridMouseMode::OverColumnDivider && m_MouseMode != CGridMouseMode::OverRowDivider &&
            GetRowCount() > m_nFixedRows && GetColumnCount() > m_nFixedCols)
            SetFocusCell(std::max(m_LeftClickDownCell.row, m_nFixedRows),
                         std::max(m_LeftClickDownCell.col, m_nFixedCols));
    } else {
        SetFocusCell(m_LeftClickDownCell);
        if (m_bListMode)
            SelectRows(m_LeftClickDownCell, true, false);
        else
            SelectCells(m_LeftClickDownCell, true, false);
        return;
    }

    if (m_MouseMode == CGridMouseMode::Nothing)
        EnterDividerMode(DividerAt(point));

    if (BeginSizing(point))
        return;

    SendNotify(GridNotifySelChanging, m_LeftClickDownCell.row, m_LeftClickDownCell.col);
    m_PrevSelectedCellMap.clear();
    if (ctrl)
        m_PrevSelectedCellMap = m_SelectedCellMap;

    if (m_LeftClickDownCell.row < m_nFixedRows) {
        OnFixedRowClick(m_LeftClickDownCell);
    } else if (m_LeftClickDownCell.col < m_nFixedCols) {
        OnFixedColumnClick(m_LeftClickDownCell);
    } else {
        m_MouseMode = m_bListMode ? CGridMouseMode::SelectRows : CGridMouseMode::SelectCells;
        OnSelecting(m_LeftClickDownCell);
        if (m_pView) {
            m_pView->StartTimer(kAutoScrollTimerId, m_nAutoScrollInterval);
            m_bTimerRunning = true;
        }
    }
}

void CGridCtrl::OnFixedRowClick(CCellID cell)
{
    if (!IsValid(cell))
        return;
    if (m_bSortOnClick) {
        if (m_pView)
            m_pView->SetCursorShape(CGridCursor::Busy);
        SortItems(cell.col, cell.col == m_nSortColumn ? !m_bAscending : true);
        Refresh();
        if (m_pView)
            m_pView->SetCursorShape(CGridCursor::Arrow);
    }
    if (m_bFixedRowSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? CGridMouseMode::SelectAll : CGridMouseMode::SelectColumns;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID cell)
{
    if (!IsValid(cell))
        return;
    if (m_bFixedColumnSelection) {
        m_MouseMode = cell.row < m_nFixedRows ? CGridMouseMode::SelectAll : CGridMouseMode::SelectRows;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnMouseMove(CGridPoint point, bool leftButtonDown)
{
    const bool dragging = leftButtonDown && m_bLMouseButtonDown;
    if (!dragging || m_MouseMode == CGridMouseMode::Nothing) {
        EnterDividerMode(DividerAt(point));
        if (m_MouseMode == CGridMouseMode::Nothing) {
            const CCellID cell = GetCellFromPt(point);
            if (CGridCellBase* hovered = GetCell(cell.row, cell.col))
                hovered->OnMouseOver();
        }
        m_LastMousePoint = point;
        return;
    }
    if (!IsValid(m_LeftClickDownCell)) {
        m_LastMousePoint = point;
        return;
    }
    switch (m_MouseMode) {
    case CGridMouseMode::SelectColumns:
    case CGridMouseMode::SelectRows:
    case CGridMouseMode::SelectCells: {
        const CCellID cell = GetCellFromPt(point);
        if (!IsValid(cell))
            return;
        if (cell != m_idCurrentCell) {
            OnSelecting(cell);
            if ((cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) ||
                m_MouseMode == CGridMouseMode::SelectColumns || m_MouseMode == CGridMouseMode::SelectRows)
                SetFocusCell(cell);
        }
        break;
    }
    case CGridMouseMode::SizingColumn:
    case CGridMouseMode::SizingRow:
        point = Confine(point);
        ShowSizingLine(point);
        break;
    default:
        break;
    }
    m_LastMousePoint = point;
}

void CGridCtrl::OnTimer(int id)
{
    if (id != kAutoScrollTimerId || !m_pView)
        return;
    const CGridPoint origin = m_pView->PointerPosition();
    const CGridSize client = m_pView->ClientSize();
    // A collapsed window still scrolls, but has no pixel to clamp the pointer into.
    const int lastX = std::max(client.cx - 1, 0), lastY = std::max(client.cy - 1, 0);
    const int fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
    CGridPoint point = origin;
    if (point.y >= client.cy) {
        OnKeyDown(GridKey::Down, 0);
        point.x = std::clamp(point.x, 0, lastX);
        point.y = lastY;
        OnSelecting(GetCellFromPt(point));
    } else if (point.y < fixedHeight) {
        OnKeyDown(GridKey::Up, 0);
        point.x = std::clamp(point.x, 0, lastX);
        point.y = fixedHeight + 1;
        OnSelecting(GetCellFromPt(point));
    }
    point = origin;
    if (point.x >= client.cx) {
        OnKeyDown(GridKey::Right, 0);
        point.y = std::clamp(point.y, 0, lastY);
        point.x = lastX;
        OnSelecting(GetCellFromPt(point));
    } else if (point.x < fixedWidth) {
        OnKeyDown(GridKey::Left, 0);
        point.y = std::clamp(point.y, 0, lastY);
        point.x = fixedWidth + 1;
        OnSelecting(GetCellFromPt(point));
    }
}

void CGridCtrl::OnLButtonUp(CGridPoint point)
{
    m_bLMouseButtonDown = false;
    point = Confine(point);
    m_ConfineRect.reset();
    if (m_pView && m_pView->HasPointerCapture())
        m_pView->SetPointerCapture(false);
    if (m_bTimerRunning && m_pView)
        m_pView->StopTimer(kAutoScrollTimerId);
    m_bTimerRunning = false;

    if (m_MouseMode == CGridMouseMode::PrepareEdit) {
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, point, GridKey::MouseStart);
    } else if (m_MouseMode == CGridMouseMode::SizingColumn) {
        if (m_pView)
            m_pView->ShowSizingLine(std::nullopt);
        CGridPoint start;
        if (!(point == m_LeftClickDownPoint) && !(point.x == 0 && point.y == 0) &&
            GetCellOrigin(0, m_LeftClickDownCell.col, start)) {
            SetColumnWidth(m_LeftClickDownCell.col, std::max(point.x - start.x, m_bAllowColHide ? 0 : 1));
            ResetScrollBars();
            Refresh();
            SendNotify(GridNotifyColumnResized, m_LeftClickDownCell.row, m_LeftClickDownCell.col);
        }
    } else if (m_MouseMode == CGridMouseMode::SizingRow) {
        if (m_pView)
            m_pView->ShowSizingLine(std::nullopt);
        CGridPoint start;
        if (!(point == m_LeftClickDownPoint) && !(point.x == 0 && point.y == 0) &&
            GetCellOrigin(m_LeftClickDownCell.row, 0, start)) {
            SetRowHeight(m_LeftClickDownCell.row, std::max(point.y - start.y, m_bAllowRowHide ? 0 : 1));
            ResetScrollBars();
            Refresh();
        }
    } else {
        SendNotify(GridNotifySelChanged, m_idCurrentCell.row, m_idCurrentCell.col);
        if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
            cell->OnClick(point);
        SendNotify(GridNotifyClick, m_LeftClickDownCell.row, m_LeftClickDownCell.col);
    }
    m_MouseMode = CGridMouseMode::Nothing;
    if (m_pView)
        m_pView->SetCursorShape(CGridCursor::Arrow);
    if (IsValid(m_LeftClickDownCell) && m_pOwner)
        m_pOwner->OnGridCommand(m_nID, 0);
}

void CGridCtrl::OnCaptureLost()
{
    if (m_bTimerRunning && m_pView)
        m_pView->StopTimer(kAutoScrollTimerId);
    m_bTimerRunning = false;
}

void CGridCtrl::OnLButtonDblClk(CGridPoint point, unsigned)
{
    // The release before a double click ended any divider mode; look again.
    if (!MouseOperationInProgress())
        m_MouseMode = DividerAt(point);
    if (m_MouseMode == CGridMouseMode::OverColumnDivider) {
        int left = 0;
        int col = ColumnLeftOfBorder(point, left);
        while (col > 0 && GetColumnWidth(col) == 0)
            --col;
        if (col >= 0)
            AutoSizeColumn(col, m_nAutoSizeColumnStyle);
        return;
    }
    if (m_MouseMode == CGridMouseMode::OverRowDivider) {
        int top = 0;
        int row = RowAboveBorder(point, top);
        while (row > 0 && GetRowHeight(row) == 0)
            --row;
        if (row >= 0)
            AutoSizeRow(row);
        return;
    }
    if (m_MouseMode != CGridMouseMode::Nothing)
        return;
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    const bool nonFixed = cell.row >= m_nFixedRows && cell.col >= m_nFixedCols;
    const bool listClick = m_bListMode && IsValid(m_LeftClickDownCell) &&
                           m_LeftClickDownCell.row >= m_nFixedRows && m_LeftClickDownCell.col >= m_nFixedCols;
    if (nonFixed || listClick)
        OnEditCell(cell.row, cell.col, point, GridKey::MouseStart);
    if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
        clicked->OnDblClick(point);
    SendNotify(GridNotifyDblClick, cell.row, cell.col);
}

void CGridCtrl::OnRButtonUp(CGridPoint point)
{
    if (m_MouseMode == CGridMouseMode::SizingColumn || m_MouseMode == CGridMouseMode::SizingRow) {
        // A border drag ended by the other button leaves no line behind.
        if (m_pView)
            m_pView->ShowSizingLine(std::nullopt);
        m_ConfineRect.reset();
    }
    EnterDividerMode(CGridMouseMode::Nothing);
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (IsValid(cell)) {
        if (GetRowCount() > m_nFixedRows && GetColumnCount() > m_nFixedCols)
            SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
        if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
            clicked->OnRClick(point);
        SendNotify(GridNotifyRightClick, cell.row, cell.col);
    } else {
        SendNotify(GridNotifyRightClick, -1, -1);
    }
}

void CGridCtrl::OnMouseWheel(int delta)
{
    // Touchpads and fine wheels send a notch in small parts (8 x 15): what
    // does not make a whole line yet is kept for the next part. A turn the
    // other way starts afresh.
    const bool pages = m_nRowsPerWheelNotch == kWheelPageScroll;
    const int64_t amount = pages ? int64_t{delta} : int64_t{delta} * std::min(m_nRowsPerWheelNotch, 1u << 16);
    if ((amount < 0 && m_nWheelRemainder > 0) || (amount > 0 && m_nWheelRemainder < 0))
        m_nWheelRemainder = 0;
    m_nWheelRemainder += amount;
    const int64_t steps = m_nWheelRemainder / 120;
    m_nWheelRemainder -= steps * 120;
    const int count = static_cast<int>(std::clamp<int64_t>(steps, -(1 << 24), 1 << 24));
    if (pages)
        ScrollPages(true, -count);
    else
        ScrollLines(true, -count);
}

void CGridCtrl::OnSize()
{
    if (m_bInSize)
        return;
    m_bInSize = true;
    EndEditing();
    ResetTopLeft();
    ResetScrollBars();
    m_bInSize = false;
}
