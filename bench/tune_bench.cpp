// Tune and the structure optimisation over generated 1,000-outlet buildings: a terrestrial riser
// with an attenuator every 100 floors, and an LNB whose small multiswitch feeds four sockets and
// a riser of single lines from its first through output.
#include <benchmark/benchmark.h>

#include "catalogue/port_templates.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "model/source_tables.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/structure_optimisation.hpp"

namespace {

using namespace kavrix;

void Add(ObjRow r) {
  EnsureFreeObjectRows(20);
  NetObjects[CurObject++] = r;
  ++ObjectCount;
  GrowForObject(r[0] > 0 ? r[0] : 0);
}

// A device of `kind` whose first input pin lies at (x, y); returns its first output pin.
void AddDevice(int kind, int& x, int& y, int inst) {
  const TypeRecord& t = TypeOf(kind);
  const TemplateRow& r = PortTemplates[static_cast<std::size_t>(t[kFirstTemplateRow])];
  const int ox = x - r[kTplInDx];
  const int oy = y - r[kTplInDy] + t[kTerminalShift];
  Add({kind, ox, oy, inst, 1, 0});
  x = ox + r[kTplOutDx];
  y = oy - t[kTerminalShift] + r[kTplOutDy];
}

// Single lines straight down from (x, y), a socket at every line end.
void Riser(int x, int& y, int outlets, int attenuatorEvery) {
  for (int i = 0; i < outlets; ++i) {
    if (attenuatorEvery > 0 && i % attenuatorEvery == 0) AddDevice(80, x, y, 0);
    Add({203, x, y, 3, 1, 2});
    Add({-1, 20, 0, 0, 0, 11});
    y += 20;
    Add({210, x + 25, y, 2, 1, 1});
  }
}

void LimitsAndCables() {
  CableCoef = {0.0, 0.27, 0.21, 0.18, 0.14, 0.1};
  SatMaxLevel = 80;
  TerrMaxLevel = 70;
  SatSocketLoss = 2;
  TerrSocketLoss = 3;
}

void BuildTerrestrialBuilding(int outlets) {
  NewNetworkModel();
  LimitsAndCables();
  Add({93, 1000, 100, 0, 1, 0});  // output pin (1000, 190)
  for (int i = 0; i < 40; ++i) {
    TerrTables[0][0][i] = 474 + 8 * i;
    TerrTables[0][1][i] = 95;
  }
  TerrParams[0][0] = 40;
  TerrUsed[0] = true;
  int y = 190;
  Riser(1000, y, outlets, 100);
  SyncRowCompanions();
}

void BuildSatelliteBuilding(int outlets) {
  NewNetworkModel();
  LimitsAndCables();
  Add({91, 1000, 100, 0, 1, 1});
  for (int b = 0; b < 4; ++b) {
    LnbParams[0][b][0] = 31;
    for (int r = 1; r <= 31; ++r) {
      SatCell(0, 2 * b, r) = 950 + 45 * r;
      SatCell(0, 2 * b + 1, r) = 85;
    }
  }
  SatUsed[0] = true;
  int x = 970, y = 140;
  AddDevice(3, x, y, 0);
  Riser(x, y, outlets, 0);
  SyncRowCompanions();
}

void BM_TuneTerrestrialBuilding(benchmark::State& state) {
  BuildTerrestrialBuilding(static_cast<int>(state.range(0)));
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
    BuildSatelliteBuilding(static_cast<int>(state.range(0)));
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
