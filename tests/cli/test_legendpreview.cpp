#include "cli/legendpreview.h"
#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {

CLLLegend Legend(int32_t dataType, const std::string& description, const std::vector<CLLRow>& rows)
{
    CLLLegend legend;
    legend.Clear();
    legend.m_Name = "Grades";
    legend.m_Description = description;
    legend.m_DataType = dataType;
    for (const CLLRow& row : rows)
        legend.AddRow(row);
    return legend;
}

} // namespace

// The texts drawn, in order: title, description, then value and label of each row.
TEST(LegendPreview, WritesTitleValuesAndLabels)
{
    const CLLRow low{.label = "low", .text = "LOW", .from = 0, .to = 10};
    const CLLRow one{.label = "ten", .text = "TEN", .from = 10, .to = 10};
    const struct {
        CLLLegend legend;
        std::vector<std::string> texts;
        int height;
        int maxRows; // the most that fit in a picture 32767 high
    } cases[] = {
        {Legend(DataNumericContinuous, "Cu %", {low, one}),
         {"Grades", "Cu %", "0 \xE2\x80\x93 10", "low", "10", "ten"},
         87 + 2 * 28 + 16,
         1166},
        {Legend(DataNumericDiscrete, "", {one}), {"Grades", "10", "ten"}, 67 + 28 + 16, 1167},
        {Legend(DataText, "", {low, one}), {"Grades", "LOW", "low", "TEN", "ten"}, 67 + 2 * 28 + 16, 1167},
    };
    const CPatternTable patterns;
    for (const auto& c : cases) {
        CRecordingPainter painter;
        const CLegendPreview preview(c.legend, patterns, nullptr);
        preview.Draw(painter, 400);
        EXPECT_EQ(painter.m_Texts, c.texts);
        EXPECT_EQ(preview.Height(), c.height);
        EXPECT_EQ(preview.MaxRows(), c.maxRows);
    }
}

// Background first (a checker when transparent), the pattern in the fill
// colour over it unless the fill is transparent or the pattern has no bitmap,
// then the frame; the line sample gets the row's style and line colour.
TEST(LegendPreview, DrawsSwatchesAndLineSamplesByTheCellRules)
{
    CPatternTable patterns;
    patterns.Set(3, CGridBitmap::FromRows({"#.", ".#"}));
    const CGColor red(0x0000FF), blue(0xFF0000);
    const struct {
        CLLRow row;
        std::vector<std::string> ops;
        int32_t style = 7; // 0 and 1 are no line: no sample at all
        std::vector<std::string> samples = {"7 at 78,81 74x16 #123456"};
    } cases[] = {
        {{.fillColour = red, .backColour = blue, .pattern = 3},
         {"fill 16,30,64,50 #ff0000", "pattern 16,30,64,50 2x2 #ff none"}},
        {{.fillColour = red, .backColour = blue, .backTransparent = true, .pattern = 3},
         {"pattern 16,30,64,50 8x8 #cccccc #ffffff", "pattern 16,30,64,50 2x2 #ff none"}},
        {{.fillColour = red, .backColour = blue, .fillTransparent = true, .pattern = 3}, {"fill 16,30,64,50 #ff0000"}},
        {{.fillColour = red, .backColour = blue, .pattern = 4}, {"fill 16,30,64,50 #ff0000"}},
        {{.fillColour = red, .backColour = blue}, {"fill 16,30,64,50 #ff0000"}, 0, {}},
        {{.fillColour = red, .backColour = blue}, {"fill 16,30,64,50 #ff0000"}, 1, {}},
        {{.fillColour = red, .backColour = blue}, {"fill 16,30,64,50 #ff0000"}, 2, {"2 at 78,81 74x16 #123456"}},
    };
    for (const auto& c : cases) {
        CLLRow row = c.row;
        row.lineStyle = c.style;
        row.lineColour = CGColor(0x123456);
        const CLLLegend legend = Legend(DataText, "", {row});
        std::vector<std::string> samples;
        const CLegendPreview preview(
            legend, patterns, [&](CGridPainter&, int32_t style, int x, int y, int w, int h, uint32_t colour) {
                samples.push_back(CNumberFormat::Format("%d at %d,%d %dx%d #%x", style, x, y, w, h, colour));
            });
        CRecordingPainter painter;
        CLLRow shown;
        ASSERT_TRUE(legend.GetRow(0, shown));
        preview.DrawSwatch(painter, {16, 30, 64, 50}, shown);
        std::vector<std::string> ops = c.ops;
        ops.push_back("frame 16,30,64,50 #808080");
        EXPECT_EQ(painter.m_Ops, ops);
        preview.Draw(painter, 400);
        EXPECT_EQ(samples, c.samples) << row.lineStyle;
    }
}
