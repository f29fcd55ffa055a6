#include "app/sheet/cmygridcell.h"
#include "app/sheet/cmygridctrl.h"
#include "app/sheet/crowcommands.h"
#include "grid/gridfakes.h"
#include "platform/cstringtable.h"
#include "support/madelocale.h"
#include "support/recordingprompt.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using B = CRowCommands::Button;
using Answer = CUserPrompt::Answer;
constexpr uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF;

// What a spreadsheet shows: per row its texts, the item data of the style
// cells, its height, the cells closed to typing and each cell's legend row.
std::string Snapshot(const CMyGridCtrl& sheet, int rows)
{
    std::string out;
    for (int r = 1; r < rows; ++r) {
        out += std::to_string(sheet.GetRowHeight(r)) + ":";
        for (int c = 0; c < sheet.GetColumnCount(); ++c) {
            const auto* cell = dynamic_cast<const CMyGridCell*>(sheet.GetCell(r, c));
            out += sheet.GetItemText(r, c) + (sheet.IsCellEditable(r, c) ? "" : "-") +
                   (sheet.Columns().IsChooser(c) ? "#" + std::to_string(sheet.GetItemData(r, c))
                                                 : "") +
                   "@" + std::to_string(cell ? cell->GetLegendRow() : -9) + "|";
        }
        out += "\n";
    }
    return out;
}

struct CRows {
    CLLLegend legend;
    CMyGridCtrl sheet;
    CFakeGridView view{sheet, {900, 400}};
    CRecordingPrompt prompt;
    CRowCommands commands{sheet, prompt};
    int changes = 0;

    explicit CRows(const std::vector<CLLRow>& rows, int32_t dataType = DataNumericContinuous)
    {
        legend.Clear();
        legend.m_DataType = dataType;
        for (const CLLRow& row : rows)
            legend.AddRow(row, CLLLegend::RowValues::OfDataType);
        sheet.SetView(&view);
        sheet.SetChangeFunction([this](const CMyGridCtrl::LegendChange& change) {
            ++changes;
            change(legend);
        });
        sheet.FillFromLegend(legend);
    }
    // Labelled rows a, b, c, ... with ranges 0-10, 10-20, ...
    static std::vector<CLLRow> Labelled(int n)
    {
        std::vector<CLLRow> rows;
        for (int i = 0; i < n; ++i)
            rows.push_back({.label = std::string(1, static_cast<char>('a' + i)),
                            .from = 10.0 * i,
                            .to = 10.0 * (i + 1)});
        return rows;
    }
    void Select(int r1, int c1, int r2, int c2)
    {
        sheet.ResetSelectedRange();
        if (r1 >= 0)
            sheet.SetSelectedRange(r1, c1, r2, c2);
    }
    // The ids of the messages, a question with its text and title.
    std::string Messages() const
    {
        std::string out;
        for (const CUserPrompt::Message& m : prompt.m_Messages)
            out +=
                std::to_string(m.stringId) +
                (m.buttons == CUserPrompt::Buttons::Ok ? "" : " " + m.text + " [" + m.title + "]") +
                ";";
        return out;
    }
    std::string Column(int col) const
    {
        std::string out;
        for (int r = 1; r < sheet.GetRowCount(); ++r)
            out += sheet.GetItemText(r, col) + ",";
        return out;
    }
    std::string Labels() const
    {
        std::string out;
        for (const std::string& label : legend.m_Labels)
            out += label + ",";
        return out;
    }
    // Fg, Bg (T when transparent), pattern, line colour and style of every row.
    std::string Styles() const
    {
        std::string out;
        CLLRow r;
        for (int i = 0; legend.GetRow(i, r); ++i)
            out += CNumberFormat::Format("%x%s/%x%s/%d/%x/%d ", r.fillColour.GetPacked(),
                                         r.fillTransparent ? "T" : "", r.backColour.GetPacked(),
                                         r.backTransparent ? "T" : "", r.pattern,
                                         r.lineColour.GetPacked(), r.lineStyle);
        return out;
    }
    // The spreadsheet shows what a fresh fill from the legend would, up to row `rows`.
    void ExpectInStep(int rows = -1) const
    {
        CMyGridCtrl fresh;
        fresh.FillFromLegend(legend);
        ASSERT_EQ(sheet.GetRowCount(), legend.GetRowCount() + 1);
        ASSERT_TRUE(legend.RowListsAgree());
        rows = rows < 0 ? sheet.GetRowCount() : rows;
        EXPECT_EQ(Snapshot(sheet, rows), Snapshot(fresh, rows));
    }
};

} // namespace

TEST(CRowCommands, InsertAddAndDeleteKeepTheSpreadsheetInStepOrRefuse)
{
    CScopedEnv locale("LC_ALL", "C");
    const std::string ask3 = "144 You are about to delete 3 rows. Are you sure? [Delete rows];";
    const struct {
        int button;
        int sortCol; // -1: not sorted
        bool ascending;
        int r1, c1, r2, c2; // r1 -1: nothing selected
        Answer answer;
        std::string messages, labels, numbers;
        int changes;
    } cases[] = {
        {B::ButtonInsertRow, -1, true, 2, 1, 3, 1, Answer::Yes, "", "a,,b,c,d,e,", "1,2,3,4,5,6,",
         1},
        {B::ButtonInsertRow, 0, true, 1, 4, 1, 4, Answer::Yes, "", ",a,b,c,d,e,", "1,2,3,4,5,6,",
         1},
        {B::ButtonInsertRow, -1, true, -1, 0, 0, 0, Answer::Yes, "142;", "a,b,c,d,e,", "x,x,x,x,x,",
         0},
        {B::ButtonDeleteRows, -1, true, 2, 1, 4, 3, Answer::Yes, ask3, "a,e,", "1,2,", 1},
        {B::ButtonDeleteRows, -1, true, 2, 1, 4, 3, Answer::No, ask3, "a,b,c,d,e,", "x,x,x,x,x,",
         0},
        {B::ButtonDeleteRows, -1, true, 5, 0, 5, 10, Answer::Yes,
         "145 You are about to delete 1 row. Are you sure? [Delete rows];", "a,b,c,d,", "1,2,3,4,",
         1},
        // Without column 1 nothing counts, yet Yes renumbers and marks the legend edited.
        {B::ButtonDeleteRows, -1, true, 1, 4, 3, 5, Answer::Yes,
         "145 You are about to delete 0 row. Are you sure? [Delete rows];", "a,b,c,d,e,",
         "1,2,3,4,5,", 1},
        {B::ButtonDeleteRows, -1, true, -1, 0, 0, 0, Answer::Yes, "142;", "a,b,c,d,e,",
         "x,x,x,x,x,", 0},
        {B::ButtonAddRow, -1, true, -1, 0, 0, 0, Answer::Yes, "", "a,b,c,d,e,e,", "1,2,3,4,5,6,",
         1},
        // Sorted by anything but "Row" ascending: only the message.
        {B::ButtonInsertRow, 3, true, 2, 1, 2, 1, Answer::Yes, "174;", "a,b,c,d,e,", "x,x,x,x,x,",
         0},
        {B::ButtonAddRow, 3, true, 2, 1, 2, 1, Answer::Yes, "175;", "a,b,c,d,e,", "x,x,x,x,x,", 0},
        {B::ButtonDeleteRows, 3, false, 2, 1, 2, 1, Answer::Yes, "176;", "e,d,c,b,a,", "x,x,x,x,x,",
         0},
        {B::ButtonDeleteRows, 0, false, 2, 1, 2, 1, Answer::Yes, "176;", "e,d,c,b,a,", "x,x,x,x,x,",
         0},
    };
    for (const auto& c : cases) {
        CRows s(CRows::Labelled(5));
        if (c.sortCol >= 0)
            s.sheet.SortItems(c.sortCol, c.ascending);
        for (int r = 1; r < s.sheet.GetRowCount(); ++r)
            s.sheet.SetItemText(r, 0, "x");
        s.changes = 0;
        s.Select(c.r1, c.c1, c.r2, c.c2);
        s.prompt.m_Answers = {c.answer};
        EXPECT_TRUE(s.commands.OnButton(c.button));
        const std::string what = std::to_string(c.button) + " " + std::to_string(c.r1);
        EXPECT_EQ(s.Messages(), c.messages) << what;
        EXPECT_EQ(s.Labels(), c.labels) << what;
        EXPECT_EQ(s.Column(0), c.numbers) << what;
        EXPECT_EQ(s.changes, c.changes) << what;
        if (c.changes && c.button != B::ButtonAddRow) {
            EXPECT_EQ(s.Column(3), c.labels) << what;
            s.ExpectInStep();
        }
    }
    CRows s({});
    EXPECT_FALSE(s.commands.OnButton(1008));
}

TEST(CRowCommands, AddRowCopiesTheLastRowAndStartsItsRange)
{
    CScopedEnv locale("LC_ALL", "C");
    const CLLRow sand{.label = "sand",
                      .text = "s",
                      .from = 1,
                      .to = 2.5,
                      .fillColour = CGColor(Red),
                      .backColour = CGColor(Blue),
                      .fillTransparent = true,
                      .pattern = 3,
                      .lineColour = CGColor(Green),
                      .lineStyle = 4,
                      .thickness = 1.5f,
                      .comment = "c"};
    const struct {
        std::vector<CLLRow> rows;
        int32_t type;
        bool autoPopulate;
        const char*
            row; // the new legend row: From|To|text|label|Fg|Bg|pattern|LCol|style|thick|comment
        const char* shown; // its spreadsheet texts
    } cases[] = {
        {{sand},
         DataNumericContinuous,
         true,
         "2.5|0||sand|16777215T|16711680|3|65280|4|1.5|c",
         "2|2.5||sand|-2147483648|16711680|3|65280|4|1.5|c"},
        {{sand},
         DataNumericDiscrete,
         false,
         "0|0||sand|16777215T|16711680|3|65280|4|1.5|c",
         "2|||sand|-2147483648|16711680|3|65280|4|1.5|c"},
        {{sand},
         DataText,
         true,
         "0|0||sand|16777215T|16711680|3|65280|4|1.5|c",
         "2||sand|-2147483648|16711680|3|65280|4|1.5|c"},
        // An empty legend: empty texts, opaque black colours, the document's style defaults.
        {{}, DataNumericContinuous, true, "0|0|||0|0|1|0|2|1|", "1||||0|0|1|0|2|1|"},
        {{}, DataText, false, "0|0|||0|0|1|0|2|1|", "1|||0|0|1|0|2|1|"},
    };
    for (const auto& c : cases) {
        CRows s(c.rows, c.type);
        s.sheet.SetAutoPopulate(c.autoPopulate);
        s.commands.AddRow();
        const int last = s.legend.GetRowCount() - 1;
        CLLRow r;
        ASSERT_TRUE(s.legend.GetRow(last, r));
        EXPECT_EQ(CNumberFormat::Format("%g|%g|%s|%s|%u%s|%u%s|%d|%u|%d|%g|%s", r.from, r.to,
                                        r.text.c_str(), r.label.c_str(), r.fillColour.GetPacked(),
                                        r.fillTransparent ? "T" : "", r.backColour.GetPacked(),
                                        r.backTransparent ? "T" : "", r.pattern,
                                        r.lineColour.GetPacked(), r.lineStyle,
                                        static_cast<double>(r.thickness), r.comment.c_str()),
                  c.row);
        std::string shown;
        for (int col = 0; col < s.sheet.GetColumnCount(); ++col)
            shown += (col ? "|" : "") + s.sheet.GetItemText(last + 1, col);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(s.sheet.GetFocusCell().row, last + 1);
        EXPECT_EQ(s.sheet.GetFocusCell().col, 1);
        EXPECT_EQ(s.changes, 1);
        s.ExpectInStep(last + 1);
        EXPECT_FALSE(s.sheet.IsCellEditable(last + 1, s.sheet.Columns().fg));
        EXPECT_EQ(s.sheet.GetRowHeight(last + 1), 25);
    }
}

TEST(CRowCommands, DuplicateCopiesTheFirstSelectedRowsStyles)
{
    const std::vector<CLLRow> rows = {
        {.fillColour = CGColor(White),
         .backColour = CGColor(Red),
         .fillTransparent = true,
         .pattern = 5,
         .lineColour = CGColor(Green),
         .lineStyle = 7},
        {.fillColour = CGColor(Blue),
         .backColour = CGColor(White),
         .backTransparent = true,
         .pattern = 2,
         .lineColour = CGColor(Red),
         .lineStyle = 1},
        {.fillColour = CGColor(Green), .backColour = CGColor(Blue), .pattern = 9},
    };
    const std::string before = "ffffffT/ff/5/ff00/7 ff0000/ffffffT/2/ff/1 ff00/ff0000/9/0/0 ";
    const struct {
        int r1, c1, r2, c2;
        const char* messages;
        std::string styles;
    } cases[] = {
        {1, 4, 3, 8, "", "ffffffT/ff/5/ff00/7 ffffffT/ff/5/ff00/7 ffffffT/ff/5/ff00/7 "},
        {2, 5, 3, 5, "", "ffffffT/ff/5/ff00/7 ff0000/ffffffT/2/ff/1 ff00/ffffffT/9/0/0 "},
        {2, 6, 3, 7, "", "ffffffT/ff/5/ff00/7 ff0000/ffffffT/2/ff/1 ff00/ff0000/2/ff/0 "},
        {1, 8, 2, 8, "", "ffffffT/ff/5/ff00/7 ff0000/ffffffT/2/ff/7 ff00/ff0000/9/0/0 "},
        {1, 3, 3, 5, "151;", before},
        {1, 4, 3, 9, "151;", before},
        {-1, 0, 0, 0, "150;", before},
    };
    for (const auto& c : cases) {
        CRows s(rows);
        s.Select(c.r1, c.c1, c.r2, c.c2);
        s.commands.OnButton(B::ButtonDuplicate);
        EXPECT_EQ(s.Messages(), c.messages) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.Styles(), c.styles) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.changes, *c.messages ? 0 : 1);
        s.ExpectInStep();
    }
}

TEST(CRowCommands, InterpolationRecomputesAllButTheFirstRow)
{
    const struct {
        int button;
        int r1, c1, r2, c2;
        std::vector<uint32_t> colours; // fill, background and line alike
        std::vector<int> transparent;  // fill and background flags
        const char* messages;
        std::vector<uint32_t> expected; // the colours of the selected column
        std::vector<int32_t> expectedTransparent;
        int changes;
    } cases[] = {
        // (0 - 1) * 1 * 0.5 + 1 = 0.5: half red, half blue, packed as 128.
        {B::ButtonRGBInterp,
         1,
         4,
         3,
         4,
         {Red, 0, Blue},
         {0, 0, 0},
         "",
         {Red, 0x800080, Blue},
         {0, 0, 0},
         1},
        // Two rows: only the second is recomputed, from itself.
        {B::ButtonRGBInterp,
         2,
         5,
         3,
         5,
         {Red, 0x123456, 0x654321},
         {0, 0, 0},
         "",
         {Red, 0x123456, 0x654321},
         {0, 0, 0},
         1},
        // Transparent ends: the last becomes opaque, the first stays transparent.
        {B::ButtonRGBInterp, 1, 4, 2, 4, {White, White}, {1, 1}, "", {White, White}, {1, 0}, 1},
        {B::ButtonHSLInterp,
         1,
         7,
         3,
         7,
         {Blue, 0, Red},
         {0, 0, 0},
         "",
         {Blue, Green, Red},
         {0, 0, 0},
         1},
        {B::ButtonHSLInterp,
         1,
         4,
         5,
         4,
         {Blue, 0, 0, 0, Red},
         {0, 0, 0, 0, 0},
         "",
         {Blue, 0xFFFF00, Green, 0x00FFFF, Red},
         {0, 0, 0, 0, 0},
         1},
        // OKLab: the midpoints of the published transform, perceptually even.
        {B::ButtonOKLabInterp,
         1,
         4,
         3,
         4,
         {Red, 0, Blue},
         {0, 1, 0},
         "",
         {Red, 0xA2538C, Blue},
         {0, 0, 0},
         1},
        {B::ButtonOKLabInterp,
         1,
         5,
         3,
         5,
         {White, 0, 0},
         {0, 0, 0},
         "",
         {White, 0x636363, 0},
         {0, 0, 0},
         1},
        {B::ButtonOKLabInterp,
         1,
         7,
         5,
         7,
         {Red, 0, 0, 0, Blue},
         {0, 0, 0, 0, 0},
         "",
         {Red, 0x6D49C6, 0xA2538C, 0xD24751, Blue},
         {0, 0, 0, 0, 0},
         1},
        // One row: no colour changes, but the legend counts as edited.
        {B::ButtonHSLInterp, 2, 4, 2, 4, {Red, Green}, {1, 1}, "", {Red, Green}, {1, 1}, 1},
        {B::ButtonRGBInterp, 1, 4, 2, 5, {Red, Green}, {0, 0}, "140;", {Red, Green}, {0, 0}, 0},
        {B::ButtonOKLabInterp, 1, 6, 2, 6, {Red, Green}, {0, 0}, "141;", {Red, Green}, {0, 0}, 0},
        {B::ButtonHSLInterp, 1, 3, 2, 3, {Red, Green}, {0, 0}, "141;", {Red, Green}, {0, 0}, 0},
    };
    for (const auto& c : cases) {
        std::vector<CLLRow> rows;
        for (size_t i = 0; i < c.colours.size(); ++i)
            rows.push_back({.fillColour = CGColor(c.colours[i]),
                            .backColour = CGColor(c.colours[i]),
                            .fillTransparent = c.transparent[i] != 0,
                            .backTransparent = c.transparent[i] != 0,
                            .lineColour = CGColor(c.colours[i])});
        CRows s(rows);
        s.Select(c.r1, c.c1, c.r2, c.c2);
        s.commands.OnButton(c.button);
        const std::string what =
            std::to_string(c.button) + " " + std::to_string(c.r1) + "," + std::to_string(c.c1);
        EXPECT_EQ(s.Messages(), c.messages) << what;
        EXPECT_EQ(s.changes, c.changes) << what;
        const CLLColourTable& table = c.c1 == 5   ? s.legend.m_BackColours
                                      : c.c1 == 7 ? s.legend.m_LineColours
                                                  : s.legend.m_FillColours;
        std::vector<uint32_t> got;
        for (const CGColor& colour : table.m_Colours)
            got.push_back(colour.GetPacked());
        EXPECT_EQ(got, c.expected) << what;
        const std::vector<int32_t>& flags =
            c.c1 == 5 ? s.legend.m_BackTransparent : s.legend.m_FillTransparent;
        if (c.c1 != 7) {
            EXPECT_EQ(flags, c.expectedTransparent) << what;
        }
        s.ExpectInStep();
    }
}

// The OKLab midpoint of red and blue from their published Lab coordinates and
// the published inverse transform, apart from the code under test.
TEST(CRowCommands, OKLabMidpointMatchesThePublishedTransform)
{
    const double red[3] = {0.627955, 0.224863, 0.125846},
                 blue[3] = {0.452014, -0.032457, -0.311528};
    double lab[3];
    for (int i = 0; i < 3; ++i)
        lab[i] = (red[i] + blue[i]) / 2;
    const double l = std::pow(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2], 3);
    const double m = std::pow(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2], 3);
    const double s = std::pow(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2], 3);
    const double linear[3] = {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                              -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                              -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
    uint32_t packed = 0;
    for (int i = 0; i < 3; ++i) {
        const double c = linear[i] <= 0.0031308 ? 12.92 * linear[i]
                                                : 1.055 * std::pow(linear[i], 1 / 2.4) - 0.055;
        packed |= static_cast<uint32_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255)) << (8 * i);
    }
    EXPECT_EQ(packed, 0xA2538Cu);
    CLLLegend legend;
    legend.Clear();
    for (uint32_t colour : {Red, Green, Blue})
        legend.AddRow({.fillColour = CGColor(colour)});
    InterpolateColourColumn(legend, 0, 2, CColourColumn::Fill, CInterpolationMode::OKLab);
    EXPECT_EQ(legend.m_FillColours.m_Colours[1].GetPacked(), packed);
}

TEST(CRowCommands, StepPatternsTakesTheNextLoadedBitmapAndWrapsToTwo)
{
    const struct {
        std::vector<int> loaded;
        std::vector<int32_t> patterns;
        int r1, c1, r2, c2;
        const char* messages;
        std::vector<int32_t> expected;
        int changes;
    } cases[] = {
        {{3, 7}, {1, 0, 0, 0, 0}, 1, 6, 5, 6, "", {1, 3, 7, 2, 3}, 1},
        {{2}, {5, 0, 0}, 1, 6, 3, 6, "", {5, 2, 2}, 1},
        {{}, {0, 9, 9}, 2, 6, 3, 6, "", {0, 9, 2}, 1},
        {{998, 999}, {997, 0, 0}, 1, 6, 3, 6, "", {997, 998, 999}, 1},
        {{3}, {1, 0}, 2, 6, 2, 6, "147;", {1, 0}, 1},
        {{3}, {1, 0}, 1, 6, 2, 7, "140;", {1, 0}, 0},
        {{3}, {1, 0}, 1, 5, 2, 5, "146;", {1, 0}, 0},
    };
    for (const auto& c : cases) {
        std::vector<CLLRow> rows;
        for (int32_t p : c.patterns)
            rows.push_back({.pattern = p});
        CRows s(rows);
        for (int n : c.loaded)
            s.sheet.Patterns().Set(n, CGridBitmap{});
        s.Select(c.r1, c.c1, c.r2, c.c2);
        s.commands.OnButton(B::ButtonStepPatterns);
        EXPECT_EQ(s.Messages(), c.messages) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.legend.m_Patterns, c.expected) << c.r1 << "," << c.c1;
        EXPECT_EQ(s.changes, c.changes);
        s.ExpectInStep();
    }
}
