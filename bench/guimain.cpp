// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the benchmarks that compose and paint sheets or windows: an offscreen application
// (with widgets when TOVANEL_BENCH_WIDGETS is defined) with the sheet fonts, then Google Benchmark.

#include "print/fonts.h"

#ifdef TOVANEL_BENCH_WIDGETS
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QGuiApplication>
using BenchApplication = QGuiApplication;
#endif
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication app(argc, argv);
    tovanel::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
