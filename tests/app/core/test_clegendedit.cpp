#include "app/core/clegendedit.h"

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
    struct Case {
        const char* name;
        int rows;
        std::function<void(CLLLegend&)> change;
        int first;
        size_t keptBefore, keptAfter;
    };
    const Case cases[] = {
        {"one cell in the middle", 100, [](CLLLegend& l) { l.m_Labels[50] = "changed"; }, 50, 1, 1},
        {"a row inserted", 10, [](CLLLegend& l) { l.InsertRow(3); }, 3, 0, 1},
        {"rows deleted", 10, [](CLLLegend& l) { l.DeleteRow(4); l.DeleteRow(4); }, 4, 2, 0},
        {"a row added at the end", 5, [](CLLLegend& l) { l.AddRow(CLLRow{.label = "new", .from = 5, .to = 6}); }, 5, 0, 1},
        {"the first row into an empty legend", 0, [](CLLLegend& l) { l.AddRow(CLLRow{.label = "only", .to = 1}, CLLLegend::RowValues::OfDataType); }, 0, 0, 1},
        {"every row deleted", 3, [](CLLLegend& l) { while (l.GetRowCount() > 0) l.DeleteRow(0); }, 0, 3, 0},
        {"a sort reverses the rows", 4, [](CLLLegend& l) {
             CLLLegend sorted = l;
             CLLRow row;
             for (int i = 0; i < 4; ++i) {
                 l.GetRow(3 - i, row);
                 sorted.SetRow(i, row);
             }
             l = sorted;
         }, 0, 4, 4},
        {"the description only", 3, [](CLLLegend& l) { l.m_Description = "typed"; }, 3, 0, 0},
        {"two colours at both ends", 6, [](CLLLegend& l) { l.m_Patterns[0] = 9; l.m_Patterns[5] = 9; }, 0, 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CLLLegend before = Numbered(c.rows);
        CLLLegend after = before;
        c.change(after);
        const CLegendEdit edit = CLegendEdit::Between(before, after);
        EXPECT_EQ(edit.FirstRow(), c.first);
        EXPECT_EQ(edit.RowsBefore().size(), c.keptBefore);
        EXPECT_EQ(edit.RowsAfter().size(), c.keptAfter);
        EXPECT_FALSE(edit.IsEmpty());

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
