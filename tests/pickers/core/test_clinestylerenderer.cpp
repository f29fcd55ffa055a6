// Line styles drawn on the pixels of small images: every instruction, the
// repeat mark, the red base colour of styles with colours of their own, the
// clips, and files that draw nothing.

#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "pickers/core/tabletext.h"
#include "grid/gridfakes.h"
#include "grid/widget/cqtgridpainter.h"
#include "support/testfiles.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <map>

namespace {

char Letter(QRgb pixel)
{
    static const std::map<QRgb, char> letters{
        {0xFFFFFF, '.'}, {0x000000, 'K'}, {0xFF0000, 'R'}, {0x00FF00, 'G'}, {0x0000FF, 'B'}};
    const auto found = letters.find(pixel & 0xFFFFFF);
    return found == letters.end() ? '?' : found->second;
}

// The sample of a 40-pixel line at x 2 (so R = 32), centred on y 4 in a box 8 high, drawn
// black on white: the rows with ink as "y:" and their runs of one colour (K black, R red,
// G green, B blue, ? anything else), like "4:K2-6 R8"; rows that repeat the one above
// are folded into it ("3-5:K2").
std::string Render(const std::vector<uint8_t>& file, int style)
{
    QImage image(44, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        DrawLineStyle(surface, style, CPenFile::Parse(file), 2, 4, 40, 8, 0x000000);
    }
    std::string picture, last;
    int from = -1;
    auto flush = [&](int to) {
        if (from >= 0)
            picture += std::string(picture.empty() ? "" : " / ") + std::to_string(from) +
                       (to > from ? "-" + std::to_string(to) : "") + ":" + last;
    };
    for (int y = 0; y <= image.height(); ++y) {
        std::string runs;
        for (int x = 0; y < image.height() && x < image.width(); ++x) {
            const char c = Letter(image.pixel(x, y));
            int end = x;
            while (end + 1 < image.width() && Letter(image.pixel(end + 1, y)) == c)
                ++end;
            if (c != '.')
                runs += std::string(runs.empty() ? "" : " ") + c + std::to_string(x) +
                        (end > x ? "-" + std::to_string(end) : "");
            x = end;
        }
        if (runs != last) {
            flush(y - 1);
            from = runs.empty() ? -1 : y;
            last = runs;
        }
    }
    return picture;
}

std::vector<uint8_t> One(const PenStyle& style)
{
    return PenBytes({{}, {}, style});
}

} // namespace

TEST(LineStyleRenderer, DrawsEachInstructionOnPixels)
{
    int argc = 1;
    char name[] = "renderer-tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        int style;
        const char* pixels;
    } cases[] = {
        {"draw 5, gap 5: period 10 up to R", One({{2, 5, 3, 5}}), 2, "4:K2-6 K12-16 K22-26"},
        {"a mark at the start changes nothing", One({{5, 2, 5, 3, 5}}), 2, "4:K2-6 K12-16 K22-26"},
        {"a mark between draw and gap makes it solid", One({{2, 5, 5, 3, 5}}), 2, "4:K2-31"},
        {"draw to the end from a gap", One({{3, 10, 1}}), 2, "4:K12-31"},
        {"opcode 23 as 1, its operand skipped", One({{3, 20, 23, 9}}), 2, "4:K22-31"},
        {"end marks reach past R within the final clip", One({{15, 13, 0x33}}), 2,
         "1:K35 / 2:K34 / 3:K33 / 4:K32 / 5:K33 / 6:K34 / 7:K35"},
        {"a mark before R is cut there", One({{3, 28, 13, 0x33, 3, 100}}), 2, "3:K31 / 4:K30 / 5:K31"},
        {"backward strokes and ticks", One({{3, 4, 14, 0x12, 4, 0x21, 3, 100}}), 2,
         "2:K4 / 3:K5-6 / 4:K6 / 5:K5-6 / 6:K6"},
        {"ticks every 10", One({{4, 0x21, 3, 10}}), 2, "3-6:K2 K12 K22"},
        {"pen width 3 with flat ends", One({{6, 3, 2, 5, 3, 15}}), 2, "3-5:K2-6 K22-26"},
        {"pen width 1 + 1 by opcode 10 across rows 3-4, back to thin by 9", One({{10, 1, 2, 3, 9, 2, 3, 3, 100}}), 2,
         "3:K2-4 / 4:K2-7"},
        {"move then draw from the current point", One({{18, 77, 2, 19, 4, 0xFE, 3, 100}}), 2,
         "2:K2 / 3:K3 / 4:K4 / 5:K5 / 6:K6"},
        {"pen colour of its own; the rest of the style turns red",
         PenBytes({{}, {}, {{7, 0, 255, 0, 2, 3, 3, 100}, {3, 5, 2, 3, 3, 100}}}), 2, "4:G2-4 R7-9"},
        {"fill colour of its own: base-colour outline red, green inside",
         One({{20, 0, 255, 0, 16, 99, 2, 4, 17, 4, 2, 4, 3, 100}}), 2, "2:R2-6 / 3-5:R2 G3-5 R6 / 6:R2-6"},
        {"filled shape from the band to a narrower end, base fill", One({{8, 21, 16, 0, 2, 4, 17, 2, 1, 2, 3, 100}}), 2,
         "2:K2-3 / 3-4:K2-4 / 5:K2-3 / 6:K2"},
        {"an opcode 7 as an operand (width 7) is no colour", One({{6, 7, 3, 20, 2, 2, 3, 100}}), 2, "1-7:K22-23"},
        {"unused opcodes do nothing", One({{0, 11, 7, 12, 7, 22, 24, 255, 2, 2, 3, 100}}), 2, "4:K2-3"},
        {"ticks and diagonals of length 0 draw nothing", One({{4, 0x00, 13, 0x00, 14, 0x00, 3, 10}}), 2, ""},
        {"a motif that never moves draws once", One({{4, 0x11}}), 2, "3-5:K2"},
        {"a mark that takes back the whole advance", One({{2, 4, 5}}), 2, "4:K2-5"},
        {"an operand cut short ends the pass", One({{2, 5, 3}}), 2, "4:K2-31"},
        {"zero-length strokes", One({{}, {}}), 2, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(c.file, c.style), c.pixels) << c.what;
}

TEST(LineStyleRenderer, StylesZeroAndOneAreTheLetterN)
{
    for (int style : {0, 1}) {
        for (const std::vector<uint8_t>& bytes : {One({{2, 5, 3, 5}}), std::vector<uint8_t>{}}) {
            CRecordingPainter painter;
            DrawLineStyle(painter, style, CPenFile::Parse(bytes), 10, 20, 64, 16, 0x123456);
            EXPECT_EQ(Joined(painter.m_Ops, "|"), "fill 33,13,40,27 #ffffff|text 'N' 10,12,64,28 f825 #0 ") << style;
        }
    }
    CRecordingPainter missing;
    DrawLineStyle(missing, 1, std::string("/nonexistent/lines.pen"), 10, 20, 64, 16, 0);
    EXPECT_EQ(missing.m_Texts, std::vector<std::string>{"N"});
}

TEST(LineStyleRenderer, ClipsEachStrokeAndBalancesItsClipsAndReadsThroughTheCache)
{
    CRecordingPainter painter;
    DrawLineStyle(painter, 2, CPenFile::Parse(One({{2, 30}, {15}})), 10, 20, 64, 16, 0xFF0000);
    EXPECT_EQ(Joined(painter.m_Ops, "|"), "clip -40,-8,64,28|polyline w0 #ff0000 10,20 39,20|"
                                          "polyline w0 #ff0000 40,20 69,20|unclip|clip -40,-8,64,28|"
                                          "unclip|clip 10,-8,74,28|unclip");
    CTempDir dir;
    WriteBytes(dir.File("lines.pen"), One({{2, 30}}));
    CRecordingPainter cached;
    DrawLineStyle(cached, 2, dir.File("lines.pen"), 0, 10, 40, 8, 0xFF0000);
    DrawLineStyle(cached, 2, dir.File("missing.pen"), 0, 10, 40, 8, 0xFF0000);
    EXPECT_EQ(Joined(cached.m_Ops, "|"), "clip -50,-14,30,14|polyline w0 #ff0000 0,10 29,10|unclip");
}
