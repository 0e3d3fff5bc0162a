// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one corner: the full element computation, and choosing a large division count.

#include "calc/curve.h"
#include "calc/listing.h"

#include <benchmark/benchmark.h>

using namespace tovanel;

namespace {

struct Trial {
    CornerInput in;
    Settings st;
    CornerElements el;
};

Trial Corner(double limitM, double limitLP)
{
    Trial t;
    t.in.IpX = 100;
    t.in.IpY = 100;
    t.in.EpY = 200;
    t.in.Radius = 100;
    t.st.setNumber(NumberEntry::LimitM, limitM);
    t.st.setNumber(NumberEntry::LimitLP, limitLP);
    t.st.setNumber(NumberEntry::LimitL1, 0.01);
    return t;
}

void ElementComputation(benchmark::State& st)
{
    Trial t = Corner(0.5, 20);
    for (auto _ : st) {
        benchmark::DoNotOptimize(LoadIn(t.in, t.st, t.el));
        benchmark::DoNotOptimize(t.el.SpY);
    }
}
BENCHMARK(ElementComputation);

// EP almost straight back: IA near 180 with tight limits needs a count close to the maximum.
void LargeCountChoice(benchmark::State& st)
{
    Trial t = Corner(0.0002, 0.35);
    t.in.EpX = 0;
    t.in.EpY = 0.5;
    for (auto _ : st) benchmark::DoNotOptimize(LoadIn(t.in, t.st, t.el));
    st.counters["DivCount"] = t.el.DivCount;
}
BENCHMARK(LargeCountChoice);

void TrialListing(benchmark::State& st)
{
    Trial t = Corner(0.5, 20);
    Listing l;
    for (auto _ : st) benchmark::DoNotOptimize(S_CRT(t.in, t.st, t.el, l));
}
BENCHMARK(TrialListing);

}  // namespace
