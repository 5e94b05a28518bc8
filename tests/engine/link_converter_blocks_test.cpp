// Link units, channel converters and modulators: the loop-through responses at the grid edges,
// the channel levels a converter writes into its generated plan, and the generated source that
// carries the plan downstream.
#include <gtest/gtest.h>

#include "engine/tables_line_amp.hpp"
#include "engine/tables_link_converter.hpp"
#include "model/source_tables.hpp"
#include "engine/device_block_setup.hpp"

namespace kavrix::test {
namespace {

using engine::FreqGrids;
namespace tables = engine::tables;

TEST(LinkUnitBlock, PassesItsBandOverTheCombinedGrid) {
  FreshModel model;
  SetFreqList({29, 950, 2400, 1150, 100});
  MakeNode(0, 58000, 0);
  MakeNode(1, 59005, 0);
  SetInput(0, 50.0);
  SetInput(1, 50.0);
  CalcNode(0, -1);
  CalcNode(1, -1);
  EXPECT_EQ(Out(0, 1, 0), kNoSignal);  // below the first grid point: not written
  EXPECT_NEAR(Out(0, 1, 1), 50.0 + 0.39, kTol);
  EXPECT_NEAR(Out(0, 1, 2), 50.0 - 4.22, kTol);
  const auto& s = tables::kLinkUnitSat;
  EXPECT_NEAR(Out(0, 1, 3), 50.0 + LinInterp(s[17], s[18], 1100, 1200, 1150), kTol);
  EXPECT_NEAR(Out(1, 1, 4), 50.0 - 0.64, kTol);
  EXPECT_NEAR(Out(1, 1, 2), 50.0 - 21.3, kTol);
}

TEST(ModulatorBlock, LoopThroughAtTheTopOfTheTerrestrialRow) {
  FreshModel model;
  SetFreqList({862, 862.5, 863, 50});
  MakeNode(0, 96005, 0);
  MakeNode(1, 97005, 0);
  SetInput(0, 70.0);
  SetInput(1, 70.0);
  CalcNode(0, -1);
  CalcNode(1, -1);
  const auto& t = tables::kModulatorThrough;
  for (int n : {0, 1}) {
    EXPECT_NEAR(Out(n, 1, 0), 70.0 - 2.83, kTol);
    EXPECT_NEAR(Out(n, 1, 1), 70.0 + LinInterp(t[14], t[15], 790, 862, 862.5), kTol);
    EXPECT_EQ(Out(n, 1, 2), kNoSignal);
    EXPECT_NEAR(Out(n, 1, 3), 70.0 - 2.29, kTol);
  }
}

// A 16-channel converter at object row o with ObjValues giving plan pair 1 (rows 2 and 3).
struct Converter16 {
  int o = 0;
  Converter16() {
    o = AddObject(60, 100, 100, 6);
    for (int j = 1; j <= 16; ++j) AddContinuation(0, 0, 0, 0, 0, -2);
    AddContinuation(9750, 10600, 0, 0, 0, -1);
    ObjValues[static_cast<std::size_t>(o)][0] = 2.0;
    for (int e = 0; e < 100; ++e) TerrSpectra[3][static_cast<std::size_t>(e)] = -1000.0;
  }
  // Channel row j: enabled, level item, input line, transponder MHz.
  void channel(int j, bool enabled, int levelItem, int line, int mhz) {
    NetObjects[static_cast<std::size_t>(o + j)] = {enabled ? -1 : -2, levelItem, line, mhz, 4740, 0};
  }
};

TEST(Converter16Block, EnabledChannelsAboveFortyDbuvGetTheirLevelInThePlan) {
  FreshModel model;
  Converter16 cv;
  cv.channel(1, true, 6, 1, 10850);   // IF 1100: last list position below it is 1 (1000 MHz)
  cv.channel(2, false, 0, 1, 10850);  // disabled: takes no plan entries
  cv.channel(3, true, 1, 1, 10700);   // IF 950: not above entry 1, tested at position 0
  cv.channel(4, true, 0, 1, 11150);   // IF 1400, position 3, input exactly 40: not generated
  cv.channel(5, true, 0, 0, 10850);   // line "V,Lo" belongs to path 3, not computed here
  SetFreqList({950, 1000, 1100, 1200});
  MakeNode(0, 60001, cv.o);
  NodeSpectra(0, 0, 0) = 55.0;
  NodeSpectra(0, 0, 1) = 40.01;
  NodeSpectra(0, 0, 2) = 30.0;
  NodeSpectra(0, 0, 3) = 40.0;
  CalcNode(0, -1);
  const auto& plan = TerrSpectra[3];
  EXPECT_DOUBLE_EQ(plan[1], 90.0);  // channel 1, rank 0: 93 - 6/2
  EXPECT_DOUBLE_EQ(plan[2], 90.0);
  EXPECT_DOUBLE_EQ(plan[0], -1000.0);
  EXPECT_DOUBLE_EQ(plan[5], 92.5);  // channel 3 has rank 1 after the disabled channel 2
  EXPECT_DOUBLE_EQ(plan[6], 92.5);
  EXPECT_DOUBLE_EQ(plan[9], -1000.0);   // channel 4 at exactly 40 dBuV
  EXPECT_DOUBLE_EQ(plan[13], -1000.0);  // channel 5 on another line
}

TEST(Converter16Block, PlanIndexOutsideTheTerrestrialSpectraWritesNothing) {
  FreshModel model;
  Converter16 cv;
  cv.channel(1, true, 0, 1, 10850);
  SetFreqList({950, 1000, 1100, 1200});
  MakeNode(0, 60001, cv.o);
  SetInput(0, 60.0);
  ObjValues[static_cast<std::size_t>(cv.o)][0] = 21.0;  // row 22 does not exist
  const auto before = TerrSpectra;
  CalcNode(0, -1);
  EXPECT_EQ(TerrSpectra, before);
}

TEST(GeneratedSourceBlock, RescalesThePlanAndFeedsTheSecondOutput) {
  FreshModel model;
  Converter16 cv;
  for (int e = 0; e < 100; ++e) TerrSpectra[3][static_cast<std::size_t>(e)] = 80.0 + e;
  MakeNode(0, 605, cv.o, 206, 206, -6);
  MakeNode(1, 60005, cv.o, 105, 105);
  MakeNode(2, 60105, cv.o, 0, 105);
  SetFreqList({470, 474});
  CalcNode(0, -1);
  for (int e : {0, 30, 64}) {
    EXPECT_DOUBLE_EQ(Out(0, 1, e), 80.0 + e - 3.0);  // every entry up to 64, whatever the list
    EXPECT_DOUBLE_EQ(Out(2, 1, e), 80.0 + e - 23.0);
  }
  EXPECT_EQ(Out(0, 1, 65), kNoSignal);
  EXPECT_EQ(Nodes[2][kNodeSourceId], 206);  // pair 1 -> generated id 205 + 1
  EXPECT_EQ(Out(1, 1, 0), kNoSignal);

  MakeNode(3, 605, cv.o, 206, 206, 1000);
  CalcNode(3, -1);
  EXPECT_EQ(Out(3, 1, 0), kNoSignal);
}

TEST(GeneratedSourceBlock, PartnerSearchStopsAtTheFirstEmptyNode) {
  FreshModel model;
  Converter16 cv;
  MakeNode(0, 605, cv.o, 206, 206, 0);
  MakeNode(1, 0, 0);
  MakeNode(2, 60105, cv.o, 0, 105);
  CalcNode(0, -1);
  EXPECT_EQ(Nodes[2][kNodeSourceId], 0);
  EXPECT_EQ(Out(2, 1, 0), kNoSignal);
}

// The converter in a chain: an LNB band feeds the input node, the generated source carries the
// plan through a terrestrial line amplifier to an outlet.
TEST(Converter16Block, GeneratedChannelReachesTheOutletThroughTheChain) {
  FreshModel model;
  Converter16 cv;
  cv.channel(1, true, 4, 1, 10850);
  // Registration lays out channel 1 at 474 MHz.
  TerrSpectra[2].fill(0.0);
  const double plan[4] = {470.0, 470.1, 477.9, 478.0};
  for (int e = 0; e < 4; ++e) TerrSpectra[2][static_cast<std::size_t>(e)] = plan[e];
  const int amp = AddObject(107, 300, 100);
  MakeNode(0, 60001, cv.o, 2, 0);
  MakeNode(1, 605, cv.o, 205, 205, -6);
  MakeNode(2, 107005, amp, 205, 205);

  // Satellite pass: 62 dBuV at the transponder.
  SetFreqList({950, 1000, 1100, 1200});
  SetInput(0, 62.0, 4);
  CalcNode(0, -1);

  // Generated-source pass: the list is the plan, the source's output the rescaled levels.
  SetFreqList({plan[0], plan[1], plan[2], plan[3]});
  CalcNode(1, -1);
  for (int k = 0; k < 4; ++k) NodeSpectra(2, 0, k) = Out(1, 1, k);
  CalcNode(2, -1);

  const auto& g = tables::kLineAmp107;
  const double gainAt470_1 = LinInterp(g[10], g[11], 470, 540, 470.1);
  // 93 - 4/2 = 91 dBuV planned, -3 dB attenuator, then the amplifier.
  EXPECT_NEAR(Out(2, 1, 1), 91.0 - 3.0 + gainAt470_1, kTol);
  EXPECT_NEAR(Out(2, 1, 0), -1000.0 - 3.0 + g[10], kTol);  // channel edge stays far below
}

// Four-input converter at object row o, plan pair 0.
struct Converter4 {
  int o = 0;
  explicit Converter4(int inst = 2) {
    o = AddObject(61, 100, 100, inst, 1, 80);
    AddContinuation(4740, 4820, 4900, 4980, 6060, -8);
    ObjValues[static_cast<std::size_t>(o)][0] = 0.0;
    for (int e = 0; e < 100; ++e) TerrSpectra[1][static_cast<std::size_t>(e)] = -1000.0;
  }
};

TEST(Converter4Block, WindowsBetweenFortyAndEightyLightTheirChannels) {
  FreshModel model;
  Converter4 cv(2);
  // Channel centres 474, 482, 490, 498 with 8 MHz windows.
  SetFreqList({469, 470, 478, 479, 486, 487, 494, 495, 502, 503});
  MakeNode(0, 61005, cv.o, 105, 105);
  SetInput(0, 60.0, 10);
  NodeSpectra(0, 0, 4) = 80.0;  // 486 MHz: the upper edge of channel 1's window
  CalcNode(0, -1);
  const auto& plan = TerrSpectra[1];
  EXPECT_DOUBLE_EQ(plan[1], 88.0);     // channel 0: positions 0 and 2 at 60 dBuV
  EXPECT_DOUBLE_EQ(plan[2], -1000.0);  // channel 1: an edge at 80 dBuV
  EXPECT_DOUBLE_EQ(plan[3], 88.0);
  EXPECT_DOUBLE_EQ(plan[4], 88.0);     // channel 3 writes its entry and the upper edge
  EXPECT_DOUBLE_EQ(plan[5], 88.0);
  EXPECT_DOUBLE_EQ(Out(0, 0, 101), 60.0);
  EXPECT_DOUBLE_EQ(Out(0, 0, 102), 80.0);
  // The loop-through of group 0.
  EXPECT_NEAR(Out(0, 1, 1), 60.0 + tables::kConverter4Through[10][0], kTol);
}

// A plan index outside the terrestrial spectra drops the channel levels, but the input extremes
// are the converter's own and are still taken from the window edges.
TEST(Converter4Block, PlanIndexOutsideTheSpectraStillGivesTheInputExtremes) {
  FreshModel model;
  Converter4 cv;
  ObjValues[static_cast<std::size_t>(cv.o)][0] = 21.0;  // row 22 does not exist
  SetFreqList({469, 470, 478, 479, 486, 487, 494, 495, 502, 503});
  MakeNode(0, 61005, cv.o, 105, 105);
  SetInput(0, 60.0, 10);
  NodeSpectra(0, 0, 2) = 55.0;
  NodeSpectra(0, 0, 8) = 75.0;
  const auto before = TerrSpectra;
  CalcNode(0, -1);
  EXPECT_EQ(TerrSpectra, before);
  EXPECT_DOUBLE_EQ(Out(0, 0, 101), 55.0);
  EXPECT_DOUBLE_EQ(Out(0, 0, 102), 75.0);
}

TEST(Converter4Block, SecondOutputWritesOnlyItsLoopThrough) {
  FreshModel model;
  Converter4 cv;
  SetFreqList({469, 470, 478, 479});
  MakeNode(0, 61105, cv.o, 105, 105);
  SetInput(0, 60.0, 4);
  CalcNode(0, -1);
  EXPECT_DOUBLE_EQ(TerrSpectra[1][1], -1000.0);
  EXPECT_EQ(Out(0, 0, 101), 1000000.0);
  EXPECT_NEAR(Out(0, 1, 1), 60.0 + tables::kConverter4Through[10][1], kTol);
}

// A window that runs past a full list ends at position 100, which carries no level: the entry
// there is the optical level, not a channel, and must not light the channel.
TEST(Converter4Block, WindowEndingPastAFullListFindsNoSignal) {
  FreshModel model;
  Converter4 cv;
  NetObjects[static_cast<std::size_t>(cv.o + 1)] = {-8, 6000, 6000, 6000, 6000, 6060};
  FreqList.fill(0.0);
  for (int k = 0; k < 100; ++k) FreqList[static_cast<std::size_t>(k)] = 400.0 + k;
  MakeNode(0, 61005, cv.o, 105, 105);
  SetInput(0, 60.0);
  NodeSpectra(0, 0, 100) = 60.0;
  CalcNode(0, -1);
  EXPECT_DOUBLE_EQ(TerrSpectra[1][1], -1000.0);
}

}  // namespace
}  // namespace kavrix::test
