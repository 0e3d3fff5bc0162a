// SPDX-License-Identifier: GPL-3.0-or-later
// Corner tables: reading a line, a run of 100 000 corners to their elements, and the calculation
// document of 100 corners.

#include "batch/batchrun.h"
#include "batch/cornertable.h"
#include "calc/corner.h"
#include "calc/settings.h"
#include "calc/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace tovanel;

/// Corner k of a table of ordinary street corners: the IP on a grid, tangents of 20..80 m
/// turning by 30..150 degrees either way, radii of 5..15 m, every type, counts left open.
QByteArray CornerLine(int k)
{
    const double turn = (30 + (k * 37) % 120) * (k % 2 ? 1 : -1) * M_PI / 180;
    const double az = (k * 53 % 360) * M_PI / 180;
    const double ix = -45000.0 + (k * 7919 % 90000) + 0.123, iy = -45000.0 + (k * 104729 % 90000) + 0.456;
    const double back = 20 + k % 60, ahead = 20 + (k * 7) % 60;
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,\r\n")
        .arg(k)
        .arg(ix - back * std::cos(az), 0, 'f', 3)
        .arg(iy - back * std::sin(az), 0, 'f', 3)
        .arg(ix, 0, 'f', 3)
        .arg(iy, 0, 'f', 3)
        .arg(ix + ahead * std::cos(az + turn), 0, 'f', 3)
        .arg(iy + ahead * std::sin(az + turn), 0, 'f', 3)
        .arg(5 + k % 11)
        .arg(k % 4)
        .arg(k % 3)
        .arg(k % 4)
        .toLatin1();
}

QString Table(const QTemporaryDir& dir, int corners)
{
    const QString path = dir.filePath(QStringLiteral("table%1.csv").arg(corners));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    f.write("IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,R,内幅員,外幅員,計算方式,分割数\r\n");
    for (int k = 1; k <= corners; ++k) f.write(CornerLine(k));
    return path;
}


void ParseLine(benchmark::State& st)
{
    const QByteArray line = CornerLine(12345).chopped(2);
    for (auto _ : st) benchmark::DoNotOptimize(ReadTableLine(line, TableForm{TextEncoding::Cp932}, 2, false));
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(ParseLine);

/// A run of a table of st.range(0) corners into the given output.
void Run(benchmark::State& st, QString BatchOutputs::*output, const char* file)
{
    QTemporaryDir dir;
    const QString table = Table(dir, static_cast<int>(st.range(0)));
    const Settings settings = DefaultSettings();
    BatchOutputs out;
    out.*output = dir.filePath(QString::fromLatin1(file));
    for (auto _ : st)
        if (RunBatch(table, settings, out).done != st.range(0)) std::abort();
    st.SetItemsProcessed(st.iterations() * st.range(0));
}
BENCHMARK_CAPTURE(Run, Elements, &BatchOutputs::elements, "elements.csv")
    ->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(Run, Document, &BatchOutputs::pdf, "sheets.pdf")
    ->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
