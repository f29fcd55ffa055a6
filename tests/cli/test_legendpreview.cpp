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
        int maxRows; // the most that fit in a picture 32767 high
    } cases[] = {
        {Legend(DataNumericContinuous, "Cu %", {low, one}),
         {"Grades", "Cu %", "0 \xE2\x80\x93 10", "low", "10", "ten"},
         1166},
        {Legend(DataText, "", {low, one}), {"Grades", "LOW", "low", "TEN", "ten"}, 1167},
    };
    const CPatternTable patterns;
    for (const auto& c : cases) {
        CRecordingPainter painter;
        const CLegendPreview preview(c.legend, patterns, nullptr);
        preview.Draw(painter, 400);
        EXPECT_EQ(painter.m_Texts, c.texts);
        EXPECT_EQ(preview.MaxRows(), c.maxRows);
    }
}

// The pattern goes in the fill colour over the background unless the fill is
// transparent; styles 0 and 1 are no line and get no sample.
TEST(LegendPreview, DrawsSwatchesAndLineSamplesByTheCellRules)
{
    CPatternTable patterns;
    patterns.Set(3, CGridBitmap::FromRows({"#.", ".#"}));
    const CGColor red(0x0000FF), blue(0xFF0000);
    const struct {
        CLLRow row;
        std::vector<std::string> ops, samples;
    } cases[] = {
        {{.fillColour = red, .backColour = blue, .pattern = 3, .lineStyle = 2},
         {"fill 16,30,64,50 #ff0000", "pattern 16,30,64,50 2x2 #ff none"},
         {"2 at 78,81 74x16 #123456"}},
        {{.fillColour = red, .backColour = blue, .fillTransparent = true, .pattern = 3, .lineStyle = 1},
         {"fill 16,30,64,50 #ff0000"},
         {}},
    };
    for (const auto& c : cases) {
        CLLRow row = c.row;
        row.lineColour = CGColor(0x123456);
        const CLLLegend legend = Legend(DataText, "", {row});
        std::vector<std::string> samples;
        const CLegendPreview preview(
            legend, patterns, [&](CGridPainter&, int32_t style, int x, int y, int w, int h, uint32_t colour) {
                samples.push_back(CNumberFormat::Format("%d at %d,%d %dx%d #%x", style, x, y, w, h, colour));
            });
        CRecordingPainter painter;
        preview.DrawSwatch(painter, {16, 30, 64, 50}, row);
        std::vector<std::string> ops = c.ops;
        ops.push_back("frame 16,30,64,50 #808080");
        EXPECT_EQ(painter.m_Ops, ops);
        preview.Draw(painter, 400);
        EXPECT_EQ(samples, c.samples);
    }
}
