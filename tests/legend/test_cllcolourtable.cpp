#include "legend/cllcolourtable.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(table.IndexOf(0.0), 0);
    EXPECT_EQ(table.IndexOf(0.55), 5);
    EXPECT_EQ(table.IndexOf(1.0), 9);
    EXPECT_EQ(table.IndexOf(-0.5), 0);
    ASSERT_EQ(table.SetLevels(4), 1);
    EXPECT_EQ(table.m_Resampled, 1);
    EXPECT_DOUBLE_EQ(table.m_Ratio, 2.5);
    // trunc(4 * 0.3) + 0.5 = 1.5 -> 1.5 * 2.5 = 3.75 -> 3
    EXPECT_EQ(table.IndexOf(0.3), 3);
    // trunc(4 * 1) + 0.5 = 4.5, limited to the last level 3 -> 7.5 -> 7
    EXPECT_EQ(table.IndexOf(1.0), 7);
    EXPECT_EQ(table.GetColour(1.0).GetPacked(), table.m_Colours[7].GetPacked());
    table.GetColourRef(0.0) = CGColor(1, 2, 3);
    EXPECT_EQ(table.m_Colours[1].GetPacked(), CGColor(1, 2, 3).GetPacked());
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
