// The editing protocol, clipboard text and sorting of CGridCtrl.

#include "grid/cgridctrl.h"

#include "platform/cnumberformat.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------- editing

void CGridCtrl::OnEditCell(int row, int col, CGridPoint point, unsigned key)
{
    if (!IsValid(row, col) || !IsCellEditable(row, col))
        return;
    if (!IsCellVisible(row, col))
        return;
    CGridRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    if (SendNotify(GridNotifyBeginEdit, row, col) < 0)
        return;
    // The owner may have rebuilt the table while it was asked.
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    cell->Edit(row, col, rect, point, kInPlaceEditId, key);
    if (cell->IsEditing())
        m_editCell = cell;
}

void CGridCtrl::RequestEdit(int row, int col, CGridPoint point, unsigned key, CGridEditTrigger trigger)
{
    if (m_owner && IsValid(row, col) &&
        m_owner->OnGridEditRequest(m_id, row, col, trigger, key) != CGridEditAction::TextEditor)
        return;
    OnEditCell(row, col, point, key);
}

void CGridCtrl::EndEditing()
{
    CGridCellBase* cell = m_editCell ? m_editCell : GetCell(m_focusCell.row, m_focusCell.col);
    if (cell && cell->IsEditing())
        cell->EndEdit();
}

bool CGridCtrl::ValidateEdit(int row, int col, const std::string& text)
{
    CGridCellBase* cell = GetCell(row, col);
    return cell && cell->ValidateEdit(text);
}

// Store, validate, tell the owner, keep or put back; true when the new text
// stays. False also when the owner's reply destroyed the cell.
bool CGridCtrl::StoreEditedText(int row, int col, CGridCellBase* cell, const std::string& text)
{
    const std::string old = cell->GetText();
    if (text == old)
        return false;
    cell->SetText(text);
    bool accepted = ValidateEdit(row, col, text);
    if (accepted) {
        m_watchedCells.push_back(cell);
        accepted = SendNotify(GridNotifyEndEdit, row, col, text) >= 0;
        const bool alive = m_watchedCells.back() != nullptr;
        m_watchedCells.pop_back();
        if (!alive)
            return false;
    }
    if (!accepted) {
        cell->SetText(old);
        return false;
    }
    SetModified(row, col);
    RedrawCell(row, col);
    return true;
}

void CGridCtrl::OnEndEditCell(int row, int col, const std::string& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    m_watchedCells.push_back(cell);
    StoreEditedText(row, col, cell, text);
    const bool alive = m_watchedCells.back() != nullptr;
    m_watchedCells.pop_back();
    if (alive)
        cell->OnEndEdit();
}

CCellID CGridCtrl::FindCell(const CGridCellBase* cell) const
{
    for (int row = 0; row < GetRowCount(); ++row)
        for (int col = 0; col < GetColumnCount(); ++col)
            if (m_rowData[static_cast<size_t>(row)][static_cast<size_t>(col)].get() == cell)
                return CCellID(row, col);
    return CCellID();
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const std::string& text, unsigned endKey, unsigned modifiers)
{
    if (m_editCell) {
        // Sorting or an insertion may have moved the cell under the open box.
        if (GetCell(row, col) != m_editCell) {
            const CCellID at = FindCell(m_editCell);
            row = at.row;
            col = at.col;
        }
        m_editCell = nullptr;
    }
    OnEndEditCell(row, col, text);
    switch (endKey) {
    case GridKey::Tab:
    case GridKey::PageUp:
    case GridKey::PageDown:
    case GridKey::End:
    case GridKey::Home:
    case GridKey::Left:
    case GridKey::Up:
    case GridKey::Right:
    case GridKey::Down:
    {
        // Typing goes on in the next cell. At the end of the grid the key
        // finds none, and the edit simply ends: reopening the same cell
        // would keep the user in the editor for good.
        const CCellID before = m_focusCell;
        OnKeyDown(endKey, modifiers);
        if (m_focusCell != before)
            RequestEdit(m_focusCell.row, m_focusCell.col, CGridPoint{-1, -1}, endKey, CGridEditTrigger::NextCell);
        break;
    }
    default:
        break;
    }
    Refresh();
}

bool CGridCtrl::ValidateAndModifyCellContents(int row, int col, const std::string& text)
{
    if (!IsCellEditable(row, col))
        return false;
    if (SendNotify(GridNotifyBeginEdit, row, col) < 0)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    return cell && StoreEditedText(row, col, cell, text);
}

// ---------------------------------------------------------------- clipboard

bool CGridCtrl::CanCopy() const
{
    const CCellRange range = GetSelectedCellRange();
    return range.IsValid();
}

bool CGridCtrl::CanCut() const
{
    return m_editable && CanCopy();
}

bool CGridCtrl::CanPaste()
{
    return IsValid(m_focusCell) && IsCellEditable(m_focusCell.row, m_focusCell.col) && m_view &&
           m_view->ClipboardText().has_value();
}

std::optional<std::string> CGridCtrl::CopyTextFromGrid()
{
    const CCellRange range = GetSelectedCellRange();
    if (!range.IsValid())
        return std::nullopt;
    // Separators go between visible cells only: one after a hidden last
    // column or row would make a paste of the text empty a cell beyond it.
    std::string text;
    bool firstRow = true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (GetRowHeight(row) == 0)
            continue;
        if (!firstRow)
            text += '\n';
        firstRow = false;
        bool firstCol = true;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetColumnWidth(col) == 0)
                continue;
            if (!firstCol)
                text += '\t';
            firstCol = false;
            const CGridCellBase* cell = GetCell(row, col);
            if (cell && cell->IsSelected())
                text += cell->GetText();
        }
    }
    return text;
}

void CGridCtrl::CutSelectedText()
{
    if (!m_editable)
        return;
    const SelectionMap selected = m_selection.Cells();
    for (const auto& [key, cell] : selected) {
        if (GetRowHeight(cell.row) == 0 || GetColumnWidth(cell.col) == 0)
            continue;
        ValidateAndModifyCellContents(cell.row, cell.col, std::string());
    }
    Refresh();
}

namespace {
std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, const char* separators)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find_first_of(separators, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}
} // namespace

bool CGridCtrl::PasteTextToGrid(CCellID cell, const std::string& text)
{
    if (!IsValid(cell) || !IsCellEditable(cell.row, cell.col))
        return false;
    std::vector<std::string> lines = Split(text, "\n");
    // A final line feed ends the last line; it does not start an empty one.
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    const char* separators = m_pasteTabOnly ? "\t" : "\t,";
    const int rows = GetRowCount(), cols = GetColumnCount();
    int row = cell.row;
    for (const std::string& line : lines) {
        while (row < rows && GetRowHeight(row) == 0)
            ++row;
        if (row >= rows)
            break;
        int col = cell.col;
        for (const std::string& field : Split(line, separators)) {
            while (col < cols && GetColumnWidth(col) == 0)
                ++col;
            if (col >= cols)
                break;
            ValidateAndModifyCellContents(row, col, Trim(field));
            SetItemState(row, col, GetItemState(row, col) & ~GridState::Selected);
            ++col;
        }
        ++row;
    }
    Refresh();
    return true;
}

void CGridCtrl::OnEditCopy()
{
    const std::optional<std::string> text = CopyTextFromGrid();
    if (text && m_view)
        m_view->SetClipboardText(*text);
}

void CGridCtrl::OnEditCut()
{
    if (!m_editable || !GetSelectedCellRange().IsValid())
        return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_editable)
        return;
    CCellID cell = m_focusCell;
    if (!IsValid(cell))
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;
    CGridCellBase* target = GetCell(cell.row, cell.col);
    if (target->IsEditing() && target->GetEditWnd()) {
        target->GetEditWnd()->Paste();
        return;
    }
    if (!m_view)
        return;
    if (const std::optional<std::string> text = m_view->ClipboardText())
        PasteTextToGrid(cell, *text);
}

void CGridCtrl::OnEditSelectAll()
{
    SendNotify(GridNotifySelChanging, m_clickDownCell.row, m_clickDownCell.col);
    SelectAllCells();
    SendNotify(GridNotifySelChanged, m_focusCell.row, m_focusCell.col);
}

// ---------------------------------------------------------------- sorting

int CGridCtrl::CompareNumeric(const CGridCellBase& a, const CGridCellBase& b)
{
    const int32_t left = CNumberFormat::ParseInt32(a.GetText());
    const int32_t right = CNumberFormat::ParseInt32(b.GetText());
    return left < right ? -1 : (left == right ? 0 : 1);
}

int CGridCtrl::CompareText(const CGridCellBase& a, const CGridCellBase& b)
{
    const int result = std::strcmp(a.GetText().c_str(), b.GetText().c_str());
    return result < 0 ? -1 : (result == 0 ? 0 : 1);
}

bool CGridCtrl::SortItems(int col, bool ascending, intptr_t param)
{
    if (col < 0 || col >= GetColumnCount())
        return false;
    for (int row = 0; row < m_rows.Fixed(); ++row) {
        RedrawCell(row, m_sortColumn);
        RedrawCell(row, col);
    }
    m_sortColumn = col;
    m_sortAscending = ascending;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    const bool sorted = SortItemsRange(col, ascending, param, m_rows.Fixed(), -1);
    RenumberRows(m_rows.Fixed());
    Refresh();
    if (m_owner)
        m_owner->OnGridSorted(m_id, col, ascending);
    return sorted;
}

void CGridCtrl::SwapRows(int a, int b)
{
    std::swap(m_rowData[static_cast<size_t>(a)], m_rowData[static_cast<size_t>(b)]);
    m_rows.Swap(a, b);
}

bool CGridCtrl::SortItemsRange(int col, bool ascending, intptr_t param, int low, int high)
{
    if (col < 0 || col >= GetColumnCount())
        return false;
    if (high == -1)
        high = GetRowCount() - 1;
    if (high <= low)
        return false;

    // The pivot is the cell object itself; it travels with its row.
    const CGridCellBase* pivot = GetCell((low + high) / 2, col);
    std::function<int(const CGridCellBase&, const CGridCellBase&)> compare;
    if (pivot->IsNumeric())
        compare = [](const CGridCellBase& a, const CGridCellBase& b) { return CompareNumeric(a, b); };
    else if (m_compare)
        compare = [this, param](const CGridCellBase& a, const CGridCellBase& b) { return m_compare(a, b, param); };
    else
        compare = [](const CGridCellBase& a, const CGridCellBase& b) { return CompareText(a, b); };
    auto at = [this, col](int row) -> const CGridCellBase& { return *GetCell(row, col); };

    int lo = low, hi = high;
    while (lo <= hi) {
        if (ascending) {
            while (lo < high && compare(at(lo), *pivot) < 0)
                ++lo;
            while (hi > low && compare(at(hi), *pivot) > 0)
                --hi;
        } else {
            while (lo < high && compare(at(lo), *pivot) > 0)
                ++lo;
            while (hi > low && compare(at(hi), *pivot) < 0)
                --hi;
        }
        if (lo <= hi) {
            if (compare(at(lo), at(hi)) != 0)
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortItemsRange(col, ascending, param, low, hi);
    if (lo < high)
        SortItemsRange(col, ascending, param, lo, high);
    return true;
}
