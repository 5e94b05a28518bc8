// The reset writes, and the min/max trackers read, only the leading entries a node's spectra were
// noted to hold: an engine block that writes past the positions it declared would leave a value
// behind for the next run. After a run and after Tune, every entry past a node's noted extent
// must still hold the reset value, on every device kind and on the realistic building; and the
// trackers the run leaves must be those a scan of the final entries gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/run_records.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/rf_run.hpp"
#include "simulation/run_steps.hpp"
#include "support/generated_buildings.hpp"
#include "support/project_guard.hpp"
#include "support/realistic_buildings.hpp"

namespace kavrix {
namespace {

// First node, spectrum and entry past the noted extent that does not hold kNoSignal, or "".
std::string FirstStrayEntry() {
  for (std::size_t n = 0; n < NodeSpectra.size(); ++n)
    for (int s = 0; s < kSpectraPerNode; ++s) {
      if (!NodeSpectra.touched(n, s)) continue;
      const double* sp = NodeSpectra.read(n, s);
      for (int k = NodeSpectra.written(n); k < 100; ++k)
        if (sp[k] != kNoSignal)
          return "node " + std::to_string(n) + " code " + std::to_string(Nodes[n][kNodeCode]) + " spectrum " +
                 std::to_string(s) + " entry " + std::to_string(k);
    }
  return {};
}

// First node and spectrum whose trackers differ from those a scan of its entries gives now, or
// "". The run takes most trackers while the walk computes a node; a write to the node after that
// must make the run scan it again.
std::string FirstStaleTracker() {
  std::vector<double> kept;
  for (std::size_t n = 0; n < NodeSpectra.size(); ++n)
    for (int s = 0; s < kSpectraPerNode; ++s)
      for (int e : {101, 102}) kept.push_back(NodeSpectra.read(n, s)[e]);
  UpdateMinMaxTrackers();  // nothing is taken now: every tracker is scanned
  std::size_t i = 0;
  for (std::size_t n = 0; n < NodeSpectra.size(); ++n)
    for (int s = 0; s < kSpectraPerNode; ++s)
      for (int e : {101, 102})
        if (NodeSpectra.read(n, s)[e] != kept[i++])
          return "node " + std::to_string(n) + " code " + std::to_string(Nodes[n][kNodeCode]) + " spectrum " +
                 std::to_string(s) + " entry " + std::to_string(e);
  return {};
}

void ExpectNoStrayEntries(void (*build)(int), int arg, bool crossFed = false) {
  test::ResetProjectState();
  if (crossFed) test::BuildKindGallery(arg, 2, true);
  else build(arg);
  CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
  chain.clicks().analyze();
  EXPECT_EQ(FirstStrayEntry(), "") << "after the run";
  EXPECT_EQ(FirstStaleTracker(), "") << "after the run";
  Tune(chain.clicks());
  EXPECT_EQ(FirstStrayEntry(), "") << "after Tune";
}

TEST(SpectraExtent, NoBlockWritesPastItsNotedEntries) {
  test::FreshProject fresh;
  for (int kind = 1; kind < 200; ++kind) {
    if (!test::GalleryKind(kind)) continue;
    SCOPED_TRACE(kind);
    ExpectNoStrayEntries([](int k) { test::BuildKindGallery(k, 2); }, kind);
    ExpectNoStrayEntries(nullptr, kind, true);
  }
  ExpectNoStrayEntries(test::BuildRealisticBuilding, 100);
  ExpectNoStrayEntries(test::BuildAmplifierCascade, 20);
}

}  // namespace
}  // namespace kavrix
