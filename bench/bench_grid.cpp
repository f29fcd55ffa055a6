// Painting cost of the grid: a full repaint of a 30-row by 11-column viewport
// over a 100,000-row grid, and one scroll step followed by a repaint. The
// baseline is filling the same viewport rectangle once, measured in the same
// process, so the "x_fill" counter reads as "costs this many plain fills".

#include "benchview.h"
#include "grid/cgridctrl.h"
#include "grid/widget/cqtgridpainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "benchgui.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 11;
constexpr int kRowHeight = 20;
constexpr int kColWidth = 60;
constexpr int kViewportWidth = kCols * kColWidth;
constexpr int kViewportHeight = 30 * kRowHeight; // header row plus 29 data rows

struct CBenchGrid {
    CGridCtrl grid;
    CBenchView view{kViewportWidth, kViewportHeight};
    QImage image{kViewportWidth, kViewportHeight, QImage::Format_ARGB32_Premultiplied};

    CBenchGrid()
    {
        grid.SetView(&view);
        grid.SetRowCount(kRows + 1);
        grid.SetColumnCount(kCols);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        for (int col = 0; col < kCols; ++col)
            grid.SetColumnWidth(col, kColWidth);
        for (int row = 0; row <= kRows; ++row) {
            grid.SetRowHeight(row, kRowHeight);
            grid.SetItemText(row, 0, std::to_string(row));
            for (int col = 1; col < kCols; ++col)
                grid.SetItemText(row, col, std::to_string(row * 37 + col) + ".25");
        }
        grid.SetFocusCell(5, 3);
        grid.SetSelectedRange(5, 2, 9, 4);
        grid.SortItems(1, true); // draws the sort triangle; the data is already in order
        grid.SetFocusCell(5, 3);
        grid.SetSelectedRange(5, 2, 9, 4);
    }
    void Paint()
    {
        QPainter painter(&image);
        CQtGridPainter gridPainter(painter);
        grid.OnDraw(gridPainter);
    }
};

CBenchGrid& Bench()
{
    static CBenchGrid bench;
    return bench;
}

void FillViewport(QImage& image)
{
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, kViewportWidth, kViewportHeight), QColor(255, 255, 255));
}

double FillSeconds()
{
    static const double seconds = [] {
        QImage image(kViewportWidth, kViewportHeight, QImage::Format_ARGB32_Premultiplied);
        const int rounds = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i)
            FillViewport(image);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    }();
    return seconds;
}

void ReportRatio(benchmark::State& state, double seconds)
{
    state.counters["x_fill"] = seconds / FillSeconds();
    state.counters["ms"] = seconds * 1000.0;
}

void BM_FillViewportBaseline(benchmark::State& state)
{
    QImage image(kViewportWidth, kViewportHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        FillViewport(image);
}
BENCHMARK(BM_FillViewportBaseline);

void BM_FullRepaint(benchmark::State& state)
{
    CBenchGrid& bench = Bench();
    bench.grid.SetScrollPos(true, 50000 * kRowHeight);
    bench.Paint();
    const auto start = std::chrono::steady_clock::now();
    int64_t rounds = 0;
    for (auto _ : state) {
        bench.Paint();
        ++rounds;
    }
    ReportRatio(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_ScrollStepAndRepaint(benchmark::State& state)
{
    CBenchGrid& bench = Bench();
    bench.grid.SetScrollPos(true, 50000 * kRowHeight);
    const auto start = std::chrono::steady_clock::now();
    int64_t rounds = 0;
    for (auto _ : state) {
        // Down one line, and back up every so often so the view stays mid-grid.
        bench.grid.ScrollLines(true, (rounds % 200) < 100 ? 1 : -1);
        bench.Paint();
        ++rounds;
    }
    ReportRatio(state, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds);
}
BENCHMARK(BM_ScrollStepAndRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    RunBenchmarksWithGui(argc, argv);
    return 0;
}
