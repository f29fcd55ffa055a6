#include "app/core/rowinterpolation.h"

#include "legend/cllegend.h"

#include <array>
#include <cmath>
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

using Triple = std::array<double, 3>;

double ToLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double FromLinear(double c)
{
    return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

// sRGB (0..1) to OKLab: linear light, the cone responses, their cube roots,
// then lightness and the two opponent axes.
Triple ToOKLab(const CGColor& c)
{
    const double r = ToLinear(c.GetRed()), g = ToLinear(c.GetGreen()), b = ToLinear(c.GetBlue());
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

// OKLab back to sRGB (0..1); a blend can leave the sRGB gamut, which the
// colour object clamps when it packs.
Triple FromOKLab(const Triple& lab)
{
    const double l = std::pow(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2], 3);
    const double m = std::pow(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2], 3);
    const double s = std::pow(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2], 3);
    return {FromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            FromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            FromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
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
    const Triple labA = ToOKLab(a), labB = ToOKLab(b);
    for (int k = 1; k <= n - 1; ++k) {
        const float alpha = Lerp(a.GetAlpha(), b.GetAlpha(), k, step);
        CGColor c;
        if (mode == CInterpolationMode::RGB) {
            c = CGColor(Lerp(a.GetRed(), b.GetRed(), k, step),
                        Lerp(a.GetGreen(), b.GetGreen(), k, step),
                        Lerp(a.GetBlue(), b.GetBlue(), k, step), alpha);
        } else if (mode == CInterpolationMode::OKLab) {
            const double t = static_cast<double>(k) / static_cast<double>(n - 1);
            Triple lab;
            for (size_t i = 0; i < lab.size(); ++i)
                lab[i] = labA[i] + (labB[i] - labA[i]) * t;
            const Triple rgb = FromOKLab(lab);
            c = CGColor(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]),
                        static_cast<float>(rgb[2]), alpha);
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
