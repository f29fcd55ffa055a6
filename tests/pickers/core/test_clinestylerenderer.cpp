// Line styles drawn on the pixels of small images: every instruction, the
// repeat mark, the red base colour of styles with colours of their own, the
// clips, and files that draw nothing.

#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "grid/gridfakes.h"
#include "grid/widget/cqtgridpainter.h"
#include "support/testfiles.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr int kWidth = 44, kHeight = 10;
constexpr uint32_t kBlack = 0x000000, kBlue = 0xFF0000;

// The sample of a 40-pixel line at x 2 (so R = 32), centred on y 4 in a
// box 8 high, as one string per row: '.' white, 'K' black, 'R' red, 'G'
// green, 'B' blue, '?' anything else.
std::vector<std::string> Render(const std::vector<uint8_t>& file, int style, uint32_t colour = kBlack)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        DrawLineStyle(surface, style, CPenFile::Parse(file), 2, 4, 40, 8, colour);
    }
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            switch (image.pixel(x, y) & 0xFFFFFF) {
            case 0xFFFFFF: row += '.'; break;
            case 0x000000: row += 'K'; break;
            case 0xFF0000: row += 'R'; break;
            case 0x00FF00: row += 'G'; break;
            case 0x0000FF: row += 'B'; break;
            default: row += '?';
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// A picture with one row drawn (y 4 unless told) and the rest white.
std::vector<std::string> Only(std::map<int, std::string> drawn)
{
    std::vector<std::string> rows(kHeight, std::string(kWidth, '.'));
    for (const auto& [y, row] : drawn)
        rows[static_cast<size_t>(y)] = row;
    return rows;
}

std::vector<uint8_t> One(const PenStyle& style) { return PenBytes({{}, {}, style}); }

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with)
{
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

} // namespace

TEST(LineStyleRenderer, DrawsEachInstructionOnPixels)
{
    int argc = 1;
    char name[] = "renderer-tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    //                          x: 0         1         2         3         4
    //                             01234567890123456789012345678901234567890123
    const std::string dashes = "..KKKKK.....KKKKK.....KKKKK.................";
    const std::string solid = "..KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK............";
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        int style;
        std::vector<std::string> pixels;
    } cases[] = {
        {"draw 5, gap 5: period 10 up to R", One({{2, 5, 3, 5}}), 2, Only({{4, dashes}})},
        {"dots: draw 1, gap 4", One({{2, 1, 3, 4}}), 2,
         Only({{4, "..K....K....K....K....K....K................"}})},
        {"a mark at the start changes nothing", One({{5, 2, 5, 3, 5}}), 2, Only({{4, dashes}})},
        {"a mark between draw and gap makes it solid", One({{2, 5, 5, 3, 5}}), 2, Only({{4, solid}})},
        {"draw to the end from a gap", One({{3, 10, 1}}), 2,
         Only({{4, "............KKKKKKKKKKKKKKKKKKKK............"}})},
        {"opcode 23 as 1, its operand skipped", One({{3, 20, 23, 9}}), 2,
         Only({{4, "......................KKKKKKKKKK............"}})},
        {"end marks reach past R within the final clip", One({{15, 13, 0x33}}), 2,
         Only({{1, "...................................K........"},
               {2, "..................................K........."},
               {3, ".................................K.........."},
               {4, "................................K..........."},
               {5, ".................................K.........."},
               {6, "..................................K........."},
               {7, "...................................K........"}})},
        {"a mark before R is cut there", One({{3, 28, 13, 0x33, 3, 100}}), 2,
         Only({{3, "...............................K............"},
               {4, "..............................K............."},
               {5, "...............................K............"}})},
        {"backward strokes and ticks", One({{3, 4, 14, 0x12, 4, 0x21, 3, 100}}), 2,
         Only({{2, "....K......................................."},
               {3, ".....KK....................................."},
               {4, "......K....................................."},
               {5, ".....KK....................................."},
               {6, "......K....................................."}})},
        {"ticks every 10", One({{4, 0x21, 3, 10}}), 2,
         Only({{3, "..K.........K.........K....................."},
               {4, "..K.........K.........K....................."},
               {5, "..K.........K.........K....................."},
               {6, "..K.........K.........K....................."}})},
        {"pen width 3 with flat ends", One({{6, 3, 2, 5, 3, 15}}), 2,
         Only({{3, "..KKKKK...............KKKKK................."},
               {4, "..KKKKK...............KKKKK................."},
               {5, "..KKKKK...............KKKKK................."}})},
        {"pen width 1 + 1 by opcode 10 across rows 3-4, back to thin by 9", One({{10, 1, 2, 3, 9, 2, 3, 3, 100}}), 2,
         Only({{3, "..KKK......................................."},
               {4, "..KKKKKK...................................."}})},
        {"move then draw from the current point", One({{18, 77, 2, 19, 4, 0xFE, 3, 100}}), 2,
         Only({{2, "..K........................................."},
               {3, "...K........................................"},
               {4, "....K......................................."},
               {5, ".....K......................................"},
               {6, "......K....................................."}})},
        {"pen colour of its own; the rest of the style turns red",
         PenBytes({{}, {}, {{7, 0, 255, 0, 2, 3, 3, 100}, {3, 5, 2, 3, 3, 100}}}), 2,
         Only({{4, "..GGG..RRR.................................."}})},
        {"fill colour of its own: base-colour outline red, green inside",
         One({{20, 0, 255, 0, 16, 99, 2, 4, 17, 4, 2, 4, 3, 100}}), 2,
         Only({{2, "..RRRRR....................................."},
               {3, "..RGGGR....................................."},
               {4, "..RGGGR....................................."},
               {5, "..RGGGR....................................."},
               {6, "..RRRRR....................................."}})},
        {"filled shape from the band to a narrower end, base fill",
         One({{8, 21, 16, 0, 2, 4, 17, 2, 1, 2, 3, 100}}), 2,
         Only({{2, "..KK........................................"},
               {3, "..KKK......................................."},
               {4, "..KKK......................................."},
               {5, "..KK........................................"},
               {6, "..K........................................."}})},
        {"an opcode 7 as an operand (width 7) is no colour", One({{6, 7, 3, 20, 2, 2, 3, 100}}), 2,
         Only({{1, "......................KK...................."},
               {2, "......................KK...................."},
               {3, "......................KK...................."},
               {4, "......................KK...................."},
               {5, "......................KK...................."},
               {6, "......................KK...................."},
               {7, "......................KK...................."}})},
        {"unused opcodes do nothing", One({{0, 11, 7, 12, 7, 22, 24, 255, 2, 2, 3, 100}}), 2,
         Only({{4, "..KK........................................"}})},
        {"ticks and diagonals of length 0 draw nothing", One({{4, 0x00, 13, 0x00, 14, 0x00, 3, 10}}), 2,
         Only({})},
        {"a motif that never moves draws once", One({{4, 0x11}}), 2,
         Only({{3, "..K........................................."},
               {4, "..K........................................."},
               {5, "..K........................................."}})},
        {"a mark that takes back the whole advance", One({{2, 4, 5}}), 2,
         Only({{4, "..KKKK......................................"}})},
        {"an operand cut short ends the pass", One({{2, 5, 3}}), 2, Only({{4, solid}})},
        {"style at the count", One({{2, 5, 3, 5}}), 3, Only({})},
        {"signature in lower case is drawn", PenBytes({{}, {}, {{2, 5, 3, 5}}}, "pen2"), 2, Only({{4, dashes}})},
        {"bad signature", PenBytes({{}, {}, {{2, 5, 3, 5}}}, "PEM2"), 2, Only({})},
        {"short header", {'P', 'E', 'N', '2', 0, 0, 3}, 2, Only({})},
        {"offset past the end", Patched(One({{2, 5, 3, 5}}), 12, {0x00, 0x80}), 2, Only({})},
        {"count above the table", {'P', 'E', 'N', '2', 0, 0, 9, 0, 8, 0}, 5, Only({})},
        {"zero-length strokes", One({{}, {}}), 2, Only({})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(c.file, c.style), c.pixels) << c.what;
}

TEST(LineStyleRenderer, StylesZeroAndOneAreTheLetterN)
{
    const std::vector<uint8_t> file = One({{2, 5, 3, 5}});
    for (int style : {0, 1}) {
        for (const std::vector<uint8_t>& bytes : {file, std::vector<uint8_t>{}}) {
            CRecordingPainter painter;
            DrawLineStyle(painter, style, CPenFile::Parse(bytes), 10, 20, 64, 16, 0x123456);
            EXPECT_EQ(painter.m_Ops, (std::vector<std::string>{"fill 33,13,40,27 #ffffff",
                                                               "text 'N' 10,12,64,28 f825 #0 "}))
                << style;
        }
    }
    CRecordingPainter missing;
    DrawLineStyle(missing, 1, std::string("/nonexistent/lines.pen"), 10, 20, 64, 16, 0);
    EXPECT_EQ(missing.m_Texts, std::vector<std::string>{"N"});
}

TEST(LineStyleRenderer, ClipsEachStrokeAndBalancesItsClips)
{
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, CPenFile::Parse(One({{2, 30}, {15}})), 10, 20, 64, 16, kBlue);
    EXPECT_EQ(painter.m_Ops, (std::vector<std::string>{
                                 "clip -40,-8,64,28", "polyline w0 #ff0000 10,20 39,20", "polyline w0 #ff0000 40,20 69,20",
                                 "unclip", "clip -40,-8,64,28", "unclip", "clip 10,-8,74,28", "unclip"}));
}

TEST(LineStyleRenderer, DrawsThroughTheCachedFile)
{
    CTempDir dir;
    const std::string path = dir.File("lines.pen");
    const std::vector<uint8_t> bytes = One({{2, 30}});
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, path, 0, 10, 40, 8, kBlue);
    DrawLineStyle(painter, 2, dir.File("missing.pen"), 0, 10, 40, 8, kBlue);
    EXPECT_EQ(painter.m_Ops, (std::vector<std::string>{"clip -50,-14,30,14", "polyline w0 #ff0000 0,10 29,10", "unclip"}));
}
