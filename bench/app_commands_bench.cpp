// The level commands as the user starts them in the main window: "RF Analyze", "Tune" and
// "Adjustment with optimizing structure" over an opened realistic building, with every symbol
// composed, the canvas and the Analyzer shown, and the events the command leaves behind (the
// canvas repaint, the chart refresh) handled before the clock stops.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>

#include "app/main_window.hpp"
#include "bench_windows.hpp"
#include "model/network_model.hpp"
#include "model/project_file.hpp"
#include "support/realistic_buildings.hpp"

namespace {

using namespace kavrix;

std::string AppBuildingFile(int outlets) {
  return (std::filesystem::temp_directory_path() / ("kavrix_bench_app_building_" + std::to_string(outlets) + ".stn")).string();
}

// Opens the building in the main window as the user would, with the windows on screen.
void OpenInWindows(int outlets) {
  bench::BenchWindows();
  static int written = 0;
  const std::string path = AppBuildingFile(outlets);
  if (written != outlets) {
    test::BuildRealisticBuilding(outlets);
    WriteProjectFile(path);
    written = outlets;
  }
  if (!Form1->isVisible()) Form1->show();
  ProjectModified = false;
  bench::BenchPlatform().files.push_back(platform::FileDialogResult{path, 1});
  Form1->Open1Click();
  QApplication::processEvents();
}

// What the user waits for: the command and the events it queued.
template <class Command>
void Timed(Command&& command) {
  command();
  QApplication::processEvents();
}

void BM_AppAnalyzeBuilding(benchmark::State& state) {
  OpenInWindows(static_cast<int>(state.range(0)));
  Timed([] { Form1->Simulate1Click(); });
  for (auto _ : state) Timed([] { Form1->Simulate1Click(); });
}
BENCHMARK(BM_AppAnalyzeBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_AppTuneBuilding(benchmark::State& state) {
  OpenInWindows(static_cast<int>(state.range(0)));
  Timed([] { Form1->Simulate1Click(); });
  for (auto _ : state) Timed([] { Form1->ToolButton86Click(); });
}
BENCHMARK(BM_AppTuneBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The optimisation commits variants as kinds, so every iteration opens the building afresh.
void BM_AppOptimiseBuilding(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    OpenInWindows(static_cast<int>(state.range(0)));
    Timed([] { Form1->Simulate1Click(); });
    state.ResumeTiming();
    Timed([] { Form1->Optimizationofnetwork1Click(); });
  }
}
BENCHMARK(BM_AppOptimiseBuilding)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
