// SPDX-License-Identifier: GPL-3.0-or-later
// Composing the whole calculation document, for an ordinary corner and for the largest division
// count the program accepts, and writing it to PDF.

#include "calc/corner.h"
#include "calc/settings.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace tovanel;

const Settings kSettings = DefaultSettings();

Corner TypedCorner(int type, double n)
{
    Corner k;
    k.in = {0, 0, 100, 100, 0, 200, 100, 3, 3, static_cast<int16_t>(type), n, QStringLiteral("12"), {}, {}, {}};
    Listing listing;
    if (!S_CRT(k.in, kSettings, k.el, listing).isEmpty()) std::abort();
    return k;
}

// Type 2 (every kind a polygon) lists the most rows.
void Compose(benchmark::State& st)
{
    const Corner k = TypedCorner(2, static_cast<double>(st.range(0)));
    PageLayout pl;
    for (auto _ : st) {
        if (!ComposeDocument(k, kSettings, pl).refusal.isEmpty()) std::abort();
        benchmark::DoNotOptimize(pl.pageCount());
    }
    st.counters["pages"] = pl.pageCount();
}
BENCHMARK(Compose)->Arg(8)->Arg(kMaxDivCount)->Unit(benchmark::kMillisecond);

void WritePdf(benchmark::State& st)
{
    const Corner k = TypedCorner(2, static_cast<double>(st.range(0)));
    PageLayout pl;
    if (!ComposeDocument(k, kSettings, pl).refusal.isEmpty()) std::abort();
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    for (auto _ : st) {
        if (!pl.writePdf(path).isEmpty()) std::abort();
    }
    st.counters["pages"] = pl.pageCount();
}
BENCHMARK(WritePdf)->Arg(8)->Arg(kMaxDivCount)->Unit(benchmark::kMillisecond);

}  // namespace
