// Keyboard, character, mouse, wheel and timer input of CGridCtrl.

#include "grid/cgridctrl.h"

#include <algorithm>
#include <optional>

// Resting over a divider is not an operation: keys and typing still work there.
bool CGridCtrl::MouseOperationInProgress() const
{
    return m_mouseMode != CGridMouseMode::Nothing && m_mouseMode != CGridMouseMode::OverColumnDivider &&
           m_mouseMode != CGridMouseMode::OverRowDivider;
}

namespace {
// How a navigation key moves the focus: along the rows (vertical) or the
// columns, forward (+1) or back (-1), by one line or by a page.
struct CKeyStep {
    unsigned key;
    bool vertical;
    int step;
    bool page;
};
constexpr CKeyStep kKeySteps[] = {
    {GridKey::Down, true, 1, false},     {GridKey::Up, true, -1, false},
    {GridKey::Right, false, 1, false},   {GridKey::Left, false, -1, false},
    {GridKey::Tab, false, 1, false},     {GridKey::PageDown, true, 1, true},
    {GridKey::PageUp, true, -1, true},
};

std::optional<CKeyStep> StepOfKey(unsigned key, bool shift)
{
    for (CKeyStep step : kKeySteps) {
        if (step.key != key)
            continue;
        if (key == GridKey::Tab && shift)
            step.step = -1;
        return step;
    }
    return std::nullopt;
}
} // namespace

CCellID CGridCtrl::NextVisibleCell(CCellID from, bool vertical, int step, bool page)
{
    const CGridAxis& axis = Axis(vertical);
    int& index = vertical ? from.row : from.col;
    if (page) {
        auto first = [this, vertical] {
            const CCellID topLeft = GetTopleftNonFixedCell();
            return vertical ? topLeft.row : topLeft.col;
        };
        const int before = first();
        ScrollPages(vertical, step);
        const int moved = first() - before;
        if (moved != 0)
            index = std::clamp(index + moved, axis.Fixed(), axis.Count() - 1);
        else
            index = step > 0 ? axis.Count() - 1 : axis.Fixed();
        return from;
    }
    if (const int next = axis.FirstVisible(index + step, step); next >= 0)
        index = next;
    return from;
}

bool CGridCtrl::OnKeyDown(unsigned key, unsigned modifiers)
{
    if (!IsValid(m_focusCell))
        return false;
    const bool ctrl = (modifiers & GridModifier::Ctrl) != 0;
    const bool shift = (modifiers & GridModifier::Shift) != 0;
    const CCellID current = m_focusCell;

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
    if (key == GridKey::Delete) {
        ValidateAndModifyCellContents(current.row, current.col, std::string());
        return true;
    }
    if (key == GridKey::F2) {
        RequestEdit(current.row, current.col, CGridPoint{-1, -1}, GridKey::MouseStart, CGridEditTrigger::F2);
        return true;
    }

    const std::optional<CKeyStep> step = StepOfKey(key, shift);
    CCellID next = current;
    int wrap = 0; // Tab past the end of a row: +1 on to the next row, -1 back to the previous one
    if (key == GridKey::Home || key == GridKey::End) {
        const bool home = key == GridKey::Home;
        SetScrollPos(false, home ? 0 : GetScrollLimit(false));
        int row = current.row;
        if (ctrl) {
            SetScrollPos(true, home ? 0 : GetScrollLimit(true));
            row = home ? m_rows.Fixed() : GetRowCount() - 1;
        }
        if (home)
            row = std::max(row, m_rows.Fixed());
        const int direction = home ? 1 : -1;
        next = CCellID(m_rows.SettleVisible(row, direction),
                       m_cols.SettleVisible(home ? m_cols.Fixed() : GetColumnCount() - 1, direction));
    } else if (step) {
        next = NextVisibleCell(current, step->vertical, step->step, step->page);
        if (key == GridKey::Tab && next == current) {
            wrap = step->step;
            const int row = m_rows.FirstVisible(current.row + wrap, wrap);
            const int col = m_cols.FirstVisible(wrap > 0 ? m_cols.Fixed() : GetColumnCount() - 1, wrap);
            if (row < 0 || col < 0)
                return false;
            next = CCellID(row, col);
        }
    } else {
        return false;
    }

    // Home or End in a grid whose non-fixed part is empty finds no cell.
    if (next == current || !IsValid(next))
        return true;

    if (!MouseOperationInProgress()) {
        m_selection.ClearPrevious();
        m_mouseMode = m_listMode ? CGridMouseMode::SelectRows : CGridMouseMode::SelectCells;
        if (!shift || key == GridKey::Tab)
            m_selection.SetStart(next);
        OnSelecting(next);
        m_mouseMode = CGridMouseMode::Nothing;
    }
    SetFocusCell(next);

    if (!IsCellVisible(next.row, next.col)) {
        if (wrap != 0) {
            ScrollLines(true, wrap);
            SetScrollPos(false, wrap > 0 ? 0 : GetScrollLimit(false));
        } else if (step && !step->page) {
            ScrollLines(step->vertical, step->step);
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
    if (m_handleTabKey && character == GridKey::Tab)
        return;
    RequestEdit(m_focusCell.row, m_focusCell.col, CGridPoint{-1, -1}, character, CGridEditTrigger::Character);
}

// ---------------------------------------------------------------- mouse

CGridMouseMode CGridCtrl::DividerAt(CGridPoint point)
{
    if (m_allowColumnResize && OverResizeBorder(false, point))
        return CGridMouseMode::OverColumnDivider;
    if (m_allowRowResize && OverResizeBorder(true, point))
        return CGridMouseMode::OverRowDivider;
    return CGridMouseMode::Nothing;
}

void CGridCtrl::EnterDividerMode(CGridMouseMode mode)
{
    if (mode == m_mouseMode)
        return;
    m_mouseMode = mode;
    if (!m_view)
        return;
    if (mode == CGridMouseMode::OverColumnDivider)
        m_view->SetCursorShape(CGridCursor::SizeWE);
    else if (mode == CGridMouseMode::OverRowDivider)
        m_view->SetCursorShape(CGridCursor::SizeNS);
    else
        m_view->SetCursorShape(CGridCursor::Arrow);
}

// Only the fixed band across the border (the heading row for a column
// border, the heading column for a row border) grabs it.
bool CGridCtrl::OverResizeBorder(bool vertical, CGridPoint point)
{
    const int across = vertical ? point.x : point.y;
    if (across >= (vertical ? GetFixedColumnWidth() : GetFixedRowHeight()) || across < 0)
        return false;
    int start = 0;
    return LineBeforeBorder(vertical, point, start) >= 0;
}

// The row (vertical) or column whose far border lies within the capture range
// of the point, or -1; start receives that line's near edge.
int CGridCtrl::LineBeforeBorder(bool vertical, CGridPoint point, int& start)
{
    const CGridAxis& axis = Axis(vertical);
    const int count = axis.Count();
    if (count == 0)
        return -1;
    const CCellID cell = GetCellFromPt(point);
    const int at = vertical ? cell.row : cell.col;
    const int pos = vertical ? point.y : point.x;
    auto edge = [this, vertical](int index, int across, int& value) {
        CGridPoint origin;
        if (!GetCellOrigin(vertical ? index : across, vertical ? across : index, origin))
            return false;
        value = vertical ? origin.y : origin.x;
        return true;
    };
    int line = -1, begin = 0;
    if (at >= 0 && edge(at, std::max(vertical ? cell.col : cell.row, 0), begin)) {
        const int end = begin + axis.Size(at);
        if (pos - begin < m_resizeCaptureRange && at != 0)
            line = at - 1;
        else if (end - pos < m_resizeCaptureRange)
            line = at;
    } else if (at < 0 && pos >= 0) {
        // Just past the last line's border still grabs it.
        if (!edge(count - 1, 0, begin))
            return -1;
        const int end = begin + axis.Size(count - 1);
        if (pos >= end && pos - end < m_resizeCaptureRange)
            line = count - 1;
    }
    if (line < 0)
        return -1;
    if (!(vertical ? m_allowRowHide : m_allowColumnHide))
        while (line > 0 && axis.IsHidden(line))
            --line;
    return edge(line, 0, start) ? line : -1;
}

CGridPoint CGridCtrl::Confine(CGridPoint point) const
{
    if (!m_confineRect)
        return point;
    point.x = std::clamp(point.x, m_confineRect->left, std::max(m_confineRect->left, m_confineRect->right - 1));
    point.y = std::clamp(point.y, m_confineRect->top, std::max(m_confineRect->top, m_confineRect->bottom - 1));
    return point;
}

void CGridCtrl::ShowSizingLine(CGridPoint point)
{
    if (!m_view)
        return;
    const CGridSize client = m_view->ClientSize();
    if (m_mouseMode == CGridMouseMode::SizingColumn)
        m_view->ShowSizingLine(CGridRect{point.x, 0, point.x + 2, client.cy});
    else if (m_mouseMode == CGridMouseMode::SizingRow)
        m_view->ShowSizingLine(CGridRect{0, point.y, client.cx, point.y + 2});
}

bool CGridCtrl::BeginSizing(CGridPoint point)
{
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    if (m_mouseMode == CGridMouseMode::OverColumnDivider) {
        int left = 0;
        const int col = LineBeforeBorder(false, point, left);
        if (col < 0) {
            m_mouseMode = CGridMouseMode::Nothing;
            return false;
        }
        m_mouseMode = CGridMouseMode::SizingColumn;
        m_clickDownCell = CCellID(std::max(m_clickDownCell.row, 0), col);
        m_confineRect = CGridRect{left + 1, 0, client.cx, client.cy};
        ShowSizingLine(Confine(point));
        return true;
    }
    if (m_mouseMode == CGridMouseMode::OverRowDivider) {
        int top = 0;
        const int row = LineBeforeBorder(true, point, top);
        if (row < 0) {
            m_mouseMode = CGridMouseMode::Nothing;
            return false;
        }
        m_mouseMode = CGridMouseMode::SizingRow;
        m_clickDownCell = CCellID(row, std::max(m_clickDownCell.col, 0));
        m_confineRect = CGridRect{0, top + 1, client.cx, client.cy};
        ShowSizingLine(Confine(point));
        return true;
    }
    return false;
}

void CGridCtrl::OnLButtonDown(CGridPoint point, unsigned modifiers)
{
    const bool ctrl = (modifiers & GridModifier::Ctrl) != 0;
    const bool shift = (modifiers & GridModifier::Shift) != 0;
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    if (point.x >= client.cx || point.y >= client.cy) {
        m_allowDraw = true;
        ResetScrollBars();
        Refresh();
        if (m_view)
            m_view->UpdateNow();
        return;
    }
    if (m_view) {
        m_view->TakeFocus();
        m_view->SetPointerCapture(true);
    }
    m_lastMousePoint = point;
    m_clickDownPoint = point;
    m_leftButtonDown = true;
    m_clickDownCell = GetCellFromPt(point);
    if (!IsValid(m_clickDownCell)) {
        // Only the border just right of the last column (or below the last
        // row) can be grabbed outside the cells.
        if (const CGridMouseMode divider = DividerAt(point); divider != CGridMouseMode::Nothing)
            m_mouseMode = divider;
        BeginSizing(point);
        return;
    }

    if (!shift)
        m_selection.SetStart(m_clickDownCell);
    else if (!IsValid(m_selection.Start()))
        m_selection.SetStart(m_focusCell);

    EndEditing();
    if (CGridCellBase* cell = GetCell(m_clickDownCell.row, m_clickDownCell.col))
        cell->OnClickDown(point);

    if (m_clickDownCell == m_focusCell && !ctrl &&
        IsCellEditable(m_clickDownCell.row, m_clickDownCell.col)) {
        CGridRect textRect;
        if (GetTextRect(m_clickDownCell.row, m_clickDownCell.col, textRect) && textRect.Contains(point)) {
            m_mouseMode = CGridMouseMode::PrepareEdit;
            return;
        }
    }

    // A plain click moves the focus even onto a cell of the old selection:
    // the click, and whatever the owner opens for it, belongs to that cell.
    if (!ctrl || !IsCellSelected(m_clickDownCell.row, m_clickDownCell.col)) {
        if (m_mouseMode != CGridMouseMode::OverColumnDivider && m_mouseMode != CGridMouseMode::OverRowDivider &&
            GetRowCount() > m_rows.Fixed() && GetColumnCount() > m_cols.Fixed())
            SetFocusCell(std::max(m_clickDownCell.row, m_rows.Fixed()),
                         std::max(m_clickDownCell.col, m_cols.Fixed()));
    } else {
        SetFocusCell(m_clickDownCell);
        if (m_listMode)
            SelectRows(m_clickDownCell, true, false);
        else
            SelectCells(m_clickDownCell, true, false);
        return;
    }

    if (m_mouseMode == CGridMouseMode::Nothing)
        EnterDividerMode(DividerAt(point));

    if (BeginSizing(point))
        return;

    SendNotify(GridNotifySelChanging, m_clickDownCell.row, m_clickDownCell.col);
    m_selection.ClearPrevious();
    if (ctrl)
        m_selection.KeepAsPrevious();

    if (m_clickDownCell.row < m_rows.Fixed()) {
        OnFixedRowClick(m_clickDownCell);
    } else if (m_clickDownCell.col < m_cols.Fixed()) {
        OnFixedColumnClick(m_clickDownCell);
    } else {
        m_mouseMode = m_listMode ? CGridMouseMode::SelectRows : CGridMouseMode::SelectCells;
        OnSelecting(m_clickDownCell);
        if (m_view) {
            m_view->StartTimer(kAutoScrollTimerId, m_autoScrollInterval);
            m_timerRunning = true;
        }
    }
}

void CGridCtrl::OnFixedRowClick(CCellID cell)
{
    if (!IsValid(cell))
        return;
    if (m_sortOnClick) {
        if (m_view)
            m_view->SetCursorShape(CGridCursor::Busy);
        SortItems(cell.col, cell.col == m_sortColumn ? !m_sortAscending : true);
        Refresh();
        if (m_view)
            m_view->SetCursorShape(CGridCursor::Arrow);
    }
    if (m_fixedRowSelection) {
        m_mouseMode = cell.col < m_cols.Fixed() ? CGridMouseMode::SelectAll : CGridMouseMode::SelectColumns;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID cell)
{
    if (!IsValid(cell))
        return;
    if (m_fixedColumnSelection) {
        m_mouseMode = cell.row < m_rows.Fixed() ? CGridMouseMode::SelectAll : CGridMouseMode::SelectRows;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnMouseMove(CGridPoint point, bool leftButtonDown)
{
    const bool dragging = leftButtonDown && m_leftButtonDown;
    if (!dragging || m_mouseMode == CGridMouseMode::Nothing) {
        EnterDividerMode(DividerAt(point));
        if (m_mouseMode == CGridMouseMode::Nothing) {
            const CCellID cell = GetCellFromPt(point);
            if (CGridCellBase* hovered = GetCell(cell.row, cell.col))
                hovered->OnMouseOver();
        }
        m_lastMousePoint = point;
        return;
    }
    if (!IsValid(m_clickDownCell)) {
        m_lastMousePoint = point;
        return;
    }
    switch (m_mouseMode) {
    case CGridMouseMode::SelectColumns:
    case CGridMouseMode::SelectRows:
    case CGridMouseMode::SelectCells: {
        const CCellID cell = GetCellFromPt(point);
        if (!IsValid(cell))
            return;
        if (cell != m_focusCell) {
            OnSelecting(cell);
            if ((cell.row >= m_rows.Fixed() && cell.col >= m_cols.Fixed()) ||
                m_mouseMode == CGridMouseMode::SelectColumns || m_mouseMode == CGridMouseMode::SelectRows)
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
    m_lastMousePoint = point;
}

void CGridCtrl::OnTimer(int id)
{
    if (id != kAutoScrollTimerId || !m_view)
        return;
    const CGridPoint origin = m_view->PointerPosition();
    const CGridSize client = m_view->ClientSize();
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
    m_leftButtonDown = false;
    point = Confine(point);
    m_confineRect.reset();
    if (m_view && m_view->HasPointerCapture())
        m_view->SetPointerCapture(false);
    if (m_timerRunning && m_view)
        m_view->StopTimer(kAutoScrollTimerId);
    m_timerRunning = false;

    if (m_mouseMode == CGridMouseMode::PrepareEdit) {
        RequestEdit(m_focusCell.row, m_focusCell.col, point, GridKey::MouseStart, CGridEditTrigger::Click);
    } else if (m_mouseMode == CGridMouseMode::SizingColumn) {
        if (m_view)
            m_view->ShowSizingLine(std::nullopt);
        CGridPoint start;
        if (!(point == m_clickDownPoint) && !(point.x == 0 && point.y == 0) &&
            GetCellOrigin(0, m_clickDownCell.col, start)) {
            SetColumnWidth(m_clickDownCell.col, std::max(point.x - start.x, m_allowColumnHide ? 0 : 1));
            ResetScrollBars();
            Refresh();
            SendNotify(GridNotifyColumnResized, m_clickDownCell.row, m_clickDownCell.col);
        }
    } else if (m_mouseMode == CGridMouseMode::SizingRow) {
        if (m_view)
            m_view->ShowSizingLine(std::nullopt);
        CGridPoint start;
        if (!(point == m_clickDownPoint) && !(point.x == 0 && point.y == 0) &&
            GetCellOrigin(m_clickDownCell.row, 0, start)) {
            SetRowHeight(m_clickDownCell.row, std::max(point.y - start.y, m_allowRowHide ? 0 : 1));
            ResetScrollBars();
            Refresh();
        }
    } else {
        SendNotify(GridNotifySelChanged, m_focusCell.row, m_focusCell.col);
        if (CGridCellBase* cell = GetCell(m_focusCell.row, m_focusCell.col))
            cell->OnClick(point);
        SendNotify(GridNotifyClick, m_clickDownCell.row, m_clickDownCell.col);
    }
    m_mouseMode = CGridMouseMode::Nothing;
    if (m_view)
        m_view->SetCursorShape(CGridCursor::Arrow);
    if (IsValid(m_clickDownCell) && m_owner)
        m_owner->OnGridCommand(m_id, 0);
}

void CGridCtrl::OnCaptureLost()
{
    if (m_timerRunning && m_view)
        m_view->StopTimer(kAutoScrollTimerId);
    m_timerRunning = false;
}

void CGridCtrl::OnLButtonDblClk(CGridPoint point, unsigned)
{
    // The release before a double click ended any divider mode; look again.
    if (!MouseOperationInProgress())
        m_mouseMode = DividerAt(point);
    if (m_mouseMode == CGridMouseMode::OverColumnDivider) {
        int left = 0;
        int col = LineBeforeBorder(false, point, left);
        while (col > 0 && GetColumnWidth(col) == 0)
            --col;
        if (col >= 0)
            AutoSizeColumn(col, m_autoSizeStyle);
        return;
    }
    if (m_mouseMode == CGridMouseMode::OverRowDivider) {
        int top = 0;
        int row = LineBeforeBorder(true, point, top);
        while (row > 0 && GetRowHeight(row) == 0)
            --row;
        if (row >= 0)
            AutoSizeRow(row);
        return;
    }
    if (m_mouseMode != CGridMouseMode::Nothing)
        return;
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell))
        return;
    const bool nonFixed = cell.row >= m_rows.Fixed() && cell.col >= m_cols.Fixed();
    const bool listClick = m_listMode && IsValid(m_clickDownCell) &&
                           m_clickDownCell.row >= m_rows.Fixed() && m_clickDownCell.col >= m_cols.Fixed();
    if (nonFixed || listClick)
        RequestEdit(cell.row, cell.col, point, GridKey::MouseStart, CGridEditTrigger::DoubleClick);
    if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
        clicked->OnDblClick(point);
    SendNotify(GridNotifyDblClick, cell.row, cell.col);
}

void CGridCtrl::OnRButtonUp(CGridPoint point)
{
    if (m_mouseMode == CGridMouseMode::SizingColumn || m_mouseMode == CGridMouseMode::SizingRow) {
        // A border drag ended by the other button leaves no line behind.
        if (m_view)
            m_view->ShowSizingLine(std::nullopt);
        m_confineRect.reset();
    }
    EnterDividerMode(CGridMouseMode::Nothing);
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (IsValid(cell)) {
        if (GetRowCount() > m_rows.Fixed() && GetColumnCount() > m_cols.Fixed())
            SetFocusCell(std::max(cell.row, m_rows.Fixed()), std::max(cell.col, m_cols.Fixed()));
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
    const bool pages = m_wheelLines == kWheelPageScroll;
    const int64_t amount = pages ? int64_t{delta} : int64_t{delta} * std::min(m_wheelLines, 1u << 16);
    if ((amount < 0 && m_wheelRemainder > 0) || (amount > 0 && m_wheelRemainder < 0))
        m_wheelRemainder = 0;
    m_wheelRemainder += amount;
    const int64_t steps = m_wheelRemainder / 120;
    m_wheelRemainder -= steps * 120;
    const int count = static_cast<int>(std::clamp<int64_t>(steps, -(1 << 24), 1 << 24));
    if (pages)
        ScrollPages(true, -count);
    else
        ScrollLines(true, -count);
}

void CGridCtrl::OnSize()
{
    if (m_inSize)
        return;
    m_inSize = true;
    EndEditing();
    ResetTopLeft();
    ResetScrollBars();
    m_inSize = false;
}
