// From process start to the main window shown (offscreen, its picture written)
// with 1,000 legends in the legend folder, beside `tessarin-cli list` over the
// same folders in the same run. The goal: under 0.5 s, and within 3 x the list
// alone — start-up should cost little beyond finding the legends.
//
// The editor is timed with "--screenshot": the time includes encoding and
// writing its picture (a few milliseconds) and leaves out the single-instance
// check, which a screenshot skips (one local socket connect when it runs).
//
// The programs are looked for in $TESSARIN_BIN_DIR, in the build's bin folder
// beside this program's folder, and beside this program itself.

#include "legend/cllegend.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

constexpr int kLegends = 1000;
constexpr int kClasses = 20;

// A private folder of this run, so that two runs at once keep their own data;
// main() removes it at the end.
const fs::path& Root()
{
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "tessarin-bench-startup-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::fprintf(stderr, "cannot make a folder %s: %s\n", pattern.c_str(), std::strerror(errno));
            std::exit(1);
        }
        const fs::path r = pattern;
        fs::create_directories(r / "config" / "Ferrolin");
        fs::create_directories(r / "run");
        fs::create_directories(r / "legends");
        // A legend as a host writes one: 20 classes, nothing else.
        CLLLegend legend;
        legend.Clear();
        legend.m_Name = "Bench grades";
        for (int i = 0; i < kClasses; ++i)
            legend.AddRow(CLLRow{.label = "class " + std::to_string(i), .from = i * 10.0, .to = i * 10.0 + 10});
        for (int i = 0; i < kLegends; ++i)
            legend.WriteLEG((r / "legends" / ("legend" + std::to_string(i) + ".leg")).string());
        std::ofstream((r / "config" / "Ferrolin" / "Common.conf"))
            << "[General]\nLUT_PATH=" << (r / "legends").string() << "/\n";
        ::setenv("XDG_CONFIG_HOME", (r / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (r / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (r / "run").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return r;
    }();
    return root;
}

// The first candidate that can be run; else the one most likely meant, so the
// error names where it was looked for.
std::string Binary(const std::string& name)
{
    std::vector<fs::path> candidates;
    if (const char* dir = std::getenv("TESSARIN_BIN_DIR"); dir && *dir)
        candidates.push_back(fs::path(dir) / name);
    std::error_code ec;
    const fs::path self = fs::canonical("/proc/self/exe", ec);
    if (!ec) {
        candidates.push_back(self.parent_path().parent_path() / "bin" / name);
        candidates.push_back(self.parent_path() / name);
    }
    for (const fs::path& candidate : candidates)
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    return candidates.empty() ? name : candidates.front().string();
}

void Run(benchmark::State& state, const std::vector<std::string>& command)
{
    Root();
    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ); error != 0) {
            state.SkipWithError(("cannot start " + command[0] + ": " + std::strerror(error) +
                                 " (set TESSARIN_BIN_DIR to the folder of the programs)")
                                    .c_str());
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("exit status " + std::to_string(status) + " of " + command[0]).c_str());
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void BM_ListLegends(benchmark::State& state)
{
    Run(state, {Binary("tessarin-cli"), "list"});
}

void BM_StartEditor(benchmark::State& state)
{
    Run(state, {Binary("tessarin"), "--screenshot", (Root() / "window.png").string()});
}

// After the usual table: the editor's start against the goals, judged on the
// median of the runs, since one start on a busy machine can take twice as long.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                m_Seconds[r.run_name.function_name].push_back(r.GetAdjustedRealTime() / 1000.0); // reported in ms
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const std::optional<double> list = Median("BM_ListLegends"), editor = Median("BM_StartEditor");
        if (editor)
            std::printf("editor start = %.3f s, median of %zu (goal: under 0.5 s)\n", *editor,
                        m_Seconds["BM_StartEditor"].size());
        if (list && editor && *list > 0)
            std::printf("editor start / list = %.2f, medians (goal: at most 3)\n", *editor / *list);
    }

private:
    std::optional<double> Median(const std::string& name)
    {
        std::vector<double>& times = m_Seconds[name];
        if (times.empty())
            return std::nullopt;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }
    std::map<std::string, std::vector<double>> m_Seconds;
};

} // namespace

// Each start timed on its own, kRuns times, so the goals are judged on a median.
constexpr int kRuns = 5;
BENCHMARK(BM_ListLegends)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(kRuns);
BENCHMARK(BM_StartEditor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(kRuns);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Root(), ec);
    return 0;
}
