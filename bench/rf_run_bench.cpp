// Whole "RF Analyze" runs over generated buildings: an LNB feeding a riser of single lines,
// one TV socket at every line end.
#include <benchmark/benchmark.h>

#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "simulation/rf_run.hpp"

namespace {

using namespace kavrix;

void BuildRiser(int outlets) {
  NewNetworkModel();
  auto add = [](ObjRow r) {
    EnsureFreeObjectRows(20);
    NetObjects[CurObject++] = r;
    ++ObjectCount;
    GrowForObject(r[0] > 0 ? r[0] : 0);
  };
  add({91, 1000, 100, 0, 1, 1});  // band 1 output at (970, 140)
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 31;
    for (int r = 1; r <= 31; ++r) {
      SatCell(0, 2 * b, r) = 950 + 45 * r;
      SatCell(0, 2 * b + 1, r) = 90;
    }
  }
  SatUsed[0] = true;
  int y = 140;
  for (int i = 0; i < outlets; ++i) {
    add({203, 970, y, 3, 1, 2});
    add({-1, 20, 0, 0, 0, 11});
    y += 20;
    add({210, 995, y, 2, 1, 1});
  }
  SyncRowCompanions();
}

void BM_RfAnalyzeRiser(benchmark::State& state) {
  const int outlets = static_cast<int>(state.range(0));
  BuildRiser(outlets);
  RunCallbacks cb;
  for (auto _ : state) {
    RunOutcome out = RfAnalyze(RunInput{"50", "60"}, cb);
    benchmark::DoNotOptimize(out);
  }
  state.SetComplexityN(outlets);
}
BENCHMARK(BM_RfAnalyzeRiser)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
