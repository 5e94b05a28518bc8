// Tune's controller search along the tree of a chain must name the same controllers as trying
// every earlier candidate with TryNodeStep; a chain it cannot treat as a tree goes to the trials.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "engine/propagation.hpp"
#include "model/run_records.hpp"
#include "simulation/command_clicks.hpp"
#include "simulation/controller_search.hpp"
#include "simulation/level_tuning.hpp"
#include "simulation/rf_run.hpp"
#include "support/generated_buildings.hpp"
#include "support/project_guard.hpp"
#include "support/realistic_buildings.hpp"

namespace kavrix {
namespace {

using tuning::ControllerSearch;

class TrialsOnly {
 public:
  explicit TrialsOnly(bool on) : m_was(ControllerSearch::trialsOnly()) { ControllerSearch::trialsOnly() = on; }
  ~TrialsOnly() { ControllerSearch::trialsOnly() = m_was; }

 private:
  bool m_was;
};

// Source 0's chain after a run, with every node whose step can go down as a candidate.
struct Chain {
  std::vector<int> walk;
  std::vector<uint8_t> adjustable;
};
Chain SourceChain() {
  Chain c;
  c.adjustable.assign(Nodes.size(), 0);
  engine::WalkMarks marks;
  marks.begin();
  for (int n = 0; n >= 0 && marks.first(n); n = engine::WalkSuccessor(Nodes[n][kNodeNext])) {
    c.walk.push_back(n);
    c.adjustable[n] = Nodes[n][kNodeStep] < 1 && Nodes[n][kNodeStep] > -20;
  }
  return c;
}

std::vector<int> Controllers(const Chain& c, bool trialsOnly, bool* usedTree = nullptr) {
  TrialsOnly mode(trialsOnly);
  ControllerSearch search;
  std::vector<int> controller(Nodes.size(), -2);
  search.find(c.walk, c.adjustable, [](int) { return 1; }, controller);
  if (usedTree) *usedTree = search.usedTree();
  return controller;
}

TEST(ControllerSearch, CascadeTreeGivesTheControllersOfTheTrials) {
  test::FreshProject fresh;
  test::BuildAmplifierCascade(30);
  ASSERT_TRUE(RfAnalyze(RunInput{"50", "60"}, RunCallbacks{}).graphBuilt);
  const Chain chain = SourceChain();
  const std::vector<int> trials = Controllers(chain, true);
  const std::size_t spectraBytes = Nodes.size() * kSpectraPerNode * kSpectrumLen * sizeof(double);
  const std::vector<double> before(std::as_const(NodeSpectra).at(0, 0), std::as_const(NodeSpectra).at(0, 0) + spectraBytes / sizeof(double));
  bool usedTree = false;
  const std::vector<int> tree = Controllers(chain, false, &usedTree);
  EXPECT_TRUE(usedTree);
  EXPECT_EQ(tree, trials);
  // The search leaves every spectrum as it found it.
  EXPECT_EQ(std::memcmp(before.data(), std::as_const(NodeSpectra).at(0, 0), spectraBytes), 0);
  // The test output of an amplifier hangs on the line before it: its controller is the
  // amplifier before that line, not the one it belongs to.
  int amps = 0;
  for (int n : chain.walk)
    if (Nodes[n][kNodeCode] == 45105 && ++amps == 10) {
      const int controller = tree[static_cast<std::size_t>(n)];
      ASSERT_GE(controller, 0);
      EXPECT_EQ(Nodes[controller][kNodeCode], 45005);
      EXPECT_LT(Nodes[controller][kNodeObject], Nodes[n][kNodeObject]);
    }
}

TEST(ControllerSearch, InputFedFromTwoOutputsGoesToTheTrials) {
  test::FreshProject fresh;
  test::BuildAmplifierCascade(6);
  ASSERT_TRUE(RfAnalyze(RunInput{"50", "60"}, RunCallbacks{}).graphBuilt);
  Chain chain = SourceChain();
  // A second hand-over onto the input of a later node of the chain.
  int amp = -1;
  for (int n : chain.walk)
    if (Nodes[n][kNodeCode] == 45005) amp = n;
  ASSERT_GE(amp, 0);
  const int earlier = chain.walk[1];
  const int successor = Nodes[earlier][kNodeNext];
  Nodes[earlier][kNodeNext] = amp;
  bool usedTree = true;
  const std::vector<int> tree = Controllers(chain, false, &usedTree);
  EXPECT_FALSE(usedTree);
  EXPECT_EQ(tree, Controllers(chain, true));
  Nodes[earlier][kNodeNext] = successor;
}

// Tune through both searches over networks with every kind of chain: the settings written back
// and the final run must not differ.
TEST(ControllerSearch, TuneWritesTheSameSettingsEitherWay) {
  test::FreshProject fresh;
  struct Network {
    const char* name;
    void (*build)();
  };
  const Network networks[] = {
      {"building", [] { test::BuildRealisticBuilding(100); }},
      {"cascade", [] { test::BuildAmplifierCascade(25); }},
      {"satellite", [] { test::BuildSatelliteBuilding(40); }},
      {"terrestrial", [] { test::BuildTerrestrialBuilding(150); }},
      {"tapRiser", [] { test::BuildTapRiser(30); }},
      {"amp43", [] { test::BuildKindGallery(43, 2); }},
      {"amp45", [] { test::BuildKindGallery(45, 2, true); }},
      {"switch133", [] { test::BuildKindGallery(133, 2); }},
      {"lineAmp108", [] { test::BuildKindGallery(108, 1); }},
      {"channelAmp81", [] { test::BuildKindGallery(81, 2); }},
      {"transmitter141", [] { test::BuildKindGallery(141, 1); }},
      {"singleCable183", [] { test::BuildKindGallery(183, 1); }},
  };
  for (const Network& net : networks) {
    SCOPED_TRACE(net.name);
    std::vector<ObjRow> objects[2];
    std::vector<NodeRow> nodes[2];
    for (int trials = 0; trials < 2; ++trials) {
      TrialsOnly mode(trials == 1);
      test::ResetProjectState();
      net.build();
      CommandChain chain(RunInput{"50", "60"}, RunCallbacks{});
      Tune(chain.clicks());
      objects[trials] = NetObjects;
      nodes[trials] = Nodes;
    }
    EXPECT_EQ(objects[0], objects[1]);
    EXPECT_EQ(nodes[0], nodes[1]);
  }
}

}  // namespace
}  // namespace kavrix
