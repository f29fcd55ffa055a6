#include "app/core/rowinterpolation.h"

#include "legend/cllegend.h"

#include <vector>

namespace {

CLLColourTable& TableOf(CLLLegend& legend, CColourColumn column)
{
    switch (column) {
    case CColourColumn::Fill: return legend.m_FillColours;
    case CColourColumn::Back: return legend.m_BackColours;
    case CColourColumn::Line: break;
    }
    return legend.m_LineColours;
}

// (b - a) * k * step + a, in this order and in float: the rounding of each step
// shows in the bytes.
float Lerp(float a, float b, int k, float step)
{
    const float diff = b - a;
    const float scaled = diff * static_cast<float>(k);
    const float stepped = scaled * step;
    return stepped + a;
}

} // namespace

int InterpolateColourColumn(CLLLegend& legend, int first, int last, CColourColumn column,
                            CInterpolationMode mode)
{
    const int n = last - first + 1;
    if (n < 2)
        return 0;
    std::vector<CGColor>& colours = TableOf(legend, column).m_Colours;
    const CGColor a = colours[static_cast<size_t>(first)];
    const CGColor b = colours[static_cast<size_t>(last)];
    const float step = 1.0f / static_cast<float>(n - 1);
    float hA = 0, sA = 0, lA = 0, hB = 0, sB = 0, lB = 0;
    if (mode == CInterpolationMode::HSL) {
        CGColor::RGB2HSL(a.GetRed(), a.GetGreen(), a.GetBlue(), hA, sA, lA);
        CGColor::RGB2HSL(b.GetRed(), b.GetGreen(), b.GetBlue(), hB, sB, lB);
    }
    for (int k = 1; k <= n - 1; ++k) {
        const float alpha = Lerp(a.GetAlpha(), b.GetAlpha(), k, step);
        CGColor c;
        if (mode == CInterpolationMode::RGB) {
            c = CGColor(Lerp(a.GetRed(), b.GetRed(), k, step),
                        Lerp(a.GetGreen(), b.GetGreen(), k, step),
                        Lerp(a.GetBlue(), b.GetBlue(), k, step), alpha);
        } else {
            // Hue runs as a plain number, never the short way round the circle.
            c.SetHSL(Lerp(hA, hB, k, step), Lerp(sA, sB, k, step), Lerp(lA, lB, k, step));
            c.SetRGBA(c.GetRed(), c.GetGreen(), c.GetBlue(), alpha);
        }
        const size_t row = static_cast<size_t>(first + k);
        colours[row] = c;
        if (column == CColourColumn::Fill && row < legend.m_FillTransparent.size())
            legend.m_FillTransparent[row] = 0;
        if (column == CColourColumn::Back && row < legend.m_BackTransparent.size())
            legend.m_BackTransparent[row] = 0;
    }
    return n - 1;
}
