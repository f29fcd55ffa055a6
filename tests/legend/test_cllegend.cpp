#include "legend/legendtext.h"

#include <map>

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

// Colours with their alpha where it is not 1, then kind, file name, levels and count.
std::string State(const CLLColourTable& t)
{
    std::string s;
    for (const CGColor& c : t.m_Colours)
        s += CNumberFormat::Format("%x", c.GetPacked()) +
             (c.GetAlpha() == 1 ? "" : CNumberFormat::Format("@%g", static_cast<double>(c.GetAlpha()))) + " ";
    return s + "| " + Header(t);
}

} // namespace

// Every row operation keeps every list in step, on a legend with all value lists and on one read as numeric, whose text
// and sampled values stay empty. Each script runs on the rows a b c; "set" shows whether it took the row.
TEST(CLLLegendRows, RowOperationsKeepEveryListInStep)
{
    // n is the row InsertRow makes.
    const std::map<char, CLLRow> named = {
        {'a', MakeRow("a", 1, 4)},
        {'b', MakeRow("b", 2, 5)},
        {'c', MakeRow("c", 3, 6)},
        {'n', {.backColour = CGColor(0x00FFFFFFu), .backTransparent = true, .pattern = 1, .lineStyle = 2}}};
    const std::pair<const char*, const char*> cases[] = {
        {"insert 0", "nabc"},
        {"insert 3", "abcn"},
        {"delete 2", "ab"},
        {"set 0 c", "1cbc"},
        {"delete 0; delete 0; delete 0", ""},
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
                if (op == "insert")
                    l.InsertRow(i);
                if (op == "delete")
                    l.DeleteRow(i);
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

// A ramp mixes red, green, blue (or hue, saturation, lightness) and alpha; it is no longer the file's table.
TEST(CLLColourTable, RampsSamplingAndEdits)
{
    CGColor clearBlue, red;
    clearBlue.SetRGBA(0, 0, 1, 0);
    red.SetRGBA(1, 0, 0, 1);
    const struct {
        bool hsl;
        CGColor from, to;
        int n, result;
        const char* state;
    } cases[] = {
        {false, CGColor(0, 0, 0), CGColor(200, 100, 40), 5, 1, "0 a1932 143264 1e4b96 2864c8 | 0  5/5"},
        {false, clearBlue, red, 3, 1, "ff0000@0 800080@0.5 ff | 0  3/3"},
        // Blue to red passes through green rather than through grey.
        {true, clearBlue, red, 3, 1, "ff0000@0 ff00@0.5 ff | 0  3/3"},
        {false, CGColor(0, 0, 0), red, 1, 0, "30201 | 2 t.lut 1/1"},
    };
    for (const auto& c : cases) {
        CLLColourTable table;
        table.m_Colours = {CGColor(0x030201u)};
        table.SetLevels(-1);
        table.m_Kind = CLLColourTable::KindLUT;
        table.m_FileName = "t.lut";
        EXPECT_EQ(c.hsl ? table.RampHSL(c.from, c.to, c.n) : table.RampRGB(c.from, c.to, c.n), c.result);
        EXPECT_EQ(State(table), c.state);
    }
    const CLLColourTable byDefault; // blue to red in HSL
    EXPECT_EQ(CNumberFormat::Format("%x %d %x ", byDefault.m_Colours.front().GetPacked(),
                                    byDefault.m_Colours.at(16).Green255(), byDefault.m_Colours.back().GetPacked()) +
                  Header(byDefault),
              "ff0000 255 ff 0  32/32");
    // Fraction:index pairs at each level count; fractions far outside 0..1 are clamped before they become integers. At
    // 4 levels of 10 colours 0.3 is level 1, whose middle 1.5 is colour 1.5 * 2.5 = 3.75 -> 3.
    CLLColourTable table;
    table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 10);
    const std::pair<int32_t, std::string> samples[] = {
        {-1, "0:0 0.55:5 1:9 -0.5:0 1e12:9 -1e12:0 nan:0 inf:9"},
        {4, "0.3:3 1:7 1e12:7 -1e12:0 nan:0 -inf:0"},
    };
    for (const auto& [levels, pairs] : samples) {
        table.SetLevels(levels);
        std::string got;
        for (size_t at = 0; at < pairs.size(); at = pairs.find(' ', at + 1)) {
            const double fraction = CNumberFormat::ParseDouble(pairs.c_str() + at + (at ? 1 : 0));
            got += pairs.substr(at, pairs.find(':', at) - at) + ":" + std::to_string(table.IndexOf(fraction));
        }
        EXPECT_EQ(got, pairs) << levels;
    }
    *table.GetColourRef(0.0) = CGColor(1, 2, 3);
    EXPECT_EQ(CNumberFormat::Format("%d %g %x %x", table.m_Resampled, table.m_Ratio, table.GetColour(1.0).GetPacked(),
                                    table.m_Colours[1].GetPacked()),
              "1 2.5 " + CNumberFormat::Format("%x %x", table.m_Colours[7].GetPacked(), CGColor(1, 2, 3).GetPacked()));
    table.RampRGB(CGColor(0, 0, 0), CGColor(255, 255, 255), 3);
    table.InsertAt(1, 0x123456u);
    std::string got = State(table) + " last " + std::to_string(table.m_LastIndex) + "\n";
    table.RemoveAt(0);
    EXPECT_EQ(got + State(table) + " last " + std::to_string(table.m_LastIndex),
              "0 123456 808080 ffffff | 0  3/4 last 3\n123456 808080 ffffff | 0  3/3 last 2");
}
