// Painting the line style chooser's 24 samples from a pen file of 200 styles
// through the parse cache, against the same samples each read from the file
// afresh (as a renderer without the cache would), measured in the same
// process: "x_uncached" below 1 is what the cache saves per paint.

#include "grid/widget/cqtgridpainter.h"
#include "pickers/core/clinestylechooser.h"
#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"
#include "platform/cfileio.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "benchgui.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

// 200 styles of three strokes: dashes, ticks and a filled arrow at the end.
std::string MakePenFile()
{
    const std::string path =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/tessarin-bench-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".pen";
    const int styles = 200;
    std::string bytes = "PEN2";
    bytes += std::string{0, 0, char(styles & 0xFF), char(styles >> 8)};
    const std::string record = std::string{3, 0, 0} + std::string{4, 2, 5, 3, 5} +
                               std::string{4, 4, 0x22, 3, 7} +
                               std::string{9, 15, 16, 0, 2, 4, 17, -6, 0, 1};
    const size_t first = 8 + 2 * styles;
    for (int i = 0; i < styles; ++i) {
        const size_t at = first + record.size() * static_cast<size_t>(i);
        bytes += char(at & 0xFF);
        bytes += char(at >> 8);
    }
    for (int i = 0; i < styles; ++i)
        bytes += record;
    CFileIO::WriteAtomically(path, bytes);
    return path;
}

const std::string& PenPath()
{
    static const std::string path = MakePenFile();
    return path;
}

template <class Draw>
double SecondsPerPaint(benchmark::State& state, Draw draw)
{
    QImage image(231, 158, QImage::Format_ARGB32_Premultiplied);
    const auto start = std::chrono::steady_clock::now();
    int64_t rounds = 0;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        for (int row = 0; row < LineStyleGrid::VisibleRows; ++row)
            for (int column = 0; column < LineStyleGrid::Columns; ++column) {
                const CGridPoint at = LineStyleGrid::CellOrigin(column, row);
                draw(surface, LineStyleGrid::StyleInCell(column, row, 3), at.x + 5, at.y);
            }
        ++rounds;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           double(rounds);
}

double UncachedSeconds(benchmark::State* state = nullptr)
{
    static double seconds = 0;
    if (state)
        seconds = SecondsPerPaint(*state, [](CGridPainter& surface, int style, int x, int y) {
            DrawLineStyle(surface, style, CPenFile::Read(PenPath()), x, y, 64, 16, 0);
        });
    return seconds;
}

void BM_ChooserPaintReadingEachSample(benchmark::State& state)
{
    state.counters["ms"] = UncachedSeconds(&state) * 1000.0;
}
BENCHMARK(BM_ChooserPaintReadingEachSample)->Unit(benchmark::kMicrosecond);

void BM_ChooserPaintCached(benchmark::State& state)
{
    const double seconds =
        SecondsPerPaint(state, [](CGridPainter& surface, int style, int x, int y) {
            DrawLineStyle(surface, style, PenPath(), x, y, 64, 16, 0);
        });
    state.counters["ms"] = seconds * 1000.0;
    if (UncachedSeconds() > 0)
        state.counters["x_uncached"] = seconds / UncachedSeconds();
}
BENCHMARK(BM_ChooserPaintCached)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    RunBenchmarksWithGui(argc, argv);
    CFileIO::Remove(PenPath());
    return 0;
}
