#include "legend/cllegend.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

CLLRow MakeRow(const std::string& label, uint32_t fill, int32_t pattern)
{
    return {.label = label, .from = 1.0, .to = 2.0, .fillColour = CGColor(fill), .backColour = CGColor(0x00FFFFFFu),
            .pattern = pattern, .lineColour = CGColor(0x0000FFu), .lineStyle = 3, .thickness = 2.5f,
            .comment = "c-" + label};
}

std::vector<CLLRow> Rows(const CLLLegend& l)
{
    std::vector<CLLRow> rows;
    for (CLLRow r; l.GetRow(static_cast<int>(rows.size()), r);)
        rows.push_back(r);
    return rows;
}

} // namespace

TEST(CLLLegendLifecycle, SetDefaultGivesThirtyTwoRowsClearEmptiesRowsAndHeaderButKeepsTheFileFields)
{
    CLLLegend l;
    l.SetDefault();
    EXPECT_EQ(l.GetRowCount(), 32);
    EXPECT_EQ(l.m_From.size() + l.m_StringValues.size(), 64u);
    EXPECT_EQ(l.m_Patterns[5], 0);
    l.m_DataType = DataText; // the text values are there too
    EXPECT_TRUE(l.RowListsAgree());
    l.m_Name = "n";
    l.m_Description = "d";
    l.m_DataType = DataText;
    l.m_FileTitle = "t";
    l.m_FilePath = "/p/t.leg";
    l.m_DefaultThickness = 3.0f;
    l.m_HeaderComments = {"# x"};
    l.Clear();
    EXPECT_EQ(l.GetRowCount(), 0);
    EXPECT_TRUE(l.RowListsAgree());
    EXPECT_EQ(l.LEGText(), "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"\"\n\tDescription = \"\"\n"
                           "\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n\t}\nLegendTable End\n");
    EXPECT_EQ(l.m_FileTitle, "t");
    EXPECT_EQ(l.m_FilePath, "/p/t.leg");
    EXPECT_FLOAT_EQ(l.m_DefaultThickness, 3.0f);
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

// Every row operation keeps every list in step, on a legend with all value
// lists and on one read as numeric, whose text and sampled values stay empty.
TEST(CLLLegendRows, RowOperationsKeepEveryListInStep)
{
    const CLLRow a = MakeRow("a", 1, 4), b = MakeRow("b", 2, 5), c = MakeRow("c", 3, 6);
    // The row InsertRow makes.
    const CLLRow n{.backColour = CGColor(0x00FFFFFFu), .backTransparent = true, .pattern = 1, .lineStyle = 2};
    const auto duplicate = [](CLLLegend& l, int i) {
        CLLRow r;
        if (l.GetRow(i, r)) {
            l.InsertRow(i + 1);
            l.SetRow(i + 1, r);
        }
    };
    const struct {
        const char* what;
        std::function<void(CLLLegend&)> change;
        std::vector<CLLRow> rows;
    } cases[] = {
        {"insert first", [](CLLLegend& l) { l.InsertRow(0); }, {n, a, b, c}},
        {"insert between", [](CLLLegend& l) { l.InsertRow(1); }, {a, n, b, c}},
        {"insert at the end", [](CLLLegend& l) { l.InsertRow(3); }, {a, b, c, n}},
        {"insert beyond", [](CLLLegend& l) { l.InsertRow(4); l.InsertRow(-1); }, {a, b, c}},
        {"delete first", [](CLLLegend& l) { l.DeleteRow(0); }, {b, c}},
        {"delete last", [](CLLLegend& l) { l.DeleteRow(2); }, {a, b}},
        {"delete beyond", [](CLLLegend& l) { l.DeleteRow(3); l.DeleteRow(-1); }, {a, b, c}},
        {"duplicate", [&](CLLLegend& l) { duplicate(l, 1); }, {a, b, b, c}},
        {"duplicate the last", [&](CLLLegend& l) { duplicate(l, 2); }, {a, b, c, c}},
        {"set", [&](CLLLegend& l) { EXPECT_TRUE(l.SetRow(0, c)); EXPECT_FALSE(l.SetRow(3, a)); }, {c, b, c}},
        {"delete all", [](CLLLegend& l) { for (int i = 0; i < 3; ++i) l.DeleteRow(0); }, {}},
    };
    for (const auto values : {CLLLegend::RowValues::All, CLLLegend::RowValues::OfDataType}) {
        for (const auto& k : cases) {
            SCOPED_TRACE(k.what);
            CLLLegend l;
            l.Clear();
            for (const CLLRow& r : {a, b, c})
                l.AddRow(r, values);
            k.change(l);
            EXPECT_TRUE(l.RowListsAgree());
            EXPECT_EQ(Rows(l), k.rows);
            CLLRow r;
            EXPECT_FALSE(l.GetRow(-1, r));
            const size_t all = values == CLLLegend::RowValues::All ? k.rows.size() : 0;
            EXPECT_EQ(l.m_StringValues.size(), all);
            EXPECT_EQ(l.m_Values.size(), all);
        }
    }
}
