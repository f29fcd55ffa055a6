#include "legend/cllegend.h"

#include <gtest/gtest.h>

namespace {

CLLRow MakeRow(const std::string& label, uint32_t fill, int32_t pattern)
{
    CLLRow r;
    r.label = label;
    r.fillColour = CGColor(fill);
    r.backColour = CGColor(0x00FFFFFFu);
    r.pattern = pattern;
    r.lineColour = CGColor(0x0000FFu);
    r.lineStyle = 3;
    r.thickness = 2.5f;
    r.comment = "c-" + label;
    r.from = 1.0;
    r.to = 2.0;
    return r;
}

void ExpectAllListsHave(const CLLLegend& l, size_t n)
{
    EXPECT_EQ(static_cast<size_t>(l.GetRowCount()), n);
    EXPECT_EQ(l.m_BackColours.m_Colours.size(), n);
    EXPECT_EQ(l.m_LineColours.m_Colours.size(), n);
    EXPECT_EQ(l.m_BackTransparent.size(), n);
    EXPECT_EQ(l.m_FillTransparent.size(), n);
    EXPECT_EQ(l.m_Labels.size(), n);
    EXPECT_EQ(l.m_Patterns.size(), n);
    EXPECT_EQ(l.m_LineStyles.size(), n);
    EXPECT_EQ(l.m_LineThickness.size(), n);
    EXPECT_EQ(l.m_RowComments.size(), n);
}

} // namespace

TEST(CLLLegendLifecycle, NewDocumentHasDefaultTablesButNoRows)
{
    const CLLLegend l;
    EXPECT_EQ(l.GetRowCount(), 32);
    EXPECT_TRUE(l.m_Labels.empty());
    EXPECT_EQ(l.m_DataType, DataNumericContinuous);
    EXPECT_FLOAT_EQ(l.m_DefaultThickness, 1.0f);
}

TEST(CLLLegendLifecycle, ClearEmptiesRowsAndHeaderButKeepsTheFileFields)
{
    CLLLegend l;
    l.SetDefault();
    l.m_Name = "n";
    l.m_Description = "d";
    l.m_DataType = DataText;
    l.m_FileTitle = "t";
    l.m_FilePath = "/p/t.leg";
    l.m_DefaultThickness = 3.0f;
    l.m_HeaderComments = {"# x"};
    l.Clear();
    EXPECT_EQ(l.GetRowCount(), 0);
    ExpectAllListsHave(l, 0);
    EXPECT_TRUE(l.m_HeaderComments.empty());
    EXPECT_EQ(l.m_Name, "");
    EXPECT_EQ(l.m_Description, "");
    EXPECT_EQ(l.m_DataType, DataNumericContinuous);
    EXPECT_EQ(l.m_FileTitle, "t");
    EXPECT_EQ(l.m_FilePath, "/p/t.leg");
    EXPECT_FLOAT_EQ(l.m_DefaultThickness, 3.0f);
}

TEST(CLLLegendLifecycle, SetDefaultGivesThirtyTwoRowsInEveryList)
{
    CLLLegend l;
    l.SetDefault();
    ExpectAllListsHave(l, 32);
    EXPECT_EQ(l.m_From.size(), 32u);
    EXPECT_EQ(l.m_StringValues.size(), 32u);
    EXPECT_EQ(l.m_Patterns[5], 0);
}

TEST(CLLLegendRows, AddThenGetReturnsTheSameRow)
{
    CLLLegend l;
    l.Clear();
    l.AddRow(MakeRow("a", 0x112233u, 4));
    l.AddRow(MakeRow("b", 0x445566u, 5));
    ExpectAllListsHave(l, 2);
    EXPECT_EQ(l.m_From.size(), 2u);
    EXPECT_EQ(l.m_StringValues.size(), 2u);
    CLLRow r;
    ASSERT_TRUE(l.GetRow(1, r));
    EXPECT_EQ(r.label, "b");
    EXPECT_EQ(r.fillColour.GetPacked(), 0x445566u);
    EXPECT_EQ(r.pattern, 5);
    EXPECT_EQ(r.lineStyle, 3);
    EXPECT_FLOAT_EQ(r.thickness, 2.5f);
    EXPECT_EQ(r.comment, "c-b");
    EXPECT_FALSE(l.GetRow(2, r));
    EXPECT_FALSE(l.GetRow(-1, r));
}

TEST(CLLLegendRows, GetRowFillsValuesMissingFromShortListsWithZero)
{
    CLLLegend l;
    l.Clear();
    l.AddRow(MakeRow("a", 1, 1));
    l.m_From.clear();
    l.m_StringValues.clear();
    CLLRow r;
    r.from = 99.0;
    r.text = "stale";
    ASSERT_TRUE(l.GetRow(0, r));
    EXPECT_DOUBLE_EQ(r.from, 0.0);
    EXPECT_EQ(r.text, "");
}

TEST(CLLLegendRows, InsertRowMakesTheStandardNewRow)
{
    CLLLegend l;
    l.Clear();
    l.AddRow(MakeRow("a", 1, 4));
    l.AddRow(MakeRow("b", 2, 5));
    l.m_Values.clear(); // a legend read from a file has no sampled values
    l.InsertRow(1);
    ExpectAllListsHave(l, 3);
    EXPECT_EQ(l.m_From.size(), 3u);
    EXPECT_TRUE(l.m_Values.empty());
    CLLRow r;
    ASSERT_TRUE(l.GetRow(1, r));
    EXPECT_EQ(r.fillColour.GetPacked(), 0u);
    EXPECT_EQ(r.backColour.GetPacked(), 0xFFFFFFu);
    EXPECT_TRUE(r.backTransparent);
    EXPECT_FALSE(r.fillTransparent);
    EXPECT_EQ(r.pattern, 1);
    EXPECT_EQ(r.lineStyle, 2);
    EXPECT_FLOAT_EQ(r.thickness, 1.0f);
    EXPECT_EQ(r.label, "");
    EXPECT_EQ(l.m_Labels[2], "b");
    l.InsertRow(3); // at the end
    EXPECT_EQ(l.GetRowCount(), 4);
    l.InsertRow(9);
    l.InsertRow(-1);
    EXPECT_EQ(l.GetRowCount(), 4);
}

TEST(CLLLegendRows, DeleteRowRemovesItEverywhere)
{
    CLLLegend l;
    l.Clear();
    l.AddRow(MakeRow("a", 1, 4));
    l.AddRow(MakeRow("b", 2, 5));
    l.AddRow(MakeRow("c", 3, 6));
    l.DeleteRow(1);
    ExpectAllListsHave(l, 2);
    EXPECT_EQ(l.m_Labels[1], "c");
    EXPECT_EQ(l.m_FillColours.m_Colours[1].GetPacked(), 3u);
    EXPECT_EQ(l.m_FillColours.m_Count, 2);
    l.DeleteRow(2);
    l.DeleteRow(-1);
    EXPECT_EQ(l.GetRowCount(), 2);
}

TEST(CLLLegendColours, TransparentRulesInAndOut)
{
    CGColor c;
    int32_t flag = 0;
    CLLLegend::ColourIn(4278190080u + 255u, c, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(c.GetPacked(), 0xFFFFFFu); // the colour under the transparency is not kept
    EXPECT_EQ(CLLLegend::ColourOut(c, flag), 4278190080u);
    CLLLegend::ColourIn(16777215u, c, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(CLLLegend::ColourOut(c, flag), 16777215u);
    CLLLegend::ColourIn(static_cast<uint32_t>(-1), c, flag);
    EXPECT_EQ(flag, 1);
}
