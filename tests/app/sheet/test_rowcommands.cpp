#include "app/sheet/sheetbench.h"

namespace {

using B = CRowCommands::Button;
constexpr uint32_t R = 0x0000FF, G = 0x00FF00, Bl = 0xFF0000, W = 0xFFFFFF;

} // namespace

TEST(CRowCommands, InsertAddAndDeleteKeepTheSpreadsheetInStepOrRefuse)
{
    CScopedEnv locale("LC_ALL", "C");
    const std::string ask = " rows. Are you sure? [Delete rows];";
    const std::string none = "a,b,c,d,e,", unnumbered = "x,x,x,x,x,";
    const struct {
        int button, sortCol, r1, c1, r2, c2; // sortCol -1: not sorted; r1 -1: no selection
        bool yes;
        std::string messages, labels, numbers;
        int changes;
    } cases[] = {
        // clang-format off
        {B::ButtonInsertRow, 0, 1, 4, 1, 4, true, "", ",a,b,c,d,e,", "1,2,3,4,5,6,", 1},
        {B::ButtonInsertRow, -1, 2, 1, 3, 1, true, "", "a,,b,c,d,e,", "1,2,3,4,5,6,", 1}, // before the first selected row
        {B::ButtonInsertRow, -1, -1, 0, 0, 0, true, "142;", none, unnumbered, 0},
        {B::ButtonDeleteRows, -1, 2, 1, 4, 3, true, "144 You are about to delete 3" + ask, "a,e,", "1,2,", 1},
        {B::ButtonDeleteRows, -1, 2, 1, 3, 3, false, "144 You are about to delete 2" + ask, none, unnumbered, 0},
        {B::ButtonDeleteRows, -1, 5, 0, 5, 10, true, "145 You are about to delete 1 row. Are you sure? [Delete rows];", "a,b,c,d,", "1,2,3,4,", 1},
        // Without column 1 nothing counts, yet Yes renumbers and marks the legend edited.
        {B::ButtonDeleteRows, -1, 1, 4, 3, 5, true, "145 You are about to delete 0 row. Are you sure? [Delete rows];", none, "1,2,3,4,5,", 1},
        {B::ButtonDeleteRows, -1, -1, 0, 0, 0, true, "142;", none, unnumbered, 0},
        {B::ButtonAddRow, -1, -1, 0, 0, 0, true, "", "a,b,c,d,e,e,", "1,2,3,4,5,6,", 1},
        // Sorted by anything but "Row" ascending (the sort writes the legend back): only the message.
        {B::ButtonInsertRow, 3, 2, 1, 2, 1, true, "174;", none, unnumbered, 0},
        {B::ButtonAddRow, 3, 2, 1, 2, 1, true, "175;", none, unnumbered, 0},
        {B::ButtonDeleteRows, 3, 2, 1, 2, 1, true, "176;", none, unnumbered, 0},
        {B::ButtonDeleteRows, 100, 2, 1, 2, 1, true, "176;", "e,d,c,b,a,", unnumbered, 0},
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
        const std::string what = std::to_string(c.button) + " " + std::to_string(c.r1);
        EXPECT_EQ(s.Run(c.button, c.r1, c.c1, c.r2, c.c2), c.messages) << what;
        EXPECT_EQ(Join(s.legend.m_Labels) + ",", c.labels) << what;
        EXPECT_EQ(s.Column(0), c.numbers) << what;
        for (int r = 1; r < s.sheet.GetRowCount(); ++r) // Row and colours sort by number
            EXPECT_TRUE(s.sheet.GetCell(r, 0)->IsNumeric() && s.sheet.GetCell(r, 4)->IsNumeric()) << what;
        EXPECT_EQ(s.changes, c.changes) << what;
        if (c.changes && c.button != B::ButtonAddRow)
            s.ExpectInStep();
    }
    EXPECT_FALSE(CSheet({}).commands.OnButton(1008));
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
    const struct {
        std::vector<CLLRow> rows;
        int32_t type;
        bool autoPopulate;
        std::string shown; // the new row's texts; the legend holds 0 for an empty range cell
        double from;
        std::string styles;
    } cases[] = {
        // A transparent colour is written back from its cell as transparent white.
        {{sand}, DataNumericContinuous, true, "2|2.5||sand" + style, 2.5, copied},
        {{sand}, DataNumericDiscrete, false, "2|||sand" + style, 0, copied},
        {{sand}, DataText, true, "2||sand" + style, 0, copied},
        // An empty legend: empty texts, opaque black, the document's style defaults.
        {{}, DataNumericContinuous, true, "1||||0|0|1|0|2|1|", 0, "0/0/1/0/2 "},
    };
    for (const auto& c : cases) {
        CSheet s(c.rows, c.type);
        s.sheet.SetAutoPopulate(c.autoPopulate);
        EXPECT_EQ(s.Run(B::ButtonAddRow, -1, 0, 0, 0), "");
        const int last = s.legend.GetRowCount();
        EXPECT_EQ(s.Texts(last), c.shown);
        CLLRow r;
        ASSERT_TRUE(s.legend.GetRow(last - 1, r));
        EXPECT_EQ(std::make_tuple(r.from, r.to, r.text), std::make_tuple(c.from, 0.0, std::string()));
        EXPECT_EQ(s.Styles(), c.styles);
        EXPECT_FALSE(s.sheet.IsCellEditable(last, s.sheet.Columns().fg));
        EXPECT_EQ(s.sheet.GetFocusCell(), CCellID(last, 1));
        EXPECT_EQ(s.changes, 1);
        EXPECT_EQ(s.sheet.GetRowHeight(last), 25);
        s.ExpectInStep(last);
    }
}

TEST(CRowCommands, DuplicateCopiesTheFirstSelectedRowsStyles)
{
    // clang-format off
    const std::vector<CLLRow> rows{
        {.fillColour = CGColor(W), .backColour = CGColor(R), .fillTransparent = true, .pattern = 5, .lineColour = CGColor(G), .lineStyle = 7},
        {.fillColour = CGColor(Bl), .backColour = CGColor(W), .backTransparent = true, .pattern = 2, .lineColour = CGColor(R), .lineStyle = 1},
        {.fillColour = CGColor(G), .backColour = CGColor(G), .pattern = 9, .lineColour = CGColor(G)}};
    // clang-format on
    const std::string first = "ffffffT/ff/5/ff00/7 ", before = first + "ff0000/ffffffT/2/ff/1 ff00/ff00/9/ff00/0 ";
    const struct {
        int r1, c1, r2, c2;
        std::string messages, styles;
    } cases[] = {
        // clang-format off
        {1, 4, 3, 8, "", first + first + first},
        {2, 5, 3, 5, "", first + "ff0000/ffffffT/2/ff/1 ff00/ffffffT/9/ff00/0 "},
        {2, 6, 3, 7, "", first + "ff0000/ffffffT/2/ff/1 ff00/ff00/2/ff/0 "},
        {1, 8, 2, 8, "", first + "ff0000/ffffffT/2/ff/7 ff00/ff00/9/ff00/0 "},
        {1, 3, 3, 5, "151;", before}, {1, 4, 3, 9, "151;", before}, {-1, 0, 0, 0, "150;", before},
        // clang-format on
    };
    for (const auto& c : cases) {
        CSheet s(rows);
        EXPECT_EQ(s.Run(B::ButtonDuplicate, c.r1, c.c1, c.r2, c.c2), c.messages) << c.c1;
        EXPECT_EQ(s.Styles(), c.styles) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.changes, c.messages.empty() ? 1 : 0);
        s.ExpectInStep();
    }
}

TEST(CRowCommands, InterpolationRecomputesAllButTheFirstRow)
{
    const struct {
        int button, r1, c1, r2, c2;  // column 4 Fg, 5 Bg, 7 LCol
        std::vector<uint32_t> given; // every colour column alike
        std::vector<int> clear;      // Fg and Bg transparent
        std::string messages;
        std::vector<uint32_t> colours; // of the selected column afterwards
        std::vector<int32_t> clearAfter;
        int changes;
    } cases[] = {
        // clang-format off
        // (0 - 1) * 1 * 0.5 + 1 = 0.5: half red, half blue, packed as 128.
        {B::ButtonRGBInterp, 1, 4, 3, 4, {R, 0, Bl}, {0, 0, 0}, "", {R, 0x800080, Bl}, {0, 0, 0}, 1},
        // A selection from row 2 on: the first selected row is the one kept.
        {B::ButtonHSLInterp, 2, 7, 4, 7, {R, Bl, 0, R}, {0, 0, 0, 0}, "", {R, Bl, G, R}, {}, 1},
        // OKLab: red and blue meet at A2538C through the published transform and its inverse;
        // white to black passes 99 grey.
        {B::ButtonOKLabInterp, 1, 4, 3, 4, {R, 0, Bl}, {0, 1, 0}, "", {R, 0xA2538C, Bl}, {0, 0, 0}, 1},
        {B::ButtonOKLabInterp, 1, 5, 3, 5, {W, 0, 0}, {0, 0, 0}, "", {W, 0x636363, 0}, {0, 0, 0}, 1},
        // One row changes no colour but counts as an edit.
        {B::ButtonHSLInterp, 2, 4, 2, 4, {R, G}, {1, 1}, "", {R, G}, {1, 1}, 1},
        {B::ButtonRGBInterp, 1, 4, 2, 5, {R, G}, {0, 0}, "140;", {R, G}, {0, 0}, 0},
        {B::ButtonOKLabInterp, 1, 6, 2, 6, {R, G}, {0, 0}, "141;", {R, G}, {0, 0}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::vector<CLLRow> rows;
        for (size_t i = 0; i < c.given.size(); ++i)
            rows.push_back({.fillColour = CGColor(c.given[i]),
                            .backColour = CGColor(c.given[i]),
                            .fillTransparent = c.clear[i] != 0,
                            .backTransparent = c.clear[i] != 0,
                            .lineColour = CGColor(c.given[i])});
        CSheet s(rows);
        const std::string what = std::to_string(c.button) + " " + std::to_string(c.r1);
        EXPECT_EQ(s.Run(c.button, c.r1, c.c1, c.r2, c.c2), c.messages) << what;
        EXPECT_EQ(s.changes, c.changes) << what;
        const bool back = c.c1 == 5, line = c.c1 == 7;
        std::vector<uint32_t> got;
        for (const CGColor& colour : (back   ? s.legend.m_BackColours
                                      : line ? s.legend.m_LineColours
                                             : s.legend.m_FillColours)
                                         .m_Colours)
            got.push_back(colour.GetPacked());
        EXPECT_EQ(got, c.colours) << what;
        if (!line) {
            EXPECT_EQ(back ? s.legend.m_BackTransparent : s.legend.m_FillTransparent, c.clearAfter) << what;
        }
        s.ExpectInStep();
    }
}

TEST(CRowCommands, StepPatternsTakesTheNextLoadedBitmapAndWrapsToTwo)
{
    const struct {
        std::vector<int> loaded;
        std::vector<int32_t> given;
        int r1, c1, r2, c2;
        std::string messages;
        std::vector<int32_t> patterns;
        int changes;
    } cases[] = {
        {{3, 7}, {1, 0, 0, 0, 0}, 1, 6, 5, 6, "", {1, 3, 7, 2, 3}, 1},
        {{}, {0, 9, 9}, 2, 6, 3, 6, "", {0, 9, 2}, 1},
        {{998, 999}, {997, 0, 0}, 1, 6, 3, 6, "", {997, 998, 999}, 1},
        {{3}, {1, 0}, 2, 6, 2, 6, "147;", {1, 0}, 1}, // refused, yet counts as an edit
        {{3}, {1, 0}, 1, 6, 2, 7, "140;", {1, 0}, 0},
        {{3}, {1, 0}, 1, 5, 2, 5, "146;", {1, 0}, 0},
    };
    for (const auto& c : cases) {
        std::vector<CLLRow> rows;
        for (int32_t p : c.given)
            rows.push_back({.pattern = p});
        CSheet s(rows);
        for (int n : c.loaded)
            s.sheet.Patterns().Set(n, CGridBitmap{});
        EXPECT_EQ(s.Run(B::ButtonStepPatterns, c.r1, c.c1, c.r2, c.c2), c.messages) << c.r1;
        EXPECT_EQ(s.legend.m_Patterns, c.patterns) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.changes, c.changes);
        s.ExpectInStep();
    }
}
