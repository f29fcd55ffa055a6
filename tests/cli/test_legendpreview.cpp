#include "cli/legendpreview.h"
#include "grid/gridfakes.h"

#include <gtest/gtest.h>

// The texts drawn, in order: title, description, then value and label of each row.
TEST(LegendPreview, WritesTitleValuesAndLabels)
{
    const std::string header = "LegendTable Begin\nName = Grades\n";
    const struct {
        std::string legend;
        std::vector<std::string> texts;
        int maxRows; // the most that fit in a picture 32767 high
    } cases[] = {
        {header + "Description = \"Cu %\"\nLEG = {\n0 10 low 0 0 0\n10 10 ten 0 0 0\n",
         {"Grades", "Cu %", "0 \xE2\x80\x93 10", "low", "10", "ten"},
         1166},
        {header + "DataType = TEXT\nLEG = {\nLOW low 0 0 0\nTEN ten 0 0 0\n",
         {"Grades", "LOW", "low", "TEN", "ten"},
         1167},
    };
    const CPatternTable patterns;
    for (const auto& c : cases) {
        CLLLegend legend;
        legend.ReadLEGText(c.legend, "g.leg");
        CRecordingPainter painter;
        const CLegendPreview preview(legend, patterns, nullptr);
        preview.Draw(painter, 400);
        EXPECT_EQ(painter.m_Texts, c.texts);
        EXPECT_EQ(preview.MaxRows(), c.maxRows);
    }
}
