#include "platform/cgcolor.h"

#include "platform/scratchfiles.h"

#include <cmath>

TEST(CGColor, EachWayOfMakingAColourGivesItsPackedValueWithRedInTheLowByte)
{
    using Make = std::function<CGColor()>;
    auto set = [](void (CGColor::*f)(float, float, float), float a, float b, float c) {
        return [=] {
            CGColor colour;
            (colour.*f)(a, b, c);
            return colour;
        };
    };
    const std::pair<Make, uint32_t> cases[] = {
        {[] { return CGColor(0, 0, 255); }, 0xFF0000},
        {[] { return CGColor(0xFF0000FFu); }, 0x0000FF}, // bits above the colour are dropped
        {[] { return CGColor(1.0f, 0.0f, 0.0f, 1.0f, CGColor::ModeRGB); }, 0x0000FF},
        {[] { return CGColor(2.0f / 3.0f, 1.0f, 0.5f, 1.0f, CGColor::ModeHSL); }, 0xFF0000},
        // Full intensity as 1 or as 255; out of range clamps.
        {set(&CGColor::SetRGB, 1.0f, 1.0f, 1.0f), 0xFFFFFF},
        {set(&CGColor::SetRGB, 255.0f, 255.0f, 255.0f), 0xFFFFFF},
        {set(&CGColor::SetRGB, -3.0f, 0.5f, 0.0f), 0x008000},
        {set(&CGColor::SetHSL, 4.0f / 3.0f, 1.0f, 0.5f), 0x00FF00}, // a full turn further is the same hue
    };
    for (const auto& [make, packed] : cases)
        EXPECT_EQ(make().GetPacked(), packed) << std::hex << packed;
    // Components and HSL values in millionths (no float text: that would follow the user's locale).
    auto micro = [](float v) { return std::lround(v * 1e6f); };
    const CGColor c(0x00336699u);
    CGColor a;
    a.SetRGBA(255.0f, 0.0f, 0.0f, 7.0f);
    float h, s, l, grey[3];
    CGColor::RGB2HSL(0.0f, 0.0f, 1.0f, h, s, l);
    CGColor::RGB2HSL(0.5f, 0.5f, 0.5f, grey[0], grey[1], grey[2]);
    EXPECT_EQ(Join(micro(c.GetRed()), micro(c.GetGreen()), micro(c.GetBlue()), micro(a.GetAlpha()), micro(h), micro(s),
                   micro(l), micro(grey[1]), micro(grey[2])),
              "600000 400000 200000 1000000 666667 1000000 500000 0 500000");
    EXPECT_TRUE(CGColor(10, 20, 30) == CGColor(0x1E140Au) && CGColor(10, 20, 30) != CGColor(10, 20, 31));
}

TEST(CGColor, PackedValuesSurviveTheComponentsAndHslExactly)
{
    for (uint32_t v = 0; v <= 0xFFFFFFu; v += 0x010307u) {
        const CGColor c(v);
        float h, s, l;
        CGColor::RGB2HSL(c.GetRed(), c.GetGreen(), c.GetBlue(), h, s, l);
        CGColor viaHsl;
        viaHsl.SetHSLA(h, s, l, 0.25f);
        const CGColor viaRgb(c.GetRed(), c.GetGreen(), c.GetBlue(), 1.0f);
        ASSERT_EQ(viaHsl.GetPacked(), v);
        ASSERT_EQ(viaRgb.GetPacked(), v);
        ASSERT_EQ(viaHsl.GetAlpha(), 0.25f);
    }
}
