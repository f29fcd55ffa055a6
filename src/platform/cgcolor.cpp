#include "platform/cgcolor.h"

#include <algorithm>
#include <cmath>

namespace {

float Unit(float v)
{
    if (!(v > 0.0f)) // also catches NaN
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

uint32_t Byte(float unit)
{
    return static_cast<uint32_t>(std::lround(unit * 255.0f));
}

float HueToChannel(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (t < 1.0f / 6.0f)
        return p + (q - p) * 6.0f * t;
    if (t < 0.5f)
        return q;
    if (t < 2.0f / 3.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

} // namespace

CGColor::CGColor(uint32_t packed)
{
    SetPacked(packed);
}

CGColor::CGColor(int red, int green, int blue)
{
    SetRGB(static_cast<float>(std::clamp(red, 0, 255)) / 255.0f,
           static_cast<float>(std::clamp(green, 0, 255)) / 255.0f,
           static_cast<float>(std::clamp(blue, 0, 255)) / 255.0f);
}

CGColor::CGColor(float red, float green, float blue, float alpha)
{
    SetRGBA(red, green, blue, alpha);
}

CGColor::CGColor(float c1, float c2, float c3, float alpha, int mode)
{
    if (mode == ModeHSL)
        SetHSLA(c1, c2, c3, alpha);
    else
        SetRGBA(c1, c2, c3, alpha);
}

void CGColor::SetPacked(uint32_t packed)
{
    m_Packed = packed & 0x00FFFFFFu;
    m_Red = static_cast<float>(m_Packed & 0xFF) / 255.0f;
    m_Green = static_cast<float>((m_Packed >> 8) & 0xFF) / 255.0f;
    m_Blue = static_cast<float>((m_Packed >> 16) & 0xFF) / 255.0f;
    m_Alpha = 1.0f;
}

void CGColor::SetRGB(float red, float green, float blue)
{
    m_Red = Unit(red);
    m_Green = Unit(green);
    m_Blue = Unit(blue);
    Pack();
}

void CGColor::SetRGBA(float red, float green, float blue, float alpha)
{
    m_Alpha = Unit(alpha);
    SetRGB(red, green, blue);
}

void CGColor::Pack()
{
    // The components are snapped to the packed bytes, so that a colour is exactly
    // what it shows and writes: a red made from HSL is pure red, whose hue is 0
    // and not a hair below a full turn.
    const uint32_t r = Byte(m_Red), g = Byte(m_Green), b = Byte(m_Blue);
    m_Packed = r | (g << 8) | (b << 16);
    m_Red = static_cast<float>(r) / 255.0f;
    m_Green = static_cast<float>(g) / 255.0f;
    m_Blue = static_cast<float>(b) / 255.0f;
}

void CGColor::RGB2HSL(float red, float green, float blue, float& hue, float& saturation,
                      float& lightness)
{
    const float r = Unit(red), g = Unit(green), b = Unit(blue);
    const float maxc = std::max({r, g, b});
    const float minc = std::min({r, g, b});
    lightness = (maxc + minc) / 2.0f;
    const float delta = maxc - minc;
    if (delta <= 0.0f) {
        hue = 0.0f;
        saturation = 0.0f;
        return;
    }
    saturation = lightness > 0.5f ? delta / (2.0f - maxc - minc) : delta / (maxc + minc);
    float h;
    if (maxc == r)
        h = (g - b) / delta + (g < b ? 6.0f : 0.0f);
    else if (maxc == g)
        h = (b - r) / delta + 2.0f;
    else
        h = (r - g) / delta + 4.0f;
    hue = h / 6.0f;
}

void CGColor::SetHSL(float hue, float saturation, float lightness)
{
    const float s = Unit(saturation);
    const float l = Unit(lightness);
    float h = hue - std::floor(hue); // hue wraps around the circle
    if (s <= 0.0f) {
        SetRGB(l, l, l);
        return;
    }
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    SetRGB(HueToChannel(p, q, h + 1.0f / 3.0f), HueToChannel(p, q, h),
           HueToChannel(p, q, h - 1.0f / 3.0f));
}

void CGColor::SetHSLA(float hue, float saturation, float lightness, float alpha)
{
    m_Alpha = Unit(alpha);
    SetHSL(hue, saturation, lightness);
}
