#include "pickers/core/cpatternchooserlogic.h"

#include "grid/gridfakes.h"
#include "pickers/core/cpatterntable.h"

#include <gtest/gtest.h>

namespace {
using P = CPatternChooserLogic;

// The frame control's rectangle as the chooser window places it.
const CGridRect kFrame{28, 22, 299, 296};

// Pattern 0 plus `extra` patterns numbered 1, 2, ...
CPatternTable Table(int extra)
{
    CPatternTable table;
    for (int n = 1; n <= extra; ++n)
        table.Set(n, CGridBitmap::FromRows({"#.", ".#"}));
    return table;
}
} // namespace

TEST(PatternChooserLogic, ListingAndRows)
{
    CPatternTable sparse;
    for (int n : {999, 3, 5, 0})
        sparse.Set(n, CGridBitmap::FromRows({"#"}));
    EXPECT_EQ(P::ListPatterns(sparse), (std::vector<int>{0, 3, 5, 999}));
    const std::pair<int, int> rows[] = {{0, 0}, {1, 1}, {8, 1}, {9, 2}};
    for (auto [n, count] : rows)
        EXPECT_EQ(P::RowCount(n), count) << n;
}

TEST(PatternChooserLogic, ScrollingIsClampedToTheLastPage)
{
    const CPatternTable table = Table(129); // 130 patterns: 17 rows, at most 9 scrolled
    P chooser(table, 0);
    const struct {
        P::Scroll action;
        int thumb, pos;
        bool moved;
    } steps[] = {{P::Scroll::LineUp, 0, 0, false},  {P::Scroll::LineDown, 0, 1, true},
                 {P::Scroll::PageDown, 0, 9, true}, {P::Scroll::PageDown, 0, 9, false},
                 {P::Scroll::Thumb, 3, 3, true},    {P::Scroll::Thumb, 50, 9, true},
                 {P::Scroll::PageUp, 0, 1, true},   {P::Scroll::Thumb, -4, 0, true}};
    for (const auto& s : steps) {
        EXPECT_EQ(chooser.ScrollBy(s.action, s.thumb), s.moved) << static_cast<int>(s.action) << " " << s.thumb;
        EXPECT_EQ(chooser.ScrollPos(), s.pos) << static_cast<int>(s.action) << " " << s.thumb;
    }
}

TEST(PatternChooserLogic, NinePatternsPaintTwoRowsAndClicksMapToThem)
{
    const CPatternTable table = Table(8);
    P chooser(table, 2);
    EXPECT_EQ(chooser.Rows(), 2);

    CRecordingPainter painter;
    chooser.Paint(painter, kFrame, 0xF0F0F0, CGridFont{});
    // Samples of 33 pixels from (31, 31): "N" for pattern 0, the current one framed red, the second row holding
    // pattern 8 and then empty samples in the face colour.
    for (const char* op : {"text 'N' 31,39,64,64", "pattern 64,31,97,64 2x2 #0", "frame 97,31,130,64 #ff",
                           "pattern 31,64,64,97", "fill 262,262,295,295 #f0f0f0"})
        EXPECT_EQ(painter.CountPrefix(op), 1) << op;
    EXPECT_EQ(painter.CountPrefix("frame"), 9);

    // Clicks are mapped from the window's corner; the frame's place makes that the painted samples.
    const std::pair<CGridPoint, int> clicks[] = {{{31, 31}, 0}, {{30, 30}, -1}, {{63, 63}, 0},  {{64, 40}, 1},
                                                 {{31, 64}, 8}, {{64, 64}, -1}, {{292, 40}, 7}, {{298, 40}, -1}};
    for (const auto& [at, pattern] : clicks)
        EXPECT_EQ(chooser.PatternAt(at, kFrame), pattern) << at.x << "," << at.y;
}
