// Cost of the legend spreadsheet against a plain grid of the same size, in the
// same process: filling the spreadsheet from a 100,000-row legend against
// setting the same number of cell texts in a plain CGridCtrl ("x_plain"), and
// a full repaint of a viewport whose swatch, pattern and line-sample cells are
// drawn (the line samples by the pen file renderer over the sample pen file's
// styles), against the repaint of the plain grid. Painting goes to a painter
// that only counts calls, so the figures are the spreadsheet's own work.

#include "app/sheet/cmygridctrl.h"
#include "app/sheet/cpenfilesampler.h"
#include "benchview.h"
#include "pickers/core/cpenfile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kViewportWidth = 700;
constexpr int kViewportHeight = 30 * CMyGridCtrl::RowHeight;

class CCountingPainter : public CGridPainter {
public:
    void FillRect(const CGridRect&, uint32_t) override { ++calls; }
    void FrameRect(const CGridRect&, uint32_t) override { ++calls; }
    void DrawLine(int, int, int, int, uint32_t) override { ++calls; }
    void DrawText(const CGridRect&, const std::string& text, uint32_t, uint32_t,
                  const CGridFont&) override
    {
        calls += 1 + static_cast<int64_t>(text.size() & 1);
    }
    CGridSize TextExtent(const CGridFont&, const std::string& text) override
    {
        return {static_cast<int>(text.size()) * 7, 14};
    }
    void FillPattern(const CGridRect&, const CGridBitmap&, uint32_t,
                     std::optional<uint32_t>) override
    {
        ++calls;
    }
    void DrawPolyline(const std::vector<CGridPoint>& points, int, uint32_t) override
    {
        calls += static_cast<int64_t>(points.size());
    }
    void FillPolygon(const std::vector<CGridPoint>&, uint32_t, std::optional<uint32_t>) override
    {
        ++calls;
    }
    void PushClip(const CGridRect&) override { ++calls; }
    void PopClip() override { ++calls; }
    int64_t calls = 0;
};

// The line styles are drawn by the real renderer from the sample pen file.
const std::string& PenFile()
{
    static const std::string path = TESSARIN_SAMPLES_DIR "/CARTORAW.PEN";
    return path;
}

int PenStyleCount()
{
    static const int count = [] {
        const int styles = CPenFile::Read(PenFile()).StyleCount();
        if (styles < 2) {
            std::fprintf(stderr, "%s has no line styles to draw\n", PenFile().c_str());
            std::exit(1);
        }
        return styles;
    }();
    return count;
}

const CLLLegend& Legend()
{
    static const CLLLegend legend = [] {
        const int styles = PenStyleCount();
        CLLLegend l;
        l.Clear();
        l.ReserveRows(kRows);
        for (int i = 0; i < kRows; ++i) {
            l.AddRow({.label = "unit " + std::to_string(i),
                      .from = i * 2.5,
                      .to = (i + 1) * 2.5,
                      .fillColour = CGColor(static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu),
                      .backColour = CGColor(0xFFFFFFu),
                      .fillTransparent = i % 7 == 0,
                      .backTransparent = i % 3 == 0,
                      .pattern = i % 5,
                      .lineColour = CGColor(static_cast<uint32_t>(i) & 0xFFFFFFu),
                      .lineStyle = i % styles,
                      .thickness = 1.5f,
                      .comment = i % 2 ? "checked" : ""},
                     CLLLegend::RowValues::OfDataType);
        }
        return l;
    }();
    return legend;
}

void FillPlain(CGridCtrl& grid)
{
    const CLLLegend& legend = Legend();
    grid.DeleteAllItems();
    grid.SetRowCount(kRows + 1);
    grid.SetColumnCount(11);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int c = 0; c < 11; ++c)
        grid.SetColumnWidth(c, 60);
    for (int r = 1; r <= kRows; ++r) {
        grid.SetRowHeight(r, CMyGridCtrl::RowHeight);
        grid.SetItemText(r, 0, std::to_string(r));
        grid.SetItemText(r, 3, legend.m_Labels[static_cast<size_t>(r - 1)]);
        for (int c : {1, 2, 4, 5, 6, 7, 8, 9, 10})
            grid.SetItemText(r, c, std::to_string(r * 37 + c));
    }
}

struct CSheetBench {
    CBenchView view{kViewportWidth, kViewportHeight, 7};
    CMyGridCtrl sheet;
    CPenFileSampler sampler{[] { return PenFile(); }};
    CSheetBench()
    {
        sheet.SetView(&view);
        sheet.SetQuarvexOrStrativ(true); // the line style column is shown
        sheet.SetLineStyleSampler(&sampler);
        for (int n = 1; n < 5; ++n)
            sheet.Patterns().Set(
                n, CGridBitmap::FromRows({"#...#...", ".#.#.#.#", "..#...#.", ".#.#.#.#"}));
    }
};

struct CPlainBench {
    CBenchView view{kViewportWidth, kViewportHeight, 7};
    CGridCtrl grid;
    CPlainBench() { grid.SetView(&view); }
};

double SecondsOf(int rounds, const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

double PlainFillSeconds()
{
    static const double seconds = [] {
        CPlainBench plain;
        FillPlain(plain.grid);
        return SecondsOf(3, [&plain] { FillPlain(plain.grid); });
    }();
    return seconds;
}

double PlainPaintSeconds()
{
    static const double seconds = [] {
        CPlainBench plain;
        FillPlain(plain.grid);
        plain.grid.SetScrollPos(true, 50000 * CMyGridCtrl::RowHeight);
        CCountingPainter painter;
        return SecondsOf(200, [&] { plain.grid.OnDraw(painter); });
    }();
    return seconds;
}

void BM_FillFromLegend(benchmark::State& state)
{
    CSheetBench bench;
    const double baseline = PlainFillSeconds();
    const auto start = std::chrono::steady_clock::now();
    int64_t rounds = 0;
    for (auto _ : state) {
        bench.sheet.FillFromLegend(Legend());
        ++rounds;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    state.counters["x_plain"] = seconds / baseline;
    state.counters["ms"] = seconds * 1000.0;
}
BENCHMARK(BM_FillFromLegend)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FullRepaint(benchmark::State& state)
{
    CSheetBench bench;
    bench.sheet.FillFromLegend(Legend());
    bench.sheet.SetScrollPos(true, 50000 * CMyGridCtrl::RowHeight);
    const double baseline = PlainPaintSeconds();
    CCountingPainter painter;
    const auto start = std::chrono::steady_clock::now();
    int64_t rounds = 0;
    for (auto _ : state) {
        bench.sheet.OnDraw(painter);
        ++rounds;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    state.counters["x_plain"] = seconds / baseline;
    state.counters["us"] = seconds * 1e6;
    state.counters["calls"] = static_cast<double>(painter.calls / rounds);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
