// CalcNode over a full 100-entry list per device family of the link, converter, line
// amplifier, splitter, five-input and single-cable blocks.
#include <benchmark/benchmark.h>

#include "engine/node_frame.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"
#include "model/source_tables.hpp"

namespace {

using namespace kavrix;

void Setup(int code, int sid, int mark, int step, int second, bool satellite) {
  NewNetworkModel();
  NetObjects[0] = {code / 1000 > 0 ? code / 1000 : 60, 100, 100, 0, 1, 80};
  for (int r = 1; r <= 17; ++r) NetObjects[r] = {-1, 0, r % 6, 10700 + 20 * r, 4740, 0};
  NetObjects[17] = {-1, 9750, 10600, 9000, 0, 0};
  for (int k = 0; k < 100; ++k) FreqList[k] = satellite ? 950.0 + 14.5 * k : 47.0 + 8.0 * k;
  for (int n = 0; n < 10; ++n) {
    ResetNode(n);
    Nodes[n][kNodeCode] = code;
    Nodes[n][kNodeSourceId] = sid;
    Nodes[n][kNodeStep] = step;
    Nodes[n][kNodeSetting] = second;
    Nodes[n][kNodeChainMark] = mark;
    for (int k = 0; k < 100; ++k) NodeSpectra(n, 0, k) = 55.0 + (k % 7);
  }
}

void BM_Block(benchmark::State& state, int code, int sid, int mark, int step, int second, bool sat) {
  Setup(code, sid, mark, step, second, sat);
  for (auto _ : state) {
    CalcNode(0, -1);
    benchmark::DoNotOptimize(NodeSpectra.data());
  }
}

BENCHMARK_CAPTURE(BM_Block, link_unit_58, 58000, 1, 0, kNoLimit, kNoLimit, true);
BENCHMARK_CAPTURE(BM_Block, converter16_input, 60001, 1, 0, kNoLimit, kNoLimit, true);
BENCHMARK_CAPTURE(BM_Block, converter4_windows, 61005, 105, 105, kNoLimit, kNoLimit, false);
BENCHMARK_CAPTURE(BM_Block, modulator_96, 96005, 105, 105, kNoLimit, kNoLimit, false);
BENCHMARK_CAPTURE(BM_Block, line_amp_101, 101001, 1, 0, -6, 3, true);
BENCHMARK_CAPTURE(BM_Block, line_amp_105, 105006, 2, 0, -6, 3, true);
BENCHMARK_CAPTURE(BM_Block, line_amp_108, 108299, 1, 0, -6, 6, true);
BENCHMARK_CAPTURE(BM_Block, line_amp_108_band_grid, 108099, 1, 50, -6, 6, true);
BENCHMARK_CAPTURE(BM_Block, j_splitter_128, 128599, 1, 0, kNoLimit, kNoLimit, true);
BENCHMARK_CAPTURE(BM_Block, five_input_139, 139301, 1, 0, kNoLimit, -2, true);
BENCHMARK_CAPTURE(BM_Block, single_cable_through, 183001, 1, 0, kNoLimit, kNoLimit, true);
BENCHMARK_CAPTURE(BM_Block, single_cable_subscriber, 183101, 1, 49, kNoLimit, kNoLimit, true);

// The generated source rewrites its plan regardless of the list.
void BM_GeneratedSource(benchmark::State& state) {
  Setup(605, 205, 205, -4, kNoLimit, false);
  ObjValues[0][0] = 0.0;
  Nodes[1][kNodeCode] = 60105;
  for (auto _ : state) {
    CalcNode(0, -1);
    benchmark::DoNotOptimize(NodeSpectra.data());
  }
}
BENCHMARK(BM_GeneratedSource);

}  // namespace
