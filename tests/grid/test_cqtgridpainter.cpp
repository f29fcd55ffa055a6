// The Qt drawing surface on the pixels of small images: patterns, wide lines,
// polygons and nested clips.

#include "grid/widget/cqtgridpainter.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kBlack = 0x000000;

// The image as one string per row: '.' white, 'R', 'B', 'G', 'K' (black), '?' anything else.
std::vector<std::string> Render(const std::function<void(CGridPainter&)>& draw)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        draw(surface);
    }
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            switch (image.pixel(x, y) & 0xFFFFFF) {
            case 0xFFFFFF: row += '.'; break;
            case 0xFF0000: row += 'R'; break;
            case 0x0000FF: row += 'B'; break;
            case 0x00FF00: row += 'G'; break;
            case 0x000000: row += 'K'; break;
            default: row += '?';
            }
        }
        rows.push_back(row);
    }
    return rows;
}

const CGridBitmap kChecker = CGridBitmap::FromRows(
    {"#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#"});
// Blocks of four, one pixel shifted in its first row, so that tiling and the
// anchor both show.
const CGridBitmap kBlocks = CGridBitmap::FromRows(
    {"###.....", "####....", "####....", "####....", "....####", "....####", "....####", "....####"});

TEST(QtGridPainter, DrawsExactPixels)
{
    int argc = 1;
    char name[] = "painter-tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    struct Case {
        const char* what;
        std::function<void(CGridPainter&)> draw;
        std::vector<std::string> pixels;
    } cases[] = {
        {"checker tiled over 16x8",
         [](CGridPainter& p) { p.FillPattern({0, 0, 16, 8}, kChecker, kRed, kBlue); },
         {"RBRBRBRBRBRBRBRB", "BRBRBRBRBRBRBRBR", "RBRBRBRBRBRBRBRB", "BRBRBRBRBRBRBRBR", "RBRBRBRBRBRBRBRB",
          "BRBRBRBRBRBRBRBR", "RBRBRBRBRBRBRBRB", "BRBRBRBRBRBRBRBR"}},
        {"anchored at the rectangle, clear bits left alone",
         [](CGridPainter& p) { p.FillPattern({2, 1, 15, 7}, kBlocks, kRed, std::nullopt); },
         {"................", "..RRR.....RRR...", "..RRRR....RRRR..", "..RRRR....RRRR..", "..RRRR....RRRR..",
          "......RRRR....R.", "......RRRR....R.", "................"}},
        {"3 pixels wide, flat ends, centred on the points",
         [](CGridPainter& p) {
             p.DrawPolyline({{2, 4}, {12, 4}}, 3, kGreen);
             p.DrawPolyline({{14, 0}, {14, 2}}, 3, kRed);
         },
         {".............RRR", ".............RRR", "................", "..GGGGGGGGGG....", "..GGGGGGGGGG....",
          "..GGGGGGGGGG....", "................", "................"}},
        {"thin polyline, both ends drawn",
         [](CGridPainter& p) { p.DrawPolyline({{1, 1}, {6, 1}, {6, 5}}, 0, kBlack); },
         {"................", ".KKKKKK.........", "......K.........", "......K.........", "......K.........",
          "......K.........", "................", "................"}},
        {"thin line from a point to itself draws that pixel",
         [](CGridPainter& p) { p.DrawPolyline({{3, 2}, {3, 2}}, 0, kBlack); },
         {"................", "................", "...K............", "................", "................",
          "................", "................", "................"}},
        {"polygon filled and outlined",
         [](CGridPainter& p) {
             p.FillPolygon({{1, 1}, {7, 1}, {7, 6}, {1, 6}}, kRed, std::nullopt);
             p.FillPolygon({{9, 1}, {14, 1}, {14, 6}, {9, 6}}, kBlue, kBlack);
         },
         {"................", ".RRRRRR..KKKKKK.", ".RRRRRR..KBBBBK.", ".RRRRRR..KBBBBK.", ".RRRRRR..KBBBBK.",
          ".RRRRRR..KBBBBK.", ".........KKKKKK.", "................"}},
        {"nested clips intersect, pops restore",
         [](CGridPainter& p) {
             p.PushClip({2, 2, 10, 6});
             p.FillRect({0, 0, 16, 8}, kRed);
             p.PushClip({6, 0, 16, 8});
             p.FillRect({0, 0, 16, 8}, kGreen);
             p.PopClip();
             p.FillRect({0, 0, 4, 8}, kBlue);
             p.PopClip();
             p.PopClip(); // one too many: harmless
             p.FillRect({0, 7, 16, 8}, kBlack);
         },
         {"................", "................", "..BBRRGGGG......", "..BBRRGGGG......", "..BBRRGGGG......",
          "..BBRRGGGG......", "................", "KKKKKKKKKKKKKKKK"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Render(c.draw), c.pixels) << c.what;
}

} // namespace
