// The Qt drawing surface on the pixels of a small image.

#include "grid/widget/cqtgridpainter.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00, kBlack = 0x000000;

// One scene for every primitive, each in its own corner: patterns anchored at their rectangle
// (clear bits left alone without a background), a 3-pixel polyline with flat ends, a thin one
// with both ends drawn, a point, polygons with and without an outline, and nested clips undone by their pops.
TEST(QtGridPainter, DrawsExactPixels)
{
    int argc = 1;
    char name[] = "painter-tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter p(painter);
        const CGridBitmap checker = CGridBitmap::FromRows(
            {"#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#", "#.#.#.#.", ".#.#.#.#"});
        p.FillPattern({1, 1, 4, 4}, checker, kRed, kBlue);
        p.FillPattern({4, 0, 8, 4}, checker, kGreen, std::nullopt);
        p.DrawPolyline({{9, 1}, {14, 1}}, 3, kBlack);
        p.DrawPolyline({{9, 4}, {12, 4}, {12, 6}}, 0, kBlack);
        p.DrawPolyline({{14, 6}, {14, 6}}, 0, kBlack);
        p.FillPolygon({{4, 5}, {7, 5}, {7, 7}, {4, 7}}, kBlue, kBlack);
        p.FillPolygon({{8, 5}, {11, 5}, {11, 8}, {8, 8}}, kRed, std::nullopt);
        p.PushClip({0, 5, 4, 8});
        p.PushClip({2, 0, 16, 8});
        p.FillRect({0, 0, 16, 8}, kGreen);
        p.PopClip();
        p.FillRect({0, 0, 2, 8}, kRed);
        p.PopClip();
        p.PopClip();
        p.FillRect({15, 0, 16, 8}, kBlack);
    }
    // Rows ended by '/': '.' white, 'R', 'B', 'G', 'K' (black), '?' anything else.
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
    EXPECT_EQ(rows, "....G.G..KKKKK.K/.RBR.G.G.KKKKK.K/.BRBG.G..KKKKK.K/.RBR.G.G.......K/"
                    ".........KKKK..K/RRGGKKKKRRR.K..K/RRGGKBBKRRR.K.KK/RRGGKKKKRRR....K/");
}

} // namespace
