#pragma once
// Runs the benchmarks of a program that draws: drawing text needs a GUI
// application, and the offscreen platform needs no display.

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

inline void RunBenchmarksWithGui(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
