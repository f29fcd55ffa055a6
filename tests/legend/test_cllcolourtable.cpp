#include "legend/cllcolourtable.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CLLColourTableDefault, ThirtyTwoColoursFromBlueToRed)
{
    const CLLColourTable table;
    ASSERT_EQ(table.m_Colours.size(), 32u);
    EXPECT_EQ(table.m_Colours.front().GetPacked(), 0xFF0000u); // blue
    EXPECT_EQ(table.m_Colours.back().GetPacked(), 0x0000FFu);  // red
    // The HSL ramp passes through green rather than through grey.
    float h, s, l;
    const CGColor& mid = table.m_Colours[16];
    CGColor::RGB2HSL(mid.GetRed(), mid.GetGreen(), mid.GetBlue(), h, s, l);
    EXPECT_NEAR(s, 1.0f, 1e-3f);
    EXPECT_EQ(table.m_Kind, CLLColourTable::KindRamp);
    EXPECT_EQ(table.m_Count, 32);
    EXPECT_EQ(table.m_Levels, 32);
    EXPECT_EQ(table.m_Resampled, 0);
}

TEST(CLLColourTableClear, LeavesTheEmptyNumbers)
{
    CLLColourTable table;
    table.Clear();
    EXPECT_TRUE(table.m_Colours.empty());
    EXPECT_EQ(table.m_Kind, -1);
    EXPECT_EQ(table.m_Count, 0);
    EXPECT_EQ(table.m_LastIndex, -1);
    EXPECT_EQ(table.m_Levels, 0);
    EXPECT_EQ(table.m_LastLevel, -1);
    EXPECT_DOUBLE_EQ(table.m_Ratio, 1.0);
    EXPECT_FALSE(table.IsValid());
}

TEST(CLLColourTableRamp, RgbRampInterpolatesEachComponent)
{
    CLLColourTable table;
    ASSERT_EQ(table.RampRGB(CGColor(0, 0, 0), CGColor(200, 100, 40), 5), 1);
    ASSERT_EQ(table.m_Colours.size(), 5u);
    EXPECT_EQ(table.m_Colours[1].GetPacked(), CGColor(50, 25, 10).GetPacked());
    EXPECT_EQ(table.m_Colours[4].GetPacked(), CGColor(200, 100, 40).GetPacked());
    EXPECT_TRUE(table.m_FileName.empty());
}

TEST(CLLColourTableRamp, FewerThanTwoColoursChangeNothing)
{
    CLLColourTable table;
    EXPECT_EQ(table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 1), 0);
    EXPECT_EQ(table.RampHSL(CGColor(0, 0, 0), CGColor(255, 255, 255), 0), 0);
    EXPECT_EQ(table.m_Colours.size(), 32u);
    EXPECT_EQ(table.m_Colours.front().GetPacked(), 0xFF0000u);
}

TEST(CLLColourTableSampling, IndexOfWithoutAndWithResampling)
{
    CLLColourTable table;
    table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 10);
    const double nan = std::nan("");
    // Fractions far outside 0..1 are clamped before they become integers.
    const struct {
        int32_t levels;
        double fraction;
        int32_t index;
    } cases[] = {
        {-1, 0.0, 0}, {-1, 0.55, 5}, {-1, 1.0, 9}, {-1, -0.5, 0},
        {-1, 1e12, 9}, {-1, -1e12, 0}, {-1, nan, 0}, {-1, HUGE_VAL, 9},
        // trunc(4 * 0.3) + 0.5 = 1.5 -> 1.5 * 2.5 = 3.75 -> 3
        {4, 0.3, 3},
        // trunc(4 * 1) + 0.5 = 4.5, limited to the last level 3 -> 7.5 -> 7
        {4, 1.0, 7}, {4, 1e12, 7}, {4, -1e12, 0}, {4, nan, 0}, {4, -HUGE_VAL, 0},
    };
    for (const auto& c : cases) {
        table.SetLevels(c.levels);
        EXPECT_EQ(table.IndexOf(c.fraction), c.index) << c.levels << " " << c.fraction;
    }
    ASSERT_EQ(table.SetLevels(4), 1);
    EXPECT_EQ(table.m_Resampled, 1);
    EXPECT_DOUBLE_EQ(table.m_Ratio, 2.5);
    EXPECT_EQ(table.GetColour(1.0).GetPacked(), table.m_Colours[7].GetPacked());
    *table.GetColourRef(0.0) = CGColor(1, 2, 3);
    EXPECT_EQ(table.m_Colours[1].GetPacked(), CGColor(1, 2, 3).GetPacked());
}

TEST(CLLColourTableSampling, EmptyTableHasNoColourToChange)
{
    CLLColourTable table;
    table.Clear();
    EXPECT_EQ(table.GetColourRef(0.5), nullptr);
    EXPECT_EQ(table.GetColour(0.5).GetPacked(), 0u);
}

TEST(CLLColourTableRamp, EndColoursMayBeColoursOfTheSameTable)
{
    // Interpolating between two rows passes colours of the table being replaced.
    CLLColourTable rgb;
    rgb.RampRGB(CGColor(0, 0, 0), CGColor(200, 100, 40), 2);
    rgb.RampRGB(rgb.m_Colours[0], rgb.m_Colours[1], 5);
    EXPECT_EQ(rgb.m_Colours[4].GetPacked(), CGColor(200, 100, 40).GetPacked());
    EXPECT_EQ(rgb.m_Colours[2].GetPacked(), CGColor(100, 50, 20).GetPacked());

    CLLColourTable hsl;
    CGColor clear(0, 0, 255);
    clear.SetRGBA(0.0f, 0.0f, 1.0f, 0.0f);
    hsl.RampRGB(clear, CGColor(255, 0, 0), 2);
    hsl.RampHSL(hsl.m_Colours[0], hsl.m_Colours[1], 3);
    EXPECT_FLOAT_EQ(hsl.m_Colours[1].GetAlpha(), 0.5f);
    EXPECT_FLOAT_EQ(hsl.m_Colours[2].GetAlpha(), 1.0f);
    EXPECT_EQ(hsl.m_Colours[2].GetPacked(), 0x0000FFu);
    // Growing past the old capacity must not read the released list either.
    hsl.RampHSL(hsl.m_Colours[0], hsl.m_Colours[2], 200);
    EXPECT_EQ(hsl.m_Colours[199].GetPacked(), 0x0000FFu);
}

TEST(CLLColourTableEdit, InsertAndRemoveKeepTheCounts)
{
    CLLColourTable table;
    table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 3);
    table.InsertAt(1, 0x123456u);
    ASSERT_EQ(table.m_Count, 4);
    EXPECT_EQ(table.m_LastIndex, 3);
    EXPECT_EQ(table.m_Colours[1].GetPacked(), 0x123456u);
    table.InsertAt(4, 0x1u); // past the end: ignored
    table.RemoveAt(-1);
    EXPECT_EQ(table.m_Count, 4);
    table.RemoveAt(0);
    EXPECT_EQ(table.m_Count, 3);
    EXPECT_EQ(table.m_Colours[0].GetPacked(), 0x123456u);
}
