// The generated buildings that the benchmarks and the results hash measure: a drawing slip (a
// pin that misses its line) would leave parts of the building unfed and make the figures
// meaningless, so every outlet must be reached by all four LNB bands and the antenna.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/run_records.hpp"
#include "simulation/rf_run.hpp"
#include "support/project_guard.hpp"
#include "support/realistic_buildings.hpp"

namespace kavrix {
namespace {

struct RunResult {
  RunOutcome outcome;
  std::vector<std::string> messages;
};

RunResult Analyze() {
  RunResult r;
  RunCallbacks cb;
  cb.message = [&r](const std::string&, const std::string& text) { r.messages.push_back(text); };
  r.outcome = RfAnalyze(RunInput{"50", "60"}, cb);
  return r;
}

std::map<int, int> KindCounts() {
  std::map<int, int> counts;
  for (std::size_t row = 0; row < NetObjects.size() && NetObjects[row][kKind] != 0; ++row)
    if (NetObjects[row][kKind] > 0) ++counts[NetObjects[row][kKind]];
  return counts;
}

TEST(RealisticBuilding, EveryOutletGetsSatelliteAndTerrestrialStatus) {
  test::FreshProject fresh;
  for (int outlets : {100, 1000}) {
    SCOPED_TRACE(outlets);
    test::BuildRealisticBuilding(outlets);
    const RunResult r = Analyze();
    EXPECT_TRUE(r.outcome.graphBuilt);
    EXPECT_TRUE(r.messages.empty());
    int sockets = 0;
    for (const LinkRow& l : Links) {
      if (l[kLinkObject] == 0) continue;
      ++sockets;
      EXPECT_NE(SatStatusOf(l[kLinkStatus]), kStatusNone) << "socket row " << l[kLinkObject];
      EXPECT_NE(TerrStatusOf(l[kLinkStatus]), kStatusNone) << "socket row " << l[kLinkObject];
    }
    EXPECT_EQ(sockets, outlets);
  }
}

TEST(RealisticBuilding, FloorsRisersAndAmplifiers) {
  test::FreshProject fresh;
  test::BuildRealisticBuilding(1000);  // 100 floors: five risers of 20
  const auto counts = KindCounts();
  EXPECT_EQ(counts.at(133), 100);
  EXPECT_EQ(counts.at(210), 1000);
  EXPECT_EQ(counts.at(101), 1);
  EXPECT_EQ(counts.at(102), 5 * 2);  // at the foot of every riser and ten floors up
  EXPECT_EQ(counts.at(121) + counts.at(122) + counts.at(123) + counts.at(124), 100 + 5);
}

TEST(AmplifierCascade, EveryAmplifierCarriesTheSignalToTheSocket) {
  test::FreshProject fresh;
  test::BuildAmplifierCascade(200);
  EXPECT_EQ(KindCounts().at(45), 200);
  const RunResult r = Analyze();
  ASSERT_TRUE(r.outcome.graphBuilt);
  int linked = 0;
  for (int n = 0; n < r.outcome.builtNodes; ++n)
    if (Nodes[n][kNodeCode] == 45005 && Nodes[n][kNodeNext] > 0 && Nodes[n][kNodeNext] != kChainEnd) ++linked;
  EXPECT_EQ(linked, 200);
  EXPECT_NE(TerrStatusOf(Links[0][kLinkStatus]), kStatusNone);
}

}  // namespace
}  // namespace kavrix
