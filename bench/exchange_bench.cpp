// SPDX-License-Identifier: GPL-3.0-or-later
// A point file of 100 000 points: reading it (decoding included), and filtering the point list
// as the user types, both of which must feel instant.

#include "district/pointpicker.h"
#include "calc/settingsfile.h"
#include "exchange/pointfile.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace tovanel;

constexpr int kPoints = 100000;

QByteArray BigFile(bool sima)
{
    QString text = sima ? QStringLiteral("G00,01,site,\r\nZ00,座標ﾃﾞｰﾀ,\r\nA00,\r\n") : QStringLiteral("点番号,点名,X,Y\r\n");
    const QString kinds[] = {"T", "K", "境界", "NO.", "表ソ"};
    for (qint64 i = 1; i <= kPoints; ++i) {
        const QString line = QStringLiteral("%1,%2%3,%4,%5")
                                 .arg(i)
                                 .arg(kinds[i % 5])
                                 .arg(i)
                                 .arg(-45000.0 + (i * 7919 % 90000) + 0.123, 0, 'f', 3)
                                 .arg(-45000.0 + (i * 104729 % 90000) + 0.456, 0, 'f', 3);
        text += sima ? QStringLiteral("A01,") + line + QStringLiteral(",,\r\n") : line + QStringLiteral("\r\n");
    }
    if (sima) text += QStringLiteral("A99,\r\n");
    QByteArray bytes;
    if (!EncodeCp932(text, bytes)) std::abort();
    return bytes;
}

void ReadSimaFile(benchmark::State& state)
{
    const QByteArray bytes = BigFile(state.range(0) == 1);
    for (auto _ : state) {
        PointFileRead r = ReadPointFile(bytes);
        if (r.points.size() != kPoints) std::abort();
        benchmark::DoNotOptimize(r);
    }
    state.SetLabel(state.range(0) == 1 ? "SIMA, CP932" : "CSV, CP932");
}
BENCHMARK(ReadSimaFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void FilterPointList(benchmark::State& state)
{
    const std::vector<FilePoint> points = ReadPointFile(BigFile(true)).points;
    PointListModel model(points);
    const QString typed[] = {QStringLiteral("境"), QStringLiteral("境界1"), QStringLiteral("no.9999"), QString()};
    for (auto _ : state)
        for (const QString& t : typed) model.setFilter(t);
    state.SetLabel("4 filters over 100 000 points");
}
BENCHMARK(FilterPointList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
