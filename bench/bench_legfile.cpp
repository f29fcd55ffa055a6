// Reading and writing a 100,000-row legend, against a baseline that only splits
// the same file into lines and converts the same numbers with strtod/strtol.

#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "platform/cmemorypolicy.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace {

constexpr int kRows = 100000;

const std::string& SamplePath()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "tessarin-bench-100k.leg").string();
        CLLLegend l;
        l.Clear();
        l.m_Name = "bench";
        CLLRow r;
        for (int i = 0; i < kRows; ++i) {
            r.from = i * 0.5;
            r.to = i * 0.5 + 0.5;
            r.label = "class " + std::to_string(i);
            r.fillColour = CGColor(static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu);
            r.backTransparent = (i % 3) == 0;
            r.pattern = i % 40;
            r.lineColour = CGColor(static_cast<uint32_t>(i * 40503u) & 0xFFFFFFu);
            r.lineStyle = i % 7;
            r.thickness = 1.0f + static_cast<float>(i % 4) * 0.25f;
            r.comment = (i % 10) == 0 ? "every tenth row has a comment" : "";
            l.AddRow(r);
        }
        l.WriteLEG(p);
        return p;
    }();
    return path;
}

void BM_ReadLEG(benchmark::State& state)
{
    const std::string& path = SamplePath();
    for (auto _ : state) {
        CLLLegend l;
        l.ReadLEG(path);
        if (l.GetRowCount() != kRows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(l.m_From.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_Baseline_SplitAndConvert(benchmark::State& state)
{
    const std::string& path = SamplePath();
    for (auto _ : state) {
        std::string data;
        CFileIO::ReadAll(path, data);
        double sum = 0.0;
        long count = 0;
        const char* p = data.c_str();
        while (*p) {
            const char* eol = std::strchr(p, '\n');
            if (!eol)
                eol = p + std::strlen(p);
            if (p[0] == '\t' && p[1] == '\t') {
                char* q = nullptr;
                sum += std::strtod(p, &q);
                sum += std::strtod(q, &q);
                const char* quote = std::strchr(std::strchr(q, '"') + 1, '"');
                q = const_cast<char*>(quote + 1);
                for (int k = 0; k < 5; ++k)
                    sum += static_cast<double>(std::strtol(q, &q, 10));
                sum += std::strtod(q, &q);
                ++count;
            }
            p = *eol ? eol + 1 : eol;
        }
        if (count != kRows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_WriteLEG(benchmark::State& state)
{
    CLLLegend l;
    l.ReadLEG(SamplePath());
    const std::string out = (std::filesystem::temp_directory_path() / "tessarin-bench-out.leg").string();
    for (auto _ : state) {
        if (!l.WriteLEG(out))
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    std::remove(out.c_str());
}

BENCHMARK(BM_Baseline_SplitAndConvert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLEG)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLEG)->Unit(benchmark::kMillisecond);

// Prints the reader's speed as a share of the baseline's after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // Plain runs, or the median when repetitions are asked for.
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                m_Time[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto base = m_Time.find("BM_Baseline_SplitAndConvert");
        const auto read = m_Time.find("BM_ReadLEG");
        if (base != m_Time.end() && read != m_Time.end() && read->second > 0)
            std::printf("reader speed / baseline speed = %.2f (goal: at least 0.50)\n",
                        base->second / read->second);
    }

private:
    std::map<std::string, double> m_Time;
};

} // namespace

int main(int argc, char** argv)
{
    // Measure as the programs run: with the allocator keeping freed memory.
    // "--cold-memory" measures with the default policy instead, where every
    // iteration pays the first-touch page faults of a fresh document.
    bool cold = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--cold-memory")
            cold = true;
    if (!cold)
        CMemoryPolicy::PreferReuse();
    std::printf("allocator policy: %s\n", cold ? "default (cold memory)" : "programs' (memory reused)");
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::remove(SamplePath().c_str());
    return 0;
}
