#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/clinestylechooser.h"
#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "pickers/core/tabletext.h"
#include "grid/gridfakes.h"
#include "grid/widget/cqtgridpainter.h"

#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace {
// "3-5:K2" for a run of rows alike, "7" or "7-9" for a run of pixels.
std::string Span(int from, int to)
{
    return std::to_string(from) + (to > from ? "-" + std::to_string(to) : "");
}

// Style 2 of a file holding `style`, drawn black on white as a 40-pixel line at x 2 (so R = 32), centred on y 4 in a
// box 8 high: the rows with ink and their runs of one colour (K black, R red, G green, B blue, ? anything else), like
// "4:K2-6 R8"; rows that repeat the one above are folded into it ("3-5:K2").
std::string Render(const PenStyle& style)
{
    QImage image(44, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        DrawLineStyle(surface, 2, CPenFile::Parse(PenBytes({{}, {}, style})), 2, 4, 40, 8, 0x000000);
    }
    const std::map<QRgb, char> letters{{0xFFFFFF, '.'}, {0, 'K'}, {0xFF0000, 'R'}, {0xFF00, 'G'}, {0xFF, 'B'}};
    auto letter = [&](int x, int y) {
        const auto found = letters.find(image.pixel(x, y) & 0xFFFFFF);
        return found == letters.end() ? '?' : found->second;
    };
    std::vector<std::string> rows(10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0, end = 0; x < 44; x = end + 1) {
            for (end = x; end + 1 < 44 && letter(end + 1, y) == letter(x, y);)
                ++end;
            if (letter(x, y) != '.')
                rows[y] += std::string(rows[y].empty() ? "" : " ") + letter(x, y) + Span(x, end);
        }
    std::string picture;
    for (int y = 0, end = 0; y < 10; y = end + 1) {
        for (end = y; end + 1 < 10 && rows[end + 1] == rows[y];)
            ++end;
        if (!rows[y].empty())
            picture += (picture.empty() ? "" : " / ") + Span(y, end) + ":" + rows[y];
    }
    return picture;
}
} // namespace

TEST(LineStyleRenderer, DrawsEachInstructionOnPixels)
{
    const struct {
        const char* what;
        PenStyle style;
        const char* pixels;
    } cases[] = {
        {"draw 5, gap 5: period 10 up to R", {{2, 5, 3, 5}}, "4:K2-6 K12-16 K22-26"},
        {"a mark at the start changes nothing", {{5, 2, 5, 3, 5}}, "4:K2-6 K12-16 K22-26"},
        {"a mark between draw and gap makes it solid", {{2, 5, 5, 3, 5}}, "4:K2-31"},
        {"draw to the end from a gap", {{3, 10, 1}}, "4:K12-31"},
        {"opcode 23 as 1, its operand skipped", {{3, 20, 23, 9}}, "4:K22-31"},
        {"end marks pass R", {{15, 13, 0x33}}, "1:K35 / 2:K34 / 3:K33 / 4:K32 / 5:K33 / 6:K34 / 7:K35"},
        {"a mark before R is cut there", {{3, 28, 13, 0x33, 3, 100}}, "3:K31 / 4:K30 / 5:K31"},
        {"backward strokes and ticks", {{3, 4, 14, 0x12, 4, 0x21, 3, 100}}, "2:K4 / 3:K5-6 / 4:K6 / 5:K5-6 / 6:K6"},
        {"ticks every 10", {{4, 0x21, 3, 10}}, "3-6:K2 K12 K22"},
        {"pen width 3 with flat ends", {{6, 3, 2, 5, 3, 15}}, "3-5:K2-6 K22-26"},
        {"10: width n + 1, 9: thin", {{10, 1, 2, 3, 9, 2, 3, 3, 100}}, "3:K2-4 / 4:K2-7"},
        {"move, then draw", {{18, 77, 2, 19, 4, 0xFE, 3, 100}}, "2:K2 / 3:K3 / 4:K4 / 5:K5 / 6:K6"},
        {"own pen colour, rest red", {{7, 0, 255, 0, 2, 3, 3, 100}, {3, 5, 2, 3, 3, 100}}, "4:G2-4 R7-9"},
        {"own fill colour", {{20, 0, 255, 0, 16, 99, 2, 4, 17, 4, 2, 4, 3, 100}}, "2:R2-6 / 3-5:R2 G3-5 R6 / 6:R2-6"},
        {"shape to a narrower end", {{8, 21, 16, 0, 2, 4, 17, 2, 1, 2, 3, 100}}, "2:K2-3 / 3-4:K2-4 / 5:K2-3 / 6:K2"},
        {"an opcode 7 as an operand (width 7) is no colour", {{6, 7, 3, 20, 2, 2, 3, 100}}, "1-7:K22-23"},
        {"unused opcodes do nothing", {{0, 11, 7, 12, 7, 22, 24, 255, 2, 2, 3, 100}}, "4:K2-3"},
        {"ticks and diagonals of length 0 draw nothing", {{4, 0x00, 13, 0x00, 14, 0x00, 3, 10}}, ""},
        {"a motif that never moves draws once", {{4, 0x11}}, "3-5:K2"},
        {"a mark that takes back the whole advance", {{2, 4, 5}}, "4:K2-5"},
        {"an operand cut short ends the pass", {{2, 5, 3}}, "4:K2-31"},
        {"zero-length strokes", {{}, {}}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(c.style), c.pixels) << c.what;
}

TEST(LineStyleRenderer, StylesZeroAndOneAreTheLetterNAndEachStrokeBalancesItsClips)
{
    // Styles 0 and 1 mean "no line" even when the pen file cannot be read.
    for (int style : {0, 1}) {
        CRecordingPainter painter;
        DrawLineStyle(painter, style, std::string("/nonexistent/lines.pen"), 10, 20, 64, 16, 0x123456);
        EXPECT_EQ(Joined(painter.m_Ops, "|"), "fill 33,13,40,27 #ffffff|text 'N' 10,12,64,28 f825 #0 ") << style;
    }
    // A clip left open would cut every cell drawn after the sample.
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, CPenFile::Parse(PenBytes({{}, {}, {{2, 30}, {15}}})), 10, 20, 64, 16, 0xFF0000);
    EXPECT_EQ(Joined(painter.m_Ops, "|"), "clip -40,-8,64,28|polyline w0 #ff0000 10,20 39,20|"
                                          "polyline w0 #ff0000 40,20 69,20|unclip|clip -40,-8,64,28|"
                                          "unclip|clip 10,-8,74,28|unclip");
}

TEST(LineStyleGrid, RowsOfThreeAndTheLargestScroll)
{
    const struct {
        int count, rows, largest;
    } sizes[] = {{0, 0, 0}, {3, 1, 0}, {4, 2, 0}, {24, 8, 0}, {25, 9, 1}};
    for (const auto& s : sizes) {
        EXPECT_EQ(LineStyleGrid::Rows(s.count), s.rows) << s.count;
        EXPECT_EQ(LineStyleGrid::LargestScroll(s.rows), s.largest) << s.count;
    }
}
