// The Qt drawing surface on the pixels of small images: patterns, wide lines,
// polygons and nested clips.

#include "grid/widget/cqtgridpainter.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kBlack = 0x000000;

// The 16 x 8 image, rows ended by '/': '.' white, 'R', 'B', 'G', 'K' (black), '?' anything else.
std::string Render(const std::function<void(CGridPainter&)>& draw)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        draw(surface);
    }
    const std::map<QRgb, char> names = {
        {0xFFFFFF, '.'}, {0xFF0000, 'R'}, {0x0000FF, 'B'}, {0x00FF00, 'G'}, {0x000000, 'K'}};
    std::string rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto it = names.find(image.pixel(x, y) & 0xFFFFFF);
            rows += it == names.end() ? '?' : it->second;
        }
        rows += '/';
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

    const std::pair<std::function<void(CGridPainter&)>, std::string> cases[] = {
        // Anchored at the rectangle and tiled, clear bits left alone; a background fills them.
        {[](CGridPainter& p) {
             p.FillPattern({2, 1, 15, 7}, kBlocks, kRed, std::nullopt);
             p.FillPattern({0, 0, 2, 8}, kChecker, kRed, kBlue);
         },
         "RB............../BRRRR.....RRR.../RBRRRR....RRRR../BRRRRR....RRRR../"
         "RBRRRR....RRRR../BR....RRRR....R./RB....RRRR....R./BR............../"},
        // 3 pixels wide, flat ends, centred on the points.
        {[](CGridPainter& p) {
             p.DrawPolyline({{2, 4}, {12, 4}}, 3, kGreen);
             p.DrawPolyline({{14, 0}, {14, 2}}, 3, kRed);
         },
         ".............RRR/.............RRR/................/..GGGGGGGGGG..../"
         "..GGGGGGGGGG..../..GGGGGGGGGG..../................/................/"},
        // A thin polyline, both ends drawn; one from a point to itself draws that pixel.
        {[](CGridPainter& p) {
             p.DrawPolyline({{1, 1}, {6, 1}, {6, 5}}, 0, kBlack);
             p.DrawPolyline({{3, 4}, {3, 4}}, 0, kBlack);
         },
         "................/.KKKKKK........./......K........./......K........./"
         "...K..K........./......K........./................/................/"},
        // Polygons filled, and filled and outlined.
        {[](CGridPainter& p) {
             p.FillPolygon({{1, 1}, {7, 1}, {7, 6}, {1, 6}}, kRed, std::nullopt);
             p.FillPolygon({{9, 1}, {14, 1}, {14, 6}, {9, 6}}, kBlue, kBlack);
         },
         "................/.RRRRRR..KKKKKK./.RRRRRR..KBBBBK./.RRRRRR..KBBBBK./"
         ".RRRRRR..KBBBBK./.RRRRRR..KBBBBK./.........KKKKKK./................/"},
        // Nested clips intersect, pops restore; one pop too many is harmless.
        {[](CGridPainter& p) {
             p.PushClip({2, 2, 10, 6});
             p.FillRect({0, 0, 16, 8}, kRed);
             p.PushClip({6, 0, 16, 8});
             p.FillRect({0, 0, 16, 8}, kGreen);
             p.PopClip();
             p.FillRect({0, 0, 4, 8}, kBlue);
             p.PopClip();
             p.PopClip();
             p.FillRect({0, 7, 16, 8}, kBlack);
         },
         "................/................/..BBRRGGGG....../..BBRRGGGG....../"
         "..BBRRGGGG....../..BBRRGGGG....../................/KKKKKKKKKKKKKKKK/"},
    };
    for (const auto& [draw, pixels] : cases)
        EXPECT_EQ(Render(draw), pixels);
}

} // namespace
