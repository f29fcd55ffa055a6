#include "app/sheet/crowcommands.h"

#include "app/sheet/cmygridcell.h"
#include "app/sheet/cmygridctrl.h"
#include "platform/cnumberformat.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"

#include <string>
#include <vector>

namespace {

// The rows of the legend from index first on, as many as it has up to last.
std::vector<CLLRow> RowsOf(const CLLLegend& legend, int first, int last)
{
    std::vector<CLLRow> rows;
    CLLRow row;
    for (int i = first; i <= last && legend.GetRow(i, row); ++i)
        rows.push_back(row);
    return rows;
}

// A row as writing its cells back reads it: a transparent colour shows as a
// negative number, which reads back as white.
void AsWrittenBack(CLLRow& row)
{
    if (row.fillTransparent)
        row.fillColour = CGColor(CLLLegend::White);
    if (row.backTransparent)
        row.backColour = CGColor(CLLLegend::White);
}

} // namespace

bool CRowCommands::OnButton(int controlId)
{
    m_Sheet.CloseChoosers();
    switch (controlId) {
    case ButtonInsertRow: InsertRow(); return true;
    case ButtonAddRow: AddRow(); return true;
    case ButtonDeleteRows: DeleteRows(); return true;
    case ButtonDuplicate: Duplicate(); return true;
    case ButtonRGBInterp: RGBInterp(); return true;
    case ButtonHSLInterp: HSLInterp(); return true;
    case ButtonOKLabInterp: OKLabInterp(); return true;
    case ButtonStepPatterns: StepPatterns(); return true;
    default: return false;
    }
}

bool CRowCommands::InRowOrder(int refusal)
{
    if (m_Sheet.IsRowOrder())
        return true;
    m_Prompt.ShowString(refusal);
    return false;
}

void CRowCommands::MarkModified()
{
    m_Sheet.MarkModified();
}

void CRowCommands::Renumber()
{
    for (int r = 1; r < m_Sheet.GetRowCount(); ++r) {
        m_Sheet.SetItemText(r, 0, std::to_string(r));
        for (int c = 0; c < m_Sheet.GetColumnCount(); ++c)
            if (auto* cell = dynamic_cast<CMyGridCell*>(m_Sheet.GetCell(r, c)))
                cell->SetLegendRow(r - 1);
    }
}

void CRowCommands::InsertRow()
{
    if (!InRowOrder(Str::InsertNeedsRowSort))
        return;
    const CCellRange selection = m_Sheet.GetSelectedCellRange();
    if (!selection.IsValid()) {
        m_Prompt.ShowString(Str::NoRowSelected);
        return;
    }
    const int row = m_Sheet.InsertRow("", selection.minRow);
    if (row < 1)
        return;
    CLLRow inserted;
    m_Sheet.ChangeLegend([row, &inserted](CLLLegend& legend) {
        legend.InsertRow(row - 1);
        legend.GetRow(row - 1, inserted);
    });
    m_Sheet.ShowLegendRow(row, inserted);
    Renumber();
    m_Sheet.Refresh();
}

void CRowCommands::AddRow()
{
    if (!InRowOrder(Str::AddNeedsRowSort))
        return;
    const bool numeric = m_Sheet.IsNumeric();
    const bool autoPopulate = m_Sheet.GetAutoPopulate();
    const CNumberSeparators separators = CNumberSeparators::User();
    CLLLegend after;
    bool changed = false;
    m_Sheet.ChangeLegend([&](CLLLegend& legend) {
        CLLRow row;
        const int count = legend.GetRowCount();
        std::string previousTo;
        if (count > 0) {
            legend.GetRow(count - 1, row);
            previousTo = CMyGridCtrl::FormatRange(row.to, separators);
        } else {
            // The style defaults of a new row, but opaque black throughout.
            CLLLegend fresh;
            fresh.Clear();
            fresh.InsertRow(0);
            fresh.GetRow(0, row);
            row.fillColour = row.backColour = row.lineColour = CGColor(0u);
            row.fillTransparent = row.backTransparent = false;
        }
        // The new row's first cells are emptied, or From continues the range
        // above, and written back as typed text would be.
        AsWrittenBack(row);
        if (numeric) {
            row.from = CNumberFormat::ParseLocaleDouble(autoPopulate ? previousTo : "", separators);
            row.to = CNumberFormat::ParseLocaleDouble("", separators);
        } else {
            row.text.clear();
        }
        legend.AddRow(row, CLLLegend::RowValues::OfDataType);
        after = legend;
        changed = true;
    });
    if (!changed)
        return;
    m_Sheet.FillFromLegend(after, !m_Sheet.IsEditable());
    Renumber();
    const int last = m_Sheet.GetRowCount() - 1;
    if (numeric) {
        m_Sheet.SetItemText(
            last, m_Sheet.Columns().from,
            autoPopulate && last > 1 ? m_Sheet.GetItemText(last - 1, m_Sheet.Columns().to) : "");
        m_Sheet.SetItemText(last, m_Sheet.Columns().to, "");
    } else {
        m_Sheet.SetItemText(last, m_Sheet.Columns().from, "");
    }
    m_Sheet.SetFocusCell(last, 1);
    m_Sheet.Refresh();
}

void CRowCommands::DeleteRows()
{
    if (!InRowOrder(Str::DeleteNeedsRowSort))
        return;
    const CCellRange selection = m_Sheet.GetSelectedCellRange();
    if (!selection.IsValid()) {
        m_Prompt.ShowString(Str::NoRowSelected);
        return;
    }
    // Only rows whose first value cell is selected go.
    std::vector<int> rows;
    for (int r = selection.minRow; r <= selection.maxRow; ++r)
        if (m_Sheet.IsCellSelected(r, 1))
            rows.push_back(r);
    const int count = static_cast<int>(rows.size());
    if (m_Prompt.ShowString(count >= 2 ? Str::DeleteRowsMany : Str::DeleteRowsOne,
                            {std::to_string(count)}, CUserPrompt::Buttons::YesNo,
                            CStringTable::Load(Str::DeleteRowsTitle)) != CUserPrompt::Answer::Yes)
        return;
    // Each deletion moves the rows below it up by one.
    for (int k = 0; k < count; ++k)
        m_Sheet.DeleteRow(rows[static_cast<size_t>(k)] - k);
    if (count == 0) // nothing to delete, and yet a command the user confirmed
        MarkModified();
    else
        m_Sheet.ChangeLegend([&rows](CLLLegend& legend) {
            for (size_t k = 0; k < rows.size(); ++k)
                legend.DeleteRow(rows[k] - static_cast<int>(k) - 1);
        });
    Renumber();
    m_Sheet.Refresh();
}

void CRowCommands::Duplicate()
{
    const CCellRange s = m_Sheet.GetSelectedCellRange();
    const CSheetColumns k = m_Sheet.Columns();
    if (!s.IsValid()) {
        m_Prompt.ShowString(Str::NothingSelected);
        return;
    }
    if (s.minCol < k.fg || s.maxCol > k.lstyle) {
        m_Prompt.ShowString(Str::DuplicateUnsupported);
        return;
    }
    std::vector<CLLRow> shown;
    m_Sheet.ChangeLegend([&](CLLLegend& legend) {
        CLLRow source, row;
        if (!legend.GetRow(s.minRow - 1, source))
            return;
        for (int r = s.minRow + 1; r <= s.maxRow && legend.GetRow(r - 1, row); ++r) {
            for (int c = s.minCol; c <= s.maxCol; ++c) {
                if (c == k.fg) {
                    row.fillColour = CGColor(source.fillColour.GetPacked());
                    row.fillTransparent = source.fillTransparent;
                } else if (c == k.bg) {
                    row.backColour = CGColor(source.backColour.GetPacked());
                    row.backTransparent = source.backTransparent;
                } else if (c == k.pattern) {
                    row.pattern = source.pattern;
                } else if (c == k.lcol) {
                    row.lineColour = CGColor(source.lineColour.GetPacked());
                } else if (c == k.lstyle) {
                    row.lineStyle = source.lineStyle;
                }
            }
            legend.SetRow(r - 1, row);
        }
        shown = RowsOf(legend, s.minRow - 1, s.maxRow - 1);
    });
    // The style cells draw from what they carry, so they show the copies too.
    for (size_t i = 0; i < shown.size(); ++i)
        m_Sheet.ShowStyle(s.minRow + static_cast<int>(i), shown[i]);
    m_Sheet.Refresh();
}

void CRowCommands::Interp(CInterpolationMode mode)
{
    const CCellRange s = m_Sheet.GetSelectedCellRange();
    const CSheetColumns k = m_Sheet.Columns();
    if (s.minCol != s.maxCol) {
        m_Prompt.ShowString(Str::SelectSingleColumn);
        return;
    }
    CColourColumn column;
    if (s.minCol == k.fg)
        column = CColourColumn::Fill;
    else if (s.minCol == k.bg)
        column = CColourColumn::Back;
    else if (s.minCol == k.lcol)
        column = CColourColumn::Line;
    else {
        m_Prompt.ShowString(Str::SelectColourColumn);
        return;
    }
    const int first = s.minRow - 1, last = s.maxRow - 1;
    if (last - first + 1 <= 0)
        return;
    if (first == last && first >= 0) { // one row: no colour changes, the command counts all the same
        MarkModified();
        m_Sheet.Refresh();
        return;
    }
    std::vector<CLLRow> shown;
    m_Sheet.ChangeLegend([&](CLLLegend& legend) {
        if (first < 0 || last >= legend.GetRowCount())
            return;
        InterpolateColourColumn(legend, first, last, column, mode);
        shown = RowsOf(legend, first, last);
    });
    for (size_t i = 1; i < shown.size(); ++i)
        m_Sheet.ShowStyle(s.minRow + static_cast<int>(i), shown[i]);
    m_Sheet.Refresh();
}

void CRowCommands::StepPatterns()
{
    const CCellRange s = m_Sheet.GetSelectedCellRange();
    if (s.minCol != s.maxCol) {
        m_Prompt.ShowString(Str::SelectSingleColumn);
        return;
    }
    if (s.minCol != m_Sheet.Columns().pattern) {
        m_Prompt.ShowString(Str::SelectPatternColumn);
        return;
    }
    if (s.minRow < 0 || s.maxRow - s.minRow + 1 < 2) {
        m_Prompt.ShowString(Str::PatternTwoRows);
        MarkModified();
        m_Sheet.Refresh();
        return;
    }
    const CPatternTable& patterns = m_Sheet.Patterns();
    std::vector<CLLRow> shown;
    m_Sheet.ChangeLegend([&](CLLLegend& legend) {
        CLLRow row;
        if (!legend.GetRow(s.minRow - 1, row))
            return;
        int32_t p = row.pattern;
        for (int r = s.minRow + 1; r <= s.maxRow && legend.GetRow(r - 1, row); ++r) {
            // The next loaded pattern above p; past the last one, round to 2.
            int32_t q = 2;
            for (int32_t n = p < 0 ? 0 : p + 1; n < CPatternTable::Slots; ++n) {
                if (patterns.IsLoaded(n)) {
                    q = n;
                    break;
                }
            }
            row.pattern = q;
            legend.SetRow(r - 1, row);
            p = q;
        }
        shown = RowsOf(legend, s.minRow - 1, s.maxRow - 1);
    });
    for (size_t i = 1; i < shown.size(); ++i)
        m_Sheet.ShowStyle(s.minRow + static_cast<int>(i), shown[i]);
    m_Sheet.Refresh();
}
