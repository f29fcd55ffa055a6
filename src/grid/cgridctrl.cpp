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
    m_selectedCells.clear();
    m_previousSelection.clear();
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
    if (col < m_fixedCols)
        state |= GridState::Fixed | GridState::FixedCol;
    if (row < m_fixedRows)
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
    if (m_fixedRows > rows)
        m_fixedRows = rows;
    if (m_focusCell.row >= rows)
        m_focusCell = CCellID();
    const int cols = GetColumnCount();
    if (rows < old) {
        for (int row = rows; row < old; ++row)
            for (int col = 0; col < cols; ++col)
                DestroyCell(row, col);
        m_rowData.resize(static_cast<size_t>(rows));
        m_rowHeights.resize(static_cast<size_t>(rows));
    } else {
        m_rowData.resize(static_cast<size_t>(rows));
        m_rowHeights.resize(static_cast<size_t>(rows), m_defaultCell.GetHeight());
        for (int row = old; row < rows; ++row) {
            Row& cells = m_rowData[static_cast<size_t>(row)];
            cells.resize(static_cast<size_t>(cols));
            for (int col = 0; col < cols; ++col)
                cells[static_cast<size_t>(col)] = CreateCell(row, col);
        }
    }
    SumSizes();
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
    if (m_fixedCols > cols)
        m_fixedCols = cols;
    if (m_focusCell.col >= cols)
        m_focusCell = CCellID();
    const int rows = GetRowCount();
    if (cols < old) {
        for (int row = 0; row < rows; ++row) {
            for (int col = cols; col < old; ++col)
                DestroyCell(row, col);
            m_rowData[static_cast<size_t>(row)].resize(static_cast<size_t>(cols));
        }
        m_colWidths.resize(static_cast<size_t>(cols));
    } else {
        m_colWidths.resize(static_cast<size_t>(cols), m_defaultCell.GetWidth());
        for (int row = 0; row < rows; ++row) {
            Row& cells = m_rowData[static_cast<size_t>(row)];
            cells.resize(static_cast<size_t>(cols));
            for (int col = old; col < cols; ++col)
                cells[static_cast<size_t>(col)] = CreateCell(row, col);
        }
    }
    SumSizes();
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
            const bool wasRow = row < oldFixedRows, isRow = row < m_fixedRows;
            const bool wasCol = col < oldFixedCols, isCol = col < m_fixedCols;
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
    if (fixedRows == m_fixedRows)
        return true;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    if (fixedRows > GetRowCount())
        SetRowCount(fixedRows);
    const int old = m_fixedRows;
    m_fixedRows = fixedRows;
    FixBandFlags(old, m_fixedCols);
    ResetTopLeft();
    ResetScrollBars();
    Refresh();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols < 0)
        return false;
    if (fixedCols == m_fixedCols)
        return true;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    if (fixedCols > GetColumnCount())
        SetColumnCount(fixedCols);
    const int old = m_fixedCols;
    m_fixedCols = fixedCols;
    FixBandFlags(m_fixedRows, old);
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
    if (row < -1 || (row >= 0 && (row < m_fixedRows || row >= GetRowCount())))
        return -1;
    if (GetColumnCount() == 0)
        SetColumnCount(1);
    const int index = row < 0 ? GetRowCount() : row;
    const int cols = GetColumnCount();

    // Keys of the rows that move down must move with them.
    auto shift = [index](SelectionMap& map) {
        SelectionMap moved;
        for (const auto& [key, cell] : map) {
            CCellID id = cell;
            if (id.row >= index)
                ++id.row;
            moved.emplace(MakeKey(id.row, id.col), id);
        }
        map.swap(moved);
    };
    shift(m_selectedCells);
    shift(m_previousSelection);

    m_rowData.insert(m_rowData.begin() + index, Row(static_cast<size_t>(cols)));
    m_rowHeights.insert(m_rowHeights.begin() + index, m_defaultCell.GetHeight());
    m_totalRowHeight += m_defaultCell.GetHeight();
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
    m_totalRowHeight -= m_rowHeights[static_cast<size_t>(row)];
    m_rowHeights.erase(m_rowHeights.begin() + row);
    if (row < m_fixedRows)
        --m_fixedRows;
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
    m_fixedRows = m_fixedCols = 0;
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
    const SelectionKey key = MakeKey(row, col);
    if (state & GridState::Selected)
        m_selectedCells.insert_or_assign(key, CCellID(row, col));
    else if (cell->GetState() & GridState::Selected)
        m_selectedCells.erase(key);
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
    if (row < 0 || row >= GetRowCount())
        return 0;
    return m_rowHeights[static_cast<size_t>(row)];
}

int CGridCtrl::GetColumnWidth(int col) const
{
    if (col < 0 || col >= GetColumnCount())
        return 0;
    return m_colWidths[static_cast<size_t>(col)];
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= GetRowCount() || height < 0)
        return false;
    int& current = m_rowHeights[static_cast<size_t>(row)];
    m_totalRowHeight += height - current;
    current = height;
    ResetTopLeft();
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= GetColumnCount() || width < 0)
        return false;
    int& current = m_colWidths[static_cast<size_t>(col)];
    m_totalColWidth += width - current;
    current = width;
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
    const int first = (style & 1) ? 0 : m_fixedRows;
    const int last = (style & 2) ? GetRowCount() : m_fixedRows;
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
    const int first = (style & 1) ? 0 : m_fixedCols;
    const int last = (style & 2) ? GetColumnCount() : m_fixedCols;
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
    int height = 0;
    for (int row = 0; row < m_fixedRows; ++row)
        height += m_rowHeights[static_cast<size_t>(row)];
    return height;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int width = 0;
    for (int col = 0; col < m_fixedCols; ++col)
        width += m_colWidths[static_cast<size_t>(col)];
    return width;
}

int CGridCtrl::GetVirtualWidth() const
{
    return static_cast<int>(std::min<int64_t>(m_totalColWidth, std::numeric_limits<int>::max()));
}

int CGridCtrl::GetVirtualHeight() const
{
    return static_cast<int>(std::min<int64_t>(m_totalRowHeight, std::numeric_limits<int>::max()));
}

// The totals are kept up to date so that sizing one row or column, which
// updates the scroll bars, costs nothing on a grid of many rows.
void CGridCtrl::SumSizes()
{
    m_totalRowHeight = 0;
    for (int h : m_rowHeights)
        m_totalRowHeight += h;
    m_totalColWidth = 0;
    for (int w : m_colWidths)
        m_totalColWidth += w;
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
            for (int c = 0; c < m_fixedCols; ++c)
                RedrawCell(id.row, c);
            for (int r = 0; r < m_fixedRows; ++r)
                RedrawCell(r, id.col);
        }
    };
    mark(old, false);
    mark(cell, true);
}

void CGridCtrl::ResetSelectedRange()
{
    m_previousSelection.clear();
    const SelectionMap selected = m_selectedCells;
    for (const auto& [key, cell] : selected) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GridState::Selected);
        RedrawCell(cell.row, cell.col);
    }
    m_selectedCells.clear();
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint, bool select)
{
    if (!m_selectionEnabled)
        return;
    auto clampBand = [](int& index, int fixed) {
        if (index >= 0 && index < fixed)
            index = fixed;
    };
    clampBand(minRow, m_fixedRows);
    clampBand(maxRow, m_fixedRows);
    clampBand(minCol, m_fixedCols);
    clampBand(maxCol, m_fixedCols);

    // Work out the final set first, so that only cells whose flag really
    // changes are touched and repainted.
    SelectionMap target;
    if (select) {
        if (!(m_listMode && m_singleRowSelection)) {
            for (const auto& [key, cell] : m_previousSelection)
                if (IsValid(cell))
                    target.emplace(key, cell);
        }
    } else {
        target = m_selectedCells;
    }
    if (minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && maxRow < GetRowCount() &&
        maxCol < GetColumnCount() && minRow <= maxRow && minCol <= maxCol) {
        for (int row = minRow; row <= maxRow; ++row) {
            for (int col = minCol; col <= maxCol; ++col) {
                if (select)
                    target.emplace(MakeKey(row, col), CCellID(row, col));
                else
                    target.erase(MakeKey(row, col));
            }
        }
    }

    std::vector<CCellID> changed;
    for (const auto& [key, cell] : m_selectedCells)
        if (!target.count(key))
            changed.push_back(cell);
    for (const auto& [key, cell] : target)
        if (!m_selectedCells.count(key))
            changed.push_back(cell);

    const CCellRange visible = GetVisibleNonFixedCellRange();
    for (const CCellID& cell : changed) {
        const uint32_t state = GetItemState(cell.row, cell.col);
        const bool selected = target.count(MakeKey(cell.row, cell.col)) != 0;
        SetItemState(cell.row, cell.col, selected ? (state | GridState::Selected) : (state & ~GridState::Selected));
        const bool rowShown = cell.row < m_fixedRows || (cell.row >= visible.minRow && cell.row <= visible.maxRow);
        const bool colShown = cell.col < m_fixedCols || (cell.col >= visible.minCol && cell.col <= visible.maxCol);
        if (rowShown && colShown)
            RedrawCellIfVisible(cell.row, cell.col, forceRepaint);
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    CCellRange range(GetRowCount(), GetColumnCount(), -1, -1);
    for (const auto& [key, cell] : m_selectedCells) {
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
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
    SetSelectedRange(m_fixedRows, m_fixedCols, GetRowCount() - 1, GetColumnCount() - 1);
}

void CGridCtrl::SelectColumns(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.col < m_fixedCols || cell.col >= GetColumnCount())
        return;
    if (m_singleColumnSelection)
        SetSelectedRange(m_fixedRows, cell.col, GetRowCount() - 1, cell.col, forceRedraw, select);
    else
        SetSelectedRange(m_fixedRows, std::min(m_selectionStart.col, cell.col), GetRowCount() - 1,
                         std::max(m_selectionStart.col, cell.col), forceRedraw, select);
}

void CGridCtrl::SelectRows(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.row < m_fixedRows || cell.row >= GetRowCount())
        return;
    if (m_listMode && m_singleRowSelection)
        SetSelectedRange(cell.row, m_fixedCols, cell.row, GetColumnCount() - 1, forceRedraw, select);
    else
        SetSelectedRange(std::min(m_selectionStart.row, cell.row), m_fixedCols,
                         std::max(m_selectionStart.row, cell.row), GetColumnCount() - 1, forceRedraw, select);
}

void CGridCtrl::SelectCells(CCellID cell, bool forceRedraw, bool select)
{
    if (cell.row < m_fixedRows || cell.col < m_fixedCols || !IsValid(cell))
        return;
    const CCellID start = m_selectionStart;
    SetSelectedRange(std::min(start.row, cell.row), std::min(start.col, cell.col), std::max(start.row, cell.row),
                     std::max(start.col, cell.col), forceRedraw, select);
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
    const int rows = GetRowCount(), cols = GetColumnCount();
    int row = m_fixedRows, bottom = 0;
    while (bottom < m_vScrollPos && row < rows - 1)
        bottom += m_rowHeights[static_cast<size_t>(row++)];
    int col = m_fixedCols, right = 0;
    while (right < m_hScrollPos && col < cols - 1)
        right += m_colWidths[static_cast<size_t>(col++)];
    m_topLeft = CCellID(row, col);
    return m_topLeft;
}

bool CGridCtrl::GetCellOrigin(int row, int col, CGridPoint& origin)
{
    if (!IsValid(row, col))
        return false;
    const CCellID topLeft = GetTopleftNonFixedCell();
    if (col < m_fixedCols) {
        origin.x = 0;
        for (int c = 0; c < col; ++c)
            origin.x += m_colWidths[static_cast<size_t>(c)];
    } else {
        if (col < topLeft.col)
            return false;
        origin.x = GetFixedColumnWidth();
        for (int c = topLeft.col; c < col; ++c)
            origin.x += m_colWidths[static_cast<size_t>(c)];
    }
    if (row < m_fixedRows) {
        origin.y = 0;
        for (int r = 0; r < row; ++r)
            origin.y += m_rowHeights[static_cast<size_t>(r)];
    } else {
        if (row < topLeft.row)
            return false;
        origin.y = GetFixedRowHeight();
        for (int r = topLeft.row; r < row; ++r)
            origin.y += m_rowHeights[static_cast<size_t>(r)];
    }
    return true;
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

CCellID CGridCtrl::GetCellFromPt(CGridPoint point, bool allowFixedCellCheck)
{
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int fixedWidth = GetFixedColumnWidth(), fixedHeight = GetFixedRowHeight();
    const int rows = GetRowCount(), cols = GetColumnCount();
    CCellID cell;

    if (point.x < 0 || (!allowFixedCellCheck && point.x < fixedWidth)) {
        cell.col = -1;
    } else if (point.x < fixedWidth) {
        int x = 0, col = 0;
        for (; col < m_fixedCols; ++col) {
            x += m_colWidths[static_cast<size_t>(col)];
            if (x > point.x)
                break;
        }
        cell.col = col < m_fixedCols ? col : -1;
    } else {
        int x = fixedWidth, col = topLeft.col;
        for (; col < cols; ++col) {
            x += m_colWidths[static_cast<size_t>(col)];
            if (x > point.x)
                break;
        }
        cell.col = col < cols ? col : -1;
    }

    if (point.y < 0 || (!allowFixedCellCheck && point.y < fixedHeight)) {
        cell.row = -1;
    } else if (point.y < fixedHeight) {
        int y = 0, row = 0;
        for (; row < m_fixedRows; ++row) {
            y += m_rowHeights[static_cast<size_t>(row)];
            if (y > point.y)
                break;
        }
        cell.row = row < m_fixedRows ? row : -1;
    } else {
        int y = fixedHeight, row = topLeft.row;
        for (; row < rows; ++row) {
            y += m_rowHeights[static_cast<size_t>(row)];
            if (y > point.y)
                break;
        }
        cell.row = row < rows ? row : -1;
    }
    return cell;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange()
{
    const CCellID topLeft = GetTopleftNonFixedCell();
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    const int rows = GetRowCount(), cols = GetColumnCount();
    int bottom = GetFixedRowHeight(), row = topLeft.row;
    for (; row < rows; ++row) {
        bottom += m_rowHeights[static_cast<size_t>(row)];
        if (bottom >= client.cy)
            break;
    }
    int right = GetFixedColumnWidth(), col = topLeft.col;
    for (; col < cols; ++col) {
        right += m_colWidths[static_cast<size_t>(col)];
        if (right >= client.cx)
            break;
    }
    return CCellRange(topLeft.row, topLeft.col, std::min(row, rows - 1), std::min(col, cols - 1));
}

bool CGridCtrl::IsCellVisible(int row, int col)
{
    if (!IsValid(row, col) || !m_view)
        return false;
    const CGridSize client = m_view->ClientSize();
    const CCellID topLeft = GetTopleftNonFixedCell();
    // Walks stop at the client edge so that far-away rows cost nothing.
    int x = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += m_colWidths[static_cast<size_t>(c)];
    } else {
        if (col < topLeft.col)
            return false;
        x = GetFixedColumnWidth();
        for (int c = topLeft.col; c < col && x < client.cx; ++c)
            x += m_colWidths[static_cast<size_t>(c)];
    }
    if (x >= client.cx)
        return false;
    int y = 0;
    if (row < m_fixedRows) {
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[static_cast<size_t>(r)];
    } else {
        if (row < topLeft.row)
            return false;
        y = GetFixedRowHeight();
        for (int r = topLeft.row; r < row && y < client.cy; ++r)
            y += m_rowHeights[static_cast<size_t>(r)];
    }
    return y < client.cy;
}

int CGridCtrl::RowOffset(int row) const
{
    int offset = 0;
    row = std::min(row, GetRowCount());
    for (int r = m_fixedRows; r < row; ++r)
        offset += m_rowHeights[static_cast<size_t>(r)];
    return offset;
}

int CGridCtrl::ColumnOffset(int col) const
{
    int offset = 0;
    col = std::min(col, GetColumnCount());
    for (int c = m_fixedCols; c < col; ++c)
        offset += m_colWidths[static_cast<size_t>(c)];
    return offset;
}

int CGridCtrl::TopForBottomRow(int row) const
{
    const int page = (m_view ? m_view->ClientSize().cy : 0) - GetFixedRowHeight();
    int top = row, used = m_rowHeights[static_cast<size_t>(row)];
    while (top > m_fixedRows && used + m_rowHeights[static_cast<size_t>(top - 1)] <= page)
        used += m_rowHeights[static_cast<size_t>(--top)];
    return RowOffset(top);
}

int CGridCtrl::LeftForRightColumn(int col) const
{
    const int page = (m_view ? m_view->ClientSize().cx : 0) - GetFixedColumnWidth();
    int left = col, used = m_colWidths[static_cast<size_t>(col)];
    while (left > m_fixedCols && used + m_colWidths[static_cast<size_t>(left - 1)] <= page)
        used += m_colWidths[static_cast<size_t>(--left)];
    return ColumnOffset(left);
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col) || !m_view)
        return;
    const CGridSize client = m_view->ClientSize();
    CCellID topLeft = GetTopleftNonFixedCell();
    if (row >= m_fixedRows) {
        if (row < topLeft.row) {
            SetScrollPos(true, RowOffset(row));
        } else {
            const int bottom = GetFixedRowHeight() + RowOffset(row + 1) - RowOffset(topLeft.row);
            if (bottom > client.cy)
                SetScrollPos(true, std::max(m_vScrollPos, TopForBottomRow(row)));
        }
    }
    topLeft = GetTopleftNonFixedCell();
    if (col >= m_fixedCols) {
        if (col < topLeft.col) {
            SetScrollPos(false, ColumnOffset(col));
        } else {
            const int right = GetFixedColumnWidth() + ColumnOffset(col + 1) - ColumnOffset(topLeft.col);
            if (right > client.cx)
                SetScrollPos(false, std::max(m_hScrollPos, LeftForRightColumn(col)));
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
    int& current = vertical ? m_vScrollPos : m_hScrollPos;
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
    const std::vector<int>& sizes = vertical ? m_rowHeights : m_colWidths;
    const int fixed = vertical ? m_fixedRows : m_fixedCols;
    const int count = static_cast<int>(sizes.size());
    for (; lines != 0; lines += lines > 0 ? -1 : 1) {
        const CCellID topLeft = GetTopleftNonFixedCell();
        int first = vertical ? topLeft.row : topLeft.col;
        const int before = vertical ? m_vScrollPos : m_hScrollPos;
        if (first >= count)
            break; // only fixed lines, or none at all
        if (lines > 0) {
            while (first < count - 1 && sizes[static_cast<size_t>(first)] == 0)
                ++first;
            const int offset = vertical ? RowOffset(first + 1) : ColumnOffset(first + 1);
            SetScrollPos(vertical, offset);
        } else {
            int previous = first - 1;
            while (previous >= fixed && sizes[static_cast<size_t>(previous)] == 0)
                --previous;
            if (previous < fixed)
                SetScrollPos(vertical, 0);
            else
                SetScrollPos(vertical, vertical ? RowOffset(previous) : ColumnOffset(previous));
        }
        if ((vertical ? m_vScrollPos : m_hScrollPos) == before)
            break;
    }
}

void CGridCtrl::ScrollPages(bool vertical, int pages)
{
    const CGridSize client = m_view ? m_view->ClientSize() : CGridSize{};
    const int page = vertical ? client.cy - GetFixedRowHeight() : client.cx - GetFixedColumnWidth();
    const int64_t target = GetScrollPos(vertical) + int64_t{pages} * std::max(page, 1);
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

    auto drawCell = [&](int row, int col, int x, int y) {
        const int w = GetColumnWidth(col), h = GetRowHeight(row);
        if (w == 0 || h == 0)
            return;
        GetCell(row, col)->Draw(painter, row, col, {x, y, x + w - 1, y + h - 1}, true);
    };

    int y = 0;
    for (int row = 0; row < m_fixedRows; ++row) {
        int x = 0;
        for (int col = 0; col < m_fixedCols; ++col) {
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }
    y = fixedHeight;
    for (int row = visible.minRow; row <= visible.maxRow && row >= 0; ++row) {
        if (y >= client.cy)
            break;
        int x = 0;
        for (int col = 0; col < m_fixedCols; ++col) {
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }
    int x = fixedWidth;
    for (int col = visible.minCol; col <= visible.maxCol && col >= 0; ++col) {
        if (x >= client.cx)
            break;
        y = 0;
        for (int row = 0; row < m_fixedRows; ++row) {
            drawCell(row, col, x, y);
            y += GetRowHeight(row);
        }
        x += GetColumnWidth(col);
    }
    y = fixedHeight;
    for (int row = visible.minRow; row <= visible.maxRow && row >= 0; ++row) {
        if (y >= client.cy)
            break;
        x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol && col >= 0; ++col) {
            if (x >= client.cx)
                break;
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }

    if (m_gridLines & GridLines::Vertical) {
        x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol && col >= 0; ++col) {
            const int w = GetColumnWidth(col);
            x += w;
            if (w > 0)
                painter.DrawLine(x - 1, fixedHeight, x - 1, maxY - 1, m_gridLineColour);
        }
    }
    if (m_gridLines & GridLines::Horizontal) {
        y = fixedHeight;
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
