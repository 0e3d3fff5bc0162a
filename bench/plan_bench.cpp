// SPDX-License-Identifier: GPL-3.0-or-later
// The plan drawing of a district of 1,000 corners: every row computed with its stake points,
// fitted and painted once (what opening a table costs besides reading it); one row changed and
// the window repainted (an edit); frames of zoom and pan at three zooms.

#include "calc/settingsfile.h"
#include "plan/plan.h"
#include "plan/planview.h"

#include "../tests/plan/district.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace tovanel;

const Settings kSettings = DefaultSettings();
constexpr int kCorners = 1000;
const QSize kScreen(1600, 1000);

std::vector<PlanCorner> Corners()
{
    std::vector<PlanCorner> out;
    for (const CornerInput& in : test::District(kCorners)) out.push_back(PlanCornerOf(in, kSettings));
    return out;
}

void OpenAndDraw(benchmark::State& st)
{
    const std::vector<CornerInput> inputs = test::District(kCorners);
    QImage image(kScreen, QImage::Format_RGB32);
    for (auto _ : st) {
        std::vector<PlanCorner> corners;
        corners.reserve(inputs.size());
        for (const CornerInput& in : inputs) corners.push_back(PlanCornerOf(in, kSettings));
        QPainter p(&image);
        PaintPlan(p, corners, FitAll(corners, QSizeF(kScreen)), {});
    }
}
BENCHMARK(OpenAndDraw)->Unit(benchmark::kMillisecond);

void ComputeRows(benchmark::State& st)
{
    const std::vector<CornerInput> inputs = test::District(kCorners);
    for (auto _ : st)
        for (const CornerInput& in : inputs) benchmark::DoNotOptimize(PlanCornerOf(in, kSettings));
}
BENCHMARK(ComputeRows)->Unit(benchmark::kMillisecond);

// One cell edited: its row recomputed, handed to the view, the view painted whole (at the
// fitted zoom, every corner in view, and at a mid zoom).
void EditRow(benchmark::State& st)
{
    PlanView view;
    view.resize(kScreen);
    view.setCorners(Corners());
    view.setViewport([&] {
        PlanViewport v = view.viewport();
        v.pixelsPerMetre *= static_cast<double>(st.range(0));
        return v;
    }());
    QImage image(kScreen, QImage::Format_RGB32);
    std::vector<CornerInput> inputs = test::District(kCorners);
    int i = 0;
    for (auto _ : st) {
        const int row = (i++ * 7) % kCorners;
        CornerInput& in = inputs[static_cast<size_t>(row)];
        in.Radius += 0.5;
        view.setCorner(row, PlanCornerOf(in, kSettings));
        view.render(&image);
    }
}
BENCHMARK(EditRow)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// One frame of a zoom or pan: the whole district (fitted), a mid zoom (a tenth of it across),
// near (one street corner across, names shown).
void Frame(benchmark::State& st)
{
    const std::vector<PlanCorner> corners = Corners();
    QImage image(kScreen, QImage::Format_RGB32);
    PlanViewport v = FitAll(corners, QSizeF(kScreen));
    v.pixelsPerMetre *= static_cast<double>(st.range(0));
    int frame = 0;
    for (auto _ : st) {
        v.centre += QPointF(3 / v.pixelsPerMetre, (frame++ % 2 ? 2 : -2) / v.pixelsPerMetre);  // panning
        QPainter p(&image);
        PaintPlan(p, corners, v, {5});
    }
    st.counters["ppm"] = v.pixelsPerMetre;
}
BENCHMARK(Frame)->Arg(1)->Arg(10)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace
