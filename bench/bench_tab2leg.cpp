// The start-up conversion of a TAB legend table into legend files (100 rows a
// legend), against a baseline that reads the same table once into one legend:
// the conversion should stay a small multiple of that read however many
// legends the table holds, plus the legend files it saves.

#include "app/core/tabconversion.h"
#include "platform/cuserprompt.h"
#include "legend/cllegend.h"
#include "platform/csettingsstore.h"

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kRowsPerLegend = 100;

const fs::path& Root()
{
    static const fs::path root = [] {
        const fs::path r = fs::temp_directory_path() / "tessarin-bench-tab2leg";
        fs::remove_all(r);
        fs::create_directories(r / "config");
        fs::create_directories(r / "lut");
        // Settings of this run only, never the user's.
        ::setenv("XDG_CONFIG_HOME", (r / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (r / "config").c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((r / "config").string()));
        SetCommonSetting("LUT_PATH", (r / "lut").string() + "/");
        return r;
    }();
    return root;
}

const std::string& Table(int rows)
{
    static std::map<int, std::string> made;
    auto it = made.find(rows);
    if (it != made.end())
        return it->second;
    const std::string path = (Root() / ("t" + std::to_string(rows) + ".tab")).string();
    CLLLegend l;
    l.Clear();
    CLLRow r;
    for (int i = 0; i < rows; ++i) {
        r.from = i;
        r.to = i + 1;
        r.label = "legend " + std::to_string(i / kRowsPerLegend);
        r.fillColour = CGColor(static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu);
        r.pattern = 2;
        r.thickness = 1.0f;
        l.AddRow(r);
    }
    l.ExportTAB(path);
    return made.emplace(rows, path).first->second;
}

void BM_ReadTableOnce(benchmark::State& state)
{
    const std::string& tab = Table(static_cast<int>(state.range(0)));
    CStderrPrompt prompt;
    for (auto _ : state) {
        CLLLegend all;
        all.ImportTAB(tab, "", 0, prompt);
        benchmark::DoNotOptimize(all.GetRowCount());
    }
}

void BM_ConvertTABToLEG(benchmark::State& state)
{
    const std::string& tab = Table(static_cast<int>(state.range(0)));
    CStderrPrompt prompt;
    for (auto _ : state) {
        const CTabConversion result = ConvertTABToLEG(tab, false, prompt);
        benchmark::DoNotOptimize(result.written.size());
    }
}

} // namespace

BENCHMARK(BM_ReadTableOnce)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertTABToLEG)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertTABToLEG)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
