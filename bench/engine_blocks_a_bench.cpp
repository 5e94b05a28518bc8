// CalcNode over a full 100-frequency list for one node of each distribution and amplifier family.
#include <benchmark/benchmark.h>

#include "engine/node_frame.hpp"
#include "model/network_model.hpp"
#include "model/run_records.hpp"

namespace {

using namespace kavrix;

// One object of `kind` with one node `code`, on a list spanning the node's band.
int SetUpNode(int kind, int code, int sourceId, int s16, int s17) {
  NewNetworkModel();
  TerrSourceIndex = 0;
  NetObjects.assign(4, ObjRow{});
  NetObjects[0] = {kind, 100, 100, 0, 1, 0};
  Nodes.clear();
  EnsureNodeRows(4);
  // Channel amplifiers: group 1 node 0 and its second-input node 1.
  Nodes[0][kNodeCode] = code;
  Nodes[0][kNodeSourceId] = sourceId;
  Nodes[0][kNodeStep] = s16;
  Nodes[0][kNodeSetting] = s17;
  Nodes[0][kNodeObject] = 0;
  Nodes[1][kNodeCode] = kind * 1000 + 205;
  Nodes[1][kNodeObject] = 0;
  NetObjects[1] = {-1, 21, 30, 0, 0, 0};
  const bool terr = code % 100 == 5 || sourceId > 100;
  for (int k = 0; k < 100; ++k) {
    FreqList[k] = terr ? 47.0 + 8.1 * k : 950.0 + 14.5 * k;
    for (int n = 0; n < 2; ++n) NodeSpectra(n, 0, k) = 70.0;
  }
  return 0;
}

void BM_CalcNode(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const int code = static_cast<int>(state.range(1));
  const int node = SetUpNode(kind, code, code % 100 == 5 ? 105 : 11, -12, 5);
  for (auto _ : state) {
    CalcNode(node, -1);
    benchmark::DoNotOptimize(NodeSpectra(static_cast<std::size_t>(node), 1, 50));
  }
  state.SetItemsProcessed(state.iterations() * 100);
}

}  // namespace

BENCHMARK(BM_CalcNode)->Name("blocks/small_multiswitch")->Args({1, 991001});
BENCHMARK(BM_CalcNode)->Name("blocks/tap")->Args({22, 22101});
BENCHMARK(BM_CalcNode)->Name("blocks/cascade_multiswitch")->Args({37, 37001});
BENCHMARK(BM_CalcNode)->Name("blocks/multiswitch_17_input")->Args({77, 77101});
BENCHMARK(BM_CalcNode)->Name("blocks/series_161")->Args({161, 161001});
BENCHMARK(BM_CalcNode)->Name("blocks/large_series_terr")->Args({170, 170005});
BENCHMARK(BM_CalcNode)->Name("blocks/large_series_sat")->Args({171, 171001});
BENCHMARK(BM_CalcNode)->Name("blocks/launch_amplifier")->Args({50, 50005});
BENCHMARK(BM_CalcNode)->Name("blocks/house_amplifier_vorb1")->Args({43, 43105});
BENCHMARK(BM_CalcNode)->Name("blocks/house_amplifier_wexl1")->Args({44, 44005});
BENCHMARK(BM_CalcNode)->Name("blocks/house_amplifier_slev1")->Args({45, 45005});
BENCHMARK(BM_CalcNode)->Name("blocks/attenuator")->Args({80, 80005});
BENCHMARK(BM_CalcNode)->Name("blocks/channel_amplifier")->Args({81, 81105});
BENCHMARK(BM_CalcNode)->Name("blocks/three_band_amplifier")->Args({88, 88005});
BENCHMARK(BM_CalcNode)->Name("blocks/broadband_amplifier")->Args({89, 89005});
