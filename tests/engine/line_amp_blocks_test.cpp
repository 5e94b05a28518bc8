// Line amplifiers, J-splitters and five-input multiswitches: how the gain and slope settings
// split into table steps, the grid edges of each block, the band choice of the J-splitters and
// the 28-point band grid of chains below a single-cable output.
#include <gtest/gtest.h>

#include "engine/tables_line_amp.hpp"
#include "engine/device_block_setup.hpp"

namespace kavrix::test {
namespace {

namespace tables = engine::tables;
using engine::CableGrid7;

// Oracle: a table column read on satellite row 0 at f (first point below the row).
double OnRow0(const double* col, int stride, double f) {
  const auto& g = engine::FreqGrids[0];
  int i = 0;
  while (i < 15 && g[static_cast<std::size_t>(i)] < f) ++i;
  if (i == 0) return col[0];
  return LinInterp(col[(i - 1) * stride], col[i * stride], g[static_cast<std::size_t>(i - 1)],
                   g[static_cast<std::size_t>(i)], f);
}
int Row0Index(double f) {
  const auto& g = engine::FreqGrids[0];
  int i = 0;
  while (i < 15 && g[static_cast<std::size_t>(i)] < f) ++i;
  return i;
}

TEST(LineAmp101Block, GainStepsAndSlopeAreReadAtTheGridPoint) {
  FreshModel model;
  const auto& t = tables::kLineAmp101;
  SetFreqList({950, 1100});
  struct Case {
    int s, t;
    double at950;
  };
  const Case cases[] = {
      {-5, 1, 22.7 - 4.8 - 1.0},    // one coarse and one fine step; slope 1 adds nothing
      {-15, 1, 22.7 - 13.2 - 3.0},  // third of each
      {0, 4, 22.7 - t.sl[0][0][2]}, // third slope entry
      {-20, 1, 22.7},               // five coarse steps lie outside the table: no term
      {kNoLimit, kNoLimit, 22.7},   // the neutral setting
  };
  for (const Case& c : cases) {
    MakeNode(0, 101001, 0, 1, 0, c.s, c.t);
    SetInput(0, 40.0);
    CalcNode(0, -1);
    EXPECT_NEAR(Out(0, 1, 0), 40.0 + c.at950, kTol) << c.s << " " << c.t;
  }
  MakeNode(0, 101001, 0, 1, 0, -6, 3);  // a = 1, b = 2, slope entry 2, all at point 2 (1100 MHz)
  SetInput(0, 40.0);
  CalcNode(0, -1);
  EXPECT_NEAR(Out(0, 1, 1), 40.0 + t.gain[0][2] - t.cs[2][0][0] - t.fs[2][0][1] - t.sl[2][0][1], 1e-9);
}

TEST(LineAmp103Block, CoarseStepFollowsTheGridPointOfEachFrequency) {
  FreshModel model;
  const auto& t = tables::kLineAmp103;
  SetFreqList({100, 600});
  MakeNode(0, 103005, 0, 105, 105, -4);
  SetInput(0, 60.0);
  CalcNode(0, -1);
  EXPECT_NEAR(Out(0, 1, 0), 60.0 + 24.4 - t.cs[4][0], kTol);  // row 2: 100 MHz is point 4
  EXPECT_NEAR(Out(0, 1, 1), 60.0 + t.gain[11] - t.cs[11][0], kTol);
  EXPECT_NE(t.cs[4][0], t.cs[11][0]);
}

TEST(LineAmp105Block, TopOfTheSatelliteGridExtendsItsLastSegment) {
  FreshModel model;
  const auto& g = tables::kLineAmp105.gain[5];  // path 6
  SetFreqList({2400.5, 2401});
  MakeNode(0, 105006, 0, 2);
  SetInput(0, 50.0);
  CalcNode(0, -1);
  EXPECT_NEAR(Out(0, 1, 0), 50.0 + LinInterp(g[20], g[21], 2350, 2400, 2400.5), kTol);
  EXPECT_EQ(Out(0, 1, 1), kNoSignal);
}

TEST(LineAmp108Block, LowerOutputsAreTwentyDbBelowTheMainOnes) {
  FreshModel model;
  SetFreqList({950, 1500, 2401});
  MakeNode(0, 108099, 0, 1, 0, -5, 6);
  MakeNode(1, 108299, 0, 1, 0, -5, 6);
  SetInput(0, 50.0);
  SetInput(1, 50.0);
  CalcNode(0, -1);
  CalcNode(1, -1);
  for (int k : {0, 1}) EXPECT_NEAR(Out(1, 1, k), Out(0, 1, k) - 20.0, kTol);
  EXPECT_EQ(Out(0, 1, 2), kNoSignal);
  EXPECT_EQ(Out(1, 1, 2), kNoSignal);
}

TEST(LineAmp108Block, BandGridAppliesGainAndSlopeStepsToAllTwentyEightEntries) {
  FreshModel model;
  const auto& t = tables::kLineAmp108;
  SetFreqList({950, 1000});  // ignored on the band grid
  MakeNode(0, 108199, 0, 1, 50, kNoLimit, 6);  // slope 6: one coarse and one fine slope step
  MakeNode(1, 108399, 0, 1, 50, kNoLimit, 6);
  for (int e = 0; e < 28; ++e) {
    NodeSpectra(0, 0, e) = 50.0 + e;
    NodeSpectra(1, 0, e) = 50.0 + e;
  }
  CalcNode(0, -1);
  CalcNode(1, -1);
  for (int m = 0; m < 4; ++m)
    for (int j = 0; j < 7; ++j) {
      const int e = 7 * m + j;
      const double f = CableGrid7[static_cast<std::size_t>(j)];
      const int i = Row0Index(f);
      const double expect = 50.0 + e + OnRow0(t.gain[0].data() + 1, 2, f) - t.cl[i][1][0] - t.fl[i][1][0];
      EXPECT_NEAR(Out(0, 1, e), expect, 1e-9) << e;
      EXPECT_NEAR(Out(1, 1, e), Out(0, 1, e) - 20.0, kTol);
    }
}

TEST(LineAmp109Block, TerrestrialBypassEndsBelowEightHundredMhz) {
  FreshModel model;
  SetFreqList({790, 800, 862});
  MakeNode(0, 109005, 0, 105, 105);
  SetInput(0, 70.0);
  CalcNode(0, -1);
  EXPECT_NEAR(Out(0, 1, 0), 70.0 + tables::kLineAmp109.terr[14], 1e-9);
  EXPECT_EQ(Out(0, 1, 1), kNoSignal);
  EXPECT_EQ(Out(0, 1, 2), kNoSignal);
}

TEST(JSplitterBlock, ReverseGroupsRepeatTheForwardOnes) {
  FreshModel model;
  SetFreqList({950, 1234, 2400});
  MakeNode(0, 127499, 0, 1);  // three outputs: group 4 is output 1 in reverse
  MakeNode(1, 127199, 0, 1);
  MakeNode(2, 127699, 0, 1);  // no such group: nothing written
  for (int n = 0; n < 3; ++n) SetInput(n, 60.0);
  for (int n = 0; n < 3; ++n) CalcNode(n, -1);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(Out(0, 1, k), Out(1, 1, k));
  EXPECT_NEAR(Out(1, 1, 0), 60.0 + tables::JSplitterTable(127)->sat[0][1], kTol);
  EXPECT_EQ(Out(2, 1, 0), kNoSignal);
}

TEST(JSplitterBlock, BandIsChosenOnceFromTheFirstEntryOfTheCall) {
  FreshModel model;
  MakeNode(0, 126099, 0, 105);
  SetInput(0, 60.0);
  SetFreqList({474, 600});
  CalcNode(0, -1);
  EXPECT_NEAR(Out(0, 1, 0), 60.0 - 3.7, kTol);
  EXPECT_NEAR(Out(0, 1, 1), 60.0 - 3.7, kTol);

  MakeNode(1, 126099, 0, 1);
  SetInput(1, 60.0);
  SetFreqList({474, 950});
  CalcNode(1, 1);  // the call starts at 950 MHz: satellite table
  EXPECT_NEAR(Out(1, 1, 1), 60.0 - 4.4, kTol);

  MakeNode(2, 126099, 0, 1);
  SetInput(2, 60.0);
  SetFreqList({900, 950});
  CalcNode(2, -1);
  EXPECT_EQ(Out(2, 1, 1), kNoSignal);
}

TEST(FiveInputSwitchBlock, OutputAttenuationByFamilyAndPath) {
  FreshModel model;
  SetFreqList({950, 1300});
  MakeNode(0, 133103, 0, 3, 0, kNoLimit, -2);  // active, path 3: two steps off every output
  MakeNode(1, 136103, 0, 3, 0, kNoLimit, -2);  // passive, path 3: no setting
  MakeNode(2, 136103, 0, 3, 0);
  for (int n = 0; n < 3; ++n) SetInput(n, 70.0);
  for (int n = 0; n < 3; ++n) CalcNode(n, -1);
  const auto& a = tables::kSwitch133;
  for (int p = 1; p <= 4; ++p) {
    EXPECT_NEAR(Out(0, p + 1, 1), 70.0 + a.gain[2][4][1][p - 1] - a.oa[4][2][1], 1e-9);
    EXPECT_EQ(Out(1, p + 1, 0), Out(2, p + 1, 0));
  }
  EXPECT_EQ(Out(0, 1, 0), kNoSignal);  // the through spectrum is not a switch output

  // Terrestrial path of an active switch: t = -6 gives one coarse and two fine steps.
  SetFreqList({474});
  MakeNode(3, 133205, 0, 105, 105, kNoLimit, -6);
  SetInput(3, 70.0);
  CalcNode(3, -1);
  const auto& g = a.gain[4];
  const double base = LinInterp(g[10][2][0], g[11][2][0], 470, 540, 474);
  EXPECT_NEAR(Out(3, 2, 0), 70.0 + base - a.oa[11][4][0] - a.ob[11][1], 1e-9);
}

TEST(FiveInputSwitchBlock, SingleFrequencyCallLeavesEverySpectrum) {
  FreshModel model;
  SetFreqList({950, 1300});
  MakeNode(0, 139101, 0, 1);
  SetInput(0, 70.0);
  CalcNode(0, 0);
  for (int s = 1; s < 6; ++s) EXPECT_EQ(Out(0, s, 0), kNoSignal);
}

// Below a single-cable output in band-grid mode: line amplifier, J-splitter and multiswitch,
// each handing entries 0..27 on as the propagation pass does for a node marked 50.
TEST(BandGridChain, LevelsAddUpAlongTheChainAtEveryBandPoint) {
  FreshModel model;
  SetFreqList({950, 1000, 1100});
  MakeNode(0, 108099, 0, 1, 50, -5);
  MakeNode(1, 126099, 1, 1, 50);
  MakeNode(2, 133103, 2, 3, 50, kNoLimit, -1);
  for (int e = 0; e < 28; ++e) NodeSpectra(0, 0, e) = 60.0 + 0.5 * e;
  CalcNode(0, -1);
  for (int e = 0; e < 28; ++e) NodeSpectra(1, 0, e) = Out(0, 1, e);
  CalcNode(1, -1);
  for (int e = 0; e < 28; ++e) NodeSpectra(2, 0, e) = Out(1, 1, e);
  CalcNode(2, -1);

  const auto& amp = tables::kLineAmp108;
  const auto* split = tables::JSplitterTable(126);
  const auto& sw = tables::kSwitch133;
  for (int m = 0; m < 4; ++m)
    for (int j = 0; j < 7; ++j) {
      const int e = 7 * m + j;
      const double f = CableGrid7[static_cast<std::size_t>(j)];
      const int i = Row0Index(f);
      const double ampGain = OnRow0(amp.gain[0].data(), 2, f) - amp.cs[i][0][0] - amp.fs[i][0][0];
      const double splitGain = OnRow0(split->sat[0].data(), 4, f);
      const double swGain = OnRow0(&sw.gain[2][0][1][1], 16, f) - sw.oa[i][2][0];
      EXPECT_NEAR(Out(2, 3, e), 60.0 + 0.5 * e + ampGain + splitGain + swGain, 1e-9) << e;
    }
  EXPECT_EQ(Out(2, 3, 28), kNoSignal);
}

}  // namespace
}  // namespace kavrix::test
