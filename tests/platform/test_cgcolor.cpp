#include "platform/cgcolor.h"

#include "platform/scratchfiles.h"

#include <cmath>
#include <sstream>

TEST(CGColor, EachWayOfMakingAColourGivesItsPackedValueWithRedInTheLowByte)
{
    CGColor one, full, clamped, turned;
    one.SetRGB(1.0f, 1.0f, 1.0f); // full intensity as 1 or as 255; out of range clamps
    full.SetRGB(255.0f, 255.0f, 255.0f);
    clamped.SetRGB(-3.0f, 0.5f, 0.0f);
    turned.SetHSL(4.0f / 3.0f, 1.0f, 0.5f); // a full turn further is the same hue
    // Bits above the colour are dropped.
    auto hex = [](const CGColor& c) { return (std::ostringstream() << std::hex << c.GetPacked()).str(); };
    EXPECT_EQ(Join(hex(CGColor(0, 0, 255)), hex(CGColor(0xFF0000FFu)),
                   hex(CGColor(1.0f, 0.0f, 0.0f, 1.0f, CGColor::ModeRGB)),
                   hex(CGColor(2.0f / 3.0f, 1.0f, 0.5f, 1.0f, CGColor::ModeHSL)), hex(one), hex(full), hex(clamped),
                   hex(turned)),
              "ff0000 ff ff ff0000 ffffff ffffff 8000 ff00");
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
