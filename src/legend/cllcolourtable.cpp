#include "legend/cllcolourtable.h"

#include <algorithm>
#include <cmath>

CLLColourTable::CLLColourTable()
{
    SetDefault();
}

void CLLColourTable::SetDefault()
{
    Clear();
    RampHSL(CGColor(0, 0, 255), CGColor(255, 0, 0), 32);
}

void CLLColourTable::Clear()
{
    m_Colours.clear();
    m_Kind = KindNone;
    m_FileName.clear();
    m_Count = 0;
    m_LastIndex = -1;
    m_Levels = 0;
    m_LastLevel = -1;
    m_Resampled = 0;
    m_Ratio = 1.0;
}

template <typename Mix>
int CLLColourTable::Ramp(int n, Mix mix)
{
    if (n < 2)
        return 0;
    m_Colours.clear();
    m_Colours.reserve(static_cast<size_t>(n));
    const float step = 1.0f / static_cast<float>(n - 1);
    for (int i = 0; i < n; ++i)
        m_Colours.push_back(mix(static_cast<float>(i) * step));
    m_Kind = KindRamp;
    m_FileName.clear();
    return SetLevels(-1);
}

int CLLColourTable::RampRGB(CGColor from, CGColor to, int n)
{
    return Ramp(n, [&](float t) {
        return CGColor(from.GetRed() + (to.GetRed() - from.GetRed()) * t,
                       from.GetGreen() + (to.GetGreen() - from.GetGreen()) * t,
                       from.GetBlue() + (to.GetBlue() - from.GetBlue()) * t,
                       from.GetAlpha() + (to.GetAlpha() - from.GetAlpha()) * t);
    });
}

int CLLColourTable::RampHSL(CGColor from, CGColor to, int n)
{
    float h1, s1, l1, h2, s2, l2;
    CGColor::RGB2HSL(from.GetRed(), from.GetGreen(), from.GetBlue(), h1, s1, l1);
    CGColor::RGB2HSL(to.GetRed(), to.GetGreen(), to.GetBlue(), h2, s2, l2);
    return Ramp(n, [&](float t) {
        CGColor c;
        c.SetHSLA(h1 + (h2 - h1) * t, s1 + (s2 - s1) * t, l1 + (l2 - l1) * t,
                  from.GetAlpha() + (to.GetAlpha() - from.GetAlpha()) * t);
        return c;
    });
}

int CLLColourTable::SetLevels(int32_t levels)
{
    m_Count = static_cast<int32_t>(m_Colours.size());
    m_LastIndex = m_Count - 1;
    m_Levels = levels > 0 ? levels : m_Count;
    m_LastLevel = m_Levels - 1;
    m_Resampled = m_Levels != m_Count ? 1 : 0;
    if (!IsValid())
        return 0;
    m_Ratio = static_cast<double>(m_Count) / static_cast<double>(m_Levels);
    return 1;
}

int32_t CLLColourTable::IndexOf(double fraction) const
{
    // Clamp while still in floating point: converting a value beyond the
    // 32-bit range (or NaN) to an integer is undefined.
    if (std::isnan(fraction))
        return 0;
    double index;
    if (m_Resampled) {
        double level = std::trunc(static_cast<double>(m_Levels) * fraction) + 0.5;
        level = std::min(level, static_cast<double>(m_LastLevel));
        index = std::trunc(level * m_Ratio);
    } else {
        index = std::min(static_cast<double>(m_LastIndex),
                         std::trunc(static_cast<double>(m_Count) * fraction));
    }
    if (!(index >= 0.0))
        return 0;
    return static_cast<int32_t>(index);
}

CGColor CLLColourTable::GetColour(double fraction) const
{
    const auto i = static_cast<size_t>(IndexOf(fraction));
    return i < m_Colours.size() ? m_Colours[i] : CGColor();
}

CGColor* CLLColourTable::GetColourRef(double fraction)
{
    const auto i = static_cast<size_t>(IndexOf(fraction));
    return i < m_Colours.size() ? &m_Colours[i] : nullptr;
}

void CLLColourTable::RemoveAt(int i)
{
    if (i < 0 || i >= static_cast<int>(m_Colours.size()))
        return;
    m_Colours.erase(m_Colours.begin() + i);
    m_Count = static_cast<int32_t>(m_Colours.size());
    m_LastIndex = m_Count - 1;
}

void CLLColourTable::InsertAt(int i, uint32_t packedColour)
{
    if (i < 0 || i >= static_cast<int>(m_Colours.size()))
        return;
    m_Colours.insert(m_Colours.begin() + i, CGColor(packedColour));
    m_Count = static_cast<int32_t>(m_Colours.size());
    m_LastIndex = m_Count - 1;
}
