// The style cells of the legend spreadsheet: opening the choosers, applying
// their results, and drawing the Fg, Bg, Pattern, LCol and LStyle cells.

#include "app/sheet/cmygridctrl.h"

#include "platform/cstringtable.h"

namespace {
constexpr uint32_t Black = 0x000000u;
constexpr uint32_t White = CLLLegend::White;

// The colour a cell's item data stands for; a negative number is transparent white.
uint32_t ColourOfNumber(int32_t number, bool& transparent)
{
    transparent = number < 0;
    return transparent ? White : static_cast<uint32_t>(number) & 0xFFFFFFu;
}

// The perceived brightness of a colour 0x00BBGGRR, 0 to 255.
int Brightness(uint32_t colour)
{
    const uint32_t r = colour & 0xFFu, g = (colour >> 8) & 0xFFu, b = (colour >> 16) & 0xFFu;
    return static_cast<int>((299 * r + 587 * g + 114 * b) / 1000);
}

// A line sample in a colour this bright would fade into a white cell (a
// white or yellow line), so it is drawn over grey instead.
constexpr int LightLine = 200;
constexpr uint32_t SampleGrey = 0x808080u;
// Below this the black focus frame would vanish into the cell's fill.
constexpr int DarkFill = 64;
} // namespace

void CMyGridCtrl::OnCellClick(int row, int col)
{
    if (!IsEditable() || !m_Choosers || row < GetFixedRowCount() || !IsValid(row, col))
        return;
    CloseChoosers();
    if (!m_Columns.IsChooser(col))
        return;
    const CCellRange selection = GetSelectedCellRange();
    if (selection.IsValid() && selection.minRow != selection.maxRow)
        return;
    m_ChooserRow = row;
    CGridRect rect;
    GetCellRect(row, col, rect);
    const CGridPoint at = ChooserPosition(rect, m_Choosers->ClientOrigin(), m_EditMode);
    if (col == m_Columns.pattern) {
        m_Choosers->OpenPatternChooser({.pattern = GetItemData(row, col),
                                        .patternFolder = m_PatternFolder,
                                        .patterns = &m_Patterns,
                                        .row = row,
                                        .col = col,
                                        .at = at});
    } else if (col == m_Columns.lstyle) {
        m_Choosers->OpenLineStyleChooser(
            {.penFile = m_PenFile,
             .lineStyle = CNumberFormat::ParseInt32(GetItemText(row, col)),
             .row = row,
             .col = col,
             .at = at});
    } else {
        bool transparent = false;
        // The picker starts from the row's fill colour in all three columns.
        m_Choosers->OpenColourPicker(
            {.colour = ColourOfNumber(GetItemData(row, m_Columns.fg), transparent),
             .row = row,
             .col = col,
             .offerTransparent = col == m_Columns.bg,
             .customText = CStringTable::Load(Str::Custom),
             .at = at});
    }
    m_Choosers->Redraw();
}

void CMyGridCtrl::CloseChoosers()
{
    m_ChooserRow = -1;
    if (m_Choosers)
        m_Choosers->CloseStyleChoosers();
}

void CMyGridCtrl::ChangeChooserRow(const std::function<bool(CLLRow&)>& edit)
{
    const int row = m_ChooserRow;
    if (row < GetFixedRowCount() || row >= GetRowCount())
        return;
    CLLRow shown;
    bool changed = false;
    Change([&](CLLLegend& legend) {
        CLLRow r;
        if (!legend.GetRow(row - 1, r) || !edit(r))
            return;
        changed = legend.SetRow(row - 1, r);
        shown = r;
    });
    if (changed)
        ShowStyle(row, shown);
}

void CMyGridCtrl::ColourChosen(int32_t colour, int col)
{
    const bool transparent = colour == -1;
    const CGColor chosen(transparent ? White : static_cast<uint32_t>(colour));
    const CSheetColumns k = m_Columns;
    ChangeChooserRow([&](CLLRow& r) {
        if (col == k.fg) {
            r.fillColour = chosen;
            r.fillTransparent = transparent;
            // A transparent fill needs a pattern with holes to show anything.
            if (transparent && r.pattern < 2)
                r.pattern = 2;
        } else if (col == k.bg) {
            r.backColour = chosen;
            r.backTransparent = transparent;
        } else if (col == k.lcol) {
            r.lineColour = chosen;
        } else {
            return false;
        }
        return true;
    });
}

void CMyGridCtrl::PatternChosen(int32_t pattern)
{
    ChangeChooserRow([&](CLLRow& r) {
        r.pattern = pattern;
        if (pattern == 0) {
            r.fillColour = r.backColour = CGColor(White);
            r.fillTransparent = r.backTransparent = true;
        } else if (pattern == 2) {
            r.backColour = CGColor(White);
            r.backTransparent = true;
            if (r.fillTransparent) {
                r.fillColour = CGColor(Black);
                r.fillTransparent = false;
            }
        } else {
            if (r.fillTransparent) {
                r.fillColour = r.backColour = CGColor(Black);
                r.fillTransparent = r.backTransparent = false;
            }
            if (r.backTransparent && r.backColour.GetPacked() == White) {
                r.backColour = CGColor(Black);
                r.backTransparent = false;
            }
        }
        return true;
    });
}

void CMyGridCtrl::LineStyleChosen(int32_t style)
{
    ChangeChooserRow([&](CLLRow& r) {
        r.lineStyle = style;
        return true;
    });
}

bool CMyGridCtrl::DrawStyleCell(CGridPainter& painter, int row, int col, const CGridRect& rect,
                                bool focused)
{
    if (row < GetFixedRowCount() || !m_Columns.IsChooser(col) || !IsValid(row, col))
        return false;
    // The cell up to its grid lines, which stay.
    const CGridRect area{rect.left, rect.top, rect.right, rect.bottom};
    const CGridFont& font = GetDefaultCell(false, false).GetFont();
    auto letter = [&](const char* text) {
        painter.DrawText(area, text,
                         GridText::Center | GridText::VCenter | GridText::SingleLine |
                             GridText::NoPrefix,
                         Black, font);
    };
    bool transparent = false;
    if (col == m_Columns.fg || col == m_Columns.bg || col == m_Columns.lcol) {
        painter.FillRect(area, ColourOfNumber(GetItemData(row, col), transparent));
        // The line has no transparent state: its white is a colour.
        if (transparent && col != m_Columns.lcol)
            letter("T");
    } else if (col == m_Columns.pattern) {
        const int32_t pattern = GetItemData(row, col);
        // Patterns are shown over white, not over the row's background: the
        // Bg cell beside it shows that, and a pattern in a colour close to
        // the background would otherwise vanish from the sheet. A number
        // without a pattern leaves the cell white, not unpainted.
        painter.FillRect(area, White);
        if (pattern >= 0 && pattern < CPatternTable::Slots) {
            if (pattern == 0)
                letter("N");
            else if (m_Patterns.IsLoaded(pattern))
                painter.FillPattern(area, m_Patterns.Bitmap(pattern),
                                    ColourOfNumber(GetItemData(row, m_Columns.fg), transparent),
                                    std::nullopt);
        }
    } else if (m_QuarvexOrStrativ) {
        const uint32_t line = ColourOfNumber(GetItemData(row, m_Columns.lcol), transparent);
        painter.FillRect(area, Brightness(line) >= LightLine ? SampleGrey : White);
        if (m_Sampler) {
            painter.PushClip(area);
            m_Sampler->DrawLineStyle(painter, area,
                                     CNumberFormat::ParseInt32(GetItemText(row, col)), line);
            painter.PopClip();
        }
    }
    if (focused) {
        const bool colourCell = col == m_Columns.fg || col == m_Columns.bg || col == m_Columns.lcol;
        const uint32_t fill =
            colourCell ? ColourOfNumber(GetItemData(row, col), transparent) : White;
        painter.FrameRect(area, Brightness(fill) < DarkFill ? White : Black);
    }
    return true;
}
