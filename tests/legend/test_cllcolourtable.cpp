#include "legend/cllcolourtable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CGColor Rgba(float r, float g, float b, float a)
{
    CGColor c;
    c.SetRGBA(r, g, b, a);
    return c;
}

} // namespace

// Each ramp mixes red, green, blue (or hue, saturation, lightness) and alpha.
TEST(CLLColourTableRamp, ColoursAndAlphaOfEachRamp)
{
    const struct {
        const char* name;
        bool hsl;
        CGColor from, to;
        int n, result;
        std::vector<uint32_t> colours;
        std::vector<float> alphas;
    } cases[] = {
        {"RGB", false, CGColor(0, 0, 0), CGColor(200, 100, 40), 5, 1,
         {0, CGColor(50, 25, 10).GetPacked(), CGColor(100, 50, 20).GetPacked(), CGColor(150, 75, 30).GetPacked(),
          CGColor(200, 100, 40).GetPacked()}, {1, 1, 1, 1, 1}},
        {"RGB alpha", false, Rgba(0, 0, 1, 0), Rgba(1, 0, 0, 1), 3, 1, {0xFF0000, 0x800080, 0x0000FF}, {0, 0.5f, 1}},
        {"RGB alpha down", false, Rgba(1, 1, 1, 1), Rgba(1, 1, 1, 0.5f), 3, 1, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
         {1, 0.75f, 0.5f}},
        // Blue to red passes through green rather than through grey.
        {"HSL alpha", true, Rgba(0, 0, 1, 0), Rgba(1, 0, 0, 1), 3, 1, {0xFF0000, 0x00FF00, 0x0000FF}, {0, 0.5f, 1}},
        {"one colour changes nothing", false, CGColor(0, 0, 0), CGColor(255, 255, 255), 1, 0, {0x030201}, {1}},
        {"no colour changes nothing", true, CGColor(0, 0, 0), CGColor(255, 255, 255), 0, 0, {0x030201}, {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLLColourTable table;
        table.m_Colours = {CGColor(0x030201u)};
        table.SetLevels(-1);
        table.m_Kind = CLLColourTable::KindLUT;
        table.m_FileName = "t.lut";
        EXPECT_EQ(c.hsl ? table.RampHSL(c.from, c.to, c.n) : table.RampRGB(c.from, c.to, c.n), c.result);
        std::vector<uint32_t> colours;
        std::vector<float> alphas;
        for (const CGColor& colour : table.m_Colours) {
            colours.push_back(colour.GetPacked());
            alphas.push_back(colour.GetAlpha());
        }
        EXPECT_EQ(colours, c.colours);
        EXPECT_EQ(alphas, c.alphas);
        // A ramp is no longer the file's table; a refused one leaves it.
        EXPECT_EQ(std::to_string(table.m_Kind) + table.m_FileName + std::to_string(table.m_Count),
                  c.result ? std::to_string(CLLColourTable::KindRamp) + std::to_string(c.colours.size())
                           : std::to_string(CLLColourTable::KindLUT) + "t.lut1");
    }
    const CLLColourTable byDefault; // blue to red in HSL
    ASSERT_EQ(byDefault.m_Colours.size(), 32u);
    EXPECT_EQ(byDefault.m_Colours.front().GetPacked(), 0xFF0000u);
    EXPECT_EQ(byDefault.m_Colours[16].Green255(), 255);
    EXPECT_EQ(byDefault.m_Colours.back().GetPacked(), 0x0000FFu);
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
    table.Clear(); // an empty table has no colour to change
    EXPECT_EQ(table.GetColourRef(0.5), nullptr);
    EXPECT_EQ(table.GetColour(0.5).GetPacked(), 0u);
}

TEST(CLLColourTableRamp, EndColoursMayBeColoursOfTheSameTable)
{
    // Interpolating between two rows passes colours of the table being replaced;
    // growing past the old capacity must not read the released list either.
    CLLColourTable table;
    table.RampRGB(CGColor(0, 0, 0), CGColor(200, 100, 40), 2);
    table.RampRGB(table.m_Colours[0], table.m_Colours[1], 5);
    EXPECT_EQ(table.m_Colours[2].GetPacked(), CGColor(100, 50, 20).GetPacked());
    table.RampHSL(table.m_Colours[0], table.m_Colours[4], 200);
    EXPECT_EQ(table.m_Colours[199].GetPacked(), CGColor(200, 100, 40).GetPacked());
}

TEST(CLLColourTableEdit, InsertAndRemoveKeepTheCounts)
{
    CLLColourTable table;
    table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 3);
    auto state = [&] {
        std::string s = std::to_string(table.m_Count) + "/" + std::to_string(table.m_LastIndex) + ":";
        for (const CGColor& c : table.m_Colours)
            s += " " + std::to_string(c.GetPacked());
        return s + "|";
    };
    table.InsertAt(1, 0x123456u);
    std::string got = state();
    table.InsertAt(4, 0x1u); // past the end: ignored
    table.RemoveAt(-1);
    got += state();
    table.RemoveAt(0);
    EXPECT_EQ(got + state(), "4/3: 0 1193046 8421504 16777215|4/3: 0 1193046 8421504 16777215|3/2: 1193046 8421504 16777215|");
}
