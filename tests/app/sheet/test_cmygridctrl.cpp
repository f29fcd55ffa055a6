#include "app/sheet/sheetbench.h"

namespace {

constexpr uint32_t W = 0xFFFFFF;

// sand: an opaque red fill over a transparent background, pattern 3, a green line.
// clang-format off
const CLLRow kSand{.label = "sand", .from = 1234567, .to = 2.5, .fillColour = CGColor(0x0000FFu),
                   .backColour = CGColor(W), .backTransparent = true, .pattern = 3,
                   .lineColour = CGColor(0x00FF00u), .lineStyle = 2, .thickness = 1.5f, .comment = "c1"};
const CLLRow kClay{.label = "clay", .text = "b", .from = -0.001, .to = 1e-7, .fillColour = CGColor(W),
                   .backColour = CGColor(0x123456u), .fillTransparent = true, .thickness = 2.25f};
// clang-format on

} // namespace

// Headings and widths by data type and host, and the texts of both rows; then the item data and
// which cells take typing.
TEST(CMyGridCtrl, FillShowsColumnsByDataTypeAndHostTheCellTextsAndItemData)
{
    CScopedEnv locale("LC_ALL", "C");
    const std::string sand = "|sand|255|-2147483648|3|65280|2|1.5|c1\n2|",
                      clay = "clay|-2147483648|1193046|0|0|0|2.25|";
    const std::string numeric = "\n1|1.23457e+06|2.5" + sand + "-0.001|1e-07|" + clay;
    const struct {
        int32_t type;
        bool host;
        std::string shown;
    } cases[] = {
        {DataNumericContinuous, false,
         "Row|From (>=)|To (<)|Label|Fg|Bg|Pattern|LCol|LStyle|LThick|Comment 32 64 48 72 24 24 48 40 0 48 240" +
             numeric},
        {DataNumericDiscrete, true,
         "Row|From (>=)|To (<=)|Label|Fg|Bg|Pattern|LCol|LStyle|LThick|Comment 32 64 48 0 24 24 48 40 48 48 240" +
             numeric},
        {DataText, false,
         "Row|String|Label|Fg|Bg|Pattern|LCol|LStyle|LThick|Comment 32 80 72 24 24 48 40 0 48 240\n1|" + sand + "b|" +
             clay},
    };
    for (const auto& c : cases) {
        CSheet s({kSand, kClay}, c.type, c.host);
        std::vector<int> widths;
        for (int col = 0; col < s.sheet.GetColumnCount(); ++col)
            widths.push_back(s.sheet.GetColumnWidth(col));
        EXPECT_EQ(s.Texts(0) + " " + Join(widths, " ") + "\n" + s.Texts(1) + "\n" + s.Texts(2), c.shown);
    }
}

TEST(CMyGridCtrl, TypingWritesTheWholeRowBackInTheUsersLocale)
{
    CScopedEnv locale("LC_ALL", "C");
    const std::string rest = "|sand|255|16777215T|3|65280|2|1.5|c1";
    const struct {
        int col;
        const char* typed;
        std::string row;
        const char* label = "sand"; // as the file holds it
        double nextFrom = 9;        // the next row's, which a typed To starts with auto-populate on
    } cases[] = {
        {10, "x", "1234570|2.5|" + rest.substr(0, rest.size() - 2) + "x"}, // the shown six digits are what stays
        {1, "3.75", "3.75|2.5|" + rest},
        {2, "7.5", "1234570|7.5|" + rest, "sand", 7.5},
        {3, " \t ", "1234570|2.5|||" + rest.substr(6)},
        {9, "2,5", "1234570|2.5|" + rest.substr(0, rest.size() - 6) + "2|c1"},
        // Typed text is UTF-8: a Windows-1252 legend keeps its bytes and gets new text in 1252.
        {3, "s\xc3\xa4nd", "1234570|2.5||s\xe4nd" + rest.substr(5), "s\xe4nd"},
        {10, "\xe2\x82\xac", "1234570|2.5||s\xe4nd" + rest.substr(5, rest.size() - 7) + "\x80", "s\xe4nd"},
        {10, "\xe2\x82\xac", "1234570|2.5|" + rest.substr(0, rest.size() - 2) + "\xe2\x82\xac"},
    };
    for (const auto& c : cases) {
        CLLRow row = kSand;
        row.label = c.label;
        CSheet s({row, {.from = 9}});
        s.sheet.SetAutoPopulate(true);
        s.sheet.OnEndEditCell(1, c.col, c.typed);
        EXPECT_EQ(s.Row(0), c.row) << c.typed;
        EXPECT_EQ(s.legend.m_From[1], c.nextFrom);
        CLLRow stored; // the cell holds the bytes the legend holds, as after a fill
        if (s.legend.GetRow(0, stored) && (c.col == 3 || c.col == 10)) {
            EXPECT_EQ(s.sheet.GetItemText(1, c.col), c.col == 3 ? stored.label : stored.comment);
        }
        EXPECT_EQ(s.changes, c.nextFrom == 9 ? 1 : 2);
    }
    // A decimal-comma locale shows and reads the user's separators.
    CScopedEnv comma("LC_ALL", "de_DE.UTF-8");
    if (CNumberSeparators::User().decimal != ",")
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    CSheet de({kSand, {.from = 9}});
    EXPECT_EQ(de.Texts(1), "1|1,23457e+06|2,5|sand|255|-2147483648|3|65280|2|1.5|c1");
    de.sheet.OnEndEditCell(1, 2, "3,75");
    de.sheet.OnEndEditCell(1, 1, "1.234,5");
    EXPECT_EQ(de.Row(0), "1234.5|3.75||sand|255|16777215T|3|65280|2|1.5|c1");
    EXPECT_EQ(de.legend.m_From[1], 9) << "auto-populate is off";
}

TEST(CMyGridCtrl, SortingRebuildsTheLegendInTheShownOrderWithNumberColumnsAsNumbers)
{
    // From values (1234567 shows as 1.23457e+06), labels k, j, ..., a and thicknesses.
    const double from[] = {0.5, 0.1, 0.25, 1234567, 10, 9, -3, 100, 0.75, 2, 1.5};
    const float thick[] = {3, 0.5f, 12.5f, 0.25f, 1, 2, 100, 0.75f, 9, 10, 1.5f};
    std::vector<CLLRow> rows;
    for (int i = 0; i < 11; ++i)
        rows.push_back({.label = std::string(1, static_cast<char>('k' - i)), .from = from[i], .thickness = thick[i]});
    // Applied in turn: the column clicked, ascending; the legend's From values, row order.
    const std::tuple<int, bool, std::string, bool> sorts[] = {
        {3, true, "1.5 2 0.75 100 -3 9 10 1.23457e+06 0.25 0.1 0.5", false}, // by Label
        {0, true, "0.5 0.1 0.25 1.23457e+06 10 9 -3 100 0.75 2 1.5", true},  // by Row: 10 after 9
        {1, true, "-3 0.1 0.25 0.5 0.75 1.5 2 9 10 100 1.23457e+06", false},
        {9, true, "1.23457e+06 0.1 100 10 1.5 9 0.5 0.75 2 0.25 -3", false}, // by LThick
    };
    // Numbers are read in the user's locale: the suite runs in a decimal-comma one too.
    CSheet s(rows);
    for (const auto& [column, ascending, order, rowOrder] : sorts) {
        s.sheet.SortItems(column, ascending);
        EXPECT_EQ(Join(s.legend.m_From, " "), order) << " column " << column;
        EXPECT_EQ(s.sheet.IsRowOrder(), rowOrder);
        EXPECT_TRUE(s.legend.RowListsAgree());
        EXPECT_FALSE(s.sheet.IsCellEditable(1, 4));
        EXPECT_TRUE(s.sheet.GetCell(1, 4)->IsNumeric()) << "colours sort as numbers";
    }
}

// Each style cell draws from its number and a click opens its chooser, not a text editor.
TEST(CMyGridCtrl, StyleCellsDrawFromTheirNumbersAndAClickOpensTheirChooser)
{
    const std::string box = "10,20,34,44", fill = "fill " + box + " #";
    const std::string t =
        "text 'T' " + box + " f825 #0 " + CSheet({}).sheet.GetDefaultCell(false, false).GetFont().faceName;
    const struct {
        int col;
        std::vector<std::string> ops;
        std::string opened;
    } cases[] = {
        {4, {fill + "ff"}, "colour 255 r1c4 Custom"},
        {5, {fill + "ffffff", t}, "colour 255 r1c5 transparent Custom"},
        {6, {fill + "ffffff", "pattern " + box + " 2x2 #ff none"}, "pattern 3 r1c6 /pat/"},
        {7, {fill + "ff00"}, "colour 255 r1c7 Custom"}, // the line colour has no transparent
        {8, {fill + "ffffff", "clip " + box, "polyline w2 #ff00 10,32 34,32", "unclip"}, "lstyle 2 r1c8 host.pen"},
    };
    for (const auto& c : cases) {
        CSheet s({kSand, kClay}, DataNumericContinuous, true);
        s.sheet.Patterns().Set(3, CGridBitmap::FromRows({"#.", ".#"}));
        CRecordingPainter painter;
        EXPECT_FALSE(s.sheet.DrawStyleCell(painter, 1, 3, {10, 20, 34, 44}, false));
        EXPECT_TRUE(s.sheet.DrawStyleCell(painter, 1, c.col, {10, 20, 34, 44}, false));
        EXPECT_EQ(painter.m_Ops, c.ops) << c.col;
        CGridRect rect;
        s.sheet.GetCellRect(1, c.col, rect);
        const CGridPoint centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        s.sheet.OnLButtonDown(centre, 0);
        s.sheet.OnLButtonUp(centre);
        EXPECT_EQ(s.choosers.log, (std::vector<std::string>{"close", c.opened, "redraw"}));
        EXPECT_EQ(s.view.LastEditor(), nullptr);
        EXPECT_FALSE(s.sheet.IsCellEditable(1, c.col));
    }
    // Every click on a row closes an open chooser; a text cell or two rows open
    // nothing. So does whatever moves the rows under an open chooser.
    CSheet s({kSand, kClay});
    s.sheet.OnCellClick(1, 3);
    s.sheet.SetSelectedRange(1, 4, 2, 4);
    s.sheet.OnCellClick(1, 4);
    s.sheet.SortItems(1, true);
    s.sheet.ReloadPatterns("/nonexistent/patterns");
    s.commands.OnButton(CRowCommands::ButtonDuplicate);
    s.sheet.FillFromLegend(s.legend, true);
    EXPECT_EQ(s.choosers.log, std::vector<std::string>(6, "close"));
    s.sheet.OnCellClick(1, 4);
    EXPECT_EQ(s.choosers.log.size(), 6u) << "a read-only legend opens nothing";
}

TEST(CMyGridCtrl, ChooserResultsFollowTheStyleRules)
{
    // clang-format off
    const CLLRow opaque{.fillColour = CGColor(0x0000FFu), .backColour = CGColor(W), .backTransparent = true, .pattern = 1};
    const CLLRow clear{.fillColour = CGColor(W), .backColour = CGColor(0x123456u), .fillTransparent = true, .pattern = 5};
    // clang-format on
    const struct {
        CLLRow start;
        int col;
        int32_t value;
        const char* style; // fill|back|pattern|line|style
        const char* cells; // Fg|Bg|Pattern|LCol|LStyle
    } cases[] = {
        {opaque, 4, -1, "16777215T|16777215T|2|0|0", "-2147483648|-2147483648|2|0|0"},
        {clear, 4, -1, "16777215T|1193046|5|0|0", "-2147483648|1193046|5|0|0"},
        {clear, 4, 0x00AA00, "43520|1193046|5|0|0", "43520|1193046|5|0|0"},
        {opaque, 5, 0x123456, "255|1193046|1|0|0", "255|1193046|1|0|0"},
        {opaque, 7, -1, "255|16777215T|1|16777215|0", "255|-2147483648|1|16777215|0"},
        {opaque, 6, 0, "16777215T|16777215T|0|0|0", "-2147483648|-2147483648|0|0|0"},
        {clear, 6, 2, "0|16777215T|2|0|0", "0|-2147483648|2|0|0"},
        {clear, 6, 5, "0|0|5|0|0", "0|0|5|0|0"},
        {opaque, 6, 7, "255|0|7|0|0", "255|0|7|0|0"},
        {{.backColour = CGColor(0x123456u), .pattern = 3}, 6, 9, "0|1193046|9|0|0", "0|1193046|9|0|0"},
        {opaque, 8, 7, "255|16777215T|1|0|7", "255|-2147483648|1|0|7"},
    };
    for (const auto& c : cases) {
        CSheet s({kSand, c.start}, DataNumericContinuous, true);
        s.sheet.OnCellClick(2, c.col);
        if (c.col == 6)
            s.sheet.PatternChosen(c.value);
        else if (c.col == 8)
            s.sheet.LineStyleChosen(c.value);
        else
            s.sheet.ColourChosen(c.value, c.col);
        EXPECT_EQ(s.Row(1) + " " + s.Texts(2), "0|0|||" + std::string(c.style) + "|1| 2|0|0||" + c.cells + "|1|")
            << c.col << " " << c.value;
        EXPECT_EQ(s.sheet.GetItemData(2, 6), s.legend.m_Patterns[1]);
        EXPECT_EQ(s.changes, 1);
        EXPECT_EQ(s.Row(0), CSheet({kSand}).Row(0)) << "the other row is untouched";
    }
}
