// The commands at building scale: "RF Analyze", Tune, the structure optimisation, Open with the
// symbol rebuild and Save over the realistic buildings (100, 1,000 and 10,000 outlets) and Tune
// over cascades of house amplifiers, with the propagation floor the run is measured against.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/main_window.hpp"
#include "bench_windows.hpp"
#include "engine/propagation.hpp"
#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "model/run_records.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/structure_optimisation.hpp"
#include "support/realistic_buildings.hpp"

namespace {

using namespace kavrix;

const RunInput kLimits{"50", "60"};

// Sockets the last run gave a status, and those within both limits.
void StatusCounters(benchmark::State& state) {
  int rated = 0, within = 0, sockets = 0;
  for (const LinkRow& l : Links) {
    if (l[kLinkObject] == 0) continue;
    ++sockets;
    rated += l[kLinkStatus] != 0;
    within += l[kLinkStatus] == 10 * kStatusWithin + kStatusWithin;
  }
  state.counters["sockets"] = sockets;
  state.counters["rated"] = rated;
  state.counters["within"] = within;
}

// The first run after building a drawing writes its nodes' memory for the first time; the figures
// are those of the runs after it.
void BuildAndRunOnce(int outlets) {
  test::BuildRealisticBuilding(outlets);
  RfAnalyze(kLimits, RunCallbacks{});
}

void BM_RfAnalyzeBuilding(benchmark::State& state) {
  BuildAndRunOnce(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(RfAnalyze(kLimits, RunCallbacks{}));
  state.counters["nodes"] = LastRunNodeCount;
  StatusCounters(state);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RfAnalyzeBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

// What no run can go below: along every source's chain, one table interpolation per node, list
// position and output the node writes, and the hand-over of the output to the next node.
void BM_PropagationFloorBuilding(benchmark::State& state) {
  BuildAndRunOnce(static_cast<int>(state.range(0)));
  struct Step {
    int node, outputs, next;
  };
  std::vector<std::vector<Step>> chains;
  std::vector<int> counts;
  std::vector<uint8_t> seen(Nodes.size());
  for (int s = 0; s <= SourceCount; ++s) {
    std::fill(seen.begin(), seen.end(), 0);
    std::vector<Step> chain;
    for (int n = s; n >= 0 && !seen[static_cast<std::size_t>(n)];) {
      seen[static_cast<std::size_t>(n)] = 1;
      const int f15 = Nodes[static_cast<std::size_t>(n)][kNodeNext];
      const int next = engine::WalkSuccessor(f15);
      chain.push_back({n, Nodes[static_cast<std::size_t>(n)][kNodePort2Link] == kNoPort ? 1 : 4, f15 > 0 ? next : -1});
      n = next;
    }
    chains.push_back(std::move(chain));
    const int id = Nodes[static_cast<std::size_t>(s)][kNodeSourceId];
    counts.push_back(id < kSatIdLimit ? 24 : 32);
  }
  double table[17], weight[100];
  for (int i = 0; i < 17; ++i) table[i] = -1.0 - 0.1 * i;
  for (int k = 0; k < 100; ++k) weight[k] = (k % 7) / 7.0;
  long long values = 0;
  for (auto _ : state) {
    values = 0;
    for (std::size_t c = 0; c < chains.size(); ++c) {
      const int count = counts[c];
      for (const Step& st : chains[c]) {
        const double* in = SpectrumAt(st.node, 0);
        for (int o = 1; o <= st.outputs; ++o) {
          double* out = SpectrumAt(st.node, o == 1 ? 1 : o + 1);
          for (int k = 0; k < count; ++k) {
            const int i = k % 16;
            out[k] = in[k] + table[i] + (table[i + 1] - table[i]) * weight[k];
          }
          values += count;
        }
        if (st.next >= 0) std::memcpy(SpectrumAt(st.next, 0), SpectrumAt(st.node, 1), sizeof(double) * static_cast<std::size_t>(count));
      }
    }
    benchmark::ClobberMemory();
  }
  state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(BM_PropagationFloorBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TuneBuilding(benchmark::State& state) {
  BuildAndRunOnce(static_cast<int>(state.range(0)));
  CommandChain chain(kLimits, RunCallbacks{});
  for (auto _ : state) benchmark::DoNotOptimize(Tune(chain.clicks()));
  StatusCounters(state);
}
BENCHMARK(BM_TuneBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TuneCascade(benchmark::State& state) {
  test::BuildAmplifierCascade(static_cast<int>(state.range(0)));
  RfAnalyze(kLimits, RunCallbacks{});
  CommandChain chain(kLimits, RunCallbacks{});
  for (auto _ : state) benchmark::DoNotOptimize(Tune(chain.clicks()));
  state.counters["nodes"] = LastRunNodeCount;
}
BENCHMARK(BM_TuneCascade)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// The optimisation commits variants as kinds, so every iteration starts from a fresh building.
void BM_OptimiseBuilding(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BuildAndRunOnce(static_cast<int>(state.range(0)));
    CommandChain chain(kLimits, RunCallbacks{});
    state.ResumeTiming();
    const OptimisationOutcome out = OptimizeStructure(chain.clicks());
    if (!out.ran) state.SkipWithError("the optimisation did not run");
  }
  StatusCounters(state);
}
BENCHMARK(BM_OptimiseBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

std::string BuildingFile(int outlets) {
  return (std::filesystem::temp_directory_path() / ("kavrix_bench_building_" + std::to_string(outlets) + ".stn")).string();
}

void BM_SaveBuilding(benchmark::State& state) {
  const int outlets = static_cast<int>(state.range(0));
  test::BuildRealisticBuilding(outlets);
  const std::string path = BuildingFile(outlets);
  for (auto _ : state)
    if (!WriteProjectFile(path)) state.SkipWithError("write failed");
  state.counters["objects"] = ObjectCount;
}
BENCHMARK(BM_SaveBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// "Open" in the main window: the project read, every symbol and label composed, the drawing
// extent and the scroll ranges set.
void BM_OpenBuilding(benchmark::State& state) {
  bench::BenchWindows();
  const int outlets = static_cast<int>(state.range(0));
  test::BuildRealisticBuilding(outlets);
  const std::string path = BuildingFile(outlets);
  WriteProjectFile(path);
  platform::ScriptedPlatform& scripted = bench::BenchPlatform();
  for (auto _ : state) {
    ProjectModified = false;
    scripted.files.push_back(platform::FileDialogResult{path, 1});
    Form1->Open1Click();
  }
  scripted.files.clear();
  state.counters["objects"] = ObjectCount;
}
BENCHMARK(BM_OpenBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
