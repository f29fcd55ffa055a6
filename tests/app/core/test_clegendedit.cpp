#include "app/core/clegendedit.h"
#include "app/core/rowinterpolation.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

CLLLegend Numbered(int rows)
{
    CLLLegend legend;
    legend.Clear();
    for (int i = 0; i < rows; ++i)
        legend.AddRow(CLLRow{.label = "r" + std::to_string(i), .from = i * 1.0, .to = i + 1.0, .pattern = i});
    return legend;
}

} // namespace

TEST(LegendEdit, RedoAndUndoGiveTheExactLegendsAndKeepOnlyWhatChanged)
{
    // The legend's rows, the change; the first row the edit keeps and how many rows before and after.
    const std::tuple<int, std::function<void(CLLLegend&)>, int, size_t, size_t> cases[] = {
        {100, [](CLLLegend& l) { l.m_Labels[50] = "changed"; }, 50, 1, 1},
        {10, [](CLLLegend& l) { l.InsertRow(3); }, 3, 0, 1},
        {10,
         [](CLLLegend& l) {
             l.DeleteRow(4);
             l.DeleteRow(4);
         },
         4, 2, 0},
        {0, [](CLLLegend& l) { l.AddRow(CLLRow{.label = "x", .to = 1}, CLLLegend::RowValues::OfDataType); }, 0, 0, 1},
        {3, [](CLLLegend& l) { l = Numbered(0); }, 0, 3, 0},
        {4,
         [](CLLLegend& l) { // a sort reversing the rows
             const CLLLegend sorted = l;
             CLLRow row;
             for (int i = 0; i < 4; ++i) {
                 sorted.GetRow(3 - i, row);
                 l.SetRow(i, row);
             }
         },
         0, 4, 4},
        {3, [](CLLLegend& l) { l.m_Description = "typed"; }, 3, 0, 0}, // the description only
    };
    for (const auto& [rows, change, first, keptBefore, keptAfter] : cases) {
        SCOPED_TRACE(rows);
        const CLLLegend before = Numbered(rows);
        CLLLegend after = before;
        change(after);
        const CLegendEdit edit = CLegendEdit::Between(before, after);
        EXPECT_EQ(std::make_tuple(edit.FirstRow(), edit.RowsBefore().size(), edit.RowsAfter().size(), edit.IsEmpty()),
                  std::make_tuple(first, keptBefore, keptAfter, false));
        CLLLegend legend = before;
        edit.Apply(legend, false);
        EXPECT_EQ(legend.LEGText(), after.LEGText());
        EXPECT_TRUE(legend.RowListsAgree());
        edit.Apply(legend, true);
        EXPECT_EQ(legend.LEGText(), before.LEGText());
        EXPECT_TRUE(legend.RowListsAgree());
    }
    EXPECT_TRUE(CLegendEdit::Between(Numbered(3), Numbered(3)).IsEmpty());
}

TEST(InterpolateColourColumn, RecomputesEveryRowButTheFirstInSinglePrecision)
{
    const uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    const std::tuple<std::vector<uint32_t>, CColourColumn, CInterpolationMode, std::vector<uint32_t>> cases[] = {
        // (0 - 1) * 1 * 0.5 + 1 = 0.5 rounds to 128 for red and blue alike.
        {{red, 0, blue}, CColourColumn::Fill, CInterpolationMode::RGB, {red, 0x800080, blue}},
        // Hue runs from 2/3 down to 0 through 1/3, never the short way round.
        {{blue, 0, red}, CColourColumn::Back, CInterpolationMode::HSL, {blue, green, red}},
        {{blue, 0, 0, 0, red}, CColourColumn::Line, CInterpolationMode::HSL, {blue, 0xFFFF00, green, 0x00FFFF, red}},
        // Two rows: the last is recomputed from itself and stays.
        {{red, 0x123456}, CColourColumn::Fill, CInterpolationMode::RGB, {red, 0x123456}},
        {{0x123456}, CColourColumn::Fill, CInterpolationMode::HSL, {0x123456}},
    };
    for (const auto& [colours, column, mode, expected] : cases) {
        CLLLegend legend;
        legend.Clear();
        for (uint32_t colour : colours)
            legend.AddRow({.fillColour = CGColor(colour),
                           .backColour = CGColor(colour),
                           .fillTransparent = true,
                           .backTransparent = true,
                           .lineColour = CGColor(colour)});
        const int last = static_cast<int>(colours.size()) - 1;
        EXPECT_EQ(InterpolateColourColumn(legend, 0, last, column, mode), last);
        const bool back = column == CColourColumn::Back;
        const CLLColourTable& table = column == CColourColumn::Fill ? legend.m_FillColours
                                      : back                        ? legend.m_BackColours
                                                                    : legend.m_LineColours;
        std::vector<uint32_t> got;
        for (const CGColor& colour : table.m_Colours)
            got.push_back(colour.GetPacked());
        EXPECT_EQ(got, expected);
        // Rows that got a colour are opaque in that column only; the first keeps its flag.
        std::vector<int32_t> flags(colours.size(), 1);
        if (column != CColourColumn::Line)
            std::fill(flags.begin() + 1, flags.end(), 0);
        EXPECT_EQ(back ? legend.m_BackTransparent : legend.m_FillTransparent, flags);
        EXPECT_EQ(back ? legend.m_FillTransparent : legend.m_BackTransparent, std::vector<int32_t>(colours.size(), 1));
    }
}
