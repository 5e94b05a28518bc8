// Engine speed: one node with five outputs over a 100-entry list, and a full source pass over a
// 10,000-node chain of lines and five-output devices. The "allocs" counter counts heap
// allocations per iteration; it must stay 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/device_table_gen.hpp"
#include "engine/node_frame.hpp"
#include "engine/propagation.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"

namespace {
std::atomic<long long> g_allocs{0};
}

void* operator new(std::size_t n) {
  ++g_allocs;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kavrix {
namespace {

using namespace engine;

// A five-output device on both bands, [path 1..5][16][output 0..4], generated like the real ones.
constexpr auto kTable = gen::Table<5, 16, 5>([](int path, int point, int out) {
  const gen::GridPoints g = gen::Row(path == 4 ? 1 : 0);
  return out == 0 ? gen::At(gen::Response{-0.9, -1.9, 0.2, path}, g, point)
                  : gen::At(gen::Response{-7.8, -10.4, 0.4, path * 5 + out}, g, point);
});
constexpr int kBenchCategory = 990;  // unused by the catalogue

void FiveOutputBlock(const NodeFrame& fr) {
  if (fr.path < 1 || fr.path > 5) return;
  const Grid g = DualBandGrid(fr);
  const double* column = kTable.data() + gen::Index(16, 5, fr.path - 1, 0, 0);
  for (int p = 0; p <= fr.lastPort; ++p) AddInterpolated(fr, g, fr.spectrum(p + 1), column + p, 5);
}

void FillTerrestrialList() {
  for (int j = 0; j < 100; ++j) {
    TerrSpectra[0][j] = 50.0 + 8.0 * j;
    TerrSpectra[1][j] = 90.0;
  }
}

// Node 0 a terrestrial source, then alternating lines and devices up to `count` nodes.
void BuildChain(int count) {
  NewNetworkModel();
  EnsureNodeRows(static_cast<std::size_t>(count) + 2);
  FillTerrestrialList();
  SourceCount = 0;
  NodeRow& src = Nodes[0];
  src[kNodeCode] = 925;
  src[kNodeSourceId] = 105;
  src[kNodeNext] = 1;
  for (int n = 1; n <= count; ++n) {
    NodeRow& r = Nodes[static_cast<std::size_t>(n)];
    if (n % 2) {
      r[kNodeCode] = 20100;
      r[kLineLength] = 2;
      r[kLineCable] = 3;
    } else {
      r[kNodeCode] = kBenchCategory * 1000 + 5;
      r[kNodeSourceId] = 105;
    }
    r[kNodeNext] = n < count ? n + 1 : 1000000;
  }
}

void BM_CalcNodeFiveOutputs(benchmark::State& state) {
  ScopedBlock block(kBenchCategory, FiveOutputBlock);
  BuildChain(4);
  for (int k = 0; k < 100; ++k) {
    FreqList[k] = TerrSpectra[0][k];
    NodeSpectra(2, 0, k) = 80.0;
  }
  g_allocs = 0;
  for (auto _ : state) {
    CalcNode(2, -1);
    benchmark::DoNotOptimize(NodeSpectra(2, 5, 99));
  }
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocs), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CalcNodeFiveOutputs);

void BM_CalcNodeSinglePosition(benchmark::State& state) {
  ScopedBlock block(kBenchCategory, FiveOutputBlock);
  BuildChain(4);
  for (int k = 0; k < 100; ++k) FreqList[k] = TerrSpectra[0][k];
  int k = 0;
  for (auto _ : state) {
    CalcNode(2, k);
    k = (k + 7) % 100;
  }
}
BENCHMARK(BM_CalcNodeSinglePosition);

void BM_RunSourcePasses10k(benchmark::State& state) {
  ScopedBlock block(kBenchCategory, FiveOutputBlock);
  BuildChain(10000);
  RunSourcePasses(false);  // sizes the walk marks once
  g_allocs = 0;
  for (auto _ : state) {
    RunSourcePasses(false);
    benchmark::DoNotOptimize(NodeSpectra(10000, 1, 0));
  }
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocs), benchmark::Counter::kAvgIterations);
  state.counters["nodes/s"] = benchmark::Counter(10000.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RunSourcePasses10k)->Unit(benchmark::kMillisecond);

void BM_TryNodeStep(benchmark::State& state) {
  ScopedBlock block(kBenchCategory, FiveOutputBlock);
  BuildChain(200);
  RunSourcePasses(false);
  Nodes[2][kNodeStep] = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TryNodeStep(200, 2, 50));
}
BENCHMARK(BM_TryNodeStep);

}  // namespace
}  // namespace kavrix
