#include "app/sheet/sheetbench.h"

namespace {

using B = CRowCommands::Button;
constexpr uint32_t R = 0x0000FF, G = 0x00FF00, Bl = 0xFF0000, W = 0xFFFFFF;

// Rows whose Fg, Bg and line are each colour in turn; Fg and Bg transparent where `clear` says.
std::vector<CLLRow> Coloured(const std::vector<uint32_t>& colours, const std::vector<int>& clear = {})
{
    std::vector<CLLRow> rows;
    for (size_t i = 0; i < colours.size(); ++i) {
        const bool t = i < clear.size() && clear[i];
        const CGColor c(colours[i]);
        rows.push_back({.fillColour = c, .backColour = c, .fillTransparent = t, .backTransparent = t, .lineColour = c});
    }
    return rows;
}

} // namespace

TEST(CRowCommands, InsertAddAndDeleteKeepTheSpreadsheetInStepOrRefuse)
{
    CScopedEnv locale("LC_ALL", "C");
    const std::string ask = " rows. Are you sure? [Delete rows];";
    const std::string none = "a,b,c,d,e,";
    const struct {
        int button, sortCol, r1, c1, r2, c2; // sortCol -1: not sorted; r1 -1: no selection
        bool yes;
        std::string messages, labels;
        int changes;
    } cases[] = {
        // clang-format off
        {B::ButtonInsertRow, 0, 2, 1, 3, 1, true, "", "a,,b,c,d,e,", 1}, // before the first selected row
        {B::ButtonInsertRow, -1, -1, 0, 0, 0, true, "142;", none, 0},
        {B::ButtonDeleteRows, -1, 2, 1, 4, 3, true, "144 You are about to delete 3" + ask, "a,e,", 1},
        {B::ButtonDeleteRows, -1, 2, 1, 3, 3, false, "144 You are about to delete 2" + ask, none, 0},
        {B::ButtonDeleteRows, -1, 5, 0, 5, 10, true, "145 You are about to delete 1 row. Are you sure? [Delete rows];", "a,b,c,d,", 1},
        // Without column 1 nothing counts, yet Yes renumbers and marks the legend edited.
        {B::ButtonDeleteRows, -1, 1, 4, 3, 5, true, "145 You are about to delete 0 row. Are you sure? [Delete rows];", none, 1},
        {B::ButtonAddRow, -1, -1, 0, 0, 0, true, "", "a,b,c,d,e,e,", 1},
        // Sorted by anything but "Row" ascending (the sort writes the legend back): only the message.
        {B::ButtonInsertRow, 3, 2, 1, 2, 1, true, "174;", none, 0},
        {B::ButtonAddRow, 3, 2, 1, 2, 1, true, "175;", none, 0},
        {B::ButtonDeleteRows, 3, 2, 1, 2, 1, true, "176;", none, 0},
        {B::ButtonDeleteRows, 100, 2, 1, 2, 1, true, "176;", "e,d,c,b,a,", 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::vector<CLLRow> rows;
        for (int i = 0; i < 5; ++i)
            rows.push_back({.label = std::string(1, static_cast<char>('a' + i)), .from = 10.0 * i});
        CSheet s(rows);
        if (c.sortCol >= 0)
            s.sheet.SortItems(c.sortCol % 100, c.sortCol < 100); // 100: "Row" descending
        for (int r = 1; r < s.sheet.GetRowCount(); ++r)
            s.sheet.SetItemText(r, 0, "x");
        s.prompt.m_Answers = {c.yes ? CUserPrompt::Answer::Yes : CUserPrompt::Answer::No};
        SCOPED_TRACE(std::to_string(c.button) + " " + std::to_string(c.r1));
        const std::string messages = s.Run(c.button, c.r1, c.c1, c.r2, c.c2);
        EXPECT_EQ(messages + "|" + Join(s.legend.m_Labels) + ",|" + std::to_string(s.changes),
                  c.messages + "|" + c.labels + "|" + std::to_string(c.changes));
        if (c.changes && c.button != B::ButtonAddRow)
            s.ExpectInStep();
    }
}

TEST(CRowCommands, AddRowCopiesTheLastRowAndStartsItsRange)
{
    CScopedEnv locale("LC_ALL", "C");
    // clang-format off
    const CLLRow sand{.label = "sand", .text = "s", .from = 1, .to = 2.5, .fillColour = CGColor(R),
                      .backColour = CGColor(Bl), .fillTransparent = true, .pattern = 3,
                      .lineColour = CGColor(G), .lineStyle = 4, .thickness = 1.5f};
    // clang-format on
    const std::string style = "|-2147483648|16711680|3|65280|4|1.5|";
    const std::string copied = "ffT/ff0000/3/ff00/4 ffffffT/ff0000/3/ff00/4 ";
    // Sand or no row, data type, auto-populate; the new row's texts (the legend holds 0 for an empty
    // range cell), its From, then the styles of all rows.
    const std::tuple<bool, int32_t, bool, std::string, double, std::string> cases[] = {
        // A transparent colour is written back from its cell as transparent white.
        {true, DataNumericContinuous, true, "2|2.5||sand" + style, 2.5, copied},
        {true, DataNumericDiscrete, false, "2|||sand" + style, 0, copied},
        {true, DataText, true, "2||sand" + style, 0, copied},
        // An empty legend: empty texts, opaque black, the document's style defaults.
        {false, DataNumericContinuous, true, "1||||0|0|1|0|2|1|", 0, "0/0/1/0/2 "},
    };
    for (const auto& [withSand, type, autoPopulate, shown, from, styles] : cases) {
        CSheet s(withSand ? std::vector<CLLRow>{sand} : std::vector<CLLRow>{}, type);
        s.sheet.SetAutoPopulate(autoPopulate);
        EXPECT_EQ(s.Run(B::ButtonAddRow, -1, 0, 0, 0), "");
        const int last = s.legend.GetRowCount();
        CLLRow r;
        ASSERT_TRUE(s.legend.GetRow(last - 1, r));
        EXPECT_EQ(s.Texts(last) + " " + CNumberFormat::Format("%g %g '%s' ", r.from, r.to, r.text.c_str()) + s.Styles(),
                  shown + " " + CNumberFormat::Format("%g 0 '' ", from) + styles);
        EXPECT_EQ(s.sheet.GetFocusCell(), CCellID(last, 1));
        EXPECT_EQ(s.changes, 1);
        s.ExpectInStep(last);
    }
}

// A selection and a style command: the messages, then Fg/Bg/pattern/line colour/style of every
// row (hex, T for transparent) and the edits counted; the sheet shows the legend after.
TEST(CRowCommands, StyleCommandsChangeAllButTheFirstSelectedRowOrRefuse)
{
    // clang-format off
    const std::vector<CLLRow> three{
        {.fillColour = CGColor(W), .backColour = CGColor(R), .fillTransparent = true, .pattern = 5, .lineColour = CGColor(G), .lineStyle = 7},
        {.fillColour = CGColor(Bl), .backColour = CGColor(W), .backTransparent = true, .pattern = 2, .lineColour = CGColor(R), .lineStyle = 1},
        {.fillColour = CGColor(G), .backColour = CGColor(G), .pattern = 9, .lineColour = CGColor(G)}};
    const std::string first = "ffffffT/ff/5/ff00/7 ", before = first + "ff0000/ffffffT/2/ff/1 ff00/ff00/9/ff00/0 ";
    const struct {
        int button, r1, c1, r2, c2;
        std::vector<CLLRow> rows;
        std::string messages, styles;
        std::vector<int> loaded = {}; // pattern bitmaps
        int changes = 1;
    } cases[] = {
        {B::ButtonDuplicate, 1, 4, 3, 8, three, "", first + first + first},
        {B::ButtonDuplicate, 2, 5, 3, 5, three, "", first + "ff0000/ffffffT/2/ff/1 ff00/ffffffT/9/ff00/0 "},
        {B::ButtonDuplicate, 1, 3, 3, 5, three, "151;", before, {}, 0},
        {B::ButtonDuplicate, -1, 0, 0, 0, three, "150;", before, {}, 0},
        // (0 - 1) * 1 * 0.5 + 1 = 0.5: half red, half blue, packed as 128.
        {B::ButtonRGBInterp, 1, 4, 3, 4, Coloured({R, 0, Bl}), "", "ff/ff/0/ff/0 800080/0/0/0/0 ff0000/ff0000/0/ff0000/0 "},
        // A selection from row 2 on: the first selected row is the one kept.
        {B::ButtonHSLInterp, 2, 7, 4, 7, Coloured({R, Bl, 0, R}), "", "ff/ff/0/ff/0 ff0000/ff0000/0/ff0000/0 0/0/0/ff00/0 ff/ff/0/ff/0 "},
        // OKLab: red and blue meet at A2538C through the published transform and its inverse;
        // white to black passes 99 grey.
        {B::ButtonOKLabInterp, 1, 4, 3, 4, Coloured({R, 0, Bl}, {0, 1, 0}), "", "ff/ff/0/ff/0 a2538c/0T/0/0/0 ff0000/ff0000/0/ff0000/0 "},
        {B::ButtonOKLabInterp, 1, 5, 3, 5, Coloured({W, 0, 0}), "", "ffffff/ffffff/0/ffffff/0 0/636363/0/0/0 0/0/0/0/0 "},
        // One row changes no colour but counts as an edit.
        {B::ButtonHSLInterp, 2, 4, 2, 4, Coloured({R, G}, {1, 1}), "", "ffT/ffT/0/ff/0 ff00T/ff00T/0/ff00/0 "},
        {B::ButtonOKLabInterp, 1, 6, 2, 6, Coloured({R, G}), "141;", "ff/ff/0/ff/0 ff00/ff00/0/ff00/0 ", {}, 0},
        // The next loaded pattern above the row before; past the last one, 2.
        {B::ButtonStepPatterns, 1, 6, 5, 6, {{.pattern = 1}, {}, {}, {}, {}}, "", "0/0/1/0/0 0/0/3/0/0 0/0/7/0/0 0/0/2/0/0 0/0/3/0/0 ", {3, 7}},
        {B::ButtonStepPatterns, 2, 6, 3, 6, {{}, {.pattern = 9}, {.pattern = 9}}, "", "0/0/0/0/0 0/0/9/0/0 0/0/2/0/0 "},
        {B::ButtonStepPatterns, 1, 6, 3, 6, {{.pattern = 997}, {}, {}}, "", "0/0/997/0/0 0/0/998/0/0 0/0/999/0/0 ", {998, 999}},
        {B::ButtonStepPatterns, 2, 6, 2, 6, {{.pattern = 1}, {}}, "147;", "0/0/1/0/0 0/0/0/0/0 ", {3}}, // refused, yet counts as an edit
        {B::ButtonStepPatterns, 1, 6, 2, 7, {{.pattern = 1}, {}}, "140;", "0/0/1/0/0 0/0/0/0/0 ", {3}, 0},
        {B::ButtonStepPatterns, 1, 5, 2, 5, {{.pattern = 1}, {}}, "146;", "0/0/1/0/0 0/0/0/0/0 ", {3}, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        CSheet s(c.rows);
        for (int n : c.loaded)
            s.sheet.Patterns().Set(n, CGridBitmap{});
        const std::string messages = s.Run(c.button, c.r1, c.c1, c.r2, c.c2);
        EXPECT_EQ(messages + s.Styles(), c.messages + c.styles) << c.button << " " << c.r1 << "," << c.c1;
        EXPECT_EQ(s.changes, c.changes);
        s.ExpectInStep();
    }
}
