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
