#include "grid/cgridctrl.h"

#include "grid/cgridcell.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

CGridCtrl::CGridCtrl()
{
    m_cellFactory = [] { return std::unique_ptr<CGridCellBase>(new CGridCell); };
    for (CGridDefaultCell* def : {&m_defaultCell, &m_fixedRowDefault, &m_fixedColumnDefault, &m_fixedCornerDefault})
        def->SetGrid(this);
    m_gridBackColour = m_systemColours.shadow;
    m_defaultCell.SetTextClr(m_systemColours.text);
    m_defaultCell.SetBackClr(m_systemColours.window);
    for (CGridDefaultCell* def : {&m_fixedRowDefault, &m_fixedColumnDefault, &m_fixedCornerDefault}) {
        def->SetTextClr(m_systemColours.text);
        def->SetBackClr(m_systemColours.face);
    }
    SetRowCount(0);
    SetColumnCount(0);
    SetFixedRowCount(0);
    SetFixedColumnCount(0);
}

CGridCtrl::~CGridCtrl()
{
    // Derived classes are gone by now, so only the base clean-up runs here.
    m_selection = CGridSelection();
    m_rowData.clear();
}

void CGridCtrl::SetView(CGridView* view)
{
    m_view = view;
    if (!m_view)
        return;
    SetSystemColours(m_view->SystemColours());
    const CGridFont font = m_view->MessageFont();
    for (CGridDefaultCell* def : {&m_defaultCell, &m_fixedRowDefault, &m_fixedColumnDefault, &m_fixedCornerDefault})
        def->SetFont(&font);
    ResetTopLeft();
    ResetScrollBars();
    Refresh();
}

void CGridCtrl::SetSystemColours(const CGridSystemColours& colours)
{
    const CGridSystemColours old = m_systemColours;
    for (CGridDefaultCell* def : {&m_defaultCell, &m_fixedRowDefault, &m_fixedColumnDefault, &m_fixedCornerDefault}) {
        if (def->GetTextClr() == old.text)
            def->SetTextClr(colours.text);
        if (def->GetBackClr() == old.window)
            def->SetBackClr(colours.window);
        else if (def->GetBackClr() == old.face)
            def->SetBackClr(colours.face);
    }
    if (m_gridBackColour == old.shadow)
        m_gridBackColour = colours.shadow;
    m_systemColours = colours;
    Refresh();
}

// ---------------------------------------------------------------- table

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    return m_rowData.at(static_cast<size_t>(row)).at(static_cast<size_t>(col)).get();
}

bool CGridCtrl::SetCellFactory(CellFactory factory)
{
    if (!factory)
        return false;
    m_cellFactory = std::move(factory);
    return true;
}

CGridDefaultCell& CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol)
{
    if (fixedRow && fixedCol)
        return m_fixedCornerDefault;
    if (fixedRow)
        return m_fixedRowDefault;
    if (fixedCol)
        return m_fixedColumnDefault;
    return m_defaultCell;
}

const CGridDefaultCell& CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    return const_cast<CGridCtrl*>(this)->GetDefaultCell(fixedRow, fixedCol);
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    std::unique_ptr<CGridCellBase> cell = m_cellFactory();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    uint32_t state = cell->GetState();
    if (col < m_cols.Fixed())
        state |= GridState::Fixed | GridState::FixedCol;
    if (row < m_rows.Fixed())
        state |= GridState::Fixed | GridState::FixedRow;
    cell->SetState(state);
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    CGridCellBase* cell = m_rowData.at(static_cast<size_t>(row)).at(static_cast<size_t>(col)).get();
    if (cell) {
        // A box left open over a cell that is going away must not report into
        // whatever cell takes its place later.
        if (cell->IsEditing())
            if (CGridInPlaceEditor* editor = cell->GetEditWnd())
                editor->Abandon();
        if (cell == m_editCell)
            m_editCell = nullptr;
        std::replace(m_watchedCells.begin(), m_watchedCells.end(), cell, static_cast<CGridCellBase*>(nullptr));
    }
    // Clearing the state takes the cell out of the selected set first.
    SetItemState(row, col, 0);
    m_rowData.at(static_cast<size_t>(row)).at(static_cast<size_t>(col)).reset();
}

bool CGridCtrl::SetRowCount(int rows)
{
    if (rows < 0)
        return false;
    const int old = GetRowCount();
    if (rows == old)
        return true;
    ResetTopLeft();
    if (m_rows.Fixed() > rows)
        m_rows.SetFixed(rows);
    if (m_focusCell.row >= rows)
        m_focusCell = CCellID();
    const int cols = GetColumnCount();
    if (rows < old) {
        for (int row = rows; row < old; ++row)
            for (int col = 0; col < cols; ++col)
                DestroyCell(row, col);
        m_rowData.resize(static_cast<size_t>(rows));
        m_rows.Resize(rows, 0);
    } else {
        m_rowData.resize(static_cast<size_t>(rows));
        m_rows.Resize(rows, m_defaultCell.GetHeight());
        for (int row = old; row < rows; ++row) {
            Row& cells = m_rowData[static_cast<size_t>(row)];
            cells.resize(static_cast<size_t>(cols));
            for (int col = 0; col < cols; ++col)
                cells[static_cast<size_t>(col)] = CreateCell(row, col);
        }
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return true;
}

bool CGridCtrl::SetColumnCount(int cols)
{
    if (cols < 0)
        return false;
    const int old = GetColumnCount();
    if (cols == old)
        return true;
    ResetTopLeft();
    if (m_cols.Fixed() > cols)
        m_cols.SetFixed(cols);
    if (m_focusCell.col >= cols)
        m_focusCell = CCellID();
    const int rows = GetRowCount();
    if (cols < old) {
        for (int row = 0; row < rows; ++row) {
            for (int col = cols; col < old; ++col)
                DestroyCell(row, col);
            m_rowData[static_cast<size_t>(row)].resize(static_cast<size_t>(cols));
        }
        m_cols.Resize(cols, 0);
    } else {
        m_cols.Resize(cols, m_defaultCell.GetWidth());
        for (int row = 0; row < rows; ++row) {
            Row& cells = m_rowData[static_cast<size_t>(row)];
            cells.resize(static_cast<size_t>(cols));
            for (int col = old; col < cols; ++col)
                cells[static_cast<size_t>(col)] = CreateCell(row, col);
        }
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return true;
}

void CGridCtrl::FixBandFlags(int oldFixedRows, int oldFixedCols)
{
    const int rows = GetRowCount();
    const int cols = GetColumnCount();
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const bool wasRow = row < oldFixedRows, isRow = row < m_rows.Fixed();
            const bool wasCol = col < oldFixedCols, isCol = col < m_cols.Fixed();
            if (wasRow == isRow && wasCol == isCol)
                continue;
            CGridCellBase* cell = GetCell(row, col);
            uint32_t state = cell->GetState() & ~(GridState::Fixed | GridState::FixedRow | GridState::FixedCol);
            if (isRow)
                state |= GridState::FixedRow;
            if (isCol)
                state |= GridState::FixedCol;
            if (isRow || isCol)
                state |= GridState::Fixed;
            cell->SetState(state);
            // A cell that changes kind follows the defaults of its new kind.
            cell->SetTextClr(kGridDefaultColour);
            cell->SetBackClr(kGridDefaultColour);
        }
    }
}

bool CGridCtrl::SetFixedRowCount(int fixedRows)
{
    if (fixedRows < 0)
        return false;
    if (fixedRows == m_rows.Fixed())
        return true;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    if (fixedRows > GetRowCount())
        SetRowCount(fixedRows);
    const int old = m_rows.Fixed();
    m_rows.SetFixed(fixedRows);
    FixBandFlags(old, m_cols.Fixed());
    ResetTopLeft();
    ResetScrollBars();
    Refresh();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols < 0)
        return false;
    if (fixedCols == m_cols.Fixed())
        return true;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    if (fixedCols > GetColumnCount())
        SetColumnCount(fixedCols);
    const int old = m_cols.Fixed();
    m_cols.SetFixed(fixedCols);
    FixBandFlags(m_rows.Fixed(), old);
    ResetTopLeft();
    ResetScrollBars();
    Refresh();
    return true;
}

void CGridCtrl::RenumberRows(int fromRow)
{
    const int rows = GetRowCount();
    const int cols = GetColumnCount();
    for (int row = std::max(fromRow, 0); row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            GetCell(row, col)->SetCoords(row, col);
}

int CGridCtrl::InsertRow(const std::string& heading, int row)
{
    if (row < -1 || (row >= 0 && (row < m_rows.Fixed() || row >= GetRowCount())))
        return -1;
    if (GetColumnCount() == 0)
        SetColumnCount(1);
    const int index = row < 0 ? GetRowCount() : row;
    const int cols = GetColumnCount();

    // Keys of the rows that move down must move with them.
    m_selection.ShiftRowsFrom(index);

    m_rowData.insert(m_rowData.begin() + index, Row(static_cast<size_t>(cols)));
    m_rows.Insert(index, m_defaultCell.GetHeight());
    for (int col = 0; col < cols; ++col)
        m_rowData[static_cast<size_t>(index)][static_cast<size_t>(col)] = CreateCell(index, col);
    RenumberRows(index + 1);
    GetCell(index, 0)->SetText(heading);

    // The new row goes above the focus row when inserted at its index, so the
    // focus follows its row down.
    if (m_focusCell.row >= 0 && index <= m_focusCell.row && row >= 0)
        ++m_focusCell.row;
    ResetTopLeft();
    SetModified();
    ResetScrollBars();
    Refresh();
    return index;
}

bool CGridCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= GetRowCount())
        return false;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    for (int col = 0; col < GetColumnCount(); ++col)
        DestroyCell(row, col);
    m_rowData.erase(m_rowData.begin() + row);
    m_rows.Remove(row);
    RenumberRows(row);
    ResetTopLeft();
    ResetScrollBars();
    SetModified();
    Refresh();
    return true;
}

bool CGridCtrl::DeleteAllItems()
{
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    m_sortColumn = -1;
    m_sortAscending = true;
    SetRowCount(0);
    SetColumnCount(0);
    m_rows.SetFixed(0);
    m_cols.SetFixed(0);
    return true;
}

std::string CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : std::string();
}

bool CGridCtrl::SetItemText(int row, int col, const std::string& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetText(text);
    return true;
}

uint32_t CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CGridCtrl::SetItemState(int row, int col, uint32_t state)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    if (state & GridState::Selected)
        m_selection.Mark(row, col, true);
    else if (cell->GetState() & GridState::Selected)
        m_selection.Mark(row, col, false);
    cell->SetState(state);
    return true;
}

bool CGridCtrl::SetItemBkColour(int row, int col, uint32_t colour)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetBackClr(colour);
    return true;
}

bool CGridCtrl::SetItemFgColour(int row, int col, uint32_t colour)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetTextClr(colour);
    return true;
}

bool CGridCtrl::SetItemFormat(int row, int col, uint32_t format)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetFormat(format);
    return true;
}

bool CGridCtrl::SetItemData(int row, int col, int32_t data)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetData(data);
    return true;
}

int32_t CGridCtrl::GetItemData(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetData() : 0;
}

int CGridCtrl::GetRowHeight(int row) const
{
    return m_rows.Size(row);
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return m_cols.Size(col);
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (!m_rows.SetSize(row, height))
        return false;
    ResetTopLeft();
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (!m_cols.SetSize(col, width))
        return false;
    ResetTopLeft();
    ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeColumn(int col, int style)
{
    if (col < 0 || col >= GetColumnCount() || GetColumnWidth(col) == 0)
        return false;
    if (style == 0)
        style = m_autoSizeStyle;
    const int first = (style & 1) ? 0 : m_rows.Fixed();
    const int last = (style & 2) ? GetRowCount() : m_rows.Fixed();
    int width = 0;
    for (int row = first; row < last; ++row) {
        const CGridCellBase* cell = GetCell(row, col);
        CGridSize size = cell->GetCellExtent();
        if (row == 0 && col == m_sortColumn)
            size.cx += cell->GetTextExtent("M").cy; // room for the sort triangle
        width = std::max(width, size.cx);
    }
    if (width == 0)
        return false;
    SetColumnWidth(col, width);
    Refresh();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row)
{
    if (row < 0 || row >= GetRowCount() || GetRowHeight(row) == 0)
        return false;
    const int style = m_autoSizeStyle;
    const int first = (style & 1) ? 0 : m_cols.Fixed();
    const int last = (style & 2) ? GetColumnCount() : m_cols.Fixed();
    int height = 0;
    for (int col = first; col < last; ++col)
        height = std::max(height, GetCell(row, col)->GetCellExtent().cy);
    if (height == 0)
        return false;
    SetRowHeight(row, height);
    Refresh();
    return true;
}

int CGridCtrl::GetFixedRowHeight() const
{
    return m_rows.FixedExtent();
}

int CGridCtrl::GetFixedColumnWidth() const
{
    return m_cols.FixedExtent();
}

int CGridCtrl::GetVirtualWidth() const
{
    return static_cast<int>(std::min<int64_t>(m_cols.Total(), std::numeric_limits<int>::max()));
}

int CGridCtrl::GetVirtualHeight() const
{
    return static_cast<int>(std::min<int64_t>(m_rows.Total(), std::numeric_limits<int>::max()));
}

void CGridCtrl::SetModified(int row, int col)
{
    if (CGridCellBase* cell = GetCell(row, col))
        cell->SetState(cell->GetState() | GridState::Modified);
    m_modified = true;
}

// ---------------------------------------------------------------- focus and selection

void CGridCtrl::SetFocusCell(int row, int col)
{
    const CCellID cell(row, col);
    if (cell == m_focusCell || (!IsValid(cell) && cell != CCellID()))
        return;
    const CCellID old = m_focusCell;
    m_focusCell = cell;
    auto mark = [this](CCellID id, bool focused) {
        if (!IsValid(id))
            return;
        const uint32_t state = GetItemState(id.row, id.col);
        SetItemState(id.row, id.col, focused ? (state | GridState::Focused) : (state & ~GridState::Focused));
        RedrawCell(id.row, id.col);
        if (m_trackFocusCell) {
            for (int c = 0; c < m_cols.Fixed(); ++c)
                RedrawCell(id.row, c);
            for (int r = 0; r < m_rows.Fixed(); ++r)
                RedrawCell(r, id.col);
        }
    };
    mark(old, false);
    mark(cell, true);
}

void CGridCtrl::ResetSelectedRange()
{
    m_selection.ClearPrevious();
    const SelectionMap selected = m_selection.Cells();
    for (const auto& [key, cell] : selected) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GridState::Selected);
        RedrawCell(cell.row, cell.col);
    }
    m_selection.Clear();
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint, bool select)
{
    if (!m_selectionEnabled)
        return;
    auto clampBand = [](int& index, int fixed) {
        if (index >= 0 && index < fixed)
            index = fixed;
    };
    clampBand(minRow, m_rows.Fixed());
    clampBand(maxRow, m_rows.Fixed());
    clampBand(minCol, m_cols.Fixed());
    clampBand(maxCol, m_cols.Fixed());

    // Work out the final set first, so that only cells whose flag really
    // changes are touched and repainted.
    const int rows = GetRowCount(), cols = GetColumnCount();
    const CCellRange block = maxRow < rows && maxCol < cols ? CCellRange(minRow, minCol, maxRow, maxCol) : CCellRange();
    const SelectionMap target =
        m_selection.Target(block, select, !(m_listMode && m_singleRowSelection), rows, cols);
    const std::vector<CCellID> changed = m_selection.Changes(target);

    const CCellRange visible = GetVisibleNonFixedCellRange();
    for (const CCellID& cell : changed) {
        const uint32_t state = GetItemState(cell.row, cell.col);
        const bool selected = target.count(MakeKey(cell.row, cell.col)) != 0;
        SetItemState(cell.row, cell.col, selected ? (state | GridState::Selected) : (state & ~GridState::Selected));
        const bool rowShown = cell.row < m_rows.Fixed() || (cell.row >= visible.minRow && cell.row <= visible.maxRow);
        const bool colShown = cell.col < m_cols.Fixed() || (cell.col >= visible.minCol && cell.col <= visible.maxCol);
        if (rowShown && colShown)
            RedrawCellIfVisible(cell.row, cell.col, forceRepaint);
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    return m_selection.Bounds(GetRowCount(), GetColumnCount());
}

bool CGridCtrl::IsCellSelected(int row, int col) const
{
    if (!m_selectionEnabled)
        return false;
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsSelected();
}

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return m_editable && cell && !cell->IsReadOnly();
}

void CGridCtrl::SelectAllCells()
{
    SetSelectedRange(m_rows.Fixed(), m_cols.Fixed(), GetRowCount() - 1, GetColumnCount() - 1);
}

void CGridCtrl::SelectColumns(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.col < m_cols.Fixed() || cell.col >= GetColumnCount())
        return;
    SetSelectedRange(m_selection.ColumnBlock(cell.col, m_singleColumnSelection, m_rows.Fixed(), GetRowCount() - 1),
                     forceRedraw, select);
}

void CGridCtrl::SelectRows(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.row < m_rows.Fixed() || cell.row >= GetRowCount())
        return;
    SetSelectedRange(m_selection.RowBlock(cell.row, m_listMode && m_singleRowSelection, m_cols.Fixed(),
                                          GetColumnCount() - 1),
                     forceRedraw, select);
}

void CGridCtrl::SelectCells(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.row < m_rows.Fixed() || cell.col < m_cols.Fixed() || !IsValid(cell))
        return;
    SetSelectedRange(m_selection.CellBlock(cell), forceRedraw, select);
}

void CGridCtrl::OnSelecting(CCellID cell)
{
    if (!m_selectionEnabled)
        return;
    switch (m_mouseMode) {
    case CGridMouseMode::SelectAll:
        SelectAllCells();
        break;
    case CGridMouseMode::SelectColumns:
        SelectColumns(cell);
        break;
    case CGridMouseMode::SelectRows:
        SelectRows(cell);
        break;
    case CGridMouseMode::SelectCells:
        SelectCells(cell);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- geometry and scrolling

CCellID CGridCtrl::GetTopleftNonFixedCell(bool forceRecalculation)
{
    if (m_topLeft.IsValid() && !forceRecalculation)
        return m_topLeft;
    m_topLeft = CCellID(m_rows.FirstAtScroll(m_vScrollPos), m_cols.FirstAtScroll(m_hScrollPos));
    return m_topLeft;
}

bool CGridCtrl::GetCellOrigin(int row, int col, CGridPoint& origin)
{
    if (!IsValid(row, col))
        return false;
    const CCellID topLeft = GetTopleftNonFixedCell();
    constexpr int kNoLimit = std::numeric_limits<int>::max();
    return m_cols.PositionOf(col, topLeft.col, origin.x, kNoLimit) &&
           m_rows.PositionOf(row, topLeft.row, origin.y, kNoLimit);
}

bool CGridCtrl::GetCellRect(int row, int col, CGridRect& rect)
{
    CGridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    rect.left = origin.x;
    rect.top = origin.y;
    rect.right = origin.x + GetColumnWidth(col) - 1;
    rect.bottom = origin.y + GetRowHeight(row) - 1;
    return true;
}

bool CGridCtrl::GetTextRect(int row, int col, CGridRect& rect)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell || !GetCellRect(row, col, rect))
        return false;
    return cell->GetTextRect(rect);
}

bool CGridCtrl::GetCellScreenRect(int row, int col, CGridRect& rect)
{
    CGridRect client;
    if (!m_view || !IsCellVisible(row, col) || !GetCellRect(row, col, client))
        return false;
    const CGridPoint topLeft = m_view->MapToGlobal({client.left, client.top});
    const CGridPoint bottomRight = m_view->MapToGlobal({client.right, client.bottom});
    rect = CGridRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return true;
}

CCellID CGridCtrl::GetCellFromPt(CGridPoint point, bool allowFixedCellCheck)
{
    const CCellID topLeft = GetTopleftNonFixedCell();
    CCellID cell;
    cell.col = !allowFixedCellCheck && point.x < GetFixedColumnWidth() ? -1 : m_cols.IndexAt(point.x, topLeft.col);
    cell.row = !allowFixedCellCheck && point.y < GetFixedRowHeight() ? -1 : m_rows.IndexAt(point.y, topLeft.row);
    return cell;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange()
{
    const CCellID topLeft = GetTopleftNonFixedCell();
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    return CCellRange(topLeft.row, topLeft.col, m_rows.LastShown(topLeft.row, client.cy),
                      m_cols.LastShown(topLeft.col, client.cx));
}

bool CGridCtrl::IsCellVisible(int row, int col)
{
    if (!IsValid(row, col) || !m_view)
        return false;
    const CGridSize client = m_view->ClientSize();
    const CCellID topLeft = GetTopleftNonFixedCell();
    // Walks stop at the client edge so that far-away rows cost nothing.
    int x = 0, y = 0;
    if (!m_cols.PositionOf(col, topLeft.col, x, client.cx) || x >= client.cx)
        return false;
    return m_rows.PositionOf(row, topLeft.row, y, client.cy) && y < client.cy;
}

int CGridCtrl::PageExtent(bool vertical) const
{
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    return vertical ? client.cy - GetFixedRowHeight() : client.cx - GetFixedColumnWidth();
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col) || !m_view)
        return;
    // Rows first: the column pass then works from the new top-left cell.
    for (const bool vertical : {true, false}) {
        const CGridAxis& axis = Axis(vertical);
        const int index = vertical ? row : col;
        if (index < axis.Fixed())
            continue;
        const CCellID topLeft = GetTopleftNonFixedCell();
        const int first = vertical ? topLeft.row : topLeft.col;
        if (index < first) {
            SetScrollPos(vertical, axis.Offset(index));
        } else if (axis.Offset(index + 1) - axis.Offset(first) > PageExtent(vertical)) {
            SetScrollPos(vertical,
                         std::max(GetScrollPos(vertical), axis.OffsetShowingAtEnd(index, PageExtent(vertical))));
        }
    }
}

int CGridCtrl::GetScrollLimit(bool vertical) const
{
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    if (vertical)
        return std::max(0, GetVirtualHeight() - GetFixedRowHeight() - (client.cy - GetFixedRowHeight()));
    return std::max(0, GetVirtualWidth() - GetFixedColumnWidth() - (client.cx - GetFixedColumnWidth()));
}

void CGridCtrl::SetScrollPos(bool vertical, int pos)
{
    int& current = ScrollPosition(vertical);
    if (std::clamp(pos, 0, GetScrollLimit(vertical)) == current)
        return;
    // An open editor stays where it was while its cell moves away under it;
    // finish the edit into its own cell first. The owner's reply may resize
    // the table, so the limit is taken again afterwards.
    EndEditing();
    pos = std::clamp(pos, 0, GetScrollLimit(vertical));
    if (pos == current)
        return;
    current = pos;
    ResetTopLeft();
    ResetScrollBars();
    Refresh();
}

void CGridCtrl::ScrollLines(bool vertical, int lines)
{
    const CGridAxis& axis = Axis(vertical);
    const int count = axis.Count();
    for (; lines != 0; lines += lines > 0 ? -1 : 1) {
        const CCellID topLeft = GetTopleftNonFixedCell();
        int first = vertical ? topLeft.row : topLeft.col;
        const int before = GetScrollPos(vertical);
        if (first >= count)
            break; // only fixed lines, or none at all
        if (lines > 0) {
            while (first < count - 1 && axis.IsHidden(first))
                ++first;
            SetScrollPos(vertical, axis.Offset(first + 1));
        } else {
            const int previous = axis.FirstVisible(first - 1, -1);
            SetScrollPos(vertical, previous < 0 ? 0 : axis.Offset(previous));
        }
        if (GetScrollPos(vertical) == before)
            break;
    }
}

void CGridCtrl::ScrollPages(bool vertical, int pages)
{
    const int64_t target = GetScrollPos(vertical) + int64_t{pages} * std::max(PageExtent(vertical), 1);
    SetScrollPos(vertical, static_cast<int>(std::clamp<int64_t>(target, 0, std::numeric_limits<int>::max())));
}

void CGridCtrl::ResetScrollBars()
{
    if (!m_view)
        return;
    const CGridSize client = m_view->ClientSize();
    const int hLimit = GetScrollLimit(false), vLimit = GetScrollLimit(true);
    const int hPos = std::clamp(m_hScrollPos, 0, hLimit), vPos = std::clamp(m_vScrollPos, 0, vLimit);
    if (hPos != m_hScrollPos || vPos != m_vScrollPos) {
        m_hScrollPos = hPos;
        m_vScrollPos = vPos;
        ResetTopLeft();
    }
    m_view->SetScrollBars(hLimit, std::max(0, client.cx - GetFixedColumnWidth()), hPos, vLimit,
                           std::max(0, client.cy - GetFixedRowHeight()), vPos);
}

// ---------------------------------------------------------------- drawing

void CGridCtrl::SetRedraw(bool allowDraw)
{
    m_allowDraw = allowDraw;
    if (allowDraw)
        Refresh();
}

void CGridCtrl::Refresh()
{
    if (m_allowDraw && m_view)
        m_view->InvalidateAll();
}

bool CGridCtrl::RedrawCell(int row, int col)
{
    return RedrawCellIfVisible(row, col, false);
}

bool CGridCtrl::RedrawCellIfVisible(int row, int col, bool forceRepaint)
{
    if (!m_allowDraw || !m_view || !IsCellVisible(row, col))
        return false;
    CGridRect rect;
    if (!GetCellRect(row, col, rect))
        return false;
    rect.right++;
    rect.bottom++;
    m_view->InvalidateRect(rect);
    if (forceRepaint)
        m_view->UpdateNow();
    return true;
}

void CGridCtrl::OnDraw(CGridPainter& painter)
{
    if (!m_view)
        return;
    const CGridSize client = m_view->ClientSize();
    const int fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
    const CCellRange visible = GetVisibleNonFixedCellRange();

    int maxX = fixedWidth;
    for (int col = visible.minCol; col <= visible.maxCol && col >= 0; ++col)
        maxX += GetColumnWidth(col);
    int maxY = fixedHeight;
    for (int row = visible.minRow; row <= visible.maxRow && row >= 0; ++row)
        maxY += GetRowHeight(row);
    maxX = std::min(maxX, client.cx);
    maxY = std::min(maxY, client.cy);

    painter.FillRect({maxX, 0, client.cx, client.cy}, m_gridBackColour);
    painter.FillRect({0, maxY, maxX, client.cy}, m_gridBackColour);

    // The four bands in turn: the fixed corner, the fixed columns beside the
    // visible rows, the fixed rows over the visible columns, then the scrolled
    // cells. A scrolled span stops at the client edge; a fixed one is drawn whole.
    struct Span {
        int first, last, start;
        bool scrolled;
    };
    const Span fixedRows{0, m_rows.Fixed() - 1, 0, false};
    const Span fixedCols{0, m_cols.Fixed() - 1, 0, false};
    const Span shownRows{visible.minRow, visible.maxRow, fixedHeight, true};
    const Span shownCols{visible.minCol, visible.maxCol, fixedWidth, true};
    const std::pair<Span, Span> bands[] = {
        {fixedRows, fixedCols}, {shownRows, fixedCols}, {fixedRows, shownCols}, {shownRows, shownCols}};
    for (const auto& [rows, cols] : bands) {
        int y = rows.start;
        for (int row = rows.first; row >= 0 && row <= rows.last; ++row) {
            if (rows.scrolled && y >= client.cy)
                break;
            const int h = GetRowHeight(row);
            int x = cols.start;
            for (int col = cols.first; col >= 0 && col <= cols.last; ++col) {
                if (cols.scrolled && x >= client.cx)
                    break;
                const int w = GetColumnWidth(col);
                if (w > 0 && h > 0)
                    GetCell(row, col)->Draw(painter, row, col, {x, y, x + w - 1, y + h - 1}, true);
                x += w;
            }
            y += h;
        }
    }

    if (m_gridLines & GridLines::Vertical) {
        int x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol && col >= 0; ++col) {
            const int w = GetColumnWidth(col);
            x += w;
            if (w > 0)
                painter.DrawLine(x - 1, fixedHeight, x - 1, maxY - 1, m_gridLineColour);
        }
    }
    if (m_gridLines & GridLines::Horizontal) {
        int y = fixedHeight;
        for (int row = visible.minRow; row <= visible.maxRow && row >= 0; ++row) {
            const int h = GetRowHeight(row);
            y += h;
            if (h > 0)
                painter.DrawLine(fixedWidth, y - 1, maxX - 1, y - 1, m_gridLineColour);
        }
    }
}

int CGridCtrl::SendNotify(int code, int row, int col, const std::string& text)
{
    if (!m_owner)
        return 0;
    CGridNotification notification;
    notification.controlId = m_id;
    notification.code = code;
    notification.row = row;
    notification.col = col;
    notification.hasText = !text.empty();
    notification.text = text;
    return m_owner->OnGridNotify(notification);
}
