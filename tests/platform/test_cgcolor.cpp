#include "platform/cgcolor.h"

#include <gtest/gtest.h>

TEST(CGColorPacking, PackedValueKeepsRedInTheLowByte)
{
    const CGColor c(0x00336699u);
    EXPECT_FLOAT_EQ(c.GetRed(), 0x99 / 255.0f);
    EXPECT_FLOAT_EQ(c.GetGreen(), 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(c.GetBlue(), 0x33 / 255.0f);
    EXPECT_EQ(CGColor(255, 0, 0).GetPacked(), 0x0000FFu);
    EXPECT_EQ(CGColor(0, 0, 255).GetPacked(), 0xFF0000u);
    EXPECT_EQ(CGColor(0u).GetPacked(), 0u);
    EXPECT_EQ(CGColor(16777215u).GetPacked(), 16777215u);
}

TEST(CGColorPacking, EveryPackedValueSurvivesTheComponentsExactly)
{
    for (uint32_t v = 0; v <= 0xFFFFFFu; v += 0x010307u) {
        const CGColor c(v);
        const CGColor back(c.GetRed(), c.GetGreen(), c.GetBlue(), 1.0f);
        ASSERT_EQ(back.GetPacked(), v);
    }
}

TEST(CGColorPacking, BitsAboveTheColourAreDropped)
{
    EXPECT_EQ(CGColor(0xFF0000FFu).GetPacked(), 0x0000FFu);
}

TEST(CGColorScale, FullIntensityAsOneOrAs255)
{
    CGColor a, b;
    a.SetRGB(1.0f, 1.0f, 1.0f);
    b.SetRGB(255.0f, 255.0f, 255.0f);
    EXPECT_EQ(a.GetPacked(), 16777215u);
    EXPECT_EQ(b.GetPacked(), 16777215u);
    b.SetRGBA(255.0f, 0.0f, 0.0f, 7.0f);
    EXPECT_EQ(b.GetPacked(), 0x0000FFu);
    EXPECT_FLOAT_EQ(b.GetAlpha(), 1.0f);
    b.SetRGB(-3.0f, 0.5f, 0.0f);
    EXPECT_EQ(b.GetPacked(), 0x008000u);
}

TEST(CGColorHSL, PrimaryColoursHaveTheirKnownHues)
{
    float h, s, l;
    CGColor::RGB2HSL(0.0f, 0.0f, 1.0f, h, s, l);
    EXPECT_FLOAT_EQ(h, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(l, 0.5f);
    CGColor::RGB2HSL(0.5f, 0.5f, 0.5f, h, s, l);
    EXPECT_FLOAT_EQ(s, 0.0f);
    EXPECT_FLOAT_EQ(l, 0.5f);
    CGColor c;
    c.SetHSL(1.0f / 3.0f, 1.0f, 0.5f);
    EXPECT_EQ(c.GetPacked(), 0x00FF00u);
    c.SetHSL(4.0f / 3.0f, 1.0f, 0.5f); // a full turn further is the same hue
    EXPECT_EQ(c.GetPacked(), 0x00FF00u);
}

TEST(CGColorHSL, RoundTripGivesTheSameColourBack)
{
    for (uint32_t v = 0; v <= 0xFFFFFFu; v += 0x000B0D11u) {
        const CGColor c(v);
        float h, s, l;
        CGColor::RGB2HSL(c.GetRed(), c.GetGreen(), c.GetBlue(), h, s, l);
        CGColor back;
        back.SetHSLA(h, s, l, 0.25f);
        ASSERT_EQ(back.GetPacked(), v) << std::hex << v;
        ASSERT_FLOAT_EQ(back.GetAlpha(), 0.25f);
    }
}

TEST(CGColorConstruction, ModeChoosesTheColourSpace)
{
    EXPECT_EQ(CGColor(1.0f, 0.0f, 0.0f, 1.0f, CGColor::ModeRGB).GetPacked(), 0x0000FFu);
    // Hue 0, full saturation, half lightness is red too; hue 2/3 is blue.
    EXPECT_EQ(CGColor(0.0f, 1.0f, 0.5f, 1.0f, CGColor::ModeHSL).GetPacked(), 0x0000FFu);
    EXPECT_EQ(CGColor(2.0f / 3.0f, 1.0f, 0.5f, 1.0f, CGColor::ModeHSL).GetPacked(), 0xFF0000u);
    EXPECT_TRUE(CGColor(10, 20, 30) == CGColor(0x1E140Au));
    EXPECT_TRUE(CGColor(10, 20, 30) != CGColor(10, 20, 31));
}
