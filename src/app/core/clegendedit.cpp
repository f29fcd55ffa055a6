#include "app/core/clegendedit.h"

#include <algorithm>

CLegendEdit CLegendEdit::Between(const CLLLegend& before, const CLLLegend& after)
{
    CLegendEdit edit;
    const int countBefore = before.GetRowCount();
    const int countAfter = after.GetRowCount();
    // The rows that stayed at the start and at the end frame the run that changed.
    CLLRow a, b;
    int first = 0;
    while (first < countBefore && first < countAfter && before.GetRow(first, a) && after.GetRow(first, b) && a == b)
        ++first;
    int tail = 0;
    while (tail < countBefore - first && tail < countAfter - first && before.GetRow(countBefore - 1 - tail, a) &&
           after.GetRow(countAfter - 1 - tail, b) && a == b)
        ++tail;
    edit.m_first = first;
    edit.m_rowsBefore = Rows(before, first, countBefore - first - tail);
    edit.m_rowsAfter = Rows(after, first, countAfter - first - tail);
    const CHeader headerBefore = HeaderOf(before);
    const CHeader headerAfter = HeaderOf(after);
    if (!(headerBefore == headerAfter)) {
        edit.m_headerBefore = headerBefore;
        edit.m_headerAfter = headerAfter;
    }
    return edit;
}

bool CLegendEdit::IsEmpty() const
{
    return m_rowsBefore.empty() && m_rowsAfter.empty() && !m_headerBefore;
}

void CLegendEdit::Apply(CLLLegend& legend, bool undo) const
{
    const std::vector<CLLRow>& from = undo ? m_rowsAfter : m_rowsBefore;
    const std::vector<CLLRow>& to = undo ? m_rowsBefore : m_rowsAfter;
    // The header first: the data type decides which value lists new rows fill.
    if (m_headerBefore)
        SetHeader(legend, undo ? *m_headerBefore : *m_headerAfter);
    const size_t common = std::min(from.size(), to.size());
    for (size_t i = 0; i < common; ++i)
        legend.SetRow(m_first + static_cast<int>(i), to[i]);
    for (size_t i = common; i < from.size(); ++i)
        legend.DeleteRow(m_first + static_cast<int>(common));
    for (size_t i = common; i < to.size(); ++i) {
        const int at = m_first + static_cast<int>(i);
        // An inserted row joins the value lists in use; an empty legend has
        // none in use yet, and its first row takes those of its data type.
        if (legend.GetRowCount() == 0) {
            legend.AddRow(to[i], CLLLegend::RowValues::OfDataType);
        } else {
            legend.InsertRow(at);
            legend.SetRow(at, to[i]);
        }
    }
}

CLegendEdit::CHeader CLegendEdit::HeaderOf(const CLLLegend& legend)
{
    return {legend.m_Name, legend.m_Description, legend.m_DataType, legend.m_DefaultThickness,
            legend.m_HeaderComments};
}

void CLegendEdit::SetHeader(CLLLegend& legend, const CHeader& header)
{
    legend.m_Name = header.name;
    legend.m_Description = header.description;
    legend.m_DataType = header.dataType;
    legend.m_DefaultThickness = header.defaultThickness;
    legend.m_HeaderComments = header.headerComments;
}

std::vector<CLLRow> CLegendEdit::Rows(const CLLLegend& legend, int first, int count)
{
    std::vector<CLLRow> rows(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        legend.GetRow(first + i, rows[static_cast<size_t>(i)]);
    return rows;
}
