// SPDX-License-Identifier: GPL-3.0-or-later
// Composing the whole calculation document, for an ordinary corner and for the largest division
// count the program accepts, and writing it to PDF.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace tovanel;

CalcState Corner(int type, double n)
{
    CalcState s;
    InitConstants(s);
    DefaultSettings(s);
    s.CurveIn[kBP][kX] = 0;
    s.CurveIn[kBP][kY] = 0;
    s.CurveIn[kIP][kX] = 100;
    s.CurveIn[kIP][kY] = 100;
    s.CurveIn[kEP][kX] = 0;
    s.CurveIn[kEP][kY] = 200;
    s.CurveIn[kIP][kRadius] = 100;
    s.CurveIn[kIP][kWidthIn] = 3;
    s.CurveIn[kIP][kWidthOut] = 3;
    s.IPNo = [] { return QStringLiteral("12"); };
    s.CalcType = static_cast<int16_t>(type);
    s.CalcTypeName = QStringLiteral("外接");
    s.DivCount = n;
    Listing listing;
    if (!S_CRT(s, listing).isEmpty()) std::abort();
    return s;
}

// Type 2 (every kind a polygon) lists the most rows.
void Compose(benchmark::State& st)
{
    const CalcState base = Corner(2, static_cast<double>(st.range(0)));
    PageLayout pl;
    for (auto _ : st) {
        CalcState s = base;
        if (!ComposeDocument(s, pl).isEmpty()) std::abort();
        benchmark::DoNotOptimize(pl.pageCount());
    }
    st.counters["pages"] = pl.pageCount();
}
BENCHMARK(Compose)->Arg(8)->Arg(kMaxDivCount)->Unit(benchmark::kMillisecond);

void WritePdf(benchmark::State& st)
{
    CalcState s = Corner(2, static_cast<double>(st.range(0)));
    PageLayout pl;
    if (!ComposeDocument(s, pl).isEmpty()) std::abort();
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    for (auto _ : st) {
        if (!pl.writePdf(path).isEmpty()) std::abort();
    }
    st.counters["pages"] = pl.pageCount();
}
BENCHMARK(WritePdf)->Arg(8)->Arg(kMaxDivCount)->Unit(benchmark::kMillisecond);

}  // namespace
