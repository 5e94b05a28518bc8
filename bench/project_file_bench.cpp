// Saving and loading a large project: 10,000 objects (devices, lines with their bend rows,
// sockets), four terrestrial and four satellite plans and a page of estimation rows.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "model/network_model.hpp"
#include "model/price_rows.hpp"
#include "model/project_file.hpp"
#include "model/project_options.hpp"
#include "model/source_tables.hpp"

namespace {

using namespace kavrix;

constexpr int kObjects = 10000;
constexpr int kPrinterW = 4800;
constexpr int kPrinterH = 6800;

void Add(const ObjRow& r) {
  EnsureFreeObjectRows(20);
  NetObjects[CurObject++] = r;
  ObjectCount = CurObject;
}

void BuildLargeProject() {
  NewProjectState();
  const int kinds[] = {131, 201, 210, 104, 86, 202, 210, 183, 91, 210};
  for (int i = 0; i < kObjects; ++i) {
    const int kind = kinds[i % 10];
    const int x = 100 + 40 * (i % 250), y = 100 + 60 * (i / 250);
    Add({kind, x, y, kind == 91 ? i % 4 : 12 + i % 30, 1 + i % 4, 1 + i % 5});
    if (kind == 201 || kind == 202 || kind == 86) Add({-1, 40, -60, 20, 35, 11});
    GrowForObject(kind);
  }
  SyncRowCompanions();
  for (int k = 0; k < 4; ++k) {
    SatUsed[k] = TerrUsed[k] = true;
    for (int e = 0; e < kTerrEntries; ++e) TerrTables[k][0][e] = 47 + 8 * e, TerrTables[k][1][e] = 70;
    for (int j = 1; j <= kSatRows; ++j)
      for (int c = 0; c < kSatColumns; ++c) SatCell(k, c, j) = c % 2 ? 75 : 10700 + 20 * j;
  }
  EstimateGrid.SetRowCount(40);
  for (int i = 1; i < 40; ++i) EstimateGrid.Rows[i] = {"Item " + std::to_string(i), "12", "3.5", "42", "note"};
}

std::string BenchFile() { return (std::filesystem::temp_directory_path() / "kavrix_bench_project.stn").string(); }

void BM_SaveProject(benchmark::State& state) {
  BuildLargeProject();
  const std::string path = BenchFile();
  for (auto _ : state) {
    if (!WriteProjectFile(path)) state.SkipWithError("write failed");
  }
  state.counters["objects"] = kObjects;
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

void BM_LoadProject(benchmark::State& state) {
  BuildLargeProject();
  const std::string path = BenchFile();
  WriteProjectFile(path);
  for (auto _ : state) {
    NewProjectState();
    const auto r = ReadProjectFile(path, kPrinterW, kPrinterH);
    if (r.status != ProjectReadResult::Status::Ok) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(NetObjects.data());
  }
  state.counters["objects"] = kObjects;
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

}  // namespace
