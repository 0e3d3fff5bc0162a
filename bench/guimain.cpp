// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the benchmarks that compose and paint sheets: an offscreen application with the
// sheet fonts, then Google Benchmark.

#include "print/fonts.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tovanel::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
