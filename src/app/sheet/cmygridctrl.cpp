#include "app/sheet/cmygridctrl.h"

#include "app/core/legendtext.h"
#include "app/sheet/cmygridcell.h"
#include "platform/cstringtable.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace {
std::string Decimal(int32_t n)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", n);
    return buffer;
}

// The value of a cell text that is a number as a whole (blanks around it
// aside); none for an empty text or one with anything else in it.
std::optional<double> WholeNumber(const std::string& text)
{
    const char* end = nullptr;
    const double value = CNumberFormat::ParseDouble(text.c_str(), &end);
    if (end == text.c_str())
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end ? std::nullopt : std::optional<double>(value);
}
} // namespace

CMyGridCtrl::CMyGridCtrl()
{
    SetOwner(this);
    SetCellType<CMyGridCell>();
    SetSortOnClick(true);
    // Used for every column whose cells are not marked numeric; the sort has
    // just stored the column it sorts by.
    SetCompareFunction([this](const CGridCellBase& a, const CGridCellBase& b, intptr_t) {
        return CompareTexts(a.GetText(), b.GetText(), GetSortColumn());
    });
}

int CMyGridCtrl::CompareTexts(const std::string& a, const std::string& b, int col) const
{
    // From and To hold the user's separators and are read back with them;
    // LThick is written and read without.
    const bool fromTo = IsNumeric() && (col == m_Columns.from || col == m_Columns.to);
    if (fromTo || col == m_Columns.lthick) {
        auto read = [&](const std::string& text) {
            return WholeNumber(fromTo ? CNumberFormat::Delocalise(text, m_Separators) : text);
        };
        const std::optional<double> left = read(a), right = read(b);
        if (left && right)
            return *left < *right ? -1 : (*left > *right ? 1 : 0);
    }
    const int result = std::strcmp(a.c_str(), b.c_str());
    return result < 0 ? -1 : (result == 0 ? 0 : 1);
}

int CMyGridCtrl::ReloadPatterns(const std::string& folder)
{
    CloseChoosers();
    m_PatternFolder = folder;
    const int loaded = m_Patterns.Load(folder);
    Refresh();
    return loaded;
}

std::string CMyGridCtrl::FormatRange(double value, const CNumberSeparators& separators)
{
    const std::string plain = CNumberFormat::Format("%g", value);
    std::string out;
    const size_t point = plain.rfind('.');
    for (size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == ',')
            out += separators.thousands;
        else if (i == point)
            out += separators.decimal;
        else
            out += plain[i];
    }
    return out;
}

int32_t CMyGridCtrl::ColourNumber(const CGColor& colour, bool transparent)
{
    return transparent ? TransparentNumber : static_cast<int32_t>(colour.GetPacked());
}

std::string CMyGridCtrl::FormatColour(const CGColor& colour, bool transparent)
{
    return Decimal(ColourNumber(colour, transparent));
}

void CMyGridCtrl::ClearSheet()
{
    DeleteAllItems();
    Refresh();
}

void CMyGridCtrl::FillFromLegend(const CLLLegend& legend, bool readOnly)
{
    m_DataType = legend.m_DataType;
    m_Columns = CSheetColumns::For(m_DataType);
    m_Separators = CNumberSeparators::User();
    CloseChoosers();
    DeleteAllItems();
    SetEditable(!readOnly);
    SetCellType<CMyGridCell>();

    const int rows = legend.GetRowCount();
    SetRowCount(rows + 1);
    SetColumnCount(m_Columns.count);
    SetFixedRowCount(1);
    SetFixedColumnCount(1);
    const std::vector<CSheetColumns::Heading> headings =
        CSheetColumns::Headings(m_DataType, m_QuarvexOrStrativ);
    for (int c = 0; c < m_Columns.count; ++c) {
        SetItemText(0, c, headings[static_cast<size_t>(c)].text);
        SetColumnWidth(c, headings[static_cast<size_t>(c)].width);
    }

    CLLRow row;
    for (int i = 0; i < rows; ++i) {
        legend.GetRow(i, row);
        ShowLegendRow(i + 1, row);
    }
    ResetScrollBars();
    Refresh();
}

void CMyGridCtrl::ShowLegendRow(int r, const CLLRow& row)
{
    const CSheetColumns& k = m_Columns;
    SetRowHeight(r, RowHeight);
    for (int c = 0; c < k.count; ++c) {
        if (auto* cell = dynamic_cast<CMyGridCell*>(GetCell(r, c))) {
            cell->SetOwnerWindow(this);
            cell->SetLegendRow(r - 1);
            // Integers only: the grid's numeric compare reads leading digits.
            cell->SetNumeric(c == 0 || k.IsChooser(c));
        }
    }
    SetItemText(r, 0, Decimal(r));
    if (IsNumeric()) {
        SetItemText(r, k.from, FormatRange(row.from, m_Separators));
        SetItemText(r, k.to, FormatRange(row.to, m_Separators));
    } else {
        SetItemText(r, k.from, row.text);
    }
    SetItemText(r, k.label, row.label);
    ShowStyle(r, row);
    SetItemText(r, k.lthick, CNumberFormat::Format("%.10g", static_cast<double>(row.thickness)));
    SetItemText(r, k.comment, row.comment);
    CloseChooserCells(r);
}

void CMyGridCtrl::SetNumberCell(int row, int col, int32_t number)
{
    SetItemText(row, col, Decimal(number));
    SetItemData(row, col, number);
    RedrawCell(row, col);
}

void CMyGridCtrl::ShowStyle(int row, const CLLRow& values)
{
    SetNumberCell(row, m_Columns.fg, ColourNumber(values.fillColour, values.fillTransparent));
    SetNumberCell(row, m_Columns.bg, ColourNumber(values.backColour, values.backTransparent));
    SetNumberCell(row, m_Columns.pattern, values.pattern);
    SetNumberCell(row, m_Columns.lcol, ColourNumber(values.lineColour, false));
    SetItemText(row, m_Columns.lstyle, Decimal(values.lineStyle));
    RedrawCell(row, m_Columns.lstyle);
}

void CMyGridCtrl::CloseChooserCells(int row)
{
    for (int c : {m_Columns.fg, m_Columns.bg, m_Columns.pattern, m_Columns.lcol, m_Columns.lstyle})
        SetItemState(row, c, GetItemState(row, c) | GridState::ReadOnly);
}

CLLRow CMyGridCtrl::ParseRow(int r) const
{
    const CSheetColumns& k = m_Columns;
    CLLRow row;
    if (IsNumeric()) {
        row.from = CNumberFormat::ParseLocaleDouble(GetItemText(r, k.from), m_Separators);
        row.to = CNumberFormat::ParseLocaleDouble(GetItemText(r, k.to), m_Separators);
    } else {
        row.text = GetItemText(r, k.from);
    }
    row.label = GetItemText(r, k.label);
    auto colour = [&](int c, CGColor& out, bool& transparent) {
        const int32_t n = CNumberFormat::ParseInt32(GetItemText(r, c));
        transparent = n < 0;
        out = CGColor(transparent ? CLLLegend::White : static_cast<uint32_t>(n));
    };
    bool lineTransparent = false; // a line has no transparent state: white it is
    colour(k.fg, row.fillColour, row.fillTransparent);
    colour(k.bg, row.backColour, row.backTransparent);
    colour(k.lcol, row.lineColour, lineTransparent);
    row.pattern = CNumberFormat::ParseInt32(GetItemText(r, k.pattern));
    row.lineStyle = CNumberFormat::ParseInt32(GetItemText(r, k.lstyle));
    row.thickness = static_cast<float>(CNumberFormat::ParseDouble(GetItemText(r, k.lthick)));
    row.comment = GetItemText(r, k.comment);
    return row;
}

void CMyGridCtrl::Change(const LegendChange& change)
{
    if (m_Change)
        m_Change(change);
}

void CMyGridCtrl::WriteBack(int row, int col)
{
    if (row == -1 && col == -1) {
        std::vector<CLLRow> rows;
        rows.reserve(static_cast<size_t>(GetRowCount()));
        for (int r = 1; r < GetRowCount(); ++r)
            rows.push_back(ParseRow(r));
        Change([&rows](CLLLegend& legend) {
            // Only the rows are rebuilt; the header stays.
            std::string name = legend.m_Name, description = legend.m_Description;
            std::vector<std::string> comments = legend.m_HeaderComments;
            const int32_t dataType = legend.m_DataType;
            legend.Clear();
            legend.m_Name = std::move(name);
            legend.m_Description = std::move(description);
            legend.m_HeaderComments = std::move(comments);
            legend.m_DataType = dataType;
            legend.ReserveRows(rows.size());
            for (const CLLRow& r : rows)
                legend.AddRow(r, CLLLegend::RowValues::OfDataType);
        });
        return;
    }
    if (row < 1 || row >= GetRowCount())
        return;
    const CLLRow parsed = ParseRow(row);
    const bool text = !IsNumeric();
    std::optional<CLLRow> stored;
    Change([&parsed, text, row, &stored](CLLLegend& legend) {
        CLLRow old;
        if (!legend.GetRow(row - 1, old))
            return;
        CLLRow next = parsed;
        // What the spreadsheet does not show stays as it was.
        next.value = old.value;
        if (text) {
            next.from = old.from;
            next.to = old.to;
        } else {
            next.text = old.text;
        }
        // Typed text is UTF-8; untouched text keeps its bytes, and a
        // Windows-1252 legend gets its new text in Windows-1252.
        const bool windows1252 = IsWindows1252Legend(legend);
        next.text = TypedLegendText(next.text, old.text, windows1252);
        next.label = TypedLegendText(next.label, old.label, windows1252);
        next.comment = TypedLegendText(next.comment, old.comment, windows1252);
        legend.SetRow(row - 1, next);
        stored = next;
    });
    // The cells hold the legend's bytes, as after a fill, so a sort keeps them too.
    if (stored) {
        if (text)
            SetItemText(row, m_Columns.from, stored->text);
        SetItemText(row, m_Columns.label, stored->label);
        SetItemText(row, m_Columns.comment, stored->comment);
    }
}

bool CMyGridCtrl::IsRowOrder() const
{
    return !GetSortOnClick() || GetSortColumn() < 0 || (GetSortColumn() == 0 && GetSortAscending());
}

void CMyGridCtrl::EndOfTyping(int row, int col)
{
    if (row < GetFixedRowCount() || col < GetFixedColumnCount() || !IsValid(row, col))
        return;
    const std::string text = GetItemText(row, col);
    if (!text.empty() && text.find_first_not_of(" \t") == std::string::npos)
        SetItemText(row, col, "");
    WriteBack(row, col);
    if (m_AutoPopulate && IsNumeric() && col == m_Columns.to && row + 1 < GetRowCount()) {
        SetItemText(row + 1, m_Columns.from, GetItemText(row, col));
        RedrawCell(row + 1, m_Columns.from);
        WriteBack(row + 1, m_Columns.from);
    }
}

// ---------------------------------------------------------------- grid owner

int CMyGridCtrl::OnGridNotify(const CGridNotification& notification)
{
    if (notification.code == GridNotifyEndEdit) {
        EndOfTyping(notification.row, notification.col);
        if (m_Target)
            m_Target->OnGridNotify(notification);
        return 0;
    }
    return m_Target ? m_Target->OnGridNotify(notification) : 0;
}

void CMyGridCtrl::OnGridCommand(int controlId, int code)
{
    if (m_Target)
        m_Target->OnGridCommand(controlId, code);
}

void CMyGridCtrl::OnGridSorted(int controlId, int column, bool ascending)
{
    CloseChoosers();
    for (int r = GetFixedRowCount(); r < GetRowCount(); ++r)
        CloseChooserCells(r);
    WriteBack(-1, -1);
    if (m_Target)
        m_Target->OnGridSorted(controlId, column, ascending);
}

CGridEditAction CMyGridCtrl::OnGridEditRequest(int controlId, int row, int col,
                                               CGridEditTrigger trigger, unsigned character)
{
    if (row >= GetFixedRowCount() && m_Columns.IsChooser(col)) {
        // A click already opened the chooser through the cell; the second
        // click of a double click, or moving on from another cell's edit,
        // must not open it again.
        if (trigger == CGridEditTrigger::Character || trigger == CGridEditTrigger::F2)
            OnCellClick(row, col);
        return CGridEditAction::HandledByOwner;
    }
    return m_Target ? m_Target->OnGridEditRequest(controlId, row, col, trigger, character)
                    : CGridEditAction::TextEditor;
}
