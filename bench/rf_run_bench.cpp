// Whole "RF Analyze" runs over generated buildings.
#include <benchmark/benchmark.h>

#include "simulation/rf_run.hpp"
#include "support/generated_buildings.hpp"

namespace {

using namespace kavrix;

void RunOver(benchmark::State& state, void (*build)(int)) {
  const int outlets = static_cast<int>(state.range(0));
  build(outlets);
  RunCallbacks cb;
  RfAnalyze(RunInput{"50", "60"}, cb);  // the first run writes the nodes' memory for the first time
  for (auto _ : state) {
    RunOutcome out = RfAnalyze(RunInput{"50", "60"}, cb);
    benchmark::DoNotOptimize(out);
  }
  state.SetComplexityN(outlets);
}

void BM_RfAnalyzeTapRiser(benchmark::State& state) { RunOver(state, test::BuildTapRiser); }
void BM_RfAnalyzeLineRiser(benchmark::State& state) { RunOver(state, test::BuildLineRiser); }
BENCHMARK(BM_RfAnalyzeTapRiser)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_RfAnalyzeLineRiser)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
