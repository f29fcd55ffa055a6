// From process start to the main window shown (offscreen, its picture written)
// with 1,000 legends in the legend folder, beside `tessarin-cli list` over the
// same folders in the same run. The goal: under 0.5 s, and within 3 x the list
// alone — start-up should cost little beyond finding the legends.

#include "legend/cllegend.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

constexpr int kLegends = 1000;

const fs::path& Root()
{
    static const fs::path root = [] {
        const fs::path r = fs::temp_directory_path() / "tessarin-bench-startup";
        fs::remove_all(r);
        fs::create_directories(r / "config" / "Ferrolin");
        fs::create_directories(r / "run");
        fs::create_directories(r / "legends");
        CLLLegend legend;
        legend.SetDefault();
        for (int i = 0; i < 20; ++i)
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

std::string Binary(const std::string& name)
{
    return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / name).string();
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
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start the program");
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

} // namespace

BENCHMARK(BM_ListLegends)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartEditor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
