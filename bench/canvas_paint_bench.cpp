// One repaint of the canvas over generated buildings of growing size. The view stays the same
// size, so the time should not grow with the objects outside it.
#include <benchmark/benchmark.h>

#include <QScrollBar>

#include "bench_windows.hpp"
#include "support/generated_buildings.hpp"
#include "symbols/object_glyphs.hpp"

namespace {

using namespace kavrix;

// `objects` placed objects (lines and devices), then the view scrolled to the middle of them.
void RepaintOver(benchmark::State& state, int objectsPerOutlet, void (*build)(int)) {
  TForm5& canvas = bench::BenchWindows();
  const int objects = static_cast<int>(state.range(0));
  build(objects / objectsPerOutlet);
  RebuildAllObjectGlyphs();
  int bottom = 0;
  for (std::size_t r = 0; r < NetObjects.size() && NetObjects[r][kKind] != 0; ++r)
    if (NetObjects[r][kKind] > 0) bottom = std::max(bottom, NetObjects[r][kY]);
  canvas.HorzScrollRange = 3000;
  canvas.VertScrollRange = bottom + 1000;
  canvas.SyncScrollBars();
  canvas.HorzScrollBar->setValue(500);
  canvas.VertScrollBar->setValue(bottom / 2);
  for (auto _ : state) canvas.FormPaint();
  state.counters["objects"] = objects;
}

// Per outlet a line and a socket.
void BM_CanvasRepaintLineRiser(benchmark::State& state) { RepaintOver(state, 2, test::BuildLineRiser); }
// Per outlet a tap, two lines and a socket.
void BM_CanvasRepaintTapRiser(benchmark::State& state) { RepaintOver(state, 4, test::BuildTapRiser); }
BENCHMARK(BM_CanvasRepaintLineRiser)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasRepaintTapRiser)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
