// Single-cable units: the through lines and their band minima, the level rule of subscriber
// outputs at its thresholds, band-grid presence marks, the terrestrial table option, and the
// rule over bands of unequal carrier counts.
#include <gtest/gtest.h>

#include <vector>

#include "engine/tables_single_cable.hpp"
#include "model/source_tables.hpp"
#include "engine/device_block_setup.hpp"

namespace kavrix::test {
namespace {

namespace tables = engine::tables;

// Satellite slot 0, band b: carrier frequencies (the column the source passes read).
void SetBandColumn(int band, const std::vector<int>& freqs) {
  for (int r = 1; r <= kSatRows; ++r) SatCell(0, 2 * (band - 1), r) = 0;
  for (std::size_t r = 0; r < freqs.size(); ++r) SatCell(0, 2 * (band - 1), static_cast<int>(r) + 1) = freqs[r];
}
void ListFromBand(int band) {
  FreqList.fill(0.0);
  for (int r = 0; r < kSatRows; ++r) FreqList[static_cast<std::size_t>(r)] = SatCell(0, 2 * (band - 1), r + 1);
}

// Object of kind `kind` with groups 0..groups-1, five path nodes each: node 5g + p - 1 has path p;
// satellite nodes carry their band as source id, path 5 the first terrestrial id.
int BuildUnit(int kind, int groups, int inst, int subscriberMark) {
  const int o = AddObject(kind, 100, 100, inst);
  for (int g = 0; g < groups; ++g)
    for (int p = 1; p <= 5; ++p)
      MakeNode(5 * g + p - 1, kind * 1000 + 100 * g + p, o, p == 5 ? 105 : p, g == 0 || p == 5 ? 0 : subscriberMark);
  MakeNode(5 * groups, 0, 0);
  return o;
}

TEST(SingleCableBlock, SubscriberLevelRuleAtItsThresholds) {
  FreshModel model;
  BuildUnit(181, 2, 100, 49);
  SetFreqList({1000, 1100, 1200, 1300, 1400});
  const double in[5] = {49.9, 50.0, 59.9, 60.0, kNoSignal};
  for (int k = 0; k < 5; ++k) NodeSpectra(5, 0, k) = in[k];
  CalcNode(5, -1);
  const double avg = (49.9 + 50.0 + 59.9 + 60.0) / 4;  // carriers at or below 0 dBuV left out
  EXPECT_DOUBLE_EQ(Out(5, 1, 0), -10.0);
  EXPECT_DOUBLE_EQ(Out(5, 1, 1), 66.5);
  EXPECT_NEAR(Out(5, 1, 2), 76.4, 1e-12);
  EXPECT_NEAR(Out(5, 1, 3), 138.0 - avg, 1e-12);
  EXPECT_DOUBLE_EQ(Out(5, 1, 4), -10.0);
}

TEST(SingleCableBlock, ThroughLineTracksTheBandMinimumAndHandsItToItsSubscribers) {
  FreshModel model;
  BuildUnit(181, 3, 100, 49);
  SetFreqList({900, 1000, 2402});
  NodeSpectra(0, 0, 0) = 30.0;  // below the grid: neither tracked nor regenerated
  NodeSpectra(0, 0, 1) = 70.0;
  NodeSpectra(0, 0, 2) = 65.0;  // above the grid: tracked, not interpolated
  CalcNode(0, -1);
  EXPECT_EQ(Out(0, 1, 0), kNoSignal);
  EXPECT_NEAR(Out(0, 1, 1), 70.0 + tables::SingleCableTable(181)->through[1][0], 1e-12);
  EXPECT_EQ(Out(0, 1, 2), kNoSignal);
  EXPECT_DOUBLE_EQ(Out(0, 0, 101), 65.0);
  EXPECT_DOUBLE_EQ(Out(5, 0, 101), 65.0);  // band 1 of output 1
  EXPECT_DOUBLE_EQ(Out(10, 0, 101), 65.0); // band 1 of output 2
  EXPECT_DOUBLE_EQ(Out(6, 0, 101), 1000000.0);

  // The subscriber regenerates the carrier above the grid, but leaves it out of the mean.
  for (int k = 0; k < 3; ++k) NodeSpectra(5, 0, k) = 60.0 + k;
  CalcNode(5, -1);
  EXPECT_EQ(Out(5, 1, 0), kNoSignal);
  EXPECT_DOUBLE_EQ(Out(5, 1, 1), 78.0);
  EXPECT_DOUBLE_EQ(Out(5, 1, 2), 79.0);
}

TEST(SingleCableBlock, BandGridMarksEachBandFromItsLowestThroughLevel) {
  FreshModel model;
  BuildUnit(184, 2, 10000, 50);
  SetFreqList({1000, 1100});
  const double minima[4] = {59.0, 59.1, 1000000.0, 70.0};  // band 3 never tracked
  for (int p = 0; p < 4; ++p) NodeSpectra(5 + p, 0, 101) = minima[p];

  CalcNode(6, -1);  // band 2 writes its own seven entries on every path node of the group
  for (int n = 5; n <= 8; ++n) {
    EXPECT_DOUBLE_EQ(Out(n, 1, 7), 84.0);
    EXPECT_DOUBLE_EQ(Out(n, 1, 13), 84.0);
    EXPECT_EQ(Out(n, 1, 0), kNoSignal);
  }

  CalcNode(8, -1);  // band 4 rewrites all four bands
  for (int n = 5; n <= 8; ++n)
    for (int j = 0; j < 7; ++j) {
      EXPECT_DOUBLE_EQ(Out(n, 1, j), -1000.0);
      EXPECT_DOUBLE_EQ(Out(n, 1, 7 + j), 84.0);
      EXPECT_DOUBLE_EQ(Out(n, 1, 14 + j), -1000.0);
      EXPECT_DOUBLE_EQ(Out(n, 1, 21 + j), 84.0);
    }
  EXPECT_EQ(Out(9, 1, 0), kNoSignal);  // the terrestrial node of the group
}

TEST(SingleCableBlock, SingleFrequencyBandGridMarksOnlyThisNode) {
  FreshModel model;
  BuildUnit(181, 2, 100, 50);
  SetFreqList({1000, 1100});
  NodeSpectra(5, 0, 0) = 60.0;
  NodeSpectra(6, 0, 0) = 60.0;
  CalcNode(5, 0);
  for (int e = 0; e < 28; ++e) EXPECT_DOUBLE_EQ(Out(5, 1, e), 84.0);
  EXPECT_EQ(Out(6, 1, 0), kNoSignal);
  NodeSpectra(6, 0, 0) = 59.0;
  CalcNode(6, 0);
  EXPECT_EQ(Out(6, 1, 0), kNoSignal);
}

TEST(SingleCableBlock, TerrTvPassiveSelectsTheSecondTerrestrialTable) {
  FreshModel model;
  const auto* t = tables::SingleCableTable(183);
  SetFreqList({5, 100});
  const int o = BuildUnit(183, 3, 111111111, 49);
  NodeSpectra(9, 0, 0) = 80.0;
  CalcNode(9, -1);
  EXPECT_NEAR(Out(9, 1, 0), 80.0 + t->terr[0][1], 1e-12);
  NetObjects[static_cast<std::size_t>(o)][kInst] = 200000000;
  CalcNode(9, -1);
  EXPECT_NEAR(Out(9, 1, 0), 80.0 + t->terrPassive[0][1], 1e-12);
  EXPECT_NE(t->terr[0][1], t->terrPassive[0][1]);
}

TEST(SingleCableBlock, Glim2HasNoLevelRule) {
  FreshModel model;
  BuildUnit(182, 2, 100, 49);
  SetFreqList({1000, 1100});
  SetInput(5, 70.0);
  CalcNode(5, -1);
  EXPECT_EQ(Out(5, 1, 0), kNoSignal);
}

// Band 1 has three carriers, band 2 five. When band 2's pass recomputes the band-1 node of the
// same output, it must use band 1's own carriers: the result is then the one of band 1's own
// pass, and no list position beyond band 1's carriers is written or averaged in.
TEST(SingleCableBlock, LevelRuleOverBandsOfUnequalCarrierCounts) {
  FreshModel model;
  BuildUnit(181, 2, 100, 49);
  SetBandColumn(1, {1000, 1200, 1400});
  SetBandColumn(2, {1050, 1150, 1250, 1350, 1450});
  const double band1[5] = {70.0, 64.0, 66.0, 80.0, 80.0};  // positions 3, 4: stale values
  for (int k = 0; k < 5; ++k) NodeSpectra(5, 0, k) = band1[k];
  for (int k = 0; k < 5; ++k) NodeSpectra(6, 0, k) = 61.0 + k;

  ListFromBand(1);
  CalcNode(5, -1);
  const double avg1 = (70.0 + 64.0 + 66.0) / 3;
  double first[3];
  for (int k = 0; k < 3; ++k) {
    first[k] = Out(5, 1, k);
    EXPECT_NEAR(first[k], 78.0 + band1[k] - avg1, 1e-12);
  }

  ListFromBand(2);
  CalcNode(6, -1);
  for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(Out(5, 1, k), first[k]);
  EXPECT_EQ(Out(5, 1, 3), kNoSignal);
  EXPECT_EQ(Out(5, 1, 4), kNoSignal);
  for (int k = 0; k < 5; ++k) EXPECT_NEAR(Out(6, 1, k), 78.0 + (61.0 + k) - 63.0, 1e-12);
}

}  // namespace
}  // namespace kavrix::test
