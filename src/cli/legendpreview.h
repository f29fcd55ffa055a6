#pragma once
// A legend drawn as a picture for a report: its name, then one line a row with
// the fill swatch, the line sample, the value or range, and the label. Drawn
// on the grid's painter, so the swatches follow the spreadsheet's cell rules
// and the pixels come out the same on any surface.

#include "grid/cgridpainter.h"
#include "legend/cllegend.h"
#include "pickers/core/cpatterntable.h"

#include <functional>

class CLegendPreview {
public:
    // Draws line style `style` of the pen file as a sample from x, centred on
    // y, in a box of width by height, in `colour`.
    using LineSampler = std::function<void(CGridPainter& painter, int32_t style, int x, int y,
                                           int width, int height, uint32_t colour)>;

    static constexpr int Margin = 16;
    static constexpr int TitleHeight = 30;
    static constexpr int DescriptionHeight = 20;
    static constexpr int RuleGap = 10; // above and below the rule under the heading
    static constexpr int RowHeight = 28;
    static constexpr int SwatchWidth = 48;
    static constexpr int SwatchHeight = 20;
    static constexpr int SampleWidth = 74; // the line ends 10 pixels short of it
    static constexpr int SampleHeight = 16;
    static constexpr int ColumnGap = 14;
    static constexpr int MinWidth = 240;
    static constexpr int MaxWidth = 4000;
    // The tallest picture drawn: the largest size the raster engine and the
    // usual viewers take, and already some 1,170 rows.
    static constexpr int MaxHeight = 32767;

    CLegendPreview(const CLLLegend& legend, const CPatternTable& patterns, LineSampler sampler);

    int Height() const;
    // The most rows that fit in MaxHeight under this legend's heading.
    int MaxRows() const;
    // The top of the first row.
    int RowsTop() const;
    void Draw(CGridPainter& painter, int width) const;
    // The swatch of one row, as the spreadsheet's Fg, Bg and Pattern cells
    // show it together: the background (a grey checker when transparent), the
    // pattern's set pixels in the fill colour over it unless the fill is
    // transparent, and a frame.
    void DrawSwatch(CGridPainter& painter, const CGridRect& box, const CLLRow& row) const;

private:
    std::string Title() const;
    std::string ValueText(const CLLRow& row) const;

    const CLLLegend& m_Legend;
    const CPatternTable& m_Patterns;
    LineSampler m_Sampler;
};
