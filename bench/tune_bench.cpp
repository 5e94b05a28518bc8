// Tune and the structure optimisation over generated 1,000-outlet buildings: a terrestrial riser
// with an attenuator every 100 floors, and an LNB whose small multiswitch feeds four sockets and
// a riser of single lines from its first through output.
#include <benchmark/benchmark.h>

#include "model/network_model.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/structure_optimisation.hpp"
#include "support/generated_buildings.hpp"

namespace {

using namespace kavrix;

void BM_TuneTerrestrialBuilding(benchmark::State& state) {
  test::BuildTerrestrialBuilding(static_cast<int>(state.range(0)));
  CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
  for (auto _ : state) {
    TuneOutcome out = Tune(chain.clicks());
    benchmark::DoNotOptimize(out);
    state.counters["adjusted"] = out.adjusted;
  }
  int steps = 0;
  for (const ObjRow& o : NetObjects)
    if (o[kKind] == 80) steps += o[kInst];
  state.counters["attenuatorSteps"] = steps;
}
BENCHMARK(BM_TuneTerrestrialBuilding)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_OptimiseSatelliteBuilding(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    test::BuildSatelliteBuilding(static_cast<int>(state.range(0)));
    CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
    state.ResumeTiming();
    OptimisationOutcome out = OptimizeStructure(chain.clicks());
    benchmark::DoNotOptimize(out);
    state.counters["ran"] = out.ran;
    state.counters["switchKind"] = NetObjects[1][kKind];
  }
}
BENCHMARK(BM_OptimiseSatelliteBuilding)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
