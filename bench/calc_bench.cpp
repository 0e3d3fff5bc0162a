// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one corner: the full element computation, and choosing a large division count.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"

#include <benchmark/benchmark.h>

using namespace tovanel;

namespace {

CalcState Corner(double limitM, double limitLP)
{
    CalcState s;
    InitConstants(s);
    s.CurveIn[kIP][kX] = 100;
    s.CurveIn[kIP][kY] = 100;
    s.CurveIn[kEP][kY] = 200;
    s.CurveIn[kIP][kRadius] = 100;
    s.LimitM = limitM;
    s.LimitLP = limitLP;
    return s;
}

void ElementComputation(benchmark::State& st)
{
    CalcState s = Corner(0.5, 20);
    for (auto _ : st) {
        s.DivCount = 0;
        benchmark::DoNotOptimize(LoadIn(s));
        benchmark::DoNotOptimize(s.SpY);
    }
}
BENCHMARK(ElementComputation);

// EP almost straight back: IA near 180 with tight limits needs a count close to the maximum.
void LargeCountChoice(benchmark::State& st)
{
    CalcState s = Corner(0.0002, 0.35);
    s.CurveIn[kEP][kX] = 0;
    s.CurveIn[kEP][kY] = 0.5;
    for (auto _ : st) {
        s.DivCount = 0;
        benchmark::DoNotOptimize(LoadIn(s));
    }
    st.counters["DivCount"] = s.DivCount;
}
BENCHMARK(LargeCountChoice);

void TrialListing(benchmark::State& st)
{
    CalcState s = Corner(0.5, 20);
    s.IniNum[3] = 0.5;
    s.IniNum[4] = 20;
    s.IniNum[5] = 0.01;
    Listing l;
    for (auto _ : st) {
        s.DivCount = 0;
        benchmark::DoNotOptimize(S_CRT(s, l));
    }
}
BENCHMARK(TrialListing);

}  // namespace
