#include "cli/legendpreview.h"

#include "app/sheet/cmygridctrl.h"

#include <algorithm>

namespace {

constexpr uint32_t Black = 0x000000;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t DarkGrey = GridRGB(96, 96, 96);
constexpr uint32_t FrameGrey = GridRGB(128, 128, 128);
constexpr uint32_t RuleGrey = GridRGB(192, 192, 192);
constexpr uint32_t CheckerGrey = GridRGB(204, 204, 204);

CGridFont Font(int pixels, bool bold)
{
    CGridFont font;
    font.height = -pixels;
    font.weight = bold ? 700 : 400;
    font.faceName = "DejaVu Sans";
    return font;
}

// Four-pixel squares: the usual sign of "nothing here" behind a swatch.
const CGridBitmap& Checker()
{
    static const CGridBitmap checker = CGridBitmap::FromRows(
        {"####....", "####....", "####....", "####....", "....####", "....####", "....####",
         "....####"});
    return checker;
}

constexpr uint32_t OneLine = GridText::SingleLine | GridText::VCenter | GridText::NoPrefix;

} // namespace

CLegendPreview::CLegendPreview(const CLLLegend& legend, const CPatternTable& patterns,
                               LineSampler sampler)
    : m_Legend(legend), m_Patterns(patterns), m_Sampler(std::move(sampler))
{
}

std::string CLegendPreview::Title() const
{
    return m_Legend.m_Name.empty() ? m_Legend.m_FileTitle : m_Legend.m_Name;
}

int CLegendPreview::RowsTop() const
{
    return Margin + TitleHeight + (m_Legend.m_Description.empty() ? 0 : DescriptionHeight) +
           2 * RuleGap + 1;
}

int CLegendPreview::Height() const
{
    return RowsTop() + m_Legend.GetRowCount() * RowHeight + Margin;
}

int CLegendPreview::MaxRows() const
{
    return (MaxHeight - RowsTop() - Margin) / RowHeight;
}

std::string CLegendPreview::ValueText(const CLLRow& row) const
{
    if (m_Legend.m_DataType == DataText)
        return row.text;
    const CNumberSeparators separators = CNumberSeparators::User();
    // A discrete class of one value reads as that value, not "10 – 10".
    if (row.from == row.to)
        return CMyGridCtrl::FormatRange(row.from, separators);
    // An en dash between the two numbers.
    return CMyGridCtrl::FormatRange(row.from, separators) + " \xE2\x80\x93 " +
           CMyGridCtrl::FormatRange(row.to, separators);
}

void CLegendPreview::DrawSwatch(CGridPainter& painter, const CGridRect& box,
                                const CLLRow& row) const
{
    if (row.backTransparent)
        painter.FillPattern(box, Checker(), CheckerGrey, White);
    else
        painter.FillRect(box, row.backColour.GetPacked() & 0xFFFFFFu);
    // Pattern 0 is no pattern; numbers without a bitmap draw nothing, as in the sheet.
    if (!row.fillTransparent && row.pattern > 0 && m_Patterns.IsLoaded(row.pattern))
        painter.FillPattern(box, m_Patterns.Bitmap(row.pattern),
                            row.fillColour.GetPacked() & 0xFFFFFFu, std::nullopt);
    painter.FrameRect(box, FrameGrey);
}

void CLegendPreview::Draw(CGridPainter& painter, int width) const
{
    const int height = Height();
    painter.FillRect({0, 0, width, height}, White);
    const int right = width - Margin;
    int y = Margin;
    painter.DrawText({Margin, y, right, y + TitleHeight}, Title(), OneLine | GridText::EndEllipsis,
                     Black, Font(18, true));
    y += TitleHeight;
    if (!m_Legend.m_Description.empty()) {
        painter.DrawText({Margin, y, right, y + DescriptionHeight}, m_Legend.m_Description,
                         OneLine | GridText::EndEllipsis, DarkGrey, Font(12, false));
        y += DescriptionHeight;
    }
    y += RuleGap;
    painter.FillRect({Margin, y, right, y + 1}, RuleGrey);

    const CGridFont text = Font(13, false);
    const int sampleLeft = Margin + SwatchWidth + ColumnGap;
    const int valueLeft = sampleLeft + SampleWidth + ColumnGap;
    // The values take what their longest needs, but leave the labels at least half.
    int valueWidth = 0;
    CLLRow row;
    for (int i = 0; m_Legend.GetRow(i, row); ++i)
        valueWidth = std::max(valueWidth, painter.TextExtent(text, ValueText(row)).cx);
    valueWidth = std::min(valueWidth, (right - valueLeft) / 2);
    const int labelLeft = valueLeft + valueWidth + 2 * ColumnGap;
    // Ranges line up on their last digit; text values read from the left.
    const uint32_t valueAlign = m_Legend.m_DataType == DataText ? GridText::Left : GridText::Right;

    for (int i = 0; m_Legend.GetRow(i, row); ++i) {
        const int top = RowsTop() + i * RowHeight;
        const int middle = top + RowHeight / 2;
        const int swatchTop = middle - SwatchHeight / 2;
        DrawSwatch(painter, {Margin, swatchTop, Margin + SwatchWidth, swatchTop + SwatchHeight},
                   row);
        // Styles 0 and 1 are "no line"; the sheet marks them with a letter,
        // but in a report a blank says it better than a sign that reads as data.
        if (m_Sampler && row.lineStyle > 1) {
            painter.PushClip({sampleLeft, top, sampleLeft + SampleWidth, top + RowHeight});
            m_Sampler(painter, row.lineStyle, sampleLeft, middle, SampleWidth, SampleHeight,
                      row.lineColour.GetPacked() & 0xFFFFFFu);
            painter.PopClip();
        }
        painter.DrawText({valueLeft, top, valueLeft + valueWidth, top + RowHeight}, ValueText(row),
                         OneLine | valueAlign | GridText::EndEllipsis, Black, text);
        painter.DrawText({labelLeft, top, right, top + RowHeight}, row.label,
                         OneLine | GridText::EndEllipsis, Black, text);
    }
}
