#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/clinestylechooser.h"
#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {
// Style 2 of a file holding `style`, drawn black as a 40-pixel line at x 2 (so R = 32) centred on y 4 in a box 8 high:
// each line (its points, "w3" before a wider pen, a colour before another) or filled polygon, without the clips.
std::string Drawn(const PenStyle& style)
{
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, CPenFile::Parse(PenBytes({{}, {}, style})), 2, 4, 40, 8, 0x000000);
    std::string drawn;
    for (std::string op : painter.m_Ops) {
        for (const std::string plain : {"polyline ", "w0 ", "#0 ", "none "})
            if (const size_t at = op.find(plain); at != std::string::npos)
                op.erase(at, plain.size());
        if (op.find("clip") == std::string::npos)
            drawn += (drawn.empty() ? "" : "|") + op;
    }
    return drawn;
}
} // namespace

TEST(LineStyleRenderer, DrawsEachInstruction)
{
    const std::tuple<const char*, PenStyle, const char*> cases[] = {
        {"draw 5, gap 5: period 10 up to R", {{2, 5, 3, 5}}, "2,4 6,4|12,4 16,4|22,4 26,4"},
        {"a mark between draw and gap: solid",
         {{2, 5, 5, 3, 5}},
         "2,4 6,4|7,4 11,4|12,4 16,4|17,4 21,4|22,4 26,4|27,4 31,4"},
        {"draw to the end from a gap", {{3, 10, 1}}, "12,4 31,4"},
        {"opcode 23 as 1, its operand skipped", {{3, 20, 23, 9}}, "22,4 31,4"},
        {"end marks pass R", {{15, 13, 0x33}}, "32,4 35,1|32,4 35,7"},
        {"a mark before R is cut there", {{3, 28, 13, 0x33, 3, 100}}, "30,4 33,1|30,4 33,7"},
        {"backward strokes and ticks", {{3, 4, 14, 0x12, 4, 0x21, 3, 100}}, "6,4 4,2|6,4 5,5|6,3 6,6"},
        {"ticks every 10", {{4, 0x21, 3, 10}}, "2,3 2,6|12,3 12,6|22,3 22,6"},
        {"pen width 3 with flat ends", {{6, 3, 2, 5, 3, 15}}, "w3 2,4 7,4|w3 22,4 27,4"},
        {"10: width n + 1, 9: thin", {{10, 1, 2, 3, 9, 2, 3, 3, 100}}, "w2 2,4 5,4|5,4 7,4"},
        {"move, then draw", {{18, 77, 2, 19, 4, 0xFE, 3, 100}}, "2,2 6,6"},
        {"own pen colour, rest red", {{7, 0, 255, 0, 2, 3, 3, 100}, {3, 5, 2, 3, 3, 100}}, "#ff00 2,4 4,4|#ff 7,4 9,4"},
        {"own fill colour",
         {{20, 0, 255, 0, 16, 99, 2, 4, 17, 4, 2, 4, 3, 100}},
         "polygon #ff00 2,2 6,2 6,6 2,6|#ff 2,2 6,2 6,6 2,6 2,2"},
        {"shape to a narrower end",
         {{8, 21, 16, 0, 2, 4, 17, 2, 1, 2, 3, 100}},
         "polygon 2,2 4,3 4,5 2,6|2,2 4,3 4,5 2,6 2,2"},
        {"an opcode 7 as an operand (width 7) is no colour", {{6, 7, 3, 20, 2, 2, 3, 100}}, "w7 22,4 24,4"},
        {"unused opcodes do nothing", {{0, 11, 7, 12, 7, 22, 24, 255, 2, 2, 3, 100}}, "2,4 3,4"},
        {"ticks and diagonals of length 0 draw nothing", {{4, 0x00, 13, 0x00, 14, 0x00, 3, 10}}, ""},
        {"a motif that never moves draws once", {{4, 0x11}}, "2,3 2,5"},
        {"a mark that takes back the whole advance", {{2, 4, 5}}, "2,4 5,4"},
        {"an operand cut short ends the pass", {{2, 5, 3}}, "2,4 6,4|7,4 11,4|12,4 16,4|17,4 21,4|22,4 26,4|27,4 31,4"},
        {"zero-length strokes", {{}, {}}, ""},
    };
    for (const auto& [what, style, drawn] : cases)
        EXPECT_EQ(Drawn(style), drawn) << what;
}

TEST(LineStyleRenderer, EachStrokeBalancesItsClips)
{
    // A clip left open would cut every cell drawn after the sample.
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, CPenFile::Parse(PenBytes({{}, {}, {{2, 30}, {15}}})), 10, 20, 64, 16, 0xFF0000);
    EXPECT_EQ(painter.m_Ops, (std::vector<std::string>{"clip -40,-8,64,28", "polyline w0 #ff0000 10,20 39,20",
                                                       "polyline w0 #ff0000 40,20 69,20", "unclip", "clip -40,-8,64,28",
                                                       "unclip", "clip 10,-8,74,28", "unclip"}));
}

TEST(LineStyleGrid, RowsOfThreeAndTheLargestScroll)
{
    for (auto [count, rows, largest] : {std::tuple{0, 0, 0}, {3, 1, 0}, {4, 2, 0}, {24, 8, 0}, {25, 9, 1}}) {
        EXPECT_EQ(LineStyleGrid::Rows(count), rows) << count;
        EXPECT_EQ(LineStyleGrid::LargestScroll(rows), largest) << count;
    }
}
