#include "legend/cllegend.h"
#include "legend/clltokenizer.h"
#include "legend/legendtext.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

CLLRow MakeRow(const std::string& label, uint32_t fill, int32_t pattern)
{
    return {.label = label,
            .from = 1.0,
            .to = 2.0,
            .fillColour = CGColor(fill),
            .backColour = CGColor(0x00FFFFFFu),
            .pattern = pattern,
            .lineColour = CGColor(0x0000FFu),
            .lineStyle = 3,
            .thickness = 2.5f,
            .comment = "c-" + label};
}

} // namespace

TEST(CLLLegendLifecycle, SetDefaultGivesThirtyTwoRowsClearEmptiesRowsAndHeaderButKeepsTheFileFields)
{
    CLLLegend l;
    l.SetDefault();
    l.m_DataType = DataText; // the text values are there too
    EXPECT_EQ(CNumberFormat::Format("%d %zu %d %d", l.GetRowCount(), l.m_From.size() + l.m_StringValues.size(),
                                    l.m_Patterns[5], l.RowListsAgree()),
              "32 64 0 1");
    l.m_Name = l.m_Description = "n";
    l.m_FileTitle = "t";
    l.m_FilePath = "/p/t.leg";
    l.m_DefaultThickness = 3.0f;
    l.m_HeaderComments = {"# x"};
    l.Clear();
    EXPECT_EQ(std::to_string(l.GetRowCount()) + std::to_string(l.RowListsAgree()) + l.LEGText() + l.m_FileTitle + " " +
                  l.m_FilePath + CNumberFormat::Format(" %g", static_cast<double>(l.m_DefaultThickness)),
              "01" + Leg("NUMERICCONTINUOUS", "") + "t /p/t.leg 3");
    // Values missing from short lists read as zero.
    l.AddRow(MakeRow("a", 1, 1));
    l.m_From.clear();
    l.m_StringValues.clear();
    CLLRow r{.text = "stale", .from = 99.0};
    ASSERT_TRUE(l.GetRow(0, r));
    EXPECT_EQ(r.text + CNumberFormat::Format("%g", r.from), "0");
}

// Every row operation keeps every list in step, on a legend with all value
// lists and on one read as numeric, whose text and sampled values stay empty.
// Each script runs on the rows a b c; "set" shows whether it took the row.
TEST(CLLLegendRows, RowOperationsKeepEveryListInStep)
{
    // n is the row InsertRow makes.
    const std::map<char, CLLRow> named = {
        {'a', MakeRow("a", 1, 4)},
        {'b', MakeRow("b", 2, 5)},
        {'c', MakeRow("c", 3, 6)},
        {'n', {.backColour = CGColor(0x00FFFFFFu), .backTransparent = true, .pattern = 1, .lineStyle = 2}}};
    const std::pair<const char*, const char*> cases[] = {
        {"insert 0", "nabc"},           {"insert 3", "abcn"},
        {"insert 4; insert -1", "abc"}, {"delete 2", "ab"},
        {"delete 3; delete -1", "abc"}, {"dup 2", "abcc"},
        {"set 0 c; set 3 a", "10cbc"},  {"delete 0; delete 0; delete 0", ""},
    };
    for (const auto values : {CLLLegend::RowValues::All, CLLLegend::RowValues::OfDataType}) {
        for (const auto& [script, expected] : cases) {
            CLLLegend l;
            l.Clear();
            for (const char name : {'a', 'b', 'c'})
                l.AddRow(named.at(name), values);
            std::istringstream in(script);
            std::string op, got;
            int i = 0;
            for (char x = 0; in >> op >> i; in.ignore(1)) {
                CLLRow r;
                if (op == "insert")
                    l.InsertRow(i);
                if (op == "delete")
                    l.DeleteRow(i);
                if (op == "dup" && l.GetRow(i, r)) {
                    l.InsertRow(i + 1);
                    l.SetRow(i + 1, r);
                }
                if (op == "set" && in >> x)
                    got += std::to_string(l.SetRow(i, named.at(x)));
            }
            CLLRow r;
            std::vector<CLLRow> rows, wanted;
            for (; l.GetRow(static_cast<int>(rows.size()), r);)
                rows.push_back(r);
            for (const char name : std::string(expected).substr(got.size()))
                wanted.push_back(named.at(name));
            EXPECT_EQ(rows, wanted) << script;
            const size_t all = values == CLLLegend::RowValues::All ? rows.size() : 0;
            EXPECT_EQ(got + CNumberFormat::Format("%d%d %zu %zu", l.RowListsAgree(), l.GetRow(-1, r),
                                                  l.m_StringValues.size(), l.m_Values.size()),
                      std::string(expected).substr(0, got.size()) + CNumberFormat::Format("10 %zu %zu", all, all))
                << script;
        }
    }
}

// A new table, as each colour list of a new legend, runs from blue to red in 32
// colours, through green (by hue) rather than through grey.
TEST(CLLColourTable, TheDefaultRunsFromBlueToRedThroughGreen)
{
    const CLLColourTable table;
    EXPECT_EQ(CNumberFormat::Format("%x %d %x ", table.m_Colours.front().GetPacked(), table.m_Colours.at(16).Green255(),
                                    table.m_Colours.back().GetPacked()) +
                  Header(table),
              "ff0000 255 ff 0  32/32");
}

// The tokens of each line joined by ';', and what Rest() holds after the first.
// The file tests drive the other rules through whole legends and tables.
TEST(CLLTokenizerSplit, TokensOfEachLine)
{
    const struct {
        const char* line;
        std::string tokens, restAfterFirst;
    } cases[] = {
        {"\t\t1,  2==3|4", "1;2;3;4;", "  2==3|4"},
        // Text right before an opening quote is lost; an unclosed quote runs to the end.
        {"ab\"cd\" e", "cd;e;", " e"},
        {"\"open to the end, really", "open to the end, really;", ""},
    };
    for (const auto& c : cases) {
        CLLTokenizer tok(c.line, CLLTokenizer::LegendDelimiters);
        std::string tokens, rest;
        for (bool first = true; !tok.Rest().empty(); first = false) {
            tokens += std::string(tok.Next()) + ";";
            if (first)
                rest = tok.Rest();
        }
        EXPECT_EQ(tokens + " / " + rest, c.tokens + " / " + c.restAfterFirst) << c.line;
    }
}

TEST(CLLTokenizerWords, CommentMarkers)
{
    std::string markers;
    for (const char* token : {"~x", "!", "#", "*a", "/", "\\", "-1", ""})
        markers += CLLTokenizer::IsCommentMarker(token) ? '1' : '0';
    EXPECT_EQ(markers, "11111100");
}
